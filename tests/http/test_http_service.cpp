#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <memory>
#include <string>
#include <thread>

#include "http/cookie_store.h"
#include "http/http_settings.h"
#include "http/internet_request.h"
#include "http/object_request.h"
#include "http/transfer_gate.h"
#include "sample-service/sample_service.h"

namespace tamberlo {
namespace {

using sample::ReceivedRequest;
using sample::SampleService;

constexpr const char* kWeb = "http://photo.163.com";
constexpr const char* kAgent = "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";

std::string encoded(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (std::isalnum(byte) != 0 || c == '-' || c == '_' || c == '.') {
      out += c;
    } else {
      out += '%';
      out += kHex[byte >> 4];
      out += kHex[byte & 0x0F];
    }
  }
  return out;
}

std::string set_cookie_url(std::string_view host, std::string_view cookie) {
  return std::string(host) + "/_test/headers?line=" + encoded("Set-Cookie: " + std::string(cookie));
}

int count_named(const ReceivedRequest& request, std::string_view name) {
  int count = 0;
  for (const auto& [header, value] : request.headers) {
    if (to_lower_ascii(header) == to_lower_ascii(name)) ++count;
  }
  return count;
}

class HttpService : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    service_ = std::make_unique<SampleService>();
    service_->start();
  }
  static void TearDownTestSuite() { service_.reset(); }

  void SetUp() override {
    service_->clear_received();
    process_cookie_store().clear();
    set_default_proxy("");
  }
  void TearDown() override {
    set_default_proxy("");
    set_body_limit(kDefaultBodyLimit);
  }

  static RequestDescription request(std::string url) {
    RequestDescription description;
    description.url = std::move(url);
    description.proxy = service_->proxy_url();
    return description;
  }

  static ReceivedRequest last_received() {
    const auto all = service_->received();
    return all.empty() ? ReceivedRequest{} : all.back();
  }

  static std::unique_ptr<SampleService> service_;
};

std::unique_ptr<SampleService> HttpService::service_;

TEST_F(HttpService, InternetRequestSendsTheCompletedBlockAndOneAgent) {
  const std::string url = std::string(kWeb) + "/_test/echo";
  RequestDescription r = request(url);
  const Bytes body = internet_request(r);

  const std::string completed = "Accept: */*\r\nReferer: " + url +
                                "\r\nAccept-Language: zh-cn\r\n"
                                "Content-Type: application/x-www-form-urlencoded";
  EXPECT_EQ(r.headers, completed);
  EXPECT_EQ(body.rfind("GET " + url + " HTTP/1.1\r\n", 0), 0u) << body;
  const ReceivedRequest sent = last_received();
  EXPECT_EQ(sent.header("Accept"), "*/*");
  EXPECT_EQ(sent.header("Referer"), url);
  EXPECT_EQ(sent.header("Accept-Language"), "zh-cn");
  EXPECT_EQ(sent.header("Content-Type"), "application/x-www-form-urlencoded");
  EXPECT_EQ(sent.header("User-Agent"), kAgent);
  EXPECT_EQ(count_named(sent, "User-Agent"), 1);
  EXPECT_EQ(count_named(sent, "Cookie"), 0);
  EXPECT_EQ(r.response_headers.rfind("HTTP/1.1 200 OK\r\n", 0), 0u) << r.response_headers;
  EXPECT_TRUE(r.response_headers.ends_with("\r\n"));
  EXPECT_FALSE(r.response_headers.ends_with("\r\n\r\n"));
}

