#include "platform/net/WinInetModule.h"

#include <strings.h>

#include <atomic>
#include <cstring>

namespace {

struct TExport {
  const char* Name;
  FARPROC Proc;
};

template <typename T>
FARPROC AsProc(T* Function) {
  return reinterpret_cast<FARPROC>(Function);
}

const TExport Exports[] = {
    {"InternetOpenA", AsProc(&InternetOpenA)},
    {"InternetCloseHandle", AsProc(&InternetCloseHandle)},
    {"InternetConnectA", AsProc(&InternetConnectA)},
    {"HttpOpenRequestA", AsProc(&HttpOpenRequestA)},
    {"HttpSendRequestA", AsProc(&HttpSendRequestA)},
    {"HttpQueryInfoA", AsProc(&HttpQueryInfoA)},
    {"InternetReadFile", AsProc(&InternetReadFile)},
    {"InternetReadFileExA", AsProc(&InternetReadFileExA)},
    {"InternetQueryOptionA", AsProc(&InternetQueryOptionA)},
    {"InternetSetOptionA", AsProc(&InternetSetOptionA)},
    {"InternetGetLastResponseInfoA", AsProc(&InternetGetLastResponseInfoA)},
    {"FtpOpenFileA", AsProc(&FtpOpenFileA)},
};

// The module handle is the address of this marker; the count says how often it is loaded.
char ModuleMarker;
std::atomic<int> LoadCount{0};

HMODULE TheModule() {
  return reinterpret_cast<HMODULE>(&ModuleMarker);
}

}  // namespace

HMODULE InternetLoadLibrary(LPCSTR lpLibFileName) {
  if (!lpLibFileName || strcasecmp(lpLibFileName, "wininet.dll") != 0) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  ++LoadCount;
  return TheModule();
}

FARPROC InternetGetProcAddress(HMODULE hModule, LPCSTR lpProcName) {
  if (hModule == TheModule() && LoadCount > 0 && lpProcName)
    for (const TExport& Export : Exports)
      if (std::strcmp(Export.Name, lpProcName) == 0) return Export.Proc;
  SetLastError(hModule == TheModule() ? ERROR_PROC_NOT_FOUND : ERROR_INVALID_HANDLE);
  return nullptr;
}

BOOL InternetFreeLibrary(HMODULE hLibModule) {
  int Count = LoadCount.load();
  while (hLibModule == TheModule() && Count > 0)
    if (LoadCount.compare_exchange_weak(Count, Count - 1)) return TRUE;
  SetLastError(ERROR_INVALID_HANDLE);
  return FALSE;
}
