#pragma once

#include <vector>

#include "download/album_download.h"
#include "download/download_context.h"
#include "text/text.h"

namespace tamberlo {

class WindowPort;
class TransferGate;

struct BatchResult {
  int albums = 0;         // jobs in the batch
  int albums_failed = 0;  // without a folder or without album data
  int photos_saved = 0;
  int photos_failed = 0;
  bool cancelled = false;  // the window closed: the batch stopped without its closing steps
  bool complete() const { return !cancelled && albums_failed == 0 && photos_failed == 0; }
};

// The separator between the four fields of a job text.
inline constexpr std::string_view kJobSeparator = "--@@--";
Text join_job(const AlbumJob& job);
// At most four fields; a missing one is empty.
AlbumJob split_job(std::string_view job_text);

// Reads the ticked rows once, logs them, downloads every job in list order and ends with the
// totals in the log and in a message box. Runs on the download worker thread.
BatchResult download_batch(DownloadContext& context);

// The three download buttons stand on one spot; these show the one that fits. They run on the
// window thread. The front end starts the worker itself after on_download_start.
void on_download_start(WindowPort& port);
// Holds the worker where it is: a transfer in flight stands still, nothing more is written.
void on_pause(WindowPort& port, TransferGate& gate);
void on_resume(WindowPort& port, TransferGate& gate);

}  // namespace tamberlo
