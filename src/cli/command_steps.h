#pragma once

#include <memory>
#include <optional>
#include <string>

#include "catalogue/session_state.h"
#include "cli/commands.h"
#include "cli/progress_line.h"
#include "cli/terminal_window.h"
#include "http/transfer_gate.h"

// What both commands do before and around the engines.
namespace tamberlo::cli {

// The objects one run wires together; they live until the command returns.
struct Run {
  std::unique_ptr<ProgressLine> progress;
  std::unique_ptr<TerminalWindow> window;
  SessionState session;
  TransferGate gate;
};

struct RunInputs {
  std::string input;          // GBK
  std::string save_location;  // GBK
};

// The proxy and the cookie file go into force, the address and the save location are checked
// and turned into GBK. nullopt: a message went to io.err and the run ends with *exit_status.
std::optional<RunInputs> prepare_run(const CliOptions& options, CommandIo& io, int* exit_status);

// The window and its companions; Ctrl+C from now on stops the waits and the requests. Shared,
// so that an interruption arriving while the command ends finds the run either whole or gone.
std::shared_ptr<Run> make_run(const CliOptions& options, const RunInputs& inputs, CommandIo& io,
                              std::ostream* log, std::ostream* messages);

// The album list retrieval as the button and its worker run it. False when interrupted. An
// empty list is pointed out on io.err: a mistyped owner and an owner without albums look the
// same to the service, and both would otherwise pass in silence.
bool retrieve_album_list(Run& run, CommandIo& io);

// Tells the user the run was interrupted, and gives the exit status for it.
int interrupted(Run& run, CommandIo& io);

int run_albums(const CliOptions& options, CommandIo& io);
int run_download(const CliOptions& options, CommandIo& io);

}  // namespace tamberlo::cli
