#include "support/recording_window_port.h"

#include <utility>

#include "text/encoding.h"

namespace tamberlo::testing {
namespace {

// GBK to UTF-8, with the line breaks the log carries spelled out so one change stays one line.
std::string readable(std::string_view gbk_text) {
  std::string line;
  for (char c : local_to_utf8(gbk_text)) {
    if (c == '\r') {
      line += "\\r";
    } else if (c == '\n') {
      line += "\\n";
    } else {
      line += c;
    }
  }
  return line;
}

std::string control_name(std::string_view control) { return std::string(control); }

}  // namespace

void RecordingWindowPort::put_text(std::string_view control, const std::string& text) {
  std::lock_guard lock(mutex_);
  texts_[control_name(control)] = text;
}

void RecordingWindowPort::put_tick(std::string_view check_box, bool ticked) {
  std::lock_guard lock(mutex_);
  if (ticked) {
    ticked_.insert(control_name(check_box));
  } else {
    ticked_.erase(control_name(check_box));
  }
}

void RecordingWindowPort::put_current_index(std::string_view control, int index) {
  std::lock_guard lock(mutex_);
  indexes_[control_name(control)] = index;
}

void RecordingWindowPort::put_browser_cookie_text(const std::string& cookies) {
  std::lock_guard lock(mutex_);
  cookie_text_ = cookies;
}

void RecordingWindowPort::put_row(const Row& row) {
  std::lock_guard lock(mutex_);
  rows_.push_back(row);
}

void RecordingWindowPort::put_current_row(int row) {
  std::lock_guard lock(mutex_);
  current_row_ = row;
}

void RecordingWindowPort::on_wait(std::function<bool(int)> handler) {
  std::lock_guard lock(mutex_);
  wait_handler_ = std::move(handler);
}

void RecordingWindowPort::on_change(std::function<void(const std::string&)> handler) {
  std::lock_guard lock(mutex_);
  change_handler_ = std::move(handler);
}

void RecordingWindowPort::clear_calls() {
  std::lock_guard lock(mutex_);
  calls_.clear();
}

std::vector<std::string> RecordingWindowPort::calls() const {
  std::lock_guard lock(mutex_);
  return calls_;
}

std::string RecordingWindowPort::log() const {
  std::lock_guard lock(mutex_);
  return log_;
}

std::vector<RecordingWindowPort::Row> RecordingWindowPort::rows() const {
  std::lock_guard lock(mutex_);
  return rows_;
}

std::vector<std::string> RecordingWindowPort::messages() const {
  std::lock_guard lock(mutex_);
  return messages_;
}

std::string RecordingWindowPort::browser_address() const {
  std::lock_guard lock(mutex_);
  return browser_address_;
}

bool RecordingWindowPort::visible(std::string_view control) const {
  std::lock_guard lock(mutex_);
  const auto found = visible_.find(control);
  return found != visible_.end() && found->second;
}

std::string RecordingWindowPort::focus() const {
  std::lock_guard lock(mutex_);
  return focus_;
}

int RecordingWindowPort::progress_maximum() const {
  std::lock_guard lock(mutex_);
  return progress_maximum_;
}

int RecordingWindowPort::progress_position() const {
  std::lock_guard lock(mutex_);
  return progress_position_;
}

int RecordingWindowPort::column_width(int column) const {
  std::lock_guard lock(mutex_);
  const auto found = column_widths_.find(column);
  return found == column_widths_.end() ? -1 : found->second;
}

void RecordingWindowPort::set_text(std::string_view control, const std::string& text) {
  {
    std::lock_guard lock(mutex_);
    texts_[control_name(control)] = text;
  }
  record("set_text " + control_name(control) + " " + readable(text));
}

std::string RecordingWindowPort::text(std::string_view control) {
  std::lock_guard lock(mutex_);
  const auto found = texts_.find(control);
  return found == texts_.end() ? std::string() : found->second;
}

void RecordingWindowPort::set_visible(std::string_view control, bool visible) {
  {
    std::lock_guard lock(mutex_);
    visible_[control_name(control)] = visible;
  }
  record("set_visible " + control_name(control) + (visible ? " 1" : " 0"));
}

void RecordingWindowPort::set_focus(std::string_view control) {
  {
    std::lock_guard lock(mutex_);
    focus_ = control_name(control);
  }
  record("set_focus " + control_name(control));
}

bool RecordingWindowPort::is_ticked(std::string_view check_box) {
  std::lock_guard lock(mutex_);
  return ticked_.contains(check_box);
}

int RecordingWindowPort::current_index(std::string_view control) {
  std::lock_guard lock(mutex_);
  const auto found = indexes_.find(control);
  return found == indexes_.end() ? 0 : found->second;
}

void RecordingWindowPort::set_current_index(std::string_view control, int index) {
  {
    std::lock_guard lock(mutex_);
    indexes_[control_name(control)] = index;
  }
  record("set_current_index " + control_name(control) + " " + std::to_string(index));
}

void RecordingWindowPort::append_log(const std::string& text) {
  {
    std::lock_guard lock(mutex_);
    log_ += text;
  }
  record("append_log " + readable(text));
}

void RecordingWindowPort::set_progress_maximum(int maximum) {
  {
    std::lock_guard lock(mutex_);
    progress_maximum_ = maximum;
  }
  record("progress_maximum " + std::to_string(maximum));
}

void RecordingWindowPort::set_progress_position(int position) {
  {
    std::lock_guard lock(mutex_);
    progress_position_ = position;
  }
  record("progress_position " + std::to_string(position));
}

void RecordingWindowPort::list_clear() {
  {
    std::lock_guard lock(mutex_);
    rows_.clear();
    current_row_ = -1;
  }
  record("list_clear");
}

int RecordingWindowPort::list_append_row() {
  int row = 0;
  {
    std::lock_guard lock(mutex_);
    rows_.emplace_back();
    row = static_cast<int>(rows_.size()) - 1;
  }
  record("append_row " + std::to_string(row));
  return row;
}

int RecordingWindowPort::list_row_count() {
  std::lock_guard lock(mutex_);
  return static_cast<int>(rows_.size());
}

bool RecordingWindowPort::valid_cell(int row, int column) const {
  return row >= 0 && row < static_cast<int>(rows_.size()) && column >= 0 &&
         column < static_cast<int>(Row{}.cells.size());
}

// A cell of a row that does not exist is recorded but changes nothing, as in the window.
void RecordingWindowPort::list_set_cell(int row, int column, const std::string& text) {
  {
    std::lock_guard lock(mutex_);
    if (valid_cell(row, column)) rows_[row].cells[column] = text;
  }
  record("cell " + std::to_string(row) + " " + std::to_string(column) + " " + readable(text));
}

std::string RecordingWindowPort::list_cell(int row, int column) {
  std::lock_guard lock(mutex_);
  return valid_cell(row, column) ? rows_[row].cells[column] : std::string();
}

void RecordingWindowPort::list_set_tick(int row, int tick) {
  {
    std::lock_guard lock(mutex_);
    if (valid_cell(row, 0)) rows_[row].tick = tick;
  }
  record("tick " + std::to_string(row) + " " + std::to_string(tick));
}

int RecordingWindowPort::list_tick(int row) {
  std::lock_guard lock(mutex_);
  return valid_cell(row, 0) ? rows_[row].tick : 0;
}

int RecordingWindowPort::list_current_row() {
  std::lock_guard lock(mutex_);
  return current_row_;
}

void RecordingWindowPort::list_set_current_row(int row) {
  {
    std::lock_guard lock(mutex_);
    current_row_ = row;
  }
  record("current_row " + std::to_string(row));
}

void RecordingWindowPort::list_set_column_width(int column, int width) {
  {
    std::lock_guard lock(mutex_);
    column_widths_[column] = width;
  }
  record("column_width " + std::to_string(column) + " " + std::to_string(width));
}

void RecordingWindowPort::list_set_cover(int row, const std::string& picture_bytes) {
  {
    std::lock_guard lock(mutex_);
    if (valid_cell(row, 0)) rows_[row].cover = picture_bytes;
  }
  record("cover " + std::to_string(row) + " " + std::to_string(picture_bytes.size()) + " bytes");
}

void RecordingWindowPort::browser_set_address(const std::string& url) {
  {
    std::lock_guard lock(mutex_);
    browser_address_ = url;
  }
  record("browser " + readable(url));
}

std::string RecordingWindowPort::browser_cookie_text() {
  std::lock_guard lock(mutex_);
  return cookie_text_;
}

void RecordingWindowPort::show_message(const std::string& text) {
  {
    std::lock_guard lock(mutex_);
    messages_.push_back(text);
  }
  record("message " + readable(text));
}

bool RecordingWindowPort::wait(int milliseconds) {
  std::function<bool(int)> handler;
  {
    std::lock_guard lock(mutex_);
    handler = wait_handler_;
  }
  record("wait " + std::to_string(milliseconds));
  return handler ? handler(milliseconds) : true;
}

void RecordingWindowPort::process_events() { record("process_events"); }

void RecordingWindowPort::record(std::string line) {
  std::function<void(const std::string&)> handler;
  {
    std::lock_guard lock(mutex_);
    calls_.push_back(line);
    handler = change_handler_;
  }
  if (handler) handler(line);
}

}  // namespace tamberlo::testing
