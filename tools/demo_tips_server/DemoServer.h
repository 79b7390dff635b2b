#pragma once
// The demo tips server: accounts, login, registration, password change and scheduled pushes, or a script
// of steps played against each client, or a plain echo.
#include <string>

namespace qarnis::demo {

struct ServerOptions {
  int port = 19828;
  std::string host = "127.0.0.1";
  std::string accountsFile = "demo_accounts.txt";
  double pushIntervalSeconds = 20;  // 0: no scheduled pushes
  std::string scriptFile;
  std::string receivedFile;
  std::string readyFile;
  bool once = false;
  bool echo = false;
  int registrationsPerMinute = 3;
  int expectTimeoutMs = 10000;
};

// Runs until SIGTERM (or, scripted with --once, until the first client's script is over). Returns the exit
// status: 0 fine, 1 a script step failed, 2 ended before a script was played through, 3 could not listen.
int RunServer(const ServerOptions& options);

// "\r", "\n", "\t", "\\" and "\xHH" escapes; the UTF-8 text between them is converted to GBK.
std::string DecodeScriptText(const std::string& utf8WithEscapes);
// A received GBK text as one UTF-8 line: "\r", "\n" and "\\" escaped.
std::string EscapeForLog(const std::string& gbk);

}  // namespace qarnis::demo
