// TCustomTabControl over the native tab control; TPageControl and its TTabSheet pages.
#include <algorithm>

#include "platform/classes/Application.h"
#include "platform/classes/ComCtrls.h"
#include "platform/classes/ImgList.h"
#include "platform/user/CommonControls.h"
#include "platform/user/ControlMessages.h"
#include "platform/user/WindowMessages.h"

namespace {

HIMAGELIST ImageListHandle(TCustomImageList* Images) {
  return Images != nullptr ? Images->GetHandle() : nullptr;
}

}  // namespace

// ---- TCustomTabControl ------------------------------------------------------------------------

TCustomTabControl::TCustomTabControl(TComponent* AOwner) : TWinControl(AOwner) {
  FControlStyle = TControlStyle{csDoubleClicks, csOpaque};
  SetBounds(0, 0, 289, 193);
  SetTabStop(true);
}

void TCustomTabControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_NOTIFY:
      CNNotify(Message);
      break;
    case WM_GETDLGCODE:
      // The arrows move between the tabs.
      DefaultHandler(Message);
      Message.Result |= DLGC_WANTARROWS;
      break;
    default:
      TWinControl::Dispatch(Message);
      break;
  }
}

void TCustomTabControl::CreateParams(TCreateParams& Params) {
  InitNativeControls();
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, WC_TABCONTROL);
  // The pages are children: the tabs paint around them.
  Params.Style |= WS_CLIPCHILDREN;
  if (GetTabStop()) Params.Style |= WS_TABSTOP;
  if (FMultiLine) Params.Style |= TCS_MULTILINE;
  if (FStyle == tsButtons)
    Params.Style |= TCS_BUTTONS;
  else if (FStyle == tsFlatButtons)
    Params.Style |= TCS_BUTTONS | TCS_FLATBUTTONS;
  switch (FTabPosition) {
    case tpTop:
      break;
    case tpBottom:
      Params.Style |= TCS_BOTTOM;
      break;
    case tpLeft:
      Params.Style |= TCS_VERTICAL;
      break;
    case tpRight:
      Params.Style |= TCS_VERTICAL | TCS_RIGHT;
      break;
  }
  if (FTabWidth > 0) Params.Style |= TCS_FIXEDWIDTH;
  Params.WindowClass.style = (Params.WindowClass.style & ~(CS_HREDRAW | CS_VREDRAW)) | CS_DBLCLKS;
}

void TCustomTabControl::CreateHandle() {
  const bool Had = HandleAllocated();
  TWinControl::CreateHandle();
  if (Had || !HandleAllocated()) return;
  if (FTabWidth > 0 || FTabHeight > 0)
    SendMessage(GetWindowHandle(), TCM_SETITEMSIZE, 0, MAKELPARAM(FTabWidth, FTabHeight));
  if (FImages != nullptr)
    SendMessage(GetWindowHandle(), TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(ImageListHandle(FImages)));
  UpdateTabs();
  Realign();
}

void TCustomTabControl::UpdateTabSize() {
  if (!HandleAllocated()) return;
  SendMessage(GetWindowHandle(), TCM_SETITEMSIZE, 0, MAKELPARAM(FTabWidth, FTabHeight));
  Realign();
  Invalidate();
}

void TCustomTabControl::SetMultiLine(bool Value) {
  if (FMultiLine == Value) return;
  FMultiLine = Value;
  RecreateWnd();
}

void TCustomTabControl::SetTabPosition(TTabPosition Value) {
  if (FTabPosition == Value) return;
  FTabPosition = Value;
  RecreateWnd();
}

void TCustomTabControl::SetStyle(TTabStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  RecreateWnd();
}

void TCustomTabControl::SetTabHeight(Integer Value) {
  if (Value < 0 || FTabHeight == Value) return;
  FTabHeight = Value;
  UpdateTabSize();
}

void TCustomTabControl::SetTabWidth(Integer Value) {
  if (Value < 0 || FTabWidth == Value) return;
  const bool Fixed = (FTabWidth > 0) != (Value > 0);
  FTabWidth = Value;
  if (Fixed)
    RecreateWnd();
  else
    UpdateTabSize();
}

