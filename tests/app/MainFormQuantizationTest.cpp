// The Quantizaton tab: the quality check box and slider, the normalization
// choice and "Requantize all".
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QSlider>

#include "MainFormCodingFixture.h"

namespace tvlc::test {
namespace {

using Lines = std::vector<std::string>;

class MainFormQuantizationTest : public MainFormCodingTest {
 protected:
  QString Text(const char* label) { return Find<QLabel>(label)->text(); }
  TShape& Shape(int index) { return *Core().Shapes[size_t(index)].Shape; }
};

TEST_F(MainFormQuantizationTest, TickingQuantizationEnablesTheSliderAndQuantizesTheShape) {
  SelectShape(0);
  Trigger("ClearLog1");
  auto* slider = Find<QSlider>("QuantQuality");
  Find<QCheckBox>("UseQSpecChck")->click();
  EXPECT_TRUE(slider->isEnabled());
  EXPECT_EQ(Text("QuantLab"), "15");
  EXPECT_EQ(Shape(0).Quality, 15);
  // The spectrum view is refreshed with it.
  EXPECT_EQ(LogMessages(), Lines({"...updating spectrum view for Shape AA04FF", "Done.", ""}));

  slider->setValue(40);
  EXPECT_EQ(Text("QuantLab"), "40");
  EXPECT_EQ(Shape(0).Quality, 40);

  Find<QCheckBox>("UseQSpecChck")->click();
  EXPECT_FALSE(slider->isEnabled());
  EXPECT_EQ(Text("QuantLab"), "Not quantized");
  EXPECT_EQ(Shape(0).Quality, 0);
}

TEST_F(MainFormQuantizationTest, NormalizationChoiceChangesTheSelectedShapeOnly) {
  SelectShape(0);
  auto* combo = Find<QComboBox>("NormCombo");
  QTest::keyClick(combo, Qt::Key_Down);
  EXPECT_EQ(combo->currentText(), "8*Orthogonal");
  EXPECT_EQ(Text("NormTypeLab"), "8*Orthogonal");
  EXPECT_EQ(Shape(0).NormKind, 3);

  // Showing another shape's kind does not apply it.
  SelectShape(1);
  EXPECT_EQ(combo->currentText(), "Orthonormal");
  EXPECT_EQ(Text("NormTypeLab"), "Orthonormal");
  EXPECT_EQ(Shape(1).NormKind, 2);
  SelectShape(0);
  EXPECT_EQ(combo->currentText(), "8*Orthogonal");
}

TEST_F(MainFormQuantizationTest, RequantizeAllAppliesTheControlsToEveryShape) {
  Find<QCheckBox>("UseQSpecChck")->click();
  QTest::keyClick(Find<QComboBox>("NormCombo"), Qt::Key_Up);
  Trigger("ClearLog1");
  Click("RequantBtn");
  EXPECT_EQ(LogMessages(), Lines({"Requantizing started...", "...Done.", ""}));
  for (const TShapeItem& item : Core().Shapes) {
    EXPECT_EQ(item.Shape->Quality, 15) << item.Name;
    EXPECT_EQ(item.Shape->NormKind, 1) << item.Name;
  }
}

}  // namespace
}  // namespace tvlc::test
