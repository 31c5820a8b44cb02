// Shared pieces of the built-in controls.
#include "platform/user/NativeControlCommon.h"

#include "platform/gdi/Blit.h"
#include "platform/gdi/Dib.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Painting.h"
#include "platform/gdi/Text.h"
#include "platform/user/NonClient.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/WindowMessages.h"
#include "platform/user/WindowPaint.h"
#include "platform/user/WindowPos.h"
#include "platform/user/Windows.h"

void RegisterControlClass(const char* Name, TWndProcFunction Proc, UINT Style, Integer ColorBrush) {
  if (FindWindowClass(Name) != nullptr) return;
  WNDCLASSEX WC;
  WC.style = Style | CS_GLOBALCLASS;
  WC.lpfnWndProc = MakeWndProc(Proc);
  WC.lpszClassName = Name;
  WC.hbrBackground =
      ColorBrush >= 0 ? reinterpret_cast<HBRUSH>(static_cast<std::uintptr_t>(ColorBrush + 1)) : nullptr;
  RegisterClassEx(&WC);
}

bool HandleFontMessage(HWND Wnd, TNativeControlData& D, UINT Msg, WPARAM WParam, LPARAM LParam,
                       LRESULT& Result) {
  if (Msg == WM_GETFONT) {
    Result = reinterpret_cast<LRESULT>(D.Font);
    return true;
  }
  if (Msg != WM_SETFONT) return false;
  D.Font = reinterpret_cast<HFONT>(WParam);
  if (LOWORD(static_cast<std::uintptr_t>(LParam)) != 0) InvalidateRect(Wnd, nullptr, TRUE);
  Result = 0;
  return true;
}

HGDIOBJ SelectControlFont(HDC DC, const TNativeControlData& D) {
  return SelectObject(DC, D.Font != nullptr ? static_cast<HGDIOBJ>(D.Font) : GetStockObject(SYSTEM_FONT));
}

HWND NotifyTarget(HWND Ctl) {
  return GetParent(Ctl);
}

bool ScrollRequestTarget(WORD Code, Integer Position, Integer Line, Integer Page, Integer End, Integer Thumb,
                         Integer& Target) {
  switch (Code) {
    case SB_LINEUP:
      Target = Position - Line;
      return true;
    case SB_LINEDOWN:
      Target = Position + Line;
      return true;
    case SB_PAGEUP:
      Target = Position - Page;
      return true;
    case SB_PAGEDOWN:
      Target = Position + Page;
      return true;
    case SB_TOP:
      Target = 0;
      return true;
    case SB_BOTTOM:
      Target = End;
      return true;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
      Target = Thumb;
      return true;
    default:
      return false;
  }
}

Integer TakeWheelNotches(Integer& Rest, WPARAM WParam) {
  Rest += GET_WHEEL_DELTA_WPARAM(WParam);
  const Integer Notches = Rest / WHEEL_DELTA;
  Rest -= Notches * WHEEL_DELTA;
  return Notches;
}

Integer WheelLinesPerNotch(Integer PageLines) {
  UINT Lines = 3;
  SystemParametersInfo(SPI_GETWHEELSCROLLLINES, 0, &Lines, 0);
  return Lines == WHEEL_PAGESCROLL ? PageLines : static_cast<Integer>(Lines);
}

void NotifyCommand(HWND Ctl, WORD Code) {
  const HWND P = NotifyTarget(Ctl);
  if (P == nullptr) return;
  SendMessage(P, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(Ctl), Code), reinterpret_cast<LPARAM>(Ctl));
}

LRESULT NotifyParent(HWND Ctl, UINT Code, NMHDR* Header) {
  const HWND P = NotifyTarget(Ctl);
  if (P == nullptr) return 0;
  Header->hwndFrom = Ctl;
  Header->idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(Ctl));
  Header->code = Code;
  return SendMessage(P, WM_NOTIFY, Header->idFrom, reinterpret_cast<LPARAM>(Header));
}

void NotifyScroll(HWND Ctl, bool Vertical, WORD Code, Integer Pos) {
  const HWND P = NotifyTarget(Ctl);
  if (P == nullptr) return;
  SendMessage(P, Vertical ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(Code, Pos), reinterpret_cast<LPARAM>(Ctl));
}

