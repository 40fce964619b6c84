#pragma once

#include <string>

// The --cookie-file is checked before it is loaded: the process store passes over lines it
// cannot read, which would leave the user logged out without a word.
namespace tamberlo::cli {

// Empty when the file is a readable Netscape cookies.txt (comments and blank lines allowed);
// otherwise what is wrong, naming the first bad line.
std::string cookie_file_problem(const std::string& path);

}  // namespace tamberlo::cli
