#pragma once

#include <memory>
#include <optional>
#include <string_view>

#include "text/text.h"

namespace tamberlo {

// A reusable transfer: one libcurl easy handle that keeps its live connections between calls,
// so requests sent through the same object reuse them. Not for two threads at once (calls on
// one object are serialised).
class RequestObject;
std::shared_ptr<RequestObject> make_request_object();

class TransferGate;

// The ordered request parameters shared by internet_request and object_request. The routines
// read the caller's variables and write their results back into the same fields.
struct RequestDescription {
  Text url;                     // "http://" or "https://"; without a scheme it is read as http
  int method = 0;               // 0 GET, 1 POST, 2 HEAD; any other value is GET
  Text body_text;               // request body as text
  std::optional<Text> cookies;  // caller's cookie text; nullopt = not supplied
  Text answer_cookies;          // out: the cookies the answer set
  Text headers;                 // extra lines joined by "\r\n"; the completed block comes back
  // out: the final answer's header lines, each ended by "\r\n" (internet_request puts the
  // status line first, object_request gives the header lines alone)
  Text response_headers;
  int status = 0;            // out (object_request): status code, 0 when nothing answered
  bool no_redirect = false;  // true: redirections are not followed
  Bytes body_bytes;          // request body as bytes; wins over body_text
  Text proxy;                // "host:port" or "http://host:port"; empty: default_proxy()
  int timeout_s = 0;         // object_request: seconds; 0 and below mean 15, -1 libcurl's own
  Text proxy_user;           // object_request
  Text proxy_password;       // object_request
  std::optional<int> credentials_flag;            // object_request: 1 (proxy) when omitted
  std::shared_ptr<RequestObject> request_object;  // object_request: null = a fresh transfer
  // Lets a download pause a transfer in flight (it stops moving) or cancel it (it fails).
  TransferGate* gate = nullptr;
};

// "GET" for 0, "POST" for 1, "HEAD" for 2, "GET" for anything else.
Text verb_for(int method);

enum class HeaderForm { internet, object };

// The caller's header block with the default lines it lacks appended. The internet form adds
// "Cookie: " + cookies when cookies is not empty; the object form adds the default agent line
// and ignores cookies.
Text complete_headers(const Text& headers, const Text& url, HeaderForm form, const Text& cookies);

// The trimmed halves of one header line around its first ":"; both empty without a ":".
Text header_name(std::string_view line);
Text header_value(std::string_view line);

}  // namespace tamberlo
