// The BUTTON control.
#include "platform/user/ButtonControl.h"

#include <algorithm>

#include "platform/gdi/Dib.h"
#include "platform/gdi/FrameControls.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Painting.h"
#include "platform/gdi/Text.h"
#include "platform/user/ControlMessages.h"
#include "platform/user/Input.h"
#include "platform/user/NativeControlCommon.h"
#include "platform/user/WindowMessages.h"
#include "platform/user/WindowPaint.h"
#include "platform/user/WindowPos.h"
#include "platform/user/Windows.h"

namespace {

constexpr Integer CheckBoxSize = 13;
constexpr Integer RadioSize = 12;
constexpr Integer BoxTextGap = 4;
constexpr Integer GroupTextLeft = 8;

struct TButtonData : TNativeControlData {
  LRESULT Check = BST_UNCHECKED;
  bool Pushed = false;  // drawn pushed (BST_PUSHED)
  bool Focused = false;
  bool MouseTracking = false;  // the left button went down on it and it holds the capture
  bool KeyTracking = false;    // Space went down on it
  UINT ImageType = IMAGE_BITMAP;
  HANDLE Image = nullptr;
};

enum class TKind { Push, Check, Radio, Group, Owner };

DWORD StyleOf(HWND Wnd) {
  return static_cast<DWORD>(GetWindowLongPtr(Wnd, GWL_STYLE));
}

TKind KindOf(DWORD Style) {
  switch (Style & BS_TYPEMASK) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
      return TKind::Check;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
      return TKind::Radio;
    case BS_GROUPBOX:
      return TKind::Group;
    case BS_OWNERDRAW:
      return TKind::Owner;
    default:
      return TKind::Push;
  }
}

// The highest check state a kind keeps.
LRESULT MaxCheck(DWORD Style) {
  switch (Style & BS_TYPEMASK) {
    case BS_3STATE:
    case BS_AUTO3STATE:
      return BST_INDETERMINATE;
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
      return BST_CHECKED;
    default:
      return BST_UNCHECKED;
  }
}

void SetPushed(HWND Wnd, TButtonData& D, bool Pushed) {
  if (D.Pushed == Pushed) return;
  D.Pushed = Pushed;
  InvalidateRect(Wnd, nullptr, FALSE);
}

void SetCheck(HWND Wnd, TButtonData& D, LRESULT Value) {
  const DWORD Style = StyleOf(Wnd);
  Value = std::clamp<LRESULT>(Value, BST_UNCHECKED, MaxCheck(Style));
  // The dialog manager tabs to the checked radio button of a group.
  if (KindOf(Style) == TKind::Radio) {
    const DWORD NewStyle = Value != BST_UNCHECKED ? Style | WS_TABSTOP : Style & ~WS_TABSTOP;
    if (NewStyle != Style) SetWindowLongPtr(Wnd, GWL_STYLE, static_cast<LONG_PTR>(NewStyle));
  }
  if (D.Check == Value) return;
  D.Check = Value;
  InvalidateRect(Wnd, nullptr, FALSE);
}

