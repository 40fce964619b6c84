#include "cli/terminal_window.h"

#include <chrono>
#include <utility>

#include "catalogue/service_hosts.h"
#include "cli/progress_line.h"
#include "http/cookie_store.h"
#include "text/encoding.h"

namespace tamberlo::cli {

namespace {

// Message boxes may break their text over lines the way the log does.
std::string terminal_lines(std::string_view utf8) {
  std::string lines;
  lines.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    if (utf8[i] == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n') {
      continue;
    }
    lines += utf8[i];
  }
  return lines;
}

}  // namespace

TerminalWindow::TerminalWindow(TerminalWindowSetup setup) : setup_(std::move(setup)) {
  texts_.emplace(std::string(control::kInput), setup_.input);
  texts_.emplace(std::string(control::kSaveLocation), setup_.save_location);
}

TerminalWindow::~TerminalWindow() = default;

void TerminalWindow::set_text(std::string_view control, const std::string& text) {
  std::lock_guard lock(mutex_);
  texts_.insert_or_assign(std::string(control), text);
  if (control == control::kProgressPercent || control == control::kPhotoInHand ||
      control == control::kAlbumInHand || control == control::kStatus) {
    redraw_progress_locked();
  }
}

std::string TerminalWindow::text(std::string_view control) {
  std::lock_guard lock(mutex_);
  const auto found = texts_.find(control);
  return found == texts_.end() ? std::string() : found->second;
}

void TerminalWindow::set_visible(std::string_view control, bool visible) {
  std::lock_guard lock(mutex_);
  visible_.insert_or_assign(std::string(control), visible);
}

void TerminalWindow::set_focus(std::string_view /*control*/) {}

bool TerminalWindow::is_ticked(std::string_view check_box) {
  // Covers are pictures for the window's list; the terminal has nowhere to show them.
  return check_box == control::kOwnAlbums && setup_.own_albums;
}

int TerminalWindow::current_index(std::string_view control) {
  std::lock_guard lock(mutex_);
  const auto found = indexes_.find(control);
  return found == indexes_.end() ? 0 : found->second;
}

void TerminalWindow::set_current_index(std::string_view control, int index) {
  std::lock_guard lock(mutex_);
  indexes_.insert_or_assign(std::string(control), index);
}

void TerminalWindow::append_log(const std::string& text) {
  std::lock_guard lock(mutex_);
  write_log_locked(local_to_utf8(text));
}

void TerminalWindow::write_log_locked(std::string_view utf8) {
  if (setup_.log == nullptr || utf8.empty()) {
    return;
  }
  // The engines append a line's "\r\n" in one piece, but nothing promises that a piece never
  // ends between the two, so a trailing "\r" waits for the next piece.
  std::string lines;
  lines.reserve(utf8.size() + 1);
  if (log_holds_cr_) {
    log_holds_cr_ = false;
    if (utf8.front() != '\n') {
      lines += '\r';
    }
  }
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    if (utf8[i] == '\r') {
      if (i + 1 == utf8.size()) {
        log_holds_cr_ = true;
        continue;
      }
      if (utf8[i + 1] == '\n') {
        continue;
      }
    }
    lines += utf8[i];
  }
  if (lines.empty()) {
    return;
  }
  if (setup_.progress != nullptr) {
    setup_.progress->clear();
  }
  *setup_.log << lines << std::flush;
  redraw_progress_locked();
}

void TerminalWindow::set_progress_maximum(int maximum) {
  std::lock_guard lock(mutex_);
  progress_maximum_ = maximum;
  progress_started_ = true;
  redraw_progress_locked();
}

void TerminalWindow::set_progress_position(int position) {
  std::lock_guard lock(mutex_);
  progress_position_ = position;
  progress_started_ = true;
  redraw_progress_locked();
}

void TerminalWindow::redraw_progress_locked() {
  if (setup_.progress == nullptr || !progress_started_ || cancelled_) {
    return;
  }
  const auto caption = [this](std::string_view control) {
    const auto found = texts_.find(control);
    return found == texts_.end() ? std::string() : local_to_utf8(found->second);
  };
  ProgressState state;
  state.position = progress_position_;
  state.maximum = progress_maximum_;
  state.percent = caption(control::kProgressPercent);
  const std::string album = caption(control::kAlbumInHand);
  const std::string photo = caption(control::kPhotoInHand);
  state.detail = album.empty() || photo.empty() ? album + photo : album + " " + photo;
  if (state.detail.empty()) {
    state.detail = caption(control::kStatus);
  }
  setup_.progress->show(state);
}

