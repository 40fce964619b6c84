#include "cli/cookie_file_check.h"

#include <gtest/gtest.h>

#include <ostream>

#include "support/sandbox.h"

namespace tamberlo::cli {
namespace {

struct CookieFileCase {
  const char* name;
  const char* text;
  const char* problem;  // a piece of the problem, "" for none
};

void PrintTo(const CookieFileCase& c, std::ostream* out) { *out << c.name; }

class CookieFileCheckTest : public ::testing::TestWithParam<CookieFileCase> {};

TEST_P(CookieFileCheckTest, NamesTheFirstBadLine) {
  test::Sandbox sandbox;
  sandbox.write_file("cookies.txt", GetParam().text);
  const std::string problem = cookie_file_problem((sandbox / "cookies.txt").string());
  if (std::string_view(GetParam().problem).empty()) {
    EXPECT_EQ(problem, "");
  } else {
    EXPECT_NE(problem.find(GetParam().problem), std::string::npos) << problem;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Files, CookieFileCheckTest,
    ::testing::Values(
        CookieFileCase{"Empty", "", ""},
        CookieFileCase{"CurlExport",
                       "# Netscape HTTP Cookie File\n\n"
                       ".photo.163.com\tTRUE\t/\tFALSE\t0\tP_INFO\tx\r\n"
                       "#HttpOnly_.photo.163.com\tTRUE\t/\tFALSE\t1999999999\tNTES_SESS\tabc\n",
                       ""},
        CookieFileCase{"EmptyValueWithoutItsTab", "photo.163.com\tFALSE\t/\tFALSE\t0\tflag\n", ""},
        CookieFileCase{"SpacesForTabs", "# ok\n.photo.163.com TRUE / FALSE 0 P_INFO x\n",
                       "line 2: expected 7 fields"},
        CookieFileCase{"JsonExport", "[{\"name\":\"P_INFO\",\"value\":\"x\"}]\n", "line 1"},
        CookieFileCase{"ExpiryNotANumber", ".photo.163.com\tTRUE\t/\tFALSE\tsoon\tP_INFO\tx\n",
                       "expiry"},
        CookieFileCase{"NoName", ".photo.163.com\tTRUE\t/\tFALSE\t0\t\tx\n", "name"},
        CookieFileCase{"NoDomain", "#HttpOnly_\tTRUE\t/\tFALSE\t0\tNTES_SESS\tx\n", "domain"}),
    [](const auto& info) { return info.param.name; });

TEST(CookieFileCheckPathTest, MissingFileAndFolderAreProblems) {
  test::Sandbox sandbox;
  EXPECT_NE(cookie_file_problem((sandbox / "absent.txt").string()), "");
  EXPECT_NE(cookie_file_problem(sandbox.path().string()), "");
}

}  // namespace
}  // namespace tamberlo::cli
