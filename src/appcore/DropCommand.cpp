// Files dropped on the main window.
#include "appcore/MainCore.h"

namespace tvlc {

bool TMainCore::Busy() const {
  for (int running : activity_)
    if (running > 0) return true;
  return !Controls.WindowEnabled;
}

bool TMainCore::DropFiles(const std::vector<std::string>& paths, bool onMapView) {
  if (paths.empty()) return false;
  if (Busy()) {
    AddLog("Drop refused: a command is running.\r\n");
    return false;
  }
  switch (paths.size()) {
    case 1:
      return onMapView ? LoadMap1Click(paths[0]) : LoadPicture1Click(paths[0]);
    case 2:
      // A map is checked against the picture, so it must not follow a
      // picture that was refused.
      return LoadPicture1Click(paths[0]) && LoadMap1Click(paths[1]);
    default:
      AddLog("Drop refused: drop one file, or a picture and a map.\r\n");
      return false;
  }
}

}  // namespace tvlc
