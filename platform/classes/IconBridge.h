#pragma once
// The few icon operations forms and the application need for their TIcon, so that their headers
// and files do without the icon classes; IconBridge.cpp is the only one of them that includes
// those. The window layer gets an icon's handle by WM_SETICON and draws it through the
// caption-icon hook InstallIconDrawing installs.
#include "platform/gdi/GdiObject.h"
#include "platform/system/Delegates.h"
#include "platform/user/WinUser.h"

class TIcon;

TIcon* NewIcon();
void DeleteIcon(TIcon* Icon);
void AssignIcon(TIcon* Dest, TIcon* Source);
void SetIconOnChange(TIcon* Icon, TNotifyEvent Handler);
bool IconEmpty(TIcon* Icon);
// Gives Icon a copy of the program's icon (the resource "MAINICON"); false when there is none.
bool LoadProgramIcon(TIcon* Icon);
// The icon's handle for WM_SETICON; null for an empty icon.
HICON IconHandleOf(TIcon* Icon);
// Lets the window layer's frames draw the icons forms give them (once; later calls do nothing).
void InstallIconDrawing();
