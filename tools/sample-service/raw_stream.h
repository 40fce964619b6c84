#pragma once

#include <httplib.h>

#include <atomic>
#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tamberlo::sample {

// One accepted connection. The service looks at each request's head before cpp-httplib reads
// it, so some answers (the echo, a dropped connection, raw header lines) can be written by hand;
// bytes taken in ahead are kept and handed to whoever reads next.
class RawStream final : public httplib::Stream {
 public:
  RawStream(int sock, const std::atomic<bool>& serving);

  bool is_readable() const override;
  bool is_writable() const override;
  ssize_t read(char* ptr, size_t size) override;
  ssize_t write(const char* ptr, size_t size) override;
  void get_remote_ip_and_port(std::string& ip, int& port) const override;
  void get_local_ip_and_port(std::string& ip, int& port) const override;
  int socket() const override { return sock_; }

  // The next request's head up to and with its blank line, left unread; nullopt when the peer
  // closed or went quiet for `idle_limit`, the head grew beyond `max_bytes`, or serving ended.
  std::optional<std::string> peek_head(std::chrono::milliseconds idle_limit, std::size_t max_bytes);
  bool head_too_large() const { return head_too_large_; }
  void skip(std::size_t count);
  // Exactly `count` bytes, fewer when the peer stops sending.
  std::string read_bytes(std::size_t count);
  // A chunked body as it came, from the first chunk line through the final blank line.
  std::string read_chunked_raw();
  bool write_all(std::string_view bytes);
  // Waits in small steps so that stopping the service is never held up for long.
  bool pause(std::chrono::milliseconds duration) const;

 private:
  bool wait_readable(std::chrono::milliseconds limit) const;
  bool fill(std::chrono::milliseconds limit);
  std::string read_line();

  int sock_;
  const std::atomic<bool>& serving_;
  std::string buffer_;
  std::size_t offset_ = 0;
  bool head_too_large_ = false;
};

}  // namespace tamberlo::sample
