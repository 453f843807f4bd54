#include "study/RdReport.h"

#include <algorithm>
#include <cmath>

#include "base/NumberText.h"

namespace tvlc {

const char* const kRdCsvHeader =
    "codec,map,requested_psnr,quality,norm,texture_bytes,map_bytes,bpp,psnr,ssim,encode_s,"
    "decode_s,envelope,envelope_texture";

namespace {

std::string Quoted(const std::string& field) {
  if (field.find_first_of(",\"\r\n") == std::string::npos) return field;
  std::string out = "\"";
  for (char c : field) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

std::string Optional(const std::optional<double>& v, int decimals) {
  return v ? FixedText(*v, decimals) : std::string();
}

std::string Optional(const std::optional<int>& v) { return v ? std::to_string(*v) : std::string(); }

std::string Flag(const std::optional<bool>& v) {
  return v ? std::string(*v ? "1" : "0") : std::string();
}

}  // namespace

std::string RdCsv(const std::vector<TRdRow>& rows) {
  std::string csv = std::string(kRdCsvHeader) + "\r\n";
  for (const TRdRow& r : rows) {
    const bool tvlc = r.Codec == "tvlc";
    const std::vector<std::string> fields = {
        Quoted(r.Codec),
        Quoted(r.Map),
        Optional(r.RequestedPsnr, 2),
        Optional(r.Quality),
        Optional(r.Norm),
        std::to_string(r.TextureBytes),
        tvlc ? std::to_string(r.MapBytes) : std::string(),
        FixedText(r.Bpp, 6),
        r.Psnr ? FixedText(*r.Psnr, 4) : std::string("inf"),
        Optional(r.Ssim, 6),
        FixedText(r.EncodeSeconds, 6),
        FixedText(r.DecodeSeconds, 6),
        Flag(r.Envelope),
        Flag(r.EnvelopeTexture)};
    for (size_t i = 0; i < fields.size(); ++i) csv += (i ? "," : "") + fields[i];
    csv += "\r\n";
  }
  return csv;
}

std::vector<TRdSample> RdCurve(const std::vector<TRdRow>& rows, const std::string& codec,
                               bool textureOnly, double pixels) {
  std::vector<TRdSample> curve;
  for (const TRdRow& r : rows) {
    if (r.Codec != codec || !r.Psnr || !std::isfinite(*r.Psnr)) continue;
    if (codec == "tvlc" && !(textureOnly ? r.EnvelopeTexture : r.Envelope).value_or(false))
      continue;
    curve.push_back({textureOnly ? r.TextureBpp(pixels) : r.Bpp, *r.Psnr});
  }
  std::sort(curve.begin(), curve.end(), [](const TRdSample& a, const TRdSample& b) {
    return a.Rate < b.Rate || (a.Rate == b.Rate && a.Psnr < b.Psnr);
  });
  return curve;
}

std::vector<TBdFigure> RdBdFigures(const std::vector<TRdRow>& rows, double pixels) {
  std::vector<TBdFigure> figures;
  for (const char* anchor : {"jpeg", "jpeg2000"}) {
    const std::vector<TRdSample> reference = RdCurve(rows, anchor, false, pixels);
    if (reference.empty()) continue;
    for (bool textureOnly : {false, true}) {
      const std::vector<TRdSample> envelope = RdCurve(rows, "tvlc", textureOnly, pixels);
      figures.push_back({anchor, textureOnly, BdRate(reference, envelope),
                         BdPsnr(reference, envelope)});
    }
  }
  return figures;
}

std::vector<std::string> RdBdLines(const std::vector<TBdFigure>& figures) {
  std::vector<std::string> lines;
  for (const TBdFigure& f : figures)
    lines.push_back("BD-rate against " + f.Anchor +
                    (f.TextureOnly ? " (map not counted): " : " (map included): ") +
                    (f.Rate ? FixedText(*f.Rate, 2) + " %" : std::string("not available")) +
                    ", BD-PSNR " +
                    (f.Psnr ? FixedText(*f.Psnr, 2) + " dB" : std::string("not available")));
  return lines;
}

}  // namespace tvlc
