#include "app/takeoff_highlight.h"

#include <QEvent>
#include <QPainter>
#include <QTimer>

#include "takeoff/takeoff_rows.h"
#include "view/map_view.h"
#include "view/view_units.h"

namespace planimo {

namespace {

constexpr int kPen = 3;

}  // namespace

TakeoffHighlight::TakeoffHighlight(const Document& doc, MapView& view)
    : QWidget(view.viewport()), doc_(doc), view_(view) {
  setObjectName(QStringLiteral("takeoffHighlight"));
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setAttribute(Qt::WA_NoSystemBackground);
  view.viewport()->installEventFilter(this);
  connect(&view, &MapView::viewChanged, this, &TakeoffHighlight::place);
  hide();
}

void TakeoffHighlight::setShown(bool on) {
  shown_ = on;
  place();
}

// The layer covers only the frame: a layer over the whole map would have
// the map painted twice on every zoom step and scroll.
std::optional<QRect> TakeoffHighlight::frameArea() const {
  const std::optional<ObjectBox> b = ObjectBounds(doc_, doc_.selected);
  if (!shown_ || !b) return std::nullopt;
  const QRectF px = QRectF(QPointF(MmToPx(b->left), MmToPx(b->top)), QPointF(MmToPx(b->right), MmToPx(b->bottom)))
                        .translated(-QPointF(view_.scrollOffset()))
                        .adjusted(-6, -6, 6, 6);
  const QRect area = px.toAlignedRect().adjusted(-kPen, -kPen, kPen, kPen) & view_.viewport()->rect();
  if (area.isEmpty()) return std::nullopt;
  frame_ = px;
  return area;
}

void TakeoffHighlight::place() {
  const std::optional<QRect> area = frameArea();
  if (!area) {
    hide();
    return;
  }
  if (geometry() != *area) setGeometry(*area);
  if (isHidden()) {
    show();
    raise();  // over the map, and under a loupe shown later
  }
  update();
}

bool TakeoffHighlight::eventFilter(QObject* watched, QEvent* event) {
  // The selection may name another object or none after a change, or the
  // object may have moved: looked up afresh after each repaint of the map.
  if (shown_ && watched == parent() && (event->type() == QEvent::Resize || event->type() == QEvent::Paint) &&
      !pending_) {
    pending_ = true;
    QTimer::singleShot(0, this, [this] {
      pending_ = false;
      const std::optional<QRect> area = frameArea();
      if (area.has_value() != isVisible() || (area && *area != geometry())) place();
    });
  }
  return QWidget::eventFilter(watched, event);
}

void TakeoffHighlight::paintEvent(QPaintEvent*) {
  if (!frameArea()) return;
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(255, 140, 0, 220), kPen));
  p.setBrush(QColor(255, 200, 0, 40));
  p.drawRoundedRect(frame_.translated(-QPointF(pos())), 4, 4);
}

}  // namespace planimo
