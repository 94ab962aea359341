#include "qt/escape_watcher.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>

namespace varnelko {

namespace {

bool IsUserInput(QEvent::Type type) {
  switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
      return true;
    default:
      return false;
  }
}

}  // namespace

EscapeWatcher::EscapeWatcher() { QCoreApplication::instance()->installEventFilter(this); }

EscapeWatcher::~EscapeWatcher() { QCoreApplication::instance()->removeEventFilter(this); }

bool EscapeWatcher::EscapePressed() {
  QCoreApplication::processEvents();
  return pressed_;
}

bool EscapeWatcher::eventFilter(QObject*, QEvent* event) {
  if (!IsUserInput(event->type())) return false;
  if (event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
    pressed_ = true;
  }
  return true;
}

EscapeListener::EscapeListener(QObject* parent) : QObject(parent) {
  QCoreApplication::instance()->installEventFilter(this);
}

EscapeListener::~EscapeListener() { QCoreApplication::instance()->removeEventFilter(this); }

bool EscapeListener::eventFilter(QObject*, QEvent* event) {
  if (event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape &&
      !QApplication::activeModalWidget()) {
    Q_EMIT Pressed();
  }
  return false;
}

}  // namespace varnelko
