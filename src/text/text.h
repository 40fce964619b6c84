#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tamberlo {

// GBK (code page 936) bytes; never holds a zero byte. Positions count bytes from 1.
using Text = std::string;
// Raw bytes with their own length (answer bodies, files).
using Bytes = std::string;

// "#引号" in GBK: inside a marker it stands for one double quote, so callers can name quoted
// values.
inline constexpr std::string_view kQuoteMarker = "#\xD2\xFD\xBA\xC5";

// Plain text search over whole GBK characters: a match is only tried at the first byte of a
// character. Returns the 1-based byte position of the first match at or after start_position
// (values below 1 mean 1), or -1. Case folding touches A-Z only. An empty needle is found at
// position 1 whenever a byte remains at or after start_position.
int find_text(std::string_view source, std::string_view needle, int start_position = 1,
              bool ignore_case = false);
bool contains_text(std::string_view source, std::string_view needle, bool ignore_case = false);

// Replaces every occurrence found by the same walk; the walk goes on after each replaced
// occurrence, so the inserted text is never searched again. An empty `from` changes nothing.
Text replace_text(std::string_view source, std::string_view from, std::string_view to,
                  bool ignore_case = false);

// The text strictly between the first start marker (searched from start_position; 0, 1 and
// negative values all mean the first byte) and the next end marker after it, or the empty text.
// kQuoteMarker inside either marker stands for a double quote; the source is searched unchanged.
Text text_between(std::string_view source, std::string_view start_marker,
                  std::string_view end_marker, int start_position = 0, bool ignore_case = false);

// ASCII space and the full-width space (GBK A1 A1) at both ends; tab, CR and LF stay.
Text trim_text(std::string_view text);
// Every ASCII space and every full-width space.
Text remove_spaces(std::string_view text);
// An empty text gives no pieces; each separator ends a piece (so leading or doubled separators
// give empty pieces); what follows the last separator is a piece only when not empty.
// An empty separator gives the whole text as the one piece.
std::vector<Text> split_text(std::string_view text, std::string_view separator);

// Decimal number at the start: leading blanks and one sign allowed, stops at the first other
// character, no digits gives 0, saturates at the int limits instead of overflowing.
int leading_integer(std::string_view text);

// A-Z to a-z, stepping over double-byte characters so their second bytes stay untouched.
Text to_lower_ascii(std::string_view text);

}  // namespace tamberlo
