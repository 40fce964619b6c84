#include "cli/cookie_file_check.h"

#include <charconv>
#include <filesystem>
#include <fstream>
#include <string_view>
#include <vector>

namespace tamberlo::cli {

namespace {

constexpr std::string_view kHttpOnlyPrefix = "#HttpOnly_";

// Domain, subdomains flag, path, secure flag, expiry, name, value.
constexpr std::size_t kFields = 7;

std::string line_problem(std::string_view line) {
  if (!line.empty() && line.back() == '\r') {
    line.remove_suffix(1);
  }
  if (line.starts_with(kHttpOnlyPrefix)) {
    line.remove_prefix(kHttpOnlyPrefix.size());
  } else if (line.find_first_not_of(" \t") == std::string_view::npos || line.front() == '#') {
    return {};
  }
  std::vector<std::string_view> fields;
  while (true) {
    const std::size_t tab = line.find('\t');
    fields.push_back(line.substr(0, tab));
    if (tab == std::string_view::npos) {
      break;
    }
    line.remove_prefix(tab + 1);
  }
  // Some writers drop the tab before an empty value.
  if (fields.size() != kFields && fields.size() != kFields - 1) {
    return "expected 7 fields separated by tabs, found " + std::to_string(fields.size());
  }
  if (fields[0].empty()) {
    return "the domain is empty";
  }
  if (fields[5].empty()) {
    return "the cookie name is empty";
  }
  long long seconds = 0;
  const auto [end, error] =
      std::from_chars(fields[4].data(), fields[4].data() + fields[4].size(), seconds);
  if (fields[4].empty() || error != std::errc() || end != fields[4].data() + fields[4].size()) {
    return "the expiry \"" + std::string(fields[4]) + "\" is not a number of seconds";
  }
  return {};
}

}  // namespace

std::string cookie_file_problem(const std::string& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) {
    return error ? error.message() : "not a file";
  }
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    return "cannot be read";
  }
  std::string line;
  for (int number = 1; std::getline(file, line); ++number) {
    if (const std::string problem = line_problem(line); !problem.empty()) {
      return "line " + std::to_string(number) + ": " + problem;
    }
  }
  if (file.bad()) {
    return "cannot be read";
  }
  return {};
}

}  // namespace tamberlo::cli
