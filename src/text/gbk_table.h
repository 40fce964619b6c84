#pragma once

#include <cstdint>

namespace tamberlo::gbk {

// Code page 936 lookups, filled once from the system converter so every call afterwards is a
// plain array read: conversions run on several threads over whole answer bodies.

// The character of a GBK byte pair, or 0 when code page 936 defines none.
char32_t decode_pair(unsigned char lead, unsigned char trail);
// The character of a single byte at or above 0x80 (only 0x80, the euro sign, has one), or 0.
char32_t decode_single(unsigned char byte);
// GBK code of a character: a value below 0x100 is one byte, otherwise lead << 8 | trail;
// 0 when code page 936 cannot represent the character. ASCII maps to itself.
std::uint16_t encode(char32_t character);

}  // namespace tamberlo::gbk