Integer TCustomTabControl::GetTabIndex() {
  if (!HandleAllocated()) return FTabIndex;
  return static_cast<Integer>(SendMessage(GetWindowHandle(), TCM_GETCURSEL, 0, 0));
}

void TCustomTabControl::SetTabIndex(Integer Value) {
  FTabIndex = Value;
  if (HandleAllocated()) SendMessage(GetWindowHandle(), TCM_SETCURSEL, static_cast<WPARAM>(Value), 0);
}

TRect TCustomTabControl::GetDisplayRect() {
  TRect R = GetClientRect();
  if (HandleAllocated()) SendMessage(GetWindowHandle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&R));
  return R;
}

void TCustomTabControl::AdjustClientRect(TRect& Rect) {
  Rect = GetDisplayRect();
  TWinControl::AdjustClientRect(Rect);
}

void TCustomTabControl::SetImages(TCustomImageList* Value) {
  if (FImages == Value) return;
  if (FImages != nullptr) FImages->RemoveFreeNotification(this);
  FImages = Value;
  if (Value != nullptr) Value->FreeNotification(this);
  if (!HandleAllocated()) return;
  SendMessage(GetWindowHandle(), TCM_SETIMAGELIST, 0,
              reinterpret_cast<LPARAM>(Value != nullptr ? ImageListHandle(Value) : nullptr));
  Realign();
  Invalidate();
}

void TCustomTabControl::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImages) SetImages(nullptr);
}

Integer TCustomTabControl::IndexOfTabAt(Integer X, Integer Y) {
  if (!HandleAllocated()) return -1;
  TCHITTESTINFO Info;
  Info.pt = {X, Y};
  return static_cast<Integer>(
      SendMessage(GetWindowHandle(), TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&Info)));
}

TRect TCustomTabControl::TabRect(Integer Index) {
  RECT R{0, 0, 0, 0};
  if (HandleAllocated())
    SendMessage(GetWindowHandle(), TCM_GETITEMRECT, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&R));
  return R;
}

bool TCustomTabControl::CanChange() {
  bool Allow = true;
  if (OnChanging) OnChanging(this, Allow);
  return Allow;
}

void TCustomTabControl::Change() {
  if (OnChange) OnChange(this);
}

void TCustomTabControl::CNNotify(TMessage& Message) {
  const auto* Header = reinterpret_cast<const NMHDR*>(Message.LParam);
  Message.Result = 0;
  if (Header == nullptr) return;
  if (Header->code == TCN_SELCHANGING)
    Message.Result = CanChange() ? 0 : 1;
  else if (Header->code == TCN_SELCHANGE)
    Change();
}

// ---- TTabSheet --------------------------------------------------------------------------------

TTabSheet::TTabSheet(TComponent* AOwner) : TWinControl(AOwner) {
  FControlStyle.Include(csAcceptsControls);
  SetAlign(alClient);
  SetVisible(false);
}

TTabSheet::~TTabSheet() {
  Destroying();
  if (FPageControl != nullptr) FPageControl->RemovePage(this);
}

void TTabSheet::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_TEXTCHANGED:
      CMTextChanged(Message);
      break;
    case CM_SHOWINGCHANGED:
      CMShowingChanged(Message);
      break;
    default:
      TWinControl::Dispatch(Message);
      break;
  }
}

void TTabSheet::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TTabSheet::SetPageControl(TPageControl* Value) {
  if (FPageControl == Value) return;
  if (FPageControl != nullptr) FPageControl->RemovePage(this);
  TWinControl::SetParent(Value);
  if (Value != nullptr) Value->InsertPage(this);
}

void TTabSheet::SetParent(TWinControl* AParent) {
  auto* Pages = dynamic_cast<TPageControl*>(AParent);
  if (Pages != nullptr || (AParent == nullptr && FPageControl != nullptr))
    SetPageControl(Pages);
  else
    TWinControl::SetParent(AParent);
}

Integer TTabSheet::GetPageIndex() {
  if (FPageControl == nullptr) return -1;
  const auto& Pages = FPageControl->FPages;
  return static_cast<Integer>(std::find(Pages.begin(), Pages.end(), this) - Pages.begin());
}

