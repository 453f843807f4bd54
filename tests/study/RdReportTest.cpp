#include <gtest/gtest.h>

#include "study/RdReport.h"

namespace tvlc {
namespace {

TRdRow Tvlc(uint64_t texture, uint64_t map, double psnr) {
  TRdRow r;
  r.Codec = "tvlc";
  r.Map = "m";
  r.TextureBytes = texture;
  r.MapBytes = map;
  r.Bpp = double(texture + map) * 8.0 / 100.0;
  r.Psnr = psnr;
  return r;
}

TEST(RdEnvelope, BestPsnrForTheBitsOnTotalAndOnTextureBits) {
  std::vector<TRdRow> rows = {Tvlc(100, 50, 30.0), Tvlc(120, 0, 29.0), Tvlc(130, 0, 31.0),
                              Tvlc(90, 100, 32.0), Tvlc(130, 0, 31.0)};
  TRdRow jpeg;
  jpeg.Codec = "jpeg";
  jpeg.TextureBytes = 10;
  jpeg.Psnr = 50.0;
  rows.push_back(jpeg);
  MarkEnvelopes(rows, 100.0);
  // Totals 150, 120, 130, 190, 130: 150 at 30 dB loses to 130 at 31 dB.
  EXPECT_EQ(rows[0].Envelope, false);
  EXPECT_EQ(rows[1].Envelope, true);
  EXPECT_EQ(rows[2].Envelope, true);
  EXPECT_EQ(rows[3].Envelope, true);
  EXPECT_EQ(rows[4].Envelope, true);  // equal points both stay
  // Texture alone: 100, 120, 130, 90, 130: 90 bytes at 32 dB beats them all.
  for (size_t i = 0; i < 5; ++i) EXPECT_EQ(rows[i].EnvelopeTexture, i == 3) << i;
  EXPECT_FALSE(rows[5].Envelope);  // other codecs are not on it
  const std::vector<TRdSample> curve = RdCurve(rows, "tvlc", false, 100.0);
  ASSERT_EQ(curve.size(), 4u);
  EXPECT_DOUBLE_EQ(curve[0].Rate, 9.6);
  EXPECT_DOUBLE_EQ(curve[3].Psnr, 32.0);
}

TEST(RdEnvelope, LosslessRowsBeatEveryPsnr) {
  std::vector<TRdRow> rows = {Tvlc(100, 0, 40.0), Tvlc(100, 0, 0.0)};
  rows[1].Psnr.reset();
  MarkEnvelopes(rows, 100.0);
  EXPECT_EQ(rows[0].Envelope, false);
  EXPECT_EQ(rows[1].Envelope, true);
}

TEST(RdCsv, QuotesFieldsAndLeavesColumnsThatDoNotApplyEmpty) {
  TRdRow r = Tvlc(1234, 56, 31.23456);
  r.Map = "segment felzenszwalb scale=100,sigma=0.5 \"fine\"";
  r.RequestedPsnr = 30.5;
  r.Quality = 50;
  r.Norm = 2;
  r.Ssim = 0.87654321;
  r.EncodeSeconds = 0.25;
  r.DecodeSeconds = 0.125;
  r.Envelope = true;
  r.EnvelopeTexture = false;
  TRdRow j;
  j.Codec = "jpeg2000";
  j.TextureBytes = 999;
  j.Bpp = 0.5;
  j.Psnr.reset();
  EXPECT_EQ(RdCsv({r, j}),
            "codec,map,requested_psnr,quality,norm,texture_bytes,map_bytes,bpp,psnr,ssim,"
            "encode_s,decode_s,envelope,envelope_texture\r\n"
            "tvlc,\"segment felzenszwalb scale=100,sigma=0.5 \"\"fine\"\"\",30.50,50,2,1234,56,"
            "103.200000,31.2346,0.876543,0.250000,0.125000,1,0\r\n"
            "jpeg2000,,,,,999,,0.500000,inf,,0.000000,0.000000,,\r\n");
}

TEST(RdBd, FiguresOfBothEnvelopesAgainstEachStandardCodec) {
  std::vector<TRdRow> rows;
  for (int i = 1; i <= 4; ++i) {
    rows.push_back(Tvlc(uint64_t(100 * i), 20, 25.0 + 2 * i));
    TRdRow j;
    j.Codec = "jpeg";
    j.TextureBytes = uint64_t(100 * i);
    j.Bpp = double(j.TextureBytes) * 8.0 / 100.0;
    j.Psnr = 25.0 + 2 * i;
    rows.push_back(j);
  }
  MarkEnvelopes(rows, 100.0);
  const std::vector<TBdFigure> figures = RdBdFigures(rows, 100.0);
  ASSERT_EQ(figures.size(), 2u);  // no JPEG 2000 rows
  EXPECT_FALSE(figures[0].TextureOnly);
  EXPECT_GT(*figures[0].Rate, 0.0);  // the map's 20 bytes cost bits
  EXPECT_NEAR(*figures[1].Rate, 0.0, 1e-9);  // the texture is JPEG's curve itself
  EXPECT_EQ(RdBdLines(figures)[1], "BD-rate against jpeg (map not counted): 0.00 %, BD-PSNR 0.00 dB");
}

}  // namespace
}  // namespace tvlc
