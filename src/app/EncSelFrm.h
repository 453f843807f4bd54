// "Select Transformation": the view of the module registry. It shows the
// registry's rows and texts and forwards every click to it.
#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace tvlc {

class TDialogs;
class TModuleRegistry;

class TEncSelForm : public QDialog {
  Q_OBJECT

 public:
  TEncSelForm(TModuleRegistry& registry, TDialogs& dialogs, QWidget* parent = nullptr);

  // Copies the registry's state into the controls; the registry also changes
  // behind the dialog's back (every lookup moves the selection).
  void ShowRegistry();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void SelBtnClick();
  // Runs a registry command and shows its outcome.
  template <class Command>
  void Forward(Command command);

  TModuleRegistry& registry_;
  TDialogs& dialogs_;
  QListWidget *ModList, *TransList;
  QLabel *ModVerLab, *ModCodeLab, *TransVerLab, *TransCodeLab;
  QPlainTextEdit *ModDescMemo, *AuthorMemo, *TransDescMemo;
  QPushButton *ConfBtn, *SetDefaultBtn, *ReloadBtn, *SelBtn, *CancelBtn;
  QCheckBox* ForceDefModule;
};

}  // namespace tvlc
