// "Generate rectangles...": the rectangle size of Map > Generate rectangles,
// with counts that help to choose it. The coupling of the four fields is the
// core's; the dialog shows its values and hands it every edit. Created once,
// so the values persist from one use to the next.
#pragma once

#include <QDialog>
#include <array>

class QLineEdit;

namespace tvlc {

class TImage;
class TRectFields;

class TGenRectFrm : public QDialog {
  Q_OBJECT

 public:
  // The counts divide the extents of `picture`, the picture view's image.
  TGenRectFrm(TRectFields& fields, const TImage& picture, QWidget* parent = nullptr);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void FieldEdited(size_t index, const QString& text);
  // Shows the core's values; the field being typed into keeps a text that is
  // not a number yet (empty or a lone minus sign).
  void ShowValues(const QLineEdit* edited);

  TRectFields& fields_;
  const TImage& picture_;
  std::array<QLineEdit*, 4> edits_{};
};

}  // namespace tvlc
