// The Quantizaton tab: quality and normalization of the selected shape or of
// all shapes.
#include "appcore/MainCore.h"

namespace tvlc {

void TMainCore::UseQSpecChckClick(bool checked) {
  Controls.UseQSpecChecked = checked;
  host_.Changed(kControlsChanged);
  if (!SelectedShape) return;
  SelectedShape->SetQuality(UiQuality());
  UpdateInfo();
  RedrawSpecBtnClick();
}

void TMainCore::QuantQualityChange(int position) {
  Controls.QuantQuality = position;
  if (!SelectedShape) return;
  SelectedShape->SetQuality(UiQuality());
  UpdateInfo();
}

void TMainCore::NormComboChange(int index) {
  Controls.NormComboIndex = index;
  if (!SelectedShape) return;
  SelectedShape->SetNormKind(uint8_t(index));
  Info.NormTypeLab = kNormKindNames[SelectedShape->NormKind];
  host_.Changed(kInfoChanged);
}

void TMainCore::RequantBtnClick() {
  // Shapes in work on worker threads belong to their workers.
  if (activity_[kWorkers] > 0) return;
  AddLog("Requantizing started...");
  for (TShapeItem& item : Shapes) {
    item.Shape->SetQuality(UiQuality());
    item.Shape->SetNormKind(uint8_t(Controls.NormComboIndex));
  }
  AddLog("...Done.\r\n");
}

}  // namespace tvlc
