#pragma once

#include <filesystem>
#include <functional>
#include <memory>
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

class TemporaryPhotoFile;

// A photo written in full under a temporary name in its album folder, not yet under its own
// name. Dropped without being placed, it takes its temporary file with it.
class StagedPhoto final {
 public:
  StagedPhoto();
  StagedPhoto(StagedPhoto&&) noexcept;
  StagedPhoto& operator=(StagedPhoto&&) noexcept;
  ~StagedPhoto();

 private:
  friend StagedPhoto stage_photo(const std::filesystem::path&, std::string_view);
  friend SavedPhoto place_photo(StagedPhoto, int, const SuffixSource&);
  std::filesystem::path folder_;
  std::unique_ptr<TemporaryPhotoFile> file_;
};

// Writes every byte of the photo to a temporary file in the folder.
StagedPhoto stage_photo(const std::filesystem::path& folder, std::string_view body);

// Moves a staged photo to "j_R.jpg" in its folder. An existing file is never replaced: a name
// already taken draws another suffix. A photo that could not be staged reports why, under the
// name it was meant to have.
SavedPhoto place_photo(StagedPhoto staged, int photo_number, const SuffixSource& draw_suffix);

// Both steps at once, so an interrupted run never leaves a truncated photo behind.
SavedPhoto save_photo(const std::filesystem::path& folder, int photo_number, std::string_view body,
                      const SuffixSource& draw_suffix);

}  // namespace tamberlo
