// TCustomComboBox over the native COMBOBOX control.
#include <algorithm>

#include "platform/classes/StdCtrls.h"
#include "platform/gdi/Text.h"
#include "platform/user/ControlMessages.h"
#include "platform/user/WindowMessages.h"
#include "platform/user/Windows.h"

namespace {

const TNativeListMessages ComboBoxMessages{CB_ADDSTRING,    CB_INSERTSTRING, CB_DELETESTRING,
                                           CB_RESETCONTENT, CB_GETCOUNT,     CB_GETLBTEXT,
                                           CB_GETLBTEXTLEN, CB_GETITEMDATA,  CB_SETITEMDATA};

}  // namespace

TCustomComboBox::TCustomComboBox(TComponent* AOwner) : TWinControl(AOwner) {
  FControlStyle = TControlStyle{csCaptureMouse, csSetCaption, csDoubleClicks, csFixedHeight};
  SetBounds(0, 0, 145, 21);
  SetTabStop(true);
  SetParentColor(false);
  SetColor(clWindow);
  FItems = std::make_unique<TNativeListStrings>(this, ComboBoxMessages);
  FCanvas = std::make_unique<TControlCanvas>();
  FCanvas->SetControl(this);
}

TCustomComboBox::~TCustomComboBox() {
  Destroying();
  if (HandleAllocated()) DestroyHandle();
}

void TCustomComboBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_COMMAND:
      CNCommand(Message);
      break;
    case CN_DRAWITEM:
      CNDrawItem(Message);
      break;
    case CN_MEASUREITEM:
      CNMeasureItem(Message);
      break;
    case WM_GETDLGCODE:
      DefaultHandler(Message);
      break;
    default:
      TWinControl::Dispatch(Message);
      break;
  }
}

void TCustomComboBox::CreateParams(TCreateParams& Params) {
  InitNativeControls();
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, "COMBOBOX");
  // No WS_VSCROLL: the window's own list has its scroll bar, and the style on the combo would
  // give the combo a window scroll bar of its own.
  Params.Style |= CBS_HASSTRINGS | CBS_AUTOHSCROLL;
  if (GetTabStop()) Params.Style |= WS_TABSTOP;
  switch (FStyle) {
    case csDropDown:
      Params.Style |= CBS_DROPDOWN;
      break;
    case csSimple:
      Params.Style |= CBS_SIMPLE;
      break;
    case csDropDownList:
      Params.Style |= CBS_DROPDOWNLIST;
      break;
    case csOwnerDrawFixed:
      Params.Style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED;
      break;
    case csOwnerDrawVariable:
      Params.Style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE;
      break;
  }
  if (FItems->GetSorted()) Params.Style |= CBS_SORT;
  Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TCustomComboBox::CreateHandle() {
  const bool Had = HandleAllocated();
  // The window takes the text as its caption; kept here to put it back after the items.
  const std::string SavedText = FText;
  TWinControl::CreateHandle();
  if (Had || !HandleAllocated()) return;
  const HWND Wnd = GetWindowHandle();
  SendMessage(Wnd, CB_SETMINVISIBLE, static_cast<WPARAM>(FDropDownCount), 0);
  if (FMaxLength > 0) SendMessage(Wnd, CB_LIMITTEXT, static_cast<WPARAM>(FMaxLength), 0);
  if (FStyle == csOwnerDrawFixed || FStyle == csOwnerDrawVariable) {
    SendMessage(Wnd, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), FItemHeight);
    if (FStyle == csOwnerDrawFixed) SendMessage(Wnd, CB_SETITEMHEIGHT, 0, FItemHeight);
  }
  FItems->RestoreToWindow();
  const Integer Index = FItemIndex;
  FItemIndex = -1;
  if (Index >= 0) SendMessage(Wnd, CB_SETCURSEL, static_cast<WPARAM>(Index), 0);
  if (HasEdit() && GetWindowTextString(Wnd) != SavedText) SetWindowText(Wnd, SavedText.c_str());
  UpdateBounds();
}

void TCustomComboBox::DestroyWnd() {
  FItemIndex = GetItemIndex();
  FItems->SaveFromWindow();
  TWinControl::DestroyWnd();
}

void TCustomComboBox::Clear() {
  SetText("");
  FItems->Clear();
  FItemIndex = -1;
}

Integer TCustomComboBox::GetItemIndex() {
  if (!HandleAllocated()) return FItemIndex;
  return static_cast<Integer>(SendMessage(GetWindowHandle(), CB_GETCURSEL, 0, 0));
}

void TCustomComboBox::SetItemIndex(Integer Value) {
  if (!HandleAllocated()) {
    FItemIndex = Value;
    if (Value >= 0 && Value < FItems->GetCount()) FText = FItems->GetStrings(Value);
    return;
  }
  if (GetItemIndex() != Value) SendMessage(GetWindowHandle(), CB_SETCURSEL, static_cast<WPARAM>(Value), 0);
}

void TCustomComboBox::SetStyle(TComboBoxStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  RecreateWnd();
}

void TCustomComboBox::SetDropDownCount(Integer Value) {
  FDropDownCount = std::max(1, Value);
  if (HandleAllocated())
    SendMessage(GetWindowHandle(), CB_SETMINVISIBLE, static_cast<WPARAM>(FDropDownCount), 0);
}

bool TCustomComboBox::GetDroppedDown() {
  return HandleAllocated() && SendMessage(GetWindowHandle(), CB_GETDROPPEDSTATE, 0, 0) != 0;
}

