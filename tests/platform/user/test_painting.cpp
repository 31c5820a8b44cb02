// Update regions, WM_PAINT, clipping, geometry messages, window regions, layered windows and
// the screen they make.
#include "WindowTestSupport.h"
#include "platform/gdi/Blit.h"
#include "platform/gdi/Dib.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Painting.h"
#include "platform/gdi/Regions.h"

namespace {

constexpr COLORREF Red = RGB(255, 0, 0), Blue = RGB(0, 0, 255), Green = RGB(0, 255, 0);
constexpr DWORD Px(COLORREF C) {
  return (GetRValue(C) << 16) | (GetGValue(C) << 8) | GetBValue(C);
}

// GWLP_USERDATA holds the colour the window paints its whole client area with.
TRegionData GLastPaintRgn;
RECT GLastPaintRect;
LRESULT FillingProc(HWND W, UINT Msg, WPARAM WP, LPARAM LP) {
  if (Msg == WM_PAINT) {
    RecordMessage(W, Msg, WP, LP);
    HRGN R = CreateRectRgn(0, 0, 0, 0);
    GetUpdateRgn(W, R, FALSE);
    GLastPaintRgn = R->Data;
    DeleteObject(R);
    PAINTSTRUCT PS;
    HDC DC = BeginPaint(W, &PS);
    GLastPaintRect = PS.rcPaint;
    HBRUSH B = CreateSolidBrush(static_cast<COLORREF>(GetWindowLongPtr(W, GWLP_USERDATA)));
    RECT C;
    GetClientRect(W, &C);
    FillRect(DC, &C, B);
    DeleteObject(B);
    EndPaint(W, &PS);
    return 0;
  }
  if (Msg == WM_ERASEBKGND) {
    RecordMessage(W, Msg, WP, LP);
    return 1;
  }
  return RecordingProc(W, Msg, WP, LP);
}

struct TPaintTest : TWindowTest {
  static HWND Filled(HWND Parent, DWORD Style, Integer X, Integer Y, Integer W, Integer H, COLORREF Color,
                     DWORD ExStyle = 0) {
    HWND Wnd = Parent == nullptr ? Popup(X, Y, W, H, Style, ExStyle) : Child(Parent, X, Y, W, H, Style);
    SetWindowLongPtr(Wnd, GWLP_USERDATA, static_cast<LONG_PTR>(Color));
    SetWindowLongPtr(Wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(MakeWndProc(FillingProc)));
    return Wnd;
  }
};

TEST_F(TPaintTest, InvalidationsCoalesceIntoOnePaint) {
  HWND W = Filled(nullptr, WS_VISIBLE, 0, 0, 100, 100, Red);
  RunUntilIdle();
  MessageLog().clear();
  const RECT A{10, 10, 20, 20}, B{50, 50, 70, 60};
  InvalidateRect(W, &A, TRUE);
  InvalidateRect(W, &B, FALSE);
  RECT U;
  EXPECT_TRUE(GetUpdateRect(W, &U, FALSE));
  EXPECT_EQ(U, (RECT{10, 10, 70, 60}));
  RunUntilIdle();
  EXPECT_EQ(CountOf(W, WM_PAINT), 1u);
  EXPECT_EQ(CountOf(W, WM_ERASEBKGND), 1u);
  TRegionData Expected(A);
  Expected.Combine(Expected, TRegionData(B), RGN_OR);
  EXPECT_EQ(GLastPaintRgn, Expected);
  EXPECT_EQ(GLastPaintRect, (RECT{10, 10, 70, 60}));
  EXPECT_FALSE(GetUpdateRect(W, &U, FALSE));
  // Validation removes a pending paint; UpdateWindow paints at once.
  InvalidateRect(W, nullptr, FALSE);
  ValidateRect(W, nullptr);
  MessageLog().clear();
  RunUntilIdle();
  EXPECT_EQ(CountOf(W, WM_PAINT), 0u);
  InvalidateRect(W, &A, FALSE);
  UpdateWindow(W);
  EXPECT_EQ(CountOf(W, WM_PAINT), 1u);
}

TEST_F(TPaintTest, BeginPaintClipsToTheUpdateRegion) {
  HWND W = Filled(nullptr, WS_VISIBLE, 100, 100, 50, 50, Red);
  RunUntilIdle();
  EXPECT_EQ(ScreenPixel(120, 120), Px(Red));
  SetWindowLongPtr(W, GWLP_USERDATA, static_cast<LONG_PTR>(Blue));
  const RECT Part{0, 0, 10, 5};
  InvalidateRect(W, &Part, FALSE);
  RunUntilIdle();
  EXPECT_EQ(ScreenPixel(100, 100), Px(Blue));
  EXPECT_EQ(ScreenPixel(109, 104), Px(Blue));
  EXPECT_EQ(ScreenPixel(110, 104), Px(Red));
  EXPECT_EQ(ScreenPixel(100, 105), Px(Red));
}

TEST_F(TPaintTest, ChildrenAndSiblingsClip) {
  // Without WS_CLIPCHILDREN the parent paints under the child, which paints again after it.
  for (const DWORD ParentStyle : {DWORD{0}, WS_CLIPCHILDREN}) {
    HWND P = Filled(nullptr, WS_VISIBLE | ParentStyle, 0, 0, 100, 100, Red);
    HWND C = Filled(P, WS_VISIBLE, 10, 10, 20, 20, Blue);
    RunUntilIdle();
    EXPECT_EQ(ScreenPixel(15, 15), Px(Blue));
    EXPECT_EQ(ScreenPixel(5, 5), Px(Red));
    MessageLog().clear();
    InvalidateRect(P, nullptr, FALSE);
    RunUntilIdle();
    EXPECT_EQ(CountOf(C, WM_PAINT), ParentStyle ? 0u : 1u);
    EXPECT_EQ(ScreenPixel(15, 15), Px(Blue));
    // A DC from GetDC on the parent: its WS_CLIPCHILDREN decides.
    HDC DC = GetDC(P);
    HBRUSH G = CreateSolidBrush(Green);
    RECT All{0, 0, 100, 100};
    FillRect(DC, &All, G);
    DeleteObject(G);
    ReleaseDC(P, DC);
    RunUntilIdle();
    EXPECT_EQ(ScreenPixel(15, 15), ParentStyle ? Px(Blue) : Px(Green));
    DestroyWindow(P);
  }
  // Overlapping siblings: WS_CLIPSIBLINGS keeps the lower one out of the upper one.
  HWND P = Filled(nullptr, WS_VISIBLE, 0, 0, 100, 100, Red);
  // A child created earlier lies above its later siblings.
  HWND Upper = Filled(P, WS_VISIBLE | WS_CLIPSIBLINGS, 30, 30, 40, 40, Blue);
  HWND Lower = Filled(P, WS_VISIBLE | WS_CLIPSIBLINGS, 10, 10, 40, 40, Green);
  (void)Upper;
  RunUntilIdle();
  InvalidateRect(Lower, nullptr, FALSE);
  RunUntilIdle();
  EXPECT_EQ(ScreenPixel(35, 35), Px(Blue));
  EXPECT_EQ(ScreenPixel(25, 25), Px(Green));
}

LRESULT NarrowClientProc(HWND W, UINT Msg, WPARAM WP, LPARAM LP) {
  if (Msg == WM_NCCALCSIZE) {
    RecordMessage(W, Msg, WP, LP);
    RECT* R = WP ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(LP)->rgrc[0] : reinterpret_cast<RECT*>(LP);
    R->Left += 5;
    R->Top += 7;
    R->Right -= 3;
    return 0;
  }
  if (Msg == WM_WINDOWPOSCHANGING) {
    // Sizes are rounded up to tens.
    auto* P = reinterpret_cast<WINDOWPOS*>(LP);
    P->cx = (P->cx + 9) / 10 * 10;
  }
  return RecordingProc(W, Msg, WP, LP);
}

TEST_F(TPaintTest, NcCalcSizeAndWindowPosChanging) {
  WNDCLASS WC;
  WC.lpfnWndProc = MakeWndProc(NarrowClientProc);
  WC.lpszClassName = "TvNarrow";
  RegisterClass(&WC);
  HWND W = CreateWindowEx(0, "TvNarrow", "", WS_POPUP | WS_VISIBLE, 10, 20, 100, 50, nullptr, nullptr,
                          nullptr, nullptr);
  RECT C, R;
  GetClientRect(W, &C);
  EXPECT_EQ(C, (RECT{0, 0, 92, 43}));
  POINT P{0, 0};
  ClientToScreen(W, &P);
  EXPECT_EQ(P, (POINT{15, 27}));

  MessageLog().clear();
  SetWindowPos(W, nullptr, 30, 40, 121, 60, SWP_NOZORDER | SWP_NOACTIVATE);
  ExpectSequence(
      {{W, WM_WINDOWPOSCHANGING}, {W, WM_NCCALCSIZE}, {W, WM_WINDOWPOSCHANGED}, {W, WM_MOVE}, {W, WM_SIZE}},
      "move and size");
  GetWindowRect(W, &R);
  EXPECT_EQ(R, (RECT{30, 40, 160, 100}));
  EXPECT_EQ(MessageLog()[3].LParam, MAKELPARAM(35, 47));
  EXPECT_EQ(MessageLog()[4].LParam, MAKELPARAM(122, 53));
  EXPECT_EQ(MessageLog()[4].WParam, SIZE_RESTORED);
  // Moving only: no WM_NCCALCSIZE, no WM_SIZE.
  MessageLog().clear();
  MoveWindow(W, 0, 0, 130, 60, TRUE);
  ExpectSequence({{W, WM_WINDOWPOSCHANGING}, {W, WM_WINDOWPOSCHANGED}, {W, WM_MOVE}}, "move only");
  // SWP_FRAMECHANGED asks for the client area again.
  MessageLog().clear();
  SetWindowPos(W, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  EXPECT_EQ(CountOf(W, WM_NCCALCSIZE), 1u);
}

TEST_F(TPaintTest, ClassicFrameGivesTheClientArea) {
  HWND W = CreateWindowEx(WS_EX_CLIENTEDGE, RecordingClass(), "", WS_OVERLAPPEDWINDOW | WS_VSCROLL, 0, 0, 300,
                          200, nullptr, nullptr, nullptr, nullptr);
  RECT C;
  GetClientRect(W, &C);
  // Sizing frame 4, caption 19, client edge 2, vertical scroll bar 16.
  EXPECT_EQ(C, (RECT{0, 0, 300 - 8 - 4 - 16, 200 - 8 - 19 - 4}));
  RECT A{0, 0, 100, 100};
  AdjustWindowRectEx(&A, WS_OVERLAPPEDWINDOW, FALSE, 0);
  EXPECT_EQ(A, (RECT{-4, -23, 104, 104}));
}

TEST_F(TPaintTest, WindowRegionClipsPaintingAndHitTesting) {
  HWND Below = Filled(nullptr, WS_VISIBLE, 0, 0, 200, 200, Green);
  HWND W = Filled(nullptr, WS_VISIBLE, 50, 50, 100, 100, Red);
  SetWindowRgn(W, CreateEllipticRgn(0, 0, 100, 100), TRUE);
  RunUntilIdle();
  EXPECT_EQ(ScreenPixel(100, 100), Px(Red));
  EXPECT_EQ(ScreenPixel(52, 52), Px(Green));  // a corner outside the ellipse
  EXPECT_EQ(WindowFromPoint(POINT{100, 100}), W);
  EXPECT_EQ(WindowFromPoint(POINT{52, 52}), Below);
  HRGN R = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(W, R), COMPLEXREGION);
  DeleteObject(R);
  // A DC of the window cannot draw outside its region either.
  HDC DC = GetDC(W);
  HBRUSH B = CreateSolidBrush(Blue);
  RECT All{0, 0, 100, 100};
  FillRect(DC, &All, B);
  DeleteObject(B);
  ReleaseDC(W, DC);
  RunUntilIdle();
  EXPECT_EQ(ScreenPixel(100, 100), Px(Blue));
  EXPECT_EQ(ScreenPixel(52, 52), Px(Green));
  SetWindowRgn(W, nullptr, TRUE);
  RunUntilIdle();
  EXPECT_EQ(WindowFromPoint(POINT{52, 52}), W);
}

LRESULT TransparentHitProc(HWND W, UINT Msg, WPARAM WP, LPARAM LP) {
  if (Msg == WM_NCHITTEST) return HTTRANSPARENT;
  return RecordingProc(W, Msg, WP, LP);
}

TEST_F(TPaintTest, HitTestingSkipsTransparentHiddenAndClickThrough) {
  HWND P = Popup(0, 0, 200, 200);
  HWND B = Child(P, 50, 50, 100, 100);  // created first: above A
  HWND A = Child(P, 0, 0, 100, 100);
  EXPECT_EQ(WindowFromPoint(POINT{75, 75}), B);
  SetWindowLongPtr(B, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(MakeWndProc(TransparentHitProc)));
  EXPECT_EQ(WindowFromPoint(POINT{75, 75}), A);
  EXPECT_EQ(WindowFromPoint(POINT{120, 120}), P);
  EXPECT_EQ(ChildWindowFromPoint(P, POINT{75, 75}), B);
  ShowWindow(B, SW_HIDE);
  EXPECT_EQ(ChildWindowFromPoint(P, POINT{75, 75}), B);
  EXPECT_EQ(ChildWindowFromPointEx(P, POINT{75, 75}, CWP_SKIPINVISIBLE), A);
  EXPECT_EQ(ChildWindowFromPointEx(P, POINT{300, 75}, CWP_ALL), nullptr);
  EnableWindow(A, FALSE);
  EXPECT_EQ(ChildWindowFromPointEx(P, POINT{75, 75}, CWP_SKIPINVISIBLE | CWP_SKIPDISABLED), P);
  // A layered top-level window with WS_EX_TRANSPARENT is clicked through.
  HWND Ghost = Popup(0, 0, 50, 50, WS_VISIBLE, WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_TOPMOST);
  SetLayeredWindowAttributes(Ghost, 0, 128, LWA_ALPHA);
  EXPECT_EQ(WindowFromPoint(POINT{10, 10}), A);
}

TEST_F(TPaintTest, LayeredWindowsBlendOntoTheScreen) {
  Filled(nullptr, WS_VISIBLE, 0, 0, 300, 100, RGB(0, 0, 200));
  // Constant alpha over painted content.
  HWND C = Filled(nullptr, WS_VISIBLE, 0, 0, 100, 100, RGB(200, 0, 0), WS_EX_LAYERED);
  RunUntilIdle();
  EXPECT_EQ(ScreenPixel(10, 10), Px(RGB(0, 0, 200)));  // nothing shows before the attributes
  SetLayeredWindowAttributes(C, 0, 128, LWA_ALPHA);
  RunUntilIdle();
  EXPECT_EQ(ScreenPixel(10, 10), Px(RGB(100, 0, 100)));
  BYTE Alpha = 0;
  DWORD Flags = 0;
  EXPECT_TRUE(GetLayeredWindowAttributes(C, nullptr, &Alpha, &Flags));
  EXPECT_EQ(Alpha, 128);
  EXPECT_EQ(Flags, LWA_ALPHA);

  // Per-pixel premultiplied alpha from a memory bitmap.
  HWND U = Popup(0, 0, 10, 10, WS_VISIBLE, WS_EX_LAYERED);
  TSurface Src;
  std::vector<DWORD> Pixels(4 * 2);
  Pixels[0] = 0x80800000;  // red at half coverage, premultiplied
  Pixels[1] = 0xFF00FF00;  // opaque green
  Src.Width = 4;
  Src.Height = 2;
  Src.Stride = 16;
  Src.Row0 = reinterpret_cast<Byte*>(Pixels.data());
  HDC SrcDC = TDeviceContext::CreateForSurface(&Src, {0, 0}, std::nullopt);
  const POINT Dst{150, 20}, From{0, 0};
  const SIZE Size{4, 2};
  struct {  // shaped as the graphics layer's BLENDFUNCTION
    BYTE BlendOp = 0, BlendFlags = 0, SourceConstantAlpha = 255, AlphaFormat = 1;
  } Blend;
  EXPECT_TRUE(UpdateLayeredWindow(U, nullptr, &Dst, &Size, SrcDC, &From, 0, &Blend, ULW_ALPHA));
  DeleteDC(SrcDC);
  RunUntilIdle();
  RECT R;
  GetWindowRect(U, &R);
  EXPECT_EQ(R, (RECT{150, 20, 154, 22}));
  const DWORD Mixed = ScreenPixel(150, 20);
  EXPECT_NEAR(static_cast<int>((Mixed >> 16) & 0xFF), 128, 1);
  EXPECT_NEAR(static_cast<int>(Mixed & 0xFF), 100, 1);
  EXPECT_EQ(ScreenPixel(151, 20), Px(Green));
  EXPECT_EQ(ScreenPixel(152, 20), Px(RGB(0, 0, 200)));  // fully transparent
  EXPECT_FALSE(GetLayeredWindowAttributes(U, nullptr, nullptr, nullptr));

  // Colour key: the key colour is a hole.
  HWND K = Filled(nullptr, WS_VISIBLE, 200, 0, 50, 50, RGB(1, 2, 3), WS_EX_LAYERED);
  SetLayeredWindowAttributes(K, RGB(1, 2, 3), 255, LWA_COLORKEY);
  RunUntilIdle();
  EXPECT_EQ(ScreenPixel(210, 10), Px(RGB(0, 0, 200)));
  // Turning WS_EX_LAYERED off shows the painted content again.
  SetWindowLongPtr(K, GWL_EXSTYLE, 0);
  RunUntilIdle();
  EXPECT_EQ(ScreenPixel(210, 10), Px(RGB(1, 2, 3)));
}

// The screen blends a layered window exactly as AlphaBlend blends the same pixels onto the
// same background: per-pixel alpha with and without a constant alpha on top, and constant
// alpha alone, with and without a colour key (key pixels leave the background).
TEST_F(TPaintTest, LayeredBlendsMatchAlphaBlendByteForByte) {
  constexpr COLORREF Back = RGB(30, 160, 250);
  Filled(nullptr, WS_VISIBLE, 0, 0, 300, 100, Back);
  // Premultiplied pixels at many coverages, and two that are not premultiplied (they saturate).
  std::vector<DWORD> Pixels = {0x00000000, 0x01010101, 0x40302010, 0x80800000, 0x7F7F7F7F, 0xC0A0B0C0,
                               0xFE010203, 0xFFFFFFFF, 0xFF00FF00, 0x20FF8040, 0x99123456, 0x10FFFFFF};
  const auto N = static_cast<Integer>(Pixels.size());
  constexpr DWORD KeyPixel = 0x007F7F7F;
  TSurface Src;
  Src.Width = N;
  Src.Height = 1;
  Src.Stride = N * 4;
  Src.Row0 = reinterpret_cast<Byte*>(Pixels.data());
  struct TCase {
    Byte AlphaFormat, ConstantAlpha;
    bool Key;
  };
  for (const TCase Case : {TCase{AC_SRC_ALPHA, 255, false}, TCase{AC_SRC_ALPHA, 200, false},
                           TCase{0, 77, false}, TCase{0, 77, true}, TCase{0, 255, true}}) {
    SCOPED_TRACE(testing::Message() << int(Case.AlphaFormat) << " " << int(Case.ConstantAlpha) << " "
                                    << Case.Key);
    BLENDFUNCTION Blend;
    Blend.SourceConstantAlpha = Case.ConstantAlpha;
    Blend.AlphaFormat = Case.AlphaFormat;
    HWND U = Popup(0, 0, N, 1, WS_VISIBLE, WS_EX_LAYERED);
    HDC SrcDC = TDeviceContext::CreateForSurface(&Src, {0, 0}, std::nullopt);
    const POINT At{20, 30}, From{0, 0};
    const SIZE Size{N, 1};
    const COLORREF Key = RGB(0x7F, 0x7F, 0x7F);
    ASSERT_TRUE(UpdateLayeredWindow(U, nullptr, &At, &Size, SrcDC, &From, Key, &Blend,
                                    ULW_ALPHA | (Case.Key ? ULW_COLORKEY : 0)));
    RunUntilIdle();

    std::vector<DWORD> Expected(Pixels.size(), Px(Back));
    TSurface Dst = Src;
    Dst.Row0 = reinterpret_cast<Byte*>(Expected.data());
    HDC DstDC = TDeviceContext::CreateForSurface(&Dst, {0, 0}, std::nullopt);
    ASSERT_TRUE(AlphaBlend(DstDC, 0, 0, N, 1, SrcDC, 0, 0, N, 1, Blend));
    DeleteDC(DstDC);
    DeleteDC(SrcDC);
    for (Integer X = 0; X < N; ++X) {
      const bool Hole = Case.Key && (Pixels[X] & 0x00FFFFFFu) == KeyPixel;
      EXPECT_EQ(ScreenPixel(At.X + X, At.Y) & 0x00FFFFFFu, Hole ? Px(Back) : Expected[X] & 0x00FFFFFFu)
          << "pixel " << X;
    }
    DestroyWindow(U);
    RunUntilIdle();
  }
}

TEST_F(TPaintTest, MaximizeMinimizeAndRestore) {
  HWND W = CreateWindowEx(0, RecordingClass(), "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 50, 300, 200,
                          nullptr, nullptr, nullptr, nullptr);
  MessageLog().clear();
  ShowWindow(W, SW_MAXIMIZE);
  EXPECT_TRUE(IsZoomed(W));
  RECT R, Work;
  SystemParametersInfo(SPI_GETWORKAREA, 0, &Work, 0);
  GetWindowRect(W, &R);
  // The sizing frame hangs outside the work area.
  EXPECT_EQ(R, (RECT{Work.Left - 4, Work.Top - 4, Work.Right + 4, Work.Bottom + 4}));
  ASSERT_GE(CountOf(W, WM_SIZE), 1u);
  EXPECT_EQ(MessageLog().back().Msg, WM_SIZE);
  EXPECT_EQ(MessageLog().back().WParam, SIZE_MAXIMIZED);
  // A popup without a frame fills the work area exactly.
  HWND P = Popup(10, 10, 50, 50);
  ShowWindow(P, SW_SHOWMAXIMIZED);
  GetWindowRect(P, &R);
  EXPECT_EQ(R, Work);

  ShowWindow(W, SW_MINIMIZE);
  EXPECT_TRUE(IsIconic(W));
  GetWindowRect(W, &R);
  EXPECT_EQ(R.Bottom, Work.Bottom);
  EXPECT_EQ(R.Right - R.Left, GetSystemMetrics(SM_CXMINIMIZED));
  WINDOWPLACEMENT WP;
  GetWindowPlacement(W, &WP);
  EXPECT_EQ(WP.showCmd, static_cast<UINT>(SW_SHOWMINIMIZED));
  EXPECT_EQ(WP.flags, WPF_RESTORETOMAXIMIZED);
  EXPECT_EQ(WP.rcNormalPosition, (RECT{40, 50, 340, 250}));
  ShowWindow(W, SW_RESTORE);  // back to maximized
  EXPECT_TRUE(IsZoomed(W));
  ShowWindow(W, SW_RESTORE);
  GetWindowRect(W, &R);
  EXPECT_EQ(R, (RECT{40, 50, 340, 250}));
}

TEST_F(TPaintTest, ScrollWindowMovesPixelsAndInvalidatesTheRest) {
  HWND W = Filled(nullptr, WS_VISIBLE, 0, 0, 100, 100, Red);
  RunUntilIdle();
  HDC DC = GetDC(W);
  HBRUSH B = CreateSolidBrush(Blue);
  RECT Band{0, 0, 100, 10};
  FillRect(DC, &Band, B);
  DeleteObject(B);
  ReleaseDC(W, DC);
  MessageLog().clear();
  RECT Update;
  EXPECT_EQ(ScrollWindowEx(W, 0, 20, nullptr, nullptr, nullptr, &Update, SW_INVALIDATE), SIMPLEREGION);
  EXPECT_EQ(Update, (RECT{0, 0, 100, 20}));
  RunUntilIdle();  // the uncovered band is repainted red
  EXPECT_EQ(ScreenPixel(50, 25), Px(Blue));
  EXPECT_EQ(ScreenPixel(50, 5), Px(Red));
  EXPECT_EQ(ScreenPixel(50, 35), Px(Red));
  EXPECT_EQ(GLastPaintRect, (RECT{0, 0, 100, 20}));
}

TEST_F(TPaintTest, SetRedrawOffHoldsPainting) {
  HWND W = Filled(nullptr, WS_VISIBLE, 0, 0, 50, 50, Red);
  RunUntilIdle();
  SendMessage(W, WM_SETREDRAW, FALSE, 0);
  InvalidateRect(W, nullptr, TRUE);
  MessageLog().clear();
  RunUntilIdle();
  EXPECT_EQ(CountOf(W, WM_PAINT), 0u);
  SendMessage(W, WM_SETREDRAW, TRUE, 0);
  RunUntilIdle();
  EXPECT_EQ(CountOf(W, WM_PAINT), 1u);
}

}  // namespace

