#pragma once

#include <string>
#include <string_view>

namespace tamberlo::sample {

// The album service answers its pages and album lists in GBK; the service's texts are written
// in UTF-8 and pass through here on their way out.
std::string gbk(std::string_view utf8);

}  // namespace tamberlo::sample
