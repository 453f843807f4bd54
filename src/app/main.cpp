// tvlc: the desktop program. Optionally loads a picture and a map given on
// the command line, as File > Load Picture and Load Map would.
#include <QApplication>
#include <QTimer>
#include <cstdio>

#include "MainForm.h"
#include "ProgramIcon.h"
#include "QtDialogs.h"
#include "ScratchSettings.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("TVLC");
  QApplication::setWindowIcon(tvlc::ProgramIcon());

  const QStringList args = QApplication::arguments();
  if (args.size() != 1 && args.size() != 3) {
    std::fputs("Usage: tvlc [PICTURE.bmp MAP.bmp]\n", stderr);
    return 2;
  }

  const tvlc::TScratchSettings settings;
  tvlc::TMainFrm window(std::make_unique<tvlc::TQtDialogs>());
  window.show();
  if (args.size() == 3) {
    QTimer::singleShot(0, &window, [&window, picture = args[1].toStdString(),
                                    map = args[2].toStdString()] {
      window.Core().LoadPicture1Click(picture);
      window.Core().LoadMap1Click(map);
    });
  }
  return app.exec();
}
