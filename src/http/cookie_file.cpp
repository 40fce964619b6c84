// Netscape cookies.txt, the format curl, wget and browser export tools share.
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <vector>

#include "http/cookie_store.h"

namespace tamberlo {
namespace {

constexpr std::string_view kHttpOnlyPrefix = "#HttpOnly_";

std::vector<std::string_view> tab_fields(std::string_view line) {
  std::vector<std::string_view> fields;
  while (true) {
    const std::size_t tab = line.find('\t');
    fields.push_back(line.substr(0, tab));
    if (tab == std::string_view::npos) break;
    line.remove_prefix(tab + 1);
  }
  return fields;
}

// One cookie line, or nullopt for comments, blank and malformed lines.
std::optional<Cookie> parse_line(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  Cookie cookie;
  if (line.starts_with(kHttpOnlyPrefix)) {
    cookie.http_only = true;
    line.remove_prefix(kHttpOnlyPrefix.size());
  } else if (line.empty() || line.front() == '#') {
    return std::nullopt;
  }
  std::vector<std::string_view> fields = tab_fields(line);
  if (fields.size() == 6) fields.emplace_back();  // an empty value loses its tab in some writers
  if (fields.size() != 7 || fields[0].empty() || fields[5].empty()) return std::nullopt;
  long long seconds = 0;
  const auto [end, error] =
      std::from_chars(fields[4].data(), fields[4].data() + fields[4].size(), seconds);
  if (error != std::errc{} || end != fields[4].data() + fields[4].size()) return std::nullopt;

  std::string_view domain = fields[0];
  if (domain.starts_with('.')) domain.remove_prefix(1);
  cookie.domain = std::string(domain);
  cookie.host_only = fields[1] != "TRUE";
  cookie.path = std::string(fields[2]);
  cookie.secure = fields[3] == "TRUE";
  if (seconds != 0) {
    cookie.expires = std::chrono::system_clock::time_point(std::chrono::seconds(seconds));
  }
  cookie.name = std::string(fields[5]);
  cookie.value = std::string(fields[6]);
  return cookie;
}

std::string format_line(const Cookie& cookie) {
  std::ostringstream line;
  if (cookie.http_only) line << kHttpOnlyPrefix;
  line << (cookie.host_only ? "" : ".") << cookie.domain << '\t'
       << (cookie.host_only ? "FALSE" : "TRUE") << '\t' << cookie.path << '\t'
       << (cookie.secure ? "TRUE" : "FALSE") << '\t'
       << (cookie.expires ? std::chrono::duration_cast<std::chrono::seconds>(
                                cookie.expires->time_since_epoch())
                                .count()
                          : 0)
       << '\t' << cookie.name << '\t' << cookie.value << '\n';
  return line.str();
}

void set_error(std::string* error, const std::string& what, const std::string& path) {
  if (error != nullptr) *error = what + " " + path + ": " + std::strerror(errno);
}

}  // namespace

bool CookieStore::load_netscape(const std::string& path, std::string* error) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    set_error(error, "cannot read", path);
    return false;
  }
  std::string line;
  while (std::getline(file, line)) {
    if (auto cookie = parse_line(line)) set(*cookie);
  }
  // A folder opens as a stream but fails on the first read: that is no cookie file.
  if (file.bad() || !file.eof()) {
    set_error(error, "cannot read", path);
    return false;
  }
  return true;
}

bool CookieStore::save_netscape(const std::string& path, std::string* error) {
  std::string text = "# Netscape HTTP Cookie File\n";
  for (const Cookie& cookie : all()) text += format_line(cookie);
  // Written beside the target first, so a failed write never leaves half a file in its place.
  const std::string temporary = path + ".partial";
  {
    std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
    if (!file || !file.write(text.data(), static_cast<std::streamsize>(text.size())) ||
        !file.flush()) {
      set_error(error, "cannot write", temporary);
      std::remove(temporary.c_str());
      return false;
    }
  }
  if (std::rename(temporary.c_str(), path.c_str()) != 0) {
    set_error(error, "cannot replace", path);
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}

}  // namespace tamberlo
