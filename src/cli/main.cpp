#include <sys/ioctl.h>
#include <unistd.h>

#include <iostream>
#include <utility>

#include "cli/cli_options.h"
#include "cli/commands.h"
#include "cli/interrupt_watch.h"

int main(int argc, char** argv) {
  // First, so that every thread the run starts inherits the blocked signals.
  tamberlo::cli::InterruptWatch interrupt_watch;

  const tamberlo::cli::ParsedCommandLine parsed =
      tamberlo::cli::parse_command_line(argc, argv, std::cout, std::cerr);
  if (!parsed.options) {
    return parsed.exit_status;
  }
  const bool progress_on_err = isatty(STDERR_FILENO) == 1;
  int terminal_columns = 0;
  if (winsize size{}; progress_on_err && ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0) {
    terminal_columns = size.ws_col;
  }
  tamberlo::cli::CommandIo io{std::cout, std::cerr, progress_on_err, terminal_columns,
                              [&interrupt_watch](std::function<void()> stop) {
                                interrupt_watch.on_interrupt(std::move(stop));
                              }};
  return tamberlo::cli::run_command(*parsed.options, io);
}
