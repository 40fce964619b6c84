#pragma once

#include <QHash>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "catalogue/session_state.h"
#include "shell/message_routine.h"
#include "shell/stop_signal.h"
#include "shell/worker_threads.h"

class QUrl;

// The main window: the login page with the embedded browser, the catalogue page with the album
// list, progress and log, and the help page. Controls carry their names as object names.
namespace tamberlo {

class AlbumListView;
class AlbumTasks;
class EmbeddedBrowser;
class FindWindow;
class QtWindowPort;

class MainWindow final : public QWidget {
  Q_OBJECT

 public:
  struct Options {
    QString program_folder;    // empty: the folder of the running program
    bool with_browser = true;  // false: the browser only remembers its address
  };
  // Both replaceable, so tests need no person and no file manager.
  using FolderChooser = std::function<QString(const QString& title, const QString& initial)>;
  using DesktopOpener = std::function<void(const QUrl& address)>;

  static constexpr const char* kVersion = "2.0";
  static constexpr const char* kProductIdentifier = "lumarokh";

  explicit MainWindow(Options options);
  ~MainWindow() override;

  QWidget* control(std::string_view name) const;
  template <typename Control>
  Control* control_as(std::string_view name) const {
    return qobject_cast<Control*>(control(name));
  }

  AlbumListView& album_list() const { return *album_list_; }
  EmbeddedBrowser& browser() const { return *browser_; }
  QtWindowPort& port() const { return *port_; }
  MessageRoutine& messages() { return messages_; }
  StopSignal& stop_signal() { return stop_; }
  WorkerThreads& workers() { return workers_; }
  SessionState& session() { return session_; }
  FindWindow& find_window();
  const QString& program_folder() const { return program_folder_; }
  const std::string& product_identifier() const { return product_identifier_; }

  void set_folder_chooser(FolderChooser chooser) { folder_chooser_ = std::move(chooser); }
  void set_desktop_opener(DesktopOpener opener) { desktop_opener_ = std::move(opener); }

  // Window thread; returns once the message has been answered.
  void show_message(const QString& text);
  // The operation log keeps exactly what was appended, "\r\n" included.
  void append_log(const std::string& local_text);
  void set_log(const std::string& local_text);
  const std::string& log_text() const { return log_text_; }

  void run_startup_sequence();
  // Raises the stop signal and joins every worker; the window can then go.
  void stop_tasks();

  // Handlers.
  void open_address();
  void select_all_clicked();
  void invert_clicked();
  void open_find_window();
  void choose_save_location();
  void open_save_folder();
  void check_for_update();
  void open_home_page();
  void open_support_page();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void build_layout(bool with_browser);
  void index_controls();
  void connect_handlers();

  StopSignal stop_;
  MessageRoutine messages_{stop_};
  SessionState session_;
  QString program_folder_;
  std::string product_identifier_;
  std::string log_text_;
  FolderChooser folder_chooser_;
  DesktopOpener desktop_opener_;
  QHash<QString, QWidget*> controls_;
  AlbumListView* album_list_ = nullptr;
  EmbeddedBrowser* browser_ = nullptr;
  std::unique_ptr<FindWindow> find_window_;
  std::unique_ptr<QtWindowPort> port_;
  std::unique_ptr<AlbumTasks> tasks_;
  // Last: the workers are joined before anything they use goes away.
  WorkerThreads workers_;
};

}  // namespace tamberlo
