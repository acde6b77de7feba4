// The Windows tests run on the toolkit's UI thread, as the program's handlers do.
#include <gtest/gtest.h>

#include "toolkit/startup.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  tk::InitializeToolkit();
  return RUN_ALL_TESTS();
}
