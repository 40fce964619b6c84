#include "text/gbk_table.h"

#include <iconv.h>

#include <array>
#include <cstddef>
#include <memory>
#include <type_traits>

namespace tamberlo::gbk {
namespace {

// glibc's CP936 follows the Windows code page (0x80 is the euro sign, A1A4 the middle dot).
constexpr const char* kCodePage = "CP936";

struct IconvCloser {
  void operator()(iconv_t handle) const { iconv_close(handle); }
};
using Converter = std::unique_ptr<std::remove_pointer_t<iconv_t>, IconvCloser>;

Converter open_converter(const char* to, const char* from) {
  iconv_t handle = iconv_open(to, from);
  return Converter(handle == reinterpret_cast<iconv_t>(-1) ? nullptr : handle);
}

// Converts one unit; returns the number of bytes written, 0 when the converter refuses it.
std::size_t convert(iconv_t handle, const char* in, std::size_t in_size, char* out,
                    std::size_t out_size) {
  iconv(handle, nullptr, nullptr, nullptr, nullptr);
  char* in_cursor = const_cast<char*>(in);
  char* out_cursor = out;
  std::size_t in_left = in_size;
  std::size_t out_left = out_size;
  if (iconv(handle, &in_cursor, &in_left, &out_cursor, &out_left) == static_cast<std::size_t>(-1) ||
      in_left != 0) {
    return 0;
  }
  return out_size - out_left;
}

char32_t read_utf32le(const unsigned char* bytes) {
  return static_cast<char32_t>(bytes[0]) | static_cast<char32_t>(bytes[1]) << 8 |
         static_cast<char32_t>(bytes[2]) << 16 | static_cast<char32_t>(bytes[3]) << 24;
}

struct Tables {
  std::array<char32_t, 0x10000> from_pair{};
  std::array<char32_t, 0x100> from_single{};
  std::array<std::uint16_t, 0x10000> to_gbk{};

  Tables() {
    for (char32_t c = 0; c < 0x80; ++c) {
      from_single[c] = c;
      to_gbk[c] = static_cast<std::uint16_t>(c);
    }
    fill_decoding();
    fill_encoding();
  }

  void fill_decoding() {
    const Converter decoder = open_converter("UTF-32LE", kCodePage);
    if (!decoder) return;
    unsigned char out[16];
    for (unsigned byte = 0x80; byte <= 0xFF; ++byte) {
      const char in[1] = {static_cast<char>(byte)};
      if (convert(decoder.get(), in, 1, reinterpret_cast<char*>(out), sizeof out) == 4) {
        from_single[byte] = read_utf32le(out);
      }
    }
    for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
      for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
        if (trail == 0x7F) continue;
        const char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
        if (convert(decoder.get(), in, 2, reinterpret_cast<char*>(out), sizeof out) == 4) {
          from_pair[lead << 8 | trail] = read_utf32le(out);
        }
      }
    }
  }

  void fill_encoding() {
    const Converter encoder = open_converter(kCodePage, "UTF-32LE");
    if (!encoder) return;
    char out[16];
    for (char32_t c = 0x80; c < 0x10000; ++c) {
      if (c >= 0xD800 && c <= 0xDFFF) continue;
      const unsigned char in[4] = {static_cast<unsigned char>(c),
                                   static_cast<unsigned char>(c >> 8), 0, 0};
      const std::size_t written =
          convert(encoder.get(), reinterpret_cast<const char*>(in), 4, out, sizeof out);
      const auto first = static_cast<unsigned char>(out[0]);
      if (written == 1 && first >= 0x80) {
        to_gbk[c] = first;
      } else if (written == 2) {
        to_gbk[c] = static_cast<std::uint16_t>(first << 8 | static_cast<unsigned char>(out[1]));
      }
    }
  }
};

const Tables& tables() {
  static const Tables instance;
  return instance;
}

}  // namespace

char32_t decode_pair(unsigned char lead, unsigned char trail) {
  return tables().from_pair[static_cast<std::size_t>(lead) << 8 | trail];
}

char32_t decode_single(unsigned char byte) { return tables().from_single[byte]; }

std::uint16_t encode(char32_t character) {
  if (character < 0x80) return static_cast<std::uint16_t>(character);
  if (character >= 0x10000) return 0;
  return tables().to_gbk[character];
}

}  // namespace tamberlo::gbk
