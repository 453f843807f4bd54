#include "QtHost.h"

#include <QCoreApplication>

#include "StateView.h"

namespace tvlc {

void TQtHost::ProcessPendingInput() {
  // Long loops move progress bars and switch controls without a
  // notification each time, so they are brought up to date first.
  Changed(kProgressChanged | kControlsChanged);
  QCoreApplication::processEvents();
}

void TQtHost::Changed(unsigned changes) {
  if (view_) view_->Refresh(changes);
}

void TQtHost::ErrorBox(const std::string& text) { dialogs_.ErrorBox(&window_, text); }

bool TQtHost::Question(const std::string& text) { return dialogs_.Question(&window_, text); }

}  // namespace tvlc
