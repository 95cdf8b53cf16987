#include "view/loupe.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <utility>

#include "view/map_view.h"

namespace planimo {

Loupe::Loupe(MapView* view) : QWidget(view), view_(view), map_(view), viewport_(view->viewport()) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
  // It paints every pixel itself: nothing under it needs painting first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFixedSize(kSide, kSide);
  hide();
  view->viewport()->installEventFilter(this);
  // The key may be pressed while another widget of the window has the focus.
  // The window's events pass here also while the map is being taken down,
  // so they are told apart by the widgets kept here, never by asking it.
  qApp->installEventFilter(this);
}

bool Loupe::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type == QEvent::KeyPress || type == QEvent::KeyRelease) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Z && !key->isAutoRepeat()) {
      // Only over the map of the active window: a Z typed into a dialog is
      // the letter, and Ctrl+Z is the undo. The release always ends it.
      const bool command =
          (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) != 0;
      if (type == QEvent::KeyRelease) {
        hold(false);
      } else if (!command && QApplication::activeWindow() == view_->window() &&
                 view_->viewport()->rect().contains(
                     view_->viewport()->mapFromGlobal(QCursor::pos()))) {
        hold(true);
      }
    }
  } else if (watched == viewport_) {
    if (type == QEvent::MouseMove) follow(static_cast<QMouseEvent*>(event)->position().toPoint());
    if (type == QEvent::Leave) hold(false);
    // The map changed without a move (a key, a command): so does the loupe.
    if (type == QEvent::Paint && held_) update();
  } else if (type == QEvent::WindowDeactivate && watched == map_->window()) {
    hold(false);
  }
  return false;  // the map and the measurement see every event as before
}

void Loupe::hold(bool on) {
  held_ = on;
  if (on) {
    follow(view_->viewport()->mapFromGlobal(QCursor::pos()));
    show();
    raise();
  } else {
    hide();
  }
}

void Loupe::follow(QPoint viewportPos) {
  pointer_ = viewportPos;
  if (!held_) return;
  const QPoint centre = view_->viewport()->mapTo(view_, viewportPos);
  move(centre - QPoint(kSide / 2, kSide / 2));
  // Painted after the move has reached the measurement, so that a line
  // being drawn shows where the pointer put it.
  update();
}

void Loupe::paintEvent(QPaintEvent*) {
  constexpr int source = kSide / kMagnification;
  const QRect around(pointer_ - QPoint(source / 2, source / 2), QSize(source, source));
  const QImage part = view_->surfacePart(around);
  QPainter p(this);
  // Whole pixels of the screen picture, each a clean square: no smoothing.
  p.setRenderHint(QPainter::SmoothPixmapTransform, false);
  p.drawImage(rect(), part);
  // The pointer's pixel, framed by the crosshair's gap.
  const int c = (pointer_.x() - around.x()) * kMagnification;
  const int r = (pointer_.y() - around.y()) * kMagnification;
  const int m = kMagnification;
  // A light halo under a thin dark-red line reads on dark and light scans.
  const std::pair<QColor, int> pens[] = {{QColor(255, 255, 255), 3}, {QColor(220, 0, 0), 1}};
  for (const auto& [colour, width] : pens) {
    p.setPen(QPen(colour, width));
    p.drawLine(0, r + m / 2, c - m, r + m / 2);
    p.drawLine(c + 2 * m, r + m / 2, kSide, r + m / 2);
    p.drawLine(c + m / 2, 0, c + m / 2, r - m);
    p.drawLine(c + m / 2, r + 2 * m, c + m / 2, kSide);
  }
  p.setPen(QPen(QColor(220, 0, 0), 1));
  p.drawRect(c - 1, r - 1, m + 1, m + 1);
  p.setPen(QPen(QColor(60, 60, 60), 2));
  p.drawRect(rect().adjusted(1, 1, -1, -1));
}

}  // namespace planimo
