#include "http/curl_handle.h"

#include <cstddef>
#include <utility>
#include <vector>

namespace tamberlo {
namespace {

// More idle handles than threads that make requests at once would only hold sockets open.
constexpr std::size_t kIdleHandles = 4;

std::mutex pool_mutex;
std::vector<CurlEasy> idle_handles;

CurlEasy take_idle_handle() {
  {
    std::lock_guard lock(pool_mutex);
    if (!idle_handles.empty()) {
      CurlEasy handle = std::move(idle_handles.back());
      idle_handles.pop_back();
      return handle;
    }
  }
  return make_curl_easy();
}

void give_back(CurlEasy handle) {
  if (!handle) return;
  std::lock_guard lock(pool_mutex);
  if (idle_handles.size() < kIdleHandles) idle_handles.push_back(std::move(handle));
}

}  // namespace

CurlEasy make_curl_easy() {
  static const CURLcode global = curl_global_init(CURL_GLOBAL_DEFAULT);
  if (global != CURLE_OK) return nullptr;
  return CurlEasy(curl_easy_init());
}

RequestObject::RequestObject() : handle_(make_curl_easy()) {}

std::shared_ptr<RequestObject> make_request_object() { return std::make_shared<RequestObject>(); }

HandleLease::HandleLease(std::shared_ptr<RequestObject> object) : object_(std::move(object)) {
  if (object_) {
    object_lock_ = std::unique_lock(object_->in_use());
  } else {
    pooled_ = take_idle_handle();
  }
}

HandleLease::~HandleLease() { give_back(std::move(pooled_)); }

CURL* HandleLease::get() const { return object_ ? object_->handle() : pooled_.get(); }

}  // namespace tamberlo
