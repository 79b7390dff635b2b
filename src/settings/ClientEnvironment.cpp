#include "settings/ClientEnvironment.h"

#include <cstdlib>

#include "settings/FileIo.h"
#include "settings/SettingsStore.h"

namespace qarnis::settings {
namespace {

constexpr const char* kSettingsName = "Winsetb.ini";
constexpr const char* kHistoryName = "LTLiShiJiLu.txt";
constexpr const char* kNoticesName = "LTLiShiGongGao.txt";

std::string XdgFolder(const char* variable, const char* fallbackUnderHome) {
  const char* value = std::getenv(variable);
  if (value != nullptr && value[0] == '/') return value;
  const char* home = std::getenv("HOME");
  return std::string(home != nullptr && home[0] != '\0' ? home : "/tmp") + "/" + fallbackUnderHome;
}

void SetBuiltInHosts(ClientEnvironment& env) {
  // The demo tips server runs on this machine; the other two are spares the user may point elsewhere.
  env.serverHosts = {"127.0.0.1", "localhost", "127.0.0.2"};
  env.liveHost = "127.0.0.1:" + std::to_string(kDemoFeedPort);
}

}  // namespace

ClientEnvironment ClientEnvironment::Defaults() {
  ClientEnvironment env;
  const std::string config = XdgFolder("XDG_CONFIG_HOME", ".config") + "/qarnis";
  const std::string data = XdgFolder("XDG_DATA_HOME", ".local/share") + "/qarnis";
  EnsureFolder(config);
  EnsureFolder(data);
  env.settingsFile = config + "/" + kSettingsName;
  env.historyFile = data + "/" + kHistoryName;
  env.noticesFile = data + "/" + kNoticesName;
  SetBuiltInHosts(env);
  return env;
}

ClientEnvironment ClientEnvironment::InFolder(const std::string& folder) {
  ClientEnvironment env;
  EnsureFolder(folder);
  env.settingsFile = folder + "/" + kSettingsName;
  env.historyFile = folder + "/" + kHistoryName;
  env.noticesFile = folder + "/" + kNoticesName;
  SetBuiltInHosts(env);
  return env;
}

void ClientEnvironment::ApplyHostOverrides() {
  SettingsStore store(settingsFile);
  static constexpr const char* kHostKeys[3] = {"FWQ1", "FWQ2", "FWQ3"};
  for (std::size_t i = 0; i < serverHosts.size(); ++i) {
    std::string host = store.ReadKey(kHostKeys[i]);
    if (!host.empty()) serverHosts[i] = host;
  }
  std::string live = store.ReadKey("BFZD");
  if (!live.empty()) liveHost = live;
}

}  // namespace qarnis::settings
