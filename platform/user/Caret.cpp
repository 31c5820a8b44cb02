// The caret: an inverted rectangle (or bitmap) in the owner's client area, blinking on a
// thread timer.
#include "platform/user/Caret.h"

#include "platform/gdi/Blit.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Dib.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Painting.h"
#include "platform/gdi/Rop3.h"
#include "platform/user/InputState.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/Timers.h"
#include "platform/user/WindowPaint.h"

namespace {

HBITMAP const GrayCaret = reinterpret_cast<HBITMAP>(1);
constexpr UINT NoBlink = 0xFFFFFFFFu;

struct TCaret {
  HWND Wnd = nullptr;
  HBITMAP Bitmap = nullptr;
  Integer Width = 0;
  Integer Height = 0;
  TPoint Pos;
  Integer Hidden = 1;       // visible at 0
  bool On = false;          // inverted on the screen now
  Integer PaintHidden = 0;  // BeginPaint/EndPaint (and scrolls) of the owner under way
  UINT_PTR Timer = 0;
};
TCaret GCaret;
UINT GBlinkTime = 530;

void Invert() {
  TCaret& C = GCaret;
  HDC DC = GetDC(C.Wnd);
  if (DC == nullptr) return;
  if (C.Bitmap == nullptr) {
    PatBlt(DC, C.Pos.X, C.Pos.Y, C.Width, C.Height, DSTINVERT);
  } else if (C.Bitmap == GrayCaret) {
    HGDIOBJ Old = SelectObject(DC, GetStockObject(GRAY_BRUSH));
    PatBlt(DC, C.Pos.X, C.Pos.Y, C.Width, C.Height, PATINVERT);
    SelectObject(DC, Old);
  } else {
    HDC Mem = CreateCompatibleDC(DC);
    HGDIOBJ Old = SelectObject(Mem, C.Bitmap);
    BitBlt(DC, C.Pos.X, C.Pos.Y, C.Width, C.Height, Mem, 0, 0, SRCINVERT);
    SelectObject(Mem, Old);
    DeleteDC(Mem);
  }
  ReleaseDC(C.Wnd, DC);
}

bool Showing() {
  return GCaret.Wnd != nullptr && GCaret.Hidden == 0 && GCaret.PaintHidden == 0;
}

void Draw(bool On) {
  if (GCaret.On == On || PeekWindow(GCaret.Wnd) == nullptr) return;
  Invert();
  GCaret.On = On;
}

void BlinkProc(HWND, UINT, UINT_PTR, DWORD) {
  if (Showing()) Draw(!GCaret.On);
}

// The caret shows at once and blinks from now.
void Restart() {
  if (GCaret.Timer != 0) KillTimer(nullptr, GCaret.Timer);
  GCaret.Timer = 0;
  if (!Showing()) return;
  Draw(true);
  if (GBlinkTime != NoBlink) GCaret.Timer = SetTimer(nullptr, 0, GBlinkTime, BlinkProc);
}

void Forget() {
  if (GCaret.Timer != 0) KillTimer(nullptr, GCaret.Timer);
  GCaret = TCaret{};
}

bool Owns(HWND Wnd) {
  return GCaret.Wnd != nullptr && (Wnd == nullptr || Wnd == GCaret.Wnd);
}

}  // namespace

BOOL CreateCaret(HWND Wnd, HBITMAP Bitmap, Integer Width, Integer Height) {
  if (WindowFromHandle(Wnd) == nullptr) return FALSE;
  InstallWindowInput();
  DestroyCaret();
  if (Bitmap != nullptr && Bitmap != GrayCaret) {
    Width = Bitmap->Surface.Width;
    Height = Bitmap->Surface.Height;
  }
  GCaret.Wnd = Wnd;
  GCaret.Bitmap = Bitmap;
  GCaret.Width = Width > 0 ? Width : GetSystemMetrics(SM_CXBORDER);
  GCaret.Height = Height > 0 ? Height : GetSystemMetrics(SM_CYBORDER);
  return TRUE;
}

BOOL DestroyCaret() {
  if (GCaret.Wnd == nullptr) return FALSE;
  Draw(false);
  Forget();
  return TRUE;
}

BOOL ShowCaret(HWND Wnd) {
  if (!Owns(Wnd)) return FALSE;
  if (GCaret.Hidden > 0 && --GCaret.Hidden == 0) Restart();
  return TRUE;
}

BOOL HideCaret(HWND Wnd) {
  if (!Owns(Wnd)) return FALSE;
  Draw(false);
  ++GCaret.Hidden;
  Restart();
  return TRUE;
}

BOOL SetCaretPos(Integer X, Integer Y) {
  if (GCaret.Wnd == nullptr) return FALSE;
  if (GCaret.Pos == TPoint{X, Y}) return TRUE;
  Draw(false);
  GCaret.Pos = {X, Y};
  Restart();
  return TRUE;
}

BOOL GetCaretPos(POINT* Point) {
  if (Point == nullptr || GCaret.Wnd == nullptr) return FALSE;
  *Point = GCaret.Pos;
  return TRUE;
}

BOOL SetCaretBlinkTime(UINT Milliseconds) {
  GBlinkTime = Milliseconds;
  Restart();
  return TRUE;
}

UINT GetCaretBlinkTime() {
  return GBlinkTime;
}

void CaretPaint(HWND Wnd, bool Begin) {
  if (Wnd == nullptr || Wnd != GCaret.Wnd) return;
  // Nested: a scroll inside a paint shows the caret only when the paint ends.
  if (Begin) {
    Draw(false);
    ++GCaret.PaintHidden;
  } else if (GCaret.PaintHidden > 0) {
    --GCaret.PaintHidden;
  }
  Restart();
}

void DestroyCaretWithin(const TWindow* W) {
  if (IsWithin(W, GCaret.Wnd)) Forget();
}
