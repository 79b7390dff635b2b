#pragma once
// Whole-file read and write for the local files. A rewrite is atomic: the new content goes to a temporary
// file in the same folder, is flushed, and then replaces the old file, so a crash or a full disk never
// leaves a half-written file behind.
#include <string>

namespace qarnis::settings {

// False when the file cannot be read (a missing file included); `content` is then empty.
bool ReadWholeFile(const std::string& path, std::string& content);
// False when anything fails; the previous file is then left as it was, byte for byte.
bool WriteWholeFileAtomically(const std::string& path, const std::string& content);
// Creates the folder and its missing parents; new folders get owner-only permissions.
bool EnsureFolder(const std::string& path);

}  // namespace qarnis::settings
