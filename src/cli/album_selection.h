#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/window_port.h"

// Which albums of the list a download takes, by the serial numbers the list shows.
namespace tamberlo::cli {

// "1,3,4" (blanks around the numbers allowed) into the serial numbers, in the order given and
// without repeats; nullopt when an item is empty or not a positive decimal number.
std::optional<std::vector<int>> parse_serial_numbers(std::string_view text);

struct SelectionOutcome {
  std::vector<int> unknown;       // serial numbers no row carries
  std::vector<int> inaccessible;  // chosen rows whose album-data address is still unknown
};

// Ticks exactly the rows whose serial numbers are given and unticks every other one. Nothing
// is changed when a serial number is unknown, so a mistyped number never starts a download of
// the rest.
SelectionOutcome tick_serial_numbers(WindowPort& window, const std::vector<int>& serials);

// The ticked rows the download passes over without a word: no album-data address (or no
// count) yet.
std::vector<int> ticked_not_downloadable(WindowPort& window);

}  // namespace tamberlo::cli
