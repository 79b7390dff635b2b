#pragma once
// One HTTP request at a time over libcurl: the response body as bytes, with the raw headers, the redirect
// target and the cookies the response sets. Never throws and shows nothing; a failure is an empty body.
#include <atomic>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qarnis::live::http {

inline constexpr std::string_view kDefaultGetUserAgent =
    "Mozilla/4.0 (compatible; MSIE 7.0; Windows NT 6.1; Trident/5.0; SLCC2; .NET CLR 2.0.50727; .NET CLR "
    "3.5.30729; .NET CLR 3.0.30729; Media Center PC 6.0; .NET4.0C; .NET4.0E; InfoPath.3; Alexa Toolbar)";
inline constexpr std::string_view kDefaultPostUserAgent =
    "Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; Trident/5.0; SLCC2; .NET CLR 2.0.50727; .NET CLR "
    "3.5.30729; .NET CLR 3.0.30729; Media Center PC 6.0; .NET4.0C; .NET4.0E; InfoPath.3; Alexa Toolbar)";

struct HttpRequest {
  std::string url;
  std::string cookie;     // "Cookie" header; empty sends none
  std::string proxy;      // "host:port"; empty means no proxy at all
  std::string referer;    // "Referer" header; empty sends none
  std::string userAgent;  // empty means the default of the method
  bool ignoreCertificateErrors = false;
  bool noRedirects = false;
  std::vector<std::pair<std::string, std::string>> extraHeaders;  // sent after the fixed ones, in order
  // When set and true, the request gives up promptly (program exit must not wait out a time-out).
  const std::atomic<bool>* abort = nullptr;
};

struct HttpResponse {
  std::string body;        // bytes as received; empty on failure
  std::string rawHeaders;  // the final response's header lines, each ending in "\r\n"
  std::string location;    // "Location:" of the response, or empty
  std::string cookies;     // "name=value; name=value" of the response's "Set-Cookie:" lines
};

enum class PostContentType { FormUrlEncoded, Multipart, Raw };

class HttpRequester {
 public:
  static constexpr int kDefaultTimeoutMs = 30000;

  // Each of name resolution, connection, sending and receiving may take this long.
  int RequestTimeout() const { return timeoutMs_; }
  void SetRequestTimeout(int milliseconds) {
    timeoutMs_ = milliseconds > 0 ? milliseconds : kDefaultTimeoutMs;
  }

  HttpResponse Get(const HttpRequest& request) const;
  // "Content-Type" is "application/x-www-form-urlencoded", "multipart/form-data", or none for Raw.
  HttpResponse Post(const HttpRequest& request, std::string_view body, PostContentType type) const;

 private:
  int timeoutMs_ = kDefaultTimeoutMs;
};

// The rules that turn raw response headers into the location and cookies outputs.
std::string LocationFromHeaders(std::string_view rawHeaders);
std::string CookiesFromHeaders(std::string_view rawHeaders);
// Two cookie texts ("a=1; b=2") as one: a later pair replaces an earlier one of the same name (any case).
std::string MergeCookies(std::string_view first, std::string_view second);

}  // namespace qarnis::live::http
