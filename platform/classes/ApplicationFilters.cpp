// The application's message filters and its part in routing actions.
#include <algorithm>

#include "platform/classes/Application.h"
#include "platform/classes/Screen.h"
#include "platform/user/Windows.h"

// ---- Message filters --------------------------------------------------------------------------

void TApplication::AddMessageFilter(const TMessageEvent& Filter) {
  if (!Filter || HasMessageFilter(Filter)) return;
  FMessageFilters.push_back(Filter);
}

void TApplication::RemoveMessageFilter(const TMessageEvent& Filter) {
  const auto It = std::find(FMessageFilters.begin(), FMessageFilters.end(), Filter);
  if (It == FMessageFilters.end()) return;
  // While the filters run, the entry is only cleared: the running loop's positions stay valid.
  if (FFilterDepth > 0)
    It->Clear();
  else
    FMessageFilters.erase(It);
}

bool TApplication::HasMessageFilter(const TMessageEvent& Filter) const {
  return Filter && std::find(FMessageFilters.begin(), FMessageFilters.end(), Filter) != FMessageFilters.end();
}

bool TApplication::FilterMessage(MSG& Msg) {
  bool Handled = false;
  {
    ++FFilterDepth;
    auto Leave = ScopeExit([&] {
      if (--FFilterDepth == 0)
        std::erase_if(FMessageFilters, [](const TMessageEvent& F) { return !static_cast<bool>(F); });
    });
    // The latest first; filters added meanwhile wait for the next message.
    for (size_t I = FMessageFilters.size(); I-- > 0 && !Handled;) {
      const TMessageEvent Filter = FMessageFilters[I];
      if (Filter) Filter(Msg, Handled);
    }
  }
  if (!Handled && OnMessage) OnMessage(Msg, Handled);
  return Handled;
}

// ---- Actions ----------------------------------------------------------------------------------

bool TApplication::ExecuteAction(TBasicAction* Action) {
  bool Handled = false;
  if (OnActionExecute) OnActionExecute(Action, Handled);
  return Handled;
}

bool TApplication::UpdateAction(TBasicAction* Action) {
  bool Handled = false;
  if (OnActionUpdate) OnActionUpdate(Action, Handled);
  return Handled;
}

bool TApplication::DispatchAction(UINT Msg, TBasicAction* Action) {
  TCustomForm* Form = Screen != nullptr ? Screen->GetActiveCustomForm() : nullptr;
  const LPARAM Param = reinterpret_cast<LPARAM>(Action);
  if (Form != nullptr && Form->Perform(Msg, 0, Param) == 1) return true;
  return FMainForm != nullptr && FMainForm != Form && FMainForm->Perform(Msg, 0, Param) == 1;
}

void TApplication::DoActionIdle() {
  if (Screen == nullptr) return;
  for (Integer I = 0; I < Screen->GetCustomFormCount(); ++I) {
    TCustomForm* Form = Screen->GetCustomForm(I);
    if (Form->HandleAllocated() && IsWindowVisible(Form->GetWindowHandle()) &&
        IsWindowEnabled(Form->GetWindowHandle()))
      Form->UpdateActions();
  }
}
