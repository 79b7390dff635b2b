// Demo live-score site on loopback: serves the odds feed and the match feed in GBK, changing as time passes.
//   qarnis_demo_feed_server [--port N] [--matches N] [--names FILE] [--fail-odds[=close]]
//                           [--fail-matches[=close]] [--delay-ms N] [--garbage]
// Ends on SIGTERM or SIGINT.
#include <httplib.h>
#include <pthread.h>
#include <signal.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "FeedGenerator.h"

#ifndef QARNIS_DEMO_FEED_NAMES
#define QARNIS_DEMO_FEED_NAMES "names.txt"
#endif

namespace {

enum class Failure { None, Status500, Close };

struct Options {
  int port = 19829;
  int matches = 300;
  std::string names = QARNIS_DEMO_FEED_NAMES;
  Failure failOdds = Failure::None;
  Failure failMatches = Failure::None;
  int delayMs = 0;
  bool garbage = false;
};

bool ReadInt(const char* text, int low, int high, int& out) {
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || value < low || value > high) return false;
  out = static_cast<int>(value);
  return true;
}

bool ParseOptions(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasNext = i + 1 < argc;
    if (arg == "--port" && hasNext) {
      if (!ReadInt(argv[++i], 1, 65535, o.port)) return false;
    } else if (arg == "--matches" && hasNext) {
      if (!ReadInt(argv[++i], 0, 100000, o.matches)) return false;
    } else if (arg == "--delay-ms" && hasNext) {
      if (!ReadInt(argv[++i], 0, 600000, o.delayMs)) return false;
    } else if (arg == "--names" && hasNext) {
      o.names = argv[++i];
    } else if (arg == "--fail-odds" || arg == "--fail-odds=500") {
      o.failOdds = Failure::Status500;
    } else if (arg == "--fail-odds=close") {
      o.failOdds = Failure::Close;
    } else if (arg == "--fail-matches" || arg == "--fail-matches=500") {
      o.failMatches = Failure::Status500;
    } else if (arg == "--fail-matches=close") {
      o.failMatches = Failure::Close;
    } else if (arg == "--garbage") {
      o.garbage = true;
    } else {
      return false;
    }
  }
  return true;
}

long long NowSeconds() {
  using namespace std::chrono;
  return duration_cast<seconds>(system_clock::now().time_since_epoch()).count();
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    std::fprintf(stderr,
                 "usage: %s [--port N] [--matches N] [--names FILE] [--fail-odds[=close]] "
                 "[--fail-matches[=close]] [--delay-ms N] [--garbage]\n",
                 argv[0]);
    return 2;
  }

  // The signals are taken by one thread with sigwait, which may then stop the server safely.
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGTERM);
  sigaddset(&signals, SIGINT);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);

  const qarnis::demo::FeedGenerator generator(qarnis::demo::LoadFeedNames(options.names), options.matches,
                                              NowSeconds());
  httplib::Server server;

  auto serve = [&](Failure failure, bool odds) {
    return [&, failure, odds](const httplib::Request&, httplib::Response& response) {
      if (options.delayMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(options.delayMs));
      if (failure == Failure::Close) {
        // Promise a body and drop the connection before any of it: the client sees a broken transfer.
        response.set_content_provider(1000, "text/plain",
                                      [](std::size_t, std::size_t, httplib::DataSink&) { return false; });
        return;
      }
      if (failure == Failure::Status500) {
        response.status = 500;
        response.set_content("<html><body>500 Internal Server Error</body></html>", "text/html");
        return;
      }
      const long long now = NowSeconds();
      if (options.garbage) {
        response.set_content(qarnis::demo::FeedGenerator::Garbage(static_cast<std::uint32_t>(now), 20000),
                             "application/octet-stream");
        return;
      }
      if (odds)
        response.set_content(generator.OddsBody(now), "text/xml; charset=gb2312");
      else
        response.set_content(generator.MatchBody(now), "application/x-javascript; charset=gb2312");
    };
  };
  server.Get("/vbsxml/goalBf3.xml", serve(options.failOdds, true));
  server.Get("/vbsxml/bfdata.js", serve(options.failMatches, false));
  server.Get("/", [](const httplib::Request&, httplib::Response& response) {
    response.set_content("demo live-score site", "text/plain");
  });

  std::thread stopper([&] {
    int signal = 0;
    sigwait(&signals, &signal);
    server.stop();
  });

  const bool listened = server.listen("127.0.0.1", options.port);
  if (!listened) {
    std::fprintf(stderr, "cannot listen on 127.0.0.1:%d\n", options.port);
    // Wake the stopper so the process can end.
    pthread_kill(stopper.native_handle(), SIGTERM);
  }
  stopper.join();
  return listened ? 0 : 1;
}
