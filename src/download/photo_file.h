#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <system_error>

#include "text/text.h"

namespace tamberlo {

// Draws the random part of a photo file name, 1 to 2000.
using SuffixSource = std::function<int()>;
SuffixSource clock_suffix_source();

// "j_R.jpg": the photo number and the random suffix, neither padded.
std::string photo_file_name(int photo_number, int suffix);

struct SavedPhoto {
  bool saved = false;
  std::filesystem::path path;  // the file written, or the one that was meant when it failed
  std::error_code error;       // the system's reason when it failed
};

// Writes the photo into the folder under a temporary name and moves it to "j_R.jpg" once
// every byte is on disk, so an interrupted run never leaves a truncated photo behind. An
// existing file is never replaced: a name already taken draws another suffix.
SavedPhoto save_photo(const std::filesystem::path& folder, int photo_number, std::string_view body,
                      const SuffixSource& draw_suffix);

}  // namespace tamberlo
