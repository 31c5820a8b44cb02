// TCustomForm's focus bookkeeping: the active control, the focused control and the
// CM_ACTIVATE / CM_DEACTIVATE / CM_EXIT / CM_ENTER notifications of a focus change, the
// platform's order.
#include <algorithm>

#include "platform/classes/Application.h"
#include "platform/classes/Forms.h"
#include "platform/classes/Screen.h"
#include "platform/classes/UserBridge.h"
#include "platform/system/ScopeExit.h"
#include "platform/user/WindowMessages.h"
#include "platform/user/Windows.h"

Integer FocusCount = 0;

namespace {

// Sends a focus notification; false when another focus change happened meanwhile.
bool SendFocusMessage(HWND Window, UINT Msg) {
  const Integer Count = FocusCount;
  SendMessage(Window, Msg, 0, 0);
  return FocusCount == Count;
}

template <class T>
void MoveToFront(std::vector<T*>& List, T* Item) {
  List.erase(std::remove(List.begin(), List.end(), Item), List.end());
  List.insert(List.begin(), Item);
}

}  // namespace

bool TCustomForm::SetFocusedControl(TWinControl* Control) {
  ++FocusCount;
  FActiveControl = Control != static_cast<TWinControl*>(this) ? Control : nullptr;
  // Focus coming into a document window that is not the active one makes it the active one.
  if (FFormStyle == fsMDIChild && !FActive && FHandle != nullptr && ::GetParent(FHandle) != nullptr)
    SendMessage(::GetParent(FHandle), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(FHandle), 0);
  if (Screen != nullptr) {
    Screen->FActiveControl = Control;
    Screen->FActiveCustomForm = this;
    MoveToFront(Screen->FCustomForms, static_cast<TCustomForm*>(this));
    if (auto* Form = dynamic_cast<TForm*>(this)) {
      Screen->FActiveForm = Form;
      MoveToFront(Screen->FForms, Form);
    } else {
      Screen->FActiveForm = nullptr;
    }
  }
  if (Control->GetControlState().Contains(csFocusing)) return false;
  Control->SetControlState(Control->GetControlState() + TControlState{csFocusing});
  auto Unmark = ScopeExit(
      [Control] { Control->SetControlState(Control->GetControlState() - TControlState{csFocusing}); });
  if (Screen != nullptr && Screen->FFocusedForm != this) {
    if (Screen->FFocusedForm != nullptr) {
      const HWND FocusHandle = Screen->FFocusedForm->GetHandle();
      Screen->FFocusedForm = nullptr;
      if (!SendFocusMessage(FocusHandle, CM_DEACTIVATE)) return false;
    }
    Screen->FFocusedForm = this;
    if (!SendFocusMessage(GetHandle(), CM_ACTIVATE)) return false;
  }
  if (FFocusedControl == nullptr) FFocusedControl = this;
  if (FFocusedControl != Control) {
    while (FFocusedControl != nullptr && !FFocusedControl->ContainsControl(Control)) {
      const HWND FocusHandle = FFocusedControl->GetHandle();
      FFocusedControl = FFocusedControl->GetParent();
      if (!SendFocusMessage(FocusHandle, CM_EXIT)) return false;
    }
    while (FFocusedControl != Control) {
      TWinControl* Temp = Control;
      while (Temp->GetParent() != FFocusedControl) Temp = Temp->GetParent();
      FFocusedControl = Temp;
      if (!SendFocusMessage(Temp->GetHandle(), CM_ENTER)) return false;
    }
    for (TWinControl* P = Control->GetParent(); P != nullptr; P = P->GetParent())
      if (auto* Scrolling = dynamic_cast<TScrollingWinControl*>(P)) Scrolling->AutoScrollInView(Control);
    Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(Control));
  }
  if (Screen != nullptr) Screen->UpdateLastActive();
  return true;
}

void TCustomForm::DefocusControl(TWinControl* Control, bool Removing) {
  if (Removing && Control->ContainsControl(FFocusedControl)) FFocusedControl = Control->GetParent();
  if (Control->ContainsControl(FActiveControl)) SetActiveControl(nullptr);
}

void TCustomForm::SetActiveControl(TWinControl* Control) {
  if (FActiveControl == Control) return;
  const bool Allowed =
      Control == nullptr || (Control != static_cast<TWinControl*>(this) && GetParentForm(Control) == this &&
                             (GetComponentState().Contains(csLoading) || Control->CanFocus()));
  if (!Allowed) throw EInvalidOperation("Cannot focus a disabled or invisible window");
  FActiveControl = Control;
  if (!GetComponentState().Contains(csLoading)) {
    if (FActive) SetWindowFocus();
    if (Screen != nullptr) Screen->UpdateLastActive();
  }
}

void TCustomForm::FocusControl(TWinControl* Control) {
  const bool WasActive = FActive;
  SetActiveControl(Control);
  if (!WasActive) SetFocus();
}

void TCustomForm::SetFocus() {
  if (FActive) return;
  if (!FVisible || !GetEnabled()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
  SetWindowFocus();
}

void TCustomForm::SetWindowFocus() {
  TWinControl* FocusControl = FActiveControl != nullptr ? FActiveControl : this;
  ::SetFocus(FocusControl->GetHandle());
  if (::GetFocus() == FocusControl->GetHandle()) FocusControl->SelectFirst();
}

void TCustomForm::SetActive(bool Value) {
  FActive = Value;
  if (!Value) return;
  if (FActiveControl == nullptr) FActiveControl = FindNextControl(nullptr, true, true, false);
  SetWindowFocus();
}

void TCustomForm::WMActivate(TMessage& Message) {
  if (FFormStyle != fsMDIForm) SetActive(LOWORD(Message.WParam) != WA_INACTIVE);
}

void TCustomForm::CMActivate(TMessage&) {
  if (GetComponentState().Contains(csReading))
    FFormState.Include(fsActivated);
  else
    Activate();
}

void TCustomForm::CMDeactivate(TMessage&) {
  if (!GetComponentState().Contains(csReading)) Deactivate();
}

void TCustomForm::Activate() {
  if (OnActivate) OnActivate(this);
}

void TCustomForm::Deactivate() {
  if (OnDeactivate) OnDeactivate(this);
}

void TCustomForm::CMDialogKey(TMessage& Message) {
  if (GetKeyState(VK_MENU) >= 0) {
    switch (static_cast<Word>(Message.WParam)) {
      case VK_TAB:
        if (GetKeyState(VK_CONTROL) >= 0) {
          SelectNext(FActiveControl, GetKeyState(VK_SHIFT) >= 0, true);
          Message.Result = 1;
          return;
        }
        break;
      case VK_LEFT:
      case VK_RIGHT:
      case VK_UP:
      case VK_DOWN:
        if (FActiveControl != nullptr && FActiveControl->GetParent() != nullptr) {
          const Word Key = static_cast<Word>(Message.WParam);
          FActiveControl->GetParent()->SelectNext(FActiveControl, Key == VK_RIGHT || Key == VK_DOWN, false);
          Message.Result = 1;
        }
        return;
      default:
        break;
    }
  }
  TScrollingWinControl::CMDialogKey(Message);
}
