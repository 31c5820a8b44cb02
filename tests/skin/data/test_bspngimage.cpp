// The skin library's PNG layer registry: built at start-up in a fixed order, freed at shut-down.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skin/data/bspngimage.h"

namespace {

TEST(BsPngLayerTest, StartUpRegistersTenClassesInOrderAndShutDownFreesThem) {
  StartPngLayerRegistry();
  std::vector<std::string> Names;
  for (const std::string& Class : RegisteredPngLayerClasses()) Names.push_back(ChunkNameOfLayerClass(Class));
  EXPECT_EQ(Names, (std::vector<std::string>{"IEND", "IHDR", "IDAT", "PLTE", "gAMA", "tRNS", "pHYs", "tIME",
                                             "tEXt", "zTXt"}));
  StartPngLayerRegistry();  // counted: a second start-up neither adds nor frees
  EXPECT_EQ(RegisteredPngLayerClasses().size(), 10u);
  StopPngLayerRegistry();
  EXPECT_EQ(RegisteredPngLayerClasses().size(), 10u);
  StopPngLayerRegistry();
  EXPECT_TRUE(RegisteredPngLayerClasses().empty());
  StopPngLayerRegistry();  // an unmatched shut-down does nothing
  EXPECT_TRUE(RegisteredPngLayerClasses().empty());
}

}  // namespace
