#include "shell/qt_window_port.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QMetaObject>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QTabWidget>
#include <QTimer>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>

#include "shell/album_list_view.h"
#include "shell/embedded_browser.h"
#include "shell/event_wait.h"
#include "shell/main_window.h"
#include "shell/shell_text.h"
#include "shell/stop_signal.h"

namespace tamberlo {
namespace {

// The browser answers a script within moments; a page that never answers must not hold a task.
constexpr auto kCookieReadLimit = std::chrono::seconds(10);

// An answer handed from the window thread to a waiting worker.
template <typename Value>
class Answer final {
 public:
  void give(Value value) {
    {
      std::lock_guard lock(mutex_);
      if (value_) return;
      value_ = std::move(value);
    }
    ready_.notify_all();
  }
  // The value, or nothing when the stop signal rose or the limit passed first.
  std::optional<Value> take(const StopSignal& stop,
                            std::chrono::milliseconds limit = std::chrono::hours(24 * 365)) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    std::unique_lock lock(mutex_);
    // The stop signal has no hold on this condition variable, so it is looked at in short slices.
    while (!value_ && !stop.raised() && std::chrono::steady_clock::now() < deadline) {
      ready_.wait_for(lock, std::chrono::milliseconds(20));
    }
    return value_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable ready_;
  std::optional<Value> value_;
};

template <typename Control>
Control* find(MainWindow& window, std::string_view name) {
  return window.control_as<Control>(name);
}

}  // namespace

QtWindowPort::QtWindowPort(MainWindow& window) : window_(window) {}

template <typename Write>
void QtWindowPort::post(Write write) {
  if (on_window_thread()) {
    write();
    return;
  }
  QMetaObject::invokeMethod(&window_, std::move(write), Qt::QueuedConnection);
}

template <typename Read>
auto QtWindowPort::call(Read read) -> decltype(read()) {
  using Value = decltype(read());
  if (on_window_thread()) return read();
  auto answer = std::make_shared<Answer<Value>>();
  QMetaObject::invokeMethod(
      &window_, [answer, read = std::move(read)] { answer->give(read()); }, Qt::QueuedConnection);
  return answer->take(window_.stop_signal()).value_or(Value{});
}

void QtWindowPort::set_text(std::string_view control, const std::string& text) {
  post([this, name = std::string(control), text] {
    if (name == control::kLog) {
      window_.set_log(text);
      return;
    }
    QWidget* widget = window_.control(name);
    const QString shown = to_qt(text);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
      edit->setText(shown);
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
      label->setText(shown);
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
      button->setText(shown);
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
      combo->setCurrentText(shown);
    }
  });
}

std::string QtWindowPort::text(std::string_view control) {
  return call([this, name = std::string(control)]() -> std::string {
    if (name == control::kLog) return window_.log_text();
    QWidget* widget = window_.control(name);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) return to_local(edit->text());
    if (auto* label = qobject_cast<QLabel*>(widget)) return to_local(label->text());
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) return to_local(button->text());
    if (auto* combo = qobject_cast<QComboBox*>(widget)) return to_local(combo->currentText());
    return {};
  });
}

void QtWindowPort::set_visible(std::string_view control, bool visible) {
  post([this, name = std::string(control), visible] {
    if (QWidget* widget = window_.control(name)) widget->setVisible(visible);
  });
}

void QtWindowPort::set_focus(std::string_view control) {
  post([this, name = std::string(control)] {
    if (QWidget* widget = window_.control(name)) widget->setFocus();
  });
}

bool QtWindowPort::is_ticked(std::string_view check_box) {
  return call([this, name = std::string(check_box)] {
    auto* box = find<QCheckBox>(window_, name);
    return box != nullptr && box->isChecked();
  });
}

int QtWindowPort::current_index(std::string_view control) {
  return call([this, name = std::string(control)] {
    QWidget* widget = window_.control(name);
    if (auto* combo = qobject_cast<QComboBox*>(widget)) return combo->currentIndex();
    if (auto* tabs = qobject_cast<QTabWidget*>(widget)) return tabs->currentIndex();
    return -1;
  });
}

void QtWindowPort::set_current_index(std::string_view control, int index) {
  post([this, name = std::string(control), index] {
    QWidget* widget = window_.control(name);
    if (auto* combo = qobject_cast<QComboBox*>(widget)) combo->setCurrentIndex(index);
    if (auto* tabs = qobject_cast<QTabWidget*>(widget)) tabs->setCurrentIndex(index);
  });
}

