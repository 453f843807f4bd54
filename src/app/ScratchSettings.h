// The program keeps no settings, but Qt's file dialog stores its history
// (QtProject.conf) in the user's settings all the same. While this object
// lives, the user scope of QSettings lies in a temporary folder that goes
// away with it, so a run leaves nothing behind.
#pragma once

#include <QString>
#include <QTemporaryDir>

namespace tvlc {

class TScratchSettings {
 public:
  TScratchSettings();
  QString Folder() const { return folder_.path(); }

 private:
  QTemporaryDir folder_;
};

}  // namespace tvlc
