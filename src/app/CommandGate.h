// Which commands of the window have a handler. A control whose command has
// none stays visible but disabled whatever state the core asks for, so that
// nothing can be clicked into the void; giving it a handler is one Wire call.
#pragma once

#include <QAbstractButton>
#include <QAction>
#include <QObject>
#include <QSet>

namespace tvlc {

class TCommandGate {
 public:
  // Handlers run in the lifetime of `context`.
  explicit TCommandGate(QObject& context) : context_(context) {}

  template <class Sender, class Signal, class Handler>
  void Wire(Sender* sender, Signal signal, Handler handler) {
    QObject::connect(sender, signal, &context_, std::move(handler));
    wired_.insert(sender);
  }
  // A menu item that runs a button's command while that button is enabled.
  void Mirror(QAction* item, QAbstractButton* button);
  // A second place for a menu item, e.g. in a context menu.
  void Mirror(QAction* copy, QAction* original);

  bool IsWired(const QObject* control) const;
  // Enabled when the core allows it and the control (a widget or a menu
  // item) has a handler.
  template <class Control>
  void Enable(Control* control, bool allowed) const {
    control->setEnabled(allowed && IsWired(control));
  }
  // Every control without a handler becomes disabled.
  void DisableUnwired(const QList<QObject*>& controls) const;

 private:
  QObject& context_;
  QSet<const QObject*> wired_;
  QHash<const QObject*, const QObject*> mirrored_;
};

}  // namespace tvlc
