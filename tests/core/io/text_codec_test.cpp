#include "io/text_codec.h"

#include <gtest/gtest.h>

#include <string>

namespace planimo {
namespace {

const std::string kBad = "\xEF\xBF\xBD";  // U+FFFD

struct DecodeCase {
  const char* name;
  std::string bytes;
  std::string expected;
};

class DecodeFileTextTest : public testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeFileTextTest, Decodes) { EXPECT_EQ(DecodeFileText(GetParam().bytes), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(
    Cases, DecodeFileTextTest,
    testing::Values(
        DecodeCase{"Ascii", "a=1\r\n", "a=1\r\n"},
        DecodeCase{"Utf8WithoutBom", "表=ソ", "表=ソ"},
        DecodeCase{"Utf8BomIsDropped", "\xEF\xBB\xBF[表]", "[表]"},
        DecodeCase{"Utf8BomWithBadByteKeepsTheRest", "\xEF\xBB\xBFx\xFFy", "x" + kBad + "y"},
        // Second bytes 0x5C, 0x5B, 0x5D look like "\", "[" and "]".
        DecodeCase{"Cp932SecondByteLikeAsciiMarks", "[\x95\x5C]\r\n\x83\x5C=\x94\x5C\\", "[表]\r\nソ=能\\"},
        DecodeCase{"Cp932BackslashStaysBackslash", "C:\\\x8E\xCA\x90\x5E", "C:\\写真"},
        DecodeCase{"Cp932HalfWidthKatakana", "\xB1\xB2", "ｱｲ"},
        DecodeCase{"LoneLeadByteAtEnd", "\x95\x5C=\x82", "表=" + kBad},
        DecodeCase{"LeadByteBeforeCrLfKeepsLineEnd", "a=\x82\r\nb=\x95\x5C\r\n", "a=" + kBad + "\r\nb=表\r\n"},
        DecodeCase{"LeadByteBeforeLf", "a=\x82\nb=1", "a=" + kBad + "\nb=1"},
        DecodeCase{"UnassignedPairIsOneCharacter", "a\x85\x40\x95\x5C", "a" + kBad + "表"},
        // A settings file saved as "Unicode" by a Windows editor.
        DecodeCase{"Utf16LittleEndian", std::string("\xFF\xFE[\0h\x88\r\0\n\0", 10), "[表\r\n"},
        DecodeCase{"Utf16BigEndian", std::string("\xFE\xFF\0[\x88h", 6), "[表"},
        DecodeCase{"Utf16LoneSurrogateAndOddByte", std::string("\xFF\xFE\0\xD8" "a\0b", 7), kBad + "a" + kBad}),
    [](const testing::TestParamInfo<DecodeCase>& info) { return std::string(info.param.name); });

TEST(EncodeCp932Test, RoundTripsExactly) {
  for (const std::string text : {"\\", "表", "ソ", "能", "[表]ソ=能\\", "C:\\データ\\図面", "ｱｲｳ", "～", "①"}) {
    const std::optional<std::string> bytes = EncodeCp932(text);
    ASSERT_TRUE(bytes) << text;
    EXPECT_EQ(DecodeFileText(*bytes), text) << text;
  }
}

TEST(EncodeCp932Test, KanjiWithBackslashSecondByte) {
  EXPECT_EQ(EncodeCp932("表\\"), std::optional<std::string>("\x95\x5C\x5C"));
}

TEST(EncodeCp932Test, ReportsCharactersItCannotHold) {
  // Emoji, a kanji outside the code page, and the yen sign the converter
  // would only approximate as "\".
  for (const std::string text : {"a\xF0\x9F\x98\x80", "\xF0\xA0\xAE\xB7", "\xC2\xA5", "〜\xF0\x9F\x98\x80"}) {
    EXPECT_FALSE(EncodeCp932(text)) << text;
  }
}

// What input methods outside Windows give for these, stored as Japanese
// Windows stores them, and read back as the CP932 forms.
TEST(EncodeCp932Test, WritesTheWindowsBestFitOfSixCharacters) {
  const struct {
    std::string text, bytes, readBack;
  } cases[] = {
      {"〜", "\x81\x60", "～"}, {"‖", "\x81\x61", "∥"}, {"−", "\x81\x7C", "－"},
      {"¢", "\x81\x91", "￠"}, {"£", "\x81\x92", "￡"}, {"¬", "\x81\xCA", "￢"},
      {"1〜3−x¬表", "1\x81\x60" "3\x81\x7Cx\x81\xCA\x95\x5C", "1～3－x￢表"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EncodeCp932(c.text), c.bytes) << c.text;
    EXPECT_EQ(DecodeFileText(c.bytes), c.readBack) << c.text;
    EXPECT_EQ(Cp932BestFit(c.text), c.readBack) << c.text;
  }
}

TEST(Cp932PrefixTest, CountsCp932BytesWithoutSplittingCharacters) {
  struct Case {
    std::string text;
    std::size_t limit;
    std::string expected;
  };
  const Case cases[] = {
      {"abc", 2, "ab"},     {"abc", 3, "abc"},  {"あいう", 3, "あ"}, {"あいう", 4, "あい"},
      {"aあ", 2, "a"},      {"ｱｲｳ", 2, "ｱｲ"},  {"", 5, ""},        {"表ソ", 0, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(Cp932Prefix(c.text, c.limit), c.expected) << c.text << " " << c.limit;
}

}  // namespace
}  // namespace planimo
