#pragma once
// Forms and the application keep their icons as TIcon. The icon classes' handle type is not the
// window layer's HICON yet (both name their handle HICON), so no file can see both: the few
// icon operations forms need meet here, and IconBridge.cpp is the only file that includes the
// icon classes. The window layer gets an icon's handle as an opaque pointer (WM_SETICON) and
// draws it through the caption-icon hook installed by InstallIconDrawing.
#include "platform/gdi/GdiObject.h"
#include "platform/system/Delegates.h"

class TIcon;

TIcon* NewIcon();
void DeleteIcon(TIcon* Icon);
void AssignIcon(TIcon* Dest, TIcon* Source);
void SetIconOnChange(TIcon* Icon, TNotifyEvent Handler);
bool IconEmpty(TIcon* Icon);
// The icon's handle for WM_SETICON; null for an empty icon.
void* IconHandleOf(TIcon* Icon);
// Draws an icon handle given as above, stretched to Width x Height (DrawIconEx, DI_NORMAL).
bool DrawIconHandle(HDC DC, Integer X, Integer Y, void* Icon, Integer Width, Integer Height);
// Lets the window layer's frames draw the icons forms give them (once; later calls do nothing).
void InstallIconDrawing();
