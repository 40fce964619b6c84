#include "http/cookie_text.h"

#include <algorithm>
#include <vector>

namespace tamberlo {
namespace {

constexpr std::string_view kDeletedSuffix = "=deleted";

void drop_trailing(Text& text, std::size_t count) {
  text.resize(text.size() - std::min(count, text.size()));
}

bool ends_with_deleted(const Text& item) {
  return item.size() >= kDeletedSuffix.size() &&
         std::string_view(item).substr(item.size() - kDeletedSuffix.size()) == kDeletedSuffix;
}

}  // namespace

AnswerCookies collect_answer_cookies(std::string_view raw_headers) {
  AnswerCookies answer;
  answer.normalised_headers = replace_text(raw_headers, "Set-Cookie", "Set-Cookie", true);
  for (const Text& piece : split_text(answer.normalised_headers, "\r\n")) {
    if (!contains_text(piece, "Set-Cookie")) continue;
    const Text cookie = contains_text(piece, ";")
                            ? trim_text(text_between(piece, "Set-Cookie:", ";"))
                            : trim_text(replace_text(piece, "Set-Cookie:", "", true));
    answer.cookies += cookie;
    answer.cookies += "; ";
  }
  drop_trailing(answer.cookies, 2);
  return answer;
}

void merge_cookies(Text& cookies, Text& answer_cookies) {
  cookies = remove_spaces(cookies);
  answer_cookies = remove_spaces(answer_cookies);

  std::vector<Text> merged = split_text(answer_cookies, ";");
  for (const Text& old_item : split_text(cookies, ";")) {
    const Text name = cookie_name(old_item);
    const bool named = std::any_of(merged.begin(), merged.end(),
                                   [&](const Text& item) { return cookie_name(item) == name; });
    if (!named) merged.push_back(old_item);
  }

  Text store;
  for (const Text& item : merged) {
    if (ends_with_deleted(item)) continue;
    store += item;
    store += "; ";
  }
  drop_trailing(store, 2);
  cookies = join_distinct(store, "; ");
}

Text cookie_name(std::string_view item) {
  const int equals = find_text(item, "=");
  if (equals == -1) return trim_text(item);
  return trim_text(item.substr(0, static_cast<std::size_t>(equals) - 1));
}

Text join_distinct(std::string_view text, std::string_view separator) {
  if (text.empty()) return {};
  std::vector<Text> kept;
  for (Text& piece : split_text(text, separator)) {
    if (std::find(kept.begin(), kept.end(), piece) == kept.end()) kept.push_back(std::move(piece));
  }
  Text joined;
  for (const Text& piece : kept) {
    joined += piece;
    joined += separator;
  }
  drop_trailing(joined, separator.size());
  return joined;
}

}  // namespace tamberlo
