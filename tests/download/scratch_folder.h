#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "support/sandbox.h"

namespace tamberlo::testing {

// A fresh folder under the system's temporary folder, removed with everything in it.
using ScratchFolder = tamberlo::test::Sandbox;

// Names of the regular files anywhere below folder, relative to it, sorted.
std::vector<std::string> files_below(const std::filesystem::path& folder);
std::string file_bytes(const std::filesystem::path& file);

}  // namespace tamberlo::testing
