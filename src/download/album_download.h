#pragma once

#include "download/download_context.h"
#include "text/text.h"

namespace tamberlo {

// One ticked album, as the album list gives it. GBK texts.
struct AlbumJob {
  Text listed_count;  // "数量": the photo count the list shows, decimal text
  Text data_address;  // "相册密码": the album-data address without "http://"
  Text album_name;    // "相册名称", trimmed
  Text album_id;      // "相册ID"
};

struct AlbumResult {
  bool data_found = false;    // the album data came within its attempts
  bool folder_ready = false;  // the album folder exists
  int photos_listed = 0;      // entries in the album data
  int photos_saved = 0;
  int photos_failed = 0;   // fetched or written without success, each logged
  bool cancelled = false;  // stopped early; nothing half-written stays behind
  bool failed() const { return !folder_ready || !data_found; }
};

// Fetches the album's data (ten attempts, the placeholder's alternate route), collects the
// photo entries and saves each photo as "j_R.jpg" in save location/owner/album+count, moving
// the progress bar, the captions and the log as it goes. Runs on the download worker.
AlbumResult download_album(const AlbumJob& job, DownloadContext& context);

}  // namespace tamberlo
