#include "io/recent_drawings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

namespace planimo {
namespace {

TEST(RecentDrawings, NewestFirstNoRepeatsEightAtMostAndKeptAcrossRuns) {
  RecentDrawings list;
  for (int i = 1; i <= 10; ++i) NoteRecentDrawing(list, "/d/p" + std::to_string(i) + ".ini");
  NoteRecentDrawing(list, "/d/p5.ini");  // opened again: to the top, once
  NoteRecentDrawing(list, "");
  const std::vector<std::string> want = {"/d/p5.ini", "/d/p10.ini", "/d/p9.ini", "/d/p8.ini",
                                         "/d/p7.ini", "/d/p6.ini",  "/d/p4.ini", "/d/p3.ini"};
  EXPECT_EQ(list.paths, want);

  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "planimo_recent_test" / "cfg";
  std::filesystem::remove_all(dir.parent_path());
  const std::string file = RecentDrawingsPath(dir.string());
  EXPECT_TRUE(ReadRecentDrawings(file).paths.empty());  // no file yet
  ASSERT_TRUE(WriteRecentDrawings(file, list));         // creates the folder
  EXPECT_EQ(ReadRecentDrawings(file).paths, want);
  std::filesystem::remove_all(dir.parent_path());
}

TEST(RecentDrawings, AMissingFileIsRemovedWithAMessage) {
  RecentDrawings list{{"/d/a&b.ini", "/d/gone.ini", "/d/c.ini"}};
  const std::set<std::string> present = {"/d/a&b.ini", "/d/c.ini"};
  const auto exists = [&](const std::string& p) { return present.count(p) > 0; };
  RecentChoice c = ChooseRecentDrawing(list, 0, exists);
  EXPECT_EQ(c.open, "/d/a&b.ini");
  EXPECT_TRUE(c.message.empty());
  c = ChooseRecentDrawing(list, 1, exists);
  EXPECT_FALSE(c.open);
  EXPECT_NE(c.message.find("/d/gone.ini"), std::string::npos);
  EXPECT_EQ(list.paths, (std::vector<std::string>{"/d/a&b.ini", "/d/c.ini"}));
  EXPECT_FALSE(ChooseRecentDrawing(list, 7, exists).open);
  EXPECT_EQ(RecentDrawingCaption(list, 0), "&1 /d/a&&b.ini");
}

}  // namespace
}  // namespace planimo
