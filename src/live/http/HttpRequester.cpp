#include "live/http/HttpRequester.h"

#include <curl/curl.h>

#include <algorithm>
#include <chrono>
#include <mutex>

#include "text/GbkText.h"

namespace qarnis::live::http {
namespace {

// Bounds for what a server may send us; beyond them the transfer is dropped as a failure.
constexpr std::size_t kMaxBodyBytes = 64u << 20;
constexpr std::size_t kMaxHeaderBytes = 1u << 20;
constexpr long kMaxRedirects = 10;

void InitCurlOnce() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct Transfer {
  std::string body;
  std::string headers;
  bool overflow = false;
  const std::atomic<bool>* abort = nullptr;
  CURL* curl = nullptr;
  std::chrono::milliseconds idleLimit{0};
  std::chrono::steady_clock::time_point lastActivity = std::chrono::steady_clock::now();
  curl_off_t lastBytes = -1;
  bool connected = false;
};

std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* user) {
  auto* t = static_cast<Transfer*>(user);
  const std::size_t bytes = size * count;
  if (t->body.size() + bytes > kMaxBodyBytes) {
    t->overflow = true;
    return 0;
  }
  t->body.append(data, bytes);
  return bytes;
}

// Keeps the header lines of the last response only (a followed redirect starts a new set).
std::size_t OnHeader(char* data, std::size_t size, std::size_t count, void* user) {
  auto* t = static_cast<Transfer*>(user);
  const std::size_t bytes = size * count;
  std::string_view line(data, bytes);
  if (line.starts_with("HTTP/")) {
    t->headers.clear();
    return bytes;
  }
  if (line == "\r\n" || line == "\n") return bytes;
  if (t->headers.size() + bytes + 2 > kMaxHeaderBytes) {
    t->overflow = true;
    return 0;
  }
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
  t->headers.append(line);
  t->headers.append("\r\n");
  return bytes;
}

// Gives up on a stop request, and on a connection that moves no byte for the time-out (send or receive).
int OnProgress(void* user, curl_off_t dlTotal, curl_off_t dlNow, curl_off_t ulTotal, curl_off_t ulNow) {
  (void)dlTotal;
  (void)ulTotal;
  auto* t = static_cast<Transfer*>(user);
  if (t->abort != nullptr && t->abort->load()) return 1;
  const auto now = std::chrono::steady_clock::now();
  if (!t->connected) {
    curl_off_t ready = 0;
    if (curl_easy_getinfo(t->curl, CURLINFO_PRETRANSFER_TIME_T, &ready) == CURLE_OK && ready > 0) {
      t->connected = true;
      t->lastActivity = now;
    }
    return 0;
  }
  const curl_off_t bytes = dlNow + ulNow;
  if (bytes != t->lastBytes) {
    t->lastBytes = bytes;
    t->lastActivity = now;
    return 0;
  }
  return now - t->lastActivity > t->idleLimit ? 1 : 0;
}

bool SafeHeaderPart(std::string_view part) {
  return part.find_first_of("\r\n") == std::string_view::npos && part.find('\0') == std::string_view::npos;
}

void AddHeader(curl_slist*& list, std::string_view name, std::string_view value) {
  if (!SafeHeaderPart(name) || !SafeHeaderPart(value) || name.empty() ||
      name.find(':') != std::string_view::npos)
    return;
  // "Name;" is how curl sends a header with an empty value.
  std::string line(name);
  line += value.empty() ? ";" : ": ";
  line.append(value);
  if (curl_slist* grown = curl_slist_append(list, line.c_str())) list = grown;
}

HttpResponse Perform(const HttpRequest& request, int timeoutMs, const std::string_view* postBody,
                     PostContentType type) {
  HttpResponse response;
  if (request.abort != nullptr && request.abort->load()) return response;
  InitCurlOnce();
  CURL* curl = curl_easy_init();
  if (curl == nullptr) return response;

  Transfer t;
  t.abort = request.abort;
  t.curl = curl;
  t.idleLimit = std::chrono::milliseconds(timeoutMs);

  curl_slist* headers = nullptr;
  // The fixed headers go first and in this order; a server or proxy may rely on it.
  if (!request.cookie.empty()) AddHeader(headers, "Cookie", request.cookie);
  const std::string_view agent = !request.userAgent.empty()
                                     ? std::string_view(request.userAgent)
                                     : (postBody != nullptr ? kDefaultPostUserAgent : kDefaultGetUserAgent);
  AddHeader(headers, "User-Agent", agent);
  AddHeader(headers, "Connection", "Keep-Alive");
  if (!request.referer.empty()) AddHeader(headers, "Referer", request.referer);
  if (postBody != nullptr) {
    if (type == PostContentType::FormUrlEncoded)
      AddHeader(headers, "Content-Type", "application/x-www-form-urlencoded");
    else if (type == PostContentType::Multipart)
      AddHeader(headers, "Content-Type", "multipart/form-data");
    else if (curl_slist* grown = curl_slist_append(headers, "Content-Type:"))
      headers = grown;
    if (curl_slist* grown = curl_slist_append(headers, "Expect:")) headers = grown;
  }
  for (const auto& [name, value] : request.extraHeaders) AddHeader(headers, name, value);

  curl_easy_setopt(curl, CURLOPT_URL, request.url.c_str());
  curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
  // No proxy unless one is named: neither the environment nor a system setting reroutes the request.
  curl_easy_setopt(curl, CURLOPT_PROXY, request.proxy.c_str());
  curl_easy_setopt(curl, CURLOPT_NOPROXY, "");
  curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, request.noRedirects ? 0L : 1L);
  curl_easy_setopt(curl, CURLOPT_MAXREDIRS, kMaxRedirects);
  if (request.ignoreCertificateErrors) {
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 0L);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 0L);
  }
  // Name resolution and connection each get the time-out; curl counts them as one phase.
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, 2L * timeoutMs);
  curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, OnProgress);
  curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &t);
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, OnBody);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &t);
  curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, OnHeader);
  curl_easy_setopt(curl, CURLOPT_HEADERDATA, &t);
  if (postBody != nullptr) {
    curl_easy_setopt(curl, CURLOPT_POST, 1L);
    curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(postBody->size()));
    curl_easy_setopt(curl, CURLOPT_POSTFIELDS, postBody->data());
  }

  const CURLcode result = curl_easy_perform(curl);
  curl_easy_cleanup(curl);
  curl_slist_free_all(headers);

  if (result != CURLE_OK || t.overflow) return response;
  response.body = std::move(t.body);
  response.rawHeaders = std::move(t.headers);
  response.location = LocationFromHeaders(response.rawHeaders);
  response.cookies = CookiesFromHeaders(response.rawHeaders);
  return response;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    const auto a = static_cast<unsigned char>(text[i]);
    const auto b = static_cast<unsigned char>(prefix[i]);
    if (std::tolower(a) != std::tolower(b)) return false;
  }
  return true;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && StartsWithNoCase(a, b);
}

