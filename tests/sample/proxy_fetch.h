#pragma once

#include <curl/curl.h>

#include <string>
#include <string_view>
#include <vector>

// A plain libcurl client for the sample service's tests, independent of the program's own.
namespace tamberlo::test {

struct FetchOptions {
  std::string method = "GET";
  std::string body;
  std::string cookie;                // Cookie header text
  std::vector<std::string> headers;  // extra header lines
  std::string proxy;                 // default: the environment's service
  bool no_proxy = false;             // ask 127.0.0.1 directly (origin-form targets)
};

struct Fetched {
  CURLcode code = CURLE_OK;
  long status = 0;
  std::string body;
  std::vector<std::string> header_lines;  // as received, without line ends
  // Values of the header lines of that name (any case), in order.
  std::vector<std::string> headers_named(std::string_view name) const;
  std::string header(std::string_view name) const;  // the first, or ""
};

Fetched fetch(const std::string& url, const FetchOptions& options = {});

// Sends `request` on a fresh connection to 127.0.0.1:port and returns every byte that comes
// back until the service closes the connection.
std::string raw_exchange(int port, std::string_view request);

}  // namespace tamberlo::test
