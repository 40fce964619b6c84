#include "http/cookie_rules.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <memory>

#include "text/text.h"

namespace tamberlo {
namespace {

struct CurlUrlDeleter {
  void operator()(CURLU* url) const { curl_url_cleanup(url); }
};
struct CurlTextDeleter {
  void operator()(char* text) const { curl_free(text); }
};

std::optional<std::string> url_part(CURLU* url, CURLUPart part) {
  char* text = nullptr;
  if (curl_url_get(url, part, &text, 0) != CURLUE_OK) return std::nullopt;
  std::unique_ptr<char, CurlTextDeleter> owned(text);
  return std::string(text);
}

// Cookie attribute text is trimmed of blanks and tabs only.
std::string_view trim_blanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

bool is_ip_address(std::string_view host) {
  if (host.find(':') != std::string_view::npos || host.starts_with('[')) return true;
  return !host.empty() && std::all_of(host.begin(), host.end(),
                                      [](char c) { return (c >= '0' && c <= '9') || c == '.'; });
}

// The directory of the request path: where a cookie without a Path attribute applies.
std::string default_path(std::string_view path) {
  if (path.empty() || path.front() != '/') return "/";
  const std::size_t last = path.rfind('/');
  if (last == 0) return "/";
  return std::string(path.substr(0, last));
}

std::optional<std::chrono::system_clock::time_point> parse_expires(std::string_view text) {
  const std::string copy(text);
  const time_t seconds = curl_getdate(copy.c_str(), nullptr);
  if (seconds == -1) return std::nullopt;
  return std::chrono::system_clock::from_time_t(seconds);
}

std::optional<long long> parse_max_age(std::string_view text) {
  if (text.empty()) return std::nullopt;
  const bool negative = text.front() == '-';
  const std::string_view digits = negative ? text.substr(1) : text;
  if (digits.empty() ||
      !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return std::nullopt;
  }
  long long value = 0;
  for (const char c : digits) {
    value = std::min(value * 10 + (c - '0'), 1'000'000'000'000LL);
  }
  return negative ? -value : value;
}

}  // namespace

std::optional<CookieOrigin> cookie_origin(std::string_view url) {
  std::unique_ptr<CURLU, CurlUrlDeleter> parsed(curl_url());
  const std::string copy(url);
  if (!parsed || curl_url_set(parsed.get(), CURLUPART_URL, copy.c_str(),
                              CURLU_DEFAULT_SCHEME | CURLU_NON_SUPPORT_SCHEME) != CURLUE_OK) {
    return std::nullopt;
  }
  const auto scheme = url_part(parsed.get(), CURLUPART_SCHEME);
  const auto host = url_part(parsed.get(), CURLUPART_HOST);
  if (!scheme || !host || host->empty()) return std::nullopt;
  CookieOrigin origin;
  origin.scheme = to_lower_ascii(*scheme);
  origin.host = to_lower_ascii(*host);
  origin.path = url_part(parsed.get(), CURLUPART_PATH).value_or("/");
  if (origin.path.empty()) origin.path = "/";
  return origin;
}

bool domain_matches(std::string_view host, std::string_view domain) {
  if (host == domain) return true;
  return !is_ip_address(host) && host.size() > domain.size() && host.ends_with(domain) &&
         host[host.size() - domain.size() - 1] == '.';
}

bool path_matches(std::string_view request_path, std::string_view cookie_path) {
  if (request_path == cookie_path) return true;
  if (!request_path.starts_with(cookie_path)) return false;
  return cookie_path.ends_with('/') || request_path[cookie_path.size()] == '/';
}

bool cookie_applies(const Cookie& cookie, const CookieOrigin& origin) {
  const bool host_fits =
      cookie.host_only ? origin.host == cookie.domain : domain_matches(origin.host, cookie.domain);
  return host_fits && path_matches(origin.path, cookie.path) &&
         (!cookie.secure || origin.scheme == "https");
}

std::optional<Cookie> parse_set_cookie(const CookieOrigin& origin, std::string_view value,
                                       std::chrono::system_clock::time_point now) {
  const std::size_t first_semicolon = value.find(';');
  const std::string_view pair = value.substr(0, first_semicolon);
  const std::size_t equals = pair.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  Cookie cookie;
  cookie.name = trim_blanks(pair.substr(0, equals));
  cookie.value = trim_blanks(pair.substr(equals + 1));
  if (cookie.name.empty() || cookie.name.size() + cookie.value.size() > 4096) return std::nullopt;

  std::optional<std::chrono::system_clock::time_point> expires;
  std::optional<long long> max_age;
  std::string domain;
  std::optional<std::string> path;
  std::string_view rest =
      first_semicolon == std::string_view::npos ? "" : value.substr(first_semicolon + 1);
  while (!rest.empty()) {
    const std::size_t end = rest.find(';');
    const std::string_view attribute = rest.substr(0, end);
    rest = end == std::string_view::npos ? "" : rest.substr(end + 1);
    const std::size_t is = attribute.find('=');
    const std::string name = to_lower_ascii(trim_blanks(attribute.substr(0, is)));
    const std::string_view text =
        is == std::string_view::npos ? "" : trim_blanks(attribute.substr(is + 1));
    if (name == "expires") {
      if (auto parsed = parse_expires(text)) expires = parsed;
    } else if (name == "max-age") {
      if (auto parsed = parse_max_age(text)) max_age = parsed;
    } else if (name == "domain") {
      std::string_view bare = text;
      if (bare.starts_with('.')) bare.remove_prefix(1);
      if (!bare.empty()) domain = to_lower_ascii(bare);
    } else if (name == "path") {
      path =
          (text.empty() || text.front() != '/') ? std::nullopt : std::optional<std::string>(text);
    } else if (name == "secure") {
      cookie.secure = true;
    } else if (name == "httponly") {
      cookie.http_only = true;
    }
  }

  if (max_age) {
    cookie.expires = *max_age <= 0 ? std::chrono::system_clock::time_point{}
                                   : now + std::chrono::seconds(*max_age);
  } else {
    cookie.expires = expires;
  }
  if (domain.empty()) {
    cookie.host_only = true;
    cookie.domain = origin.host;
  } else {
    // A single label ("com") is a public suffix: only the host of that very name may use it.
    const bool single_label = domain.find('.') == std::string::npos;
    if (!domain_matches(origin.host, domain) || (single_label && domain != origin.host)) {
      return std::nullopt;
    }
    cookie.host_only = false;
    cookie.domain = domain;
  }
  cookie.path = path.value_or(default_path(origin.path));
  // Browsers keep a plain-http page from setting a cookie that only https may read.
  if (cookie.secure && origin.scheme != "https") return std::nullopt;
  return cookie;
}

}  // namespace tamberlo
