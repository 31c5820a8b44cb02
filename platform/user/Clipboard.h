#pragma once
// The clipboard. The application's data lives here, placed by SetClipboardData in handles the
// clipboard then owns (global memory blocks, GDI objects for CF_BITMAP and CF_PALETTE). Text
// reaches the desktop's clipboard through the display back end: closing the clipboard after
// EmptyClipboard hands the text out (LF line ends; CR LF here), and when another program has
// put text there since, that text is the clipboard's content (CF_TEXT, CF_UNICODETEXT).
// CF_TEXT holds UTF-8 (the 8-bit code page here), CF_UNICODETEXT UTF-16. Missing formats are
// made from present ones: CF_TEXT <-> CF_UNICODETEXT, CF_DIB <-> CF_DIBV5 <-> CF_BITMAP.
//
// One thread at a time has it open; the desktop's clipboard is consulted from the main thread.
// After OpenClipboard(nullptr), EmptyClipboard leaves no owner and SetClipboardData still works,
// as programs find it on the platform.
#include "platform/user/GlobalMemory.h"
#include "platform/user/WinUser.h"

constexpr UINT CF_TEXT = 1;
constexpr UINT CF_BITMAP = 2;
constexpr UINT CF_METAFILEPICT = 3;
constexpr UINT CF_SYLK = 4;
constexpr UINT CF_DIF = 5;
constexpr UINT CF_TIFF = 6;
constexpr UINT CF_OEMTEXT = 7;
constexpr UINT CF_DIB = 8;
constexpr UINT CF_PALETTE = 9;
constexpr UINT CF_PENDATA = 10;
constexpr UINT CF_RIFF = 11;
constexpr UINT CF_WAVE = 12;
constexpr UINT CF_UNICODETEXT = 13;
constexpr UINT CF_ENHMETAFILE = 14;
constexpr UINT CF_HDROP = 15;
constexpr UINT CF_LOCALE = 16;
constexpr UINT CF_DIBV5 = 17;
constexpr UINT CF_OWNERDISPLAY = 0x0080;
constexpr UINT CF_DSPTEXT = 0x0081;
constexpr UINT CF_DSPBITMAP = 0x0082;
constexpr UINT CF_DSPMETAFILEPICT = 0x0083;
constexpr UINT CF_DSPENHMETAFILE = 0x008E;
constexpr UINT CF_PRIVATEFIRST = 0x0200;
constexpr UINT CF_PRIVATELAST = 0x02FF;
constexpr UINT CF_GDIOBJFIRST = 0x0300;
constexpr UINT CF_GDIOBJLAST = 0x03FF;

constexpr DWORD ERROR_CLIPBOARD_NOT_OPEN = 1418;

// Fails (ERROR_ACCESS_DENIED) while another thread or window has it open.
BOOL OpenClipboard(HWND NewOwner);
BOOL CloseClipboard();
// Frees every format; the previous owner gets WM_DESTROYCLIPBOARD; the window that opened the
// clipboard becomes the owner.
BOOL EmptyClipboard();
// The clipboard takes Mem over (freed by the next EmptyClipboard). A null Mem is rendered later:
// the owner gets WM_RENDERFORMAT when the format is asked for. Returns Mem, null on failure.
HANDLE SetClipboardData(UINT Format, HANDLE Mem);
// The clipboard's handle (do not free it); null when the format is not there.
HANDLE GetClipboardData(UINT Format);
BOOL IsClipboardFormatAvailable(UINT Format);
// The formats in the order they were placed, then those made from them; 0 after the last.
UINT EnumClipboardFormats(UINT Format);
Integer CountClipboardFormats();
// Numbers >= 0xC000, shared with RegisterWindowMessage.
UINT RegisterClipboardFormat(LPCSTR Name);
Integer GetClipboardFormatName(UINT Format, char* Buffer, Integer MaxCount);
HWND GetClipboardOwner();
HWND GetOpenClipboardWindow();
