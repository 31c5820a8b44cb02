// The modal move/size loop of SC_MOVE and SC_SIZE started by the mouse.
#include <algorithm>

#include "platform/gdi/Regions.h"
#include "platform/user/Input.h"
#include "platform/user/NonClient.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/WindowMessages.h"
#include "platform/user/WindowPos.h"
#include "platform/user/Windows.h"

namespace {

// Without full-window dragging the proposed rectangle shows as a ring of SM_CXFRAME pixels: a
// topmost popup shaped by a window region (the screen is composed, so nothing is drawn on it
// directly).
constexpr const char* DragFrameClass = "TvDragFrame";

HWND ShowDragFrame(HWND Frame, const TRect& R) {
  static const bool Registered = [] {
    WNDCLASS WC;
    WC.lpfnWndProc = DefWindowProcEntry();
    WC.lpszClassName = DragFrameClass;
    WC.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<std::uintptr_t>(COLOR_3DSHADOW + 1));
    return RegisterClass(&WC) != 0;
  }();
  (void)Registered;
  if (Frame == nullptr)
    Frame = CreateWindowEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, DragFrameClass, "", WS_POPUP,
                           R.Left, R.Top, R.Width(), R.Height(), nullptr, nullptr, nullptr, nullptr);
  if (Frame == nullptr) return nullptr;
  const Integer F = GetSystemMetrics(SM_CXFRAME);
  HRGN Ring = CreateRectRgn(0, 0, R.Width(), R.Height());
  HRGN Inner = CreateRectRgn(F, F, std::max(F, R.Width() - F), std::max(F, R.Height() - F));
  CombineRgn(Ring, Ring, Inner, RGN_DIFF);
  DeleteObject(Inner);
  SetWindowRgn(Frame, Ring, TRUE);
  SetWindowPos(Frame, HWND_TOPMOST, R.Left, R.Top, R.Width(), R.Height(), SWP_NOACTIVATE | SWP_SHOWWINDOW);
  return Frame;
}

struct TMoveSize {
  HWND Wnd = nullptr;
  bool Sizing = false;
  UINT Edge = 0;
  TPoint Start;
  TRect Orig;           // screen
  TRect Proposed;       // screen, before WM_MOVING / WM_SIZING
  TRect Current;        // screen, as the handler left it
  TPoint ParentOrigin;  // screen position of the parent's client origin
  MINMAXINFO MM;
  bool Full = true;
  bool Done = false;
  bool Cancel = false;
  HWND Frame = nullptr;
};

bool LoopStops(void* Ctx) {
  auto* S = static_cast<TMoveSize*>(Ctx);
  return S->Done || PeekWindow(S->Wnd) == nullptr || GetCapture() != S->Wnd;
}

// One coordinate of a sized edge: Moving is the edge that follows the mouse, Fixed the other;
// the size stays within [Min, Max].
Integer SizedEdge(Integer Moving, Integer Fixed, Integer Min, Integer Max) {
  const bool After = Moving >= Fixed;  // the moving edge is the right / bottom one
  Integer Size = std::clamp(After ? Moving - Fixed : Fixed - Moving, Min, Max);
  return After ? Fixed + Size : Fixed - Size;
}

void Place(TMoveSize& S, const TRect& R) {
  if (S.Full) {
    SetWindowPos(S.Wnd, nullptr, R.Left - S.ParentOrigin.X, R.Top - S.ParentOrigin.Y, R.Width(), R.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE | (S.Sizing ? 0 : SWP_NOSIZE));
  } else {
    S.Frame = ShowDragFrame(S.Frame, R);
  }
}

