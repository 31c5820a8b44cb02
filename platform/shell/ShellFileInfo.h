#pragma once
// The shell's file information: system icons, type names and attributes of files and
// namespace items.
#include <cstdint>

#include "platform/shell/ShlObj.h"
#include "platform/system/Resources.h"
#include "platform/user/CommonControls.h"

using DWORD_PTR = std::uintptr_t;

// ---- File information ---------------------------------------------------------------------------
constexpr UINT SHGFI_LARGEICON = 0x000000;
constexpr UINT SHGFI_SMALLICON = 0x000001;
constexpr UINT SHGFI_OPENICON = 0x000002;
constexpr UINT SHGFI_SHELLICONSIZE = 0x000004;
constexpr UINT SHGFI_PIDL = 0x000008;
constexpr UINT SHGFI_USEFILEATTRIBUTES = 0x000010;
constexpr UINT SHGFI_ICON = 0x000100;
constexpr UINT SHGFI_DISPLAYNAME = 0x000200;
constexpr UINT SHGFI_TYPENAME = 0x000400;
constexpr UINT SHGFI_ATTRIBUTES = 0x000800;
constexpr UINT SHGFI_SYSICONINDEX = 0x004000;
constexpr UINT SHGFI_LINKOVERLAY = 0x008000;
constexpr UINT SHGFI_SELECTED = 0x010000;
constexpr UINT SHGFI_ATTR_SPECIFIED = 0x020000;

struct SHFILEINFOA {
  HICON hIcon = nullptr;  // with SHGFI_ICON: a new icon the caller destroys
  Integer iIcon = 0;      // index in the system image list
  DWORD dwAttributes = 0;
  char szDisplayName[260] = {};
  char szTypeName[80] = {};
};

// Information about a path, or with SHGFI_PIDL an absolute item-ID list. With
// SHGFI_USEFILEATTRIBUTES the file is not looked at: FileAttributes (FILE_ATTRIBUTE_DIRECTORY)
// and the name decide. With SHGFI_SYSICONINDEX the result is the system image list (small
// with SHGFI_SMALLICON) and iIcon the item's index; otherwise non-zero. 0 on failure.
// The system image lists live as long as the process; never destroy them.
DWORD_PTR SHGetFileInfoA(LPCSTR Path, DWORD FileAttributes, SHFILEINFOA* Info, UINT InfoSize, UINT Flags);
