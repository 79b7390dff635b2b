#include "settings/SettingsStore.h"

#include <sys/stat.h>

#include "settings/FileIo.h"
#include "text/GbkText.h"

namespace qarnis::settings {
namespace {

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

struct Line {
  std::string_view text;  // without its line end
  std::size_t begin;      // offset of the line in the file
  std::size_t end;        // offset just past its line end
};

std::vector<Line> Lines(std::string_view content) {
  std::vector<Line> lines;
  std::size_t pos = 0;
  while (pos < content.size()) {
    std::size_t nl = content.find('\n', pos);
    std::size_t end = nl == std::string_view::npos ? content.size() : nl + 1;
    std::string_view text = content.substr(pos, (nl == std::string_view::npos ? content.size() : nl) - pos);
    if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
    lines.push_back({text, pos, end});
    pos = end;
  }
  return lines;
}

// "[name]" -> name; empty optional-like result when the line is no section header.
bool SectionName(std::string_view line, std::string_view& name) {
  line = Trim(line);
  if (line.size() < 2 || line.front() != '[') return false;
  std::size_t close = line.find(']');
  if (close == std::string_view::npos) return false;
  name = Trim(line.substr(1, close - 1));
  return true;
}

bool KeyOf(std::string_view line, std::string_view& key, std::string_view& value) {
  std::size_t eq = line.find('=');
  if (eq == std::string_view::npos) return false;
  key = Trim(line.substr(0, eq));
  value = Trim(line.substr(eq + 1));
  return !key.empty();
}

}  // namespace

SettingsStore::SettingsStore(std::string path, std::string section)
    : path_(std::move(path)), section_(std::move(section)) {}

bool SettingsStore::FileExists() const {
  struct stat st {};
  return ::stat(path_.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string SettingsStore::ReadKey(std::string_view key) const {
  std::string content;
  if (!ReadWholeFile(path_, content)) return {};
  bool inSection = false;
  for (const Line& line : Lines(content)) {
    std::string_view name;
    if (SectionName(line.text, name)) {
      inSection = EqualsNoCase(name, section_);
      continue;
    }
    std::string_view k, v;
    if (inSection && KeyOf(line.text, k, v) && EqualsNoCase(k, key))
      return std::string(text::PrefixWithin(v, kValueBuffer - 1));
  }
  return {};
}

bool SettingsStore::WriteKey(std::string_view key, std::string_view value) const {
  std::string content;
  ReadWholeFile(path_, content);  // a missing file is simply empty
  const std::string entry = std::string(key) + "=" + std::string(value) + "\r\n";
  bool inSection = false;
  std::size_t sectionEnd = std::string::npos;  // where a new key of our section goes
  for (const Line& line : Lines(content)) {
    std::string_view name;
    if (SectionName(line.text, name)) {
      if (inSection) break;  // our section ended without the key
      inSection = EqualsNoCase(name, section_);
      if (inSection) sectionEnd = line.end;
      continue;
    }
    if (!inSection) continue;
    std::string_view k, v;
    if (KeyOf(line.text, k, v) && EqualsNoCase(k, key)) {
      content.replace(line.begin, line.end - line.begin, entry);
      return WriteWholeFileAtomically(path_, content);
    }
    if (!Trim(line.text).empty()) sectionEnd = line.end;
  }
  if (sectionEnd == std::string::npos) {
    if (!content.empty() && content.back() != '\n') content += "\r\n";
    content += "[" + section_ + "]\r\n" + entry;
  } else {
    if (sectionEnd > 0 && content[sectionEnd - 1] != '\n') {
      content.insert(sectionEnd, "\r\n");
      sectionEnd += 2;
    }
    content.insert(sectionEnd, entry);
  }
  return WriteWholeFileAtomically(path_, content);
}

}  // namespace qarnis::settings
