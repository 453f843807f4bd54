// Encoding and decoding through the window: the Coder tab's button with its
// "Stop" state, continuing, the requested PSNR, and the batch commands with
// their "Stop".
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QSpinBox>
#include <QTabWidget>

#include "MainFormCodingFixture.h"
#include "appcore/FloatText.h"

namespace tvlc::test {
namespace {

using Lines = std::vector<std::string>;

constexpr int kSmallShape = 0;   // "Shape AA04FF", window 8 x 16
constexpr int kLargeShape = 1;   // "Shape F4433E", window 64 x 64
constexpr int kMiddleShape = 2;  // "Shape D42CB0", window 64 x 16

class MainFormEncodeTest : public MainFormCodingTest {
 protected:
  QString Text(const char* label) { return Find<QLabel>(label)->text(); }
  TShape& Shape(int index) { return *Core().Shapes[size_t(index)].Shape; }
};

TEST_F(MainFormEncodeTest, EncodeReachesTheRequestedPsnrAndShowsItsProgress) {
  SelectShape(kMiddleShape);
  Core().SetInputInterval(std::chrono::milliseconds(0));
  QString lastPSNR, lastIteration;
  bool stopShown = false, encBtnEnabled = false, othersDisabled = true;
  const TWhileBusy watch([&] {
    if (Find<QPushButton>("EncBtn")->text() != "Stop") return;
    stopShown = true;
    encBtnEnabled = Find<QPushButton>("EncBtn")->isEnabled();
    othersDisabled = othersDisabled && !Find<QPushButton>("ShowShBtn")->isEnabled() &&
                     !Find<QPushButton>("DecodeBtn")->isEnabled() &&
                     !Find<QPushButton>("Button1")->isEnabled() &&
                     !Find<QMenu>("File1")->menuAction()->isEnabled() &&
                     !Find<QMenu>("Map1")->menuAction()->isEnabled() &&
                     !Find<QAction>("Generaterectangles1")->isEnabled();
    lastPSNR = Text("PSNRLab");
    lastIteration = Text("IteratLab");
  });
  Click("EncBtn");

  const TShape& shape = Shape(kMiddleShape);
  ASSERT_GT(shape.Iterations, 1);
  EXPECT_GE(shape.PSNR, 30.0);
  // No transformation is chosen or looked up before the first encode.
  EXPECT_EQ(MessagesFrom("Transformation of Shape D42CB0 started..."),
            Lines({"Transformation of Shape D42CB0 started...", "...using transformation ",
                   "Transformation complete. Done.", ""}));
  EXPECT_TRUE(stopShown);
  EXPECT_TRUE(encBtnEnabled);
  EXPECT_TRUE(othersDisabled);
  EXPECT_EQ(lastPSNR.toStdString(), Fixed2(shape.PSNR));
  EXPECT_EQ(lastIteration.toStdString(), std::to_string(shape.Iterations));
  EXPECT_EQ(Find<QProgressBar>("EncProgBar")->maximum(), 3000);

  // The Info tab shows the result; the coder labels follow "Continue
  // encoding", which is not ticked.
  EXPECT_EQ(Find<QPushButton>("EncBtn")->text(), "Encode");
  EXPECT_EQ(Text("PSNRLab"), "0");
  EXPECT_EQ(Text("IteratLab"), "0");
  EXPECT_EQ(Text("EncoderLab"), "DCT II");
  EXPECT_EQ(Text("SpecAvalLab"), "Yes");
  EXPECT_EQ(Text("IterDoneLab").toStdString(), std::to_string(shape.Iterations));
  EXPECT_EQ(Text("CurrPSNRLab").toStdString(), Fixed2(shape.PSNR));
  EXPECT_FALSE(Find<QCheckBox>("ContEncChck")->isHidden());
  for (const char* button : {"ShowShBtn", "DecodeBtn", "EncBtn", "Button1"})
    EXPECT_TRUE(Find<QPushButton>(button)->isEnabled()) << button;
  EXPECT_TRUE(Find<QMenu>("File1")->menuAction()->isEnabled());
  EXPECT_TRUE(Find<QMenu>("Map1")->menuAction()->isEnabled());
  EXPECT_TRUE(std::filesystem::exists(Scratch("SEGMENT_ORIGINAL_IMG_Shape D42CB0.BMP")));
}

TEST_F(MainFormEncodeTest, StopOnTheEncodeButtonCancelsTheRunningEncode) {
  SelectShape(kLargeShape);
  TypeRequestedPSNR("60");
  Core().SetInputInterval(std::chrono::milliseconds(0));
  bool clicked = false;
  const TWhileBusy user([&] {
    auto* button = Find<QPushButton>("EncBtn");
    if (clicked || button->text() != "Stop") return;
    clicked = true;
    button->click();
  });
  Click("EncBtn");

  ASSERT_TRUE(clicked);
  EXPECT_EQ(MessagesFrom("Transformation of Shape F4433E started..."),
            Lines({"Transformation of Shape F4433E started...", "...using transformation ",
                   "process cancelled by user. Done.", ""}));
  EXPECT_FALSE(Logged("Transformation complete. Done."));
  const TShape& shape = Shape(kLargeShape);
  EXPECT_GT(shape.Iterations, 0);
  EXPECT_LT(shape.PSNR, 60.0);
  EXPECT_EQ(Text("IterDoneLab").toStdString(), std::to_string(shape.Iterations));
  EXPECT_EQ(Text("SpecAvalLab"), "Yes");
  EXPECT_EQ(Find<QPushButton>("EncBtn")->text(), "Encode");
}

TEST_F(MainFormEncodeTest, ContinuedEncodeStartsFromTheShapesIterations) {
  SelectShape(kMiddleShape);
  Click("EncBtn");
  const int iterations = Shape(kMiddleShape).Iterations;
  const std::string psnr = Fixed2(Shape(kMiddleShape).PSNR);
  Find<QTabWidget>("ShapeTabs")->setCurrentIndex(2);
  auto* box = Find<QCheckBox>("ContEncChck");
  ASSERT_TRUE(box->isVisible());
  box->click();
  EXPECT_EQ(Text("IteratLab").toStdString(), std::to_string(iterations));
  EXPECT_EQ(Text("PSNRLab").toStdString(), psnr);

  Trigger("ClearLog1");
  TypeRequestedPSNR("35");
  Click("EncBtn");
  EXPECT_EQ(LogMessages(),
            Lines({"Transformation of Shape D42CB0 started...", "...using transformation DCT II",
                   "...continue transforming from " + std::to_string(iterations) + ". iteration [" +
                       psnr + " dB]",
                   "Transformation complete. Done.", ""}));
  const TShape& shape = Shape(kMiddleShape);
  EXPECT_GT(shape.Iterations, iterations);
  EXPECT_GE(shape.PSNR, 35.0);
  EXPECT_EQ(Text("PSNRLab").toStdString(), Fixed2(shape.PSNR));
}

TEST_F(MainFormEncodeTest, RequestedPsnrWithACommaIsRefused) {
  SelectShape(kSmallShape);
  Trigger("ClearLog1");
  TypeRequestedPSNR("30,5");
  Click("EncBtn");
  EXPECT_EQ(LogMessages(), Lines({"Error: 30,5 not a correct floating point number", ""}));
  EXPECT_FALSE(Shape(kSmallShape).HasSpectrum());
  EXPECT_EQ(Find<QPushButton>("EncBtn")->text(), "Encode");
}

TEST_F(MainFormEncodeTest, RequestedPsnrInExponentFormIsAccepted) {
  SelectShape(kSmallShape);
  TypeRequestedPSNR("1e1");
  Click("EncBtn");
  EXPECT_TRUE(Logged("Transformation complete. Done."));
  EXPECT_EQ(Find<QProgressBar>("EncProgBar")->maximum(), 1000);
}

TEST_F(MainFormEncodeTest, EncodeMenuItemRunsTheButton) {
  SelectShape(kSmallShape);
  Trigger("Encode1");
  EXPECT_TRUE(Shape(kSmallShape).HasSpectrum());
  EXPECT_TRUE(Logged("Transformation complete. Done."));
}

TEST_F(MainFormEncodeTest, EncodeAllInTurnStopsInTheShapeInHand) {
  constexpr int kStopAt = 2;
  Find<QSpinBox>("ThreadsSpin")->setValue(1);
  ASSERT_EQ(Core().Threads, 1u);
  TypeRequestedPSNR("25");
  Core().SetInputInterval(std::chrono::milliseconds(0));
  bool clicked = false, batchButtonsDisabled = false;
  const TWhileBusy user([&] {
    if (clicked || Core().SelectedIndex != kStopAt) return;
    auto* stop = Find<QPushButton>("StopBtn");
    if (stop->isHidden()) return;
    clicked = true;
    batchButtonsDisabled = !Find<QPushButton>("EncAllBtn")->isEnabled() &&
                           !Find<QPushButton>("DecAllBtn")->isEnabled();
    stop->click();
  });
  Click("EncAllBtn");

  ASSERT_TRUE(clicked);
  EXPECT_TRUE(batchButtonsDisabled);
  const Lines messages = LogMessages();
  EXPECT_EQ(messages.front(), "Start encoding 22 shapes");
  EXPECT_EQ(Lines(messages.end() - 2, messages.end()), Lines({"3 shapes encoded", ""}));
  for (int i = 0; i < 22; ++i) EXPECT_EQ(Shape(i).HasSpectrum(), i <= kStopAt) << i;
  EXPECT_TRUE(Find<QPushButton>("StopBtn")->isHidden());
  EXPECT_TRUE(Find<QPushButton>("EncAllBtn")->isEnabled());
  EXPECT_TRUE(Find<QPushButton>("DecAllBtn")->isEnabled());
}

TEST_F(MainFormEncodeTest, EncodeAllOnWorkersShowsItsProgressAndStops) {
  auto* threads = Find<QSpinBox>("ThreadsSpin");
  EXPECT_EQ(unsigned(threads->value()), Core().Threads);
  threads->setValue(3);
  ASSERT_EQ(Core().Threads, 3u);
  // High enough that the workers are still busy when the first progress shows.
  TypeRequestedPSNR("200");
  Core().SetInputInterval(std::chrono::milliseconds(0));
  QString shown;
  bool encodeDisabled = false;
  const TWhileBusy user([&] {
    auto* progress = Find<QLabel>("BatchProgLab");
    auto* stop = Find<QPushButton>("StopBtn");
    if (!shown.isEmpty() || progress->text().isEmpty() || stop->isHidden()) return;
    shown = progress->text();
    encodeDisabled = !Find<QPushButton>("EncBtn")->isEnabled();
    stop->click();
  });
  Click("EncAllBtn");

  EXPECT_TRUE(shown.contains(" of 22 shapes done")) << shown.toStdString();
  EXPECT_TRUE(encodeDisabled);
  const Lines messages = LogMessages();
  const auto started = std::count_if(messages.begin(), messages.end(), [](const std::string& m) {
    return m.starts_with("Transformation of ");
  });
  EXPECT_LT(started, 22);
  EXPECT_EQ(Lines(messages.end() - 2, messages.end()),
            Lines({std::to_string(started) + " shapes encoded", ""}));
  EXPECT_TRUE(Find<QLabel>("BatchProgLab")->text().isEmpty());
  EXPECT_TRUE(Find<QPushButton>("StopBtn")->isHidden());
  EXPECT_TRUE(Find<QPushButton>("EncBtn")->isEnabled());
}

TEST_F(MainFormEncodeTest, DecodeAllGoesOnPastAShapeWithoutSpectrum) {
  for (int shape : {kSmallShape, kLargeShape}) {
    SelectShape(shape);
    Click("EncBtn");
  }
  Trigger("ClearLog1");
  Trigger("DecodeAll1");

  const Lines messages = LogMessages();
  EXPECT_EQ(messages.front(), "Start decoding 22 shapes");
  const Lines first = MessagesFrom("Decoding of shape Shape AA04FF started...");
  ASSERT_GE(first.size(), 5u);
  EXPECT_EQ(Lines(first.begin(), first.begin() + 5),
            Lines({"Decoding of shape Shape AA04FF started...",
                   "...transforming spectrum...zuvi :-)", "...drawing boundaries", "Done.", ""}));
  const Lines third = MessagesFrom("Decoding of shape Shape D42CB0 started...");
  ASSERT_GE(third.size(), 3u);
  EXPECT_EQ(Lines(third.begin(), third.begin() + 3),
            Lines({"Decoding of shape Shape D42CB0 started...",
                   "Unable to decode shape: no spectrum data available", ""}));
  EXPECT_EQ(Lines(messages.end() - 2, messages.end()), Lines({"22 shapes decoded", ""}));
  const auto decoded = std::count_if(Core().DecodedMask.begin(), Core().DecodedMask.end(),
                                     [](uint8_t marked) { return marked != 0; });
  EXPECT_EQ(decoded, Shape(kSmallShape).PointCount + Shape(kLargeShape).PointCount);
}

}  // namespace
}  // namespace tvlc::test
