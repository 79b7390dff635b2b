#include "ChimeWave.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace qarnis::chime {
namespace {

constexpr std::size_t kFrames = kDataBytes / (kChannels * kBitsPerSample / 8);  // 12,500
constexpr double kPi = 3.14159265358979323846;

struct Partial {
  double ratio;      // to the tone's fundamental
  double amplitude;  // relative
  double decay;      // seconds for the partial to fall to 1/e
};

// A soft bell: the fundamental rings longest, the upper partials give the strike its shine.
constexpr std::array<Partial, 4> kBell{
    {{1.0, 1.0, 0.42}, {2.0, 0.32, 0.20}, {3.01, 0.12, 0.11}, {4.2, 0.05, 0.06}}};

struct Tone {
  double start;  // seconds
  double pitch;  // Hz
  double gain;
  double left;  // share in the left channel, the rest goes right
};

// G5 then C6: a rising fourth reads as "something arrived", not as an alarm.
constexpr std::array<Tone, 2> kTones{{{0.0, 783.99, 0.85, 0.58}, {0.16, 1046.50, 1.0, 0.42}}};

constexpr double kAttack = 0.008;  // raised-cosine onset, no click
constexpr double kRelease = 0.08;  // final taper so the clip ends at silence
constexpr double kPeak = 0.6;      // of full scale

void PutLe16(std::vector<std::uint8_t>& out, std::uint16_t v) {
  out.push_back(static_cast<std::uint8_t>(v & 0xFF));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void PutLe32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>((v >> shift) & 0xFF));
}

void PutTag(std::vector<std::uint8_t>& out, const char (&tag)[5]) { out.insert(out.end(), tag, tag + 4); }

}  // namespace

std::vector<std::uint8_t> MakeChimeWav() {
  std::vector<double> left(kFrames, 0.0);
  std::vector<double> right(kFrames, 0.0);
  const double duration = static_cast<double>(kFrames) / kSampleRate;
  for (std::size_t i = 0; i < kFrames; ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    for (const Tone& tone : kTones) {
      const double local = t - tone.start;
      if (local < 0) continue;
      double value = 0;
      for (const Partial& p : kBell) {
        value += p.amplitude * std::exp(-local / p.decay) * std::sin(2 * kPi * tone.pitch * p.ratio * local);
      }
      const double onset = local < kAttack ? 0.5 - 0.5 * std::cos(kPi * local / kAttack) : 1.0;
      value *= tone.gain * onset;
      left[i] += value * tone.left;
      right[i] += value * (1.0 - tone.left);
    }
    const double tail = duration - t;
    if (tail < kRelease) {
      const double fade = std::max(0.0, tail - 1.0 / kSampleRate) / kRelease;
      left[i] *= fade;
      right[i] *= fade;
    }
  }

  double loudest = 0;
  for (std::size_t i = 0; i < kFrames; ++i)
    loudest = std::max({loudest, std::fabs(left[i]), std::fabs(right[i])});
  const double scale = loudest > 0 ? kPeak * 32767.0 / loudest : 0.0;

  std::vector<std::uint8_t> wav;
  wav.reserve(kFileBytes);
  PutTag(wav, "RIFF");
  PutLe32(wav, static_cast<std::uint32_t>(kFileBytes - 8));
  PutTag(wav, "WAVE");
  PutTag(wav, "fmt ");
  PutLe32(wav, 16);
  PutLe16(wav, 1);  // PCM
  PutLe16(wav, kChannels);
  PutLe32(wav, kSampleRate);
  PutLe32(wav, kSampleRate * kChannels * kBitsPerSample / 8);
  PutLe16(wav, kChannels * kBitsPerSample / 8);
  PutLe16(wav, kBitsPerSample);
  PutTag(wav, "data");
  PutLe32(wav, kDataBytes);
  for (std::size_t i = 0; i < kFrames; ++i) {
    for (double sample : {left[i], right[i]}) {
      const long rounded = std::lround(std::clamp(sample * scale, -32767.0, 32767.0));
      PutLe16(wav, static_cast<std::uint16_t>(static_cast<std::int16_t>(rounded)));
    }
  }
  return wav;
}

}  // namespace qarnis::chime
