#include "app/takeoff_highlight.h"

#include <QEvent>
#include <QPainter>

#include "takeoff/takeoff_rows.h"
#include "view/map_view.h"
#include "view/view_units.h"

namespace planimo {

TakeoffHighlight::TakeoffHighlight(const Document& doc, MapView& view)
    : QWidget(view.viewport()), doc_(doc), view_(view) {
  setObjectName(QStringLiteral("takeoffHighlight"));
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setAttribute(Qt::WA_NoSystemBackground);
  setGeometry(view.viewport()->rect());
  view.viewport()->installEventFilter(this);
  connect(&view, &MapView::viewChanged, this, qOverload<>(&QWidget::update));
  hide();
}

void TakeoffHighlight::setShown(bool on) {
  shown_ = on;
  setVisible(on);
  raise();
  update();
}

bool TakeoffHighlight::eventFilter(QObject* watched, QEvent* event) {
  if (watched == parent() && event->type() == QEvent::Resize) setGeometry(view_.viewport()->rect());
  return QWidget::eventFilter(watched, event);
}

void TakeoffHighlight::paintEvent(QPaintEvent*) {
  // The selection may name another object or none after a change; the box
  // is looked up afresh on every paint.
  const std::optional<ObjectBox> b = ObjectBounds(doc_, doc_.selected);
  if (!shown_ || !b) return;
  const QPointF offset(view_.scrollOffset());
  const QRectF px = QRectF(QPointF(MmToPx(b->left), MmToPx(b->top)), QPointF(MmToPx(b->right), MmToPx(b->bottom)))
                        .translated(-offset)
                        .adjusted(-6, -6, 6, 6);
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(255, 140, 0, 220), 3));
  p.setBrush(QColor(255, 200, 0, 40));
  p.drawRoundedRect(px, 4, 4);
}

}  // namespace planimo
