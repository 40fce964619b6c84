#include "download/album_download.h"

#include <algorithm>
#include <future>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/album_protocol.h"
#include "catalogue/gbk_literal.h"
#include "catalogue/session_state.h"
#include "catalogue/window_port.h"
#include "download/folder_naming.h"
#include "download/photo_file.h"
#include "download/texts_between.h"
#include "http/object_request.h"
#include "http/request_description.h"
#include "http/transfer_gate.h"
#include "text/encoding.h"

namespace tamberlo {
namespace {

constexpr int kAlbumDataAttempts = 10;
constexpr int kAlbumDataRetryWaitMs = 2000;
constexpr int kPhotoWaitMs = 100;
constexpr int kPhotoRetryWaitMs = 500;
constexpr int kAlternateHostStatus = 404;

struct Answer {
  Bytes body;
  int status = 0;
};

bool success_status(int status) { return status >= 200 && status < 300; }

// Every download request carries the browser cookie text and leaves the answer's cookies in
// it for the next one.
Answer fetch(const Text& url, DownloadContext& context) {
  RequestDescription request;
  request.url = url;
  request.method = 0;
  request.cookies = context.session.browser_cookie_text();
  request.gate = &context.gate;
  Answer answer;
  answer.body = object_request(request);
  answer.status = request.status;
  if (request.cookies) context.session.set_browser_cookie_text(*request.cookies);
  return answer;
}

// An error page is no album data, so only a successful answer counts.
Text fetch_album_text(const Text& url, DownloadContext& context) {
  Answer answer = fetch(url, context);
  if (!success_status(answer.status)) return {};
  return utf8_to_local(answer.body);
}

// The service sends a GIF in place of the data of some albums; the remote call then names
// where the data really is.
Text fetch_album_data(const AlbumJob& job, DownloadContext& context) {
  Text data = fetch_album_text(album_data_document_address(job.data_address), context);
  if (data != kPlaceholderAnswer) return data;
  if (context.gate.cancelled()) return {};
  const Text call_answer = fetch_album_text(album_data_call_download(job.album_id), context);
  const Text address = data_address_from_download_answer(call_answer);
  // Without an address there is nothing to ask for: the attempt has failed.
  if (address.empty() || context.gate.cancelled()) return {};
  return fetch_album_text(album_data_document_address(address), context);
}

struct PhotoAnswer {
  Answer answer;
  bool ok = false;
  Text reason;  // GBK, when not ok
};

PhotoAnswer fetch_photo(const Text& path, DownloadContext& context) {
  PhotoAnswer photo;
  photo.answer = fetch(photo_address(path), context);
  if (photo.answer.status == kAlternateHostStatus && !context.gate.cancelled()) {
    photo.answer = fetch(alternate_photo_address(path), context);
  }
  const int status = photo.answer.status;
  if (status == 0) {
    photo.reason = gbk("无应答");
  } else if (!success_status(status)) {
    photo.reason = gbk("HTTP状态码 ") + std::to_string(status);
  } else if (photo.answer.body.empty()) {
    photo.reason = gbk("应答为空");
  } else {
    photo.ok = true;
  }
  return photo;
}

// The photo is written while the download keeps its pause between photos; it gets its name
// only once the pause is over.
std::future<StagedPhoto> stage_during_pause(const std::filesystem::path& folder, Bytes body) {
  const auto shared_body = std::make_shared<const Bytes>(std::move(body));
  try {
    return std::async(std::launch::async,
                      [folder, shared_body] { return stage_photo(folder, *shared_body); });
  } catch (const std::system_error&) {
    // No thread to spare: the write simply comes before the pause.
    std::promise<StagedPhoto> staged;
    staged.set_value(stage_photo(folder, *shared_body));
    return staged.get_future();
  }
}

Text system_reason(const std::error_code& error) { return utf8_to_local(error.message()); }

// A listed count of 0 (or no number at all) gives no share worth showing.
Text percent_caption(int position, int maximum) {
  if (maximum <= 0) return {};
  const double share = static_cast<double>(position) / static_cast<double>(maximum) * 100.0;
  return std::to_string(static_cast<long long>(share)) + "%";
}

std::filesystem::path base_folder(DownloadContext& context) {
  const Text save_location = context.port.text(control::kSaveLocation);
  if (save_location.empty()) return context.program_folder;
  return local_path(save_location);
}

// The album folder, created when missing; a folder that cannot be made is logged with the
// system's reason, since every photo of the album would be lost without a word otherwise.
bool prepare_folder(std::filesystem::path& folder, DownloadContext& context) {
  if (folder_exists(folder)) return true;
  std::error_code error;
  if (ensure_folder(folder, error) || ensure_folder(folder, error)) return true;
  context.port.append_log(gbk("无法创建文件夹：") + path_text(folder) + gbk("：") +
                          system_reason(error) + "\r\n");
  return false;
}

class AlbumRun final {
 public:
  AlbumRun(const AlbumJob& job, DownloadContext& context)
      : job_(job), context_(context), port_(context.port) {}

