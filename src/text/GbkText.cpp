#include "text/GbkText.h"

#include <iconv.h>

#include <array>
#include <cstdint>
#include <mutex>
#include <unordered_map>

namespace qarnis::text {

std::size_t CharLength(std::string_view text, std::size_t pos) {
  if (pos + 1 < text.size() && IsLeadByte(static_cast<unsigned char>(text[pos]))) return 2;
  return 1;
}

std::size_t Find(std::string_view text, std::string_view needle, std::size_t from) {
  if (needle.empty()) return from <= text.size() ? from : std::string_view::npos;
  // Walk character by character from the start so that `from` in the middle of a pair cannot misalign us.
  std::size_t pos = 0;
  while (pos < from && pos < text.size()) pos += CharLength(text, pos);
  while (pos + needle.size() <= text.size()) {
    if (text.compare(pos, needle.size(), needle) == 0) return pos;
    pos += CharLength(text, pos);
  }
  return std::string_view::npos;
}

bool Contains(std::string_view text, std::string_view needle) {
  return Find(text, needle) != std::string_view::npos;
}

std::vector<std::string_view> SplitViews(std::string_view text, std::string_view separator) {
  std::vector<std::string_view> pieces;
  if (text.empty()) return pieces;
  if (separator.empty()) {
    pieces.push_back(text);
    return pieces;
  }
  std::size_t start = 0;
  std::size_t pos = 0;
  const std::size_t sepLen = separator.size();
  while (pos + sepLen <= text.size()) {
    if (text.compare(pos, sepLen, separator) == 0) {
      pieces.push_back(text.substr(start, pos - start));
      pos += sepLen;
      start = pos;
    } else {
      pos += CharLength(text, pos);
    }
  }
  if (start < text.size()) pieces.push_back(text.substr(start));
  return pieces;
}

std::vector<std::string> Split(std::string_view text, std::string_view separator) {
  std::vector<std::string> pieces;
  for (std::string_view piece : SplitViews(text, separator)) pieces.emplace_back(piece);
  return pieces;
}

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
  if (from.empty()) return std::string(text);
  std::string out;
  out.reserve(text.size());
  std::size_t pos = 0;
  while (true) {
    std::size_t hit = Find(text, from, pos);
    if (hit == std::string_view::npos) break;
    out.append(text.substr(pos, hit - pos));
    out.append(to);
    pos = hit + from.size();
  }
  out.append(text.substr(pos));
  return out;
}

std::string_view PrefixWithin(std::string_view text, std::size_t maxBytes) {
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t next = pos + CharLength(text, pos);
    if (next > maxBytes) break;
    pos = next;
  }
  return text.substr(0, pos);
}

std::size_t CharCount(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t pos = 0; pos < text.size(); pos += CharLength(text, pos)) ++count;
  return count;
}

namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr unsigned kTrailFirst = 0x40;
constexpr unsigned kTrailCount = 0xFF - kTrailFirst;  // trail bytes 0x40..0xFE
constexpr unsigned kLeadCount = 0xFF - 0x81;          // lead bytes 0x81..0xFE

// Decoding tables built once from iconv, so that converting thousands of list cells costs a lookup per
// character instead of an iconv call per text.
struct Tables {
  std::array<char32_t, 0x80> single{};                     // 0x80..0xFF as single bytes
  std::vector<char32_t> pairs;                             // [lead-0x81][trail-0x40]
  std::unordered_map<char32_t, std::uint16_t> encode;      // code point -> GBK (one or two bytes)
};

char32_t DecodeWithIconv(iconv_t cd, const char* bytes, std::size_t count) {
  char in[2] = {bytes[0], count > 1 ? bytes[1] : '\0'};
  char out[8];
  char* inPtr = in;
  std::size_t inLeft = count;
  char* outPtr = out;
  std::size_t outLeft = sizeof out;
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0 ||
      sizeof out - outLeft != 4)
    return kReplacement;
  const auto* u = reinterpret_cast<const unsigned char*>(out);
  return static_cast<char32_t>(u[0]) | static_cast<char32_t>(u[1]) << 8 | static_cast<char32_t>(u[2]) << 16 |
         static_cast<char32_t>(u[3]) << 24;
}

