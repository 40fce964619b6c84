#pragma once

namespace tamberlo {

class SessionState;
class TransferGate;
class WindowPort;

// The "2:获取相册" button, on the window thread: refuses an empty input, takes the browser's
// cookie text for later downloads, and announces the retrieval. Returns true when the front end
// is to run run_album_list_retrieval() on a worker thread (only the first service of 组合框1
// has a retrieval).
bool start_album_list_retrieval(WindowPort& port, SessionState& session);

// The retrieval worker: owner account, home page, album-list script, one row per album with
// optional cover and access probe, progress and total. Stops at once, without touching the
// window again, when port.wait() reports the task cancelled. A gate, when given, lets the
// front end break off a request in flight as well (cancel it when the window closes).
void run_album_list_retrieval(WindowPort& port, SessionState& session,
                              TransferGate* gate = nullptr);

}  // namespace tamberlo
