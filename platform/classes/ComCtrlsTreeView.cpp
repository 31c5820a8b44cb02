// TCustomTreeView over the native tree view: nodes kept in the class and given to the window.
#include <algorithm>
#include <cstring>

#include "platform/classes/Application.h"
#include "platform/classes/ComCtrls.h"
#include "platform/classes/ImgList.h"
#include "platform/system/Exceptions.h"
#include "platform/system/Format.h"
#include "platform/system/ListTypes.h"
#include "platform/user/ControlMessages.h"
#include "platform/user/WindowMessages.h"

namespace {

TCustomDrawState DrawStateOf(UINT ItemState) {
  TCustomDrawState S;
  if (ItemState & CDIS_SELECTED) S.Include(cdsSelected);
  if (ItemState & CDIS_FOCUS) S.Include(cdsFocused);
  if (ItemState & CDIS_HOT) S.Include(cdsHot);
  return S;
}

}  // namespace

// ---- TTreeNode --------------------------------------------------------------------------------

TTreeNode::TTreeNode(TTreeNodes* Owner, TTreeNode* Parent) : FOwner(Owner), FParent(Parent) {}
TTreeNode::~TTreeNode() = default;

TCustomTreeView* TTreeNode::GetTreeView() const {
  return FOwner->GetOwner();
}

namespace {

HWND TreeHandle(const TTreeNode* N) {
  TCustomTreeView* V = N->GetTreeView();
  return V != nullptr && V->HandleAllocated() && N->GetItemId() != nullptr ? V->GetWindowHandle() : nullptr;
}

void SetNative(const TTreeNode* N, TVITEM Item) {
  if (HWND W = TreeHandle(N)) {
    Item.mask |= TVIF_HANDLE;
    Item.hItem = N->GetItemId();
    SendMessage(W, TVM_SETITEM, 0, reinterpret_cast<LPARAM>(&Item));
  }
}

}  // namespace

void TTreeNode::SetText(const std::string& Value) {
  FText = Value;
  TVITEM It;
  It.mask = TVIF_TEXT;
  It.pszText = const_cast<char*>(FText.c_str());
  SetNative(this, It);
}

void TTreeNode::SetImageIndex(Integer Value) {
  FImageIndex = Value;
  TVITEM It;
  It.mask = TVIF_IMAGE;
  It.iImage = Value;
  SetNative(this, It);
}

void TTreeNode::SetSelectedIndex(Integer Value) {
  FSelectedIndex = Value;
  TVITEM It;
  It.mask = TVIF_SELECTEDIMAGE;
  It.iSelectedImage = Value;
  SetNative(this, It);
}

void TTreeNode::SetStateIndex(Integer Value) {
  FStateIndex = Value;
  TVITEM It;
  It.mask = TVIF_STATE;
  It.stateMask = TVIS_STATEIMAGEMASK;
  It.state = INDEXTOSTATEIMAGEMASK(static_cast<UINT>(std::max(0, Value)));
  SetNative(this, It);
}

Integer TTreeNode::GetLevel() const {
  Integer L = 0;
  for (const TTreeNode* P = FParent; P != nullptr; P = P->FParent) ++L;
  return L;
}

Integer TTreeNode::GetIndex() const {
  const auto& Siblings = FParent != nullptr ? FParent->FChildren : FOwner->FRoots;
  for (std::size_t I = 0; I < Siblings.size(); ++I)
    if (Siblings[I].get() == this) return static_cast<Integer>(I);
  return -1;
}

TTreeNode* TTreeNode::GetItem(Integer Index) const {
  if (Index < 0 || Index >= GetCount()) throw EListError(Format(SListIndexError, {Index}));
  return FChildren[Index].get();
}

bool TTreeNode::GetHasChildren() const {
  return FHasChildren || !FChildren.empty();
}

void TTreeNode::SetHasChildren(bool Value) {
  FHasChildren = Value;
  TVITEM It;
  It.mask = TVIF_CHILDREN;
  It.cChildren = Value || !FChildren.empty() ? 1 : 0;
  SetNative(this, It);
}

bool TTreeNode::GetExpanded() const {
  if (HWND W = TreeHandle(this))
    return SendMessage(W, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(FItemId), TVIS_EXPANDED) != 0;
  return FExpanded;
}

void TTreeNode::SetExpanded(bool Value) {
  FExpanded = Value;
  if (HWND W = TreeHandle(this))
    SendMessage(W, TVM_EXPAND, Value ? TVE_EXPAND : TVE_COLLAPSE, reinterpret_cast<LPARAM>(FItemId));
}