TEST_F(HttpService, InternetRequestTakesTheCallersAgentOnce) {
  const std::pair<const char*, const char*> cases[] = {
      {"User-Agent: User-Agent: Mozilla/5.0 (X)\r\nX-A: b", "User-Agent: Mozilla/5.0 (X)"},
      {"X-A: b\r\nuser-agent:  Lower  ", "Lower"},
  };
  for (const auto& [headers, agent] : cases) {
    RequestDescription r = request(std::string(kWeb) + "/_test/echo");
    r.headers = headers;
    internet_request(r);
    const ReceivedRequest sent = last_received();
    EXPECT_EQ(sent.header("User-Agent"), agent) << headers;
    EXPECT_EQ(count_named(sent, "User-Agent"), 1) << headers;
    EXPECT_EQ(r.headers.rfind(headers, 0), 0u) << "the caller's line stays in the block";
  }
}

TEST_F(HttpService, ObjectRequestSendsCookieFirstThenTheBlockInOrder) {
  const std::string url = std::string(kWeb) + "/_test/echo";
  RequestDescription r = request(url);
  r.cookies = "a=1; b=2";
  r.headers = "X-First: 1\r\nno colon line\r\n";
  object_request(r);

  EXPECT_EQ(r.status, 200);
  std::vector<std::string> names;
  for (const auto& [name, value] : last_received().headers) {
    if (name != "Host" && name != "Content-Length" && name != "Proxy-Connection") {
      names.push_back(name);
    }
  }
  EXPECT_EQ(names, (std::vector<std::string>{"Cookie", "X-First", "Accept", "Referer",
                                             "Accept-Language", "User-Agent", "Content-Type"}));
  const ReceivedRequest sent = last_received();
  EXPECT_EQ(sent.header("Cookie"), "a=1; b=2");
  EXPECT_EQ(sent.header("User-Agent"), kAgent);
  EXPECT_EQ(sent.header("Referer"), url);
  // The request object hands over header lines without the status line.
  EXPECT_EQ(r.response_headers.find("HTTP/"), std::string::npos) << r.response_headers;
  EXPECT_NE(r.response_headers.find("Content-Type: text/plain\r\n"), std::string::npos);
}

TEST_F(HttpService, ObjectRequestSendsEachHeaderNameOnce) {
  RequestDescription r = request(std::string(kWeb) + "/_test/echo");
  r.headers = "user-agent: Own\r\nX-Twice: 1\r\nX-Twice: 2";
  object_request(r);
  const ReceivedRequest sent = last_received();
  EXPECT_EQ(count_named(sent, "User-Agent"), 1);
  EXPECT_EQ(count_named(sent, "X-Twice"), 1);
  EXPECT_EQ(sent.header("X-Twice"), "2");
}

TEST_F(HttpService, BodiesByVerb) {
  {
    RequestDescription r = request(std::string(kWeb) + "/_test/echo");
    r.method = 1;
    r.body_text = "x=1&y=2";
    internet_request(r);
    EXPECT_EQ(last_received().method, "POST");
    EXPECT_EQ(last_received().body, "x=1&y=2");
    EXPECT_EQ(r.body_bytes, "x=1&y=2") << "the sent bytes come back to the caller";
  }
  {
    RequestDescription r = request(std::string(kWeb) + "/_test/echo");
    r.body_text = "ignored";
    internet_request(r);
    EXPECT_EQ(last_received().method, "GET");
    EXPECT_EQ(last_received().body, "");
    EXPECT_EQ(r.body_bytes, "");
  }
  {
    RequestDescription r = request(std::string(kWeb) + "/_test/echo");
    r.method = 1;
    r.body_text = "text loses";
    r.body_bytes = std::string("\0\x01\xFFzero", 7);
    object_request(r);
    EXPECT_EQ(last_received().body, std::string("\0\x01\xFFzero", 7));
  }
  {
    RequestDescription r = request(std::string(kWeb) + "/_test/echo");
    r.body_text = "a GET body";
    object_request(r);
    EXPECT_EQ(last_received().method, "GET");
    EXPECT_EQ(last_received().body, "a GET body");
  }
  {
    RequestDescription r = request(std::string(kWeb) + "/_test/echo");
    r.method = 2;
    const Bytes body = object_request(r);
    EXPECT_EQ(last_received().method, "HEAD");
    EXPECT_EQ(r.status, 200);
    EXPECT_EQ(body, "");
  }
}

