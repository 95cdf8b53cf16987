// The CAD and GIS outputs and the paper of the PDF from the command line: a
// drawing calibrated by longitude and latitude, measured, saved and written
// out, then read back by GDAL's and poppler's own tools.

#include <gtest/gtest.h>

#include <QAction>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <memory>

#include "../core/measure/measure_fixture.h"
#include "app/command_line.h"
#include "app/main_window.h"
#include "drawing_window.h"
#include "export/drawing_export.h"
#include "fake_message_sink.h"
#include "geometry/calibration.h"
#include "geometry/tilt.h"
#include "io/export_plane.h"
#include "io/geo_features.h"
#include "io/project_flow.h"

namespace planimo {
namespace {

QString Tool(const QString& program, const QStringList& args) {
  QProcess p;
  p.start(program, args);
  EXPECT_TRUE(p.waitForFinished(60000)) << program.toStdString();
  EXPECT_EQ(p.exitCode(), 0) << program.toStdString() << " "
                             << p.readAllStandardError().toStdString();
  return QString::fromUtf8(p.readAllStandardOutput());
}

struct CommandLineRun {
  int status = 0;
  QString err;
};

CommandLineRun Planimo(const QString& folder, QStringList args) {
  args.prepend(QStringLiteral("planimo"));
  CommandLineRun r;
  QString out;
  QTextStream o(&out), e(&r.err);
  r.status = RunWithoutWindow(ParseCommandLine(args), folder, o, e);
  return r;
}

struct OutputTest : ::testing::Test, test::MapFixture {
  // A 600 × 400 drawing tilted by a few degrees, its corners tied to
  // longitude and latitude, with a distance and a triangle (kept as an
  // area, a route and three more distances).
  void SetUp() override {
    QImage image(600, 400, QImage::Format_RGB32);
    image.fill(Qt::white);
    plan = dir.filePath(QStringLiteral("plan.jpg"));
    ASSERT_TRUE(image.save(plan));
    StartNewDrawing(doc, s, plan.toStdString());
    ProjectState& st = doc.state;
    st.GE_booModeDis = false;
    st.GE_booModeKei = true;
    st.GE_sngHosei = {10, 10, 150, 14};
    ASSERT_TRUE(ComputeTiltCorrection(st));
    st.GE_tpPiccel_1X = 12.5f, st.GE_tpPiccel_1Y = 20.25f;
    st.GE_tpPiccel_2X = 150.75f, st.GE_tpPiccel_2Y = 100.5f;
    st.GE_dblKeido0 = 139.7 * 3600, st.GE_dblIdo0 = 35.69 * 3600;
    st.GE_dblKeido1 = 139.703 * 3600, st.GE_dblIdo1 = 35.688 * 3600;
    ASSERT_TRUE(ComputeLatLongCalibration(st));
    Measure(20, 20, 60, 30);
    SelectMode(doc, s, MeasureMode::Path, nullptr);
    s.menu.popMesPutMen = true;
    Click(100, 50);
    for (const PointF p : {PointF{140, 50}, PointF{140, 80}}) {
      Move(p.x, p.y);
      Click(p.x, p.y);
      Click(p.x, p.y);
    }
    Move(100, 50);
    Click(100, 50);
    ini = dir.filePath(QStringLiteral("site.ini"));
    ASSERT_FALSE(SaveProjectAs(doc, s, ini.toStdString()).error);
  }
  QString File(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

  QTemporaryDir dir;
  QString plan, ini;
};

TEST_F(OutputTest, GeoPackageAndWorldFileReadBackAtTheirPlace) {
  const CommandLineRun gpkg =
      Planimo(dir.path(), {QStringLiteral("--gpkg"), ini, File("site.gpkg")});
  ASSERT_EQ(gpkg.status, 0) << gpkg.err.toStdString();
  const QString info = Tool(
      QStringLiteral("ogrinfo"),
      {QStringLiteral("-ro"), QStringLiteral("-so"), QStringLiteral("-al"), File("site.gpkg")});
  for (const char* layer : {"Layer name: Distances\nGeometry: Line String\nFeature Count: 4",
                            "Layer name: Routes\nGeometry: Line String\nFeature Count: 1",
                            "Layer name: Areas\nGeometry: Polygon\nFeature Count: 1"}) {
    EXPECT_TRUE(info.contains(QString::fromLatin1(layer))) << layer << "\n" << info.toStdString();
  }
  // The distances' extent: every point measured.
  LonLat lo{1e9, 1e9}, hi{-1e9, -1e9};
  for (const PointF p :
       {PointF{20, 20}, PointF{60, 30}, PointF{100, 50}, PointF{140, 50}, PointF{140, 80}}) {
    const LonLat g = *DrawingToLonLat(doc.state, p);
    lo = {std::min(lo.lon, g.lon), std::min(lo.lat, g.lat)};
    hi = {std::max(hi.lon, g.lon), std::max(hi.lat, g.lat)};
  }
  const QString extent = QStringLiteral("Extent: (%1, %2) - (%3, %4)")
                             .arg(lo.lon, 0, 'f', 6)
                             .arg(lo.lat, 0, 'f', 6)
                             .arg(hi.lon, 0, 'f', 6)
                             .arg(hi.lat, 0, 'f', 6);
  EXPECT_TRUE(info.contains(extent)) << extent.toStdString() << "\n" << info.toStdString();
  EXPECT_TRUE(info.contains(QStringLiteral("value: Real"))) << info.toStdString();

  // Beside a copy of the image: the corners of the picture where the
  // calibration puts them.
  const CommandLineRun world =
      Planimo(dir.path(), {QStringLiteral("--world"), ini, File("copy.jpg")});
  ASSERT_EQ(world.status, 0) << world.err.toStdString();
  EXPECT_TRUE(QFile::exists(File("copy.jgw")) && QFile::exists(File("copy.prj")));
  const QJsonObject gdal =
      QJsonDocument::fromJson(
          Tool(QStringLiteral("gdalinfo"), {QStringLiteral("-json"), File("copy.jpg")}).toUtf8())
          .object();
  EXPECT_TRUE(gdal[QStringLiteral("coordinateSystem")]
                  .toObject()[QStringLiteral("wkt")]
                  .toString()
                  .contains(QStringLiteral("WGS")));
  const QJsonObject corners = gdal[QStringLiteral("cornerCoordinates")].toObject();
  const struct {
    const char* key;
    PointF mm;
  } expected[] = {{"upperLeft", {0, 0}}, {"lowerRight", {600 * 0.2645f, 400 * 0.2645f}}};
  for (const auto& c : expected) {
    const QJsonArray at = corners[QString::fromLatin1(c.key)].toArray();
    const LonLat want = *DrawingToLonLat(doc.state, c.mm);
    EXPECT_NEAR(at[0].toDouble(), want.lon, 1e-6) << c.key;
    EXPECT_NEAR(at[1].toDouble(), want.lat, 1e-6) << c.key;
  }
}

TEST_F(OutputTest, RefusalsAndThePaperOfThePdf) {
  // Known distance: no place on the earth to give.
  doc.state.GE_booModeDis = true;
  doc.state.GE_booModeKei = false;
  const QString plain = File("plain.ini");
  ASSERT_FALSE(SaveProjectAs(doc, s, plain.toStdString()).error);
  for (const char* option : {"--geojson", "--gpkg"}) {
    const CommandLineRun r =
        Planimo(dir.path(), {QString::fromLatin1(option), plain, File("out.x")});
    EXPECT_EQ(r.status, 1) << option;
    EXPECT_TRUE(r.err.contains(QString::fromUtf8(kNeedsLonLatText.data()))) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(File("out.x")));
  }
  EXPECT_EQ(Planimo(dir.path(), {QStringLiteral("--world"), plain}).status, 1);
  EXPECT_FALSE(QFile::exists(File("plan.jgw")));
  EXPECT_EQ(Planimo(dir.path(), {QStringLiteral("--dxf"), plain, File("plain.dxf")}).status, 0);
  EXPECT_EQ(Planimo(dir.path(), {QStringLiteral("--dxf"), plain}).status, 2);
  EXPECT_EQ(
      Planimo(dir.path(), {QStringLiteral("--pdf"), QStringLiteral("0"), QStringLiteral("--paper"),
                           QStringLiteral("B5"), plain, File("x.pdf")})
          .status,
      2);
  const CommandLineRun paperAlone =
      Planimo(dir.path(), {QStringLiteral("--paper"), QStringLiteral("A3"), plain, File("x.pdf")});
  EXPECT_EQ(paperAlone.status, 2);
  EXPECT_TRUE(paperAlone.err.startsWith(
      QStringLiteral("--paper, --landscape and --portrait go with --pdf.")))
      << paperAlone.err.toStdString();

