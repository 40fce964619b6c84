#include "download_service_fixture.h"

#include <memory>

#include "catalogue/album_protocol.h"
#include "catalogue/catalogue_requests.h"
#include "catalogue/gbk_literal.h"
#include "catalogue/window_port.h"
#include "http/http_settings.h"
#include "text/encoding.h"

namespace tamberlo::testing {

void DownloadServiceTest::start(std::vector<sample::Owner> owners) {
  sample::Fixture fixture;
  fixture.owners = std::move(owners);
  service = std::make_unique<sample::SampleService>(std::move(fixture));
  service->start();
  set_default_proxy(service->proxy_url());
  session.set_owner_account(service->fixture().owners.front().account);
  port.put_text(control::kSaveLocation, utf8_to_local(save.path().string()));
  context.draw_suffix = counting_suffixes();
}

void DownloadServiceTest::fill_list(const std::string& account, std::vector<int> ticks) {
  const Text home = fetch_owner_home_page(account);
  const std::vector<AlbumRecord> records =
      read_album_records(fetch_album_list(album_list_address(home)));
  ASSERT_FALSE(records.empty()) << "the service gave no album list for " << account;
  for (std::size_t i = 0; i < records.size(); ++i) {
    RecordingWindowPort::Row row;
    row.cells[column::kSerial] = std::to_string(i + 1);
    row.cells[column::kName] = records[i].name;
    row.cells[column::kCount] = records[i].count;
    row.cells[column::kAlbumId] = records[i].id;
    row.cells[column::kDataAddress] = records[i].data_address;
    row.tick = i < ticks.size() ? ticks[i] : 1;
    port.put_row(row);
  }
}

BatchResult DownloadServiceTest::run_batch() { return download_batch(context); }

std::vector<std::string> DownloadServiceTest::photo_requests() const {
  std::vector<std::string> photos;
  const sample::Hosts& hosts = service->hosts();
  for (const sample::ReceivedRequest& request : service->received()) {
    if (request.host == hosts.primary_image || request.host == hosts.alternate_image) {
      photos.push_back(request.host + request.path);
    }
  }
  return photos;
}

std::filesystem::path DownloadServiceTest::album_folder(const std::string& account_utf8,
                                                        const std::string& folder_utf8) const {
  return save.path() / account_utf8 / folder_utf8;
}

std::string photo_path_of(const std::string& album_id, int number) {
  return "/photo/" + album_id + "/" + std::to_string(number) + ".jpg";
}

SuffixSource counting_suffixes() {
  auto next = std::make_shared<int>(0);
  return [next] { return ++*next; };
}

sample::Album album(std::string id, std::string name_utf8, int photos, int photo_size) {
  sample::Album result;
  result.id = std::move(id);
  result.name_utf8 = std::move(name_utf8);
  result.photos.resize(static_cast<std::size_t>(photos));
  for (std::size_t i = 0; i < result.photos.size(); ++i) {
    result.photos[i].path = photo_path_of(result.id, static_cast<int>(i + 1));
    result.photos[i].size_bytes = photo_size;
  }
  return result;
}

}  // namespace tamberlo::testing
