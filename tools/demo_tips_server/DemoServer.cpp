#include "DemoServer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <deque>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <sstream>
#include <thread>
#include <vector>

#include "DemoData.h"
#include "WireConnection.h"
#include "link/Messages.h"
#include "text/GbkText.h"

namespace qarnis::demo {
namespace {

using namespace std::chrono_literals;
namespace kw = link::keyword;

int gStopPipe[2] = {-1, -1};

void OnTerm(int) {
  const char b = 1;
  [[maybe_unused]] ssize_t n = ::write(gStopPipe[1], &b, 1);
}

bool Stopped() {
  pollfd p{gStopPipe[0], POLLIN, 0};
  return ::poll(&p, 1, 0) > 0;
}

std::string Reply(std::string_view keyword) { return std::string(keyword) + std::string(link::FieldSep); }

std::string Fields(std::initializer_list<std::string_view> fields) {
  std::string out;
  bool first = true;
  for (std::string_view f : fields) {
    if (!first) out += link::FieldSep;
    out += f;
    first = false;
  }
  return out;
}

struct Account {
  std::string name, password, email, mobile;  // GBK
  bool frozen = false;
};

class Received {
 public:
  explicit Received(const std::string& path) : path_(path) {}
  void Note(const std::string& gbk) {
    if (path_.empty()) return;
    std::lock_guard lock(mutex_);
    std::ofstream out(path_, std::ios::app | std::ios::binary);
    out << EscapeForLog(gbk) << '\n';
  }

 private:
  std::string path_;
  std::mutex mutex_;
};

// Accounts and who is logged in, shared by all client threads.
class AccountBook {
 public:
  explicit AccountBook(std::string path) : path_(std::move(path)) { Load(); }

  std::string Login(const std::string& name, const std::string& password, const void* connection,
                    bool& accepted) {
    std::lock_guard lock(mutex_);
    accepted = false;
    auto it = accounts_.find(name);
    if (it == accounts_.end() || it->second.password != password) return Reply(kw::LoginRefused);
    if (it->second.frozen) return Reply(kw::AccountFrozen);
    auto owner = loggedIn_.find(name);
    if (owner != loggedIn_.end() && owner->second != connection) return std::string(kw::AlreadyLoggedIn);
    loggedIn_[name] = connection;
    accepted = true;
    return {};
  }

  void Logout(const void* connection) {
    std::lock_guard lock(mutex_);
    for (auto it = loggedIn_.begin(); it != loggedIn_.end();) {
      it = it->second == connection ? loggedIn_.erase(it) : std::next(it);
    }
  }

  std::string Register(const std::vector<std::string>& sub, const std::string& peer, int perMinute) {
    std::lock_guard lock(mutex_);
    auto& times = registrations_[peer];
    const auto now = std::chrono::steady_clock::now();
    while (!times.empty() && now - times.front() > 60s) times.pop_front();
    times.push_back(now);
    if (static_cast<int>(times.size()) > perMinute) return Reply(kw::RegistrationTooFast);
    Account a;
    a.name = sub.size() > 0 ? sub[0] : "";
    a.password = sub.size() > 1 ? sub[1] : "";
    a.email = sub.size() > 2 ? sub[2] : "";
    a.mobile = sub.size() > 3 ? sub[3] : "";
    if (a.name.empty() || accounts_.count(a.name) != 0) return Reply(kw::AccountExists);
    accounts_[a.name] = a;
    Save();
    return Reply(kw::RegistrationAccepted);
  }

  std::string ChangePassword(const std::vector<std::string>& sub) {
    std::lock_guard lock(mutex_);
    auto it = sub.empty() ? accounts_.end() : accounts_.find(sub[0]);
    if (it == accounts_.end()) return Reply(kw::PasswordNoSuchAccount);
    Account& a = it->second;
    bool matches = false;
    std::string newPassword;
    if (sub.size() >= 4) {  // account, e-mail, new password, mobile
      matches = sub[1] == a.email && sub[3] == a.mobile;
      newPassword = sub[2];
    } else if (sub.size() == 3) {  // account, e-mail or mobile, new password
      matches = (!a.email.empty() && sub[1] == a.email) || (!a.mobile.empty() && sub[1] == a.mobile);
      newPassword = sub[2];
    }
    if (!matches) return Reply(kw::PasswordMismatch);
    a.password = newPassword;
    Save();
    return Reply(kw::PasswordChanged);
  }

