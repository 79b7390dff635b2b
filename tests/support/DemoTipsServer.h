#pragma once
// The demo tips server as a real peer for tests: started on a free loopback port, ready once it listens,
// ended by its PID when the object goes.
#include <memory>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "ToolProcess.h"

namespace qarnis::testing {

class DemoTipsServer {
 public:
  // Plays `script` (steps one per line, as `--help` of the server describes) against the first client, or
  // against every client when `everyClient`.
  static std::unique_ptr<DemoTipsServer> Scripted(const std::string& script, bool everyClient = false);
  // Serves accounts and tips like the demo, with its own accounts file.
  static std::unique_ptr<DemoTipsServer> Serving(std::vector<std::string> extraArgs = {});

  int Port() const { return port_; }
  // Every text the server received so far, as UTF-8, one entry per text (\r, \n and \\ escaped).
  std::vector<std::string> Received() const;
  // Waits until `count` texts were received, at most `timeoutMs`.
  bool WaitForReceived(std::size_t count, int timeoutMs = 10000) const;
  // Waits for the script to end; its exit status (0 = every step passed), or -1 on time-out.
  int WaitForExit(int timeoutMs = 20000);
  const TempFolder& Folder() const { return folder_; }

 private:
  DemoTipsServer(std::vector<std::string> args);
  TempFolder folder_;
  int port_ = 0;
  std::unique_ptr<ToolProcess> process_;
};

}  // namespace qarnis::testing
