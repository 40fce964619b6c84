// The /_test/ endpoints and how requests reach the service: as a proxy and directly.
#include <gtest/gtest.h>

#include <string>

#include "proxy_fetch.h"
#include "support/sample_service_environment.h"
#include "text/text.h"

namespace tamberlo::test {
namespace {

std::string encoded(const std::string& text) {
  std::string out;
  char hex[4];
  for (unsigned char c : text) {
    if (std::isalnum(c) || c == '-' || c == '_' || c == '.') {
      out += static_cast<char>(c);
    } else {
      std::snprintf(hex, sizeof hex, "%%%02X", c);
      out += hex;
    }
  }
  return out;
}

class SampleEndpoints : public ::testing::Test {
 protected:
  void SetUp() override { reset_sample_service(); }
  static int port() { return sample_service().port(); }
};

TEST_F(SampleEndpoints, EchoGivesBackTheRequestByteForByte) {
  // Odd spacing, lower-case names, repeated names and an order no sorting would give.
  using namespace std::string_literals;
  const std::string raw =
      "POST http://anywhere.example/_test/echo?q=1 HTTP/1.1\r\n"
      "Host: anywhere.example\r\n"
      "zeta:   spaced value  \r\n"
      "Alpha: 1\r\n"
      "alpha: 2\r\n"
      "Content-Length: 8\r\n"
      "Connection: close\r\n"
      "\r\n"
      "a\0b\xFF=1&x"s;
  const std::string answer = raw_exchange(port(), raw);
  const auto body_start = answer.find("\r\n\r\n");
  ASSERT_NE(body_start, std::string::npos) << answer;
  EXPECT_TRUE(answer.starts_with("HTTP/1.1 200 OK\r\n")) << answer;
  EXPECT_EQ(answer.substr(body_start + 4), raw);

  const auto received = sample_service().received();
  ASSERT_EQ(received.size(), 1u);
  EXPECT_EQ(received[0].target, "http://anywhere.example/_test/echo?q=1");
  EXPECT_EQ(received[0].host, "anywhere.example");
  EXPECT_EQ(received[0].path, "/_test/echo");
  EXPECT_EQ(received[0].header("ZETA"), "spaced value");
  EXPECT_EQ(received[0].headers[2], (std::pair<std::string, std::string>{"Alpha", "1"}));
  EXPECT_EQ(received[0].body, "a\0b\xFF=1&x"s);
}

TEST_F(SampleEndpoints, EchoKeepsTheConnectionForTheNextRequest) {
  const std::string two =
      "GET http://h/_test/echo HTTP/1.1\r\nHost: h\r\n\r\n"
      "GET http://h/_test/status?code=201 HTTP/1.1\r\nHost: h\r\nConnection: close\r\n\r\n";
  const std::string answer = raw_exchange(port(), two);
  EXPECT_NE(answer.find("HTTP/1.1 200 OK"), std::string::npos);
  EXPECT_NE(answer.find("HTTP/1.1 201"), std::string::npos) << answer;
  EXPECT_TRUE(answer.ends_with("status 201"));
}

TEST_F(SampleEndpoints, DropClosesWithoutAnyAnswer) {
  EXPECT_EQ(raw_exchange(port(), "GET http://h/_test/drop HTTP/1.1\r\nHost: h\r\n\r\n"), "");
  EXPECT_EQ(fetch("http://photo.163.com/_test/drop").code, CURLE_GOT_NOTHING);
}

TEST_F(SampleEndpoints, HeadersAreWrittenAsTheRawLinesGiven) {
  const std::string answer = raw_exchange(
      port(), "GET http://h/_test/headers?line=" + encoded("set-cookie: a=1; Path=/") +
                  "&line=" + encoded("SET-COOKIE:b=2") + "&line=" + encoded("X-Odd:   x  ") +
                  " HTTP/1.1\r\nHost: h\r\nConnection: close\r\n\r\n");
  EXPECT_NE(answer.find("\r\nset-cookie: a=1; Path=/\r\nSET-COOKIE:b=2\r\nX-Odd:   x  \r\n"),
            std::string::npos)
      << answer;
  EXPECT_TRUE(answer.ends_with("\r\n\r\nheaders"));
}

TEST_F(SampleEndpoints, BigHeaderIsFollowedByASetCookieLine) {
  const Fetched answer = fetch("http://h/_test/big-header?n=40000");
  ASSERT_EQ(answer.code, CURLE_OK);
  const std::string big = "X-Big: " + answer.header("X-Big");
  EXPECT_EQ(big.size(), 40000u);
  EXPECT_EQ(answer.header("Set-Cookie"), "big=1; Path=/");
}

TEST_F(SampleEndpoints, StatusRedirectBytesCookiesSlowAndTrickle) {
  for (long code : {200L, 201L, 302L, 404L, 500L, 503L}) {
    const Fetched answer = fetch("http://h/_test/status?code=" + std::to_string(code));
    EXPECT_EQ(answer.status, code);
    EXPECT_EQ(answer.body, "status " + std::to_string(code));
  }

  const Fetched moved =
      fetch("http://h/_test/redirect?code=301&to=" + encoded("http://photo.163.com/demo/?a=1&b=2"));
  EXPECT_EQ(moved.status, 301);
  EXPECT_EQ(moved.header("Location"), "http://photo.163.com/demo/?a=1&b=2");

  const Fetched bytes = fetch("http://h/_test/bytes?n=1000");
  ASSERT_EQ(bytes.body.size(), 1000u);
  for (std::size_t i = 0; i < 1000; ++i) {
    ASSERT_EQ(static_cast<unsigned char>(bytes.body[i]), (i * 7 + 3) & 0xFF) << i;
  }

  EXPECT_EQ(fetch("http://h/_test/cookies", {.cookie = "a=1; b=2"}).body, "a=1; b=2");
  EXPECT_EQ(fetch("http://h/_test/cookies").body, "");
  EXPECT_EQ(fetch("http://h/_test/slow?ms=50").body, "slow 50");
  EXPECT_EQ(fetch("http://h/_test/trickle?bytes=25&chunk=10&ms=5").body, std::string(25, 'a'));
}

TEST_F(SampleEndpoints, OriginFormRequestsAreRoutedByTheirHostHeader) {
  const std::string direct = "http://127.0.0.1:" + std::to_string(port());
  const Fetched owner =
      fetch(direct + "/demo/", {.headers = {"Host: photo.163.com"}, .no_proxy = true});
  EXPECT_NE(text_between(owner.body, "albumUrl : '", "'"), "");
  const Fetched list = fetch(direct + "/photo/demo/albumlist.js",
                             {.headers = {"Host: s1.ph.126.net:80"}, .no_proxy = true});
  EXPECT_EQ(list.status, 200);
  EXPECT_EQ(sample_service().received().back().host, "s1.ph.126.net");
  EXPECT_EQ(sample_service().received().back().target, "/photo/demo/albumlist.js");
  // Asked directly, the service stands for the web host, so it can be browsed.
  EXPECT_NE(fetch(direct + "/demo/", {.no_proxy = true}).body.find("albumUrl : '"),
            std::string::npos);
}

TEST_F(SampleEndpoints, EveryRequestIsRecordedInArrivalOrder) {
  fetch("http://photo.163.com/demo/");
  fetch("http://h/_test/echo", {.method = "POST", .body = "x=1"});
  fetch("http://h/_test/drop");
  fetch("http://img.ph.126.net//photo/demo/1001/1.jpg");
  const auto received = sample_service().received();
  ASSERT_EQ(received.size(), 4u);
  EXPECT_EQ(received[0].target, "http://photo.163.com/demo/");
  EXPECT_EQ(received[1].body, "x=1");
  EXPECT_EQ(received[2].path, "/_test/drop");
  EXPECT_EQ(received[3].host, "img.ph.126.net");
  EXPECT_EQ(received[3].path, "//photo/demo/1001/1.jpg");
  sample_service().clear_received();
  EXPECT_TRUE(sample_service().received().empty());
}

TEST_F(SampleEndpoints, ExtraHeaderBytesAndUnknownAddresses) {
  sample_service().faults().extra_header_bytes = 20000;
  for (const std::string address : {"http://photo.163.com/demo/", "http://h/_test/echo"}) {
    EXPECT_EQ(fetch(address).header("X-Padding").size(), 20000u) << address;
  }
  sample_service().faults().extra_header_bytes = 0;
  EXPECT_EQ(fetch("http://s1.ph.126.net/nothing.js").status, 404);
  EXPECT_EQ(fetch("http://unknown.example/x").status, 404);
}

}  // namespace
}  // namespace tamberlo::test
