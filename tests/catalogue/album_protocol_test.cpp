#include "catalogue/album_protocol.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "catalogue/service_hosts.h"
#include "text/encoding.h"

namespace tamberlo {
namespace {

Text gbk_of(std::string_view utf8) { return utf8_to_local(utf8); }

// Distinct host names, so an address built from the wrong host cannot pass for the right one.
class AlbumProtocol : public ::testing::Test {
 protected:
  void SetUp() override {
    ServiceHosts hosts;
    hosts.web_host = "w.example";
    hosts.cover_host = "c.example";
    hosts.alternate_cover_host = "ac.example";
    hosts.image_host = "p.example";
    hosts.alternate_image_host = "a.example";
    set_service_hosts(hosts);
  }
  void TearDown() override { set_service_hosts(ServiceHosts{}); }
};

struct InputCase {
  const char* input_utf8;
  bool accepted;
  const char* account_utf8;
};

void PrintTo(const InputCase& c, std::ostream* out) { *out << '"' << c.input_utf8 << '"'; }

class OwnerAccountFromInput : public AlbumProtocol,
                              public ::testing::WithParamInterface<InputCase> {};

TEST_P(OwnerAccountFromInput, TakesTheAccountOrRefuses) {
  const InputCase& c = GetParam();
  const OwnerAccount owner = owner_account_from_input(gbk_of(c.input_utf8));
  EXPECT_EQ(owner.accepted, c.accepted) << c.input_utf8;
  EXPECT_EQ(owner.account, gbk_of(c.account_utf8)) << c.input_utf8;
}

INSTANTIATE_TEST_SUITE_P(
    Forms, OwnerAccountFromInput,
    ::testing::Values(
        // sub-domain form
        InputCase{"http://abc.w.example/", true, "abc"},
        InputCase{"http://abc.w.example", true, "abc"},
        InputCase{"abc.w.example", true, ""},  // no scheme: the start marker is missing
        // path form
        InputCase{"http://w.example/abc", true, "abc"},
        InputCase{"http://w.example/abc/#m=0&p=1", true, "abc"},
        InputCase{"http://w.example/春游者/", true, "春游者"},
        InputCase{"http://w.example", true, "http://w.example"},  // nothing follows the host
        InputCase{"http://w.example/", true, ""},
        // blanks, ASCII and full-width, go before any rule applies
        InputCase{"  http://w.example/abc  ", true, "abc"},
        InputCase{"\u3000http://w.example/abc\u3000 ", true, "abc"},
        // refused
        InputCase{"abc", false, ""}, InputCase{"", false, ""}, InputCase{"   ", false, ""},
        InputCase{"\u3000", false, ""}, InputCase{"http://other.example/abc", false, ""},
        InputCase{"HTTP://W.EXAMPLE/abc", false, ""},  // compared with regard to case
        InputCase{"w.example/abc", false, ""}));

TEST_F(AlbumProtocol, PageAddressesAreJoinedFromTheWebHost) {
  EXPECT_EQ(service_home_page(), "http://w.example/");
  EXPECT_EQ(owner_home_page("abc"), "http://w.example/abc/#m=0&p=1");
  EXPECT_EQ(owner_home_page(""), "http://w.example//#m=0&p=1");
  EXPECT_EQ(album_page_address("abc", "123"), "http://w.example/abc/#m=1&aid=123&p=1");
}

TEST_F(AlbumProtocol, BothGetAlbumDataFormsCarryTheIdWithTheirOwnFixedValues) {
  EXPECT_EQ(album_data_call_catalogue("123"),
            "http://w.example/photo/qelvannu/dwr/call/plaincall/AlbumBean.getAlbumData.dwr"
            "?callCount=1&scriptSessionId=%24%7BscriptSessionId%7D187&c0-scriptName=AlbumBean"
            "&c0-methodName=getAlbumData&c0-id=0&c0-param0=number%3A123&c0-param1=string%3A"
            "&c0-param2=string%3Afromblog&c0-param3=string%3A24881696&c0-param4=boolean%3Afalse"
            "&batchId=530377");
  EXPECT_EQ(album_data_call_download("123"),
            "http://w.example/photo/mop4481/dwr/call/plaincall/AlbumBean.getAlbumData.dwr"
            "?callCount=1&scriptSessionId=%24%7BscriptSessionId%7D187&c0-scriptName=AlbumBean"
            "&c0-methodName=getAlbumData&c0-id=0&c0-param0=string%3A123&c0-param1=string%3A"
            "&c0-param2=string%3A&c0-param3=number%3A24881696&c0-param4=boolean%3Afalse"
            "&batchId=530377");
}

TEST_F(AlbumProtocol, AlbumListAddressIsCutFromTheHomePage) {
  EXPECT_EQ(album_list_address("var p = {albumUrl : 'x/y.js', n : 1};"), "x/y.js");
  EXPECT_EQ(album_list_address("a albumUrl : 'http://s.example/l.js' b albumUrl : 'z.js'"),
            "http://s.example/l.js");
  EXPECT_EQ(album_list_address("albumUrl:'x/y.js'"), "");    // the blanks belong to the marker
  EXPECT_EQ(album_list_address("AlbumUrl : 'x/y.js'"), "");  // with regard to case
  EXPECT_EQ(album_list_address("albumUrl : 'x/y.js"), "");   // no closing quote
  EXPECT_EQ(album_list_address(""), "");
}

TEST_F(AlbumProtocol, AlbumRecordsComeOutInOrderWithTheirFiveFields) {
  const Text script = gbk_of(
      "var g_albums = [{id:101,name:'春游',s:0,count:12,t:'1',lurl:'a/b/c.jpg',"
      "dmt:1300000000,purl:'s1.example/list/101.js'},"
      "{id:102,name:'家人 合影',s:1,count:0,t:'',lurl:'7/cover.jpg',dmt:1,desc:'',"
      "purl:''},\n"
      "{ID:103,NAME:'旅行',S:2,COUNT:3,T:'x',LURL:'9/d/e.png',DMT:2,PURL:'s2.example/103.js'}];");
  const std::vector<AlbumRecord> records = read_album_records(script);
  ASSERT_EQ(records.size(), 3u);

  EXPECT_EQ(records[0].id, "101");
  EXPECT_EQ(records[0].name, gbk_of("春游"));
  EXPECT_EQ(records[0].count, "12");
  EXPECT_EQ(records[0].cover_path, "b/c.jpg");  // lurl after its first "/"
  EXPECT_EQ(records[0].data_address, "s1.example/list/101.js");

  EXPECT_EQ(records[1].id, "102");
  EXPECT_EQ(records[1].name, gbk_of("家人 合影"));
  EXPECT_EQ(records[1].count, "0");
  EXPECT_EQ(records[1].cover_path, "cover.jpg");
  EXPECT_EQ(records[1].data_address, "");  // withheld

  // The pattern is matched without regard to case.
  EXPECT_EQ(records[2].id, "103");
  EXPECT_EQ(records[2].name, gbk_of("旅行"));
  EXPECT_EQ(records[2].cover_path, "d/e.png");
  EXPECT_EQ(records[2].data_address, "s2.example/103.js");
}

TEST_F(AlbumProtocol, TextWithoutRecordsGivesNone) {
  EXPECT_TRUE(read_album_records("").empty());
  EXPECT_TRUE(read_album_records("<html>404 Not Found</html>").empty());
  // A record cut off before its purl is no record.
  EXPECT_TRUE(read_album_records("{id:1,name:'a',s:0,count:1,t:'',lurl:'a/b',dmt:1}").empty());
}

TEST_F(AlbumProtocol, DataAddressIsCutFromTheCallbackWrapper) {
  const Text answer =
      "//#DWR-INSERT\r\n//#DWR-REPLY\r\n"
      "dwr.engine._remoteHandleCallback('530377','0',\"h/p.js\");\r\n";
  EXPECT_EQ(data_address_from_catalogue_answer(answer), "h/p.js");
  EXPECT_EQ(data_address_from_download_answer(answer), "h/p.js");

  // The catalogue form reads its marker with regard to case, the download form without.
  const Text capitals = "DWR.ENGINE._REMOTEHANDLECALLBACK('530377','0',\"h/p.js\");";
  EXPECT_EQ(data_address_from_catalogue_answer(capitals), "");
  EXPECT_EQ(data_address_from_download_answer(capitals), "h/p.js");

  // Error answers, a wrapper of another batch, and nothing at all keep the album closed.
  for (const Text& closed :
       {Text("dwr.engine._remoteHandleException('530377','0',{message:\"denied\"});"),
        Text("dwr.engine._remoteHandleCallback('1','0',\"h/p.js\");"),
        Text("dwr.engine._remoteHandleCallback('530377','0',null);"), Text()}) {
    EXPECT_EQ(data_address_from_catalogue_answer(closed), "") << closed;
    EXPECT_EQ(data_address_from_download_answer(closed), "") << closed;
  }
}

TEST_F(AlbumProtocol, CoverAddressesUseTheCoverHostsAndRewriteEveryOccurrence) {
  EXPECT_EQ(cover_address("b/c.jpg"), "http://c.example/b/c.jpg");
  EXPECT_EQ(alternate_cover_address("http://c.example/b/c.jpg"), "http://ac.example/b/c.jpg");
  EXPECT_EQ(alternate_cover_address("http://c.example/c.example/x.jpg"),
            "http://ac.example/ac.example/x.jpg");
  EXPECT_EQ(alternate_cover_address("http://C.EXAMPLE/x.jpg"), "http://C.EXAMPLE/x.jpg");
}

TEST_F(AlbumProtocol, PhotoAddressesFromAnEntry) {
  EXPECT_EQ(photo_path("7/a/b.jpg"), "/a/b.jpg");
  EXPECT_EQ(photo_path(""), "");
  EXPECT_EQ(photo_address("/a/b.jpg"), "http://p.example//a/b.jpg");
  EXPECT_EQ(alternate_photo_address("/a/b.jpg"), "http://a.example/a/b.jpg");
  EXPECT_EQ(album_data_document_address("h/p.js"), "http://h/p.js");
}

}  // namespace
}  // namespace tamberlo
