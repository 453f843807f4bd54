#include "files/ProjectFile.h"

#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

#include "model/Bmp.h"
#include "model/PictureArrays.h"

namespace tvlc {

namespace {

constexpr size_t kMagicLength = 8;
// ID, box, point count, flags, quality, iterations, PSNR, codes, config size.
constexpr size_t kFixedRecordBytes = 53;

template <typename T>
void Put(std::ostream& out, T value) {
  out.write(reinterpret_cast<const char*>(&value), sizeof value);
}

// Reads one BMP image at the reader's position and moves past it.
TImage ReadImage(const std::vector<uint8_t>& bytes, TByteReader& in) {
  std::istringstream stream(
      std::string(reinterpret_cast<const char*>(bytes.data()) + in.Position(), in.Remaining()));
  TImage image = ReadBmp(stream);
  in.Seek(in.Position() + size_t(stream.tellg()));
  return image;
}

}  // namespace

void SaveToStream(std::ostream& out, const TShape& shape) {
  // A shape cannot have iterations without a spectrum; such a shape is
  // written as never encoded.
  const int32_t iterations = shape.HasSpectrum() ? shape.Iterations : 0;
  const bool zeroSpectrum = shape.HasSpectrum() && iterations == 0;
  const uint32_t flags = (zeroSpectrum ? 0u : 1u) | (uint32_t(shape.NormKind) << 1);
  Put(out, shape.ID);
  Put(out, shape.Left);
  Put(out, shape.Right);
  Put(out, shape.Top);
  Put(out, shape.Bottom);
  Put(out, shape.PointCount);
  Put(out, flags);
  Put(out, shape.Quality);
  Put(out, iterations);
  Put(out, shape.PSNR);
  Put(out, shape.ModuleCode);
  Put(out, shape.TransCode);
  Put(out, int32_t(shape.Config.size()));
  out.write(reinterpret_cast<const char*>(shape.Config.data()), std::streamsize(shape.Config.size()));
  if (iterations > 0)
    out.write(reinterpret_cast<const char*>(shape.Spectrum.data()),
              std::streamsize(shape.Spectrum.size() * sizeof(double)));
}

std::unique_ptr<TShape> LoadFromStream(TByteReader& in, const TPicData& picData,
                                       int32_t picWidth, const TMapData& mapData,
                                       int32_t mapWidth) {
  auto shape = std::make_unique<TShape>(0, picData, picWidth, mapData, mapWidth, 0, 0);
  TShape& s = *shape;
  s.ID = in.Read<uint32_t>();
  s.Left = in.Read<int32_t>();
  s.Right = in.Read<int32_t>();
  s.Top = in.Read<int32_t>();
  s.Bottom = in.Read<int32_t>();
  s.PointCount = in.Read<int32_t>();
  const uint32_t flags = in.Read<uint32_t>();
  s.SetQuality(in.Read<uint8_t>());
  s.Iterations = in.Read<int32_t>();
  s.PSNR = in.Read<double>();
  s.ModuleCode = in.Read<uint32_t>();
  s.TransCode = in.Read<uint32_t>();
  const int32_t configSize = in.Read<int32_t>();
  if (s.Left > s.Right || s.Top > s.Bottom || int64_t(s.Right) - s.Left >= kMaxShapeExtent ||
      int64_t(s.Bottom) - s.Top >= kMaxShapeExtent)
    throw TFormatError("shape record with an impossible bounding box");
  if (configSize < 0) throw TFormatError("shape record with a negative configuration size");
  in.Need(size_t(configSize));
  s.Config.resize(size_t(configSize));
  in.ReadBytes(s.Config.data(), s.Config.size());
  s.ConfigSize = configSize;
  s.SetNormKind(uint8_t((flags >> 1) & 7));

  const size_t count = size_t(s.RoundedWidth()) * size_t(s.RoundedHeight());
  if ((flags & 1) == 0) {
    s.Spectrum.assign(count, 0.0);
  } else if (s.Iterations > 0) {
    in.Need(count * sizeof(double));
    s.Spectrum.assign(count, 0.0);
    in.ReadBytes(s.Spectrum.data(), count * sizeof(double));
  }
  return shape;
}

bool HasProjectMagic(const std::vector<uint8_t>& bytes) {
  if (bytes.size() < kMagicLength) return false;
  return std::memcmp(bytes.data(), kProjectMagic, kMagicLength) == 0 ||
         std::memcmp(bytes.data(), kOldProjectMagic, kMagicLength) == 0;
}

TProjectContents ReadProject(const std::vector<uint8_t>& bytes) {
  if (!HasProjectMagic(bytes)) throw TFormatError("incorrect input file format");
  TByteReader in(bytes);
  in.Seek(kMagicLength);
  TProjectContents project;
  project.Picture = ReadImage(bytes, in);
  project.Map = ReadImage(bytes, in);

  const TImage& picture = project.Picture;
  const TImage& map = project.Map;
  project.PicData = RedLevels(picture);
  project.MapData = ColorLabels(map);

  const int32_t count = in.Read<int32_t>();
  if (count < 0) throw TFormatError("negative number of shapes");
  if (size_t(count) > in.Remaining() / kFixedRecordBytes)
    throw TFormatError("more shapes than the file can hold");
  for (int32_t i = 0; i < count; ++i) {
    auto shape = LoadFromStream(in, project.PicData, picture.Width(), project.MapData, map.Width());
    std::string name = "Shape " + HexLabel(shape->ID);
    project.Shapes.push_back({std::move(name), std::move(shape)});
  }
  // Bytes after the last shape mean the count or a record was misread.
  if (in.Remaining() != 0)
    throw TFormatError(std::to_string(in.Remaining()) + " bytes after the last shape");
  return project;
}

std::string ProjectBytes(const TImage& picture, const TImage& map, const TShapeList& shapes) {
  std::ostringstream out(std::ios::binary);
  out.write(kProjectMagic, kMagicLength);
  WriteBmp(out, picture);
  WriteBmp(out, map);
  Put(out, int32_t(shapes.size()));
  for (const TShapeItem& item : shapes) SaveToStream(out, *item.Shape);
  // A string stream that cannot grow stops writing without an exception;
  // its bytes would be a truncated project.
  if (!out) throw std::runtime_error("not enough memory to save the project");
  return std::move(out).str();
}

std::vector<uint8_t> ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot open file " + path);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

}  // namespace tvlc
