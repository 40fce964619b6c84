#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "http/cookie_store.h"

namespace tamberlo {
namespace {

using std::chrono::system_clock;

class HttpCookieStore : public testing::Test {
 protected:
  CookieStore store;
};

TEST_F(HttpCookieStore, HostOnlyCookieGoesBackToItsHostAlone) {
  store.store_from_header("http://www.a.com/x", "s=1");
  EXPECT_EQ(store.cookie_header_for("http://www.a.com/"), "s=1");
  EXPECT_EQ(store.cookie_header_for("http://sub.www.a.com/"), "");
  EXPECT_EQ(store.cookie_header_for("http://a.com/"), "");
}

TEST_F(HttpCookieStore, DomainCookieReachesTheDomainAndItsSubdomainsOnly) {
  store.store_from_header("http://www.a.com/", "d=1; Domain=.A.com");
  for (const char* url : {"http://a.com/", "http://www.a.com/", "http://x.y.a.com/p"}) {
    EXPECT_EQ(store.cookie_header_for(url), "d=1") << url;
  }
  for (const char* url : {"http://evila.com/", "http://a.com.evil/", "http://b.com/"}) {
    EXPECT_EQ(store.cookie_header_for(url), "") << url;
  }
}

TEST_F(HttpCookieStore, RejectsDomainsTheHostIsNotInside) {
  const char* refused[] = {"x=1; Domain=b.com",         "x=1; Domain=com", "x=1; Domain=ww.a.com",
                           "x=1; Domain=sub.www.a.com", "=nameless",       "no-equals-sign"};
  for (const char* value : refused) store.store_from_header("http://www.a.com/", value);
  EXPECT_TRUE(store.all().empty());
  store.store_from_header("http://10.0.0.1/", "ip=1; Domain=0.0.1");
  EXPECT_TRUE(store.all().empty());
}

TEST_F(HttpCookieStore, PathRules) {
  store.store_from_header("http://a.com/", "p=1; Path=/docs");
  store.store_from_header("http://a.com/shop/cart/item", "d=2");  // default path /shop/cart
  EXPECT_EQ(store.cookie_header_for("http://a.com/docs"), "p=1");
  EXPECT_EQ(store.cookie_header_for("http://a.com/docs/x?q=1"), "p=1");
  EXPECT_EQ(store.cookie_header_for("http://a.com/docsx"), "");
  EXPECT_EQ(store.cookie_header_for("http://a.com/"), "");
  EXPECT_EQ(store.cookie_header_for("http://a.com/shop/cart/other"), "d=2");
  EXPECT_EQ(store.cookie_header_for("http://a.com/shop/"), "");
}

TEST_F(HttpCookieStore, LongerPathsGoFirstThenOlderCookies) {
  store.store_from_header("http://a.com/", "root=1; Path=/");
  store.store_from_header("http://a.com/", "deep=1; Path=/a/b");
  store.store_from_header("http://a.com/", "mid=1; Path=/a");
  store.store_from_header("http://a.com/", "root2=1; Path=/");
  EXPECT_EQ(store.cookie_header_for("http://a.com/a/b/c"), "deep=1; mid=1; root=1; root2=1");
}

TEST_F(HttpCookieStore, ReplacementAndDeletionByExpiry) {
  store.store_from_header("http://a.com/", "k=1");
  store.store_from_header("http://a.com/", "k=2; Max-Age=3600");
  EXPECT_EQ(store.cookie_header_for("http://a.com/"), "k=2");
  store.store_from_header("http://a.com/", "k=x; Max-Age=0");
  EXPECT_EQ(store.cookie_header_for("http://a.com/"), "");

  store.store_from_header("http://a.com/", "e=1; Expires=Wed, 09 Jun 2100 10:18:14 GMT");
  ASSERT_EQ(store.all().size(), 1u);
  EXPECT_TRUE(store.all().front().expires.has_value());
  store.store_from_header("http://a.com/", "e=1; Expires=Thu, 01 Jan 1970 00:00:01 GMT");
  EXPECT_TRUE(store.all().empty());

  // Max-Age wins over Expires whatever their order.
  store.store_from_header("http://a.com/",
                          "m=1; Max-Age=-1; Expires=Wed, 09 Jun 2100 10:18:14 GMT");
  EXPECT_TRUE(store.all().empty());
}

TEST_F(HttpCookieStore, SecureCookiesStayOnHttps) {
  store.store_from_header("https://a.com/", "s=1; Secure");
  EXPECT_EQ(store.cookie_header_for("https://a.com/"), "s=1");
  EXPECT_EQ(store.cookie_header_for("http://a.com/"), "");
  // Plain http may neither set a Secure cookie nor overwrite one.
  store.store_from_header("http://a.com/", "t=1; Secure");
  store.store_from_header("http://a.com/", "s=evil");
  EXPECT_EQ(store.cookie_header_for("https://a.com/"), "s=1");
}

TEST_F(HttpCookieStore, HttpOnlyIsSentButHiddenFromThePage) {
  store.store_from_header("http://a.com/", "h=1; HttpOnly");
  store.store_from_header("http://a.com/", "v=2");
  EXPECT_EQ(store.cookie_header_for("http://a.com/"), "h=1; v=2");
  EXPECT_EQ(store.document_cookie("http://a.com/"), "v=2");
}

TEST_F(HttpCookieStore, ListenersHearChangesButNotTheirOwn) {
  std::vector<std::string> bridge_heard;
  std::vector<std::string> other_heard;
  const int bridge = store.add_listener([&](const Cookie& cookie, bool removed) {
    bridge_heard.push_back((removed ? "-" : "+") + cookie.name + "=" + cookie.value);
  });
  const int other = store.add_listener([&](const Cookie& cookie, bool removed) {
    other_heard.push_back((removed ? "-" : "+") + cookie.name + "=" + cookie.value);
  });

  Cookie pushed;
  pushed.name = "login";
  pushed.value = "abc";
  pushed.domain = ".163.com";
  store.set(pushed, bridge);
  store.store_from_header("http://photo.163.com/", "n=1");
  store.remove("login", "163.com", "/");
  store.store_from_header("http://photo.163.com/", "n=1; Max-Age=0");

  EXPECT_EQ(bridge_heard, (std::vector<std::string>{"+n=1", "-login=abc", "-n=1"}));
  EXPECT_EQ(other_heard, (std::vector<std::string>{"+login=abc", "+n=1", "-login=abc", "-n=1"}));

  store.remove_listener(other);
  store.store_from_header("http://photo.163.com/", "z=1");
  EXPECT_EQ(other_heard.size(), 4u);
  EXPECT_EQ(bridge_heard.back(), "+z=1");
}

TEST_F(HttpCookieStore, NetscapeFileRoundTrip) {
  const auto future = system_clock::time_point(std::chrono::seconds(4102444800));  // 2100
  Cookie host_only{"h", "1", "photo.163.com", true, "/", future, false, false};
  Cookie domain{"d", "two words", "163.com", false, "/album", std::nullopt, true, true};
  Cookie empty_value{"e", "", "a.com", true, "/", future, false, true};
  for (const Cookie& cookie : {host_only, domain, empty_value}) store.set(cookie);

  const auto path = std::filesystem::temp_directory_path() /
                    ("tamberlo-cookies-" +
                     std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + ".txt");
  std::string error;
  ASSERT_TRUE(store.save_netscape(path.string(), &error)) << error;

  std::ifstream file(path);
  const std::string text((std::istreambuf_iterator<char>(file)), {});
  EXPECT_NE(text.find("#HttpOnly_.163.com\tTRUE\t/album\tTRUE\t0\td\ttwo words\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("photo.163.com\tFALSE\t/\tFALSE\t4102444800\th\t1\n"), std::string::npos);

  CookieStore loaded;
  ASSERT_TRUE(loaded.load_netscape(path.string(), &error)) << error;
  std::filesystem::remove(path);
  const std::vector<Cookie> cookies = loaded.all();
  ASSERT_EQ(cookies.size(), 3u);
  for (std::size_t i = 0; i < cookies.size(); ++i) {
    const Cookie& expected = i == 0 ? host_only : i == 1 ? domain : empty_value;
    EXPECT_EQ(cookies[i].name, expected.name);
    EXPECT_EQ(cookies[i].value, expected.value);
    EXPECT_EQ(cookies[i].domain, expected.domain);
    EXPECT_EQ(cookies[i].host_only, expected.host_only);
    EXPECT_EQ(cookies[i].path, expected.path);
    EXPECT_EQ(cookies[i].expires, expected.expires);
    EXPECT_EQ(cookies[i].secure, expected.secure);
    EXPECT_EQ(cookies[i].http_only, expected.http_only);
  }
  EXPECT_EQ(loaded.cookie_header_for("https://www.163.com/album/1"), "d=two words");
}

TEST_F(HttpCookieStore, LoadSkipsCommentsExpiredAndMalformedLines) {
  const auto path = std::filesystem::temp_directory_path() / "tamberlo-cookies-mixed.txt";
  {
    std::ofstream file(path);
    file << "# Netscape HTTP Cookie File\n\n"
            "#HttpOnly_a.com\tFALSE\t/\tFALSE\t4102444800\tkept\t1\r\n"
            "a.com\tFALSE\t/\tFALSE\t1000\told\t1\n"
            "a.com\tFALSE\t/\tFALSE\tsoon\tbad\t1\n"
            "a.com\tFALSE\t/\n";
  }
  std::string error;
  ASSERT_TRUE(store.load_netscape(path.string(), &error));
  std::filesystem::remove(path);
  ASSERT_EQ(store.all().size(), 1u);
  EXPECT_EQ(store.all().front().name, "kept");
  EXPECT_TRUE(store.all().front().http_only);
  EXPECT_FALSE(store.load_netscape((path.parent_path() / "missing-dir" / "x").string(), &error));
  EXPECT_FALSE(error.empty());
  error.clear();
  EXPECT_FALSE(store.load_netscape(path.parent_path().string(), &error)) << "a folder";
  EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace tamberlo
