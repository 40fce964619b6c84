#include "http/transfer.h"

#include <algorithm>
#include <cctype>
#include <memory>
#include <utility>

#include "http/cookie_store.h"
#include "http/http_settings.h"
#include "http/request_description.h"
#include "http/transfer_gate.h"

namespace tamberlo {
namespace {

using Clock = std::chrono::steady_clock;

struct SlistDeleter {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using Slist = std::unique_ptr<curl_slist, SlistDeleter>;

struct CurlUrlDeleter {
  void operator()(CURLU* url) const { curl_url_cleanup(url); }
};
struct CurlTextDeleter {
  void operator()(char* text) const { curl_free(text); }
};

// What the callbacks of one hop share.
struct Exchange {
  CURL* handle = nullptr;
  std::size_t limit = 0;
  TransferGate* gate = nullptr;
  std::optional<std::chrono::milliseconds> idle_timeout;
  Clock::time_point last_activity = Clock::now();
  std::string headers;
  bool headers_done = false;
  Bytes body;
  curl_off_t uploaded = 0;
  bool expect_body = true;
};

constexpr std::size_t kLargestReserve = std::size_t{32} * 1024 * 1024;

std::size_t on_header(char* data, std::size_t size, std::size_t count, void* user) {
  auto& exchange = *static_cast<Exchange*>(user);
  exchange.last_activity = Clock::now();
  std::string_view line(data, size * count);
  // Every answer of the exchange (1xx, proxy tunnel, redirects) starts with its status line;
  // only the last answer's block is wanted.
  if (line.rfind("HTTP/", 0) == 0) {
    exchange.headers.clear();
    exchange.headers_done = false;
  }
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
  if (line.empty()) {
    exchange.headers_done = true;
    curl_off_t length = -1;
    if (curl_easy_getinfo(exchange.handle, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length) ==
            CURLE_OK &&
        length > 0 && static_cast<std::size_t>(length) <= exchange.limit && exchange.expect_body) {
      // A length the server merely claims reserves a bounded amount; growth does the rest.
      exchange.body.reserve(std::min(static_cast<std::size_t>(length), kLargestReserve));
    }
  } else {
    exchange.headers.append(line);
    exchange.headers.append("\r\n");
  }
  return size * count;
}

std::size_t on_body(char* data, std::size_t size, std::size_t count, void* user) {
  auto& exchange = *static_cast<Exchange*>(user);
  const std::size_t length = size * count;
  if (exchange.body.size() + length > exchange.limit) return 0;  // fails the transfer
  exchange.last_activity = Clock::now();
  exchange.body.append(data, length);
  return length;
}

int on_progress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t uploaded) {
  auto& exchange = *static_cast<Exchange*>(user);
  if (uploaded != exchange.uploaded) {
    exchange.uploaded = uploaded;
    exchange.last_activity = Clock::now();
  }
  if (exchange.gate != nullptr) {
    if (exchange.gate->paused()) {
      // Blocking here keeps libcurl from reading, so the transfer stands still until resumed.
      if (!exchange.gate->pass()) return 1;
      exchange.last_activity = Clock::now();
    }
    if (exchange.gate->cancelled()) return 1;
  }
  if (exchange.idle_timeout && Clock::now() - exchange.last_activity > *exchange.idle_timeout) {
    return 1;
  }
  return 0;
}

std::string host_of(const std::string& url) {
  std::unique_ptr<CURLU, CurlUrlDeleter> parsed(curl_url());
  if (!parsed || curl_url_set(parsed.get(), CURLUPART_URL, url.c_str(), 0) != CURLUE_OK) return {};
  char* host = nullptr;
  if (curl_url_get(parsed.get(), CURLUPART_HOST, &host, 0) != CURLUE_OK) return {};
  std::unique_ptr<char, CurlTextDeleter> owned(host);
  return to_lower_ascii(host);
}

bool named(std::string_view line, std::string_view name) {
  return to_lower_ascii(header_name(line)) == name;
}

bool has_http_scheme(std::string_view url) {
  const Text lower = to_lower_ascii(url.substr(0, 8));
  return lower.rfind("http://", 0) == 0 || lower.rfind("https://", 0) == 0;
}

std::vector<std::string> set_cookie_values(std::string_view raw_headers) {
  std::vector<std::string> values;
  for (const Text& line : split_text(raw_headers, "\r\n")) {
    if (named(line, "set-cookie")) values.push_back(header_value(line));
  }
  return values;
}

// Applies every option of one hop; false when libcurl refuses one (a malformed address).
bool configure(CURL* handle, const TransferOptions& options, const curl_slist* headers,
               Exchange& exchange) {
  curl_easy_reset(handle);
  bool ok = true;
  auto set = [&](CURLoption option, auto value) {
    ok = ok && curl_easy_setopt(handle, option, value) == CURLE_OK;
  };
  set(CURLOPT_URL, options.url.c_str());
  set(CURLOPT_NOSIGNAL, 1L);
  set(CURLOPT_PROTOCOLS_STR, "http,https");
  set(CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  set(CURLOPT_FOLLOWLOCATION, 0L);
  set(CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
  set(CURLOPT_PROXY, options.proxy.c_str());
  set(CURLOPT_NOPROXY, "");
  set(CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
  if (!options.user.empty()) {
    if (options.credentials_for_proxy) {
      set(CURLOPT_PROXYUSERNAME, options.user.c_str());
      set(CURLOPT_PROXYPASSWORD, options.password.c_str());
      set(CURLOPT_PROXYAUTH, static_cast<long>(CURLAUTH_ANY));
    } else {
      set(CURLOPT_USERNAME, options.user.c_str());
      set(CURLOPT_PASSWORD, options.password.c_str());
      set(CURLOPT_HTTPAUTH, static_cast<long>(CURLAUTH_ANY));
    }
  }
  if (options.user_agent) set(CURLOPT_USERAGENT, options.user_agent->c_str());
  set(CURLOPT_HTTPHEADER, headers);
  if (options.connect_timeout) {
    set(CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(options.connect_timeout->count()));
  }
  set(CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(exchange.limit));

  if (options.verb == "HEAD") {
    // An answer to HEAD has no body to wait for, even when the request carries one.
    set(CURLOPT_NOBODY, 1L);
  }
  if (options.send_body) {
    set(CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(options.body.size()));
    set(CURLOPT_POSTFIELDS, options.body.data());
    if (options.verb != "POST") set(CURLOPT_CUSTOMREQUEST, options.verb.c_str());
  } else if (options.verb == "POST") {
    set(CURLOPT_POSTFIELDSIZE_LARGE, curl_off_t{0});
    set(CURLOPT_POSTFIELDS, "");
  } else if (options.verb == "GET") {
    set(CURLOPT_HTTPGET, 1L);
  }

  set(CURLOPT_HEADERFUNCTION, on_header);
  set(CURLOPT_HEADERDATA, &exchange);
  set(CURLOPT_WRITEFUNCTION, on_body);
  set(CURLOPT_WRITEDATA, &exchange);
  set(CURLOPT_XFERINFOFUNCTION, on_progress);
  set(CURLOPT_XFERINFODATA, &exchange);
  set(CURLOPT_NOPROGRESS, 0L);
  return ok;
}

Slist header_list(const TransferOptions& options) {
  Slist list;
  auto add = [&](const std::string& line) {
    curl_slist* grown = curl_slist_append(list.get(), line.c_str());
    if (grown != nullptr) {
      (void)list.release();
      list.reset(grown);
    }
  };
  for (const std::string& line : options.header_lines) add(line);
  // libcurl would otherwise hold back a large body for a "100 Continue" first.
  add("Expect:");
  if (options.browser_cookies &&
      std::none_of(options.header_lines.begin(), options.header_lines.end(),
                   [](const std::string& line) { return named(line, "cookie"); })) {
    const std::string cookies = process_cookie_store().cookie_header_for(options.url);
    if (!cookies.empty()) add("Cookie: " + cookies);
  }
  return list;
}

// Shapes the next hop as a browser would: 303 always, and 301/302 after a POST, turn into a
// GET without body; the caller's cookies and credentials never go to another host.
void prepare_redirect(TransferOptions& options, int status, std::string next_url) {
  if ((status == 303 && options.verb != "HEAD") ||
      ((status == 301 || status == 302) && options.verb == "POST")) {
    options.verb = "GET";
    options.send_body = false;
    options.body.clear();
  }
  if (host_of(next_url) != host_of(options.url)) {
    std::erase_if(options.header_lines, [](const std::string& line) {
      return named(line, "cookie") || named(line, "authorization");
    });
    if (!options.credentials_for_proxy) {
      options.user.clear();
      options.password.clear();
    }
  }
  options.url = std::move(next_url);
}

bool is_followed_redirect(int status) {
  return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

}  // namespace

TransferResult perform_transfer(CURL* handle, TransferOptions options) {
  if (handle == nullptr) return {};
  for (int hop = 0; hop <= kRedirectLimit; ++hop) {
    Exchange exchange;
    exchange.handle = handle;
    exchange.limit = body_limit();
    exchange.gate = options.gate;
    exchange.idle_timeout = options.idle_timeout;
    exchange.expect_body = options.verb != "HEAD";
    const Slist headers = header_list(options);
    if (!configure(handle, options, headers.get(), exchange)) return {};
    const CURLcode code = curl_easy_perform(handle);
    if (options.browser_cookies && exchange.headers_done) {
      for (const std::string& value : set_cookie_values(exchange.headers)) {
        process_cookie_store().store_from_header(options.url, value);
      }
    }
    if (code != CURLE_OK) return {};

    long status = 0;
    curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &status);
    char* location = nullptr;
    curl_easy_getinfo(handle, CURLINFO_REDIRECT_URL, &location);
    if (options.follow_redirects && is_followed_redirect(static_cast<int>(status)) &&
        location != nullptr) {
      if (!has_http_scheme(location)) return {};
      prepare_redirect(options, static_cast<int>(status), location);
      continue;
    }
    TransferResult result;
    result.answered = true;
    result.status = static_cast<int>(status);
    result.raw_headers = std::move(exchange.headers);
    result.body = std::move(exchange.body);
    return result;
  }
  return {};  // redirected in circles
}

namespace {

// "name://" at the very start, the name made of the characters a scheme may hold.
bool names_scheme(std::string_view url) {
  std::size_t i = 0;
  while (i < url.size() && (std::isalnum(static_cast<unsigned char>(url[i])) != 0 ||
                            url[i] == '+' || url[i] == '-' || url[i] == '.')) {
    ++i;
  }
  return i > 0 && std::isalpha(static_cast<unsigned char>(url[0])) != 0 &&
         url.substr(i, 3) == "://";
}

}  // namespace

std::string wire_url(std::string_view url) {
  return (names_scheme(url) ? "" : "http://") + escape_unsafe_bytes(url);
}

std::string escape_unsafe_bytes(std::string_view url) {
  std::string address;
  static constexpr char kHex[] = "0123456789ABCDEF";
  for (const char c : url) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte <= 0x20 || byte >= 0x7F) {
      address += '%';
      address += kHex[byte >> 4];
      address += kHex[byte & 0x0F];
    } else {
      address += c;
    }
  }
  return address;
}

}  // namespace tamberlo