 private:
  void Load() {
    std::ifstream in(path_, std::ios::binary);
    if (!in) {
      for (const char* line : {"mossfield4\tqarnis4\tmoss@example.com\t13800000004\tactive",
                               "demo\tdemo123\tdemo@example.com\t13800000001\tactive",
                               "张伟\t888888\tzhangwei@example.com\t13900000002\tactive",
                               "frozen1\tfrozen1\tfrozen@example.com\t13700000003\tfrozen"}) {
        AddLine(line);
      }
      Save();
      return;
    }
    std::string line;
    while (std::getline(in, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (!line.empty() && line[0] != '#') AddLine(line);
    }
  }

  void AddLine(const std::string& utf8) {
    std::vector<std::string> p = text::Split(utf8, "\t");
    if (p.empty()) return;
    p.resize(5);
    Account a{text::Utf8ToGbk(p[0]), text::Utf8ToGbk(p[1]), text::Utf8ToGbk(p[2]), text::Utf8ToGbk(p[3]),
              p[4] == "frozen"};
    accounts_[a.name] = a;
  }

  void Save() {
    std::ostringstream out;
    out << "# account\tpassword\te-mail\tmobile\tactive|frozen (UTF-8)\n";
    for (const auto& [name, a] : accounts_) {
      out << text::GbkToUtf8(a.name) << '\t' << text::GbkToUtf8(a.password) << '\t'
          << text::GbkToUtf8(a.email) << '\t' << text::GbkToUtf8(a.mobile) << '\t'
          << (a.frozen ? "frozen" : "active") << '\n';
    }
    const std::string tmp = path_ + ".tmp";
    {
      std::ofstream f(tmp, std::ios::binary | std::ios::trunc);
      f << out.str();
      if (!f) return;
    }
    std::rename(tmp.c_str(), path_.c_str());
  }

  std::string path_;
  std::mutex mutex_;
  std::map<std::string, Account> accounts_;
  std::map<std::string, const void*> loggedIn_;
  std::map<std::string, std::deque<std::chrono::steady_clock::time_point>> registrations_;
};

std::string FirstLoginData(int round) {
  return Fields({kw::FirstLoginData, RecommendationLines(round), RecentHistoryLines(), NoticeLines()});
}

std::string ScheduledPush(int round) {
  switch (round % 5) {
    case 0:
      return Fields({kw::DataPush, RecommendationLines(round)});
    case 1:
      return Reply(kw::EmptyPush);
    case 2:
      return Fields({kw::HistoryPush, NewHistoryLine(round)});
    case 3:
      return Fields({kw::NoticePush, NewNoticeLine(round)});
    default:
      return Fields({kw::ServerNotice, ServerNoticeText(round)});
  }
}

void ServeTips(WireConnection& c, AccountBook& book, Received& received, const ServerOptions& o) {
  const std::string peer = c.Peer();
  bool loggedIn = false;
  int round = 0;
  auto nextPush = std::chrono::steady_clock::time_point::max();
  const auto interval = std::chrono::duration_cast<std::chrono::steady_clock::duration>(
      std::chrono::duration<double>(o.pushIntervalSeconds));
  for (;;) {
    std::chrono::milliseconds wait{-1};
    if (loggedIn && o.pushIntervalSeconds > 0) {
      wait = std::max(0ms, std::chrono::duration_cast<std::chrono::milliseconds>(
                               nextPush - std::chrono::steady_clock::now()));
    }
    std::string text;
    const WireConnection::Result r = c.Receive(text, wait);
    if (r == WireConnection::Result::Closed || r == WireConnection::Result::Stopped) break;
    if (r == WireConnection::Result::TimedOut) {
      if (!c.SendText(ScheduledPush(round++))) break;
      nextPush = std::chrono::steady_clock::now() + interval;
      continue;
    }
    received.Note(text);
    if (o.echo) {
      c.SendText(text);
      continue;
    }
    const link::ReplyFields f = link::CutReply(text);
    if (!f.HadSeparator()) continue;  // "cs" and anything else without fields
    const std::vector<std::string> sub = text::Split(f[1], link::SubSep);
    auto at = [&](std::size_t i) { return i < sub.size() ? sub[i] : std::string(); };
    if (f.Keyword() == kw::Login) {
      bool accepted = false;
      std::string reply = book.Login(at(0), at(1), &c, accepted);
      if (!accepted) {
        c.SendText(reply);
        continue;
      }
      const std::string full = at(0) == "mossfield4" ? FullHistoryLines() : std::string();
      c.SendText(Fields({kw::LoginAccepted, "1.005", "http://127.0.0.1/qarnis/download", "VIP", full}));
      c.SendText(FirstLoginData(round));
      loggedIn = true;
      nextPush = std::chrono::steady_clock::now() + interval;
    } else if (f.Keyword() == kw::Registration) {
      c.SendText(book.Register(sub, peer, o.registrationsPerMinute));
    } else if (f.Keyword() == kw::PasswordChange) {
      c.SendText(book.ChangePassword(sub));
    }
  }
  book.Logout(&c);
}

int Listen(const ServerOptions& o) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  const int one = 1;
  ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(static_cast<std::uint16_t>(o.port));
  if (::inet_pton(AF_INET, o.host.c_str(), &addr.sin_addr) != 1 ||
      ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(fd, 64) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

// Next client, or -1 when stopping. A connection that closes at once without a byte is a readiness probe
// (a test waiting for the port), not a client; the script skips it.
int AcceptClient(int listenFd, bool skipProbes) {
  for (;;) {
    pollfd p[2] = {{listenFd, POLLIN, 0}, {gStopPipe[0], POLLIN, 0}};
    if (::poll(p, 2, -1) < 0) continue;
    if ((p[1].revents & POLLIN) != 0) return -1;
    const int fd = ::accept4(listenFd, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) continue;
    const int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    if (skipProbes) {
      pollfd q{fd, POLLIN, 0};
      char b;
      if (::poll(&q, 1, 100) > 0 && ::recv(fd, &b, 1, MSG_PEEK) == 0) {
        ::close(fd);
        continue;
      }
    }
    return fd;
  }
}

std::string HexToBytes(const std::string& hex, bool& ok) {
  std::string out;
  std::string digits;
  for (char ch : hex) {
    if (std::isxdigit(static_cast<unsigned char>(ch)))
      digits += ch;
    else if (ch != ' ' && ch != '\t' && ch != ',')
      ok = false;
  }
  if (digits.size() % 2 != 0) ok = false;
  for (std::size_t i = 0; i + 1 < digits.size(); i += 2) {
    out.push_back(static_cast<char>(std::stoi(digits.substr(i, 2), nullptr, 16)));
  }
  return out;
}

struct Step {
  std::string verb, argument;
  int line = 0;
};

bool LoadScript(const std::string& path, std::vector<Step>& steps) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    const std::size_t space = line.find(' ');
    steps.push_back(
        {line.substr(0, space), space == std::string::npos ? "" : line.substr(space + 1), number});
  }
  return true;
}

// Plays the script; 0 when every step passed, 1 on a failed step, 2 when stopped first.
int PlayScript(const std::vector<Step>& steps, int listenFd, Received& received, const ServerOptions& o,
               std::unique_ptr<WireConnection>& client) {
  auto fail = [](const Step& s, const std::string& why) {
    std::cerr << "script line " << s.line << " (" << s.verb << "): " << why << '\n';
    return 1;
  };
  for (const Step& s : steps) {
    if (Stopped()) return 2;
    const bool needsClient = s.verb == "expect" || s.verb == "send" || s.verb == "sendraw";
    if (s.verb == "accept" || (needsClient && (!client || !client->IsOpen()))) {
      const int fd = AcceptClient(listenFd, true);
      if (fd < 0) return 2;
      client = std::make_unique<WireConnection>(fd, gStopPipe[0]);
      if (s.verb == "accept") continue;
    }
    if (s.verb == "expect") {
      const std::string want = DecodeScriptText(s.argument);
      std::string got;
      const auto r = client->Receive(got, std::chrono::milliseconds(o.expectTimeoutMs));
      if (r == WireConnection::Result::Stopped) return 2;
      if (r == WireConnection::Result::TimedOut) return fail(s, "time-out waiting for " + s.argument);
      if (r == WireConnection::Result::Closed) return fail(s, "client closed, expected " + s.argument);
      received.Note(got);
      if (got != want) return fail(s, "got " + EscapeForLog(got) + ", expected " + s.argument);
    } else if (s.verb == "send") {
      if (!client->SendText(DecodeScriptText(s.argument))) return fail(s, "write failed");
    } else if (s.verb == "sendraw") {
      bool ok = true;
      const std::string bytes = HexToBytes(s.argument, ok);
      if (!ok) return fail(s, "bad hex");
      if (!client->SendRaw(bytes)) return fail(s, "write failed");
    } else if (s.verb == "close") {
      if (client) client->Close();
    } else if (s.verb == "wait") {
      pollfd p{gStopPipe[0], POLLIN, 0};
      if (::poll(&p, 1, std::atoi(s.argument.c_str())) > 0) return 2;
    } else {
      return fail(s, "unknown step");
    }
  }
  return 0;
}

int RunScripted(const ServerOptions& o, int listenFd, Received& received) {
  std::vector<Step> steps;
  if (!LoadScript(o.scriptFile, steps)) {
    std::cerr << "cannot read script " << o.scriptFile << '\n';
    return 1;
  }
  for (;;) {
    std::unique_ptr<WireConnection> client;
    const int status = PlayScript(steps, listenFd, received, o, client);
    if (status != 0) return status;
    // Script done: keep the connection as it is until the client leaves, noting what it still sends.
    while (client && client->IsOpen()) {
      std::string text;
      const auto r = client->Receive(text, std::chrono::milliseconds(-1));
      if (r == WireConnection::Result::Stopped) return 0;
      if (r == WireConnection::Result::Text) received.Note(text);
    }
    if (o.once) return 0;
  }
}

int RunClients(const ServerOptions& o, int listenFd, Received& received) {
  AccountBook book(o.accountsFile);
  std::mutex threadsMutex;
  std::vector<std::thread> threads;
  for (;;) {
    const int fd = AcceptClient(listenFd, false);
    if (fd < 0) break;
    std::lock_guard lock(threadsMutex);
    threads.emplace_back([fd, &book, &received, &o] {
      WireConnection c(fd, gStopPipe[0]);
      ServeTips(c, book, received, o);
    });
  }
  for (std::thread& t : threads) t.join();
  return 0;
}

}  // namespace

std::string DecodeScriptText(const std::string& s) {
  std::string out;
  std::string run;
  auto flush = [&] {
    out += text::Utf8ToGbk(run);
    run.clear();
  };
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '\\' || i + 1 >= s.size()) {
      run += s[i];
      continue;
    }
    const char e = s[++i];
    if (e == 'r')
      run += '\r';
    else if (e == 'n')
      run += '\n';
    else if (e == 't')
      run += '\t';
    else if (e == '\\')
      run += '\\';
    else if (e == 'x' && i + 2 < s.size() + 0 && std::isxdigit(static_cast<unsigned char>(s[i + 1])) &&
             std::isxdigit(static_cast<unsigned char>(s[i + 2]))) {
      flush();
      out.push_back(static_cast<char>(std::stoi(s.substr(i + 1, 2), nullptr, 16)));
      i += 2;
    } else {
      run += '\\';
      run += e;
    }
  }
  flush();
  return out;
}

std::string EscapeForLog(const std::string& gbk) {
  const std::string utf8 = text::GbkToUtf8(gbk);
  std::string out;
  for (char ch : utf8) {
    if (ch == '\r')
      out += "\\r";
    else if (ch == '\n')
      out += "\\n";
    else if (ch == '\\')
      out += "\\\\";
    else
      out += ch;
  }
  return out;
}

int RunServer(const ServerOptions& o) {
  if (::pipe2(gStopPipe, O_CLOEXEC) != 0) return 3;
  struct sigaction sa {};
  sa.sa_handler = OnTerm;
  ::sigaction(SIGTERM, &sa, nullptr);
  ::sigaction(SIGINT, &sa, nullptr);
  ::signal(SIGPIPE, SIG_IGN);
  const int listenFd = Listen(o);
  if (listenFd < 0) {
    std::cerr << "cannot listen on " << o.host << ':' << o.port << '\n';
    return 3;
  }
  if (!o.readyFile.empty()) std::ofstream(o.readyFile) << o.port << '\n';
  Received received(o.receivedFile);
  const int status =
      o.scriptFile.empty() ? RunClients(o, listenFd, received) : RunScripted(o, listenFd, received);
  ::close(listenFd);
  return status;
}

}  // namespace qarnis::demo
