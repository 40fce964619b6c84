#pragma once

#include <QObject>
#include <memory>
#include <vector>

// The buttons that start work on the album service: the album list retrieval, the access
// permission route and the download batch with its pause and resume. The engines run their
// tasks on worker threads of the window; closing the window cancels them.
namespace tamberlo {

class MainWindow;
class TransferGate;

class AlbumTasks final : public QObject {
  Q_OBJECT

 public:
  explicit AlbumTasks(MainWindow& window);
  ~AlbumTasks() override;

  void fetch_album_list();
  void album_list_double_clicked();
  void access_granted();
  void start_download();
  void pause_download();
  void resume_download();

 private:
  void cancel_all();

  MainWindow& window_;
  // Every request of every retrieval passes here, so closing the window breaks them off.
  std::shared_ptr<TransferGate> retrieval_gate_;
  // One gate per batch: the pause buttons work on the newest one.
  std::vector<std::shared_ptr<TransferGate>> download_gates_;
};

}  // namespace tamberlo
