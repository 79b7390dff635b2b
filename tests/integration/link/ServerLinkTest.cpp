#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <fstream>

#include "LinkTestSupport.h"
#include "link/Messages.h"
#include "text/GbkText.h"

namespace qarnis::link::testing {
namespace {

std::string WriteScript(const TempFolder& folder, const std::string& body) {
  const std::string path = folder.File("script.txt");
  qarnis::testing::WriteFile(path, body);
  return path;
}

std::string G(const std::string& utf8) { return text::Utf8ToGbk(utf8); }
const std::string FS(FieldSep);

// A loopback listener of the test's own that reads raw bytes, to see exactly what the link writes.
class RawListener {
 public:
  RawListener() {
    fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a);
    socklen_t len = sizeof a;
    ::getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &len);
    port_ = ntohs(a.sin_port);
    ::listen(fd_, 8);
  }
  ~RawListener() { ::close(fd_); }
  int Port() const { return port_; }
  int Fd() const { return fd_; }
  int Accept() { return ::accept(fd_, nullptr, nullptr); }
  static std::string ReadExactly(int fd, std::size_t n) {
    std::string out;
    char buf[4096];
    while (out.size() < n) {
      const ssize_t got = ::recv(fd, buf, std::min(sizeof buf, n - out.size()), 0);
      if (got <= 0) break;
      out.append(buf, static_cast<std::size_t>(got));
    }
    return out;
  }

 private:
  int fd_ = -1;
  int port_ = 0;
};

TEST(ServerLinkConnect, RejectsBadArgumentsAtOnce) {
  RawListener listener;
  Recorder r;  // outlives the link, whose deliverer writes into it
  ServerLink link;
  struct Case {
    int port;
    std::string host;
    bool withCallback;
  };
  for (const Case& c : {Case{-1, "127.0.0.1", true}, Case{65536, "127.0.0.1", true},
                        Case{listener.Port(), "127.0.0.1", false}, Case{listener.Port(), "", true},
                        Case{listener.Port(), "127.0.0.256", true}}) {
    EXPECT_FALSE(link.Connect(c.port, c.host, c.withCallback ? r.For(link) : ServerLink::Callback{}))
        << c.port << " " << c.host;
    EXPECT_FALSE(link.IsOpen());
  }
  ASSERT_TRUE(link.Connect(listener.Port(), "127.0.0.1", r.For(link)));
  EXPECT_FALSE(link.Connect(listener.Port(), "127.0.0.1", r.For(link)));  // already open: untouched
  EXPECT_TRUE(link.IsOpen());
}

TEST(ServerLinkConnect, RefusedPortFailsAndClosedLinkRefusesSend) {
  const int port = qarnis::testing::FreePort();
  Recorder r;  // outlives the link, whose deliverer writes into it
  ServerLink link;
  EXPECT_FALSE(link.Connect(port, "127.0.0.1", r.For(link)));
  EXPECT_FALSE(link.IsOpen());
  EXPECT_FALSE(link.Send("cs"));
  LinkEvent e{true, "x"};
  std::string out = "unchanged";
  EXPECT_FALSE(link.Read(&e, out));
  EXPECT_EQ(out, "unchanged");
}

TEST(ServerLinkConnect, HostNameIsLookedUp) {
  RawListener listener;
  Recorder r;  // outlives the link, whose deliverer writes into it
  ServerLink link;
  EXPECT_TRUE(link.Connect(listener.Port(), "localhost", r.For(link)));
}

TEST(ServerLinkConnect, GivesUpAfterTheConnectTimeOut) {
  // A listener with a full accept queue makes the kernel drop further handshakes, so a connect hangs.
  int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
  socklen_t len = sizeof a;
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
  ::listen(fd, 0);
  std::vector<int> fillers;
  for (int i = 0; i < 4; ++i) {
    int c = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
    ::connect(c, reinterpret_cast<sockaddr*>(&a), sizeof a);
    fillers.push_back(c);
  }
  // Probe: if a fresh non-blocking connect still completes, this kernel does not hold it back.
  int probe = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
  ::connect(probe, reinterpret_cast<sockaddr*>(&a), sizeof a);
  pollfd p{probe, POLLOUT, 0};
  const bool probeConnected = ::poll(&p, 1, 500) > 0;
  ::close(probe);
  if (probeConnected) {
    for (int c : fillers) ::close(c);
    ::close(fd);
    GTEST_SKIP() << "loopback accepts beyond the backlog here";
  }
  Recorder r;  // outlives the link, whose deliverer writes into it
  ServerLink link;
  link.SetConnectTimeout(300ms);
  EXPECT_FALSE(link.Connect(ntohs(a.sin_port), "127.0.0.1", r.For(link)));
  EXPECT_FALSE(link.IsOpen());
  for (int c : fillers) ::close(c);
  ::close(fd);
}

