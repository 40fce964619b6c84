#pragma once

#include <functional>
#include <ostream>

#include "cli/cli_options.h"

// The two commands of the terminal front end. Each returns the program's exit status.
namespace tamberlo::cli {

struct CommandIo {
  std::ostream& out;
  std::ostream& err;
  // Standard error is a terminal: the progress bar is drawn on it.
  bool progress_on_err = false;
  int terminal_columns = 0;  // the width of that terminal, 0 when unknown
  // Registers what an interruption (Ctrl+C) does; called once, before any request is made.
  std::function<void(std::function<void()> stop)> on_interrupt;
};

int run_command(const CliOptions& options, CommandIo& io);

}  // namespace tamberlo::cli
