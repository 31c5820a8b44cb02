// The preset frames: four embedded PNG pictures whose frame opening is the recorded rectangle.
#include <gtest/gtest.h>

#include "imaging/core/hyieutils.h"
#include "imaging/core/iebitmap.h"
#include "imaging/io/iefileformats.h"
#include "imaging/io/zezudidio.h"
#include "imaging/view/iepresetim.h"

namespace {

struct TPresetCase {
  Integer Size;
  Integer Width;
  Integer Height;
  TRect Rect;
  bool Alpha;  // the opening is see-through; otherwise it is white
};

constexpr TPresetCase Presets[] = {
    {9376, 162, 159, {18, 29, 140, 119}, true},
    {1055, 112, 100, {13, 1, 95, 98}, false},
    {1252, 163, 108, {30, 14, 147, 92}, false},
    {3329, 150, 150, {17, 17, 131, 131}, false},
};

bool InOpening(TIEBitmap& Picture, Integer X, Integer Y, bool Alpha) {
  if (Alpha) return Picture.GetAlpha(X, Y) == 0;
  const TIERGBTriple Pixel = Picture.GetPixel24(X, Y);
  return Pixel.rgbtRed == 255 && Pixel.rgbtGreen == 255 && Pixel.rgbtBlue == 255;
}

TEST(PresetImages, TheLibraryStartUpHoldsTheFourFramesInOrder) {
  EXPECT_EQ(IEGetLibraryHooks(iluPresetImages),
            (TIELibraryHooks{IEPresetImagesInitialize, IEPresetImagesFinalize}));
  ASSERT_NE(IEPresetImages, nullptr);
  ASSERT_EQ(IEPresetImages->GetCount(), 4);
  for (Integer I = 0; I < 4; ++I) {
    const TPresetCase& Expected = Presets[I];
    const auto* Preset = static_cast<const TIEPresetImage*>(IEPresetImages->GetItem(I));
    SCOPED_TRACE(I);
    EXPECT_EQ(Preset->Size, Expected.Size);
    EXPECT_EQ(Preset->Format, ioPNG);
    EXPECT_EQ(Preset->Rect, Expected.Rect);
    ASSERT_NE(Preset->Data, nullptr);

    TIEBitmap Picture;
    TZezudIdIO IO(nullptr);
    IO.SetAttachedIEBitmap(&Picture);
    IO.LoadFromBuffer(Preset->Data, Preset->Size, ioPNG);
    ASSERT_FALSE(IO.GetAborting());
    ASSERT_EQ(Picture.GetWidth(), Expected.Width);
    ASSERT_EQ(Picture.GetHeight(), Expected.Height);
    EXPECT_EQ(Picture.HasAlphaChannel(), Expected.Alpha);
    if (Picture.GetPixelFormat() != ie24RGB) Picture.ConvertToPixelFormat(ie24RGB);

    // The opening's corners belong to it; the pixels just beyond each side do not.
    const TRect& R = Expected.Rect;
    EXPECT_TRUE(InOpening(Picture, R.Left, R.Top, Expected.Alpha));
    EXPECT_TRUE(InOpening(Picture, R.Right - 1, R.Bottom - 1, Expected.Alpha));
    EXPECT_FALSE(InOpening(Picture, R.Left - 1, R.Top, Expected.Alpha));
    EXPECT_FALSE(InOpening(Picture, R.Right, R.Bottom - 1, Expected.Alpha));
    EXPECT_FALSE(InOpening(Picture, R.Left, R.Top - 1, Expected.Alpha));
    EXPECT_FALSE(InOpening(Picture, R.Right - 1, R.Bottom, Expected.Alpha));
  }
}

TEST(PresetImages, ShutDownFreesTheListAndStartUpBuildsItAgain) {
  IEPresetImagesFinalize();
  EXPECT_EQ(IEPresetImages, nullptr);
  IEPresetImagesInitialize();
  ASSERT_NE(IEPresetImages, nullptr);
  EXPECT_EQ(IEPresetImages->GetCount(), 4);
}

}  // namespace
