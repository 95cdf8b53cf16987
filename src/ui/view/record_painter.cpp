#include "view/record_painter.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <vector>

#include "view/label_font.h"
#include "view/marker_stamp.h"
#include "view/plain_glyphs.h"
#include "view/qt_text_measurer.h"
#include "view/view_units.h"

namespace planimo {

namespace {

// End markers are 7 x 7 screen pixels at every zoom.
constexpr double kMarkerPx = 7.0;

QColor ToQColor(Colour c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

Qt::PenStyle ToPenStyle(std::int16_t code) {
  switch (code) {
    case kStyleDash: return Qt::DashLine;
    case kStyleDot: return Qt::DotLine;
    case kStyleDashDot: return Qt::DashDotLine;
    case kStyleDashDotDot: return Qt::DashDotDotLine;
    case kStyleTransparent: return Qt::NoPen;
    default: return Qt::SolidLine;
  }
}

// The exposed rectangle in millimetres, widened by `marginPx`, for comparing
// record coordinates as they are stored.
struct MmBox {
  float left, top, right, bottom;
  MmBox(const QRectF& px, double marginPx)
      : left(static_cast<float>(PxToMm(px.left() - marginPx))),
        top(static_cast<float>(PxToMm(px.top() - marginPx))),
        right(static_cast<float>(PxToMm(px.right() + marginPx))),
        bottom(static_cast<float>(PxToMm(px.bottom() + marginPx))) {}
  bool Misses(float l, float t, float r, float b) const { return r < left || l > right || b < top || t > bottom; }
};

bool IsOutlineOnly(const ShapeRecord& s) { return s.FillStyle == 1; }

template <class Records, class Paint>
void PaintEach(const Records& records, Paint paint) {
  for (const auto& r : records) paint(r);
}

}  // namespace

QRectF LineBounds(const LineRecord& l) {
  const double m = std::max<int>(1, l.BorderWidth);
  const QRectF box(QPointF(MmToPx(std::min(l.X1, l.X2)), MmToPx(std::min(l.Y1, l.Y2))),
                   QPointF(MmToPx(std::max(l.X1, l.X2)), MmToPx(std::max(l.Y1, l.Y2))));
  return box.adjusted(-m - 1, -m - 1, m + 1, m + 1);
}

QRectF ShapeBounds(const ShapeRecord& s) {
  const QRectF box(MmToPx(s.Left), MmToPx(s.Top), MmToPx(s.Width), MmToPx(s.Height));
  const double m = std::max<int>(1, s.BorderWidth) + 1;
  if (IsOutlineOnly(s)) return box.adjusted(-m, -m, m, m);
  const QPointF c = box.center();
  const double half = kMarkerPx / 2 + m;
  return QRectF(c.x() - half, c.y() - half, 2 * half, 2 * half);
}

QRectF LabelBounds(const TextRecord& t) {
  return QRectF(MmToPx(t.Left), MmToPx(t.Top), MmToPx(t.Width), MmToPx(t.Height)).adjusted(-1, -1, 1, 1);
}

namespace {

QPen LinePen(Colour colour, int width, std::int16_t style) {
  QPen pen(ToQColor(colour), std::max(1, width), ToPenStyle(style));
  pen.setCosmetic(true);
  return pen;
}

// Kept lines come in long runs of one colour and width, drawn solid: such a
// run goes to the raster engine in one call, which draws every line of it
// exactly as on its own. Dashed lines are drawn one by one, so that no dash
// pattern can run on from one line into the next.
class LineRun {
 public:
  explicit LineRun(QPainter& p) : p_(p) {}
  void Add(Colour colour, int width, const QLineF& line) {
    if (!lines_.empty() && (colour != colour_ || width != width_)) Flush();
    colour_ = colour;
    width_ = width;
    lines_.push_back(line);
  }
  void Flush() {
    if (lines_.empty()) return;
    p_.setPen(LinePen(colour_, width_, kStyleSolid));
    p_.drawLines(lines_.data(), static_cast<int>(lines_.size()));
    lines_.clear();
  }

