#pragma once

#include <condition_variable>
#include <map>
#include <mutex>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/window_port.h"

// The window of the terminal front end: the engines drive it exactly as they drive the main
// window, and it turns what they show into lines on the terminal. Everything the engines hand
// it is GBK; everything it prints is UTF-8. Every member is thread-safe, since the engines may
// report from a worker while the signal watcher cancels.
namespace tamberlo::cli {

class ProgressLine;

struct TerminalWindowSetup {
  std::string input;                 // the album input, GBK (text of 编辑框_号码)
  std::string save_location;         // GBK (text of 编辑框_保存位置)
  bool own_albums = false;           // 选择框_自己的
  std::string browser_cookie_text;   // given on the command line; empty: the process cookie store
  std::ostream* log = nullptr;       // the operation log, UTF-8 with "\n" line ends; null: dropped
  std::ostream* messages = nullptr;  // message boxes, one line each; null: dropped
  ProgressLine* progress = nullptr;  // null: no progress shown
};

struct ListRow {
  std::vector<std::string> cells;  // GBK, by column
  int tick = 0;
};

class TerminalWindow final : public WindowPort {
 public:
  explicit TerminalWindow(TerminalWindowSetup setup);
  ~TerminalWindow() override;

  void set_text(std::string_view control, const std::string& text) override;
  std::string text(std::string_view control) override;
  void set_visible(std::string_view control, bool visible) override;
  void set_focus(std::string_view control) override;
  bool is_ticked(std::string_view check_box) override;
  int current_index(std::string_view control) override;
  void set_current_index(std::string_view control, int index) override;

  void append_log(const std::string& text) override;

  void set_progress_maximum(int maximum) override;
  void set_progress_position(int position) override;

  void list_clear() override;
  int list_append_row() override;
  int list_row_count() override;
  void list_set_cell(int row, int column, const std::string& text) override;
  std::string list_cell(int row, int column) override;
  void list_set_tick(int row, int tick) override;
  int list_tick(int row) override;
  int list_current_row() override;
  void list_set_current_row(int row) override;
  void list_set_column_width(int column, int width) override;
  void list_set_cover(int row, const std::string& picture_bytes) override;

  void browser_set_address(const std::string& url) override;
  std::string browser_cookie_text() override;

  void show_message(const std::string& text) override;

  bool wait(int milliseconds) override;
  void process_events() override;

  // Ends every wait at once and makes every later one fail: the run is being stopped.
  void cancel();
  bool cancelled() const;

  // What the engines left behind, for the front end to print or check.
  std::vector<ListRow> rows() const;
  std::string browser_address() const;
  std::vector<std::string> messages() const;  // GBK, in the order shown
  // Ends the output: a "\r" held back at the log's end goes out, the progress line is erased.
  void finish();

 private:
  void write_log_locked(std::string_view utf8);
  void redraw_progress_locked();
  bool valid_row_locked(int row) const;

  TerminalWindowSetup setup_;
  mutable std::mutex mutex_;
  std::condition_variable cancel_changed_;
  bool cancelled_ = false;
  std::map<std::string, std::string, std::less<>> texts_;
  std::map<std::string, bool, std::less<>> visible_;
  std::map<std::string, int, std::less<>> indexes_;
  std::vector<ListRow> rows_;
  int current_row_ = -1;
  bool progress_started_ = false;
  int progress_maximum_ = 100;
  int progress_position_ = 0;
  std::string browser_address_;
  std::vector<std::string> messages_;
  bool log_holds_cr_ = false;
};

}  // namespace tamberlo::cli
