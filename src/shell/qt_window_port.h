#pragma once

#include "catalogue/window_port.h"

// The one place where threads hop. A worker's writes are posted to the window thread as queued
// calls, so they arrive in the order made; its reads wait for the window thread's answer (queued
// behind its earlier writes, so they see them). On the window thread every call is direct. Every
// wait ends early once the window closes, so no worker can hang on a window that is going away.
namespace tamberlo {

class MainWindow;

class QtWindowPort final : public WindowPort {
 public:
  explicit QtWindowPort(MainWindow& window);

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
  template <typename Write>
  void post(Write write);
  template <typename Read>
  auto call(Read read) -> decltype(read());

  MainWindow& window_;
};

}  // namespace tamberlo
