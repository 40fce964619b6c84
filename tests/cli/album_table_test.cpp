#include "cli/album_table.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "text/encoding.h"

namespace tamberlo::cli {
namespace {

ListRow row(std::string serial, std::string name_utf8, std::string count, std::string id,
            std::string access_utf8, std::string address, int tick) {
  ListRow row;
  row.cells = {"",    serial, utf8_to_local(name_utf8),   "",
               count, id,     utf8_to_local(access_utf8), address};
  row.tick = tick;
  return row;
}

std::vector<ListRow> two_albums() {
  return {row("1", "春游", "5", "1001", "已取得", "s1.ph.126.net/demo/1001.js", 1),
          row("2", "Trip", "12", "1004", "双击获取权限", "", 0)};
}

TEST(AlbumEntriesTest, ReadsTheRowsInUtf8) {
  const auto albums = album_entries(two_albums());
  ASSERT_EQ(albums.size(), 2u);
  EXPECT_EQ(albums[0].index, 1);
  EXPECT_EQ(albums[0].name, "春游");
  EXPECT_EQ(albums[0].count, "5");
  EXPECT_EQ(albums[0].id, "1001");
  EXPECT_EQ(albums[0].access, "已取得");
  EXPECT_EQ(albums[0].data_address, "s1.ph.126.net/demo/1001.js");
  EXPECT_EQ(albums[1].access, "双击获取权限");
  EXPECT_EQ(albums[1].data_address, "");
}

TEST(AlbumTableTest, AlignsColumnsByTerminalCells) {
  const std::string table = album_table(album_entries(two_albums()));
  EXPECT_EQ(table,
            "序号  相册名称  数量  相册权限\n"
            "1     春游      5     已取得\n"
            "2     Trip      12    双击获取权限\n");
}

TEST(AlbumTableTest, EmptyListGivesTheHeadingOnly) {
  EXPECT_EQ(album_table({}), "序号  相册名称  数量  相册权限\n");
}

TEST(AlbumJsonTest, CarriesEveryFieldOfEachAlbum) {
  const nlohmann::json json = album_json(album_entries(two_albums()));
  ASSERT_TRUE(json.is_array());
  ASSERT_EQ(json.size(), 2u);
  EXPECT_EQ(json[0], nlohmann::json({{"index", 1},
                                     {"name", "春游"},
                                     {"count", 5},
                                     {"id", "1001"},
                                     {"access", "已取得"},
                                     {"data_address", "s1.ph.126.net/demo/1001.js"}}));
  EXPECT_EQ(json[1]["count"], 12);
  EXPECT_EQ(json[1]["data_address"], "");
}

TEST(AlbumJsonTest, CountThatIsNoNumberStaysText) {
  auto rows = two_albums();
  rows[0].cells[column::kCount] = "12a";
  EXPECT_EQ(album_json(album_entries(rows))[0]["count"], "12a");
}

}  // namespace
}  // namespace tamberlo::cli
