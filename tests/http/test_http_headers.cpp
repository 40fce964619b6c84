#include <gtest/gtest.h>

#include <ostream>

#include "http/request_description.h"

namespace tamberlo {
namespace {

constexpr const char* kUrl = "http://photo.163.com/demo/";
constexpr const char* kAgentLine = "User-Agent: Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";
constexpr const char* kTypeLine = "Content-Type: application/x-www-form-urlencoded";

TEST(HttpVerb, MethodNumbersPickTheVerbAndAnythingElseIsGet) {
  const std::pair<int, const char*> cases[] = {{0, "GET"}, {1, "POST"}, {2, "HEAD"},
                                               {3, "GET"}, {7, "GET"},  {-1, "GET"}};
  for (const auto& [method, verb] : cases) EXPECT_EQ(verb_for(method), verb) << method;
}

struct CompletionCase {
  const char* name;
  const char* headers;
  HeaderForm form;
  const char* cookies;
  std::string expected;
};

void PrintTo(const CompletionCase& c, std::ostream* out) { *out << c.name; }

class HttpHeaderCompletion : public testing::TestWithParam<CompletionCase> {};

TEST_P(HttpHeaderCompletion, AppendsOnlyTheDefaultsTheBlockLacks) {
  const CompletionCase& c = GetParam();
  EXPECT_EQ(complete_headers(c.headers, kUrl, c.form, c.cookies), c.expected);
}

const std::string kDefaultsAfterAccept =
    std::string("\r\nReferer: ") + kUrl + "\r\nAccept-Language: zh-cn\r\n" + kTypeLine;

INSTANTIATE_TEST_SUITE_P(
    Http, HttpHeaderCompletion,
    testing::Values(
        CompletionCase{"internet_empty", "", HeaderForm::internet, "",
                       "Accept: */*" + kDefaultsAfterAccept},
        CompletionCase{"internet_with_cookies", "", HeaderForm::internet, "a=1; b=2",
                       "Accept: */*" + kDefaultsAfterAccept + "\r\nCookie: a=1; b=2"},
        CompletionCase{"object_empty", "", HeaderForm::object, "a=1",
                       std::string("Accept: */*\r\nReferer: ") + kUrl +
                           "\r\nAccept-Language: zh-cn\r\n" + kAgentLine + "\r\n" + kTypeLine},
        CompletionCase{"own_referer_kept", "Referer: http://other/", HeaderForm::internet, "",
                       std::string("Referer: http://other/\r\nAccept: */*\r\nAccept-Language: "
                                   "zh-cn\r\n") +
                           kTypeLine},
        CompletionCase{"lower_case_referer_gets_a_second", "referer: http://other/",
                       HeaderForm::internet, "",
                       "referer: http://other/\r\nAccept: */*" + kDefaultsAfterAccept},
        CompletionCase{
            "x_referer_counts_as_referer", "X-Referer: r", HeaderForm::internet, "",
            std::string("X-Referer: r\r\nAccept: */*\r\nAccept-Language: zh-cn\r\n") + kTypeLine},
        CompletionCase{"own_agent_suppresses_default", "User-Agent: Own", HeaderForm::object, "",
                       "User-Agent: Own\r\nAccept: */*" + kDefaultsAfterAccept},
        CompletionCase{"lower_case_agent_gets_default_too", "user-agent: Own", HeaderForm::object,
                       "",
                       std::string("user-agent: Own\r\nAccept: */*\r\nReferer: ") + kUrl +
                           "\r\nAccept-Language: zh-cn\r\n" + kAgentLine + "\r\n" + kTypeLine},
        CompletionCase{"lower_case_content_type_gets_default_too", "content-type: text/plain",
                       HeaderForm::internet, "",
                       "content-type: text/plain\r\nAccept: */*" + kDefaultsAfterAccept},
        CompletionCase{"trailing_line_break_leaves_an_empty_line", "Host: a\r\n",
                       HeaderForm::internet, "",
                       "Host: a\r\n\r\nAccept: */*" + kDefaultsAfterAccept},
        CompletionCase{"cookie_line_added_beside_callers_own", "Cookie: z=9", HeaderForm::internet,
                       "a=1",
                       "Cookie: z=9\r\nAccept: */*" + kDefaultsAfterAccept + "\r\nCookie: a=1"},
        CompletionCase{"complete_block_unchanged",
                       "Accept: a\r\nReferer: r\r\nAccept-Language: en\r\nContent-Type: t\r\n",
                       HeaderForm::internet, "",
                       "Accept: a\r\nReferer: r\r\nAccept-Language: en\r\nContent-Type: t\r\n"}),
    [](const testing::TestParamInfo<CompletionCase>& info) { return info.param.name; });

TEST(HttpHeaderLine, SplitsAtTheFirstColonAndTrims) {
  const std::tuple<const char*, const char*, const char*> cases[] = {
      {"Referer: http://a:8080/x?y=1", "Referer", "http://a:8080/x?y=1"},
      {"  Name  :  value with  space  ", "Name", "value with  space"},
      {"Name:", "Name", ""},
      {":value", "", "value"},
      {"no colon here", "", ""},
      {"", "", ""},
      {"Tab:\tv\t", "Tab", "\tv\t"},
  };
  for (const auto& [line, name, value] : cases) {
    EXPECT_EQ(header_name(line), name) << line;
    EXPECT_EQ(header_value(line), value) << line;
  }
}

}  // namespace
}  // namespace tamberlo
