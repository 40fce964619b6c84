#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tamberlo::sample {

// A small JPEG in one colour with a light band placed by `variant`, so that the photos of one
// album differ from each other while the album keeps its colour.
std::string make_jpeg(std::uint32_t rgb, int variant);

// The picture with a comment segment naming `label` right after its start marker, padded with
// further comment segments up to `size_bytes` when that is larger: still a valid JPEG.
std::string labelled_jpeg(std::string_view jpeg, std::string_view label, std::size_t size_bytes);

// A GIF whose seventh byte is no UTF-8 and whose eighth is zero: read as UTF-8 text it gives
// "GIF89a?", the answer the album service sends instead of some albums' data.
const std::string& placeholder_gif();

}  // namespace tamberlo::sample
