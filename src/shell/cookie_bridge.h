#pragma once

#include <QNetworkCookie>
#include <QObject>
#include <QSet>
#include <QString>

class QWebEngineCookieStore;

// Keeps the browser's cookies and the process cookie store the same, both ways: the login made
// in the browser goes with the program's own requests, and cookies their answers set reach the
// browser. Lives on the window thread.
namespace tamberlo {

struct Cookie;

QNetworkCookie to_network_cookie(const Cookie& cookie);
Cookie from_network_cookie(const QNetworkCookie& cookie);

class CookieBridge final : public QObject {
  Q_OBJECT

 public:
  explicit CookieBridge(QWebEngineCookieStore& browser_store);
  ~CookieBridge() override;

 private:
  void browser_added(const QNetworkCookie& cookie);
  void browser_removed(const QNetworkCookie& cookie);
  void push_to_browser(const Cookie& cookie, bool removed);
  static QString echo_key(const Cookie& cookie);

  QWebEngineCookieStore& browser_store_;
  int listener_id_ = 0;
  // Cookies this bridge handed to the browser; their echo is not sent back.
  QSet<QString> expected_echoes_;
};

}  // namespace tamberlo
