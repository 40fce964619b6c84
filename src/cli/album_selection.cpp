#include "cli/album_selection.h"

#include <algorithm>
#include <charconv>

#include "text/text.h"

namespace tamberlo::cli {

namespace {

int serial_of_row(WindowPort& window, int row) {
  const Text serial = window.list_cell(row, column::kSerial);
  return serial.empty() ? row + 1 : leading_integer(serial);
}

std::string_view trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) {
    return {};
  }
  const auto last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

}  // namespace

std::optional<std::vector<int>> parse_serial_numbers(std::string_view text) {
  std::vector<int> serials;
  std::size_t start = 0;
  while (true) {
    const auto comma = text.find(',', start);
    const std::string_view item =
        trimmed(text.substr(start, comma == std::string_view::npos ? comma : comma - start));
    int serial = 0;
    const auto [end, error] = std::from_chars(item.data(), item.data() + item.size(), serial);
    if (item.empty() || error != std::errc() || end != item.data() + item.size() || serial < 1) {
      return std::nullopt;
    }
    if (std::find(serials.begin(), serials.end(), serial) == serials.end()) {
      serials.push_back(serial);
    }
    if (comma == std::string_view::npos) {
      return serials;
    }
    start = comma + 1;
  }
}

SelectionOutcome tick_serial_numbers(WindowPort& window, const std::vector<int>& serials) {
  SelectionOutcome outcome;
  const int rows = window.list_row_count();
  std::vector<int> row_serials;
  for (int row = 0; row < rows; ++row) {
    row_serials.push_back(serial_of_row(window, row));
  }
  for (const int serial : serials) {
    if (std::find(row_serials.begin(), row_serials.end(), serial) == row_serials.end()) {
      outcome.unknown.push_back(serial);
    }
  }
  if (!outcome.unknown.empty()) {
    return outcome;
  }
  for (int row = 0; row < rows; ++row) {
    const int serial = row_serials[static_cast<std::size_t>(row)];
    const bool chosen = std::find(serials.begin(), serials.end(), serial) != serials.end();
    window.list_set_tick(row, chosen ? 1 : 0);
    if (chosen && window.list_cell(row, column::kDataAddress).empty()) {
      outcome.inaccessible.push_back(serial);
    }
  }
  return outcome;
}

std::vector<int> ticked_not_downloadable(WindowPort& window) {
  std::vector<int> serials;
  const int rows = window.list_row_count();
  for (int row = 0; row < rows; ++row) {
    if (window.list_tick(row) == 1 && (window.list_cell(row, column::kDataAddress).empty() ||
                                       window.list_cell(row, column::kCount).empty())) {
      serials.push_back(serial_of_row(window, row));
    }
  }
  return serials;
}

}  // namespace tamberlo::cli
