#include "sample-service/gbk.h"

#include <iconv.h>

#include <cerrno>
#include <memory>

namespace tamberlo::sample {

std::string gbk(std::string_view utf8) {
  auto closer = [](iconv_t handle) { iconv_close(handle); };
  std::unique_ptr<void, decltype(closer)> handle(iconv_open("CP936", "UTF-8"), closer);
  if (handle.get() == reinterpret_cast<iconv_t>(-1)) return std::string(utf8);
  std::string out;
  std::string input(utf8);
  char* in = input.data();
  std::size_t in_left = input.size();
  char buffer[4096];
  while (in_left > 0) {
    char* outp = buffer;
    std::size_t out_left = sizeof buffer;
    std::size_t result = iconv(handle.get(), &in, &in_left, &outp, &out_left);
    out.append(buffer, sizeof buffer - out_left);
    if (result == static_cast<std::size_t>(-1) && errno != E2BIG) {
      // A character GBK cannot hold (or broken UTF-8) becomes "?", as the system's own
      // conversion would make it.
      out += '?';
      ++in;
      --in_left;
      while (in_left > 0 && (static_cast<unsigned char>(*in) & 0xC0) == 0x80) {
        ++in;
        --in_left;
      }
    }
  }
  return out;
}

}  // namespace tamberlo::sample
