#pragma once

// Long operations (loading an image, zooming, printing, bitmap export) lock
// the window that started them and show the busy cursor; the guard gives
// both back when the scope ends, also when it ends by an exception.

class QWidget;

namespace planimo {

class BusyGuard {
 public:
  explicit BusyGuard(QWidget* window);
  ~BusyGuard();
  BusyGuard(const BusyGuard&) = delete;
  BusyGuard& operator=(const BusyGuard&) = delete;

 private:
  QWidget* window_;
  bool wasEnabled_;
};

}  // namespace planimo
