#include "CommandGate.h"

#include <QWidget>

namespace tvlc {

void TCommandGate::Mirror(QAction* item, QAbstractButton* button) {
  QObject::connect(item, &QAction::triggered, &context_, [button] {
    if (button->isEnabled()) button->click();
  });
  mirrored_.insert(item, button);
}

void TCommandGate::Mirror(QAction* copy, QAction* original) {
  QObject::connect(copy, &QAction::triggered, &context_, [original] {
    if (original->isEnabled()) original->trigger();
  });
  mirrored_.insert(copy, original);
}

bool TCommandGate::IsWired(const QObject* control) const {
  if (const QObject* original = mirrored_.value(control)) return IsWired(original);
  return wired_.contains(control);
}

void TCommandGate::DisableUnwired(const QList<QObject*>& controls) const {
  for (QObject* control : controls) {
    if (IsWired(control)) continue;
    if (auto* widget = qobject_cast<QWidget*>(control))
      widget->setEnabled(false);
    else if (auto* action = qobject_cast<QAction*>(control))
      action->setEnabled(false);
  }
}

}  // namespace tvlc
