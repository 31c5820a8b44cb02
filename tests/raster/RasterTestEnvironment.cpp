// Every test program of the raster library starts the library once, as the program does.
#include <gtest/gtest.h>

#include "raster/RS32_Startup.h"

namespace {
class TRasterEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { InitializeRasterLibrary(); }
  void TearDown() override { FinalizeRasterLibrary(); }
};

[[maybe_unused]] ::testing::Environment* const Environment =
    ::testing::AddGlobalTestEnvironment(new TRasterEnvironment);
}  // namespace
