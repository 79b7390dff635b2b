#include "live/HandicapWords.h"

#include <gtest/gtest.h>

#include "text/GbkText.h"

namespace qarnis::live {
namespace {

struct WordsCase {
  const char* input;
  const char* handicap;   // UTF-8
  const char* overUnder;  // UTF-8
};

class HandicapWordsTest : public ::testing::TestWithParam<WordsCase> {};

TEST_P(HandicapWordsTest, GivesTheWordsOfTheLine) {
  const WordsCase& c = GetParam();
  EXPECT_EQ(text::GbkToUtf8(Goal2GoalCn(c.input)), c.handicap) << "input '" << c.input << "'";
  EXPECT_EQ(text::GbkToUtf8(Goal2GoalCn2(c.input)), c.overUnder) << "input '" << c.input << "'";
}

INSTANTIATE_TEST_SUITE_P(
    WorkedResults, HandicapWordsTest,
    ::testing::Values(WordsCase{"0", "平手", ""}, WordsCase{"0.25", "平/半", "0/0.5"},
                      WordsCase{"0.75", "半/一", "0.5/1"}, WordsCase{"1.5", "球半", "1.5"},
                      WordsCase{"2.75", "两球半/三", "2.5/3"}, WordsCase{"-0.25", "受平/半", ""},
                      WordsCase{"-0.1", "受平手", "0"}, WordsCase{"0.3", "平/半", "0/0.5"},
                      WordsCase{"10", "十球", "10"}, WordsCase{"-10", "受十球", ""},
                      WordsCase{"10.25", "10.25球", "10/10.5"}, WordsCase{"-10.5", "-10.5球", ""},
                      WordsCase{"14", "14球", "14"}, WordsCase{"14.5", "14.5球", "14.5球"},
                      WordsCase{"", "", ""}));

INSTANTIATE_TEST_SUITE_P(
    EdgeCases, HandicapWordsTest,
    ::testing::Values(
        // The irregular entries of the words table.
        WordsCase{"3.75", "三球半/四球", "3.5/4"}, WordsCase{"4.75", "四球半/五", "4.5/5"},
        WordsCase{"2", "两球", "2"}, WordsCase{"2.25", "两/两球半", "2/2.5"},
        WordsCase{"9.75", "九球半/十", "9.5/10"},
        // Between the quarter steps a line falls to the step nearer zero.
        WordsCase{"1.6", "球半", "1.5"}, WordsCase{"-1.6", "受球半", ""},
        // The bounds are exclusive; the ball form writes the value, not the input's digits.
        WordsCase{"-10.25", "-10.25球", ""}, WordsCase{"10.50", "10.5球", "10.5"},
        WordsCase{"12.0", "12球", "12"}, WordsCase{"14.25", "14.25球", "14.25球"},
        WordsCase{"13.75", "13.75球", "13.5/14"}, WordsCase{"-0", "平手", ""}, WordsCase{"0.00", "平手", ""},
        WordsCase{"-0.24", "受平手", "0"},
        WordsCase{"123456789012345678901234567890", "123456789012345677877719597056球",
                  "123456789012345677877719597056球"},
        // Anything but a plain decimal number is no line at all.
        WordsCase{"abc", "", ""}, WordsCase{"+1", "", ""}, WordsCase{"1e2", "", ""}, WordsCase{".5", "", ""},
        WordsCase{"5.", "", ""}, WordsCase{"-", "", ""}, WordsCase{"1.5x", "", ""}, WordsCase{"1,5", "", ""},
        WordsCase{"0x10", "", ""}, WordsCase{"1..5", "", ""}));

}  // namespace
}  // namespace qarnis::live
