#include <algorithm>
#include <cstddef>

#include "text/text.h"

namespace tamberlo {
namespace {

// A byte with the high bit set begins a double-byte GBK character.
std::size_t character_length(char lead) {
  return (static_cast<unsigned char>(lead) & 0x80) != 0 ? 2 : 1;
}

char fold(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool matches_at(std::string_view source, std::size_t at, std::string_view needle,
                bool ignore_case) {
  for (std::size_t k = 0; k < needle.size(); ++k) {
    const char a = source[at + k];
    const char b = needle[k];
    if (ignore_case ? fold(a) != fold(b) : a != b) return false;
  }
  return true;
}

// 0-based index of the first match at or after `from`, or npos.
std::size_t find_index(std::string_view source, std::string_view needle, std::size_t from,
                       bool ignore_case) {
  if (from >= source.size()) return std::string_view::npos;
  if (needle.empty()) return 0;
  for (std::size_t i = from; i + needle.size() <= source.size(); i += character_length(source[i])) {
    if (matches_at(source, i, needle, ignore_case)) return i;
  }
  return std::string_view::npos;
}

std::size_t start_index(int start_position) {
  return start_position < 1 ? 0 : static_cast<std::size_t>(start_position) - 1;
}

}  // namespace

int find_text(std::string_view source, std::string_view needle, int start_position,
              bool ignore_case) {
  const std::size_t at = find_index(source, needle, start_index(start_position), ignore_case);
  return at == std::string_view::npos ? -1 : static_cast<int>(at) + 1;
}

bool contains_text(std::string_view source, std::string_view needle, bool ignore_case) {
  return find_index(source, needle, 0, ignore_case) != std::string_view::npos;
}

Text replace_text(std::string_view source, std::string_view from, std::string_view to,
                  bool ignore_case) {
  if (from.empty()) return Text(source);
  Text result;
  result.reserve(source.size());
  std::size_t i = 0;
  while (i < source.size()) {
    if (i + from.size() <= source.size() && matches_at(source, i, from, ignore_case)) {
      result.append(to);
      i += from.size();
      continue;
    }
    const std::size_t step = std::min(character_length(source[i]), source.size() - i);
    result.append(source.substr(i, step));
    i += step;
  }
  return result;
}

Text text_between(std::string_view source, std::string_view start_marker,
                  std::string_view end_marker, int start_position, bool ignore_case) {
  const Text start = replace_text(start_marker, kQuoteMarker, "\"");
  const Text end = replace_text(end_marker, kQuoteMarker, "\"");
  int s = find_text(source, start, start_position, ignore_case);
  if (s == -1) return {};
  s += static_cast<int>(start.size());
  const int e = find_text(source, end, s, ignore_case);
  // An empty end marker is "found" at position 1, before s: that is the empty text as well.
  if (e == -1 || e <= s) return {};
  return Text(source.substr(static_cast<std::size_t>(s) - 1, static_cast<std::size_t>(e - s)));
}

}  // namespace tamberlo
