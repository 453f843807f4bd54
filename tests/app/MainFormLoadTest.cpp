// Loading picture and map through the window: the dialogs asked, the log
// lines, the shape list and the views.
#include <QElapsedTimer>
#include <QListWidget>
#include <QProgressBar>
#include <chrono>
#include <cstdio>

#include "ImageWidget.h"
#include "MainFormFixture.h"
#include "model/Bmp.h"

namespace tvlc::test {
namespace {

using Lines = std::vector<std::string>;

TEST_F(MainFormTest, LoadingPictureAndMapLogsAndListsTheShapes) {
  LoadSmallInputs();
  EXPECT_EQ(LogMessages(), Lines({"Picture " + kPicture64 + " of size 64x48 loaded.", "",
                                  "Map " + kMap64 + " of size 64x48 loaded.",
                                  "Analyzing map file: locating shapes...",
                                  "22 shapes found. Done.", ""}));
  auto* list = Find<QListWidget>("ShapeList");
  ASSERT_EQ(list->count(), 22);
  EXPECT_EQ(list->item(0)->text(), "Shape AA04FF");
  EXPECT_EQ(list->item(1)->text(), "Shape F4433E");
  EXPECT_EQ(list->item(21)->text(), "Shape BB841D");
  EXPECT_EQ(list->currentRow(), -1);
  EXPECT_TRUE(Find<QProgressBar>("ProgressBar")->isHidden());
  EXPECT_TRUE(frm_->isEnabled());
}

TEST_F(MainFormTest, LoadCommandsAskWithThePictureDialog) {
  LoadSmallInputs();
  ASSERT_EQ(dialogs_->Asked.size(), 2u);
  for (const TAskedFile& asked : dialogs_->Asked) {
    EXPECT_FALSE(asked.Save);
    EXPECT_EQ(asked.Filter,
              "Pictures|*.bmp; *.png; *.jpg; *.jpeg; *.tif; *.tiff; *.pgm; *.ppm; *.pnm|"
              "Bitmaps|*.bmp|All Files|*.*");
    EXPECT_EQ(asked.DefaultExt, "bmp");
  }
}

TEST_F(MainFormTest, CancelledLoadChangesNothing) {
  Trigger("LoadPicture1");
  Trigger("LoadMap1");
  EXPECT_EQ(dialogs_->Asked.size(), 2u);
  EXPECT_TRUE(LogMessages().empty());
  EXPECT_EQ(Find<QListWidget>("ShapeList")->count(), 0);
  EXPECT_TRUE(Find<TImageWidget>("Picture")->Shown().isNull());
}

TEST_F(MainFormTest, ViewsShowPictureAndMapWithClearOverlays) {
  LoadSmallInputs();
  const TImage picture = ReadBmpFile(kPicture64);
  const TImage map = ReadBmpFile(kMap64);
  const QImage& shownPicture = Find<TImageWidget>("Picture")->Shown();
  const QImage& shownMap = Find<TImageWidget>("Map")->Shown();
  ASSERT_EQ(shownPicture.size(), QSize(64, 48));
  ASSERT_EQ(shownMap.size(), QSize(64, 48));
  for (auto [x, y] : {std::pair{0, 0}, {63, 0}, {17, 29}, {63, 47}}) {
    const TColor p = picture.Pixel(x, y);
    const TColor m = map.Pixel(x, y);
    EXPECT_EQ(shownPicture.pixel(x, y), qRgb(RedOf(p), GreenOf(p), BlueOf(p)));
    EXPECT_EQ(shownMap.pixel(x, y), qRgb(RedOf(m), GreenOf(m), BlueOf(m)));
  }
  for (const char* overlay : {"PicDrawArea", "MapDrawArea", "ReconstDrawArea"}) {
    const QImage& shown = Find<TImageWidget>(overlay)->Shown();
    EXPECT_EQ(shown.size(), QSize(64, 48)) << overlay;
    EXPECT_EQ(qAlpha(shown.pixel(10, 10)), 0) << overlay;
  }
  EXPECT_EQ(Find<TImageWidget>("Reconst")->Shown().pixel(5, 5), qRgb(255, 255, 255));
}

TEST_F(MainFormTest, NonGreyPictureIsRefusedButShown) {
  TImage colour(4, 3, Grey(90));
  colour.SetPixel(2, 1, RGB(200, 10, 10));
  const std::string path = Scratch("colour.bmp");
  WriteBmpFile(path, colour);
  LoadPicture(path);
  EXPECT_EQ(LogMessages(),
            Lines({"Cann't load picture. Picture is not grayscale image with 8bit color depth.",
                   ""}));
  EXPECT_EQ(frm_->Core().PicWidth, 0);
  const QImage& shown = Find<TImageWidget>("Picture")->Shown();
  ASSERT_EQ(shown.size(), QSize(4, 3));
  EXPECT_EQ(shown.pixel(2, 1), qRgb(200, 10, 10));
}

TEST_F(MainFormTest, MapLargerThanThePictureIsRefusedAndShapesStay) {
  LoadSmallInputs();
  LoadMap(kMap65);
  const Lines messages = LogMessages();
  ASSERT_GE(messages.size(), 4u);
  EXPECT_EQ(Lines(messages.end() - 4, messages.end()),
            Lines({"Map " + kMap65 + " of size 65x48 loaded.",
                   "Analyzing map file: locating shapes...",
                   "Error: height/width of map is larger than height/width of picture", ""}));
  EXPECT_EQ(Find<QListWidget>("ShapeList")->count(), 22);
  // Refused from its header: the view keeps the map it showed.
  EXPECT_EQ(Find<TImageWidget>("Map")->Shown().size(), QSize(64, 48));
}

TEST_F(MainFormTest, ColourPictureIsConvertedWhenTheUserSaysYes) {
  const std::string jpeg = kData + "/formats/coffee.jpg";
  dialogs_->QuestionAnswers = {false, true};
  LoadPicture(jpeg);
  EXPECT_EQ(frm_->Core().PicWidth, 0);
  LoadPicture(jpeg);
  const std::string question =
      "The picture has colours. Convert it to grey levels (BT.601 luma) and load it?";
  EXPECT_EQ(dialogs_->Questions, (std::vector<std::string>{question, question}));
  EXPECT_EQ(frm_->Core().PicWidth, 64);
  const Lines messages = LogMessages();
  ASSERT_GE(messages.size(), 3u);
  EXPECT_EQ(Lines(messages.end() - 3, messages.end()),
            Lines({"Picture " + jpeg +
                       ": colours converted to grey levels as round(0.299 R + 0.587 G + "
                       "0.114 B) (BT.601 luma).",
                   "Picture " + jpeg + " of size 64x48 loaded.", ""}));
  const QImage& shown = Find<TImageWidget>("Picture")->Shown();
  EXPECT_EQ(qRed(shown.pixel(3, 3)), qGreen(shown.pixel(3, 3)));
  EXPECT_EQ(qRed(shown.pixel(3, 3)), (*frm_->Core().PicData)[3 * 64 + 3]);
}

TEST_F(MainFormTest, WindowRefusesInputWhileTheMapIsAnalysed) {
  // Every pixel lets the user interface in, so the check below runs early in
  // the analysis.
  frm_->Core().SetInputInterval(std::chrono::milliseconds(0));
  bool disabled = false;
  bool barShown = false;
  int barMaximum = 0;
  LoadPicture(kPicture64);
  QTimer::singleShot(0, [&] {
    disabled = !frm_->isEnabled();
    auto* bar = Find<QProgressBar>("ProgressBar");
    barShown = !bar->isHidden();
    barMaximum = bar->maximum();
  });
  LoadMap(kMap64);
  EXPECT_TRUE(disabled);
  EXPECT_TRUE(barShown);
  EXPECT_EQ(barMaximum, 64 * 48 - 1);
  EXPECT_TRUE(frm_->isEnabled());
  EXPECT_TRUE(Find<QProgressBar>("ProgressBar")->isHidden());
}

TEST_F(MainFormTest, SampleMapLoadsItsShapesWellUnderASecond) {
  LoadPicture(kSamplePicture);
  dialogs_->Answers.push_back(kSampleMap);
  QElapsedTimer timer;
  timer.start();
  Trigger("LoadMap1");
  const qint64 elapsed = timer.elapsed();
  std::printf("Loading the 512x512 sample map in the window took %lld ms\n",
              static_cast<long long>(elapsed));
  auto* list = Find<QListWidget>("ShapeList");
  ASSERT_EQ(list->count(), 86);
  EXPECT_EQ(list->item(0)->text(), "Shape 9CD9CE");
  EXPECT_EQ(LogMessages().at(LogMessages().size() - 2), "86 shapes found. Done.");
  EXPECT_LT(elapsed, 1000);
}

}  // namespace
}  // namespace tvlc::test
