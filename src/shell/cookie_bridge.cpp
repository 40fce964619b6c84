#include "shell/cookie_bridge.h"

#include <QDateTime>
#include <QMetaObject>
#include <QPointer>
#include <QUrl>
#include <QWebEngineCookieStore>
#include <chrono>

#include "http/cookie_store.h"

namespace tamberlo {
namespace {

QString origin_host(const Cookie& cookie) { return QString::fromStdString(cookie.domain); }

}  // namespace

QNetworkCookie to_network_cookie(const Cookie& cookie) {
  QNetworkCookie result(QByteArray::fromStdString(cookie.name),
                        QByteArray::fromStdString(cookie.value));
  // A host-only cookie carries no domain: the origin the browser is given decides it.
  if (!cookie.host_only) result.setDomain(QStringLiteral(".") + origin_host(cookie));
  result.setPath(QString::fromStdString(cookie.path.empty() ? std::string("/") : cookie.path));
  if (cookie.expires) {
    const auto since_epoch =
        std::chrono::duration_cast<std::chrono::milliseconds>(cookie.expires->time_since_epoch());
    result.setExpirationDate(QDateTime::fromMSecsSinceEpoch(since_epoch.count(), Qt::UTC));
  }
  result.setSecure(cookie.secure);
  result.setHttpOnly(cookie.http_only);
  return result;
}

Cookie from_network_cookie(const QNetworkCookie& cookie) {
  Cookie result;
  result.name = cookie.name().toStdString();
  result.value = cookie.value().toStdString();
  QString domain = cookie.domain().toLower();
  result.host_only = !domain.startsWith(QLatin1Char('.'));
  if (!result.host_only) domain.remove(0, 1);
  result.domain = domain.toStdString();
  result.path = cookie.path().isEmpty() ? std::string("/") : cookie.path().toStdString();
  if (cookie.expirationDate().isValid()) {
    result.expires = std::chrono::system_clock::time_point(
        std::chrono::milliseconds(cookie.expirationDate().toMSecsSinceEpoch()));
  }
  result.secure = cookie.isSecure();
  result.http_only = cookie.isHttpOnly();
  return result;
}

CookieBridge::CookieBridge(QWebEngineCookieStore& browser_store) : browser_store_(browser_store) {
  connect(&browser_store_, &QWebEngineCookieStore::cookieAdded, this, &CookieBridge::browser_added);
  connect(&browser_store_, &QWebEngineCookieStore::cookieRemoved, this,
          &CookieBridge::browser_removed);
  // The store calls back on whatever thread changed it (a worker's request, usually); the browser
  // may only be touched on the window thread, so every change is posted there in order.
  QPointer<CookieBridge> self(this);
  listener_id_ = process_cookie_store().add_listener([self](const Cookie& cookie, bool removed) {
    QMetaObject::invokeMethod(
        self.data(),
        [self, cookie, removed] {
          if (self) self->push_to_browser(cookie, removed);
        },
        Qt::QueuedConnection);
  });
  for (const Cookie& cookie : process_cookie_store().all()) push_to_browser(cookie, false);
  browser_store_.loadAllCookies();
}

CookieBridge::~CookieBridge() { process_cookie_store().remove_listener(listener_id_); }

QString CookieBridge::echo_key(const Cookie& cookie) {
  return QString::fromStdString(cookie.name + '\n' + cookie.value + '\n' + cookie.domain + '\n' +
                                cookie.path);
}

void CookieBridge::push_to_browser(const Cookie& cookie, bool removed) {
  const QNetworkCookie network_cookie = to_network_cookie(cookie);
  const QUrl origin(QStringLiteral("http://") + origin_host(cookie) +
                    QString::fromStdString(cookie.path.empty() ? std::string("/") : cookie.path));
  if (removed) {
    browser_store_.deleteCookie(network_cookie, origin);
    return;
  }
  expected_echoes_.insert(echo_key(cookie));
  browser_store_.setCookie(network_cookie, origin);
}

void CookieBridge::browser_added(const QNetworkCookie& cookie) {
  const Cookie plain = from_network_cookie(cookie);
  if (expected_echoes_.remove(echo_key(plain))) return;
  process_cookie_store().set(plain, listener_id_);
}

void CookieBridge::browser_removed(const QNetworkCookie& cookie) {
  // The browser also reports the old cookie when a newer one replaces it; the store may already
  // hold that newer value, which must stay.
  const Cookie plain = from_network_cookie(cookie);
  for (const Cookie& held : process_cookie_store().all()) {
    if (held.name == plain.name && held.domain == plain.domain && held.path == plain.path &&
        held.value == plain.value) {
      process_cookie_store().remove(plain.name, plain.domain, plain.path, listener_id_);
      return;
    }
  }
}

}  // namespace tamberlo
