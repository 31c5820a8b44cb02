// The caret: inverted pixels in the owner's client area, blinking, counted hiding, and hidden
// while the owner paints.
#include "InputTestSupport.h"
#include "platform/gdi/Dib.h"
#include "platform/gdi/Painting.h"

namespace {

using TCaretTest = TInputTest;

DWORD PixelOf(HWND Wnd, Integer X, Integer Y) {
  TWindow* W = WindowFromHandle(Wnd);
  const TPoint O = ClientOriginInSurface(W);
  return GetRawPixel(TopLevelOf(W)->Surface->Surface, O.X + X, O.Y + Y) & 0xFFFFFF;
}

TEST_F(TCaretTest, InvertsBlinksAndCountsHiding) {
  HWND W = Popup({0, 0, 100, 100});
  Run();
  ASSERT_EQ(PixelOf(W, 10, 20), 0xFFFFFFu);
  ASSERT_TRUE(CreateCaret(W, nullptr, 2, 10));
  ASSERT_TRUE(SetCaretPos(10, 20));
  EXPECT_EQ(PixelOf(W, 10, 20), 0xFFFFFFu) << "a new caret is hidden";
  ASSERT_TRUE(ShowCaret(W));
  for (const TPoint P : {TPoint{10, 20}, TPoint{11, 29}}) EXPECT_EQ(PixelOf(W, P.X, P.Y), 0u);
  for (const TPoint P : {TPoint{12, 20}, TPoint{10, 30}, TPoint{9, 20}})
    EXPECT_EQ(PixelOf(W, P.X, P.Y), 0xFFFFFFu);
  POINT P;
  ASSERT_TRUE(GetCaretPos(&P));
  EXPECT_EQ(P, (POINT{10, 20}));
  EXPECT_EQ(GetCaretBlinkTime(), 530u);
  Clock.Advance(529);
  Run();
  EXPECT_EQ(PixelOf(W, 10, 20), 0u);
  Clock.Advance(1);
  Run();
  EXPECT_EQ(PixelOf(W, 10, 20), 0xFFFFFFu);
  Clock.Advance(530);
  Run();
  EXPECT_EQ(PixelOf(W, 10, 20), 0u);
  // Moving shows it at once at the new place.
  Clock.Advance(530);
  Run();
  SetCaretPos(30, 30);
  EXPECT_EQ(PixelOf(W, 10, 20), 0xFFFFFFu);
  EXPECT_EQ(PixelOf(W, 30, 30), 0u);
  // Hiding counts.
  HideCaret(W);
  HideCaret(nullptr);
  EXPECT_EQ(PixelOf(W, 30, 30), 0xFFFFFFu);
  ShowCaret(W);
  EXPECT_EQ(PixelOf(W, 30, 30), 0xFFFFFFu);
  ShowCaret(W);
  EXPECT_EQ(PixelOf(W, 30, 30), 0u);
  // Another window cannot show or hide it.
  HWND Other = Popup({200, 0, 300, 100});
  EXPECT_FALSE(HideCaret(Other));
  EXPECT_TRUE(DestroyCaret());
  EXPECT_EQ(PixelOf(W, 30, 30), 0xFFFFFFu);
  EXPECT_FALSE(DestroyCaret());
  EXPECT_FALSE(GetCaretPos(&P));
  // The caret goes with its window.
  CreateCaret(Other, nullptr, 0, 0);
  DestroyWindow(Other);
  EXPECT_FALSE(GetCaretPos(&P));
}

TEST_F(TCaretTest, HiddenWhilePainting) {
  HWND W = Popup({0, 0, 100, 100});
  Run();
  CreateCaret(W, nullptr, 1, 8);
  SetCaretPos(40, 40);
  ShowCaret(W);
  ASSERT_EQ(PixelOf(W, 40, 40), 0u);
  std::vector<DWORD> DuringPaint;
  Behaviours()[W].Handler = [&](HWND Wnd, UINT Msg, WPARAM, LPARAM, LRESULT&) {
    if (Msg != WM_PAINT) return false;
    PAINTSTRUCT PS;
    BeginPaint(Wnd, &PS);
    DuringPaint.push_back(PixelOf(Wnd, 40, 40));
    // The paint leaves the pixel as it found it; the caret comes back on top.
    SetPixel(PS.hdc, 41, 40, RGB(255, 0, 0));
    EndPaint(Wnd, &PS);
    return true;
  };
  InvalidateRect(W, nullptr, TRUE);
  Run();
  EXPECT_EQ(DuringPaint, (std::vector<DWORD>{0xFFFFFFu}));
  EXPECT_EQ(PixelOf(W, 40, 40), 0u);
  EXPECT_EQ(PixelOf(W, 41, 40), 0xFF0000u);
  // A grey caret and a bitmap caret invert through their pattern.
  HBITMAP Shape = CreateBitmap(2, 1, 1, 32, nullptr);
  reinterpret_cast<DWORD*>(Shape->Surface.Row(0))[0] = 0x00FF00;
  ASSERT_TRUE(CreateCaret(W, Shape, 0, 0));
  SetCaretPos(60, 60);
  ShowCaret(W);
  EXPECT_EQ(PixelOf(W, 60, 60), 0xFF00FFu);
  EXPECT_EQ(PixelOf(W, 61, 60), 0xFFFFFFu);
  EXPECT_EQ(PixelOf(W, 40, 40), 0xFFFFFFu) << "the old caret is gone";
  DestroyCaret();
  DeleteObject(Shape);
}

TEST_F(TCaretTest, ScrollingMovesThePixelsWithoutTheCaret) {
  HWND W = Popup({0, 0, 100, 100});
  Run();
  CreateCaret(W, nullptr, 2, 8);
  SetCaretPos(40, 40);
  ShowCaret(W);
  ASSERT_EQ(PixelOf(W, 40, 40), 0u);
  // The caret's pixels do not travel with the scroll; the caret shows at its place afterwards.
  ScrollWindowEx(W, 20, 0, nullptr, nullptr, nullptr, nullptr, 0);
  EXPECT_EQ(PixelOf(W, 60, 40), 0xFFFFFFu);
  EXPECT_EQ(PixelOf(W, 40, 40), 0u);
  HDC DC = GetDC(W);
  ScrollDC(DC, 0, 20, nullptr, nullptr, nullptr, nullptr);
  ReleaseDC(W, DC);
  EXPECT_EQ(PixelOf(W, 40, 60), 0xFFFFFFu);
  EXPECT_EQ(PixelOf(W, 40, 40), 0u);
  // A scroll inside a paint leaves the caret hidden until the paint ends.
  std::vector<DWORD> DuringPaint;
  Behaviours()[W].Handler = [&](HWND Wnd, UINT Msg, WPARAM, LPARAM, LRESULT&) {
    if (Msg != WM_PAINT) return false;
    PAINTSTRUCT PS;
    BeginPaint(Wnd, &PS);
    ScrollDC(PS.hdc, 0, 0, nullptr, nullptr, nullptr, nullptr);
    DuringPaint.push_back(PixelOf(Wnd, 40, 40));
    EndPaint(Wnd, &PS);
    return true;
  };
  InvalidateRect(W, nullptr, TRUE);
  Run();
  EXPECT_EQ(DuringPaint, (std::vector<DWORD>{0xFFFFFFu}));
  EXPECT_EQ(PixelOf(W, 40, 40), 0u);
}

}  // namespace