void TTreeNode::Expand(bool Recurse) {
  SetExpanded(true);
  if (Recurse)
    for (auto& C : FChildren) C->Expand(true);
}

void TTreeNode::Collapse(bool Recurse) {
  SetExpanded(false);
  if (Recurse)
    for (auto& C : FChildren) C->Collapse(true);
}

bool TTreeNode::GetSelected() const {
  return GetTreeView()->GetSelected() == this;
}

void TTreeNode::SetSelected(bool Value) {
  if (Value)
    GetTreeView()->SetSelected(this);
  else if (GetSelected())
    GetTreeView()->SetSelected(nullptr);
}

TTreeNode* TTreeNode::GetNextSibling() const {
  const auto& Siblings = FParent != nullptr ? FParent->FChildren : FOwner->FRoots;
  const Integer I = GetIndex();
  return I + 1 < static_cast<Integer>(Siblings.size()) ? Siblings[I + 1].get() : nullptr;
}

TTreeNode* TTreeNode::GetPrevSibling() const {
  const auto& Siblings = FParent != nullptr ? FParent->FChildren : FOwner->FRoots;
  const Integer I = GetIndex();
  return I > 0 ? Siblings[I - 1].get() : nullptr;
}

TTreeNode* TTreeNode::GetNext() const {
  if (!FChildren.empty()) return FChildren.front().get();
  for (const TTreeNode* N = this; N != nullptr; N = N->FParent)
    if (TTreeNode* S = N->GetNextSibling()) return S;
  return nullptr;
}

bool TTreeNode::IsVisible() const {
  for (const TTreeNode* P = FParent; P != nullptr; P = P->FParent)
    if (!P->GetExpanded()) return false;
  return true;
}

TTreeNode* TTreeNode::GetNextVisible() const {
  if (!IsVisible()) return nullptr;
  if (!FChildren.empty() && GetExpanded()) return FChildren.front().get();
  for (const TTreeNode* N = this; N != nullptr; N = N->FParent)
    if (TTreeNode* S = N->GetNextSibling()) return S;
  return nullptr;
}

TRect TTreeNode::DisplayRect(bool TextOnly) const {
  HWND W = TreeHandle(this);
  if (W == nullptr) return {};
  RECT R{};
  std::memcpy(static_cast<void*>(&R), &FItemId, sizeof FItemId);  // the item goes in the rectangle
  if (!SendMessage(W, TVM_GETITEMRECT, TextOnly, reinterpret_cast<LPARAM>(&R))) return {};
  return R;
}

void TTreeNode::MakeVisible() {
  if (HWND W = TreeHandle(this)) SendMessage(W, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(FItemId));
}

void TTreeNode::Delete() {
  FOwner->Delete(this);
}

// Gives the node and its children to the window, after After among its siblings.
void TTreeNode::Push(HWND Tree, HTREEITEM After) {
  TVINSERTSTRUCT In;
  In.hParent = FParent != nullptr ? FParent->FItemId : TVI_ROOT;
  In.hInsertAfter = After;
  In.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_STATE | TVIF_CHILDREN;
  In.item.pszText = const_cast<char*>(FText.c_str());
  In.item.iImage = FImageIndex;
  In.item.iSelectedImage = FSelectedIndex;
  In.item.lParam = reinterpret_cast<LPARAM>(this);
  In.item.stateMask = TVIS_STATEIMAGEMASK;
  In.item.state = INDEXTOSTATEIMAGEMASK(static_cast<UINT>(std::max(0, FStateIndex)));
  In.item.cChildren = 1;
  if (!FHasChildren) In.item.mask &= ~TVIF_CHILDREN;  // the window counts the children
  FItemId = reinterpret_cast<HTREEITEM>(SendMessage(Tree, TVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&In)));
  for (auto& C : FChildren) C->Push(Tree, TVI_LAST);
  if (FExpanded) SendMessage(Tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(FItemId));
}

// ---- TTreeNodes -------------------------------------------------------------------------------

TTreeNodes::TTreeNodes(TCustomTreeView* Owner) : FOwner(Owner) {}
TTreeNodes::~TTreeNodes() = default;

