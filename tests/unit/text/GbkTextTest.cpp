#include <gtest/gtest.h>

#include "text/GbkText.h"

namespace qarnis::text {
namespace {

const std::string kFieldSep = "\xA3\xAC\xA3\xAC\xA3\xAC\xA3\xAC\xA3\xAC";  // five full-width commas
const std::string kComma = "\xA3\xAC";

struct SplitCase {
  const char* name;
  std::string text;
  std::string separator;
  std::vector<std::string> pieces;
};

class SplitTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitTest, GivesThePiecesInOrder) {
  const SplitCase& c = GetParam();
  EXPECT_EQ(Split(c.text, c.separator), c.pieces);
  std::vector<std::string> fromViews;
  for (std::string_view v : SplitViews(c.text, c.separator)) fromViews.emplace_back(v);
  EXPECT_EQ(fromViews, c.pieces);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, SplitTest,
    ::testing::Values(
        SplitCase{"EmptyTextGivesNoPieces", "", "\r\n", {}},
        SplitCase{"NoSeparatorGivesWholeText", "abc", "\r\n", {"abc"}},
        SplitCase{"FinalSeparatorAddsNoPiece", "a\r\nb\r\n", "\r\n", {"a", "b"}},
        SplitCase{"AdjacentSeparatorsGiveEmptyPiece", "a\r\n\r\nb", "\r\n", {"a", "", "b"}},
        SplitCase{"LeadingSeparatorGivesEmptyFirstPiece", "^x", "^", {"", "x"}},
        SplitCase{"OnlySeparatorGivesOneEmptyPiece", "^", "^", {""}},
        SplitCase{"NothingIsTrimmed", " a , b ", ",", {" a ", " b "}},
        SplitCase{"FieldSepCut",
                  "SouCiDengLu" + kFieldSep + "A" + kFieldSep + kFieldSep + "C",
                  kFieldSep,
                  {"SouCiDengLu", "A", "", "C"}},
        // Six commas: the separator takes the first five, the sixth starts the next field.
        SplitCase{"SixCommasAreSeparatorThenComma", "K" + kFieldSep + kComma + "x", kFieldSep, {"K", kComma + "x"}},
        // "|" as the trail byte of a two-byte character (0x81 0x7C) is not a separator.
        SplitCase{"SeparatorOnlyAtCharacterStart", "a\x81|b|c", "|", {"a\x81|b", "c"}},
        // 0xA3 0xAC inside "X\xB0\xA3\xAC..." : the pair B0 A3 is one character, so A3 AC there is no comma.
        SplitCase{"CommaBytesStraddlingCharactersAreNoComma", "\xB0\xA3\xAC\xB0", kComma, {"\xB0\xA3\xAC\xB0"}},
        SplitCase{"MultiByteSeparator", "a|||||b||||c", "|||||", {"a", "b||||c"}}),
    [](const auto& info) { return info.param.name; });

TEST(GbkFind, MatchesOnlyAtCharacterBoundaries) {
  const std::string text = "\xB0\xA3\xAC" "ab" "\xA3\xAC";
  EXPECT_EQ(Find(text, kComma), 5u);
  EXPECT_FALSE(Contains(text, "ab"));  // 0xAC 0x61 is one character
  EXPECT_TRUE(Contains(text, "b"));
  EXPECT_FALSE(Contains("\x81|", "|"));
  EXPECT_EQ(Find("abcabc", "c", 3), 5u);
  EXPECT_EQ(Find("abc", "x"), std::string_view::npos);
  EXPECT_EQ(ReplaceAll("a b\xA1\xA0" "c", " ", ""), "ab\xA1\xA0" "c");
  EXPECT_EQ(ReplaceAll("\x81 x ", " ", ""), "\x81 x");  // the blank after 0x81 is its trail byte
}

TEST(GbkLength, PrefixNeverCutsACharacter) {
  const std::string nine = "\xC4\xE3\xC4\xE3\xC4\xE3\xC4\xE3\xC4\xE3\xC4\xE3\xC4\xE3\xC4\xE3\xC4\xE3";
  EXPECT_EQ(PrefixWithin(nine, 18), nine);
  EXPECT_EQ(PrefixWithin(nine + "\xC4\xE3", 18), nine);
  EXPECT_EQ(PrefixWithin("a\xC4\xE3", 2), "a");
  EXPECT_EQ(CharCount("a\xC4\xE3" "b"), 3u);
}

TEST(GbkConversion, RoundTripsChineseAndAscii) {
  const std::string utf8 = "欢迎登录Qarnis，，，，，赢半|||||走";
  const std::string gbk = Utf8ToGbk(utf8);
  EXPECT_EQ(gbk.substr(0, 8), "\xBB\xB6\xD3\xAD\xB5\xC7\xC2\xBC");
  EXPECT_EQ(GbkToUtf8(gbk), utf8);
}

TEST(GbkConversion, UndecodableBytesShowAsReplacementAndKeepTheirNeighbours) {
  // A lone lead byte at the end, and a lead byte followed by an invalid trail (0x7F).
  EXPECT_EQ(GbkToUtf8("a\xC4"), "a\xEF\xBF\xBD");
  EXPECT_EQ(GbkToUtf8("\xC4\x7F" "b"), "\xEF\xBF\xBD\x7F" "b");
  EXPECT_EQ(GbkToUtf8("\xFF" "x\xC4\xE3"), "\xEF\xBF\xBD" "x" "你");
}

TEST(GbkConversion, UnencodableCharactersBecomeQuestionMarks) {
  EXPECT_EQ(Utf8ToGbk("a😀b"), "a?b");
  EXPECT_EQ(Utf8ToGbk("a\xC3("), "a?(");  // malformed UTF-8
}

}  // namespace
}  // namespace qarnis::text
