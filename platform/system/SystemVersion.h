#pragma once
// The system's version record.
#include "platform/system/Types.h"
#include "platform/system/WinTypes.h"

constexpr DWORD VER_PLATFORM_WIN32s = 0;
constexpr DWORD VER_PLATFORM_WIN32_WINDOWS = 1;
constexpr DWORD VER_PLATFORM_WIN32_NT = 2;

struct OSVERSIONINFO {
  DWORD dwOSVersionInfoSize = sizeof(OSVERSIONINFO);
  DWORD dwMajorVersion = 0;
  DWORD dwMinorVersion = 0;
  DWORD dwBuildNumber = 0;
  DWORD dwPlatformId = 0;
  char szCSDVersion[128] = {};
};
static_assert(sizeof(OSVERSIONINFO) == 148);

// FALSE with ERROR_INVALID_PARAMETER when dwOSVersionInfoSize is not sizeof(OSVERSIONINFO).
// This system belongs to the NT family (Unicode file names, no 9x limits); the version and
// build numbers are the kernel's release (6.8.12 gives 6, 8, 12) and szCSDVersion names the
// system ("Linux").
BOOL GetVersionEx(OSVERSIONINFO* lpVersionInformation);
