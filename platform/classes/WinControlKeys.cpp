// TWinControl's focus, tab order and keyboard handling. Keys reach a control twice: first as
// CN_KEYDOWN / CN_CHAR from the application's loop (menu short-cuts, CM_CHILDKEY, and the
// dialog keys Tab, arrows, Enter and Escape going to the form as CM_DIALOGKEY unless the
// control wants them), then as WM_KEYDOWN / WM_CHAR, which fire OnKeyDown / OnKeyPress /
// OnKeyUp (the form's first when its KeyPreview is on).
#include <algorithm>

#include "platform/classes/Application.h"
#include "platform/classes/Controls.h"
#include "platform/classes/Forms.h"
#include "platform/classes/Menus.h"
#include "platform/classes/UserBridge.h"
#include "platform/user/WindowMessages.h"

// ---- Tab order ------------------------------------------------------------------------------

Integer TWinControl::GetTabOrder() const {
  if (FParent == nullptr) return -1;
  const auto& List = FParent->FTabList;
  auto It = std::find(List.begin(), List.end(), this);
  return It == List.end() ? -1 : static_cast<Integer>(It - List.begin());
}

void TWinControl::UpdateTabOrder(Integer Value) {
  const Integer Current = GetTabOrder();
  if (Current < 0) return;
  auto& List = FParent->FTabList;
  Value = std::clamp(Value, 0, static_cast<Integer>(List.size()) - 1);
  if (Value == Current) return;
  List.erase(List.begin() + Current);
  List.insert(List.begin() + Value, this);
}

void TWinControl::SetTabOrder(Integer Value) {
  UpdateTabOrder(Value);
}

void TWinControl::SetTabStop(bool Value) {
  if (FTabStop == Value) return;
  FTabStop = Value;
  Perform(CM_TABSTOPCHANGED, 0, 0);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& List) {
  for (TWinControl* Control : FTabList) {
    List.push_back(Control);
    Control->GetTabOrderList(List);
  }
}

TWinControl* TWinControl::FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop,
                                          bool CheckParent) {
  std::vector<TWinControl*> List;
  GetTabOrderList(List);
  if (List.empty()) return nullptr;
  const auto Count = static_cast<Integer>(List.size());
  auto It = std::find(List.begin(), List.end(), CurControl);
  Integer StartIndex =
      It == List.end() ? (GoForward ? Count - 1 : 0) : static_cast<Integer>(It - List.begin());
  Integer I = StartIndex;
  do {
    if (GoForward) {
      if (++I == Count) I = 0;
    } else {
      if (I == 0) I = Count;
      --I;
    }
    TWinControl* C = List[static_cast<std::size_t>(I)];
    if (C->CanFocus() && (!CheckTabStop || C->FTabStop) && (!CheckParent || C->FParent == this)) return C;
  } while (I != StartIndex);
  return nullptr;
}

void TWinControl::SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop) {
  if (TWinControl* Next = FindNextControl(CurControl, GoForward, CheckTabStop, !CheckTabStop))
    Next->SetFocus();
}

void TWinControl::SelectFirst() {
  TCustomForm* Form = GetParentForm(this);
  if (Form == nullptr) return;
  TWinControl* Control = FindNextControl(nullptr, true, true, false);
  if (Control == nullptr) Control = FindNextControl(nullptr, true, false, false);
  if (Control != nullptr) Form->SetActiveControl(Control);
}

// ---- Focus ----------------------------------------------------------------------------------

bool TWinControl::CanFocus() {
  TCustomForm* Form = GetParentForm(this);
  if (Form == nullptr) return false;
  for (TWinControl* Control = this; Control != Form; Control = Control->FParent)
    if (!Control->FVisible || !Control->GetEnabled()) return false;
  return true;
}

bool TWinControl::Focused() {
  return FHandle != nullptr && ::GetFocus() == FHandle;
}

void TWinControl::SetFocus() {
  if (TCustomForm* Form = GetParentForm(this))
    Form->FocusControl(this);
  else if (FParentWindow != nullptr)
    ::SetFocus(GetHandle());
  else
    ValidParentForm(this);
}

