#include "live/http/HttpRequester.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <thread>

#include "RawHttpServer.h"
#include "ToolProcess.h"

namespace qarnis::live::http {
namespace {

using qarnis::live::testing::HeaderLines;
using qarnis::live::testing::RawHttpServer;

const std::string kOkResponse =
    "HTTP/1.1 200 OK\r\nContent-Length: 2\r\nSet-Cookie: s=1\r\nConnection: close\r\n\r\nok";

std::string Url(int port, const std::string& path = "/") {
  return "http://127.0.0.1:" + std::to_string(port) + path;
}

struct OrderCase {
  const char* name;
  HttpRequest request;
  bool post;
  PostContentType type;
  std::vector<std::string> expected;  // our header lines, after the library's Host and Accept
};

class HeaderOrderTest : public ::testing::TestWithParam<OrderCase> {};

TEST_P(HeaderOrderTest, SendsTheHeadersInOrderWithTheirValues) {
  const OrderCase& c = GetParam();
  RawHttpServer server(RawHttpServer::Mode::Answer, kOkResponse);
  HttpRequest request = c.request;
  request.url = Url(server.Port(), "/feed?x=1");
  HttpRequester requester;
  const HttpResponse response = c.post ? requester.Post(request, "a=1&b=2", c.type) : requester.Get(request);
  EXPECT_EQ(response.body, "ok");
  EXPECT_EQ(response.cookies, "s=1");
  ASSERT_TRUE(server.WaitForRequests(1));
  const std::string head = server.Heads().front();
  EXPECT_EQ(head.substr(0, head.find("\r\n")), std::string(c.post ? "POST" : "GET") + " /feed?x=1 HTTP/1.1");
  std::vector<std::string> lines = HeaderLines(head);
  // Host and Accept come from the library; the rest is ours, in our order.
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[0], "Host: 127.0.0.1:" + std::to_string(server.Port()));
  lines.erase(lines.begin(), lines.begin() + 2);
  if (c.post)
    lines.erase(std::remove_if(lines.begin(), lines.end(),
                               [](const std::string& l) { return l.starts_with("Content-Length:"); }),
                lines.end());
  EXPECT_EQ(lines, c.expected);
}

HttpRequest Full() {
  HttpRequest r;
  r.cookie = "sid=42";
  r.userAgent = "Agent/1.0";
  r.referer = "http://site/";
  r.extraHeaders = {{"X-First", "1"}, {"X-Second", "two"}, {"X-Empty", ""}};
  return r;
}

HttpRequest Injected() {
  HttpRequest r;
  r.extraHeaders = {{"X-Bad", "a\r\nX-Smuggled: 1"}, {"X-Good", "ok"}};
  return r;
}

INSTANTIATE_TEST_SUITE_P(
    Requests, HeaderOrderTest,
    ::testing::Values(
        OrderCase{"DefaultGet",
                  {},
                  false,
                  PostContentType::Raw,
                  {"User-Agent: " + std::string(kDefaultGetUserAgent), "Connection: Keep-Alive"}},
        OrderCase{"FullGet",
                  Full(),
                  false,
                  PostContentType::Raw,
                  {"Cookie: sid=42", "User-Agent: Agent/1.0", "Connection: Keep-Alive",
                   "Referer: http://site/", "X-First: 1", "X-Second: two", "X-Empty:"}},
        OrderCase{
            "HeaderInjectionIsDropped",
            Injected(),
            false,
            PostContentType::Raw,
            {"User-Agent: " + std::string(kDefaultGetUserAgent), "Connection: Keep-Alive", "X-Good: ok"}},
        OrderCase{"FormPost",
                  {},
                  true,
                  PostContentType::FormUrlEncoded,
                  {"User-Agent: " + std::string(kDefaultPostUserAgent), "Connection: Keep-Alive",
                   "Content-Type: application/x-www-form-urlencoded"}},
        OrderCase{"MultipartPost",
                  {},
                  true,
                  PostContentType::Multipart,
                  {"User-Agent: " + std::string(kDefaultPostUserAgent), "Connection: Keep-Alive",
                   "Content-Type: multipart/form-data"}},
        OrderCase{"RawPost",
                  {},
                  true,
                  PostContentType::Raw,
                  {"User-Agent: " + std::string(kDefaultPostUserAgent), "Connection: Keep-Alive"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HttpRequesterTest, GoesThroughTheNamedProxy) {
  RawHttpServer proxy(RawHttpServer::Mode::Answer, kOkResponse);
  HttpRequest request;
  request.url = "http://feeds.invalid/vbsxml/bfdata.js?r=1";
  request.proxy = "127.0.0.1:" + std::to_string(proxy.Port());
  EXPECT_EQ(HttpRequester().Get(request).body, "ok");
  ASSERT_TRUE(proxy.WaitForRequests(1));
  const std::string head = proxy.Heads().front();
  EXPECT_EQ(head.substr(0, head.find("\r\n")), "GET http://feeds.invalid/vbsxml/bfdata.js?r=1 HTTP/1.1");
}

class SiteTest : public ::testing::Test {
 protected:
  void SetUp() override {
    server_.Get("/from", [](const httplib::Request&, httplib::Response& res) {
      res.status = 302;
      res.set_header("Location", "/to");
      res.set_header("Set-Cookie", "moved=1");
      res.set_content("moving", "text/plain");
    });
    server_.Get("/to", [](const httplib::Request&, httplib::Response& res) {
      res.set_header("Set-Cookie", "Arrived=yes; path=/");
      res.set_header("Set-Cookie", "arrived=again");
      res.set_content(std::string("\xB1\xC8\0bytes", 8), "application/octet-stream");
    });
    server_.Get("/error", [](const httplib::Request&, httplib::Response& res) {
      res.status = 500;
      res.set_content("error page", "text/html");
    });
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    ASSERT_TRUE(qarnis::testing::WaitForPort(port_, 30000));
  }
  void TearDown() override {
    server_.stop();
    thread_.join();
  }

  httplib::Server server_;
  std::thread thread_;
  int port_ = 0;
};

TEST_F(SiteTest, FollowsRedirectsUnlessToldNot) {
  struct Case {
    bool noRedirects;
    std::string body, location, cookies;
  } cases[] = {
      {false, std::string("\xB1\xC8\0bytes", 8), "", "Arrived=again; path=/"},
      {true, "moving", "/to", "moved=1"},
  };
  for (const Case& c : cases) {
    HttpRequest request;
    request.url = Url(port_, "/from");
    request.noRedirects = c.noRedirects;
    const HttpResponse response = HttpRequester().Get(request);
    EXPECT_EQ(response.body, c.body) << c.noRedirects;
    EXPECT_EQ(response.location, c.location) << c.noRedirects;
    EXPECT_EQ(response.cookies, c.cookies) << c.noRedirects;
    EXPECT_NE(response.rawHeaders.find("Content-Length: "), std::string::npos);
  }
}

TEST_F(SiteTest, AnErrorPageComesBackLikeAnyBody) {
  HttpRequest request;
  request.url = Url(port_, "/error");
  EXPECT_EQ(HttpRequester().Get(request).body, "error page");
}

TEST(HttpRequesterFailureTest, FailuresGiveAnEmptyResponse) {
  RawHttpServer silent(RawHttpServer::Mode::Hold);
  struct Case {
    const char* name;
    std::string url;
    int timeoutMs;
  } cases[] = {
      {"refused", Url(qarnis::testing::FreePort()), 30000},
      // Accepted but never answered: the receive time-out ends it (a stuck test means it never does).
      {"silent", Url(silent.Port()), 300},
      {"not http", "file:///etc/hostname", 30000},
      {"malformed", "http://[::1", 30000},
  };
  for (const Case& c : cases) {
    HttpRequester requester;
    requester.SetRequestTimeout(c.timeoutMs);
    HttpRequest request;
    request.url = c.url;
    const HttpResponse response = requester.Get(request);
    EXPECT_EQ(response.body, "") << c.name;
    EXPECT_EQ(response.rawHeaders, "") << c.name;
    EXPECT_EQ(response.location, "") << c.name;
    EXPECT_EQ(response.cookies, "") << c.name;
  }
}

TEST(HttpRequesterFailureTest, TheAbortFlagEndsARequestInFlight) {
  RawHttpServer silent(RawHttpServer::Mode::Hold);
  std::atomic<bool> abort{false};
  std::thread aborter([&] {
    silent.WaitForRequests(1);
    abort = true;
  });
  HttpRequester requester;
  requester.SetRequestTimeout(24 * 60 * 60 * 1000);  // only the flag can end this request
  HttpRequest request;
  request.url = Url(silent.Port());
  request.abort = &abort;
  EXPECT_EQ(requester.Get(request).body, "");
  aborter.join();
}

TEST(HttpRequesterTest, DefaultsToThirtySecondTimeouts) {
  HttpRequester requester;
  EXPECT_EQ(requester.RequestTimeout(), 30000);
  requester.SetRequestTimeout(0);
  EXPECT_EQ(requester.RequestTimeout(), 30000);
}

}  // namespace
}  // namespace qarnis::live::http
