#pragma once
// The history file and the notices file: GBK text, one record per line, lines ended by CR LF, newest first.
// Every rewrite goes through an atomic replace, so a failed write leaves the previous file byte for byte.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qarnis::tips {

class RecordFile {
 public:
  explicit RecordFile(std::string path) : path_(std::move(path)) {}

  const std::string& Path() const { return path_; }

  // The whole content; a missing or unreadable file reads as empty.
  std::string Read() const;
  // Puts `text` and CR LF in front of the whole previous content. False when the file was not rewritten.
  bool Prepend(std::string_view text) const;
  // Replaces the whole file by `content`, exactly as given. False when the file was not rewritten.
  bool Replace(std::string_view content) const;

 private:
  std::string path_;
};

// The first `limit` lines of `content` (all when fewer), each followed by CR LF; limit 0 means every line.
std::string FirstLines(std::string_view content, std::size_t limit);

}  // namespace qarnis::tips
