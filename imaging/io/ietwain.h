#pragma once
// The scanner source manager's release and the scanner log. The program acquires nothing
// from scanners, so in practice nothing is loaded and the release finds nothing to do; what it
// would do with a loaded source manager is kept complete.
#include <string>

#include "imaging/io/ietwainparams.h"
#include "platform/user/WinUser.h"

// One line "<date> <time> : <Message>" appended to IETWainLogFile and flushed; nothing when
// no log file is named.
void TWainLog(const std::string& Message);

// Destroys the state's proxy window (when it still is one) and forgets it.
void TWainDestroyProxyWindow(TIETWainState& State);
// Frees the source manager's library and clears its entry point and the state.
void TWainUnloadSourceManager(TIETWainState& State);
// Both, each only when the state holds it. Window: the owner's window (may be nullptr).
void TWainRelease(TIETWainState& State, HWND Window);
