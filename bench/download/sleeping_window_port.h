#pragma once

#include <string>
#include <string_view>

#include "catalogue/window_port.h"

namespace tamberlo::bench {

// A window nobody looks at: it shows nothing, reads back only the save location, and its
// waits really sleep, as the download worker's do (or, to see the engine's own cost, return
// at once).
class SleepingWindowPort final : public WindowPort {
 public:
  SleepingWindowPort(std::string save_location, bool sleeps)
      : save_location_(std::move(save_location)), sleeps_(sleeps) {}

  void set_text(std::string_view, const std::string&) override {}
  std::string text(std::string_view control) override;
  void set_visible(std::string_view, bool) override {}
  void set_focus(std::string_view) override {}
  bool is_ticked(std::string_view) override { return false; }
  int current_index(std::string_view) override { return 0; }
  void set_current_index(std::string_view, int) override {}
  void append_log(const std::string&) override {}
  void set_progress_maximum(int) override {}
  void set_progress_position(int) override {}
  void list_clear() override {}
  int list_append_row() override { return 0; }
  int list_row_count() override { return 0; }
  void list_set_cell(int, int, const std::string&) override {}
  std::string list_cell(int, int) override { return {}; }
  void list_set_tick(int, int) override {}
  int list_tick(int) override { return 0; }
  int list_current_row() override { return -1; }
  void list_set_current_row(int) override {}
  void list_set_column_width(int, int) override {}
  void list_set_cover(int, const std::string&) override {}
  void browser_set_address(const std::string&) override {}
  std::string browser_cookie_text() override { return {}; }
  void show_message(const std::string&) override {}
  bool wait(int milliseconds) override;
  void process_events() override {}

  // How long the waits really took, in seconds: a sleep always overshoots a little.
  double slept_seconds() const { return slept_seconds_; }

 private:
  std::string save_location_;
  bool sleeps_ = true;
  double slept_seconds_ = 0;
};

}  // namespace tamberlo::bench
