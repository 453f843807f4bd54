// Copies the core's state into the main window's controls: the part of the
// shell that the core's change notifications reach.
#pragma once

#include <string>
#include <vector>

#include "CommandGate.h"
#include "LogView.h"
#include "MainWidgets.h"

class QMainWindow;

namespace tvlc {

class TMainCore;

class TStateView {
 public:
  TStateView(QMainWindow& window, TMainWidgets& widgets, const TMainCore& core,
             const TCommandGate& gate);

  // Refreshes the controls that show the parts named by TChange flags.
  void Refresh(unsigned changes);

 private:
  void ShowViews();
  void ShowShapeViews();
  void ShowSpectrumView();
  void ShowShapeList();
  void ShowInfo();
  void ShowCoefficients();
  void ShowControls();
  void ShowProgress();

  QMainWindow& window_;
  TMainWidgets& w_;
  const TMainCore& core_;
  const TCommandGate& gate_;
  TLogView log_;
  // What the shape and coefficient lists show, so that they are rebuilt
  // only when their texts change and not at every selection.
  std::vector<std::string> listed_;
  std::vector<std::string> coefficients_;
};

}  // namespace tvlc
