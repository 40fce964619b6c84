#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace tamberlo::testing {

// A fresh folder under the system's temporary folder, removed with everything in it.
class ScratchFolder final {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// Names of the regular files anywhere below folder, relative to it, sorted.
std::vector<std::string> files_below(const std::filesystem::path& folder);
std::string file_bytes(const std::filesystem::path& file);

}  // namespace tamberlo::testing