const Tables& GetTables() {
  static Tables tables;
  static std::once_flag once;
  std::call_once(once, [] {
    tables.pairs.assign(kLeadCount * kTrailCount, kReplacement);
    tables.single.fill(kReplacement);
    iconv_t cd = iconv_open("UTF-32LE", "GBK");
    if (cd == reinterpret_cast<iconv_t>(-1)) return;
    for (unsigned b = 0x80; b <= 0xFF; ++b) {
      const char byte = static_cast<char>(b);
      tables.single[b - 0x80] = DecodeWithIconv(cd, &byte, 1);
    }
    for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
      for (unsigned trail = kTrailFirst; trail <= 0xFE; ++trail) {
        if (trail == 0x7F) continue;
        const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
        char32_t cp = DecodeWithIconv(cd, pair, 2);
        tables.pairs[(lead - 0x81) * kTrailCount + (trail - kTrailFirst)] = cp;
        if (cp != kReplacement) tables.encode.emplace(cp, static_cast<std::uint16_t>(lead << 8 | trail));
      }
    }
    for (unsigned b = 0x80; b <= 0xFF; ++b) {
      char32_t cp = tables.single[b - 0x80];
      if (cp != kReplacement) tables.encode.emplace(cp, static_cast<std::uint16_t>(b));
    }
    iconv_close(cd);
  });
  return tables;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

// Reads one UTF-8 character at `pos`; returns its length, 0 when malformed.
std::size_t ReadUtf8(std::string_view s, std::size_t pos, char32_t& cp) {
  const auto b0 = static_cast<unsigned char>(s[pos]);
  std::size_t len = b0 < 0x80 ? 1 : (b0 >> 5) == 0x6 ? 2 : (b0 >> 4) == 0xE ? 3 : (b0 >> 3) == 0x1E ? 4 : 0;
  if (len == 0 || pos + len > s.size()) return 0;
  cp = len == 1 ? b0 : len == 2 ? (b0 & 0x1F) : len == 3 ? (b0 & 0x0F) : (b0 & 0x07);
  for (std::size_t i = 1; i < len; ++i) {
    const auto b = static_cast<unsigned char>(s[pos + i]);
    if ((b >> 6) != 0x2) return 0;
    cp = cp << 6 | (b & 0x3F);
  }
  static constexpr char32_t kMin[5] = {0, 0, 0x80, 0x800, 0x10000};
  if (cp < kMin[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return len;
}

}  // namespace

std::string GbkToUtf8(std::string_view gbk) {
  std::string out;
  out.reserve(gbk.size() * 3 / 2);
  const Tables* tables = nullptr;
  for (std::size_t pos = 0; pos < gbk.size();) {
    const auto b = static_cast<unsigned char>(gbk[pos]);
    if (b < 0x80) {
      out.push_back(static_cast<char>(b));
      ++pos;
      continue;
    }
    if (tables == nullptr) tables = &GetTables();
    const bool hasTrail = pos + 1 < gbk.size();
    const auto t = hasTrail ? static_cast<unsigned char>(gbk[pos + 1]) : 0u;
    if (b >= 0x81 && b <= 0xFE && hasTrail && t >= kTrailFirst && t <= 0xFE && t != 0x7F) {
      char32_t cp = tables->pairs[(b - 0x81) * kTrailCount + (t - kTrailFirst)];
      AppendUtf8(out, cp);
      pos += 2;
    } else {
      // Not a pair: decode the lone byte (0x80 is the euro sign) and let the next byte start afresh.
      AppendUtf8(out, tables->single[b - 0x80]);
      ++pos;
    }
  }
  return out;
}

std::string Utf8ToGbk(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  const Tables* tables = nullptr;
  for (std::size_t pos = 0; pos < utf8.size();) {
    const auto b = static_cast<unsigned char>(utf8[pos]);
    if (b < 0x80) {
      out.push_back(static_cast<char>(b));
      ++pos;
      continue;
    }
    if (tables == nullptr) tables = &GetTables();
    char32_t cp = 0;
    std::size_t len = ReadUtf8(utf8, pos, cp);
    if (len == 0) {
      out.push_back('?');
      ++pos;
      continue;
    }
    pos += len;
    auto it = tables->encode.find(cp);
    if (it == tables->encode.end()) {
      out.push_back('?');
    } else if (it->second > 0xFF) {
      out.push_back(static_cast<char>(it->second >> 8));
      out.push_back(static_cast<char>(it->second & 0xFF));
    } else {
      out.push_back(static_cast<char>(it->second));
    }
  }
  return out;
}

}  // namespace qarnis::text
