#pragma once
// Window-system services of the imaging library.
#include "platform/user/WinUser.h"

class TComponent;

// The window handle of the first windowed control met from Component up its owner chain
// (Component itself first); 0 when there is none or its window is not made yet.
HWND IEFindWindowHandle(TComponent* Component);
// The primary mouse button is down (swapped buttons honoured).
bool IEIsLeftButtonPressed();
// Opens the clipboard for no particular window: up to 10 attempts, 20 ms apart.
bool IEOpenClipboard();
