// The comparison dock: a large view of the input picture, the decoded
// picture, their difference or the map's outlines over the input, with zoom,
// pan and the numbers under the pointer. Floats or docks beside the views.
#pragma once

#include <QDockWidget>

#include "appcore/Comparison.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QMainWindow;

namespace tvlc {

class TComparisonView;
class TMainCore;

class TComparisonDock : public QDockWidget {
  Q_OBJECT

 public:
  // `pixelInfo` shows what lies under the pointer (in the status bar).
  TComparisonDock(QLabel& pixelInfo, QWidget* parent = nullptr);

  // The core's state changed (TChange flags); redraws what is shown.
  void Refresh(const TMainCore& core, unsigned changes);
  TCompareKind Kind() const;

 private:
  void FirstShown();
  void Render();
  void FollowSelection();
  void ShowZoom(double zoom, bool fitted);
  void ChooseZoom(int index);

  const TMainCore* core_ = nullptr;
  QLabel& pixelInfo_;
  QComboBox* source_;
  QComboBox* zoom_;
  QCheckBox* follow_;
  QLabel* scale_;
  TComparisonView* view_;
  // Whether the picture changed while the dock was hidden.
  bool stale_ = true;
  bool sized_ = false;
};

// Docks a hidden comparison dock on the right of `window`, with the text of
// the pixel under its pointer and the button that shows it in the status bar.
TComparisonDock* AddComparisonDock(QMainWindow& window, QLabel*& pixelInfo);

}  // namespace tvlc
