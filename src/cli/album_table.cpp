#include "cli/album_table.h"

#include <algorithm>
#include <array>
#include <nlohmann/json.hpp>

#include "text/encoding.h"
#include "text/text.h"

namespace tamberlo::cli {

namespace {

std::string cell(const ListRow& row, int column) {
  const auto at = static_cast<std::size_t>(column);
  return at < row.cells.size() ? row.cells[at] : std::string();
}

// East Asian wide and full-width characters, the ranges a terminal draws two cells wide.
bool is_wide(char32_t c) {
  return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0x303E) ||
         (c >= 0x3041 && c <= 0x33FF) || (c >= 0x3400 && c <= 0x4DBF) ||
         (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xA000 && c <= 0xA4CF) ||
         (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
         (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
         (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
}

std::string padded(const std::string& text, int width) {
  return text +
         std::string(static_cast<std::size_t>(std::max(0, width - display_width(text))), ' ');
}

bool all_digits(std::string_view text) {
  return !text.empty() && text.size() < 10 &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

int display_width(std::string_view utf8) {
  int width = 0;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    int length = 1;
    char32_t c = lead;
    if (lead >= 0xF0) {
      length = 4;
      c = lead & 0x07;
    } else if (lead >= 0xE0) {
      length = 3;
      c = lead & 0x0F;
    } else if (lead >= 0xC0) {
      length = 2;
      c = lead & 0x1F;
    }
    for (int k = 1; k < length && i + static_cast<std::size_t>(k) < utf8.size(); ++k) {
      c = (c << 6) | (static_cast<unsigned char>(utf8[i + static_cast<std::size_t>(k)]) & 0x3F);
    }
    width += is_wide(c) ? 2 : 1;
    i += static_cast<std::size_t>(length);
  }
  return width;
}

std::vector<AlbumEntry> album_entries(const std::vector<ListRow>& rows) {
  std::vector<AlbumEntry> albums;
  albums.reserve(rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const ListRow& row = rows[i];
    AlbumEntry album;
    const Text serial = cell(row, column::kSerial);
    album.index = serial.empty() ? static_cast<int>(i) + 1 : leading_integer(serial);
    album.name = local_to_utf8(cell(row, column::kName));
    album.count = local_to_utf8(cell(row, column::kCount));
    album.id = local_to_utf8(cell(row, column::kAlbumId));
    album.access = local_to_utf8(cell(row, column::kAccess));
    album.data_address = local_to_utf8(cell(row, column::kDataAddress));
    albums.push_back(std::move(album));
  }
  return albums;
}

std::string album_table(const std::vector<AlbumEntry>& albums) {
  const std::array<std::string, 4> heading = {"序号", "相册名称", "数量", "相册权限"};
  std::vector<std::array<std::string, 4>> lines;
  lines.push_back(heading);
  for (const AlbumEntry& album : albums) {
    lines.push_back({std::to_string(album.index), album.name, album.count, album.access});
  }
  std::array<int, 4> widths{};
  for (const auto& line : lines) {
    for (std::size_t c = 0; c < line.size(); ++c) {
      widths[c] = std::max(widths[c], display_width(line[c]));
    }
  }
  std::string table;
  for (const auto& line : lines) {
    std::string text;
    for (std::size_t c = 0; c < line.size(); ++c) {
      text += c + 1 == line.size() ? line[c] : padded(line[c], widths[c]) + "  ";
    }
    table += text + "\n";
  }
  return table;
}

nlohmann::json album_json(const std::vector<AlbumEntry>& albums) {
  auto array = nlohmann::json::array();
  for (const AlbumEntry& album : albums) {
    // The count is the album list's text unchanged; it is a number whenever the service wrote
    // one, and stays text otherwise so nothing the service said is lost.
    nlohmann::json count = album.count;
    if (all_digits(album.count)) {
      count = std::stoi(album.count);
    }
    array.push_back({{"index", album.index},
                     {"name", album.name},
                     {"count", count},
                     {"id", album.id},
                     {"access", album.access},
                     {"data_address", album.data_address}});
  }
  return array;
}

}  // namespace tamberlo::cli
