#pragma once
// What the built-in buttons, statics, bars, tabs and up-downs share: their per-window data in
// TWindow::AddOns[waControl], the window font, notifications to the parent, the parent's
// WM_CTLCOLOR* brush, text in the classic look and small rectangle helpers.
#include <memory>
#include <string>

#include "platform/user/CommonControls.h"
#include "platform/user/WindowInternals.h"

// The base of every control's data: the font WM_SETFONT gave (null: the system font).
struct TNativeControlData : TWindowAddOn {
  HFONT Font = nullptr;
};

// The control's data, made on first use (a class library that subclassed the control before
// WM_NCCREATE reached it still finds it). Null for a handle that names no window.
template <class T>
T* ControlData(HWND Wnd) {
  TWindow* W = PeekWindow(Wnd);
  if (W == nullptr) return nullptr;
  auto& Slot = W->AddOns[waControl];
  if (auto* D = dynamic_cast<T*>(Slot.get())) return D;
  auto Made = std::make_unique<T>();
  T* D = Made.get();
  Slot = std::move(Made);
  return D;
}

// The control's data for the controls that keep their own handle in it (Wnd), set on first use.
template <class T>
T* BoundControlData(HWND Wnd) {
  T* D = ControlData<T>(Wnd);
  if (D != nullptr && D->Wnd == nullptr) D->Wnd = Wnd;
  return D;
}

// The window's style bits; 0 for a handle that names no window.
inline DWORD LiveWindowStyle(HWND Wnd) {
  const TWindow* W = PeekWindow(Wnd);
  return W != nullptr ? W->Style : 0;
}

// The whole wheel notches of a WM_MOUSEWHEEL (positive: turned away from the user); the part
// of a notch left over is kept in Rest for the next message.
Integer TakeWheelNotches(Integer& Rest, WPARAM WParam);
// The lines one notch scrolls: the system setting, or PageLines when it asks for a page.
Integer WheelLinesPerNotch(Integer PageLines);

// Where a scroll-bar request (SB_LINEUP .. SB_BOTTOM, the same codes for both bars) moves a
// scroll position: by Line or Page, to 0 or End, or to Thumb. False for any other code.
bool ScrollRequestTarget(WORD Code, Integer Position, Integer Line, Integer Page, Integer End, Integer Thumb,
                         Integer& Target);

// Registers a control class once (a class of that name already there is kept).
void RegisterControlClass(const char* Name, TWndProcFunction Proc, UINT Style, Integer ColorBrush);

// Handles WM_SETFONT / WM_GETFONT (true with Result set) for any control data.
bool HandleFontMessage(HWND Wnd, TNativeControlData& D, UINT Msg, WPARAM WParam, LPARAM LParam,
                       LRESULT& Result);
// Selects the control's font (the system font when it has none) and returns the previous one.
HGDIOBJ SelectControlFont(HDC DC, const TNativeControlData& D);

// The window the control reports to: its parent (its owner when it is a popup).
HWND NotifyTarget(HWND Ctl);
// WM_COMMAND (MAKEWPARAM(id, Code), the control) to the parent.
void NotifyCommand(HWND Ctl, WORD Code);
// WM_NOTIFY to the parent with the header filled in (hwndFrom, idFrom, code); its answer.
LRESULT NotifyParent(HWND Ctl, UINT Code, NMHDR* Header);
inline LRESULT NotifyParent(HWND Ctl, UINT Code) {
  NMHDR H;
  return NotifyParent(Ctl, Code, &H);
}
// WM_HSCROLL / WM_VSCROLL (MAKEWPARAM(Code, Pos), the control) to the parent.
void NotifyScroll(HWND Ctl, bool Vertical, WORD Code, Integer Pos);

// The brush the parent gives for WM_CTLCOLORBTN / WM_CTLCOLORSTATIC / ... (text and background
// colours set into DC); the default window procedure's answer when the parent gives none.
HBRUSH ControlColorBrush(HWND Ctl, HDC DC, UINT CtlColorMsg);

// DrawText with the classic disabled look: grey text embossed with a highlight copy one pixel
// down and to the right. Transparent background; the text colour is restored.
Integer DrawControlText(HDC DC, const std::string& Text, RECT* Rect, UINT Format, bool Disabled);
// The size DrawText's DT_CALCRECT gives for Text in a box Width wide (Format as for drawing).
TSize MeasureControlText(HDC DC, const std::string& Text, Integer Width, UINT Format);

// WM_PAINT (wParam: a DC to draw into, as double-buffering class libraries send it, or null
// for BeginPaint) and WM_PRINTCLIENT both end in Paint(Wnd, DC).
using TControlPaint = void (*)(HWND Wnd, HDC DC);
LRESULT PaintControl(HWND Wnd, UINT Msg, WPARAM WParam, TControlPaint Paint);

// Images of BM_SETIMAGE / STM_SETIMAGE: IMAGE_BITMAP (drawn with BitBlt) or IMAGE_ICON (drawn
// through the frame's icon hook, SM_CXICON square, when the class library installed it).
TSize ControlImageSize(UINT Type, HANDLE Image);
void DrawControlImage(HDC DC, UINT Type, HANDLE Image, Integer X, Integer Y);

// Rectangles.
inline bool RectContains(const TRect& R, TPoint P) {
  return P.X >= R.Left && P.X < R.Right && P.Y >= R.Top && P.Y < R.Bottom;
}
inline TRect InflatedRect(const TRect& R, Integer Dx, Integer Dy) {
  return {R.Left - Dx, R.Top - Dy, R.Right + Dx, R.Bottom + Dy};
}
inline TRect OffsetRectBy(const TRect& R, Integer Dx, Integer Dy) {
  return {R.Left + Dx, R.Top + Dy, R.Right + Dx, R.Bottom + Dy};
}
TRect ClientRectOf(HWND Wnd);
inline TPoint MousePoint(LPARAM L) {
  return {GET_X_LPARAM(L), GET_Y_LPARAM(L)};
}
// Fills R with a system colour.
void FillSysColor(HDC DC, const TRect& R, Integer ColorIndex);
