#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalogue/access_permission.h"
#include "catalogue/album_list_retrieval.h"
#include "catalogue/session_state.h"
#include "catalogue_service.h"
#include "support/recording_window_port.h"
#include "support/sample_service_environment.h"
#include "text/encoding.h"

// The permission route against the sample service: the list comes from a real retrieval, the
// user's access is gained with the requests the browser would make.
namespace tamberlo {
namespace {

using Calls = std::vector<std::string>;
using testing::RecordingWindowPort;

constexpr const char* kFamilyAddress = "s1.ph.126.net/photo/abc/data/1002.js";

class AccessButton : public ::testing::Test {
 protected:
  void SetUp() override {
    catalogue_test::reset_service();
    port.put_text(control::kInput, "http://photo.163.com/abc/");
    run_album_list_retrieval(port, session);
    ASSERT_EQ(port.rows().size(), 3u);
  }

  // The user double-clicks row 1 (家人 合影, withheld).
  void double_click_family_row() {
    port.put_current_row(1);
    on_album_list_double_click(port, session);
    ASSERT_EQ(port.text(control::kPendingRow), "1");
    port.clear_calls();
  }

  RecordingWindowPort port;
  SessionState session;
};

TEST_F(AccessButton, GrantedAfterTheUserUnlockedTheAlbumInTheBrowser) {
  double_click_family_row();
  catalogue_test::unlock_album("abc", "1002", "1234");
  on_access_granted_button(port);

  EXPECT_EQ(port.calls(),
            (Calls{"wait 100", "cell 1 6 已取得", std::string("cell 1 7 ") + kFamilyAddress,
                   "set_current_index 选择夹1 1", "current_row 1", "set_text 编辑框_权限_id ",
                   "set_text 编辑框_权限_行号 "}));
  const auto row = port.rows()[1];
  EXPECT_EQ(row.cells[column::kAccess], utf8_to_local("已取得"));
  EXPECT_EQ(row.cells[column::kDataAddress], kFamilyAddress);
  EXPECT_EQ(row.tick, 0);  // the user ticks it
}

TEST_F(AccessButton, StillWithheldShowsFailureAndEmptiesThePendingPermission) {
  double_click_family_row();
  on_access_granted_button(port);

  EXPECT_EQ(port.calls(), (Calls{"wait 100", "message 获取失败", "set_current_index 选择夹1 1",
                                 "set_text 编辑框_权限_id ", "set_text 编辑框_权限_行号 "}));
  EXPECT_EQ(port.rows()[1].cells[column::kAccess], utf8_to_local("双击获取权限"));
  EXPECT_EQ(port.rows()[1].cells[column::kDataAddress], "");
}

TEST_F(AccessButton, AddressBoxMovedToAnotherAlbumAsksForThatAlbum) {
  double_click_family_row();
  catalogue_test::log_in();
  port.put_text(control::kAddress, "http://photo.163.com/abc/#m=1&aid=1003&p=1");
  on_access_granted_button(port);

  EXPECT_EQ(port.rows()[1].cells[column::kDataAddress], "s1.ph.126.net/photo/abc/data/1003.js");
}

// A granted address written by index into a row that is not the pending album would later
// download that album's photos under another album's name.
TEST_F(AccessButton, GrantedAddressWithoutItsPendingRowIsNotWrittenAnywhere) {
  catalogue_test::unlock_album("abc", "1002", "1234");
  struct Case {
    const char* what;
    const char* pending_id;
    const char* pending_row;
  };
  for (const Case& c : {Case{"nothing pending", "", ""}, Case{"row gone", "1002", "5"},
                        Case{"list rebuilt", "1002", "0"}, Case{"not a number", "1002", "x1"}}) {
    port.put_text(control::kAddress, "http://photo.163.com/abc/#m=1&aid=1002&p=1");
    port.put_text(control::kPendingId, c.pending_id);
    port.put_text(control::kPendingRow, c.pending_row);
    const auto rows_before = port.rows();
    port.clear_calls();
    on_access_granted_button(port);

    EXPECT_EQ(port.calls(), (Calls{"wait 100", "message 获取失败", "set_current_index 选择夹1 1",
                                   "set_text 编辑框_权限_id ", "set_text 编辑框_权限_行号 "}))
        << c.what;
    for (std::size_t row = 0; row < rows_before.size(); ++row) {
      EXPECT_EQ(port.rows()[row].cells, rows_before[row].cells) << c.what;
    }
  }
}

TEST_F(AccessButton, CancelledWaitAsksNothing) {
  double_click_family_row();
  test::sample_service().clear_received();
  port.on_wait([](int) { return false; });
  on_access_granted_button(port);

  EXPECT_EQ(port.calls(), (Calls{"wait 100"}));
  EXPECT_TRUE(test::sample_service().received().empty());
  EXPECT_EQ(port.text(control::kPendingRow), "1");
}

}  // namespace
}  // namespace tamberlo
