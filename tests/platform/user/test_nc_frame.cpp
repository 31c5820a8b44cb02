// The classic frame: hit testing, client geometry, and the frame's pixels.
#include <string>

#include "NcTestSupport.h"
#include "platform/gdi/FontEngine.h"

namespace {

using TNcFrameTest = TNcTest;

struct THitCase {
  Integer X, Y;  // window coordinates
  LRESULT Code;
};

LRESULT HitAt(HWND W, Integer X, Integer Y) {
  RECT R;
  GetWindowRect(W, &R);
  return SendMessage(W, WM_NCHITTEST, 0, MAKELPARAM(R.Left + X, R.Top + Y));
}

// A sizable captioned 300 x 200 window with both scroll bars: frame 4, caption rows 4..22
// (the last one the line), client (4, 23)-(280, 180), buttons 16 x 14 at y 6: minimize
// 244..260, maximize 260..276, close 278..294.
TEST_F(TNcFrameTest, HitTestCodesAcrossASizableWindow) {
  HWND W = Frame(100, 100, 300, 200, WS_OVERLAPPEDWINDOW | WS_VSCROLL | WS_HSCROLL);
  const THitCase Cases[] = {
      {0, 0, HTTOPLEFT},         {18, 0, HTTOPLEFT},        {19, 0, HTTOP},
      {150, 0, HTTOP},           {299, 0, HTTOPRIGHT},      {0, 18, HTTOPLEFT},
      {0, 19, HTLEFT},           {0, 100, HTLEFT},          {3, 100, HTLEFT},
      {299, 100, HTRIGHT},       {0, 199, HTBOTTOMLEFT},    {150, 199, HTBOTTOM},
      {150, 196, HTBOTTOM},      {299, 199, HTBOTTOMRIGHT}, {299, 181, HTBOTTOMRIGHT},
      {299, 180, HTRIGHT},       {4, 4, HTSYSMENU},         {21, 21, HTSYSMENU},
      {22, 10, HTCAPTION},       {150, 10, HTCAPTION},      {150, 22, HTCAPTION},
      {244, 6, HTMINBUTTON},     {259, 19, HTMINBUTTON},    {260, 10, HTMAXBUTTON},
      {276, 10, HTCAPTION},      {278, 6, HTCLOSE},         {293, 19, HTCLOSE},
      {285, 5, HTCAPTION},       {285, 20, HTCAPTION},      {4, 23, HTCLIENT},
      {279, 179, HTCLIENT},      {280, 100, HTVSCROLL},     {295, 179, HTVSCROLL},
      {100, 180, HTHSCROLL},     {4, 195, HTHSCROLL},       {280, 180, HTBOTTOMRIGHT},
      {295, 195, HTBOTTOMRIGHT}, {-1, 50, HTNOWHERE},       {300, 50, HTNOWHERE},
      {50, 200, HTNOWHERE},
  };
  for (const THitCase& C : Cases) EXPECT_EQ(HitAt(W, C.X, C.Y), C.Code) << "at " << C.X << "," << C.Y;
  RECT R;
  GetClientRect(W, &R);
  EXPECT_EQ(R, (RECT{0, 0, 276, 157}));
}

TEST_F(TNcFrameTest, HitTestOfOtherFrames) {
  // A dialog frame has no sizing edges; the help button stands left of close.
  HWND D =
      Frame(100, 100, 200, 100, WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME | WS_EX_CONTEXTHELP);
  EXPECT_EQ(HitAt(D, 0, 0), HTBORDER);
  EXPECT_EQ(HitAt(D, 2, 50), HTBORDER);
  EXPECT_EQ(HitAt(D, 5, 10), HTCAPTION);  // no icon with a modal dialog frame
  EXPECT_EQ(HitAt(D, 190, 10), HTCLOSE);  // close 179..195
  EXPECT_EQ(HitAt(D, 170, 10), HTHELP);   // help 161..177
  // Tool windows: small caption, close button only.
  HWND T = Frame(100, 300, 200, 100, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, WS_EX_TOOLWINDOW);
  EXPECT_EQ(HitAt(T, 10, 10), HTCAPTION);
  EXPECT_EQ(HitAt(T, 190, 10), HTCLOSE);  // 10 x 11 at (184, 6)
  EXPECT_EQ(HitAt(T, 150, 19), HTCAPTION);
  EXPECT_EQ(HitAt(T, 150, 20), HTCLIENT);  // client from 4 + 16
  // A maximized window cannot be sized from its frame.
  HWND M = Frame(100, 100, 300, 200);
  ShowWindow(M, SW_MAXIMIZE);
  EXPECT_EQ(HitAt(M, 0, 0), HTBORDER);
  EXPECT_EQ(HitAt(M, 10, 10), HTSYSMENU);
  // A thin border and client edge.
  HWND B = Frame(500, 100, 100, 100, WS_POPUP | WS_BORDER, WS_EX_CLIENTEDGE);
  EXPECT_EQ(HitAt(B, 0, 50), HTBORDER);
  EXPECT_EQ(HitAt(B, 2, 50), HTBORDER);
  EXPECT_EQ(HitAt(B, 3, 50), HTCLIENT);
}

TEST_F(TNcFrameTest, MinimizedWindowIsAllCaption) {
  HWND W = Frame(100, 100, 300, 200);
  ShowWindow(W, SW_MINIMIZE);
  RECT R;
  GetClientRect(W, &R);
  EXPECT_EQ(R, (RECT{0, 0, 0, 0}));
  GetWindowRect(W, &R);
  ASSERT_EQ(R.Width(), 160);
  // Caption 4..20 (all the frame leaves), buttons from the right: close 138..154, restore
  // (in the minimize button's place) 104..120.
  EXPECT_EQ(HitAt(W, 0, 0), HTCAPTION);
  EXPECT_EQ(HitAt(W, 60, 10), HTCAPTION);
  EXPECT_EQ(HitAt(W, 60, 22), HTCAPTION);
  EXPECT_EQ(HitAt(W, 145, 10), HTCLOSE);
  EXPECT_EQ(HitAt(W, 110, 10), HTMINBUTTON);
  SendMessage(W, WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(R.Left + 60, R.Top + 10));
  EXPECT_FALSE(IsIconic(W));
  GetClientRect(W, &R);
  EXPECT_EQ(R, (RECT{0, 0, 292, 173}));
}

TEST_F(TNcFrameTest, MenuBarTakesItsRowsFromTheClientArea) {
  HMENU Bar = CreateMenu();
  AppendMenu(Bar, MF_STRING, 1, "&File");
  AppendMenu(Bar, MF_STRING, 2, "&Edit");
  HWND W = Frame(100, 100, 300, 200, WS_OVERLAPPEDWINDOW, 0, Bar);
  RECT R;
  GetClientRect(W, &R);
  EXPECT_EQ(R.Height(), 200 - 4 - 19 - 19 - 4);
  EXPECT_EQ(HitAt(W, 10, 30), HTMENU);
  EXPECT_EQ(HitAt(W, 10, 42), HTCLIENT);
  // AdjustWindowRect with a menu gives the client size asked for (one row of titles).
  RECT Want{0, 0, 250, 150};
  AdjustWindowRectEx(&Want, WS_OVERLAPPEDWINDOW, TRUE, 0);
  HMENU Bar2 = CreateMenu();
  AppendMenu(Bar2, MF_STRING, 1, "&File");
  HWND A = Frame(50, 50, Want.Width(), Want.Height(), WS_OVERLAPPEDWINDOW, 0, Bar2);
  GetClientRect(A, &R);
  EXPECT_EQ(R, (RECT{0, 0, 250, 150}));
  // Too narrow for its titles, the bar wraps to a second row.
  HMENU Wide = CreateMenu();
  for (Integer I = 0; I < 8; ++I) AppendMenu(Wide, MF_STRING, 10 + I, ("&Title" + std::to_string(I)).c_str());
  SetMenu(W, Wide);
  GetClientRect(W, &R);
  EXPECT_EQ(R.Height(), 200 - 4 - 19 - (2 * 18 + 1) - 4);
  DestroyMenu(Bar);  // no longer the window's
  SetMenu(W, nullptr);
  GetClientRect(W, &R);
  EXPECT_EQ(R.Height(), 200 - 4 - 19 - 4);
}

TEST_F(TNcFrameTest, ShowScrollBarChangesTheFrame) {
  HWND W = Frame(100, 100, 300, 200);
  RECT R;
  GetClientRect(W, &R);
  EXPECT_EQ(R.Width(), 292);
  ShowScrollBar(W, SB_VERT, TRUE);
  EXPECT_TRUE(GetWindowLongPtr(W, GWL_STYLE) & WS_VSCROLL);
  GetClientRect(W, &R);
  EXPECT_EQ(R.Width(), 292 - 16);
  ShowScrollBar(W, SB_BOTH, TRUE);
  GetClientRect(W, &R);
  EXPECT_EQ(R.Height(), 200 - 8 - 19 - 16);
  ShowScrollBar(W, SB_BOTH, FALSE);
  GetClientRect(W, &R);
  EXPECT_EQ(R, (RECT{0, 0, 292, 173}));
}

// ---- Pixels ----------------------------------------------------------------------------------

class TNcPaintTest : public TNcTest {
 protected:
  void SetUp() override {
    TNcTest::SetUp();
    LOGFONT Caption;
    Caption.lfHeight = -11;
    Caption.lfWeight = FW_BOLD;
    Caption.lfFaceName = "Liberation Sans";
    LOGFONT Menu = Caption;
    Menu.lfWeight = FW_NORMAL;
    SetNcFonts(&Caption, &Caption, &Menu);
  }
  void TearDown() override {
    SetNcFonts(nullptr, nullptr, nullptr);
    TNcTest::TearDown();
  }
  // The last column of the 192-pixel caption gradient: GradientFill stops one step short of
  // the right colour (16-bit channels, truncated).
  static DWORD Last(Integer From, Integer To) {
    const COLORREF A = GetSysColor(From), B = GetSysColor(To);
    auto Channel = [](Integer CA, Integer CB) { return ((CA << 8) + ((CB - CA) << 8) * 191 / 192) >> 8; };
    return (Channel(GetRValue(A), GetRValue(B)) << 16) | (Channel(GetGValue(A), GetGValue(B)) << 8) |
           Channel(GetBValue(A), GetBValue(B));
  }
  // Whether any pixel of the rectangle has the colour.
  static bool Any(HWND W, const RECT& R, DWORD Color) {
    const TScreenshot S = Screenshot(W);
    for (Integer Y = R.Top; Y < R.Bottom; ++Y)
      for (Integer X = R.Left; X < R.Right; ++X)
        if ((S.Pixel(X, Y) & 0xFFFFFF) == Color) return true;
    return false;
  }
};

TEST_F(TNcPaintTest, ClassicSizingFrameAndCaption) {
  HWND W = Frame(50, 50, 200, 120);
  SendMessage(W, WM_NCACTIVATE, TRUE, 0);
  RunUntilIdle();
  struct TCase {
    Integer X, Y;
    DWORD Color;
  };
  const TCase Cases[] = {
      // Raised outer edge, raised inner edge, then the active border colour.
      {0, 0, Sys(COLOR_3DLIGHT)},
      {0, 60, Sys(COLOR_3DLIGHT)},
      {199, 119, Sys(COLOR_3DDKSHADOW)},
      {199, 60, Sys(COLOR_3DDKSHADOW)},
      {1, 1, Sys(COLOR_3DHILIGHT)},
      {198, 118, Sys(COLOR_3DSHADOW)},
      {2, 60, Sys(COLOR_ACTIVEBORDER)},
      {3, 60, Sys(COLOR_ACTIVEBORDER)},
      {197, 116, Sys(COLOR_ACTIVEBORDER)},
      // The caption runs from the active caption colour to its gradient colour.
      {4, 4, Sys(COLOR_ACTIVECAPTION)},
      {195, 4, Last(COLOR_ACTIVECAPTION, COLOR_GRADIENTACTIVECAPTION)},
      {4, 21, Sys(COLOR_ACTIVECAPTION)},
      {100, 22, Sys(COLOR_3DFACE)},
      // Close button (178, 6)-(194, 20): raised with the soft edge, and its cross.
      {178, 6, Sys(COLOR_3DHILIGHT)},
      {193, 19, Sys(COLOR_3DDKSHADOW)},
      {183, 10, Sys(COLOR_BTNTEXT)},
      {185, 15, Sys(COLOR_3DFACE)},
  };
  for (const TCase& C : Cases) EXPECT_EQ(Pixel(W, C.X, C.Y), C.Color) << "at " << C.X << "," << C.Y;
  // The title is drawn in the caption text colour, left of the buttons.
  EXPECT_TRUE(Any(W, RECT{24, 4, 140, 22}, Sys(COLOR_CAPTIONTEXT)));

  SendMessage(W, WM_NCACTIVATE, FALSE, 0);
  EXPECT_EQ(Pixel(W, 4, 4), Sys(COLOR_INACTIVECAPTION));
  EXPECT_EQ(Pixel(W, 195, 4), Last(COLOR_INACTIVECAPTION, COLOR_GRADIENTINACTIVECAPTION));
  EXPECT_EQ(Pixel(W, 2, 60), Sys(COLOR_INACTIVEBORDER));
}

TEST_F(TNcPaintTest, LongTitleEndsBeforeTheButtons) {
  HWND W = Frame(50, 50, 200, 120, WS_OVERLAPPEDWINDOW, 0, nullptr,
                 "A very long window title that cannot fit the caption bar at all");
  SendMessage(W, WM_NCACTIVATE, TRUE, 0);
  RunUntilIdle();
  EXPECT_TRUE(Any(W, RECT{24, 4, 142, 22}, Sys(COLOR_CAPTIONTEXT)));
  // Between the title's end (minimize button - 2) and the minimize button: no text.
  EXPECT_FALSE(Any(W, RECT{142, 6, 144, 20}, Sys(COLOR_CAPTIONTEXT)));
}

// A new title is drawn at once, without waiting for the window's next paint.
TEST_F(TNcPaintTest, NewTitleIsDrawnAtOnce) {
  HWND W = Frame(50, 50, 200, 120, WS_OVERLAPPEDWINDOW, 0, nullptr, "");
  SendMessage(W, WM_NCACTIVATE, TRUE, 0);
  RunUntilIdle();
  const RECT Title{24, 4, 140, 22};
  EXPECT_FALSE(Any(W, Title, Sys(COLOR_CAPTIONTEXT)));
  SetWindowText(W, "Mosaic");
  EXPECT_TRUE(Any(W, Title, Sys(COLOR_CAPTIONTEXT)));
  SetWindowText(W, "");
  EXPECT_FALSE(Any(W, Title, Sys(COLOR_CAPTIONTEXT)));
}

TEST_F(TNcPaintTest, DialogFrameBorderAndClientEdge) {
  HWND D =
      Frame(50, 50, 150, 100, WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME | WS_EX_CLIENTEDGE);
  HWND B = Frame(250, 50, 60, 40, WS_POPUP | WS_BORDER, WS_EX_STATICEDGE);
  RunUntilIdle();
  EXPECT_EQ(Pixel(D, 0, 50), Sys(COLOR_3DLIGHT));
  EXPECT_EQ(Pixel(D, 2, 50), Sys(COLOR_3DFACE));  // the dialog frame's third pixel
  // The client edge below the caption: sunken, shadow then dark shadow on the top-left.
  EXPECT_EQ(Pixel(D, 3, 22), Sys(COLOR_3DSHADOW));
  EXPECT_EQ(Pixel(D, 4, 23), Sys(COLOR_3DDKSHADOW));
  EXPECT_EQ(Pixel(D, 146, 96), Sys(COLOR_3DHILIGHT));
  EXPECT_EQ(Pixel(B, 0, 0), Sys(COLOR_WINDOWFRAME));
  EXPECT_EQ(Pixel(B, 59, 39), Sys(COLOR_WINDOWFRAME));
  EXPECT_EQ(Pixel(B, 1, 1), Sys(COLOR_3DSHADOW));  // static edge
  EXPECT_EQ(Pixel(B, 58, 38), Sys(COLOR_3DHILIGHT));
}

TEST_F(TNcPaintTest, ScrollBarPixelsFollowTheGeometry) {
  // Client 200 x 232: the vertical bar is 232 long, its track 200; range 0..99 with page 50
  // makes a thumb of 100 and 50 steps of 2 pixels.
  RECT Want{0, 0, 200, 232};
  AdjustWindowRectEx(&Want, WS_OVERLAPPEDWINDOW, FALSE, 0);
  HWND W = Frame(50, 50, Want.Width() + 16, Want.Height(), WS_OVERLAPPEDWINDOW | WS_VSCROLL);
  SCROLLINFO SI;
  SI.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  SI.nMax = 99;
  SI.nPage = 50;
  SI.nPos = 25;
  SetScrollInfo(W, SB_VERT, &SI, TRUE);
  RunUntilIdle();
  SCROLLBARINFO Info;
  ASSERT_TRUE(GetScrollBarInfo(W, OBJID_VSCROLL, &Info));
  EXPECT_EQ(Info.dxyLineButton, 16);
  EXPECT_EQ(Info.xyThumbTop, 16 + 50);
  EXPECT_EQ(Info.xyThumbBottom, 16 + 150);
  RECT WR;
  GetWindowRect(W, &WR);
  const Integer X0 = Info.rcScrollBar.Left - WR.Left, Y0 = Info.rcScrollBar.Top - WR.Top;
  EXPECT_EQ(X0, 4 + 200);
  // Arrows are raised buttons with their glyph; the track a dither of highlight and the
  // scroll-bar colour; the thumb a raised button.
  EXPECT_EQ(Pixel(W, X0, Y0), Sys(COLOR_3DHILIGHT));
  EXPECT_EQ(Pixel(W, X0 + 15, Y0 + 15), Sys(COLOR_3DDKSHADOW));
  const Integer Ty = Y0 + 30;
  EXPECT_EQ(Pixel(W, X0 + 4, Ty), ((X0 + 4 + Ty) % 2 == 0) ? Sys(COLOR_3DHILIGHT) : Sys(COLOR_SCROLLBAR));
  EXPECT_EQ(Pixel(W, X0 + 5, Ty), ((X0 + 5 + Ty) % 2 == 0) ? Sys(COLOR_3DHILIGHT) : Sys(COLOR_SCROLLBAR));
  EXPECT_NE(Pixel(W, X0 + 4, Ty), Pixel(W, X0 + 5, Ty));
  EXPECT_EQ(Pixel(W, X0 + 8, Y0 + 66), Sys(COLOR_3DLIGHT));      // thumb's top edge
  EXPECT_EQ(Pixel(W, X0 + 8, Y0 + 100), Sys(COLOR_3DFACE));      // its face
  EXPECT_EQ(Pixel(W, X0 + 8, Y0 + 165), Sys(COLOR_3DDKSHADOW));  // its bottom edge
  const Integer After = Y0 + 166;                                // the track again
  EXPECT_EQ(Pixel(W, X0 + 8, After),
            ((X0 + 8 + After) % 2 == 0) ? Sys(COLOR_3DHILIGHT) : Sys(COLOR_SCROLLBAR));
}

}  // namespace
