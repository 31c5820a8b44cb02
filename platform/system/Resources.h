#pragma once
// Resources of a module: the files embedded at build time, reached by name and type.
// Names and types are strings or integer ids made with MAKEINTRESOURCE; an id n is the same
// resource as the name "#n". Names and types compare without regard to letter case.
// Resource data is read-only and lives as long as the process; nothing needs freeing.
#include <cstdint>

#include "platform/system/WinTypes.h"

struct HINSTANCE__;
using HMODULE = HINSTANCE__*;
using HINSTANCE = HMODULE;
struct HRSRC__;
using HRSRC = HRSRC__*;
using HGLOBAL = HANDLE;
using LPCSTR = const char*;

// The main module; a null module means the same. A number in the embedding manifest's name
// or type column ("101") is an integer id.
extern const HINSTANCE HInstance;

inline LPCSTR MAKEINTRESOURCE(std::uintptr_t Id) {
  return reinterpret_cast<LPCSTR>(Id & 0xFFFF);
}
inline bool IS_INTRESOURCE(LPCSTR P) {
  return (reinterpret_cast<std::uintptr_t>(P) >> 16) == 0;
}

inline const LPCSTR RT_CURSOR = MAKEINTRESOURCE(1);
inline const LPCSTR RT_BITMAP = MAKEINTRESOURCE(2);
inline const LPCSTR RT_ICON = MAKEINTRESOURCE(3);
inline const LPCSTR RT_MENU = MAKEINTRESOURCE(4);
inline const LPCSTR RT_DIALOG = MAKEINTRESOURCE(5);
inline const LPCSTR RT_STRING = MAKEINTRESOURCE(6);
inline const LPCSTR RT_FONTDIR = MAKEINTRESOURCE(7);
inline const LPCSTR RT_FONT = MAKEINTRESOURCE(8);
inline const LPCSTR RT_ACCELERATOR = MAKEINTRESOURCE(9);
inline const LPCSTR RT_RCDATA = MAKEINTRESOURCE(10);
inline const LPCSTR RT_MESSAGETABLE = MAKEINTRESOURCE(11);
inline const LPCSTR RT_GROUP_CURSOR = MAKEINTRESOURCE(12);
inline const LPCSTR RT_GROUP_ICON = MAKEINTRESOURCE(14);
inline const LPCSTR RT_VERSION = MAKEINTRESOURCE(16);

// Null when the module has no such resource.
HRSRC FindResource(HMODULE Module, LPCSTR Name, LPCSTR Type);
// The data handle of a found resource; null for a null resource.
HGLOBAL LoadResource(HMODULE Module, HRSRC ResInfo);
// The first byte of the resource's data (read-only).
void* LockResource(HGLOBAL ResData);
// Bytes of data; 0 for a null resource.
DWORD SizeofResource(HMODULE Module, HRSRC ResInfo);
// Resources are never unloaded; kept for callers that release what they load.
BOOL FreeResource(HGLOBAL ResData);