TTreeNode* TTreeNodes::Insert(TTreeNode* Parent, bool First, const std::string& S) {
  auto Node = std::make_unique<TTreeNode>(this, Parent);
  Node->FText = S;
  TTreeNode* Made = Node.get();
  auto& Siblings = SiblingsOf(Parent);
  Siblings.insert(First ? Siblings.begin() : Siblings.end(), std::move(Node));
  if (FOwner->HandleAllocated() && (Parent == nullptr || Parent->FItemId != nullptr))
    Made->Push(FOwner->GetWindowHandle(), First ? TVI_FIRST : TVI_LAST);
  return Made;
}

TTreeNode* TTreeNodes::Add(TTreeNode* Sibling, const std::string& S) {
  return Insert(Sibling != nullptr ? Sibling->FParent : nullptr, false, S);
}

TTreeNode* TTreeNodes::AddFirst(TTreeNode* Sibling, const std::string& S) {
  return Insert(Sibling != nullptr ? Sibling->FParent : nullptr, true, S);
}

TTreeNode* TTreeNodes::AddChild(TTreeNode* Parent, const std::string& S) {
  return Insert(Parent, false, S);
}

TTreeNode* TTreeNodes::AddChildFirst(TTreeNode* Parent, const std::string& S) {
  return Insert(Parent, true, S);
}

void TTreeNodes::Delete(TTreeNode* Node) {
  if (Node == nullptr) return;
  if (FOwner->HandleAllocated() && Node->FItemId != nullptr)
    FOwner->Perform(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(Node->FItemId));
  for (TTreeNode* N = FOwner->FSelected; N != nullptr; N = N->FParent)
    if (N == Node) FOwner->FSelected = nullptr;
  auto& Siblings = SiblingsOf(Node->FParent);
  Siblings.erase(
      std::remove_if(Siblings.begin(), Siblings.end(), [Node](const auto& K) { return K.get() == Node; }),
      Siblings.end());
}

