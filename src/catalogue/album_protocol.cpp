#include "catalogue/album_protocol.h"

#include "catalogue/service_hosts.h"
#include "http/internet_request.h"
#include "http/request_description.h"
#include "text/encoding.h"
#include "text/regex_matcher.h"

namespace tamberlo {
namespace {

Text web_root() { return "http://" + service_hosts().web_host + "/"; }

// The remote call's answer wraps the granted address in a callback; the id "530377" echoes the
// batchId we always send.
constexpr std::string_view kCatalogueWrapperStart =
    "dwr.engine._remoteHandleCallback('530377','0',\"";
constexpr std::string_view kDownloadWrapperStart = "'530377','0',\"";
constexpr std::string_view kWrapperEnd = "\");";

}  // namespace

OwnerAccount owner_account_from_input(std::string_view album_input) {
  const Text input = trim_text(album_input);
  const std::string& web_host = service_hosts().web_host;

  // http://account.<web host>/...: without the scheme the start marker is missing and the
  // account comes out empty, which is how the service's own links never look.
  const Text sub_domain_end = "." + web_host;
  if (contains_text(input, sub_domain_end)) {
    return {true, text_between(input, "http://", sub_domain_end)};
  }

  // http://<web host>/account/...: an account at the very end has no closing "/", so the host
  // part is taken away instead.
  if (contains_text(input, "http://" + web_host)) {
    const Text host_root = web_root();
    Text account = text_between(input, host_root, "/");
    if (account.empty()) account = replace_text(input, host_root, "");
    return {true, std::move(account)};
  }
  return {false, {}};
}

Text service_home_page() { return web_root(); }

Text owner_home_page(std::string_view account) { return web_root() + Text(account) + "/#m=0&p=1"; }

Text album_page_address(std::string_view account, std::string_view album_id) {
  return web_root() + Text(account) + "/#m=1&aid=" + Text(album_id) + "&p=1";
}

// The fixed values of both forms are the service's own pages' values; they go out unchanged,
// escapes included, and the owner's account is no part of the call.
Text album_data_call_catalogue(std::string_view album_id) {
  return web_root() +
         "photo/qelvannu/dwr/call/plaincall/AlbumBean.getAlbumData.dwr?callCount=1"
         "&scriptSessionId=%24%7BscriptSessionId%7D187&c0-scriptName=AlbumBean"
         "&c0-methodName=getAlbumData&c0-id=0&c0-param0=number%3A" +
         Text(album_id) +
         "&c0-param1=string%3A&c0-param2=string%3Afromblog&c0-param3=string%3A24881696"
         "&c0-param4=boolean%3Afalse&batchId=530377";
}

Text album_data_call_download(std::string_view album_id) {
  return web_root() +
         "photo/mop4481/dwr/call/plaincall/AlbumBean.getAlbumData.dwr?callCount=1"
         "&scriptSessionId=%24%7BscriptSessionId%7D187&c0-scriptName=AlbumBean"
         "&c0-methodName=getAlbumData&c0-id=0&c0-param0=string%3A" +
         Text(album_id) +
         "&c0-param1=string%3A&c0-param2=string%3A&c0-param3=number%3A24881696"
         "&c0-param4=boolean%3Afalse&batchId=530377";
}

Text album_list_address(std::string_view home_page_text) {
  return text_between(home_page_text, "albumUrl : '", "'");
}

const Text& album_list_pattern() {
  static const Text pattern =
      "id:(.*?),name:'(.*?)',s:(.*?),count:(.*?),t:(.*?)',lurl:'(.*?)\\/(.*?)',dmt:(.*?)"
      "purl:'(.*?)'";
  return pattern;
}

std::vector<AlbumRecord> read_album_records(std::string_view album_list_text) {
  RegexMatcher matcher;
  matcher.execute(album_list_pattern(), Text(album_list_text));
  std::vector<AlbumRecord> records;
  const int count = matcher.match_count();
  records.reserve(count > 0 ? count : 0);
  for (int match = 1; match <= count; ++match) {
    records.push_back({matcher.submatch_text(match, 1), matcher.submatch_text(match, 2),
                       matcher.submatch_text(match, 4), matcher.submatch_text(match, 7),
                       matcher.submatch_text(match, 9)});
  }
  return records;
}

Text data_address_from_catalogue_answer(std::string_view answer) {
  return text_between(answer, kCatalogueWrapperStart, kWrapperEnd);
}

Text data_address_from_download_answer(std::string_view answer) {
  return text_between(answer, kDownloadWrapperStart, kWrapperEnd, 0, true);
}

Text album_data_document_address(std::string_view data_address) {
  return "http://" + Text(data_address);
}

Text cover_address(std::string_view cover_path) {
  return "http://" + service_hosts().cover_host + "/" + Text(cover_path);
}

Text alternate_cover_address(std::string_view cover_address) {
  const ServiceHosts& hosts = service_hosts();
  return replace_text(cover_address, hosts.cover_host, hosts.alternate_cover_host);
}

Text photo_path(std::string_view photo_entry) {
  if (photo_entry.empty()) return {};
  return Text(photo_entry.substr(1));
}

// The primary host is joined with a "/" although the path already starts with one; the
// alternate host is joined without. Both are how the service's own pages ask for photos.
Text photo_address(std::string_view photo_path) {
  return "http://" + service_hosts().image_host + "/" + Text(photo_path);
}

Text alternate_photo_address(std::string_view photo_path) {
  return "http://" + service_hosts().alternate_image_host + Text(photo_path);
}

Text get_text(const Text& url, TransferGate* gate) {
  RequestDescription request;
  request.url = url;
  request.gate = gate;
  return body_as_text(internet_request(request));
}

}  // namespace tamberlo
