// The rules that make a decoded file a picture (grey levels) or a map
// (labels), whatever its format.
#pragma once

#include <string>
#include <vector>

#include "model/formats/DecodedImage.h"

namespace tvlc {

// The image a view shows and the notes the log gets about what was changed
// or ignored on the way.
struct TLoadedImage {
  TImage Image;
  std::vector<std::string> Notes;
};

// A picture: 8-bit levels as stored; levels of any other range scaled to
// 8 bits as round(v * 255 / maximum). Colour stays colour: whether it may
// be converted is the caller's question.
TLoadedImage PictureImage(TDecodedImage decoded);

// A map: the label of a pixel is its colour value. Grey levels above 8 bits
// are labels themselves (a 16-bit grey level v gives label v), since scaling
// them would merge regions; colours of more than 8 bits a channel are scaled
// only when no two of them meet. Lossy files are refused (TImageFileError).
TLoadedImage MapImage(TDecodedImage decoded);

// Grey levels from colours by the BT.601 luma weights, computed exactly:
// round(0.299 R + 0.587 G + 0.114 B) for every pixel.
TImage LumaImage(const TImage& colour);
inline constexpr char kLumaNote[] =
    "colours converted to grey levels as round(0.299 R + 0.587 G + 0.114 B) (BT.601 luma)";

}  // namespace tvlc
