// The menu bar of the main window and the items of the views' context menus.
#pragma once

#include "MainWidgets.h"

class QMainWindow;

namespace tvlc {

TMenuItems BuildMenus(QMainWindow& window);

}  // namespace tvlc
