#include "io/drawing_pages.h"

#include <gtest/gtest.h>

#include "io/project_file.h"
#include "io/project_flow.h"
#include "project_fixture.h"

namespace planimo::test {
namespace {

struct ScriptedChooser : PageChooser {
  std::optional<int> ChoosePage(const std::vector<DrawingPage>& pages) override {
    ++asked;
    shown = pages.size();
    return answer;
  }
  std::optional<int> answer;
  int asked = 0;
  std::size_t shown = 0;
};

TEST(DrawingPagesTest, ANamedPageIsTakenOrRefusedAndOnlySeveralPagesAsk) {
  const std::vector<DrawingPage> one = {{1, 800, 600, 0, 0}};
  const std::vector<DrawingPage> two = {{1, 794, 1123, 210, 297}, {2, 1587, 1123, 420, 297}};
  const struct {
    const char* name;
    const std::vector<DrawingPage>* pages;
    int requested;
    std::optional<int> answer;
    std::optional<int> page;
    bool cancelled, asked, error;
  } cases[] = {
      {"one page never asks", &one, 0, 2, 1, false, false, false},
      {"named page", &two, 2, std::nullopt, 2, false, false, false},
      {"named page beyond the file", &two, 3, 1, std::nullopt, false, false, true},
      {"named page beyond a single page", &one, 2, 1, std::nullopt, false, false, true},
      {"chosen", &two, 0, 2, 2, false, true, false},
      {"cancelled", &two, 0, std::nullopt, std::nullopt, true, true, false},
      {"chooser answers a page that is not there", &two, 0, 5, std::nullopt, false, true, true},
  };
  for (const auto& c : cases) {
    ScriptedChooser chooser;
    chooser.answer = c.answer;
    const PagePick pick = PickPage(*c.pages, c.requested, &chooser);
    EXPECT_EQ(pick.page, c.page) << c.name;
    EXPECT_EQ(pick.cancelled, c.cancelled) << c.name;
    EXPECT_EQ(chooser.asked == 1, c.asked) << c.name;
    EXPECT_EQ(!pick.error.empty(), c.error) << c.name;
    EXPECT_EQ(chooser.shown, c.asked ? c.pages->size() : 0u) << c.name;
  }
  EXPECT_EQ(PickPage(two, 0, nullptr).page, 1);
  EXPECT_EQ(PageLine(two[1]), "2 ページ　420 × 297 mm（1587 × 1123 ピクセル）");
  EXPECT_EQ(PageLine(one[0]), "1 ページ（800 × 600 ピクセル）");
}

// The page rides in a key of its own right after the image's folder, also
// when an older project is saved again; page 1
// writes nothing, so a one-page drawing's project is as it always was, and a
// project without the key (or with nonsense in it) opens on page 1.
TEST(DrawingPagesTest, ThePageKeyRoundTripsAndIsLeftOutForPageOne) {
  TempFolder folder;
  for (const int page : {3, 1, 3}) {
    Document doc;
    MeasureSession s;
    StartNewDrawing(doc, s, folder.File("plan.pdf"), page);
    ASSERT_FALSE(SaveProjectAs(doc, s, folder.File("site.ini")).error);
    const std::string ini = ReadBytes(folder.File("site.ini"));
    const std::string afterFolder = "fMei_MapFolder=" + folder.path() + "\r\n";
    EXPECT_EQ(ini.find(afterFolder + "fMei_MapPage=3\r\n") != std::string::npos, page == 3) << ini;
    EXPECT_EQ(ini.find("fMei_MapPage") != std::string::npos, page != 1);
    Document opened;
    ASSERT_FALSE(LoadProject(opened, folder.File("site.ini")).error);
    EXPECT_EQ(opened.state.fMei_MapPage, page);
  }
  for (const char* stored : {"0", "-2", "x", "2x"}) {
    std::string ini = ReadBytes(folder.File("site.ini"));
    const std::string key = "fMei_MapFolder=" + folder.path() + "\r\n";
    ini.insert(ini.find(key) + key.size(), std::string("fMei_MapPage=") + stored + "\r\n");
    WriteBytes(folder.File("odd.ini"), ini);
    Document opened;
    opened.state.fMei_MapPage = 7;
    ASSERT_FALSE(LoadProject(opened, folder.File("odd.ini")).error) << stored;
    EXPECT_EQ(opened.state.fMei_MapPage, 1) << stored;
  }
}

}  // namespace
}  // namespace planimo::test
