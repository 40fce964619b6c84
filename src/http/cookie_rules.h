#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

#include "http/cookie_store.h"

namespace tamberlo {

// The parts of an address that cookies care about.
struct CookieOrigin {
  std::string scheme;  // lower case
  std::string host;    // lower case
  std::string path;    // "/" when the address has none
};
std::optional<CookieOrigin> cookie_origin(std::string_view url);

// The cookie a Set-Cookie value asks for, or nullopt when a browser would ignore it.
std::optional<Cookie> parse_set_cookie(const CookieOrigin& origin, std::string_view value,
                                       std::chrono::system_clock::time_point now);

bool domain_matches(std::string_view host, std::string_view domain);
bool path_matches(std::string_view request_path, std::string_view cookie_path);
bool cookie_applies(const Cookie& cookie, const CookieOrigin& origin);

}  // namespace tamberlo
