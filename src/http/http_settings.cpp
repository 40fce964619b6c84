#include "http/http_settings.h"

#include <atomic>
#include <mutex>
#include <utility>

namespace tamberlo {
namespace {

std::mutex proxy_mutex;
std::string proxy_setting;
std::atomic<std::size_t> body_limit_setting{kDefaultBodyLimit};

}  // namespace

void set_default_proxy(std::string proxy_url) {
  std::lock_guard lock(proxy_mutex);
  proxy_setting = std::move(proxy_url);
}

std::string default_proxy() {
  std::lock_guard lock(proxy_mutex);
  return proxy_setting;
}

void set_body_limit(std::size_t bytes) { body_limit_setting.store(bytes); }

std::size_t body_limit() { return body_limit_setting.load(); }

}  // namespace tamberlo
