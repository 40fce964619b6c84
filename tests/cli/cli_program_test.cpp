// The built tamberlo-cli against the sample album service, run as a user would run it.
#include <gtest/gtest.h>
#include <httplib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <ostream>
#include <regex>
#include <string>
#include <vector>

#include "child_process.h"
#include "support/sample_service_environment.h"
#include "support/sandbox.h"

namespace tamberlo::cli {
namespace {

namespace fs = std::filesystem;
using testing::ChildOptions;
using testing::ChildResult;
using testing::run_child;

const std::string kDemo = "http://photo.163.com/demo/";
const std::string kTravel = "http://photo.163.com/travel/#m=0&p=1";

class CliProgramTest : public ::testing::Test {
 protected:
  void SetUp() override { test::reset_sample_service(); }

  static sample::SampleService& service() { return test::sample_service(); }

  ChildResult run(std::vector<std::string> arguments, const ChildOptions& options = {}) {
    arguments.push_back("--proxy");
    arguments.push_back(service().proxy_url());
    return run_child(TAMBERLO_CLI_PROGRAM, arguments, options);
  }

  bool any_request_to(std::string_view host) const {
    const auto requests = service().received();
    return std::any_of(requests.begin(), requests.end(),
                       [host](const auto& request) { return request.host == host; });
  }

