#pragma once
// Folder change notifications over inotify. A notification handle is a kernel object of the
// layer (KernelObjects.h): WaitForSingleObject and WaitForMultipleObjects wait on it together
// with events and mutexes. It is signalled by the first change that matches its filter and
// stays signalled until FindNextChangeNotification; changes that come after the wait ended
// and before that call keep it signalled, so none is lost.
//
// With a sub-tree, folders created or moved in later are watched too. Closing the handle
// (FindCloseChangeNotification) signals it for every thread still waiting on it, so that a
// waiter wakes up; a later FindNextChangeNotification on it fails.
#include <string_view>

#include "platform/system/KernelObjects.h"

constexpr DWORD FILE_NOTIFY_CHANGE_FILE_NAME = 0x001;   // files created, deleted, renamed
constexpr DWORD FILE_NOTIFY_CHANGE_DIR_NAME = 0x002;    // folders created, deleted, renamed
constexpr DWORD FILE_NOTIFY_CHANGE_ATTRIBUTES = 0x004;  // permissions, owner, times set
constexpr DWORD FILE_NOTIFY_CHANGE_SIZE = 0x008;        // files written
constexpr DWORD FILE_NOTIFY_CHANGE_LAST_WRITE = 0x010;  // files written
constexpr DWORD FILE_NOTIFY_CHANGE_LAST_ACCESS = 0x020;
constexpr DWORD FILE_NOTIFY_CHANGE_CREATION = 0x040;  // items created
constexpr DWORD FILE_NOTIFY_CHANGE_SECURITY = 0x100;  // permissions, owner

// The failure value of FindFirstChangeNotificationA (the platform's INVALID_HANDLE_VALUE).
inline const HANDLE INVALID_CHANGE_HANDLE = reinterpret_cast<HANDLE>(~std::uintptr_t{0});

// Watches Path (with '\' or '/'; "C:\" is "/"). INVALID_CHANGE_HANDLE with the file error for a
// folder that cannot be watched, ERROR_INVALID_PARAMETER for an empty filter.
HANDLE FindFirstChangeNotificationA(std::string_view Path, BOOL WatchSubtree, DWORD NotifyFilter);
// Re-arms the handle; FALSE for a closed or foreign handle.
BOOL FindNextChangeNotification(HANDLE Handle);
BOOL FindCloseChangeNotification(HANDLE Handle);
