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
  const TCompressedReadResult read = ReadCompressedPicture(bytes.data(), bytes.size(), shapes.size());
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

TSweepResult RunRegionSweep(const TSweepInput& input, const TSweepSettings& settings,
                            const TSweepProgress& progress) {
  TSweepResult result;
  TShapeList& shapes = *input.Shapes;
  const TTransDescriptor* descriptor = FindTransformation(settings.ModuleCode, settings.TransCode);
  if (!descriptor) {
    result.Error = "unknown transformation " + std::to_string(settings.ModuleCode) + ":" +
                   std::to_string(settings.TransCode);
    return result;
  }
  if (shapes.empty() || settings.Psnr.empty() || settings.Qualities.empty() ||
      settings.Norms.empty()) {
    result.Error = "nothing to sweep: no shapes or no settings";
    return result;
  }
  std::vector<double> levels = settings.Psnr;
  std::sort(levels.begin(), levels.end());
  levels.erase(std::unique(levels.begin(), levels.end()), levels.end());

  const size_t settingCount = levels.size() * settings.Qualities.size() * settings.Norms.size();
  const size_t total = shapes.size() + settingCount;
  size_t done = 0;
  const auto report = [&]() { return progress && progress(++done, total); };

  const TClock::time_point encodeStart = TClock::now();
  std::vector<TShapeSnapshots> snapshots;
  snapshots.reserve(shapes.size());
  for (TShapeItem& item : shapes) {
    TShape& s = *item.Shape;
    s.ModuleCode = uint32_t(settings.ModuleCode);
    s.TransCode = uint32_t(settings.TransCode);
    try {
      snapshots.push_back(EncodeWithSnapshots(s, descriptor, levels, [&]() {
        return result.Stopped;
      }));
    } catch (const std::exception& e) {
      result.Error = "shape " + item.Name + ": " + e.what();
      return result;
    }
    if (report()) {
      result.Stopped = true;
      return result;
    }
  }
  result.EncodeSeconds = SecondsSince(encodeStart);

  const TClock::time_point measureStart = TClock::now();
  const double pixels = double(input.PicWidth) * input.PicHeight;
  for (size_t level = 0; level < levels.size(); ++level) {
    double levelSeconds = 0.0;
    for (const TShapeSnapshots& s : snapshots) levelSeconds += s.SecondsAtLevel[level];
    for (int quality : settings.Qualities)
      for (int norm : settings.Norms) {
        const TClock::time_point writeStart = TClock::now();
        const TCompressedWriteResult written = WriteSetting(shapes, snapshots, level, quality, norm);
        if (!written.Error.empty()) {
          result.Error = written.Error;
          return result;
        }
        TRdRow row;
        row.EncodeSeconds = levelSeconds + SecondsSince(writeStart);

        const TClock::time_point decodeStart = TClock::now();
        TImage canvas(input.MapWidth, input.MapHeight, kWhite);
        std::vector<uint8_t> decodedMask(size_t(input.MapWidth) * input.MapHeight, 0);
        result.Error = DecodeSetting(shapes, descriptor, written.Bytes, canvas, decodedMask);
        if (!result.Error.empty()) return result;
        row.DecodeSeconds = SecondsSince(decodeStart);

        row.Codec = "tvlc";
        row.Map = input.MapName;
        row.RequestedPsnr = levels[level];
        row.Quality = quality;
        row.Norm = norm;
        row.TextureBytes = written.Bytes.size();
        row.MapBytes = input.MapBytes;
        row.Bpp = double(row.TextureBytes + row.MapBytes) * 8.0 / pixels;
        row.Psnr = DecodedPSNR(*input.Picture, input.PicWidth, input.PicHeight, canvas,
                               decodedMask, input.MapWidth, input.MapHeight);
        row.Ssim = StructuralSimilarity(
            *input.Picture, DecodedGreyLevels(canvas, input.PicWidth, input.PicHeight),
            input.PicWidth, input.PicHeight);
        result.Rows.push_back(std::move(row));
        if (report()) {
          result.Stopped = true;
          return result;
        }
      }
  }
  result.MeasureSeconds = SecondsSince(measureStart);
  return result;
}

}  // namespace tvlc
