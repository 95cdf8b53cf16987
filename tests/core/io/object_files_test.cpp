#include "io/object_files.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <sstream>

#include "io/atomic_write.h"
#include "io/text_codec.h"
#include "project_fixture.h"

namespace planimo::test {
namespace {

// The lines of one label record, Visible first.
std::string LabelLines(const std::string& visible, const std::string& caption) {
  return visible + "\r\n" + caption + "\r\ntip\r\ntag\r\n1\r\n2\r\n3\r\n4\r\n0\r\n1\r\n0\r\n16777215\r\n12582912\r\n" +
         "ＭＳ Ｐゴシック\r\n9.75\r\nTrue\r\nFalse\r\nFalse\r\nFalse\r\n";
}

// The text as a Windows editor saves "Unicode": UTF-16 LE after its mark.
std::string Utf16Le(std::string utf8) {
  std::string out(2 + 2 * utf8.size(), '\0');
  out[0] = '\xFF';
  out[1] = '\xFE';
  const iconv_t cd = iconv_open("UTF-16LE", "UTF-8");
  char* in = utf8.data();
  std::size_t inLeft = utf8.size();
  char* dst = out.data() + 2;
  std::size_t dstLeft = out.size() - 2;
  iconv(cd, &in, &inLeft, &dst, &dstLeft);
  iconv_close(cd);
  out.resize(out.size() - dstLeft);
  return out;
}

ReadEnd ReadText(const std::string& text, Collections& o) {
  std::istringstream in(text);
  return ReadTextObjects(in, o);
}

TEST(ObjectFilesTest, AnEmptyDrawingWritesOneRecordPerSectionAndReadsBackEmpty) {
  const Collections empty;
  const std::string text = FormatTextFile(empty);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 5 * 19);
  const std::string lines = FormatLineFile(empty);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 4 * 10);
  EXPECT_EQ(FormatShapeFile(empty).substr(0, 7), "False\r\n");
  Collections o;
  o.lblKyori.resize(5);
  EXPECT_EQ(ReadText(text, o), ReadEnd::Complete);
  EXPECT_EQ(o.lblKyori, empty.lblKyori);
  EXPECT_EQ(o.lblMoji, empty.lblMoji);
  EXPECT_EQ(o.lblKeiIdoS.size(), 1u);
}

TEST(ObjectFilesTest, SectionsEndAtTheFirstInvisibleRecord) {
  Collections o;
  // One distance and its spare: 2 x 19 lines, the spare stays the spare.
  ASSERT_EQ(ReadText(LabelLines("True", "a") + LabelLines("False", ""), o), ReadEnd::Complete);
  ASSERT_EQ(o.lblKyori.size(), 2u);
  EXPECT_EQ(o.lblKyori[0].Caption, "a");
  EXPECT_EQ(o.lblKyori[0].BackColor, 16777215u);
  EXPECT_FALSE(o.lblKyori[1].Visible);
  // A "False" in the middle ends the distances: the rest are routes.
  ASSERT_EQ(ReadText(LabelLines("True", "a") + LabelLines("false", "") + LabelLines("True", "b") +
                         LabelLines("False", ""),
                     o),
            ReadEnd::Complete);
  EXPECT_EQ(o.lblKyori.size(), 2u);
  ASSERT_EQ(o.lblKeiroS.size(), 2u);
  EXPECT_EQ(o.lblKeiroS[0].Caption, "b");
  EXPECT_EQ(o.lblMensekiS.size(), 1u);
}

// Saved while a leader line is being drawn: that line is left out, and the
// sections after it read back as they were.
TEST(ObjectFilesTest, ALeaderBeingPlacedIsNotWritten) {
  Collections o;
  o.lineHikidashi[0].Visible = true;
  ASSERT_TRUE(AppendSpare(o.lineHikidashi));
  o.lineHikidashi.back().Visible = true;  // the line following the pointer
  o.lineHojoSave[0].Visible = true;
  ASSERT_TRUE(AppendSpare(o.lineHojoSave));
  std::istringstream in(FormatLineFile(o));
  Collections back;
  ASSERT_EQ(ReadLineObjects(in, back), ReadEnd::Complete);
  ASSERT_EQ(back.lineHikidashi.size(), 2u);
  EXPECT_FALSE(back.lineHikidashi[1].Visible);
  EXPECT_EQ(back.lineHojoSave, o.lineHojoSave);
  EXPECT_TRUE(o.lineHikidashi.back().Visible);  // the drawing itself keeps it
}

TEST(ObjectFilesTest, DamageKeepsTheCompleteRecordsBeforeIt) {
  Collections o;
  const std::string two = LabelLines("True", "a") + LabelLines("True", "b");
  EXPECT_EQ(ReadText(two + LabelLines("True", "c").substr(0, 20), o), ReadEnd::Cut);
  ASSERT_EQ(o.lblKyori.size(), 3u);
  EXPECT_EQ(o.lblKyori[1].Caption, "b");
  EXPECT_FALSE(o.lblKyori[2].Visible);
  std::string bad = LabelLines("True", "c");
  bad.replace(bad.find("True"), 4, "Yes");
  EXPECT_EQ(ReadText(two + bad, o), ReadEnd::BadValue);
  EXPECT_EQ(o.lblKyori.size(), 3u);
  // A line without end longer than the limit is damage, not a memory hog.
  std::istringstream huge(LabelLines("True", std::string(3u << 20, 'x')));
  EXPECT_EQ(ReadTextObjects(huge, o), ReadEnd::LongLine);
  EXPECT_EQ(o.lblKyori.size(), 1u);
}