void TTreeNodes::Clear() {
  if (FOwner->HandleAllocated()) FOwner->Perform(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
  FOwner->FSelected = nullptr;
  FRoots.clear();
}

Integer TTreeNodes::GetCount() const {
  Integer N = 0;
  for (TTreeNode* Node = GetFirstNode(); Node != nullptr; Node = Node->GetNext()) ++N;
  return N;
}

TTreeNode* TTreeNodes::GetItem(Integer Index) const {
  Integer I = 0;
  for (TTreeNode* Node = GetFirstNode(); Node != nullptr; Node = Node->GetNext(), ++I)
    if (I == Index) return Node;
  throw EListError(Format(SListIndexError, {Index}));
}

// ---- TCustomTreeView --------------------------------------------------------------------------

TCustomTreeView::TCustomTreeView(TComponent* AOwner)
    : TWinControl(AOwner),
      FItems(std::make_unique<TTreeNodes>(this)),
      FCanvas(std::make_unique<TControlCanvas>()) {
  FCanvas->SetControl(this);
  FControlStyle = TControlStyle{csDoubleClicks, csOpaque};
  SetBounds(0, 0, 121, 97);
  SetTabStop(true);
  SetColor(clWindow);
}

TCustomTreeView::~TCustomTreeView() {
  FDestroying = true;
  Destroying();
}

void TCustomTreeView::Dispatch(TMessage& Message) {
  if (Message.Msg == CN_NOTIFY) {
    CNNotify(Message);
    return;
  }
  TWinControl::Dispatch(Message);
}

void TCustomTreeView::CreateParams(TCreateParams& Params) {
  InitNativeControls();
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, WC_TREEVIEW);
  Params.Style |= WS_BORDER;
  if (FShowLines) Params.Style |= TVS_HASLINES;
  if (FShowButtons) Params.Style |= TVS_HASBUTTONS;
  if (FShowRoot) Params.Style |= TVS_LINESATROOT;
  if (!FHideSelection) Params.Style |= TVS_SHOWSELALWAYS;
  if (FRowSelect) Params.Style |= TVS_FULLROWSELECT;
  if (GetTabStop()) Params.Style |= WS_TABSTOP;
  Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TCustomTreeView::CreateWnd() {
  TWinControl::CreateWnd();
  Perform(TVM_SETBKCOLOR, 0, static_cast<LPARAM>(ColorToRGB(GetColor())));
  if (FImages != nullptr)
    Perform(TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(FImages->GetHandle()));
  if (FStateImages != nullptr)
    Perform(TVM_SETIMAGELIST, TVSIL_STATE, reinterpret_cast<LPARAM>(FStateImages->GetHandle()));
  Perform(TVM_SETINDENT, static_cast<WPARAM>(FIndent), 0);
  PushNodes();
}

void TCustomTreeView::PushNodes() {
  for (auto& N : FItems->FRoots) N->Push(GetWindowHandle(), TVI_LAST);
  if (FSelected != nullptr) Perform(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(FSelected->FItemId));
}

void TCustomTreeView::DestroyWnd() {
  // The nodes stay; their expansion is kept for the next window.
  for (TTreeNode* N = FItems->GetFirstNode(); N != nullptr; N = N->GetNext()) {
    N->FExpanded = N->GetExpanded();
  }
  FSelected = GetSelected();
  for (TTreeNode* N = FItems->GetFirstNode(); N != nullptr; N = N->GetNext()) N->FItemId = nullptr;
  TWinControl::DestroyWnd();
}

TTreeNode* TCustomTreeView::NodeFromItem(HTREEITEM Item) const {
  for (TTreeNode* N = FItems->GetFirstNode(); N != nullptr; N = N->GetNext())
    if (Item != nullptr && N->FItemId == Item) return N;
  return nullptr;
}

TTreeNode* TCustomTreeView::GetSelected() {
  if (!HandleAllocated()) return FSelected;
  return NodeFromItem(reinterpret_cast<HTREEITEM>(Perform(TVM_GETNEXTITEM, TVGN_CARET, 0)));
}

void TCustomTreeView::SetSelected(TTreeNode* Value) {
  FSelected = Value;
  if (HandleAllocated())
    Perform(TVM_SELECTITEM, TVGN_CARET,
            reinterpret_cast<LPARAM>(Value != nullptr ? Value->FItemId : nullptr));
}

TTreeNode* TCustomTreeView::GetTopItem() {
  if (!HandleAllocated()) return FItems->GetFirstNode();
  return NodeFromItem(reinterpret_cast<HTREEITEM>(Perform(TVM_GETNEXTITEM, TVGN_FIRSTVISIBLE, 0)));
}

Integer TCustomTreeView::GetIndent() {
  return HandleAllocated() ? static_cast<Integer>(Perform(TVM_GETINDENT, 0, 0)) : FIndent;
}

void TCustomTreeView::SetIndent(Integer Value) {
  FIndent = Value;
  if (HandleAllocated()) Perform(TVM_SETINDENT, static_cast<WPARAM>(Value), 0);
}

void TCustomTreeView::SetShowLines(bool Value) {
  if (FShowLines == Value) return;
  FShowLines = Value;
  RecreateWnd();
}

void TCustomTreeView::SetShowButtons(bool Value) {
  if (FShowButtons == Value) return;
  FShowButtons = Value;
  RecreateWnd();
}

void TCustomTreeView::SetShowRoot(bool Value) {
  if (FShowRoot == Value) return;
  FShowRoot = Value;
  RecreateWnd();
}

void TCustomTreeView::SetHideSelection(bool Value) {
  if (FHideSelection == Value) return;
  FHideSelection = Value;
  RecreateWnd();
}

void TCustomTreeView::SetRowSelect(bool Value) {
  if (FRowSelect == Value) return;
  FRowSelect = Value;
  RecreateWnd();
}

void TCustomTreeView::SetImages(TCustomImageList* Value) {
  if (FImages != nullptr) FImages->RemoveFreeNotification(this);
  FImages = Value;
  if (FImages != nullptr) FImages->FreeNotification(this);
  if (HandleAllocated())
    Perform(TVM_SETIMAGELIST, TVSIL_NORMAL,
            reinterpret_cast<LPARAM>(Value != nullptr ? Value->GetHandle() : nullptr));
}

void TCustomTreeView::SetStateImages(TCustomImageList* Value) {
  if (FStateImages != nullptr) FStateImages->RemoveFreeNotification(this);
  FStateImages = Value;
  if (FStateImages != nullptr) FStateImages->FreeNotification(this);
  if (HandleAllocated())
    Perform(TVM_SETIMAGELIST, TVSIL_STATE,
            reinterpret_cast<LPARAM>(Value != nullptr ? Value->GetHandle() : nullptr));
}

void TCustomTreeView::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FImages) SetImages(nullptr);
  if (AComponent == FStateImages) SetStateImages(nullptr);
}

Integer TCustomTreeView::GetVisibleCount() {
  return HandleAllocated() ? static_cast<Integer>(Perform(TVM_GETVISIBLECOUNT, 0, 0)) : 0;
}

