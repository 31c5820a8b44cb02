#pragma once
// The caret: one for the application, owned by a window, drawn by inverting the pixels of its
// rectangle in the window's client area and blinking on a timer of the layer's clock. Painting
// the owner hides it for the time between BeginPaint and EndPaint, scrolling its pixels
// (ScrollWindowEx, ScrollDC) for the time of the move.
#include "platform/gdi/GdiObject.h"
#include "platform/user/WinUser.h"

// Replaces the caret the application had. Bitmap null gives a solid caret of Width x Height
// (0: the width or height of a window border), (HBITMAP)1 a grey one; another bitmap gives its
// own shape and size and must live until the caret is destroyed. The new caret is hidden at
// (0, 0) until ShowCaret.
BOOL CreateCaret(HWND Wnd, HBITMAP Bitmap, Integer Width, Integer Height);
BOOL DestroyCaret();
// Hiding counts: the caret shows again after as many ShowCaret calls. Wnd null means the
// caret's window; another window than the caret's fails.
BOOL ShowCaret(HWND Wnd);
BOOL HideCaret(HWND Wnd);
// Client coordinates of the caret's window.
BOOL SetCaretPos(Integer X, Integer Y);
BOOL GetCaretPos(POINT* Point);
// Milliseconds between blinks (530 by default); 0xFFFFFFFF stops blinking.
BOOL SetCaretBlinkTime(UINT Milliseconds);
UINT GetCaretBlinkTime();
