// The window-layer calls the class library reaches through UserBridge.h.
#include "platform/classes/UserBridge.h"

#include "platform/user/WindowInternals.h"

namespace UserLayer {

TPoint LastMousePosition() {
  return ::LastMousePosition();
}
bool AnyMessagePending() {
  return ::AnyMessagePending();
}

}  // namespace UserLayer