TEST(ServerLinkWire, NumbersRunOnAcrossConnectionsAndEmptyTextsUseNone) {
  RawListener listener;
  Recorder r;  // outlives the link, whose deliverer writes into it
  ServerLink link;
  ASSERT_TRUE(link.Connect(listener.Port(), "127.0.0.1", r.For(link)));
  int server = listener.Accept();
  EXPECT_TRUE(link.Send(""));
  EXPECT_TRUE(link.Send("cs"));
  EXPECT_EQ(RawListener::ReadExactly(server, 42), FramePacket("0011", "cs"));
  ::close(server);
  ASSERT_TRUE(r.WaitForClosing());
  ASSERT_TRUE(Eventually([&] { return !link.IsOpen(); }));
  EXPECT_FALSE(link.Send("cs"));

  ASSERT_TRUE(link.Connect(listener.Port(), "127.0.0.1", r.For(link)));  // after a lost connection
  server = listener.Accept();
  EXPECT_TRUE(link.Send("cs"));
  EXPECT_EQ(RawListener::ReadExactly(server, 42), FramePacket("0012", "cs"));
  const std::string big(20000, 'b');
  EXPECT_TRUE(link.Send(big));
  const std::string wire = FramePacket("0013", big);
  EXPECT_EQ(RawListener::ReadExactly(server, wire.size()), wire);
  ::close(server);
}

TEST(ServerLinkScript, TextsArriveInOrderAndServerCloseGivesOneClosingEvent) {
  TempFolder scriptFolder;
  std::string body = "expect cs\n";
  for (int i = 0; i < 200; ++i) body += "send push " + std::to_string(i) + "\n";
  body += "send 中文，，，，，字段\n";
  body += "send ab\\x00cd\n";
  body += "close\n";
  DemoServer server({"--script", WriteScript(scriptFolder, body), "--once"});
  ASSERT_TRUE(server.Ready());
  Recorder r;  // outlives the link, whose deliverer writes into it
  ServerLink link;
  ASSERT_TRUE(link.Connect(server.Port(), "127.0.0.1", r.For(link)));
  EXPECT_TRUE(link.Send("cs"));
  ASSERT_TRUE(r.WaitForClosing());
  std::lock_guard lock(r.mutex);
  ASSERT_EQ(r.texts.size(), 202u);
  for (int i = 0; i < 200; ++i) EXPECT_EQ(r.texts[static_cast<std::size_t>(i)], "push " + std::to_string(i));
  EXPECT_EQ(r.texts[200], G("中文") + FS + G("字段"));
  EXPECT_EQ(r.texts[201], "ab");  // cut at the zero byte
  EXPECT_EQ(r.events[201].bytes, std::string("ab\0cd", 5));
  EXPECT_EQ(r.events.size(), 203u);
  EXPECT_FALSE(r.events.back().hasData);
  EXPECT_TRUE(Eventually([&] { return !link.IsOpen(); }));
  EXPECT_EQ(server.Stop(), 0);
  EXPECT_EQ(server.Received(), "cs\n");
}

TEST(ServerLinkScript, ClosingRequestsEndTheLinkAfterEarlierTexts) {
  struct Case {
    const char* name;
    std::string steps;
  };
  const std::string closePacket = "45 4D 53 47 30 31 32 33 14 00 00 00 00 00 00 00 14 00 00 00 " +
                                  std::string("3C 4D 73 67 30 31 32 33 3E 30 3C 2F 4D 73 67 30 31 32 33 3E");
  const std::string okSub =
      "45 4D 53 47 30 30 31 31 16 00 00 00 00 00 00 00 16 00 00 00 "
      "3C 4D 73 67 30 30 31 31 3E 32 3C 2F 4D 73 67 30 30 31 31 3E 6F 6B";
  for (const Case& c : {
           Case{"stated length 0", "send before\nsendraw " + closePacket + "\nwait 60000\n"},
           Case{"garbage after a sub-packet",
                "send before\nsendraw " + okSub + " " + std::string(60, '6') + "\nwait 60000\n"},
       }) {
    TempFolder scriptFolder;
    DemoServer server({"--script", WriteScript(scriptFolder, "accept\n" + c.steps), "--once"});
    ASSERT_TRUE(server.Ready());
    Recorder r;
    ServerLink link;
    ASSERT_TRUE(link.Connect(server.Port(), "127.0.0.1", r.For(link)));
    ASSERT_TRUE(r.WaitForClosing()) << c.name;
    EXPECT_TRUE(Eventually([&] { return !link.IsOpen(); })) << c.name;
    std::lock_guard lock(r.mutex);
    std::vector<std::string> expected = {"before"};
    if (std::string(c.name) == "garbage after a sub-packet") expected.push_back("ok");
    EXPECT_EQ(r.texts, expected) << c.name;
    EXPECT_FALSE(r.events.back().hasData) << c.name;
  }
}

