#pragma once

// Draws the records the core holds, straight from the data: no item or widget
// per record. Kept objects first, then the working objects of a measurement
// in progress, then the default style sample on top.

#include <QRectF>
#include <memory>

#include "model/document.h"

class QPainter;

namespace planimo {

// The painter must map one unit to one pixel of the map surface (the zoomed
// surface, scroll offset already applied); `exposed` is the part of the
// surface to draw, in those pixels. Records wholly outside it are skipped
// before anything is built for them. `glyphs`, when given, holds the plain
// glyphs of the painting thread (else doc.measurer's are used).
void PaintRecords(QPainter& painter, const Document& doc, const QRectF& exposed,
                  const TextMeasurer* glyphs = nullptr);

// One record each, with the same culling; for callers that compose their own.
void PaintLine(QPainter& painter, const LineRecord& line, const QRectF& exposed);
void PaintShape(QPainter& painter, const ShapeRecord& shape, const QRectF& exposed);
void PaintLabel(QPainter& painter, const TextRecord& label, const QRectF& exposed);

// True when a visible record whose pixels depend on where a clip cuts it (a
// dashed or dotted line, an outline ellipse) spans surface row `y` between
// `left` and `right`: a repaint split into bands must not cut through it.
bool ClipSensitiveRecordCrosses(const Document& doc, double y, double left, double right);

// Surface pixels a record may touch (pen width and the fixed marker size
// included), for repainting only what changed.
QRectF LineBounds(const LineRecord& line);
QRectF ShapeBounds(const ShapeRecord& shape);
QRectF LabelBounds(const TextRecord& label);

// Records in the caller's own order, with the look and the batching of the
// map view; for the bitmap export and the printed page. Items are drawn in
// the order given (a marker or label flushes the lines before it).
class RecordBatch {
 public:
  RecordBatch(QPainter& painter, const TextMeasurer* measurer, const QRectF& exposed);
  ~RecordBatch();
  RecordBatch(const RecordBatch&) = delete;
  RecordBatch& operator=(const RecordBatch&) = delete;

  void line(const LineRecord& line);
  void shape(const ShapeRecord& shape);  // an end marker as on the screen
  void disc(const ShapeRecord& shape);   // a circle of its own box size, filled
  void label(const TextRecord& label);
  void flush();

 private:
  struct Runs;
  std::unique_ptr<Runs> runs_;
};

}  // namespace planimo
