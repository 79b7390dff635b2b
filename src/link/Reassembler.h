#pragma once
// The link's framing: a text travels in a packet (an envelope "<MsgNNNN>len</MsgNNNN>" and the text), cut
// into sub-packets of at most 8192 bytes behind a 20-byte header. The Reassembler turns a received byte
// stream back into texts; it knows nothing of sockets so tests and the fuzzer feed it directly.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qarnis::link {

inline constexpr std::size_t kHeaderSize = 20;
inline constexpr std::size_t kMaxPieceSize = 8192;
// Far above any packet the server sends; a header claiming more is treated as garbage.
inline constexpr std::size_t kMaxPacketSize = 64u * 1024u * 1024u;
inline constexpr std::size_t kReadChunkSize = 10240;
// More empty waits in a row than this discard a collection that has stalled.
inline constexpr int kMaxIdleWaits = 20;

// Numbers the packets sent: starts at 10, the first number is "0011", after "9999" comes "0010".
class MessageCounter {
 public:
  explicit MessageCounter(int start = 10) : value_(start) {}
  std::string Next();  // four ASCII digits
  int Value() const { return value_; }

 private:
  int value_;
};

// "<Msg" number ">" length "</Msg" number ">" followed by the text.
std::string BuildPacket(std::string_view number, std::string_view text);
// The packet cut into sub-packets (header + piece), in order.
std::vector<std::string> CutIntoSubPackets(std::string_view number, std::string_view packet);
// All sub-packets of the text's packet, concatenated: the bytes that go on the wire.
std::string FramePacket(std::string_view number, std::string_view text);

struct SubPacketHeader {
  std::string number;  // 4 bytes as received
  std::uint32_t total = 0;
  std::uint32_t index = 0;
  std::uint32_t length = 0;
};
std::string EncodeHeader(const SubPacketHeader& header);

class Reassembler {
 public:
  struct Item {
    enum class Kind {
      Text,            // a received text
      CloseRequest,    // a packet of stated length 0: the server asks to close
      ConnectionEnds,  // garbage after a complete sub-packet: the stream can no longer be trusted
    };
    Kind kind = Kind::Text;
    std::string bytes;
  };

  // Feeds bytes read from the stream; appends what they complete to `out`, in order. After a CloseRequest
  // or ConnectionEnds the reassembler is finished and ignores all further input.
  void Feed(std::string_view bytes, std::vector<Item>& out);
  // One wait for data that ended empty. More than kMaxIdleWaits in a row discard the pending bytes and the
  // pieces collected so far.
  void IdleTick();

  bool Finished() const { return finished_; }
  std::size_t PendingBytes() const { return pending_.size(); }
  std::size_t CollectedBytes() const { return collected_.size(); }

 private:
  void DiscardAll();
  void TakePiece(const SubPacketHeader& header, std::string_view piece, std::vector<Item>& out);
  void OpenPacket(std::string&& packet, std::vector<Item>& out);

  std::string pending_;
  std::string collected_;
  bool collecting_ = false;
  std::string lastNumber_;
  std::uint32_t lastIndex_ = 0;
  int idleWaits_ = 0;
  bool finished_ = false;
};

}  // namespace qarnis::link
