#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "text/text.h"

// How the album service is spoken to: every address it is asked at and how its answers are read.
// Texts are GBK.
namespace tamberlo {

class TransferGate;

// The owner account taken from what the user typed (blanks at both ends removed first).
// `accepted` is false when the input has none of the accepted forms.
struct OwnerAccount {
  bool accepted = false;
  Text account;
};
OwnerAccount owner_account_from_input(std::string_view album_input);

Text service_home_page();                        // "http://" web host "/"
Text owner_home_page(std::string_view account);  // ... "/#m=0&p=1"
Text album_page_address(std::string_view account, std::string_view album_id);
Text album_data_call_catalogue(std::string_view album_id);  // getAlbumData, catalogue form
Text album_data_call_download(std::string_view album_id);   // getAlbumData, download form

// The home page names the album-list address as "albumUrl : '…'".
Text album_list_address(std::string_view home_page_text);

// The album-list pattern with its nine capture groups.
const Text& album_list_pattern();

struct AlbumRecord {
  Text id;            // group 1
  Text name;          // group 2
  Text count;         // group 4
  Text cover_path;    // group 7 (lurl)
  Text data_address;  // group 9 (purl): empty while the service withholds the album
};
std::vector<AlbumRecord> read_album_records(std::string_view album_list_text);

// The album-data address out of the remote call's callback wrapper; empty when the answer
// lacks the wrapper (the service withholds the album).
Text data_address_from_catalogue_answer(std::string_view answer);
Text data_address_from_download_answer(std::string_view answer);

// The answer that stands in for album data when the service sends a GIF instead.
inline constexpr std::string_view kPlaceholderAnswer = "GIF89a?";
Text album_data_document_address(std::string_view data_address);  // "http://" data address

Text cover_address(std::string_view cover_path);               // first cover address
Text alternate_cover_address(std::string_view cover_address);  // after a 404
Text photo_path(std::string_view photo_entry);                 // the entry without its first byte
Text photo_address(std::string_view photo_path);               // primary image host
Text alternate_photo_address(std::string_view photo_path);     // after a 404

// One address fetched with internet_request, every option at its default, the body read as text
// (empty when the request fails). A gate, when given, lets the caller break the request off.
Text get_text(const Text& url, TransferGate* gate = nullptr);

}  // namespace tamberlo
