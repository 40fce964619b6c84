#pragma once

#include <string>
#include <string_view>

#include "text/text.h"

namespace tamberlo {

// Every conversion uses code page 936, whatever the machine's locale, and never reports an error:
// what cannot be converted becomes "?" (or U+FFFD towards Unicode).

// UTF-8 answer body to text: one "?" per maximal invalid UTF-8 stretch, "?" for characters GBK
// lacks, and the text ends before the first zero byte (so an image yields its leading bytes only).
Text utf8_to_local(std::string_view utf8_bytes);

// UTF-16LE bytes of the text, with the terminating zero code unit.
Bytes local_to_utf16(std::string_view local);

// UTF-16LE bytes to text: an odd last byte is ignored, a base letter followed by a combining mark
// becomes the precomposed character where GBK has one, "?" for characters GBK lacks, and the text
// ends before the first zero code unit.
Text utf16_to_local(std::string_view utf16_bytes);

// Text to UTF-8 for the edges (window, terminal, file names); invalid GBK becomes U+FFFD.
std::string local_to_utf8(std::string_view local);

// An answer body read as text without conversion: the bytes up to the first zero byte.
Text body_as_text(std::string_view bytes);

}  // namespace tamberlo
