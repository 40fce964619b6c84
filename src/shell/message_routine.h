#pragma once

#include <QList>
#include <QPointer>
#include <QString>
#include <functional>

class QMessageBox;

// Every message box of the program ("信息：", OK only) goes through one routine, so a test can
// read and answer them without a person at the screen.
namespace tamberlo {

class StopSignal;

class MessageRoutine final {
 public:
  // Shows the text and calls `answered` once the box has been closed. `holds_window` is true for
  // messages of window handlers (the window waits for the answer) and false for messages from a
  // worker, during which the window stays usable.
  using Handler =
      std::function<void(const QString& text, bool holds_window, std::function<void()> answered)>;

  explicit MessageRoutine(StopSignal& stop);
  ~MessageRoutine();

  void set_handler(Handler handler);
  // Window thread: returns when the message has been answered or the window closes.
  void show_and_wait(const QString& text);
  // Window thread: shows the message; `answered` follows later.
  void show_from_worker(const QString& text, std::function<void()> answered);
  // Closes every box still open (the window is closing).
  void close_all();

 private:
  void show_box(const QString& text, bool holds_window, std::function<void()> answered);

  StopSignal& stop_;
  Handler handler_;
  QList<QPointer<QMessageBox>> open_boxes_;
};

}  // namespace tamberlo
