#include "io/csv_export.h"

#include <gtest/gtest.h>

#include "geometry/calibration.h"
#include "io/text_codec.h"
#include "measure/readout.h"
#include "project_fixture.h"

namespace planimo::test {
namespace {

TEST(CsvExportTest, TablesOfTheSampleDrawing) {
  Document doc;
  BuildSampleDrawing(doc);
  doc.objects.lblKeiroS.insert(doc.objects.lblKeiroS.begin() + 1, Label("12.5m", "no blank", "", 0, 0));
  const struct {
    CsvKind kind;
    const char* text;
  } cases[] = {
      {CsvKind::Distances, "№,コメント,距離・寸法,単位\r\n1,\"45.0000゜\",65.62,\"尺\"\r\n"},
      {CsvKind::Routes, "№,コメント,経路,単位\r\n1,\"\",1234.57,\"m\"\r\n2,\"no blank\",,\"12.5m\"\r\n"},
      {CsvKind::Areas, "№,コメント,面積,単位\r\n1,\"区画 \"\"A\"\", 北側\",1000.0,\"m2\"\r\n"},
      {CsvKind::Positions, "№,コメント,X mm,Y mm,XX,YY\r\n1,\"P1\",10.5,20.25,10.5,20.25\r\n"
                           "2,\"P2\",1.5E+07,-3,1.5E+07,-3\r\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(CsvText(doc, c.kind), c.text);
  doc.state.GE_booModeDis = false;
  doc.state.GE_booModeKei = true;
  EXPECT_TRUE(CsvText(doc, CsvKind::Positions).starts_with("№,コメント,経度,緯度,経度(秒),緯度(秒)\r\n1,"));
  // Once calibrated, a position placed in millimetres is written in
  // longitude and latitude as the read-out gives its point; one placed in
  // longitude and latitude stays as it was.
  ProjectState& st = doc.state;
  st.GE_tpPiccel_1X = 0, st.GE_tpPiccel_1Y = 0, st.GE_tpPiccel_2X = 100, st.GE_tpPiccel_2Y = 100;
  st.GE_dblKeido0 = 139.7 * 3600, st.GE_dblIdo0 = 35.69 * 3600;
  st.GE_dblKeido1 = 139.701 * 3600, st.GE_dblIdo1 = 35.689 * 3600;
  ASSERT_TRUE(ComputeLatLongCalibration(st));
  std::vector<TextRecord>& p = doc.objects.lblKeiIdoS;
  p.resize(3);
  p[1].ToolTipText = "X:80.0000,Y:15.5000", p[1].Tag = "80,15.5";
  p[2].ToolTipText = "139ﾟ42'00.000\",35ﾟ41'24.000\"", p[2].Tag = "502920,128484";
  Readout r;
  ASSERT_TRUE(PositionReadout(doc, r, 80, 15.5f));
  EXPECT_EQ(CsvText(doc, CsvKind::Positions),
            "№,コメント,経度,緯度,経度(秒),緯度(秒)\r\n1,\"P1\"," + r.positionToolTip + "," + r.positionTag +
                "\r\n2,\"P2\"," + p[2].ToolTipText + "," + p[2].Tag + "\r\n");
  EXPECT_NE(r.positionTag.find("502"), std::string::npos) << r.positionTag;
  const Document empty;
  EXPECT_EQ(CsvText(empty, CsvKind::Distances), "№,コメント,距離・寸法,単位\r\n");
}

TEST(CsvExportTest, FileIsCp932AndKindsHaveTheirNames) {
  Document doc;
  BuildSampleDrawing(doc);
  TempFolder folder;
  ASSERT_FALSE(WriteCsv(doc, CsvKind::Areas, folder.File("a.csv")));
  const std::string bytes = ReadBytes(folder.File("a.csv"));
  EXPECT_EQ(bytes.substr(0, 2), "\x87\x82");  // "№" in CP932
  EXPECT_EQ(DecodeFileText(bytes), CsvText(doc, CsvKind::Areas));
  EXPECT_EQ(CsvKindNamed("routes"), CsvKind::Routes);
  EXPECT_FALSE(CsvKindNamed("Routes"));
  EXPECT_EQ(CsvHandlerName(CsvKind::Positions), "mnuFileSaveCsvIti_Click");
  const std::optional<ErrorReport> e = WriteCsv(doc, CsvKind::Areas, folder.File("missing/a.csv"));
  ASSERT_TRUE(e);
  EXPECT_EQ(e->number, kErrPathNotFound);
}

}  // namespace
}  // namespace planimo::test
