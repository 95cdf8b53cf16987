#include "io/project_flow.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "core/measure/measure_fixture.h"
#include "geometry/options_dialog.h"
#include "io/project_file.h"
#include "project_fixture.h"

namespace planimo::test {
namespace {

struct ProjectFlowTest : ::testing::Test, MapFixture {
  TempFolder folder;
};

// Every command that changes what a project stores leaves the drawing
// unsaved; looking, zooming and choosing tools do not.
TEST(UnsavedChangesTest, CommandsThatChangeTheProjectMarkIt) {
  const struct {
    const char* name;
    std::function<void(MapFixture&)> run;
    bool changes;
  } cases[] = {
      {"keep a distance", [](MapFixture& f) { f.Measure(10, 10, 60, 10); }, true},
      {"keep a route",
       [](MapFixture& f) {
         SelectMode(f.doc, f.s, MeasureMode::Path, nullptr);
         f.Measure(10, 10, 60, 10);
         CommandFinishRoute(f.doc, f.s);
       },
       true},
      {"extension length", [](MapFixture& f) { SetExtensionLength(f.doc, f.s, 25); }, true},
      {"same extension length", [](MapFixture& f) { SetExtensionLength(f.doc, f.s, 15); }, false},
      {"clear an empty drawing", [](MapFixture& f) { ClearMeasurementData(f.doc, f.s); }, false},
      {"unit, mode and snap in the options",
       [](MapFixture& f) {
         OptionsForm form;
         LoadOptionsForm(f.doc, form);
         const std::uint64_t r = f.doc.revision;
         ChooseDistanceUnit(f.doc, form, 2);  // unchanged
         EXPECT_EQ(f.doc.revision, r);
         ChooseDistanceUnit(f.doc, form, 0);
         ChooseMode(f.doc, form, 1);
         SetSnap(f.doc, form, false);
       },
       true},
      {"tool and zoom check", [](MapFixture& f) {
         SelectTool(f.s, Tool::Leader);
         CheckFixedZoom(f.s, 2);
       }, false},
  };
  for (const auto& c : cases) {
    MapFixture f;
    f.doc.savedRevision = f.doc.revision;
    c.run(f);
    EXPECT_EQ(HasUnsavedChanges(f.doc), c.changes) << c.name;
  }
  MapFixture f;
  f.Measure(10, 10, 60, 10);
  f.doc.savedRevision = f.doc.revision;
  ClearMeasurementData(f.doc, f.s);
  EXPECT_TRUE(HasUnsavedChanges(f.doc));
}

// New, Save As and Open arriving while a measurement waits for its end.
TEST_F(ProjectFlowTest, FlowsLeaveAConsistentStateWhateverIsRunning) {
  Measure(10, 10, 60, 10);
  ASSERT_FALSE(SaveProjectAs(doc, s, folder.File("a.ini")).error);
  EXPECT_FALSE(HasUnsavedChanges(doc));
  EXPECT_EQ(doc.files.panel1, "a.ini");
  EXPECT_TRUE(s.menu.mnuFileSavePrjEnabled);

  Click(100, 100);  // a line measurement now waits for its end
  ASSERT_TRUE(s.flags.Running());
  Measure(20, 20, 20, 80);
  Click(120, 120);
  EXPECT_TRUE(HasUnsavedChanges(doc));
  const OpenOutcome o = OpenProject(doc, s, folder.File("a.ini"));
  ASSERT_FALSE(o.error);
  EXPECT_FALSE(s.flags.Running());
  EXPECT_FALSE(doc.live.lineDistance.Visible);
  EXPECT_EQ(UBound(doc.objects.lblKyori), 1);
  EXPECT_FALSE(HasUnsavedChanges(doc));
  EXPECT_TRUE(s.menu.mnuFileSaveCsvEnabled);
  // The kept state measures on: the next distance is number 2.
  Measure(20, 20, 20, 80);
  EXPECT_EQ(UBound(doc.objects.lblKyori), 2);
  ASSERT_FALSE(SaveCurrentProject(doc, s).error);

  Click(100, 100);
  StartNewDrawing(doc, s, "/maps/plan.jpg");
  EXPECT_FALSE(s.flags.Running());
  EXPECT_EQ(UBound(doc.objects.lblKyori), 0);
  EXPECT_EQ(doc.files.panel2, "plan.jpg");
  EXPECT_EQ(doc.files.panel6, "/maps/");
  EXPECT_TRUE(doc.files.projectFileName.empty());
  EXPECT_FALSE(s.menu.mnuFileSavePrjEnabled);
  EXPECT_TRUE(SaveCurrentProject(doc, s).error);  // no name yet
  EXPECT_EQ(doc.state.GE_intUnitDIndex, 2);
}

struct FakeImageChooser : ImageChooser {
  std::optional<std::string> answer;
  std::vector<FileChooserRequest> asked;
  std::optional<std::string> Choose(const FileChooserRequest& r) override {
    asked.push_back(r);
    return answer;
  }
};

// An image opened by a name relative to the working folder (as on the
// command line), measured and saved into another folder, opens with the
// project again from anywhere; where the image went, the chooser asks.
TEST_F(ProjectFlowTest, ASavedProjectFindsItsImageWhereverItWasOpenedFrom) {
  namespace fs = std::filesystem;
  TempFolder maps, projects, elsewhere, moved;
  WriteBytes(maps.File("site_plan.jpg"), "jpg");
  StartNewDrawing(doc, s, fs::relative(maps.File("site_plan.jpg")).string());
  EXPECT_EQ(doc.files.panel6, maps.path());
  Measure(10, 10, 60, 10);
  ASSERT_FALSE(SaveProjectAs(doc, s, projects.File("site.ini")).error);
  const std::string ini = ReadBytes(projects.File("site.ini"));
  EXPECT_NE(ini.find("fMei_MapImage=site_plan.jpg\r\nfMei_MapFolder=" + maps.path() + "\r\n"), std::string::npos);

  const auto reopen = [&](const std::string& mapFolder, ImageChooser* chooser) {
    MapFixture f;
    f.doc.settings.MAP_FD = mapFolder;
    OpenOutcome o = OpenProject(f.doc, f.s, projects.File("site.ini"), chooser);
    EXPECT_FALSE(o.error);
    EXPECT_EQ(UBound(f.doc.objects.lblKyori), 1);
    return std::pair{o, f.doc};
  };
  // The remembered folder when MAP_FD does not hold the image.
  auto [o, opened] = reopen(elsewhere.path(), nullptr);
  EXPECT_EQ(o.imagePath, maps.File("site_plan.jpg"));
  EXPECT_EQ(opened.files.panel6, maps.path());
  EXPECT_FALSE(HasUnsavedChanges(opened));
  // MAP_FD first, then beside the project.
  WriteBytes(elsewhere.File("site_plan.jpg"), "jpg");
  EXPECT_EQ(reopen(elsewhere.path(), nullptr).first.imagePath, elsewhere.File("site_plan.jpg"));
  fs::rename(maps.File("site_plan.jpg"), projects.File("site_plan.jpg"));
  EXPECT_EQ(reopen(maps.path(), nullptr).first.imagePath, projects.File("site_plan.jpg"));

  // Nowhere: without a chooser the objects open on the missing MAP_FD image;
  // a cancelled chooser asked once leaves no image and the names as read.
  fs::rename(projects.File("site_plan.jpg"), moved.File("plan 2.jpg"));
  EXPECT_EQ(reopen(maps.path(), nullptr).first.imagePath, maps.File("site_plan.jpg"));
  FakeImageChooser chooser;
  auto [cancelled, empty] = reopen(moved.path(), &chooser);
  ASSERT_EQ(chooser.asked.size(), 1u);
  EXPECT_EQ(chooser.asked[0].title, kMissingImageTitle);
  EXPECT_EQ(chooser.asked[0].folder, maps.path());
  EXPECT_EQ(chooser.asked[0].fileName, "site_plan.jpg");
  EXPECT_TRUE(cancelled.imagePath.empty());
  EXPECT_EQ(empty.state.fMei_MapFolder, maps.path());
  EXPECT_FALSE(HasUnsavedChanges(empty));
  // A remembered folder that is gone leaves the chooser in MAP_FD.
  empty.state.fMei_MapFolder = maps.File("gone/");
  EXPECT_EQ(MissingImageChooser(empty).folder, moved.path());
  // The answer is what the next save stores.
  chooser.answer = moved.File("plan 2.jpg");
  MapFixture f;
  f.doc.settings.MAP_FD = maps.path();
  ASSERT_EQ(OpenProject(f.doc, f.s, projects.File("site.ini"), &chooser).imagePath, moved.File("plan 2.jpg"));
  EXPECT_EQ(f.doc.files.panel2, "plan 2.jpg");
  EXPECT_TRUE(HasUnsavedChanges(f.doc));
  ASSERT_FALSE(SaveCurrentProject(f.doc, f.s).error);
  chooser.asked.clear();
  EXPECT_EQ(reopen(maps.path(), &chooser).first.imagePath, moved.File("plan 2.jpg"));
  EXPECT_TRUE(chooser.asked.empty());
}

// A comment typed with a wave dash stays Shift-JIS as Windows writes it;
// only a character Shift-JIS has no form for makes the file UTF-8, and the
// save says so.
// A project named on the command line without a folder finds the image
// beside it, in the working folder.
TEST_F(ProjectFlowTest, AProjectNamedWithoutAFolderFindsItsImageBesideIt) {
  namespace fs = std::filesystem;
  WriteBytes(folder.File("plan.jpg"), "jpg");
  StartNewDrawing(doc, s, folder.File("plan.jpg"));
  doc.state.fMei_MapFolder = folder.File("gone/");
  ASSERT_FALSE(SaveProjectAs(doc, s, folder.File("a.ini")).error);
  const fs::path was = fs::current_path();
  fs::current_path(folder.path());
  FakeImageChooser chooser;
  const OpenOutcome o = OpenProject(doc, s, "a.ini", &chooser);
  fs::current_path(was);
  EXPECT_FALSE(o.error);
  EXPECT_EQ(o.imagePath, "plan.jpg");
  EXPECT_TRUE(chooser.asked.empty());
}

TEST_F(ProjectFlowTest, SavesShiftJisWhileItCanAndSaysWhenItCannot) {
  doc.objects.lblMoji.push_back(ShownLabel("区画 1〜3 − ¢£¬‖", 20, 20));
  const SaveOutcome asShiftJis = SaveProjectAs(doc, s, folder.File("a.ini"));
  ASSERT_FALSE(asShiftJis.error);
  EXPECT_FALSE(asShiftJis.notice);
  const std::string bytes = ReadBytes(folder.File("a_Text.Bin"));
  EXPECT_NE(bytes.find("\x8B\xE6\x89\xE6 1\x81\x60" "3 \x81\x7C \x81\x91\x81\x92\x81\xCA\x81\x61\r\n"),
            std::string::npos);
  ASSERT_FALSE(OpenProject(doc, s, folder.File("a.ini")).error);
  EXPECT_EQ(doc.objects.lblMoji.at(1).Caption, "区画 1～3 － ￠￡￢∥");

  doc.objects.lblMoji[1].Caption = "𠮷野家 〜";
  const SaveOutcome asUtf8 = SaveCurrentProject(doc, s);
  ASSERT_FALSE(asUtf8.error);
  EXPECT_EQ(asUtf8.notice, "この図面は Shift-JIS で表せない文字を含むため UTF-8 で保存しました。");
  EXPECT_EQ(ReadBytes(folder.File("a_Text.Bin")).substr(0, 3), "\xEF\xBB\xBF");
  EXPECT_TRUE(ReadBytes(folder.File("a.ini")).starts_with("["));  // the other files stay Shift-JIS
  ASSERT_FALSE(OpenProject(doc, s, folder.File("a.ini")).error);
  EXPECT_EQ(doc.objects.lblMoji.at(1).Caption, "𠮷野家 〜");
}

}  // namespace
}  // namespace planimo::test
