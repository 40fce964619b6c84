#include "text/encoding.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "text/encoding_offsets.h"
#include "text/gbk_table.h"

namespace tamberlo {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

std::string_view up_to_zero(std::string_view bytes) { return bytes.substr(0, bytes.find('\0')); }

// Decodes UTF-8 the way browsers do: each maximal subpart of an ill-formed sequence is one
// U+FFFD, and the byte that broke a sequence is read again as the start of the next one.
template <typename Sink>
void decode_utf8(std::string_view bytes, Sink&& sink) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto lead = static_cast<unsigned char>(bytes[i++]);
    if (lead < 0x80) {
      sink(lead);
      continue;
    }
    int needed = 0;
    unsigned char lower = 0x80;
    unsigned char upper = 0xBF;
    char32_t value = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
      needed = 1;
      value = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      needed = 2;
      value = lead & 0x0F;
      if (lead == 0xE0) lower = 0xA0;
      if (lead == 0xED) upper = 0x9F;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      needed = 3;
      value = lead & 0x07;
      if (lead == 0xF0) lower = 0x90;
      if (lead == 0xF4) upper = 0x8F;  // nothing above U+10FFFF
    } else {
      sink(kReplacement);
      continue;
    }
    bool complete = true;
    for (; needed > 0; --needed) {
      if (i >= bytes.size()) {
        complete = false;
        break;
      }
      const auto next = static_cast<unsigned char>(bytes[i]);
      if (next < lower || next > upper) {
        complete = false;
        break;
      }
      value = value << 6 | (next & 0x3F);
      lower = 0x80;
      upper = 0xBF;
      ++i;
    }
    sink(complete ? value : kReplacement);
  }
}

// Decodes the GBK character at `at` into `character` and returns where the next one begins. An
// undefined pair gives U+FFFD, except that an ASCII byte after a lead byte that cannot pair with
// it is left to be read as a character of its own.
std::size_t decode_gbk_at(std::string_view bytes, std::size_t at, char32_t& character) {
  const auto lead = static_cast<unsigned char>(bytes[at]);
  if (lead < 0x80) {
    character = lead;
    return at + 1;
  }
  if (const char32_t single = gbk::decode_single(lead); single != 0) {
    character = single;
    return at + 1;
  }
  character = kReplacement;
  if (lead == 0xFF || at + 1 >= bytes.size()) return at + 1;
  const auto trail = static_cast<unsigned char>(bytes[at + 1]);
  const char32_t pair = gbk::decode_pair(lead, trail);
  if (pair == 0 && trail < 0x80) return at + 1;
  if (pair != 0) character = pair;
  return at + 2;
}

template <typename Sink>
void decode_gbk(std::string_view bytes, Sink&& sink) {
  char32_t character = 0;
  for (std::size_t i = 0; i < bytes.size();) {
    const std::size_t next = decode_gbk_at(bytes, i, character);
    sink(character, i);
    i = next;
  }
}

void append_gbk(Text& out, char32_t character) {
  const std::uint16_t code = gbk::encode(character);
  if (code == 0 && character != 0) {
    out.push_back('?');
  } else if (code < 0x100) {
    out.push_back(static_cast<char>(code));
  } else {
    out.push_back(static_cast<char>(code >> 8));
    out.push_back(static_cast<char>(code & 0xFF));
  }
}

std::size_t utf8_length(char32_t c) { return c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4; }

