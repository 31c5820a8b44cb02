// The view on a window: the back buffer reaches the window, the paint lock, the version label,
// and scrolling at zoom 100 that redraws only the strip that came into view.
#include <gtest/gtest.h>

#include "PaintTestSupport.h"
#include "ViewCoreTestSupport.h"
#include "imaging/view/zezudidviewpaint.h"
#include "platform/classes/Application.h"
#include "platform/classes/Forms.h"
#include "platform/gdi/Painting.h"
#include "platform/user/WindowPaint.h"

namespace {

class ViewWindowPaint : public ::testing::Test {
 protected:
  void SetUp() override {
    Form = std::make_unique<TForm>(nullptr);
    Form->SetBounds(0, 0, 300, 200);
    View = new TZezudIdView(Form.get());
    View->SetBorderStyle(bsNone);
    View->SetScrollBars(ssNone);
    View->SetParent(Form.get());
    View->SetBounds(0, 0, 60, 40);
    View->SetBackground(0x305070);
    Form->Show();
    Application->ProcessMessages();
  }
  void TearDown() override {
    Form.reset();
    Application->ProcessMessages();
  }
  void ShowPicture(Integer Width, Integer Height) {
    View->GetIEBitmap()->Assign(PatternPicture(Width, Height).get());
    View->Update();
    Application->ProcessMessages();
  }
  COLORREF WindowPixel(Integer X, Integer Y) {
    HDC DC = GetDC(View->GetHandle());
    const COLORREF C = GetPixel(DC, X, Y);
    ReleaseDC(View->GetHandle(), DC);
    return C;
  }
  static COLORREF AsColor(TIERGBTriple P) { return RGB(P.rgbtRed, P.rgbtGreen, P.rgbtBlue); }

