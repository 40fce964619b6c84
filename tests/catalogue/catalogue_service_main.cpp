#include <gtest/gtest.h>

#include "catalogue_service.h"
#include "support/sample_service_environment.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::AddGlobalTestEnvironment(
      new tamberlo::test::SampleServiceEnvironment(tamberlo::catalogue_test::catalogue_fixture()));
  return RUN_ALL_TESTS();
}
