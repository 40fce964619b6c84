#include "catalogue/album_list_retrieval.h"

#include <string>

#include "catalogue/album_protocol.h"
#include "catalogue/catalogue_requests.h"
#include "catalogue/gbk_literal.h"
#include "catalogue/session_state.h"
#include "catalogue/window_port.h"

namespace tamberlo {
namespace {

constexpr int kHomePagePauseMs = 1000;
constexpr int kAlbumPagePauseMs = 100;
constexpr int kRowPauseMs = 100;
constexpr int kCoverColumnWidth = 100;

struct RetrievalTexts {
  Text empty_input = gbk("您输入的内容为空");
  Text fetching_caption = gbk("温馨提示：正在获取相册列表...");
  Text fetching_log = gbk("正努力获取相册列表，耐心等待哈！\r\n\r\n");
  Text working_caption = gbk("群相册获取中，耐心等待...");
  Text bad_input = gbk("你输入的格式不正确：");
  Text album_line_start = gbk("获取相册《");
  Text album_line_middle = gbk("》---有");
  Text album_line_end = gbk("张照片\r\n");
  Text needs_access = gbk("双击获取权限");
  Text granted = gbk("已取得");
  Text total_caption_start = gbk("相册获取完毕，共计：");
  Text total_caption_end = gbk("个,");
  Text total_log_start = gbk("-----获取完毕,共计");
  Text total_log_end = gbk("个\r\n\r\n");
};

const RetrievalTexts& texts() {
  static const RetrievalTexts instance;
  return instance;
}

// The percentage is computed as the bar would show it: position over maximum in floating point,
// the fraction dropped.
Text percentage_caption(int position, int maximum) {
  const double percent = static_cast<double>(position) / maximum * 100;
  return std::to_string(static_cast<int>(percent)) + "%";
}

// Fills one row. False when the task was cancelled on the way.
bool add_album_row(WindowPort& port, const AlbumRecord& record, const Text& owner_account,
                   int record_number, int record_total, TransferGate* gate) {
  port.append_log(texts().album_line_start + record.name + texts().album_line_middle +
                  record.count + texts().album_line_end);

  // On the user's own list an album the list withholds may still be granted by the remote
  // call once the browser has opened the album's page.
  Text data_address = record.data_address;
  if (data_address.empty() && port.is_ticked(control::kOwnAlbums)) {
    port.browser_set_address(album_page_address(owner_account, record.id));
    if (!port.wait(kAlbumPagePauseMs)) return false;
    data_address = fetch_granted_data_address(record.id, gate);
    port.append_log(data_address + "\r\n");
  }

  port.set_progress_maximum(record_total);
  port.set_progress_position(record_number);
  port.set_text(control::kProgressPercent, percentage_caption(record_number, record_total));
  if (!port.wait(kRowPauseMs)) return false;

  int row = 0;
  if (port.is_ticked(control::kWithCovers)) {
    port.list_set_column_width(column::kCover, kCoverColumnWidth);
    const Bytes picture = fetch_cover(cover_address(record.cover_path), gate);
    row = port.list_append_row();
    port.list_set_cell(row, column::kSerial, std::to_string(row + 1));
    port.list_set_cell(row, column::kName, record.name);
    port.list_set_cover(row, picture);
  } else {
    port.list_set_column_width(column::kCover, 0);
    row = port.list_append_row();
    port.list_set_cell(row, column::kSerial, std::to_string(row + 1));
    port.list_set_cell(row, column::kName, record.name);
  }

  port.list_set_cell(row, column::kCount, record.count);
  port.list_set_cell(row, column::kAlbumId, record.id);
  port.list_set_cell(row, column::kDataAddress, data_address);
  if (data_address.empty()) {
    port.list_set_cell(row, column::kAccess, texts().needs_access);
    port.list_set_tick(row, 0);
  } else {
    port.list_set_cell(row, column::kAccess, texts().granted);
    port.list_set_tick(row, 1);
  }
  port.process_events();
  return true;
}

void show_total(WindowPort& port) {
  port.set_visible(control::kCoverCanvas, false);
  const std::string total = std::to_string(port.list_row_count());
  port.set_text(control::kStatus, texts().total_caption_start + total + texts().total_caption_end);
  port.append_log(texts().total_log_start + total + texts().total_log_end);
}

}  // namespace

bool start_album_list_retrieval(WindowPort& port, SessionState& session) {
  // Only a truly empty box is refused here; blanks go on and are refused by the worker.
  if (port.text(control::kInput).empty()) {
    port.show_message(texts().empty_input);
    port.set_focus(control::kInput);
    return false;
  }
  session.set_browser_cookie_text(port.browser_cookie_text());
  port.set_text(control::kStatus, texts().fetching_caption);
  port.append_log(texts().fetching_log);
  const bool start_worker = port.current_index(control::kServiceChoice) == 0;
  port.process_events();
  port.set_visible(control::kCoverCanvas, false);
  return start_worker;
}

void run_album_list_retrieval(WindowPort& port, SessionState& session, TransferGate* gate) {
  port.set_visible(control::kCoverCanvas, true);
  port.set_text(control::kStatus, texts().working_caption);
  port.list_clear();

  const Text album_input = trim_text(port.text(control::kInput));
  port.list_set_column_width(column::kAlbumId, 0);
  port.list_set_column_width(column::kDataAddress, 0);

  const OwnerAccount owner = owner_account_from_input(album_input);
  if (!owner.accepted) {
    // Nothing was worked out, so the owner account keeps its earlier value.
    port.show_message(texts().bad_input + album_input);
    show_total(port);
    return;
  }
  session.set_owner_account(owner.account);

  const Text home_page = fetch_owner_home_page(owner.account, gate);
  if (!port.wait(kHomePagePauseMs)) return;

  // A home page without the marker names no list: asking for an empty address could only fail.
  const Text list_address = album_list_address(home_page);
  const Text album_list = list_address.empty() ? Text() : fetch_album_list(list_address, gate);

  const std::vector<AlbumRecord> records = read_album_records(album_list);
  const int record_total = static_cast<int>(records.size());
  port.set_progress_position(0);
  for (int index = 0; index < record_total; ++index) {
    if (!add_album_row(port, records[index], owner.account, index + 1, record_total, gate)) {
      return;
    }
  }
  show_total(port);
}

}  // namespace tamberlo
