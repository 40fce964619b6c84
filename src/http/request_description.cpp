#include "http/request_description.h"

namespace tamberlo {
namespace {

constexpr std::string_view kDefaultAgentLine =
    "User-Agent: Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";

// A caller's line of the same name suppresses a default; the test is a plain byte search over
// the whole block, so "x-referer:" counts as "Referer:" but "content-type:" does not count.
void append_unless_present(Text& block, std::string_view name, std::string_view line) {
  if (contains_text(block, name)) return;
  block += "\r\n";
  block += line;
}

}  // namespace

Text verb_for(int method) {
  switch (method) {
    case 1:
      return "POST";
    case 2:
      return "HEAD";
    default:
      return "GET";
  }
}

Text complete_headers(const Text& headers, const Text& url, HeaderForm form, const Text& cookies) {
  Text block = headers;
  if (block.empty()) {
    block = "Accept: */*";
  } else {
    append_unless_present(block, "Accept:", "Accept: */*");
  }
  append_unless_present(block, "Referer:", "Referer: " + url);
  append_unless_present(block, "Accept-Language:", "Accept-Language: zh-cn");
  if (form == HeaderForm::object) append_unless_present(block, "User-Agent:", kDefaultAgentLine);
  append_unless_present(block, "Content-Type:", "Content-Type: application/x-www-form-urlencoded");
  if (form == HeaderForm::internet && !cookies.empty()) block += "\r\nCookie: " + cookies;
  return block;
}

Text header_name(std::string_view line) {
  const int colon = find_text(line, ":");
  if (colon == -1) return {};
  return trim_text(line.substr(0, static_cast<std::size_t>(colon) - 1));
}

Text header_value(std::string_view line) {
  const int colon = find_text(line, ":");
  if (colon == -1) return {};
  return trim_text(line.substr(static_cast<std::size_t>(colon)));
}

}  // namespace tamberlo
