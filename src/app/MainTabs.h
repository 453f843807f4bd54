// The "Selected shape" part of the main window: the tabs that show the
// selected shape and the progress bar below them.
#pragma once

#include "MainWidgets.h"

class QGroupBox;

namespace tvlc {

// The controls land in `tabs`; the returned group holds them all.
QGroupBox* BuildShapeTabs(TShapeTabs& tabs);

}  // namespace tvlc
