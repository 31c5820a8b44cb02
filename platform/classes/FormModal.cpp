// Closing forms and showing them modally.
#include <algorithm>
#include <vector>

#include "platform/classes/Application.h"
#include "platform/classes/Forms.h"
#include "platform/classes/Screen.h"
#include "platform/classes/UserBridge.h"
#include "platform/system/ScopeExit.h"
#include "platform/user/WindowMessages.h"
#include "platform/user/WindowPos.h"
#include "platform/user/Windows.h"

namespace {

// Disables the visible, enabled top-level windows of the program other than Except, for the
// time a modal form shows; EnableTaskWindows enables them again.
std::vector<HWND> DisableTaskWindows(HWND Except) {
  struct TCollect {
    HWND Except;
    std::vector<HWND> List;
  } Collect{Except, {}};
  EnumWindows(
      [](HWND Wnd, LPARAM Param) {
        auto* C = reinterpret_cast<TCollect*>(Param);
        if (Wnd != C->Except && IsWindowVisible(Wnd) && IsWindowEnabled(Wnd)) C->List.push_back(Wnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&Collect));
  for (HWND Wnd : Collect.List) EnableWindow(Wnd, FALSE);
  return Collect.List;
}

void EnableTaskWindows(const std::vector<HWND>& List) {
  for (auto It = List.rbegin(); It != List.rend(); ++It)
    if (IsWindow(*It)) EnableWindow(*It, TRUE);
}

}  // namespace

bool TCustomForm::CloseQuery() {
  bool CanClose = true;
  if (OnCloseQuery) OnCloseQuery(this, CanClose);
  return CanClose;
}

void TCustomForm::DoClose(TCloseAction& Action) {
  if (OnClose) OnClose(this, Action);
}

void TCustomForm::Close() {
  if (FFormState.Contains(fsModal)) {
    FModalResult = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction Action = caHide;
  if (FFormStyle == fsMDIChild) Action = FBorderIcons.Contains(biMinimize) ? caMinimize : caNone;
  DoClose(Action);
  if (Action == caNone) return;
  if (Application != nullptr && Application->GetMainForm() == this)
    Application->Terminate();
  else if (Action == caHide)
    Hide();
  else if (Action == caMinimize)
    SetWindowState(wsMinimized);
  else
    Release();
}

void TCustomForm::Release() {
  // Posted: the form goes once the messages that are waiting now have been handled.
  PostMessage(GetHandle(), CM_RELEASE, 0, 0);
}

void TCustomForm::CloseModal() {
  try {
    TCloseAction Action = caNone;
    if (CloseQuery()) {
      Action = caHide;
      DoClose(Action);
    }
    switch (Action) {
      case caNone:
        FModalResult = mrNone;
        break;
      case caFree:
        Release();
        break;
      default:
        break;
    }
  } catch (...) {
    FModalResult = mrNone;
    if (Application != nullptr) Application->HandleException(this);
  }
}

TModalResult TCustomForm::ShowModal() {
  if (FVisible || !GetEnabled() || FFormState.Contains(fsModal) || FFormStyle == fsMDIChild)
    throw EInvalidOperation("Cannot make a visible window modal");
  if (HWND Capture = ::GetCapture()) SendMessage(Capture, WM_CANCELMODE, 0, 0);
  ::ReleaseCapture();
  FFormState.Include(fsModal);
  HWND ActiveWindow = ::GetActiveWindow();
  const Integer SaveFocusCount = FocusCount;
  TCursor SaveCursor = crDefault;
  Integer SaveCount = 0;
  if (Screen != nullptr) {
    Screen->FSaveFocusedList.insert(Screen->FSaveFocusedList.begin(), Screen->FFocusedForm);
    Screen->FFocusedForm = this;
    SaveCursor = Screen->GetCursor();
    Screen->SetCursor(crDefault);
    SaveCount = Screen->FCursorCount;
  }
  const std::vector<HWND> WindowList = DisableTaskWindows(nullptr);
  // A stay-on-top form it disables would cover the modal form and take the clicks meant for it.
  const bool Normalized = Application != nullptr && FFormStyle != fsStayOnTop;
  if (Normalized) Application->NormalizeTopMosts();
  TModalResult Result = mrNone;
  auto Restore = [&] {
    if (Normalized) Application->RestoreTopMosts();
    if (Screen != nullptr) {
      Screen->SetCursor(Screen->FCursorCount == SaveCount ? SaveCursor : crDefault);
    }
    EnableTaskWindows(WindowList);
    if (Screen != nullptr) {
      if (!Screen->FSaveFocusedList.empty()) {
        Screen->FFocusedForm = Screen->FSaveFocusedList.front();
        Screen->FSaveFocusedList.erase(Screen->FSaveFocusedList.begin());
      } else {
        Screen->FFocusedForm = nullptr;
      }
    }
    if (ActiveWindow != nullptr && IsWindow(ActiveWindow)) ::SetActiveWindow(ActiveWindow);
    FocusCount = SaveFocusCount;
    FFormState.Exclude(fsModal);
  };
  {
    auto Restored = ScopeExit([&] { Restore(); });
    Show();
    auto Hidden = ScopeExit([&] { Hide(); });
    SendMessage(GetHandle(), CM_ACTIVATE, 0, 0);
    FModalResult = mrNone;
    do {
      MSG Msg;
      if (!Application->ProcessMessage(Msg)) {
        // Nothing waits: a test may act on the modal form now.
        UserLayer::ModalLoopIdle();
        if (FModalResult == mrNone && !Application->GetTerminated() && !UserLayer::AnyMessagePending())
          Application->Idle(Msg);
      }
      if (Application->GetTerminated())
        FModalResult = mrCancel;
      else if (FModalResult != mrNone)
        CloseModal();
    } while (FModalResult == mrNone);
    Result = FModalResult;
    if (HandleAllocated()) SendMessage(FHandle, CM_DEACTIVATE, 0, 0);
    if (::GetActiveWindow() != FHandle) ActiveWindow = nullptr;
  }
  return Result;
}