TEST_F(HttpService, BinaryAnswerArrivesWhole) {
  RequestDescription r = request(std::string(kWeb) + "/_test/bytes?n=300000");
  const Bytes body = object_request(r);
  ASSERT_EQ(body.size(), 300000u);
  for (std::size_t i = 0; i < body.size(); ++i) {
    ASSERT_EQ(static_cast<unsigned char>(body[i]), (i * 7 + 3) & 0xFF) << i;
  }
}

TEST_F(HttpService, WithoutCallerCookiesTheProcessStoreSendsAndKeeps) {
  Cookie login{"NTES_SESS", "abc", "163.com", false, "/", std::nullopt, false, true};
  process_cookie_store().set(login);

  RequestDescription set = request(set_cookie_url(kWeb, "s=1; Path=/"));
  internet_request(set);
  EXPECT_EQ(last_received().header("Cookie"), "NTES_SESS=abc");
  EXPECT_EQ(set.answer_cookies, "s=1");

  RequestDescription echo = request(std::string(kWeb) + "/_test/cookies");
  EXPECT_EQ(internet_request(echo), "NTES_SESS=abc; s=1");
  EXPECT_FALSE(contains_text(echo.headers, "Cookie:")) << echo.headers;
  EXPECT_FALSE(echo.cookies.has_value());
  EXPECT_EQ(process_cookie_store().document_cookie("http://photo.163.com/"), "s=1");

  // Another host of the service gets none of them.
  RequestDescription other = request("http://s1.ph.126.net/_test/cookies");
  EXPECT_EQ(internet_request(other), "");
}

TEST_F(HttpService, SuppliedCookiesEvenEmptySwitchTheProcessStoreOff) {
  process_cookie_store().store_from_header("http://photo.163.com/", "s=1");

  RequestDescription empty = request(set_cookie_url(kWeb, "fresh=2"));
  empty.cookies = "";
  internet_request(empty);
  EXPECT_EQ(count_named(last_received(), "Cookie"), 0);
  EXPECT_EQ(*empty.cookies, "fresh=2");
  EXPECT_EQ(process_cookie_store().cookie_header_for("http://photo.163.com/"), "s=1");

  RequestDescription own = request(set_cookie_url(kWeb, "a=9"));
  own.cookies = "a=1; b = 2; old=deleted";
  internet_request(own);
  EXPECT_EQ(last_received().header("Cookie"), "a=1; b = 2; old=deleted");
  EXPECT_EQ(*own.cookies, "a=9; b=2");
  EXPECT_EQ(own.answer_cookies, "a=9");
}

TEST_F(HttpService, ObjectRequestMergesAndKeepsNothingItself) {
  const auto object = make_request_object();
  RequestDescription first = request(set_cookie_url(kWeb, "b=2; Path=/"));
  first.cookies = "a=1";
  first.request_object = object;
  object_request(first);
  EXPECT_EQ(last_received().header("Cookie"), "a=1");
  EXPECT_EQ(*first.cookies, "b=2; a=1");
  EXPECT_EQ(first.answer_cookies, "b=2");

  RequestDescription second = request(std::string(kWeb) + "/_test/cookies");
  second.request_object = object;
  EXPECT_EQ(object_request(second), "");
  EXPECT_EQ(second.status, 200);
  EXPECT_TRUE(process_cookie_store().all().empty());
}

