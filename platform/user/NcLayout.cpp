// Frame geometry of the classic look, the non-client fonts and per-window state.
#include <algorithm>
#include <optional>

#include "platform/gdi/Painting.h"
#include "platform/gdi/Text.h"
#include "platform/user/MenuInternals.h"
#include "platform/user/NonClient.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/Windows.h"

namespace {

struct TNcFonts {
  std::optional<LOGFONT> Override[3];
  HFONT Fonts[4] = {};  // caption, small caption, menu, bold menu
};

TNcFonts& Fonts() {
  static TNcFonts F;
  return F;
}

HFONT MakeFont(Integer Slot) {
  TNcFonts& F = Fonts();
  if (F.Fonts[Slot] != nullptr) return F.Fonts[Slot];
  NONCLIENTMETRICS M;
  SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof(M), &M, 0);
  LOGFONT L = Slot == 0 ? M.lfCaptionFont : Slot == 1 ? M.lfSmCaptionFont : M.lfMenuFont;
  const Integer Which = Slot == 3 ? 2 : Slot;
  if (F.Override[Which]) L = *F.Override[Which];
  if (Slot == 3) L.lfWeight = FW_BOLD;
  F.Fonts[Slot] = CreateFontIndirect(&L);
  return F.Fonts[Slot];
}

}  // namespace

HFONT NcCaptionFont(bool Small) {
  return MakeFont(Small ? 1 : 0);
}
HFONT NcMenuFont(bool Bold) {
  return MakeFont(Bold ? 3 : 2);
}

void SetNcFonts(const LOGFONT* Caption, const LOGFONT* SmallCaption, const LOGFONT* Menu) {
  TNcFonts& F = Fonts();
  const LOGFONT* Given[3] = {Caption, SmallCaption, Menu};
  for (Integer I = 0; I < 3; ++I) F.Override[I] = Given[I] ? std::optional<LOGFONT>(*Given[I]) : std::nullopt;
  for (HFONT& H : F.Fonts) {
    if (H != nullptr) DeleteObject(H);
    H = nullptr;
  }
}

void FillSys(HDC DC, const TRect& R, Integer ColorIndex) {
  if (!IsEmptyRect(R)) FillRect(DC, &R, GetSysColorBrush(ColorIndex));
}

TSize OuterFrameSize(DWORD Style, DWORD ExStyle) {
  if (Style & WS_THICKFRAME) return {GetSystemMetrics(SM_CXFRAME), GetSystemMetrics(SM_CYFRAME)};
  if ((ExStyle & WS_EX_DLGMODALFRAME) || (Style & WS_DLGFRAME))
    return {GetSystemMetrics(SM_CXDLGFRAME), GetSystemMetrics(SM_CYDLGFRAME)};
  if (Style & WS_BORDER) return {GetSystemMetrics(SM_CXBORDER), GetSystemMetrics(SM_CYBORDER)};
  return {0, 0};
}

HMENU WindowMenuBar(const TWindow* W) {
  if (W->IsChild() || W->Id == 0) return nullptr;
  const HMENU M = reinterpret_cast<HMENU>(W->Id);
  TMenuObject* Obj = MenuFromHandle(M);
  return Obj != nullptr ? M : nullptr;
}

TNcState::~TNcState() {
  if (SystemMenu != nullptr) DestroyMenu(SystemMenu);
}

TNcState& NcStateOf(TWindow* W) {
  auto& Slot = W->AddOns[waNonClient];
  if (!Slot) Slot = std::make_unique<TNcState>();
  return static_cast<TNcState&>(*Slot);
}

