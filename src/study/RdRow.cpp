#include "study/RdRow.h"

#include <limits>

namespace tvlc {

namespace {

double PsnrOf(const TRdRow& row) {
  return row.Psnr ? *row.Psnr : std::numeric_limits<double>::infinity();
}

template <typename Bits>
void Mark(std::vector<TRdRow>& rows, Bits bits, std::optional<bool> TRdRow::*flag) {
  for (TRdRow& row : rows) {
    if (row.Codec != "tvlc") continue;
    bool dominated = false;
    for (const TRdRow& other : rows)
      if (&other != &row && other.Codec == "tvlc" && bits(other) <= bits(row) &&
          PsnrOf(other) > PsnrOf(row)) {
        dominated = true;
        break;
      }
    row.*flag = !dominated;
  }
}

}  // namespace

void MarkEnvelopes(std::vector<TRdRow>& rows, double pixels) {
  Mark(rows, [](const TRdRow& r) { return r.TextureBytes + r.MapBytes; }, &TRdRow::Envelope);
  Mark(rows, [pixels](const TRdRow& r) { return r.TextureBpp(pixels); },
       &TRdRow::EnvelopeTexture);
}

}  // namespace tvlc
