#include "qt/qt_post.h"

#include <QCoreApplication>

namespace varnelko {

PostToUi QtPost() {
  return [](std::function<void()> f) {
    QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(f), Qt::QueuedConnection);
  };
}

}  // namespace varnelko