  // The entries of one folder (album folders, or the photo files of an album), by name.
  static std::vector<std::string> names_in(const fs::path& folder) {
    std::vector<std::string> names;
    if (!fs::is_directory(folder)) return names;
    for (const auto& entry : fs::directory_iterator(folder)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  static bool all_photo_names(const std::vector<std::string>& names) {
    static const std::regex photo_name(R"([0-9]+_[0-9]+\.jpg)");
    return std::all_of(names.begin(), names.end(),
                       [](const std::string& name) { return std::regex_match(name, photo_name); });
  }

  // A real login at the service: the session cookie it sets, in cookies.txt form.
  std::string logged_in_cookie_file() {
    httplib::Client client("127.0.0.1", service().port());
    const auto answer =
        client.Post("/login", "user=tester&password=" + service().fixture().login_password,
                    "application/x-www-form-urlencoded");
    if (!answer) return {};
    for (const auto& [name, value] : answer->headers) {
      if (name == "Set-Cookie" && value.starts_with("NTES_SESS=")) {
        const std::string session = value.substr(10, value.find(';') - 10);
        return "# Netscape HTTP Cookie "
               "File\n#HttpOnly_.photo.163.com\tTRUE\t/\tFALSE\t0\tNTES_SESS\t" +
               session + "\n";
      }
    }
    return {};
  }

  test::Sandbox sandbox;
};

TEST_F(CliProgramTest, VersionAndHelp) {
  const ChildResult version = run_child(TAMBERLO_CLI_PROGRAM, {"--version"});
  EXPECT_EQ(version.exit_status, 0);
  EXPECT_EQ(version.out, "tamberlo-cli 2.0\n");

  const ChildResult help = run_child(TAMBERLO_CLI_PROGRAM, {"download", "--help"});
  EXPECT_EQ(help.exit_status, 0);
  EXPECT_NE(help.out.find("--albums"), std::string::npos) << help.out;
}

struct RefusalCase {
  const char* name;
  std::vector<std::string> arguments;
  const char* error;  // what standard error says
};

void PrintTo(const RefusalCase& c, std::ostream* out) { *out << c.name; }

class CliRefusalTest : public CliProgramTest, public ::testing::WithParamInterface<RefusalCase> {};

// Every refusal comes before any request: the service hears nothing.
TEST_P(CliRefusalTest, BadUsageEndsWithStatusTwoBeforeAnyRequest) {
  sandbox.write_file("bad-cookies.txt", "P_INFO=x; NTES_SESS=y\n");
  std::vector<std::string> arguments;
  for (std::string argument : GetParam().arguments) {
    if (argument.starts_with("SANDBOX")) argument.replace(0, 7, sandbox.path().string());
    arguments.push_back(argument);
  }
  const ChildResult result = run(arguments);
  EXPECT_EQ(result.exit_status, 2) << result.err;
  EXPECT_NE(result.err.find(GetParam().error), std::string::npos) << result.err;
  EXPECT_EQ(result.out, "");
  EXPECT_TRUE(service().received().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, CliRefusalTest,
    ::testing::Values(
        RefusalCase{"NoCommand", {}, "subcommand"}, RefusalCase{"NoAddress", {"albums"}, "ADDRESS"},
        RefusalCase{"UnknownOption", {"albums", kDemo, "--covers"}, "--covers"},
        RefusalCase{"BareAccount", {"albums", "demo"}, "你输入的格式不正确：demo"},
        RefusalCase{"OtherHost",
                    {"download", "http://example.com/demo/"},
                    "你输入的格式不正确：http://example.com/demo/"},
        RefusalCase{"BlanksOnly", {"albums", " \u3000 "}, "你输入的格式不正确：\n"},
        RefusalCase{"EmptyAddress", {"albums", ""}, "您输入的内容为空"},
        RefusalCase{"AddressGbkCannotHold", {"albums", "http://photo.163.com/\U0001F600/"}, "GBK"},
        RefusalCase{"AlbumsNotNumbers", {"download", kDemo, "--albums", "1,x"}, "--albums"},
        RefusalCase{"MissingCookieFile",
                    {"albums", kDemo, "--cookie-file", "SANDBOX/absent.txt"},
                    "absent.txt"},
        RefusalCase{
            "CookieFileIsAFolder", {"albums", kDemo, "--cookie-file", "SANDBOX"}, "cookie file"},
        RefusalCase{"MalformedCookieFile",
                    {"albums", kDemo, "--cookie-file", "SANDBOX/bad-cookies.txt"},
                    "line 1"}),
    [](const auto& info) { return info.param.name; });

TEST_F(CliProgramTest, AlbumsTableListsEveryAlbumWithItsAccess) {
  const ChildResult result = run({"albums", kDemo});
  ASSERT_EQ(result.exit_status, 0) << result.err;
  // The widest name, " 　我的 相册：春游　 ", takes 21 cells: two full-width blanks and six
  // characters at two cells each, three ASCII blanks at one.
  EXPECT_EQ(result.out,
            "序号  相册名称               数量  相册权限\n"
            "1     春游                   5     已取得\n"
            "2      　我的 相册：春游　   4     已取得\n"
            "3     家人相册               3     双击获取权限\n"
            "4     同学聚会               6     双击获取权限\n"
            "5     旧照片                 4     已取得\n"
            "6     路上\\/:*?\"<>|风景      3     已取得\n"
            "7     毕业典礼               5     已取得\n");
  // A clean table: none of the log's lines, and no message.
  EXPECT_EQ(result.err, "");
}

TEST_F(CliProgramTest, AlbumsJsonCarriesNamesAndAddressesIntact) {
  const ChildResult result = run({"albums", "http://demo.photo.163.com/", "--json"});
  ASSERT_EQ(result.exit_status, 0) << result.err;
  const nlohmann::json albums = nlohmann::json::parse(result.out);
  const auto& fixture_albums = service().fixture().owners.at(0).albums;
  ASSERT_EQ(albums.size(), fixture_albums.size());
  for (std::size_t i = 0; i < albums.size(); ++i) {
    const nlohmann::json& album = albums[i];
    const bool open = fixture_albums[i].access == sample::Album::Access::open;
    EXPECT_EQ(album["index"], i + 1);
    EXPECT_EQ(album["name"], fixture_albums[i].name_utf8);
    EXPECT_EQ(album["id"], fixture_albums[i].id);
    EXPECT_EQ(album["access"], open ? "已取得" : "双击获取权限");
    EXPECT_EQ(album["data_address"].get<std::string>().empty(), !open) << album.dump();
  }
  EXPECT_EQ(albums[0]["count"], 5);
  EXPECT_EQ(albums[0]["data_address"], "s1.ph.126.net/photo/demo/data/1001.js");
  EXPECT_EQ(albums[6]["count"], 5) << "the count the list gives, not the photos held";
}

TEST_F(CliProgramTest, OwnerWithoutAlbumsIsPointedOut) {
  const ChildResult listed = run({"albums", "http://photo.163.com/nobody/", "--json"});
  EXPECT_EQ(listed.exit_status, 0);
  EXPECT_EQ(nlohmann::json::parse(listed.out), nlohmann::json::array());
  EXPECT_NE(listed.err.find("no album"), std::string::npos) << listed.err;

  const ChildResult downloaded =
      run({"download", "http://photo.163.com/nobody/", "--out", sandbox.path().string()});
  EXPECT_EQ(downloaded.exit_status, 0);
  EXPECT_NE(downloaded.err.find("no album"), std::string::npos) << downloaded.err;
  EXPECT_NE(downloaded.out.find("当前未选择任何相册"), std::string::npos) << downloaded.out;
}

TEST_F(CliProgramTest, OwnAlbumsAreAskedForAgainWithTheLoginOfTheCookieFile) {
  const std::string cookies = logged_in_cookie_file();
  ASSERT_FALSE(cookies.empty());
  sandbox.write_file("cookies.txt", cookies);
  const std::string cookie_file = (sandbox / "cookies.txt").string();

  // Logged in, but without --own the list is taken as the service gives it.
  const ChildResult listed = run({"albums", kDemo, "--json", "--cookie-file", cookie_file});
  ASSERT_EQ(listed.exit_status, 0) << listed.err;
  EXPECT_EQ(nlohmann::json::parse(listed.out)[3]["access"], "双击获取权限");

  const ChildResult own = run({"albums", kDemo, "--json", "--own", "--cookie-file", cookie_file});
  ASSERT_EQ(own.exit_status, 0) << own.err;
  const nlohmann::json albums = nlohmann::json::parse(own.out);
  EXPECT_EQ(albums[3]["name"], "同学聚会");
  EXPECT_EQ(albums[3]["access"], "已取得");
  EXPECT_NE(albums[3]["data_address"], "");
  EXPECT_EQ(albums[2]["access"], "双击获取权限") << "a password album needs its own cookie";

  // Without the login the same question is refused.
  const ChildResult logged_out = run({"albums", kDemo, "--json", "--own"});
  ASSERT_EQ(logged_out.exit_status, 0) << logged_out.err;
  EXPECT_EQ(nlohmann::json::parse(logged_out.out)[3]["access"], "双击获取权限");
}

TEST_F(CliProgramTest, DownloadsTheChosenAlbumsIntoTheOwnerFolder) {
  const ChildResult result =
      run({"download", kDemo, "--albums", "2,1", "--out", sandbox.path().string()});
  ASSERT_EQ(result.exit_status, 0) << result.err << result.out;

  EXPECT_EQ(names_in(sandbox.path()), std::vector<std::string>{"demo"});
  EXPECT_EQ(names_in(sandbox / "demo"), (std::vector<std::string>{"我的相册春游4", "春游5"}));
  const auto spring = names_in(sandbox / "demo" / "春游5");
  EXPECT_EQ(spring.size(), 5u);
  EXPECT_TRUE(all_photo_names(spring));
  EXPECT_EQ(names_in(sandbox / "demo" / "我的相册春游4").size(), 4u);
  for (const auto& name : spring) {
    EXPECT_GT(fs::file_size(sandbox / "demo" / "春游5" / name), 0u) << name;
  }

  // The log as the window shows it, in list order, and the closing message.
  const std::string& out = result.out;
  EXPECT_NE(out.find("当前被选择相册编号:1、2、\n\n"), std::string::npos) << out;
  const auto first = out.find("准备下载相册《春游》\n\n");
  // The list's name, trimmed at both ends by the batch.
  const auto second = out.find("准备下载相册《我的 相册：春游》\n\n");
  ASSERT_NE(first, std::string::npos) << out;
  ASSERT_NE(second, std::string::npos) << out;
  EXPECT_LT(first, second);
  EXPECT_NE(out.find("---完成相册《我的相册春游4》下载\n\n"), std::string::npos);
  EXPECT_NE(out.find("-------全部下载完毕--------\n\n"), std::string::npos);
  EXPECT_NE(out.find("全部下载完毕\n"), std::string::npos);
  EXPECT_EQ(out.find('\r'), std::string::npos);
  EXPECT_EQ(result.err.find('\r'), std::string::npos) << "no progress bar off a terminal";
}

TEST_F(CliProgramTest, DownloadsIntoTheCurrentFolderWithoutOut) {
  ChildOptions options;
  options.working_folder = sandbox.path();
  const ChildResult result = run({"download", kTravel, "--albums", "3"}, options);
  ASSERT_EQ(result.exit_status, 0) << result.err << result.out;
  EXPECT_EQ(names_in(sandbox / "travel"), std::vector<std::string>{"海边日落3"});
  EXPECT_EQ(names_in(sandbox / "travel" / "海边日落3").size(), 3u);
}

TEST_F(CliProgramTest, FailingPhotosGiveStatusOne) {
  service().faults().primary_image_404 = true;
  service().faults().alternate_image_404 = true;
  const ChildResult result =
      run({"download", kTravel, "--albums", "3", "--out", sandbox.path().string()});
  EXPECT_EQ(result.exit_status, 1) << result.err << result.out;
  EXPECT_NE(result.out.find("全部下载完毕"), std::string::npos);
}

TEST_F(CliProgramTest, UnknownSerialNumberStopsBeforeTheDownload) {
  const ChildResult result =
      run({"download", kTravel, "--albums", "1,9", "--out", sandbox.path().string()});
  EXPECT_EQ(result.exit_status, 2);
  EXPECT_NE(result.err.find("no album 9"), std::string::npos) << result.err;
  EXPECT_FALSE(any_request_to(service().hosts().primary_image));
  EXPECT_TRUE(fs::is_empty(sandbox.path()));
}

TEST_F(CliProgramTest, WithheldAlbumChosenByNumberIsReportedAsNotSaved) {
  const ChildResult result =
      run({"download", kDemo, "--albums", "1,4", "--out", sandbox.path().string()});
  EXPECT_EQ(result.exit_status, 1);
  EXPECT_NE(result.err.find("album 4 (同学聚会) is withheld"), std::string::npos) << result.err;
  EXPECT_EQ(names_in(sandbox / "demo"), std::vector<std::string>{"春游5"});
}

TEST_F(CliProgramTest, CookieTextGoesWithEveryDownloadRequest) {
  const ChildResult result = run({"download", kTravel, "--albums", "3", "--cookie",
                                  "probe=42; P_INFO=x", "--out", sandbox.path().string()});
  ASSERT_EQ(result.exit_status, 0) << result.err;
  int download_requests = 0;
  for (const auto& request : service().received()) {
    if (request.host != service().hosts().script &&
        request.host != service().hosts().primary_image) {
      continue;
    }
    if (request.path.find("albumlist") != std::string::npos) continue;
    ++download_requests;
    EXPECT_NE(request.header("Cookie").find("probe=42"), std::string::npos) << request.target;
  }
  EXPECT_EQ(download_requests, 4) << "album data and three photos";
}

TEST_F(CliProgramTest, CookieFileStandsInForTheBrowserCookieText) {
  sandbox.write_file("cookies.txt", ".photo.163.com\tTRUE\t/\tFALSE\t0\tP_INFO\tfrom-file\n");
  const ChildResult result =
      run({"download", kTravel, "--albums", "3", "--cookie-file",
           (sandbox / "cookies.txt").string(), "--out", (sandbox / "out").string()});
  ASSERT_EQ(result.exit_status, 0) << result.err;
  bool sent = false;
  for (const auto& request : service().received()) {
    if (request.host == service().hosts().script && request.path.ends_with("/data/2003.js")) {
      sent = request.header("Cookie").find("P_INFO=from-file") != std::string::npos;
    }
  }
  EXPECT_TRUE(sent);
}

struct InterruptCase {
  const char* name;
  const char* after;  // the log line that has to appear first
  bool download_started;
};

void PrintTo(const InterruptCase& c, std::ostream* out) { *out << c.name; }

class CliInterruptTest : public CliProgramTest,
                         public ::testing::WithParamInterface<InterruptCase> {};

TEST_P(CliInterruptTest, CtrlCStopsCleanlyWithoutHalfWrittenFiles) {
  // Photos trickle in, so an interruption in the download falls in the middle of one.
  service().faults().photo_chunk_delay_ms = 200;
  ChildOptions options;
  const std::string after = GetParam().after;
  options.interrupt_when = [after](const std::string& out) {
    return out.find(after) != std::string::npos;
  };
  const ChildResult result =
      run({"download", kTravel, "--albums", "1", "--out", sandbox.path().string()}, options);
  EXPECT_EQ(result.exit_status, 130) << result.err << result.out;
  EXPECT_NE(result.err.find("interrupted"), std::string::npos);
  EXPECT_EQ(result.out.find("全部下载完毕"), std::string::npos);
  EXPECT_EQ(result.out.find("准备下载相册《") != std::string::npos, GetParam().download_started)
      << result.out;
  const auto saved = names_in(sandbox / "travel" / "西藏之旅8");
  EXPECT_LT(saved.size(), 8u);
  EXPECT_TRUE(all_photo_names(saved)) << "a partial file was left behind";
}

INSTANTIATE_TEST_SUITE_P(Moments, CliInterruptTest,
                         ::testing::Values(InterruptCase{"DuringTheAlbumList", "获取相册《", false},
                                           InterruptCase{"DuringAPhoto", "准备下载相册《", true}),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace tamberlo::cli
