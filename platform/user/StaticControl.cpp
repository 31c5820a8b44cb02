// The STATIC control.
#include "platform/user/StaticControl.h"

#include "platform/gdi/Dib.h"
#include "platform/gdi/FrameControls.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Painting.h"
#include "platform/gdi/Text.h"
#include "platform/user/ControlMessages.h"
#include "platform/user/NativeControlCommon.h"
#include "platform/user/WindowMessages.h"
#include "platform/user/WindowPaint.h"
#include "platform/user/WindowPos.h"
#include "platform/user/Windows.h"

namespace {

struct TStaticData : TNativeControlData {
  UINT ImageType = IMAGE_BITMAP;
  HANDLE Image = nullptr;
};

DWORD StyleOf(HWND Wnd) {
  return static_cast<DWORD>(GetWindowLongPtr(Wnd, GWL_STYLE));
}

UINT TextFormat(DWORD Style) {
  UINT F;
  switch (Style & SS_TYPEMASK) {
    case SS_CENTER:
      F = DT_CENTER | DT_EXPANDTABS | DT_WORDBREAK;
      break;
    case SS_RIGHT:
      F = DT_RIGHT | DT_EXPANDTABS | DT_WORDBREAK;
      break;
    case SS_SIMPLE:
      F = DT_LEFT | DT_SINGLELINE;
      break;
    case SS_LEFTNOWORDWRAP:
      F = DT_LEFT | DT_EXPANDTABS;
      break;
    default:
      F = DT_LEFT | DT_EXPANDTABS | DT_WORDBREAK;
      break;
  }
  if (Style & SS_NOPREFIX) F |= DT_NOPREFIX;
  if (Style & SS_EDITCONTROL) F |= DT_EDITCONTROL;
  if (Style & SS_CENTERIMAGE) F = (F & ~DT_WORDBREAK) | DT_SINGLELINE | DT_VCENTER;
  switch (Style & SS_ELLIPSISMASK) {
    case SS_ENDELLIPSIS:
      F = (F & ~DT_WORDBREAK) | DT_SINGLELINE | DT_END_ELLIPSIS;
      break;
    case SS_PATHELLIPSIS:
      F = (F & ~DT_WORDBREAK) | DT_SINGLELINE | DT_PATH_ELLIPSIS;
      break;
    case SS_WORDELLIPSIS:
      F = (F & ~DT_WORDBREAK) | DT_SINGLELINE | DT_WORD_ELLIPSIS;
      break;
    default:
      break;
  }
  return F;
}

void DrawOwner(HWND Wnd, HDC DC, const TRect& R) {
  DRAWITEMSTRUCT DI;
  DI.CtlType = ODT_STATIC;
  DI.CtlID = static_cast<UINT>(GetDlgCtrlID(Wnd));
  DI.itemAction = ODA_DRAWENTIRE;
  DI.itemState = IsWindowEnabled(Wnd) ? 0 : ODS_DISABLED;
  DI.hwndItem = Wnd;
  DI.hDC = DC;
  DI.rcItem = R;
  const HWND P = NotifyTarget(Wnd);
  if (P != nullptr) SendMessage(P, WM_DRAWITEM, DI.CtlID, reinterpret_cast<LPARAM>(&DI));
}

void Paint(HWND Wnd, HDC DC) {
  TStaticData* D = ControlData<TStaticData>(Wnd);
  if (D == nullptr) return;
  const DWORD Style = StyleOf(Wnd);
  const DWORD Type = Style & SS_TYPEMASK;
  RECT R = ClientRectOf(Wnd);
  if (Style & SS_SUNKEN) DrawEdge(DC, &R, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
  switch (Type) {
    case SS_BLACKRECT:
      FillSysColor(DC, R, COLOR_3DDKSHADOW);
      return;
    case SS_GRAYRECT:
      FillSysColor(DC, R, COLOR_3DSHADOW);
      return;
    case SS_WHITERECT:
      FillSysColor(DC, R, COLOR_3DHILIGHT);
      return;
    case SS_BLACKFRAME:
      FrameRect(DC, &R, GetSysColorBrush(COLOR_3DDKSHADOW));
      return;
    case SS_GRAYFRAME:
      FrameRect(DC, &R, GetSysColorBrush(COLOR_3DSHADOW));
      return;
    case SS_WHITEFRAME:
      FrameRect(DC, &R, GetSysColorBrush(COLOR_3DHILIGHT));
      return;
    case SS_ETCHEDHORZ:
      DrawEdge(DC, &R, EDGE_ETCHED, BF_TOP);
      return;
    case SS_ETCHEDVERT:
      DrawEdge(DC, &R, EDGE_ETCHED, BF_LEFT);
      return;
    case SS_ETCHEDFRAME:
      DrawEdge(DC, &R, EDGE_ETCHED, BF_RECT);
      return;
    case SS_OWNERDRAW:
      DrawOwner(Wnd, DC, R);
      return;
    default:
      break;
  }
  const HBRUSH Brush = ControlColorBrush(Wnd, DC, WM_CTLCOLORSTATIC);
  if ((D = ControlData<TStaticData>(Wnd)) == nullptr) return;
  if (Brush != nullptr) FillRect(DC, &R, Brush);
  if (Type == SS_BITMAP || Type == SS_ICON) {
    const TSize S = ControlImageSize(D->ImageType, D->Image);
    Integer X = R.Left, Y = R.Top;
    if (Style & SS_CENTERIMAGE) {
      X += (R.Right - R.Left - S.cx) / 2;
      Y += (R.Bottom - R.Top - S.cy) / 2;
    }
    DrawControlImage(DC, D->ImageType, D->Image, X, Y);
    return;
  }
  if (Type != SS_LEFT && Type != SS_CENTER && Type != SS_RIGHT && Type != SS_SIMPLE &&
      Type != SS_LEFTNOWORDWRAP)
    return;
  const std::string Text = GetWindowTextString(Wnd);
  const HGDIOBJ OldFont = SelectControlFont(DC, *D);
  if (!IsWindowEnabled(Wnd)) SetTextColor(DC, GetSysColor(COLOR_GRAYTEXT));
  DrawText(DC, Text.c_str(), static_cast<Integer>(Text.size()), &R, TextFormat(Style));
  SelectObject(DC, OldFont);
}

// A bitmap static takes its bitmap's size, as the platform's does.
void FitToImage(HWND Wnd, const TStaticData& D) {
  const DWORD Style = StyleOf(Wnd);
  if ((Style & SS_TYPEMASK) != SS_BITMAP || (Style & (SS_CENTERIMAGE | SS_REALSIZECONTROL))) return;
  const TSize S = ControlImageSize(D.ImageType, D.Image);
  if (S.cx > 0 && S.cy > 0)
    SetWindowPos(Wnd, nullptr, 0, 0, S.cx, S.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT StaticWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  TStaticData* D = ControlData<TStaticData>(Wnd);
  if (D == nullptr) return 0;
  LRESULT Result = 0;
  if (HandleFontMessage(Wnd, *D, Msg, WParam, LParam, Result)) return Result;
  switch (Msg) {
    case WM_PAINT:
    case WM_PRINTCLIENT:
      return PaintControl(Wnd, Msg, WParam, Paint);
    case WM_ERASEBKGND:
      return 1;
    case WM_NCHITTEST:
      if (!(StyleOf(Wnd) & SS_NOTIFY)) return HTTRANSPARENT;
      return DefWindowProc(Wnd, Msg, WParam, LParam);
    case WM_LBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
      if (StyleOf(Wnd) & SS_NOTIFY) NotifyCommand(Wnd, STN_CLICKED);
      return 0;
    case WM_LBUTTONDBLCLK:
    case WM_NCLBUTTONDBLCLK:
      if (StyleOf(Wnd) & SS_NOTIFY) NotifyCommand(Wnd, STN_DBLCLK);
      return 0;
    case WM_GETDLGCODE:
      return DLGC_STATIC;
    case WM_SETTEXT:
      Result = DefWindowProc(Wnd, Msg, WParam, LParam);
      InvalidateRect(Wnd, nullptr, TRUE);
      return Result;
    case WM_ENABLE:
      InvalidateRect(Wnd, nullptr, TRUE);
      if (StyleOf(Wnd) & SS_NOTIFY) NotifyCommand(Wnd, WParam ? STN_ENABLE : STN_DISABLE);
      return 0;
    case STM_SETIMAGE:
    case STM_SETICON: {
      const HANDLE Old = D->Image;
      D->ImageType = Msg == STM_SETICON ? IMAGE_ICON : static_cast<UINT>(WParam);
      D->Image = reinterpret_cast<HANDLE>(Msg == STM_SETICON ? WParam : static_cast<WPARAM>(LParam));
      FitToImage(Wnd, *D);
      InvalidateRect(Wnd, nullptr, TRUE);
      return reinterpret_cast<LRESULT>(Old);
    }
    case STM_GETIMAGE:
      return static_cast<UINT>(WParam) == D->ImageType ? reinterpret_cast<LRESULT>(D->Image) : 0;
    case STM_GETICON:
      return D->ImageType == IMAGE_ICON ? reinterpret_cast<LRESULT>(D->Image) : 0;
    default:
      return DefWindowProc(Wnd, Msg, WParam, LParam);
  }
}

}  // namespace

void RegisterStaticClass() {
  RegisterControlClass(WC_STATIC, StaticWndProc, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, -1);
}
