#include "io/bmp_writer.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <vector>

namespace planimo {
namespace {

namespace fs = std::filesystem;

std::uint32_t Get32(const std::string& b, std::size_t at) {
  return static_cast<std::uint8_t>(b[at]) | static_cast<std::uint8_t>(b[at + 1]) << 8 |
         static_cast<std::uint8_t>(b[at + 2]) << 16 | static_cast<std::uint32_t>(static_cast<std::uint8_t>(b[at + 3])) << 24;
}

class BmpWriterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device device;
    dir = fs::temp_directory_path() / ("planimo-bmp-" + std::to_string(device()));
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
  std::string Read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  fs::path dir;
};

TEST_F(BmpWriterTest, WritesA24BitBottomUpBitmapWithPaddedRowsOverAnOldFile) {
  const fs::path path = dir / "out.bmp";
  std::ofstream(path) << "old";
  BmpWriter w;
  ASSERT_EQ(w.Open(path.string(), 3, 2).number, 0);
  const std::uint8_t bottom[] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
  const std::uint8_t top[] = {10, 11, 12, 13, 14, 15, 16, 17, 18};
  ASSERT_EQ(w.WriteRow(bottom).number, 0);
  EXPECT_EQ(Read(path), "old");  // nothing replaced before the file is whole
  ASSERT_EQ(w.WriteRow(top).number, 0);
  ASSERT_EQ(w.Finish().number, 0);

  const std::string b = Read(path);
  ASSERT_EQ(b.size(), 54u + 2 * 12);
  EXPECT_EQ(b.substr(0, 2), "BM");
  EXPECT_EQ(Get32(b, 2), b.size());
  EXPECT_EQ(Get32(b, 10), 54u);
  EXPECT_EQ(Get32(b, 18), 3u);
  EXPECT_EQ(Get32(b, 22), 2u);
  EXPECT_EQ(static_cast<int>(b[28]), 24);
  EXPECT_EQ(static_cast<std::uint8_t>(b[54]), 1);
  EXPECT_EQ(b.substr(54 + 9, 3), std::string(3, '\0'));
  EXPECT_EQ(static_cast<std::uint8_t>(b[54 + 12]), 10);
  EXPECT_FALSE(fs::exists(path.string() + ".part"));

  // The same picture from 32-bit pixels held top-down, its fourth bytes
  // dropped, again in place of an old file that leaves nothing behind.
  const fs::path path32 = dir / "out32.bmp";
  std::ofstream(path32) << "old";
  const std::uint32_t topDown[] = {0xFF0C0B0A, 0xFF0F0E0D, 0xFF121110, 0xFF030201, 0xFF060504, 0xFF090807};
  ASSERT_EQ(w.Open(path32.string(), 3, 2).number, 0);
  ASSERT_EQ(w.WriteRows32(topDown + 3, -3, 2).number, 0);
  ASSERT_EQ(w.Finish().number, 0);
  EXPECT_EQ(Read(path32), b);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2);
}

TEST_F(BmpWriterTest, FailuresAreReportedAndLeaveNoFile) {
  BmpWriter w;
  EXPECT_EQ(w.Open((dir / "missing" / "x.bmp").string(), 4, 4).number, kErrPathNotFound);
  EXPECT_EQ(w.Open((dir / "big.bmp").string(), 40000, 40000).number, kErrOverflow);  // past 4 GB
  EXPECT_EQ(w.Open((dir / "empty.bmp").string(), 0, 5).number, kErrOverflow);

  // Abandoned half-way: neither the file nor its part stays behind.
  {
    BmpWriter half;
    ASSERT_EQ(half.Open((dir / "half.bmp").string(), 2, 2).number, 0);
    const std::uint8_t row[6] = {};
    ASSERT_EQ(half.WriteRow(row).number, 0);
    EXPECT_NE(half.Finish().number, 0);
  }
  EXPECT_TRUE(fs::is_empty(dir));

  // A target that is not a regular file is refused and stays what it was.
  ASSERT_EQ(::mkfifo((dir / "pipe.bmp").c_str(), 0600), 0);
  fs::create_directory(dir / "folder.bmp");
  std::vector<fs::path> odd = {dir / "pipe.bmp", dir / "folder.bmp"};
  if (::geteuid() == 0) {  // a private node with /dev/null's numbers
    ASSERT_EQ(::mknod((dir / "null.bmp").c_str(), S_IFCHR | 0600, makedev(1, 3)), 0);
    odd.push_back(dir / "null.bmp");
  }
  for (const fs::path& p : odd) {
    EXPECT_EQ(w.Open(p.string(), 2, 2).number, kErrPathFileAccess) << p;
    EXPECT_FALSE(fs::is_regular_file(p)) << p;
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), std::ptrdiff_t(odd.size()));
}

}  // namespace
}  // namespace planimo