void TCustomComboBox::SetDroppedDown(bool Value) {
  HandleNeeded();
  SendMessage(GetWindowHandle(), CB_SHOWDROPDOWN, Value ? TRUE : FALSE, 0);
}

void TCustomComboBox::SetMaxLength(Integer Value) {
  FMaxLength = std::max(0, Value);
  if (HandleAllocated()) SendMessage(GetWindowHandle(), CB_LIMITTEXT, static_cast<WPARAM>(FMaxLength), 0);
}

void TCustomComboBox::SetSorted(bool Value) {
  if (FItems->GetSorted() == Value) return;
  FItems->SetSorted(Value);
  if (HandleAllocated()) {
    RecreateWnd();
  } else if (Value) {
    TStringList Sorted;
    Sorted.Assign(FItems.get());
    Sorted.Sort();
    FItems->Assign(&Sorted);
  }
}

Integer TCustomComboBox::GetItemHeight() {
  if (HandleAllocated() && FStyle != csOwnerDrawFixed && FStyle != csOwnerDrawVariable)
    return static_cast<Integer>(SendMessage(GetWindowHandle(), CB_GETITEMHEIGHT, 0, 0));
  return FItemHeight;
}

void TCustomComboBox::SetItemHeight(Integer Value) {
  if (Value <= 0 || FItemHeight == Value) return;
  FItemHeight = Value;
  if (FStyle == csOwnerDrawFixed || FStyle == csOwnerDrawVariable) RecreateWnd();
}

Integer TCustomComboBox::GetSelStart() {
  if (!HandleAllocated()) return 0;
  DWORD Start = 0, End = 0;
  SendMessage(GetWindowHandle(), CB_GETEDITSEL, reinterpret_cast<WPARAM>(&Start),
              reinterpret_cast<LPARAM>(&End));
  return static_cast<Integer>(Start);
}

void TCustomComboBox::SetSelStart(Integer Value) {
  HandleNeeded();
  SendMessage(GetWindowHandle(), CB_SETEDITSEL, 0, MAKELPARAM(Value, Value));
}

Integer TCustomComboBox::GetSelLength() {
  if (!HandleAllocated()) return 0;
  DWORD Start = 0, End = 0;
  SendMessage(GetWindowHandle(), CB_GETEDITSEL, reinterpret_cast<WPARAM>(&Start),
              reinterpret_cast<LPARAM>(&End));
  return static_cast<Integer>(End - Start);
}

void TCustomComboBox::SetSelLength(Integer Value) {
  HandleNeeded();
  const Integer Start = GetSelStart();
  SendMessage(GetWindowHandle(), CB_SETEDITSEL, 0, MAKELPARAM(Start, Start + Value));
}

void TCustomComboBox::SelectAll() {
  if (HandleAllocated()) SendMessage(GetWindowHandle(), CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
}

void TCustomComboBox::CNCommand(TMessage& Message) {
  switch (HIWORD(Message.WParam)) {
    case CBN_DBLCLK:
      DblClick();
      break;
    case CBN_EDITCHANGE:
      Change();
      break;
    case CBN_DROPDOWN:
      DropDown();
      break;
    case CBN_SELCHANGE: {
      // The edit shows the picked item before the handlers run.
      const Integer Index = GetItemIndex();
      if (HasEdit() && Index >= 0 && Index < FItems->GetCount()) SetText(FItems->GetStrings(Index));
      Click();
      Change();
      Select();
      break;
    }
    case CBN_CLOSEUP:
      CloseUp();
      break;
    default:
      break;
  }
}

void TCustomComboBox::Change() {
  TControl::Changed();
  if (OnChange) OnChange(this);
}

void TCustomComboBox::Select() {
  if (OnSelect) OnSelect(this);
}

void TCustomComboBox::DropDown() {
  if (OnDropDown) OnDropDown(this);
}

void TCustomComboBox::CloseUp() {
  if (OnCloseUp) OnCloseUp(this);
}

void TCustomComboBox::DrawItem(Integer Index, TRect Rect, TOwnerDrawState State) {
  if (OnDrawItem) {
    OnDrawItem(this, Index, Rect, State);
    return;
  }
  FCanvas->FillRect(Rect);
  if (Index >= 0 && Index < FItems->GetCount()) {
    const std::string Text = FItems->GetStrings(Index);
    Rect.Left += 2;
    DrawText(FCanvas->GetHandle(), Text.c_str(), static_cast<Integer>(Text.size()), &Rect,
             DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  }
}

void TCustomComboBox::MeasureItem(Integer Index, Integer& Height) {
  if (OnMeasureItem) OnMeasureItem(this, Index, Height);
}

void TCustomComboBox::CNDrawItem(TMessage& Message) {
  DrawOwnerItem(FCanvas.get(), this, *reinterpret_cast<const DRAWITEMSTRUCT*>(Message.LParam),
                [this](Integer Index, TRect Rect, TOwnerDrawState State) { DrawItem(Index, Rect, State); });
  Message.Result = TRUE;
}

void TCustomComboBox::CNMeasureItem(TMessage& Message) {
  auto* Item = reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam);
  Integer Height = FItemHeight;
  if (FStyle == csOwnerDrawVariable) MeasureItem(static_cast<Integer>(Item->itemID), Height);
  Item->itemHeight = static_cast<UINT>(std::max(1, Height));
  Message.Result = TRUE;
}
