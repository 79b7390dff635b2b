#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/Reassembler.h"

namespace qarnis::link {
namespace {

using Kind = Reassembler::Item::Kind;

std::string Hex(std::string_view bytes) {
  static const char* d = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : bytes) {
    if (!out.empty()) out += ' ';
    out += d[c >> 4];
    out += d[c & 15];
  }
  return out;
}

std::string Sub(std::string_view number, std::uint32_t total, std::uint32_t index, std::string_view piece) {
  return EncodeHeader({std::string(number), total, index, static_cast<std::uint32_t>(piece.size())}) +
         std::string(piece);
}

TEST(Framing, FirstKeepAliveIsTheFortyTwoBytesOfTheWorkedExample) {
  MessageCounter counter;
  const std::string wire = FramePacket(counter.Next(), "cs");
  EXPECT_EQ(Hex(wire),
            "45 4D 53 47 30 30 31 31 16 00 00 00 00 00 00 00 16 00 00 00 " + Hex("<Msg0011>2</Msg0011>cs"));
  EXPECT_EQ(wire.size(), 42u);
}

TEST(Framing, CounterRunsFrom0011To9999ThenWrapsTo0010) {
  MessageCounter counter;
  std::vector<std::string> numbers;
  for (int i = 0; i < 9991; ++i) numbers.push_back(counter.Next());
  EXPECT_EQ(numbers[0], "0011");
  EXPECT_EQ(numbers[1], "0012");
  EXPECT_EQ(numbers[9988], "9999");  // the 9989th
  EXPECT_EQ(numbers[9989], "0010");  // the 9990th
  EXPECT_EQ(numbers[9990], "0011");
}

TEST(Framing, PacketOf8193BytesTravelsAsPieces8192And1) {
  // Envelope of a 8172-byte text: "<Msg0042>8172</Msg0042>" is 23 bytes -> 8195; aim for exactly 8193.
  const std::string text(8193 - 23, 'x');
  const std::string packet = BuildPacket("0042", text);
  ASSERT_EQ(packet.size(), 8193u);
  const std::vector<std::string> subs = CutIntoSubPackets("0042", packet);
  ASSERT_EQ(subs.size(), 2u);
  EXPECT_EQ(subs[0].size(), 20u + 8192u);
  EXPECT_EQ(subs[1].size(), 20u + 1u);
  EXPECT_EQ(Hex(subs[0].substr(8, 12)), "01 20 00 00 00 00 00 00 00 20 00 00");
  EXPECT_EQ(Hex(subs[1].substr(8, 12)), "01 20 00 00 01 00 00 00 01 00 00 00");

  Reassembler r;
  std::vector<Reassembler::Item> items;
  r.Feed(subs[0], items);
  EXPECT_TRUE(items.empty());
  r.Feed(subs[1], items);
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0].bytes, text);
}

// Streams fed to a fresh reassembler in the given chunks, and what must come out.
struct StreamCase {
  const char* name;
  std::vector<std::string> chunks;
  std::vector<std::pair<Kind, std::string>> expected;
  bool finished;
};

class ReassemblyCases : public ::testing::TestWithParam<StreamCase> {};

TEST_P(ReassemblyCases, YieldsExactlyTheExpectedItems) {
  const StreamCase& c = GetParam();
  Reassembler r;
  std::vector<Reassembler::Item> items;
  for (const std::string& chunk : c.chunks) r.Feed(chunk, items);
  std::vector<std::pair<Kind, std::string>> got;
  for (auto& i : items) got.emplace_back(i.kind, i.bytes);
  EXPECT_EQ(got, c.expected);
  EXPECT_EQ(r.Finished(), c.finished);
}

std::string Packet(std::string_view number, std::string_view text) { return BuildPacket(number, text); }
std::string Whole(std::string_view number, std::string_view text) { return FramePacket(number, text); }
std::string Bytes(std::size_t n, char c) { return std::string(n, c); }

const std::string kLong(9000, 'L');

