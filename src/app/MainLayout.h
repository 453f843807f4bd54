// Builds the main window's menus and controls: the three views, the shape
// list, the tabs of the selected shape and the log.
#pragma once

#include "MainWidgets.h"

class QMainWindow;

namespace tvlc {

TMainWidgets BuildMainLayout(QMainWindow& window);

}  // namespace tvlc
