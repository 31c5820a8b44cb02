#pragma once
// Binding the internet library by name at run time. The library is linked into the program,
// so "loading" it only hands out its module handle and its functions by name; a caller written
// for a library that may be missing keeps working unchanged.
#include "platform/net/WinInet.h"
#include "platform/system/Resources.h"

using FARPROC = void (*)();

// The module of the internet library for "wininet.dll" (any letter case), else nullptr with
// ERROR_MOD_NOT_FOUND. Each load is balanced by one InternetFreeLibrary.
HMODULE InternetLoadLibrary(LPCSTR lpLibFileName);
// One of the library's functions by its name, cast by the caller to its type; nullptr with
// ERROR_PROC_NOT_FOUND for a name the library does not export.
FARPROC InternetGetProcAddress(HMODULE hModule, LPCSTR lpProcName);
BOOL InternetFreeLibrary(HMODULE hLibModule);

constexpr DWORD ERROR_MOD_NOT_FOUND = 126;
constexpr DWORD ERROR_PROC_NOT_FOUND = 127;
