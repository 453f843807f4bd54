#include "Stats.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "Named.h"
#include "TabStopDelegate.h"

namespace tvlc {

namespace {

constexpr int kWidth = 309;
// Room beside the longest line, so that its last letter never touches the frame.
constexpr int kSpare = 8;

}  // namespace

TStatForm::TStatForm(const std::vector<std::string>& lines, QWidget* parent) : QDialog(parent) {
  setObjectName("StatForm");
  setWindowTitle("Statistics");
  setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);

  auto* list = Named(new QListWidget, "StatList");
  // "(Slack: ...)" follows its count closely; where a line is still wider
  // than the dialog's 309 pixels, the dialog grows to show it whole.
  auto* delegate = new TTabStopDelegate(12, list);
  list->setItemDelegate(delegate);
  int width = kWidth;
  for (const std::string& line : lines) {
    const QString text = QString::fromStdString(line);
    list->addItem(text);
    width = std::max(width, delegate->LineWidth(*list, text) + 2 * list->frameWidth() + kSpare);
  }

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
  setFixedSize(width, 176);
}

}  // namespace tvlc
