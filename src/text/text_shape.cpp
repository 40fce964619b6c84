#include <algorithm>
#include <climits>
#include <cstddef>

#include "text/text.h"

namespace tamberlo {
namespace {

std::size_t character_length(std::string_view text, std::size_t at) {
  const std::size_t length = (static_cast<unsigned char>(text[at]) & 0x80) != 0 ? 2 : 1;
  return std::min(length, text.size() - at);
}

// Length of the blank character at `at`: 1 for an ASCII space, 2 for the full-width space, else 0.
std::size_t blank_length(std::string_view text, std::size_t at) {
  if (text[at] == ' ') return 1;
  if (text.substr(at, 2) == "\xA1\xA1") return 2;
  return 0;
}

}  // namespace

Text trim_text(std::string_view text) {
  std::size_t begin = 0;
  while (begin < text.size()) {
    const std::size_t blank = blank_length(text, begin);
    if (blank == 0) break;
    begin += blank;
  }
  // Walk forward rather than backward: only a walk from the start knows where characters begin,
  // so a trail byte A1 followed by a lone A1 is never mistaken for a full-width space.
  std::size_t end = begin;
  for (std::size_t i = begin; i < text.size();) {
    const std::size_t blank = blank_length(text, i);
    if (blank != 0) {
      i += blank;
      continue;
    }
    i += character_length(text, i);
    end = i;
  }
  return Text(text.substr(begin, end - begin));
}

Text remove_spaces(std::string_view text) {
  Text result;
  result.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t blank = blank_length(text, i);
    if (blank != 0) {
      i += blank;
      continue;
    }
    const std::size_t step = character_length(text, i);
    result.append(text.substr(i, step));
    i += step;
  }
  return result;
}

std::vector<Text> split_text(std::string_view text, std::string_view separator) {
  std::vector<Text> pieces;
  if (text.empty()) return pieces;
  if (separator.empty()) {
    pieces.emplace_back(text);
    return pieces;
  }
  int position = 1;
  while (true) {
    const int found = find_text(text, separator, position);
    if (found == -1) break;
    pieces.emplace_back(text.substr(static_cast<std::size_t>(position) - 1,
                                    static_cast<std::size_t>(found - position)));
    position = found + static_cast<int>(separator.size());
  }
  if (static_cast<std::size_t>(position) - 1 < text.size()) {
    pieces.emplace_back(text.substr(static_cast<std::size_t>(position) - 1));
  }
  return pieces;
}

int leading_integer(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\r' ||
                             text[i] == '\n' || text[i] == '\v' || text[i] == '\f')) {
    ++i;
  }
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  long long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
  }
  if (negative) return value > INT_MAX ? INT_MIN : -static_cast<int>(value);
  return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

Text to_lower_ascii(std::string_view text) {
  Text result(text);
  for (std::size_t i = 0; i < result.size();) {
    const std::size_t step = character_length(result, i);
    if (step == 1 && result[i] >= 'A' && result[i] <= 'Z') {
      result[i] = static_cast<char>(result[i] - 'A' + 'a');
    }
    i += step;
  }
  return result;
}

}  // namespace tamberlo
