#include <gtest/gtest.h>

#include "http/internet_request.h"

namespace tamberlo {
namespace {

struct UrlCase {
  const char* url;
  const char* host;
  const char* host_with_port;
  int port;
  const char* path;
};

TEST(HttpUrlParts, HostPortAndObject) {
  const UrlCase cases[] = {
      {"https://Photo.163.com/a/B?x=1", "photo.163.com", "photo.163.com", 443, "/a/B?x=1"},
      {"HTTPS://photo.163.com/", "photo.163.com", "photo.163.com", 443, "/"},
      {"photo.163.com/path/x.html", "photo.163.com", "photo.163.com", 80, "/path/x.html"},
      {"http://host:8080/p/q?r=1#frag", "host", "host:8080", 8080, "/p/q?r=1#frag"},
      {"http://host.example", "host.example", "host.example", 80, "/"},
      {"https://HOST.example:8443", "host.example", "host.example:8443", 8443, "/"},
      {"http://host.example?x=1", "host.example?x=1", "host.example?x=1", 80, "/"},
      {"http://pic.example:x/", "pic.example", "pic.example:x", 0, "/"},
      {"http://pic.example: 81/p", "pic.example", "pic.example: 81", 81, "/p"},
  };
  for (const UrlCase& c : cases) {
    EXPECT_EQ(url_host(c.url, false), c.host) << c.url;
    EXPECT_EQ(url_host(c.url, true), c.host_with_port) << c.url;
    EXPECT_EQ(url_port(c.url), c.port) << c.url;
    EXPECT_EQ(url_path(c.url), c.path) << c.url;
  }
}

}  // namespace
}  // namespace tamberlo
