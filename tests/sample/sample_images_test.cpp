// Covers and photos: real JPEG pictures on the right hosts, and the image faults.
#include <gtest/gtest.h>
#include <jpeglib.h>

#include <cstdio>
#include <memory>
#include <string>

#include "proxy_fetch.h"
#include "sample-service/sample_service.h"
#include "support/sample_service_environment.h"

namespace tamberlo::test {
namespace {

struct Picture {
  bool valid = false;
  int width = 0;
  int height = 0;
};

// Decodes the whole picture; a broken one is reported as not valid instead of ending the test.
Picture decode_jpeg(const std::string& bytes) {
  jpeg_decompress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  errors.error_exit = [](j_common_ptr) { throw std::runtime_error("not a JPEG"); };
  errors.emit_message = [](j_common_ptr, int) {};
  jpeg_create_decompress(&info);
  auto destroy = [](jpeg_decompress_struct* p) { jpeg_destroy_decompress(p); };
  std::unique_ptr<jpeg_decompress_struct, decltype(destroy)> guard(&info, destroy);
  Picture picture;
  try {
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) return picture;
    jpeg_start_decompress(&info);
    std::string row(info.output_width * info.output_components, '\0');
    while (info.output_scanline < info.output_height) {
      JSAMPROW rows[] = {reinterpret_cast<JSAMPROW>(row.data())};
      jpeg_read_scanlines(&info, rows, 1);
    }
    jpeg_finish_decompress(&info);
    picture = {errors.num_warnings == 0, static_cast<int>(info.output_width),
               static_cast<int>(info.output_height)};
  } catch (const std::runtime_error&) {
  }
  return picture;
}

const char* const kFixture = R"({
  "owners": [{"account": "pics", "albums": [
    {"id": "501", "name": "sizes", "photos": [
      {"size": 0}, {"size": 5000}, {"size": 200000}, {"size": 65541}, {"size": 65542},
      {"path": "/photo/custom/x.jpg", "size": 3}
    ]}
  ]}]
})";

class SampleImages : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    service_ = std::make_unique<sample::SampleService>(sample::Fixture::from_json(kFixture));
    service_->start();
  }
  static void TearDownTestSuite() { service_.reset(); }
  void SetUp() override {
    auto& faults = service_->faults();
    faults.primary_image_404 = false;
    faults.alternate_image_404 = false;
    faults.cover_404 = false;
    faults.photo_drops = 0;
    faults.photo_chunk_delay_ms = 0;
  }

  static Fetched get(const std::string& url) {
    return fetch(url, {.proxy = service_->proxy_url()});
  }
  static std::string primary(const std::string& path) {
    return "http://" + service_->hosts().primary_image + "/" + path;  // two slashes, as the client
  }
  static std::string alternate(const std::string& path) {
    return "http://" + service_->hosts().alternate_image + path;
  }
  static const sample::Album& album() { return service_->fixture().owners[0].albums[0]; }

  static std::unique_ptr<sample::SampleService> service_;
};

std::unique_ptr<sample::SampleService> SampleImages::service_;

TEST_F(SampleImages, PhotosAreValidJpegsOfTheRequestedSize) {
  for (const sample::Photo& photo : album().photos) {
    SCOPED_TRACE(photo.path);
    for (const std::string& address : {primary(photo.path), alternate(photo.path)}) {
      const Fetched answer = get(address);
      ASSERT_EQ(answer.status, 200) << address;
      EXPECT_EQ(answer.header("Content-Type"), "image/jpeg");
      if (photo.size_bytes > 2000) {
        EXPECT_EQ(answer.body.size(), std::size_t(photo.size_bytes));
      }
      const Picture picture = decode_jpeg(answer.body);
      EXPECT_TRUE(picture.valid);
      EXPECT_EQ(picture.width, 96);
      EXPECT_EQ(picture.height, 64);
    }
  }
}

TEST_F(SampleImages, EachPhotoAndHostGivesItsOwnBytes) {
  const std::string& first = album().photos[0].path;
  const std::string& second = album().photos[1].path;
  EXPECT_EQ(album().photos[5].path, "/photo/custom/x.jpg");
  EXPECT_EQ(album().photos[0].path, "/photo/pics/501/1.jpg") << "paths made up when not given";
  EXPECT_NE(get(primary(first)).body, get(primary(second)).body);
  // The label names the host that served it, so a test can tell which one a saved file came from.
  EXPECT_NE(get(primary(first)).body.find(service_->hosts().primary_image + first),
            std::string::npos);
  EXPECT_NE(get(alternate(first)).body.find(service_->hosts().alternate_image + first),
            std::string::npos);
}

TEST_F(SampleImages, ImageFaultsTurnHostsTo404) {
  const std::string& path = album().photos[1].path;
  struct Case {
    bool primary_404, alternate_404;
    long primary_status, alternate_status;
  } cases[] = {{false, false, 200, 200},
               {true, false, 404, 200},
               {false, true, 200, 404},
               {true, true, 404, 404}};
  for (const auto& c : cases) {
    service_->faults().primary_image_404 = c.primary_404;
    service_->faults().alternate_image_404 = c.alternate_404;
    EXPECT_EQ(get(primary(path)).status, c.primary_status);
    EXPECT_EQ(get(alternate(path)).status, c.alternate_status);
  }
  EXPECT_EQ(get(primary("/photo/pics/501/99.jpg")).status, 404);
}

TEST_F(SampleImages, CoversComeFromTheCoverHostOrAfter404FromTheAlternate) {
  const std::string path = "cover/pics/501.jpg";
  const std::string first = "http://" + service_->hosts().cover + "/" + path;
  const std::string second = "http://" + service_->hosts().alternate_cover + "/" + path;
  EXPECT_TRUE(decode_jpeg(get(first).body).valid);
  service_->faults().cover_404 = true;
  EXPECT_EQ(get(first).status, 404);
  const Fetched rescued = get(second);
  EXPECT_EQ(rescued.status, 200);
  EXPECT_TRUE(decode_jpeg(rescued.body).valid);
}

TEST_F(SampleImages, SlowPhotosArriveWholeAndDroppedOnesBreakOff) {
  const std::string address = primary(album().photos[2].path);
  const std::string whole = get(address).body;
  service_->faults().photo_chunk_delay_ms = 1;
  EXPECT_EQ(get(address).body, whole);
  service_->faults().photo_chunk_delay_ms = 0;

  service_->faults().photo_drops = 1;
  const Fetched broken = get(address);
  EXPECT_EQ(broken.code, CURLE_PARTIAL_FILE);
  EXPECT_LT(broken.body.size(), whole.size());
  EXPECT_EQ(get(address).body, whole) << "only the next N photos break off";
}

}  // namespace
}  // namespace tamberlo::test
