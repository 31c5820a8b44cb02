// The COMBOBOX control's classic look: a sunken 3-D edge, the drop button and the selection
// field (drawn by the combo for CBS_DROPDOWNLIST, by the owner for owner-drawn combos).
#include <algorithm>

#include "platform/gdi/FrameControls.h"
#include "platform/gdi/Painting.h"
#include "platform/gdi/Text.h"
#include "platform/user/ComboBoxControl.h"
#include "platform/user/WindowMessages.h"
#include "platform/user/Windows.h"

namespace {

void DrawField(TComboData& D, HDC DC, HBRUSH Brush, bool Enabled) {
  const TRect F = ComboFieldRect(D);
  if (F.Width() <= 0 || F.Height() <= 0) return;
  const Integer I = ComboCurSel(D);
  const TListBoxData* L = ComboList(D);
  const bool Focus = D.Focused && !D.Dropped;
  if (ComboOwnerDraw(D)) {
    const HWND Parent = GetParent(D.Wnd);
    if (Parent == nullptr) return;
    DRAWITEMSTRUCT DI;
    DI.CtlType = ODT_COMBOBOX;
    DI.CtlID = static_cast<UINT>(GetDlgCtrlID(D.Wnd));
    DI.itemID = static_cast<UINT>(I);
    DI.itemAction = ODA_DRAWENTIRE;
    DI.itemState = ODS_COMBOBOXEDIT | (Focus ? ODS_SELECTED | ODS_FOCUS : 0) | (Enabled ? 0 : ODS_DISABLED);
    DI.hwndItem = D.Wnd;
    DI.hDC = DC;
    DI.rcItem = F;
    DI.itemData = I >= 0 && L != nullptr ? L->Items[static_cast<std::size_t>(I)].Data : 0;
    SendMessage(Parent, WM_DRAWITEM, DI.CtlID, reinterpret_cast<LPARAM>(&DI));
    return;
  }
  const bool Hilite = Focus && Enabled;
  FillRect(DC, &F, Hilite ? GetSysColorBrush(COLOR_HIGHLIGHT) : Brush);
  if (I >= 0 && L != nullptr) {
    const std::string& Text = L->Items[static_cast<std::size_t>(I)].Text;
    const COLORREF OldText = Hilite     ? SetTextColor(DC, GetSysColor(COLOR_HIGHLIGHTTEXT))
                             : !Enabled ? SetTextColor(DC, GetSysColor(COLOR_GRAYTEXT))
                                        : GetTextColor(DC);
    const Integer OldMode = SetBkMode(DC, TRANSPARENT);
    const Integer Saved = SaveDC(DC);
    IntersectClipRect(DC, F.Left, F.Top, F.Right, F.Bottom);
    ExtTextOut(DC, F.Left + 2, F.Top + (F.Height() - D.Metrics.Height) / 2, 0, nullptr, Text.c_str(),
               static_cast<UINT>(Text.size()), nullptr);
    RestoreDC(DC, Saved);
    SetBkMode(DC, OldMode);
    SetTextColor(DC, OldText);
  }
  if (Focus) DrawFocusRect(DC, &F);
}

}  // namespace

void ComboPaint(HWND Wnd, HDC DC) {
  TComboData* PD = ComboDataOf(Wnd);
  if (PD == nullptr) return;
  TComboData& D = *PD;
  const bool Enabled = IsWindowEnabled(Wnd) != FALSE;
  HBRUSH Brush = ControlColorBrush(Wnd, DC, Enabled ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC);
  if (ComboDataOf(Wnd) != &D) return;
  const HGDIOBJ OldFont = SelectObject(DC, ControlFontOrSystem(D.Font));
  const TRect C = ClientRectOf(Wnd);
  // A simple combo frames only its edit; its list draws itself below.
  TRect Frame = C;
  if (ComboType(D) == CBS_SIMPLE) Frame.Bottom = std::min(C.Bottom, ComboClosedHeight(D));
  FillRect(DC, &Frame, Brush);
  RECT Edge = Frame;
  DrawEdge(DC, &Edge, EDGE_SUNKEN, BF_RECT);
  if (ComboType(D) != CBS_SIMPLE) {
    RECT B = ComboButtonRect(D);
    if (B.Right > B.Left)
      DrawFrameControl(
          DC, &B, DFC_SCROLL,
          DFCS_SCROLLCOMBOBOX | (D.ButtonDown ? DFCS_PUSHED | DFCS_FLAT : 0) | (Enabled ? 0 : DFCS_INACTIVE));
  }
  if (ComboType(D) == CBS_DROPDOWNLIST) DrawField(D, DC, Brush, Enabled);
  SelectObject(DC, OldFont);
}
