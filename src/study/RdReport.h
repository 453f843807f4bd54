// What a rate-distortion study hands to the user: the rows as CSV, the
// Bjontegaard deltas of the envelopes against the standard codecs, and the
// curves drawn as SVG.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "study/Bjontegaard.h"
#include "study/RdRow.h"

namespace tvlc {

extern const char* const kRdCsvHeader;

// The header and one line per row, CRLF line ends, fields quoted as RFC 4180
// asks (a map name or segmentation may hold commas and quotes); empty fields
// where a column does not apply.
std::string RdCsv(const std::vector<TRdRow>& rows);

// The curve of one codec: its rows as (bits per pixel, PSNR), ascending in
// rate; rows without a finite PSNR are left out. For "tvlc" only the rows on
// the envelope (of total bits, or of texture bits with `textureOnly`).
std::vector<TRdSample> RdCurve(const std::vector<TRdRow>& rows, const std::string& codec,
                               bool textureOnly, double pixels);

struct TBdFigure {
  std::string Anchor;  // "jpeg" or "jpeg2000"
  bool TextureOnly;    // the envelope of texture bits, the map not counted
  std::optional<double> Rate;  // % (negative: fewer bits than the anchor)
  std::optional<double> Psnr;  // dB
};

// The region-coding envelopes against every standard codec present.
std::vector<TBdFigure> RdBdFigures(const std::vector<TRdRow>& rows, double pixels);

// One line per figure, e.g. "BD-rate against jpeg (map included): -12.34 %,
// BD-PSNR 0.56 dB".
std::vector<std::string> RdBdLines(const std::vector<TBdFigure>& figures);

}  // namespace tvlc
