#include "shell/embedded_browser.h"

#include <QResizeEvent>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineView>

#include "shell/cookie_bridge.h"

namespace tamberlo {

EmbeddedBrowser::EmbeddedBrowser(QWidget* parent, bool with_engine) : QWidget(parent) {
  if (!with_engine) return;
  // A profile of its own, kept in memory only: the program saves nothing between runs.
  profile_ = std::make_unique<QWebEngineProfile>();
  cookie_bridge_ = std::make_unique<CookieBridge>(*profile_->cookieStore());
  page_ = std::make_unique<QWebEnginePage>(profile_.get());
  view_ = std::make_unique<QWebEngineView>(this);
  view_->setPage(page_.get());
  view_->setGeometry(rect());
}

EmbeddedBrowser::~EmbeddedBrowser() = default;

void EmbeddedBrowser::set_address(const QString& address) {
  last_address_ = address;
  if (!view_) return;
  const QUrl url =
      address.isEmpty() ? QUrl(QStringLiteral("about:blank")) : QUrl::fromUserInput(address);
  view_->load(url);
}

void EmbeddedBrowser::read_document_cookies(std::function<void(const QString& cookies)> done) {
  if (!page_) {
    done(QString());
    return;
  }
  // The program's own world: page scripts cannot shadow document.cookie there.
  page_->runJavaScript(
      QStringLiteral("document.cookie"), QWebEngineScript::ApplicationWorld,
      [done = std::move(done)](const QVariant& result) {
        done(result.typeId() == QMetaType::QString ? result.toString() : QString());
      });
}

void EmbeddedBrowser::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (view_) view_->setGeometry(rect());
}

}  // namespace tamberlo
