#include "link/Reassembler.h"

namespace qarnis::link {
std::string MessageCounter::Next() { return {}; }
std::string BuildPacket(std::string_view, std::string_view) { return {}; }
std::vector<std::string> CutIntoSubPackets(std::string_view, std::string_view) { return {}; }
std::string FramePacket(std::string_view, std::string_view) { return {}; }
std::string EncodeHeader(const SubPacketHeader&) { return {}; }
void Reassembler::Feed(std::string_view, std::vector<Item>&) {}
void Reassembler::IdleTick() {}
}  // namespace qarnis::link
