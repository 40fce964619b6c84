#pragma once

#include <curl/curl.h>

#include <memory>
#include <mutex>

#include "http/request_description.h"

namespace tamberlo {

struct CurlEasyDeleter {
  void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
using CurlEasy = std::unique_ptr<CURL, CurlEasyDeleter>;

// A new easy handle (libcurl initialised once per process first); null when libcurl fails.
CurlEasy make_curl_easy();

class RequestObject final {
 public:
  RequestObject();
  CURL* handle() const { return handle_.get(); }
  std::mutex& in_use() { return in_use_; }

 private:
  CurlEasy handle_;
  std::mutex in_use_;
};

// The easy handle one call works on: the caller's request object, held for the call, or an
// idle handle of the process pool, given back afterwards. Pooled handles keep their open
// connections, so one request after another reaches the same host without a new handshake.
class HandleLease final {
 public:
  explicit HandleLease(std::shared_ptr<RequestObject> object);
  ~HandleLease();
  HandleLease(const HandleLease&) = delete;
  HandleLease& operator=(const HandleLease&) = delete;
  CURL* get() const;

 private:
  std::shared_ptr<RequestObject> object_;
  std::unique_lock<std::mutex> object_lock_;
  CurlEasy pooled_;
};

}  // namespace tamberlo