TEST_F(HttpService, RedirectsFollowedUnlessSwitchedOff) {
  const std::string target = set_cookie_url(kWeb, "hop=1");
  const std::string url = std::string(kWeb) + "/_test/redirect?to=" + encoded(target);

  RequestDescription followed = request(url);
  EXPECT_EQ(object_request(followed), "headers");
  EXPECT_EQ(followed.status, 200);
  EXPECT_EQ(followed.answer_cookies, "hop=1");
  EXPECT_FALSE(contains_text(followed.response_headers, "Location", true))
      << "only the last answer's headers";

  RequestDescription held = request(url);
  held.no_redirect = true;
  EXPECT_EQ(object_request(held), "redirect");
  EXPECT_EQ(held.status, 302);
  EXPECT_TRUE(contains_text(held.response_headers, "Location: " + target));

  RequestDescription moved = request(url + "&code=301");
  moved.no_redirect = true;
  internet_request(moved);
  EXPECT_EQ(moved.response_headers.rfind("HTTP/1.1 301", 0), 0u) << moved.response_headers;
}

TEST_F(HttpService, RedirectHopsKeepBrowserCookiesAndPostTurnsIntoGet) {
  const std::string setter = std::string(kWeb) +
                             "/_test/redirect?to=" + encoded(std::string(kWeb) + "/_test/cookies") +
                             "&x=" + encoded("unused");
  // A cookie set by an intermediate answer reaches the next hop, as in a browser.
  process_cookie_store().store_from_header("http://photo.163.com/", "before=1");
  RequestDescription r = request(setter);
  EXPECT_EQ(internet_request(r), "before=1");

  RequestDescription post = request(
      std::string(kWeb) + "/_test/redirect?to=" + encoded(std::string(kWeb) + "/_test/echo"));
  post.method = 1;
  post.body_text = "form=1";
  const Bytes body = internet_request(post);
  EXPECT_EQ(body.rfind("GET ", 0), 0u) << body;
  EXPECT_EQ(last_received().body, "");
}

TEST_F(HttpService, CallerCookiesDoNotFollowARedirectToAnotherHost) {
  const std::pair<std::string, std::string> cases[] = {
      {std::string(kWeb) + "/_test/cookies", "a=1"},
      {"http://s1.ph.126.net/_test/cookies", ""},
  };
  for (const auto& [target, expected] : cases) {
    RequestDescription r = request(std::string(kWeb) + "/_test/redirect?to=" + encoded(target));
    r.cookies = "a=1";
    EXPECT_EQ(object_request(r), expected) << target;
    EXPECT_EQ(r.status, 200);
  }
}

TEST_F(HttpService, RedirectToAnotherSchemeFails) {
  RequestDescription foreign =
      request(std::string(kWeb) + "/_test/redirect?to=" + encoded("file:///etc/passwd"));
  EXPECT_EQ(object_request(foreign), "");
  EXPECT_EQ(foreign.status, 0);
}

TEST_F(HttpService, ErrorStatusReturnsThePage) {
  RequestDescription missing = request(std::string(kWeb) + "/_test/status?code=404");
  EXPECT_EQ(object_request(missing), "status 404");
  EXPECT_EQ(missing.status, 404);

  RequestDescription failing = request(std::string(kWeb) + "/_test/status?code=500");
  EXPECT_EQ(internet_request(failing), "status 500");
  EXPECT_EQ(failing.response_headers.rfind("HTTP/1.1 500", 0), 0u);
}

TEST_F(HttpService, AddressesWithoutSchemeAreHttpAndOtherSchemesFail) {
  RequestDescription bare = request("photo.163.com/_test/status?code=201");
  EXPECT_EQ(object_request(bare), "status 201");
  EXPECT_EQ(bare.status, 201);

  // Double-byte characters and blanks in an address go out percent-encoded.
  RequestDescription gbk = request(std::string(kWeb) + "/_test/echo?n=\xC3\xFB x");
  EXPECT_EQ(internet_request(gbk).rfind("GET http://photo.163.com/_test/echo?n=%C3%FB%20x ", 0),
            0u);
  RequestDescription gbk_object = request(std::string(kWeb) + "/_test/echo?n=\xC3\xFB x");
  EXPECT_EQ(
      object_request(gbk_object).rfind("GET http://photo.163.com/_test/echo?n=%C3%FB%20x ", 0), 0u);

  RequestDescription ftp = request("ftp://photo.163.com/_test/status?code=201");
  EXPECT_EQ(object_request(ftp), "");
  EXPECT_EQ(ftp.status, 0);
}

