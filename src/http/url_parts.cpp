#include <string>

#include "http/internet_request.h"

namespace tamberlo {

Text url_host(std::string_view url, bool keep_port) {
  Text address = to_lower_ascii(url);
  if (address.empty() || address.back() != '/') address += '/';
  std::string_view marker = "https://";
  if (address.rfind("https://", 0) != 0) {
    marker = "http://";
    if (!contains_text(address, marker)) address.insert(0, marker);
  }
  Text host = text_between(address, marker, "/");
  if (!keep_port) {
    const int colon = find_text(host, ":");
    if (colon != -1) host.resize(static_cast<std::size_t>(colon) - 1);
  }
  return host;
}

int url_port(std::string_view url) {
  const Text host = url_host(url, true);
  const std::size_t colon = host.rfind(':');
  if (colon == Text::npos) return to_lower_ascii(url.substr(0, 5)) == "https" ? 443 : 80;
  return leading_integer(std::string_view(host).substr(colon + 1));
}

Text url_path(std::string_view url) {
  const int at = find_text(url, url_host(url, false), 1, true);
  const int slash = find_text(url, "/", at == -1 ? 1 : at);
  if (slash == -1) return "/";
  return Text(url.substr(static_cast<std::size_t>(slash) - 1));
}

}  // namespace tamberlo
