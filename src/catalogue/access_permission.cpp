#include "catalogue/access_permission.h"

#include <algorithm>
#include <string>

#include "catalogue/album_protocol.h"
#include "catalogue/catalogue_requests.h"
#include "catalogue/gbk_literal.h"
#include "catalogue/session_state.h"
#include "catalogue/window_port.h"

namespace tamberlo {
namespace {

constexpr int kLoginPage = 0;
constexpr int kCataloguePage = 1;
constexpr int kButtonPauseMs = 100;

const Text& needs_access_text() {
  static const Text text = gbk("双击获取权限");
  return text;
}

// The row the pending permission names, or -1. The list may have been rebuilt since the
// double-click, or the button pressed with nothing pending: a granted address then belongs to
// no row, and writing it into whatever row has that index would download another album under
// this one's name.
int pending_row(WindowPort& port) {
  const std::string row_text = port.text(control::kPendingRow);
  if (row_text.empty() ||
      !std::all_of(row_text.begin(), row_text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return -1;
  }
  const int row = leading_integer(row_text);
  if (row >= port.list_row_count()) return -1;
  if (port.list_cell(row, column::kAlbumId) != port.text(control::kPendingId)) return -1;
  return row;
}

}  // namespace

void on_album_list_double_click(WindowPort& port, const SessionState& session) {
  const int row = port.list_current_row();
  if (row < 0) return;
  if (port.list_cell(row, column::kAccess) != needs_access_text()) return;

  const Text album_id = port.list_cell(row, column::kAlbumId);
  const Text address = album_page_address(session.owner_account(), album_id);
  port.set_text(control::kAddress, address);
  port.browser_set_address(address);
  port.set_current_index(control::kTabs, kLoginPage);
  port.set_text(control::kPendingId, album_id);
  port.set_text(control::kPendingRow, std::to_string(row));
}

void on_access_granted_button(WindowPort& port) {
  static const Text granted = gbk("已取得");
  static const Text failed = gbk("获取失败");

  if (!port.wait(kButtonPauseMs)) return;
  // The album comes from the address box, not from the pending id: a user who moved the
  // browser on to another album's page asks for that album.
  const Text album_id = text_between(port.text(control::kAddress), "aid=", "&");
  const Text data_address = fetch_granted_data_address(album_id);

  const int row = data_address.empty() ? -1 : pending_row(port);
  if (row >= 0) {
    port.list_set_cell(row, column::kAccess, granted);
    port.list_set_cell(row, column::kDataAddress, data_address);
    port.set_current_index(control::kTabs, kCataloguePage);
    port.list_set_current_row(row);
  } else {
    port.show_message(failed);
    port.set_current_index(control::kTabs, kCataloguePage);
  }
  port.set_text(control::kPendingId, Text());
  port.set_text(control::kPendingRow, Text());
}

}  // namespace tamberlo