void QtWindowPort::append_log(const std::string& text) {
  post([this, text] { window_.append_log(text); });
}

void QtWindowPort::set_progress_maximum(int maximum) {
  post([this, maximum] {
    // A maximum of 0 would turn the bar into a busy indicator; an empty bar says the same.
    if (auto* bar = find<QProgressBar>(window_, control::kProgressBar)) {
      bar->setRange(0, std::max(maximum, 1));
    }
  });
}

void QtWindowPort::set_progress_position(int position) {
  post([this, position] {
    if (auto* bar = find<QProgressBar>(window_, control::kProgressBar)) bar->setValue(position);
  });
}

void QtWindowPort::list_clear() {
  post([this] { window_.album_list().clear_rows(); });
}

int QtWindowPort::list_append_row() {
  return call([this] { return window_.album_list().append_row(); });
}

int QtWindowPort::list_row_count() {
  return call([this] { return window_.album_list().topLevelItemCount(); });
}

void QtWindowPort::list_set_cell(int row, int column, const std::string& text) {
  post([this, row, column, text] { window_.album_list().set_cell(row, column, to_qt(text)); });
}

std::string QtWindowPort::list_cell(int row, int column) {
  return call([this, row, column] { return to_local(window_.album_list().cell(row, column)); });
}

void QtWindowPort::list_set_tick(int row, int tick) {
  post([this, row, tick] { window_.album_list().set_tick(row, tick); });
}

int QtWindowPort::list_tick(int row) {
  return call([this, row] { return window_.album_list().tick(row); });
}

int QtWindowPort::list_current_row() {
  return call([this] { return window_.album_list().current_row(); });
}

void QtWindowPort::list_set_current_row(int row) {
  post([this, row] { window_.album_list().set_current_row(row); });
}

void QtWindowPort::list_set_column_width(int column, int width) {
  post([this, column, width] { window_.album_list().set_column_width(column, width); });
}

void QtWindowPort::list_set_cover(int row, const std::string& picture_bytes) {
  post([this, row, bytes = QByteArray::fromStdString(picture_bytes)] {
    window_.album_list().set_cover(row, bytes);
  });
}

void QtWindowPort::browser_set_address(const std::string& url) {
  post([this, url] { window_.browser().set_address(to_qt(url)); });
}

std::string QtWindowPort::browser_cookie_text() {
  auto answer = std::make_shared<Answer<std::string>>();
  auto ask = [this, answer] {
    window_.browser().read_document_cookies(
        [answer](const QString& cookies) { answer->give(to_local(cookies)); });
  };
  if (!on_window_thread()) {
    QMetaObject::invokeMethod(&window_, ask, Qt::QueuedConnection);
    return answer->take(window_.stop_signal(), kCookieReadLimit).value_or(std::string());
  }
  // The engine answers scripts through the event loop, so the window thread keeps it turning.
  QEventLoop loop;
  QTimer limit;
  limit.setSingleShot(true);
  QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
  QObject::connect(&window_.stop_signal(), &StopSignal::stopping, &loop, &QEventLoop::quit);
  auto loop_guard = std::make_shared<QPointer<QEventLoop>>(&loop);
  window_.browser().read_document_cookies([answer, loop_guard](const QString& cookies) {
    answer->give(to_local(cookies));
    if (*loop_guard) (*loop_guard)->quit();
  });
  auto ready = answer->take(window_.stop_signal(), std::chrono::milliseconds(0));
  if (!ready) {
    limit.start(kCookieReadLimit);
    loop.exec();
    ready = answer->take(window_.stop_signal(), std::chrono::milliseconds(0));
  }
  *loop_guard = nullptr;
  return ready.value_or(std::string());
}

void QtWindowPort::show_message(const std::string& text) {
  if (on_window_thread()) {
    window_.show_message(to_qt(text));
    return;
  }
  auto answer = std::make_shared<Answer<bool>>();
  QMetaObject::invokeMethod(
      &window_,
      [this, answer, shown = to_qt(text)] {
        window_.messages().show_from_worker(shown, [answer] { answer->give(true); });
      },
      Qt::QueuedConnection);
  answer->take(window_.stop_signal());
}

bool QtWindowPort::wait(int milliseconds) {
  return wait_processing_events(milliseconds, 0, &window_.stop_signal());
}

void QtWindowPort::process_events() {
  if (on_window_thread()) QCoreApplication::processEvents();
}

}  // namespace tamberlo
