#include <algorithm>
#include <charconv>
#include <chrono>
#include <string>
#include <thread>

#include "sample-service/routes.h"

namespace tamberlo::sample {
namespace {

int number_param(const RequestHead& head, std::string_view name, int fallback) {
  const std::string text = form_value(head.query, name);
  int value = fallback;
  if (text.empty()) return fallback;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() ? value : fallback;
}

// Waits in short steps so that stopping the service is not held up.
bool wait_serving(const State& state, int ms) {
  auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (state.serving && std::chrono::steady_clock::now() < until) {
    std::this_thread::sleep_for(std::chrono::milliseconds(std::clamp(ms, 1, 20)));
  }
  return state.serving;
}

}  // namespace

RawOutcome answer_test_raw(State& state, const RequestHead& head, RawStream& stream) {
  const std::string& path = head.path;
  if (path != "/_test/echo" && path != "/_test/drop" && path != "/_test/headers" &&
      path != "/_test/big-header") {
    return RawOutcome::not_mine;
  }
  stream.skip(head.raw.size());
  if (head.header("Expect") == "100-continue" && path == "/_test/echo") {
    stream.write_all("HTTP/1.1 100 Continue\r\n\r\n");
  }
  std::string body = read_raw_body(head, stream);
  state.record(head, body);
  if (path == "/_test/drop") return RawOutcome::close;

  std::string header_lines;
  std::string answer_body;
  if (path == "/_test/echo") {
    answer_body = head.raw + body;
    header_lines = "Content-Type: text/plain\r\n";
  } else if (path == "/_test/headers") {
    for (const std::string& line : form_values(head.query, "line")) header_lines += line + "\r\n";
    answer_body = "headers";
  } else {  // big-header
    const int size = std::max(number_param(head, "n", 16384), 8);
    header_lines = "X-Big: " + std::string(static_cast<std::size_t>(size - 7), 'b') +
                   "\r\nSet-Cookie: big=1; Path=/\r\n";
    answer_body = "big-header";
  }
  if (int bytes = state.faults.extra_header_bytes; bytes > 0) {
    header_lines += "X-Padding: " + std::string(static_cast<std::size_t>(bytes), 'p') + "\r\n";
  }
  const bool close = head.wants_close();
  std::string answer = "HTTP/1.1 200 OK\r\n" + header_lines +
                       "Content-Length: " + std::to_string(answer_body.size()) + "\r\n" +
                       (close ? "Connection: close\r\n" : "") + "\r\n" +
                       (head.method == "HEAD" ? std::string() : answer_body);
  if (!stream.write_all(answer)) return RawOutcome::close;
  return close ? RawOutcome::close : RawOutcome::keep_open;
}

bool answer_test(State& state, const RequestHead& head, httplib::Response& res) {
  const std::string& path = head.path;
  if (path == "/_test/status") {
    const int code = number_param(head, "code", 200);
    res.status = code;
    res.set_content("status " + std::to_string(code), "text/plain");
  } else if (path == "/_test/redirect") {
    res.set_redirect(form_value(head.query, "to"), number_param(head, "code", 302));
    res.set_content("redirect", "text/plain");
  } else if (path == "/_test/slow") {
    const int ms = number_param(head, "ms", 1000);
    wait_serving(state, ms);
    res.set_content("slow " + std::to_string(ms), "text/plain");
  } else if (path == "/_test/trickle") {
    const auto bytes = static_cast<std::size_t>(std::max(number_param(head, "bytes", 1024), 0));
    const auto chunk = static_cast<std::size_t>(std::max(number_param(head, "chunk", 64), 1));
    const int ms = std::max(number_param(head, "ms", 100), 0);
    res.set_content_provider(
        bytes, "text/plain",
        [&state, chunk, ms](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
          if (offset > 0 && !wait_serving(state, ms)) return false;
          std::string piece(std::min(chunk, length), 'a');
          return sink.write(piece.data(), piece.size());
        });
  } else if (path == "/_test/bytes") {
    const auto n = static_cast<std::size_t>(std::max(number_param(head, "n", 0), 0));
    std::string bytes(n, '\0');
    for (std::size_t i = 0; i < n; ++i) bytes[i] = static_cast<char>((i * 7 + 3) & 0xFF);
    res.set_content(std::move(bytes), "application/octet-stream");
  } else if (path == "/_test/cookies") {
    std::string cookies;
    for (const std::string& value : head.headers_named("Cookie")) {
      cookies += (cookies.empty() ? "" : "; ") + value;
    }
    res.set_content(cookies, "text/plain");
  } else {
    return false;
  }
  return true;
}

}  // namespace tamberlo::sample
