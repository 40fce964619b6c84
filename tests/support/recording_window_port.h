#pragma once

#include <array>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/window_port.h"

// A window for engine tests: it keeps what the engines put into it (texts in GBK, as the port
// carries them) and records every change and pause, in order, as one readable UTF-8 line each
// ("set_text 标签_动态 群相册获取中，耐心等待...", "cell 0 2 春游", "wait 100"). Reads are not
// recorded. Safe to drive from a worker thread while the test reads it.
namespace tamberlo::testing {

class RecordingWindowPort final : public WindowPort {
 public:
  struct Row {
    std::array<std::string, 8> cells;  // GBK
    int tick = 0;
    std::string cover;  // the picture bytes last handed over for the row
  };

  // --- set-up (not recorded)
  // Texts of edit boxes, labels; `text` is GBK.
  void put_text(std::string_view control, const std::string& text);
  void put_tick(std::string_view check_box, bool ticked);
  void put_current_index(std::string_view control, int index);
  void put_browser_cookie_text(const std::string& cookies);
  // Rows as if an earlier retrieval had filled them (cells GBK).
  void put_row(const Row& row);
  void put_current_row(int row);
  // Decides what wait() answers; it sees the milliseconds asked for. Default: true at once.
  void on_wait(std::function<bool(int milliseconds)> handler);
  // Called after every recorded change with its line (under no lock of the port).
  void on_change(std::function<void(const std::string& line)> handler);
  void clear_calls();

  // --- what the engines left behind
  std::vector<std::string> calls() const;
  std::string log() const;  // GBK, as appended
  std::vector<Row> rows() const;
  std::vector<std::string> messages() const;  // GBK
  std::string browser_address() const;
  bool visible(std::string_view control) const;  // false until shown
  std::string focus() const;
  int progress_maximum() const;
  int progress_position() const;
  int column_width(int column) const;  // -1 when never set

  // --- WindowPort
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

 private:
  void record(std::string line);
  bool valid_cell(int row, int column) const;

  mutable std::mutex mutex_;
  std::vector<std::string> calls_;
  std::map<std::string, std::string, std::less<>> texts_;
  std::map<std::string, bool, std::less<>> visible_;
  std::set<std::string, std::less<>> ticked_;
  std::map<std::string, int, std::less<>> indexes_;
  std::string focus_;
  std::string log_;
  int progress_maximum_ = 100;
  int progress_position_ = 0;
  std::vector<Row> rows_;
  int current_row_ = -1;
  std::map<int, int> column_widths_;
  std::string browser_address_;
  std::string cookie_text_;
  std::vector<std::string> messages_;
  std::function<bool(int)> wait_handler_;
  std::function<void(const std::string&)> change_handler_;
};

}  // namespace tamberlo::testing
