// Files dragged from a file manager onto the main window: one file is the
// picture, or the map when it lands on the map view; two are the picture and
// the map. The window takes no drop while a command runs.
#pragma once

#include <QObject>

class QWidget;

namespace tvlc {

class TMainCore;

class TFileDrop : public QObject {
 public:
  TFileDrop(QWidget& window, const QWidget& mapView, TMainCore& core);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget& window_;
  const QWidget& mapView_;
  TMainCore& core_;
};

}  // namespace tvlc
