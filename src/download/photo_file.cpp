#include "download/photo_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <random>

namespace tamberlo {
namespace {

// Bounded, so a folder crowded with every suffix of one number cannot hold the batch forever.
constexpr int kNameDraws = 64;

std::error_code last_error() { return {errno, std::generic_category()}; }

// The process's file mode mask. Linux shows it in /proc without changing it; elsewhere it can
// only be read by setting it, which other threads creating files at that moment would notice.
mode_t file_mode_mask() {
  if (FILE* status = std::fopen("/proc/self/status", "r")) {
    char line[256];
    unsigned int mask = 0;
    bool found = false;
    while (!found && std::fgets(line, sizeof line, status) != nullptr) {
      found = std::sscanf(line, "Umask: %o", &mask) == 1;
    }
    std::fclose(status);
    if (found) return static_cast<mode_t>(mask);
  }
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return mask;
}

// mkstemps makes the file readable by its owner only; a saved photo gets the usual permissions,
// as any file the user's programs write (0666 less the umask).
mode_t photo_file_mode() {
  static const mode_t mode = static_cast<mode_t>(0666 & ~file_mode_mask());
  return mode;
}

}  // namespace

class TemporaryPhotoFile final {
 public:
  explicit TemporaryPhotoFile(const std::filesystem::path& folder)
      : path_((folder / ".tamberlo-photo-XXXXXX.part").string()) {
    descriptor_ = ::mkstemps(path_.data(), 5);
    if (descriptor_ < 0) error_ = last_error();
    if (descriptor_ >= 0) ::fchmod(descriptor_, photo_file_mode());
    created_ = descriptor_ >= 0;
  }
  ~TemporaryPhotoFile() {
    if (descriptor_ >= 0) ::close(descriptor_);
    if (created_ && !placed_) ::unlink(path_.c_str());
  }
  TemporaryPhotoFile(const TemporaryPhotoFile&) = delete;
  TemporaryPhotoFile& operator=(const TemporaryPhotoFile&) = delete;

  bool write_all(std::string_view body) {
    if (descriptor_ < 0) return false;
    while (!body.empty()) {
      const ssize_t written = ::write(descriptor_, body.data(), body.size());
      if (written < 0) {
        if (errno == EINTR) continue;
        error_ = last_error();
        return false;
      }
      body.remove_prefix(static_cast<std::size_t>(written));
    }
    const int closed = ::close(descriptor_);
    descriptor_ = -1;
    if (closed != 0) error_ = last_error();
    written_ = closed == 0;
    return written_;
  }

  // Moves the finished file to target unless a file of that name exists already.
  bool place_at(const std::filesystem::path& target, std::error_code& error) {
    if (::renameat2(AT_FDCWD, path_.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) {
      placed_ = true;
      return true;
    }
    if (errno == EINVAL || errno == ENOSYS) {
      // File systems without the no-replace move: a hard link fails on an existing name too.
      if (::link(path_.c_str(), target.c_str()) == 0) {
        ::unlink(path_.c_str());
        placed_ = true;
        return true;
      }
    }
    error = last_error();
    return false;
  }

  bool written() const { return written_; }
  std::error_code error() const { return error_; }

 private:
  std::string path_;
  int descriptor_ = -1;
  bool created_ = false;
  bool placed_ = false;
  bool written_ = false;
  std::error_code error_;
};

SuffixSource clock_suffix_source() {
  return [] {
    // Seeded afresh for every photo from the clock, as the names have always been drawn.
    const auto now = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    std::mt19937 generator(static_cast<std::mt19937::result_type>(now));
    return std::uniform_int_distribution<int>(1, 2000)(generator);
  };
}

std::string photo_file_name(int photo_number, int suffix) {
  return std::to_string(photo_number) + "_" + std::to_string(suffix) + ".jpg";
}

StagedPhoto::StagedPhoto() = default;
StagedPhoto::StagedPhoto(StagedPhoto&&) noexcept = default;
StagedPhoto& StagedPhoto::operator=(StagedPhoto&&) noexcept = default;
StagedPhoto::~StagedPhoto() = default;

StagedPhoto stage_photo(const std::filesystem::path& folder, std::string_view body) {
  StagedPhoto staged;
  staged.folder_ = folder;
  staged.file_ = std::make_unique<TemporaryPhotoFile>(folder);
  staged.file_->write_all(body);
  return staged;
}

SavedPhoto place_photo(StagedPhoto staged, int photo_number, const SuffixSource& draw_suffix) {
  SavedPhoto result;
  result.path = staged.folder_ / photo_file_name(photo_number, draw_suffix());
  if (!staged.file_ || !staged.file_->written()) {
    result.error = staged.file_ ? staged.file_->error() : std::make_error_code(std::errc::io_error);
    return result;
  }
  for (int draw = 0; draw < kNameDraws; ++draw) {
    if (draw > 0) result.path = staged.folder_ / photo_file_name(photo_number, draw_suffix());
    if (staged.file_->place_at(result.path, result.error)) {
      result.error.clear();
      result.saved = true;
      return result;
    }
    if (result.error != std::errc::file_exists) return result;
  }
  return result;
}

SavedPhoto save_photo(const std::filesystem::path& folder, int photo_number, std::string_view body,
                      const SuffixSource& draw_suffix) {
  return place_photo(stage_photo(folder, body), photo_number, draw_suffix);
}

}  // namespace tamberlo
