#pragma once

#include <mutex>
#include <string>

// Values that live for the whole run and are shared between the window's handlers and the
// workers. Guarded, so a worker and a handler never see half a text.
namespace tamberlo {

class SessionState final {
 public:
  std::string owner_account() const;
  void set_owner_account(std::string account);

  // The browser cookie text: read from the browser when a retrieval starts, sent with every
  // download request and merged with every answer's cookies.
  std::string browser_cookie_text() const;
  void set_browser_cookie_text(std::string cookies);

 private:
  mutable std::mutex mutex_;
  std::string owner_account_;
  std::string browser_cookie_text_;
};

}  // namespace tamberlo
