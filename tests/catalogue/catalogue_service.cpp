#include "catalogue_service.h"

#include <string>
#include <utility>

#include "catalogue/service_hosts.h"
#include "http/cookie_store.h"
#include "http/http_settings.h"
#include "http/internet_request.h"
#include "http/request_description.h"
#include "support/sample_service_environment.h"

namespace tamberlo::catalogue_test {

sample::Fixture catalogue_fixture() {
  using Access = sample::Album::Access;
  auto album = [](std::string id, std::string name, int photos, Access access,
                  std::string password) {
    sample::Album result;
    result.id = std::move(id);
    result.name_utf8 = std::move(name);
    result.photos.resize(photos);
    result.access = access;
    result.password = std::move(password);
    return result;
  };
  sample::Fixture fixture;
  fixture.owners.push_back({"abc",
                            {album("1001", "春游", 12, Access::open, ""),
                             album("1002", "家人 合影", 3, Access::password, "1234"),
                             album("1003", "同学聚会", 2, Access::login, "")}});
  fixture.owners.push_back({"solo", {album("3001", "独照", 1, Access::open, "")}});
  return fixture;
}

void reset_service() {
  set_service_hosts(ServiceHosts{});
  set_default_proxy(test::sample_service().proxy_url());
  test::reset_sample_service();
  process_cookie_store().clear();
}

void unlock_album(std::string_view account, std::string_view album_id, std::string_view password) {
  RequestDescription request;
  request.url = "http://photo.163.com/" + std::string(account) + "/unlock";
  request.method = 1;
  request.body_text = "aid=" + std::string(album_id) + "&password=" + std::string(password);
  internet_request(request);
}

void log_in() {
  RequestDescription request;
  request.url = "http://photo.163.com/login";
  request.method = 1;
  request.body_text = "user=viewer&password=demo";
  internet_request(request);
}

}  // namespace tamberlo::catalogue_test
