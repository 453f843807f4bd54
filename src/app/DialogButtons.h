// The button row of the generator dialogs: "&Generate" (the default,
// closing the dialog with OK) and "&Cancel", at the right.
#pragma once

#include <QDialog>
#include <QHBoxLayout>

#include "Named.h"

namespace tvlc {

inline QHBoxLayout* GenerateCancelButtons(QDialog& dialog) {
  QPushButton* generate = NamedButton("GenBtn", "&Generate");
  generate->setDefault(true);
  QObject::connect(generate, &QPushButton::clicked, &dialog, &QDialog::accept);
  QPushButton* cancel = NamedButton("CancelBtn", "&Cancel");
  QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(generate);
  buttons->addWidget(cancel);
  return buttons;
}

}  // namespace tvlc
