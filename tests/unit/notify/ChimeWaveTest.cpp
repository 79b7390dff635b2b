#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "ChimeWave.h"

namespace {

using qarnis::chime::MakeChimeWav;

std::uint32_t Le(const std::vector<std::uint8_t>& b, std::size_t at, int bytes) {
  std::uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | b.at(at + static_cast<std::size_t>(i));
  return v;
}

struct Frame {
  int left;
  int right;
};

std::vector<Frame> Frames(const std::vector<std::uint8_t>& wav) {
  std::vector<Frame> frames;
  for (std::size_t at = 44; at + 4 <= wav.size(); at += 4) {
    frames.push_back(
        {static_cast<std::int16_t>(Le(wav, at, 2)), static_cast<std::int16_t>(Le(wav, at + 2, 2))});
  }
  return frames;
}

TEST(ChimeWave, RiffHeaderDescribesStereo16BitPcmAt11025) {
  const auto wav = MakeChimeWav();
  ASSERT_EQ(wav.size(), 50044u);
  struct Tag {
    std::size_t at;
    const char* text;
  };
  for (const Tag& tag : {Tag{0, "RIFF"}, Tag{8, "WAVE"}, Tag{12, "fmt "}, Tag{36, "data"}}) {
    EXPECT_EQ(std::string(wav.begin() + tag.at, wav.begin() + tag.at + 4), tag.text) << "at " << tag.at;
  }
  struct Field {
    std::size_t at;
    int bytes;
    std::uint32_t expected;
    const char* what;
  };
  const std::vector<Field> fields = {
      {4, 4, 50036, "RIFF size"}, {16, 4, 16, "fmt size"},       {20, 2, 1, "PCM"},
      {22, 2, 2, "channels"},     {24, 4, 11025, "sample rate"}, {28, 4, 44100, "byte rate"},
      {32, 2, 4, "block align"},  {34, 2, 16, "bits"},           {40, 4, 50000, "data size"},
  };
  for (const Field& f : fields) EXPECT_EQ(Le(wav, f.at, f.bytes), f.expected) << f.what;
}

TEST(ChimeWave, IsAudibleUnclippedAndStartsAndEndsInSilence) {
  const auto frames = Frames(MakeChimeWav());
  ASSERT_EQ(frames.size(), 12500u);
  int peak = 0;
  for (const Frame& f : frames) peak = std::max({peak, std::abs(f.left), std::abs(f.right)});
  EXPECT_GT(peak, 32767 / 3) << "too quiet to notice";
  EXPECT_LT(peak, 32767 * 3 / 4) << "leaves no headroom";

  EXPECT_EQ(frames.front().left, 0);
  EXPECT_EQ(frames.front().right, 0);
  // A soft attack: the first 2 ms stay well below the peak, so the clip does not click in.
  for (std::size_t i = 0; i < 22; ++i) EXPECT_LT(std::abs(frames[i].left), peak / 4) << "frame " << i;
  // The clip ends at silence, so stopping after the last frame does not click either.
  for (std::size_t i = frames.size() - 10; i < frames.size(); ++i) {
    EXPECT_LT(std::abs(frames[i].left), 200) << "frame " << i;
    EXPECT_LT(std::abs(frames[i].right), 200) << "frame " << i;
  }
}

TEST(ChimeWave, DecaysAndUsesBothChannels) {
  const auto frames = Frames(MakeChimeWav());
  auto loudest = [&](std::size_t from, std::size_t to) {
    int peak = 0;
    for (std::size_t i = from; i < to; ++i)
      peak = std::max({peak, std::abs(frames[i].left), std::abs(frames[i].right)});
    return peak;
  };
  EXPECT_GT(loudest(1500, 4000), 2 * loudest(9000, 11000)) << "a chime rings out rather than holding";
  int differing = 0;
  for (const Frame& f : frames) differing += f.left != f.right ? 1 : 0;
  EXPECT_GT(differing, 1000) << "two channels carrying the same samples";
  EXPECT_EQ(MakeChimeWav(), MakeChimeWav()) << "the build must give the same clip every time";
}

}  // namespace
