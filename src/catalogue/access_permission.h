#pragma once

namespace tamberlo {

class SessionState;
class WindowPort;

// A double-click on the album list, on the window thread. A row the service withholds
// ("双击获取权限") opens the album's page in the browser on the login page, so the user can gain
// access there, and becomes the pending permission (编辑框_权限_id, 编辑框_权限_行号). Any
// other row, or none, changes nothing.
void on_album_list_double_click(WindowPort& port, const SessionState& session);

// The "已经取得进入相册权限" button, on the window thread: asks the service again for the album
// named by the address box (aid=...) and writes a granted address into the pending row; shows
// "获取失败" otherwise. Either way the catalogue page becomes current and the pending
// permission is emptied. The request holds the calling thread until it is answered.
void on_access_granted_button(WindowPort& port);

}  // namespace tamberlo
