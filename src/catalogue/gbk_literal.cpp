#include "catalogue/gbk_literal.h"

#include "text/encoding.h"

namespace tamberlo {

Text gbk(std::string_view utf8_text) { return utf8_to_local(utf8_text); }

}  // namespace tamberlo
