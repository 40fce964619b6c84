#pragma once

#include <ostream>
#include <string>

// The progress bar of the terminal: one line on a terminal that is redrawn in place. Only used
// when standard error is a terminal, so redirected output never fills with redraws.
namespace tamberlo::cli {

struct ProgressState {
  int position = 0;
  int maximum = 0;
  std::string percent;  // caption of 标签_进度条比例, UTF-8
  std::string detail;   // what goes after the bar (album and photo in hand), UTF-8
};

class ProgressLine final {
 public:
  // columns: the terminal's width (0: unknown); the line is cut to fit, since a line that
  // wraps can no longer be drawn over in place.
  explicit ProgressLine(std::ostream& terminal, int bar_width = 30, int columns = 0);

  void show(const ProgressState& state);
  // Erases the line so other output can take its place; show() draws it again.
  void clear();
  bool shown() const { return shown_; }

  // The line as show() draws it, without the terminal controls.
  static std::string render(const ProgressState& state, int bar_width, int columns = 0);

 private:
  std::ostream& terminal_;
  int bar_width_;
  int columns_;
  bool shown_ = false;
};

}  // namespace tamberlo::cli
