#include <gtest/gtest.h>

#include "core/io/project_fixture.h"
#include "core/measure/measure_fixture.h"
#include "io/csv_export.h"
#include "io/project_file.h"
#include "measure/edit_commands.h"
#include "model/history.h"
#include "model/hit_test.h"
#include "takeoff/takeoff_edit.h"
#include "takeoff/takeoff_rows.h"
#include "takeoff/takeoff_table.h"
#include "takeoff/takeoff_totals.h"

namespace planimo::test {
namespace {

// The sample drawing (a distance in 尺, a route in m, an area, a text, two
// positions) with a column to deduct from its area.
struct TakeoffTest : ::testing::Test {
  TakeoffTest() {
    doc.measurer = std::make_shared<FixedMeasurer>();
    BuildSampleDrawing(doc);
    Keep(doc.objects.lblMensekiS, Label(" 30.00 m2 ", "柱", "022:30_101533", 160, 80));
    Keep(doc.objects.linePS, Line(80, 160, 90, 160, "022:30_101533"));
    ResetHistory(history, doc);
  }
  static SelectedObject Sel(const char* kind, int i) { return {kind, static_cast<std::int16_t>(i)}; }
  void Step(const char* caption) { Checkpoint(history, doc, caption); }

  Document doc;
  History history;
};

TEST_F(TakeoffTest, TotalsFollowItemsDeductionsUnitsDeletionsAndUndo) {
  const UnitTables& u = doc.settings.units;
  ASSERT_EQ(AddItem(doc, "  外壁\u3000", Rgb(200, 0, 0)), 1);
  ASSERT_EQ(AddItem(doc, "床", Rgb(0, 0, 200)), 2);
  EXPECT_EQ(AddItem(doc, " \u3000", 0), 0);
  EXPECT_EQ(AddItem(doc, "a\nb", 0), 0);
  EXPECT_EQ(doc.state.takeoffItems[0].name, "外壁");
  Step("品目");
  ASSERT_TRUE(AssignItem(doc, {Sel(kKindKyori, 0), Sel(kKindKeiroS, 0), Sel("lineHikidashi", 0)}, 1));
  ASSERT_TRUE(AssignItem(doc, {Sel(kKindMensekiS, 0), Sel(kKindMensekiS, 1)}, 2));
  // Only an area counts against its item; the spare is no object.
  EXPECT_FALSE(SetDeduction(doc, {Sel(kKindKyori, 0), Sel(kKindMensekiS, 2)}, true));
  ASSERT_TRUE(SetDeduction(doc, {Sel(kKindMensekiS, 1)}, true));
  Step("控除");

  TakeoffTotals t = ComputeTotals(doc);  // the project measures in 尺 and m2
  ASSERT_EQ(t.items.size(), 3u);
  EXPECT_EQ(t.items[0].count, 3);  // the text and two positions
  EXPECT_EQ(t.items[1].count, 2);
  EXPECT_NEAR(t.items[1].length, 65.6168 + ConvertDistance(1234.5678, 2, 11, u), 1e-9);
  EXPECT_EQ(t.items[2].count, 2);
  EXPECT_NEAR(t.items[2].area, 1000 - 30, 1e-9);

  doc.state.GE_intUnitDIndex = 2;
  doc.state.GE_intUnitSIndex = 5;
  t = ComputeTotals(doc);
  EXPECT_NEAR(t.items[1].length, ConvertDistance(65.6168, 11, 2, u) + 1234.5678, 1e-9);
  EXPECT_NEAR(t.items[2].area, ConvertArea(970, 2, 5, u), 1e-9);
  doc.state.GE_intUnitDIndex = 11;
  doc.state.GE_intUnitSIndex = 2;

  // Deleting the room moves the column down one index; it stays a deduction of 床.
  doc.selected = Sel(kKindMensekiS, 0);
  ASSERT_TRUE(DeleteSelected(doc));
  Step("消去");
  t = ComputeTotals(doc);
  EXPECT_EQ(t.items[2].count, 1);
  EXPECT_NEAR(t.items[2].area, -30, 1e-9);
  EXPECT_TRUE(doc.objects.lblMensekiS[0].Deduction);

  // Removing 外壁 leaves its members outside and renumbers 床 with its members.
  ASSERT_TRUE(RemoveItem(doc, 1));
  Step("品目の削除");
  t = ComputeTotals(doc);
  ASSERT_EQ(t.items.size(), 2u);
  EXPECT_EQ(t.items[0].count, 5);
  EXPECT_EQ(t.items[1].count, 1);
  EXPECT_EQ(ItemName(doc.state, 1), "床");

  // Undo brings back the item with its members, then the room.
  ASSERT_TRUE(Undo(history, doc));
  ASSERT_TRUE(Undo(history, doc));
  t = ComputeTotals(doc);
  ASSERT_EQ(t.items.size(), 3u);
  EXPECT_EQ(t.items[1].count, 2);
  EXPECT_NEAR(t.items[2].area, 970, 1e-9);
  ASSERT_TRUE(Redo(history, doc));
  EXPECT_NEAR(ComputeTotals(doc).items[2].area, -30, 1e-9);

  // The rows: grouped by item, 外壁 first, then what belongs to none.
  const std::vector<TakeoffRow> rows = TakeoffRows(doc);
  ASSERT_EQ(rows.size(), 6u);
  EXPECT_EQ(rows[0].item, 1);
  EXPECT_EQ(rows[0].kind, RowKind::Distance);
  EXPECT_EQ(rows[0].value, "65.62");
  EXPECT_EQ(rows[0].unit, "尺");
  EXPECT_EQ(rows[2].item, 2);
  EXPECT_TRUE(rows[2].deduction);
  EXPECT_EQ(rows[2].comment, "柱");
  EXPECT_EQ(rows[5].item, 0);
  EXPECT_EQ(rows[5].kind, RowKind::Comment);
  EXPECT_EQ(ListedLabel(doc, RowSelection(rows[2])), &doc.objects.lblMensekiS[0]);

  // Clearing every measurement leaves a spare in no item for the next one.
  ClearCollection(doc.objects.lblMensekiS);
  EXPECT_EQ(doc.objects.lblMensekiS[0].Item, 0);
  EXPECT_FALSE(doc.objects.lblMensekiS[0].Deduction);
}

TEST_F(TakeoffTest, SectionRoundTripsAndAProjectWithoutItKeepsEveryObjectOutside) {
  TempFolder folder;
  AddItem(doc, "外壁", Rgb(1, 2, 3));
  AddItem(doc, " 床 ", Rgb(0, 0, 200));
  doc.state.takeoffItems[1].name = "\"床\" ";  // a name the file must quote
  AssignItem(doc, {Sel(kKindKyori, 0), Sel(kKindKeiIdoS, 2)}, 1);
  AssignItem(doc, {Sel(kKindMensekiS, 1), Sel(kKindMoji, 1)}, 2);
  SetDeduction(doc, {Sel(kKindMensekiS, 1)}, true);
  ASSERT_FALSE(SaveProject(doc, folder.path(), "p.ini"));
  const std::string text = ReadBytes(folder.File("p.ini"));
  EXPECT_NE(text.find("lblMensekiS(1)=2,"), std::string::npos);

  Document opened;
  opened.measurer = doc.measurer;
  opened.settings = doc.settings;
  ASSERT_FALSE(LoadProject(opened, folder.File("p.ini")).error);
  EXPECT_EQ(opened.state.takeoffItems, doc.state.takeoffItems);
  for (auto m : {&Collections::lblKyori, &Collections::lblKeiroS, &Collections::lblMensekiS, &Collections::lblMoji,
                 &Collections::lblKeiIdoS}) {
    ASSERT_EQ((opened.objects.*m).size(), (doc.objects.*m).size());
    for (std::size_t i = 0; i < (doc.objects.*m).size(); ++i) {
      EXPECT_EQ((opened.objects.*m)[i].Item, (doc.objects.*m)[i].Item);
      EXPECT_EQ((opened.objects.*m)[i].Deduction, (doc.objects.*m)[i].Deduction);
    }
  }
  EXPECT_NEAR(ComputeTotals(opened).items[2].area, -30, 1e-9);

  // A damaged section costs only what does not read; the rest still opens.
  // A spare or a template in an item would hand it to the next object.
  WriteBytes(folder.File("p.ini"), text + "lblKyori(1)=1\r\nlblMoji(0)=1\r\nlblNone(0)=1\r\nlblMoji(1)=7\r\n品目数=x\r\n");
  ASSERT_FALSE(LoadProject(opened, folder.File("p.ini")).error);
  EXPECT_EQ(opened.state.takeoffItems.size(), 2u);
  EXPECT_EQ(opened.objects.lblMoji[1].Item, 2);
  EXPECT_EQ(opened.objects.lblMoji[0].Item, 0);
  EXPECT_EQ(opened.objects.lblKyori[1].Item, 0);

  // Without items or marks nothing is written, and an earlier section goes.
  RemoveItem(doc, 2);
  RemoveItem(doc, 1);
  SetDeduction(doc, {Sel(kKindMensekiS, 1)}, false);
  ASSERT_FALSE(SaveProject(doc, folder.path(), "p.ini"));
  EXPECT_EQ(ReadBytes(folder.File("p.ini")).find("[\x95\x69\x96\xda]"), std::string::npos);  // "[品目]" in CP932
  ASSERT_FALSE(LoadProject(opened, folder.File("p.ini")).error);
  EXPECT_TRUE(opened.state.takeoffItems.empty());
  for (const TakeoffRow& r : TakeoffRows(opened)) EXPECT_EQ(r.item, 0);
}

TEST_F(TakeoffTest, ClipboardHasOneTabbedRowPerObjectAndTheCsvQuotesText) {
  AddItem(doc, "床", 0);
  AssignItem(doc, {Sel(kKindMensekiS, 1)}, 1);
  SetDeduction(doc, {Sel(kKindMensekiS, 1)}, true);
  doc.objects.lblKyori[0].ToolTipText = "北\t壁\n1";
  const std::string clip = TakeoffClipboardText(doc);
  std::vector<std::string> lines;
  for (std::size_t at = 0, end; (end = clip.find('\n', at)) != std::string::npos; at = end + 1) {
    lines.push_back(clip.substr(at, end - at));
  }
  ASSERT_EQ(lines.size(), 1 + TakeoffRows(doc).size());
  for (const std::string& l : lines) EXPECT_EQ(std::count(l.begin(), l.end(), '\t'), 6) << l;
  EXPECT_EQ(lines[0], "№\t種類\t品目\t値\t単位\tコメント\t控除");
  EXPECT_EQ(lines[1], "2\t面積\t床\t30.00\tm2\t柱\t控除");
  EXPECT_EQ(lines[2], "1\t距離\t\t65.62\t尺\t北 壁 1\t");

  const std::string csv = CsvText(doc, CsvKind::Items);
  EXPECT_EQ(csv.substr(0, csv.find("\r\n", csv.find("\r\n") + 2)),
            "№,種類,品目,値,単位,コメント,控除\r\n2,\"面積\",\"床\",30.0,\"m2\",\"柱\",\"控除\"");
  EXPECT_NE(csv.find("1,\"面積\",\"\",1000.0,\"m2\",\"区画 \"\"A\"\", 北側\",\"\"\r\n"), std::string::npos);
}

}  // namespace
}  // namespace planimo::test
