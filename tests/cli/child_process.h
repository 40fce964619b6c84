#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

// Runs the built program as the user would, capturing both of its outputs.
namespace tamberlo::cli::testing {

struct ChildResult {
  int exit_status = -1;  // the exit code, or 128 + signal when a signal ended it
  std::string out;
  std::string err;
};

struct ChildOptions {
  std::filesystem::path working_folder;  // empty: the test's own
  // Called whenever more standard output has arrived, with all of it so far; returning true
  // sends SIGINT to the child (once).
  std::function<bool(const std::string& out)> interrupt_when;
};

ChildResult run_child(const std::string& program, const std::vector<std::string>& arguments,
                      const ChildOptions& options = {});

}  // namespace tamberlo::cli::testing
