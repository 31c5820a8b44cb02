#include "platform/system/SystemVersion.h"

#include <sys/utsname.h>

#include <cstdio>
#include <cstring>

#include "platform/system/LastError.h"

BOOL GetVersionEx(OSVERSIONINFO* lpVersionInformation) {
  if (lpVersionInformation == nullptr || lpVersionInformation->dwOSVersionInfoSize != sizeof(OSVERSIONINFO)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  OSVERSIONINFO Info;
  Info.dwPlatformId = VER_PLATFORM_WIN32_NT;
  struct utsname Name;
  if (::uname(&Name) == 0) {
    unsigned Major = 0, Minor = 0, Build = 0;
    std::sscanf(Name.release, "%u.%u.%u", &Major, &Minor, &Build);
    Info.dwMajorVersion = Major;
    Info.dwMinorVersion = Minor;
    Info.dwBuildNumber = Build;
    std::strncpy(Info.szCSDVersion, Name.sysname, sizeof Info.szCSDVersion - 1);
  }
  *lpVersionInformation = Info;
  return TRUE;
}
