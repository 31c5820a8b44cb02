// The program's loading road: a view with no owner and no parent loads a file through its I/O
// component and hands out the picture as a 24-bit platform bitmap, then goes away.
#include <gtest/gtest.h>

#include "ViewCoreTestSupport.h"
#include "imaging/io/zezudidio.h"
#include "platform/classes/Bitmap.h"

namespace {

struct TLoaderCase {
  const char* Name;
  bool Exact;  // lossless: every pixel comes back as written
};

class TViewLoaderTest : public ::testing::TestWithParam<TLoaderCase> {};

TEST_P(TViewLoaderTest, AViewWithoutWindowLoadsAFileAndHandsOutItsPlatformBitmap) {
  TTestFolder Folder;
  const std::u16string FileName = Folder.Path(GetParam().Name);
  auto Written = PatternPicture(7, 5);
  {
    TZezudIdIO Writer(nullptr);
    Writer.SetAttachedIEBitmap(Written.get());
    Writer.SaveToFile(FileName);
    ASSERT_FALSE(Writer.GetAborting());
  }

  TBitmap Copy;
  {
    TZezudIdView View(nullptr);
    ASSERT_FALSE(View.HasParentWindow());
    View.GetIO()->LoadFromFile(FileName);
    ASSERT_FALSE(View.GetIO()->GetAborting());
    TBitmap* Platform = View.GetTBitmap();
    ASSERT_NE(Platform, nullptr);
    EXPECT_EQ(Platform->GetWidth(), 7);
    EXPECT_EQ(Platform->GetHeight(), 5);
    EXPECT_EQ(Platform->GetPixelFormat(), pf24bit);
    EXPECT_EQ(View.GetIEBitmap()->GetTBitmap(), Platform);
    Copy.Assign(Platform);
  }
  // The copy outlives the view, as the program's picture does.
  ASSERT_EQ(Copy.GetWidth(), 7);
  const auto* Row = static_cast<const TIERGBTriple*>(Copy.GetScanLine(4));
  const TIERGBTriple Expected = Written->GetPixel24(6, 4);
  const int Tolerance = GetParam().Exact ? 0 : 12;
  EXPECT_NEAR(Row[6].rgbtRed, Expected.rgbtRed, Tolerance);
  EXPECT_NEAR(Row[6].rgbtGreen, Expected.rgbtGreen, Tolerance);
  EXPECT_NEAR(Row[6].rgbtBlue, Expected.rgbtBlue, Tolerance);
}

INSTANTIATE_TEST_SUITE_P(Formats, TViewLoaderTest,
                         ::testing::Values(TLoaderCase{"picture.png", true},
                                           TLoaderCase{"picture.jpg", false}),
                         [](const auto& Info) { return std::string(Info.param.Exact ? "Png" : "Jpeg"); });

}  // namespace
