#include "shell/message_routine.h"

#include <QEventLoop>
#include <QMessageBox>
#include <memory>

#include "shell/stop_signal.h"

namespace tamberlo {

MessageRoutine::MessageRoutine(StopSignal& stop) : stop_(stop) {
  handler_ = [this](const QString& text, bool holds_window, std::function<void()> answered) {
    show_box(text, holds_window, std::move(answered));
  };
}

MessageRoutine::~MessageRoutine() { close_all(); }

void MessageRoutine::set_handler(Handler handler) { handler_ = std::move(handler); }

void MessageRoutine::show_and_wait(const QString& text) {
  if (stop_.raised()) return;
  auto done = std::make_shared<bool>(false);
  QEventLoop loop;
  QObject::connect(&stop_, &StopSignal::stopping, &loop, &QEventLoop::quit);
  handler_(text, true, [done, loop_guard = QPointer<QEventLoop>(&loop)] {
    *done = true;
    if (loop_guard) loop_guard->quit();
  });
  if (!*done && !stop_.raised()) loop.exec();
}

void MessageRoutine::show_from_worker(const QString& text, std::function<void()> answered) {
  if (stop_.raised()) {
    answered();
    return;
  }
  handler_(text, false, std::move(answered));
}

void MessageRoutine::close_all() {
  const auto boxes = open_boxes_;
  open_boxes_.clear();
  for (const auto& box : boxes) {
    if (box) box->done(QMessageBox::Ok);
  }
}

void MessageRoutine::show_box(const QString& text, bool holds_window,
                              std::function<void()> answered) {
  // No owner window, like the boxes of the old program; the window's own messages hold the whole
  // program until answered, a worker's leave the window usable.
  auto* box =
      new QMessageBox(QMessageBox::NoIcon, QString::fromUtf8("信息："), text, QMessageBox::Ok);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->setWindowModality(holds_window ? Qt::ApplicationModal : Qt::NonModal);
  QObject::connect(box, &QDialog::finished, box,
                   [answered = std::move(answered)](int) { answered(); });
  open_boxes_.append(QPointer<QMessageBox>(box));
  box->show();
}

}  // namespace tamberlo
