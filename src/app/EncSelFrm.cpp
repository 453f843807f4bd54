#include "EncSelFrm.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "Dialogs.h"
#include "Named.h"
#include "transform/Registry.h"

namespace tvlc {

namespace {

QPlainTextEdit* Memo(const char* name) {
  auto* memo = Named(new QPlainTextEdit, name);
  memo->setReadOnly(true);
  memo->setMaximumHeight(60);
  return memo;
}

// Module texts break lines the DOS way.
QString MemoText(const std::string& text) {
  return QString::fromStdString(text).replace("\r\n", "\n");
}

QListWidget* List(const char* name) {
  auto* list = Named(new QListWidget, name);
  list->setMaximumHeight(100);
  return list;
}

template <class Row>
void ShowRows(QListWidget& list, const std::vector<Row>& rows, int selected) {
  QStringList texts;
  for (const Row& row : rows) texts << QString::fromStdString(row.Text);
  const QSignalBlocker block(&list);
  QStringList shown;
  for (int i = 0; i < list.count(); ++i) shown << list.item(i)->text();
  if (shown != texts) {
    list.clear();
    list.addItems(texts);
  }
  list.setCurrentRow(selected);
}

// "Version", "Code", "Description" and the fields that follow them.
void AddDetails(QGridLayout& grid, int row, QLabel* version, QLabel* code, QPlainTextEdit* memo) {
  grid.addWidget(new QLabel("Version"), row, 0);
  grid.addWidget(version, row, 1);
  grid.addWidget(new QLabel("Code"), row + 1, 0);
  grid.addWidget(code, row + 1, 1);
  grid.addWidget(new QLabel("Description"), row + 2, 0, Qt::AlignTop);
  grid.addWidget(memo, row + 2, 1);
}

}  // namespace

template <class Command>
void TEncSelForm::Forward(Command command) {
  command();
  ShowRegistry();
}

TEncSelForm::TEncSelForm(TModuleRegistry& registry, TDialogs& dialogs, QWidget* parent)
    : QDialog(parent), registry_(registry), dialogs_(dialogs) {
  setObjectName("EncSelForm");
  setWindowTitle("Select Transformation");

  ModList = List("ModList");
  ModVerLab = Named(new QLabel, "ModVerLab");
  ModCodeLab = Named(new QLabel, "ModCodeLab");
  ModDescMemo = Memo("ModDescMemo");
  AuthorMemo = Memo("AuthorMemo");
  auto* moduleGroup = new QGroupBox("Module");
  auto* moduleGrid = new QGridLayout(moduleGroup);
  moduleGrid->addWidget(ModList, 0, 0, 1, 2);
  AddDetails(*moduleGrid, 1, ModVerLab, ModCodeLab, ModDescMemo);
  moduleGrid->addWidget(new QLabel("Author"), 4, 0, Qt::AlignTop);
  moduleGrid->addWidget(AuthorMemo, 4, 1);

  TransList = List("TransList");
  TransVerLab = Named(new QLabel, "TransVerLab");
  TransCodeLab = Named(new QLabel, "TransCodeLab");
  TransDescMemo = Memo("TransDescMemo");
  ConfBtn = NamedButton("ConfBtn", "C&onfigure");
  SetDefaultBtn = NamedButton("Button1", "Set as Default");
  auto* transGroup = new QGroupBox("Transformation");
  auto* transGrid = new QGridLayout(transGroup);
  transGrid->addWidget(TransList, 0, 0, 1, 2);
  AddDetails(*transGrid, 1, TransVerLab, TransCodeLab, TransDescMemo);
  auto* transButtons = new QHBoxLayout;
  transButtons->addWidget(ConfBtn);
  transButtons->addWidget(SetDefaultBtn);
  transGrid->addLayout(transButtons, 4, 0, 1, 2);

  ForceDefModule = Named(new QCheckBox("Force use default module"), "ForceDefModule");
  ReloadBtn = Named(new QPushButton, "ReloadBtn");
  SelBtn = NamedButton("SelBtn", "&Select");
  SelBtn->setDefault(true);
  CancelBtn = NamedButton("Button2", "&Cancel");
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(ForceDefModule);
  buttons->addStretch(1);
  buttons->addWidget(ReloadBtn);
  buttons->addWidget(SelBtn);
  buttons->addWidget(CancelBtn);

  auto* groups = new QHBoxLayout;
  groups->addWidget(moduleGroup);
  groups->addWidget(transGroup);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(groups);
  layout->addLayout(buttons);

  connect(ModList, &QListWidget::currentRowChanged, this,
          [this](int row) { Forward([&] { registry_.ModListClick(row); }); });
  connect(TransList, &QListWidget::currentRowChanged, this,
          [this](int row) { Forward([&] { registry_.TransListClick(row); }); });
  connect(TransList, &QListWidget::itemDoubleClicked, this, [this] { SelBtnClick(); });
  connect(ConfBtn, &QPushButton::clicked, this,
          [this] { Forward([&] { registry_.ConfBtnClick(); }); });
  connect(SetDefaultBtn, &QPushButton::clicked, this,
          [this] { Forward([&] { registry_.SetAsDefault(); }); });
  connect(ReloadBtn, &QPushButton::clicked, this,
          [this] { Forward([&] { registry_.ReloadBtnClick(); }); });
  connect(ForceDefModule, &QCheckBox::clicked, this,
          [this](bool checked) { registry_.ForceDefModule = checked; });
  connect(SelBtn, &QPushButton::clicked, this, [this] { SelBtnClick(); });
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

  ShowRegistry();
  adjustSize();
}

void TEncSelForm::ShowRegistry() {
  const TModuleRegistry& r = registry_;
  ShowRows(*ModList, r.Modules(), r.SelectedModuleRow());
  ShowRows(*TransList, r.Transformations(), r.SelectedTransRow());
  ModVerLab->setText(QString::fromStdString(r.ModVerText));
  ModCodeLab->setText(QString::fromStdString(r.ModCodeText));
  ModDescMemo->setPlainText(MemoText(r.ModDescText));
  AuthorMemo->setPlainText(MemoText(r.AuthorText));
  TransVerLab->setText(QString::fromStdString(r.TransVerText));
  TransCodeLab->setText(QString::fromStdString(r.TransCodeText));
  TransDescMemo->setPlainText(MemoText(r.TransDescText));
  ConfBtn->setEnabled(r.ConfigureEnabled);
  ForceDefModule->setChecked(r.ForceDefModule);
  ReloadBtn->setText(QString::fromStdString(r.ReloadCaption));
}

void TEncSelForm::showEvent(QShowEvent* event) {
  ShowRegistry();
  QDialog::showEvent(event);
}

void TEncSelForm::SelBtnClick() {
  if (!registry_.SelBtnClick()) dialogs_.ErrorBox(this, "No transformation selected");
  accept();
}

}  // namespace tvlc
