#pragma once

#include <gtest/gtest.h>

#include "sample-service/sample_service.h"

namespace tamberlo::test {

// Starts one sample album service for the whole test program and stops it at the end:
//   ::testing::AddGlobalTestEnvironment(new tamberlo::test::SampleServiceEnvironment);
// (or link tamberlo_test_main, whose main does that). Tests then ask sample_service() for its
// proxy_url() and flip its faults().
class SampleServiceEnvironment final : public ::testing::Environment {
 public:
  explicit SampleServiceEnvironment(sample::Fixture fixture = sample::Fixture::demo());
  void SetUp() override;
  void TearDown() override;

 private:
  sample::Fixture fixture_;
};

// The running service; a test calling it without the environment fails at once.
sample::SampleService& sample_service();

// Every fault switched off and the list of received requests emptied: call it in SetUp of a
// fixture so one test's faults never leak into the next.
void reset_sample_service();

}  // namespace tamberlo::test
