#include "Stats.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QVBoxLayout>

#include "Named.h"

namespace tvlc {

TStatForm::TStatForm(const std::vector<std::string>& lines, QWidget* parent) : QDialog(parent) {
  setObjectName("StatForm");
  setWindowTitle("Statistics");
  setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);

  auto* list = Named(new QListWidget, "StatList");
  for (const std::string& line : lines) list->addItem(QString::fromStdString(line));

  auto* panel = Named(new QWidget, "Panel1");
  auto* panelLayout = new QHBoxLayout(panel);
  QPushButton* close = NamedButton("Button1", "&Close");
  close->setDefault(true);
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
  panelLayout->addStretch(1);
  panelLayout->addWidget(close);
  panelLayout->addStretch(1);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(list, 1);
  layout->addWidget(panel);
  setFixedSize(309, 176);
}

}  // namespace tvlc
