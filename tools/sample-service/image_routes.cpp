#include <algorithm>
#include <memory>
#include <string>

#include "sample-service/pictures.h"
#include "sample-service/routes.h"

namespace tamberlo::sample {
namespace {

constexpr std::size_t kSlowChunk = 4096;

void not_found(httplib::Response& res) {
  res.status = 404;
  res.set_content("<html><body><h1>404 Not Found</h1></body></html>\n", "text/html");
}

// Sends the picture in small pieces with a pause between them, or breaks off halfway.
void send_picture(State& state, std::string body, httplib::Response& res) {
  const bool drop = State::take_one(state.faults.photo_drops);
  const int delay = state.faults.photo_chunk_delay_ms;
  if (!drop && delay <= 0) {
    res.set_content(std::move(body), "image/jpeg");
    return;
  }
  auto shared = std::make_shared<std::string>(std::move(body));
  const std::size_t length = shared->size();
  res.set_content_provider(
      length, "image/jpeg",
      [&state, shared, drop, delay](std::size_t offset, std::size_t, httplib::DataSink& sink) {
        if (drop && offset >= shared->size() / 2) return false;
        if (delay > 0 && offset > 0) {
          auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(delay);
          while (state.serving && std::chrono::steady_clock::now() < until) {
            std::this_thread::sleep_for(std::chrono::milliseconds(std::min(delay, 20)));
          }
          if (!state.serving) return false;
        }
        std::size_t end =
            std::min(shared->size(), offset + (delay > 0 ? kSlowChunk : shared->size() / 2));
        if (drop) end = std::min(end, shared->size() / 2);
        return sink.write(shared->data() + offset, end - offset);
      });
}

}  // namespace

bool answer_image(State& state, const RequestHead& head, httplib::Response& res) {
  const Hosts& hosts = state.hosts;
  const std::string& host = head.host;
  const bool cover_host = host == hosts.cover || host == hosts.alternate_cover;
  const bool image_host = host == hosts.primary_image || host == hosts.alternate_image;
  if (!cover_host && !image_host) return false;
  const std::string path = normal_path(head.path);

  if (cover_host) {
    if (auto found = state.covers_by_path.find(path); found != state.covers_by_path.end()) {
      if (state.faults.cover_404 && host == hosts.cover && host != hosts.alternate_cover) {
        not_found(res);
      } else {
        send_picture(state,
                     labelled_jpeg(state.picture(found->second.album->id, 0), host + path, 0), res);
      }
      return true;
    }
  }
  if (image_host) {
    if (auto found = state.photos_by_path.find(path); found != state.photos_by_path.end()) {
      const bool primary = host == hosts.primary_image;
      if ((primary && state.faults.primary_image_404) ||
          (!primary && state.faults.alternate_image_404)) {
        not_found(res);
        return true;
      }
      const PhotoPlace& place = found->second;
      const Photo& photo = place.album->photos[static_cast<std::size_t>(place.number - 1)];
      send_picture(state,
                   labelled_jpeg(state.picture(place.album->id, place.number), host + path,
                                 static_cast<std::size_t>(photo.size_bytes)),
                   res);
      return true;
    }
  }
  not_found(res);
  return true;
}

}  // namespace tamberlo::sample
