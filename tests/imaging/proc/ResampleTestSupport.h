#pragma once
// Helpers of the resampling tests: a fixture with the library's resamplers in the core's
// hooks, and pictures with uneven content so that every filter has something to weigh.
#include <gtest/gtest.h>

#include <memory>

#include "imaging/core/iebitmap.h"
#include "imaging/proc/ieresamplebitmap.h"
#include "tests/imaging/proc/PixelsTestSupport.h"

namespace ResampleTesting {

class TResampleTest : public ::testing::Test {
 protected:
  void SetUp() override { IEInstallResampleHooks(); }
  void TearDown() override { IERemoveResampleHooks(); }
};

// Bytes from a fixed linear congruential sequence, the same on every run.
inline std::unique_ptr<TIEBitmap> Noise(Integer W, Integer H, TIEPixelFormat Format) {
  Cardinal State = 12345;
  return PixelsTesting::Picture(W, H, Format, [&](Byte* Row, Integer) {
    const Integer Bytes = (W * IEBitsPerPixel[Format] + 7) / 8;
    for (Integer I = 0; I < Bytes; ++I) {
      State = State * 1103515245u + 12345u;
      Row[I] = static_cast<Byte>(State >> 16);
    }
  });
}

inline std::vector<Byte> Pixels(TIEBitmap* B) {
  return PixelsTesting::RowBytes(B, (B->GetWidth() * B->GetBitCount() + 7) / 8);
}

// Records every percent reported.
struct TProgressLog : TObject {
  std::vector<Integer> Reports;
  void OnProgress(TObject*, Integer Percent) { Reports.push_back(Percent); }
  TIEProgressEvent Handler() { return TIEProgressEvent(this, &TProgressLog::OnProgress); }
};

}  // namespace ResampleTesting
