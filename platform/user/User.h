#pragma once
// The whole public window layer in one include.
#include "platform/user/Messages.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/Timers.h"
#include "platform/user/WinUser.h"
#include "platform/user/WindowMessages.h"
#include "platform/user/WindowPaint.h"
#include "platform/user/WindowPos.h"
#include "platform/user/Windows.h"
#include "platform/user/WndProc.h"
