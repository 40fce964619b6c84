#include <ctime>
#include <nlohmann/json.hpp>
#include <string>

#include "sample-service/routes.h"

namespace tamberlo::sample {
namespace {

std::string web_address(const State& state, std::string_view path) {
  return "http://" + state.hosts.web + std::string(path);
}

std::string page(std::string_view title, std::string_view body) {
  return "<!DOCTYPE html>\n<html><head><meta charset=\"gbk\"><title>" + std::string(title) +
         "</title></head>\n<body>\n" + std::string(body) + "</body></html>\n";
}

std::string cookie_safe(std::string_view text) {
  static const char* hex = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : text) {
    if (std::isalnum(c) || c == '_' || c == '-' || c == '.' || c == '@') {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += hex[c >> 4];
      out += hex[c & 15];
    }
  }
  return out;
}

std::string login_form(const State& state) {
  return "<form method=\"post\" action=\"" + web_address(state, "/login") +
         "\">\n<p>用户名 <input name=\"user\" id=\"login-user\"></p>\n"
         "<p>密码 <input type=\"password\" name=\"password\" id=\"login-password\"></p>\n"
         "<p><button type=\"submit\" id=\"login-submit\">登录</button></p>\n</form>\n";
}

std::string logged_in_user(const RequestHead& head) {
  auto info = cookie_value(head.header("Cookie"), "P_INFO");
  if (!info) return {};
  return form_decode(info->substr(0, info->find('|')));
}

void home_page(State& state, const RequestHead& head, httplib::Response& res) {
  std::string body = "<h1>网易相册</h1>\n";
  if (state.logged_in(head)) {
    body += "<p id=\"login-state\">已登录：" + html_escape(logged_in_user(head)) + " (<a href=\"" +
            web_address(state, "/logout") + "\">退出</a>)</p>\n";
  } else {
    body += "<p id=\"login-state\">未登录。<a href=\"" + web_address(state, "/login") +
            "\">登录</a></p>\n";
  }
  body += "<h2>相册主人</h2>\n<ul>\n";
  for (const Owner& owner : state.fixture.owners) {
    std::string address = web_address(state, "/" + owner.account + "/");
    body += "<li><a href=\"" + html_escape(address) + "\">" + html_escape(address) + "</a> (" +
            std::to_string(owner.albums.size()) + " 个相册)</li>\n";
  }
  body += "</ul>\n";
  set_gbk_page(res, page("网易相册", body));
}

void login(State& state, const RequestHead& head, const std::string& form, httplib::Response& res) {
  if (head.method != "POST") {
    set_gbk_page(res, page("登录 - 网易相册", "<h1>登录网易相册</h1>\n" + login_form(state)));
    return;
  }
  std::string user = form_value(form, "user");
  if (user.empty() || form_value(form, "password") != state.fixture.login_password) {
    set_gbk_page(res,
                 page("登录 - 网易相册",
                      "<h1>登录网易相册</h1>\n<p id=\"login-error\">用户名或密码错误"
                      "</p>\n" +
                          login_form(state)),
                 403);
    return;
  }
  add_cookie(state, res,
             std::string(kSessionCookie) + "=" + state.new_session(user) + "; Path=/; HttpOnly", 0);
  add_cookie(
      state, res,
      "P_INFO=" + cookie_safe(user) + "|" + std::to_string(std::time(nullptr)) + "|1; Path=/", 1);
  set_gbk_page(res,
               page("已登录 - 网易相册", "<h1>已登录</h1>\n<p id=\"login-state\">已登录：" +
                                             html_escape(user) + "</p>\n<p><a href=\"" +
                                             web_address(state, "/") + "\">返回首页</a></p>\n"));
}

void logout(State& state, const RequestHead& head, httplib::Response& res) {
  if (auto session = cookie_value(head.header("Cookie"), kSessionCookie)) {
    std::lock_guard lock(state.mutex);
    state.sessions.erase(*session);
  }
  add_cookie(state, res, std::string(kSessionCookie) + "=; Path=/; Max-Age=0; HttpOnly", 0);
  add_cookie(state, res, "P_INFO=; Path=/; Max-Age=0", 1);
  set_gbk_page(res, page("已退出 - 网易相册", "<p id=\"login-state\">已退出。</p>\n"));
}

void owner_page(State& state, std::string_view account, httplib::Response& res) {
  const Owner* owner = state.owner(account);
  if (owner == nullptr) {
    set_gbk_page(res, page("网易相册", "<p>没有找到用户 " + html_escape(account) + "。</p>\n"));
    return;
  }
  nlohmann::json guarded = nlohmann::json::object();
  std::string list;
  for (const Album& album : owner->albums) {
    list += "<li><a href=\"#m=1&amp;aid=" + album.id + "&amp;p=1\">" +
            html_escape(album.name_utf8) + "</a> (" + std::to_string(listed_count(album)) +
            " 张)</li>\n";
    if (album.access == Album::Access::open) continue;
    guarded[album.id] = {{"name", album.name_utf8},
                         {"kind", album.access == Album::Access::login ? "login" : "password"},
                         {"cookie", access_cookie_name(album)}};
  }
  std::string albums_json = guarded.dump(-1, ' ', true);
  for (std::size_t at = albums_json.find('<'); at != std::string::npos;
       at = albums_json.find('<', at)) {
    albums_json.replace(at, 1, "\\u003c");
  }
  const std::string list_address = "http://" + state.hosts.script + album_list_path(owner->account);
  std::string body =
      "<p><a href=\"" + web_address(state, "/") + "\">网易相册</a> | <a href=\"" +
      web_address(state, "/login") + "\">登录</a></p>\n<h1>" + html_escape(owner->account) +
      " 的相册</h1>\n<ul id=\"albums\">\n" + list +
      "</ul>\n"
      "<p id=\"album-state\"></p>\n"
      "<form id=\"unlock\" method=\"post\" action=\"" +
      web_address(state, "/" + owner->account + "/unlock") +
      "\" style=\"display:none\">\n"
      "<p>相册《<span id=\"unlock-name\"></span>》需要密码才能访问</p>\n"
      "<input type=\"hidden\" name=\"aid\" id=\"unlock-aid\">\n"
      "<p>密码 <input type=\"password\" name=\"password\" id=\"unlock-password\"> "
      "<button type=\"submit\" id=\"unlock-submit\">进入相册</button></p>\n</form>\n"
      "<p id=\"login-hint\" style=\"display:none\">此相册仅对登录用户开放，请先<a href=\"" +
      web_address(state, "/login") +
      "\">登录</a>。</p>\n"
      "<script>\n"
      "var albumSetting = { owner : '" +
      owner->account + "', albumUrl : '" + list_address +
      "' };\n"
      "var guardedAlbums = " +
      albums_json +
      ";\n"
      "function showAlbum() {\n"
      "  var found = /(?:^#|&)aid=(\\d+)/.exec(location.hash);\n"
      "  var album = found ? guardedAlbums[found[1]] : null;\n"
      "  var form = document.getElementById('unlock');\n"
      "  var hint = document.getElementById('login-hint');\n"
      "  var state = document.getElementById('album-state');\n"
      "  form.style.display = 'none'; hint.style.display = 'none'; state.textContent = '';\n"
      "  if (!found) return;\n"
      "  if (!album) { state.textContent = '\\u76f8\\u518c ' + found[1]; return; }\n"
      "  if (album.kind === 'password') {\n"
      "    if (document.cookie.indexOf(album.cookie + '=') >= 0) {\n"
      "      state.textContent = '\\u5df2\\u83b7\\u5f97\\u8bbf\\u95ee\\u6743\\u9650'; return;\n"
      "    }\n"
      "    document.getElementById('unlock-aid').value = found[1];\n"
      "    document.getElementById('unlock-name').textContent = album.name;\n"
      "    form.style.display = 'block';\n"
      "    document.getElementById('unlock-password').focus();\n"
      "  } else {\n"
      "    hint.style.display = 'block';\n"
      "  }\n"
      "}\n"
      "window.addEventListener('hashchange', showAlbum);\n"
      "showAlbum();\n"
      "</script>\n";
  set_gbk_page(res, page(owner->account + " 的相册 - 网易相册", body));
}

void unlock(State& state, std::string_view account, const std::string& form,
            httplib::Response& res) {
  const Owner* owner = state.owner(account);
  const AlbumPlace* place = state.album(form_value(form, "aid"));
  const std::string back = web_address(state, "/" + std::string(account) + "/");
  if (owner == nullptr || place == nullptr || place->owner != owner ||
      place->album->access != Album::Access::password) {
    set_gbk_page(res, page("网易相册", "<p id=\"unlock-result\">没有这个相册。</p>\n"), 404);
    return;
  }
  const Album& album = *place->album;
  const std::string album_page = back + "#m=1&aid=" + album.id + "&p=1";
  if (form_value(form, "password") != album.password) {
    set_gbk_page(
        res,
        page("密码错误 - 网易相册", "<p id=\"unlock-result\">密码错误。</p>\n<p><a href=\"" +
                                        html_escape(album_page) + "\">再试一次</a></p>\n"),
        403);
    return;
  }
  add_cookie(state, res,
             access_cookie_name(album) + "=" + access_cookie_value(*owner, album) + "; Path=/", 0);
  set_gbk_page(res, page("已获得访问权限 - 网易相册",
                         "<p id=\"unlock-result\">已获得相册《" + html_escape(album.name_utf8) +
                             "》的访问权限。</p>\n<p><a href=\"" + html_escape(album_page) +
                             "\">进入相册</a></p>\n"));
}

}  // namespace

