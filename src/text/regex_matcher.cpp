#include "text/regex_matcher.h"

#include <re2/re2.h>

#include <algorithm>
#include <cstdint>

#include "text/encoding.h"
#include "text/encoding_offsets.h"
#include "text/regex_dialect.h"

namespace tamberlo {
namespace {

// Head room for the DFA's state cache: when the budget runs out RE2 falls back to its much
// slower NFA, and a hostile album list should not be able to force that. Memory is only taken
// as states are built.
constexpr int64_t kEngineMemory = 64 << 20;

std::size_t utf8_character_length(std::string_view text, std::size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
  return std::min(length, text.size() - at);
}

std::shared_ptr<const re2::RE2> compile(std::string_view pattern, bool case_sensitive,
                                        bool multiline) {
  re2::RE2::Options options;
  options.set_log_errors(false);
  options.set_case_sensitive(case_sensitive);
  options.set_max_mem(kEngineMemory);
  std::string translated = multiline ? "(?m)" : "";
  translated += to_re2_pattern(local_to_utf8(pattern));
  auto engine = std::make_shared<const re2::RE2>(translated, options);
  if (!engine->ok()) return nullptr;
  return engine;
}

}  // namespace

bool RegexMatcher::execute(std::string_view pattern, std::string_view subject, bool case_sensitive,
                           bool multiline, bool global, bool quote_marker) {
  engine_.reset();
  spans_.clear();
  group_count_ = 0;
  has_run_ = true;
  pattern_ = quote_marker ? replace_text(pattern, kQuoteMarker, "\"") : Text(pattern);
  local_subject_ = body_as_text(subject);
  subject_ = local_to_utf8(local_subject_);

  // Offsets must fit the spans and the int positions; no answer body comes near that size.
  if (subject_.size() > static_cast<std::size_t>(INT32_MAX) - 1) return false;
  engine_ = compile(pattern_, case_sensitive, multiline);
  if (!engine_) return false;

  group_count_ = engine_->NumberOfCapturingGroups();
  const int slots = group_count_ + 1;
  std::vector<re2::StringPiece> groups(static_cast<std::size_t>(slots));
  const re2::StringPiece text(subject_);
  std::size_t from = 0;
  while (from <= subject_.size() &&
         engine_->Match(text, from, subject_.size(), re2::RE2::UNANCHORED, groups.data(), slots)) {
    for (const re2::StringPiece& group : groups) {
      Span found;
      if (group.data() != nullptr) {
        found = Span{static_cast<std::uint32_t>(group.data() - text.data()),
                     static_cast<std::uint32_t>(group.size())};
      }
      spans_.push_back(found);
    }
    if (!global) break;
    const std::size_t begin = static_cast<std::size_t>(groups[0].data() - text.data());
    const std::size_t end = begin + groups[0].size();
    // An empty match moves the next search on by one character, so the run always ends.
    if (end == begin) {
      if (end >= subject_.size()) break;
      from = end + utf8_character_length(subject_, end);
    } else {
      from = end;
    }
  }
  return true;
}

Text RegexMatcher::get_pattern() const { return has_run_ ? pattern_ : Text(); }

int RegexMatcher::match_count() const {
  return static_cast<int>(spans_.size() / static_cast<std::size_t>(group_count_ + 1));
}

int RegexMatcher::submatch_count() const { return match_count() > 0 ? group_count_ : 0; }

const RegexMatcher::Span* RegexMatcher::span(int match, int group) const {
  if (match < 1 || match > match_count() || group < 0 || group > group_count_) return nullptr;
  const Span& found = spans_[static_cast<std::size_t>(match - 1) * (group_count_ + 1) +
                             static_cast<std::size_t>(group)];
  return found.begin != kAbsent ? &found : nullptr;
}

Text RegexMatcher::span_text(const Span* found, int* position) const {
  if (position != nullptr) {
    *position = found == nullptr
                    ? -1
                    : static_cast<int>(local_offset_of_utf8_offset(local_subject_, found->begin));
  }
  if (found == nullptr) return {};
  return utf8_to_local(std::string_view(subject_).substr(found->begin, found->length));
}

Text RegexMatcher::match_text(int index, int* position) const {
  return span_text(span(index, 0), position);
}

Text RegexMatcher::submatch_text(int match, int group, int* position) const {
  return span_text(group < 1 ? nullptr : span(match, group), position);
}

Text RegexMatcher::replace(std::string_view replacement) const {
  if (!engine_) return {};
  const std::string with = local_to_utf8(replacement);
  const int matches = match_count();
  std::string out;
  out.reserve(subject_.size());
  std::size_t copied = 0;
  for (int m = 1; m <= matches; ++m) {
    const Span& whole = *span(m, 0);
    out.append(subject_, copied, whole.begin - copied);
    for (std::size_t i = 0; i < with.size(); ++i) {
      if (with[i] != '$' || i + 1 >= with.size()) {
        out.push_back(with[i]);
        continue;
      }
      const char next = with[i + 1];
      if (next == '$') {
        out.push_back('$');
        ++i;
      } else if (next == '&') {
        out.append(subject_, whole.begin, whole.length);
        ++i;
      } else if (next == '`') {
        out.append(subject_, 0, whole.begin);
        ++i;
      } else if (next == '\'') {
        out.append(subject_, whole.begin + whole.length);
        ++i;
      } else if (next >= '0' && next <= '9') {
        // Two digits when they name an existing group, else one digit, else the text itself.
        int group = next - '0';
        std::size_t used = 1;
        if (i + 2 < with.size() && with[i + 2] >= '0' && with[i + 2] <= '9' &&
            group * 10 + (with[i + 2] - '0') <= group_count_ &&
            group * 10 + (with[i + 2] - '0') > 0) {
          group = group * 10 + (with[i + 2] - '0');
          used = 2;
        }
        if (group < 1 || group > group_count_) {
          out.push_back('$');
          continue;
        }
        if (const Span* part = span(m, group)) out.append(subject_, part->begin, part->length);
        i += used;
      } else {
        out.push_back('$');
      }
    }
    copied = whole.begin + whole.length;
  }
  out.append(subject_, copied);
  return utf8_to_local(out);
}

}  // namespace tamberlo
