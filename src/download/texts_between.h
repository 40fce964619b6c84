#pragma once

#include <string_view>
#include <vector>

#include "text/text.h"

namespace tamberlo {

// Collects every value that stands between start_marker and the next end_marker, in the order
// they stand in source, into results (emptied first); returns how many were collected.
// Values are trimmed of blanks; an empty value ends the collection, so nothing after it is
// taken. A value longer than max_length bytes (when max_length > 0) is passed over. The next
// search starts at the end marker just found, so one marker can close a value and open the
// next. Searches walk whole GBK characters and, unless case_sensitive, fold A-Z onto a-z.
int texts_between(std::string_view source, std::string_view start_marker,
                  std::string_view end_marker, std::vector<Text>& results,
                  bool case_sensitive = false, int max_length = 0, std::string_view prefix = {},
                  std::string_view suffix = {}, bool keep_start_marker = false,
                  bool keep_end_marker = false, int start_position = 1);

}  // namespace tamberlo
