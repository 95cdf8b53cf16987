#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "model/collections.h"
#include "model/document.h"
#include "view/label_font.h"
#include "view/plain_glyphs.h"
#include "view/qt_text_measurer.h"
#include "view/record_painter.h"

namespace planimo {
namespace {

// Value captions as the measurements write them: numbers in the usual
// formats followed by every Latin unit abbreviation.
std::vector<std::string> ValueCaptions() {
  const char* numbers[] = {"0.00", "1234.25", "-17.5", "12,345.678", "0", "+3.1", "99999999.99", ".5", "7."};
  const char* units[] = {"mm ", "cm ", "m ", "km ", "in. ", "ft. ", "yd. ", "mi. ", "l. ", "nmi. ", "mm2 ",
                         "cm2 ", "m2 ", "a ", "ha ", "km2 ", "sq.in. ", "sq.ft.  ", "sq.yd. ", "ac ", "sq.mi. ", ""};
  std::vector<std::string> captions;
  for (const char* n : numbers) {
    for (const char* u : units) {
      captions.push_back(std::string(n) + u);
      captions.push_back(" " + std::string(n) + u);
    }
  }
  captions.push_back("fifty yd.,ly");  // kerned and joined pairs in many faces
  return captions;
}

std::vector<TextRecord> Fonts() {
  std::vector<TextRecord> fonts;
  for (float factor : {0.1f, 0.15f, 0.2f, 0.25f, 0.3f, 0.4f, 0.5f, 0.6f, 0.75f, 0.9f, 1.0f, 1.25f, 2.0f}) {
    for (int style = 0; style < 4; ++style) {
      TextRecord t;
      t.FontSize = 9.75f * factor;
      t.FontBold = style & 1;
      t.FontItalic = style & 2;
      fonts.push_back(t);
    }
  }
  TextRecord other;
  other.FontName = "Serif";
  fonts.push_back(other);
  return fonts;
}

TEST(PlainGlyphsTest, WidthsEqualTheShapedAdvanceForEveryValueCaptionAndSize) {
  int plain = 0, total = 0;
  for (const TextRecord& f : Fonts()) {
    const QFont font = LabelFont(f);
    const QFontMetricsF metrics(font);
    const PlainGlyphs glyphs(font);
    for (const std::string& caption : ValueCaptions()) {
      ++total;
      const std::optional<qreal> width = glyphs.Width(caption);
      if (!width) continue;
      ++plain;
      EXPECT_EQ(*width, metrics.horizontalAdvance(QString::fromStdString(caption)))
          << caption << " at " << f.FontSize << " pt";
    }
  }
  EXPECT_GT(plain, total / 2) << "the table should cover most value captions";
}

TEST(PlainGlyphsTest, CaptionsOutsideTheTableGoToTheShaper) {
  const PlainGlyphs glyphs(LabelFont(TextRecord{}));
  for (const char* caption : {"12.5坪 ", "line\nbreak", "ABC", "5 間"}) {
    EXPECT_FALSE(glyphs.Width(caption)) << caption;
    EXPECT_TRUE(glyphs.Run(caption).isEmpty()) << caption;
  }
}

// Distance labels in several sizes, drawn once with the plain glyphs and once
// through drawText (a document whose measurer has no glyph tables).
QImage Painted(const std::shared_ptr<TextMeasurer>& measurer, float fontSize, QPointF shift) {
  Document doc;
  doc.live.lblDefault.Visible = false;
  doc.live.linDefault.Visible = false;
  QtTextMeasurer sizes;
  int k = 0;
  for (const std::string& caption : ValueCaptions()) {
    TextRecord& label = doc.objects.lblKyori.back();
    label.Visible = true;
    label.Caption = caption;
    label.FontSize = fontSize;
    label.FontItalic = k % 2;
    AutoSize(label, sizes);
    label.Left = 3.3f + 41.7f * float(k % 8);
    label.Top = 2.1f + 4.9f * float(k / 8);
    AppendSpare(doc.objects.lblKyori);
    ++k;
  }
  doc.measurer = measurer;
  QImage image(1400, 1000, QImage::Format_RGB32);
  image.setDotsPerMeterX(3780);  // 96 dpi, as the screen the labels are measured for
  image.setDotsPerMeterY(3780);
  image.fill(Qt::white);
  QPainter p(&image);
  p.translate(shift);
  PaintRecords(p, doc, QRectF(0, 0, 1400, 1000).translated(-shift));
  return image;
}

// Also with labels cut by the left and top edges of the surface.
TEST(PlainGlyphsTest, LabelsLookTheSameAsWithShapedText) {
  for (const QPointF shift : {QPointF(-0.5, -0.25), QPointF(-47.5, -13.25)}) {
    for (float size : {2.4375f, 4.875f, 7.3125f, 9.75f, 12.1875f}) {
      const QImage plain = Painted(std::make_shared<QtTextMeasurer>(), size, shift);
      const QImage shaped = Painted(std::make_shared<ApproxTextMeasurer>(), size, shift);
      EXPECT_TRUE(plain == shaped) << "at " << size << " pt, shifted by " << shift.x() << ", " << shift.y();
    }
  }
}

}  // namespace
}  // namespace planimo
