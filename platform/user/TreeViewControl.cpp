// The tree view: items, expansion, selection and the messages that reach them.
#include <algorithm>
#include <cstring>

#include "platform/user/TreeViewInternals.h"
#include "platform/user/WindowPaint.h"
#include "platform/user/Windows.h"

namespace {

void Changed(HWND Wnd, TTreeViewData& D) {
  D.ShownValid = false;
  UpdateTreeScrolling(Wnd);
  InvalidateRect(Wnd, nullptr, TRUE);
}

}  // namespace

// ---- Expansion and selection ------------------------------------------------------------------

namespace {

LRESULT NotifyTree(HWND Wnd, UINT Code, UINT Action, TTvNode* Old, TTvNode* New) {
  NMTREEVIEW N;
  N.action = Action;
  N.itemOld.mask = N.itemNew.mask = TVIF_HANDLE | TVIF_STATE | TVIF_PARAM;
  if (Old != nullptr) {
    N.itemOld.hItem = HandleOf(Old);
    N.itemOld.state = Old->State;
    N.itemOld.lParam = Old->Param;
  }
  if (New != nullptr) {
    N.itemNew.hItem = HandleOf(New);
    N.itemNew.state = New->State;
    N.itemNew.lParam = New->Param;
  }
  return NotifyParent(Wnd, Code, &N.hdr);
}

bool Within(const TTvNode* N, const TTvNode* Ancestor) {
  for (; N != nullptr; N = N->Parent)
    if (N == Ancestor) return true;
  return false;
}

}  // namespace

bool ExpandNode(HWND Wnd, TTvNode* N, UINT Code) {
  TTreeViewData* D = TreeData(Wnd);
  if (D == nullptr || N == nullptr || !D->Live.count(N)) return false;
  const UINT Action = Code & TVE_TOGGLE;
  const bool Open = Action == TVE_TOGGLE ? !(N->State & TVIS_EXPANDED) : Action == TVE_EXPAND;
  if (Action == 0 || Open == static_cast<bool>(N->State & TVIS_EXPANDED)) return false;
  if (Open && !HasChildren(*N)) return false;
  if (NotifyTree(Wnd, TVN_ITEMEXPANDING, Open ? TVE_EXPAND : TVE_COLLAPSE, nullptr, N) != 0) return false;
  if ((D = TreeData(Wnd)) == nullptr || !D->Live.count(N)) return false;
  if (Open)
    N->State |= TVIS_EXPANDED | TVIS_EXPANDEDONCE;
  else
    N->State &= ~TVIS_EXPANDED;
  Changed(Wnd, *D);
  NotifyTree(Wnd, TVN_ITEMEXPANDED, Open ? TVE_EXPAND : TVE_COLLAPSE, nullptr, N);
  // The selection does not stay hidden inside a collapsed node.
  if (!Open && (D = TreeData(Wnd)) != nullptr && D->Live.count(N) && D->Selected != nullptr &&
      D->Selected != N && Within(D->Selected, N))
    SelectNode(Wnd, N, TVC_UNKNOWN);
  return true;
}

void SetNodeState(HWND Wnd, TTvNode* N, UINT State, UINT Mask) {
  TTreeViewData* D = TreeData(Wnd);
  if (D == nullptr || N == nullptr) return;
  if (Mask & TVIS_EXPANDED) {
    ExpandNode(Wnd, N, (State & TVIS_EXPANDED) ? TVE_EXPAND : TVE_COLLAPSE);
    Mask &= ~TVIS_EXPANDED;
    if ((D = TreeData(Wnd)) == nullptr || !D->Live.count(N)) return;
  }
  N->State = (N->State & ~Mask) | (State & Mask);
  InvalidateRect(Wnd, nullptr, TRUE);
}

bool SelectNode(HWND Wnd, TTvNode* N, UINT Cause) {
  TTreeViewData* D = TreeData(Wnd);
  if (D == nullptr) return false;
  if (N != nullptr && !D->Live.count(N)) return false;
  TTvNode* Old = D->Selected;
  if (Old == N) {
    if (N != nullptr) EnsureNodeVisible(Wnd, N);
    return true;
  }
  if (NotifyTree(Wnd, TVN_SELCHANGING, Cause, Old, N) != 0) return false;
  if ((D = TreeData(Wnd)) == nullptr || (N != nullptr && !D->Live.count(N))) return false;
  if (D->Live.count(Old)) Old->State &= ~TVIS_SELECTED;
  D->Selected = N;
  if (N != nullptr) N->State |= TVIS_SELECTED;
  InvalidateRect(Wnd, nullptr, TRUE);
  NotifyTree(Wnd, TVN_SELCHANGED, Cause, D->Live.count(Old) ? Old : nullptr, N);
  if (N != nullptr && (D = TreeData(Wnd)) != nullptr && D->Live.count(N)) EnsureNodeVisible(Wnd, N);
  return true;
}

