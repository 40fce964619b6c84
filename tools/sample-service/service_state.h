#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <string_view>
#include <thread>
#include <unordered_map>
#include <vector>

#include "sample-service/sample_service.h"

namespace tamberlo::sample {

class ProxyServer;
struct RequestHead;

// Throws std::runtime_error when accounts or album ids are missing, malformed or doubled.
void check_fixture(const Fixture& fixture);

struct AlbumPlace {
  const Owner* owner = nullptr;
  const Album* album = nullptr;
};

struct PhotoPlace {
  const Owner* owner = nullptr;
  const Album* album = nullptr;
  int number = 0;  // 1-based
};

// The addresses the service names in its answers (paths on Hosts::script and the image hosts).
std::string album_list_path(std::string_view account);
std::string album_data_path(std::string_view account, std::string_view album_id);
// Named by the download form of getAlbumData for an album whose data address answers with the
// placeholder picture.
std::string full_album_data_path(std::string_view account, std::string_view album_id);
std::string cover_path(std::string_view account, std::string_view album_id);
std::string default_photo_path(std::string_view account, std::string_view album_id, int number);
// Leading slashes folded into one: the primary image host is asked with two.
std::string normal_path(std::string_view path);
int listed_count(const Album& album);

std::string access_cookie_name(const Album& album);
std::string access_cookie_value(const Owner& owner, const Album& album);
constexpr std::string_view kSessionCookie = "NTES_SESS";

struct SampleService::State {
  State(Fixture fixture, ServiceOptions options);
  ~State();

  const Owner* owner(std::string_view account) const;
  const AlbumPlace* album(std::string_view id) const;
  bool logged_in(const RequestHead& head) const;
  // Whether the album's data address may be named to this request.
  bool may_read(const AlbumPlace& place, const RequestHead& head) const;
  std::string new_session(std::string_view user);
  // The photo's base picture, made once.
  std::string picture(const std::string& album_id, int number);
  void record(const RequestHead& head, std::string body);
  // Takes one from a counter of pending failures; true when one was pending.
  static bool take_one(std::atomic<int>& counter);

  Fixture fixture;
  Hosts hosts;
  Faults faults;
  std::unordered_map<std::string, AlbumPlace> albums_by_id;
  std::unordered_map<std::string, PhotoPlace> photos_by_path;
  std::unordered_map<std::string, AlbumPlace> covers_by_path;
  std::atomic<bool> serving{false};

  mutable std::mutex mutex;              // guards what follows
  std::deque<ReceivedRequest> received;  // the newest ServiceOptions::keep_received
  std::size_t keep_received = 0;
  std::set<std::string> sessions;
  std::map<std::pair<std::string, int>, std::string> pictures;

  std::unique_ptr<ProxyServer> server;
  std::thread thread;
  int port = 0;
};

}  // namespace tamberlo::sample
