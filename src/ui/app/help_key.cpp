#include "app/help_key.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>

namespace planimo {

namespace {

class HelpKeyFilter : public QObject {
 public:
  explicit HelpKeyFilter(QAction* helpKey) : QObject(helpKey), helpKey_(helpKey) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress && QApplication::activeModalWidget() != nullptr) {
      const auto* key = static_cast<const QKeyEvent*>(event);
      if (key->key() == Qt::Key_F1 && key->modifiers() == Qt::NoModifier) {
        helpKey_->trigger();
        return true;
      }
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  QAction* helpKey_;
};

}  // namespace

void KeepHelpKeyInModalDialogs(QAction* helpKey) { qApp->installEventFilter(new HelpKeyFilter(helpKey)); }

}  // namespace planimo