// ---- Items ------------------------------------------------------------------------------------

namespace {

void TakeItem(TTvNode& N, const TVITEM& In) {
  if (In.mask & TVIF_TEXT) {
    N.TextWidth = -1;
    N.TextCallback = In.pszText == LPSTR_TEXTCALLBACK;
    N.Text = In.pszText != nullptr && !N.TextCallback ? In.pszText : "";
  }
  if (In.mask & TVIF_IMAGE) N.Image = In.iImage;
  if (In.mask & TVIF_SELECTEDIMAGE) N.SelectedImage = In.iSelectedImage;
  if (In.mask & TVIF_PARAM) N.Param = In.lParam;
  if (In.mask & TVIF_CHILDREN) N.ChildrenFlag = In.cChildren;
  if (In.mask & TVIF_STATE) {
    const UINT Mask = In.stateMask & ~(TVIS_SELECTED | TVIS_EXPANDED);
    N.State = (N.State & ~Mask) | (In.state & Mask);
  }
}

HTREEITEM InsertItem(HWND Wnd, TTreeViewData& D, const TVINSERTSTRUCT* In) {
  if (In == nullptr) return nullptr;
  TTvNode* Parent = &D.Root;
  if (In->hParent != nullptr && In->hParent != TVI_ROOT) {
    Parent = NodeOf(D, In->hParent);
    if (Parent == nullptr) return nullptr;
  }
  auto Node = std::make_unique<TTvNode>();
  TakeItem(*Node, In->item);
  if ((In->item.mask & TVIF_STATE) && (In->item.stateMask & In->item.state & TVIS_EXPANDED))
    Node->State |= TVIS_EXPANDED;
  Node->Parent = Parent;
  Node->Level = Parent == &D.Root ? 0 : Parent->Level + 1;
  auto& Kids = Parent->Children;
  std::size_t At = Kids.size();
  if (In->hInsertAfter == TVI_FIRST) {
    At = 0;
  } else if (In->hInsertAfter == TVI_SORT) {
    At = 0;
    while (At < Kids.size() && Kids[At]->Text <= Node->Text) ++At;
  } else if (In->hInsertAfter != TVI_LAST && In->hInsertAfter != nullptr) {
    for (std::size_t K = 0; K < Kids.size(); ++K)
      if (HandleOf(Kids[K].get()) == In->hInsertAfter) At = K + 1;
  }
  TTvNode* N = Node.get();
  Kids.insert(Kids.begin() + static_cast<std::ptrdiff_t>(At), std::move(Node));
  D.Live.insert(N);
  Changed(Wnd, D);
  return HandleOf(N);
}

void Forget(HWND Wnd, TTvNode* N) {
  for (auto& C : N->Children) Forget(Wnd, C.get());
  NotifyTree(Wnd, TVN_DELETEITEM, 0, N, nullptr);
  if (TTreeViewData* D = TreeData(Wnd)) {
    D->Live.erase(N);
    if (D->Selected == N) D->Selected = nullptr;
    if (D->DropHilite == N) D->DropHilite = nullptr;
  }
}

bool DeleteItem(HWND Wnd, TTreeViewData& D, HTREEITEM Item) {
  if (Item == nullptr || Item == TVI_ROOT) {
    for (auto& C : D.Root.Children) Forget(Wnd, C.get());
    TTreeViewData* Again = TreeData(Wnd);
    if (Again == nullptr) return false;
    Again->Root.Children.clear();
    Again->Selected = nullptr;
    Again->ScrollX = Again->ScrollY = 0;
    Changed(Wnd, *Again);
    return true;
  }
  TTvNode* N = NodeOf(D, Item);
  if (N == nullptr) return false;
  const bool HadSelection = D.Selected != nullptr && Within(D.Selected, N);
  TTvNode* Parent = N->Parent;
  // The selection moves to a neighbour (or the parent) before the item goes.
  if (HadSelection) {
    auto& Kids = Parent->Children;
    const auto It = std::find_if(Kids.begin(), Kids.end(), [N](const auto& K) { return K.get() == N; });
    TTvNode* Next = nullptr;
    if (It + 1 != Kids.end())
      Next = (It + 1)->get();
    else if (It != Kids.begin())
      Next = (It - 1)->get();
    else if (Parent != &D.Root)
      Next = Parent;
    SelectNode(Wnd, Next, TVC_UNKNOWN);
  }
  TTreeViewData* Again = TreeData(Wnd);
  if (Again == nullptr || !Again->Live.count(N)) return false;
  Forget(Wnd, N);
  if ((Again = TreeData(Wnd)) == nullptr) return false;
  auto& Kids = Parent->Children;
  Kids.erase(std::remove_if(Kids.begin(), Kids.end(), [N](const auto& K) { return K.get() == N; }),
             Kids.end());
  if (Parent != &Again->Root && Kids.empty() && Parent->ChildrenFlag == -2) Parent->State &= ~TVIS_EXPANDED;
  Changed(Wnd, *Again);
  return true;
}

bool GetItem(HWND Wnd, TTreeViewData& D, TVITEM* Out) {
  if (Out == nullptr) return false;
  TTvNode* N = NodeOf(D, Out->hItem);
  if (N == nullptr) return false;
  if (Out->mask & TVIF_TEXT) CopyItemText(NodeText(Wnd, N), Out->pszText, Out->cchTextMax);
  if ((D.Live.count(N)) == 0) return false;
  if (Out->mask & TVIF_IMAGE) Out->iImage = N->Image;
  if (Out->mask & TVIF_SELECTEDIMAGE) Out->iSelectedImage = N->SelectedImage;
  if (Out->mask & TVIF_PARAM) Out->lParam = N->Param;
  if (Out->mask & TVIF_STATE) Out->state = N->State & (Out->stateMask ? Out->stateMask : 0xFFFFFFFFu);
  if (Out->mask & TVIF_CHILDREN)
    Out->cChildren = N->ChildrenFlag == -2 ? (N->Children.empty() ? 0 : 1) : N->ChildrenFlag;
  return true;
}

bool SetItem(HWND Wnd, TTreeViewData& D, const TVITEM* In) {
  if (In == nullptr) return false;
  TTvNode* N = NodeOf(D, In->hItem);
  if (N == nullptr) return false;
  TakeItem(*N, *In);
  if (In->mask & TVIF_STATE) {
    if (In->stateMask & TVIS_SELECTED)
      SelectNode(Wnd, (In->state & TVIS_SELECTED) ? N : nullptr, TVC_UNKNOWN);
    if (TTreeViewData* Again = TreeData(Wnd);
        Again != nullptr && Again->Live.count(N) && (In->stateMask & TVIS_EXPANDED))
      ExpandNode(Wnd, N, (In->state & TVIS_EXPANDED) ? TVE_EXPAND : TVE_COLLAPSE);
  }
  if (TTreeViewData* Again = TreeData(Wnd)) Changed(Wnd, *Again);
  return true;
}

TTvNode* Sibling(TTvNode* N, Integer Step) {
  auto& Kids = N->Parent->Children;
  for (std::size_t K = 0; K < Kids.size(); ++K)
    if (Kids[K].get() == N) {
      const std::ptrdiff_t At = static_cast<std::ptrdiff_t>(K) + Step;
      return At >= 0 && At < static_cast<std::ptrdiff_t>(Kids.size()) ? Kids[At].get() : nullptr;
    }
  return nullptr;
}

TTvNode* NextItem(TTreeViewData& D, UINT Code, HTREEITEM Item) {
  TTvNode* N = NodeOf(D, Item);
  const auto& S = ShownNodes(D);
  switch (Code) {
    case TVGN_ROOT:
      return D.Root.Children.empty() ? nullptr : D.Root.Children.front().get();
    case TVGN_CARET:
      return D.Selected;
    case TVGN_DROPHILITE:
      return D.DropHilite;
    case TVGN_FIRSTVISIBLE:
      return D.ScrollY < static_cast<Integer>(S.size()) ? S[D.ScrollY] : nullptr;
    case TVGN_LASTVISIBLE:
      return S.empty() ? nullptr : S.back();
    case TVGN_CHILD:
      if (Item == nullptr || Item == TVI_ROOT)
        return D.Root.Children.empty() ? nullptr : D.Root.Children.front().get();
      return N != nullptr && !N->Children.empty() ? N->Children.front().get() : nullptr;
    default:
      break;
  }
  if (N == nullptr) return nullptr;
  switch (Code) {
    case TVGN_NEXT:
      return Sibling(N, 1);
    case TVGN_PREVIOUS:
      return Sibling(N, -1);
    case TVGN_PARENT:
      return N->Parent == &D.Root ? nullptr : N->Parent;
    case TVGN_NEXTVISIBLE:
    case TVGN_PREVIOUSVISIBLE: {
      const Integer Row = ShownIndex(D, N);
      if (Row < 0) return nullptr;
      const Integer To = Row + (Code == TVGN_NEXTVISIBLE ? 1 : -1);
      return To >= 0 && To < static_cast<Integer>(S.size()) ? S[To] : nullptr;
    }
    default:
      return nullptr;
  }
}

LRESULT TreeViewWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  TTreeViewData* D = TreeData(Wnd);
  if (D == nullptr) return 0;
  LRESULT Result = 0;
  if (Msg == WM_SETFONT) {
    HandleFontMessage(Wnd, *D, Msg, WParam, LParam, Result);
    D->LineHeight = 0;
    for (TTvNode* N : D->Live) N->TextWidth = -1;
    Changed(Wnd, *D);
    return 0;
  }
  if (HandleFontMessage(Wnd, *D, Msg, WParam, LParam, Result)) return Result;
  bool Handled = false;
  Result = TreeViewInput(Wnd, *D, Msg, WParam, LParam, Handled);
  if (Handled) return Result;
  if ((D = TreeData(Wnd)) == nullptr) return 0;
  switch (Msg) {
    case WM_CREATE:
      UpdateTreeScrolling(Wnd);
      return 0;
    case WM_PAINT:
    case WM_PRINTCLIENT:
      return PaintControl(Wnd, Msg, WParam, PaintTreeView);
    case WM_ERASEBKGND:
      return 1;
    case WM_SIZE:
    case WM_STYLECHANGED:
      Changed(Wnd, *D);
      return 0;
    case WM_DESTROY:
      DeleteItem(Wnd, *D, TVI_ROOT);
      return 0;
    case TVM_INSERTITEM:
      return reinterpret_cast<LRESULT>(InsertItem(Wnd, *D, reinterpret_cast<const TVINSERTSTRUCT*>(LParam)));
    case TVM_DELETEITEM:
      return DeleteItem(Wnd, *D, reinterpret_cast<HTREEITEM>(LParam)) ? TRUE : FALSE;
    case TVM_EXPAND:
      return ExpandNode(Wnd, NodeOf(*D, reinterpret_cast<HTREEITEM>(LParam)), static_cast<UINT>(WParam))
                 ? TRUE
                 : FALSE;
    case TVM_GETITEMRECT: {
      auto* R = reinterpret_cast<RECT*>(LParam);
      if (R == nullptr) return FALSE;
      HTREEITEM Item;
      std::memcpy(&Item, R, sizeof Item);  // the item's handle comes in the rectangle
      TTvNode* N = NodeOf(*D, Item);
      TRect Out;
      if (N == nullptr || !NodeRect(Wnd, *D, N, WParam != 0, Out)) return FALSE;
      *R = Out;
      return TRUE;
    }
    case TVM_GETCOUNT:
      return static_cast<LRESULT>(D->Live.size());
    case TVM_GETINDENT:
      return D->Indent;
    case TVM_SETINDENT:
      D->Indent = std::max(static_cast<Integer>(WParam), ImageListSize(D->Images).cx + 3);
      Changed(Wnd, *D);
      return 0;
    case TVM_GETIMAGELIST:
      return reinterpret_cast<LRESULT>(WParam == static_cast<WPARAM>(TVSIL_STATE) ? D->StateImages
                                                                                  : D->Images);
    case TVM_SETIMAGELIST: {
      HIMAGELIST& Slot = WParam == static_cast<WPARAM>(TVSIL_STATE) ? D->StateImages : D->Images;
      const HIMAGELIST Old = Slot;
      Slot = reinterpret_cast<HIMAGELIST>(LParam);
      D->Indent = std::max(D->Indent, ImageListSize(D->Images).cx + 3);
      Changed(Wnd, *D);
      return reinterpret_cast<LRESULT>(Old);
    }
    case TVM_GETNEXTITEM:
      return reinterpret_cast<LRESULT>(
          HandleOf(NextItem(*D, static_cast<UINT>(WParam), reinterpret_cast<HTREEITEM>(LParam))));
    case TVM_SELECTITEM: {
      TTvNode* N = NodeOf(*D, reinterpret_cast<HTREEITEM>(LParam));
      if (N == nullptr && LParam != 0) return FALSE;
      switch (WParam & 0xFF) {
        case TVGN_CARET:
          return SelectNode(Wnd, N, TVC_UNKNOWN) ? TRUE : FALSE;
        case TVGN_DROPHILITE:
          if (D->Live.count(D->DropHilite)) D->DropHilite->State &= ~TVIS_DROPHILITED;
          D->DropHilite = N;
          if (N != nullptr) N->State |= TVIS_DROPHILITED;
          InvalidateRect(Wnd, nullptr, TRUE);
          return TRUE;
        case TVGN_FIRSTVISIBLE: {
          if (N == nullptr) return FALSE;
          EnsureNodeVisible(Wnd, N);
          if ((D = TreeData(Wnd)) == nullptr) return FALSE;
          TreeScrollTo(Wnd, D->ScrollX, ShownIndex(*D, N));
          return TRUE;
        }
        default:
          return FALSE;
      }
    }
    case TVM_GETITEM:
      return GetItem(Wnd, *D, reinterpret_cast<TVITEM*>(LParam)) ? TRUE : FALSE;
    case TVM_SETITEM:
      return SetItem(Wnd, *D, reinterpret_cast<const TVITEM*>(LParam)) ? TRUE : FALSE;
    case TVM_GETITEMSTATE: {
      TTvNode* N = NodeOf(*D, reinterpret_cast<HTREEITEM>(WParam));
      return N != nullptr ? (N->State & static_cast<UINT>(LParam)) : 0;
    }
    case TVM_GETVISIBLECOUNT: {
      const TTvGeometry G = TreeGeometry(Wnd, *D);
      return G.Client.cy / G.RowHeight;
    }
    case TVM_HITTEST: {
      auto* H = reinterpret_cast<TVHITTESTINFO*>(LParam);
      if (H == nullptr) return 0;
      H->hItem = HandleOf(TreeHitTest(Wnd, *D, H->pt, H->flags));
      return reinterpret_cast<LRESULT>(H->hItem);
    }
    case TVM_ENSUREVISIBLE: {
      TTvNode* N = NodeOf(*D, reinterpret_cast<HTREEITEM>(LParam));
      if (N == nullptr) return FALSE;
      EnsureNodeVisible(Wnd, N);
      return TRUE;
    }
    case TVM_SORTCHILDREN: {
      TTvNode* N = LParam == 0 || reinterpret_cast<HTREEITEM>(LParam) == TVI_ROOT
                       ? &D->Root
                       : NodeOf(*D, reinterpret_cast<HTREEITEM>(LParam));
      if (N == nullptr) return FALSE;
      std::stable_sort(N->Children.begin(), N->Children.end(),
                       [](const auto& A, const auto& B) { return A->Text < B->Text; });
      Changed(Wnd, *D);
      return TRUE;
    }
    case TVM_EDITLABEL:
    case TVM_GETEDITCONTROL:
      return 0;
    case TVM_ENDEDITLABELNOW:
      return FALSE;
    case TVM_SETITEMHEIGHT: {
      const Integer Old = TreeGeometry(Wnd, *D).RowHeight;
      D->ItemHeight =
          static_cast<Integer>(static_cast<std::intptr_t>(WParam)) > 0 ? static_cast<Integer>(WParam) : 0;
      Changed(Wnd, *D);
      return Old;
    }
    case TVM_GETITEMHEIGHT:
      return TreeGeometry(Wnd, *D).RowHeight;
    case TVM_SETBKCOLOR:
    case TVM_SETTEXTCOLOR:
    case TVM_SETLINECOLOR: {
      COLORREF& Slot = Msg == TVM_SETBKCOLOR     ? D->BkColor
                       : Msg == TVM_SETTEXTCOLOR ? D->TextColor
                                                 : D->LineColor;
      const COLORREF Old = Slot;
      Slot = static_cast<COLORREF>(LParam) == CLR_NONE ? CLR_DEFAULT : static_cast<COLORREF>(LParam);
      InvalidateRect(Wnd, nullptr, TRUE);
      return static_cast<LRESULT>(Old == CLR_DEFAULT ? static_cast<COLORREF>(-1) : Old);
    }
    case TVM_GETBKCOLOR:
      return static_cast<LRESULT>(D->BkColor == CLR_DEFAULT ? static_cast<COLORREF>(-1) : D->BkColor);
    case TVM_GETTEXTCOLOR:
      return static_cast<LRESULT>(D->TextColor == CLR_DEFAULT ? static_cast<COLORREF>(-1) : D->TextColor);
    case TVM_GETLINECOLOR:
      return static_cast<LRESULT>(D->LineColor == CLR_DEFAULT ? GetSysColor(COLOR_GRAYTEXT) : D->LineColor);
    default:
      return DefWindowProc(Wnd, Msg, WParam, LParam);
  }
}

}  // namespace

void RegisterTreeViewClass() {
  RegisterControlClass(WC_TREEVIEW, TreeViewWndProc, CS_DBLCLKS, -1);
}
