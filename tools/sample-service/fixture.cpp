#include <nlohmann/json.hpp>
#include <set>
#include <stdexcept>
#include <string>

#include "sample-service/sample_service.h"
#include "sample-service/service_state.h"

namespace tamberlo::sample {
namespace {

using Access = Album::Access;

Album album(std::string id, std::string name, int photo_count, Access access = Access::open,
            std::string password = {}) {
  Album result;
  result.id = std::move(id);
  result.name_utf8 = std::move(name);
  result.photos.resize(static_cast<std::size_t>(photo_count));
  result.access = access;
  result.password = std::move(password);
  return result;
}

[[noreturn]] void fail(const std::string& where, const std::string& what) {
  throw std::runtime_error("fixture: " + where + ": " + what);
}

void only_keys(const nlohmann::json& object, const std::set<std::string>& allowed,
               const std::string& where) {
  if (!object.is_object()) fail(where, "an object is expected");
  for (const auto& [key, value] : object.items()) {
    if (!allowed.contains(key)) fail(where, "unknown key \"" + key + "\"");
  }
}

std::string text_of(const nlohmann::json& value, const std::string& where) {
  if (value.is_string()) return value.get<std::string>();
  if (value.is_number_integer()) return std::to_string(value.get<long long>());
  fail(where, "a text is expected");
}

int number_of(const nlohmann::json& value, const std::string& where) {
  if (!value.is_number_integer() || value.get<long long>() < 0 ||
      value.get<long long>() > 1 << 30) {
    fail(where, "a whole number from 0 is expected");
  }
  return value.get<int>();
}

Album album_from_json(const nlohmann::json& object, const std::string& where) {
  only_keys(
      object,
      {"id", "name", "photos", "photo_size", "listed_count", "access", "password", "placeholder"},
      where);
  Album result;
  if (!object.contains("id")) fail(where, "\"id\" is missing");
  result.id = text_of(object["id"], where + ".id");
  result.name_utf8 = object.contains("name") ? text_of(object["name"], where + ".name") : "";
  int default_size =
      object.contains("photo_size") ? number_of(object["photo_size"], where + ".photo_size") : 0;
  if (object.contains("photos")) {
    const auto& photos = object["photos"];
    if (photos.is_number_integer()) {
      result.photos.resize(static_cast<std::size_t>(number_of(photos, where + ".photos")));
      for (auto& photo : result.photos) photo.size_bytes = default_size;
    } else if (photos.is_array()) {
      for (std::size_t i = 0; i < photos.size(); ++i) {
        std::string at = where + ".photos[" + std::to_string(i) + "]";
        only_keys(photos[i], {"path", "size"}, at);
        Photo photo;
        if (photos[i].contains("path")) photo.path = text_of(photos[i]["path"], at + ".path");
        photo.size_bytes =
            photos[i].contains("size") ? number_of(photos[i]["size"], at + ".size") : default_size;
        result.photos.push_back(std::move(photo));
      }
    } else {
      fail(where + ".photos", "a count or a list of photos is expected");
    }
  }
  if (object.contains("listed_count")) {
    result.listed_count = number_of(object["listed_count"], where + ".listed_count");
  }
  if (object.contains("access")) {
    std::string access = text_of(object["access"], where + ".access");
    if (access == "open") {
      result.access = Access::open;
    } else if (access == "login") {
      result.access = Access::login;
    } else if (access == "password") {
      result.access = Access::password;
    } else {
      fail(where + ".access", "\"open\", \"login\" or \"password\" is expected");
    }
  }
  if (object.contains("password"))
    result.password = text_of(object["password"], where + ".password");
  if (object.contains("placeholder")) {
    if (!object["placeholder"].is_boolean())
      fail(where + ".placeholder", "true or false is expected");
    result.placeholder = object["placeholder"].get<bool>();
  }
  return result;
}

}  // namespace

void check_fixture(const Fixture& fixture) {
  std::set<std::string> accounts;
  std::set<std::string> ids;
  for (const Owner& owner : fixture.owners) {
    const std::string where = "owner \"" + owner.account + "\"";
    if (owner.account.empty() ||
        owner.account.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                        "0123456789_-.") != std::string::npos) {
      fail(where, "an account is made of letters, digits, \"_\", \"-\" and \".\"");
    }
    if (!accounts.insert(owner.account).second) fail(where, "the account is given twice");
    for (const Album& album : owner.albums) {
      const std::string at = where + ", album \"" + album.id + "\"";
      if (album.id.empty() || album.id.find_first_not_of("0123456789") != std::string::npos) {
        fail(at, "an album id is made of digits");
      }
      if (!ids.insert(album.id).second) fail(at, "the album id is given twice");
      if (album.access == Access::password && album.password.empty()) {
        fail(at, "an album behind a password needs \"password\"");
      }
    }
  }
}

