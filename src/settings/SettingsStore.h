#pragma once
// The settings file: an INI file read and written one key at a time, every write stored at once.
// Section and key names match without regard to ASCII case; values are GBK bytes kept as they are.
#include <string>
#include <string_view>

namespace qarnis::settings {

inline constexpr std::string_view kSection = "set";
inline constexpr std::string_view kOn = "\xD5\xE6";   // "真"
inline constexpr std::string_view kOff = "\xBC\xD9";  // "假"
inline constexpr std::size_t kValueBuffer = 10240;    // a value is seen through this many bytes, less one

class SettingsStore {
 public:
  explicit SettingsStore(std::string path, std::string section = std::string(kSection));

  // The value, or the empty text when the file or the key is missing.
  std::string ReadKey(std::string_view key) const;
  // Stores the value at once: creates the file and the section when needed, replaces an existing key and
  // keeps every other line as it was. Returns false when the system refused the write.
  bool WriteKey(std::string_view key, std::string_view value) const;
  bool FileExists() const;
  // A flag is on exactly when its value equals "真".
  bool ReadFlag(std::string_view key) const { return ReadKey(key) == kOn; }

  const std::string& Path() const { return path_; }

 private:
  std::string path_;
  std::string section_;
};

}  // namespace qarnis::settings
