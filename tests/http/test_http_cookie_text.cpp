#include <gtest/gtest.h>

#include "http/cookie_text.h"

namespace tamberlo {
namespace {

TEST(HttpCollectAnswerCookies, TakesEachSetCookieLineInOrderWhateverItsSpelling) {
  const AnswerCookies answer = collect_answer_cookies(
      "HTTP/1.1 200 OK\r\nSet-Cookie: a=1; path=/; domain=.163.com\r\nset-cookie: b=2\r\n"
      "X-Other: y\r\n");
  EXPECT_EQ(answer.cookies, "a=1; b=2");
  EXPECT_EQ(answer.normalised_headers,
            "HTTP/1.1 200 OK\r\nSet-Cookie: a=1; path=/; domain=.163.com\r\nSet-Cookie: b=2\r\n"
            "X-Other: y\r\n");
}

TEST(HttpCollectAnswerCookies, Cases) {
  const std::pair<const char*, const char*> cases[] = {
      {"", ""},
      {"HTTP/1.1 200 OK\r\nContent-Length: 0\r\n", ""},
      {"SET-COOKIE:   c=3   ", "c=3"},
      {"Set-Cookie: u=http://x/y; path=/", "u=http://x/y"},
      {"Set-Cookie: a=1\r\nSet-Cookie: a=2; path=/", "a=1; a=2"},
      // The line names Set-Cookie and holds a ";" but has no "Set-Cookie:": an empty item.
      {"Set-Cookie: a=1\r\nX-Note: Set-Cookie here; no colon", "a=1; "},
      {"Set-Cookie: v=two words; path=/", "v=two words"},
  };
  for (const auto& [headers, cookies] : cases) {
    EXPECT_EQ(collect_answer_cookies(headers).cookies, cookies) << headers;
  }
}

struct MergeCase {
  const char* store;
  const char* answer;
  const char* merged;
  const char* answer_after;
};

TEST(HttpMergeCookies, AnswerFirstThenUntouchedOldItems) {
  const MergeCase cases[] = {
      {"a=1; b=2", "a=9; c=3", "a=9; c=3; b=2", "a=9;c=3"},
      {"a=1; b=2", "b=deleted", "a=1", "b=deleted"},
      {"b=2", "a=deleted", "b=2", "a=deleted"},
      {"a=1; a=2; b=3", "", "a=1; b=3", ""},
      {"", "x=1", "x=1", "x=1"},
      {"", "", "", ""},
      {"a=x y; b = 2", "", "a=xy; b=2", ""},
      {"a=1; b=2", "c=3; c=4", "c=3; c=4; a=1; b=2", "c=3;c=4"},
      {"a=1; b=2", "b=2", "b=2; a=1", "b=2"},
      {"s=1", "t=1; t=1", "t=1; s=1", "t=1;t=1"},
  };
  for (const MergeCase& c : cases) {
    Text store = c.store;
    Text answer = c.answer;
    merge_cookies(store, answer);
    EXPECT_EQ(store, c.merged) << c.store << " <- " << c.answer;
    EXPECT_EQ(answer, c.answer_after) << c.store << " <- " << c.answer;
  }
}

TEST(HttpCookieName, TextBeforeTheFirstEqualsSign) {
  EXPECT_EQ(cookie_name(" a = 1 "), "a");
  EXPECT_EQ(cookie_name("k=v=w"), "k");
  EXPECT_EQ(cookie_name(" flag "), "flag");
  EXPECT_EQ(cookie_name("=v"), "");
}

TEST(HttpJoinDistinct, DropsExactRepeatsOnly) {
  EXPECT_EQ(join_distinct("a; b; a; B", "; "), "a; b; B");
  EXPECT_EQ(join_distinct("", "; "), "");
  EXPECT_EQ(join_distinct("x", "; "), "x");
  EXPECT_EQ(join_distinct("a; ; b; ; ", "; "), "a; ; b");
  EXPECT_EQ(join_distinct("a=1,a=1,a=2", ","), "a=1,a=2");
}

}  // namespace
}  // namespace tamberlo
