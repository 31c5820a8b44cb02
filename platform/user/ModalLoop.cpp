// The message pump of this part's modal loops.
#include "platform/user/NonClient.h"
#include "platform/user/WindowMessages.h"

bool ModalNextMessage(MSG& Msg, bool (*Stop)(void*), void* Ctx, void (*Idle)(void*)) {
  for (;;) {
    if (Stop != nullptr && Stop(Ctx)) return false;
    if (PeekMessage(&Msg, nullptr, 0, 0, PM_REMOVE)) {
      if (Msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<Integer>(Msg.wParam));
        return false;
      }
      return true;
    }
    if (Idle != nullptr) Idle(Ctx);
    ModalLoopIdle();
    if (Stop != nullptr && Stop(Ctx)) return false;
    if (PeekMessage(&Msg, nullptr, 0, 0, PM_NOREMOVE)) continue;
    WaitMessage();
  }
}
