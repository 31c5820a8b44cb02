// The tree view's painting in the classic look: dotted lines, boxed buttons, images and texts.
#include <algorithm>

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Painting.h"
#include "platform/gdi/Text.h"
#include "platform/user/ImageLists.h"
#include "platform/user/TreeViewInternals.h"
#include "platform/user/Windows.h"

namespace {

constexpr Integer ButtonSize = 9;

void Fill(HDC DC, const TRect& R, COLORREF Color) {
  if (R.Right <= R.Left || R.Bottom <= R.Top) return;
  HBRUSH B = CreateSolidBrush(Color);
  const RECT Box = R;
  FillRect(DC, &Box, B);
  DeleteObject(B);
}

// Every other pixel, starting on an even screen row or column, as dotted lines are drawn.
void DotsH(HDC DC, Integer X0, Integer X1, Integer Y, COLORREF C) {
  for (Integer X = X0 + ((X0 + Y) & 1); X < X1; X += 2) SetPixel(DC, X, Y, C);
}
void DotsV(HDC DC, Integer X, Integer Y0, Integer Y1, COLORREF C) {
  for (Integer Y = Y0 + ((X + Y0) & 1); Y < Y1; Y += 2) SetPixel(DC, X, Y, C);
}

bool HasNextSibling(const TTvNode* N) {
  const auto& Kids = N->Parent->Children;
  return !Kids.empty() && Kids.back().get() != N;
}

void DrawLinesAndButton(HWND Wnd, HDC DC, const TTreeViewData& D, const TTvGeometry& G, const TTvNode& N,
                        Integer Y, bool First) {
  const DWORD Style = LiveWindowStyle(Wnd);
  const bool HasColumn = N.Level > 0 || (Style & TVS_LINESATROOT);
  if (!HasColumn) return;
  const COLORREF Line = D.LineColor == CLR_DEFAULT ? GetSysColor(COLOR_GRAYTEXT) : D.LineColor;
  const Integer X0 = ItemLeft(Wnd, D, G, N);
  const Integer Cx = X0 - D.Indent + D.Indent / 2, Cy = Y + G.RowHeight / 2;
  if (Style & TVS_HASLINES) {
    DotsH(DC, Cx, X0, Cy, Line);
    if (!First || N.Parent->Parent != nullptr) DotsV(DC, Cx, Y, Cy, Line);
    if (HasNextSibling(&N)) DotsV(DC, Cx, Cy, Y + G.RowHeight, Line);
    // The ancestors' lines that go on past this row.
    Integer X = Cx;
    for (const TTvNode* A = N.Parent; A != nullptr && A->Parent != nullptr; A = A->Parent) {
      X -= D.Indent;
      if ((A->Level > 0 || (Style & TVS_LINESATROOT)) && HasNextSibling(A))
        DotsV(DC, X, Y, Y + G.RowHeight, Line);
    }
  }
  if ((Style & TVS_HASBUTTONS) && HasChildren(N)) {
    const Integer L = Cx - ButtonSize / 2, T = Cy - ButtonSize / 2;
    Fill(DC, {L, T, L + ButtonSize, T + ButtonSize}, GetSysColor(COLOR_GRAYTEXT));
    Fill(DC, {L + 1, T + 1, L + ButtonSize - 1, T + ButtonSize - 1},
         D.BkColor == CLR_DEFAULT ? GetSysColor(COLOR_WINDOW) : D.BkColor);
    const COLORREF Sign = GetSysColor(COLOR_WINDOWTEXT);
    Fill(DC, {L + 2, Cy, L + ButtonSize - 2, Cy + 1}, Sign);
    if (!(N.State & TVIS_EXPANDED)) Fill(DC, {Cx, T + 2, Cx + 1, T + ButtonSize - 2}, Sign);
  }
}

}  // namespace

