#include "About.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ProgramIcon.h"

namespace tvlc {

namespace {

QLabel* Line(const char* name, const QString& text) {
  auto* label = new QLabel(text);
  label->setObjectName(name);
  return label;
}

}  // namespace

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
  setObjectName("AboutBox");
  setWindowTitle("About");
  auto* icon = Line("ProgramIcon", QString());
  icon->setPixmap(ProgramIcon().pixmap(32, 32));

  auto* texts = new QVBoxLayout;
  texts->addWidget(Line("ProductName", "Tarvello Picture Codec"));
  texts->addWidget(Line("Version", "Version 1.0 [Build 11]"));
  texts->addWidget(Line("Copyright", "Region-based coding of grey-level pictures"));
  texts->addWidget(Line("Comments",
                        "Each region of the segmentation map is coded on its own\n"
                        "by a greedy expansion over a transformation module."));

  auto* top = new QHBoxLayout;
  top->addWidget(icon, 0, Qt::AlignTop);
  top->addLayout(texts, 1);

  auto* ok = new QPushButton("OK");
  ok->setObjectName("OKButton");
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(ok, 0, Qt::AlignHCenter);
  setFixedSize(sizeHint());
}

}  // namespace tvlc
