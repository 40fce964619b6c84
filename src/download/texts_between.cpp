#include "download/texts_between.h"

namespace tamberlo {

int texts_between(std::string_view source, std::string_view start_marker,
                  std::string_view end_marker, std::vector<Text>& results, bool case_sensitive,
                  int max_length, std::string_view prefix, std::string_view suffix,
                  bool keep_start_marker, bool keep_end_marker, int start_position) {
  results.clear();
  const bool ignore_case = !case_sensitive;
  const int source_size = static_cast<int>(source.size());
  int position = start_position < 1 ? 1 : start_position;
  // An empty end marker closes every value at once, and an empty value ends the scan.
  if (end_marker.empty()) return 0;
  while (position <= source_size) {
    const int start =
        start_marker.empty() ? position : find_text(source, start_marker, position, ignore_case);
    if (start == -1) break;
    const int value_begin = start + static_cast<int>(start_marker.size());
    const int end = find_text(source, end_marker, value_begin, ignore_case);
    if (end == -1) break;
    const Text value = trim_text(source.substr(static_cast<std::size_t>(value_begin - 1),
                                               static_cast<std::size_t>(end - value_begin)));
    if (value.empty()) break;
    if (max_length <= 0 || static_cast<int>(value.size()) <= max_length) {
      Text collected;
      if (keep_start_marker) collected.append(start_marker);
      collected.append(prefix).append(value).append(suffix);
      if (keep_end_marker) collected.append(end_marker);
      results.push_back(std::move(collected));
    }
    position = end;
  }
  return static_cast<int>(results.size());
}

}  // namespace tamberlo
