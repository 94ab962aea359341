#pragma once
// While the folder search or the file listing runs, the user can stop it with
// Escape. Qt has no query for "is the key down now", so the watcher lets
// pending events run and remembers an Escape press. Other keyboard and mouse
// input is held back meanwhile, so that no second search or listing starts
// inside the running one.
#include <QObject>

namespace varnelko {

class EscapeWatcher : public QObject {
  Q_OBJECT
 public:
  // Watches the whole application until destroyed.
  EscapeWatcher();
  ~EscapeWatcher() override;

  // Lets pending events run, then tells whether Escape was pressed since the
  // watcher was made.
  bool EscapePressed();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool pressed_ = false;
};

// While the memo column of a listing fills in, the window stays usable: this
// watcher lets every event through and only tells of an Escape press that no
// open box or dialog takes for itself.
class EscapeListener : public QObject {
  Q_OBJECT
 public:
  // Watches the whole application until destroyed.
  explicit EscapeListener(QObject* parent = nullptr);
  ~EscapeListener() override;

 Q_SIGNALS:
  void Pressed();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace varnelko
