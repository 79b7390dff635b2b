#pragma once
#include <sys/types.h>

#include <string>
#include <vector>

namespace qarnis::testing {

// Path of a demo tool built beside the tests (the test runner sets QARNIS_TOOLS_DIR).
std::string ToolPath(const std::string& name);
// The source tree (QARNIS_SOURCE_DIR), for fixtures kept in the repository.
std::string SourcePath(const std::string& relative);

// A child process started by the test and ended, by its own PID, when this object goes.
class ToolProcess {
 public:
  ToolProcess(const std::string& program, const std::vector<std::string>& args);
  ~ToolProcess();
  ToolProcess(const ToolProcess&) = delete;
  ToolProcess& operator=(const ToolProcess&) = delete;

  pid_t Pid() const { return pid_; }
  bool Running();
  // Sends SIGTERM and waits for the child; returns its exit status (or -1).
  int Stop();
  // The exit status seen when Running() found the child ended (-1 when killed by a signal).
  int LastStatus() const { return lastStatus_; }

 private:
  pid_t pid_ = -1;
  int lastStatus_ = -1;
};

// Waits until a TCP connect to 127.0.0.1:port succeeds, at most `timeoutMs`.
bool WaitForPort(int port, int timeoutMs);
// A loopback port that was free a moment ago.
int FreePort();

}  // namespace qarnis::testing
