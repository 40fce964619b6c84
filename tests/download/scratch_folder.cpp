#include "scratch_folder.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace tamberlo::testing {

std::vector<std::string> files_below(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file()) {
      names.push_back(std::filesystem::relative(entry.path(), folder).string());
    }
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string file_bytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace tamberlo::testing
