// A list that shows its items in a fixed number of columns filled top to
// bottom, scrolling sideways when they do not fit.
#pragma once

#include <QListWidget>

namespace tvlc {

class TColumnList : public QListWidget {
 public:
  TColumnList(int columns, QWidget* parent = nullptr);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  int columns_;
};

}  // namespace tvlc
