#include "sample-service/raw_stream.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cstring>
#include <thread>

namespace tamberlo::sample {
namespace {

constexpr auto kStep = std::chrono::milliseconds(50);
constexpr auto kReadLimit = std::chrono::seconds(10);

void describe(const sockaddr_storage& address, std::string& ip, int& port) {
  char text[INET6_ADDRSTRLEN] = {};
  if (address.ss_family == AF_INET) {
    const auto& v4 = reinterpret_cast<const sockaddr_in&>(address);
    inet_ntop(AF_INET, &v4.sin_addr, text, sizeof text);
    port = ntohs(v4.sin_port);
  } else if (address.ss_family == AF_INET6) {
    const auto& v6 = reinterpret_cast<const sockaddr_in6&>(address);
    inet_ntop(AF_INET6, &v6.sin6_addr, text, sizeof text);
    port = ntohs(v6.sin6_port);
  }
  ip = text;
}

}  // namespace

RawStream::RawStream(int sock, const std::atomic<bool>& serving) : sock_(sock), serving_(serving) {}

bool RawStream::wait_readable(std::chrono::milliseconds limit) const {
  auto waited = std::chrono::milliseconds(0);
  while (serving_) {
    pollfd entry{sock_, POLLIN, 0};
    auto step = std::min(kStep, limit - waited);
    int ready = ::poll(&entry, 1, static_cast<int>(step.count()));
    if (ready > 0) return true;
    if (ready < 0 && errno != EINTR) return false;
    waited += step;
    if (waited >= limit) return false;
  }
  return false;
}

bool RawStream::fill(std::chrono::milliseconds limit) {
  if (!wait_readable(limit)) return false;
  char chunk[16384];
  ssize_t got = ::recv(sock_, chunk, sizeof chunk, 0);
  if (got <= 0) return false;
  if (offset_ == buffer_.size() || offset_ > 65536) {
    buffer_.erase(0, offset_);
    offset_ = 0;
  }
  buffer_.append(chunk, static_cast<std::size_t>(got));
  return true;
}

bool RawStream::is_readable() const {
  return offset_ < buffer_.size() || wait_readable(kReadLimit);
}

bool RawStream::is_writable() const {
  pollfd entry{sock_, POLLOUT, 0};
  return ::poll(&entry, 1, 10000) > 0 && (entry.revents & POLLOUT);
}

ssize_t RawStream::read(char* ptr, size_t size) {
  if (offset_ >= buffer_.size() && !fill(kReadLimit)) return -1;
  std::size_t count = std::min(size, buffer_.size() - offset_);
  std::memcpy(ptr, buffer_.data() + offset_, count);
  offset_ += count;
  return static_cast<ssize_t>(count);
}

ssize_t RawStream::write(const char* ptr, size_t size) {
  if (!is_writable()) return -1;
  return ::send(sock_, ptr, size, MSG_NOSIGNAL);
}

void RawStream::get_remote_ip_and_port(std::string& ip, int& port) const {
  sockaddr_storage address{};
  socklen_t length = sizeof address;
  if (::getpeername(sock_, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
    describe(address, ip, port);
  }
}

void RawStream::get_local_ip_and_port(std::string& ip, int& port) const {
  sockaddr_storage address{};
  socklen_t length = sizeof address;
  if (::getsockname(sock_, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
    describe(address, ip, port);
  }
}

std::optional<std::string> RawStream::peek_head(std::chrono::milliseconds idle_limit,
                                                std::size_t max_bytes) {
  head_too_large_ = false;
  std::size_t scanned = 0;  // bytes after offset_ searched already; fill() may move offset_
  for (;;) {
    auto end = buffer_.find("\r\n\r\n", offset_ + (scanned > 3 ? scanned - 3 : 0));
    if (end != std::string::npos) return buffer_.substr(offset_, end + 4 - offset_);
    scanned = buffer_.size() - offset_;
    if (buffer_.size() - offset_ > max_bytes) {
      head_too_large_ = true;
      return std::nullopt;
    }
    // The first byte may take as long as a kept-alive connection stays open; the rest of a
    // head that has begun arrives quickly or not at all.
    if (!fill(buffer_.size() == offset_ ? idle_limit : std::chrono::milliseconds(kReadLimit))) {
      return std::nullopt;
    }
  }
}

void RawStream::skip(std::size_t count) { offset_ = std::min(buffer_.size(), offset_ + count); }

std::string RawStream::read_bytes(std::size_t count) {
  std::string out;
  out.reserve(count);
  while (out.size() < count) {
    if (offset_ >= buffer_.size() && !fill(kReadLimit)) break;
    std::size_t take = std::min(count - out.size(), buffer_.size() - offset_);
    out.append(buffer_, offset_, take);
    offset_ += take;
  }
  return out;
}

std::string RawStream::read_line() {
  std::string line;
  for (;;) {
    if (offset_ >= buffer_.size() && !fill(kReadLimit)) return line;
    char c = buffer_[offset_++];
    line += c;
    if (c == '\n') return line;
  }
}

std::string RawStream::read_chunked_raw() {
  std::string raw;
  for (;;) {
    std::string size_line = read_line();
    if (size_line.empty()) return raw;
    raw += size_line;
    std::size_t size = std::strtoul(size_line.c_str(), nullptr, 16);
    if (size == 0) {
      // Trailer lines, then the blank line that ends the body.
      for (;;) {
        std::string trailer = read_line();
        raw += trailer;
        if (trailer.empty() || trailer == "\r\n") return raw;
      }
    }
    raw += read_bytes(size + 2);
  }
}

bool RawStream::write_all(std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t sent = write(bytes.data(), bytes.size());
    if (sent <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(sent));
  }
  return true;
}

bool RawStream::pause(std::chrono::milliseconds duration) const {
  auto until = std::chrono::steady_clock::now() + duration;
  while (serving_ && std::chrono::steady_clock::now() < until) {
    std::this_thread::sleep_for(std::min(
        kStep, std::chrono::duration_cast<std::chrono::milliseconds>(
                   until - std::chrono::steady_clock::now() + std::chrono::milliseconds(1))));
  }
  return serving_;
}

}  // namespace tamberlo::sample
