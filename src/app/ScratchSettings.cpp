#include "ScratchSettings.h"

#include <QSettings>

namespace tvlc {

TScratchSettings::TScratchSettings() {
  // Without a folder of its own (no temporary space), the settings stay
  // where Qt puts them: the program works either way.
  if (!folder_.isValid()) return;
  for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
    QSettings::setPath(format, QSettings::UserScope, folder_.path());
}

}  // namespace tvlc
