#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tamberlo::sample {

// One request's head as it arrived: the request line and the header lines in order, kept raw
// so the echo endpoint can give them back byte for byte.
struct RequestHead {
  std::string raw;  // request line, header lines and the blank line
  std::string method;
  std::string target;  // as on the request line
  std::string version;
  std::string host;   // from an absolute target, else from the Host header; lower case, no port
  std::string path;   // without query, not decoded
  std::string query;  // raw, without "?"
  std::vector<std::pair<std::string, std::string>> headers;

  std::string header(std::string_view name) const;  // first of that name, any case, or ""
  std::vector<std::string> headers_named(std::string_view name) const;
  std::size_t content_length() const;
  bool chunked() const;
  bool wants_close() const;
};

// Reads a head that ends with an empty line; nullopt when the request line is malformed.
std::optional<RequestHead> parse_request_head(std::string raw);

// Percent escapes decoded, and "+" read as a blank (form encoding).
std::string form_decode(std::string_view text);
// Every value of `name` in a raw query or form body, decoded, in order.
std::vector<std::string> form_values(std::string_view query, std::string_view name);
std::string form_value(std::string_view query, std::string_view name);
// The value of one cookie in a Cookie header text ("a=1; b=2"), or nullopt.
std::optional<std::string> cookie_value(std::string_view cookie_header, std::string_view name);

}  // namespace tamberlo::sample
