// Bitmap exports of the decoded picture, the spectrum view and the shape
// view, and the project file through the File menu.
#include <QListWidget>

#include "MainFormCodingFixture.h"
#include "model/Bmp.h"

namespace tvlc::test {
namespace {

using Lines = std::vector<std::string>;

class MainFormExportTest : public MainFormCodingTest {
 protected:
  void ExpectAsked(size_t index, bool save, const char* filter, const char* extension) {
    ASSERT_LT(index, dialogs_->Asked.size());
    const TAskedFile& asked = dialogs_->Asked[index];
    EXPECT_EQ(asked.Save, save);
    EXPECT_EQ(asked.Filter, filter);
    EXPECT_EQ(asked.DefaultExt, extension);
  }
};

TEST_F(MainFormExportTest, DecodedPictureIsWrittenFromTheMenuAndTheViewsSave) {
  SelectShape(2);
  Click("EncBtn");
  Click("DecodeBtn");
  Trigger("ClearLog1");
  const std::string fromMenu = Scratch("decoded.bmp");
  const std::string fromView = Scratch("decoded_view.bmp");
  dialogs_->Answers = {fromMenu, fromView};
  Trigger("SaveDecodedPicture1");
  Trigger("SaveReconst1");
  ExpectAsked(2, true, "Windows Bitmap|*.bmp|PNG Image|*.png|All Files|*.*", "bmp");
  ExpectAsked(3, true, "Windows Bitmap|*.bmp|PNG Image|*.png|All Files|*.*", "bmp");
  EXPECT_EQ(LogMessages(), Lines({"Decoded picture and spectrum saved ... :-) ZUVI.", "",
                                  "Decoded picture and spectrum saved ... :-) ZUVI.", ""}));
  EXPECT_TRUE(ReadBmpFile(fromMenu) == Core().Reconst);
  EXPECT_TRUE(ReadBmpFile(fromView) == Core().Reconst);
  EXPECT_NE(Core().Reconst.Pixel(20, 5), kWhite);
}

TEST_F(MainFormExportTest, SpectrumAndShapeViewsAreWrittenUnscaled) {
  SelectShape(2);
  Click("EncBtn");
  Trigger("ClearLog1");
  const std::string spectrum = Scratch("spectrum.bmp");
  const std::string shape = Scratch("shape.bmp");
  dialogs_->Answers = {spectrum, shape};
  Trigger("SaveSpectrumPicture1");
  Trigger("MenuItem1");
  ExpectAsked(2, true, "Windows Bitmap|*.bmp|PNG Image|*.png|All Files|*.*", "bmp");
  ExpectAsked(3, true, "Windows Bitmap|*.bmp|PNG Image|*.png|All Files|*.*", "bmp");
  EXPECT_TRUE(LogMessages().empty());
  const TImage writtenSpectrum = ReadBmpFile(spectrum);
  const TImage writtenShape = ReadBmpFile(shape);
  EXPECT_EQ(writtenSpectrum.Width(), 64);
  EXPECT_EQ(writtenSpectrum.Height(), 16);
  EXPECT_TRUE(writtenSpectrum == Core().SpecDrawArea);
  EXPECT_TRUE(writtenShape == Core().ViewDrawArea);
}

TEST_F(MainFormExportTest, CancelledExportWritesNothing) {
  SelectShape(2);
  const auto before = std::distance(std::filesystem::directory_iterator(scratch_),
                                    std::filesystem::directory_iterator());
  for (const char* item : {"SaveDecodedPicture1", "SaveSpectrumPicture1", "MenuItem1"})
    Trigger(item);
  EXPECT_EQ(dialogs_->Asked.size(), 5u);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch_),
                          std::filesystem::directory_iterator()),
            before);
}

TEST_F(MainFormExportTest, ProjectSavedAndOpenedRestoresTheShapes) {
  SelectShape(2);
  Click("EncBtn");
  const int iterations = Core().Shapes[2].Shape->Iterations;
  const std::string path = Scratch("work.tvp");
  dialogs_->Answers = {path};
  Trigger("ClearLog1");
  Trigger("Save1");
  ExpectAsked(2, true, "Tarvello Codec Files|*.tvp|All Files|*.*", "tvp");
  EXPECT_EQ(LogMessages(), Lines({"Saving file " + path + " ...", "Picture of size 64x48 saved...",
                                  "Map of size 64x48 saved...", "22 shapes saved."}));

  // A rectangle grid replaces the shapes before the project brings them back.
  ASSERT_TRUE(Core().GenerateRectangles(16, 16));
  ASSERT_EQ(Find<QListWidget>("ShapeList")->count(), 12);
  dialogs_->Answers = {path};
  Trigger("ClearLog1");
  Trigger("Open1");
  ExpectAsked(3, false, "Tarvello Codec Files|*.tvp|All Files|*.*", "tvp");
  EXPECT_EQ(LogMessages(),
            Lines({"Opening file " + path + " ...", "Picture of size 64x48 loaded...",
                   "Map of size 64x48 loaded...", "22 shapes loaded.", ""}));
  auto* list = Find<QListWidget>("ShapeList");
  ASSERT_EQ(list->count(), 22);
  EXPECT_EQ(list->item(0)->text(), "Shape AA04FF");
  EXPECT_EQ(list->item(2)->text(), "Shape D42CB0");
  EXPECT_EQ(list->item(21)->text(), "Shape BB841D");
  EXPECT_EQ(list->currentRow(), -1);
  EXPECT_EQ(Core().Shapes[2].Shape->Iterations, iterations);
  EXPECT_TRUE(Core().Shapes[2].Shape->HasSpectrum());
  EXPECT_FALSE(Core().Shapes[0].Shape->HasSpectrum());
}

TEST_F(MainFormExportTest, OpeningTheSameProjectAgainLeavesNothingSelected) {
  SelectShape(2);
  const std::string path = Scratch("same.tvp");
  dialogs_->Answers = {path, path};
  Trigger("Save1");
  Trigger("Open1");
  EXPECT_EQ(Find<QListWidget>("ShapeList")->currentRow(), -1);
  EXPECT_EQ(Core().SelectedIndex, -1);
}

}  // namespace
}  // namespace tvlc::test
