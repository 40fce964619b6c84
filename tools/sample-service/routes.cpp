// Every address the sample service answers. Hosts are those of Hosts (defaults in brackets);
// a request names its host in an absolute target ("GET http://photo.163.com/demo/ HTTP/1.1",
// the service being the proxy) or in its Host header. A request to 127.0.0.1 itself is taken as
// one for the web host, so the service can also be browsed directly.
//
// Web host [photo.163.com] (pages in GBK):
//   GET  /                      service home page: link to the login page, the owners' addresses
//   GET  /login                 login form (any user name, the fixture's login password)
//   POST /login                 user=…&password=…: Set-Cookie NTES_SESS (HttpOnly) and P_INFO
//   GET  /logout                forgets the session cookies
//   GET  /<account>/            owner's home page naming "albumUrl : '<album-list address>'";
//                               for "#m=1&aid=ID&p=1" of a withheld album its script shows the
//                               password form (or a login hint); unknown owner: a page without
//                               the marker
//   GET  /  on <account>.<web>  the same owner's home page
//   POST /<account>/unlock      aid=ID&password=…: Set-Cookie ph_album_ID=… (Path=/) when right
//   GET  /photo/qelvannu/dwr/call/plaincall/AlbumBean.getAlbumData.dwr?…   catalogue form
//   GET  /photo/mop4481/dwr/call/plaincall/AlbumBean.getAlbumData.dwr?…    download form
//        the query must be exactly the client's; the answer is the callback wrapper around the
//        album-data address, or a remote exception (no wrapper) while the album is withheld
//        (login: no NTES_SESS session; password: no ph_album_ID cookie) or unknown; the
//        download form names <id>.full.js for a placeholder album
// Script host [s1.ph.126.net]:
//   GET  /photo/<account>/albumlist.js      album-list script (GBK), one record per album:
//        {id:ID,name:'NAME',s:0,count:N,t:'0',lurl:'8/cover/<account>/ID.jpg',dmt:…,purl:'…'}
//        purl is "<script host>/photo/<account>/data/ID.js", empty for a withheld album
//   GET  /photo/<account>/data/ID.js        album-data document (UTF-8) with one
//        "ourl:'<digit><photo path>'," per photo; the placeholder GIF for a placeholder album
//   GET  /photo/<account>/data/ID.full.js   album-data document, also for placeholder albums
// Cover host [img.ph.126.net] and alternate cover host [img.bimg.126.net]:
//   GET  /cover/<account>/ID.jpg            the album's cover (JPEG)
// Primary image host [img.ph.126.net] and alternate image host [img1.ph.126.net]:
//   GET  <photo path>                       the photo (JPEG, padded to its size); the primary
//                                           host is asked with "//" before the path
// Any host:
//   GET  /download/softzuixinv/index.html   maker's update page: "#lumarokh@@VERSION#lumarokh"
//   /_test/echo                  request line, header lines, blank line and body as received
//   /_test/status?code=N         status N, body "status N"
//   /_test/redirect?to=URL&code=N   redirect (default 302) to the decoded URL
//   /_test/headers?line=L…       each decoded L written as a raw header line, body "headers"
//   /_test/slow?ms=N             answers "slow" after N ms
//   /_test/trickle?bytes=N&chunk=K&ms=M   N bytes "a…", K at a time, M ms apart
//   /_test/drop                  closes the connection without any answer
//   /_test/bytes?n=N             N bytes: byte i is (i * 7 + 3) mod 256
//   /_test/big-header?n=N        a header line of about N bytes, then "Set-Cookie: big=1; Path=/"
//   /_test/cookies               body: the Cookie header received (several joined by "; ")
// Anything else: 404.
#include "sample-service/routes.h"

#include "sample-service/gbk.h"

namespace tamberlo::sample {
namespace {

constexpr std::string_view kUpdatePath = "/download/softzuixinv/index.html";
constexpr std::string_view kProductId = "lumarokh";

bool is_album_data_request(const State& state, const RequestHead& head) {
  return head.host == state.hosts.script && head.path.starts_with("/photo/") &&
         head.path.find("/data/") != std::string::npos && head.path.ends_with(".js");
}

void answer_update_page(State& state, httplib::Response& res) {
  const std::string marker = std::string(kProductId);
  set_gbk_page(res,
               "<!DOCTYPE html><html><head><meta charset=\"gbk\"><title>最新版本</title>"
               "</head><body><p>最新版本：<span>#" +
                   marker + "@@" + html_escape(state.fixture.newest_version) + "#" + marker +
                   "</span></p></body></html>\n");
}

}  // namespace

std::string html_escape(std::string_view text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

void set_gbk_page(httplib::Response& res, std::string_view utf8_html, int status) {
  res.status = status;
  res.set_content(gbk(utf8_html), "text/html; charset=GBK");
}

void add_cookie(State& state, httplib::Response& res, const std::string& cookie, int nth) {
  const char* name = "Set-Cookie";
  if (state.faults.lowercase_set_cookie) name = nth % 2 == 0 ? "set-cookie" : "SET-COOKIE";
  res.headers.emplace(name, cookie);
}

std::string read_raw_body(const RequestHead& head, RawStream& stream) {
  if (head.chunked()) return stream.read_chunked_raw();
  return stream.read_bytes(head.content_length());
}

RawOutcome answer_raw(State& state, const RequestHead& head, RawStream& stream) {
  if (head.path.starts_with("/_test/")) return answer_test_raw(state, head, stream);
  if (is_album_data_request(state, head) && state.faults.album_data_failure_drops &&
      State::take_one(state.faults.album_data_failures)) {
    stream.skip(head.raw.size());
    state.record(head, read_raw_body(head, stream));
    return RawOutcome::close;
  }
  return RawOutcome::not_mine;
}

void answer(State& state, const RequestHead& head, const std::string& body,
            httplib::Response& res) {
  state.record(head, body);
  bool answered = false;
  if (head.path.starts_with("/_test/")) {
    answered = answer_test(state, head, res);
  } else if (head.path == kUpdatePath) {
    answer_update_page(state, res);
    answered = true;
  } else if (is_album_data_request(state, head) &&
             State::take_one(state.faults.album_data_failures)) {
    res.status = 200;
    res.set_content("", "application/x-javascript; charset=utf-8");
    answered = true;
  } else {
    answered = answer_web(state, head, body, res) || answer_script(state, head, res) ||
               answer_image(state, head, res);
  }
  if (!answered) {
    res.headers.clear();
    set_gbk_page(res, "<html><body><h1>404</h1><p>没有这个地址</p></body></html>\n", 404);
  }
  if (int bytes = state.faults.extra_header_bytes; bytes > 0) {
    res.set_header("X-Padding", std::string(static_cast<std::size_t>(bytes), 'p'));
  }
}

}  // namespace tamberlo::sample
