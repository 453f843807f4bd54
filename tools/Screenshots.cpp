// tvlc-screenshots: the pictures of the README. Opens the main window on the
// sample picture and map, encodes and decodes every shape, re-encodes the
// largest shape so that the Coder tab shows its PSNR curve, shows the
// difference at 4x in the comparison dock, and saves the window at each
// requested size as PNG. Run it under a display (scripts/make-screenshots.sh
// uses Xvfb) from a scratch directory: coding writes diagnostic files.
#include <QApplication>
#include <QComboBox>
#include <QDockWidget>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <cstdio>

#include "ComparisonView.h"
#include "MainForm.h"
#include "QtDialogs.h"

namespace {

template <class T>
T* Child(QWidget& window, const char* name) {
  T* found = window.findChild<T*>(name);
  if (!found) {
    std::fprintf(stderr, "no control %s\n", name);
    std::exit(1);
  }
  return found;
}

void Settle() {
  for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  const QStringList args = QApplication::arguments();
  if (args.size() < 5) {
    std::fputs("Usage: tvlc-screenshots PICTURE.bmp MAP.bmp OUTDIR WxH...\n", stderr);
    return 2;
  }
  tvlc::TMainFrm window(std::make_unique<tvlc::TQtDialogs>());
  window.show();
  tvlc::TMainCore& core = window.Core();
  if (!core.LoadPicture1Click(args[1].toStdString()) ||
      !core.LoadMap1Click(args[2].toStdString()))
    return 1;
  Child<QPushButton>(window, "EncAllBtn")->click();

  // The shape that took the most iterations (a large one), encoded again
  // for its curve.
  size_t largest = 0;
  for (size_t i = 0; i < core.Shapes.size(); ++i)
    if (core.Shapes[i].Shape->Iterations > core.Shapes[largest].Shape->Iterations) largest = i;
  Child<QListWidget>(window, "ShapeList")->setCurrentRow(int(largest));
  Child<QPushButton>(window, "ShowShBtn")->click();
  Child<QPushButton>(window, "EncBtn")->click();
  Child<QPushButton>(window, "DecAllBtn")->click();
  Child<QTabWidget>(window, "ShapeTabs")->setCurrentIndex(2);  // Coder

  Child<QToolButton>(window, "CompareBtn")->click();
  auto* source = Child<QComboBox>(window, "CompareSource");
  source->setCurrentIndex(source->findText("Difference"));
  for (int i = 4; i < args.size(); ++i) {
    const QStringList size = args[i].split('x');
    window.resize(size.value(0).toInt(), size.value(1).toInt());
    window.resizeDocks({Child<QDockWidget>(window, "CompareDock")}, {window.width() / 3},
                       Qt::Horizontal);
    Settle();
    auto* view = Child<tvlc::TComparisonView>(window, "CompareView");
    // 4x about the camera man's face and hand: an area a quarter of the view.
    const QSizeF quarter = QSizeF(view->size()) / 4.0;
    view->ShowArea(QRectF(QPointF(215, 150) - QPointF(quarter.width(), quarter.height()) / 2,
                          quarter));
    Settle();
    const QString path = args[3] + "/tvlc-" + args[i] + ".png";
    if (!window.grab().save(path, "PNG", 0)) return 1;  // smallest file
    std::printf("%s: %s, %d points, %d iterations\n", path.toLocal8Bit().constData(),
                core.Shapes[largest].Name.c_str(), core.Shapes[largest].Shape->PointCount,
                core.Shapes[largest].Shape->Iterations);
  }
  return 0;
}
