#pragma once

#include <string>

// The album service's host names and the maker's addresses: the one place that holds them.
namespace tamberlo {

struct ServiceHosts {
  std::string web_host = "photo.163.com";     // home pages, album pages, remote calls
  std::string cover_host = "img.ph.126.net";  // album covers
  std::string alternate_cover_host = "img.bimg.126.net";
  std::string image_host = "img.ph.126.net";  // photos
  std::string alternate_image_host = "img1.ph.126.net";

  // The maker's pages: the update page lives at "/download/softzuixinv/index.html" on maker_host.
  std::string maker_host = "www.tamberlo.example";
  std::string maker_home_page = "http://www.tamberlo.example/";
  std::string maker_support_page = "http://www.tamberlo.example/support.html";
};

// The hosts in force for this process (the defaults unless a front end changed them at start).
const ServiceHosts& service_hosts();
void set_service_hosts(const ServiceHosts& hosts);

}  // namespace tamberlo
