#pragma once
// Helpers of the drawing-utility tests: 24-bit platform bitmaps of one colour read back as
// 0x00BBGGRR, grey imaging pictures, a guard that sends new imaging bitmaps to temporary
// files, and a fixture on the headless screen with a fake clock.
#include <gtest/gtest.h>

#include <memory>

#include "imaging/core/hyieutils.h"
#include "imaging/core/iebitmap.h"
#include "platform/classes/Application.h"
#include "platform/classes/Bitmap.h"
#include "platform/display/HeadlessDisplay.h"
#include "platform/system/Clock.h"

namespace DrawTesting {

inline std::unique_ptr<TBitmap> SolidBitmap(Integer W, Integer H, TColor Color) {
  auto B = std::make_unique<TBitmap>();
  B->SetPixelFormat(pf24bit);
  B->SetSize(W, H);
  B->GetCanvas()->GetBrush()->SetColor(Color);
  B->GetCanvas()->FillRect(TRect{0, 0, W, H});
  return B;
}

// 0x00BBGGRR from the bitmap's 24-bit row.
inline TColor PixelAt(TBitmap* B, Integer X, Integer Y) {
  const Byte* P = static_cast<Byte*>(B->GetScanLine(Y)) + 3 * X;
  return static_cast<TColor>(P[2] | (P[1] << 8) | (P[0] << 16));
}

inline TColor GreyColor(Integer G) {
  return static_cast<TColor>(G | (G << 8) | (G << 16));
}

// An ie8g picture whose pixel (X, Y) is Value(X, Y).
template <class TValue>
std::unique_ptr<TIEBitmap> GreyPicture(Integer W, Integer H, TValue Value) {
  auto B = std::make_unique<TIEBitmap>(W, H, ie8g);
  for (Integer Y = 0; Y < H; ++Y) {
    Byte* Row = static_cast<Byte*>(B->GetScanline(Y));
    for (Integer X = 0; X < W; ++X) Row[X] = static_cast<Byte>(Value(X, Y));
  }
  return B;
}

inline std::vector<Byte> GreyPixels(TIEBitmap* B) {
  std::vector<Byte> Out;
  for (Integer Y = 0; Y < B->GetHeight(); ++Y) {
    const Byte* Row = static_cast<Byte*>(B->GetScanline(Y));
    Out.insert(Out.end(), Row, Row + B->GetWidth());
  }
  return Out;
}

// New imaging bitmaps go to temporary files while it lives.
class TFileBitmapsGuard {
 public:
  TFileBitmapsGuard() { IEMinFileSizeOverride = 0; }
  ~TFileBitmapsGuard() { IEMinFileSizeOverride = FSaved; }
  TFileBitmapsGuard(const TFileBitmapsGuard&) = delete;
  TFileBitmapsGuard& operator=(const TFileBitmapsGuard&) = delete;

 private:
  Int64 FSaved = IEMinFileSizeOverride;
};

// Windows on the headless screen; time stands still unless a test moves it.
class TScreenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Display = &Headless();
    Display->ClearInput();
    SetClockSource(&Clock);
    SetModalHook(nullptr);
  }
  void TearDown() override {
    SetModalHook(nullptr);
    Display->ClearInput();
    Application->ProcessMessages();
    SetClockSource(nullptr);
  }
  THeadlessDisplay* Display = nullptr;
  TFakeClock Clock{100000};
};

}  // namespace DrawTesting