  AlbumResult run() {
    const int maximum = std::max(0, leading_integer(job_.listed_count));
    port_.set_text(control::kProgressPercent, "");
    port_.set_progress_position(0);
    port_.set_progress_maximum(maximum);
    port_.append_log(gbk("准备下载相册《") + job_.album_name + gbk("》\r\n\r\n"));

    const Text folder_name = album_folder_name(job_.album_name, job_.listed_count);
    std::filesystem::path folder = base_folder(context_) /
                                   local_path(owner_folder_name(context_.session.owner_account())) /
                                   local_path(folder_name);
    result_.folder_ready = prepare_folder(folder, context_);

    if (result_.folder_ready) {
      const Text data = album_data();
      if (result_.cancelled) return result_;
      std::vector<Text> entries;
      const int count = texts_between(data, "ourl:'", "',", entries);
      result_.photos_listed = count;
      for (int number = 1; number <= count; ++number) {
        photo(number, maximum, entries[static_cast<std::size_t>(number - 1)], folder);
        if (result_.cancelled) return result_;
      }
    }

    port_.append_log(gbk("---完成相册《") + folder_name + gbk("》下载\r\n\r\n"));
    port_.set_text(control::kPhotoInHand, "");
    return result_;
  }

 private:
  Text album_data() {
    for (int attempt = 1; attempt <= kAlbumDataAttempts; ++attempt) {
      if (!context_.gate.pass()) return cancel();
      Text data = fetch_album_data(job_, context_);
      if (context_.gate.cancelled()) return cancel();
      if (!data.empty()) {
        result_.data_found = true;
        return data;
      }
      if (!port_.wait(kAlbumDataRetryWaitMs)) return cancel();
    }
    port_.append_log(gbk("未能取得相册《") + job_.album_name + gbk("》的照片列表（已尝试") +
                     std::to_string(kAlbumDataAttempts) + gbk("次）\r\n"));
    return {};
  }

  void photo(int number, int maximum, const Text& entry, const std::filesystem::path& folder) {
    if (!context_.gate.pass()) return static_cast<void>(cancel());
    port_.set_progress_position(number);
    port_.set_text(control::kProgressPercent, percent_caption(number, maximum));
    port_.set_text(control::kPhotoInHand, job_.listed_count + "/" + std::to_string(number));

    const Text path = photo_path(entry);
    PhotoAnswer fetched;
    // Dropped on a cancellation, the staged photo takes its temporary file with it.
    std::future<StagedPhoto> staging;
    for (int attempt = 1; attempt <= std::max(1, context_.photo_attempts); ++attempt) {
      if (attempt > 1 && !port_.wait(kPhotoRetryWaitMs * (attempt - 1))) {
        return static_cast<void>(cancel());
      }
      if (!context_.gate.pass()) return static_cast<void>(cancel());
      fetched = fetch_photo(path, context_);
      if (context_.gate.cancelled()) return static_cast<void>(cancel());
      if (fetched.ok) staging = stage_during_pause(folder, std::move(fetched.answer.body));
      if (!port_.wait(kPhotoWaitMs)) return static_cast<void>(cancel());
      if (fetched.ok) break;
    }

    if (!fetched.ok) {
      ++result_.photos_failed;
      port_.append_log(gbk("第") + std::to_string(number) + gbk("张照片下载失败：") +
                       fetched.reason + "\r\n");
      port_.process_events();
      return;
    }
    // A pause holds the photo here, before it appears under its name.
    if (!context_.gate.pass()) return static_cast<void>(cancel());
    const SavedPhoto saved = place_photo(staging.get(), number, context_.draw_suffix);
    if (saved.saved) {
      ++result_.photos_saved;
    } else {
      ++result_.photos_failed;
      port_.append_log(gbk("第") + std::to_string(number) + gbk("张照片无法保存：") +
                       path_text(saved.path) + gbk("：") + system_reason(saved.error) + "\r\n");
    }
    port_.process_events();
  }

  Text cancel() {
    result_.cancelled = true;
    return {};
  }

  const AlbumJob& job_;
  DownloadContext& context_;
  WindowPort& port_;
  AlbumResult result_;
};

}  // namespace

AlbumResult download_album(const AlbumJob& job, DownloadContext& context) {
  return AlbumRun(job, context).run();
}

}  // namespace tamberlo
