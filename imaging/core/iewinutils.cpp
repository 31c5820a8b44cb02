#include "imaging/core/iewinutils.h"

#include "platform/classes/Controls.h"
#include "platform/system/Clock.h"
#include "platform/user/Clipboard.h"
#include "platform/user/Input.h"
#include "platform/user/SystemMetrics.h"

HWND IEFindWindowHandle(TComponent* Component) {
  while (Component != nullptr) {
    if (auto* Control = dynamic_cast<TWinControl*>(Component))
      return Control->HandleAllocated() ? Control->GetHandle() : nullptr;
    Component = Component->GetOwner();
  }
  return nullptr;
}

bool IEIsLeftButtonPressed() {
  const bool Swapped = GetSystemMetrics(SM_SWAPBUTTON) != 0;
  return GetAsyncKeyState(Swapped ? VK_RBUTTON : VK_LBUTTON) < 0;
}

bool IEOpenClipboard() {
  for (Integer Attempt = 0; Attempt < 10; ++Attempt) {
    if (OpenClipboard(nullptr)) return true;
    Sleep(20);
  }
  return false;
}
