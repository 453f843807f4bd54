// The views are converted for the screen only when their images changed:
// encoding with "Update info" redraws the spectrum view, not the pictures.
#include <QCheckBox>
#include <QPushButton>

#include "ImageWidget.h"
#include "MainFormFixture.h"

namespace tvlc::test {
namespace {

qint64 ShownKey(QWidget* view) { return static_cast<TImageWidget*>(view)->Shown().cacheKey(); }

TEST_F(MainFormTest, EncodingWithUpdateInfoRedrawsOnlyTheSpectrumView) {
  LoadSmallInputs();
  frm_->Core().SetInputInterval({});
  Find<QCheckBox>("ShowShapInfChck")->click();
  frm_->Core().ShowShBtnClick(1);
  const char* unchanged[] = {"Picture", "PicDrawArea", "Map", "MapDrawArea", "Reconst",
                             "ReconstDrawArea", "ViewDrawArea"};
  std::vector<qint64> keys;
  for (const char* name : unchanged) keys.push_back(ShownKey(Find<QWidget>(name)));
  const qint64 spectrum = ShownKey(Find<QWidget>("SpecDrawArea"));

  Find<QPushButton>("EncBtn")->click();
  ASSERT_GT(frm_->Core().Shapes[1].Shape->Iterations, 1);
  for (size_t i = 0; i < keys.size(); ++i)
    EXPECT_EQ(ShownKey(Find<QWidget>(unchanged[i])), keys[i]) << unchanged[i];
  EXPECT_NE(ShownKey(Find<QWidget>("SpecDrawArea")), spectrum);
}

TEST_F(MainFormTest, SelectingAShapeLeavesTheBaseImages) {
  LoadSmallInputs();
  const qint64 picture = ShownKey(Find<QWidget>("Picture"));
  const qint64 overlay = ShownKey(Find<QWidget>("PicDrawArea"));
  frm_->Core().ShowShBtnClick(2);
  EXPECT_EQ(ShownKey(Find<QWidget>("Picture")), picture);
  EXPECT_NE(ShownKey(Find<QWidget>("PicDrawArea")), overlay);  // the shape's outline
}

}  // namespace
}  // namespace tvlc::test
