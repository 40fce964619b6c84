#include "download/download_batch.h"

#include <string>

#include "catalogue/gbk_literal.h"
#include "catalogue/window_port.h"
#include "http/transfer_gate.h"

namespace tamberlo {
namespace {

void show_buttons(WindowPort& port, bool download, bool pause, bool resume) {
  port.set_visible(control::kDownloadButton, download);
  port.set_visible(control::kPauseButton, pause);
  port.set_visible(control::kResumeButton, resume);
}

struct Snapshot {
  std::vector<Text> jobs;
  Text ticked_numbers;
};

Snapshot read_ticked_rows(WindowPort& port) {
  Snapshot snapshot;
  const int rows = port.list_row_count();
  for (int row = 0; row < rows; ++row) {
    if (port.list_tick(row) != 1) continue;
    snapshot.ticked_numbers += port.list_cell(row, column::kSerial) + gbk("、");
    AlbumJob job;
    job.listed_count = port.list_cell(row, column::kCount);
    job.data_address = port.list_cell(row, column::kDataAddress);
    job.album_id = port.list_cell(row, column::kAlbumId);
    job.album_name = trim_text(port.list_cell(row, column::kName));
    // Albums whose access has not been obtained have no address yet and are passed over.
    if (!job.data_address.empty() && !job.listed_count.empty()) {
      snapshot.jobs.push_back(join_job(job));
    }
    port.process_events();
  }
  return snapshot;
}

Text totals_text(const BatchResult& result) {
  Text text = gbk("共保存照片") + std::to_string(result.photos_saved) + gbk("张，失败") +
              std::to_string(result.photos_failed) + gbk("张");
  if (result.albums_failed > 0) {
    text += gbk("，") + std::to_string(result.albums_failed) + gbk("个相册未能下载");
  }
  return text;
}

}  // namespace

Text join_job(const AlbumJob& job) {
  Text text = job.listed_count;
  for (const Text* field : {&job.data_address, &job.album_name, &job.album_id}) {
    text.append(kJobSeparator).append(*field);
  }
  return text;
}

AlbumJob split_job(std::string_view job_text) {
  std::vector<Text> fields = split_text(job_text, kJobSeparator);
  fields.resize(4);
  return AlbumJob{fields[0], fields[1], fields[2], fields[3]};
}

BatchResult download_batch(DownloadContext& context) {
  WindowPort& port = context.port;
  const Snapshot snapshot = read_ticked_rows(port);
  if (snapshot.ticked_numbers.empty()) {
    port.append_log(gbk("当前未选择任何相册") + "\r\n\r\n");
  } else {
    port.append_log(gbk("当前被选择相册编号:") + snapshot.ticked_numbers + "\r\n\r\n");
  }
  BatchResult result;
  result.albums = static_cast<int>(snapshot.jobs.size());
  port.set_text(control::kAlbumsChosen,
                gbk("总共需下载[") + std::to_string(result.albums) + gbk("]个相册"));

  for (int k = 1; k <= result.albums; ++k) {
    port.set_text(control::kAlbumInHand, gbk("下载到第[") + std::to_string(k) + gbk("]个相册"));
    const AlbumResult album =
        download_album(split_job(snapshot.jobs[static_cast<std::size_t>(k - 1)]), context);
    result.photos_saved += album.photos_saved;
    result.photos_failed += album.photos_failed;
    if (album.failed() && !album.cancelled) ++result.albums_failed;
    if (album.cancelled) {
      // The window is going away: nothing more is shown.
      result.cancelled = true;
      return result;
    }
  }

  show_buttons(port, true, false, false);
  port.append_log(gbk("-------全部下载完毕--------") + "\r\n\r\n");
  port.append_log(totals_text(result) + "\r\n\r\n");
  port.set_text(control::kPhotoInHand, gbk("下载完成"));
  port.show_message(gbk("全部下载完毕") + "\r\n" + totals_text(result));
  return result;
}

void on_download_start(WindowPort& port) { show_buttons(port, false, true, false); }

void on_pause(WindowPort& port, TransferGate& gate) {
  show_buttons(port, false, false, true);
  gate.pause();
}

void on_resume(WindowPort& port, TransferGate& gate) {
  show_buttons(port, false, true, false);
  gate.resume();
}

}  // namespace tamberlo
