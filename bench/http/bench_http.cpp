// Fetches the photos of one generated album with object_request, one request after another as
// the download does, and the same addresses with one run of the curl tool, which keeps its
// connection open between them. Prints both times and ours ÷ curl.
//
// Usage: bench_http [photo_count=500] [photo_size=200000] [rounds=3]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "http/object_request.h"
#include "sample-service/sample_service.h"

namespace {

using Clock = std::chrono::steady_clock;

double seconds_since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// Each call makes its own request, as the album download does: no shared request object.
double fetch_with_object_request(const std::vector<std::string>& urls, const std::string& proxy,
                                 std::size_t photo_size) {
  const Clock::time_point start = Clock::now();
  for (const std::string& url : urls) {
    tamberlo::RequestDescription request;
    request.url = url;
    request.method = 0;
    request.cookies = std::string("NTES_SESS=bench");
    request.proxy = proxy;
    const tamberlo::Bytes body = tamberlo::object_request(request);
    if (request.status != 200 || body.size() < photo_size) {
      std::fprintf(stderr, "bench_http: %s answered %d with %zu bytes\n", url.c_str(),
                   request.status, body.size());
      std::exit(1);
    }
  }
  return seconds_since(start);
}

double fetch_with_curl_tool(const std::filesystem::path& config) {
  const std::string command =
      "curl --silent --show-error --fail --config '" + config.string() + "'";
  const Clock::time_point start = Clock::now();
  if (std::system(command.c_str()) != 0) {
    std::fprintf(stderr, "bench_http: %s failed\n", command.c_str());
    std::exit(1);
  }
  return seconds_since(start);
}

}  // namespace

int main(int argc, char** argv) {
  const int photo_count = argc > 1 ? std::atoi(argv[1]) : 500;
  const int photo_size = argc > 2 ? std::atoi(argv[2]) : 200000;
  const int rounds = argc > 3 ? std::atoi(argv[3]) : 3;

  tamberlo::sample::Fixture fixture;
  tamberlo::sample::Album album;
  album.id = "9001";
  album.name_utf8 = "bench";
  for (int i = 1; i <= photo_count; ++i) {
    album.photos.push_back({"/photo/bench/9001/" + std::to_string(i) + ".jpg", photo_size});
  }
  fixture.owners.push_back({"bench", {album}});
  tamberlo::sample::SampleService service(fixture);
  service.start();
  const std::string proxy = service.proxy_url();

  std::vector<std::string> urls;
  for (const auto& photo : album.photos) {
    urls.push_back("http://" + service.hosts().primary_image + photo.path);
  }
  // The curl tool reads every address from one config file, so one process fetches them all.
  const std::filesystem::path config =
      std::filesystem::temp_directory_path() / ("bench_http_" + std::to_string(service.port()));
  {
    std::ofstream file(config);
    file << "proxy = \"" << proxy << "\"\n";
    for (const std::string& url : urls) file << "url = \"" << url << "\"\noutput = /dev/null\n";
  }

  // One round each first, so both start with the pictures the service makes already made.
  fetch_with_object_request(urls, proxy, static_cast<std::size_t>(photo_size));
  fetch_with_curl_tool(config);
  double ours = 1e9;
  double theirs = 1e9;
  for (int round = 0; round < rounds; ++round) {
    ours = std::min(ours,
                    fetch_with_object_request(urls, proxy, static_cast<std::size_t>(photo_size)));
    theirs = std::min(theirs, fetch_with_curl_tool(config));
  }
  std::filesystem::remove(config);

  std::printf("photos: %d of %d bytes, best of %d rounds\n", photo_count, photo_size, rounds);
  std::printf("object_request: %.3f s\n", ours);
  std::printf("curl tool:      %.3f s\n", theirs);
  std::printf("ours / curl:    %.2f (goal <= 1.30)\n", ours / theirs);
  return 0;
}
