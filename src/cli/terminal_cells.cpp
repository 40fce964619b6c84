#include "cli/terminal_cells.h"

namespace tamberlo::cli {

namespace {

// East Asian wide and full-width characters, the ranges a terminal draws two cells wide.
bool is_wide(char32_t c) {
  return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0x303E) ||
         (c >= 0x3041 && c <= 0x33FF) || (c >= 0x3400 && c <= 0x4DBF) ||
         (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xA000 && c <= 0xA4CF) ||
         (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
         (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
         (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
}

struct Character {
  std::size_t length = 1;  // bytes
  int cells = 1;
};

Character character_at(std::string_view utf8, std::size_t at) {
  const auto lead = static_cast<unsigned char>(utf8[at]);
  Character character;
  char32_t c = lead;
  if (lead >= 0xF0) {
    character.length = 4;
    c = lead & 0x07;
  } else if (lead >= 0xE0) {
    character.length = 3;
    c = lead & 0x0F;
  } else if (lead >= 0xC0) {
    character.length = 2;
    c = lead & 0x1F;
  }
  if (at + character.length > utf8.size()) {
    character.length = utf8.size() - at;
  }
  for (std::size_t k = 1; k < character.length; ++k) {
    c = (c << 6) | (static_cast<unsigned char>(utf8[at + k]) & 0x3F);
  }
  character.cells = is_wide(c) ? 2 : 1;
  return character;
}

}  // namespace

int display_width(std::string_view utf8) {
  int width = 0;
  for (std::size_t at = 0; at < utf8.size();) {
    const Character character = character_at(utf8, at);
    width += character.cells;
    at += character.length;
  }
  return width;
}

std::string cut_to_width(std::string_view utf8, int cells) {
  int width = 0;
  std::size_t at = 0;
  while (at < utf8.size()) {
    const Character character = character_at(utf8, at);
    if (width + character.cells > cells) {
      break;
    }
    width += character.cells;
    at += character.length;
  }
  return std::string(utf8.substr(0, at));
}

}  // namespace tamberlo::cli
