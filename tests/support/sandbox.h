#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>

namespace tamberlo::test {

// A fresh, empty folder under the system's temporary folder, removed with all it holds when the
// Sandbox goes away.
class Sandbox final {
 public:
  Sandbox();
  ~Sandbox();
  Sandbox(const Sandbox&) = delete;
  Sandbox& operator=(const Sandbox&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(std::string_view relative) const { return path_ / relative; }
  // Creates the folders on the way.
  void write_file(std::string_view relative, std::string_view bytes) const;
  // The whole file, or "" when it cannot be read.
  std::string read_file(std::string_view relative) const;

 private:
  std::filesystem::path path_;
};

// A test fixture that holds one Sandbox per test.
class SandboxTest : public ::testing::Test {
 protected:
  Sandbox sandbox;
};

}  // namespace tamberlo::test