  std::unique_ptr<TForm> Form;
  TZezudIdView* View = nullptr;
};

TEST_F(ViewWindowPaint, TheBackBufferReachesTheWindow) {
  ShowPicture(20, 10);
  TIEBitmap* Buffer = View->GetBackBuffer();
  ASSERT_EQ(Buffer->GetWidth(), 60);
  ASSERT_EQ(Buffer->GetHeight(), 40);
  // Centred at (20, 15).
  EXPECT_EQ(AsColor(Buffer->GetPixel24(20, 15)), RGB(0, 0, 100));
  for (const auto& [X, Y] : {std::pair{0, 0}, std::pair{20, 15}, std::pair{25, 17}, std::pair{59, 39}})
    EXPECT_EQ(WindowPixel(X, Y), AsColor(Buffer->GetPixel24(X, Y))) << X << "," << Y;
  EXPECT_EQ(WindowPixel(0, 0), RGB(0x70, 0x50, 0x30));
}

TEST_F(ViewWindowPaint, TheDrawDibPathCopiesTheSamePixels) {
  ShowPicture(20, 10);
  View->SetUseDrawDib(true);
  Form->Hide();
  Application->ProcessMessages();
  Form->Show();
  View->Invalidate();
  Application->ProcessMessages();
  TIEBitmap* Buffer = View->GetBackBuffer();
  for (const auto& [X, Y] : {std::pair{0, 0}, std::pair{20, 15}, std::pair{39, 24}, std::pair{25, 17}})
    EXPECT_EQ(WindowPixel(X, Y), AsColor(Buffer->GetPixel24(X, Y))) << X << "," << Y;
  EXPECT_EQ(WindowPixel(39, 24), RGB(190, 180, 100));
}

TEST_F(ViewWindowPaint, APaintLockStillFiresOnPaintButDrawsNoPicture) {
  ShowPicture(20, 10);
  Integer Paints = 0;
  struct TCounter {
    Integer* Count;
    void Painted(TObject*) { ++*Count; }
  } Counter{&Paints};
  View->OnPaint = TNotifyEvent(&Counter, &TCounter::Painted);
  View->LockPaint();
  View->GetIEBitmap()->Fill(0);
  View->SetBackBufferDirty();
  View->Invalidate();
  Application->ProcessMessages();
  EXPECT_GE(Paints, 1);
  EXPECT_EQ(WindowPixel(25, 17), RGB(50, 40, 100)) << "the old picture stays";
  View->UnlockPaint();
  Application->ProcessMessages();
  EXPECT_EQ(WindowPixel(25, 17), RGB(0, 0, 0));
}

TEST_F(ViewWindowPaint, VersionLabelSitsAtTheBottomRightInBlackOnWhite) {
  ShowPicture(60, 40);
  const auto CountColours = [&](Integer& Black, Integer& White) {
    Black = White = 0;
    for (Integer Y = 25; Y < 40; ++Y)
      for (Integer X = 0; X < 60; ++X) {
        const COLORREF C = WindowPixel(X, Y);
        Black += C == RGB(0, 0, 0);
        White += C == RGB(255, 255, 255);
      }
  };
  Integer Black = 0, White = 0;
  CountColours(Black, White);
  EXPECT_EQ(Black, 0);
  EXPECT_EQ(White, 0);
  View->SetDrawVersion(true);
  Application->ProcessMessages();
  CountColours(Black, White);
  EXPECT_GT(Black, 10);
  EXPECT_GT(White, 100);
  EXPECT_EQ(WindowPixel(59, 39), RGB(255, 255, 255)) << "the box ends at the corner";
  EXPECT_NE(WindowPixel(0, 20), RGB(255, 255, 255));
}

// Only the columns that scrolled in are drawn again: the picture is changed behind the view's
// back, and only the new strip shows the change until a whole rebuild.
TEST_F(ViewWindowPaint, ScrollingAtHundredRedrawsOnlyTheUncoveredStrip) {
  ShowPicture(100, 40);
  TIEBitmap* Buffer = View->GetBackBuffer();
  ASSERT_EQ(AsColor(Buffer->GetPixel24(5, 0)), RGB(50, 0, 100));
  View->GetIEBitmap()->Fill(0);
  View->SetViewX(5);
  Application->ProcessMessages();
  EXPECT_EQ(AsColor(Buffer->GetPixel24(0, 0)), RGB(50, 0, 100)) << "moved, not redrawn";
  EXPECT_EQ(AsColor(Buffer->GetPixel24(54, 3)), RGB(static_cast<Byte>(590), 60, 100));
  EXPECT_EQ(AsColor(Buffer->GetPixel24(55, 3)), RGB(0, 0, 0)) << "the strip that came in";
  EXPECT_EQ(AsColor(Buffer->GetPixel24(59, 39)), RGB(0, 0, 0));
  EXPECT_EQ(WindowPixel(0, 0), RGB(50, 0, 100));
  EXPECT_EQ(WindowPixel(57, 0), RGB(0, 0, 0));
  View->SetViewX(2);
  Application->ProcessMessages();
  EXPECT_EQ(AsColor(Buffer->GetPixel24(0, 0)), RGB(0, 0, 0)) << "scrolled back in from the left";
  EXPECT_EQ(AsColor(Buffer->GetPixel24(3, 0)), RGB(50, 0, 100));
  View->Update();
  Application->ProcessMessages();
  EXPECT_EQ(AsColor(Buffer->GetPixel24(3, 0)), RGB(0, 0, 0)) << "a change makes a whole rebuild";
}

TEST_F(ViewWindowPaint, ScrolledBufferEqualsAWholeRebuild) {
  ShowPicture(100, 90);
  View->SetViewXY(7, 11);
  View->SetViewXY(3, 30);
  Application->ProcessMessages();
  TIEBitmap Whole(60, 40, ie24RGB);
  View->DrawToBackBuffer(&Whole, nullptr, nullptr, true, true);
  TIEBitmap* Buffer = View->GetBackBuffer();
  for (Integer Y = 0; Y < 40; ++Y)
    for (Integer X = 0; X < 60; ++X)
      ASSERT_EQ(Buffer->GetPixel24(X, Y), Whole.GetPixel24(X, Y)) << X << "," << Y;
}

TEST(ViewWithoutWindow, PaintsNothingAndRaisesNothing) {
  struct TLooseView : TZezudIdView {
    TLooseView() : TZezudIdView(nullptr) {}
    using TZezudIdView::Paint;
  } View;
  View.GetIEBitmap()->Assign(PatternPicture(8, 6).get());
  View.Update();
  EXPECT_NO_THROW(View.Paint());
  EXPECT_EQ(View.GetBackBuffer()->GetWidth(), 10) << "the buffer was never sized for a window";
}

// A navigator asked for the dark frame shows its frame rectangle bright and darkens the rest of
// the picture.
TEST_F(ViewWindowPaint, NavigatorDarkensAroundItsFrame) {
  struct TNavigatorView : TZezudIdView {
    using TZezudIdView::FLinkedFrameRect;
    using TZezudIdView::TZezudIdView;
  };
  ShowPicture(120, 80);
  auto* Navigator = new TNavigatorView(Form.get());
  Navigator->SetBorderStyle(bsNone);
  Navigator->SetScrollBars(ssNone);
  Navigator->SetParent(Form.get());
  Navigator->SetBounds(100, 0, 60, 40);
  View->SetNavigator(Navigator, 4);
  Navigator->Invalidate();
  Application->ProcessMessages();
  TIEBitmap* Buffer = Navigator->GetBackBuffer();
  HDC DC = GetDC(Navigator->GetHandle());
  const COLORREF Inside = GetPixel(DC, 10, 10), Outside = GetPixel(DC, 50, 30);
  ReleaseDC(Navigator->GetHandle(), DC);
  EXPECT_EQ(Inside, AsColor(Buffer->GetPixel24(10, 10)));
  const COLORREF Plain = AsColor(Buffer->GetPixel24(50, 30));
  EXPECT_LE(GetRValue(Outside), GetRValue(Plain));
  EXPECT_LT(GetBValue(Outside), GetBValue(Plain));
  View->SetNavigator(nullptr);
}

// A repaint without a change copies the buffer as it is; a change rebuilds it once.
TEST_F(ViewWindowPaint, OnlyAChangeRebuildsTheBackBuffer) {
  ShowPicture(20, 10);
  struct TCounter {
    Integer Builds = 0, Canvases = 0;
    void Built(TObject*) { ++Builds; }
    void Canvas(TObject*, TCanvas*, TRect Rect) {
      ++Canvases;
      EXPECT_EQ(Rect, (TRect{0, 0, 60, 40}));
    }
  } Counter;
  View->OnDrawBackBuffer = TNotifyEvent(&Counter, &TCounter::Built);
  View->OnDrawCanvas = TIEOnDrawCanvas(&Counter, &TCounter::Canvas);
  View->Invalidate();
  Application->ProcessMessages();
  EXPECT_EQ(Counter.Builds, 0);
  EXPECT_EQ(Counter.Canvases, 1);
  View->Update();
  Application->ProcessMessages();
  EXPECT_EQ(Counter.Builds, 1);
  EXPECT_EQ(Counter.Canvases, 2);
}

TEST_F(ViewWindowPaint, BelowTrueColourTheHalftoneCopyKeepsThePixels) {
  ShowPicture(20, 10);
  const Integer Depth = IEViewGlobals().ScreenBitsPerPixel;
  IEViewGlobals().ScreenBitsPerPixel = 16;
  View->GetIEBitmap()->Fill(0x406080);
  View->Update();
  Application->ProcessMessages();
  IEViewGlobals().ScreenBitsPerPixel = Depth;
  TIEBitmap* Buffer = View->GetBackBuffer();
  for (const auto& [X, Y] : {std::pair{0, 0}, std::pair{20, 15}, std::pair{39, 24}})
    EXPECT_EQ(WindowPixel(X, Y), AsColor(Buffer->GetPixel24(X, Y))) << X << "," << Y;
  EXPECT_NE(WindowPixel(25, 17), RGB(50, 40, 100)) << "the new picture arrived";
}

}  // namespace