 private:
  QPainter& p_;
  Colour colour_ = 0;
  int width_ = 0;
  std::vector<QLineF> lines_;
};

// `run` null: drawn at once.
void DrawLine(QPainter& p, const LineRecord& l, const QRectF& exposed, LineRun* run) {
  if (!l.Visible || l.BorderStyle == kStyleTransparent) return;
  const MmBox box(exposed, std::max<int>(1, l.BorderWidth));
  if (box.Misses(std::min(l.X1, l.X2), std::min(l.Y1, l.Y2), std::max(l.X1, l.X2), std::max(l.Y1, l.Y2))) return;
  const QLineF line(MmToPx(l.X1), MmToPx(l.Y1), MmToPx(l.X2), MmToPx(l.Y2));
  if (run && ToPenStyle(l.BorderStyle) == Qt::SolidLine) {
    run->Add(l.BorderColor, l.BorderWidth, line);
    return;
  }
  if (run) run->Flush();  // keeps the drawing order
  p.setPen(LinePen(l.BorderColor, l.BorderWidth, l.BorderStyle));
  p.drawLine(line);
}

}  // namespace

void PaintLine(QPainter& p, const LineRecord& l, const QRectF& exposed) { DrawLine(p, l, exposed, nullptr); }

namespace {

// `stamp` null: every marker rasterised on its own.
void DrawShape(QPainter& p, const ShapeRecord& s, const QRectF& exposed, MarkerStamp* stamp) {
  if (!s.Visible) return;
  const QRectF bounds = ShapeBounds(s);
  if (!bounds.intersects(exposed)) return;
  QPen pen(ToQColor(s.BorderColor), std::max<int>(1, s.BorderWidth), ToPenStyle(s.BorderStyle));
  pen.setCosmetic(true);
  if (IsOutlineOnly(s)) {
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(MmToPx(s.Left), MmToPx(s.Top), MmToPx(s.Width), MmToPx(s.Height)));
    return;
  }
  const QPointF c(MmToPx(s.Left + s.Width / 2), MmToPx(s.Top + s.Height / 2));
  // Pixel-exact 7 x 7: the outline of a w x h ellipse covers w + 1 pixels.
  const QRect box(static_cast<int>(std::floor(c.x())) - 3, static_cast<int>(std::floor(c.y())) - 3,
                  static_cast<int>(kMarkerPx) - 1, static_cast<int>(kMarkerPx) - 1);
  if (stamp) {
    stamp->Draw(p, pen, ToQColor(s.FillColor), box);
    return;
  }
  p.setPen(pen);
  p.setBrush(ToQColor(s.FillColor));
  p.drawEllipse(QRectF(box));
}

}  // namespace

void PaintShape(QPainter& p, const ShapeRecord& s, const QRectF& exposed) { DrawShape(p, s, exposed, nullptr); }

namespace {

bool SameFont(const TextRecord& a, const TextRecord& b) {
  return a.FontSize == b.FontSize && a.FontBold == b.FontBold && a.FontItalic == b.FontItalic &&
         a.FontUnderline == b.FontUnderline && a.FontStrikethru == b.FontStrikethru && a.FontName == b.FontName;
}

// Labels of one collection nearly always share a font: building it once for
// a run of them keeps a repaint of thousands of labels quick.
struct FontRun {
  explicit FontRun(const TextMeasurer* m) : measurer(dynamic_cast<const QtTextMeasurer*>(m)) {}
  const QtTextMeasurer* measurer;  // holds the plain glyphs of the fonts labels were measured in
  const TextRecord* last = nullptr;
  qreal ascent = 0;
  const PlainGlyphs* plain = nullptr;  // null: every caption through drawText
  void Apply(QPainter& p, const TextRecord& t) {
    if (last && SameFont(*last, t)) return;
    const QFont font = LabelFont(t, p.device());
    p.setFont(font);
    ascent = p.fontMetrics().ascent();
    // Decorations are left to drawText; a device of another resolution has
    // glyphs of its own.
    const bool plainDraws = measurer && !t.FontUnderline && !t.FontStrikethru && font == LabelFont(t);
    plain = plainDraws ? &measurer->PlainGlyphsFor(t) : nullptr;
    last = &t;
  }
  // Glyphs of a value caption without shaping it: the same glyphs at the
  // same pen positions as drawText lays out. The raster engine places glyphs
  // left of or above the device's origin differently for the two, and a
  // scaled device picks glyphs of its own, so such labels go to drawText.
  QGlyphRun PlainRun(const QPainter& p, const TextRecord& t, const QRectF& rect) const {
    const QTransform& device = p.deviceTransform();
    if (!plain || device.type() > QTransform::TxTranslate) return QGlyphRun();
    if (rect.left() + device.dx() < 0 || rect.top() + device.dy() < 0) return QGlyphRun();
    return plain->Run(t.Caption);
  }
};

void DrawLabel(QPainter& p, const TextRecord& t, const QRectF& exposed, FontRun& fonts) {
  if (!t.Visible) return;
  const MmBox box(exposed, 1);
  if (box.Misses(t.Left, t.Top, t.Left + t.Width, t.Top + t.Height)) return;
  const QRectF rect(MmToPx(t.Left), MmToPx(t.Top), MmToPx(t.Width), MmToPx(t.Height));
  if (t.BackStyle == 1) p.fillRect(rect, ToQColor(t.BackColor));
  if (!t.Caption.empty()) {
    fonts.Apply(p, t);
    p.setPen(ToQColor(t.ForeColor));
    const QPointF baseline(rect.left(), rect.top() + fonts.ascent);
    const QGlyphRun run = t.Alignment == 0 ? fonts.PlainRun(p, t, rect) : QGlyphRun();
    const QString caption = run.isEmpty() ? LabelCaption(t) : QString();
    if (!run.isEmpty()) {
      p.drawGlyphRun(baseline, run);
    } else if (t.Alignment == 0 && !caption.contains(QLatin1Char('\n'))) {
      p.drawText(baseline, caption);  // no layout pass: the common case
    } else {
      const Qt::Alignment h = t.Alignment == 1 ? Qt::AlignRight : t.Alignment == 2 ? Qt::AlignHCenter : Qt::AlignLeft;
      p.drawText(rect, static_cast<int>(h | Qt::AlignTop) | Qt::TextDontClip, caption);
    }
  }
  if (t.BorderStyle == 1) {
    QPen pen(Qt::black, 1);
    pen.setCosmetic(true);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect.adjusted(0, 0, -1, -1));
  }
}

}  // namespace

