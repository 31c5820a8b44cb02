// The tree view's geometry: the shown items, their rectangles, hit tests and scrolling.
#include <algorithm>
#include <cstring>

#include "platform/user/ScrollInfo.h"
#include "platform/user/TreeViewInternals.h"
#include "platform/user/WindowMessages.h"
#include "platform/user/WindowPaint.h"
#include "platform/user/Windows.h"

namespace {

constexpr Integer DispTextSize = 260;
constexpr Integer RowExtra = 3;

void CollectShown(TTvNode& Parent, std::vector<TTvNode*>& Out) {
  for (auto& C : Parent.Children) {
    Out.push_back(C.get());
    if (C->State & TVIS_EXPANDED) CollectShown(*C, Out);
  }
}

}  // namespace

TTreeViewData* TreeData(HWND Wnd) {
  return BoundControlData<TTreeViewData>(Wnd);
}

TTvNode* NodeOf(const TTreeViewData& D, HTREEITEM Item) {
  auto* N = reinterpret_cast<TTvNode*>(Item);
  return D.Live.count(N) ? N : nullptr;
}

const std::vector<TTvNode*>& ShownNodes(TTreeViewData& D) {
  if (!D.ShownValid) {
    D.Shown.clear();
    CollectShown(D.Root, D.Shown);
    D.ShownValid = true;
  }
  return D.Shown;
}

Integer ShownIndex(TTreeViewData& D, const TTvNode* N) {
  const auto& S = ShownNodes(D);
  const auto It = std::find(S.begin(), S.end(), N);
  return It == S.end() ? -1 : static_cast<Integer>(It - S.begin());
}

bool HasChildren(const TTvNode& N) {
  return N.ChildrenFlag == -2 ? !N.Children.empty() : N.ChildrenFlag != 0;
}

TTvGeometry TreeGeometry(HWND Wnd, TTreeViewData& D) {
  TTvGeometry G;
  const TRect C = ClientRectOf(Wnd);
  G.Client = {C.Width(), C.Height()};
  if (D.LineHeight == 0) D.LineHeight = ControlLineHeight(D);
  G.LineHeight = D.LineHeight;
  G.Image = ImageListSize(D.Images);
  G.State = ImageListSize(D.StateImages);
  if ((LiveWindowStyle(Wnd) & TVS_CHECKBOXES) && G.State.cx == 0) G.State = {16, 16};
  G.RowHeight = D.ItemHeight > 0 ? D.ItemHeight : std::max({G.LineHeight, G.Image.cy, G.State.cy}) + RowExtra;
  return G;
}

Integer ItemLeft(HWND Wnd, const TTreeViewData& D, const TTvGeometry&, const TTvNode& N) {
  const Integer Columns = N.Level + ((LiveWindowStyle(Wnd) & TVS_LINESATROOT) ? 1 : 0);
  return Columns * D.Indent - D.ScrollX;
}

std::string NodeText(HWND Wnd, TTvNode* N) {
  if (!N->TextCallback) return N->Text;
  NMTVDISPINFO Info;
  char Buffer[DispTextSize] = {};
  Info.item.mask = TVIF_TEXT;
  Info.item.hItem = HandleOf(N);
  Info.item.pszText = Buffer;
  Info.item.cchTextMax = DispTextSize;
  Info.item.lParam = N->Param;
  NotifyParent(Wnd, TVN_GETDISPINFO, &Info.hdr);
  if (Info.item.pszText == nullptr || Info.item.pszText == LPSTR_TEXTCALLBACK) return {};
  return std::string(Info.item.pszText, strnlen(Info.item.pszText, 4096));
}

namespace {

// The node's text width, kept until its text or the font changes (callback texts: 0).
Integer NodeTextWidth(const TTreeViewData& D, TTvNode& N) {
  if (N.TextCallback) return 0;
  if (N.TextWidth < 0) N.TextWidth = ControlTextWidth(D, N.Text);
  return N.TextWidth;
}

}  // namespace

bool NodeRect(HWND Wnd, TTreeViewData& D, TTvNode* N, bool TextOnly, TRect& R) {
  const Integer Row = ShownIndex(D, N);
  if (Row < 0) return false;
  const TTvGeometry G = TreeGeometry(Wnd, D);
  const Integer Y = (Row - D.ScrollY) * G.RowHeight;
  if (!TextOnly) {
    R = {0, Y, G.Client.cx, Y + G.RowHeight};
    return true;
  }
  const Integer Left = ItemLeft(Wnd, D, G, *N) + G.State.cx + G.Image.cx;
  const Integer Width =
      (N->TextCallback ? ControlTextWidth(D, NodeText(Wnd, N)) : NodeTextWidth(D, *N)) + 2 * TreeTextPad;
  R = {Left, Y, Left + Width, Y + G.RowHeight};
  return true;
}

