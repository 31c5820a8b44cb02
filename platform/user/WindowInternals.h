#pragma once
// The window manager's internal API: the window objects and their tree, visible regions, the
// message queue, the retained surfaces and the compositor, and the hooks through which the
// input, non-client, native-control and class-library parts plug in. Everything here runs on
// the main thread unless a comment says otherwise.
//
// Coordinates used below:
//   parent-client  relative to the parent's client origin (top-level windows: the screen);
//   window         relative to the window rectangle's top-left corner;
//   surface        relative to the top-level ancestor's window rectangle, i.e. pixels of the
//                  retained surface that window (and all its descendants) draw into.
//
// Where the parts above the core plug in (each in its own files):
//   input       InputEventHandler (back-end events to messages, QueueInputMessage),
//               TranslateMessageHook, AddWindowEventHook (Destroying, Hidden,
//               Shown, ActivateRequested, Disabled, Minimized: capture, focus, activation),
//               DefWindowProc handlers for WM_SETCURSOR, WM_MOUSEACTIVATE, WM_KEYDOWN...,
//               CaretPaintHook, and the back end's SetCursorShape and clipboard text.
//   non-client  DefWindowProc handlers for WM_NCCALCSIZE, WM_NCHITTEST, WM_NCPAINT,
//               WM_NCACTIVATE, WM_NCLBUTTONDOWN..., WM_SYSCOMMAND (the move/size loop calls
//               ModalLoopIdle when idle), NcPrintHook for WM_PRINT, FrameInsets for metrics,
//               TWindow::AddOns[waScrollBars] for window scroll bars.
//   controls    RegisterClassEx with their class names; TWindow::AddOns[waControl].
//   classes     MakeObjectInstance/SetWindowLongPtr(GWLP_WNDPROC), RunUntilIdle/ModalLoopIdle
//               in the application's loops, SetDisplayBackend through the display library.
#include <array>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/RegionData.h"
#include "platform/gdi/Surface.h"
#include "platform/user/DisplayBackend.h"
#include "platform/user/WinUser.h"
#include "platform/user/WndProc.h"

// ---- Classes ------------------------------------------------------------------------------
struct TWindowClass {
  ATOM Atom = 0;
  std::string Name;
  UINT Style = 0;
  WNDPROC WndProc = nullptr;
  Integer WndExtra = 0;  // bytes of extra window memory (GetWindowLongPtr with offsets >= 0)
  HINSTANCE Instance = nullptr;
  HICON Icon = nullptr;
  HICON IconSm = nullptr;
  HCURSOR Cursor = nullptr;
  HBRUSH Background = nullptr;  // a brush, or COLOR_* + 1
  LPCSTR MenuName = nullptr;    // an id (MAKEINTRESOURCE) or MenuNameText.c_str()
  std::string MenuNameText;
  std::vector<Byte> Extra;  // class extra bytes
  Integer Windows = 0;      // live windows of the class; UnregisterClass fails while > 0
};

// Finds a registered class by name (case-insensitive) or by MAKEINTATOM; nullptr when none.
TWindowClass* FindWindowClass(LPCSTR Name);

// Extra bytes of a class or window (the offsets >= 0 of GetClassLongPtr / GetWindowLongPtr):
// a T read or written at Offset; false when it does not fit there.
template <class T>
bool ReadExtra(const std::vector<Byte>& Extra, Integer Offset, T& Value) {
  if (Offset < 0 || static_cast<std::size_t>(Offset) + sizeof(T) > Extra.size()) return false;
  std::memcpy(&Value, Extra.data() + Offset, sizeof(T));
  return true;
}
template <class T>
bool WriteExtra(std::vector<Byte>& Extra, Integer Offset, T Value) {
  if (Offset < 0 || static_cast<std::size_t>(Offset) + sizeof(T) > Extra.size()) return false;
  std::memcpy(Extra.data() + Offset, &Value, sizeof(T));
  return true;
}

