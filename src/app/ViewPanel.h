// The row of the three views: the first two take a third of the width each
// and the third takes the rest, whatever size the window gets.
#pragma once

#include <QWidget>

namespace tvlc {

class TViewPanel : public QWidget {
 public:
  TViewPanel(QWidget* first, QWidget* second, QWidget* third, QWidget* parent = nullptr);

  QSize minimumSizeHint() const override;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  QWidget* first_;
  QWidget* second_;
  QWidget* third_;
};

}  // namespace tvlc