void PaintLabel(QPainter& p, const TextRecord& t, const QRectF& exposed) {
  FontRun fonts(nullptr);
  DrawLabel(p, t, exposed, fonts);
}

bool ClipSensitiveRecordCrosses(const Document& doc, double y, double left, double right) {
  const auto spans = [&](const QRectF& b) { return b.top() < y && b.bottom() > y && b.right() >= left && b.left() <= right; };
  const auto line = [&](const LineRecord& l) {
    return l.Visible && ToPenStyle(l.BorderStyle) != Qt::SolidLine && ToPenStyle(l.BorderStyle) != Qt::NoPen &&
           spans(LineBounds(l));
  };
  const auto shape = [&](const ShapeRecord& s) { return s.Visible && IsOutlineOnly(s) && spans(ShapeBounds(s)); };
  const Collections& o = doc.objects;
  const WorkingObjects& w = doc.live;
  for (const auto* list : {&o.lineHojoSave, &o.lineDsSave, &o.linePS, &o.lineHikidashi, &w.lineMenseki}) {
    if (std::any_of(list->begin(), list->end(), line)) return true;
  }
  if (std::any_of(w.lineHojo.begin(), w.lineHojo.end(), line)) return true;
  for (const LineRecord* l : {&w.lineDistance, &w.lineCheck, &w.lineHintX, &w.lineHintY, &w.linDefault}) {
    if (line(*l)) return true;
  }
  if (std::any_of(o.shpSnpo.begin(), o.shpSnpo.end(), shape)) return true;
  if (std::any_of(w.shpCheck.begin(), w.shpCheck.end(), shape)) return true;
  return shape(w.shpZoom) || shape(w.shpCircle) || shape(w.shpSnap);
}

