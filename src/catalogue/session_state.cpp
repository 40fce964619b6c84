#include "catalogue/session_state.h"

#include <utility>

namespace tamberlo {

std::string SessionState::owner_account() const {
  std::lock_guard lock(mutex_);
  return owner_account_;
}

void SessionState::set_owner_account(std::string account) {
  std::lock_guard lock(mutex_);
  owner_account_ = std::move(account);
}

std::string SessionState::browser_cookie_text() const {
  std::lock_guard lock(mutex_);
  return browser_cookie_text_;
}

void SessionState::set_browser_cookie_text(std::string cookies) {
  std::lock_guard lock(mutex_);
  browser_cookie_text_ = std::move(cookies);
}

}  // namespace tamberlo