HBRUSH ControlColorBrush(HWND Ctl, HDC DC, UINT CtlColorMsg) {
  const HWND P = NotifyTarget(Ctl);
  LRESULT R = 0;
  if (P != nullptr)
    R = SendMessage(P, CtlColorMsg, reinterpret_cast<WPARAM>(DC), reinterpret_cast<LPARAM>(Ctl));
  // A dialog procedure answers FALSE for "not handled"; the default colours apply then.
  if (R == 0)
    R = DefWindowProc(Ctl, CtlColorMsg, reinterpret_cast<WPARAM>(DC), reinterpret_cast<LPARAM>(Ctl));
  return reinterpret_cast<HBRUSH>(R);
}

Integer DrawControlText(HDC DC, const std::string& Text, RECT* Rect, UINT Format, bool Disabled) {
  const Integer OldMode = SetBkMode(DC, TRANSPARENT);
  Integer H;
  if (Disabled) {
    const COLORREF Old = SetTextColor(DC, GetSysColor(COLOR_3DHILIGHT));
    RECT Shadow = OffsetRectBy(*Rect, 1, 1);
    DrawText(DC, Text.c_str(), static_cast<Integer>(Text.size()), &Shadow, Format);
    SetTextColor(DC, GetSysColor(COLOR_3DSHADOW));
    H = DrawText(DC, Text.c_str(), static_cast<Integer>(Text.size()), Rect, Format);
    SetTextColor(DC, Old);
  } else {
    H = DrawText(DC, Text.c_str(), static_cast<Integer>(Text.size()), Rect, Format);
  }
  SetBkMode(DC, OldMode);
  return H;
}

TSize MeasureControlText(HDC DC, const std::string& Text, Integer Width, UINT Format) {
  RECT R{0, 0, Width, 0};
  DrawText(DC, Text.c_str(), static_cast<Integer>(Text.size()), &R,
           (Format | DT_CALCRECT) & ~(DT_VCENTER | DT_BOTTOM));
  return {R.Right - R.Left, R.Bottom - R.Top};
}

LRESULT PaintControl(HWND Wnd, UINT Msg, WPARAM WParam, TControlPaint Paint) {
  HDC Given = reinterpret_cast<HDC>(WParam);
  if (Given != nullptr) {
    const Integer Saved = SaveDC(Given);
    Paint(Wnd, Given);
    RestoreDC(Given, Saved);
    return 0;
  }
  if (Msg == WM_PRINTCLIENT) return 0;
  PAINTSTRUCT PS;
  HDC DC = BeginPaint(Wnd, &PS);
  if (DC != nullptr) Paint(Wnd, DC);
  EndPaint(Wnd, &PS);
  return 0;
}

TRect ClientRectOf(HWND Wnd) {
  RECT R;
  GetClientRect(Wnd, &R);
  return R;
}

void FillSysColor(HDC DC, const TRect& R, Integer ColorIndex) {
  if (R.Right <= R.Left || R.Bottom <= R.Top) return;
  FillRect(DC, &R, GetSysColorBrush(ColorIndex));
}

TSize ControlImageSize(UINT Type, HANDLE Image) {
  if (Image == nullptr) return {};
  if (Type == IMAGE_ICON) return {GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)};
  BITMAP B;
  if (GetObject(static_cast<HGDIOBJ>(Image), sizeof(B), &B) == 0) return {};
  return {B.bmWidth, B.bmHeight < 0 ? -B.bmHeight : B.bmHeight};
}

void DrawControlImage(HDC DC, UINT Type, HANDLE Image, Integer X, Integer Y) {
  const TSize S = ControlImageSize(Type, Image);
  if (S.cx <= 0 || S.cy <= 0) return;
  if (Type == IMAGE_ICON) {
    if (NcDrawIconHook != nullptr) NcDrawIconHook(DC, X, Y, static_cast<HICON>(Image), S.cx, S.cy);
    return;
  }
  HDC Mem = CreateCompatibleDC(DC);
  const HGDIOBJ Old = SelectObject(Mem, static_cast<HGDIOBJ>(Image));
  BitBlt(DC, X, Y, S.cx, S.cy, Mem, 0, 0, SRCCOPY);
  SelectObject(Mem, Old);
  DeleteDC(Mem);
}
