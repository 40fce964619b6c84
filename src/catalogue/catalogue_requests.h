#pragma once

#include <string_view>

#include "text/text.h"

// The requests of the album list and of the access route, each with exactly the options the
// service is used to from its own pages. A gate, when given, lets the caller break a request
// off (the window is closing); a broken-off request answers empty like a failed one.
namespace tamberlo {

class TransferGate;

// The browser's agent line as the home page request sends it; the doubled name is what the
// service has always been sent.
inline constexpr std::string_view kHomePageHeaders =
    "User-Agent: User-Agent:Mozilla/5.0 (Windows NT 5.1) AppleWebKit/537.36 (KHTML, like Gecko) "
    "Chrome/31.0.1650.64 Safari/537.36\r\n";

// The owner's home page, read as local text; it carries the browser's login cookies.
Text fetch_owner_home_page(std::string_view account, TransferGate* gate = nullptr);
// The album-list script at the address the home page names, unchanged, read as local text.
Text fetch_album_list(const Text& album_list_address, TransferGate* gate = nullptr);
// Asks the service (catalogue form of getAlbumData) for an album's data address; empty while
// the service withholds the album or the request fails.
Text fetch_granted_data_address(std::string_view album_id, TransferGate* gate = nullptr);

// The picture bytes of a cover, taken from the alternate cover host when the cover host answers
// 404. Empty when there is nothing to draw (any other status, a failed request).
Bytes fetch_cover(const Text& cover_address, TransferGate* gate = nullptr);

}  // namespace tamberlo