Fixture Fixture::demo() {
  Fixture fixture;
  Owner demo{"demo", {}};
  demo.albums.push_back(album("1001", "春游", 5));
  // Blanks at both ends, an inner blank and a full-width colon: the folder name drops them.
  demo.albums.push_back(album("1002", " \u3000我的 相册：春游\u3000 ", 4));
  demo.albums.push_back(album("1003", "家人相册", 3, Access::password, "1234"));
  demo.albums.push_back(album("1004", "同学聚会", 6, Access::login));
  Album old_photos = album("1005", "旧照片", 4);
  old_photos.placeholder = true;
  demo.albums.push_back(old_photos);
  // Every character that a folder name cannot hold.
  demo.albums.push_back(album("1006", "路上\\/:*?\"<>|风景", 3));
  // More photos than the album list gives.
  Album graduation = album("1007", "毕业典礼", 7);
  graduation.listed_count = 5;
  demo.albums.push_back(graduation);
  fixture.owners.push_back(std::move(demo));

  Owner travel{"travel", {}};
  travel.albums.push_back(album("2001", "西藏之旅", 8));
  travel.albums.push_back(album("2002", "北京 2012", 6));
  travel.albums.push_back(album("2003", "海边日落", 3));
  travel.albums.push_back(album("2004", "云南", 5));
  travel.albums.push_back(album("2005", "丽江古城", 4));
  fixture.owners.push_back(std::move(travel));
  return fixture;
}

Fixture Fixture::bench(int photo_count, int photo_size) {
  Fixture fixture;
  Owner owner{"bench", {}};
  Album bench_album = album("9001", "bench", photo_count);
  for (Photo& photo : bench_album.photos) photo.size_bytes = photo_size;
  owner.albums.push_back(std::move(bench_album));
  fixture.owners.push_back(std::move(owner));
  return fixture;
}

Fixture Fixture::from_json(const std::string& json_text) {
  nlohmann::json root;
  try {
    root = nlohmann::json::parse(json_text);
  } catch (const nlohmann::json::parse_error& error) {
    throw std::runtime_error(std::string("fixture: not JSON: ") + error.what());
  }
  only_keys(root, {"owners", "newest_version", "login_password"}, "top level");
  Fixture fixture;
  if (root.contains("newest_version")) {
    fixture.newest_version = text_of(root["newest_version"], "newest_version");
  }
  if (root.contains("login_password")) {
    fixture.login_password = text_of(root["login_password"], "login_password");
  }
  if (!root.contains("owners") || !root["owners"].is_array()) {
    fail("owners", "a list of owners is expected");
  }
  for (std::size_t i = 0; i < root["owners"].size(); ++i) {
    const auto& object = root["owners"][i];
    const std::string where = "owners[" + std::to_string(i) + "]";
    only_keys(object, {"account", "albums"}, where);
    Owner owner;
    if (!object.contains("account")) fail(where, "\"account\" is missing");
    owner.account = text_of(object["account"], where + ".account");
    if (object.contains("albums")) {
      if (!object["albums"].is_array()) fail(where + ".albums", "a list of albums is expected");
      for (std::size_t j = 0; j < object["albums"].size(); ++j) {
        owner.albums.push_back(
            album_from_json(object["albums"][j], where + ".albums[" + std::to_string(j) + "]"));
      }
    }
    fixture.owners.push_back(std::move(owner));
  }
  check_fixture(fixture);
  return fixture;
}

}  // namespace tamberlo::sample