TEST(ServerLinkScript, GarbageAtTheStartIsDroppedAndTheLinkStaysOpen) {
  TempFolder scriptFolder;
  DemoServer server({"--script",
                     WriteScript(scriptFolder, "accept\nsendraw " + std::string(50, '7') +
                                                   "\nwait 1000\nsend after\n"
                                                   "expect done\n"),
                     "--once"});
  ASSERT_TRUE(server.Ready());
  Recorder r;  // outlives the link, whose deliverer writes into it
  ServerLink link;
  ASSERT_TRUE(link.Connect(server.Port(), "127.0.0.1", r.For(link)));
  ASSERT_TRUE(r.WaitForEvents(1));
  EXPECT_TRUE(link.IsOpen());
  EXPECT_TRUE(link.Send("done"));
  {
    std::lock_guard lock(r.mutex);
    EXPECT_EQ(r.texts, std::vector<std::string>{"after"});
  }
  EXPECT_TRUE(Eventually([&] { return server.Received() == "done\n"; }));
  link.Close();
  EXPECT_EQ(server.Stop(), 0);
}

TEST(ServerLinkClose, CloseFromTheCallbackAndFromAnotherThreadNeverHangs) {
  TempFolder scriptFolder;
  const std::string script = WriteScript(scriptFolder, "accept\nsend one\nsend two\nwait 60000\n");

  // Inside the callback.
  {
    DemoServer server({"--script", script, "--once"});
    ASSERT_TRUE(server.Ready());
    ServerLink link;
    std::atomic<int> calls{0};
    ASSERT_TRUE(link.Connect(server.Port(), "127.0.0.1", [&](const LinkEvent&) {
      ++calls;
      link.Close();
    }));
    ASSERT_TRUE(Eventually([&] { return calls.load() >= 1 && !link.IsOpen(); }));
    EXPECT_EQ(calls.load(), 1);  // the queued "two" is never delivered after the close
  }
  // From another thread while the callback is held, once the callback is let go.
  {
    DemoServer server({"--script", script, "--once"});
    ASSERT_TRUE(server.Ready());
    ServerLink link;
    std::mutex m;
    std::condition_variable cv;
    bool inside = false, release = false;
    ASSERT_TRUE(link.Connect(server.Port(), "127.0.0.1", [&](const LinkEvent&) {
      std::unique_lock lock(m);
      inside = true;
      cv.notify_all();
      cv.wait(lock, [&] { return release; });
    }));
    {
      std::unique_lock lock(m);
      ASSERT_TRUE(cv.wait_for(lock, 20s, [&] { return inside; }));
      release = true;
      cv.notify_all();
    }
    link.Close();
    EXPECT_FALSE(link.IsOpen());
    EXPECT_FALSE(link.Send("cs"));
  }
}

TEST(DemoServerTips, LoginRepliesAndFirstLoginData) {
  DemoServer server({"--push-interval", "0"});
  ASSERT_TRUE(server.Ready());
  struct Case {
    const char* account;
    const char* password;
    std::string firstKeyword;
    bool firstLoginData;
  };
  ServerLink holder;  // keeps "demo" logged in for the already-logged-in case
  Recorder holderRecorder;
  ASSERT_TRUE(holder.Connect(server.Port(), "127.0.0.1", holderRecorder.For(holder)));
  ASSERT_TRUE(holder.Send(LoginRequest("demo", "demo123")));
  ASSERT_TRUE(holderRecorder.WaitForEvents(2));

  for (const Case& c : {Case{"mossfield4", "qarnis4", "QARNDengLuOKHuiYuan", true},
                        Case{"mossfield4", "wrong", "QARNDengLuZhangHaoHuoMiMaR", false},
                        Case{"nobody", "x", "QARNDengLuZhangHaoHuoMiMaR", false},
                        Case{"frozen1", "frozen1", "QARNZhangHaoYiBeiFeng", false},
                        Case{"demo", "demo123", "QARNYiJingDengLuLeNo", false}}) {
    Recorder r;
    ServerLink link;
    ASSERT_TRUE(link.Connect(server.Port(), "127.0.0.1", r.For(link)));
    ASSERT_TRUE(link.Send(LoginRequest(c.account, c.password)));
    ASSERT_TRUE(r.WaitForEvents(c.firstLoginData ? 2 : 1)) << c.account;
    std::lock_guard lock(r.mutex);
    const ReplyFields f = CutReply(r.texts[0]);
    EXPECT_EQ(f.Keyword(), c.firstKeyword) << c.account << "/" << c.password;
    if (c.firstKeyword == "QARNYiJingDengLuLeNo") {
      EXPECT_FALSE(f.HadSeparator());
    }
    if (!c.firstLoginData) continue;
    EXPECT_EQ(f[1], "1.005");
    EXPECT_EQ(f[2], "http://127.0.0.1/qarnis/download");
    EXPECT_GE(text::Split(f[4], "\r\n").size(), 50u);  // the special account's full history
    const ReplyFields data = CutReply(r.texts[1]);
    EXPECT_EQ(data.Keyword(), "SouCiDengLu");
    for (const std::string& line : text::Split(data[1], "\r\n")) {
      EXPECT_GE(text::Split(line, "\xA3\xAC").size(), 14u);  // 13 fields, then the marker and the reasons
      EXPECT_TRUE(text::Contains(line, "\\\\Qarnis//"));
    }
    for (const std::string& line : text::Split(data[2], "\r\n")) {
      EXPECT_GE(text::Split(line, "\xA3\xAC").size(), 15u);
    }
    for (const std::string& line : text::Split(data[3], "\r\n"))
      EXPECT_EQ(text::Split(line, SubSep).size(), 3u);
  }
  EXPECT_NE(server.Received().find("QARNYongHuDengLu，，，，，mossfield4|||||qarnis4\n"), std::string::npos);
}