void TWinControl::RemoveFocus(bool Removing) {
  if (TCustomForm* Form = GetParentForm(this)) Form->DefocusControl(this, Removing);
}

void TWinControl::DoEnter() {
  if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
  if (OnExit) OnExit(this);
}

void TWinControl::WMSetFocus(TMessage& Message) {
  DefaultHandler(Message);
}
void TWinControl::WMKillFocus(TMessage& Message) {
  DefaultHandler(Message);
}

// ---- Key events -----------------------------------------------------------------------------

void TWinControl::KeyDown(Word& Key, TShiftState Shift) {
  if (OnKeyDown) OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyUp(Word& Key, TShiftState Shift) {
  if (OnKeyUp) OnKeyUp(this, Key, Shift);
}

void TWinControl::KeyPress(char& Key) {
  if (OnKeyPress) OnKeyPress(this, Key);
}

bool TWinControl::DoKeyDown(TMessage& Message) {
  TCustomForm* Form = GetParentForm(this);
  if (Form != nullptr && Form != static_cast<TWinControl*>(this) && Form->GetKeyPreview() &&
      Form->DoKeyDown(Message))
    return true;
  if (!FControlStyle.Contains(csNoStdEvents)) {
    Word Key = static_cast<Word>(Message.WParam);
    KeyDown(Key, KeyDataToShiftState(static_cast<Integer>(Message.LParam)));
    Message.WParam = Key;
    if (Key == 0) return true;
  }
  return false;
}

bool TWinControl::DoKeyUp(TMessage& Message) {
  TCustomForm* Form = GetParentForm(this);
  if (Form != nullptr && Form != static_cast<TWinControl*>(this) && Form->GetKeyPreview() &&
      Form->DoKeyUp(Message))
    return true;
  if (!FControlStyle.Contains(csNoStdEvents)) {
    Word Key = static_cast<Word>(Message.WParam);
    KeyUp(Key, KeyDataToShiftState(static_cast<Integer>(Message.LParam)));
    Message.WParam = Key;
    if (Key == 0) return true;
  }
  return false;
}

namespace {

// WM_CHAR brings UTF-16 units; KeyPress sees the UTF-8 bytes of the character, one at a time
// (the high surrogate of a pair waits for the low one).
char16_t PendingHighSurrogate = 0;

std::string CharBytes(WPARAM Unit) {
  char32_t C = static_cast<char32_t>(Unit & 0xFFFF);
  if (C >= 0xD800 && C < 0xDC00) {
    PendingHighSurrogate = static_cast<char16_t>(C);
    return {};
  }
  if (C >= 0xDC00 && C < 0xE000) {
    if (PendingHighSurrogate == 0) return {};
    C = 0x10000 + ((static_cast<char32_t>(PendingHighSurrogate) - 0xD800) << 10) + (C - 0xDC00);
  }
  PendingHighSurrogate = 0;
  std::string S;
  if (C < 0x80) {
    S += static_cast<char>(C);
  } else if (C < 0x800) {
    S += static_cast<char>(0xC0 | (C >> 6));
    S += static_cast<char>(0x80 | (C & 0x3F));
  } else if (C < 0x10000) {
    S += static_cast<char>(0xE0 | (C >> 12));
    S += static_cast<char>(0x80 | ((C >> 6) & 0x3F));
    S += static_cast<char>(0x80 | (C & 0x3F));
  } else {
    S += static_cast<char>(0xF0 | (C >> 18));
    S += static_cast<char>(0x80 | ((C >> 12) & 0x3F));
    S += static_cast<char>(0x80 | ((C >> 6) & 0x3F));
    S += static_cast<char>(0x80 | (C & 0x3F));
  }
  return S;
}

}  // namespace

bool TWinControl::DoKeyPress(TMessage& Message) {
  TCustomForm* Form = GetParentForm(this);
  if (Form != nullptr && Form != static_cast<TWinControl*>(this) && Form->GetKeyPreview() &&
      Form->DoKeyPress(Message))
    return true;
  if (FControlStyle.Contains(csNoStdEvents)) return false;
  if (Message.WParam < 0x80) {
    char Key = static_cast<char>(Message.WParam);
    KeyPress(Key);
    Message.WParam = static_cast<unsigned char>(Key);
    return Key == 0;
  }
  bool Eaten = false;
  for (char Byte : CharBytes(Message.WParam)) {
    char Key = Byte;
    KeyPress(Key);
    if (Key == 0) Eaten = true;
  }
  return Eaten;
}

void TWinControl::WMKeyDown(TMessage& Message) {
  if (!DoKeyDown(Message)) DefaultHandler(Message);
}

void TWinControl::WMSysKeyDown(TMessage& Message) {
  if (!DoKeyDown(Message)) DefaultHandler(Message);
}

void TWinControl::WMKeyUp(TMessage& Message) {
  if (!DoKeyUp(Message)) DefaultHandler(Message);
}

void TWinControl::WMSysKeyUp(TMessage& Message) {
  if (!DoKeyUp(Message)) DefaultHandler(Message);
}

void TWinControl::WMChar(TMessage& Message) {
  if (!DoKeyPress(Message)) DefaultHandler(Message);
}

// ---- The application's pass ------------------------------------------------------------------

bool TWinControl::IsMenuKey(TMessage& Message) {
  TWMKey Key = KeyMessage(Message);
  for (TWinControl* Control = this; Control != nullptr; Control = Control->FParent) {
    TPopupMenu* Menu = Control->GetPopupMenu();
    if (Menu != nullptr && Menu->GetWindowHandle() != nullptr && Menu->IsShortCut(Key)) return true;
  }
  TCustomForm* Form = GetParentForm(this);
  if (Form != nullptr && Form->IsShortCut(Key)) return true;
  if (Application != nullptr && Application->GetHandle() != nullptr &&
      SendMessage(Application->GetHandle(), CM_APPKEYDOWN, Message.WParam, Message.LParam) != 0)
    return true;
  return false;
}

void TWinControl::CNKeyDown(TMessage& Message) {
  Message.Result = 1;
  if (IsMenuKey(Message)) return;
  if (Perform(CM_CHILDKEY, Message.WParam, reinterpret_cast<LPARAM>(this)) != 0) return;
  LRESULT Mask = 0;
  switch (static_cast<Word>(Message.WParam)) {
    case VK_TAB:
      Mask = DLGC_WANTTAB;
      break;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
      Mask = DLGC_WANTARROWS;
      break;
    case VK_RETURN:
    case VK_EXECUTE:
    case VK_ESCAPE:
    case VK_CANCEL:
      Mask = DLGC_WANTALLKEYS;
      break;
    default:
      break;
  }
  if (Mask != 0 && Perform(CM_WANTSPECIALKEY, Message.WParam, 0) == 0 &&
      (Perform(WM_GETDLGCODE, 0, 0) & Mask) == 0) {
    TCustomForm* Form = GetParentForm(this);
    if (Form != nullptr && Form->Perform(CM_DIALOGKEY, Message.WParam, Message.LParam) != 0) return;
  }
  Message.Result = 0;
}

void TWinControl::CNKeyUp(TMessage& Message) {
  Message.Result = 0;
}

void TWinControl::CNChar(TMessage& Message) {
  Message.Result = 1;
  if ((Perform(WM_GETDLGCODE, 0, 0) & DLGC_WANTCHARS) == 0) {
    TCustomForm* Form = GetParentForm(this);
    if (Form != nullptr && Form->Perform(CM_DIALOGCHAR, Message.WParam, Message.LParam) != 0) return;
  }
  Message.Result = 0;
}

void TWinControl::CNSysKeyDown(TMessage& Message) {
  Message.Result = 1;
  if (IsMenuKey(Message)) return;
  Message.Result = 0;
}

void TWinControl::CNSysChar(TMessage& Message) {
  Message.Result = 0;
  if (static_cast<Word>(Message.WParam) == VK_SPACE) return;
  if (TCustomForm* Form = GetParentForm(this))
    Message.Result = Form->Perform(CM_DIALOGCHAR, Message.WParam, Message.LParam);
}

void TWinControl::CMChildKey(TMessage& Message) {
  // A container may take its children's keys: the question goes up the parents.
  if (FParent != nullptr) Message.Result = FParent->Perform(CM_CHILDKEY, Message.WParam, Message.LParam);
}