// ---- Windows ------------------------------------------------------------------------------
// Per-window data of the parts added on top of the core (scroll bars, controls, ...). A part
// keeps its object in its slot; the window frees it after WM_NCDESTROY.
struct TWindowAddOn {
  virtual ~TWindowAddOn() = default;
};
enum TWindowAddOnSlot : Integer { waScrollBars, waNonClient, waInput, waControl, waCount };

struct TWindowProp {
  std::string Name;  // empty for an atom property
  ATOM Atom = 0;
  HANDLE Data = nullptr;
};

// A top-level window's retained pixels: 32-bit 0x00RRGGBB (premultiplied ARGB when the window
// is layered with per-pixel alpha), the size of the window rectangle.
struct TWindowSurface {
  TSurface Surface;
  std::vector<DWORD> Pixels;
  // New size; keeps the old pixels at the top-left, fills the rest with 0.
  void Resize(Integer Width, Integer Height);
};

struct TWindow {
  HWND Handle = nullptr;
  TWindowClass* Class = nullptr;
  WNDPROC WndProc = nullptr;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  LONG_PTR Id = 0;  // GWLP_ID: the control id, or the menu handle of a top-level window
  LONG_PTR UserData = 0;
  HINSTANCE Instance = nullptr;
  TWindow* Parent = nullptr;       // the desktop for top-level windows; nullptr for the desktop
  TWindow* Owner = nullptr;        // top-level windows only
  std::vector<TWindow*> Children;  // z-order, the top one first
  TRect Rect;                      // window rectangle, parent-client coordinates
  TRect Client;                    // client rectangle, parent-client coordinates
  std::string Text;                // UTF-8
  std::vector<Byte> Extra;
  std::vector<TWindowProp> Props;
  std::array<std::unique_ptr<TWindowAddOn>, waCount> AddOns;

  // Life cycle.
  bool Destroying = false;        // DestroyWindow has begun
  bool NeedSizeMessages = false;  // WM_SIZE/WM_MOVE still owed from creation (first show)
  DWORD ThreadId = 0;

  // Painting. The update region is in window coordinates and may cover the frame.
  TRegionData UpdateRgn;
  bool NeedErase = false;      // WM_ERASEBKGND owed by the next BeginPaint
  bool NeedNcPaint = false;    // WM_NCPAINT owed
  bool InternalPaint = false;  // WM_PAINT without an update region (RDW_INTERNALPAINT)
  bool RedrawOff = false;      // WM_SETREDRAW FALSE
  bool InPaintList = false;    // counted in the paint-pending count

  // Placement.
  TRect NormalRect;  // restored rectangle, parent-client coordinates
  TPoint MinPosition{-1, -1};
  TPoint MaxPosition{-1, -1};
  bool RestoreToMaximized = false;
  std::optional<TRegionData> WindowRgn;  // window coordinates; none = the whole rectangle

  // Top-level windows: the retained surface.
  std::unique_ptr<TWindowSurface> Surface;

  // Layered windows (top-level, WS_EX_LAYERED).
  bool LayeredUpdate = false;  // UpdateLayeredWindow gave the content (no painting)
  DWORD LayeredFlags = 0;      // LWA_* (SetLayeredWindowAttributes) or ULW_* mapped to LWA_*
  BYTE LayeredAlpha = 255;
  COLORREF LayeredKey = 0;
  bool PerPixelAlpha = false;  // the surface holds premultiplied alpha

  bool IsChild() const { return (Style & WS_CHILD) != 0; }
  bool IsVisibleFlag() const { return (Style & WS_VISIBLE) != 0; }
};

