#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include "model/collections.h"
#include "model/document.h"
#include "view/record_painter.h"

namespace planimo {
namespace {

// Kept lines in runs of one pen broken by other colours, widths and dashes,
// crossing each other so that the drawing order shows.
Document Lines() {
  Document doc;
  doc.live.lblDefault.Visible = false;
  doc.live.linDefault.Visible = false;
  for (int k = 0; k < 90; ++k) {
    LineRecord& l = doc.objects.linePS.back();
    const float x = 1.3f + 0.77f * float(k), y = 2.1f + 0.43f * float(k % 17);
    l = LineRecord{true, "", x, y, x + 9.3f - 0.2f * float(k % 11), y + 21.7f - float(k % 5), Rgb(0, 0, 255), 1,
                   kStyleSolid};
    if (k % 13 == 0) l.BorderColor = Rgb(220, 0, 0);
    if (k % 17 == 0) l.BorderWidth = 3;
    if (k % 19 == 0) l.BorderStyle = kStyleDashDot;
    if (k % 23 == 0) l.Visible = false;
    AppendSpare(doc.objects.linePS);
  }
  return doc;
}

QImage Blank() {
  QImage image(300, 140, QImage::Format_RGB32);
  image.fill(Qt::white);
  return image;
}

TEST(LineRunTest, LinesDrawnTogetherCoverTheSamePixelsAsOneByOne) {
  const Document doc = Lines();
  const QRectF all(0, 0, 300, 140);
  QImage together = Blank();
  {
    QPainter p(&together);
    PaintRecords(p, doc, all);
  }
  QImage oneByOne = Blank();
  {
    QPainter p(&oneByOne);
    for (const LineRecord& l : doc.objects.linePS) PaintLine(p, l, all);
  }
  EXPECT_TRUE(together == oneByOne);
}

}  // namespace
}  // namespace planimo
