#include "text/regex_dialect.h"

#include <cctype>
#include <cstdio>

namespace tamberlo {
namespace {

bool is_hex(char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }

bool is_letter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

}  // namespace

std::string to_re2_pattern(std::string_view pattern) {
  std::string out;
  out.reserve(pattern.size() + 8);
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] != '\\' || i + 1 >= pattern.size()) {
      out.push_back(pattern[i]);
      continue;
    }
    const char escaped = pattern[i + 1];
    if (escaped == 'u' && i + 5 < pattern.size() && is_hex(pattern[i + 2]) &&
        is_hex(pattern[i + 3]) && is_hex(pattern[i + 4]) && is_hex(pattern[i + 5])) {
      out.append("\\x{").append(pattern.substr(i + 2, 4)).append("}");
      i += 5;
      continue;
    }
    if (escaped == 'c' && i + 2 < pattern.size() && is_letter(pattern[i + 2])) {
      char code[16];
      std::snprintf(code, sizeof code, "\\x{%02X}", pattern[i + 2] & 0x1F);
      out.append(code);
      i += 2;
      continue;
    }
    // An escaped non-ASCII character is that character; RE2 would refuse the escape.
    if (static_cast<unsigned char>(escaped) < 0x80) out.push_back('\\');
    out.push_back(escaped);
    ++i;
  }
  return out;
}

}  // namespace tamberlo
