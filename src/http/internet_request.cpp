#include "http/internet_request.h"

#include <string>

#include "http/cookie_text.h"
#include "http/curl_handle.h"
#include "http/http_settings.h"
#include "http/transfer.h"

namespace tamberlo {
namespace {

constexpr std::string_view kDefaultAgent = "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";
// The library's own limits apply where the caller sets none; these keep a stalled server from
// holding the window for ever.
constexpr std::chrono::milliseconds kConnectTimeout{60000};
constexpr std::chrono::milliseconds kIdleTimeout{60000};

// The value of the caller's first "User-Agent:" (any case), up to the end of its line.
Text agent_for(const Text& headers) {
  const int at = find_text(headers, "User-Agent:", 1, true);
  if (at == -1) return Text(kDefaultAgent);
  const int value_at = at + static_cast<int>(std::string_view("User-Agent:").size());
  const int line_end = find_text(headers, "\r\n", value_at);
  const std::size_t from = static_cast<std::size_t>(value_at) - 1;
  const std::size_t length =
      line_end == -1 ? Text::npos : static_cast<std::size_t>(line_end - value_at);
  return trim_text(std::string_view(headers).substr(from, length));
}

// A host that could name a machine: letters, digits, dots, hyphens and underscores.
bool plausible_host(const Text& host) {
  if (host.empty()) return false;
  for (const char c : host) {
    const bool fits =
        (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '_';
    if (!fits) return false;
  }
  return true;
}

// The completed block as sent: empty lines and lines without a name are left out, and the
// agent travels once, as the session agent, whatever the block spells.
std::vector<std::string> wire_lines(const Text& completed) {
  std::vector<std::string> lines;
  for (Text& line : split_text(completed, "\r\n")) {
    const Text name = header_name(line);
    if (name.empty() || to_lower_ascii(name) == "user-agent") continue;
    lines.push_back(std::move(line));
  }
  return lines;
}

}  // namespace

Bytes internet_request(RequestDescription& request) {
  const Text verb = verb_for(request.method);
  const bool secure = to_lower_ascii(std::string_view(request.url).substr(0, 5)) == "https";
  const Text host = url_host(request.url, false);
  const int port = url_port(request.url);
  // No connection can be opened to such an address: nothing is sent and nothing written back.
  if (!plausible_host(host) || port < 1 || port > 65535) return {};
  const HandleLease lease(nullptr);
  if (lease.get() == nullptr) return {};

  TransferOptions options;
  options.url = (secure ? "https://" : "http://") + host + ":" + std::to_string(port) +
                escape_unsafe_bytes(url_path(request.url));
  options.verb = verb;
  options.user_agent = agent_for(request.headers);
  options.proxy = request.proxy.empty() ? default_proxy() : request.proxy;
  options.connect_timeout = kConnectTimeout;
  options.idle_timeout = kIdleTimeout;
  options.follow_redirects = !request.no_redirect;
  options.browser_cookies = !request.cookies.has_value();
  options.gate = request.gate;

  request.headers = complete_headers(request.headers, request.url, HeaderForm::internet,
                                     request.cookies.value_or(Text{}));
  options.header_lines = wire_lines(request.headers);
  if (verb != "GET") {
    if (request.body_bytes.empty()) request.body_bytes = request.body_text;
    options.send_body = true;
    options.body = request.body_bytes;
  }

  TransferResult result = perform_transfer(lease.get(), std::move(options));
  AnswerCookies answer = collect_answer_cookies(result.raw_headers);
  request.response_headers = std::move(answer.normalised_headers);
  request.answer_cookies = std::move(answer.cookies);
  if (request.cookies) merge_cookies(*request.cookies, request.answer_cookies);
  return std::move(result.body);
}

}  // namespace tamberlo