// The window a handle names; nullptr (and ERROR_INVALID_WINDOW_HANDLE) when none. Safe from any
// thread for the question "does it exist"; the object itself belongs to the main thread.
TWindow* WindowFromHandle(HWND Wnd);
// The same without touching the last error.
TWindow* PeekWindow(HWND Wnd);
TWindow* DesktopWindow();
// The hidden root of message-only windows (CreateWindowEx with HWND_MESSAGE).
TWindow* MessageRootWindow();
// A window whose parent is a root (the desktop or the message root).
inline bool IsTopLevel(const TWindow* W) {
  return W->Parent != nullptr && W->Parent->Parent == nullptr;
}
// The ancestor whose parent is the desktop (the window itself for a top-level window).
TWindow* TopLevelOf(TWindow* W);
// True when the window and all its ancestors have WS_VISIBLE.
bool IsReallyVisible(const TWindow* W);
// Screen position of the window rectangle's and the client area's top-left corner.
TPoint WindowOriginOnScreen(const TWindow* W);
TPoint ClientOriginOnScreen(const TWindow* W);
// Surface position (in the top-level ancestor's surface) of the window and client origins.
TPoint WindowOriginInSurface(const TWindow* W);
TPoint ClientOriginInSurface(const TWindow* W);
// The client rectangle in window coordinates.
TRect ClientInWindow(const TWindow* W);
// The windows under a screen point, deepest and topmost first: a window's children come before
// it, and its lower siblings before its parent. Hidden windows and click-through layered ones
// (WS_EX_LAYERED | WS_EX_TRANSPARENT) are left out, window regions are honoured, and disabled
// and minimized windows hide their children. WindowFromPoint and the mouse routing ask these
// in turn with WM_NCHITTEST.
std::vector<HWND> WindowsAtPoint(TPoint Screen);

// Calls the window procedure (the one message path every send takes). The window may be
// destroyed by the call: never touch W afterwards without checking its handle again.
LRESULT SendTo(TWindow* W, UINT Msg, WPARAM WParam, LPARAM LParam);
// Nesting depth of window procedure calls (a destroyed window is freed only at depth 0).
Integer SendDepth();
// Frees destroyed windows once no procedure runs any more.
void FreeDestroyedWindows();
// Enters a new window in the handle table and returns its handle; removes one.
HWND AllocateWindowHandle(TWindow* W);
void ReleaseWindowHandle(TWindow* W);

// Puts Child into Parent's child list at z-order place After (HWND_TOP, HWND_BOTTOM, a
// sibling, or HWND_TOPMOST/NOTOPMOST for top-level windows), honouring the topmost band and
// keeping owned windows above their owners.
// Without OwnerZOrder owned windows are not brought along (SWP_NOOWNERZORDER).
void LinkWindow(TWindow* Child, TWindow* Parent, HWND After, bool OwnerZOrder = true);
void UnlinkWindow(TWindow* Child);

// Takes the minimized (SW_MINIMIZE...), maximized (SW_MAXIMIZE...) or restored state into
// W's style and placement and returns the window rectangle (parent-client) for it.
TRect MinMaximize(TWindow* W, Integer Cmd);
// The window's default minimum and maximum sizes, then WM_GETMINMAXINFO's answer.
MINMAXINFO GetMinMaxInfo(TWindow* W);
// The classic frame: how far the window rectangle reaches beyond the client rectangle on
// each side for these styles (caption and scroll bars included, menus not).
TRect FrameInsets(DWORD Style, DWORD ExStyle);
// Runs WM_NCCALCSIZE for W with the window rectangle NewRect (parent-client coordinates) and
// returns the client rectangle it gives.
TRect CalcClientRect(TWindow* W, const TRect& NewRect, WINDOWPOS* Pos);

// ---- Window events for the parts above the core -------------------------------------------
enum class TWindowEvent : Byte {
  Created,            // after WM_CREATE succeeded
  Destroying,         // DestroyWindow began (before WM_DESTROY): release capture, focus, caret
  Shown,              // became visible; ActivateRequested follows unless SWP_NOACTIVATE/SW_SHOWNA...
  Hidden,             // lost WS_VISIBLE: a focused or active window moves on
  ActivateRequested,  // SetWindowPos/ShowWindow want this top-level window active
  ZOrderChanged,
  Disabled,   // EnableWindow(FALSE) set WS_DISABLED (before WM_ENABLE): the focus inside is lost
  Minimized,  // a top-level window was minimized without keeping the activation (SW_MINIMIZE,
              // SW_SHOWMINNOACTIVE, SW_FORCEMINIMIZE): an active one hands it on
};
using TWindowEventHook = void (*)(TWindow* W, TWindowEvent Event);
void AddWindowEventHook(TWindowEventHook Hook);
void NotifyWindowEvent(TWindow* W, TWindowEvent Event);

