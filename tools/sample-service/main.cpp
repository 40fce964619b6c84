#include <CLI/CLI.hpp>
#include <csignal>
#include <fstream>
#include <iostream>
#include <sstream>

#include "sample-service/sample_service.h"

using tamberlo::sample::Fixture;
using tamberlo::sample::SampleService;

namespace {

Fixture load_fixture(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read the fixture file " + file);
  std::ostringstream text;
  text << in.rdbuf();
  return Fixture::from_json(text.str());
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{
      "The sample album service: answers as the album service, its image hosts and the "
      "maker's update page would, on 127.0.0.1, for use as an HTTP proxy."};
  int port = 0;
  std::string fixture_file;
  int generate_album = 0;
  int photo_size = 200000;
  std::string newest_version;
  bool primary_image_404 = false, alternate_image_404 = false, cover_404 = false;
  bool album_data_drops = false, lowercase_set_cookie = false;
  int album_data_failures = 0, answer_delay_ms = 0, photo_chunk_delay_ms = 0;
  int blank_photo_entry = 0, photo_drops = 0, extra_header_bytes = 0;
  tamberlo::sample::ServiceOptions options;

  app.add_option("--port", port, "port to listen on (0: a free one)");
  app.add_option("--fixture", fixture_file, "JSON file with the owners and albums (default: demo)")
      ->check(CLI::ExistingFile);
  app.add_option("--generate-album", generate_album,
                 "add an owner \"bench\" with one album of this many photos");
  app.add_option("--photo-size", photo_size, "bytes per photo of the generated album")
      ->capture_default_str();
  app.add_option("--newest-version", newest_version, "version the update page announces");
  app.add_option("--web-host", options.hosts.web)->capture_default_str();
  app.add_option("--script-host", options.hosts.script)->capture_default_str();
  app.add_option("--cover-host", options.hosts.cover)->capture_default_str();
  app.add_option("--alternate-cover-host", options.hosts.alternate_cover)->capture_default_str();
  app.add_option("--primary-image-host", options.hosts.primary_image)->capture_default_str();
  app.add_option("--alternate-image-host", options.hosts.alternate_image)->capture_default_str();
  app.add_flag("--primary-image-404", primary_image_404, "photos 404 on the primary image host");
  app.add_flag("--alternate-image-404", alternate_image_404,
               "photos 404 on the alternate image host");
  app.add_flag("--cover-404", cover_404, "covers 404 on the cover host");
  app.add_option("--album-data-failures", album_data_failures,
                 "the first N album-data requests fail");
  app.add_flag("--album-data-drops", album_data_drops,
               "failing album-data requests drop the connection instead of answering empty");
  app.add_option("--answer-delay-ms", answer_delay_ms, "every answer waits this long");
  app.add_option("--photo-chunk-delay-ms", photo_chunk_delay_ms,
                 "photos are sent in small pieces this far apart");
  app.add_flag("--lowercase-set-cookie", lowercase_set_cookie,
               "spell Set-Cookie as set-cookie / SET-COOKIE");
  app.add_option("--blank-photo-entry", blank_photo_entry,
                 "album data leaves the Nth photo entry empty");
  app.add_option("--photo-drops", photo_drops, "the first N photos break off halfway");
  app.add_option("--extra-header-bytes", extra_header_bytes,
                 "every answer carries a header line of about N bytes");
  CLI11_PARSE(app, argc, argv);

  // Signals are taken by sigwait below, never by the serving threads.
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);

  try {
    Fixture fixture = fixture_file.empty() ? Fixture::demo() : load_fixture(fixture_file);
    if (generate_album > 0) {
      Fixture bench = Fixture::bench(generate_album, photo_size);
      fixture.owners.push_back(std::move(bench.owners.front()));
    }
    if (!newest_version.empty()) fixture.newest_version = newest_version;

    SampleService service(std::move(fixture), options);
    auto& faults = service.faults();
    faults.primary_image_404 = primary_image_404;
    faults.alternate_image_404 = alternate_image_404;
    faults.cover_404 = cover_404;
    faults.album_data_failures = album_data_failures;
    faults.album_data_failure_drops = album_data_drops;
    faults.answer_delay_ms = answer_delay_ms;
    faults.photo_chunk_delay_ms = photo_chunk_delay_ms;
    faults.lowercase_set_cookie = lowercase_set_cookie;
    faults.blank_photo_entry = blank_photo_entry;
    faults.photo_drops = photo_drops;
    faults.extra_header_bytes = extra_header_bytes;

    service.start(port);
    std::cout << "listening on " << service.proxy_url() << std::endl;
    int received = 0;
    sigwait(&signals, &received);
    service.stop();
  } catch (const std::exception& error) {
    std::cerr << "tamberlo-sample-service: " << error.what() << std::endl;
    return 1;
  }
  return 0;
}