INSTANTIATE_TEST_SUITE_P(
    Streams, ReassemblyCases,
    ::testing::Values(
        StreamCase{"OneText", {Whole("0011", "hello")}, {{Kind::Text, "hello"}}, false},
        StreamCase{"TwoSubPacketsInOneRead",
                   {Whole("0011", "first") + Whole("0012", "second")},
                   {{Kind::Text, "first"}, {Kind::Text, "second"}},
                   false},
        StreamCase{"ByteByByte",
                   [] {
                     std::vector<std::string> v;
                     for (char ch : Whole("0011", "slow")) v.emplace_back(1, ch);
                     return v;
                   }(),
                   {{Kind::Text, "slow"}},
                   false},
        StreamCase{"InterleavedPiecesOfTwoPacketsRestartEachOther",
                   [] {
                     const std::string a = Packet("0021", kLong), b = Packet("0022", kLong);
                     const auto sa = CutIntoSubPackets("0021", a), sb = CutIntoSubPackets("0022", b);
                     return std::vector<std::string>{sa[0] + sb[0] + sa[1] + sb[1]};
                   }(),
                   {},
                   false},
        StreamCase{"GarbageAtTheStartIsDiscardedAndTheLinkStays",
                   {Bytes(25, 'g'), Whole("0011", "after")},
                   {{Kind::Text, "after"}},
                   false},
        StreamCase{"GarbageAfterACompleteSubPacketEndsTheConnection",
                   {Whole("0011", "kept") + Bytes(20, 'g')},
                   {{Kind::Text, "kept"}, {Kind::ConnectionEnds, ""}},
                   true},
        StreamCase{"FewerThan20GarbageBytesAfterASubPacketWaitThenAreDiscarded",
                   {Whole("0011", "kept") + Bytes(19, 'g'), Bytes(5, 'g'), Whole("0012", "next")},
                   {{Kind::Text, "kept"}, {Kind::Text, "next"}},
                   false},
        StreamCase{"StatedLengthZeroIsACloseRequest",
                   {Sub("0123", 20, 0, "<Msg0123>0</Msg0123>") + Whole("0124", "ignored")},
                   {{Kind::CloseRequest, ""}},
                   true},
        StreamCase{"TextsBeforeACloseComeFirst",
                   {Whole("0011", "a") + Whole("0012", "b") + Sub("0123", 20, 0, "<Msg0123>0</Msg0123>")},
                   {{Kind::Text, "a"}, {Kind::Text, "b"}, {Kind::CloseRequest, ""}},
                   true},
        StreamCase{"TwoEnvelopesInOnePacket",
                   {[] {
                     const std::string p = Packet("0031", "one") + Packet("0032", "two");
                     return Sub("0031", static_cast<std::uint32_t>(p.size()), 0, p);
                   }()},
                   {{Kind::Text, "one"}, {Kind::Text, "two"}},
                   false},
        StreamCase{"EnvelopeWithNonDigitLengthIsDropped",
                   {Sub("0041", 22, 0, "<Msg0041>x</Msg0041>ab") + Whole("0042", "ok")},
                   {{Kind::Text, "ok"}},
                   false},
        StreamCase{"StatedLengthBeyondThePacketIsDropped",
                   {Sub("0041", 22, 0, "<Msg0041>9</Msg0041>ab") + Whole("0042", "ok")},
                   {{Kind::Text, "ok"}},
                   false},
        StreamCase{"TextWithAZeroByteIsKeptWhole",
                   {Whole("0011", std::string("ab\0cd", 5))},
                   {{Kind::Text, std::string("ab\0cd", 5)}},
                   false},
        StreamCase{"PieceLengthZeroIsGarbage",
                   {Sub("0011", 5, 0, ""), Whole("0012", "ok")},
                   {{Kind::Text, "ok"}},
                   false},
        StreamCase{"PieceLengthAbove8192IsGarbage",
                   {EncodeHeader({"0011", 9000, 0, 8193}) + Bytes(100, 'p'), Whole("0012", "ok")},
                   {{Kind::Text, "ok"}},
                   false},
        StreamCase{
            "TotalAbove64MiBIsGarbage",
            {EncodeHeader({"0011", 64u * 1024u * 1024u + 1u, 0, 10}) + Bytes(10, 'p'), Whole("0012", "ok")},
            {{Kind::Text, "ok"}},
            false},
        StreamCase{"PiecesBeyondTheTotalStartAfresh",
                   {Sub("0011", 3, 0, "<Msg0011>2</Msg0011>zz"), Whole("0012", "ok")},
                   {{Kind::Text, "ok"}},
                   false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Reassembly, StalledCollectionIsDiscardedAfterMoreThan20EmptyWaits) {
  struct Case {
    int ticks;
    bool delivered;
  };
  for (const Case c : {Case{20, true}, Case{21, false}}) {
    const std::string packet = BuildPacket("0051", kLong);
    const auto subs = CutIntoSubPackets("0051", packet);
    Reassembler r;
    std::vector<Reassembler::Item> items;
    r.Feed(subs[0] + subs[1].substr(0, 10), items);
    for (int i = 0; i < c.ticks; ++i) r.IdleTick();
    r.Feed(subs[1].substr(10), items);
    EXPECT_EQ(items.size(), c.delivered ? 1u : 0u) << c.ticks << " ticks";
    EXPECT_FALSE(r.Finished());
    // The link goes on: the next packet arrives whole.
    r.Feed(FramePacket("0052", "next"), items);
    ASSERT_FALSE(items.empty());
    EXPECT_EQ(items.back().bytes, "next");
  }
}

TEST(Reassembly, HostileHeaderNeverMakesItHoldMoreThanWhatArrived) {
  Reassembler r;
  std::vector<Reassembler::Item> items;
  // A header promising 64 MiB and feeding only small pieces: memory follows the bytes, not the promise.
  const std::uint32_t total = 64u * 1024u * 1024u;
  for (std::uint32_t i = 0; i < 50; ++i) r.Feed(Sub("0061", total, i, std::string(8192, 'h')), items);
  EXPECT_TRUE(items.empty());
  EXPECT_EQ(r.CollectedBytes(), 50u * 8192u);
  EXPECT_LE(r.PendingBytes(), kHeaderSize + kMaxPieceSize);
}

TEST(Reassembly, BurstOf200TextsComesOutInOrder) {
  std::string stream;
  MessageCounter counter;
  for (int i = 0; i < 200; ++i) stream += FramePacket(counter.Next(), "text " + std::to_string(i));
  Reassembler r;
  std::vector<Reassembler::Item> items;
  for (std::size_t at = 0; at < stream.size(); at += kReadChunkSize)
    r.Feed(stream.substr(at, kReadChunkSize), items);
  ASSERT_EQ(items.size(), 200u);
  for (int i = 0; i < 200; ++i)
    EXPECT_EQ(items[static_cast<std::size_t>(i)].bytes, "text " + std::to_string(i));
}

}  // namespace
}  // namespace qarnis::link
