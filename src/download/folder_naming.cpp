#include "download/folder_naming.h"

#include <array>
#include <string>

#include "text/encoding.h"

namespace tamberlo {
namespace {

// A byte with the high bit set begins a double-byte GBK character.
std::size_t character_length(std::string_view text, std::size_t at) {
  const bool lead = (static_cast<unsigned char>(text[at]) & 0x80) != 0;
  return lead && at + 1 < text.size() ? 2 : 1;
}

// GBK bytes of the characters a folder name loses, in the order they are taken out.
constexpr std::array<std::string_view, 19> kRemovedCharacters = {
    ":",        "\\", "/", "?", "*", "<", ">", "|",
    "\xA3\xBA",  // full-width colon
    "\xA1\xA2",  // ideographic comma
    "\xA3\xBF",  // full-width question mark
    "\xA1\xA3",  // ideographic full stop
    "\xA3\xA8",  // full-width left parenthesis
    "\xA3\xA9",  // full-width right parenthesis
    "\xA1\xA4",  // middle dot
    "\xA3\xA1",  // full-width exclamation mark
    "\xA3\xAC",  // full-width comma
    ".",        " ",
};

Text remove_character(std::string_view text, std::string_view character) {
  Text result;
  result.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = character_length(text, i);
    const std::string_view piece = text.substr(i, length);
    if (piece != character) result.append(piece);
    i += length;
  }
  return result;
}

bool unsafe_in_component(std::string_view character) {
  if (character.size() != 1) return false;
  const auto byte = static_cast<unsigned char>(character[0]);
  return character == "/" || character == "\\" || byte < 0x20 || byte == 0x7F;
}

}  // namespace

Text clean_folder_name(Text& album_name) {
  for (const std::string_view character : kRemovedCharacters) {
    album_name = remove_character(album_name, character);
  }
  return album_name;
}

Text cut_to_utf8_limit(std::string_view gbk_text, std::size_t limit_bytes) {
  std::size_t used = 0;
  std::size_t i = 0;
  while (i < gbk_text.size()) {
    const std::size_t length = character_length(gbk_text, i);
    const std::size_t utf8_length = local_to_utf8(gbk_text.substr(i, length)).size();
    if (used + utf8_length > limit_bytes) break;
    used += utf8_length;
    i += length;
  }
  return Text(gbk_text.substr(0, i));
}

Text safe_folder_component(std::string_view gbk_name) {
  Text kept;
  for (std::size_t i = 0; i < gbk_name.size();) {
    const std::size_t length = character_length(gbk_name, i);
    const std::string_view piece = gbk_name.substr(i, length);
    if (!unsafe_in_component(piece)) kept.append(piece);
    i += length;
  }
  kept = cut_to_utf8_limit(kept, kNameLimitBytes);
  if (kept.empty() || kept == "." || kept == "..") return "_";
  return kept;
}

Text album_folder_name(std::string_view album_name, std::string_view listed_count) {
  Text cleaned(album_name);
  clean_folder_name(cleaned);
  const std::size_t count_bytes = local_to_utf8(listed_count).size();
  const std::size_t room = count_bytes < kNameLimitBytes ? kNameLimitBytes - count_bytes : 0;
  return safe_folder_component(cut_to_utf8_limit(cleaned, room) + Text(listed_count));
}

Text owner_folder_name(std::string_view owner_account) {
  return safe_folder_component(owner_account);
}

std::filesystem::path local_path(std::string_view gbk_path) {
  return std::filesystem::path(local_to_utf8(gbk_path));
}

Text path_text(const std::filesystem::path& path) { return utf8_to_local(path.string()); }

bool ensure_folder(std::filesystem::path& folder, std::error_code& error) {
  error.clear();
  if (folder.has_filename()) folder /= "";
  const std::filesystem::path whole = folder.parent_path();
  std::filesystem::create_directories(whole, error);
  if (error) return false;
  if (!std::filesystem::is_directory(whole, error)) {
    if (!error) error = std::make_error_code(std::errc::not_a_directory);
    return false;
  }
  return true;
}

bool ensure_folder(std::filesystem::path& folder) {
  std::error_code ignored;
  return ensure_folder(folder, ignored);
}

bool folder_exists(const std::filesystem::path& path) {
  std::error_code ignored;
  return std::filesystem::is_directory(path, ignored);
}

std::filesystem::path program_folder() {
  std::error_code error;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return std::filesystem::current_path(error);
  return program.parent_path();
}

}  // namespace tamberlo