// Unchecks the other auto radio buttons between the WS_GROUP boundaries around Wnd.
void UncheckGroup(HWND Wnd) {
  TWindow* W = PeekWindow(Wnd);
  if (W == nullptr || W->Parent == nullptr) return;
  std::vector<HWND> Siblings;
  for (TWindow* S : W->Parent->Children) Siblings.push_back(S->Handle);
  const auto Self = std::find(Siblings.begin(), Siblings.end(), Wnd) - Siblings.begin();
  auto HasGroup = [](HWND H) { return (GetWindowLongPtr(H, GWL_STYLE) & WS_GROUP) != 0; };
  auto Start = Self;
  while (Start > 0 && !HasGroup(Siblings[Start])) --Start;
  auto End = Self + 1;
  while (End < static_cast<decltype(End)>(Siblings.size()) && !HasGroup(Siblings[End])) ++End;
  for (auto I = Start; I < End; ++I) {
    const HWND S = Siblings[I];
    if (I == Self || !IsWindow(S)) continue;
    if ((GetWindowLongPtr(S, GWL_STYLE) & BS_TYPEMASK) != BS_AUTORADIOBUTTON) continue;
    if (!(SendMessage(S, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON)) continue;
    SendMessage(S, BM_SETCHECK, BST_UNCHECKED, 0);
  }
}

// What a completed click does: the automatic kinds change their check, then BN_CLICKED.
void Click(HWND Wnd) {
  TButtonData* D = ControlData<TButtonData>(Wnd);
  if (D == nullptr) return;
  switch (StyleOf(Wnd) & BS_TYPEMASK) {
    case BS_AUTOCHECKBOX:
      SetCheck(Wnd, *D, D->Check == BST_UNCHECKED ? BST_CHECKED : BST_UNCHECKED);
      break;
    case BS_AUTO3STATE:
      SetCheck(Wnd, *D, (D->Check + 1) % 3);
      break;
    case BS_AUTORADIOBUTTON:
      SetCheck(Wnd, *D, BST_CHECKED);
      UncheckGroup(Wnd);
      break;
    default:
      break;
  }
  if (IsWindow(Wnd)) NotifyCommand(Wnd, BN_CLICKED);
}

// Ends a mouse or key press without a click.
void CancelPress(HWND Wnd, TButtonData& D) {
  const bool HadCapture = D.MouseTracking;
  D.MouseTracking = false;
  D.KeyTracking = false;
  SetPushed(Wnd, D, false);
  if (HadCapture && GetCapture() == Wnd) ReleaseCapture();
}

// ---- Painting ---------------------------------------------------------------------------------

UINT HorizontalFormat(DWORD Style, UINT Default) {
  switch (Style & BS_CENTER) {
    case BS_LEFT:
      return DT_LEFT;
    case BS_RIGHT:
      return DT_RIGHT;
    case BS_CENTER:
      return DT_CENTER;
    default:
      return Default;
  }
}

// Where a block of Size goes inside Box by the button's alignment bits.
TRect PlaceBlock(const TRect& Box, TSize Size, DWORD Style, UINT DefaultH) {
  Integer X = Box.Left, Y;
  switch (HorizontalFormat(Style, DefaultH)) {
    case DT_RIGHT:
      X = Box.Right - Size.cx;
      break;
    case DT_CENTER:
      X = Box.Left + (Box.Width() - Size.cx) / 2;
      break;
    default:
      break;
  }
  switch (Style & BS_VCENTER) {
    case BS_TOP:
      Y = Box.Top;
      break;
    case BS_BOTTOM:
      Y = Box.Bottom - Size.cy;
      break;
    default:
      Y = Box.Top + (Box.Height() - Size.cy) / 2;
      break;
  }
  return {X, Y, X + Size.cx, Y + Size.cy};
}

// Draws the caption (text or image) into Box; returns the rectangle it took (empty when none).
TRect DrawCaption(HWND Wnd, HDC DC, const TButtonData& D, const TRect& Box, DWORD Style, UINT DefaultH) {
  if ((Style & (BS_BITMAP | BS_ICON)) && D.Image != nullptr) {
    const TRect R = PlaceBlock(Box, ControlImageSize(D.ImageType, D.Image), Style, DefaultH);
    DrawControlImage(DC, D.ImageType, D.Image, R.Left, R.Top);
    return R;
  }
  const std::string Text = GetWindowTextString(Wnd);
  if (Text.empty()) return {};
  const UINT Format =
      HorizontalFormat(Style, DefaultH) | (Style & BS_MULTILINE ? DT_WORDBREAK : DT_SINGLELINE);
  const TSize Size = MeasureControlText(DC, Text, Box.Width(), Format);
  const TRect R = PlaceBlock(Box, {Box.Width(), Size.cy}, Style, DefaultH);
  RECT Draw = R;
  DrawControlText(DC, Text, &Draw, Format, !IsWindowEnabled(Wnd));
  // The part the text covers, for the focus rectangle.
  const TRect Used = PlaceBlock(R, Size, Style, DefaultH);
  return {Used.Left, R.Top, Used.Right, R.Bottom};
}

void PaintPush(HWND Wnd, HDC DC, const TButtonData& D, DWORD Style) {
  ControlColorBrush(Wnd, DC, WM_CTLCOLORBTN);
  RECT R = ClientRectOf(Wnd);
  const TRect Client = R;
  const bool Default = (Style & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
  const bool Down = D.Pushed || (KindOf(Style) != TKind::Push && D.Check != BST_UNCHECKED);
  if (Default) {
    FrameRect(DC, &R, GetSysColorBrush(COLOR_WINDOWFRAME));
    R = InflatedRect(R, -1, -1);
  }
  if (Default && D.Pushed && !(Style & BS_FLAT)) {
    FrameRect(DC, &R, GetSysColorBrush(COLOR_3DSHADOW));
    FillSysColor(DC, InflatedRect(R, -1, -1), COLOR_3DFACE);
  } else {
    UINT State = DFCS_BUTTONPUSH | (Style & BS_FLAT ? DFCS_FLAT : 0);
    if (D.Pushed)
      State |= DFCS_PUSHED;
    else if (Down)
      State |= DFCS_CHECKED;
    DrawFrameControl(DC, &R, DFC_BUTTON, State);
  }
  const Integer Inset = Default ? 3 : 2;
  TRect Box = InflatedRect(Client, -Inset, -Inset);
  if (Down) Box = OffsetRectBy(Box, 1, 1);
  SetTextColor(DC, GetSysColor(COLOR_BTNTEXT));
  DrawCaption(Wnd, DC, D, Box, Style, DT_CENTER);
  if (D.Focused) {
    const RECT F = InflatedRect(Client, -(Inset + 1), -(Inset + 1));
    DrawFocusRect(DC, &F);
  }
}

void PaintCheck(HWND Wnd, HDC DC, const TButtonData& D, DWORD Style, bool Radio) {
  const HBRUSH Brush = ControlColorBrush(Wnd, DC, WM_CTLCOLORSTATIC);
  const TRect Client = ClientRectOf(Wnd);
  if (Brush != nullptr) FillRect(DC, &Client, Brush);
  const Integer Size = Radio ? RadioSize : CheckBoxSize;
  const bool BoxRight = (Style & BS_LEFTTEXT) || (GetWindowLongPtr(Wnd, GWL_EXSTYLE) & WS_EX_RIGHT);
  const TRect Column = BoxRight ? TRect{Client.Right - Size, Client.Top, Client.Right, Client.Bottom}
                                : TRect{Client.Left, Client.Top, Client.Left + Size, Client.Bottom};
  // The box follows the vertical alignment; it is never placed left or right by BS_CENTER.
  RECT Box = PlaceBlock(Column, {Size, Size}, Style & ~BS_CENTER, DT_LEFT);
  UINT State = Radio ? DFCS_BUTTONRADIO : DFCS_BUTTONCHECK;
  if (D.Check == BST_CHECKED) State |= DFCS_CHECKED;
  if (D.Check == BST_INDETERMINATE) State |= DFCS_CHECKED | DFCS_BUTTON3STATE;
  if (D.Pushed) State |= DFCS_PUSHED;
  if (!IsWindowEnabled(Wnd)) State |= DFCS_INACTIVE;
  if (Style & BS_FLAT) State |= DFCS_FLAT;
  DrawFrameControl(DC, &Box, DFC_BUTTON, State);
  const TRect TextBox = BoxRight
                            ? TRect{Client.Left, Client.Top, Client.Right - Size - BoxTextGap, Client.Bottom}
                            : TRect{Client.Left + Size + BoxTextGap, Client.Top, Client.Right, Client.Bottom};
  const TRect Used = DrawCaption(Wnd, DC, D, TextBox, Style, DT_LEFT);
  if (D.Focused && Used.Right > Used.Left) {
    const TRect F0 = InflatedRect(Used, 1, 1);
    const RECT F{std::max(F0.Left, Client.Left), std::max(F0.Top, Client.Top),
                 std::min(F0.Right, Client.Right), std::min(F0.Bottom, Client.Bottom)};
    DrawFocusRect(DC, &F);
  }
}

void PaintGroup(HWND Wnd, HDC DC, DWORD Style) {
  const HBRUSH Brush = ControlColorBrush(Wnd, DC, WM_CTLCOLORSTATIC);
  const TRect Client = ClientRectOf(Wnd);
  TEXTMETRICA TM{};
  GetTextMetrics(DC, &TM);
  const std::string Text = GetWindowTextString(Wnd);
  // The band above the frame line belongs to the caption.
  const TRect Band{Client.Left, Client.Top, Client.Right, Client.Top + TM.tmHeight};
  if (Brush != nullptr) FillRect(DC, &Band, Brush);
  RECT Frame{Client.Left, Client.Top + TM.tmHeight / 2, Client.Right, Client.Bottom};
  DrawEdge(DC, &Frame, EDGE_ETCHED, BF_RECT);
  if (Text.empty()) return;
  const TSize Size = MeasureControlText(DC, Text, 0, DT_SINGLELINE);
  const TRect Line{Client.Left + GroupTextLeft, Client.Top, Client.Right - GroupTextLeft,
                   Client.Top + TM.tmHeight};
  const TRect T = PlaceBlock(Line, {std::min(Size.cx, Line.Width()), TM.tmHeight},
                             (Style & ~BS_VCENTER) | BS_TOP, DT_LEFT);
  const RECT Back = InflatedRect(T, 2, 0);
  if (Brush != nullptr) FillRect(DC, &Back, Brush);
  RECT Draw = T;
  DrawControlText(DC, Text, &Draw, DT_SINGLELINE | DT_LEFT, !IsWindowEnabled(Wnd));
}

void PaintOwner(HWND Wnd, HDC DC, const TButtonData& D) {
  const HBRUSH Brush = ControlColorBrush(Wnd, DC, WM_CTLCOLORBTN);
  const TRect Client = ClientRectOf(Wnd);
  if (Brush != nullptr) FillRect(DC, &Client, Brush);
  DRAWITEMSTRUCT DI;
  DI.CtlType = ODT_BUTTON;
  DI.CtlID = static_cast<UINT>(GetDlgCtrlID(Wnd));
  DI.itemAction = ODA_DRAWENTIRE;
  DI.itemState =
      (D.Pushed ? ODS_SELECTED : 0) | (D.Focused ? ODS_FOCUS : 0) | (IsWindowEnabled(Wnd) ? 0 : ODS_DISABLED);
  DI.hwndItem = Wnd;
  DI.hDC = DC;
  DI.rcItem = Client;
  const HWND P = NotifyTarget(Wnd);
  if (P != nullptr) SendMessage(P, WM_DRAWITEM, DI.CtlID, reinterpret_cast<LPARAM>(&DI));
}

void Paint(HWND Wnd, HDC DC) {
  TButtonData* D = ControlData<TButtonData>(Wnd);
  if (D == nullptr) return;
  const TButtonData State = *D;  // the parent's answers below may change or destroy it
  const DWORD Style = StyleOf(Wnd);
  const HGDIOBJ OldFont = SelectControlFont(DC, State);
  switch (KindOf(Style)) {
    case TKind::Check:
    case TKind::Radio:
      if (Style & BS_PUSHLIKE)
        PaintPush(Wnd, DC, State, Style);
      else
        PaintCheck(Wnd, DC, State, Style, KindOf(Style) == TKind::Radio);
      break;
    case TKind::Group:
      PaintGroup(Wnd, DC, Style);
      break;
    case TKind::Owner:
      PaintOwner(Wnd, DC, State);
      break;
    default:
      PaintPush(Wnd, DC, State, Style);
      break;
  }
  SelectObject(DC, OldFont);
}

// ---- Messages ---------------------------------------------------------------------------------

void PressByMouse(HWND Wnd) {
  SetFocus(Wnd);
  TButtonData* D = ControlData<TButtonData>(Wnd);
  if (D == nullptr) return;
  SetCapture(Wnd);
  if ((D = ControlData<TButtonData>(Wnd)) == nullptr) return;
  D->MouseTracking = true;
  SetPushed(Wnd, *D, true);
}

LRESULT DialogCode(DWORD Style) {
  switch (Style & BS_TYPEMASK) {
    case BS_PUSHBUTTON:
    case BS_PUSHBOX:
      return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
    case BS_DEFPUSHBUTTON:
      return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
      return DLGC_BUTTON | DLGC_RADIOBUTTON;
    case BS_GROUPBOX:
      return DLGC_STATIC;
    default:
      return DLGC_BUTTON;
  }
}

bool NotifiesDoubleClick(DWORD Style) {
  const DWORD Type = Style & BS_TYPEMASK;
  return (Style & BS_NOTIFY) || Type == BS_RADIOBUTTON || Type == BS_USERBUTTON || Type == BS_OWNERDRAW;
}

LRESULT ButtonWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  TButtonData* D = ControlData<TButtonData>(Wnd);
  if (D == nullptr) return 0;
  LRESULT Result = 0;
  if (HandleFontMessage(Wnd, *D, Msg, WParam, LParam, Result)) return Result;
  const DWORD Style = StyleOf(Wnd);
  const TKind Kind = KindOf(Style);
  switch (Msg) {
    case WM_PAINT:
    case WM_PRINTCLIENT:
      return PaintControl(Wnd, Msg, WParam, Paint);
    case WM_ERASEBKGND:
      return 1;
    case WM_NCHITTEST:
      if (Kind == TKind::Group) return HTTRANSPARENT;
      return DefWindowProc(Wnd, Msg, WParam, LParam);
    case WM_GETDLGCODE:
      return DialogCode(Style);
    case WM_LBUTTONDBLCLK:
      if (Kind == TKind::Group) return 0;
      if (NotifiesDoubleClick(Style)) {
        NotifyCommand(Wnd, BN_DOUBLECLICKED);
        return 0;
      }
      PressByMouse(Wnd);
      return 0;
    case WM_LBUTTONDOWN:
      if (Kind != TKind::Group) PressByMouse(Wnd);
      return 0;
    case WM_MOUSEMOVE:
      if (D->MouseTracking && GetCapture() == Wnd)
        SetPushed(Wnd, *D, RectContains(ClientRectOf(Wnd), MousePoint(LParam)));
      return 0;
    case WM_LBUTTONUP: {
      if (!D->MouseTracking) return 0;
      const bool Inside = RectContains(ClientRectOf(Wnd), MousePoint(LParam));
      D->MouseTracking = false;
      SetPushed(Wnd, *D, false);
      if (GetCapture() == Wnd) ReleaseCapture();
      if (Inside) Click(Wnd);
      return 0;
    }
    case WM_CAPTURECHANGED:
      if (D->MouseTracking && reinterpret_cast<HWND>(LParam) != Wnd) {
        D->MouseTracking = false;
        SetPushed(Wnd, *D, false);
      }
      return 0;
    case WM_KEYDOWN:
      if (WParam == VK_SPACE && Kind != TKind::Group && !(LParam & (1 << 30)) && !D->MouseTracking) {
        D->KeyTracking = true;
        SetPushed(Wnd, *D, true);
        return 0;
      }
      return DefWindowProc(Wnd, Msg, WParam, LParam);
    case WM_KEYUP:
      if (WParam == VK_SPACE && D->KeyTracking) {
        const bool WasPushed = D->Pushed;
        D->KeyTracking = false;
        SetPushed(Wnd, *D, false);
        if (WasPushed) Click(Wnd);
        return 0;
      }
      return DefWindowProc(Wnd, Msg, WParam, LParam);
    case WM_SETFOCUS:
      D->Focused = true;
      InvalidateRect(Wnd, nullptr, FALSE);
      if (Style & BS_NOTIFY) NotifyCommand(Wnd, BN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      D->Focused = false;
      CancelPress(Wnd, *D);
      InvalidateRect(Wnd, nullptr, FALSE);
      if (Style & BS_NOTIFY) NotifyCommand(Wnd, BN_KILLFOCUS);
      return 0;
    case WM_ENABLE:
      if (!WParam) CancelPress(Wnd, *D);
      InvalidateRect(Wnd, nullptr, TRUE);
      return 0;
    case WM_SETTEXT:
      Result = DefWindowProc(Wnd, Msg, WParam, LParam);
      InvalidateRect(Wnd, nullptr, TRUE);
      return Result;
    case WM_SYSCOLORCHANGE:
      InvalidateRect(Wnd, nullptr, TRUE);
      return 0;
    case BM_GETCHECK:
      return MaxCheck(Style) != BST_UNCHECKED ? D->Check : BST_UNCHECKED;
    case BM_SETCHECK:
      if (MaxCheck(Style) != BST_UNCHECKED) SetCheck(Wnd, *D, static_cast<LRESULT>(WParam));
      return 0;
    case BM_GETSTATE:
      return D->Check | (D->Pushed ? BST_PUSHED : 0) | (D->Focused ? BST_FOCUS : 0);
    case BM_SETSTATE:
      SetPushed(Wnd, *D, WParam != 0);
      return 0;
    case BM_SETSTYLE:
      SetWindowLongPtr(Wnd, GWL_STYLE,
                       static_cast<LONG_PTR>((Style & ~BS_TYPEMASK) | (WParam & BS_TYPEMASK)));
      if (LOWORD(static_cast<std::uintptr_t>(LParam)) != 0) InvalidateRect(Wnd, nullptr, TRUE);
      return 0;
    case BM_CLICK:
      if (Kind == TKind::Group || !IsWindowEnabled(Wnd)) return 0;
      SendMessage(Wnd, WM_LBUTTONDOWN, MK_LBUTTON, 0);
      SendMessage(Wnd, WM_LBUTTONUP, 0, 0);
      return 0;
    case BM_SETIMAGE: {
      const HANDLE Old = D->Image;
      D->ImageType = static_cast<UINT>(WParam);
      D->Image = reinterpret_cast<HANDLE>(LParam);
      InvalidateRect(Wnd, nullptr, TRUE);
      return reinterpret_cast<LRESULT>(Old);
    }
    case BM_GETIMAGE:
      return static_cast<UINT>(WParam) == D->ImageType ? reinterpret_cast<LRESULT>(D->Image) : 0;
    default:
      return DefWindowProc(Wnd, Msg, WParam, LParam);
  }
}

}  // namespace

void RegisterButtonClass() {
  RegisterControlClass(WC_BUTTON, ButtonWndProc, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, -1);
}
