#include "cli/progress_line.h"

#include <algorithm>

#include "cli/terminal_cells.h"

namespace tamberlo::cli {

namespace {
// Carriage return and "erase to end of line": the next drawing starts on a clean line.
constexpr std::string_view kClearLine = "\r\x1b[K";
}  // namespace

ProgressLine::ProgressLine(std::ostream& terminal, int bar_width, int columns)
    : terminal_(terminal), bar_width_(std::max(bar_width, 1)), columns_(std::max(columns, 0)) {}

std::string ProgressLine::render(const ProgressState& state, int bar_width, int columns) {
  // An album may hold more photos than its listed count, and a listed count of 0 leaves no
  // maximum at all: the bar then stays full or empty instead of overflowing.
  int filled = 0;
  if (state.maximum > 0) {
    const long long position = std::clamp(state.position, 0, state.maximum);
    filled = static_cast<int>(position * bar_width / state.maximum);
  }
  std::string line = "[";
  line.append(static_cast<std::size_t>(filled), '#');
  line.append(static_cast<std::size_t>(bar_width - filled), ' ');
  line += "]";
  if (!state.percent.empty()) {
    line += " " + state.percent;
  }
  if (!state.detail.empty()) {
    line += "  " + state.detail;
  }
  // The last column stays free: some terminals wrap as soon as it is written.
  return columns > 0 ? cut_to_width(line, columns - 1) : line;
}

void ProgressLine::show(const ProgressState& state) {
  terminal_ << kClearLine << render(state, bar_width_, columns_) << std::flush;
  shown_ = true;
}

void ProgressLine::clear() {
  if (shown_) {
    terminal_ << kClearLine << std::flush;
    shown_ = false;
  }
}

}  // namespace tamberlo::cli
