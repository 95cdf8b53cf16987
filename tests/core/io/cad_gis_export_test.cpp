// The kept objects taken into CAD (DXF) and GIS (GeoJSON, world file): one
// drawing with one object of every kind, measured with the mouse as a user
// does, written out and read back with the field's own tools.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "core/measure/measure_fixture.h"
#include "geometry/calibration.h"
#include "geometry/tilt.h"
#include "io/dxf_export.h"
#include "io/dxf_layer_names.h"
#include "io/export_layers.h"
#include "io/geojson_export.h"
#include "io/world_file.h"
#include "measure/annotations.h"
#include "measure/readout.h"
#include "project_fixture.h"

namespace planimo::test {
namespace {

std::string Output(const std::string& command) {
  std::string out;
  FILE* p = popen(command.c_str(), "r");
  if (p == nullptr) return out;
  char buf[4096];
  for (std::size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
  EXPECT_EQ(pclose(p), 0) << command << "\n" << out;
  return out;
}

struct ExportFixture : MapFixture {
  void Tap(float x, float y) {
    OnMapMouseDown(doc, s, {1, x, y}, &tools);
    OnMapMouseUp(doc, s, {1, x, y}, &tools);
  }
  void Path(std::initializer_list<PointF> pts) {
    const PointF first = *pts.begin();
    Click(first.x, first.y);
    for (auto it = pts.begin() + 1; it != pts.end(); ++it) {
      Move(it->x, it->y);
      Click(it->x, it->y);
      if (it + 1 != pts.end()) Click(it->x, it->y);
    }
  }
  // A 15 m distance along the tilt, a route of two legs, a triangle, a
  // leader line, a comment and a position; the legs of the route and the
  // triangle are kept as distances too, and the triangle as a route.
  void MeasureOneOfEach() {
    clock->time = {9, 0, 0};
    Measure(20, 20, 30.6066017f, 30.6066017f);
    SelectMode(doc, s, MeasureMode::Path, nullptr);
    clock->time = {9, 0, 1};
    Path({{20, 60}, {60, 60}, {60, 90}});
    EXPECT_TRUE(CommandFinishRoute(doc, s));
    s.menu.popMesPutMen = true;
    clock->time = {9, 0, 2};
    Path({{100, 100}, {140, 100}, {140, 130}, {100, 100}});
    SelectTool(s, Tool::Leader);
    OnMapMouseDown(doc, s, {1, 150, 20}, &tools);
    OnMapMouseMove(doc, s, {1, 180, 40}, &tools);
    OnMapMouseUp(doc, s, {1, 180, 40}, &tools);
    SelectAnnotationTool(doc, s, Tool::Comment);
    Tap(10, 150);
    SelectAnnotationTool(doc, s, Tool::Position);
    Move(70, 140);
    Tap(70, 140);
  }
  CoreAnnotationTools tools;
  TempFolder folder;
};

// Known distance: the drawing tilted by 45° and 1 m across, 2 m along the
// sheet per millimetre once straightened.
TEST(CadExport, DxfHoldsEveryObjectAtTrueSizeOnItsLayer) {
  ExportFixture f;
  f.doc.state.GE_sngHosei = {0, 0, 10, 10};
  ASSERT_TRUE(ComputeTiltCorrection(f.doc.state));
  f.doc.state.GE_tpPtoD_r_X = 1;
  f.doc.state.GE_tpPtoD_r_Y = 2;
  f.MeasureOneOfEach();
  ASSERT_EQ(f.doc.objects.lblKyori[0].Caption, " 15.00 m ");
  ASSERT_EQ(UBound(f.doc.objects.lblMensekiS), 1);
  const double area = TagValue(f.doc.objects.lblMensekiS[0]);
  f.doc.objects.lblMoji[1].Caption = "北側 \"A\" \xE2\x82\xAC";  // a character CP932 lacks

  // Written while a route is being measured: its fixed leg is kept as a
  // distance already, the leg following the pointer is not written.
  SelectAnnotationTool(f.doc, f.s, Tool::Measure);
  SelectMode(f.doc, f.s, MeasureMode::Path, nullptr);
  f.Click(200, 200);
  f.Move(230, 240);
  f.Click(230, 240);
  f.Move(260, 200);
  const std::string path = f.folder.File("site.dxf");
  ASSERT_FALSE(WriteDxf(f.doc, path));
  const std::string script = f.folder.File("check.py");
  WriteBytes(script, R"(import sys, ezdxf, math
doc = ezdxf.readfile(sys.argv[1])
a = doc.audit()
print("errors", len(a.errors), "fixes", len(a.fixes))
counts = {}
for e in doc.modelspace():
    counts[(e.dxf.layer, e.dxftype())] = counts.get((e.dxf.layer, e.dxftype()), 0) + 1
for k in sorted(counts): print("count", k[0], k[1], counts[k])
ls = [e for e in doc.modelspace().query('LINE[layer=="Distances"]')]
print("dimension", "%.6f" % math.dist(ls[0].dxf.start, ls[0].dxf.end))
for p in doc.modelspace().query('POLYLINE[layer=="Areas"]'):
    v = [x.dxf.location for x in p.vertices]
    s = sum(v[i][0] * v[(i + 1) % len(v)][1] - v[(i + 1) % len(v)][0] * v[i][1] for i in range(len(v)))
    print("area", "%.6f" % abs(s / 2), "closed", p.is_closed)
for t in doc.modelspace().query('TEXT[layer=="Texts"]'): print("text", ezdxf.decode_dxf_unicode(t.dxf.text))
)");
  const std::string out = Output("/usr/bin/python3 " + script + " " + path);
  EXPECT_NE(out.find("errors 0 fixes 0\n"), std::string::npos) << out;
  for (const char* line :
       {"count Distances LINE 21\n", "count Distances CIRCLE 14\n", "count Distances TEXT 7\n",
        "count Routes POLYLINE 2\n", "count Routes TEXT 2\n", "count Areas POLYLINE 1\n",
        "count Areas TEXT 1\n", "count Leaders LINE 1\n", "count Texts TEXT 1\n",
        "count Positions POINT 1\n", "count Positions TEXT 1\n", "dimension 15.00000",
        "closed True\n", "text 北側 \"A\" \xE2\x82\xAC\n"}) {
    EXPECT_NE(out.find(line), std::string::npos) << line << " in\n" << out;
  }
  char expected[64];
  std::snprintf(expected, sizeof expected, "area %.3f", area);
  EXPECT_NE(out.find(expected), std::string::npos) << expected << " in\n" << out;

  // A takeoff item's objects go onto a layer of their own.
  f.doc.state.takeoffItems.push_back({"床", Rgb(0, 0, 255)});
  f.doc.objects.lblMensekiS[0].Item = 1;
  ASSERT_FALSE(WriteDxf(f.doc, path));
  const std::string items = Output("/usr/bin/python3 " + script + " " + path);
  for (const char* line : {"errors 0 fixes 0\n", "count Areas-床 POLYLINE 1\n", "count Areas-床 TEXT 1\n"}) {
    EXPECT_NE(items.find(line), std::string::npos) << line << " in\n" << items;
  }
  EXPECT_EQ(items.find("count Areas POLYLINE"), std::string::npos) << items;

  // Two items whose layer names are too long for the file, and alike in
  // their first 31 bytes, stay on layers of their own.
  f.doc.state.takeoffItems.push_back({"一階床仕上げ面積フローリング東側", Rgb(0, 0, 255)});
  f.doc.state.takeoffItems.push_back({"一階床仕上げ面積フローリング西側", Rgb(0, 0, 255)});
  f.doc.objects.lblKeiroS[0].Item = 2;
  f.doc.objects.lblKeiroS[1].Item = 3;
  ASSERT_FALSE(WriteDxf(f.doc, path));
  const std::string longer = Output("/usr/bin/python3 " + script + " " + path);
  for (const char* line : {"errors 0 fixes 0\n", "count Routes-一階床仕上げ面積フローリ POLYLINE 1\n",
                           "count Routes-一階床仕上げ面積フロー-2 POLYLINE 1\n"}) {
    EXPECT_NE(longer.find(line), std::string::npos) << line << " in\n" << longer;
  }
}

// Longitude/latitude: two correspondence points on a drawing tilted by a
// few degrees.
struct GeoFixture : ExportFixture {
  GeoFixture() {
    ProjectState& st = doc.state;
    st.GE_booModeDis = false;
    st.GE_booModeKei = true;
    st.GE_sngHosei = {10, 10, 200, 18};
    EXPECT_TRUE(ComputeTiltCorrection(st));
    st.GE_tpPiccel_1X = 12.5f, st.GE_tpPiccel_1Y = 20.25f;
    st.GE_tpPiccel_2X = 190.75f, st.GE_tpPiccel_2Y = 160.5f;
    st.GE_dblKeido0 = 139.7 * 3600, st.GE_dblIdo0 = 35.69 * 3600;
    st.GE_dblKeido1 = 139.703 * 3600, st.GE_dblIdo1 = 35.688 * 3600;
    EXPECT_TRUE(ComputeLatLongCalibration(st));
  }
};

// Under longitude and latitude the plane is laid at the kept objects' own
// latitude: every kept distance, from a few metres to one across the whole
// sheet, is its caption long in the DXF; one alone on a sheet spanning a
// fifth of a degree of latitude keeps its caption too.
TEST(CadExport, LonLatDxfKeepsTheDistancesLengths) {
  const auto lengths = [](GeoFixture& f, const char* format) {
    const std::string path = f.folder.File("geo.dxf");
    EXPECT_FALSE(WriteDxf(f.doc, path));
    const std::string script = f.folder.File("lengths.py");
    WriteBytes(script, std::string(R"(import sys, ezdxf, math
doc = ezdxf.readfile(sys.argv[1])
print("errors", len(doc.audit().errors))
ls = doc.modelspace().query('LINE[layer=="Distances"]')
for i in range(0, len(ls), 3): print(")") + format + R"(" % math.dist(ls[i].dxf.start, ls[i].dxf.end))
)");
    const std::string out = Output("/usr/bin/python3 " + script + " " + path);
    std::string expected = "errors 0\n";
    const std::vector<TextRecord>& labels = f.doc.objects.lblKyori;
    for (std::size_t k = 0; k + 1 < labels.size(); ++k) {
      char line[64];
      std::snprintf(line, sizeof line, format, TagValue(labels[k]));
      expected += std::string(line) + "\n";
    }
    EXPECT_EQ(out, expected);
  };
  GeoFixture f;
  f.MeasureOneOfEach();
  SelectAnnotationTool(f.doc, f.s, Tool::Measure);
  SelectMode(f.doc, f.s, MeasureMode::Line, nullptr);
  f.Measure(12.5f, 20.25f, 190.75f, 160.5f);
  ASSERT_EQ(UBound(f.doc.objects.lblKyori), 7);
  EXPECT_GT(TagValue(f.doc.objects.lblKyori[6]), 300);
  lengths(f, "%.2f");

  GeoFixture wide;
  wide.doc.state.GE_dblIdo1 = 35.49 * 3600;
  ASSERT_TRUE(ComputeLatLongCalibration(wide.doc.state));
  wide.Measure(30, 40, 170, 150);
  ASSERT_GT(TagValue(wide.doc.objects.lblKyori[0]), 10000);
  lengths(wide, "%.2f");
}

TEST(GisExport, GeoJsonHoldsTheReadOutsLongitudeAndLatitude) {
  ExportFixture plain;
  plain.MeasureOneOfEach();
  const std::optional<ErrorReport> refused =
      WriteGeoJson(plain.doc, plain.folder.File("none.geojson"));
  ASSERT_TRUE(refused);
  EXPECT_EQ(refused->description, kNeedsLonLatText);
  EXPECT_FALSE(std::filesystem::exists(plain.folder.File("none.geojson")));

  GeoFixture f;
  f.MeasureOneOfEach();
  // A position placed before the drawing was calibrated by longitude and
  // latitude: its tag holds drawing millimetres.
  TextRecord early = f.doc.objects.lblKeiIdoS.back();
  early.Tag = "80,150";
  early.ToolTipText = "X:80.0000,Y:150.0000";
  f.doc.objects.lblKeiIdoS.push_back(early);
  f.doc.state.takeoffItems.push_back({"柱", Rgb(255, 0, 0)});
  f.doc.objects.lblMensekiS[0].Item = 1;
  f.doc.objects.lblMensekiS[0].Deduction = true;
  const std::string path = f.folder.File("site.geojson");
  ASSERT_FALSE(WriteGeoJson(f.doc, path));
  EXPECT_NE(ReadBytes(path).find(R"("layer":"Areas-柱")"), std::string::npos);
  EXPECT_NE(ReadBytes(path).find(R"("item":"柱","deduction":true)"), std::string::npos);
  const std::string info = Output("ogrinfo -ro -so -al " + path);
  EXPECT_NE(info.find("Feature Count: 11"), std::string::npos) << info;
  const std::string script = f.folder.File("coords.py");
  WriteBytes(script, R"(import sys, json
for f in json.load(open(sys.argv[1]))["features"]:
    g = f["geometry"]; c = g["coordinates"]
    pts = [c] if g["type"] == "Point" else c[0] if g["type"] == "Polygon" else c
    print(f["properties"]["layer"], f["properties"]["unit"], " ".join("%.12f %.12f" % (p[0] * 3600, p[1] * 3600) for p in pts))
)");
  const std::string out = Output("/usr/bin/python3 " + script + " " + path);
  const auto readout = [&](float x, float y) {
    Readout r;
    EXPECT_TRUE(PositionReadout(f.doc, r, x, y));
    const std::size_t comma = r.positionTag.find(',');
    return std::pair{std::stod(r.positionTag.substr(0, comma)),
                     std::stod(r.positionTag.substr(comma + 1))};
  };
  // The area's ring runs counter-clockwise with north up: the other way
  // round than it was clicked on the screen.
  const std::vector<std::pair<std::string, std::vector<PointF>>> expected = {
      {"Distances m", {{20, 20}, {30.6066017f, 30.6066017f}}},
      {"Distances m", {{20, 60}, {60, 60}}},
      {"Distances m", {{60, 60}, {60, 90}}},
      {"Distances m", {{100, 100}, {140, 100}}},
      {"Distances m", {{140, 100}, {140, 130}}},
      {"Distances m", {{140, 130}, {100, 100}}},
      {"Routes m", {{20, 60}, {60, 60}, {60, 90}}},
      {"Routes m", {{100, 100}, {140, 100}, {140, 130}, {100, 100}}},
      {"Areas-柱 m2", {{100, 100}, {140, 130}, {140, 100}, {100, 100}}},
      {"Positions ", {{70, 140}}},
      {"Positions ", {{80, 150}}}};
  std::istringstream lines(out);
  for (const auto& [head, points] : expected) {
    std::string line;
    ASSERT_TRUE(std::getline(lines, line)) << out;
    EXPECT_EQ(line.substr(0, head.size()), head) << line;
    std::istringstream numbers(line.substr(head.size()));
    for (const PointF p : points) {
      double lon = 0, lat = 0;
      numbers >> lon >> lat;
      EXPECT_NEAR(lon, readout(p.x, p.y).first, 1e-8) << line;
      EXPECT_NEAR(lat, readout(p.x, p.y).second, 1e-8) << line;
    }
  }
}

TEST(GisExport, WorldFileMapsTheCorrespondencePointsToTheirPositions) {
  GeoFixture f;
  const ProjectState& st = f.doc.state;
  const std::optional<WorldTransform> t = LonLatWorldTransform(st, 0.2645);
  ASSERT_TRUE(t);
  std::istringstream lines(WorldFileText(*t));
  double w[6];
  for (double& v : w) lines >> v;
  const struct {
    float x, y;
    double lon, lat;
  } points[] = {{st.GE_tpPiccel_1X, st.GE_tpPiccel_1Y, 139.7, 35.69},
                {st.GE_tpPiccel_2X, st.GE_tpPiccel_2Y, 139.703, 35.688}};
  for (const auto& p : points) {
    const double col = p.x / 0.2645 - 0.5, row = p.y / 0.2645 - 0.5;
    EXPECT_NEAR(w[0] * col + w[2] * row + w[4], p.lon, 1e-9);
    EXPECT_NEAR(w[1] * col + w[3] * row + w[5], p.lat, 1e-9);
  }
  EXPECT_EQ(WorldFilePath("/d/敷地.jpg"), "/d/敷地.jgw");
  EXPECT_EQ(WorldFilePath("/d/a.gif"), "/d/a.gfw");
  EXPECT_EQ(WorldFilePath("/d/a.bmp"), "/d/a.bpw");
  EXPECT_EQ(WorldFilePath("/d/a.tiff"), "/d/a.tfw");
}

TEST(CadExport, LayersAndColours) {
  EXPECT_EQ(LayerName(ExportKind::Area), "Areas");
  EXPECT_EQ(LayerName(ExportKind::Distance, "壁/柱:1"), "Distances-壁_柱_1");
  const std::pair<Colour, int> colours[] = {{Rgb(255, 0, 0), 1},   {Rgb(0, 0, 255), 5},
                                            {Rgb(0, 0, 0), 7},     {Rgb(255, 255, 255), 7},
                                            {Rgb(0, 0, 192), 172}, {Rgb(128, 128, 128), 8},
                                            {Rgb(255, 127, 0), 30}};
  for (const auto& [c, aci] : colours) EXPECT_EQ(NearestAci(c), aci) << std::hex << c;

  // Cut on whole characters (CP932 double bytes, escapes), numbered when
  // cut alike; names that fit keep theirs, even one a cut would give.
  const std::string floor = "\x8f\xb0";  // 床
  std::string thirty;
  for (int i = 0; i < 15; ++i) thirty += floor;
  const std::string euro3 = "\\U+20AC\\U+20AC\\U+20AC";
  const std::vector<std::string> names = {"Areas", "Areas-" + thirty, "Areas-" + thirty + "x",
                                          "Areas-ab" + euro3 + "\\U+20AC",
                                          "Areas-" + thirty.substr(0, 24)};
  const std::vector<std::string> fitted = {"Areas", "Areas-" + thirty.substr(0, 22) + "-2",
                                           "Areas-" + thirty.substr(0, 22) + "-3",
                                           "Areas-ab" + euro3, "Areas-" + thirty.substr(0, 24)};
  EXPECT_EQ(FitDxfLayerNames(names), fitted);
}

}  // namespace
}  // namespace planimo::test