TEST_F(HttpService, InternetRequestToAnAddressWithoutHostLeavesTheCallersVariables) {
  RequestDescription r = request("http://photo.163.com?x=1");
  r.headers = "X-A: 1";
  r.method = 1;
  r.body_text = "t";
  r.cookies = "a=1;  a=2";
  r.response_headers = "before";
  EXPECT_EQ(internet_request(r), "");
  EXPECT_EQ(r.headers, "X-A: 1");
  EXPECT_EQ(r.body_bytes, "");
  EXPECT_EQ(*r.cookies, "a=1;  a=2");
  EXPECT_EQ(r.response_headers, "before");
  EXPECT_TRUE(service_->received().empty());
}

TEST_F(HttpService, TimeoutFailsAStalledAnswerButNotAMovingOne) {
  RequestDescription stalled = request(std::string(kWeb) + "/_test/slow?ms=4000");
  stalled.timeout_s = 1;
  EXPECT_EQ(object_request(stalled), "");
  EXPECT_EQ(stalled.status, 0);

  // Twelve pieces 250 ms apart: three seconds in all, never a second without a byte.
  RequestDescription moving =
      request(std::string(kWeb) + "/_test/trickle?bytes=1200&chunk=100&ms=250");
  moving.timeout_s = 1;
  EXPECT_EQ(object_request(moving), std::string(1200, 'a'));
  EXPECT_EQ(moving.status, 200);
}

TEST_F(HttpService, DefaultProxyCarriesRequestsThatNameNone) {
  set_default_proxy(service_->proxy_url());
  RequestDescription r;
  r.url = std::string(kWeb) + "/_test/status?code=202";
  EXPECT_EQ(object_request(r), "status 202");
  RequestDescription i;
  i.url = std::string(kWeb) + "/_test/status?code=203";
  EXPECT_EQ(internet_request(i), "status 203");

  RequestDescription bare = request(std::string(kWeb) + "/_test/status?code=200");
  bare.proxy = "127.0.0.1:" + std::to_string(service_->port());
  EXPECT_EQ(object_request(bare), "status 200");
}

TEST_F(HttpService, NoAnswerGivesEmptyResultsAndStillCleansTheCookieText) {
  int closed_port = 0;
  {
    SampleService gone;
    closed_port = gone.start();
  }
  const std::pair<std::string, std::string> failures[] = {
      {std::string(kWeb) + "/_test/drop", service_->proxy_url()},
      {std::string(kWeb) + "/_test/echo", "http://127.0.0.1:" + std::to_string(closed_port)},
  };
  for (const auto& [url, proxy] : failures) {
    RequestDescription o = request(url);
    o.proxy = proxy;
    o.cookies = "a=1; a=2; x=deleted";
    o.answer_cookies = "stale";
    EXPECT_EQ(object_request(o), "") << url;
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.response_headers, "");
    EXPECT_EQ(o.answer_cookies, "");
    EXPECT_EQ(*o.cookies, "a=1");

    RequestDescription i = request(url);
    i.proxy = proxy;
    i.cookies = "b=1;  b=1";
    EXPECT_EQ(internet_request(i), "") << url;
    EXPECT_EQ(i.response_headers, "");
    EXPECT_EQ(*i.cookies, "b=1");
    EXPECT_TRUE(contains_text(i.headers, "Cookie: b=1;  b=1")) << "the block was completed";
  }
}

