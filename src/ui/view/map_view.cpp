#include "view/map_view.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <climits>
#include <cmath>

#include "model/rescale.h"
#include "view/qt_text_measurer.h"
#include "view/record_painter.h"
#include "view/view_units.h"

namespace planimo {

namespace {

// Above this many pixels a JPEG gets a reduced first picture and a full read
// in the background; smaller ones decode in well under a second.
constexpr qint64 kBackgroundReadPixels = 16'000'000;
constexpr int kPreviewDenominator = 8;  // the cheapest DCT scaling JPEG offers
constexpr int kSmallStep = 10;
constexpr int kLargeStep = 50;
constexpr int kRangeAllowance = 4;  // the bars scroll 4 pixels past the surface's edge

// Nearest integer, halves to the even neighbour, kept within what a scroll
// bar can hold (an image wider than 32767 pixels must not wrap around).
int RoundPx(double v) {
  if (!std::isfinite(v)) return 0;
  return static_cast<int>(std::clamp(std::nearbyint(v), double(INT_MIN / 2), double(INT_MAX / 2)));
}

bool IsJpeg(const QByteArray& format) { return format == "jpeg" || format == "jpg"; }

}  // namespace

MapView::MapView(Document& doc, QWidget* parent) : QAbstractScrollArea(parent), doc_(doc) {
  qRegisterMetaType<MapMouseEvent>();
  qRegisterMetaType<ImageLoadResult>();
  setObjectName(QStringLiteral("pictWindow"));
  viewport()->setObjectName(QStringLiteral("pictMap"));
  horizontalScrollBar()->setObjectName(QStringLiteral("hscX"));
  verticalScrollBar()->setObjectName(QStringLiteral("vscY"));
  setFrameShape(QFrame::NoFrame);
  viewport()->setMouseTracking(true);  // moves without a button drive the live measurement
  doc_.measurer = std::make_shared<QtTextMeasurer>();
  updateScrollBars();
}

MapView::~MapView() { joinWorker(); }

void MapView::joinWorker() {
  if (worker_.joinable()) worker_.join();
}

ImageLoadResult MapView::openImage(const QString& path) {
  if (loading_) {
    // The earlier read finishes first, so that "the view as it was" is a
    // whole picture and not a reduced one.
    joinWorker();
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
  }
  const ImageProbe probe = ProbeImage(path);
  if (!probe.result.ok) return probe.result;
  const float zoom = doc_.view.sngZoomPrev;  // the records stand at this factor

  if (!IsJpeg(probe.format) || qint64(probe.size.width()) * probe.size.height() < kBackgroundReadPixels) {
    QImage image;
    ImageLoadResult result = ReadImage(path, image);
    if (!result.ok) return result;
    const QSize size = image.size();
    display(Shown{std::move(image), size, path}, zoom);
    QMetaObject::invokeMethod(this, [this, result] { emit imageReady(result); }, Qt::QueuedConnection);
    return result;
  }

  QImage reduced;
  const ImageLoadResult first = ReadReduced(path, probe.size, kPreviewDenominator, reduced);
  if (!first.ok) return first;
  const unsigned generation = ++generation_;
  previous_ = Shown{shown_, fullSize_, path_};
  loading_ = true;
  display(Shown{std::move(reduced), probe.size, path}, zoom);
  // The full read starts only now: both reads must run through the whole
  // compressed stream, and side by side on a small machine they halve each
  // other's speed, so the first picture would come barely before the full one.
  worker_ = std::thread([this, path, generation] {
    QImage image;
    ImageLoadResult result = ReadImage(path, image);
    QMetaObject::invokeMethod(
        this, [this, generation, result, image]() { finishFullRead(generation, result, image); },
        Qt::QueuedConnection);
  });
  return ImageLoadResult{true, true, 0, QString()};
}

void MapView::finishFullRead(unsigned generation, ImageLoadResult result, QImage image) {
  if (generation != generation_) return;
  joinWorker();
  loading_ = false;
  if (result.ok) {
    const QSize size = image.size();
    display(Shown{std::move(image), size, path_.isEmpty() ? previous_.path : path_}, shownZoom_);
  } else {
    display(std::move(previous_), shownZoom_);
  }
  previous_ = Shown{};
  emit imageReady(result);
}

void MapView::display(Shown s, float zoom) {
  shown_ = std::move(s.image);
  fullSize_ = s.fullSize;
  path_ = std::move(s.path);
  shownZoom_ = zoom;
  surfacePx_ = fullSize_.isEmpty() ? QSize()
                                   : QSize(RoundPx(fullSize_.width() * double(zoom)),
                                           RoundPx(fullSize_.height() * double(zoom)));
  updateScrollBars();
  viewport()->update();
}

ZoomResult MapView::applyZoom() {
  ZoomResult result;
  const float zoom = doc_.view.sngZoom;
  if (hasImage() && std::isfinite(zoom) && zoom > 0) {
    Shown same{shown_, fullSize_, path_};
    display(std::move(same), zoom);
    result.imageShown = true;
  }
  updateScrollBars();
  result.objectsRescaled = subDisp_Object(doc_);
  viewport()->update();
  emit viewChanged();
  return result;
}

void MapView::refresh() { viewport()->update(); }

void MapView::refreshArea(const QRectF& mm) {
  const QRectF px(MmToPx(mm.left()), MmToPx(mm.top()), MmToPx(mm.width()), MmToPx(mm.height()));
  viewport()->update(px.normalized().translated(-scrollOffset()).toAlignedRect().adjusted(-2, -2, 2, 2));
}

void MapView::refreshRecord(const LineRecord& line) {
  viewport()->update(LineBounds(line).translated(-scrollOffset()).toAlignedRect());
}

void MapView::refreshRecord(const ShapeRecord& shape) {
  viewport()->update(ShapeBounds(shape).translated(-scrollOffset()).toAlignedRect());
}

void MapView::refreshRecord(const TextRecord& label) {
  viewport()->update(LabelBounds(label).translated(-scrollOffset()).toAlignedRect());
}

QSize MapView::viewportArea() const {
  const int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
  const QSize inner = contentsRect().size();
  return QSize(std::max(0, inner.width() - extent), std::max(0, inner.height() - extent));
}

void MapView::updateScrollBars() {
  // The viewport keeps the room of both bars whether they show or not, so
  // showing one never changes whether the other is needed.
  const QSize area = viewportArea();
  const bool horizontal = surfacePx_.width() > area.width();
  const bool vertical = surfacePx_.height() > area.height();
  const int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
  setViewportMargins(0, 0, vertical ? 0 : extent, horizontal ? 0 : extent);
  setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  QScrollBar* h = horizontalScrollBar();
  QScrollBar* v = verticalScrollBar();
  h->setRange(0, horizontal ? RoundPx(surfacePx_.width() - area.width() + kRangeAllowance) : 0);
  v->setRange(0, vertical ? RoundPx(surfacePx_.height() - area.height() + kRangeAllowance) : 0);
  h->setSingleStep(kSmallStep);
  v->setSingleStep(kSmallStep);
  h->setPageStep(kLargeStep);
  v->setPageStep(kLargeStep);
}

QPoint MapView::scrollOffset() const {
  return QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
}

QPointF MapView::toMapMm(QPointF viewportPx) const {
  const QPointF surface = viewportPx + QPointF(scrollOffset());
  return QPointF(PxToMm(surface.x()), PxToMm(surface.y()));
}

void MapView::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  const QPoint offset = scrollOffset();
  painter.translate(-offset);
  const QRectF exposed = QRectF(event->rect().translated(offset));
  if (!shown_.isNull()) {
    // The image covers full size x zoom exactly, so it stays in register
    // with the records whatever the rounding of the surface size.
    const QRectF image(0, 0, fullSize_.width() * double(shownZoom_), fullSize_.height() * double(shownZoom_));
    const QRectF target = exposed & image;
    if (!target.isEmpty()) {
      const double sx = image.width() / shown_.width();
      const double sy = image.height() / shown_.height();
      const QRectF source(target.left() / sx, target.top() / sy, target.width() / sx, target.height() / sy);
      painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
      painter.drawImage(target, shown_, source);
      painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    }
  }
  PaintRecords(painter, doc_, exposed);
}

