#pragma once

#include <optional>
#include <ostream>
#include <string>

// What the command line asks for. Texts are as typed (UTF-8); the commands convert them.
namespace tamberlo::cli {

enum class Command { albums, download };

struct CliOptions {
  Command command = Command::albums;
  std::string address;  // the owner's home page address
  bool own = false;     // the albums are the user's own: withheld ones are asked for again
  bool json = false;    // albums: an array of objects instead of a table
  std::optional<std::string> albums;  // download: serial numbers, "1,3,4"
  std::optional<std::string> out;     // download: the save location
  std::optional<std::string> proxy;
  std::optional<std::string> cookie;       // the browser cookie text the download sends
  std::optional<std::string> cookie_file;  // Netscape cookies.txt for the process store
};

// Exit statuses of the program.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailures = 1;       // some photo or album could not be saved
inline constexpr int kExitBadUsage = 2;       // bad options or an address the service cannot take
inline constexpr int kExitInterrupted = 130;  // stopped by Ctrl+C, as shells report SIGINT

struct ParsedCommandLine {
  std::optional<CliOptions> options;  // nullopt: nothing to run, exit with exit_status
  int exit_status = kExitSuccess;
};

// --help and --version print to out and give status 0 without options; a usage error prints
// the reason and a hint to err and gives status 2.
ParsedCommandLine parse_command_line(int argc, const char* const* argv, std::ostream& out,
                                     std::ostream& err);

}  // namespace tamberlo::cli
