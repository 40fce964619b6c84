#pragma once

#include <filesystem>
#include <string_view>
#include <system_error>

#include "text/text.h"

namespace tamberlo {

// Removes, in this order, every ":" "\" "/" "?" "*" "<" ">" "|" and the full-width colon,
// ideographic comma, full-width question mark, ideographic full stop, full-width parentheses,
// middle dot, full-width exclamation mark, full-width comma, "." and " " from a GBK album name,
// walking whole characters. The caller's text is cleaned in place and also returned.
Text clean_folder_name(Text& album_name);

// The longest file-system name, in bytes of its UTF-8 form.
inline constexpr std::size_t kNameLimitBytes = 255;

// The GBK text cut at a character boundary so that its UTF-8 form holds at most limit_bytes.
Text cut_to_utf8_limit(std::string_view gbk_text, std::size_t limit_bytes);

// One GBK path component that stays where it is put: separators and control characters are
// dropped, "", "." and ".." become "_", and the UTF-8 form is cut to kNameLimitBytes.
Text safe_folder_component(std::string_view gbk_name);

// The album's folder: the cleaned name (cut so that the whole stays within kNameLimitBytes)
// followed directly by the listed count.
Text album_folder_name(std::string_view album_name, std::string_view listed_count);

// The owner account as a folder name that never climbs out of the save location.
Text owner_folder_name(std::string_view owner_account);

// The GBK path as the file system names it (UTF-8 on this platform).
std::filesystem::path local_path(std::string_view gbk_path);
// The path's text back in GBK, for log lines.
Text path_text(const std::filesystem::path& path);

// Creates every missing folder of the path. The path receives a trailing separator, as the
// last folder is one too. True when the whole path exists as folders afterwards; otherwise
// error holds the system's reason.
bool ensure_folder(std::filesystem::path& folder, std::error_code& error);
bool ensure_folder(std::filesystem::path& folder);

bool folder_exists(const std::filesystem::path& path);

// The folder of the running program, the base folder when the save location is empty.
std::filesystem::path program_folder();

}  // namespace tamberlo