// ---- Start-up ---------------------------------------------------------------------------------
// Puts the parts above the core in place before a window is created (CreateWindowEx calls it):
// input, then the non-client part. Each installs once; a part a test uninstalled comes back
// with the next window created.
void StartWindowLayer();

// ---- Default window procedure ---------------------------------------------------------------
// DefWindowProc looks a message up in this table first; a part that owns a message (the
// non-client part: WM_NCPAINT, WM_NCHITTEST, WM_NCLBUTTONDOWN, WM_SYSCOMMAND, WM_NCACTIVATE;
// the input part: WM_SETCURSOR, WM_MOUSEACTIVATE, WM_KEYDOWN, ...) installs its handler and
// may keep the previous one to chain to. Messages >= WM_USER cannot have handlers.
using TDefWindowProcHandler = LRESULT (*)(TWindow* W, UINT Msg, WPARAM WParam, LPARAM LParam);
TDefWindowProcHandler SetDefWindowProcHandler(UINT Msg, TDefWindowProcHandler Handler);
TDefWindowProcHandler GetDefWindowProcHandler(UINT Msg);

// WM_PRINT with PRF_NONCLIENT draws the frame through this hook (the non-client part's);
// null draws no frame.
using TNcPrintHook = void (*)(TWindow* W, HDC DC);
extern TNcPrintHook NcPrintHook;

// Called by BeginPaint (Begin true) and EndPaint (false), and around the pixel move of
// ScrollWindowEx and ScrollDC: the caret part hides and shows the caret of the window there.
// Calls nest. Null by default.
using TCaretPaintHook = void (*)(HWND Wnd, bool Begin);
extern TCaretPaintHook CaretPaintHook;

// ---- Messages and the loop ------------------------------------------------------------------
// The loop hands each back-end input event to this handler, which turns it into messages with
// QueueInputMessage. The input part's handler routes mouse and key events and passes the rest
// on to the core's, which posts WM_CLOSE for close requests (to the topmost visible unowned
// window) and follows screen changes; without the input part mouse and key events only move
// LastMousePosition.
using TInputEventHandler = void (*)(const TInputEvent& Ev);
extern TInputEventHandler InputEventHandler;
// Adds a message to the input queue (after posted messages, before paints and timers).
// MSG.time is filled when 0.
void QueueInputMessage(const MSG& Msg);
void QueueInputMessage(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam, TPoint Pt, DWORD Time = 0);
// The last mouse position the loop saw, screen coordinates (GetMessagePos, cursor).
TPoint LastMousePosition();
void SetLastMousePosition(TPoint P);

// TranslateMessage calls this (the input part makes WM_CHAR from WM_KEYDOWN); default: false.
using TTranslateMessageHook = bool (*)(const MSG& Msg);
extern TTranslateMessageHook TranslateMessageHook;

// Messages of the current thread waiting (posted or input), paints or due timers: the loop is
// not idle. Does not poll the back end.
bool AnyMessagePending();
// The window the next WM_PAINT goes to (parents before children, the top of the z-order
// first): really visible, redraw on, with an update region, NC or internal paint pending;
// nullptr when none. Filter as for FindDueTimer.
TWindow* FindPaintWindow(TWindow* Filter);
// Windows with something to paint (visible or not).
Integer PaintPendingCount();

