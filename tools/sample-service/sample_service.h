#pragma once

#include <atomic>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// A stand-in for the album service, the image hosts and the maker's update page, served on
// 127.0.0.1 and used as the HTTP proxy of the program under test: every request names the host
// it is meant for, and the service answers as that host would.
namespace tamberlo::sample {

struct Photo {
  std::string path;    // the photo path, e.g. "/photo/ab/1.jpg"; empty: one is made up
  int size_bytes = 0;  // 0: a small default picture
};

struct Album {
  std::string id;         // decimal digits
  std::string name_utf8;  // answered in GBK
  std::vector<Photo> photos;
  int listed_count = -1;  // the count the album list gives; -1: photos.size()
  enum class Access { open, login, password } access = Access::open;
  std::string password;      // for Access::password
  bool placeholder = false;  // album data answered with the "GIF89a?" placeholder image
};

struct Owner {
  std::string account;
  std::vector<Album> albums;
};

struct Fixture {
  std::vector<Owner> owners;
  std::string newest_version = "2.0";   // what the maker's update page announces
  std::string login_password = "demo";  // the login page takes any user name with this password

  static Fixture demo();
  // Throws std::runtime_error naming what is wrong (and where) when the text is not a fixture.
  static Fixture from_json(const std::string& json_text);
  // An owner "bench" with one album "bench" of `photo_count` photos of `photo_size` bytes each.
  static Fixture bench(int photo_count, int photo_size);
};

// The host names the service answers as. Album-list scripts and album-data documents live on
// `script`; the maker's update page is answered on any host, `update` is only the one it names.
struct Hosts {
  std::string web = "photo.163.com";
  std::string script = "s1.ph.126.net";
  std::string cover = "img.ph.126.net";
  std::string alternate_cover = "img.bimg.126.net";
  std::string primary_image = "img.ph.126.net";
  std::string alternate_image = "img1.ph.126.net";
  std::string update = "www.tamberlo.example";
};

struct ServiceOptions {
  Hosts hosts;
  // received() keeps this many of the newest requests, so a service left running for long
  // (demo mode, benchmarks) does not grow without end.
  std::size_t keep_received = 100000;
};

// Switches tests flip while the service runs.
struct Faults {
  std::atomic<bool> primary_image_404{false};         // every photo 404 on the primary image host
  std::atomic<bool> alternate_image_404{false};       // ...and on the alternate image host
  std::atomic<bool> cover_404{false};                 // covers 404 on the cover host only
  std::atomic<int> album_data_failures{0};            // the next N album-data requests fail
  std::atomic<bool> album_data_failure_drops{false};  // ...by a dropped connection, else empty
  std::atomic<int> answer_delay_ms{0};                // every answer waits this long first
  std::atomic<int> photo_chunk_delay_ms{0};       // photo bodies go in small chunks with this pause
  std::atomic<bool> lowercase_set_cookie{false};  // Set-Cookie spelled "set-cookie"/"SET-COOKIE"
  std::atomic<int> blank_photo_entry{0};   // album data: the Nth "ourl:'" value (1-based) is empty
  std::atomic<int> photo_drops{0};         // the next N photos break off halfway through the body
  std::atomic<int> extra_header_bytes{0};  // every answer carries a header line of about N bytes
};

struct ReceivedRequest {
  std::string method;
  std::string target;  // as on the request line, absolute form included
  std::string host;    // from the absolute target, else the Host header; without port
  std::string path;    // without query, not decoded
  std::vector<std::pair<std::string, std::string>> headers;  // in arrival order
  std::string body;
  // The first header of that name (any case), or "".
  std::string header(std::string_view name) const;
};

class SampleService final {
 public:
  explicit SampleService(Fixture fixture = Fixture::demo(), ServiceOptions options = {});
  ~SampleService();  // stops
  SampleService(const SampleService&) = delete;
  SampleService& operator=(const SampleService&) = delete;

  // Binds 127.0.0.1 (0: a free port), serves on background threads, returns the port; throws
  // std::runtime_error when the port cannot be bound.
  int start(int port = 0);
  void stop();
  int port() const;
  std::string proxy_url() const;  // "http://127.0.0.1:PORT"
  Faults& faults();
  std::vector<ReceivedRequest> received() const;  // every request, in arrival order
  void clear_received();
  const Fixture& fixture() const;
  const Hosts& hosts() const;

  struct State;

 private:
  std::unique_ptr<State> state_;
};

}  // namespace tamberlo::sample