TTreeNode* TCustomTreeView::GetNodeAt(Integer X, Integer Y) {
  if (!HandleAllocated()) return nullptr;
  TVHITTESTINFO Hit;
  Hit.pt = {X, Y};
  Perform(TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&Hit));
  return (Hit.flags & (TVHT_ONITEM | TVHT_ONITEMBUTTON | TVHT_ONITEMINDENT | TVHT_ONITEMRIGHT))
             ? NodeFromItem(Hit.hItem)
             : nullptr;
}

void TCustomTreeView::FullExpand() {
  for (auto& N : FItems->FRoots) N->Expand(true);
}

void TCustomTreeView::FullCollapse() {
  for (auto& N : FItems->FRoots) N->Collapse(true);
}

void TCustomTreeView::Change(TTreeNode* Node) {
  if (OnChange) OnChange(this, Node);
}

bool TCustomTreeView::CanChange(TTreeNode* Node) {
  bool Allow = true;
  if (OnChanging) OnChanging(this, Node, Allow);
  return Allow;
}

bool TCustomTreeView::CanExpand(TTreeNode* Node) {
  bool Allow = true;
  if (OnExpanding) OnExpanding(this, Node, Allow);
  return Allow;
}

bool TCustomTreeView::CanCollapse(TTreeNode* Node) {
  bool Allow = true;
  if (OnCollapsing) OnCollapsing(this, Node, Allow);
  return Allow;
}

bool TCustomTreeView::CustomDrawItem(TTreeNode* Node, TCustomDrawState State, TCustomDrawStage Stage,
                                     bool& PaintImages) {
  bool DefaultDraw = true;
  if (Stage == cdPrePaint && OnCustomDrawItem) OnCustomDrawItem(this, Node, State, DefaultDraw);
  if (OnAdvancedCustomDrawItem) OnAdvancedCustomDrawItem(this, Node, State, Stage, PaintImages, DefaultDraw);
  return DefaultDraw;
}

void TCustomTreeView::CNNotify(TMessage& Message) {
  auto* H = reinterpret_cast<NMHDR*>(Message.LParam);
  Message.Result = 0;
  if (H == nullptr || FDestroying) return;
  auto* T = reinterpret_cast<NMTREEVIEW*>(Message.LParam);
  switch (H->code) {
    case TVN_SELCHANGING:
      Message.Result = CanChange(NodeFromItem(T->itemNew.hItem)) ? 0 : 1;
      break;
    case TVN_SELCHANGED:
      FSelected = NodeFromItem(T->itemNew.hItem);
      Change(FSelected);
      break;
    case TVN_ITEMEXPANDING: {
      TTreeNode* N = NodeFromItem(T->itemNew.hItem);
      const bool Allow = T->action == TVE_EXPAND ? CanExpand(N) : CanCollapse(N);
      Message.Result = Allow ? 0 : 1;
      break;
    }
    case TVN_ITEMEXPANDED: {
      TTreeNode* N = NodeFromItem(T->itemNew.hItem);
      if (N != nullptr) N->FExpanded = T->action == TVE_EXPAND;
      if (T->action == TVE_EXPAND && OnExpanded) OnExpanded(this, N);
      if (T->action == TVE_COLLAPSE && OnCollapsed) OnCollapsed(this, N);
      break;
    }
    case NM_CUSTOMDRAW: {
      auto* CD = reinterpret_cast<NMTVCUSTOMDRAW*>(Message.LParam);
      const bool Wanted = OnCustomDrawItem || OnAdvancedCustomDrawItem;
      if (CD->nmcd.dwDrawStage == CDDS_PREPAINT) {
        Message.Result = Wanted ? CDRF_NOTIFYITEMDRAW : CDRF_DODEFAULT;
      } else if (CD->nmcd.dwDrawStage == CDDS_ITEMPREPAINT && Wanted) {
        FCanvas->SetHandle(CD->nmcd.hdc);
        bool PaintImages = true;
        const bool Default = CustomDrawItem(NodeFromItem(reinterpret_cast<HTREEITEM>(CD->nmcd.dwItemSpec)),
                                            DrawStateOf(CD->nmcd.uItemState), cdPrePaint, PaintImages);
        FCanvas->SetHandle(nullptr);
        Message.Result = Default ? CDRF_DODEFAULT : CDRF_SKIPDEFAULT;
      }
      break;
    }
    default:
      break;
  }
}
