#include "sample-service/proxy_server.h"

#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

#include "sample-service/raw_stream.h"
#include "sample-service/request_head.h"
#include "sample-service/routes.h"

namespace tamberlo::sample {
namespace {

constexpr auto kKeepAlive = std::chrono::seconds(5);
constexpr std::size_t kHeadLimit = 256 * 1024;
// The embedded browser keeps several connections open per proxy, each holding a thread.
constexpr std::size_t kThreads = 64;

// The head of the request that cpp-httplib is processing on this thread, for the routes.
thread_local const RequestHead* current_head = nullptr;

}  // namespace

ProxyServer::ProxyServer(SampleService::State& state) : state_(state) {
  new_task_queue = [] { return new httplib::ThreadPool(kThreads); };
  // cpp-httplib's default also sets SO_REUSEPORT, which would let a second service share a
  // port silently and take half of its connections.
  set_socket_options([](socket_t sock) {
    int on = 1;
    ::setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  });
  auto handler = [this](const httplib::Request& req, httplib::Response& res) {
    if (current_head != nullptr) answer(state_, *current_head, req.body, res);
  };
  Get(".*", handler);
  Post(".*", handler);
  Put(".*", handler);
  Patch(".*", handler);
  Delete(".*", handler);
  Options(".*", handler);
  set_exception_handler([](const httplib::Request&, httplib::Response& res, std::exception_ptr) {
    res.status = 500;
    res.set_content("the sample service failed on this request", "text/plain");
  });
}

bool ProxyServer::process_and_close_socket(socket_t sock) {
  {
    RawStream stream(sock, state_.serving);
    while (state_.serving) {
      auto raw = stream.peek_head(kKeepAlive, kHeadLimit);
      if (!raw) {
        if (stream.head_too_large()) {
          stream.write_all(
              "HTTP/1.1 431 Request Header Fields Too Large\r\nContent-Length: 0\r\n"
              "Connection: close\r\n\r\n");
        }
        break;
      }
      auto head = parse_request_head(std::move(*raw));
      if (!head) {
        stream.write_all(
            "HTTP/1.1 400 Bad Request\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
        break;
      }
      if (int delay = state_.faults.answer_delay_ms; delay > 0) {
        if (!stream.pause(std::chrono::milliseconds(delay))) break;
      }
      RawOutcome outcome = answer_raw(state_, *head, stream);
      if (outcome == RawOutcome::close) break;
      if (outcome == RawOutcome::keep_open) {
        if (head->wants_close()) break;
        continue;
      }
      current_head = &*head;
      bool closed = false;
      bool kept = process_request(stream, false, closed, nullptr);
      current_head = nullptr;
      if (!kept || closed) break;
    }
  }
  ::shutdown(sock, SHUT_RDWR);
  ::close(sock);
  return true;
}

}  // namespace tamberlo::sample
