// The dialogs of the desktop: Qt file dialogs starting in the current
// directory, and Qt message boxes.
#pragma once

#include <QString>

#include "Dialogs.h"

namespace tvlc {

// "Bitmaps|*.bmp|All Files|*.*" in Qt's form "Bitmaps (*.bmp);;All Files (*)".
QString QtFilterText(const TFileFilter& filter);

class TQtDialogs : public TDialogs {
 public:
  std::string OpenFile(QWidget* owner, const TFileFilter& filter) override;
  std::string SaveFile(QWidget* owner, const TFileFilter& filter) override;
  void ErrorBox(QWidget* owner, const std::string& text) override;
  bool Question(QWidget* owner, const std::string& text) override;
};

}  // namespace tvlc