void Track(TMoveSize& S, TPoint P) {
  const Integer Dx = P.X - S.Start.X, Dy = P.Y - S.Start.Y;
  TRect R = S.Orig;
  if (!S.Sizing) {
    R = Moved(S.Orig, Dx, Dy);
  } else {
    const UINT E = S.Edge;
    const Integer MinW = S.MM.ptMinTrackSize.X, MaxW = S.MM.ptMaxTrackSize.X;
    const Integer MinH = S.MM.ptMinTrackSize.Y, MaxH = S.MM.ptMaxTrackSize.Y;
    if (E == WMSZ_LEFT || E == WMSZ_TOPLEFT || E == WMSZ_BOTTOMLEFT)
      R.Left = SizedEdge(S.Orig.Left + Dx, S.Orig.Right, MinW, MaxW);
    if (E == WMSZ_RIGHT || E == WMSZ_TOPRIGHT || E == WMSZ_BOTTOMRIGHT)
      R.Right = SizedEdge(S.Orig.Right + Dx, S.Orig.Left, MinW, MaxW);
    if (E == WMSZ_TOP || E == WMSZ_TOPLEFT || E == WMSZ_TOPRIGHT)
      R.Top = SizedEdge(S.Orig.Top + Dy, S.Orig.Bottom, MinH, MaxH);
    if (E == WMSZ_BOTTOM || E == WMSZ_BOTTOMLEFT || E == WMSZ_BOTTOMRIGHT)
      R.Bottom = SizedEdge(S.Orig.Bottom + Dy, S.Orig.Top, MinH, MaxH);
  }
  if (R == S.Proposed) return;
  S.Proposed = R;
  TWindow* W = PeekWindow(S.Wnd);
  if (W == nullptr) return;
  RECT Asked = R;
  if (S.Sizing)
    SendTo(W, WM_SIZING, S.Edge, reinterpret_cast<LPARAM>(&Asked));
  else
    SendTo(W, WM_MOVING, 0, reinterpret_cast<LPARAM>(&Asked));
  if (PeekWindow(S.Wnd) == nullptr) return;
  if (Asked == S.Current) return;
  S.Current = Asked;
  Place(S, Asked);
}

}  // namespace

void RunMoveSizeLoop(TWindow* W, bool Sizing, UINT Edge, TPoint Start) {
  if (W->Style & WS_MAXIMIZE) return;
  if (Sizing && (!(W->Style & WS_THICKFRAME) || (W->Style & WS_MINIMIZE) || Edge < WMSZ_LEFT ||
                 Edge > WMSZ_BOTTOMRIGHT))
    return;
  TMoveSize S;
  S.Wnd = W->Handle;
  S.Sizing = Sizing;
  S.Edge = Edge;
  S.Start = Start;
  BOOL Full = TRUE;
  SystemParametersInfo(SPI_GETDRAGFULLWINDOWS, 0, &Full, 0);
  S.Full = Full != FALSE;
  const TPoint O = WindowOriginOnScreen(W);
  S.Orig = Bounds(O.X, O.Y, W->Rect.Width(), W->Rect.Height());
  S.Proposed = S.Current = S.Orig;
  S.ParentOrigin = TPoint{O.X - W->Rect.Left, O.Y - W->Rect.Top};

  SetCapture(S.Wnd);
  if ((W = PeekWindow(S.Wnd)) == nullptr) return;
  S.MM = GetMinMaxInfo(W);
  if ((W = PeekWindow(S.Wnd)) == nullptr) return;
  SendTo(W, WM_ENTERSIZEMOVE, 0, 0);

  MSG M;
  while (ModalNextMessage(M, LoopStops, &S)) {
    switch (M.message) {
      case WM_MOUSEMOVE:
      case WM_NCMOUSEMOVE:
        Track(S, M.pt);
        break;
      case WM_LBUTTONUP:
      case WM_NCLBUTTONUP:
        Track(S, M.pt);
        S.Done = true;
        break;
      case WM_KEYDOWN:
      case WM_SYSKEYDOWN:
        if (M.wParam == VK_ESCAPE)
          S.Cancel = S.Done = true;
        else if (M.wParam == VK_RETURN)
          S.Done = true;
        break;
      default:
        // Other input belongs to the loop; everything else goes on as usual.
        if (!IsMouseMsg(M.message) && !IsKeyMsg(M.message)) DispatchMessage(&M);
        break;
    }
  }

  if (S.Frame != nullptr) DestroyWindow(S.Frame);
  if (PeekWindow(S.Wnd) != nullptr) {
    if (S.Cancel) {
      if (S.Full && S.Current != S.Orig) {
        S.Sizing = true;  // the size comes back too
        Place(S, S.Orig);
      }
    } else if (!S.Full && S.Current != S.Orig) {
      S.Full = true;
      S.Sizing = true;
      Place(S, S.Current);
    }
  }
  if (GetCapture() == S.Wnd) ReleaseCapture();
  if ((W = PeekWindow(S.Wnd)) != nullptr) SendTo(W, WM_EXITSIZEMOVE, 0, 0);
}
