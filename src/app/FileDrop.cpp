#include "FileDrop.h"

#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <QWidget>
#include <string>
#include <vector>

#include "appcore/MainCore.h"

namespace tvlc {

namespace {

std::vector<std::string> LocalFiles(const QMimeData* data) {
  std::vector<std::string> paths;
  if (!data) return paths;
  for (const QUrl& url : data->urls())
    if (url.isLocalFile()) paths.push_back(url.toLocalFile().toStdString());
  return paths;
}

}  // namespace

TFileDrop::TFileDrop(QWidget& window, const QWidget& mapView, TMainCore& core)
    : QObject(&window), window_(window), mapView_(mapView), core_(core) {
  window.setAcceptDrops(true);
  window.installEventFilter(this);
}

bool TFileDrop::eventFilter(QObject* watched, QEvent* event) {
  if (watched != &window_) return false;
  switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
      auto* drag = static_cast<QDropEvent*>(event);
      const bool welcome = !LocalFiles(drag->mimeData()).empty() && !core_.Busy();
      drag->setAccepted(welcome);
      if (welcome) drag->acceptProposedAction();
      return true;
    }
    case QEvent::Drop: {
      auto* drop = static_cast<QDropEvent*>(event);
      const QPoint onMap = mapView_.mapFrom(&window_, drop->position().toPoint());
      const bool mapView = mapView_.isVisible() && mapView_.rect().contains(onMap);
      drop->acceptProposedAction();
      // Loading runs after the drop has ended, so that the program the
      // files came from is not kept waiting by the map analysis.
      QTimer::singleShot(0, this, [this, paths = LocalFiles(drop->mimeData()), mapView] {
        core_.DropFiles(paths, mapView);
      });
      return true;
    }
    default:
      return false;
  }
}

}  // namespace tvlc
