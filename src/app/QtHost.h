// The core's host in the Qt window: pending input goes to Qt's event loop,
// state changes refresh the controls, error boxes are the window's dialogs.
#pragma once

#include "Dialogs.h"
#include "appcore/Host.h"

class QWidget;

namespace tvlc {

class TStateView;

class TQtHost : public THost {
 public:
  TQtHost(QWidget& window, TDialogs& dialogs) : window_(window), dialogs_(dialogs) {}

  // Changes reach the controls from here on; before, the window is not built.
  void Attach(TStateView& view) { view_ = &view; }

  void ProcessPendingInput() override;
  void Changed(unsigned changes) override;
  void ErrorBox(const std::string& text) override;
  bool Question(const std::string& text) override;

 private:
  QWidget& window_;
  TDialogs& dialogs_;
  TStateView* view_ = nullptr;
};

}  // namespace tvlc
