#include "support/sample_service_environment.h"

#include <cstdlib>
#include <iostream>
#include <memory>

namespace tamberlo::test {
namespace {

std::unique_ptr<sample::SampleService>& running_service() {
  static std::unique_ptr<sample::SampleService> service;
  return service;
}

}  // namespace

SampleServiceEnvironment::SampleServiceEnvironment(sample::Fixture fixture)
    : fixture_(std::move(fixture)) {}

void SampleServiceEnvironment::SetUp() {
  auto service = std::make_unique<sample::SampleService>(fixture_);
  service->start();
  running_service() = std::move(service);
}

void SampleServiceEnvironment::TearDown() { running_service().reset(); }

sample::SampleService& sample_service() {
  if (!running_service()) {
    // Without the environment every later request would go nowhere; better to stop here.
    std::cerr << "sample_service(): no SampleServiceEnvironment was added to this test program\n";
    std::abort();
  }
  return *running_service();
}

void reset_sample_service() {
  sample::Faults& faults = sample_service().faults();
  faults.primary_image_404 = false;
  faults.alternate_image_404 = false;
  faults.cover_404 = false;
  faults.album_data_failures = 0;
  faults.album_data_failure_drops = false;
  faults.answer_delay_ms = 0;
  faults.photo_chunk_delay_ms = 0;
  faults.lowercase_set_cookie = false;
  faults.blank_photo_entry = 0;
  faults.photo_drops = 0;
  faults.extra_header_bytes = 0;
  sample_service().clear_received();
}

}  // namespace tamberlo::test