void MapView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  updateScrollBars();
}

void MapView::scrollContentsBy(int dx, int dy) {
  followScroll(dx != 0, dy != 0);
  viewport()->update();
  emit viewChanged();
}

void MapView::followScroll(bool horizontal, bool vertical) {
  // The default style sample stays at a fixed place of the viewport.
  TextRecord& label = doc_.live.lblDefault;
  LineRecord& line = doc_.live.linDefault;
  if (horizontal) {
    label.Left = static_cast<float>(PxToMm(horizontalScrollBar()->value()) + 10);
    line.X1 = label.Left;
    line.X2 = label.Left + label.Width;
  }
  if (vertical) {
    label.Top = static_cast<float>(PxToMm(verticalScrollBar()->value()) + 10);
    line.Y1 = line.Y2 = label.Top + 4;
  }
}

MapMouseEvent MapView::toEvent(const QMouseEvent* event, Qt::MouseButton button) const {
  const QPointF mm = toMapMm(event->position());
  MapMouseEvent e;
  e.x = static_cast<float>(mm.x());
  e.y = static_cast<float>(mm.y());
  e.button = button;
  e.buttons = event->buttons();
  e.ctrl = event->modifiers().testFlag(Qt::ControlModifier);
  e.shift = event->modifiers().testFlag(Qt::ShiftModifier);
  return e;
}

void MapView::mousePressEvent(QMouseEvent* event) { emit mapMousePressed(toEvent(event, event->button())); }

void MapView::mouseMoveEvent(QMouseEvent* event) { emit mapMouseMoved(toEvent(event, Qt::NoButton)); }

void MapView::mouseReleaseEvent(QMouseEvent* event) { emit mapMouseReleased(toEvent(event, event->button())); }

void MapView::mouseDoubleClickEvent(QMouseEvent* event) {
  emit mapDoubleClicked(toEvent(event, event->button()));
}

}  // namespace planimo
