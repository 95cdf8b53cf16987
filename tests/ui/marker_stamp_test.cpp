#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <cmath>

#include "model/collections.h"
#include "model/document.h"
#include "view/record_painter.h"
#include "view/view_units.h"

namespace planimo {
namespace {

QColor Colour(Colour c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

// End markers in several styles at scattered positions, some overlapping.
Document Markers() {
  Document doc;
  doc.live.lblDefault.Visible = false;
  doc.live.linDefault.Visible = false;
  for (int k = 0; k < 120; ++k) {
    ShapeRecord& m = doc.objects.shpSnpo.back();
    m.Visible = true;
    m.Left = 1.7f + 2.93f * float(k % 15) + 0.11f * float(k);
    m.Top = 2.3f + 3.71f * float(k / 15);
    m.BorderWidth = static_cast<std::int16_t>(1 + k % 3);
    m.BorderStyle = k % 7 == 0 ? kStyleDash : kStyleSolid;
    m.BorderColor = k % 2 ? Rgb(0, 0, 255) : Rgb(200, 30, 10);
    m.FillColor = k % 5 ? m.BorderColor : Rgb(0, 160, 0);
    AppendSpare(doc.objects.shpSnpo);
  }
  return doc;
}

QImage Blank() {
  QImage image(260, 160, QImage::Format_RGB32);
  image.fill(Qt::white);
  return image;
}

TEST(MarkerStampTest, StampedMarkersCoverTheSamePixelsAsDrawnEllipses) {
  const Document doc = Markers();
  for (const QPoint shift : {QPoint(0, 0), QPoint(-7, -3)}) {
    QImage stamped = Blank();
    {
      QPainter p(&stamped);
      p.translate(shift);
      PaintRecords(p, doc, QRectF(0, 0, 260, 160).translated(-shift));
    }
    QImage drawn = Blank();
    {
      QPainter p(&drawn);
      p.translate(shift);
      for (const ShapeRecord& s : doc.objects.shpSnpo) {
        if (!s.Visible) continue;
        QPen pen(Colour(s.BorderColor), s.BorderWidth, s.BorderStyle == kStyleDash ? Qt::DashLine : Qt::SolidLine);
        pen.setCosmetic(true);
        p.setPen(pen);
        p.setBrush(Colour(s.FillColor));
        const double cx = MmToPx(s.Left + s.Width / 2), cy = MmToPx(s.Top + s.Height / 2);
        p.drawEllipse(QRectF(std::floor(cx) - 3, std::floor(cy) - 3, 6, 6));
      }
    }
    EXPECT_TRUE(stamped == drawn) << "shifted by " << shift.x() << ", " << shift.y();
  }
}

}  // namespace
}  // namespace planimo
