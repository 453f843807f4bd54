#include "QtDialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

namespace tvlc {

namespace {

std::string AskForFile(QWidget* owner, const TFileFilter& filter, QFileDialog::AcceptMode mode) {
  QFileDialog dialog(owner, QString(), QDir::currentPath(), QtFilterText(filter));
  dialog.setAcceptMode(mode);
  dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                     : QFileDialog::AnyFile);
  dialog.setDefaultSuffix(QString::fromUtf8(filter.DefaultExt));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().constFirst().toStdString();
}

}  // namespace

QString QtFilterText(const TFileFilter& filter) {
  const QStringList parts = QString::fromUtf8(filter.Filter).split('|');
  QStringList entries;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    // Qt separates the patterns of one type by blanks; a ";" would become
    // part of the pattern and match nothing.
    QStringList patterns;
    for (const QString& pattern : parts[i + 1].split(';', Qt::SkipEmptyParts)) {
      const QString trimmed = pattern.trimmed();
      // "*.*" would hide files without an extension here.
      patterns << (trimmed == "*.*" ? QStringLiteral("*") : trimmed);
    }
    entries << parts[i] + " (" + patterns.join(' ') + ")";
  }
  return entries.join(";;");
}

std::string TQtDialogs::OpenFile(QWidget* owner, const TFileFilter& filter) {
  return AskForFile(owner, filter, QFileDialog::AcceptOpen);
}

std::string TQtDialogs::SaveFile(QWidget* owner, const TFileFilter& filter) {
  return AskForFile(owner, filter, QFileDialog::AcceptSave);
}

void TQtDialogs::ErrorBox(QWidget* owner, const std::string& text) {
  QMessageBox::critical(owner, QStringLiteral("Error"), QString::fromStdString(text),
                        QMessageBox::Ok);
}

bool TQtDialogs::Question(QWidget* owner, const std::string& text) {
  return QMessageBox::question(owner, QStringLiteral("Question"), QString::fromStdString(text),
                               QMessageBox::Yes | QMessageBox::No,
                               QMessageBox::No) == QMessageBox::Yes;
}

}  // namespace tvlc