namespace {

// Paints through WM_PRINTCLIENT into the DC it is given, as controls do.
LRESULT PrintClientProc(HWND W, UINT Msg, WPARAM WP, LPARAM LP) {
  if (Msg == WM_PRINTCLIENT) {
    RecordMessage(W, Msg, WP, LP);
    HBRUSH B = CreateSolidBrush(static_cast<COLORREF>(GetWindowLongPtr(W, GWLP_USERDATA)));
    RECT C;
    GetClientRect(W, &C);
    FillRect(reinterpret_cast<HDC>(WP), &C, B);
    DeleteObject(B);
    return 0;
  }
  return RecordingProc(W, Msg, WP, LP);
}

TEST_F(TPaintTest, PrintDrawsClientAndChildrenIntoAnyDC) {
  HWND P = Popup(0, 0, 40, 30);
  HWND C = Child(P, 10, 10, 10, 10);
  for (auto [Wnd, Color] : {std::pair{P, Red}, std::pair{C, Blue}}) {
    SetWindowLongPtr(Wnd, GWLP_USERDATA, static_cast<LONG_PTR>(Color));
    SetWindowLongPtr(Wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(MakeWndProc(PrintClientProc)));
  }
  HDC Mem = CreateCompatibleDC(nullptr);
  HBITMAP Bmp = CreateBitmap(40, 30, 1, 32, nullptr);
  HGDIOBJ Old = SelectObject(Mem, Bmp);
  MessageLog().clear();
  SendMessage(P, WM_PRINT, reinterpret_cast<WPARAM>(Mem), PRF_CLIENT | PRF_CHILDREN | PRF_NONCLIENT);
  EXPECT_EQ(CountOf(P, WM_PRINTCLIENT), 1u);
  EXPECT_EQ(CountOf(C, WM_PRINTCLIENT), 1u);
  EXPECT_EQ(GetPixel(Mem, 5, 5), Red);
  EXPECT_EQ(GetPixel(Mem, 15, 15), Blue);
  EXPECT_EQ(GetPixel(Mem, 25, 25), Red);
  SelectObject(Mem, Old);
  DeleteObject(Bmp);
  DeleteDC(Mem);
}

}  // namespace
