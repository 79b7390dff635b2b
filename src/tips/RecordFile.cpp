#include "tips/RecordFile.h"

#include <sys/stat.h>

#include "settings/FileIo.h"
#include "text/GbkText.h"
#include "tips/TipRecords.h"

namespace qarnis::tips {

namespace {
bool Exists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}
}  // namespace

std::string RecordFile::Read() const {
  std::string content;
  settings::ReadWholeFile(path_, content);
  return content;
}

bool RecordFile::Prepend(std::string_view text) const {
  std::string previous;
  // Only a missing file counts as empty; an unreadable one must not be replaced by the push alone.
  if (!settings::ReadWholeFile(path_, previous) && Exists(path_)) return false;
  std::string content;
  content.reserve(text.size() + kLineBreak.size() + previous.size());
  content.append(text).append(kLineBreak).append(previous);
  return settings::WriteWholeFileAtomically(path_, content);
}

bool RecordFile::Replace(std::string_view content) const {
  return settings::WriteWholeFileAtomically(path_, std::string(content));
}

std::string FirstLines(std::string_view content, std::size_t limit) {
  const std::vector<std::string_view> lines = text::SplitViews(content, kLineBreak);
  const std::size_t count = (limit == 0 || lines.size() < limit) ? lines.size() : limit;
  std::string out;
  for (std::size_t i = 0; i < count; ++i) out.append(lines[i]).append(kLineBreak);
  return out;
}

}  // namespace qarnis::tips
