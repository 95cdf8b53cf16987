#include "io/ini_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace planimo {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

// A file name of its own in the temporary folder, removed afterwards.
class TempIni {
 public:
  TempIni() {
    std::random_device device;
    path_ = fs::temp_directory_path() / ("planimo-ini-" + std::to_string(device()) + std::to_string(device()) + ".ini");
  }
  ~TempIni() {
    std::error_code ec;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove(path_, ec);
  }
  TempIni(const TempIni&) = delete;
  TempIni& operator=(const TempIni&) = delete;

  std::string path() const { return path_.string(); }
  void Write(const std::string& bytes) const { std::ofstream(path_, std::ios::binary) << bytes; }
  std::string Read() const {
    std::ifstream in(path_, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

 private:
  fs::path path_;
};

const IniDocument kSample{{
    "; 設定",
    "top=ignored",
    "[General]",
    "  Name  =\t Value one \t",
    "quoted=\"  padded  \"",
    ";commented=1",
    "half=\"open",
    "dup=first",
    "dup=second",
    "eq=a=b",
    "[単位]",
    "Key=和文",
    "[general]",
    "late=in duplicate section",
    "[表]",
    "ソ=能",
}};

struct GetCase {
  const char* section;
  const char* key;
  const char* expected;
};

TEST(GetValueTest, FollowsProfileRules) {
  const GetCase cases[] = {
      {"General", "Name", "Value one"},           // blanks and tabs trimmed
      {"GENERAL", "nAmE", "Value one"},           // ASCII case ignored
      {" General ", " Name ", "Value one"},       // names trimmed
      {"General", "quoted", "  padded  "},        // surrounding quotes dropped, inner blanks kept
      {"General", "half", "\"open"},              // one quote is text
      {"General", "commented", ""},               // comment lines are not keys
      {"General", ";commented", ""},
      {"General", "dup", "first"},                // first key wins
      {"General", "eq", "a=b"},                   // value runs past a second "="
      {"General", "late", ""},                    // only the first section of a name counts
      {"General", "top", ""},                     // lines before any section belong to none
      {"General", "Key", ""},                     // keys of other sections are not seen
      {"単位", "key", "和文"},
      {"表", "ソ", "能"},                          // second byte 0x5C in CP932
      {"Missing", "Name", ""},
      {"General", "", ""},
  };
  for (const GetCase& c : cases) EXPECT_EQ(GetValue(kSample, c.section, c.key), c.expected) << c.section << "/" << c.key;
}

// Past the 126 bytes a fixed buffer would hold: a long folder or file name
// comes back whole.
TEST(GetValueTest, ReadsLongValuesWhole) {
  std::string kanji64;
  for (int i = 0; i < 64; ++i) kanji64 += "表";
  for (const std::string& stored : {std::string(127, 'a'), kanji64, std::string(5000, 'b')}) {
    const IniDocument doc{{"[s]", "k=" + stored}};
    EXPECT_EQ(GetValue(doc, "s", "k"), stored) << stored.size();
  }
}

TEST(ParseIniTest, AcceptsEveryLineEnd) {
  EXPECT_EQ(ParseIni("a\r\nb\r\n").lines, (Lines{"a", "b"}));
  EXPECT_EQ(ParseIni("a\nb\n").lines, (Lines{"a", "b"}));
  EXPECT_EQ(ParseIni("a\rb\r").lines, (Lines{"a", "b"}));
  EXPECT_EQ(ParseIni("a\r\n\r\nb\rc\nd").lines, (Lines{"a", "", "b", "c", "d"}));
  EXPECT_EQ(ParseIni("").lines, Lines{});
  EXPECT_EQ(FormatIni(IniDocument{{"a", "", "b"}}), "a\r\n\r\nb\r\n");
}

TEST(PutValueTest, ReplacesInPlaceKeepingEveryOtherLine) {
  IniDocument doc{{"; head", "[A]", "x = 1", "; note", "Y=2", "", "[B]", "x=3"}};
  ASSERT_TRUE(PutValue(doc, "a", "X", "9"));
  ASSERT_TRUE(PutValue(doc, "B", "x", "表"));
  EXPECT_EQ(doc.lines, (Lines{"; head", "[A]", "x=9", "; note", "Y=2", "", "[B]", "x=表"}));
}

TEST(PutValueTest, AppendsKeyAfterLastKeyOfItsSection) {
  IniDocument doc{{"[A]", "x=1", "; trailing note", "", "", "[B]", "y=2"}};
  ASSERT_TRUE(PutValue(doc, "A", "z", "3"));
  ASSERT_TRUE(PutValue(doc, "B", "w", "4"));
  EXPECT_EQ(doc.lines, (Lines{"[A]", "x=1", "z=3", "; trailing note", "", "", "[B]", "y=2", "w=4"}));

  IniDocument empty{{"[A]", "", "[B]"}};
  ASSERT_TRUE(PutValue(empty, "A", "k", "v"));
  EXPECT_EQ(empty.lines, (Lines{"[A]", "k=v", "", "[B]"}));
}

TEST(PutValueTest, AppendsMissingSectionAtEnd) {
  IniDocument doc{{"[A]", "x=1", ""}};
  ASSERT_TRUE(PutValue(doc, "ソ表", "能", "値"));
  EXPECT_EQ(doc.lines, (Lines{"[A]", "x=1", "", "[ソ表]", "能=値"}));
  EXPECT_EQ(GetValue(doc, "ソ表", "能"), "値");
}

TEST(PutValueTest, WritesNothingForEmptyOrUnstorableInput) {
  const IniDocument before{{"[A]", "x=1"}};
  struct Case {
    const char* section;
    const char* key;
    const char* value;
  };
  const Case cases[] = {
      {"A", "x", ""}, {"A", "", "v"}, {"A", "  ", "v"}, {"A", "x", "a\r\n[B]"}, {"A", "x\n", "v"},
      {"A]", "x", "v"}, {"A", "k=1", "v"}, {"A", ";k", "v"}, {"A", "[k", "v"},
  };
  for (const Case& c : cases) {
    IniDocument doc = before;
    EXPECT_FALSE(PutValue(doc, c.section, c.key, c.value)) << c.key << "=" << c.value;
    EXPECT_EQ(doc.lines, before.lines);
  }
}

TEST(PutValueTest, ValuesReadBackUnchanged) {
  for (const std::string value : {" lead", "trail ", "\ttab", "\"q\"", "\"", " ", "a \"b\" c"}) {
    IniDocument doc;
    ASSERT_TRUE(PutValue(doc, "s", "k", value));
    EXPECT_EQ(GetValue(doc, "s", "k"), value) << doc.lines.back();
  }
}

TEST(IniFileTest, MissingFileReadsEmptyAndIsCreatedOnWrite) {
  TempIni file;
  EXPECT_EQ(GetIni("A", "x", file.path()), "");
  EXPECT_FALSE(PutIni("A", "x", "", file.path()));
  EXPECT_FALSE(fs::exists(file.path()));
  ASSERT_TRUE(PutIni("A", "x", "1", file.path()));
  EXPECT_EQ(file.Read(), "[A]\r\nx=1\r\n");
}

TEST(IniFileTest, ReadsAndWritesCp932WithCrLf) {
  TempIni file;
  // [表] / ソ=能 / path=C:\図面 with LF line ends and no final line end.
  file.Write("[\x95\x5C]\n\x83\x5C=\x94\x5C\npath=C:\\\x90\x7D\x96\xCA");
  EXPECT_EQ(GetIni("表", "ソ", file.path()), "能");
  EXPECT_EQ(GetIni("表", "path", file.path()), "C:\\図面");
  ASSERT_TRUE(PutIni("表", "ソ", "表]", file.path()));
  EXPECT_EQ(file.Read(), "[\x95\x5C]\r\n\x83\x5C=\x95\x5C]\r\npath=C:\\\x90\x7D\x96\xCA\r\n");
}

TEST(IniFileTest, ReadsUtf8WithAndWithoutBom) {
  for (const std::string bom : {"", "\xEF\xBB\xBF"}) {
    TempIni file;
    file.Write(bom + "[単位]\r\n距離=尺\r\n");
    EXPECT_EQ(GetIni("単位", "距離", file.path()), "尺");
  }
}

TEST(IniFileTest, BadByteLosesNothingElse) {
  TempIni file;
  file.Write("[A]\r\nbad=x\x82\r\nnext=\x95\x5C\r\nlast=\x82");
  EXPECT_EQ(GetIni("A", "bad", file.path()), "x\xEF\xBF\xBD");
  EXPECT_EQ(GetIni("A", "next", file.path()), "表");
  EXPECT_EQ(GetIni("A", "last", file.path()), "\xEF\xBF\xBD");
}

TEST(IniFileTest, FallsBackToUtf8WithBomForTextCp932CannotHold) {
  TempIni file;
  file.Write("[A]\r\nx=\x95\x5C\r\n");
  const std::string emoji = "\xF0\x9F\x93\x8F";
  ASSERT_TRUE(PutIni("A", "y", emoji, file.path()));
  EXPECT_EQ(file.Read(), "\xEF\xBB\xBF[A]\r\nx=表\r\ny=" + emoji + "\r\n");
  EXPECT_EQ(GetIni("A", "x", file.path()), "表");
  EXPECT_EQ(GetIni("A", "y", file.path()), emoji);
}

TEST(IniFileTest, ReadOnlyFileIsLeftWholeAndNoTemporaryRemains) {
  TempIni file;
  file.Write("[A]\r\nx=1\r\n");
  fs::permissions(file.path(), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  EXPECT_FALSE(PutIni("A", "x", "2", file.path()));
  EXPECT_EQ(file.Read(), "[A]\r\nx=1\r\n");

  const std::string prefix = fs::path(file.path()).filename().string() + ".tmp";
  for (const fs::directory_entry& entry : fs::directory_iterator(fs::temp_directory_path())) {
    EXPECT_FALSE(entry.path().filename().string().starts_with(prefix)) << entry.path();
  }
}

// A file of empty lines would take tens of times its size as lines.
TEST(IniFileTest, OversizedFileReadsAsNothingAndIsNotReplaced) {
  TempIni file;
  const std::string big = "[A]\nx=1\n" + std::string(kIniFileLimit, '\n');
  file.Write(big);
  EXPECT_TRUE(IsOversizedIniFile(file.path()));
  EXPECT_EQ(GetIni("A", "x", file.path()), "");
  EXPECT_FALSE(PutIni("A", "x", "2", file.path()));
  EXPECT_EQ(file.Read(), big);
}

TEST(IniFileTest, WriteIntoMissingFolderFails) {
  TempIni file;
  const std::string path = file.path() + "-missing/Init.ini";
  EXPECT_FALSE(PutIni("A", "x", "1", path));
}

}  // namespace
}  // namespace planimo
