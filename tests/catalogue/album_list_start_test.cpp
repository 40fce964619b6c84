#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalogue/album_list_retrieval.h"
#include "catalogue/session_state.h"
#include "support/recording_window_port.h"
#include "text/encoding.h"

// The button and the refusals of the worker: none of these reach the network.
namespace tamberlo {
namespace {

using Calls = std::vector<std::string>;
using testing::RecordingWindowPort;

Text gbk_of(std::string_view utf8) { return utf8_to_local(utf8); }

class AlbumListStart : public ::testing::Test {
 protected:
  void SetUp() override {
    port.put_browser_cookie_text("NTES_SESS=new; P_INFO=x");
    session.set_browser_cookie_text("old=1");
    session.set_owner_account("earlier");
  }

  RecordingWindowPort port;
  SessionState session;
};

TEST_F(AlbumListStart, EmptyInputIsRefusedWithoutAnyOtherChange) {
  EXPECT_FALSE(start_album_list_retrieval(port, session));
  EXPECT_EQ(port.calls(), (Calls{"message 您输入的内容为空", "set_focus 编辑框_号码"}));
  EXPECT_EQ(port.messages(), std::vector<std::string>{gbk_of("您输入的内容为空")});
  EXPECT_EQ(session.browser_cookie_text(), "old=1");
}

TEST_F(AlbumListStart, InputTakesTheBrowserCookiesAndAnnouncesTheRetrieval) {
  struct Case {
    const char* input;
    int service_choice;
    bool starts_worker;
  };
  // Blanks only are not empty here: the worker refuses them.
  for (const Case& c : {Case{"http://photo.163.com/abc", 0, true}, Case{"   ", 0, true},
                        Case{"http://photo.163.com/abc", 1, false}}) {
    RecordingWindowPort window;
    SessionState state;
    window.put_text(control::kInput, c.input);
    window.put_current_index(control::kServiceChoice, c.service_choice);
    window.put_browser_cookie_text("NTES_SESS=new; P_INFO=x");

    EXPECT_EQ(start_album_list_retrieval(window, state), c.starts_worker) << c.input;
    EXPECT_EQ(window.calls(), (Calls{"set_text 标签_动态 温馨提示：正在获取相册列表...",
                                     "append_log 正努力获取相册列表，耐心等待哈！\\r\\n\\r\\n",
                                     "process_events", "set_visible 画板1 0"}))
        << c.input;
    EXPECT_EQ(window.log(), gbk_of("正努力获取相册列表，耐心等待哈！\r\n\r\n"));
    EXPECT_EQ(state.browser_cookie_text(), "NTES_SESS=new; P_INFO=x");
  }
}

TEST_F(AlbumListStart, InputWithoutAnAcceptedFormEndsWithAnEmptyList) {
  struct Case {
    const char* input_utf8;
    const char* message_utf8;
  };
  for (const Case& c : {Case{"abc", "message 你输入的格式不正确：abc"},
                        Case{"  春游者  ", "message 你输入的格式不正确：春游者"},
                        Case{" \u3000 ", "message 你输入的格式不正确："}}) {
    RecordingWindowPort window;
    window.put_text(control::kInput, gbk_of(c.input_utf8));
    RecordingWindowPort::Row earlier;
    earlier.cells[column::kName] = "x";
    window.put_row(earlier);

    run_album_list_retrieval(window, session);

    EXPECT_EQ(window.calls(),
              (Calls{"set_visible 画板1 1", "set_text 标签_动态 群相册获取中，耐心等待...",
                     "list_clear", "column_width 5 0", "column_width 7 0", c.message_utf8,
                     "set_visible 画板1 0", "set_text 标签_动态 相册获取完毕，共计：0个,",
                     "append_log -----获取完毕,共计0个\\r\\n\\r\\n"}))
        << c.input_utf8;
    EXPECT_TRUE(window.rows().empty());
    EXPECT_EQ(session.owner_account(), "earlier");
  }
}

}  // namespace
}  // namespace tamberlo