TEST(DemoServerTips, RegistrationAndPasswordReplies) {
  DemoServer server({"--push-interval", "0", "--register-limit", "3"});
  ASSERT_TRUE(server.Ready());
  Recorder r;  // outlives the link, whose deliverer writes into it
  ServerLink link;
  ASSERT_TRUE(link.Connect(server.Port(), "127.0.0.1", r.For(link)));
  const std::vector<std::pair<std::string, std::string>> exchanges = {
      {RegistrationRequest(G("新用户"), "pw1", "new@example.com", "13611112222"), "QARNZhuCeOK"},
      {RegistrationRequest(G("新用户"), "pw2", "x@example.com", "1"), "QARNZhangHaoYiCunZai"},
      {RegistrationRequest("other", "pw", "o@example.com", "2"), "QARNZhuCeOK"},
      {RegistrationRequest("third", "pw", "t@example.com", "3"), "QARNipZhuCeTaiKuai"},
      {PasswordChangeRequest(1, "ghost", "a", "b", "c"), "QARNipXiuGaiMiMaNoZhangHao"},
      {PasswordChangeRequest(1, G("新用户"), "new@example.com", "13611112222", "np1"), "QARNipXiuGaiMiMaOK"},
      {PasswordChangeRequest(2, G("新用户"), "wrong@example.com", "", "np2"), "QARNipXiuGaiMiMaRYouXiang"},
      {PasswordChangeRequest(2, G("新用户"), "new@example.com", "", "np2"), "QARNipXiuGaiMiMaOK"},
      {PasswordChangeRequest(3, G("新用户"), "", "13611112222", "np3"), "QARNipXiuGaiMiMaOK"},
      {LoginRequest(G("新用户"), "np3"), "QARNDengLuOKHuiYuan"},
  };
  for (std::size_t i = 0; i < exchanges.size(); ++i) {
    ASSERT_TRUE(link.Send(exchanges[i].first));
    ASSERT_TRUE(r.WaitForEvents(i + 1)) << i;
    std::lock_guard lock(r.mutex);
    EXPECT_EQ(CutReply(r.texts[i]).Keyword(), exchanges[i].second) << i;
  }
  EXPECT_NE(qarnis::testing::ReadFile(server.Folder().File("accounts.txt")).find("新用户\tnp3"),
            std::string::npos);
}

TEST(DemoServerTips, ScheduledPushesFollowTheLogin) {
  DemoServer server({"--push-interval", "0.05"});
  ASSERT_TRUE(server.Ready());
  Recorder r;  // outlives the link, whose deliverer writes into it
  ServerLink link;
  ASSERT_TRUE(link.Connect(server.Port(), "127.0.0.1", r.For(link)));
  ASSERT_TRUE(link.Send(LoginRequest("demo", "demo123")));
  ASSERT_TRUE(r.WaitForEvents(7));
  std::lock_guard lock(r.mutex);
  std::vector<std::string> keywords;
  for (std::size_t i = 0; i < 7; ++i) keywords.push_back(CutReply(r.texts[i]).Keyword());
  EXPECT_EQ(keywords,
            (std::vector<std::string>{"QARNDengLuOKHuiYuan", "SouCiDengLu", "ShuJuTuiSong",
                                      "TuiSongKongShuJu", "LiShuDuiCuo", "LiShiGongGao", "FuWuQiGongGao"}));
}

}  // namespace
}  // namespace qarnis::link::testing