  const struct {
    QStringList paper;
    const char* size;
  } pdfs[] = {{{QStringLiteral("--paper"), QStringLiteral("A3"), QStringLiteral("--landscape")},
               "1191 x 842 pts (A3)"},
              {{QStringLiteral("--paper"), QStringLiteral("letter"), QStringLiteral("--portrait")},
               "612 x 792 pts (letter)"},
              {{}, "842 x 595 pts (A4)"}};  // a wide drawing: sideways
  for (const auto& p : pdfs) {
    const QString pdf = File("plan.pdf");
    const CommandLineRun r =
        Planimo(dir.path(), QStringList{QStringLiteral("--pdf"), QStringLiteral("0")} + p.paper +
                                QStringList{plain, pdf});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QString info = Tool(QStringLiteral("pdfinfo"), {pdf});
    EXPECT_TRUE(info.contains(QString::fromLatin1(p.size))) << p.size << "\n" << info.toStdString();
  }
}

// Two correspondence points ten seconds of arc apart.
bool CalibrateByLonLat(ProjectState& st) {
  st.GE_booModeDis = false;
  st.GE_booModeKei = true;
  st.GE_tpPiccel_2Y = 50;
  st.GE_dblKeido0 = 500000, st.GE_dblIdo0 = 128000, st.GE_dblKeido1 = 500010,
  st.GE_dblIdo1 = 127990;
  return ComputeLatLongCalibration(st);
}

TEST(ExportMenu, TheGisCommandsWaitForTheLongitudeLatitudeCalibration) {
  QTemporaryDir folder;
  MainWindow w(std::make_shared<FakeMessageSink>(), folder.path());
  w.session().menu.mnuFileSaveCsvEnabled = true;
  w.reflectSession();
  EXPECT_TRUE(w.command(QStringLiteral("mnuFileExportDxf"))->isEnabled());
  EXPECT_FALSE(w.command(QStringLiteral("mnuFileExportGeo"))->isEnabled());
  EXPECT_FALSE(w.command(QStringLiteral("mnuFileExportWorld"))->isEnabled());
  ProjectState& st = w.document().state;
  ASSERT_TRUE(CalibrateByLonLat(st));
  w.reflectSession();
  EXPECT_TRUE(w.command(QStringLiteral("mnuFileExportGeo"))->isEnabled());
  EXPECT_TRUE(w.command(QStringLiteral("mnuFileExportWorld"))->isEnabled());
}

// In the window: a GeoJSON named in the chooser, the world file beside the
// drawing's own image, and the refusal, before any name is asked for, once
// the calibration is by distance.
struct ExportWindowTest : DrawingWindowTest {};

TEST_F(ExportWindowTest, WritesWhatTheChooserNamesAndRefusesWithoutTheCalibration) {
  ProjectState& st = w.document().state;
  ASSERT_TRUE(CalibrateByLonLat(st));
  w.reflectSession();
  QString chosen;
  int asked = 0;
  w.setFileChooser([&](const FileChooserRequest&) { return ++asked, chosen; });
  chosen = folder.filePath(QStringLiteral("site.geojson"));
  w.command(QStringLiteral("mnuFileExportGeo"))->trigger();
  EXPECT_TRUE(QFile::exists(chosen));
  chosen = folder.filePath(QStringLiteral("white.bmp"));
  w.command(QStringLiteral("mnuFileExportWorld"))->trigger();
  EXPECT_TRUE(QFile::exists(folder.filePath(QStringLiteral("white.bpw"))));
  EXPECT_TRUE(sink->boxes.empty()) << sink->boxes.front().text.toStdString();

  st.GE_booModeDis = true;
  st.GE_booModeKei = false;
  chosen = folder.filePath(QStringLiteral("other.bmp"));
  w.exportDrawing(ExportFormat::WorldFile);
  EXPECT_EQ(asked, 2) << "asked for a name it would refuse";
  ASSERT_EQ(sink->boxes.size(), 1u);
  EXPECT_TRUE(sink->boxes[0].text.contains(QString::fromUtf8(kNeedsLonLatText.data())))
      << sink->boxes[0].text.toStdString();
  EXPECT_FALSE(QFile::exists(chosen));
}

}  // namespace
}  // namespace planimo
