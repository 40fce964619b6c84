#pragma once

#include <string_view>

#include "text/text.h"

namespace tamberlo {

// The GBK form of a text written in UTF-8 source, for the captions, messages and log lines the
// program shows. Callers keep the result (a function-local static) rather than convert again.
Text gbk(std::string_view utf8_text);

}  // namespace tamberlo
