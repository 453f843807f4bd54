// "Statistics": the lines of File > Global statistics in a list, with a
// button that closes the dialog. It lives for one showing only.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

namespace tvlc {

class TStatForm : public QDialog {
  Q_OBJECT

 public:
  explicit TStatForm(const std::vector<std::string>& lines, QWidget* parent = nullptr);
};

}  // namespace tvlc
