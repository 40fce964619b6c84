#include "cli/album_table.h"

#include <algorithm>
#include <array>
#include <nlohmann/json.hpp>

#include "cli/terminal_cells.h"
#include "text/encoding.h"
#include "text/text.h"

namespace tamberlo::cli {

namespace {

std::string cell(const ListRow& row, int column) {
  const auto at = static_cast<std::size_t>(column);
  return at < row.cells.size() ? row.cells[at] : std::string();
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
