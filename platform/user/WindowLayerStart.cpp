// The one start-up path of the window layer's parts.
#include "platform/user/Input.h"
#include "platform/user/NonClient.h"
#include "platform/user/WindowInternals.h"

void StartWindowLayer() {
  InstallWindowInput();
  InstallNonClient();
}
