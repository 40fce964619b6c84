#pragma once

#include <curl/curl.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "text/text.h"

namespace tamberlo {

class TransferGate;

// What both request routines hand to libcurl once they have shaped the request.
struct TransferOptions {
  std::string url;  // absolute, http or https
  std::string verb;
  bool send_body = false;
  Bytes body;
  std::vector<std::string> header_lines;  // "Name: value", sent in this order
  std::optional<std::string> user_agent;
  std::string proxy;  // empty: direct
  std::string user;
  std::string password;
  bool credentials_for_proxy = true;
  std::optional<std::chrono::milliseconds> connect_timeout;
  // Longest stretch without a byte moving; a slow transfer that keeps moving is never cut.
  std::optional<std::chrono::milliseconds> idle_timeout;
  bool follow_redirects = true;
  // Send and keep cookies through process_cookie_store(), as the embedded browser does.
  bool browser_cookies = false;
  TransferGate* gate = nullptr;
};

struct TransferResult {
  bool answered = false;  // a final answer came in whole
  int status = 0;
  std::string raw_headers;  // status line and header lines of the final answer, each "\r\n"
  Bytes body;
};

inline constexpr int kRedirectLimit = 20;

// Runs the request on handle, following redirections itself so that every hop can carry and
// keep its own cookies. Anything short of a whole final answer gives answered == false and
// nothing else.
TransferResult perform_transfer(CURL* handle, TransferOptions options);

// The address as libcurl takes it: "http://" in front when no scheme is named, and spaces,
// control bytes and bytes of double-byte characters percent-encoded.
std::string wire_url(std::string_view url);
// Spaces, control bytes and bytes of double-byte characters percent-encoded, the rest as is.
std::string escape_unsafe_bytes(std::string_view url);

}  // namespace tamberlo
