#include "proxy_fetch.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <memory>

#include "support/sample_service_environment.h"
#include "text/text.h"

namespace tamberlo::test {
namespace {

size_t keep_body(char* data, size_t size, size_t count, void* user) {
  static_cast<std::string*>(user)->append(data, size * count);
  return size * count;
}

size_t keep_header(char* data, size_t size, size_t count, void* user) {
  std::string line(data, size * count);
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  if (!line.empty()) static_cast<std::vector<std::string>*>(user)->push_back(line);
  return size * count;
}

}  // namespace

std::vector<std::string> Fetched::headers_named(std::string_view name) const {
  std::vector<std::string> values;
  for (const std::string& line : header_lines) {
    auto colon = line.find(':');
    if (colon == std::string::npos ||
        to_lower_ascii(std::string_view(line).substr(0, colon)) != to_lower_ascii(name)) {
      continue;
    }
    std::string value = line.substr(colon + 1);
    value.erase(0, value.find_first_not_of(' '));
    values.push_back(value);
  }
  return values;
}

std::string Fetched::header(std::string_view name) const {
  auto values = headers_named(name);
  return values.empty() ? std::string() : values.front();
}

Fetched fetch(const std::string& url, const FetchOptions& options) {
  std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(), curl_easy_cleanup);
  Fetched fetched;
  CURL* handle = curl.get();
  curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
  const std::string proxy = options.no_proxy        ? std::string()
                            : options.proxy.empty() ? sample_service().proxy_url()
                                                    : options.proxy;
  curl_easy_setopt(handle, CURLOPT_PROXY, proxy.c_str());
  curl_easy_setopt(handle, CURLOPT_NOPROXY, options.no_proxy ? "*" : "");
  curl_easy_setopt(handle, CURLOPT_TIMEOUT, 30L);
  if (options.method == "HEAD") {
    curl_easy_setopt(handle, CURLOPT_NOBODY, 1L);
  } else if (options.method != "GET") {
    curl_easy_setopt(handle, CURLOPT_CUSTOMREQUEST, options.method.c_str());
  }
  if (options.method == "POST" || !options.body.empty()) {
    curl_easy_setopt(handle, CURLOPT_POSTFIELDS, options.body.c_str());
    curl_easy_setopt(handle, CURLOPT_POSTFIELDSIZE, static_cast<long>(options.body.size()));
  }
  if (!options.cookie.empty()) curl_easy_setopt(handle, CURLOPT_COOKIE, options.cookie.c_str());
  std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)> headers(nullptr, curl_slist_free_all);
  for (const std::string& line : options.headers) {
    headers.reset(curl_slist_append(headers.release(), line.c_str()));
  }
  curl_easy_setopt(handle, CURLOPT_HTTPHEADER, headers.get());
  curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, keep_body);
  curl_easy_setopt(handle, CURLOPT_WRITEDATA, &fetched.body);
  curl_easy_setopt(handle, CURLOPT_HEADERFUNCTION, keep_header);
  curl_easy_setopt(handle, CURLOPT_HEADERDATA, &fetched.header_lines);
  fetched.code = curl_easy_perform(handle);
  curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &fetched.status);
  return fetched;
}

std::string raw_exchange(int port, std::string_view request) {
  int sock = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  std::string answer;
  if (::connect(sock, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
    timeval limit{30, 0};
    ::setsockopt(sock, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    ::send(sock, request.data(), request.size(), MSG_NOSIGNAL);
    char buffer[16384];
    for (ssize_t got; (got = ::recv(sock, buffer, sizeof buffer, 0)) > 0;) {
      answer.append(buffer, static_cast<size_t>(got));
    }
  }
  ::close(sock);
  return answer;
}

}  // namespace tamberlo::test
