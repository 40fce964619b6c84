#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/session_state.h"
#include "download/download_batch.h"
#include "http/transfer_gate.h"
#include "sample-service/sample_service.h"
#include "scratch_folder.h"
#include "support/recording_window_port.h"

namespace tamberlo::testing {

// One sample service per test, reached through its proxy, a scratch folder as the save
// location and a recording window whose waits return at once.
class DownloadServiceTest : public ::testing::Test {
 protected:
  // Starts the service with these owners; the first owner's account becomes the session's.
  void start(std::vector<sample::Owner> owners);
  // Puts the owner's albums into the list as a retrieval would: serial numbers from 1, names,
  // counts, ids and data addresses as the service's album list gives them. Rows are ticked as
  // `ticks` says (missing entries: ticked).
  void fill_list(const std::string& account, std::vector<int> ticks = {});
  BatchResult run_batch();

  // Photo requests the service received, in arrival order: host + path.
  std::vector<std::string> photo_requests() const;
  std::filesystem::path album_folder(const std::string& account_utf8,
                                     const std::string& folder_utf8) const;

  std::unique_ptr<sample::SampleService> service;
  ScratchFolder save;
  RecordingWindowPort port;
  SessionState session;
  TransferGate gate;
  DownloadContext context{port, session, gate};
};

// Photo j of album id lives at "/photo/<id>/<j>.jpg"; its picture carries that path.
std::string photo_path_of(const std::string& album_id, int number);

// Hands out the suffixes 1, 2, 3, ... so that file names are known beforehand.
SuffixSource counting_suffixes();

sample::Album album(std::string id, std::string name_utf8, int photos, int photo_size = 0);

}  // namespace tamberlo::testing
