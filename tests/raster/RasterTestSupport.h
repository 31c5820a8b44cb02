#pragma once
// Helpers shared by the raster tests.
#include <gtest/gtest.h>

#include "raster/RS32_Startup.h"
#include "raster/RS32_System.h"

// Reports the given processor features and chooses the routines for them while it lives;
// afterwards the plain forms are back.
class TCpuFeaturesScope {
 public:
  explicit TCpuFeaturesScope(TCpuFeatures Features) : FSaved(GetCpuFeatures()) {
    SetCpuFeatures(Features);
    SelectPixelRoutines();
  }
  ~TCpuFeaturesScope() {
    SetCpuFeatures(FSaved);
    SelectPixelRoutines();
  }
  TCpuFeaturesScope(const TCpuFeaturesScope&) = delete;
  TCpuFeaturesScope& operator=(const TCpuFeaturesScope&) = delete;

 private:
  TCpuFeatures FSaved;
};

constexpr TCpuFeatures AllCpuFeatures = 0x3F;