bool TerminalWindow::valid_row_locked(int row) const {
  return row >= 0 && static_cast<std::size_t>(row) < rows_.size();
}

void TerminalWindow::list_clear() {
  std::lock_guard lock(mutex_);
  rows_.clear();
  current_row_ = -1;
}

int TerminalWindow::list_append_row() {
  std::lock_guard lock(mutex_);
  rows_.emplace_back();
  rows_.back().cells.resize(static_cast<std::size_t>(column::kDataAddress) + 1);
  return static_cast<int>(rows_.size()) - 1;
}

int TerminalWindow::list_row_count() {
  std::lock_guard lock(mutex_);
  return static_cast<int>(rows_.size());
}

void TerminalWindow::list_set_cell(int row, int column, const std::string& text) {
  std::lock_guard lock(mutex_);
  if (!valid_row_locked(row) || column < 0) {
    return;
  }
  auto& cells = rows_[static_cast<std::size_t>(row)].cells;
  if (static_cast<std::size_t>(column) >= cells.size()) {
    cells.resize(static_cast<std::size_t>(column) + 1);
  }
  cells[static_cast<std::size_t>(column)] = text;
}

std::string TerminalWindow::list_cell(int row, int column) {
  std::lock_guard lock(mutex_);
  if (!valid_row_locked(row) || column < 0) {
    return {};
  }
  const auto& cells = rows_[static_cast<std::size_t>(row)].cells;
  return static_cast<std::size_t>(column) < cells.size() ? cells[static_cast<std::size_t>(column)]
                                                         : std::string();
}

void TerminalWindow::list_set_tick(int row, int tick) {
  std::lock_guard lock(mutex_);
  if (valid_row_locked(row)) {
    rows_[static_cast<std::size_t>(row)].tick = tick;
  }
}

int TerminalWindow::list_tick(int row) {
  std::lock_guard lock(mutex_);
  return valid_row_locked(row) ? rows_[static_cast<std::size_t>(row)].tick : 0;
}

int TerminalWindow::list_current_row() {
  std::lock_guard lock(mutex_);
  return current_row_;
}

void TerminalWindow::list_set_current_row(int row) {
  std::lock_guard lock(mutex_);
  current_row_ = valid_row_locked(row) ? row : -1;
}

void TerminalWindow::list_set_column_width(int /*column*/, int /*width*/) {}

void TerminalWindow::list_set_cover(int /*row*/, const std::string& /*picture_bytes*/) {}

void TerminalWindow::browser_set_address(const std::string& url) {
  std::lock_guard lock(mutex_);
  browser_address_ = url;
}

std::string TerminalWindow::browser_cookie_text() {
  if (!setup_.browser_cookie_text.empty()) {
    return setup_.browser_cookie_text;
  }
  // Without a browser the page it would show is the service's home page: its document cookie
  // is what a login in the browser would have left there.
  return process_cookie_store().document_cookie("http://" + service_hosts().web_host + "/");
}

void TerminalWindow::show_message(const std::string& text) {
  std::lock_guard lock(mutex_);
  messages_.push_back(text);
  if (setup_.messages == nullptr) {
    return;
  }
  if (setup_.progress != nullptr) {
    setup_.progress->clear();
  }
  *setup_.messages << terminal_lines(local_to_utf8(text)) << '\n' << std::flush;
  redraw_progress_locked();
}

bool TerminalWindow::wait(int milliseconds) {
  std::unique_lock lock(mutex_);
  if (milliseconds > 0) {
    cancel_changed_.wait_for(lock, std::chrono::milliseconds(milliseconds),
                             [this] { return cancelled_; });
  }
  return !cancelled_;
}

void TerminalWindow::process_events() {}

void TerminalWindow::cancel() {
  {
    std::lock_guard lock(mutex_);
    cancelled_ = true;
  }
  cancel_changed_.notify_all();
}

bool TerminalWindow::cancelled() const {
  std::lock_guard lock(mutex_);
  return cancelled_;
}

std::vector<ListRow> TerminalWindow::rows() const {
  std::lock_guard lock(mutex_);
  return rows_;
}

std::string TerminalWindow::browser_address() const {
  std::lock_guard lock(mutex_);
  return browser_address_;
}

std::vector<std::string> TerminalWindow::messages() const {
  std::lock_guard lock(mutex_);
  return messages_;
}

void TerminalWindow::finish() {
  std::lock_guard lock(mutex_);
  if (setup_.progress != nullptr) {
    setup_.progress->clear();
  }
  if (log_holds_cr_ && setup_.log != nullptr) {
    *setup_.log << '\r' << std::flush;
  }
  log_holds_cr_ = false;
}

}  // namespace tamberlo::cli
