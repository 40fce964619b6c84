#include <string>

#include "cli/album_selection.h"
#include "cli/command_steps.h"
#include "download/download_batch.h"
#include "download/download_context.h"
#include "text/encoding.h"

namespace tamberlo::cli {

namespace {

std::string row_name(WindowPort& window, int serial) {
  for (int row = 0; row < window.list_row_count(); ++row) {
    if (leading_integer(window.list_cell(row, column::kSerial)) == serial) {
      return local_to_utf8(window.list_cell(row, column::kName));
    }
  }
  return {};
}

}  // namespace

int run_download(const CliOptions& options, CommandIo& io) {
  std::optional<std::vector<int>> serials;
  if (options.albums) {
    serials = parse_serial_numbers(*options.albums);
    if (!serials) {
      io.err
          << "tamberlo-cli: --albums takes serial numbers separated by commas, e.g. 1,3,4 (got \""
          << *options.albums << "\")\n";
      return kExitBadUsage;
    }
  }
  int exit_status = kExitSuccess;
  const std::optional<RunInputs> inputs = prepare_run(options, io, &exit_status);
  if (!inputs) {
    return exit_status;
  }
  // The operation log and the closing message are this command's output, as the window shows
  // them in its log and its message box.
  const auto run = make_run(options, *inputs, io, &io.out, &io.out);
  TerminalWindow& window = *run->window;
  if (!retrieve_album_list(*run, io)) {
    return interrupted(*run, io);
  }

  if (serials) {
    const SelectionOutcome selection = tick_serial_numbers(window, *serials);
    if (!selection.unknown.empty()) {
      window.finish();
      for (const int serial : selection.unknown) {
        io.err << "tamberlo-cli: there is no album " << serial << " (the owner has "
               << window.list_row_count() << " albums)\n";
      }
      return kExitBadUsage;
    }
  }
  // The download passes over albums the service withholds without a word; a user who asked
  // for one by number must hear that it was not saved.
  const std::vector<int> passed_over = ticked_not_downloadable(window);
  for (const int serial : passed_over) {
    io.err << "tamberlo-cli: album " << serial << " (" << row_name(window, serial)
           << ") is withheld by the service and is not downloaded\n";
  }

  on_download_start(window);
  DownloadContext context{window, run->session, run->gate};
  const BatchResult result = download_batch(context);
  if (result.cancelled || window.cancelled()) {
    return interrupted(*run, io);
  }
  window.finish();
  return result.complete() && passed_over.empty() ? kExitSuccess : kExitFailures;
}

}  // namespace tamberlo::cli
