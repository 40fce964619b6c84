#include "download/album_download.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <functional>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "catalogue/gbk_literal.h"
#include "catalogue/window_port.h"
#include "download_service_fixture.h"
#include "text/encoding.h"

namespace tamberlo {
namespace {

using testing::album;
using testing::file_bytes;
using testing::files_below;
using testing::photo_path_of;

class AlbumDownload : public testing::DownloadServiceTest {
 protected:
  // The first list row as a job, the way the batch hands it over.
  AlbumJob first_job() {
    const auto row = port.rows().at(0);
    return AlbumJob{row.cells[column::kCount], row.cells[column::kDataAddress],
                    trim_text(row.cells[column::kName]), row.cells[column::kAlbumId]};
  }
  int count_calls(const std::string& call) const {
    const auto calls = port.calls();
    return static_cast<int>(std::count(calls.begin(), calls.end(), call));
  }
  std::string log_utf8() const { return local_to_utf8(port.log()); }
};

struct DataFailureCase {
  int failures;
  bool dropped;
  int expected_waits;
  int expected_photos;
};

void PrintTo(const DataFailureCase& c, std::ostream* out) {
  *out << c.failures << (c.dropped ? " dropped" : " empty") << " answers";
}

class AlbumDataAttempts : public AlbumDownload,
                          public ::testing::WithParamInterface<DataFailureCase> {};

TEST_P(AlbumDataAttempts, WaitTwoSecondsAfterEachFailedAttemptUpToTen) {
  const DataFailureCase& c = GetParam();
  start({sample::Owner{"spring", {album("101", "春游", 2)}}});
  fill_list("spring");
  service->faults().album_data_failure_drops = c.dropped;
  service->faults().album_data_failures = c.failures;

  const AlbumResult result = download_album(first_job(), context);

  if (c.dropped) {
    // The request layer may try a dropped connection once more by itself, so one attempt can
    // use up two of the service's failures.
    EXPECT_GE(count_calls("wait 2000"), 1);
    EXPECT_LE(count_calls("wait 2000"), c.expected_waits);
  } else {
    EXPECT_EQ(count_calls("wait 2000"), c.expected_waits);
  }
  EXPECT_EQ(result.photos_saved, c.expected_photos);
  EXPECT_EQ(result.data_found, c.expected_photos > 0);
  EXPECT_EQ(static_cast<int>(files_below(save.path()).size()), c.expected_photos);
  const bool failure_logged =
      log_utf8().find("未能取得相册《春游》的照片列表（已尝试10次）\r\n") != std::string::npos;
  EXPECT_EQ(failure_logged, c.expected_photos == 0);
  // The closing line is written either way.
  EXPECT_NE(log_utf8().find("---完成相册《春游2》下载\r\n\r\n"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, AlbumDataAttempts,
    ::testing::Values(DataFailureCase{0, false, 0, 2}, DataFailureCase{5, false, 5, 2},
                      DataFailureCase{5, true, 5, 2}, DataFailureCase{9, false, 9, 2},
                      DataFailureCase{10, false, 10, 0}, DataFailureCase{12, false, 10, 0},
                      DataFailureCase{20, true, 10, 0}));

TEST_F(AlbumDownload, APlaceholderAnswerTakesTheRemoteCallToTheRealData) {
  auto placeholder = album("201", "占位", 2);
  placeholder.placeholder = true;
  start({sample::Owner{"spring", {placeholder}}});
  fill_list("spring");

  const AlbumResult result = download_album(first_job(), context);

  EXPECT_EQ(result.photos_saved, 2);
  EXPECT_EQ(count_calls("wait 2000"), 0);
  bool asked_download_form = false;
  for (const auto& request : service->received()) {
    if (request.path.find("/photo/mop4481/dwr/call/plaincall/AlbumBean.getAlbumData.dwr") == 0 &&
        request.target.find("c0-param0=string%3A201&") != std::string::npos) {
      asked_download_form = true;
    }
  }
  EXPECT_TRUE(asked_download_form);
  EXPECT_EQ(files_below(save.path()),
            (std::vector<std::string>{"spring/占位2/1_1.jpg", "spring/占位2/2_2.jpg"}));
}

TEST_F(AlbumDownload, EveryRequestCarriesTheBrowserCookieText) {
  start({sample::Owner{"spring", {album("101", "春游", 2)}}});
  fill_list("spring");
  service->clear_received();
  session.set_browser_cookie_text("NTES_SESS=from-the-browser; P_INFO=spring");
  service->faults().primary_image_404 = true;

  ASSERT_EQ(download_album(first_job(), context).photos_saved, 2);

  const auto received = service->received();
  ASSERT_EQ(received.size(), 5u);  // the album data, then each photo at both hosts
  for (const auto& request : received) {
    EXPECT_NE(request.header("Cookie").find("NTES_SESS=from-the-browser"), std::string::npos)
        << request.host << request.path;
  }
}

TEST_F(AlbumDownload, A404OnThePrimaryHostIsFetchedFromTheAlternateHost) {
  start({sample::Owner{"spring", {album("101", "春游", 2)}}});
  fill_list("spring");
  service->faults().primary_image_404 = true;

  const AlbumResult result = download_album(first_job(), context);

  EXPECT_EQ(result.photos_saved, 2);
  EXPECT_EQ(result.photos_failed, 0);
  EXPECT_EQ(photo_requests(), (std::vector<std::string>{
                                  "img.ph.126.net/" + photo_path_of("101", 1),
                                  "img1.ph.126.net" + photo_path_of("101", 1),
                                  "img.ph.126.net/" + photo_path_of("101", 2),
                                  "img1.ph.126.net" + photo_path_of("101", 2),
                              }));
  const std::string saved = file_bytes(album_folder("spring", "春游2") / "1_1.jpg");
  EXPECT_NE(saved.find("img1.ph.126.net"), std::string::npos);
}

TEST_F(AlbumDownload, APhotoBothHostsRefuseIsRetriedLoggedAndCountedButNeverSaved) {
  start({sample::Owner{"spring", {album("101", "春游", 2)}}});
  fill_list("spring");
  service->faults().primary_image_404 = true;
  service->faults().alternate_image_404 = true;

  const AlbumResult result = download_album(first_job(), context);

  EXPECT_EQ(result.photos_saved, 0);
  EXPECT_EQ(result.photos_failed, 2);
  // Three attempts at each photo, each at both hosts.
  EXPECT_EQ(photo_requests().size(), 12u);
  EXPECT_EQ(count_calls("wait 500"), 2);
  EXPECT_EQ(count_calls("wait 1000"), 2);
  EXPECT_NE(log_utf8().find("第1张照片下载失败：HTTP状态码 404\r\n"), std::string::npos);
  EXPECT_NE(log_utf8().find("第2张照片下载失败：HTTP状态码 404\r\n"), std::string::npos);
  // The folder is there, empty: no error page and no empty file stands in for a photo.
  EXPECT_TRUE(std::filesystem::is_directory(album_folder("spring", "春游2")));
  EXPECT_TRUE(files_below(save.path()).empty());
}

TEST_F(AlbumDownload, ADroppedPhotoIsFetchedAgainAndSavedWhole) {
  start({sample::Owner{"spring", {album("101", "春游", 2, 50000)}}});
  fill_list("spring");
  service->faults().photo_drops = 1;

  const AlbumResult result = download_album(first_job(), context);

  EXPECT_EQ(result.photos_saved, 2);
  EXPECT_EQ(result.photos_failed, 0);
  EXPECT_EQ(count_calls("wait 500"), 1);
  const std::string first = file_bytes(album_folder("spring", "春游2") / "1_1.jpg");
  EXPECT_GE(first.size(), 50000u);
  EXPECT_EQ(first.substr(first.size() - 2), "\xFF\xD9");
}

TEST_F(AlbumDownload, ABlankThirdEntryEndsThePhotoList) {
  start({sample::Owner{"spring", {album("101", "春游", 5)}}});
  fill_list("spring");
  service->faults().blank_photo_entry = 3;

  const AlbumResult result = download_album(first_job(), context);

  EXPECT_EQ(result.photos_listed, 2);
  EXPECT_EQ(result.photos_saved, 2);
  EXPECT_EQ(photo_requests().size(), 2u);
  EXPECT_EQ(files_below(save.path()),
            (std::vector<std::string>{"spring/春游5/1_1.jpg", "spring/春游5/2_2.jpg"}));
}

TEST_F(AlbumDownload, MorePhotosThanListedAreAllSavedWithTheBarMaximumKept) {
  auto more = album("101", "春游", 3);
  more.listed_count = 2;
  start({sample::Owner{"spring", {more}}});
  fill_list("spring");

  const AlbumResult result = download_album(first_job(), context);

  EXPECT_EQ(result.photos_saved, 3);
  EXPECT_EQ(port.progress_maximum(), 2);
  EXPECT_EQ(count_calls("set_text 标签_第多少张照片 2/3"), 1);
  EXPECT_EQ(count_calls("set_text 标签_进度条比例 150%"), 1);
}

TEST_F(AlbumDownload, AnEmptySaveLocationMeansTheProgramsFolder) {
  start({sample::Owner{"spring", {album("101", "春游", 1)}}});
  fill_list("spring");
  port.put_text(control::kSaveLocation, "");
  context.program_folder = save.path() / "program";

  ASSERT_EQ(download_album(first_job(), context).photos_saved, 1);
  EXPECT_EQ(files_below(save.path()), std::vector<std::string>{"program/spring/春游1/1_1.jpg"});
}

TEST_F(AlbumDownload, AnUnsafeOwnerAccountStaysInsideTheSaveLocation) {
  start({sample::Owner{"spring", {album("101", "春游", 1)}}});
  fill_list("spring");
  port.put_text(control::kSaveLocation, utf8_to_local((save.path() / "inside").string()));
  session.set_owner_account("..");

  ASSERT_EQ(download_album(first_job(), context).photos_saved, 1);
  EXPECT_EQ(files_below(save.path()), std::vector<std::string>{"inside/_/春游1/1_1.jpg"});
}

TEST_F(AlbumDownload, AFolderThatCannotBeMadeIsLoggedWithItsReason) {
  start({sample::Owner{"spring", {album("101", "春游", 2)}}});
  fill_list("spring");
  std::ofstream(save.path() / "spring") << "a file where the owner folder belongs";

  const AlbumResult result = download_album(first_job(), context);

  EXPECT_FALSE(result.folder_ready);
  EXPECT_TRUE(result.failed());
  EXPECT_EQ(result.photos_saved, 0);
  const std::string expected_start =
      "无法创建文件夹：" + (save.path() / "spring" / "春游2" / "").string() + "：";
  EXPECT_NE(log_utf8().find(expected_start), std::string::npos) << log_utf8();
  EXPECT_TRUE(photo_requests().empty());
  EXPECT_NE(log_utf8().find("---完成相册《春游2》下载\r\n\r\n"), std::string::npos);
}

// Waits (bounded) until the service has been asked for the photo; the bound only keeps a
// broken build from hanging the run.
bool wait_for_request(const testing::DownloadServiceTest& test,
                      const std::function<std::vector<std::string>()>& requests,
                      const std::string& wanted) {
  (void)test;
  for (int i = 0; i < 2000; ++i) {
    const auto seen = requests();
    if (std::find(seen.begin(), seen.end(), wanted) != seen.end()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return false;
}

TEST_F(AlbumDownload, PauseInTheMiddleOfAPhotoThenResumeSavesEveryPhotoOnce) {
  start({sample::Owner{"spring", {album("101", "春游", 4, 40000)}}});
  fill_list("spring");
  service->faults().photo_chunk_delay_ms = 20;
  const AlbumJob job = first_job();
  AlbumResult result;
  std::thread worker([&] { result = download_album(job, context); });

  const auto requests = [this] { return photo_requests(); };
  ASSERT_TRUE(wait_for_request(*this, requests, "img.ph.126.net/" + photo_path_of("101", 2)));
  on_pause(port, gate);
  // Whatever was already past the gate settles; from then on nothing may move.
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  const auto calls_paused = port.calls();
  const auto files_paused = files_below(save.path());
  const auto requests_paused = photo_requests();
  std::this_thread::sleep_for(std::chrono::milliseconds(600));
  EXPECT_EQ(port.calls(), calls_paused);
  EXPECT_EQ(files_below(save.path()), files_paused);
  EXPECT_EQ(photo_requests(), requests_paused);
  EXPECT_LT(files_paused.size(), 4u);

  on_resume(port, gate);
  worker.join();

  EXPECT_EQ(result.photos_saved, 4);
  EXPECT_EQ(result.photos_failed, 0);
  const auto files = files_below(save.path());
  ASSERT_EQ(files, (std::vector<std::string>{"spring/春游4/1_1.jpg", "spring/春游4/2_2.jpg",
                                             "spring/春游4/3_3.jpg", "spring/春游4/4_4.jpg"}));
  for (int number = 1; number <= 4; ++number) {
    const std::string bytes = file_bytes(save.path() / files[number - 1]);
    EXPECT_NE(bytes.find(photo_path_of("101", number)), std::string::npos) << number;
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\xFF\xD9") << number;
  }
  for (int number = 1; number <= 4; ++number) {
    EXPECT_EQ(count_calls("set_text 标签_第多少张照片 4/" + std::to_string(number)), 1);
  }
}

enum class StopBy { gate, window_wait };

void PrintTo(StopBy way, std::ostream* out) {
  *out << (way == StopBy::gate ? "gate cancelled" : "window wait refused");
}

class CancelledDownload : public AlbumDownload, public ::testing::WithParamInterface<StopBy> {};

TEST_P(CancelledDownload, LeavesNoPartialOrTemporaryFile) {
  start({sample::Owner{"spring", {album("101", "春游", 4, 40000)}}});
  fill_list("spring");
  service->faults().photo_chunk_delay_ms = 20;
  const AlbumJob job = first_job();
  if (GetParam() == StopBy::window_wait) {
    // The window closes while photo 2 is being fetched: its wait reports the cancellation.
    port.on_wait([this](int) { return photo_requests().size() < 2; });
  }
  AlbumResult result;
  std::thread worker([&] { result = download_album(job, context); });
  if (GetParam() == StopBy::gate) {
    const auto requests = [this] { return photo_requests(); };
    ASSERT_TRUE(wait_for_request(*this, requests, "img.ph.126.net/" + photo_path_of("101", 2)));
    gate.cancel();
  }
  worker.join();

  EXPECT_TRUE(result.cancelled);
  EXPECT_EQ(result.photos_saved, 1);
  EXPECT_EQ(files_below(save.path()), std::vector<std::string>{"spring/春游4/1_1.jpg"});
  const std::string first = file_bytes(album_folder("spring", "春游4") / "1_1.jpg");
  EXPECT_EQ(first.substr(first.size() - 2), "\xFF\xD9");
  // Nothing is shown once the window is going away.
  EXPECT_EQ(log_utf8().find("---完成相册"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Ways, CancelledDownload,
                         ::testing::Values(StopBy::gate, StopBy::window_wait));

}  // namespace
}  // namespace tamberlo
