#pragma once

#include <cstddef>
#include <string_view>

namespace tamberlo {

// The byte offset in a GBK text of the character that begins at `utf8_offset` in the text's
// UTF-8 form made by local_to_utf8; the text's length when the offset lies at or past the end.
std::size_t local_offset_of_utf8_offset(std::string_view local, std::size_t utf8_offset);

}  // namespace tamberlo
