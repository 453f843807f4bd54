#include "study/RegionSweep.h"

#include <algorithm>
#include <chrono>

#include "coding/ShapeCoding.h"
#include "files/CompressedFile.h"
#include "files/ShapeQuantization.h"
#include "study/PictureQuality.h"
#include "study/SnapshotEncoder.h"
#include "study/Ssim.h"
#include "transform/Registry.h"

namespace tvlc {

namespace {

using TClock = std::chrono::steady_clock;

double SecondsSince(TClock::time_point start) {
  return std::chrono::duration<double>(TClock::now() - start).count();
}

// Requantizes every shape's snapshot of one level and writes the compressed
// picture file; empty bytes and an error when the writer refuses.
TCompressedWriteResult WriteSetting(TShapeList& shapes,
                                    const std::vector<TShapeSnapshots>& snapshots, size_t level,
                                    int quality, int norm) {
  std::vector<TCompressedShape> coded;
  coded.reserve(shapes.size());
  for (size_t i = 0; i < shapes.size(); ++i) {
    TShape& s = *shapes[i].Shape;
    LoadSnapshot(s, snapshots[i].AtLevel[level]);
    s.SetQuality(uint8_t(quality));
    s.SetNormKind(uint8_t(norm));
    TCompressedShape& c = coded.emplace_back();
    c = {int32_t(s.ModuleCode), int32_t(s.TransCode), s.Quality, s.NormKind, {}};
    Quantize(s, c.Values);
  }
  return WriteCompressedPicture(coded);
}

// Reads the file back onto the shapes and decodes them all into `canvas`.
std::string DecodeSetting(TShapeList& shapes, const TTransDescriptor* descriptor,
                          const std::vector<uint8_t>& bytes, TImage& canvas,
                          std::vector<uint8_t>& decodedMask) {
  const TCompressedReadResult read =
      ReadCompressedPicture(bytes.data(), bytes.size(), WindowSizes(shapes));
  if (read.Status != TCompressedReadStatus::Ok || read.Shapes.size() != shapes.size())
    return "the compressed picture does not read back: " + read.Error;
  for (size_t i = 0; i < shapes.size(); ++i) {
    const TCompressedShape& c = read.Shapes[i];
    TShape& s = *shapes[i].Shape;
    LoadQuantized(s, c.Values.data(), c.Values.size(), c.ModuleCode, c.TransCode, c.Quality,
                  c.NormKind);
    DecodeInto(s, descriptor, canvas, decodedMask);
  }
  return {};
}

}  // namespace

TRegionCoder::TRegionCoder(const TSweepInput& input, int32_t moduleCode, int32_t transCode)
    : input_(input),
      descriptor_(FindTransformation(moduleCode, transCode)),
      moduleCode_(moduleCode),
      transCode_(transCode) {}

std::string TRegionCoder::Encode(const std::vector<double>& levels,
                                 const std::function<bool()>& shapeDone) {
  if (!descriptor_)
    return "unknown transformation " + std::to_string(moduleCode_) + ":" +
           std::to_string(transCode_);
  if (!input_.Shapes || input_.Shapes->empty() || levels.empty())
    return "nothing to code: no shapes or no requested PSNR";
  levels_ = levels;
  snapshots_.clear();
  snapshots_.reserve(input_.Shapes->size());
  bool stopped = false;
  for (TShapeItem& item : *input_.Shapes) {
    TShape& s = *item.Shape;
    s.ModuleCode = uint32_t(moduleCode_);
    s.TransCode = uint32_t(transCode_);
    try {
      snapshots_.push_back(EncodeWithSnapshots(s, descriptor_, levels_, [&]() { return stopped; }));
    } catch (const std::exception& e) {
      return "shape " + item.Name + ": " + e.what();
    }
    if (shapeDone && shapeDone()) {
      stopped = true;
      break;
    }
  }
  return {};
}

std::string TRegionCoder::Measure(size_t level, int quality, int norm, bool withSsim,
                                  TRdRow& row) {
  if (level >= levels_.size() || snapshots_.size() != input_.Shapes->size())
    return "the shapes are not encoded to that level";
  TShapeList& shapes = *input_.Shapes;
  const TClock::time_point writeStart = TClock::now();
  TCompressedWriteResult written;
  try {
    written = WriteSetting(shapes, snapshots_, level, quality, norm);
  } catch (const std::exception& e) {
    return std::string("Error: ") + e.what();
  }
  if (!written.Error.empty()) return written.Error;
  row = TRdRow();
  for (const TShapeSnapshots& s : snapshots_) row.EncodeSeconds += s.SecondsAtLevel[level];
  row.EncodeSeconds += SecondsSince(writeStart);

  const TClock::time_point decodeStart = TClock::now();
  TImage canvas(input_.MapWidth, input_.MapHeight, kWhite);
  std::vector<uint8_t> decodedMask(size_t(input_.MapWidth) * input_.MapHeight, 0);
  const std::string error = DecodeSetting(shapes, descriptor_, written.Bytes, canvas, decodedMask);
  if (!error.empty()) return error;
  row.DecodeSeconds = SecondsSince(decodeStart);

  const double pixels = double(input_.PicWidth) * input_.PicHeight;
  row.Codec = "tvlc";
  row.Map = input_.MapName;
  row.RequestedPsnr = levels_[level];
  row.Quality = quality;
  row.Norm = norm;
  row.TextureBytes = written.Bytes.size();
  row.MapBytes = input_.MapBytes;
  row.Bpp = double(row.TextureBytes + row.MapBytes) * 8.0 / pixels;
  row.Psnr = DecodedPSNR(*input_.Picture, input_.PicWidth, input_.PicHeight, canvas,
                         decodedMask, input_.MapWidth, input_.MapHeight);
  if (withSsim)
    row.Ssim = StructuralSimilarity(
        *input_.Picture, DecodedGreyLevels(canvas, input_.PicWidth, input_.PicHeight),
        input_.PicWidth, input_.PicHeight);
  return {};
}

TSweepResult RunRegionSweep(const TSweepInput& input, const TSweepSettings& settings,
                            const TSweepProgress& progress) {
  TSweepResult result;
  if (settings.Qualities.empty() || settings.Norms.empty()) {
    result.Error = "nothing to sweep: no quality or no normalization";
    return result;
  }
  std::vector<double> levels = settings.Psnr;
  std::sort(levels.begin(), levels.end());
  levels.erase(std::unique(levels.begin(), levels.end()), levels.end());

  const size_t shapeCount = input.Shapes ? input.Shapes->size() : 0;
  const size_t total =
      shapeCount + levels.size() * settings.Qualities.size() * settings.Norms.size();
  size_t done = 0;
  const auto report = [&]() {
    result.Stopped = result.Stopped || (progress && progress(++done, total));
    return result.Stopped;
  };

  TRegionCoder coder(input, settings.ModuleCode, settings.TransCode);
  const TClock::time_point encodeStart = TClock::now();
  result.Error = coder.Encode(levels, report);
  result.EncodeSeconds = SecondsSince(encodeStart);
  if (!result.Error.empty() || result.Stopped) return result;

  const TClock::time_point measureStart = TClock::now();
  for (size_t level = 0; level < levels.size(); ++level)
    for (int quality : settings.Qualities)
      for (int norm : settings.Norms) {
        TRdRow row;
        result.Error = coder.Measure(level, quality, norm, true, row);
        if (!result.Error.empty()) return result;
        result.Rows.push_back(std::move(row));
        if (report()) return result;
      }
  result.MeasureSeconds = SecondsSince(measureStart);
  return result;
}

}  // namespace tvlc
