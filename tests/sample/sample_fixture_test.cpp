// The fixture: the demo's shape, the JSON format and its errors, and the service's life.
#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <string>

#include "proxy_fetch.h"
#include "sample-service/sample_service.h"
#include "support/sample_service_environment.h"
#include "support/sandbox.h"

namespace tamberlo::test {
namespace {

using sample::Album;
using sample::Fixture;

TEST(SampleFixture, DemoHoldsEveryKindOfAlbumTheProgramMeets) {
  const Fixture demo = Fixture::demo();
  int albums = 0, password = 0, login = 0, placeholder = 0, odd_names = 0, over_listed = 0;
  for (const auto& owner : demo.owners) {
    for (const Album& album : owner.albums) {
      ++albums;
      EXPECT_GE(album.photos.size(), 3u);
      EXPECT_LE(album.photos.size(), 8u);
      password += album.access == Album::Access::password && album.password == "1234";
      login += album.access == Album::Access::login;
      placeholder += album.placeholder;
      odd_names += album.name_utf8.find_first_of("\\/:*?\"<>|") != std::string::npos ||
                   album.name_utf8.starts_with(" ");
      over_listed +=
          album.listed_count >= 0 && album.listed_count < static_cast<int>(album.photos.size());
    }
  }
  EXPECT_GE(demo.owners.size(), 2u);
  EXPECT_GE(albums, 10);
  EXPECT_EQ(password, 1);
  EXPECT_EQ(login, 1);
  EXPECT_EQ(placeholder, 1);
  EXPECT_GE(odd_names, 2);
  EXPECT_GE(over_listed, 1);
}

TEST(SampleFixture, JsonGivesOwnersAlbumsAndPhotos) {
  const Fixture fixture = Fixture::from_json(R"({
    "newest_version": "3.0", "login_password": "pw",
    "owners": [{"account": "amy", "albums": [
      {"id": 11, "name": "春游", "photos": 2, "photo_size": 5000},
      {"id": "12", "name": "locked", "access": "password", "password": "1234",
       "listed_count": 9, "photos": [{"path": "/p/a.jpg", "size": 10}, {}]},
      {"id": "13", "access": "login", "placeholder": true}
    ]}]})");
  EXPECT_EQ(fixture.newest_version, "3.0");
  EXPECT_EQ(fixture.login_password, "pw");
  ASSERT_EQ(fixture.owners.size(), 1u);
  const auto& albums = fixture.owners[0].albums;
  ASSERT_EQ(albums.size(), 3u);
  EXPECT_EQ(albums[0].id, "11");
  EXPECT_EQ(albums[0].name_utf8, "春游");
  ASSERT_EQ(albums[0].photos.size(), 2u);
  EXPECT_EQ(albums[0].photos[1].size_bytes, 5000);
  EXPECT_EQ(albums[1].access, Album::Access::password);
  EXPECT_EQ(albums[1].listed_count, 9);
  EXPECT_EQ(albums[1].photos[0].path, "/p/a.jpg");
  EXPECT_EQ(albums[1].photos[1].size_bytes, 0);
  EXPECT_EQ(albums[2].access, Album::Access::login);
  EXPECT_TRUE(albums[2].placeholder);
  EXPECT_TRUE(albums[2].photos.empty());
}

TEST(SampleFixture, JsonErrorsSayWhatAndWhere) {
  struct Case {
    const char* json;
    const char* message_part;
  } cases[] = {
      {"{", "not JSON"},
      {R"({"owners": {}})", "owners"},
      {R"({"owners": [], "colour": 1})", "unknown key \"colour\""},
      {R"({"owners": [{"account": "a", "albums": [{"id": "1", "nmae": "x"}]}]})",
       "owners[0].albums[0]: unknown key \"nmae\""},
      {R"({"owners": [{"account": "a", "albums": [{"name": "x"}]}]})", "\"id\" is missing"},
      {R"({"owners": [{"account": "a", "albums": [{"id": "1x"}]}]})", "made of digits"},
      {R"({"owners": [{"account": "a", "albums": [{"id": "1"}, {"id": "1"}]}]})", "twice"},
      {R"({"owners": [{"account": "a", "albums": [{"id": "1"}]}, {"account": "b", "albums": [{"id": "1"}]}]})",
       "twice"},
      {R"({"owners": [{"account": "a/b"}]})", "an account is made of"},
      {R"({"owners": [{"account": "a", "albums": [{"id": "1", "access": "secret"}]}]})",
       "\"open\", \"login\" or \"password\""},
      {R"({"owners": [{"account": "a", "albums": [{"id": "1", "access": "password"}]}]})",
       "needs \"password\""},
      {R"({"owners": [{"account": "a", "albums": [{"id": "1", "photos": -2}]}]})", "whole number"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.json);
    try {
      Fixture::from_json(c.json);
      ADD_FAILURE() << "accepted";
    } catch (const std::runtime_error& error) {
      EXPECT_NE(std::string(error.what()).find(c.message_part), std::string::npos) << error.what();
    }
  }
}

TEST(SampleFixture, BenchHasOneAlbumOfEqualPhotos) {
  const Fixture bench = Fixture::bench(500, 200000);
  ASSERT_EQ(bench.owners.size(), 1u);
  EXPECT_EQ(bench.owners[0].account, "bench");
  ASSERT_EQ(bench.owners[0].albums.size(), 1u);
  EXPECT_EQ(bench.owners[0].albums[0].photos.size(), 500u);
  EXPECT_EQ(bench.owners[0].albums[0].photos[499].size_bytes, 200000);
}

TEST(SampleServiceLife, StartsOnAFreePortStopsAndRefusesATakenPort) {
  sample::SampleService first;
  const int port = first.start();
  EXPECT_GT(port, 0);
  EXPECT_EQ(first.proxy_url(), "http://127.0.0.1:" + std::to_string(port));
  EXPECT_EQ(fetch("http://h/_test/status?code=204", {.proxy = first.proxy_url()}).status, 204);

  sample::SampleService second;
  EXPECT_THROW(second.start(port), std::runtime_error);

  // A connection held open by a slow answer does not keep stop() waiting for it to finish.
  first.faults().answer_delay_ms = 60000;
  std::thread slow([&] { fetch("http://h/_test/status?code=200", {.proxy = first.proxy_url()}); });
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  first.stop();
  slow.join();
  EXPECT_NE(fetch("http://h/_test/status?code=200", {.proxy = first.proxy_url()}).code, CURLE_OK);
}

TEST(SampleServiceLife, BadFixtureIsRefusedAtConstruction) {
  Fixture fixture;
  fixture.owners.push_back({"a", {Album{.id = "x"}}});
  EXPECT_THROW(sample::SampleService{fixture}, std::runtime_error);
}

TEST(SampleServiceLife, KeepsOnlyTheNewestReceivedRequests) {
  sample::SampleService service(Fixture::demo(), {.keep_received = 2});
  service.start();
  for (int code : {201, 202, 203}) {
    fetch("http://h/_test/status?code=" + std::to_string(code), {.proxy = service.proxy_url()});
  }
  const auto received = service.received();
  ASSERT_EQ(received.size(), 2u);
  EXPECT_EQ(received[0].target, "http://h/_test/status?code=202");
  EXPECT_EQ(received[1].target, "http://h/_test/status?code=203");
}

TEST(SampleSupport, ResetSwitchesEveryFaultOffAndForgetsRequests) {
  sample::Faults& faults = sample_service().faults();
  faults.primary_image_404 = true;
  faults.album_data_failures = 3;
  faults.answer_delay_ms = 5;
  faults.extra_header_bytes = 10;
  fetch("http://h/_test/status?code=200");
  reset_sample_service();
  EXPECT_FALSE(faults.primary_image_404);
  EXPECT_EQ(faults.album_data_failures, 0);
  EXPECT_EQ(faults.answer_delay_ms, 0);
  EXPECT_EQ(faults.extra_header_bytes, 0);
  EXPECT_TRUE(sample_service().received().empty());
}

TEST(SampleSupport, SandboxIsFreshAndGoesAwayWithEverythingInIt) {
  std::filesystem::path kept;
  {
    Sandbox sandbox;
    Sandbox other;
    kept = sandbox.path();
    EXPECT_NE(sandbox.path(), other.path());
    EXPECT_TRUE(std::filesystem::is_empty(sandbox.path()));
    sandbox.write_file("owner/album/1_7.jpg", std::string("\xFF\xD8\0x", 4));
    EXPECT_EQ(sandbox.read_file("owner/album/1_7.jpg"), std::string("\xFF\xD8\0x", 4));
    EXPECT_EQ(sandbox.read_file("missing"), "");
    EXPECT_EQ(sandbox / "owner", sandbox.path() / "owner");
  }
  EXPECT_FALSE(std::filesystem::exists(kept));
}

}  // namespace
}  // namespace tamberlo::test
