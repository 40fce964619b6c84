// Downloads one album of the sample service's bench owner with the real waits, and compares
//  - the time above the waits (300 x 100 ms) with one curl command fetching the same photos,
//  - the peak memory of a 300-photo album with that of a 30-photo album, each downloaded by a
//    child run of this program so that the two peaks do not mix.
// Usage: bench_download                           (the whole comparison)
//        bench_download --album N FILE [no-waits]  (one download of N photos; its seconds
//                                                   and the seconds slept go to FILE)
#include <fcntl.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "catalogue/album_protocol.h"
#include "catalogue/catalogue_requests.h"
#include "catalogue/session_state.h"
#include "download/album_download.h"
#include "download/texts_between.h"
#include "http/http_settings.h"
#include "http/object_request.h"
#include "http/transfer_gate.h"
#include "sample-service/sample_service.h"
#include "sleeping_window_port.h"
#include "text/encoding.h"

extern char** environ;

namespace tamberlo::bench {
namespace {

constexpr int kPhotoSize = 200 * 1024;
constexpr int kLargeAlbum = 300;
constexpr int kSmallAlbum = 30;
constexpr double kWaitSeconds = 0.1;

using Clock = std::chrono::steady_clock;

double seconds_since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

class ScratchFolder final {
 public:
  ScratchFolder() {
    std::string pattern = std::filesystem::temp_directory_path() / "tamberlo-bench-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("no scratch folder");
    path_ = pattern;
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// The bench album as the album list names it.
AlbumJob bench_job() {
  const std::vector<AlbumRecord> records =
      read_album_records(fetch_album_list(album_list_address(fetch_owner_home_page("bench"))));
  if (records.empty()) throw std::runtime_error("the sample service listed no bench album");
  const AlbumRecord& record = records.front();
  return AlbumJob{record.count, record.data_address, record.name, record.id};
}

std::vector<Text> photo_addresses(const AlbumJob& job) {
  RequestDescription request;
  request.url = album_data_document_address(job.data_address);
  const Text data = utf8_to_local(object_request(request));
  std::vector<Text> entries;
  texts_between(data, "ourl:'", "',", entries);
  std::vector<Text> addresses;
  for (const Text& entry : entries) addresses.push_back(photo_address(photo_path(entry)));
  return addresses;
}

struct DownloadTime {
  double seconds = 0;
  double slept = 0;  // of which in the waits
};

// One download of an album of `photos` photos.
DownloadTime download_once(int photos, bool waits) {
  sample::SampleService service(sample::Fixture::bench(photos, kPhotoSize));
  service.start();
  set_default_proxy(service.proxy_url());
  ScratchFolder save;
  SleepingWindowPort port(utf8_to_local(save.path().string()), waits);
  SessionState session;
  session.set_owner_account("bench");
  TransferGate gate;
  DownloadContext context{port, session, gate};
  const AlbumJob job = bench_job();

  const Clock::time_point start = Clock::now();
  const AlbumResult result = download_album(job, context);
  const double seconds = seconds_since(start);
  if (result.photos_saved != photos) {
    throw std::runtime_error("saved " + std::to_string(result.photos_saved) + " of " +
                             std::to_string(photos) + " photos");
  }
  return DownloadTime{seconds, port.slept_seconds()};
}

int run_and_wait(const std::vector<std::string>& arguments, rusage* usage) {
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  pid_t child = 0;
  if (::posix_spawnp(&child, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
    throw std::runtime_error("cannot start " + arguments.front());
  }
  int status = 0;
  ::wait4(child, &status, 0, usage);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The same photos with one curl command: one process, one connection through the proxy.
double curl_once(int photos) {
  sample::SampleService service(sample::Fixture::bench(photos, kPhotoSize));
  service.start();
  set_default_proxy(service.proxy_url());
  const std::vector<Text> addresses = photo_addresses(bench_job());
  std::vector<std::string> command = {"curl", "--silent", "--fail", "--proxy", service.proxy_url()};
  for (const Text& address : addresses) {
    command.push_back(address);
    command.push_back("-o");
    command.push_back("/dev/null");
  }
  rusage ignored{};
  const Clock::time_point start = Clock::now();
  const int exit_code = run_and_wait(command, &ignored);
  const double seconds = seconds_since(start);
  if (exit_code != 0) throw std::runtime_error("curl ended with " + std::to_string(exit_code));
  return seconds;
}

// The same photos with one curl command whose requests start 100 ms apart (--rate 10/s), as the
// download's waits space them: the sum of curl's own transfer times shows what a transfer costs
// after an idle pause on this machine, for curl as for us.
double curl_spaced_transfer_seconds(int photos) {
  sample::SampleService service(sample::Fixture::bench(photos, kPhotoSize));
  service.start();
  set_default_proxy(service.proxy_url());
  const std::vector<Text> addresses = photo_addresses(bench_job());
  ScratchFolder scratch;
  const std::string times = (scratch.path() / "times").string();
  std::vector<std::string> command = {"curl",    "--silent",          "--fail",
                                      "--rate",  "10/s",              "--proxy",
                                      service.proxy_url(), "--write-out", "%{time_total}\\n"};
  for (const Text& address : addresses) {
    command.push_back(address);
    command.push_back("-o");
    command.push_back("/dev/null");
  }
  posix_spawn_file_actions_t actions;
  ::posix_spawn_file_actions_init(&actions);
  ::posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, times.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
  std::vector<char*> argv;
  for (const std::string& argument : command) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  pid_t child = 0;
  const int spawned = ::posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
  ::posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) throw std::runtime_error("cannot start curl");
  int status = 0;
  ::waitpid(child, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) throw std::runtime_error("curl --rate failed");
  double sum = 0;
  if (FILE* file = std::fopen(times.c_str(), "r")) {
    for (double seconds = 0; std::fscanf(file, "%lf", &seconds) == 1;) sum += seconds;
    std::fclose(file);
  }
  return sum;
}

struct ChildRun {
  DownloadTime time;
  long peak_kib = 0;
};

// Runs `self --album N file [no-waits]` and reads its seconds from the file it leaves.
ChildRun child_download(const std::string& self, int photos, bool waits = true) {
  ScratchFolder scratch;
  const std::filesystem::path report = scratch.path() / "seconds";
  rusage usage{};
  std::vector<std::string> arguments = {self, "--album", std::to_string(photos), report.string()};
  if (!waits) arguments.push_back("no-waits");
  const int exit_code = run_and_wait(arguments, &usage);
  if (exit_code != 0)
    throw std::runtime_error("the " + std::to_string(photos) + "-photo run failed");
  ChildRun run;
  run.peak_kib = usage.ru_maxrss;
  if (FILE* file = std::fopen(report.c_str(), "r")) {
    if (std::fscanf(file, "%lf %lf", &run.time.seconds, &run.time.slept) != 2) run.time = {};
    std::fclose(file);
  }
  return run;
}

int compare(const std::string& self) {
  const ChildRun small = child_download(self, kSmallAlbum);
  const ChildRun large = child_download(self, kLargeAlbum);
  const ChildRun hot = child_download(self, kLargeAlbum, false);
  const double curl_seconds = curl_once(kLargeAlbum);
  const double curl_spaced_seconds = curl_spaced_transfer_seconds(kLargeAlbum);
  const double waits = kLargeAlbum * kWaitSeconds;
  const double time_ratio = (large.time.seconds - waits) / curl_seconds;
  const double memory_ratio =
      static_cast<double>(large.peak_kib) / static_cast<double>(small.peak_kib);

  std::printf("album of %d photos of %d bytes, waits left on\n", kLargeAlbum, kPhotoSize);
  std::printf("  download_album:          %8.3f s (%.3f s above the %d x 100 ms waits)\n",
              large.time.seconds, large.time.seconds - waits, kLargeAlbum);
  std::printf("    of which the waits overslept %.3f s\n", large.time.slept - waits);
  // Without the pauses there is nothing to write the files during: each write is waited for.
  std::printf("  the same without waits:  %8.3f s (requests, and files written without a pause)\n",
              hot.time.seconds);
  std::printf("  one curl command:        %8.3f s\n", curl_seconds);
  std::printf("  time above waits / curl: %8.2f   (goal <= 1.5)\n", time_ratio);
  std::printf("  without waits / curl:    %8.2f\n", hot.time.seconds / curl_seconds);
  std::printf("  curl, requests 100 ms apart (--rate 10/s), sum of its transfer times: %.3f s\n",
              curl_spaced_seconds);
  std::printf("  time above waits / that: %8.2f   (both pay for transfers after an idle pause)\n",
              (large.time.seconds - large.time.slept) / curl_spaced_seconds);
  std::printf("peak memory (whole process, sample service included)\n");
  std::printf("  %3d photos:              %8ld KiB\n", kSmallAlbum, small.peak_kib);
  std::printf("  %3d photos:              %8ld KiB\n", kLargeAlbum, large.peak_kib);
  std::printf("  ratio:                   %8.2f   (goal <= 1.5)\n", memory_ratio);
  return 0;
}

}  // namespace
}  // namespace tamberlo::bench

int main(int argc, char** argv) {
  try {
    if ((argc == 4 || argc == 5) && std::string(argv[1]) == "--album") {
      const bool waits = argc == 4;
      const auto time = tamberlo::bench::download_once(std::stoi(argv[2]), waits);
      FILE* report = std::fopen(argv[3], "w");
      if (report == nullptr) return 1;
      std::fprintf(report, "%.6f %.6f\n", time.seconds, time.slept);
      std::fclose(report);
      return 0;
    }
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    return tamberlo::bench::compare(self);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "bench_download: %s\n", error.what());
    return 1;
  }
}
