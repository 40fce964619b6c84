#include "sample-service/sample_service.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <random>
#include <stdexcept>

#include "sample-service/pictures.h"
#include "sample-service/proxy_server.h"
#include "sample-service/request_head.h"
#include "sample-service/service_state.h"

namespace tamberlo::sample {
namespace {

std::uint32_t fnv1a(std::string_view text) {
  std::uint32_t hash = 2166136261u;
  for (unsigned char c : text) hash = (hash ^ c) * 16777619u;
  return hash;
}

// Every album has a colour of its own, never too dark or too light to tell apart.
std::uint32_t album_colour(std::string_view album_id) {
  std::uint32_t hash = fnv1a(album_id);
  auto channel = [&](int shift) { return 40u + ((hash >> shift) & 0xFF) * 160u / 255u; };
  return channel(0) << 16 | channel(8) << 8 | channel(16);
}

}  // namespace

std::string album_list_path(std::string_view account) {
  return "/photo/" + std::string(account) + "/albumlist.js";
}
std::string album_data_path(std::string_view account, std::string_view album_id) {
  return "/photo/" + std::string(account) + "/data/" + std::string(album_id) + ".js";
}
std::string full_album_data_path(std::string_view account, std::string_view album_id) {
  return "/photo/" + std::string(account) + "/data/" + std::string(album_id) + ".full.js";
}
std::string cover_path(std::string_view account, std::string_view album_id) {
  return "/cover/" + std::string(account) + "/" + std::string(album_id) + ".jpg";
}
std::string default_photo_path(std::string_view account, std::string_view album_id, int number) {
  return "/photo/" + std::string(account) + "/" + std::string(album_id) + "/" +
         std::to_string(number) + ".jpg";
}
std::string normal_path(std::string_view path) {
  std::size_t slashes = 0;
  while (slashes < path.size() && path[slashes] == '/') ++slashes;
  return "/" + std::string(path.substr(slashes));
}
int listed_count(const Album& album) {
  return album.listed_count >= 0 ? album.listed_count : static_cast<int>(album.photos.size());
}

std::string access_cookie_name(const Album& album) { return "ph_album_" + album.id; }
std::string access_cookie_value(const Owner& owner, const Album& album) {
  char text[16];
  std::snprintf(text, sizeof text, "%08x",
                fnv1a(owner.account + ":" + album.id + ":" + album.password));
  return text;
}

SampleService::State::State(Fixture fixture_in, ServiceOptions options)
    : fixture(std::move(fixture_in)),
      hosts(std::move(options.hosts)),
      keep_received(options.keep_received) {
  check_fixture(fixture);
  for (auto* host : {&hosts.web, &hosts.script, &hosts.cover, &hosts.alternate_cover,
                     &hosts.primary_image, &hosts.alternate_image, &hosts.update}) {
    std::transform(host->begin(), host->end(), host->begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  }
  for (Owner& owner : fixture.owners) {
    for (Album& album : owner.albums) {
      for (std::size_t i = 0; i < album.photos.size(); ++i) {
        Photo& photo = album.photos[i];
        if (photo.path.empty()) {
          photo.path = default_photo_path(owner.account, album.id, static_cast<int>(i + 1));
        } else if (photo.path.front() != '/') {
          photo.path.insert(0, "/");
        }
      }
    }
  }
  // Indexed only once the fixture stopped changing: the places point into it.
  for (const Owner& owner : fixture.owners) {
    for (const Album& album : owner.albums) {
      albums_by_id[album.id] = AlbumPlace{&owner, &album};
      covers_by_path[cover_path(owner.account, album.id)] = AlbumPlace{&owner, &album};
      for (std::size_t i = 0; i < album.photos.size(); ++i) {
        photos_by_path.emplace(normal_path(album.photos[i].path),
                               PhotoPlace{&owner, &album, static_cast<int>(i + 1)});
      }
    }
  }
}

SampleService::State::~State() = default;

const Owner* SampleService::State::owner(std::string_view account) const {
  for (const Owner& candidate : fixture.owners) {
    if (candidate.account == account) return &candidate;
  }
  return nullptr;
}

const AlbumPlace* SampleService::State::album(std::string_view id) const {
  auto found = albums_by_id.find(std::string(id));
  return found == albums_by_id.end() ? nullptr : &found->second;
}

bool SampleService::State::logged_in(const RequestHead& head) const {
  for (const std::string& cookies : head.headers_named("Cookie")) {
    if (auto session = cookie_value(cookies, kSessionCookie)) {
      std::lock_guard lock(mutex);
      if (sessions.contains(*session)) return true;
    }
  }
  return false;
}

bool SampleService::State::may_read(const AlbumPlace& place, const RequestHead& head) const {
  switch (place.album->access) {
    case Album::Access::open:
      return true;
    case Album::Access::login:
      return logged_in(head);
    case Album::Access::password:
      for (const std::string& cookies : head.headers_named("Cookie")) {
        auto value = cookie_value(cookies, access_cookie_name(*place.album));
        if (value && *value == access_cookie_value(*place.owner, *place.album)) return true;
      }
      return false;
  }
  return false;
}

std::string SampleService::State::new_session(std::string_view user) {
  static std::mt19937_64 generator(std::random_device{}());
  std::lock_guard lock(mutex);
  char text[40];
  std::snprintf(text, sizeof text, "%016llx%08x", static_cast<unsigned long long>(generator()),
                fnv1a(user));
  sessions.insert(text);
  return text;
}

std::string SampleService::State::picture(const std::string& album_id, int number) {
  auto key = std::make_pair(album_id, number);
  {
    std::lock_guard lock(mutex);
    if (auto found = pictures.find(key); found != pictures.end()) return found->second;
  }
  std::string made = make_jpeg(album_colour(album_id), number);
  std::lock_guard lock(mutex);
  return pictures.emplace(key, std::move(made)).first->second;
}

void SampleService::State::record(const RequestHead& head, std::string body) {
  ReceivedRequest request{head.method, head.target,  head.host,
                          head.path,   head.headers, std::move(body)};
  std::lock_guard lock(mutex);
  received.push_back(std::move(request));
  while (received.size() > keep_received) received.pop_front();
}

bool SampleService::State::take_one(std::atomic<int>& counter) {
  int pending = counter.load();
  while (pending > 0) {
    if (counter.compare_exchange_weak(pending, pending - 1)) return true;
  }
  return false;
}

std::string ReceivedRequest::header(std::string_view name) const {
  for (const auto& [key, value] : headers) {
    if (key.size() == name.size() &&
        std::equal(key.begin(), key.end(), name.begin(), [](char a, char b) {
          return std::tolower(static_cast<unsigned char>(a)) ==
                 std::tolower(static_cast<unsigned char>(b));
        })) {
      return value;
    }
  }
  return {};
}

SampleService::SampleService(Fixture fixture, ServiceOptions options)
    : state_(std::make_unique<State>(std::move(fixture), std::move(options))) {}

SampleService::~SampleService() { stop(); }

int SampleService::start(int port) {
  if (state_->server) throw std::runtime_error("sample service: already started");
  auto server = std::make_unique<ProxyServer>(*state_);
  int bound = port == 0 ? server->bind_to_any_port("127.0.0.1")
                        : (server->bind_to_port("127.0.0.1", port) ? port : -1);
  if (bound <= 0) {
    throw std::runtime_error("sample service: cannot listen on 127.0.0.1:" + std::to_string(port));
  }
  state_->server = std::move(server);
  state_->port = bound;
  state_->serving = true;
  state_->thread = std::thread([server = state_->server.get()] { server->listen_after_bind(); });
  // A stop() that came before the listening loop began would not end it.
  while (!state_->server->is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  return bound;
}

void SampleService::stop() {
  if (!state_->server) return;
  state_->serving = false;
  state_->server->stop();
  if (state_->thread.joinable()) state_->thread.join();
  state_->server.reset();
}

int SampleService::port() const { return state_->port; }
std::string SampleService::proxy_url() const {
  return "http://127.0.0.1:" + std::to_string(state_->port);
}
Faults& SampleService::faults() { return state_->faults; }
std::vector<ReceivedRequest> SampleService::received() const {
  std::lock_guard lock(state_->mutex);
  return {state_->received.begin(), state_->received.end()};
}
void SampleService::clear_received() {
  std::lock_guard lock(state_->mutex);
  state_->received.clear();
}
const Fixture& SampleService::fixture() const { return state_->fixture; }
const Hosts& SampleService::hosts() const { return state_->hosts; }

}  // namespace tamberlo::sample
