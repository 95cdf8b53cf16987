#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "model/collections.h"
#include "view/map_view.h"
#include "view/view_units.h"

namespace planimo {
namespace {

// Kept distances of every look: solid and dashed lines of several widths,
// markers, labels with plain and decorated captions, crowded together.
void KeepCrowd(Document& doc, QSize px) {
  Collections& o = doc.objects;
  QRandomGenerator rng(3);
  const auto mm = [&](int bound) { return float(PxToMm(rng.bounded(bound))); };
  for (int k = 0; k < 600; ++k) {
    const float x1 = mm(px.width() - 200) + 10, y1 = mm(px.height() - 200) + 10;
    const float x2 = x1 + mm(200), y2 = y1 + mm(200);
    const std::int16_t style = std::int16_t(1 + k % 5);
    o.lineDsSave.back() = LineRecord{true, "", x1, y1, x2, y2, Rgb(k % 255, 0, 255), std::int16_t(1 + k % 3), style};
    AppendSpare(o.lineDsSave);
    for (int e = 0; e < 2; ++e) {
      const float x = e ? x2 : x1, y = e ? y2 : y1;
      o.lineHojoSave.back() = LineRecord{true, "", x, y, x - 4, y + 4, Rgb(0, 128, 0), 1, kStyleSolid};
      AppendSpare(o.lineHojoSave);
      ShapeRecord& m = o.shpSnpo.back();
      m.Visible = true;
      m.Left = x - m.Width / 2;
      m.Top = y - m.Height / 2;
      AppendSpare(o.shpSnpo);
    }
    TextRecord& label = o.lblKyori.back();
    label.Visible = true;
    label.Caption = k % 7 == 0 ? "距離 " + std::to_string(k) : " " + std::to_string(1000 + k) + ".25m ";
    label.FontUnderline = k % 11 == 0;
    label.BorderStyle = k % 5 == 0 ? 1 : 0;
    AutoSize(label, *doc.measurer);
    label.Left = (x1 + x2) / 2 - label.Width / 2;
    label.Top = (y1 + y2) / 2 - label.Height / 2;
    AppendSpare(o.lblKyori);
  }
}

TEST(BandPainting, TwoBandsPaintTheSamePixelsAsOne) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QSize size(2400, 1800);  // large enough for reduced levels
  QImage scan(size, QImage::Format_RGB32);
  scan.fill(QColor(245, 240, 225));
  QPainter p(&scan);
  p.setPen(QPen(Qt::darkGray, 1));
  for (int i = 0; i < size.width(); i += 17) p.drawLine(i, 0, size.width() - i, size.height());
  p.end();
  const QString path = dir.filePath(QStringLiteral("scan.jpg"));
  ASSERT_TRUE(scan.save(path, "jpeg", 90));

  Document doc;
  MapView view(doc);
  view.resize(900, 700);
  view.show();
  QSignalSpy ready(&view, &MapView::imageReady);
  ASSERT_TRUE(view.openImage(path).ok);
  ASSERT_TRUE(ready.count() > 0 || ready.wait(20000));
  while (!view.picture()->levelsComplete()) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  KeepCrowd(doc, size);

  for (const float zoom : {1.0f, 0.5f, 0.2f, 1.25f}) {
    SCOPED_TRACE(zoom);
    doc.view.sngZoom = zoom;
    ASSERT_TRUE(view.applyZoom().ok());
    view.horizontalScrollBar()->setValue(view.horizontalScrollBar()->maximum() / 3);
    view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum() / 2 + 1);
    view.setBandPainting(false);
    const QImage one = view.viewport()->grab().toImage();
    view.setBandPainting(true);
    const QImage two = view.viewport()->grab().toImage();
    ASSERT_EQ(one.size(), two.size());
    EXPECT_TRUE(one == two);
  }
}

}  // namespace
}  // namespace planimo
