#include "catalogue/catalogue_requests.h"

#include "catalogue/album_protocol.h"
#include "http/internet_request.h"
#include "http/object_request.h"
#include "http/request_description.h"
#include "text/encoding.h"

namespace tamberlo {
namespace {

constexpr int kStatusOk = 200;
constexpr int kStatusNotFound = 404;

}  // namespace

Text fetch_owner_home_page(std::string_view account, TransferGate* gate) {
  RequestDescription request;
  request.url = owner_home_page(account);
  request.method = 0;
  request.headers = Text(kHomePageHeaders);
  request.gate = gate;
  return body_as_text(internet_request(request));
}

Text fetch_album_list(const Text& album_list_address, TransferGate* gate) {
  RequestDescription request;
  request.url = album_list_address;
  request.method = 0;
  request.gate = gate;
  return body_as_text(internet_request(request));
}

Text fetch_granted_data_address(std::string_view album_id, TransferGate* gate) {
  return data_address_from_catalogue_answer(get_text(album_data_call_catalogue(album_id), gate));
}

Bytes fetch_cover(const Text& cover_address, TransferGate* gate) {
  // Covers carry no cookies: nothing of the login goes to the image hosts.
  RequestDescription request;
  request.url = cover_address;
  request.gate = gate;
  Bytes picture = object_request(request);
  if (request.status == kStatusOk) return picture;
  if (request.status != kStatusNotFound) return {};

  // A cover the cover host does not have is asked for once on the alternate host, as a plain read.
  RequestDescription alternate;
  alternate.url = alternate_cover_address(cover_address);
  alternate.gate = gate;
  return internet_request(alternate);
}

}  // namespace tamberlo
