#include "GenRect.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>
#include <iterator>

#include "DialogButtons.h"
#include "Named.h"
#include "appcore/RectFields.h"
#include "model/Image.h"

namespace tvlc {

namespace {

struct TRectField {
  const char* Name;
  const char* Caption;
  void (TRectFields::*Change)(const std::string& text, int extent);
  int TRectFields::*Value;
  bool Horizontal;  // divides the picture's width, else its height
};

constexpr TRectField kRectFields[] = {
    {"XSizeSpin", "X Size", &TRectFields::XSizeSpinChange, &TRectFields::XSize, true},
    {"YSizeSpin", "Y Size", &TRectFields::YSizeSpinChange, &TRectFields::YSize, false},
    {"XCountSpin", "X Count", &TRectFields::XCountSpinChange, &TRectFields::XCount, true},
    {"YCountSpin", "Y Count", &TRectFields::YCountSpinChange, &TRectFields::YCount, false},
};

}  // namespace

TGenRectFrm::TGenRectFrm(TRectFields& fields, const TImage& picture, QWidget* parent)
    : QDialog(parent), fields_(fields), picture_(picture) {
  setObjectName("GenRectFrm");
  setWindowTitle("Generate rectangles...");

  // Whole numbers of either sign that an int holds; no bounds of their own.
  const QRegularExpression wholeNumber("-?[0-9]{0,9}");
  auto* grid = new QGridLayout;
  for (size_t i = 0; i < std::size(kRectFields); ++i) {
    const TRectField& field = kRectFields[i];
    QLineEdit* edit = Named(new QLineEdit, field.Name);
    edit->setValidator(new QRegularExpressionValidator(wholeNumber, edit));
    connect(edit, &QLineEdit::textEdited, this,
            [this, i](const QString& text) { FieldEdited(i, text); });
    edits_[i] = edit;
    const int row = int(i % 2);
    const int column = 2 * int(i / 2);
    grid->addWidget(new QLabel(field.Caption), row, column);
    grid->addWidget(edit, row, column + 1);
  }

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addLayout(GenerateCancelButtons(*this));
  ShowValues(nullptr);
  setFixedSize(sizeHint());
}

void TGenRectFrm::showEvent(QShowEvent* event) {
  ShowValues(nullptr);
  QDialog::showEvent(event);
}

void TGenRectFrm::FieldEdited(size_t index, const QString& text) {
  const TRectField& field = kRectFields[index];
  const int extent = field.Horizontal ? picture_.Width() : picture_.Height();
  (fields_.*field.Change)(text.toStdString(), extent);
  ShowValues(edits_[index]);
}

void TGenRectFrm::ShowValues(const QLineEdit* edited) {
  for (size_t i = 0; i < std::size(kRectFields); ++i) {
    QLineEdit* edit = edits_[i];
    const int value = fields_.*kRectFields[i].Value;
    bool isNumber = false;
    const int shown = edit->text().toInt(&isNumber);
    if (edit == edited && !isNumber) continue;
    if (!isNumber || shown != value) edit->setText(QString::number(value));
  }
}

}  // namespace tvlc
