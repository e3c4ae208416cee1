// main() of every GUI test executable: a watchdog so a hung modal loop ends the test.
#include <gtest/gtest.h>

#include "tests/support/WinTestSupport.h"

int main(int argc, char** argv) {
  bw::test::StartWatchdog(240);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
