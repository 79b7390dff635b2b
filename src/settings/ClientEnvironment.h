#pragma once
// The one place that says where the client's files live and which hosts it talks to. The program takes the
// defaults; tests build their own environment pointing at a temporary folder and at loopback.
#include <array>
#include <cstdint>
#include <string>

namespace qarnis::settings {

inline constexpr std::uint16_t kTipsPort = 19828;
inline constexpr std::uint16_t kDemoFeedPort = 19829;

struct ClientEnvironment {
  std::string settingsFile;  // Winsetb.ini
  std::string historyFile;   // LTLiShiJiLu.txt
  std::string noticesFile;   // LTLiShiGongGao.txt
  std::array<std::string, 3> serverHosts;
  std::uint16_t tipsPort = kTipsPort;
  std::string liveHost;  // host or host:port of the live-score feeds

  // The user's XDG folders (config for the settings, data for the two text files, each in "qarnis"),
  // created with owner-only permissions, and the built-in hosts.
  static ClientEnvironment Defaults();
  // All three files in one folder (created when missing); hosts as in Defaults.
  static ClientEnvironment InFolder(const std::string& folder);

  // The optional settings keys "FWQ1".."FWQ3" and "BFZD" replace the built-in hosts when present and
  // non-empty. The client never writes them.
  void ApplyHostOverrides();
};

}  // namespace qarnis::settings
