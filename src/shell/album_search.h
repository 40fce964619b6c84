#pragma once

#include <string>

// Finding albums by name: the keyword is looked for anywhere in column 2, with A-Z folded onto
// a-z and GBK characters compared whole.
namespace tamberlo {

class AlbumListView;

// Rows start, start + 1, ... to the last; the first match or -1. A start below 0 counts as 0.
int search_rows_forward(const AlbumListView& list, const std::string& keyword, int start);
// Rows before_row - 1 down to 0; the first match or -1.
int search_rows_backward(const AlbumListView& list, const std::string& keyword, int before_row);

}  // namespace tamberlo