void PaintTreeView(HWND Wnd, HDC DC) {
  TTreeViewData* Dp = TreeData(Wnd);
  if (Dp == nullptr) return;
  TTreeViewData& D = *Dp;
  const TTvGeometry G = TreeGeometry(Wnd, D);
  const COLORREF Back = D.BkColor == CLR_DEFAULT ? GetSysColor(COLOR_WINDOW) : D.BkColor;
  Fill(DC, {0, 0, G.Client.cx, G.Client.cy}, Back);
  const HGDIOBJ OldFont = SelectControlFont(DC, D);
  NMTVCUSTOMDRAW CD;
  CD.nmcd.hdc = DC;
  CD.nmcd.rc = RECT{0, 0, G.Client.cx, G.Client.cy};
  const LRESULT Wants = SendCustomDraw(Wnd, CD.nmcd, CDDS_PREPAINT);
  if ((Dp = TreeData(Wnd)) == nullptr) return;
  const std::vector<TTvNode*> Shown = ShownNodes(D);  // a copy: the parent may change the tree
  const DWORD Style = LiveWindowStyle(Wnd);
  for (Integer Row = D.ScrollY; !(Wants & CDRF_SKIPDEFAULT) && Row < static_cast<Integer>(Shown.size());
       ++Row) {
    const Integer Y = (Row - D.ScrollY) * G.RowHeight;
    if (Y >= G.Client.cy) break;
    if ((Dp = TreeData(Wnd)) == nullptr) return;
    TTvNode* N = Shown[Row];
    if (!D.Live.count(N)) continue;
    TRect Text;
    NodeRect(Wnd, D, N, true, Text);
    const bool Selected = (N->State & TVIS_SELECTED) && (D.Focused || (Style & TVS_SHOWSELALWAYS));
    const bool Hilite = Selected || (N->State & TVIS_DROPHILITED);
    COLORREF TextColor = D.TextColor == CLR_DEFAULT ? GetSysColor(COLOR_WINDOWTEXT) : D.TextColor;
    COLORREF TextBack = CLR_NONE;
    if (Hilite) {
      const bool Active = D.Focused || (N->State & TVIS_DROPHILITED);
      TextColor = GetSysColor(Active ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT);
      TextBack = GetSysColor(Active ? COLOR_HIGHLIGHT : COLOR_3DFACE);
    }
    if (Wants & CDRF_NOTIFYITEMDRAW) {
      NMTVCUSTOMDRAW Item;
      Item.nmcd.hdc = DC;
      Item.nmcd.rc = RECT{0, Y, G.Client.cx, Y + G.RowHeight};
      Item.nmcd.dwItemSpec = reinterpret_cast<ULONG_PTR>(HandleOf(N));
      Item.nmcd.uItemState = (Selected ? CDIS_SELECTED : 0) | (Selected && D.Focused ? CDIS_FOCUS : 0);
      Item.nmcd.lItemlParam = N->Param;
      Item.clrText = TextColor;
      Item.clrTextBk = TextBack;
      Item.iLevel = N->Level;
      const LRESULT ItemWants = SendCustomDraw(Wnd, Item.nmcd, CDDS_ITEMPREPAINT);
      if ((Dp = TreeData(Wnd)) == nullptr) return;
      if (ItemWants & CDRF_SKIPDEFAULT) continue;
      TextColor = Item.clrText;
      TextBack = Item.clrTextBk;
    }
    if (!D.Live.count(N)) continue;
    DrawLinesAndButton(Wnd, DC, D, G, *N, Y, Row == 0);
    Integer X = ItemLeft(Wnd, D, G, *N);
    if (G.State.cx > 0) {
      const Integer Index = static_cast<Integer>((N->State & TVIS_STATEIMAGEMASK) >> 12);
      if (D.StateImages != nullptr && Index > 0)
        ImageList_Draw(D.StateImages, Index - 1, DC, X, Y + (G.RowHeight - G.State.cy) / 2, ILD_TRANSPARENT);
      X += G.State.cx;
    }
    if (D.Images != nullptr) {
      const Integer Image = (N->State & TVIS_SELECTED) ? N->SelectedImage : N->Image;
      if (Image >= 0)
        ImageList_Draw(D.Images, Image, DC, X, Y + (G.RowHeight - G.Image.cy) / 2, ILD_TRANSPARENT);
    }
    if (TextBack != CLR_NONE && TextBack != CLR_DEFAULT) Fill(DC, Text, TextBack);
    DrawCellText(DC, NodeText(Wnd, N), InflatedRect(Text, -TreeTextPad, 0), DT_LEFT, TextColor);
    if (Selected && D.Focused) {
      const RECT F = Text;
      DrawFocusRect(DC, &F);
    }
  }
  if (Wants & CDRF_NOTIFYPOSTPAINT) SendCustomDraw(Wnd, CD.nmcd, CDDS_POSTPAINT);
  SelectObject(DC, OldFont);
}
