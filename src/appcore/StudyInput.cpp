#include "appcore/StudyInput.h"

#include "appcore/MainCore.h"
#include "study/MapCost.h"

namespace tvlc {

TSweepInput StudyInputOf(const TMainCore& core, TShapeList& shapes, const std::string& mapName,
                         bool generatedMap) {
  TSweepInput input;
  input.Picture = core.PicData;
  input.PicWidth = core.PicWidth;
  input.PicHeight = core.PicHeight;
  input.MapWidth = core.MapWidth;
  input.MapHeight = core.MapHeight;
  input.MapName = mapName;
  if (!generatedMap && core.MapData)
    input.MapBytes = CodeMapLabels(*core.MapData, core.MapWidth, core.MapHeight).size();
  input.Shapes = &shapes;
  return input;
}

bool TMainCore::RunStudy(const std::function<void()>& study) {
  if (!MayStart(Controls.MapMenuEnabled)) return false;
  TBusy busy(*this, kFileOrMap);
  study();
  return true;
}

}  // namespace tvlc
