// Demo tips server: a real peer for the client in the demo and in the tests. Loopback only.
#include <sys/prctl.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

#include "DemoServer.h"

namespace {

constexpr const char* kUsage = R"(usage: qarnis_demo_tips_server [options]

  --port N                 port to listen on (default 19828)
  --host 127.0.0.1         address to listen on; only 127.0.0.1 is accepted
  --accounts FILE          accounts file (default demo_accounts.txt); created with the demo accounts
                           (mossfield4/qarnis4, demo/demo123, 张伟/888888, frozen1/frozen1 frozen)
  --push-interval SECONDS  seconds between scheduled pushes after a login (default 20; 0 = none)
  --register-limit N       registrations allowed per peer per minute (default 3)
  --echo                   send every received text straight back (for benchmarks)
  --script FILE            play a script of steps against each client instead of serving tips
  --once                   with --script: exit after the first client's script
  --expect-timeout MS      with --script: how long an expect step waits (default 10000)
  --received FILE          append every text received, as UTF-8, one per line (\r \n \\ escaped)
  --ready-file FILE        write the port into FILE once listening
  --exit-with-parent       end when the process that started the server ends (for tests)
  --help                   this text

Script steps, one per line (UTF-8; blank lines and lines starting with # are skipped):
  accept            wait for the next client (a step that needs a client accepts one by itself)
  expect TEXT       wait for TEXT from the client; a different text or a time-out fails the script
  send TEXT         send TEXT framed as the client expects
  sendraw HEX       write these bytes to the socket as they are (no framing)
  close             close the client connection
  wait MS           pause
TEXT is converted to GBK; the escapes \r \n \t \\ and \xHH (a raw byte) are understood.

Exit status: 0 fine, 1 a script step failed, 2 stopped before the script was played through,
3 could not listen. SIGTERM ends the server cleanly.
)";

bool NeedValue(int i, int argc, const char* name) {
  if (i + 1 < argc) return true;
  std::cerr << name << " needs a value\n";
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  qarnis::demo::ServerOptions o;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--help" || a == "-h") {
      std::cout << kUsage;
      return 0;
    } else if (a == "--echo") {
      o.echo = true;
    } else if (a == "--exit-with-parent") {
      ::prctl(PR_SET_PDEATHSIG, SIGTERM);  // a test that crashes must not leave its server behind
    } else if (a == "--once") {
      o.once = true;
    } else if (a == "--port" || a == "--host" || a == "--accounts" || a == "--push-interval" ||
               a == "--script" || a == "--received" || a == "--ready-file" || a == "--register-limit" ||
               a == "--expect-timeout") {
      if (!NeedValue(i, argc, a.c_str())) return 64;
      const std::string v = argv[++i];
      if (a == "--port") o.port = std::atoi(v.c_str());
      if (a == "--host") o.host = v;
      if (a == "--accounts") o.accountsFile = v;
      if (a == "--push-interval") o.pushIntervalSeconds = std::atof(v.c_str());
      if (a == "--script") o.scriptFile = v;
      if (a == "--received") o.receivedFile = v;
      if (a == "--ready-file") o.readyFile = v;
      if (a == "--register-limit") o.registrationsPerMinute = std::atoi(v.c_str());
      if (a == "--expect-timeout") o.expectTimeoutMs = std::atoi(v.c_str());
    } else {
      std::cerr << "unknown option " << a << "\n" << kUsage;
      return 64;
    }
  }
  if (o.host != "127.0.0.1") {
    std::cerr << "only 127.0.0.1 is served\n";
    return 64;
  }
  if (o.port <= 0 || o.port > 65535) {
    std::cerr << "bad port\n";
    return 64;
  }
  return qarnis::demo::RunServer(o);
}
