#pragma once

#include <string_view>

#include "text/text.h"

namespace tamberlo {

struct AnswerCookies {
  Text normalised_headers;  // the raw header text with every "Set-Cookie" spelled so
  Text cookies;             // name=value of every Set-Cookie line, in answer order, "; "-joined
};

AnswerCookies collect_answer_cookies(std::string_view raw_headers);

// Merges an answer's cookies into a caller-held cookie text: the answer's items first, then the
// old items it did not name, "=deleted" items dropped. Both variables lose their spaces.
void merge_cookies(Text& cookies, Text& answer_cookies);

// The trimmed text before the first "=", or the whole trimmed item.
Text cookie_name(std::string_view item);

// The pieces of text at separator, each kept only once, joined by separator again.
Text join_distinct(std::string_view text, std::string_view separator);

}  // namespace tamberlo
