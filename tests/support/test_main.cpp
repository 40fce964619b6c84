#include <gtest/gtest.h>

#include "support/sample_service_environment.h"

// The main of test programs that talk to the sample album service.
int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::AddGlobalTestEnvironment(new tamberlo::test::SampleServiceEnvironment);
  return RUN_ALL_TESTS();
}
