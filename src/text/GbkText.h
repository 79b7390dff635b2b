#pragma once
// GBK byte strings: every text of the wire, the settings file and the local files is held as the bytes it
// arrived as. These helpers search, split and measure such texts without ever cutting a two-byte character.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qarnis::text {

// A byte of 0x80 or more begins a two-byte character.
constexpr bool IsLeadByte(unsigned char byte) { return byte >= 0x80; }

// Bytes taken by the character that begins at `pos` (1 or 2; 1 for a lead byte at the very end).
std::size_t CharLength(std::string_view text, std::size_t pos);

// The pieces between `separator`s, in order. Adjacent separators give an empty piece, a final separator adds
// none, an empty text gives none, and a separator is matched only where a character begins. Nothing is trimmed.
std::vector<std::string> Split(std::string_view text, std::string_view separator);

// Like Split, but the pieces are views into `text` (no copies), for hot paths.
std::vector<std::string_view> SplitViews(std::string_view text, std::string_view separator);

// Position of the first `needle` at or after `from` that starts on a character boundary; npos when none.
std::size_t Find(std::string_view text, std::string_view needle, std::size_t from = 0);
bool Contains(std::string_view text, std::string_view needle);
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);

// Longest prefix of at most `maxBytes` bytes that ends on a character boundary.
std::string_view PrefixWithin(std::string_view text, std::size_t maxBytes);

// Number of characters (a two-byte character counts once).
std::size_t CharCount(std::string_view text);

// GBK (code page 936) to UTF-8. A byte pair or byte that is not GBK shows as U+FFFD; nothing is dropped
// silently, so every valid character keeps its place.
std::string GbkToUtf8(std::string_view gbk);

// UTF-8 to GBK. A character GBK cannot hold, or a malformed UTF-8 sequence, becomes "?".
std::string Utf8ToGbk(std::string_view utf8);

}  // namespace qarnis::text
