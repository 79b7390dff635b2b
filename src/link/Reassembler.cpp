#include "link/Reassembler.h"

#include <algorithm>
#include <cstdio>

namespace qarnis::link {
namespace {

constexpr std::string_view kMagic = "EMSG";

void PutU32(std::string& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

std::uint32_t GetU32(std::string_view bytes, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i)
    v = (v << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
  return v;
}

}  // namespace

std::string MessageCounter::Next() {
  ++value_;
  if (value_ > 9999) value_ = 10;
  char digits[16];
  std::snprintf(digits, sizeof digits, "%04d", value_);
  std::string s(digits);
  return s.substr(s.size() - 4);
}

std::string BuildPacket(std::string_view number, std::string_view text) {
  std::string packet;
  const std::string length = std::to_string(text.size());
  packet.reserve(19 + length.size() + text.size());
  packet += "<Msg";
  packet += number;
  packet += '>';
  packet += length;
  packet += "</Msg";
  packet += number;
  packet += '>';
  packet += text;
  return packet;
}

std::string EncodeHeader(const SubPacketHeader& header) {
  std::string out(kMagic);
  std::string number = header.number;
  number.resize(4, '0');
  out += number;
  PutU32(out, header.total);
  PutU32(out, header.index);
  PutU32(out, header.length);
  return out;
}

std::vector<std::string> CutIntoSubPackets(std::string_view number, std::string_view packet) {
  std::vector<std::string> out;
  SubPacketHeader header;
  header.number = std::string(number);
  header.total = static_cast<std::uint32_t>(packet.size());
  for (std::size_t at = 0; at < packet.size(); at += kMaxPieceSize) {
    const std::string_view piece = packet.substr(at, kMaxPieceSize);
    header.length = static_cast<std::uint32_t>(piece.size());
    std::string sub = EncodeHeader(header);
    sub += piece;
    out.push_back(std::move(sub));
    ++header.index;
  }
  return out;
}

std::string FramePacket(std::string_view number, std::string_view text) {
  // Built in one buffer: the texts can be large and are framed on the sender's hot path.
  const std::string length = std::to_string(text.size());
  std::string envelope;
  envelope.reserve(19 + length.size() + 2 * number.size());
  envelope.append("<Msg").append(number).append(">").append(length).append("</Msg").append(number).append(
      ">");
  std::string wire;
  const std::size_t packetSize = envelope.size() + text.size();
  wire.reserve(packetSize + kHeaderSize * (packetSize / kMaxPieceSize + 1));
  SubPacketHeader header;
  header.number = std::string(number);
  header.total = static_cast<std::uint32_t>(envelope.size() + text.size());
  std::size_t at = 0;
  while (at < packetSize) {
    const std::size_t n = std::min(kMaxPieceSize, packetSize - at);
    header.length = static_cast<std::uint32_t>(n);
    wire += EncodeHeader(header);
    for (std::size_t i = at; i < at + n;) {  // the piece may straddle the envelope and the text
      if (i < envelope.size()) {
        const std::size_t k = std::min(envelope.size(), at + n) - i;
        wire.append(envelope, i, k);
        i += k;
      } else {
        const std::size_t k = at + n - i;
        wire.append(text.substr(i - envelope.size(), k));
        i += k;
      }
    }
    at += n;
    ++header.index;
  }
  return wire;
}

void Reassembler::DiscardAll() {
  pending_.clear();
  collected_.clear();
  collecting_ = false;
}

void Reassembler::IdleTick() {
  if (finished_) return;
  if (++idleWaits_ > kMaxIdleWaits) {
    DiscardAll();
    idleWaits_ = 0;
  }
}

void Reassembler::Feed(std::string_view bytes, std::vector<Item>& out) {
  if (finished_ || bytes.empty()) return;
  idleWaits_ = 0;
  // Work on the new bytes in place when nothing is pending; only an unfinished tail is copied.
  std::string_view stream = bytes;
  if (!pending_.empty()) {
    pending_.append(bytes);
    stream = pending_;
  }
  bool afterCompleteSubPacket = false;
  bool discard = false;
  std::size_t at = 0;
  while (!finished_ && stream.size() - at >= kHeaderSize) {
    const std::string_view rest = stream.substr(at);
    if (rest.substr(0, 4) != kMagic) {
      if (afterCompleteSubPacket) {
        finished_ = true;
        out.push_back({Item::Kind::ConnectionEnds, {}});
      } else {
        discard = true;
      }
      break;
    }
    SubPacketHeader header;
    header.number = std::string(rest.substr(4, 4));
    header.total = GetU32(rest, 8);
    header.index = GetU32(rest, 12);
    header.length = GetU32(rest, 16);
    // A header no sender of ours would write: drop it like garbage before trusting its numbers.
    if (header.length == 0 || header.length > kMaxPieceSize || header.total > kMaxPacketSize) {
      discard = true;
      break;
    }
    if (rest.size() < kHeaderSize + header.length) break;  // wait for the rest of the piece
    TakePiece(header, rest.substr(kHeaderSize, header.length), out);
    at += kHeaderSize + header.length;
    afterCompleteSubPacket = true;
    idleWaits_ = 0;
  }
  if (finished_ || discard) {
    DiscardAll();
  } else if (stream.data() == pending_.data()) {
    pending_.erase(0, at);
  } else {
    pending_.assign(stream.substr(at));
  }
}

void Reassembler::TakePiece(const SubPacketHeader& header, std::string_view piece, std::vector<Item>& out) {
  const bool continues = collecting_ && header.number == lastNumber_ && header.index == lastIndex_ + 1;
  if (!continues) collected_.clear();
  collecting_ = true;
  lastNumber_ = header.number;
  lastIndex_ = header.index;
  collected_.append(piece);
  if (collected_.size() < header.total) return;
  if (collected_.size() == header.total) {
    std::string packet = std::move(collected_);
    collected_.clear();
    collecting_ = false;
    OpenPacket(std::move(packet), out);
  } else {
    // More bytes than the header's total can never complete; start afresh rather than grow.
    collected_.clear();
    collecting_ = false;
  }
}

void Reassembler::OpenPacket(std::string&& whole, std::vector<Item>& out) {
  std::string_view packet = whole;
  while (packet.size() >= 20 && packet.substr(0, 4) == "<Msg") {
    std::size_t pos = 9;
    std::uint64_t length = 0;
    std::size_t digits = 0;
    bool valid = true;
    while (pos < packet.size() && packet[pos] != '<') {
      const char c = packet[pos];
      if (c < '0' || c > '9') {
        valid = false;
        break;
      }
      length = length * 10 + static_cast<std::uint64_t>(c - '0');
      if (length > packet.size()) {  // cannot fit; also keeps the sum below from overflowing
        valid = false;
        break;
      }
      ++digits;
      ++pos;
    }
    if (!valid || pos >= packet.size()) return;
    const std::size_t envelope = 19 + digits;
    if (packet.size() < envelope || packet.size() - envelope < length) return;
    if (length == 0) {
      finished_ = true;
      out.push_back({Item::Kind::CloseRequest, {}});
      return;
    }
    if (packet.size() == envelope + length && packet.data() == whole.data()) {
      // The usual case, one text per packet: hand over the buffer instead of copying a large text.
      whole.erase(0, envelope);
      out.push_back({Item::Kind::Text, std::move(whole)});
      return;
    }
    out.push_back({Item::Kind::Text, std::string(packet.substr(envelope, length))});
    packet.remove_prefix(envelope + length);
  }
}

}  // namespace qarnis::link
