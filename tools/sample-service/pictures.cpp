#include "sample-service/pictures.h"

// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <vector>

namespace tamberlo::sample {
namespace {

constexpr int kWidth = 96;
constexpr int kHeight = 64;
constexpr std::size_t kMaxCommentPayload = 65533;  // a segment length counts its own two bytes

std::string comment_segment(std::string_view payload) {
  std::string segment = "\xFF\xFE";
  std::size_t length = payload.size() + 2;
  segment += static_cast<char>(length >> 8);
  segment += static_cast<char>(length & 0xFF);
  segment += payload;
  return segment;
}

}  // namespace

std::string make_jpeg(std::uint32_t rgb, int variant) {
  std::vector<unsigned char> pixels(kWidth * kHeight * 3);
  const int band = (variant * 11) % kWidth;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      bool light = x >= band && x < band + 12;
      unsigned char* p = &pixels[(y * kWidth + x) * 3];
      p[0] = light ? 255 : static_cast<unsigned char>(rgb >> 16);
      p[1] = light ? 255 : static_cast<unsigned char>(rgb >> 8);
      p[2] = light ? 255 : static_cast<unsigned char>(rgb);
    }
  }

  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  errors.error_exit = [](j_common_ptr) { throw std::runtime_error("the picture cannot be made"); };
  jpeg_create_compress(&info);
  auto destroy = [](jpeg_compress_struct* p) { jpeg_destroy_compress(p); };
  std::unique_ptr<jpeg_compress_struct, decltype(destroy)> guard(&info, destroy);

  unsigned char* memory = nullptr;
  unsigned long memory_size = 0;
  jpeg_mem_dest(&info, &memory, &memory_size);
  info.image_width = kWidth;
  info.image_height = kHeight;
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 85, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = &pixels[info.next_scanline * kWidth * 3];
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  std::string out(reinterpret_cast<const char*>(memory), memory_size);
  std::free(memory);
  return out;
}

std::string labelled_jpeg(std::string_view jpeg, std::string_view label, std::size_t size_bytes) {
  std::string label_segment = comment_segment(label.substr(0, kMaxCommentPayload));
  std::string out;
  out.reserve(std::max(size_bytes, jpeg.size() + label_segment.size()));
  out += jpeg.substr(0, 2);  // start of image
  out += label_segment;
  std::size_t missing = size_bytes > jpeg.size() + label_segment.size()
                            ? size_bytes - jpeg.size() - label_segment.size()
                            : 0;
  while (missing >= 4) {
    std::size_t payload = std::min(missing - 4, kMaxCommentPayload);
    // Never leave 1 to 3 bytes over: too few for one more segment.
    if (std::size_t rest = missing - 4 - payload; rest > 0 && rest < 4) payload -= 4 - rest;
    out += comment_segment(std::string(payload, 'x'));
    missing -= payload + 4;
  }
  out += jpeg.substr(2);
  return out;
}

const std::string& placeholder_gif() {
  static const std::string gif = [] {
    // 128 × 1 pixels: the low byte of the width, 0x80, is the byte that is no UTF-8.
    std::string out("GIF89a\x80\x00\x01\x00\x80\x00\x00", 13);
    out += std::string("\xFF\xFF\xFF\x00\x00\x00", 6);                   // two colours
    out += std::string("\x2C\x00\x00\x00\x00\x80\x00\x01\x00\x00", 10);  // the image
    out += '\x02';                                                       // LZW minimum code size
    // Codes of three bits: a clear code and two pixels of colour 0, again and again, so the
    // code table never grows past three bits; then the end code.
    std::vector<int> codes;
    for (int pixel = 0; pixel < 128; pixel += 2) codes.insert(codes.end(), {4, 0, 0});
    codes.push_back(5);
    std::string data;
    unsigned bits = 0;
    int bit_count = 0;
    for (int code : codes) {
      bits |= static_cast<unsigned>(code) << bit_count;
      bit_count += 3;
      while (bit_count >= 8) {
        data += static_cast<char>(bits & 0xFF);
        bits >>= 8;
        bit_count -= 8;
      }
    }
    if (bit_count > 0) data += static_cast<char>(bits & 0xFF);
    out += static_cast<char>(data.size());
    out += data;
    out += '\x00';  // end of the image data
    out += '\x3B';  // end of the file
    return out;
  }();
  return gif;
}

}  // namespace tamberlo::sample
