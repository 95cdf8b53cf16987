#include "app/window_placement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>
#include <QWindow>

namespace planimo {

namespace {

constexpr int kTaskbarTwips = 500;
constexpr int kTwipsPerInch = 1440;
constexpr QSize kMinimumFrame(320, 240);

// The frame's thickness is known only once the window system has decorated
// the window, which may come after it is shown: every change of it places
// the window again, until the window is moved or resized by other hands.
class FramePlacer : public QObject {
 public:
  explicit FramePlacer(QMainWindow* window) : QObject(window), window_(window) { window->installEventFilter(this); }

  void place() {
    const QScreen* screen = window_->screen() ? window_->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    const QWindow* handle = window_->windowHandle();
    const QMargins m = handle ? handle->frameMargins() : QMargins();
    if (placed_) {
      // Sized by other hands (the user, a caller), or moved while the frame
      // stayed the same: theirs stands from now on.
      const QRect now = window_->geometry();
      if (now.size() != lastSet_.size() || (m == margins_ && now != lastSet_)) {
        window_->removeEventFilter(this);
        return;
      }
      if (m == margins_) return;
    }
    placed_ = true;
    margins_ = m;
    const QSize frameMargins(m.left() + m.right(), m.top() + m.bottom());
    window_->setMinimumSize(kMinimumFrame - frameMargins);
    if (window_->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)) return;
    const QRect frame = MainFrameRect(screen->geometry(), screen->availableGeometry(), screen->logicalDotsPerInchY());
    window_->setGeometry(frame.marginsRemoved(m));
    lastSet_ = window_->geometry();
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == window_ && (event->type() == QEvent::Show || event->type() == QEvent::Move)) place();
    return false;
  }

 private:
  QMainWindow* window_;
  bool placed_ = false;
  QMargins margins_;
  QRect lastSet_;
};

}  // namespace

QRect MainFrameRect(const QRect& screen, const QRect& available, qreal dpiY) {
  const int allowance = qRound(kTaskbarTwips * dpiY / kTwipsPerInch);
  QRect frame(screen.topLeft(), QSize(screen.width(), screen.height() - allowance));
  frame = frame.intersected(available);
  if (frame.isEmpty()) frame = available;
  frame.setSize(frame.size().expandedTo(kMinimumFrame));
  return frame;
}

void PlaceByFrame(QMainWindow* window) {
  auto* placer = new FramePlacer(window);
  placer->place();
}

}  // namespace planimo
