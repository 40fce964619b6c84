#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tamberlo {

struct Cookie {
  std::string name;
  std::string value;
  std::string domain;  // lower case, without a leading dot
  bool host_only = true;
  std::string path = "/";
  std::optional<std::chrono::system_clock::time_point> expires;  // nullopt: session cookie
  bool secure = false;
  bool http_only = false;
};

// The cookies of this process, shared by the embedded browser and by requests made without a
// caller cookie text. Every member is thread-safe.
class CookieStore final {
 public:
  using Listener = std::function<void(const Cookie& cookie, bool removed)>;

  // One Set-Cookie value received in answer to request_url; rejected as a browser would
  // (a domain the host is not inside, Secure over plain http, ...). An expiry in the past
  // deletes.
  void store_from_header(std::string_view request_url, std::string_view set_cookie_value);
  // The Cookie header value a request to url carries ("a=1; b=2"), empty when none.
  std::string cookie_header_for(std::string_view url);
  // What document.cookie shows on a page at url: as above without HttpOnly cookies.
  std::string document_cookie(std::string_view url);

  // Adds or replaces the cookie of the same name, domain and path; an expiry in the past
  // removes it. origin_listener names a listener that is not told of this change, so a bridge
  // that mirrors another store does not hear its own change echoed back.
  void set(const Cookie& cookie, int origin_listener = 0);
  void remove(std::string_view name, std::string_view domain, std::string_view path,
              int origin_listener = 0);
  // Unexpired cookies, in creation order.
  std::vector<Cookie> all();
  void clear(int origin_listener = 0);

  // Listeners hear every change, on the thread that made it and in the order made. They must
  // not wait for another thread that uses the store. Ids start at 1.
  int add_listener(Listener listener);
  void remove_listener(int id);

  // Netscape cookies.txt, "#HttpOnly_" lines included. Loading adds to what is stored.
  bool load_netscape(const std::string& path, std::string* error);
  bool save_netscape(const std::string& path, std::string* error);

 private:
  struct Entry {
    Cookie cookie;
    unsigned long long created = 0;
  };
  struct Change {
    Cookie cookie;
    bool removed = false;
  };
  void put_locked(const Cookie& cookie, std::vector<Change>& changes);
  void purge_expired_locked(std::vector<Change>& changes);
  std::string matching(std::string_view url, bool include_http_only);
  void notify(const std::vector<Change>& changes, int origin_listener);

  std::recursive_mutex change_order_;  // held from a change until its listeners have heard it
  std::mutex mutex_;
  std::vector<Entry> entries_;
  unsigned long long next_created_ = 1;
  std::map<int, Listener> listeners_;
  int next_listener_ = 1;
};

CookieStore& process_cookie_store();

}  // namespace tamberlo
