#include "cli/cli_options.h"

#include <CLI/CLI.hpp>

namespace tamberlo::cli {

namespace {

void add_common_options(CLI::App& app, CliOptions& options) {
  app.add_option("--proxy", options.proxy,
                 "HTTP proxy for every request, e.g. http://127.0.0.1:8080")
      ->type_name("URL");
  app.add_option("--cookie", options.cookie,
                 "Cookie text sent with the download's requests, as the browser shows it "
                 "(\"name=value; name2=value2\")")
      ->type_name("TEXT");
  app.add_option("--cookie-file", options.cookie_file,
                 "Netscape cookies.txt with the login cookies of the album service")
      ->type_name("FILE");
}

}  // namespace

ParsedCommandLine parse_command_line(int argc, const char* const* argv, std::ostream& out,
                                     std::ostream& err) {
  CliOptions options;
  CLI::App app("Downloads whole photo albums of the NetEase photo-album service.", "tamberlo-cli");
  app.set_version_flag("--version", std::string("tamberlo-cli ") + TAMBERLO_VERSION);
  app.require_subcommand(1);
  add_common_options(app, options);

  CLI::App* albums = app.add_subcommand("albums", "List an owner's albums");
  albums->fallthrough();
  albums
      ->add_option("ADDRESS", options.address,
                   "The owner's home page, e.g. http://photo.163.com/name/")
      ->required();
  albums->add_flag("--own", options.own, "The albums are your own: ask again for withheld ones");
  albums->add_flag("--json", options.json, "Print a JSON array instead of a table");

  CLI::App* download = app.add_subcommand("download", "Download an owner's albums");
  download->fallthrough();
  download->add_option("ADDRESS", options.address, "The owner's home page")->required();
  download
      ->add_option("--albums", options.albums,
                   "Serial numbers of the albums to download, e.g. 1,3,4 (default: every "
                   "album that can be opened)")
      ->type_name("LIST");
  download->add_flag("--own", options.own, "The albums are your own: ask again for withheld ones");
  download->add_option("--out", options.out, "Folder to save into (default: the current folder)")
      ->type_name("DIR");

  try {
    app.parse(argc, argv);
  } catch (const CLI::Success& success) {
    return {std::nullopt, app.exit(success, out, err)};
  } catch (const CLI::ParseError& error) {
    app.exit(error, out, err);
    return {std::nullopt, kExitBadUsage};
  }
  options.command = download->parsed() ? Command::download : Command::albums;
  return {options, kExitSuccess};
}

}  // namespace tamberlo::cli
