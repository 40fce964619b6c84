#include "support/sandbox.h"

#include <fstream>
#include <random>
#include <sstream>
#include <system_error>

namespace tamberlo::test {

Sandbox::Sandbox() {
  std::random_device random;
  const auto base = std::filesystem::temp_directory_path();
  for (;;) {
    std::ostringstream name;
    name << "tamberlo-test-" << std::hex << random() << random();
    path_ = base / name.str();
    // create_directory is false when the folder was there already: pick another name.
    if (std::filesystem::create_directory(path_)) break;
  }
}

Sandbox::~Sandbox() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

void Sandbox::write_file(std::string_view relative, std::string_view bytes) const {
  const auto file = path_ / relative;
  std::filesystem::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string Sandbox::read_file(std::string_view relative) const {
  std::ifstream in(path_ / relative, std::ios::binary);
  if (!in) return {};
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

}  // namespace tamberlo::test
