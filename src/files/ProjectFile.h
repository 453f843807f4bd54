// The project file: picture, map and every shape with its whole coding state.
//
//   "TVLC10\r\n" (or the older "TVK1.0\r\n"), the picture as a complete BMP
//   image, the map as a complete BMP image, int32 N, N shape records.
#pragma once

#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "files/ByteReader.h"
#include "model/Image.h"
#include "model/Shape.h"

namespace tvlc {

constexpr char kProjectMagic[] = "TVLC10\r\n";
constexpr char kOldProjectMagic[] = "TVK1.0\r\n";

// One shape record at the stream's position.
void SaveToStream(std::ostream& out, const TShape& shape);
// Reads one record into a shape made on the given arrays. Throws
// TFormatError when the record is cut short or inconsistent.
std::unique_ptr<TShape> LoadFromStream(TByteReader& in, const TPicData& picData,
                                       int32_t picWidth, const TMapData& mapData,
                                       int32_t mapWidth);

// Everything a project file holds, read and checked as a whole.
struct TProjectContents {
  TImage Picture;
  TImage Map;
  TPicData PicData;  // red component of every picture pixel
  TMapData MapData;  // colour value of every map pixel
  TShapeList Shapes;
};

// True when the first eight bytes are one of the two magics.
bool HasProjectMagic(const std::vector<uint8_t>& bytes);
// Throws TFormatError (or TBmpError for a damaged image).
TProjectContents ReadProject(const std::vector<uint8_t>& bytes);

// The whole file; picture and map must not be empty. Throws
// std::runtime_error when memory runs short.
std::string ProjectBytes(const TImage& picture, const TImage& map, const TShapeList& shapes);

std::vector<uint8_t> ReadWholeFile(const std::string& path);

}  // namespace tvlc
