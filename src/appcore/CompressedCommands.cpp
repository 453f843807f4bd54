// File > Save Compressed Picture and Open Compressed Picture.
#include "appcore/MainCore.h"
#include "base/ReplaceFile.h"
#include "files/CompressedFile.h"
#include "files/ProjectFile.h"
#include "files/ShapeQuantization.h"

namespace tvlc {

namespace {

const char* StepText(TCompressedStep step) {
  switch (step) {
    case TCompressedStep::AnalyzingData: return "...analyzing data and bulding statistics";
    case TCompressedStep::CompressingSpectrum: return "...compressing spectrum";
    case TCompressedStep::LoadingData: return "...loading data";
    case TCompressedStep::Decompressing: return "...decompressing";
  }
  return "";
}

}  // namespace

bool TMainCore::CanExportSpectrum() {
  if (Shapes.empty()) return false;
  for (auto it = Shapes.rbegin(); it != Shapes.rend(); ++it)
    if (!it->Shape->HasSpectrum()) {
      AddLog("Can't compress picture, because isn't available spectrum for all shapes. "
             "Transform all shapes first!");
      return false;
    }
  return true;
}

bool TMainCore::ExportSpectrum1Click(const std::string& path) {
  if (!MayStart(Controls.FileMenuEnabled)) return false;
  // Quantizing and coding let input in: nothing may change the shapes meanwhile.
  TBusy busy(*this, kFileOrMap);
  return WithinMemory("save compressed picture " + path, [&] { return SaveCompressed(path); });
}

bool TMainCore::SaveCompressed(const std::string& path) {
  if (!CanExportSpectrum()) return false;
  AddLog("Saving spectrum...");
  std::vector<TCompressedShape> shapes;
  shapes.reserve(Shapes.size());
  try {
    for (TShapeItem& item : Shapes) {
      TShape& s = *item.Shape;
      TCompressedShape& c = shapes.emplace_back();
      c = {int32_t(s.ModuleCode), int32_t(s.TransCode), s.Quality, s.NormKind, {}};
      Quantize(s, c.Values);
      pump_.Poll();
    }
  } catch (const std::bad_alloc&) {
    throw;
  } catch (const std::exception& e) {
    AddLog(std::string("Error: ") + e.what() + "\r\n");
    return false;
  }
  TCompressedFileHooks hooks;
  hooks.OnStep = [this](TCompressedStep step) { AddLog(StepText(step)); };
  hooks.Pump = &pump_;
  const TCompressedWriteResult written = WriteCompressedPicture(shapes, hooks);
  if (!written.Error.empty()) {
    AddLog(written.Error + "\r\n");
    return false;
  }
  try {
    ReplaceFile(path, std::string(written.Bytes.begin(), written.Bytes.end()));
  } catch (const std::bad_alloc&) {
    throw;
  } catch (const std::exception& e) {
    AddLog(std::string("Error: ") + e.what() + "\r\n");
    return false;
  }
  AddLog("...Done.\r\n");
  return true;
}

bool TMainCore::CanOpenCompressedPicture() {
  if (MapData) return true;
  host_.ErrorBox("No map loaded. Load Map first");
  return false;
}

bool TMainCore::OpenCompressedPicture1Click(const std::string& path) {
  if (!MayStart(Controls.FileMenuEnabled)) return false;
  // The decode lets input in; the shapes it loads into must stay.
  TBusy busy(*this, kFileOrMap);
  return WithinMemory("open compressed picture " + path, [&] { return OpenCompressed(path); });
}

bool TMainCore::OpenCompressed(const std::string& path) {
  if (!CanOpenCompressedPicture()) return false;
  AddLog("Loading compressed spectrum...");
  std::vector<uint8_t> bytes;
  try {
    bytes = ReadWholeFile(path);
  } catch (const std::bad_alloc&) {
    throw;
  } catch (const std::exception& e) {
    AddLog(std::string("Error: ") + e.what() + "\r\n");
    return false;
  }
  AddLog("...checking file format");
  TCompressedFileHooks hooks;
  hooks.OnStep = [this](TCompressedStep step) { AddLog(StepText(step)); };
  hooks.Pump = &pump_;
  // The whole file is decoded before any shape changes, keeping no more
  // values than each shape's window takes.
  const std::vector<size_t> windows = WindowSizes(Shapes);
  const TCompressedReadResult read = ReadCompressedPicture(bytes.data(), bytes.size(), windows, hooks);
  switch (read.Status) {
    case TCompressedReadStatus::UnknownFormat:
      host_.ErrorBox("Unknown input file format");
      return false;
    case TCompressedReadStatus::Corrupt:
      AddLog("Error: " + read.Error + "\r\n");
      return false;
    case TCompressedReadStatus::TooManyShapes:
      AddLog("Error: the compressed picture holds more shapes than the loaded map (" +
             std::to_string(Shapes.size()) + "); nothing loaded\r\n");
      return false;
    case TCompressedReadStatus::Ok:
      break;
  }
  // The spectra's memory is found before the first shape changes.
  std::vector<TShapeData> spectra;
  spectra.reserve(read.Shapes.size());
  for (size_t k = 0; k < read.Shapes.size(); ++k) spectra.emplace_back(windows[k]);
  for (size_t k = 0; k < read.Shapes.size(); ++k)
    if (Shapes[k].Shape->Spectrum.size() != windows[k])
      Shapes[k].Shape->Spectrum = std::move(spectra[k]);
  for (size_t k = 0; k < read.Shapes.size(); ++k) {
    const TCompressedShape& c = read.Shapes[k];
    const size_t ignored = c.Surplus + LoadQuantized(*Shapes[k].Shape, c.Values.data(),
                                                     c.Values.size(), c.ModuleCode, c.TransCode,
                                                     c.Quality, c.NormKind);
    if (ignored)
      AddLog("...shape " + Shapes[k].Name + ": " + std::to_string(ignored) +
             " values beyond its window ignored");
  }
  AddLog("...Done.\r\n");
  if (SelectedShape) UpdateInfo();
  return true;
}

}  // namespace tvlc
