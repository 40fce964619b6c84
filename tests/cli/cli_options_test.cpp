#include "cli/cli_options.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

namespace tamberlo::cli {
namespace {

struct Parsed {
  ParsedCommandLine result;
  std::string out;
  std::string err;
};

Parsed parse(std::vector<const char*> arguments) {
  arguments.insert(arguments.begin(), "tamberlo-cli");
  std::ostringstream out;
  std::ostringstream err;
  ParsedCommandLine result =
      parse_command_line(static_cast<int>(arguments.size()), arguments.data(), out, err);
  return {std::move(result), out.str(), err.str()};
}

TEST(CliOptionsTest, AlbumsWithItsFlags) {
  const Parsed parsed = parse({"albums", "http://photo.163.com/demo/", "--own", "--json"});
  ASSERT_TRUE(parsed.result.options);
  const CliOptions& options = *parsed.result.options;
  EXPECT_EQ(options.command, Command::albums);
  EXPECT_EQ(options.address, "http://photo.163.com/demo/");
  EXPECT_TRUE(options.own);
  EXPECT_TRUE(options.json);
  EXPECT_FALSE(options.proxy);
}

TEST(CliOptionsTest, CommonOptionsStandBeforeOrAfterTheCommand) {
  for (const auto& arguments :
       {std::vector<const char*>{"--proxy", "http://127.0.0.1:9", "--cookie", "a=1", "download",
                                 "http://photo.163.com/demo/", "--albums", "1,3", "--out", "d"},
        std::vector<const char*>{"download", "http://photo.163.com/demo/", "--albums", "1,3",
                                 "--out", "d", "--proxy", "http://127.0.0.1:9", "--cookie",
                                 "a=1"}}) {
    const Parsed parsed = parse(arguments);
    ASSERT_TRUE(parsed.result.options) << parsed.err;
    const CliOptions& options = *parsed.result.options;
    EXPECT_EQ(options.command, Command::download);
    EXPECT_EQ(options.albums, "1,3");
    EXPECT_EQ(options.out, "d");
    EXPECT_EQ(options.proxy, "http://127.0.0.1:9");
    EXPECT_EQ(options.cookie, "a=1");
    EXPECT_FALSE(options.own);
  }
}

TEST(CliOptionsTest, VersionAndHelpEndWithoutARun) {
  const Parsed version = parse({"--version"});
  EXPECT_FALSE(version.result.options);
  EXPECT_EQ(version.result.exit_status, kExitSuccess);
  EXPECT_EQ(version.out, "tamberlo-cli 2.0\n");

  const Parsed help = parse({"--help"});
  EXPECT_FALSE(help.result.options);
  EXPECT_EQ(help.result.exit_status, kExitSuccess);
  EXPECT_NE(help.out.find("download"), std::string::npos);
  EXPECT_NE(help.out.find("--proxy"), std::string::npos);
}

TEST(CliOptionsTest, UsageErrorsGiveStatusTwo) {
  const std::vector<std::vector<const char*>> bad = {
      {},
      {"albums"},
      {"fetch", "http://photo.163.com/demo/"},
      {"albums", "http://photo.163.com/demo/", "--albums", "1"},
      {"download", "http://photo.163.com/demo/", "--json"},
      {"download", "http://photo.163.com/demo/", "--out"},
      {"albums", "a", "b"},
  };
  for (const auto& arguments : bad) {
    const Parsed parsed = parse(arguments);
    EXPECT_FALSE(parsed.result.options);
    EXPECT_EQ(parsed.result.exit_status, kExitBadUsage);
    EXPECT_FALSE(parsed.err.empty());
  }
}

}  // namespace
}  // namespace tamberlo::cli
