#include "DemoTipsServer.h"

#include <sys/stat.h>
#include <sys/wait.h>

#include <chrono>
#include <sstream>
#include <thread>

namespace qarnis::testing {
namespace {

bool Exists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && st.st_size > 0;
}

}  // namespace

std::unique_ptr<DemoTipsServer> DemoTipsServer::Scripted(const std::string& script, bool everyClient) {
  std::vector<std::string> args;
  if (!everyClient) args.push_back("--once");
  auto server = std::unique_ptr<DemoTipsServer>(new DemoTipsServer({}));
  WriteFile(server->folder_.File("script.txt"), script);
  args.push_back("--script");
  args.push_back(server->folder_.File("script.txt"));
  server->port_ = FreePort();
  args.insert(args.end(),
              {"--port", std::to_string(server->port_), "--received", server->folder_.File("received.txt"),
               "--ready-file", server->folder_.File("ready.txt")});
  server->process_ = std::make_unique<ToolProcess>(ToolPath("qarnis_demo_tips_server"), args);
  for (int i = 0; i < 500 && !Exists(server->folder_.File("ready.txt")); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  return server;
}

std::unique_ptr<DemoTipsServer> DemoTipsServer::Serving(std::vector<std::string> extraArgs) {
  auto server = std::unique_ptr<DemoTipsServer>(new DemoTipsServer({}));
  server->port_ = FreePort();
  std::vector<std::string> args = {"--port",          std::to_string(server->port_),
                                   "--accounts",      server->folder_.File("accounts.txt"),
                                   "--received",      server->folder_.File("received.txt"),
                                   "--ready-file",    server->folder_.File("ready.txt"),
                                   "--push-interval", "0"};
  args.insert(args.end(), extraArgs.begin(), extraArgs.end());
  server->process_ = std::make_unique<ToolProcess>(ToolPath("qarnis_demo_tips_server"), args);
  for (int i = 0; i < 500 && !Exists(server->folder_.File("ready.txt")); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  return server;
}

DemoTipsServer::DemoTipsServer(std::vector<std::string>) {}

std::vector<std::string> DemoTipsServer::Received() const {
  std::vector<std::string> lines;
  std::istringstream in(ReadFile(folder_.File("received.txt")));
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

bool DemoTipsServer::WaitForReceived(std::size_t count, int timeoutMs) const {
  for (int waited = 0; waited < timeoutMs; waited += 10) {
    if (Received().size() >= count) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return Received().size() >= count;
}

int DemoTipsServer::WaitForExit(int timeoutMs) {
  for (int waited = 0; waited < timeoutMs; waited += 10) {
    if (!process_->Running()) return process_->LastStatus();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return -1;
}

}  // namespace qarnis::testing