// ---- Painting, surfaces and the screen -----------------------------------------------------
// The visible region of W in surface coordinates, for a DC covering the window (DCX_WINDOW) or
// the client area, clipped by ancestors' client areas, window regions, hidden ancestors and,
// per the flags (DCX_CLIPCHILDREN, DCX_CLIPSIBLINGS, DCX_PARENTCLIP), children and siblings.
TRegionData VisibleRegion(const TWindow* W, DWORD DcxFlags);
// The window LockWindowUpdate holds (nullptr when none).
TWindow*& LockedWindow();
// The DCX_* flags a window's own styles ask for (WS_CLIPCHILDREN, WS_CLIPSIBLINGS, CS_PARENTDC).
DWORD DefaultDcxFlags(const TWindow* W);
// A DC on W's surface (the screen for the desktop) per DcxFlags; Extra (surface coordinates)
// is intersected (DCX_INTERSECTRGN) or excluded (DCX_EXCLUDERGN). The window layer owns it:
// release with ReleaseDC.
HDC CreateWindowDC(TWindow* W, DWORD DcxFlags, const TRegionData* Extra);

// Sends WM_PAINT to W now; what the handler leaves untouched (no BeginPaint, no validation)
// is validated, so a window that ignores WM_PAINT does not get it for ever.
LRESULT SendPaintMessage(TWindow* W);
// Re-aims every held window DC after windows moved, resized, changed visibility or died.
void RefreshWindowDCs();
// Marks the update-pending bookkeeping after UpdateRgn/InternalPaint/NeedNcPaint changed.
void UpdatePaintState(TWindow* W);
// Adds Rgn (window coordinates, may be empty) to W's update region, with the RDW_* flags'
// meaning for erase, frame and children.
void InvalidateWindowRegion(TWindow* W, const TRegionData& Rgn, UINT RdwFlags);

// The colour the screen shows where no window is, as a pixel.
DWORD DesktopPixel();
// Window DCs still held (GetDC without ReleaseDC) damage what they cover at every flush.
void NoteHeldWindowDCs();
// The screen surface the compositor builds (size of the back end's screen).
TSurface& ScreenSurface();
// Marks screen rectangles (screen coordinates) for recomposition and presenting.
void DamageScreen(const TRect& R);
// Marks the screen area that a top-level window's surface rectangle R shows.
void DamageWindowSurface(TWindow* Top, const TRect& SurfaceRect);
// Recomposes damaged screen areas and presents them: at most about 60 times a second unless
// Force. Returns the milliseconds until a held-back present is due (0xFFFFFFFF: none pending).
DWORD FlushScreen(bool Force);
// Number of presents so far (tests and benchmarks).
UInt64 PresentCount();
// The caption of the program's main window: the oldest shown top-level window with a caption
// (tool windows aside); null when none is shown. Each flush gives it to the back end as the
// desktop window's title when it changed.
const std::string* MainWindowCaption();

// ---- The display back end -------------------------------------------------------------------
// The back end in use (nullptr: none; the window layer then keeps a 1024x768 screen in memory,
// takes no input and presents nowhere). The caller keeps ownership; SetDisplayBackend(nullptr)
// before destroying an installed back end.
void SetDisplayBackend(TDisplayBackend* Backend);
TDisplayBackend* GetDisplayBackend();
// The screen size when no back end is installed.
inline constexpr TSize DefaultScreenSize{1024, 768};
// Re-reads the back end's screen size (after a ScreenResize event): the desktop window, the
// screen surface and maximized windows follow.
void ScreenSizeChanged();
// Waiting without a back end: WaitNullDisplay blocks until WakeNullDisplay or the timeout.
void WaitNullDisplay(DWORD TimeoutMs);
void WakeNullDisplay();

// ---- Timers -----------------------------------------------------------------------------------
// Milliseconds until the next timer is due (0 when one is due, 0xFFFFFFFF when none).
DWORD NextTimerDue();
// The first due timer whose window passes Filter (null: any; a window: it or a descendant),
// as a WM_TIMER message; Remove restarts its interval.
bool FindDueTimer(TWindow* Filter, bool ThreadOnly, bool Remove, MSG& Out);
void RemoveWindowTimers(HWND Wnd);
