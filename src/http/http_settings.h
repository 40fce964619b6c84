#pragma once

#include <cstddef>
#include <string>

namespace tamberlo {

// The program's --proxy: used by both request routines when a request names no proxy.
// Empty means a direct connection (proxy variables of the environment are never consulted).
void set_default_proxy(std::string proxy_url);
std::string default_proxy();

// Answers longer than this fail the request instead of filling memory.
inline constexpr std::size_t kDefaultBodyLimit = std::size_t{256} * 1024 * 1024;
void set_body_limit(std::size_t bytes);
std::size_t body_limit();

}  // namespace tamberlo
