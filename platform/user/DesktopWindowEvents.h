#pragma once
// What the desktop does to the program's desktop windows, reaching the window layer as the
// messages the platform sends for the same acts.
#include "platform/user/DisplayBackend.h"

// Handles the Window* and AppDeactivated kinds; others are ignored.
void RouteDesktopWindowEvent(const TInputEvent& Ev);