void TTabSheet::SetPageIndex(Integer Value) {
  if (FPageControl != nullptr) FPageControl->MovePage(this, Value);
}

Integer TTabSheet::GetTabIndex() {
  if (FPageControl == nullptr || !FTabVisible) return -1;
  Integer Index = 0;
  for (TTabSheet* P : FPageControl->FPages) {
    if (P == this) return Index;
    if (P->FTabVisible) ++Index;
  }
  return -1;
}

void TTabSheet::SetTabVisible(bool Value) {
  if (FTabVisible == Value) return;
  FTabVisible = Value;
  if (FPageControl != nullptr) FPageControl->UpdateTabs();
}

void TTabSheet::SetImageIndex(Integer Value) {
  if (FImageIndex == Value) return;
  FImageIndex = Value;
  if (FPageControl != nullptr) FPageControl->UpdateTabs();
}

void TTabSheet::SetHighlighted(bool Value) {
  if (FHighlighted == Value) return;
  FHighlighted = Value;
  if (FPageControl != nullptr) FPageControl->UpdateTabs();
}

void TTabSheet::DoShow() {
  if (OnShow) OnShow(this);
}

void TTabSheet::DoHide() {
  if (OnHide) OnHide(this);
}

void TTabSheet::CMTextChanged(TMessage&) {
  if (FPageControl != nullptr) FPageControl->UpdateTabs();
}

void TTabSheet::CMShowingChanged(TMessage& Message) {
  TWinControl::Dispatch(Message);
  try {
    if (GetShowing())
      DoShow();
    else
      DoHide();
  } catch (...) {
    if (Application != nullptr) Application->HandleException(this);
  }
}

// ---- TPageControl -----------------------------------------------------------------------------

TPageControl::TPageControl(TComponent* AOwner) : TCustomTabControl(AOwner) {}

TPageControl::~TPageControl() {
  Destroying();
  // The pages stay children until the window control deletes them; they leave no tabs behind.
  for (TTabSheet* P : FPages) P->FPageControl = nullptr;
  FPages.clear();
  FActivePage = nullptr;
}

TTabSheet* TPageControl::GetPage(Integer Index) const {
  if (Index < 0 || Index >= GetPageCount())
    throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
  return FPages[static_cast<std::size_t>(Index)];
}

void TPageControl::UpdateTabs() {
  if (!HandleAllocated()) return;
  const HWND Wnd = GetWindowHandle();
  SendMessage(Wnd, TCM_DELETEALLITEMS, 0, 0);
  Integer Index = 0;
  for (TTabSheet* P : FPages) {
    if (!P->FTabVisible) continue;
    std::string Caption = P->GetText();
    TCITEM Item;
    Item.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_PARAM | TCIF_STATE;
    Item.pszText = Caption.data();
    Item.iImage = P->FImageIndex;
    Item.lParam = reinterpret_cast<LPARAM>(P);
    Item.dwStateMask = TCIS_HIGHLIGHTED;
    Item.dwState = P->FHighlighted ? TCIS_HIGHLIGHTED : 0;
    SendMessage(Wnd, TCM_INSERTITEM, static_cast<WPARAM>(Index++), reinterpret_cast<LPARAM>(&Item));
  }
  SetTabIndex(FActivePage != nullptr ? FActivePage->GetTabIndex() : -1);
  // Rows of tabs may have come or gone.
  Realign();
}

void TPageControl::InsertPage(TTabSheet* Page) {
  FPages.push_back(Page);
  Page->FPageControl = this;
  UpdateTabs();
  // A page control shows a page as soon as it has one.
  if (FActivePage == nullptr && !GetComponentState().Contains(csLoading)) SetActivePage(Page);
}

void TPageControl::RemovePage(TTabSheet* Page) {
  TTabSheet* Next = FindNextPage(Page, true, true);
  if (Next == Page) Next = nullptr;
  auto It = std::find(FPages.begin(), FPages.end(), Page);
  if (It == FPages.end()) return;
  FPages.erase(It);
  Page->FPageControl = nullptr;
  if (FActivePage == Page) {
    FActivePage = nullptr;
    UpdateTabs();
    SetActivePage(Next);
  } else {
    UpdateTabs();
  }
}

