#include "io/settings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "geometry/units.h"
#include "io/ini_file.h"
#include "io/text_codec.h"

namespace planimo {
namespace {

namespace fs = std::filesystem;

class TempSettings {
 public:
  TempSettings() {
    std::random_device device;
    path_ = fs::temp_directory_path() / ("planimo-settings-" + std::to_string(device()) + std::to_string(device()) + ".ini");
  }
  ~TempSettings() {
    std::error_code ec;
    fs::remove(path_, ec);
  }
  TempSettings(const TempSettings&) = delete;
  TempSettings& operator=(const TempSettings&) = delete;

  std::string path() const { return path_.string(); }
  void Write(const std::string& bytes) const { std::ofstream(path_, std::ios::binary) << bytes; }

 private:
  fs::path path_;
};

// The shipped default settings, as the build installs them: CP932, CR LF.
std::string ShippedSettingsBytes() {
  std::ifstream in(std::string(PLANIMO_SOURCE_DIR) + "/data/Init.ini.utf8", std::ios::binary);
  const std::string utf8{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  std::string crlf;
  for (const char c : utf8) {
    if (c == '\n') crlf += '\r';
    crlf += c;
  }
  return EncodeCp932(crlf).value_or("");
}

void ExpectTablesNear(const std::array<double, kUnitCount>& actual, const std::array<double, kUnitCount>& expected) {
  for (int n = 0; n < kUnitCount; ++n) EXPECT_NEAR(actual[n], expected[n], std::abs(expected[n]) * 1e-12) << n;
}

TEST(SettingsPathTest, AddsOneSeparator) {
  EXPECT_EQ(SettingsPath("/opt/planimo"), "/opt/planimo/Init.ini");
  EXPECT_EQ(SettingsPath("/opt/planimo/"), "/opt/planimo/Init.ini");
  EXPECT_EQ(SettingsPath("C:\\"), "C:\\Init.ini");
  EXPECT_EQ(SettingsPath(""), "Init.ini");
}

TEST(ReadSettingsTest, ShippedFileGivesTheUnitTables) {
  TempSettings file;
  const std::string bytes = ShippedSettingsBytes();
  ASSERT_FALSE(bytes.empty());
  file.Write(bytes);

  // The built-in tables would hide a file that reads as empty; ask it directly.
  EXPECT_EQ(GetIni("距離単位", "UnitDistance(10)", file.path()), "寸");
  EXPECT_EQ(GetIni("面積単位", "UnitArea(7)", file.path()), "sq.ft. ");
  EXPECT_EQ(GetIni("面積換算係数", "GE_dblChgMToOS(13)", file.path()), "0.00010083333333333334");

  AppSettings s;
  s.PRJ_FD = "old";
  ReadSettings(file.path(), s);
  EXPECT_EQ(s.PRJ_FD, "");
  EXPECT_EQ(s.MAP_FD, "");
  EXPECT_EQ(s.units.UnitDistance[0], "mm ");
  EXPECT_EQ(s.units.UnitDistance[10], "寸 ");
  EXPECT_EQ(s.units.UnitArea[7], "sq.ft.  ");  // quoted value keeps its blank, then one more
  EXPECT_EQ(s.units.UnitArea[11], "坪 ");
  EXPECT_EQ(s.units.GE_dblChgMMToO[4], 25.4);
  EXPECT_EQ(s.units.GE_dblChgOToMS[0], 1e-06);
  EXPECT_EQ(s.units.GE_dblChgMToOS[10], 3.861021585424458e-07);

  // The shipped file and the built-in tables tell the same story.
  const UnitTables builtin = BuiltinUnitTables();
  EXPECT_EQ(s.units.UnitDistance, builtin.UnitDistance);
  EXPECT_EQ(s.units.UnitArea, builtin.UnitArea);
  ExpectTablesNear(s.units.GE_dblChgMMToO, builtin.GE_dblChgMMToO);
  ExpectTablesNear(s.units.GE_dblChgOToMD, builtin.GE_dblChgOToMD);
  ExpectTablesNear(s.units.GE_dblChgMToOD, builtin.GE_dblChgMToOD);
  ExpectTablesNear(s.units.GE_dblChgOToMS, builtin.GE_dblChgOToMS);
  ExpectTablesNear(s.units.GE_dblChgMToOS, builtin.GE_dblChgMToOS);
}

TEST(ReadSettingsTest, MissingFileGivesBuiltInTablesAndEmptyFolders) {
  TempSettings file;
  AppSettings s;
  ReadSettings(file.path(), s);
  const UnitTables builtin = BuiltinUnitTables();
  EXPECT_EQ(s.PRJ_FD, "");
  EXPECT_EQ(s.units.UnitDistance, builtin.UnitDistance);
  EXPECT_EQ(s.units.UnitArea, builtin.UnitArea);
  EXPECT_EQ(s.units.GE_dblChgMMToO, builtin.GE_dblChgMMToO);
  EXPECT_EQ(s.units.GE_dblChgMToOS, builtin.GE_dblChgMToOS);
}

TEST(ReadSettingsTest, FileValuesWinAndGapsAreFilled) {
  TempSettings file;
  IniDocument doc;
  PutValue(doc, "フォルダPath", "PRJ_FD", "C:\\図面\\表");
  PutValue(doc, "距離単位", "UnitDistance(2)", "metre");
  PutValue(doc, "距離換算係数mm", "GE_dblChgMMToO(2)", "999.5mm");  // leading number
  PutValue(doc, "距離換算係数mm", "GE_dblChgMMToO(3)", "0");
  PutValue(doc, "距離換算係数mm", "GE_dblChgMMToO(4)", "inch");
  ASSERT_TRUE(WriteIniFile(file.path(), doc));

  AppSettings s;
  ReadSettings(file.path(), s);
  const UnitTables builtin = BuiltinUnitTables();
  EXPECT_EQ(s.PRJ_FD, "C:\\図面\\表");
  EXPECT_EQ(s.units.UnitDistance[2], "metre ");
  EXPECT_EQ(s.units.UnitDistance[3], builtin.UnitDistance[3]);
  EXPECT_EQ(s.units.GE_dblChgMMToO[2], 999.5);
  EXPECT_EQ(s.units.GE_dblChgMMToO[3], builtin.GE_dblChgMMToO[3]);
  EXPECT_EQ(s.units.GE_dblChgMMToO[4], builtin.GE_dblChgMMToO[4]);
}

TEST(WriteFoldersTest, FoldersSurviveARestartAndEmptyOnesKeepTheOldValue) {
  TempSettings file;
  file.Write(ShippedSettingsBytes());
  AppSettings chosen;
  chosen.PRJ_FD = "C:\\work\\図面";
  chosen.MAP_FD = "/home/user/ソ";
  ASSERT_TRUE(WriteFolders(file.path(), chosen));

  AppSettings read;
  ReadSettings(file.path(), read);
  EXPECT_EQ(read.PRJ_FD, chosen.PRJ_FD);
  EXPECT_EQ(read.MAP_FD, chosen.MAP_FD);
  EXPECT_EQ(read.units.UnitArea[13], "町 ");

  chosen.PRJ_FD.clear();
  chosen.MAP_FD = "D:\\maps";
  ASSERT_TRUE(WriteFolders(file.path(), chosen));
  ReadSettings(file.path(), read);
  EXPECT_EQ(read.PRJ_FD, "C:\\work\\図面");
  EXPECT_EQ(read.MAP_FD, "D:\\maps");

  // Only the two folder lines changed.
  const IniDocument shipped = ParseIni(DecodeFileText(ShippedSettingsBytes()));
  const IniDocument now = ReadIniFile(file.path());
  ASSERT_EQ(now.lines.size(), shipped.lines.size());
  int changed = 0;
  for (std::size_t i = 0; i < now.lines.size(); ++i) changed += now.lines[i] != shipped.lines[i];
  EXPECT_EQ(changed, 2);
}

}  // namespace
}  // namespace planimo
