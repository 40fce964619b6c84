#include "shell/demo_service.h"

#include <QNetworkProxy>
#include <QUrl>

#include "http/http_settings.h"
#include "sample-service/sample_service.h"

namespace tamberlo {

std::unique_ptr<sample::SampleService> start_demo_service() {
  auto service = std::make_unique<sample::SampleService>();
  service->start(0);
  return service;
}

void use_proxy(const QString& proxy_url) {
  set_default_proxy(proxy_url.toStdString());
  if (proxy_url.isEmpty()) {
    QNetworkProxy::setApplicationProxy(QNetworkProxy(QNetworkProxy::NoProxy));
    return;
  }
  const QUrl address = QUrl::fromUserInput(proxy_url);
  QNetworkProxy::setApplicationProxy(QNetworkProxy(QNetworkProxy::HttpProxy, address.host(),
                                                   static_cast<quint16>(address.port(8080)),
                                                   address.userName(), address.password()));
}

}  // namespace tamberlo
