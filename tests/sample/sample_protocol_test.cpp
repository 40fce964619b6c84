// The album service's answers, read the way the program reads them.
#include <gtest/gtest.h>

#include <string>

#include "proxy_fetch.h"
#include "support/sample_service_environment.h"
#include "text/encoding.h"
#include "text/regex_matcher.h"
#include "text/text.h"

namespace tamberlo::test {
namespace {

using sample::Album;

const char* const kAlbumListPattern =
    "id:(.*?),name:'(.*?)',s:(.*?),count:(.*?),t:(.*?)',lurl:'(.*?)\\/(.*?)',dmt:(.*?)purl:'(.*?)'";
const char* const kCatalogueStart = "dwr.engine._remoteHandleCallback('530377','0',\"";
const char* const kDownloadStart = "'530377','0',\"";
const char* const kWrapperEnd = "\");";

std::string web() { return "http://" + sample_service().hosts().web; }

std::string catalogue_call(const std::string& id) {
  return web() +
         "/photo/qelvannu/dwr/call/plaincall/AlbumBean.getAlbumData.dwr?callCount=1&"
         "scriptSessionId=%24%7BscriptSessionId%7D187&c0-scriptName=AlbumBean&c0-methodName="
         "getAlbumData&c0-id=0&c0-param0=number%3A" +
         id +
         "&c0-param1=string%3A&c0-param2=string%3Afromblog&c0-param3=string%3A24881696&c0-param4="
         "boolean%3Afalse&batchId=530377";
}

std::string download_call(const std::string& id) {
  return web() +
         "/photo/mop4481/dwr/call/plaincall/AlbumBean.getAlbumData.dwr?callCount=1&"
         "scriptSessionId=%24%7BscriptSessionId%7D187&c0-scriptName=AlbumBean&c0-methodName="
         "getAlbumData&c0-id=0&c0-param0=string%3A" +
         id +
         "&c0-param1=string%3A&c0-param2=string%3A&c0-param3=number%3A24881696&c0-param4="
         "boolean%3Afalse&batchId=530377";
}

// The album-data address as the album list and the permission button cut it.
std::string catalogue_address(const std::string& id, const std::string& cookie = {}) {
  return text_between(fetch(catalogue_call(id), {.cookie = cookie}).body, kCatalogueStart,
                      kWrapperEnd);
}

std::string download_address(const std::string& id, const std::string& cookie = {}) {
  return text_between(utf8_to_local(fetch(download_call(id), {.cookie = cookie}).body),
                      kDownloadStart, kWrapperEnd, 0, true);
}

const Album& album_with(bool (*wanted)(const Album&)) {
  for (const auto& owner : sample_service().fixture().owners) {
    for (const auto& album : owner.albums) {
      if (wanted(album)) return album;
    }
  }
  throw std::logic_error("the demo fixture lacks such an album");
}

const Album& open_album() {
  return album_with(
      [](const Album& a) { return a.access == Album::Access::open && !a.placeholder; });
}
const Album& password_album() {
  return album_with([](const Album& a) { return a.access == Album::Access::password; });
}
const Album& login_album() {
  return album_with([](const Album& a) { return a.access == Album::Access::login; });
}
const Album& placeholder_album() {
  return album_with([](const Album& a) { return a.placeholder; });
}

// "name=value" of every Set-Cookie line, joined as a Cookie header would carry them.
std::string cookies_set_by(const Fetched& answer) {
  std::string cookies;
  for (const std::string& line : answer.headers_named("Set-Cookie")) {
    cookies += (cookies.empty() ? "" : "; ") + line.substr(0, line.find(';'));
  }
  return cookies;
}

class SampleProtocol : public ::testing::Test {
 protected:
  void SetUp() override { reset_sample_service(); }
};

TEST_F(SampleProtocol, OwnerHomePageNamesTheAlbumListAddress) {
  const std::string list = "http://" + sample_service().hosts().script + "/photo/demo/albumlist.js";
  struct Case {
    std::string address;
    std::string expected;
  } cases[] = {
      {web() + "/demo/", list},
      {web() + "/demo", list},
      {"http://demo." + sample_service().hosts().web + "/", list},
      {web() + "/nobody-here/", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.address);
    Fetched page = fetch(c.address);
    ASSERT_EQ(page.code, CURLE_OK);
    EXPECT_EQ(page.status, 200);
    EXPECT_EQ(text_between(page.body, "albumUrl : '", "'"), c.expected);
    EXPECT_NE(page.header("Content-Type").find("GBK"), std::string::npos);
  }
}

TEST_F(SampleProtocol, AlbumListHasOneRecordPerAlbumInTheOrderOfTheFixture) {
  for (const auto& owner : sample_service().fixture().owners) {
    SCOPED_TRACE(owner.account);
    const std::string home = fetch(web() + "/" + owner.account + "/").body;
    const Fetched list = fetch(text_between(home, "albumUrl : '", "'"));
    ASSERT_EQ(list.status, 200);

    RegexMatcher matcher;
    ASSERT_TRUE(matcher.execute(kAlbumListPattern, list.body, false, true, true));
    ASSERT_EQ(matcher.match_count(), static_cast<int>(owner.albums.size()));
    for (int i = 1; i <= matcher.match_count(); ++i) {
      const Album& album = owner.albums[static_cast<std::size_t>(i - 1)];
      SCOPED_TRACE(album.id);
      EXPECT_EQ(matcher.submatch_text(i, 1), album.id);
      // Names travel in GBK, blanks and characters folder names cannot hold included.
      EXPECT_EQ(matcher.submatch_text(i, 2), utf8_to_local(album.name_utf8));
      EXPECT_EQ(matcher.submatch_text(i, 4),
                std::to_string(album.listed_count >= 0 ? album.listed_count
                                                       : static_cast<int>(album.photos.size())));
      EXPECT_EQ(matcher.submatch_text(i, 7), "cover/" + owner.account + "/" + album.id + ".jpg");
      const std::string purl = matcher.submatch_text(i, 9);
      if (album.access == Album::Access::open) {
        EXPECT_EQ(purl, catalogue_address(album.id));
      } else {
        EXPECT_EQ(purl, "") << "a withheld album has no data address in the list";
      }
    }
  }
}

TEST_F(SampleProtocol, BothCallFormsWrapTheDataAddressOfAnOpenAlbum) {
  const Album& album = open_album();
  const std::string address = catalogue_address(album.id);
  EXPECT_NE(address, "");
  EXPECT_EQ(download_address(album.id), address);

  const std::string document = utf8_to_local(fetch("http://" + address).body);
  std::vector<std::string> entries;
  for (int at = find_text(document, "ourl:'"); at > 0; at = find_text(document, "ourl:'", at + 1)) {
    const std::string entry = text_between(document, "ourl:'", "',", at);
    entries.push_back(entry.substr(1));  // the client drops the entry's first byte
  }
  ASSERT_EQ(entries.size(), album.photos.size());
  for (std::size_t i = 0; i < entries.size(); ++i) EXPECT_EQ(entries[i], album.photos[i].path);
}

TEST_F(SampleProtocol, CallsThatDifferFromTheClientsQueryGetNoWrapper) {
  const std::string id = open_album().id;
  std::string swapped_type = catalogue_call(id);
  swapped_type.replace(swapped_type.find("number%3A"), 9, "string%3A");
  const std::string cases[] = {
      swapped_type,
      catalogue_call(id) + "&extra=1",
      catalogue_call("999999"),  // no such album
      catalogue_call(""),
  };
  for (const auto& address : cases) {
    SCOPED_TRACE(address);
    const Fetched answer = fetch(address);
    EXPECT_EQ(answer.status, 200);
    EXPECT_EQ(text_between(answer.body, kCatalogueStart, kWrapperEnd), "");
    EXPECT_NE(answer.body.find("_remoteHandleException"), std::string::npos);
  }
}

TEST_F(SampleProtocol, PasswordAlbumStaysWithheldUntilTheRightPasswordWasGiven) {
  const Album& album = password_album();
  EXPECT_EQ(catalogue_address(album.id), "");
  EXPECT_EQ(download_address(album.id), "");

  const std::string unlock = web() + "/demo/unlock";
  const Fetched wrong =
      fetch(unlock, {.method = "POST", .body = "aid=" + album.id + "&password=wrong"});
  EXPECT_EQ(wrong.status, 403);
  EXPECT_TRUE(wrong.headers_named("Set-Cookie").empty());

  const Fetched right =
      fetch(unlock, {.method = "POST", .body = "aid=" + album.id + "&password=" + album.password});
  EXPECT_EQ(right.status, 200);
  ASSERT_EQ(right.headers_named("Set-Cookie").size(), 1u);
  EXPECT_NE(right.header("Set-Cookie").find("Path=/"), std::string::npos);
  const std::string cookie = cookies_set_by(right);

  EXPECT_NE(catalogue_address(album.id, cookie), "");
  EXPECT_NE(download_address(album.id, cookie), "");
  // The access cookie opens only its own album, and a made-up value opens nothing.
  EXPECT_EQ(catalogue_address(login_album().id, cookie), "");
  EXPECT_EQ(catalogue_address(album.id, cookie.substr(0, cookie.find('=') + 1) + "forged"), "");
}

TEST_F(SampleProtocol, LoginAlbumStaysWithheldUntilTheSessionCookieComesAlong) {
  const Album& album = login_album();
  EXPECT_EQ(catalogue_address(album.id), "");

  const Fetched refused =
      fetch(web() + "/login", {.method = "POST", .body = "user=amy&password=x"});
  EXPECT_EQ(refused.status, 403);
  EXPECT_TRUE(refused.headers_named("Set-Cookie").empty());

  const Fetched login = fetch(
      web() + "/login",
      {.method = "POST", .body = "user=amy&password=" + sample_service().fixture().login_password});
  ASSERT_EQ(login.status, 200);
  const auto set = login.headers_named("Set-Cookie");
  ASSERT_EQ(set.size(), 2u);
  // The session is kept from page scripts; P_INFO is what document.cookie shows.
  EXPECT_TRUE(set[0].starts_with("NTES_SESS=")) << set[0];
  EXPECT_NE(set[0].find("HttpOnly"), std::string::npos);
  EXPECT_TRUE(set[1].starts_with("P_INFO=amy|")) << set[1];
  EXPECT_EQ(set[1].find("HttpOnly"), std::string::npos);
  const std::string cookie = cookies_set_by(login);

  EXPECT_NE(catalogue_address(album.id, cookie), "");
  EXPECT_EQ(catalogue_address(album.id, "NTES_SESS=forged"), "");
  EXPECT_EQ(catalogue_address(password_album().id, cookie), "")
      << "a login does not stand in for an album's password";
  EXPECT_NE(local_to_utf8(fetch(web() + "/", {.cookie = cookie}).body).find("已登录：amy"),
            std::string::npos);
}

TEST_F(SampleProtocol, AlbumPageOffersThePasswordFormForWithheldAlbums) {
  const Fetched page = fetch(web() + "/demo/");
  EXPECT_NE(page.body.find("id=\"unlock\""), std::string::npos);
  EXPECT_NE(page.body.find("\"" + password_album().id + "\":{"), std::string::npos);
  EXPECT_NE(page.body.find("location.hash"), std::string::npos);
  EXPECT_EQ(page.body.find("\"" + open_album().id + "\":{"), std::string::npos)
      << "open albums never show the form";
}

TEST_F(SampleProtocol, PlaceholderAlbumAnswersAGifAndTheDownloadFormNamesTheRealData) {
  const Album& album = placeholder_album();
  const std::string address = catalogue_address(album.id);
  ASSERT_NE(address, "");
  const Fetched gif = fetch("http://" + address);
  ASSERT_GE(gif.body.size(), 8u);
  EXPECT_EQ(gif.body.substr(0, 6), "GIF89a");
  EXPECT_EQ(gif.body[7], '\0');
  EXPECT_EQ(utf8_to_local(gif.body), "GIF89a?");
  EXPECT_EQ(gif.header("Content-Type"), "image/gif");

  const std::string real = download_address(album.id);
  ASSERT_NE(real, "");
  EXPECT_NE(real, address);
  const std::string document = utf8_to_local(fetch("http://" + real).body);
  EXPECT_NE(document, "GIF89a?");
  EXPECT_NE(find_text(document, "ourl:'" + std::string("2") + album.photos[0].path + "',"), -1);
}

TEST_F(SampleProtocol, AlbumDataFailuresAnswerEmptyOrDropThenRecover) {
  const std::string address = "http://" + catalogue_address(open_album().id);
  sample_service().faults().album_data_failures = 2;
  EXPECT_EQ(fetch(address).body, "");
  EXPECT_EQ(fetch(address).body, "");
  EXPECT_NE(fetch(address).body, "");

  sample_service().faults().album_data_failure_drops = true;
  sample_service().faults().album_data_failures = 1;
  const Fetched dropped = fetch(address);
  EXPECT_EQ(dropped.code, CURLE_GOT_NOTHING);
  EXPECT_NE(fetch(address).body, "");
}

TEST_F(SampleProtocol, BlankPhotoEntryFaultEmptiesExactlyThatEntry) {
  const Album& album = open_album();
  sample_service().faults().blank_photo_entry = 3;
  const std::string document = fetch("http://" + catalogue_address(album.id)).body;
  EXPECT_EQ(text_between(document, "{id:3,ourl:'", "',"), "");
  EXPECT_NE(document.find("ourl:'',"), std::string::npos);
  EXPECT_NE(document.find(album.photos[3].path), std::string::npos) << "later entries stay";
}

TEST_F(SampleProtocol, UpdatePageCarriesTheNewestVersionBetweenTheMarkers) {
  for (const std::string& host : {sample_service().hosts().update, std::string("other.example")}) {
    const Fetched page = fetch("http://" + host + "/download/softzuixinv/index.html");
    EXPECT_EQ(page.status, 200);
    EXPECT_EQ(text_between(page.body, "#lumarokh@@", "#lumarokh"),
              sample_service().fixture().newest_version);
  }
}

TEST_F(SampleProtocol, LowercaseSetCookieFaultSpellsTheHeaderOddly) {
  sample_service().faults().lowercase_set_cookie = true;
  const Fetched login = fetch(
      web() + "/login",
      {.method = "POST", .body = "user=amy&password=" + sample_service().fixture().login_password});
  std::vector<std::string> names;
  for (const std::string& line : login.header_lines) {
    if (line.size() > 11 && (line[0] == 's' || line[0] == 'S') && line.find(':') == 10) {
      names.push_back(line.substr(0, 10));
    }
  }
  EXPECT_EQ(names, (std::vector<std::string>{"set-cookie", "SET-COOKIE"}));
}

}  // namespace
}  // namespace tamberlo::test