bool answer_web(State& state, const RequestHead& head, const std::string& body,
                httplib::Response& res) {
  const std::string& web = state.hosts.web;
  const std::string& host = head.host;
  const bool direct = host == "127.0.0.1" || host == "localhost" || host.empty();
  if (host != web && !direct) {
    // "<account>.<web host>": the owner's home page.
    if (host.size() > web.size() + 1 && host.ends_with("." + web) && head.path == "/") {
      owner_page(state, host.substr(0, host.size() - web.size() - 1), res);
      return true;
    }
    return false;
  }
  if (answer_data_call(state, head, res)) return true;
  const std::string& path = head.path;
  if (path == "/") {
    home_page(state, head, res);
    return true;
  }
  if (path == "/login") {
    login(state, head, body, res);
    return true;
  }
  if (path == "/logout") {
    logout(state, head, res);
    return true;
  }
  // "/<account>/", "/<account>" and "/<account>/unlock".
  std::string_view rest = std::string_view(path).substr(1);
  auto slash = rest.find('/');
  std::string_view account = rest.substr(0, slash);
  std::string_view after = slash == std::string_view::npos ? "" : rest.substr(slash);
  if (account.empty()) return false;
  if (after.empty() || after == "/") {
    owner_page(state, account, res);
    return true;
  }
  if (after == "/unlock" && head.method == "POST") {
    unlock(state, account, body, res);
    return true;
  }
  return false;
}

}  // namespace tamberlo::sample
