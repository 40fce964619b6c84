#include <nlohmann/json.hpp>

#include "cli/album_table.h"
#include "cli/command_steps.h"

namespace tamberlo::cli {

int run_albums(const CliOptions& options, CommandIo& io) {
  int exit_status = kExitSuccess;
  const std::optional<RunInputs> inputs = prepare_run(options, io, &exit_status);
  if (!inputs) {
    return exit_status;
  }
  // Standard output carries the table or the JSON alone, so it can be piped: the retrieval's
  // log is left out, and its messages go to standard error.
  const auto run = make_run(options, *inputs, io, nullptr, &io.err);
  if (!retrieve_album_list(*run, io)) {
    return interrupted(*run, io);
  }
  run->window->finish();
  const std::vector<AlbumEntry> albums = album_entries(run->window->rows());
  if (options.json) {
    io.out << album_json(albums).dump(2, ' ', false, nlohmann::json::error_handler_t::replace)
           << '\n';
  } else {
    io.out << album_table(albums);
  }
  io.out.flush();
  return kExitSuccess;
}

}  // namespace tamberlo::cli