TNcLayout NcLayoutOf(TWindow* W) {
  TNcLayout L;
  const DWORD Style = W->Style, Ex = W->ExStyle;
  L.Window = TRect{0, 0, W->Rect.Width(), W->Rect.Height()};
  const TSize F = OuterFrameSize(Style, Ex);
  L.Inside = Shrunk(L.Window, F.cx, F.cy);
  L.ToolWindow = (Ex & WS_EX_TOOLWINDOW) != 0;
  Integer Top = L.Inside.Top;
  if (HasCaption(Style)) {
    const Integer Height = GetSystemMetrics(L.ToolWindow ? SM_CYSMCAPTION : SM_CYCAPTION);
    // A minimized window's caption fills what the frame leaves.
    L.Caption = TRect{L.Inside.Left, Top, L.Inside.Right, std::min(Top + Height - 1, L.Inside.Bottom)};
    Top += Height;
    const TRect& C = L.Caption;
    // Buttons: SM_CXSIZE - 2 by SM_CYSIZE - 4, two pixels from the top and the right; the close
    // button stands apart by two pixels, minimize and maximize side by side.
    const Integer BW = GetSystemMetrics(L.ToolWindow ? SM_CXSMSIZE : SM_CXSIZE) - 2;
    const Integer BH = GetSystemMetrics(L.ToolWindow ? SM_CYSMSIZE : SM_CYSIZE) - 4;
    const Integer BT = C.Top + 2;
    Integer Right = C.Right - 2;
    const bool SysMenu = (Style & WS_SYSMENU) != 0;
    if (SysMenu) {
      L.CloseBtn = TRect{Right - BW, BT, Right, BT + BH};
      Right -= BW + 2;
      const bool MinMax = !L.ToolWindow && (Style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
      if (MinMax) {
        L.MaxBtn = TRect{Right - BW, BT, Right, BT + BH};
        L.MinBtn = TRect{Right - 2 * BW, BT, Right - BW, BT + BH};
        Right -= 2 * BW + 2;
      } else if (Ex & WS_EX_CONTEXTHELP) {
        L.HelpBtn = TRect{Right - BW, BT, Right, BT + BH};
        Right -= BW + 2;
      }
    }
    Integer Left = C.Left + 2;
    if (SysMenu && !L.ToolWindow && !(Ex & WS_EX_DLGMODALFRAME)) {
      const Integer IconW = GetSystemMetrics(SM_CXSMICON);
      L.Icon = TRect{C.Left, C.Top, C.Left + IconW + 2, C.Bottom};
      Left = L.Icon.Right + 2;
    }
    L.Title = TRect{Left, C.Top, std::max(Left, Right), C.Bottom};
  }
  const TRect Client = ClientInWindow(W);
  L.Client = Client;
  if (HMENU Bar = WindowMenuBar(W)) {
    (void)Bar;
    const Integer H = MenuBarHeight(W, L.Window.Width());
    L.MenuBar = TRect{L.Inside.Left, Top, L.Inside.Right, std::min(Top + H, L.Inside.Bottom)};
    Top += H;
  }
  L.Edge = TRect{L.Inside.Left, std::min(Top, L.Inside.Bottom), L.Inside.Right, L.Inside.Bottom};
  if (!(Style & WS_MINIMIZE)) {
    if (Style & WS_VSCROLL)
      L.VScroll =
          TRect{Client.Right, Client.Top, Client.Right + GetSystemMetrics(SM_CXVSCROLL), Client.Bottom};
    if (Style & WS_HSCROLL)
      L.HScroll =
          TRect{Client.Left, Client.Bottom, Client.Right, Client.Bottom + GetSystemMetrics(SM_CYHSCROLL)};
    if ((Style & WS_VSCROLL) && (Style & WS_HSCROLL))
      L.SizeBox = TRect{L.VScroll.Left, L.HScroll.Top, L.VScroll.Right, L.HScroll.Bottom};
  }
  return L;
}

// WM_NCCALCSIZE: the frame insets (FrameInsets) and the menu bar below the caption.
LRESULT NcCalcSizeDefault(TWindow* W, UINT, WPARAM WParam, LPARAM LParam) {
  RECT* R = WParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(LParam)->rgrc[0] : reinterpret_cast<RECT*>(LParam);
  if (R == nullptr) return 0;
  if (W->Style & WS_MINIMIZE) {
    // A minimized window is all caption.
    R->Right = R->Left;
    R->Bottom = R->Top;
    return 0;
  }
  const TRect Whole = *R;
  const TRect I = FrameInsets(W->Style, W->ExStyle);
  R->Left += I.Left;
  R->Top += I.Top;
  R->Right -= I.Right;
  R->Bottom -= I.Bottom;
  if (WindowMenuBar(W) != nullptr) R->Top += MenuBarHeight(W, Whole.Width());
  R->Right = std::max(R->Right, R->Left);
  R->Bottom = std::max(R->Bottom, R->Top);
  return 0;
}
