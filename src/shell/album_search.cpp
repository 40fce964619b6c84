#include "shell/album_search.h"

#include <algorithm>

#include "catalogue/window_port.h"
#include "shell/album_list_view.h"
#include "shell/shell_text.h"
#include "text/text.h"

namespace tamberlo {
namespace {

bool row_matches(const AlbumListView& list, const std::string& keyword, int row) {
  return find_text(to_local(list.cell(row, column::kName)), keyword, 1, true) > 0;
}

}  // namespace

int search_rows_forward(const AlbumListView& list, const std::string& keyword, int start) {
  const int rows = list.topLevelItemCount();
  for (int row = std::max(start, 0); row < rows; ++row) {
    if (row_matches(list, keyword, row)) return row;
  }
  return -1;
}

int search_rows_backward(const AlbumListView& list, const std::string& keyword, int before_row) {
  const int last = std::min(before_row, list.topLevelItemCount()) - 1;
  for (int row = last; row >= 0; --row) {
    if (row_matches(list, keyword, row)) return row;
  }
  return -1;
}

}  // namespace tamberlo