void append_utf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | c >> 6));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | c >> 12));
    out.push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | c >> 18));
    out.push_back(static_cast<char>(0x80 | (c >> 12 & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

struct Composition {
  char32_t base;
  char32_t mark;
  char32_t composed;
};

// The precomposed letters GBK holds (pinyin vowels with tones, ü, ê, ń ň ǹ, ḿ, Cyrillic ё).
// A pair is only composed when GBK really has the result, which gbk::encode decides.
constexpr std::array kCompositions = {
    Composition{U'a', 0x0304, 0x0101},   Composition{U'a', 0x0301, 0x00E1},
    Composition{U'a', 0x030C, 0x01CE},   Composition{U'a', 0x0300, 0x00E0},
    Composition{U'e', 0x0304, 0x0113},   Composition{U'e', 0x0301, 0x00E9},
    Composition{U'e', 0x030C, 0x011B},   Composition{U'e', 0x0300, 0x00E8},
    Composition{U'e', 0x0302, 0x00EA},   Composition{U'i', 0x0304, 0x012B},
    Composition{U'i', 0x0301, 0x00ED},   Composition{U'i', 0x030C, 0x01D0},
    Composition{U'i', 0x0300, 0x00EC},   Composition{U'o', 0x0304, 0x014D},
    Composition{U'o', 0x0301, 0x00F3},   Composition{U'o', 0x030C, 0x01D2},
    Composition{U'o', 0x0300, 0x00F2},   Composition{U'u', 0x0304, 0x016B},
    Composition{U'u', 0x0301, 0x00FA},   Composition{U'u', 0x030C, 0x01D4},
    Composition{U'u', 0x0300, 0x00F9},   Composition{U'u', 0x0308, 0x00FC},
    Composition{0x00FC, 0x0304, 0x01D6}, Composition{0x00FC, 0x0301, 0x01D8},
    Composition{0x00FC, 0x030C, 0x01DA}, Composition{0x00FC, 0x0300, 0x01DC},
    Composition{U'n', 0x0301, 0x0144},   Composition{U'n', 0x030C, 0x0148},
    Composition{U'n', 0x0300, 0x01F9},   Composition{U'm', 0x0301, 0x1E3F},
    Composition{0x0435, 0x0308, 0x0451}, Composition{0x0415, 0x0308, 0x0401},
};

char32_t compose(char32_t base, char32_t mark) {
  for (const Composition& c : kCompositions) {
    if (c.base == base && c.mark == mark) return gbk::encode(c.composed) != 0 ? c.composed : 0;
  }
  return 0;
}

// UTF-16 code units to characters; a lone surrogate stands for a character GBK lacks.
std::u32string decode_utf16le(std::string_view bytes) {
  std::u32string characters;
  const std::size_t units = bytes.size() / 2;
  characters.reserve(units);
  auto unit_at = [&](std::size_t k) {
    return static_cast<char32_t>(static_cast<unsigned char>(bytes[2 * k]) |
                                 static_cast<unsigned char>(bytes[2 * k + 1]) << 8);
  };
  for (std::size_t k = 0; k < units; ++k) {
    const char32_t unit = unit_at(k);
    if (unit == 0) break;
    if (unit >= 0xD800 && unit <= 0xDBFF && k + 1 < units) {
      const char32_t low = unit_at(k + 1);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        characters.push_back(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
        ++k;
        continue;
      }
    }
    characters.push_back(unit >= 0xD800 && unit <= 0xDFFF ? kReplacement : unit);
  }
  return characters;
}

}  // namespace

Text utf8_to_local(std::string_view utf8_bytes) {
  // A zero byte is never part of a multi-byte sequence and ends any broken one, so cutting the
  // input there gives the same text as cutting the converted output.
  const std::string_view body = up_to_zero(utf8_bytes);
  Text out;
  out.reserve(body.size());
  decode_utf8(body, [&](char32_t c) { append_gbk(out, c); });
  return out;
}

Bytes local_to_utf16(std::string_view local) {
  Bytes out;
  out.reserve(2 * local.size() + 2);
  auto put_unit = [&](char32_t unit) {
    out.push_back(static_cast<char>(unit & 0xFF));
    out.push_back(static_cast<char>(unit >> 8 & 0xFF));
  };
  decode_gbk(up_to_zero(local), [&](char32_t c, std::size_t) {
    if (c >= 0x10000) {
      put_unit(0xD800 + ((c - 0x10000) >> 10));
      put_unit(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      put_unit(c);
    }
  });
  put_unit(0);
  return out;
}

Text utf16_to_local(std::string_view utf16_bytes) {
  const std::u32string characters = decode_utf16le(utf16_bytes);
  Text out;
  out.reserve(characters.size() * 2);
  for (std::size_t k = 0; k < characters.size(); ++k) {
    if (k + 1 < characters.size()) {
      if (const char32_t composed = compose(characters[k], characters[k + 1]); composed != 0) {
        append_gbk(out, composed);
        ++k;
        continue;
      }
    }
    append_gbk(out, characters[k]);
  }
  return out;
}

std::string local_to_utf8(std::string_view local) {
  const std::string_view text = up_to_zero(local);
  std::string out;
  out.reserve(text.size() * 3 / 2 + 3);
  // Album lists are mostly ASCII: copy plain runs whole and decode only the rest.
  char32_t character = 0;
  for (std::size_t i = 0; i < text.size();) {
    std::size_t run = i;
    while (run < text.size() && static_cast<unsigned char>(text[run]) < 0x80) ++run;
    out.append(text, i, run - i);
    if (run == text.size()) break;
    i = decode_gbk_at(text, run, character);
    append_utf8(out, character);
  }
  return out;
}

std::size_t local_offset_of_utf8_offset(std::string_view local, std::size_t utf8_offset) {
  const std::string_view text = up_to_zero(local);
  std::size_t utf8_seen = 0;
  std::size_t found = text.size();
  bool done = false;
  decode_gbk(text, [&](char32_t c, std::size_t begin) {
    if (done) return;
    if (utf8_seen >= utf8_offset) {
      found = begin;
      done = true;
      return;
    }
    utf8_seen += utf8_length(c);
  });
  return found;
}

Text body_as_text(std::string_view bytes) { return Text(up_to_zero(bytes)); }

}  // namespace tamberlo