std::string WithoutSpaces(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text)
    if (c != ' ') out.push_back(c);
  return out;
}

// The values of every header line named `name` (any letter case), spaces removed, in order.
std::vector<std::string> HeaderValues(std::string_view rawHeaders, std::string_view name) {
  const std::string flat = WithoutSpaces(rawHeaders);
  std::vector<std::string> values;
  std::size_t pos = 0;
  while (pos < flat.size()) {
    std::size_t end = flat.find("\r\n", pos);
    const std::string_view line =
        std::string_view(flat).substr(pos, end == std::string::npos ? std::string::npos : end - pos);
    if (StartsWithNoCase(line, name)) values.emplace_back(line.substr(name.size()));
    if (end == std::string::npos) break;
    pos = end + 2;
  }
  return values;
}

std::string_view Trim(std::string_view s) {
  const char* ws = " \t\r\n";
  const std::size_t first = s.find_first_not_of(ws);
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(ws) - first + 1);
}

struct CookieJar {
  std::vector<std::pair<std::string, std::string>> pairs;

  void Add(std::string_view part) {
    const std::size_t eq = part.find('=');
    const std::string_view name = Trim(part.substr(0, eq));
    const std::string_view value =
        eq == std::string_view::npos ? std::string_view() : Trim(part.substr(eq + 1));
    for (auto& [n, v] : pairs)
      if (EqualNoCase(n, name)) {
        v = value;
        return;
      }
    if (!name.empty() && !value.empty()) pairs.emplace_back(name, value);
  }

  std::string Join(bool dropDeleted) const {
    std::string out;
    for (const auto& [name, value] : pairs) {
      if (dropDeleted && (value == "-" || value == "''")) continue;
      if (!out.empty()) out += "; ";
      out += name + "=" + value;
    }
    return out;
  }
};

}  // namespace

HttpResponse HttpRequester::Get(const HttpRequest& request) const {
  return Perform(request, timeoutMs_, nullptr, PostContentType::Raw);
}

HttpResponse HttpRequester::Post(const HttpRequest& request, std::string_view body,
                                 PostContentType type) const {
  return Perform(request, timeoutMs_, &body, type);
}

std::string LocationFromHeaders(std::string_view rawHeaders) {
  std::vector<std::string> values = HeaderValues(rawHeaders, "Location:");
  return values.empty() ? std::string() : std::move(values.front());
}

std::string CookiesFromHeaders(std::string_view rawHeaders) {
  CookieJar jar;
  for (const std::string& value : HeaderValues(rawHeaders, "Set-Cookie:")) {
    std::string quoted = value;
    std::replace(quoted.begin(), quoted.end(), '"', '\'');
    for (std::string_view part : text::SplitViews(quoted, ";")) jar.Add(part);
  }
  return jar.Join(true);
}

std::string MergeCookies(std::string_view first, std::string_view second) {
  CookieJar jar;
  for (std::string_view part : text::SplitViews(first, ";")) jar.Add(part);
  for (std::string_view part : text::SplitViews(second, ";")) jar.Add(part);
  return jar.Join(false);
}

}  // namespace qarnis::live::http
