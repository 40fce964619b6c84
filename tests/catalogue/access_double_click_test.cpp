#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalogue/access_permission.h"
#include "catalogue/service_hosts.h"
#include "catalogue/session_state.h"
#include "support/recording_window_port.h"
#include "text/encoding.h"

namespace tamberlo {
namespace {

using Calls = std::vector<std::string>;
using testing::RecordingWindowPort;

RecordingWindowPort::Row row_of(const char* album_id, const char* access_utf8) {
  RecordingWindowPort::Row row;
  row.cells[column::kAlbumId] = album_id;
  row.cells[column::kAccess] = utf8_to_local(access_utf8);
  return row;
}

class AccessDoubleClick : public ::testing::Test {
 protected:
  void SetUp() override {
    set_service_hosts(ServiceHosts{});
    session.set_owner_account("abc");
    port.put_row(row_of("100", "已取得"));
    port.put_row(row_of("123", "双击获取权限"));
    port.put_text(control::kAddress, "http://photo.163.com/");
  }

  RecordingWindowPort port;
  SessionState session;
};

TEST_F(AccessDoubleClick, WithheldRowOpensTheAlbumPageAndBecomesPending) {
  port.put_current_row(1);
  on_album_list_double_click(port, session);
  EXPECT_EQ(port.calls(), (Calls{"set_text 编辑框_url http://photo.163.com/abc/#m=1&aid=123&p=1",
                                 "browser http://photo.163.com/abc/#m=1&aid=123&p=1",
                                 "set_current_index 选择夹1 0", "set_text 编辑框_权限_id 123",
                                 "set_text 编辑框_权限_行号 1"}));
}

TEST_F(AccessDoubleClick, GrantedRowOrNoRowChangesNothing) {
  for (int current_row : {0, -1, 7}) {
    port.put_current_row(current_row);
    on_album_list_double_click(port, session);
    EXPECT_TRUE(port.calls().empty()) << current_row;
    EXPECT_EQ(port.text(control::kAddress), "http://photo.163.com/");
    EXPECT_EQ(port.text(control::kPendingRow), "");
  }
}

}  // namespace
}  // namespace tamberlo
