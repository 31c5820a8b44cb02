#pragma once
// What the shell library's files share.
#include <vector>

#include "platform/shell/ShellItems.h"

constexpr DWORD ERROR_INVALID_NAME = 123;

// Object := interface Iid of a new folder object for the absolute elements; E_INVALIDARG when
// they name no folder.
HRESULT BindFolder(std::vector<TShellElement> Elements, const GUID& Iid, void** Object);
// Object := interface Iid (IContextMenu or IContextMenu2) of the menu of one item.
HRESULT CreateShellContextMenu(std::vector<TShellElement> Item, const GUID& Iid, void** Object);
