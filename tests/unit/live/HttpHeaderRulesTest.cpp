#include <gtest/gtest.h>

#include "live/http/HttpRequester.h"

namespace qarnis::live::http {
namespace {

TEST(LocationFromHeadersTest, TakesTheLocationLine) {
  struct Case {
    std::string headers, location;
  } cases[] = {
      {"Server: x\r\nLocation: http://a/b c\r\n", "http://a/bc"},  // every space is removed
      {"Server: x\r\n", ""},
      {"", ""},
      {"location: /lower\r\n", "/lower"},
      {"Content-Location: /other\r\nLocation: /right\r\n", "/right"},
      {"Location: /first\r\nLocation: /second\r\n", "/first"},
      {"Location:\r\n", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(LocationFromHeaders(c.headers), c.location) << c.headers;
}

TEST(CookiesFromHeadersTest, CollectsThePairsOfEverySetCookieLine) {
  struct Case {
    std::string headers, cookies;
  } cases[] = {
      {"Server: x\r\n", ""},
      {"Set-Cookie: a=1\r\nSet-Cookie: b=2\r\n", "a=1; b=2"},
      // The same cookie in other letter case keeps one pair, with the later value.
      {"Set-Cookie: sid=old\r\nSet-Cookie: SID=new\r\n", "sid=new"},
      // Deleted values are left out.
      {"Set-Cookie: a=-\r\nSet-Cookie: b=''\r\nSet-Cookie: c=3\r\n", "c=3"},
      {"Set-Cookie: d=\"\"\r\n", ""},
      // Attributes count as pairs like any other; a pair without a value is not added.
      {"Set-Cookie: a=1; path=/; HttpOnly\r\n", "a=1; path=/"},
      {"Set-Cookie: a=1; Path=/x\r\nSet-Cookie: b=2; path=/y\r\n", "a=1; Path=/y; b=2"},
      {"Set-Cookie: a=\"q\"\r\n", "a='q'"},
      {"Set-Cookie: a = b = c\r\n", "a=b=c"},
      {"Set-Cookie: =1\r\n", ""},
      {"set-cookie: low=1\r\n", "low=1"},
      // A value set to empty later keeps the pair with an empty value.
      {"Set-Cookie: a=1\r\nSet-Cookie: a=\r\n", "a="},
  };
  for (const Case& c : cases) EXPECT_EQ(CookiesFromHeaders(c.headers), c.cookies) << c.headers;
}

TEST(MergeCookiesTest, LaterPairsReplaceEarlierOnes) {
  struct Case {
    std::string first, second, merged;
  } cases[] = {
      {"a=1; b=2", "B=3; c=4", "a=1; b=3; c=4"},
      {"", "a=1", "a=1"},
      {"a=1", "", "a=1"},
      {"", "", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(MergeCookies(c.first, c.second), c.merged);
}

}  // namespace
}  // namespace qarnis::live::http
