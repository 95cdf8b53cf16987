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
  // Emoji, a kanji outside the code page, and characters the converter would
  // only approximate (yen sign to "\", wave dash to full-width tilde).
  for (const std::string text : {"a\xF0\x9F\x98\x80", "\xF0\xA0\xAE\xB7", "\xC2\xA5", "\xE3\x80\x9C"}) {
    EXPECT_FALSE(EncodeCp932(text)) << text;
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
