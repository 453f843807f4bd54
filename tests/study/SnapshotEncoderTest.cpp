#include <gtest/gtest.h>

#include "coding/ShapeCoding.h"
#include "coding/TransformShape.h"
#include "model/Bmp.h"
#include "model/MapAnalysis.h"
#include "model/PictureArrays.h"
#include "study/SnapshotEncoder.h"
#include "transform/DCTII.h"

namespace tvlc {
namespace {

TShapeList CameraShapes() {
  const std::string data = TVLC_TEST_DATA;
  const TImage picture = ReadBmpFile(data + "/pictures/camera_64x48.bmp");
  const TImage map = ReadBmpFile(data + "/maps/camera_64x48_felzenszwalb.bmp");
  return LocateShapes(ColorLabels(map), 64, 48, RedLevels(picture), 64);
}

// Every snapshot is the spectrum of a separate encode to its level, to the
// last bit, with either engine.
TEST(SnapshotEncoder, SnapshotsEqualSeparateEncodes) {
  const std::vector<double> levels = {5.0, 22.0, 27.5, 31.0, 36.0, 80.0};
  for (TEngineChoice engine : {TEngineChoice::Fast, TEngineChoice::Literal}) {
    SetEngineChoice(engine);
    TShapeList shapes = CameraShapes();
    TShapeList separate = CameraShapes();
    ASSERT_GT(shapes.size(), 3u);
    for (size_t i = 0; i < shapes.size(); ++i) {
      TShape& shape = *shapes[i].Shape;
      shape.ModuleCode = 1;
      shape.TransCode = 2;
      const TShapeSnapshots snapshots = EncodeWithSnapshots(shape, DctIIDescriptor(), levels);
      ASSERT_EQ(snapshots.AtLevel.size(), levels.size());
      for (size_t l = 0; l < levels.size(); ++l) {
        TShape& alone = *separate[i].Shape;
        EncodeWithDescriptor(alone, DctIIDescriptor(), levels[l], false, 1, {});
        TShape loaded = alone;
        LoadSnapshot(loaded, snapshots.AtLevel[l]);
        ASSERT_EQ(loaded.Spectrum.size(), alone.Spectrum.size());
        for (size_t k = 0; k < alone.Spectrum.size(); ++k)
          ASSERT_EQ(loaded.Spectrum[k], alone.Spectrum[k]) << shapes[i].Name << " " << levels[l];
      }
      // A level met before any iteration keeps the empty spectrum.
      EXPECT_TRUE(snapshots.AtLevel[0].Index.empty());
      EXPECT_LE(snapshots.SecondsAtLevel[1], snapshots.SecondsAtLevel.back());
    }
  }
  SetEngineChoice(TEngineChoice::Fast);
}

TEST(SnapshotEncoder, StopKeepsTheSpectrumSoFarForTheLevelsNotReached) {
  TShapeList shapes = CameraShapes();
  TShape& shape = *shapes.front().Shape;
  shape.ModuleCode = 1;
  shape.TransCode = 2;
  int asked = 0;
  const TShapeSnapshots snapshots =
      EncodeWithSnapshots(shape, DctIIDescriptor(), {60.0, 70.0}, [&]() { return ++asked == 3; });
  EXPECT_EQ(asked, 3);
  // Three iterations choose at most three coefficients.
  EXPECT_GE(snapshots.AtLevel[0].Index.size(), 1u);
  EXPECT_LE(snapshots.AtLevel[0].Index.size(), 3u);
  EXPECT_EQ(snapshots.AtLevel[1].Index, snapshots.AtLevel[0].Index);
}

}  // namespace
}  // namespace tvlc