TTvNode* TreeHitTest(HWND Wnd, TTreeViewData& D, TPoint P, UINT& Flags) {
  const TTvGeometry G = TreeGeometry(Wnd, D);
  Flags = 0;
  if (P.Y < 0) Flags |= TVHT_ABOVE;
  if (P.Y >= G.Client.cy) Flags |= TVHT_BELOW;
  if (P.X < 0) Flags |= TVHT_TOLEFT;
  if (P.X >= G.Client.cx) Flags |= TVHT_TORIGHT;
  if (Flags != 0) return nullptr;
  const auto& S = ShownNodes(D);
  const Integer Row = P.Y / G.RowHeight + D.ScrollY;
  if (Row < 0 || Row >= static_cast<Integer>(S.size())) {
    Flags = TVHT_NOWHERE;
    return nullptr;
  }
  TTvNode* N = S[Row];
  const Integer X0 = ItemLeft(Wnd, D, G, *N);
  TRect Text;
  NodeRect(Wnd, D, N, true, Text);
  const bool HasColumn = N->Level > 0 || (LiveWindowStyle(Wnd) & TVS_LINESATROOT);
  if (P.X < X0) {
    const bool OnButton =
        HasColumn && P.X >= X0 - D.Indent && (LiveWindowStyle(Wnd) & TVS_HASBUTTONS) && HasChildren(*N);
    Flags = OnButton ? TVHT_ONITEMBUTTON : TVHT_ONITEMINDENT;
  } else if (P.X < X0 + G.State.cx) {
    Flags = TVHT_ONITEMSTATEICON;
  } else if (P.X < X0 + G.State.cx + G.Image.cx) {
    Flags = TVHT_ONITEMICON;
  } else if (P.X < Text.Right) {
    Flags = TVHT_ONITEMLABEL;
  } else {
    Flags = TVHT_ONITEMRIGHT;
  }
  return N;
}

// ---- Scrolling --------------------------------------------------------------------------------

void UpdateTreeScrolling(HWND Wnd) {
  TTreeViewData* D = TreeData(Wnd);
  if (D == nullptr || D->Syncing) return;
  D->Syncing = true;
  for (Integer Pass = 0; Pass < 2; ++Pass) {
    if ((D = TreeData(Wnd)) == nullptr) return;
    const TTvGeometry G = TreeGeometry(Wnd, *D);
    const auto& S = ShownNodes(*D);
    const Integer Rows = static_cast<Integer>(S.size());
    const Integer Page = std::max(1, G.Client.cy / G.RowHeight);
    Integer Width = 0;
    const bool NoHScroll = LiveWindowStyle(Wnd) & TVS_NOHSCROLL;
    if (!NoHScroll)
      for (TTvNode* N : S)
        Width = std::max(Width, ItemLeft(Wnd, *D, G, *N) + D->ScrollX + G.State.cx + G.Image.cx +
                                    NodeTextWidth(*D, *N) + 2 * TreeTextPad);
    D->ScrollY = std::clamp(D->ScrollY, 0, std::max(0, Rows - Page));
    D->ScrollX = std::clamp(D->ScrollX, 0, std::max(0, Width - G.Client.cx));
    if (LiveWindowStyle(Wnd) & TVS_NOSCROLL) break;
    SCROLLINFO Info;
    Info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    Info.nMax = std::max(0, Rows - 1);
    Info.nPage = static_cast<UINT>(Page);
    Info.nPos = D->ScrollY;
    const Integer X = D->ScrollX;
    SetScrollInfo(Wnd, SB_VERT, &Info, TRUE);
    if (!NoHScroll) {
      Info.nMax = std::max(0, Width - 1);
      Info.nPage = static_cast<UINT>(std::max(0, G.Client.cx));
      Info.nPos = X;
      SetScrollInfo(Wnd, SB_HORZ, &Info, TRUE);
    }
  }
  if ((D = TreeData(Wnd)) != nullptr) D->Syncing = false;
}

void TreeScrollTo(HWND Wnd, Integer X, Integer Y) {
  TTreeViewData* D = TreeData(Wnd);
  if (D == nullptr || (X == D->ScrollX && Y == D->ScrollY)) return;
  D->ScrollX = X;
  D->ScrollY = Y;
  UpdateTreeScrolling(Wnd);
  InvalidateRect(Wnd, nullptr, TRUE);
}

void EnsureNodeVisible(HWND Wnd, TTvNode* N) {
  TTreeViewData* D = TreeData(Wnd);
  if (D == nullptr || N == nullptr) return;
  for (TTvNode* P = N->Parent; P != nullptr && P != &D->Root; P = P->Parent)
    if (!(P->State & TVIS_EXPANDED)) {
      ExpandNode(Wnd, P, TVE_EXPAND);
      if ((D = TreeData(Wnd)) == nullptr || !D->Live.count(N)) return;
    }
  const Integer Row = ShownIndex(*D, N);
  if (Row < 0) return;
  const TTvGeometry G = TreeGeometry(Wnd, *D);
  const Integer Page = std::max(1, G.Client.cy / G.RowHeight);
  Integer Y = D->ScrollY;
  if (Row < Y) Y = Row;
  if (Row >= Y + Page) Y = Row - Page + 1;
  TreeScrollTo(Wnd, D->ScrollX, Y);
}
