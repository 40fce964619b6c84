#include "http/object_request.h"

#include <algorithm>
#include <string>
#include <utility>

#include "http/cookie_text.h"
#include "http/curl_handle.h"
#include "http/http_settings.h"
#include "http/transfer.h"

namespace tamberlo {
namespace {

constexpr int kDefaultTimeoutMs = 15000;
constexpr int kProxyTarget = 1;

struct NamedHeader {
  Text name;
  Text value;
};

// Headers are set by name: a later one of the same name (any case) replaces the earlier value,
// so one name goes out once. A piece without a name cannot be set and is left out.
void set_header(std::vector<NamedHeader>& headers, Text name, Text value) {
  if (name.empty()) return;
  const Text key = to_lower_ascii(name);
  const auto same = std::find_if(headers.begin(), headers.end(), [&](const NamedHeader& header) {
    return to_lower_ascii(header.name) == key;
  });
  if (same != headers.end()) {
    same->value = std::move(value);
  } else {
    headers.push_back({std::move(name), std::move(value)});
  }
}

std::vector<std::string> wire_lines(const std::vector<NamedHeader>& headers) {
  std::vector<std::string> lines;
  for (const NamedHeader& header : headers) {
    // "Name;" is libcurl's spelling of a header sent with an empty value.
    lines.push_back(header.value.empty() ? header.name + ";" : header.name + ": " + header.value);
  }
  return lines;
}

// The answer's header lines without its status line, as the request object hands them over.
Text header_lines_of(const std::string& raw_headers) {
  const std::size_t end_of_status = raw_headers.find("\r\n");
  if (end_of_status == std::string::npos) return {};
  return raw_headers.substr(end_of_status + 2);
}

}  // namespace

Bytes object_request(RequestDescription& request) {
  const Text verb = verb_for(request.method);
  const HandleLease lease(request.request_object);
  if (lease.get() == nullptr) return {};

  TransferOptions options;
  options.url = wire_url(request.url);
  options.verb = verb;
  if (request.timeout_s != -1) {
    const std::chrono::milliseconds limit{request.timeout_s >= 1 ? request.timeout_s * 1000LL
                                                                 : kDefaultTimeoutMs};
    options.connect_timeout = limit;
    options.idle_timeout = limit;
  }
  options.proxy = request.proxy.empty() ? default_proxy() : request.proxy;
  if (!options.proxy.empty() && !request.proxy_user.empty()) {
    options.user = request.proxy_user;
    options.password = request.proxy_password;
    options.credentials_for_proxy = request.credentials_flag.value_or(kProxyTarget) == kProxyTarget;
  }
  options.follow_redirects = !request.no_redirect;
  options.gate = request.gate;

  request.headers = complete_headers(request.headers, request.url, HeaderForm::object, Text{});
  Text cookies = request.cookies.value_or(Text{});
  std::vector<NamedHeader> headers;
  if (!cookies.empty()) set_header(headers, "Cookie", cookies);
  for (const Text& piece : split_text(request.headers, "\r\n")) {
    if (!piece.empty()) set_header(headers, header_name(piece), header_value(piece));
  }
  options.header_lines = wire_lines(headers);

  if (!request.body_bytes.empty()) {
    options.send_body = true;
    options.body = request.body_bytes;
  } else if (!request.body_text.empty()) {
    options.send_body = true;
    options.body = request.body_text;
  }

  TransferResult result = perform_transfer(lease.get(), std::move(options));
  AnswerCookies answer = collect_answer_cookies(header_lines_of(result.raw_headers));
  request.response_headers = std::move(answer.normalised_headers);
  request.status = result.status;
  request.answer_cookies = std::move(answer.cookies);
  merge_cookies(cookies, request.answer_cookies);
  if (request.cookies) *request.cookies = std::move(cookies);
  return std::move(result.body);
}

}  // namespace tamberlo
