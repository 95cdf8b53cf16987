#include "view/map_view.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>
#include <climits>
#include <cmath>

#include "model/rescale.h"
#include "view/band_painter.h"
#include "view/qt_text_measurer.h"
#include "view/record_painter.h"
#include "view/view_units.h"

namespace planimo {

namespace {

constexpr int kSmallStep = 10;
constexpr int kLargeStep = 50;
constexpr int kRangeAllowance = 4;  // the bars scroll 4 pixels past the surface's edge

// Nearest integer, halves to the even neighbour, kept within what a scroll
// bar can hold (an image wider than 32767 pixels must not wrap around).
int RoundPx(double v) {
  if (!std::isfinite(v)) return 0;
  return static_cast<int>(std::clamp(std::nearbyint(v), double(INT_MIN / 2), double(INT_MAX / 2)));
}

// From this many pixels a repaint is drawn in two bands at once.
constexpr qint64 kBandPixels = 640 * 480;

// The coarsest level whose pixels are still no larger than the screen's at
// `surfacePerPixel` surface pixels per full-image pixel.
int LevelFor(const ScanPicture& p, double surfacePerPixel) {
  int level = 0;
  while (level + 1 < p.levelCount() && surfacePerPixel * (1 << (level + 1)) <= 1.0 + 1e-9) ++level;
  return level;
}

// The published rows reach the bottom of the viewport (or the picture's).
bool FillsViewport(const ScanPicture& p, double zoom, int viewportBottom) {
  if (p.decodeFinished()) return true;
  const double rowsNeeded = std::min(double(p.size().height()), std::ceil(viewportBottom / zoom));
  return p.readyRows(0) >= rowsNeeded;
}

// The pixels of `image` around `source` as a picture of their own, sharing
// them, with `source` moved to match. Qt samples a scaled picture quickly
// only while its offsets into it stay below ten thousand pixels; in the
// middle of an A0 scan at 600 dpi they do not, and a repaint took three
// times as long. A margin keeps the smoothing's neighbours, and rows start
// on whole words as the painter reads them.
QImage Around(const QImage& image, QRectF& source) {
  constexpr int kMargin = 2;
  const int wordPixels = std::max(1, 32 / std::max(1, image.depth()));
  int left = std::max(0, int(std::floor(source.left())) - kMargin);
  left -= left % wordPixels;
  const int top = std::max(0, int(std::floor(source.top())) - kMargin);
  if (left == 0 && top == 0) return image;
  const int right = std::min(image.width(), int(std::ceil(source.right())) + kMargin);
  const int bottom = std::min(image.height(), int(std::ceil(source.bottom())) + kMargin);
  if (right <= left || bottom <= top) return image;
  QImage part(image.constScanLine(top) + qsizetype(left) * image.depth() / 8, right - left, bottom - top,
              image.bytesPerLine(), image.format());
  part.setColorTable(image.colorTable());
  source.translate(-left, -top);
  return part;
}

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
  // Every repaint covers its whole area, so nothing beneath the map is
  // painted for it.
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  doc_.measurer = std::make_shared<QtTextMeasurer>();
  updateScrollBars();
}

MapView::~MapView() {
  sharpener_.reset();  // its rendering reports to this view; it goes first
  if (picture_) picture_->cancel();
  if (previous_.picture) previous_.picture->cancel();
  joinWorker();
  stopHelper();
}

void MapView::display(Shown s, float zoom) {
  if (zoom != shownZoom_ || sharpSource_ != generation_) sharp_ = QImage();
  picture_ = std::move(s.picture);
  shown_ = picture_ ? picture_->full() : QImage();
  fullSize_ = s.fullSize;
  path_ = std::move(s.path);
  page_ = s.page;
  pdfPage_ = s.pdfPage;
  shownZoom_ = zoom;
  surfacePx_ = fullSize_.isEmpty() ? QSize()
                                   : QSize(RoundPx(fullSize_.width() * double(zoom)),
                                           RoundPx(fullSize_.height() * double(zoom)));
  updateScrollBars();
  requestSharp();
  viewport()->update();
}

// At 100 % the 96 dpi picture is the page pixel for pixel; at any other zoom
// the viewport's part of the page is rendered again behind the window's back.
void MapView::requestSharp() {
  // While a page's first picture is read, its visible part is rendered at any zoom.
  const bool wanted = pdfPage_ && picture_ && (shownZoom_ != 1.0f || loading_) && !surfacePx_.isEmpty();
  const QRect clip =
      wanted ? QRect(scrollOffset(), viewport()->size()) & QRect(QPoint(0, 0), surfacePx_) : QRect();
  ++sharpTicket_;  // whatever is on its way no longer fits the view
  if (clip.isEmpty()) sharp_ = QImage();
  if (clip.isEmpty() || (!sharp_.isNull() && sharpClip_.contains(clip))) {  // nothing to do, or sharp there already
    if (sharpener_) sharpener_->withdraw();
    startWholePage();  // no visible part will come first
    return;
  }
  if (!sharpener_) {
    sharpener_ = std::make_unique<PdfSharpener>([this](SharpPicture sharp) {
      QMetaObject::invokeMethod(
          this, [this, sharp = std::move(sharp)]() mutable { sharpArrived(std::move(sharp)); },
          Qt::QueuedConnection);
    });
  }
  sharpener_->request(SharpRequest{sharpTicket_, generation_, path_, page_, surfacePx_, clip});
}

void MapView::sharpArrived(SharpPicture sharp) {
  // The reader is free for the page's whole picture, unless this rendering
  // is of a place the view has left: the request that replaced it comes
  // first, or the first picture would wait behind the whole page.
  const bool current = sharp.ticket == sharpTicket_;
  if (current || sharp.image.isNull()) startWholePage();
  if (!current || sharp.image.isNull()) return;
  sharp_ = std::move(sharp.image);
  sharpClip_ = sharp.clip;
  sharpSource_ = generation_;
  viewport()->update(sharpClip_.translated(-scrollOffset()));
  emit sharpPictureShown();
}

ZoomResult MapView::applyZoom() {
  ZoomResult result;
  const float zoom = doc_.view.sngZoom;
  if (hasImage() && std::isfinite(zoom) && zoom > 0) {
    Shown same{picture_, fullSize_, path_, page_, pdfPage_};
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
  // Laying the bars out again repaints the whole view around the map, so
  // it is done only when they change.
  const QMargins margins(0, 0, vertical ? 0 : extent, horizontal ? 0 : extent);
  const Qt::ScrollBarPolicy hPolicy = horizontal ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
  const Qt::ScrollBarPolicy vPolicy = vertical ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
  if (viewportMargins() != margins || horizontalScrollBarPolicy() != hPolicy || verticalScrollBarPolicy() != vPolicy) {
    setViewportMargins(margins);
    setHorizontalScrollBarPolicy(hPolicy);
    setVerticalScrollBarPolicy(vPolicy);
  }
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

// A row near the middle of `area` that no clip-sensitive record spans, or
// -1 when there is none close to it.
int MapView::bandSeam(const QRect& area) const {
  const QPoint offset = scrollOffset();
  const int middle = area.top() + area.height() / 2;
  for (int step = 0; step < area.height() / 4; step += 8) {
    for (const int row : {middle + step, middle - step}) {
      const double y = row + offset.y() - 0.5;  // between surface rows
      if (!ClipSensitiveRecordCrosses(doc_, y, area.left() + offset.x() - 1.0, area.right() + offset.x() + 1.0)) {
        return row;
      }
    }
  }
  return -1;
}

void MapView::paintEvent(QPaintEvent* event) {
  const QPoint offset = scrollOffset();
  const QRect area = event->rect();
  const bool large = qint64(area.width()) * area.height() >= kBandPixels && viewport()->devicePixelRatio() == 1;
  // While a magnified PDF page waits for its sharp rendering, the renderer
  // holds the second core: the stand-in is painted in one piece rather than
  // waiting for that core to draw its other band.
  const bool rendering =
      pdfPage_ && shownZoom_ > 1.0f && (sharp_.isNull() || !sharpTarget().contains(QRectF(area.translated(offset))));
  const int seam = bandPainting_ && large && !rendering ? bandSeam(area) : -1;
  if (seam > area.top()) {
    // Both cores: the same drawing, in two bands of a canvas, then one copy.
    if (canvas_.size() != viewport()->size()) {
      canvas_ = QImage(viewport()->size(), QImage::Format_RGB32);
      canvas_.setDotsPerMeterX(qRound(viewport()->logicalDpiX() / 0.0254));
      canvas_.setDotsPerMeterY(qRound(viewport()->logicalDpiY() / 0.0254));
    }
    if (!bands_) bands_ = std::make_unique<BandPainter>();
    const QBrush background = viewport()->palette().brush(viewport()->backgroundRole());
    bands_->paint(canvas_, area, seam, [&](QPainter& p, const QRect& band, const QtTextMeasurer* glyphs) {
      p.fillRect(band, background);
      p.translate(-offset);
      const QRectF exposed(band.translated(offset));
      if (picture_) paintPicture(p, exposed);
      PaintRecords(p, doc_, exposed, glyphs);
    });
    QPainter(viewport()).drawImage(area.topLeft(), canvas_, area);
  } else {
    QPainter painter(viewport());
    painter.fillRect(area, viewport()->palette().brush(viewport()->backgroundRole()));
    painter.translate(-offset);
    const QRectF exposed = QRectF(area.translated(offset));
    if (picture_) paintPicture(painter, exposed);
    PaintRecords(painter, doc_, exposed);
  }
  if (awaitingFirst_ && picture_ && FillsViewport(*picture_, shownZoom_, offset.y() + viewport()->height())) {
    awaitingFirst_ = false;
    emit firstPictureShown();
  }
}

QImage MapView::surfacePart(const QRect& viewportRect) const {
  QImage part(viewportRect.size(), QImage::Format_RGB32);
  part.fill(viewport()->palette().color(viewport()->backgroundRole()));
  QPainter painter(&part);
  const QPoint origin = viewportRect.topLeft() + scrollOffset();
  painter.translate(-origin);
  const QRectF exposed(QRect(origin, viewportRect.size()));
  if (picture_) paintPicture(painter, exposed);
  PaintRecords(painter, doc_, exposed);
  return part;
}

// The rows that exist, each band from the coarsest level at or above the
// zoom that has it: a level halves the scan with a box filter, so thin lines
// stay whole where sampling the full image would break them into dots.
void MapView::paintPicture(QPainter& painter, const QRectF& exposed) const {
  // The image covers full size x zoom exactly, so it stays in register
  // with the records whatever the rounding of the surface size.
  const double z = shownZoom_;
  const QRectF whole(0, 0, fullSize_.width() * z, fullSize_.height() * z);
  const QRectF wanted = exposed & whole;
  if (wanted.isEmpty()) return;
  // Surface pixels per pixel of the held picture (it may be a reduced one).
  const double px = whole.width() / picture_->size().width();
  const double py = whole.height() / picture_->size().height();
  double covered = 0;  // surface rows painted so far, from the top
  // Where the sharp rendering covers the whole exposed part, the picture
  // under it would be scaled for nothing.
  if (!sharp_.isNull() && sharpTarget().contains(wanted)) {
    paintSharp(painter, wanted);
    return;
  }
  // A PDF page magnified is a stand-in until its sharp rendering arrives
  // moments later: sampled plainly it answers the zoom step at once, where
  // smoothing the whole view would hold the window for a frame or two.
  const bool standIn = pdfPage_ && std::min(px, py) > 1.0;
  painter.setRenderHint(QPainter::SmoothPixmapTransform, !standIn);
  for (int level = LevelFor(*picture_, std::min(px, py)); level >= 0 && covered < wanted.bottom(); --level) {
    const QImage part = picture_->readyPart(level);
    if (part.isNull()) continue;
    const double scale = double(1 << level);
    const double bottom = std::min(whole.height(), part.height() * scale * py);
    QRectF target = wanted & QRectF(0, covered, whole.width(), bottom - covered);
    if (!target.isEmpty()) {
      QRectF source(target.left() / (px * scale), target.top() / (py * scale), target.width() / (px * scale),
                    target.height() / (py * scale));
      const QImage around = Around(part, source);
      painter.drawImage(target, around, source);
    }
    covered = std::max(covered, bottom);
  }
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  if (!sharp_.isNull()) paintSharp(painter, wanted);
}

QRectF MapView::sharpTarget() const {
  // The rendering was made for the rounded surface; the picture spans full
  // size x zoom exactly, and the two differ by less than a pixel.
  const double sx = fullSize_.width() * double(shownZoom_) / surfacePx_.width();
  const double sy = fullSize_.height() * double(shownZoom_) / surfacePx_.height();
  return QRectF(sharpClip_.x() * sx, sharpClip_.y() * sy, sharpClip_.width() * sx, sharpClip_.height() * sy);
}

void MapView::paintSharp(QPainter& painter, const QRectF& exposed) const {
  const QRectF target = sharpTarget();
  const double sx = target.width() / sharpClip_.width();
  const double sy = target.height() / sharpClip_.height();
  const QRectF part = target & exposed;
  if (part.isEmpty()) return;
  const QRectF source((part.left() - target.left()) / sx, (part.top() - target.top()) / sy, part.width() / sx,
                      part.height() / sy);
  painter.drawImage(part, sharp_, source);
}

void MapView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  updateScrollBars();
  requestSharp();
}

void MapView::scrollContentsBy(int dx, int dy) {
  followScroll(dx != 0, dy != 0);
  requestSharp();
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
