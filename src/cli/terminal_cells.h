#pragma once

#include <string>
#include <string_view>

// How much room UTF-8 text takes on a terminal: East Asian wide characters take two cells.
namespace tamberlo::cli {

int display_width(std::string_view utf8);

// The longest start of the text, in whole characters, that fits into the given cells.
std::string cut_to_width(std::string_view utf8, int cells);

}  // namespace tamberlo::cli
