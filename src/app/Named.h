// Controls are created with the names the commands and tests know them by.
#pragma once

#include <QPushButton>

namespace tvlc {

template <class Widget>
Widget* Named(Widget* widget, const char* name) {
  widget->setObjectName(name);
  return widget;
}

inline QPushButton* NamedButton(const char* name, const char* caption) {
  return Named(new QPushButton(caption), name);
}

}  // namespace tvlc
