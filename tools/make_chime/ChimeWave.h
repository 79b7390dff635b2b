#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace qarnis::chime {

// The notification chime's format: PCM, stereo, 11,025 frames per second, 16-bit samples.
inline constexpr std::uint16_t kChannels = 2;
inline constexpr std::uint32_t kSampleRate = 11025;
inline constexpr std::uint16_t kBitsPerSample = 16;
inline constexpr std::uint32_t kDataBytes = 50000;
inline constexpr std::size_t kHeaderBytes = 44;
inline constexpr std::size_t kFileBytes = kHeaderBytes + kDataBytes;  // 50,044

// The whole RIFF/WAVE file of the chime: two soft bell tones, rising a fourth, decaying to silence.
std::vector<std::uint8_t> MakeChimeWav();

}  // namespace qarnis::chime
