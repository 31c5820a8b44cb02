#pragma once
// What the header, list view and tree view share: custom-draw notifications, the font's line
// height, item texts copied into callers' buffers and the images of an image list.
#include <string>

#include "platform/user/NativeControlCommon.h"

// Sends NM_CUSTOMDRAW (any NMCUSTOMDRAW-led structure) at Stage; the parent's answer (CDRF_*).
LRESULT SendCustomDraw(HWND Ctl, NMCUSTOMDRAW& Draw, DWORD Stage);

// The height of a line of text in the control's font (tmHeight).
Integer ControlLineHeight(const TNativeControlData& D);

// The width of Text in the control's font.
Integer ControlTextWidth(const TNativeControlData& D, const std::string& Text);

// Copies Text into an item structure's Buffer (Max bytes with the null; nothing for a null or
// callback buffer or Max <= 0); the bytes copied.
Integer CopyItemText(const std::string& Text, char* Buffer, Integer Max);

// The size of the images of List (0 x 0 without one).
TSize ImageListSize(HIMAGELIST List);

// Single-line text in Box with an ellipsis where it does not fit, in the given colour, on a
// transparent background.
void DrawCellText(HDC DC, const std::string& Text, const TRect& Box, UINT Align, COLORREF Color);
