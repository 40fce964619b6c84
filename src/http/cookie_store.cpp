#include "http/cookie_store.h"

#include <algorithm>

#include "http/cookie_rules.h"
#include "text/text.h"

namespace tamberlo {
namespace {

using SystemClock = std::chrono::system_clock;

bool expired(const Cookie& cookie, SystemClock::time_point now) {
  return cookie.expires && *cookie.expires <= now;
}

bool same_slot(const Cookie& a, const Cookie& b) {
  return a.name == b.name && a.domain == b.domain && a.path == b.path;
}

Cookie normalised(Cookie cookie) {
  cookie.domain = to_lower_ascii(cookie.domain);
  if (cookie.domain.starts_with('.')) cookie.domain.erase(0, 1);
  if (cookie.path.empty() || cookie.path.front() != '/') cookie.path = "/";
  return cookie;
}

}  // namespace

void CookieStore::store_from_header(std::string_view request_url,
                                    std::string_view set_cookie_value) {
  const auto origin = cookie_origin(request_url);
  if (!origin) return;
  const SystemClock::time_point now = SystemClock::now();
  auto cookie = parse_set_cookie(*origin, set_cookie_value, now);
  if (!cookie) return;
  std::lock_guard order(change_order_);
  std::vector<Change> changes;
  {
    std::lock_guard lock(mutex_);
    purge_expired_locked(changes);
    // A plain-http answer may not replace a cookie that only https may read.
    const bool shadows_secure =
        origin->scheme != "https" &&
        std::any_of(entries_.begin(), entries_.end(), [&](const Entry& entry) {
          return entry.cookie.secure && same_slot(entry.cookie, *cookie);
        });
    if (!shadows_secure) put_locked(*cookie, changes);
  }
  notify(changes, 0);
}

std::string CookieStore::cookie_header_for(std::string_view url) { return matching(url, true); }

std::string CookieStore::document_cookie(std::string_view url) { return matching(url, false); }

void CookieStore::set(const Cookie& cookie, int origin_listener) {
  std::lock_guard order(change_order_);
  std::vector<Change> changes;
  {
    std::lock_guard lock(mutex_);
    purge_expired_locked(changes);
    put_locked(normalised(cookie), changes);
  }
  notify(changes, origin_listener);
}

void CookieStore::remove(std::string_view name, std::string_view domain, std::string_view path,
                         int origin_listener) {
  Cookie slot;
  slot.name = name;
  slot.domain = domain;
  slot.path = path;
  slot = normalised(std::move(slot));
  std::lock_guard order(change_order_);
  std::vector<Change> changes;
  {
    std::lock_guard lock(mutex_);
    std::erase_if(entries_, [&](const Entry& entry) {
      if (!same_slot(entry.cookie, slot)) return false;
      changes.push_back({entry.cookie, true});
      return true;
    });
  }
  notify(changes, origin_listener);
}

std::vector<Cookie> CookieStore::all() {
  const SystemClock::time_point now = SystemClock::now();
  std::lock_guard lock(mutex_);
  std::vector<Cookie> cookies;
  for (const Entry& entry : entries_) {
    if (!expired(entry.cookie, now)) cookies.push_back(entry.cookie);
  }
  return cookies;
}

void CookieStore::clear(int origin_listener) {
  std::lock_guard order(change_order_);
  std::vector<Change> changes;
  {
    std::lock_guard lock(mutex_);
    for (Entry& entry : entries_) changes.push_back({std::move(entry.cookie), true});
    entries_.clear();
  }
  notify(changes, origin_listener);
}

int CookieStore::add_listener(Listener listener) {
  std::lock_guard lock(mutex_);
  const int id = next_listener_++;
  listeners_.emplace(id, std::move(listener));
  return id;
}

void CookieStore::remove_listener(int id) {
  std::lock_guard lock(mutex_);
  listeners_.erase(id);
}

void CookieStore::put_locked(const Cookie& cookie, std::vector<Change>& changes) {
  const auto existing = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& entry) {
    return same_slot(entry.cookie, cookie);
  });
  if (expired(cookie, SystemClock::now())) {
    // An expiry in the past is how a server deletes a cookie.
    if (existing != entries_.end()) {
      changes.push_back({existing->cookie, true});
      entries_.erase(existing);
    }
    return;
  }
  if (existing != entries_.end()) {
    existing->cookie = cookie;  // keeps its creation rank, as browsers do
  } else {
    entries_.push_back({cookie, next_created_++});
  }
  changes.push_back({cookie, false});
}

void CookieStore::purge_expired_locked(std::vector<Change>& changes) {
  const SystemClock::time_point now = SystemClock::now();
  std::erase_if(entries_, [&](const Entry& entry) {
    if (!expired(entry.cookie, now)) return false;
    changes.push_back({entry.cookie, true});
    return true;
  });
}

std::string CookieStore::matching(std::string_view url, bool include_http_only) {
  const auto origin = cookie_origin(url);
  if (!origin) return {};
  const SystemClock::time_point now = SystemClock::now();
  std::vector<const Entry*> chosen;
  std::lock_guard lock(mutex_);
  for (const Entry& entry : entries_) {
    if (expired(entry.cookie, now) || (entry.cookie.http_only && !include_http_only)) continue;
    if (cookie_applies(entry.cookie, *origin)) chosen.push_back(&entry);
  }
  // Longer paths first, then older cookies first, as browsers order them.
  std::stable_sort(chosen.begin(), chosen.end(), [](const Entry* a, const Entry* b) {
    if (a->cookie.path.size() != b->cookie.path.size()) {
      return a->cookie.path.size() > b->cookie.path.size();
    }
    return a->created < b->created;
  });
  std::string header;
  for (const Entry* entry : chosen) {
    if (!header.empty()) header += "; ";
    header += entry->cookie.name + "=" + entry->cookie.value;
  }
  return header;
}

void CookieStore::notify(const std::vector<Change>& changes, int origin_listener) {
  if (changes.empty()) return;
  std::vector<Listener> listeners;
  {
    std::lock_guard lock(mutex_);
    for (const auto& [id, listener] : listeners_) {
      if (id != origin_listener) listeners.push_back(listener);
    }
  }
  for (const Change& change : changes) {
    for (const Listener& listener : listeners) listener(change.cookie, change.removed);
  }
}

CookieStore& process_cookie_store() {
  static CookieStore store;
  return store;
}

}  // namespace tamberlo