TEST(ObjectFilesTest, TextValuesSurviveAsWrittenAndLineBreaksCannotShiftRecords) {
  Document doc;
  BuildSampleDrawing(doc);
  doc.objects.lblMoji[1].ToolTipText = "a,\"b\"";
  doc.objects.lblMoji[1].Caption = "two\r\nlines";
  Collections o;
  ASSERT_EQ(ReadText(FormatTextFile(doc.objects), o), ReadEnd::Complete);
  EXPECT_EQ(o.lblMoji[1].ToolTipText, "a,\"b\"");
  EXPECT_EQ(o.lblMoji[1].Caption, "two  lines");
  EXPECT_EQ(o.lblKeiIdoS, doc.objects.lblKeiIdoS);

  // A CP932 file whose first megabyte happens to be valid UTF-8 ("燿、" is
  // E0 A0 81 41) is read as CP932 throughout.
  TextRecord lucky = doc.objects.lblMoji[1];
  lucky.FontName = "Arial";
  lucky.ToolTipText.clear();
  lucky.Caption = "燿、";
  Collections big;
  for (auto* list : {&big.lblKyori, &big.lblKeiroS, &big.lblMensekiS, &big.lblMoji, &big.lblKeiIdoS}) {
    list->front().FontName = "Arial";
    list->front().Caption.clear();
  }
  big.lblMoji.resize(20000, lucky);
  big.lblMoji.back().Caption = "道路";
  const std::string bytes = EncodeFileText(FormatTextFile(big));
  ASSERT_FALSE(bytes.starts_with(kUtf8Bom));
  ASSERT_EQ(ReadText(bytes, o), ReadEnd::Complete);
  EXPECT_EQ(o.lblMoji[1].Caption, "燿、");
  EXPECT_EQ(o.lblMoji.back().Caption, "道路");
}

// Lists filled to the last index the commands allow read back whole, and
// the positions after a full comment list are not lost; so does the same
// file re-saved as UTF-16, piece after piece.
TEST(ObjectFilesTest, FullListsReadBackWhole) {
  Document doc;
  BuildSampleDrawing(doc);
  Collections& o = doc.objects;
  o.lblMoji.resize(kMaxIndex + 1, o.lblMoji[1]);
  while (AppendSpare(o.lblKyori)) o.lblKyori[o.lblKyori.size() - 2] = o.lblKyori.front();
  const std::string text = FormatTextFile(o);
  for (const std::string& bytes : {text, Utf16Le(text)}) {
    Collections back;
    ASSERT_EQ(ReadText(bytes, back), ReadEnd::Complete);
    EXPECT_EQ(back.lblMoji.size(), o.lblMoji.size());
    EXPECT_EQ(back.lblKyori, o.lblKyori);
    EXPECT_EQ(back.lblKeiIdoS, o.lblKeiIdoS);
  }
}

TEST(ObjectFilesTest, ValueConversionsOfTheFiles) {
  Collections o;
  std::string text = LabelLines("-1", "a");
  text.replace(text.find("\r\n0\r\n1\r\n0\r\n"), 11, "\r\n2.5\r\n3.5\r\n0\r\n");
  ASSERT_EQ(ReadText(text, o), ReadEnd::Complete);
  EXPECT_TRUE(o.lblKyori[0].Visible);
  EXPECT_EQ(o.lblKyori[0].Alignment, 2);  // half to even
  EXPECT_EQ(o.lblKyori[0].BackStyle, 4);
  Collections big;
  text = LabelLines("True", "a");
  text.replace(text.find("\r\n0\r\n1\r\n0\r\n"), 11, "\r\n40000\r\n1\r\n0\r\n");
  EXPECT_EQ(ReadText(text, big), ReadEnd::BadValue);
}

TEST(ObjectFilesTest, RepairKeepsDistanceObjectsInStep) {
  Document doc;
  BuildSampleDrawing(doc);
  Collections o = doc.objects;
  o.shpSnpo = Collections{}.shpSnpo;  // no shape file
  RepairDistanceLinks(o);
  ASSERT_EQ(o.shpSnpo.size(), 3u);
  EXPECT_TRUE(o.shpSnpo[1].Visible);
  EXPECT_FLOAT_EQ(o.shpSnpo[1].Left + o.shpSnpo[1].Width / 2, 120);
  o.lineDsSave = Collections{}.lineDsSave;  // no dimension lines: nothing stands
  RepairDistanceLinks(o);
  EXPECT_EQ(o.lblKyori.size(), 1u);
  EXPECT_EQ(o.lineHojoSave.size(), 1u);
  EXPECT_EQ(o.shpSnpo.size(), 1u);
}

}  // namespace
}  // namespace planimo::test
