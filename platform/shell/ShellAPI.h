#pragma once
// ShellExecute over the desktop: "open" hands a file, a folder or a web address to xdg-open,
// which shows it with the application the desktop associates with it. Nothing is ever run as
// a program here, whatever the file is.
#include <functional>
#include <string>

#include "platform/system/Resources.h"
#include "platform/system/WinTypes.h"

struct HWND__;

constexpr Integer SE_ERR_FNF = 2;
constexpr Integer SE_ERR_NOASSOC = 31;

// Opens File (a path with either separator, or an address such as "http://..."). Verb
// nullptr or "open"; Parameters, Directory and ShowCmd are not used by the desktop. Answers a
// value above 32 when the desktop took the file, SE_ERR_FNF for a local file that does not
// exist, SE_ERR_NOASSOC for another verb or when the desktop's opener cannot be started.
HINSTANCE ShellExecute(HWND__* Wnd, const char* Verb, const char* File, const char* Parameters,
                       const char* Directory, Integer ShowCmd);
inline HINSTANCE ShellExecuteA(HWND__* Wnd, const char* Verb, const char* File, const char* Parameters,
                               const char* Directory, Integer ShowCmd) {
  return ShellExecute(Wnd, Verb, File, Parameters, Directory, ShowCmd);
}

// Starts the desktop's opener on Target (a native path or an address); false when it cannot
// be started. Tests replace it; an empty hook restores xdg-open.
using TShellOpenProc = std::function<bool(const std::string& Target)>;
void SetShellOpenHook(TShellOpenProc Hook);
