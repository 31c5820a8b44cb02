// TCanvas on bitmaps: fills, pixels, pen modes, lazy object selection, copies, locking.
#include <atomic>
#include <thread>

#include "ClassesTestUtil.h"
#include "platform/gdi/SysColors.h"

namespace {

// A white bitmap whose '#' pixels are black.
void Paint(TBitmap& B, std::initializer_list<const char*> Lines) {
  const Integer H = static_cast<Integer>(Lines.size());
  const Integer W = static_cast<Integer>(std::strlen(*Lines.begin()));
  B.SetPixelFormat(pf24bit);
  B.SetSize(W, H);
  Integer Y = 0;
  for (const char* L : Lines) {
    for (Integer X = 0; X < W; ++X)
      if (L[X] == '#') B.GetCanvas()->SetPixels(X, Y, clBlack);
    ++Y;
  }
}

}  // namespace

TEST(Canvas, FloodFillSurfaceAndBorder) {
  struct TCase {
    const char* Name;
    Integer X, Y;
    TColor Color;
    TFillStyle Style;
    std::string Expect;
  } Cases[] = {
      // The white area around the start, 4-connected: the diagonal gap at the bottom right
      // does not let it out.
      {"surface inside", 2, 2, clWhite, fsSurface, Rows({"......", ".####.", ".#??#.", ".#??#.", ".###.."})},
      // Everything up to black pixels: the outside, reached from the corner, not the inside.
      {"border outside", 0, 0, clBlack, fsBorder, Rows({"??????", "?####?", "?#..#?", "?#..#?", "?###??"})},
      // Filling the black ring itself.
      {"surface ring", 1, 1, clBlack, fsSurface, Rows({"......", ".????.", ".?..?.", ".?..?.", ".???.."})},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    TBitmap B;
    Paint(B, {"......", ".####.", ".#..#.", ".#..#.", ".###.."});
    B.GetCanvas()->GetBrush()->SetColor(clRed);
    B.GetCanvas()->FloodFill(C.X, C.Y, C.Color, C.Style);
    EXPECT_EQ(Picture(B), C.Expect);
  }
}

