#include "geometry/paths.h"

#include <gtest/gtest.h>

namespace planimo {
namespace {

struct PathCase {
  const char* path;
  const char* folder;
  const char* fileName;
};

TEST(SplitPath, EitherSeparator) {
  const PathCase cases[] = {
      {"C:\\maps\\site.jpg", "C:\\maps\\", "site.jpg"},
      {"/home/user/maps/site.ini", "/home/user/maps/", "site.ini"},
      {"C:\\maps/sub\\site.bmp", "C:\\maps/sub\\", "site.bmp"},
      {"site.gif", "", "site.gif"},
      {"C:\\maps\\", "C:\\maps\\", ""},
      {"", "", ""},
      {"D:\\図面\\敷地.jpg", "D:\\図面\\", "敷地.jpg"},
  };
  for (const auto& c : cases) {
    const SplitPathResult r = SplitPath(c.path);
    EXPECT_EQ(r.folder, c.folder) << c.path;
    EXPECT_EQ(r.fileName, c.fileName) << c.path;
  }
}

}  // namespace
}  // namespace planimo
