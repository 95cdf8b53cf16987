#include "model/rescale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

#include "core/record_builders.h"

namespace planimo {
namespace {

// Width grows with the font size and the caption length, height with the
// size alone, so growth is easy to predict.
class FakeMeasurer : public TextMeasurer {
 public:
  TextSize Measure(const TextRecord& l) const override {
    return {l.FontSize * static_cast<float>(l.Caption.size()), l.FontSize * 2};
  }
};

TextRecord Label(float left, float top, float size) {
  TextRecord l;
  l.Visible = true;
  l.Caption = "1234";
  l.Left = left;
  l.Top = top;
  l.FontSize = size;
  AutoSize(l, FakeMeasurer());
  return l;
}

LineRecord Line(float x1, float y1, float x2, float y2) { return test::ShownLine(x1, y1, x2, y2); }

Document DocAt100() {
  Document doc;
  doc.measurer = std::make_shared<FakeMeasurer>();
  Collections& o = doc.objects;
  o.lineDsSave = {Line(10, 20, 110, 20), Line(0, 0, 0, 0)};
  o.lineHojoSave = {Line(10, 30, 10, 20), Line(110, 30, 110, 20), Line(0, 0, 0, 0)};
  o.shpSnpo.resize(3);
  for (ShapeRecord& m : o.shpSnpo) m.Width = m.Height = 7 * 0.2645f;
  o.lblKyori = {Label(50, 15, 9.75f), TextRecord{}};
  o.lblKeiroS = {Label(5, 6, 12), TextRecord{}};
  o.lblMensekiS = {Label(7, 8, 10), TextRecord{}};
  o.lblMoji = {TextRecord{}, Label(30, 40, 9)};
  o.lblKeiIdoS = {TextRecord{}, Label(60, 70, 11)};
  o.linePS = {Line(1, 2, 3, 4), Line(0, 0, 0, 0)};
  o.lineHikidashi = {Line(5, 6, 7, 8), Line(0, 0, 0, 0)};
  return doc;
}

bool Zoom(Document& doc, float z) {
  doc.view.sngZoom = z;
  return subDisp_Object(doc);
}

TEST(SubDispObject, ZoomingThereAndBackScalesFrom100Percent) {
  const Document base = DocAt100();
  Document doc = DocAt100();
  ASSERT_TRUE(Zoom(doc, 0.5f));
  ASSERT_TRUE(Zoom(doc, 1.25f));
  EXPECT_EQ(doc.view.sngZoomPrev, 1.25f);

  auto near_line = [](const LineRecord& a, const LineRecord& b) {
    EXPECT_FLOAT_EQ(a.X1, b.X1 * 1.25f);
    EXPECT_FLOAT_EQ(a.Y1, b.Y1 * 1.25f);
    EXPECT_FLOAT_EQ(a.X2, b.X2 * 1.25f);
    EXPECT_FLOAT_EQ(a.Y2, b.Y2 * 1.25f);
  };
  near_line(doc.objects.lineDsSave[0], base.objects.lineDsSave[0]);
  near_line(doc.objects.lineHojoSave[1], base.objects.lineHojoSave[1]);
  near_line(doc.objects.linePS[0], base.objects.linePS[0]);
  near_line(doc.objects.lineHikidashi[0], base.objects.lineHikidashi[0]);
  EXPECT_FLOAT_EQ(doc.objects.lblKyori[0].FontSize, 9.75f * 1.25f);
  EXPECT_FLOAT_EQ(doc.objects.lblMoji[1].FontSize, 9 * 1.25f);
}

TEST(SubDispObject, LabelKeepsItsCentreWhileItsFontGrows) {
  Document doc = DocAt100();
  ASSERT_TRUE(Zoom(doc, 2));
  // The fake's width is 4 x size and its height 2 x size.
  struct Case {
    const TextRecord& l;
    float left, top, size;
  } cases[] = {
      {doc.objects.lblKyori[0], 50, 15, 9.75f},   {doc.objects.lblKeiroS[0], 5, 6, 12},
      {doc.objects.lblMensekiS[0], 7, 8, 10},     {doc.objects.lblMoji[1], 30, 40, 9},
      {doc.objects.lblKeiIdoS[1], 60, 70, 11},
  };
  for (const Case& c : cases) {
    EXPECT_FLOAT_EQ(c.l.FontSize, c.size * 2);
    EXPECT_FLOAT_EQ(c.l.Width, c.size * 8);
    EXPECT_FLOAT_EQ(c.l.Height, c.size * 4);
    EXPECT_FLOAT_EQ(c.l.Left + c.l.Width / 2, (c.left + c.size * 2) * 2);
    EXPECT_FLOAT_EQ(c.l.Top + c.l.Height / 2, (c.top + c.size) * 2);
  }
}

// Real captions carry a margin that does not grow with the font, so an
// edge-anchored rule drifts; every round trip back to 100 % must not.
class PaddedMeasurer : public TextMeasurer {
 public:
  TextSize Measure(const TextRecord& l) const override {
    return {l.FontSize * 0.21f * static_cast<float>(l.Caption.size()) + 1.3f, l.FontSize * 0.42f + 0.5f};
  }
};

TEST(SubDispObject, AnyZoomSequenceBackTo100PercentLeavesLabelsWhereTheyStood) {
  Document doc = DocAt100();
  doc.measurer = std::make_shared<PaddedMeasurer>();
  for (auto* list : {&doc.objects.lblKyori, &doc.objects.lblKeiroS, &doc.objects.lblMensekiS,
                     &doc.objects.lblMoji, &doc.objects.lblKeiIdoS}) {
    for (TextRecord& l : *list) AutoSize(l, *doc.measurer);
  }
  const Document base = doc;
  ASSERT_TRUE(Zoom(doc, 1));  // a factor-1 rescale moves nothing
  for (float z : {0.5f, 1.0f, 0.5f, 1.25f, 0.4f, 0.75f, 0.2f, 4.0f, 0.3f, 1.0f}) ASSERT_TRUE(Zoom(doc, z));
  for (auto list : {&Collections::lblKyori, &Collections::lblKeiroS, &Collections::lblMensekiS,
                    &Collections::lblMoji, &Collections::lblKeiIdoS}) {
    for (std::size_t i = 0; i < (base.objects.*list).size(); ++i) {
      const TextRecord& was = (base.objects.*list)[i];
      const TextRecord& now = (doc.objects.*list)[i];
      EXPECT_NEAR(now.Left, was.Left, 0.01);
      EXPECT_NEAR(now.Top, was.Top, 0.01);
      EXPECT_NEAR(now.FontSize, was.FontSize, 1e-4);
    }
  }
}

TEST(SubDispObject, MarkersKeepTheirSizeCentredOnTheDimensionLineEnds) {
  Document doc = DocAt100();
  const float size = doc.objects.shpSnpo[0].Width;
  for (float z : {3.0f, 0.25f, 1.5f}) {
    ASSERT_TRUE(Zoom(doc, z));
    const LineRecord& d = doc.objects.lineDsSave[0];
    const ShapeRecord& a = doc.objects.shpSnpo[0];
    const ShapeRecord& b = doc.objects.shpSnpo[1];
    EXPECT_EQ(a.Width, size);
    EXPECT_EQ(b.Height, size);
    EXPECT_FLOAT_EQ(a.Left + a.Width / 2, d.X1);
    EXPECT_FLOAT_EQ(a.Top + a.Height / 2, d.Y1);
    EXPECT_FLOAT_EQ(b.Left + b.Width / 2, d.X2);
    EXPECT_FLOAT_EQ(b.Top + b.Height / 2, d.Y2);
    EXPECT_FLOAT_EQ(d.X2, 110 * z);
  }
}

TEST(SubDispObject, EmptyCollectionsOnlyTouchTheirSpares) {
  Document doc;
  doc.measurer = std::make_shared<FakeMeasurer>();
  const Collections before = doc.objects;
  ASSERT_TRUE(Zoom(doc, 2));
  EXPECT_EQ(doc.objects.lblKyori.size(), 1u);
  EXPECT_EQ(doc.objects.shpSnpo[0].Left, before.shpSnpo[0].Left);  // no kept line to follow
  EXPECT_FLOAT_EQ(doc.objects.lblKyori[0].FontSize, before.lblKyori[0].FontSize * 2);
}

TEST(SubDispObject, BrokenFactorChangesNothing) {
  for (float prev : {0.0f, -1.0f, std::numeric_limits<float>::quiet_NaN(),
                     std::numeric_limits<float>::infinity()}) {
    Document doc = DocAt100();
    doc.view.sngZoomPrev = prev;
    const Collections before = doc.objects;
    EXPECT_FALSE(Zoom(doc, 2)) << prev;
    EXPECT_EQ(doc.objects.lineDsSave, before.lineDsSave);
    EXPECT_EQ(doc.objects.lblKyori, before.lblKyori);
    EXPECT_EQ(doc.objects.shpSnpo, before.shpSnpo);
    if (!std::isnan(prev)) {
      EXPECT_EQ(doc.view.sngZoomPrev, prev);
    }
  }
  Document doc = DocAt100();
  EXPECT_FALSE(Zoom(doc, 0));
  EXPECT_EQ(doc.view.sngZoomPrev, 1.0f);
}

}  // namespace
}  // namespace planimo
