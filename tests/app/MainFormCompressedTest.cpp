// Save Compressed Picture and Open Compressed Picture through the File menu:
// their refusals before any file is asked for, and a round trip.
#include <fstream>

#include "MainFormCodingFixture.h"
#include "files/ShapeQuantization.h"

namespace tvlc::test {
namespace {

using Lines = std::vector<std::string>;

TEST_F(MainFormCodingTest, SaveCompressedPictureWithoutSpectraAsksNoFile) {
  Trigger("ExportSpectrum1");
  EXPECT_EQ(LogMessages(), Lines({"Can't compress picture, because isn't available spectrum for "
                                  "all shapes. Transform all shapes first!"}));
  EXPECT_EQ(dialogs_->Asked.size(), 2u);
}

TEST_F(MainFormTest, OpenCompressedPictureWithoutAMapShowsTheErrorBox) {
  LoadPicture(kPicture64);
  Trigger("OpenCompressedPicture1");
  EXPECT_EQ(dialogs_->Errors, std::vector<std::string>({"No map loaded. Load Map first"}));
  EXPECT_EQ(dialogs_->Asked.size(), 1u);
}

std::vector<TSpecData> QuantizedSpectra(TMainCore& core) {
  std::vector<TSpecData> spectra;
  for (TShapeItem& item : core.Shapes) Quantize(*item.Shape, spectra.emplace_back());
  return spectra;
}

TEST_F(MainFormCodingTest, CompressedPictureRoundTripsOntoTheSameMap) {
  TypeRequestedPSNR("25");
  Click("EncAllBtn");
  const std::vector<TSpecData> encoded = QuantizedSpectra(Core());
  const std::string path = Scratch("picture.tvzx");
  dialogs_->Answers = {path};
  Trigger("ClearLog1");
  Trigger("ExportSpectrum1");
  ASSERT_EQ(dialogs_->Asked.size(), 3u);
  EXPECT_TRUE(dialogs_->Asked[2].Save);
  EXPECT_EQ(dialogs_->Asked[2].Filter, "Tarvello Picture Files|*.tvz; *.tvzx|All Files|*.*");
  EXPECT_EQ(dialogs_->Asked[2].DefaultExt, "tvzx");
  EXPECT_EQ(LogMessages(), Lines({"Saving spectrum...", "...analyzing data and bulding statistics",
                                  "...compressing spectrum", "...Done.", ""}));

  // A fresh analysis of the map gives shapes without spectra.
  LoadMap(kMap64);
  ASSERT_FALSE(Core().Shapes[0].Shape->HasSpectrum());
  dialogs_->Answers = {path};
  Trigger("ClearLog1");
  Trigger("OpenCompressedPicture1");
  ASSERT_EQ(dialogs_->Asked.size(), 5u);
  EXPECT_FALSE(dialogs_->Asked[4].Save);
  EXPECT_EQ(dialogs_->Asked[4].Filter, "Tarvello Picture Files|*.tvz; *.tvzx|All Files|*.*");
  EXPECT_EQ(dialogs_->Asked[4].DefaultExt, "tvzx");
  EXPECT_EQ(LogMessages(), Lines({"Loading compressed spectrum...", "...checking file format",
                                  "...loading data", "...decompressing", "...Done.", ""}));
  EXPECT_TRUE(dialogs_->Errors.empty());
  for (const TShapeItem& item : Core().Shapes) EXPECT_TRUE(item.Shape->HasSpectrum()) << item.Name;
  EXPECT_EQ(QuantizedSpectra(Core()), encoded);
}

TEST_F(MainFormCodingTest, CompressedPictureOfAnotherFormatShowsTheErrorBox) {
  const std::string path = Scratch("not_compressed.tvz");
  std::ofstream(path, std::ios::binary) << "TVLC10\r\n";
  dialogs_->Answers = {path};
  Trigger("OpenCompressedPicture1");
  EXPECT_EQ(dialogs_->Errors, std::vector<std::string>({"Unknown input file format"}));
}

}  // namespace
}  // namespace tvlc::test
