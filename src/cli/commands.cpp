#include "cli/commands.h"

#include <utility>

#include "catalogue/album_list_retrieval.h"
#include "catalogue/album_protocol.h"
#include "cli/command_steps.h"
#include "cli/cookie_file_check.h"
#include "http/cookie_store.h"
#include "http/http_settings.h"
#include "text/encoding.h"
#include "text/text.h"

namespace tamberlo::cli {

namespace {

// Without --out the photos go below the folder the command was started in, as the window
// would put them below its save location; "." keeps the path free of anything GBK lacks.
constexpr char kCurrentFolder[] = ".";

constexpr int kProgressBarCells = 30;

}  // namespace

std::optional<RunInputs> prepare_run(const CliOptions& options, CommandIo& io, int* exit_status) {
  *exit_status = kExitBadUsage;
  if (options.proxy) {
    set_default_proxy(*options.proxy);
  }
  if (options.cookie_file) {
    std::string error = cookie_file_problem(*options.cookie_file);
    if (error.empty() && !process_cookie_store().load_netscape(*options.cookie_file, &error)) {
      error = error.empty() ? "cannot be read" : error;
    }
    if (!error.empty()) {
      io.err << "tamberlo-cli: cannot load the cookie file " << *options.cookie_file << ": "
             << error << '\n';
      return std::nullopt;
    }
  }

  RunInputs inputs;
  inputs.input = utf8_to_local(options.address);
  // An address GBK cannot hold would reach the service with "?" in place of what was typed,
  // which turns the rest of it into a query.
  if (local_to_utf8(inputs.input) != options.address) {
    io.err << "tamberlo-cli: the address " << options.address
           << " holds characters the album service cannot be asked with (GBK)\n";
    return std::nullopt;
  }
  if (inputs.input.empty()) {
    io.err << "您输入的内容为空\n";
    return std::nullopt;
  }
  if (!owner_account_from_input(inputs.input).accepted) {
    // The same refusal the retrieval shows, given before any request is made.
    io.err << "你输入的格式不正确：" << local_to_utf8(trim_text(inputs.input)) << '\n';
    return std::nullopt;
  }

  if (options.out && !options.out->empty()) {
    inputs.save_location = utf8_to_local(*options.out);
    // A folder whose name GBK cannot hold would be written somewhere else entirely.
    if (local_to_utf8(inputs.save_location) != *options.out) {
      io.err << "tamberlo-cli: the folder name " << *options.out
             << " holds characters the album folders cannot be named with (GBK)\n";
      return std::nullopt;
    }
  } else {
    inputs.save_location = kCurrentFolder;
  }
  *exit_status = kExitSuccess;
  return inputs;
}

std::shared_ptr<Run> make_run(const CliOptions& options, const RunInputs& inputs, CommandIo& io,
                              std::ostream* log, std::ostream* messages) {
  auto run = std::make_shared<Run>();
  if (io.progress_on_err) {
    run->progress = std::make_unique<ProgressLine>(io.err, kProgressBarCells, io.terminal_columns);
  }
  TerminalWindowSetup setup;
  setup.input = inputs.input;
  setup.save_location = inputs.save_location;
  setup.own_albums = options.own;
  setup.browser_cookie_text = options.cookie.value_or(std::string());
  setup.log = log;
  setup.messages = messages;
  setup.progress = run->progress.get();
  run->window = std::make_unique<TerminalWindow>(std::move(setup));
  if (io.on_interrupt) {
    io.on_interrupt([stopping = std::weak_ptr<Run>(run)] {
      if (const auto alive = stopping.lock()) {
        alive->window->cancel();
        alive->gate.cancel();
      }
    });
  }
  return run;
}

bool retrieve_album_list(Run& run, CommandIo& io) {
  if (start_album_list_retrieval(*run.window, run.session)) {
    run_album_list_retrieval(*run.window, run.session, &run.gate);
  }
  if (run.window->cancelled()) {
    return false;
  }
  if (run.window->list_row_count() == 0) {
    run.window->finish();
    io.err << "tamberlo-cli: the service lists no album for this owner\n";
  }
  return true;
}

int interrupted(Run& run, CommandIo& io) {
  run.window->finish();
  io.err << "tamberlo-cli: interrupted\n";
  return kExitInterrupted;
}

int run_command(const CliOptions& options, CommandIo& io) {
  return options.command == Command::download ? run_download(options, io) : run_albums(options, io);
}

}  // namespace tamberlo::cli
