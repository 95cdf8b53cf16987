#include "model/error_numbers.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

namespace planimo {
namespace {

TEST(ErrorNumbers, BoxTextJoinsHandlerNumberAndDescriptionWithCarriageReturn) {
  EXPECT_EQ(ErrorBoxText("mnuFileOpenPrj_Click", 53, "ファイルが見つかりません。"),
            "mnuFileOpenPrj_Click():ｴﾗｰ番号 53 ｴﾗｰが発生しました。\rファイルが見つかりません。");
  EXPECT_EQ(ErrorBoxText("subX", 481, ""), "subX():ｴﾗｰ番号 481 ｴﾗｰが発生しました。\r");
}

TEST(ErrorNumbers, OnlyCancellationIsSilent) {
  EXPECT_FALSE(IsReported(kErrCancelled));
  for (int n : {5, 6, 7, 11, 13, 53, 61, 70, 75, 76, 481}) EXPECT_TRUE(IsReported(n)) << n;
}

TEST(ErrorNumbers, SystemErrorsMapToTheirNumbers) {
  struct Case {
    int err;
    int number;
  };
  const Case cases[] = {
      {EINVAL, 5},  {EOVERFLOW, 6}, {ERANGE, 6},  {ENOMEM, 7},  {ENOSPC, 61},
      {EACCES, 70}, {EPERM, 70},    {EROFS, 70},  {ENOTDIR, 76}, {EIO, 75},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ErrorFromErrno(c.err, "/tmp/a.ini").number, c.number) << c.err;
    EXPECT_EQ(ErrorFromCode(std::error_code(c.err, std::generic_category()), "x").number, c.number)
        << c.err;
  }
}

TEST(ErrorNumbers, MissingFileIsNotFoundOnlyWhenItsFolderExists) {
  const std::filesystem::path dir = std::filesystem::temp_directory_path();
  EXPECT_EQ(ErrorFromErrno(ENOENT, (dir / "planimo_missing.jpg").string()).number, kErrFileNotFound);
  EXPECT_EQ(ErrorFromErrno(ENOENT, (dir / "no_such_folder_x" / "a.jpg").string()).number,
            kErrPathNotFound);
  EXPECT_EQ(ErrorFromErrno(ENOENT, "bare.jpg").number, kErrFileNotFound);
}

TEST(ErrorNumbers, DescriptionNamesThePath) {
  const ErrorReport r = ErrorFromErrno(EACCES, "/ro/Init.ini");
  EXPECT_NE(r.description.find("/ro/Init.ini"), std::string::npos);
  EXPECT_EQ(ErrorDescription(53), "ファイルが見つかりません。");
  const ErrorReport other = ErrorFromErrno(EIO, "/d/f");
  EXPECT_EQ(other.number, kErrPathFileAccess);
  EXPECT_NE(other.description.find("/d/f"), std::string::npos);
}

TEST(ErrorNumbers, RealFilesystemFailureIsMapped) {
  std::error_code ec;
  (void)std::filesystem::file_size("/nonexistent_planimo_dir/file.bin", ec);
  ASSERT_TRUE(ec);
  EXPECT_EQ(ErrorFromCode(ec, "/nonexistent_planimo_dir/file.bin").number, kErrPathNotFound);
}

}  // namespace
}  // namespace planimo
