#include <string>

#include "sample-service/gbk.h"
#include "sample-service/pictures.h"
#include "sample-service/routes.h"

namespace tamberlo::sample {
namespace {

constexpr std::string_view kCallPrefix = "/photo/";
constexpr std::string_view kCallSuffix = "/dwr/call/plaincall/AlbumBean.getAlbumData.dwr";
constexpr std::string_view kCatalogueAccount = "qelvannu";
constexpr std::string_view kDownloadAccount = "mop4481";

// The two forms of the call differ in the account segment and in the types of three values;
// the client sends the query exactly like this, escapes included.
std::string expected_query(bool catalogue, std::string_view id) {
  return std::string(
             "callCount=1&scriptSessionId=%24%7BscriptSessionId%7D187&c0-scriptName=AlbumBean&"
             "c0-methodName=getAlbumData&c0-id=0&c0-param0=") +
         (catalogue ? "number%3A" : "string%3A") + std::string(id) +
         (catalogue ? "&c0-param1=string%3A&c0-param2=string%3Afromblog&c0-param3=string%3A24881696"
                    : "&c0-param1=string%3A&c0-param2=string%3A&c0-param3=number%3A24881696") +
         "&c0-param4=boolean%3Afalse&batchId=530377";
}

std::string album_id_in(std::string_view query) {
  constexpr std::string_view kParam = "c0-param0=";
  auto at = query.find(kParam);
  if (at == std::string_view::npos) return {};
  std::string_view value = query.substr(at + kParam.size());
  value = value.substr(0, value.find('&'));
  auto colon = value.find("%3A");
  return colon == std::string_view::npos ? std::string() : std::string(value.substr(colon + 3));
}

void remote_answer(httplib::Response& res, const std::string& line) {
  res.status = 200;
  res.set_content("//#DWR-INSERT\r\n//#DWR-REPLY\r\n" + line + "\r\n",
                  "text/javascript; charset=utf-8");
}

void remote_exception(httplib::Response& res, std::string_view java_class,
                      std::string_view message) {
  remote_answer(res, "dwr.engine._remoteHandleException('530377','0',{javaClassName:\"" +
                         std::string(java_class) + "\",message:\"" + std::string(message) +
                         "\"});");
}

std::string album_record(const State& state, const Owner& owner, const Album& album) {
  const bool withheld = album.access != Album::Access::open;
  const std::string purl =
      withheld ? std::string() : state.hosts.script + album_data_path(owner.account, album.id);
  return "{id:" + album.id + ",name:'" + album.name_utf8 +
         "',s:0,count:" + std::to_string(listed_count(album)) + ",t:'" + (withheld ? "1" : "0") +
         "',lurl:'8" + cover_path(owner.account, album.id) + "',dmt:1339171200000,purl:'" + purl +
         "'}";
}

void album_list(const State& state, const Owner& owner, httplib::Response& res) {
  std::string script = "var g_albums = [\n";
  for (std::size_t i = 0; i < owner.albums.size(); ++i) {
    script += album_record(state, owner, owner.albums[i]);
    script += i + 1 < owner.albums.size() ? ",\n" : "\n";
  }
  script += "];\n";
  res.set_content(gbk(script), "application/x-javascript; charset=GBK");
}

void album_data(State& state, const Owner& owner, const Album& album, httplib::Response& res) {
  const int blank = state.faults.blank_photo_entry;
  std::string document = "var g_photos = [\n";
  for (std::size_t i = 0; i < album.photos.size(); ++i) {
    const int number = static_cast<int>(i + 1);
    // The entry's first byte is not part of the path; the client drops it.
    const std::string entry =
        number == blank ? std::string() : std::to_string(number % 9 + 1) + album.photos[i].path;
    document += "{id:" + std::to_string(number) + ",ourl:'" + entry + "',desc:'" + owner.account +
                " 第" + std::to_string(number) + "张',w:96,h:64}";
    document += i + 1 < album.photos.size() ? ",\n" : "\n";
  }
  document += "];\n";
  res.set_content(document, "application/x-javascript; charset=utf-8");
}

}  // namespace

bool answer_data_call(State& state, const RequestHead& head, httplib::Response& res) {
  const std::string& path = head.path;
  if (!path.starts_with(kCallPrefix) || !path.ends_with(kCallSuffix)) return false;
  const std::string_view account = std::string_view(path).substr(
      kCallPrefix.size(), path.size() - kCallPrefix.size() - kCallSuffix.size());
  if (account != kCatalogueAccount && account != kDownloadAccount) return false;
  const bool catalogue = account == kCatalogueAccount;
  const std::string id = album_id_in(head.query);
  if (head.query != expected_query(catalogue, id)) {
    remote_exception(res, "java.lang.IllegalArgumentException", "malformed call");
    return true;
  }
  const AlbumPlace* place = state.album(id);
  if (place == nullptr) {
    remote_exception(res, "com.netease.photo.AlbumNotFoundException", "no such album");
    return true;
  }
  if (!state.may_read(*place, head)) {
    remote_exception(res, "java.lang.SecurityException", "no permission");
    return true;
  }
  const Album& album = *place->album;
  const std::string address =
      state.hosts.script + (!catalogue && album.placeholder
                                ? full_album_data_path(place->owner->account, album.id)
                                : album_data_path(place->owner->account, album.id));
  remote_answer(res, "dwr.engine._remoteHandleCallback('530377','0',\"" + address + "\");");
  return true;
}

bool answer_script(State& state, const RequestHead& head, httplib::Response& res) {
  if (head.host != state.hosts.script) return false;
  for (const Owner& owner : state.fixture.owners) {
    if (head.path == album_list_path(owner.account)) {
      album_list(state, owner, res);
      return true;
    }
    for (const Album& album : owner.albums) {
      if (head.path == album_data_path(owner.account, album.id)) {
        if (album.placeholder) {
          res.set_content(placeholder_gif(), "image/gif");
        } else {
          album_data(state, owner, album, res);
        }
        return true;
      }
      if (head.path == full_album_data_path(owner.account, album.id)) {
        album_data(state, owner, album, res);
        return true;
      }
    }
  }
  return false;
}

}  // namespace tamberlo::sample
