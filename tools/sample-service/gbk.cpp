#include "sample-service/gbk.h"

#include "text/encoding.h"

namespace tamberlo::sample {

std::string gbk(std::string_view utf8) { return utf8_to_local(utf8); }

}  // namespace tamberlo::sample