TEST_F(HttpService, LongHeaderBlocksKeepTheirCookies) {
  RequestDescription r = request(std::string(kWeb) + "/_test/big-header?n=40000");
  r.cookies = "";
  EXPECT_EQ(internet_request(r), "big-header");
  EXPECT_GT(r.response_headers.size(), 40000u);
  EXPECT_EQ(r.answer_cookies, "big=1");
  EXPECT_EQ(*r.cookies, "big=1");

  RequestDescription browser = request(std::string(kWeb) + "/_test/big-header?n=40000");
  internet_request(browser);
  EXPECT_EQ(process_cookie_store().cookie_header_for("http://photo.163.com/"), "big=1");
}

TEST_F(HttpService, AnswersOverTheBodyLimitFail) {
  set_body_limit(1000);
  RequestDescription fits = request(std::string(kWeb) + "/_test/bytes?n=1000");
  EXPECT_EQ(object_request(fits).size(), 1000u);
  RequestDescription over = request(std::string(kWeb) + "/_test/bytes?n=1001");
  EXPECT_EQ(object_request(over), "");
  EXPECT_EQ(over.status, 0);
  RequestDescription trickled =
      request(std::string(kWeb) + "/_test/trickle?bytes=2000&chunk=500&ms=0");
  EXPECT_EQ(internet_request(trickled), "");
}

TEST_F(HttpService, RequestsFromSeveralThreadsAtOnce) {
  std::vector<std::future<int>> workers;
  for (int t = 0; t < 4; ++t) {
    workers.push_back(std::async(std::launch::async, [t] {
      int good = 0;
      for (int i = 0; i < 10; ++i) {
        const std::string n = std::to_string(1000 + t * 100 + i);
        RequestDescription r = request(std::string(kWeb) + "/_test/bytes?n=" + n);
        r.cookies = "t=" + std::to_string(t);
        const Bytes body = i % 2 == 0 ? object_request(r) : internet_request(r);
        if (body.size() == std::stoul(n) && *r.cookies == "t=" + std::to_string(t)) ++good;
      }
      return good;
    }));
  }
  for (auto& worker : workers) EXPECT_EQ(worker.get(), 10);
}

TEST_F(HttpService, PausedTransferStandsStillUntilResumed) {
  TransferGate gate;
  gate.pause();
  RequestDescription r = request(std::string(kWeb) + "/_test/trickle?bytes=400&chunk=100&ms=20");
  r.gate = &gate;
  auto running = std::async(std::launch::async, [&r] { return object_request(r); });
  // Unpaused, the whole answer takes well under this wait.
  EXPECT_EQ(running.wait_for(std::chrono::milliseconds(800)), std::future_status::timeout);
  gate.resume();
  EXPECT_EQ(running.get(), std::string(400, 'a'));
  EXPECT_EQ(r.status, 200);
}

TEST_F(HttpService, CancelStopsATransferInFlightAndAPausedOne) {
  for (const bool paused_first : {false, true}) {
    TransferGate gate;
    RequestDescription r =
        request(std::string(kWeb) + "/_test/trickle?bytes=100000&chunk=100&ms=20");
    r.gate = &gate;
    r.cookies = "c=1";
    auto running = std::async(std::launch::async, [&r] { return object_request(r); });
    for (int wait = 0; wait < 1000 && service_->received().empty(); ++wait) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    const bool reached = !service_->received().empty();
    if (paused_first) gate.pause();
    gate.cancel();
    EXPECT_TRUE(reached) << "the request never reached the service";
    EXPECT_EQ(running.get(), "");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(*r.cookies, "c=1");
    service_->clear_received();
  }
}

TEST_F(HttpService, CancelledGateStopsAnInternetRequestBeforeItMoves) {
  TransferGate gate;
  gate.cancel();
  RequestDescription r = request(std::string(kWeb) + "/_test/status?code=200");
  r.gate = &gate;
  EXPECT_EQ(internet_request(r), "");
  EXPECT_EQ(r.response_headers, "");
}

}  // namespace
}  // namespace tamberlo
