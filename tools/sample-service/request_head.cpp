#include "sample-service/request_head.h"

#include <cctype>
#include <charconv>

namespace tamberlo::sample {
namespace {

std::string_view trim_blanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

std::string lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

bool same_name(std::string_view a, std::string_view b) { return lower(a) == lower(b); }

// "host:port" or "[v6]:port" without the port.
std::string host_without_port(std::string_view authority) {
  if (auto at = authority.rfind('@'); at != std::string_view::npos) authority.remove_prefix(at + 1);
  if (!authority.empty() && authority.front() == '[') {
    auto close = authority.find(']');
    return lower(
        authority.substr(0, close == std::string_view::npos ? authority.size() : close + 1));
  }
  return lower(authority.substr(0, authority.find(':')));
}

int hex_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::string RequestHead::header(std::string_view name) const {
  for (const auto& [key, value] : headers) {
    if (same_name(key, name)) return value;
  }
  return {};
}

std::vector<std::string> RequestHead::headers_named(std::string_view name) const {
  std::vector<std::string> values;
  for (const auto& [key, value] : headers) {
    if (same_name(key, name)) values.push_back(value);
  }
  return values;
}

std::size_t RequestHead::content_length() const {
  const std::string text = header("Content-Length");
  std::size_t length = 0;
  std::from_chars(text.data(), text.data() + text.size(), length);
  return length;
}

bool RequestHead::chunked() const {
  return lower(header("Transfer-Encoding")).find("chunked") != std::string::npos;
}

bool RequestHead::wants_close() const {
  const std::string connection = lower(header("Connection"));
  if (connection.find("close") != std::string::npos) return true;
  return version == "HTTP/1.0" && connection.find("keep-alive") == std::string::npos;
}

std::optional<RequestHead> parse_request_head(std::string raw) {
  RequestHead head;
  std::string_view rest = raw;
  auto line_end = rest.find("\r\n");
  if (line_end == std::string_view::npos) return std::nullopt;
  std::string_view request_line = rest.substr(0, line_end);
  rest.remove_prefix(line_end + 2);

  auto first_space = request_line.find(' ');
  auto last_space = request_line.rfind(' ');
  if (first_space == std::string_view::npos || last_space == first_space) return std::nullopt;
  head.method = std::string(request_line.substr(0, first_space));
  head.target = std::string(request_line.substr(first_space + 1, last_space - first_space - 1));
  head.version = std::string(request_line.substr(last_space + 1));
  if (head.method.empty() || head.target.empty()) return std::nullopt;

  while (!rest.empty()) {
    line_end = rest.find("\r\n");
    if (line_end == std::string_view::npos || line_end == 0) break;
    std::string_view line = rest.substr(0, line_end);
    rest.remove_prefix(line_end + 2);
    auto colon = line.find(':');
    if (colon == std::string_view::npos) continue;
    head.headers.emplace_back(std::string(trim_blanks(line.substr(0, colon))),
                              std::string(trim_blanks(line.substr(colon + 1))));
  }

  // A proxy is asked with the whole address; a plain server only with the path.
  std::string_view target = head.target;
  constexpr std::string_view kScheme = "://";
  if (auto scheme = target.find(kScheme);
      scheme != std::string_view::npos && target.front() != '/') {
    std::string_view after = target.substr(scheme + kScheme.size());
    auto path_start = after.find_first_of("/?");
    head.host = host_without_port(after.substr(0, path_start));
    target =
        path_start == std::string_view::npos ? std::string_view("/") : after.substr(path_start);
  } else {
    head.host = host_without_port(head.header("Host"));
  }
  auto question = target.find('?');
  head.path = std::string(target.substr(0, question));
  if (head.path.empty()) head.path.push_back('/');
  if (question != std::string_view::npos) head.query = std::string(target.substr(question + 1));
  // A fragment is never meant to be sent, but a careless client may.
  if (auto hash = head.path.find('#'); hash != std::string::npos) head.path.resize(hash);
  if (auto hash = head.query.find('#'); hash != std::string::npos) head.query.resize(hash);
  head.raw = std::move(raw);
  return head;
}

std::string form_decode(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '+') {
      out += ' ';
    } else if (text[i] == '%' && i + 2 < text.size() && hex_value(text[i + 1]) >= 0 &&
               hex_value(text[i + 2]) >= 0) {
      out += static_cast<char>(hex_value(text[i + 1]) * 16 + hex_value(text[i + 2]));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

std::vector<std::string> form_values(std::string_view query, std::string_view name) {
  std::vector<std::string> values;
  while (!query.empty()) {
    auto amp = query.find('&');
    std::string_view pair = query.substr(0, amp);
    query = amp == std::string_view::npos ? std::string_view() : query.substr(amp + 1);
    auto equals = pair.find('=');
    if (form_decode(pair.substr(0, equals)) != name) continue;
    values.push_back(equals == std::string_view::npos ? std::string()
                                                      : form_decode(pair.substr(equals + 1)));
  }
  return values;
}

std::string form_value(std::string_view query, std::string_view name) {
  auto values = form_values(query, name);
  return values.empty() ? std::string() : values.front();
}

std::optional<std::string> cookie_value(std::string_view cookie_header, std::string_view name) {
  while (!cookie_header.empty()) {
    auto semicolon = cookie_header.find(';');
    std::string_view item = trim_blanks(cookie_header.substr(0, semicolon));
    cookie_header = semicolon == std::string_view::npos ? std::string_view()
                                                        : cookie_header.substr(semicolon + 1);
    auto equals = item.find('=');
    if (equals != std::string_view::npos && trim_blanks(item.substr(0, equals)) == name) {
      return std::string(trim_blanks(item.substr(equals + 1)));
    }
  }
  return std::nullopt;
}

}  // namespace tamberlo::sample
