#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "text/text.h"

namespace re2 {
class RE2;
}

namespace tamberlo {

// Runs one pattern over a GBK subject and keeps every match with its group spans. The engine is
// RE2, so matching time stays linear in the subject whatever a remote server sends. Indexes are
// 1-based; every failure (bad pattern, index out of range, no run yet) is an empty result.
// Copies share the compiled pattern and keep their own matches and subject.
class RegexMatcher final {
 public:
  // Without case_sensitive letters match regardless of case; multiline lets ^ and $ match at
  // line feeds; global finds all non-overlapping matches left to right, otherwise only the first.
  // With quote_marker every kQuoteMarker in the pattern stands for a double quote. Returns false
  // when the pattern does not compile (including constructs RE2 lacks: backreferences,
  // lookaround); true with zero matches when nothing matched.
  bool execute(std::string_view pattern, std::string_view subject, bool case_sensitive = false,
               bool multiline = true, bool global = true, bool quote_marker = false);

  // The pattern of the last execute (quote markers rewritten); empty before the first.
  Text get_pattern() const;
  // The last subject with the kept matches replaced; "$1".."$99", "$&", "$`", "$'" and "$$" as
  // usual. Empty when the last execute failed or there was none.
  Text replace(std::string_view replacement) const;

  int match_count() const;
  // `position` receives the 0-based byte offset in the GBK subject, or -1 when there is no such
  // match.
  Text match_text(int index, int* position = nullptr) const;
  // Empty for a group that took no part in the match; `position` as for match_text.
  Text submatch_text(int match, int group, int* position = nullptr) const;
  // Number of capture groups of the first match; 0 when there is no match.
  int submatch_count() const;

 private:
  // Offsets into subject_; 32 bits keep the spans of a big album list small, and positions are
  // reported as int anyway.
  struct Span {
    std::uint32_t begin = kAbsent;
    std::uint32_t length = 0;
  };
  static constexpr std::uint32_t kAbsent = 0xFFFFFFFF;

  const Span* span(int match, int group) const;
  Text span_text(const Span* found, int* position) const;

  std::shared_ptr<const re2::RE2> engine_;
  bool has_run_ = false;
  Text pattern_;
  Text local_subject_;
  std::string subject_;  // UTF-8, as the engine sees it
  int group_count_ = 0;
  std::vector<Span> spans_;  // group_count_ + 1 spans per match, group 0 the whole match
};

}  // namespace tamberlo
