#pragma once

#include <string>
#include <string_view>

// The engines (album list, access permission, download) never touch widgets. Everything they
// show or read of the window goes through this port, named by the controls of the main window,
// in the order the engine performs it. The window implements it with queued calls onto the
// window thread; the command-line front end implements it with a terminal and an in-memory list.
// Texts are GBK byte strings.
namespace tamberlo {

// Control names, as the main window names its widgets (UTF-8 source text).
namespace control {
inline constexpr std::string_view kInput = "编辑框_号码";
inline constexpr std::string_view kOwnAlbums = "选择框_自己的";
inline constexpr std::string_view kWithCovers = "选择框_有封面";
inline constexpr std::string_view kServiceChoice = "组合框1";
inline constexpr std::string_view kStatus = "标签_动态";
inline constexpr std::string_view kLog = "编辑框_操作记录";
inline constexpr std::string_view kAlbumList = "超级列表框1";
inline constexpr std::string_view kCoverCanvas = "画板1";
inline constexpr std::string_view kProgressBar = "进度条1";
inline constexpr std::string_view kProgressPercent = "标签_进度条比例";
inline constexpr std::string_view kAlbumsChosen = "标签_选择了相册数量";
inline constexpr std::string_view kAlbumInHand = "标签_正在下载相册";
inline constexpr std::string_view kPhotoInHand = "标签_第多少张照片";
inline constexpr std::string_view kSaveLocation = "编辑框_保存位置";
inline constexpr std::string_view kAddress = "编辑框_url";
inline constexpr std::string_view kPendingId = "编辑框_权限_id";
inline constexpr std::string_view kPendingRow = "编辑框_权限_行号";
inline constexpr std::string_view kDownloadButton = "按钮_下载选中";
inline constexpr std::string_view kPauseButton = "按钮_暂停线程";
inline constexpr std::string_view kResumeButton = "按钮_继续下载";
inline constexpr std::string_view kBrowser = "超文本浏览框1";
inline constexpr std::string_view kTabs = "选择夹1";
}  // namespace control

// Columns of the album list.
namespace column {
inline constexpr int kTick = 0;
inline constexpr int kSerial = 1;
inline constexpr int kName = 2;
inline constexpr int kCover = 3;
inline constexpr int kCount = 4;
inline constexpr int kAlbumId = 5;
inline constexpr int kAccess = 6;
inline constexpr int kDataAddress = 7;
}  // namespace column

class WindowPort {
 public:
  virtual ~WindowPort() = default;

  // Captions of labels and buttons, texts of edit boxes.
  virtual void set_text(std::string_view control, const std::string& text) = 0;
  virtual std::string text(std::string_view control) = 0;
  virtual void set_visible(std::string_view control, bool visible) = 0;
  virtual void set_focus(std::string_view control) = 0;
  virtual bool is_ticked(std::string_view check_box) = 0;
  virtual int current_index(std::string_view control) = 0;  // combo box entry, or tab page
  virtual void set_current_index(std::string_view control, int index) = 0;

  // The operation log: the text goes to its end unchanged ("\r\n" included).
  virtual void append_log(const std::string& text) = 0;

  // The progress bar.
  virtual void set_progress_maximum(int maximum) = 0;
  virtual void set_progress_position(int position) = 0;

  // The album list. Rows are numbered from 0; a tick is 1, no tick 0.
  // Every row goes, and the covers drawn for them: the next covers start a new image group.
  virtual void list_clear() = 0;
  virtual int list_append_row() = 0;  // returns the new row's index
  virtual int list_row_count() = 0;
  virtual void list_set_cell(int row, int column, const std::string& text) = 0;
  virtual std::string list_cell(int row, int column) = 0;
  virtual void list_set_tick(int row, int tick) = 0;
  virtual int list_tick(int row) = 0;
  virtual int list_current_row() = 0;  // -1 when there is none
  virtual void list_set_current_row(int row) = 0;
  virtual void list_set_column_width(int column, int width) = 0;
  // The cover of a row: the picture's bytes as the image host sent them; empty or
  // undecodable bytes leave the picture that was drawn last.
  virtual void list_set_cover(int row, const std::string& picture_bytes) = 0;

  // The embedded browser.
  virtual void browser_set_address(const std::string& url) = 0;
  virtual std::string browser_cookie_text() = 0;

  // A message box with the caption "信息：" and an OK button only.
  virtual void show_message(const std::string& text) = 0;

  // Every pause of the engines goes through here. False when the task was cancelled (the
  // window is closing): the engine then stops at the next safe point.
  virtual bool wait(int milliseconds) = 0;
  // Lets pending window events run once (nothing to do on a worker thread).
  virtual void process_events() = 0;
};

}  // namespace tamberlo
