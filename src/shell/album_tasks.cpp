#include "shell/album_tasks.h"

#include <QPushButton>
#include <filesystem>

#include "catalogue/access_permission.h"
#include "catalogue/album_list_retrieval.h"
#include "download/download_batch.h"
#include "download/download_context.h"
#include "http/transfer_gate.h"
#include "shell/album_list_view.h"
#include "shell/main_window.h"
#include "shell/qt_window_port.h"

namespace tamberlo {

AlbumTasks::AlbumTasks(MainWindow& window)
    : window_(window), retrieval_gate_(std::make_shared<TransferGate>()) {
  auto button = [&window](const char* name) { return window.control_as<QPushButton>(name); };
  connect(button("按钮_获取相册封面"), &QPushButton::clicked, this, &AlbumTasks::fetch_album_list);
  connect(button("按钮4"), &QPushButton::clicked, this, &AlbumTasks::access_granted);
  connect(button("按钮_下载选中"), &QPushButton::clicked, this, &AlbumTasks::start_download);
  connect(button("按钮_暂停线程"), &QPushButton::clicked, this, &AlbumTasks::pause_download);
  connect(button("按钮_继续下载"), &QPushButton::clicked, this, &AlbumTasks::resume_download);
  connect(&window.album_list(), &QTreeWidget::itemDoubleClicked, this,
          &AlbumTasks::album_list_double_clicked);
  // Raised on the window thread as the window closes, before the workers are joined.
  connect(&window.stop_signal(), &StopSignal::stopping, this, &AlbumTasks::cancel_all);
}

AlbumTasks::~AlbumTasks() { cancel_all(); }

void AlbumTasks::fetch_album_list() {
  QtWindowPort& port = window_.port();
  SessionState& session = window_.session();
  if (!start_album_list_retrieval(port, session)) return;
  window_.workers().start_worker_thread([&port, &session, gate = retrieval_gate_] {
    run_album_list_retrieval(port, session, gate.get());
  });
}

void AlbumTasks::album_list_double_clicked() {
  on_album_list_double_click(window_.port(), window_.session());
}

void AlbumTasks::access_granted() { on_access_granted_button(window_.port()); }

void AlbumTasks::start_download() {
  QtWindowPort& port = window_.port();
  SessionState& session = window_.session();
  on_download_start(port);
  auto gate = std::make_shared<TransferGate>();
  download_gates_.push_back(gate);
  const std::filesystem::path program_folder = window_.program_folder().toStdString();
  window_.workers().start_worker_thread([&port, &session, gate, program_folder] {
    DownloadContext context{port, session, *gate};
    context.program_folder = program_folder;
    download_batch(context);
  });
}

void AlbumTasks::pause_download() {
  if (!download_gates_.empty()) on_pause(window_.port(), *download_gates_.back());
}

void AlbumTasks::resume_download() {
  if (!download_gates_.empty()) on_resume(window_.port(), *download_gates_.back());
}

void AlbumTasks::cancel_all() {
  retrieval_gate_->cancel();
  for (const auto& gate : download_gates_) gate->cancel();
}

}  // namespace tamberlo
