#include "app/busy_guard.h"

#include <QApplication>
#include <QWidget>

namespace planimo {

BusyGuard::BusyGuard(QWidget* window) : window_(window), wasEnabled_(window && window->isEnabled()) {
  if (window_) window_->setEnabled(false);
  QApplication::setOverrideCursor(Qt::WaitCursor);
}

BusyGuard::~BusyGuard() {
  QApplication::restoreOverrideCursor();
  if (window_) window_->setEnabled(wasEnabled_);
}

BusyGuard::Pause::Pause(const BusyGuard& busy) : busy_(busy) {
  QApplication::restoreOverrideCursor();
  if (busy_.window_) busy_.window_->setEnabled(busy_.wasEnabled_);
}

BusyGuard::Pause::~Pause() {
  if (busy_.window_) busy_.window_->setEnabled(false);
  QApplication::setOverrideCursor(Qt::WaitCursor);
}

}  // namespace planimo