void PaintRecords(QPainter& p, const Document& doc, const QRectF& exposed, const TextMeasurer* glyphs) {
  const Collections& o = doc.objects;
  const WorkingObjects& w = doc.live;
  LineRun lines(p);
  const auto line = [&](const LineRecord& r) { DrawLine(p, r, exposed, &lines); };
  MarkerStamp stamp;
  MarkerStamp* const stamps = MarkerStamp::Fits(p) ? &stamp : nullptr;
  const auto shape = [&](const ShapeRecord& r) { DrawShape(p, r, exposed, stamps); };
  FontRun fonts(glyphs ? glyphs : doc.measurer.get());
  const auto label = [&](const TextRecord& r) { DrawLabel(p, r, exposed, fonts); };

  PaintEach(o.lineHojoSave, line);
  PaintEach(o.lineDsSave, line);
  PaintEach(o.linePS, line);
  PaintEach(o.lineHikidashi, line);
  lines.Flush();
  PaintEach(o.shpSnpo, shape);
  // The comment template and position template (index 0) are drawn when
  // visible: after a project is read back index 0 of the positions is real.
  PaintEach(o.lblKyori, label);
  PaintEach(o.lblMensekiS, label);
  PaintEach(o.lblKeiroS, label);
  PaintEach(o.lblMoji, label);
  PaintEach(o.lblKeiIdoS, label);

  PaintEach(w.lineHojo, line);
  line(w.lineDistance);
  PaintEach(w.lineMenseki, line);
  line(w.lineCheck);
  line(w.lineHintX);
  line(w.lineHintY);
  lines.Flush();
  shape(w.shpZoom);
  shape(w.shpCircle);
  shape(w.shpSnap);
  PaintEach(w.shpCheck, shape);
  label(w.lblDistance);
  label(w.lblMenseki);
  label(w.lblKeiro);
  label(w.lblKeiIdo);

  line(w.linDefault);
  lines.Flush();
  label(w.lblDefault);
}

namespace {

// Printed end markers are thousands of discs of one look. A disc is drawn as
// two round dots, the outline colour and the fill colour inside it, a run of
// equal discs in one call: a printer or PDF gets a few bytes per marker
// instead of an ellipse path each.
class DiscRun {
 public:
  explicit DiscRun(QPainter& p) : p_(p) {}
  void Add(const ShapeRecord& s, const QPointF& centre, double diameter) {
    if (!centres_.empty() && (s.BorderColor != outline_ || s.FillColor != fill_ || diameter != diameter_)) Flush();
    outline_ = s.BorderColor;
    fill_ = s.FillColor;
    diameter_ = diameter;
    centres_.push_back(centre);
  }
  void Flush() {
    if (centres_.empty()) return;
    // One device pixel of outline around the fill, as a cosmetic pen draws it.
    const double devicePx = 1.0 / std::max(1e-9, std::abs(p_.deviceTransform().m11()));
    const QPen saved = p_.pen();
    Dots(ToQColor(outline_), diameter_ + devicePx);
    if (diameter_ > devicePx) Dots(ToQColor(fill_), diameter_ - devicePx);
    p_.setPen(saved);
    centres_.clear();
  }

 private:
  void Dots(const QColor& colour, double size) {
    QPen pen(colour, size, Qt::SolidLine, Qt::RoundCap);
    p_.setPen(pen);
    p_.drawPoints(centres_.data(), static_cast<int>(centres_.size()));
  }

  QPainter& p_;
  Colour outline_ = 0, fill_ = 0;
  double diameter_ = 0;
  std::vector<QPointF> centres_;
};

}  // namespace

struct RecordBatch::Runs {
  Runs(QPainter& p, const TextMeasurer* m, const QRectF& e)
      : painter(p), exposed(e), lines(p), stamps(MarkerStamp::Fits(p) ? &stamp : nullptr), discs(p), fonts(m) {}
  QPainter& painter;
  QRectF exposed;
  LineRun lines;
  MarkerStamp stamp;
  MarkerStamp* stamps;
  DiscRun discs;
  FontRun fonts;
};

RecordBatch::RecordBatch(QPainter& painter, const TextMeasurer* measurer, const QRectF& exposed)
    : runs_(std::make_unique<Runs>(painter, measurer, exposed)) {}

RecordBatch::~RecordBatch() { flush(); }

void RecordBatch::flush() {
  runs_->lines.Flush();
  runs_->discs.Flush();
}

void RecordBatch::line(const LineRecord& l) {
  runs_->discs.Flush();
  DrawLine(runs_->painter, l, runs_->exposed, &runs_->lines);
}

void RecordBatch::shape(const ShapeRecord& s) {
  flush();
  DrawShape(runs_->painter, s, runs_->exposed, runs_->stamps);
}

void RecordBatch::disc(const ShapeRecord& s) {
  if (!s.Visible) return;
  const QRectF box(MmToPx(s.Left), MmToPx(s.Top), MmToPx(s.Width), MmToPx(s.Height));
  if (!box.adjusted(-2, -2, 2, 2).intersects(runs_->exposed)) return;
  runs_->lines.Flush();
  runs_->discs.Add(s, box.center(), box.width());
}

void RecordBatch::label(const TextRecord& t) {
  flush();
  DrawLabel(runs_->painter, t, runs_->exposed, runs_->fonts);
}

}  // namespace planimo
