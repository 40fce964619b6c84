#pragma once

#include <nlohmann/json_fwd.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "cli/terminal_window.h"

// The owner's albums as the terminal shows them: read from the rows the retrieval left in the
// list, in UTF-8.
namespace tamberlo::cli {

struct AlbumEntry {
  int index = 0;      // the serial number of column 1
  std::string name;   // UTF-8
  std::string count;  // as the album list gives it
  std::string id;
  std::string access;        // UTF-8: "已取得" or "双击获取权限"
  std::string data_address;  // empty while the service withholds the album
};

std::vector<AlbumEntry> album_entries(const std::vector<ListRow>& rows);

// One line per album under a heading, columns aligned for a terminal (a CJK character takes
// two cells).
std::string album_table(const std::vector<AlbumEntry>& albums);
nlohmann::json album_json(const std::vector<AlbumEntry>& albums);

}  // namespace tamberlo::cli
