#include <gtest/gtest.h>

#include <memory>

#include "imaging/core/iehintbox.h"
#include "platform/classes/Bitmap.h"
#include "platform/classes/Canvas.h"
#include "platform/classes/GraphicsObjects.h"

namespace {

constexpr TColor Background = 0xFF0000;  // blue
constexpr TColor BoxColor = 0x00FFFF;    // yellow
constexpr TColor Light = 0xFFFFFF, Dark = 0x808080;

class HintBox : public ::testing::Test {
 protected:
  TBitmap Surface;
  TFont Font;
  TBrush Brush;
  TCanvas* Canvas = nullptr;

  void SetUp() override {
    Surface.SetPixelFormat(pf24bit);
    Surface.SetSize(200, 100);
    Canvas = Surface.GetCanvas();
    Canvas->GetBrush()->SetColor(Background);
    Canvas->FillRect(Rect(0, 0, 200, 100));
    Font.SetName("Liberation Sans");
    Font.SetSize(10);
    Brush.SetColor(BoxColor);
  }
  // Box width and height for Text in the test font.
  TSize BoxSize(const std::string& Text) {
    Canvas->SetFont(&Font);
    return {Canvas->TextWidth(Text) + 12, Canvas->TextHeight(Text) + 12};
  }
  void Draw(Integer& X, Integer& Y, const std::string& Text, TBitmap* Save = nullptr) {
    IEDrawHintBox(Canvas, X, Y, Text, &Font, &Brush, Save, 200, 100, Light, Dark);
  }
};

}  // namespace

TEST_F(HintBox, KeptInsideTheClientArea) {
  const TSize Box = BoxSize("Hint");
  Integer X = -20, Y = -5;
  Draw(X, Y, "Hint");
  EXPECT_EQ(X, 0);
  EXPECT_EQ(Y, 0);
  X = 190;
  Y = 95;
  Draw(X, Y, "Hint");
  EXPECT_EQ(X, 200 - Box.cx - 1);
  EXPECT_EQ(Y, 100 - Box.cy - 1);
}

TEST_F(HintBox, SavesTheCoveredAreaThenDrawsBoxFrameAndText) {
  TBitmap Save;
  Integer X = 20, Y = 10;
  const TSize Box = BoxSize("Hint");
  Canvas->SetPixels(20, 10, 0x00FF00);  // the top-left corner of the covered area
  Draw(X, Y, "Hint", &Save);
  ASSERT_EQ(Save.GetWidth(), Box.cx);
  ASSERT_EQ(Save.GetHeight(), Box.cy);
  EXPECT_EQ(Save.GetPixelFormat(), pf24bit);
  EXPECT_EQ(Save.GetCanvas()->GetPixels(0, 0), 0x00FF00u);
  EXPECT_EQ(Save.GetCanvas()->GetPixels(Box.cx - 1, Box.cy - 1), Background);

  const Integer L = X + 6, T = Y + 6, R = X + Box.cx - 1, B = Y + Box.cy - 1;
  EXPECT_EQ(Canvas->GetPixels(L - 1, T - 1), Background);  // the 6-pixel lead stays
  EXPECT_EQ(Canvas->GetPixels(L, (T + B) / 2), Light);
  EXPECT_EQ(Canvas->GetPixels((L + R) / 2, T), Light);
  EXPECT_EQ(Canvas->GetPixels((L + R) / 2, B), Dark);
  EXPECT_EQ(Canvas->GetPixels(R, (T + B) / 2), Dark);
  EXPECT_EQ(Canvas->GetPixels(L + 1, T + 1), BoxColor);
  EXPECT_EQ(Canvas->GetPixels(R + 1, B + 1), Background);
  Integer Ink = 0;
  for (Integer Py = T + 3; Py < B; ++Py)
    for (Integer Px = L + 3; Px < R; ++Px) Ink += Canvas->GetPixels(Px, Py) == clBlack;
  EXPECT_GT(Ink, 10);
}

TEST_F(HintBox, TranslucentBoxIsAsWideAsTheWidthTextAndEmptyWithoutText) {
  Integer X = -3, Y = 4;
  IEDrawHintBoxTranslucent(Canvas, X, Y, "", "A rather long measuring text");
  EXPECT_EQ(X, 0);
  EXPECT_EQ(Y, 4);
  TFont* Font = Canvas->GetFont();
  EXPECT_EQ(Font->GetName(), "Arial");
  EXPECT_EQ(Font->GetSize(), 9);
  const Integer W = Canvas->TextWidth("A rather long measuring text") + 12;
  const Integer H = Canvas->TextHeight("") + 12;
  const Integer L = X + 6, T = Y + 6, R = X + W - 1, B = Y + H - 1;
  EXPECT_GT(R - L, 100);
  EXPECT_EQ(Canvas->GetPixels(L, (T + B) / 2), Light);
  EXPECT_EQ(Canvas->GetPixels((L + R) / 2, B), Dark);
  EXPECT_EQ(Canvas->GetPixels(R + 1, (T + B) / 2), Background);
  for (Integer Py = T + 1; Py < B; ++Py)
    for (Integer Px = L + 1; Px < R; ++Px) ASSERT_EQ(Canvas->GetPixels(Px, Py), 0x60FFFFu) << Px << "," << Py;
}

TEST(DrawDibWrappers, PassTheCallsThrough) {
  HDRAWDIB Handle = IEDrawDibOpen();
  ASSERT_NE(Handle, nullptr);
  TBitmap Target;
  Target.SetPixelFormat(pf24bit);
  Target.SetSize(2, 1);
  BITMAPINFOHEADER Header;
  Header.biWidth = 1;
  Header.biHeight = 1;
  Header.biBitCount = 24;
  const Byte Pixel[4] = {0, 0, 255, 0};  // red
  EXPECT_TRUE(
      IEDrawDibDraw(Handle, Target.GetCanvas()->GetHandle(), 0, 0, 2, 1, &Header, Pixel, 0, 0, 1, 1, 0));
  EXPECT_EQ(Target.GetCanvas()->GetPixels(1, 0), clRed);
  EXPECT_EQ(IEDrawDibRealize(Handle, Target.GetCanvas()->GetHandle(), false), 0u);
  EXPECT_TRUE(IEDrawDibClose(Handle));
  EXPECT_FALSE(IEDrawDibClose(Handle));
}
