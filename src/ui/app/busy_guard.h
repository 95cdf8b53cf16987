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

  // A question in the middle of the operation (a chooser): the window and
  // the ordinary pointer are the user's while it is open.
  class Pause {
   public:
    explicit Pause(const BusyGuard& busy);
    ~Pause();
    Pause(const Pause&) = delete;
    Pause& operator=(const Pause&) = delete;

   private:
    const BusyGuard& busy_;
  };

 private:
  QWidget* window_;
  bool wasEnabled_;
};

}  // namespace planimo