TEST(Canvas, PixelsReadAndWriteColours) {
  TBitmap B;
  B.SetSize(2, 1);
  TCanvas* C = B.GetCanvas();
  C->SetPixels(0, 0, static_cast<TColor>(RGB(1, 2, 3)));
  C->SetPixels(1, 0, clBtnFace);  // a system colour is drawn as its RGB
  EXPECT_EQ(C->GetPixels(0, 0), static_cast<TColor>(RGB(1, 2, 3)));
  EXPECT_EQ(static_cast<COLORREF>(C->GetPixels(1, 0)), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(ColorToRGB(clBtnFace), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(C->GetPixels(5, 5), static_cast<TColor>(CLR_INVALID));
}

TEST(Canvas, PenModesDrawWithTheirMixModes) {
  // Black pen over a white pixel and over a black one.
  struct {
    TPenMode Mode;
    COLORREF OnWhite, OnBlack;
  } Cases[] = {
      {pmCopy, 0x000000, 0x000000},  {pmNotCopy, 0xFFFFFF, 0xFFFFFF}, {pmXor, 0xFFFFFF, 0x000000},
      {pmNot, 0x000000, 0xFFFFFF},   {pmWhite, 0xFFFFFF, 0xFFFFFF},   {pmNop, 0xFFFFFF, 0x000000},
      {pmMerge, 0xFFFFFF, 0x000000}, {pmMask, 0x000000, 0x000000},    {pmNotXor, 0x000000, 0xFFFFFF},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Mode);
    TBitmap B;
    B.SetPixelFormat(pf24bit);
    B.SetSize(2, 1);
    TCanvas* Cv = B.GetCanvas();
    Cv->SetPixels(1, 0, clBlack);
    Cv->GetPen()->SetMode(C.Mode);
    Cv->MoveTo(0, 0);
    Cv->LineTo(2, 0);
    EXPECT_EQ(PixelAt(B, 0, 0), C.OnWhite);
    EXPECT_EQ(PixelAt(B, 1, 0), C.OnBlack);
  }
}

TEST(Canvas, ChangedObjectsAreSelectedAgain) {
  TBitmap B;
  B.SetSize(2, 1);
  TCanvas* C = B.GetCanvas();
  C->GetBrush()->SetColor(clRed);
  C->FillRect(Rect(0, 0, 1, 1));
  C->GetBrush()->SetColor(clBlue);
  C->FillRect(Rect(1, 0, 2, 1));
  EXPECT_EQ(PixelAt(B, 0, 0), 0x0000FFu);
  EXPECT_EQ(PixelAt(B, 1, 0), 0xFF0000u);
  // Lines exclude their end point; the pen colour change is picked up too.
  TBitmap L;
  L.SetSize(4, 1);
  L.GetCanvas()->GetPen()->SetColor(clBlack);
  L.GetCanvas()->MoveTo(0, 0);
  L.GetCanvas()->LineTo(3, 0);
  EXPECT_EQ(Picture(L), Rows({"###."}));
  EXPECT_EQ(L.GetCanvas()->GetPenPos(), Point(3, 0));
}

TEST(Canvas, ShapesUseThePenAndBrush) {
  TBitmap B;
  B.SetSize(5, 5);
  TCanvas* C = B.GetCanvas();
  C->GetBrush()->SetStyle(bsClear);
  C->Rectangle(0, 0, 5, 5);
  C->Polygon({Point(2, 1), Point(3, 2), Point(2, 3), Point(1, 2)});
  EXPECT_EQ(Picture(B), Rows({"#####", "#.#.#", "##.##", "#.#.#", "#####"}));
}

TEST(Canvas, CopyRectUsesTheCopyMode) {
  TBitmap Src;
  Src.SetSize(2, 1);
  Src.GetCanvas()->SetPixels(0, 0, clBlack);
  TBitmap Dst;
  Dst.SetSize(4, 1);
  Dst.GetCanvas()->CopyRect(Rect(0, 0, 2, 1), Src.GetCanvas(), Rect(0, 0, 2, 1));
  Dst.GetCanvas()->SetCopyMode(cmNotSrcCopy);
  Dst.GetCanvas()->CopyRect(Rect(2, 0, 4, 1), Src.GetCanvas(), Rect(0, 0, 2, 1));
  EXPECT_EQ(Picture(Dst), Rows({"#..#"}));
}

TEST(Canvas, BrushCopyPaintsTheBrushOverOneColour) {
  TBitmap Src;
  Paint(Src, {"#.", ".#"});
  TBitmap Dst;
  Dst.SetPixelFormat(pf24bit);
  Dst.SetSize(2, 2);
  TCanvas* C = Dst.GetCanvas();
  C->GetBrush()->SetColor(clRed);
  C->BrushCopy(Rect(0, 0, 2, 2), &Src, Rect(0, 0, 2, 2), clWhite);
  EXPECT_EQ(Picture(Dst), Rows({"#?", "?#"}));
  EXPECT_EQ(PixelAt(Dst, 1, 0), 0x0000FFu);
}

TEST(Canvas, TextOutMovesThePenToTheTextEnd) {
  TBitmap B;
  B.SetSize(100, 30);
  TCanvas* C = B.GetCanvas();
  const TSize Size = C->TextExtent("Hello");
  EXPECT_GT(Size.cx, 0);
  EXPECT_GT(Size.cy, 0);
  EXPECT_EQ(C->TextWidth("Hello"), Size.cx);
  C->TextOut(3, 4, "Hello");
  EXPECT_EQ(C->GetPenPos(), Point(3 + Size.cx, 4));
  EXPECT_EQ(C->TextExtent("").cx, 0);
}

TEST(Canvas, ACanvasWithoutHandleRefusesToDraw) {
  TCanvas C;
  ExpectError<EInvalidOperation>([&] { C.FillRect(Rect(0, 0, 1, 1)); }, "Canvas does not allow drawing");
  // An outside DC works once given; the canvas does not own it.
  TBitmap B;
  B.SetSize(2, 1);
  HDC DC = CreateCompatibleDC(nullptr);
  HGDIOBJ Old = SelectObject(DC, B.GetHandle());
  C.SetHandle(DC);
  C.GetBrush()->SetColor(clBlack);
  C.FillRect(Rect(0, 0, 1, 1));
  C.SetHandle(nullptr);
  SelectObject(DC, Old);
  DeleteDC(DC);
  EXPECT_EQ(Picture(B), Rows({"#."}));
}

TEST(Canvas, DrawingCallsFireChangingThenChanged) {
  TBitmap B;
  B.SetSize(2, 2);
  TCanvas* C = B.GetCanvas();
  std::string Log;
  struct TLogger {
    std::string* L;
    void Changing(TObject*) { *L += "<"; }
    void Changed(TObject*) { *L += ">"; }
  } Logger{&Log};
  C->OnChanging = TNotifyEvent(&Logger, &TLogger::Changing);
  C->OnChange = TNotifyEvent(&Logger, &TLogger::Changed);
  C->FillRect(Rect(0, 0, 1, 1));
  C->TextExtent("x");  // measuring changes nothing
  C->Ellipse(0, 0, 2, 2);
  EXPECT_EQ(Log, "<><>");
}

TEST(Canvas, LockIsReentrantAndTryLockRefusesWhileHeld) {
  TCanvas C;
  C.Lock();
  C.Lock();
  EXPECT_EQ(C.GetLockCount(), 2);
  std::atomic<bool> Got{true};
  std::thread([&] { Got = C.TryLock(); }).join();
  EXPECT_FALSE(Got);
  C.Unlock();
  C.Unlock();
  EXPECT_EQ(C.GetLockCount(), 0);
  std::thread([&] {
    Got = C.TryLock();
    if (Got) C.Unlock();
  }).join();
  EXPECT_TRUE(Got);
}
