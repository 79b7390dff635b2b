// Random byte streams, cut into reads at points taken from the input, with empty waits in between.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "link/Reassembler.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  qarnis::link::Reassembler r;
  std::vector<qarnis::link::Reassembler::Item> items;
  std::size_t at = 0;
  while (at < size) {
    const std::uint8_t control = data[at++];
    if ((control & 0xE0) == 0xE0) {
      for (int i = 0; i < (control & 0x1F); ++i) r.IdleTick();
      continue;
    }
    const std::size_t len = std::min<std::size_t>(size - at, (control + 1u) * 8u);
    r.Feed(std::string_view(reinterpret_cast<const char*>(data + at), len), items);
    at += len;
  }
  std::size_t total = 0;
  for (const auto& item : items) total += item.bytes.size();
  return total > size ? 1 : 0;  // never more text out than bytes in
}
