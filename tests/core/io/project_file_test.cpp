#include "io/project_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <limits>

#include "core/measure/measure_fixture.h"
#include "io/object_files.h"
#include "io/text_codec.h"
#include "model/rescale.h"
#include "project_fixture.h"

namespace planimo::test {
namespace {

namespace fs = std::filesystem;

const char* const kSetNames[] = {"site.ini", "site_Text.Bin", "site_Line.Bin", "site_Shape.Bin"};

std::string GoldenPath(const std::string& name) {
  return std::string(PLANIMO_SOURCE_DIR) + "/tests/core/io/golden/" + name;
}

// Records compare as the files hold them: Singles with 7 and Doubles with
// 15 significant digits.
void ExpectSameObjects(const Collections& a, const Collections& b) {
  EXPECT_EQ(FormatTextFile(a), FormatTextFile(b));
  EXPECT_EQ(FormatLineFile(a), FormatLineFile(b));
  EXPECT_EQ(FormatShapeFile(a), FormatShapeFile(b));
  EXPECT_EQ(a.lblKeiIdoS.size(), b.lblKeiIdoS.size());
  EXPECT_EQ(a.lblMoji.size(), b.lblMoji.size());
}

struct ProjectFileTest : ::testing::Test {
  ProjectFileTest() {
    doc.measurer = std::make_shared<FixedMeasurer>();
    BuildSampleDrawing(doc);
    opened.measurer = doc.measurer;
    opened.settings = doc.settings;
  }
  TempFolder folder;
  Document doc;
  Document opened;
};

TEST_F(ProjectFileTest, RoundTripKeepsRecordsCalibrationAndUnits) {
  // Values that 7 or 15 significant digits cannot hold come back rounded to
  // them, and a second save writes the same texts again.
  doc.state.GE_tpPtoD_r_X = 0.1 + 0.2;
  doc.state.GE_sngHojoLen = 100.0f / 3;
  doc.objects.lineDsSave[0].X2 = 200.0f / 3;
  doc.objects.lblKyori[0].FontSize = 9.75f * 1.1f;
  doc.state.fMei_MapFolder = "/home/測量/画像/";
  ASSERT_FALSE(SaveProject(doc, folder.path(), "site.ini"));
  const LoadReport r = LoadProject(opened, folder.File("site.ini"));
  ASSERT_FALSE(r.error);
  EXPECT_FALSE(r.warning);
  ExpectSameObjects(opened.objects, doc.objects);
  EXPECT_EQ(opened.objects.lineDsSave[0].X2, 66.66666f);
  EXPECT_EQ(opened.objects.lblKyori, doc.objects.lblKyori);  // 10.725 holds the font size exactly
  const ProjectState& a = opened.state;
  const ProjectState& b = doc.state;
  EXPECT_EQ(a.GE_tpPtoD_r_X, 0.3);
  EXPECT_EQ(a.GE_sngHojoLen, 33.33333f);
  TempFolder again;
  ASSERT_FALSE(SaveProject(opened, again.path(), "site.ini"));
  for (const char* name : kSetNames) EXPECT_EQ(ReadBytes(again.File(name)), ReadBytes(folder.File(name))) << name;
  EXPECT_EQ(a.fMei_MapImage, b.fMei_MapImage);
  EXPECT_EQ(a.fMei_MapFolder, b.fMei_MapFolder);
  EXPECT_EQ(a.GE_intUnitDIndex, 11);
  EXPECT_EQ(a.strUnitD, "尺 ");
  EXPECT_EQ(opened.specifiedDistanceCaption, "50 尺 ");
  EXPECT_EQ(a.GE_sngKeisuD, b.GE_sngKeisuD);
  EXPECT_EQ(a.GE_sngHosei, b.GE_sngHosei);
  EXPECT_EQ(a.GE_dblHosei, b.GE_dblHosei);
  EXPECT_EQ(a.GE_tpPiccelD[1].sngX, 150.125f);
  EXPECT_EQ(a.GE_tpPtoD_r_Y, b.GE_tpPtoD_r_Y);
  EXPECT_EQ(a.GE_dblAspectM, b.GE_dblAspectM);
  EXPECT_EQ(a.GE_dblKeIdo[0].sngSec, 30.5f);
  EXPECT_EQ(a.GE_tpPx00ToKei_Ll, 1.5e7);
  // The first stored position is an ordinary position again, after the template.
  ASSERT_EQ(opened.objects.lblKeiIdoS.size(), 3u);
  EXPECT_FALSE(opened.objects.lblKeiIdoS[0].Visible);
  EXPECT_EQ(opened.objects.lblKeiIdoS[1].Caption, "P1");
  EXPECT_EQ(opened.numbering.positionNumber, 2);
}

// The golden set is the project layout written out by hand for this
// drawing (CP932, CR LF, Singles of at most 7 and Doubles of at most 15
// digits): the program must write it byte for byte, never the other way round.
TEST_F(ProjectFileTest, WritesTheGoldenFilesByteForByte) {
  ProjectState& st = doc.state;
  st.GE_sngKeisuS = 1.5e7f;            // "1.5E+07"
  st.GE_tpPtoD_r_X = 0.1 + 0.2;        // "0.3"
  st.GE_dblAspectM = 1.0 / 3;          // "0.333333333333333"
  st.GE_tpPtoK_r_X = 1e-5;             // "1E-05"
  TextRecord& distance = doc.objects.lblKyori[0];
  distance.Left = 200.0f / 3;          // "66.66666"
  distance.FontSize = 9.75f * 1.1f;    // "10.725"
  doc.objects.lblMoji[1].Caption = "北側 1〜3";  // the wave dash as 0x81 0x60
  AutoSize(doc.objects.lblMoji[1], *doc.measurer);  // as the fonts here lay it out
  SaveNotes notes;
  ASSERT_FALSE(SaveProject(doc, folder.path(), "site.ini", &notes));
  EXPECT_FALSE(notes.wroteUtf8);
  for (const char* name : kSetNames) EXPECT_EQ(ReadBytes(folder.File(name)), ReadBytes(GoldenPath(name))) << name;
  // The golden set, as a project from elsewhere, opens and saves again
  // without a byte changed.
  TempFolder other;
  for (const char* name : kSetNames) WriteBytes(other.File(name), ReadBytes(GoldenPath(name)));
  ASSERT_FALSE(LoadProject(opened, other.File("site.ini")).error);
  EXPECT_EQ(opened.objects.lblMoji[1].Caption, "北側 1～3");
  ASSERT_FALSE(SaveProject(opened, other.path(), "site.ini"));
  for (const char* name : kSetNames) EXPECT_EQ(ReadBytes(other.File(name)), ReadBytes(GoldenPath(name))) << name;
}

TEST_F(ProjectFileTest, SavingAt200PercentWritesThe100PercentFilesAndKeepsTheView) {
  doc.view.sngZoom = 2.0f;
  ASSERT_TRUE(subDisp_Object(doc));
  const Collections shown = doc.objects;
  TempFolder zoomed;
  ASSERT_FALSE(SaveProject(doc, zoomed.path(), "site.ini"));
  EXPECT_EQ(doc.view.sngZoom, 2.0f);
  EXPECT_EQ(doc.view.sngZoomPrev, 2.0f);
  EXPECT_EQ(doc.objects.lineDsSave, shown.lineDsSave);
  // The same files as switching the view to 100 % and saving there.
  doc.view.sngZoom = 1.0f;
  ASSERT_TRUE(subDisp_Object(doc));
  ASSERT_FALSE(SaveProject(doc, folder.path(), "site.ini"));
  for (const char* name : kSetNames) EXPECT_EQ(ReadBytes(zoomed.File(name)), ReadBytes(folder.File(name))) << name;
  ASSERT_FALSE(LoadProject(opened, zoomed.File("site.ini")).error);
  EXPECT_EQ(opened.objects.lineDsSave[0].X2, 120);
}

TEST_F(ProjectFileTest, KeysAreWrittenInOrderIntoAnExistingFileKeepingOtherKeys) {
  const std::string original = "[メモ]\r\nnote=kept\r\n[データファイル名]\r\nfMei_MapImage=old.jpg\r\n";
  WriteBytes(folder.File("site.ini"), original);
  doc.state.fMei_MapImage.clear();  // an empty image name is not written
  ASSERT_FALSE(SaveProject(doc, folder.path(), "site.ini"));
  const IniDocument ini = ParseIni(DecodeFileText(ReadBytes(folder.File("site.ini"))));
  EXPECT_EQ(GetValue(ini, "メモ", "note"), "kept");
  EXPECT_EQ(GetValue(ini, "データファイル名", "fMei_MapImage"), "old.jpg");
  EXPECT_EQ(GetValue(ini, "データファイル名", "Shape_Bin"), "site_Shape.Bin");
  EXPECT_EQ(ini.lines[0], "[メモ]");
  EXPECT_EQ(ini.lines[1], "note=kept");
  // The previous set stays as *.bak.
  EXPECT_EQ(ReadBytes(folder.File("site.ini.bak")), original);
}

TEST_F(ProjectFileTest, ObjectFileNamesNeedFourCharactersToCut) {
  EXPECT_EQ(ObjectFileNamesFor("plan.ini")->text, "plan_Text.Bin");
  EXPECT_EQ(ObjectFileNamesFor("図面.ini")->shape, "図面_Shape.Bin");
  EXPECT_EQ(ObjectFileNamesFor(".ini")->line, "_Line.Bin");
  EXPECT_FALSE(ObjectFileNamesFor("abc"));
  const std::optional<ErrorReport> e = SaveProject(doc, folder.path(), "abc");
  ASSERT_TRUE(e);
  EXPECT_EQ(e->number, kErrInvalidArgument);
  // Names longer than 126 CP932 bytes in the project file reopen whole: the
  // objects and the image are found again.
  std::string stem;
  for (int i = 0; i < 60; ++i) stem += "図";
  doc.state.fMei_MapImage = stem + ".jpg";
  ASSERT_FALSE(SaveProject(doc, folder.path(), stem + ".ini"));
  ASSERT_FALSE(LoadProject(opened, folder.File(stem + ".ini")).error);
  EXPECT_EQ(opened.state.fMei_MapImage, doc.state.fMei_MapImage);
  ExpectSameObjects(opened.objects, doc.objects);
}

TEST_F(ProjectFileTest, ProjectValuesReadWithTheFileRules) {
  // Booleans in any case or as numbers; Integers half to even; missing numbers 0.
  const IniDocument ini = ParseIni(
      "[全般]\nGE_booModeDis=false\nGE_booModeKei=-1\nGE_booSnap=TRUE\nGE_booPrtCmt=0\n"
      "GE_intUnitDIndex=2.5\nGE_intUnitSIndex=3.5\nGE_sngHojoLen=1.5E+07\n"
      // Longer texts, as earlier saves wrote them, read as they are.
      "GE_sngKeisuS=1.8514999\n[既知距離]\nGE_tpPtoD_r_Y=0.30000000000000004\n");
  ProjectState s;
  ASSERT_FALSE(GetProjectValues(ini, s));
  EXPECT_FALSE(s.GE_booModeDis);
  EXPECT_TRUE(s.GE_booModeKei);
  EXPECT_TRUE(s.GE_booSnap);
  EXPECT_EQ(s.GE_intUnitDIndex, 2);
  EXPECT_EQ(s.GE_intUnitSIndex, 4);
  EXPECT_EQ(s.GE_sngHojoLen, 1.5e7f);
  EXPECT_EQ(s.GE_sngKeisuD, 0.0f);
  EXPECT_EQ(s.GE_sngKeisuS, 1.8514999f);
  EXPECT_EQ(s.GE_tpPtoD_r_Y, 0.1 + 0.2);
  EXPECT_EQ(s.GE_tpPtoD_r_X, 0.0);
  EXPECT_EQ(s.GE_sngHosei[3], 0.0f);
}

// Whatever a value holds, the project the writers make opens again.
TEST_F(ProjectFileTest, NonFiniteValuesNeverMakeAProjectThatFailsToOpen) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  doc.objects.lblKyori[0].Left = nan;
  doc.objects.lblMoji[1].FontSize = -inf;
  doc.objects.lineHikidashi[0].X2 = inf;
  doc.objects.shpSnpo[0].Width = nan;
  doc.state.GE_sngKeisuD = inf;
  doc.state.GE_sngHosei[1] = nan;
  doc.state.GE_dblHosei[2] = -std::numeric_limits<double>::infinity();
  doc.state.GE_tpPtoD_r_X = std::numeric_limits<double>::quiet_NaN();
  ASSERT_FALSE(SaveProject(doc, folder.path(), "site.ini"));
  const LoadReport r = LoadProject(opened, folder.File("site.ini"));
  EXPECT_FALSE(r.error) << r.error->description;
  EXPECT_FALSE(r.warning) << r.warning->description;
  EXPECT_EQ(UBound(opened.objects.lblKyori), UBound(doc.objects.lblKyori));
  EXPECT_EQ(UBound(opened.objects.lineHikidashi), UBound(doc.objects.lineHikidashi));
}

TEST_F(ProjectFileTest, AFailedOpenLeavesTheDrawingAsItWas) {
  ASSERT_FALSE(SaveProject(doc, folder.path(), "site.ini"));
  const struct {
    std::string content;  // or "<folder>", "<fifo>", "<loop>": a name that is no file
    int number;
  } cases[] = {
      {"[全般]\r\nGE_booModeDis=Yes\r\n", kErrTypeMismatch},
      {"[全般]\r\nGE_booModeDis=True\r\n", kErrTypeMismatch},  // GE_booModeKei missing
      {"[全般]\r\nGE_booModeDis=True\r\nGE_booModeKei=False\r\nGE_booSnap=1\r\nGE_booPrtCmt=0\r\n"
       "GE_intUnitDIndex=14\r\n", kErrSubscript},
      {"[全般]\r\nGE_booModeDis=True\r\nGE_booModeKei=False\r\nGE_sngHojoLen=1e39\r\n", kErrOverflow},
      {"[全般]\r\nGE_booModeDis=True\r\n" + std::string(kIniFileLimit, '\n'), kErrOutOfMemory},
      {"<folder>", kErrPathFileAccess},
      {"<fifo>", kErrPathFileAccess},  // refused at once, never waited on
      {"<loop>", kErrPathFileAccess},
  };
  Document before = doc;
  const std::string bad = folder.File("bad.ini");
  for (const auto& c : cases) {
    fs::remove_all(bad);
    if (c.content == "<folder>") {
      fs::create_directory(bad);
    } else if (c.content == "<fifo>") {
      ASSERT_EQ(mkfifo(bad.c_str(), 0600), 0);
    } else if (c.content == "<loop>") {
      fs::create_symlink("bad.ini", bad);
    } else {
      WriteBytes(bad, c.content);
    }
    const LoadReport r = LoadProject(doc, bad);
    ASSERT_TRUE(r.error) << c.content;
    EXPECT_EQ(r.error->number, c.number) << c.content;
    if (c.content.starts_with("<")) {
      EXPECT_NE(r.error->description.find(bad), std::string::npos) << r.error->description;
    }
    ExpectSameObjects(doc.objects, before.objects);
    EXPECT_EQ(doc.state.GE_intUnitDIndex, 11);
  }
  const LoadReport missing = LoadProject(doc, folder.File("none.ini"));
  ASSERT_TRUE(missing.error);
  EXPECT_EQ(missing.error->number, kErrFileNotFound);
}

TEST_F(ProjectFileTest, ObjectsComeFromTheProjectFolderElseFromTheDrawingFolder) {
  TempFolder prj;
  ASSERT_FALSE(SaveProject(doc, prj.path(), "site.ini"));
  // Only the project file moved: the objects are found in PRJ_FD.
  fs::copy_file(prj.File("site.ini"), folder.File("site.ini"));
  opened.settings.PRJ_FD = prj.path();
  ASSERT_FALSE(LoadProject(opened, folder.File("site.ini")).error);
  EXPECT_EQ(UBound(opened.objects.lblKyori), 1);
  // A set of its own beside the project file wins over PRJ_FD.
  Document empty;
  empty.settings = doc.settings;
  ASSERT_FALSE(SaveProject(empty, folder.path(), "site.ini"));
  ASSERT_FALSE(LoadProject(opened, folder.File("site.ini")).error);
  EXPECT_EQ(UBound(opened.objects.lblKyori), 0);
}

TEST_F(ProjectFileTest, ADamagedObjectFileKeepsWhatWasReadAndSaysSo) {
  ASSERT_FALSE(SaveProject(doc, folder.path(), "site.ini"));
  const std::string lines = ReadBytes(folder.File("site_Line.Bin"));
  std::string crowd;  // more leader lines than the list can hold
  for (int i = 0; i <= kMaxIndex; ++i) crowd += "True\r\n\r\n1\r\n1\r\n9\r\n9\r\n0\r\n1\r\n1\r\n13\r\n";
  const struct {
    const char* file;
    std::string bytes;  // or "<folder>", "<fifo>", "<loop>": a name that is no file
    int number;
  } cases[] = {
      {"site_Line.Bin", lines.substr(0, lines.size() / 2), kErrInputPastEnd},
      {"site_Text.Bin", "True\r\n" + std::string(2u << 20, 'x') + "\r\n", kErrOutOfMemory},
      {"site_Line.Bin", crowd, kErrSubscript},
      {"site_Shape.Bin", "<folder>", kErrPathFileAccess},
      {"site_Shape.Bin", "<fifo>", kErrPathFileAccess},  // refused at once, never waited on
      {"site_Shape.Bin", "<loop>", kErrPathFileAccess},
  };
  for (const auto& c : cases) {
    const std::string path = folder.File(c.file);
    ASSERT_FALSE(SaveProject(doc, folder.path(), "site.ini"));
    fs::remove(path);
    if (c.bytes == "<folder>") {
      fs::create_directory(path);
    } else if (c.bytes == "<fifo>") {
      ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    } else if (c.bytes == "<loop>") {
      fs::create_symlink(c.file, path);
    } else {
      WriteBytes(path, c.bytes);
    }
    const LoadReport r = LoadProject(opened, folder.File("site.ini"));
    ASSERT_FALSE(r.error) << c.file;
    ASSERT_TRUE(r.warning) << c.file << " " << c.number;
    EXPECT_EQ(r.warning->number, c.number) << c.file;
    EXPECT_NE(r.warning->description.find(path), std::string::npos) << r.warning->description;
    // The other files read whole; the distance objects are kept in step
    // whatever survived.
    if (std::string(c.file) != "site_Text.Bin") {
      EXPECT_EQ(opened.objects.lblMensekiS, doc.objects.lblMensekiS);
    }
    const Collections& o = opened.objects;
    EXPECT_EQ(2 * UBound(o.lblKyori), UBound(o.lineHojoSave));
    EXPECT_EQ(UBound(o.shpSnpo), UBound(o.lineHojoSave));
    EXPECT_FALSE(o.lineHojoSave.back().Visible);
    fs::remove_all(path);
  }
}

// What a save killed half-way can leave: its temporaries beside the
// project and backups of two saves. The next save takes away its own
// temporaries (not another project's) and leaves one save's backups, none
// for a file gone since.
TEST_F(ProjectFileTest, TheNextSaveClearsWhatAKilledSaveLeft) {
  ASSERT_FALSE(SaveProject(doc, folder.path(), "site.ini"));
  doc.objects.lblKyori[0].Caption = " 99.00 尺 ";
  ASSERT_FALSE(SaveProject(doc, folder.path(), "site.ini"));
  for (const char* leftover : {"site.ini.tmp-123-456", "site_Line.Bin.tmp-9-1", "site.ini.bak.tmp-1-2"}) {
    WriteBytes(folder.File(leftover), "half");
  }
  WriteBytes(folder.File("other.ini.tmp-1-2"), "another project's");
  WriteBytes(folder.File("site_Text.Bin.bak"), "an older save");
  fs::remove(folder.File("site_Shape.Bin"));
  std::vector<std::string> now;
  for (const char* name : kSetNames) now.push_back(ReadBytes(folder.File(name)));

  ASSERT_FALSE(SaveProject(doc, folder.path(), "site.ini"));
  for (std::size_t i = 0; i < now.size(); ++i) {
    const std::string bak = folder.File(std::string(kSetNames[i]) + ".bak");
    EXPECT_EQ(fs::exists(bak), !now[i].empty()) << kSetNames[i];
    if (!now[i].empty()) {
      EXPECT_EQ(ReadBytes(bak), now[i]) << kSetNames[i];
    }
  }
  std::vector<std::string> temps;
  for (const auto& entry : fs::directory_iterator(folder.path())) {
    const std::string name = entry.path().filename().string();
    if (name.find(".tmp-") != std::string::npos) temps.push_back(name);
  }
  EXPECT_EQ(temps, std::vector<std::string>{"other.ini.tmp-1-2"});
}

// A save that cannot complete leaves the previous project whole.
TEST_F(ProjectFileTest, FailedSavesLeaveTheOldProjectIntact) {
  ASSERT_FALSE(SaveProject(doc, folder.path(), "site.ini"));
  std::vector<std::string> old;
  for (const char* name : kSetNames) old.push_back(ReadBytes(folder.File(name)));
  doc.objects.lblKyori[0].Caption = " 99.00 尺 ";
  for (int i = 0; i < 2000; ++i) doc.objects.lblMoji.push_back(doc.objects.lblMoji[1]);

  // A file size limit cuts the object file short.
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{4096, 4096};
    setrlimit(RLIMIT_FSIZE, &limit);
    const std::optional<ErrorReport> e = SaveProject(doc, folder.path(), "site.ini");
    _exit(e && e->number == kErrPathFileAccess ? 0 : e ? 2 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);

  // A read-only object file is not replaced.
  fs::permissions(folder.File("site_Line.Bin"), fs::perms::owner_read);
  const std::optional<ErrorReport> e = SaveProject(doc, folder.path(), "site.ini");
  ASSERT_TRUE(e);
  EXPECT_EQ(e->number, kErrPermissionDenied);
  fs::permissions(folder.File("site_Line.Bin"), fs::perms::owner_all);

  for (std::size_t i = 0; i < old.size(); ++i) EXPECT_EQ(ReadBytes(folder.File(kSetNames[i])), old[i]) << kSetNames[i];
  for (const auto& entry : fs::directory_iterator(folder.path())) {
    EXPECT_EQ(entry.path().string().find(".tmp-"), std::string::npos) << entry.path();
  }
}

}  // namespace
}  // namespace planimo::test
