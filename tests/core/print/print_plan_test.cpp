#include "print/print_plan.h"

#include <gtest/gtest.h>

#include <string>

#include "core/print/print_scenario.h"

namespace planimo {
namespace {

std::vector<LineRecord> Lines(const PrintPlan& p) {
  std::vector<LineRecord> out;
  for (const PrintItem& i : p.items) {
    if (const auto* l = std::get_if<LineRecord>(&i)) out.push_back(*l);
  }
  return out;
}

std::vector<ShapeRecord> Markers(const PrintPlan& p) {
  std::vector<ShapeRecord> out;
  for (const PrintItem& i : p.items) {
    if (const auto* s = std::get_if<ShapeRecord>(&i)) out.push_back(*s);
  }
  return out;
}

std::vector<TextRecord> Texts(const PrintPlan& p) {
  std::vector<TextRecord> out;
  for (const PrintItem& i : p.items) {
    if (const auto* t = std::get_if<TextRecord>(&i)) out.push_back(*t);
  }
  return out;
}

class PrintPlanTest : public ::testing::Test {
 protected:
  void SetUp() override { print_scenario::Fill(doc); }
  Document doc;
};

TEST_F(PrintPlanTest, PageScalesPositionsFontsAndMarkersAndWidensLines) {
  doc.state.GE_booPrtCmt = true;
  const PrintPlan plan = PagePlan(doc, PageScale{2, 3, 2.5});
  EXPECT_TRUE(plan.markersToScale);

  // Extension lines, dimension line, route outline, leader: spares left out.
  const std::vector<LineRecord> lines = Lines(plan);
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_FLOAT_EQ(lines[0].X1, 40);
  EXPECT_FLOAT_EQ(lines[0].Y1, 120);
  const std::int16_t widths[] = {1, 1, 8, 12, 12, 1};  // 1 stays 1, w > 1 prints 4w
  for (std::size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(lines[i].BorderWidth, widths[i]) << i;
  EXPECT_EQ(lines[3].Tag, doc.objects.lblKeiroS[0].Tag);

  // A circle of radius r.k on each end of the dimension line, in the
  // line's colour, filled black, over the dimension lines.
  const std::vector<ShapeRecord> markers = Markers(plan);
  ASSERT_EQ(markers.size(), 2u);
  const float r = doc.objects.shpSnpo[0].Width / 2 * 2.5f;
  EXPECT_FLOAT_EQ(markers[1].Width, 2 * r);
  EXPECT_FLOAT_EQ(markers[1].Left + r, 120);
  EXPECT_FLOAT_EQ(markers[1].Top + r, 84);
  EXPECT_EQ(markers[1].BorderColor, Rgb(255, 0, 0));
  EXPECT_EQ(markers[1].FillColor, Rgb(0, 0, 0));
  ASSERT_TRUE(std::holds_alternative<LineRecord>(plan.items[2]));
  EXPECT_TRUE(std::holds_alternative<ShapeRecord>(plan.items[3]));
  EXPECT_TRUE(std::holds_alternative<LineRecord>(plan.items[5]));

  // Distance, route, comment text, position: captions in order, comment
  // lines one font height lower, none under the comment text.
  const std::vector<TextRecord> texts = Texts(plan);
  const std::vector<std::string> captions = {"12.50m ", "方向 45°", "80.00m ", "経路メモ", "注記1", "P1 ", "X:70.0 Y:20.0"};
  ASSERT_EQ(texts.size(), captions.size());
  for (std::size_t i = 0; i < texts.size(); ++i) {
    EXPECT_EQ(texts[i].Caption, captions[i]) << i;
    EXPECT_EQ(texts[i].BackStyle, 1) << i;
    EXPECT_EQ(texts[i].BackColor, kPrintTextBack) << i;
    EXPECT_EQ(texts[i].BorderStyle, 0) << i;
    EXPECT_GT(texts[i].Width, 0) << i;
  }
  const TextRecord& source = doc.objects.lblKyori[0];
  EXPECT_FLOAT_EQ(texts[0].Left, source.Left * 2);
  EXPECT_FLOAT_EQ(texts[0].Top, source.Top * 3);
  EXPECT_FLOAT_EQ(texts[0].FontSize, source.FontSize * 2.5f);
  EXPECT_FLOAT_EQ(texts[1].Left, texts[0].Left);
  EXPECT_NEAR(texts[1].Top - texts[0].Top, source.FontSize * 2.5 * kMmPerPoint, 1e-4);
  EXPECT_EQ(texts[0].ForeColor, source.ForeColor);

  doc.state.GE_booPrtCmt = false;
  EXPECT_EQ(Texts(PagePlan(doc, PageScale{})).size(), 4u);
}

TEST_F(PrintPlanTest, CompositionKeepsOwnSizesAndTakesTheFirstMarkersColours) {
  doc.objects.shpSnpo[1].BorderColor = Rgb(1, 2, 3);  // only marker 0 counts
  // An open path: its kept segments print with markers, the segment that
  // follows the pointer does not.
  doc.live.lineMenseki[0] = print_scenario::Line(0, 0, 10, 0, Rgb(9, 9, 9), 2);
  doc.live.lineMenseki.push_back(print_scenario::Line(10, 0, 30, 5, Rgb(9, 9, 9), 2));
  doc.live.lineDistance = print_scenario::Line(0, 0, 5, 5, Rgb(9, 9, 9), 1);  // a live line is not part of it

  const PrintPlan plan = CompositionPlan(doc);
  EXPECT_FALSE(plan.markersToScale);
  const std::vector<LineRecord> lines = Lines(plan);
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_EQ(lines[2].BorderWidth, 2);
  EXPECT_FLOAT_EQ(lines[3].X2, 10);
  const std::vector<ShapeRecord> markers = Markers(plan);
  ASSERT_EQ(markers.size(), 4u);
  for (const ShapeRecord& m : markers) {
    EXPECT_EQ(m.BorderColor, Rgb(0, 128, 0));
    EXPECT_EQ(m.FillColor, Rgb(0, 200, 0));
    EXPECT_FLOAT_EQ(m.Width, doc.objects.shpSnpo[0].Width);
  }
  EXPECT_EQ(Texts(plan).size(), 4u);  // GE_booPrtCmt off: captions only
}

TEST_F(PrintPlanTest, HiddenObjectsAndTransparentLinesAreLeftOut) {
  doc.objects.lineHojoSave[1].BorderStyle = kStyleTransparent;
  doc.objects.lblMoji[1].Visible = false;
  // A position read back from a project sits at index 0, shown.
  doc.objects.lblKeiIdoS[0] = doc.objects.lblKeiIdoS[1];
  doc.objects.lblKeiIdoS[0].Caption = "P0 ";
  const PrintPlan plan = CompositionPlan(doc);
  EXPECT_EQ(Lines(plan).size(), 5u);
  const std::vector<TextRecord> texts = Texts(plan);
  ASSERT_EQ(texts.size(), 4u);
  EXPECT_EQ(texts[2].Caption, "P0 ");
}

}  // namespace
}  // namespace planimo
