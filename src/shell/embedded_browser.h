#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <memory>

class QWebEngineProfile;
class QWebEnginePage;
class QWebEngineView;

// "超文本浏览框1": the page where the user logs in and answers the service's access questions.
// Without a web engine (window tests that do not need one) it only remembers the address.
namespace tamberlo {

class CookieBridge;

class EmbeddedBrowser final : public QWidget {
  Q_OBJECT

 public:
  EmbeddedBrowser(QWidget* parent, bool with_engine);
  ~EmbeddedBrowser() override;

  // Starts loading the address; an empty one shows a blank page.
  void set_address(const QString& address);
  QString last_address() const { return last_address_; }
  // What document.cookie gives on the page shown now ("" without a document or a cookie).
  void read_document_cookies(std::function<void(const QString& cookies)> done);

  QWebEngineView* view() const { return view_.get(); }
  QWebEnginePage* page() const { return page_.get(); }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  // Declared in the order they must be made; destroyed in reverse: view, page, profile.
  std::unique_ptr<QWebEngineProfile> profile_;
  std::unique_ptr<CookieBridge> cookie_bridge_;
  std::unique_ptr<QWebEnginePage> page_;
  std::unique_ptr<QWebEngineView> view_;
  QString last_address_;
};

}  // namespace tamberlo
