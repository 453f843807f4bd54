// The About box: program icon, product name, version and a few words.
#pragma once

#include <QDialog>

namespace tvlc {

class TAboutBox : public QDialog {
  Q_OBJECT

 public:
  explicit TAboutBox(QWidget* parent = nullptr);
};

}  // namespace tvlc
