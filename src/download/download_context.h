#pragma once

#include <filesystem>

#include "download/folder_naming.h"
#include "download/photo_file.h"

namespace tamberlo {

class WindowPort;
class SessionState;
class TransferGate;

// What one download worker works with. The front end owns all of it and keeps it alive until
// the worker has returned.
struct DownloadContext {
  WindowPort& port;
  // The owner account (read when each album starts) and the browser cookie text (read and
  // merged at each request).
  SessionState& session;
  // Paused and resumed by the window's buttons, cancelled when the window closes.
  TransferGate& gate;
  // The base folder when the save location is empty.
  std::filesystem::path program_folder = tamberlo::program_folder();
  SuffixSource draw_suffix = clock_suffix_source();
  // A photo that cannot be fetched is tried this many times in all before it counts as failed.
  int photo_attempts = 3;
};

}  // namespace tamberlo
