#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "imaging/core/hyieutils.h"
#include "imaging/core/iebitmap.h"
#include "imaging/io/ieview.h"
#include "imaging/io/zezudidio.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/classes/Bitmap.h"

namespace {

// A view that records what the parameters ask of it.
class TRecordingView : public TIEView {
 public:
  explicit TRecordingView(bool ImageView) : TIEView(nullptr), FImageView(ImageView) {}
  std::vector<std::string> Calls;

  TIEBitmap* GetIEBitmap() override { return &FBitmap; }
  TBitmap* GetTBitmap() override { return nullptr; }
  Integer GetDpiX() override { return 0; }
  Integer GetDpiY() override { return 0; }
  void SetDpiX(Integer Value) override { Calls.push_back("dpix " + std::to_string(Value)); }
  void SetDpiY(Integer Value) override { Calls.push_back("dpiy " + std::to_string(Value)); }
  void SetDpi(Integer X, Integer Y) override {
    Calls.push_back("dpi " + std::to_string(X) + " " + std::to_string(Y));
  }
  void ImageChange() override {}
  TColor GetBackground() override { return 0; }
  TIEBitmapChangeHandle AddBitmapChangeEvent(TIEBitmapChangeEvent) override { return this; }
  void RemoveBitmapChangeEvent(TIEBitmapChangeHandle) override {}
  bool IsImageView() const override { return FImageView; }
  void LockUpdate() override { Calls.push_back("lock"); }
  void UnlockUpdateNoRefresh() override { Calls.push_back("unlock"); }

 private:
  bool FImageView;
  TIEBitmap FBitmap;
};

}  // namespace

TEST(IOParamsOwner, ResetTakesTheOwnersBitmapSizeAndTheLibraryResolution) {
  TBitmap Bitmap;
  Bitmap.SetSize(40, 30);
  TZezudIdIO IO(nullptr);
  IO.SetAttachedBitmap(&Bitmap);
  TIOParamsVals& P = *IO.GetParams();
  EXPECT_EQ(P.IO, &IO);
  P.SetDpiX(72);
  P.SetDefaultParams();
  EXPECT_EQ(P.Width, 40);
  EXPECT_EQ(P.Height, 30);
  EXPECT_EQ(P.DpiX, DefaultDpiX);
  EXPECT_EQ(P.DpiY, DefaultDpiY);
  // The EXIF reset comes after the resolution, so the EXIF value is absent again.
  EXPECT_EQ(P.ExifXResolution, 0);
}

TEST(IOParamsOwner, ResetWithoutAPlatformBitmapKeepsTheSize) {
  TZezudIdIO IO(nullptr);
  TIOParamsVals& P = *IO.GetParams();
  EXPECT_EQ(P.DpiX, DefaultDpiX);
  P.Width = 12;
  P.Height = 7;
  P.SetDefaultParams();
  EXPECT_EQ(P.Width, 12);
  EXPECT_EQ(P.Height, 7);
}

TEST(IOParamsOwner, ResolutionReachesAnAttachedImageViewWithoutARepaint) {
  TRecordingView View(true);
  TZezudIdIO IO(nullptr);
  IO.SetAttachedZezudId(&View);
  View.Calls.clear();
  IO.GetParams()->SetDpiX(150);
  IO.GetParams()->SetExifYResolution(72.5);
  EXPECT_EQ(View.Calls,
            (std::vector<std::string>{"lock", "dpix 150", "unlock", "lock", "dpiy 72", "unlock"}));
  IO.SetAttachedZezudId(nullptr);
}

TEST(IOParamsOwner, OtherViewsAreNotTold) {
  TRecordingView View(false);
  TZezudIdIO IO(nullptr);
  IO.SetAttachedZezudId(&View);
  View.Calls.clear();
  IO.GetParams()->SetDpiX(150);
  EXPECT_TRUE(View.Calls.empty());
  IO.SetAttachedZezudId(nullptr);
}