void TPageControl::MovePage(TTabSheet* Page, Integer NewIndex) {
  auto It = std::find(FPages.begin(), FPages.end(), Page);
  if (It == FPages.end()) return;
  FPages.erase(It);
  NewIndex = std::clamp(NewIndex, 0, static_cast<Integer>(FPages.size()));
  FPages.insert(FPages.begin() + NewIndex, Page);
  UpdateTabs();
}

void TPageControl::ChangeActivePage(TTabSheet* Page) {
  if (FActivePage == Page) return;
  TCustomForm* Form = GetParentForm(this);
  // The focus inside the page that goes moves out of it first; a refusal keeps the page.
  if (Form != nullptr && FActivePage != nullptr && FActivePage->ContainsControl(Form->GetActiveControl())) {
    Form->SetActiveControl(FActivePage);
    if (Form->GetActiveControl() != FActivePage) {
      SetTabIndex(FActivePage->GetTabIndex());
      return;
    }
  }
  if (Page != nullptr) {
    Page->BringToFront();
    Page->SetVisible(true);
    if (Form != nullptr && FActivePage != nullptr && Form->GetActiveControl() == FActivePage)
      Form->SetActiveControl(Page->CanFocus() ? static_cast<TWinControl*>(Page) : this);
  }
  if (FActivePage != nullptr) FActivePage->SetVisible(false);
  FActivePage = Page;
  if (Form != nullptr && FActivePage != nullptr && Form->GetActiveControl() == FActivePage)
    FActivePage->SelectFirst();
}

void TPageControl::SetActivePage(TTabSheet* Page) {
  if (Page != nullptr && Page->FPageControl != this) return;
  ChangeActivePage(Page);
  if (Page == nullptr)
    SetTabIndex(-1);
  else if (Page == FActivePage)
    SetTabIndex(Page->GetTabIndex());
}

Integer TPageControl::GetActivePageIndex() const {
  auto It = std::find(FPages.begin(), FPages.end(), FActivePage);
  return It == FPages.end() ? -1 : static_cast<Integer>(It - FPages.begin());
}

void TPageControl::SetActivePageIndex(Integer Value) {
  if (Value >= 0 && Value < GetPageCount())
    SetActivePage(FPages[static_cast<std::size_t>(Value)]);
  else
    SetActivePage(nullptr);
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* CurPage, bool GoForward, bool CheckTabVisible) {
  const auto Count = static_cast<Integer>(FPages.size());
  if (Count == 0) return nullptr;
  auto It = std::find(FPages.begin(), FPages.end(), CurPage);
  Integer Start =
      It == FPages.end() ? (GoForward ? Count - 1 : 0) : static_cast<Integer>(It - FPages.begin());
  Integer I = Start;
  do {
    I = GoForward ? (I + 1) % Count : (I + Count - 1) % Count;
    TTabSheet* P = FPages[static_cast<std::size_t>(I)];
    if (!CheckTabVisible || P->FTabVisible) return P;
  } while (I != Start);
  return nullptr;
}

void TPageControl::SelectNextPage(bool GoForward, bool CheckTabVisible) {
  TTabSheet* Page = FindNextPage(FActivePage, GoForward, CheckTabVisible);
  if (Page == nullptr || Page == FActivePage || !CanChange()) return;
  SetTabIndex(Page->GetTabIndex());
  Change();
}

void TPageControl::UpdateActivePage() {
  const Integer Index = GetTabIndex();
  TTabSheet* Page = nullptr;
  if (Index >= 0)
    for (TTabSheet* P : FPages)
      if (P->GetTabIndex() == Index) Page = P;
  SetActivePage(Page);
}

void TPageControl::Change() {
  UpdateActivePage();
  TCustomTabControl::Change();
}

void TPageControl::Loaded() {
  TCustomTabControl::Loaded();
  UpdateTabs();
  if (FActivePage == nullptr && !FPages.empty()) SetActivePage(FPages.front());
}

void TPageControl::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomTabControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FActivePage) FActivePage = nullptr;
}
