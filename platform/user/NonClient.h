#pragma once
// The non-client part of the default window procedure: the classic frame, caption, caption
// buttons, menu bar and window scroll bars, their hit testing, the move/size loop and the
// system commands. InstallNonClient puts its handlers into the DefWindowProc table.
//
// Frame geometry (window coordinates, top to bottom): the outer frame (sizing 4 px, dialog
// 3 px or border 1 px, as FrameInsets), the caption (SM_CYCAPTION, tool windows SM_CYSMCAPTION,
// whose last row is a 3-D face line), the menu bar, the client edge (WS_EX_CLIENTEDGE 2 px,
// WS_EX_STATICEDGE 1 px), then the client area with the vertical scroll bar on its right and
// the horizontal one below it. WM_NCCALCSIZE gives FrameInsets plus the menu bar's height.
#include "platform/gdi/FontEngine.h"
#include "platform/user/WindowInternals.h"

// Installs the non-client, scroll-bar and menu defaults into the DefWindowProc table (once;
// later calls do nothing). The window manager calls it whenever a window is created; the
// public calls of this part call it too.
void InstallNonClient();
// Puts back what InstallNonClient replaced: for tests, between them (the next window created
// installs the part again).
void UninstallNonClient();

// ---- Layout --------------------------------------------------------------------------------
struct TNcLayout {
  TRect Window;    // (0, 0, width, height)
  TRect Inside;    // inside the outer frame
  TRect Caption;   // the caption bar without its bottom line; empty without a caption
  TRect Icon;      // the system-menu icon (HTSYSMENU); empty when none
  TRect Title;     // where the title text goes
  TRect CloseBtn;  // caption buttons; empty when absent
  TRect MaxBtn;
  TRect MinBtn;
  TRect HelpBtn;
  TRect MenuBar;  // empty without a menu bar
  TRect Edge;     // the rectangle the client edge is drawn on (below the menu bar)
  TRect Client;   // the client area (ClientInWindow)
  TRect VScroll;  // empty without the bar
  TRect HScroll;
  TRect SizeBox;  // the corner between two scroll bars; empty unless both show
  bool ToolWindow = false;
};
// The outer frame's width for these styles (sizing, dialog or thin border; 0 without any).
TSize OuterFrameSize(DWORD Style, DWORD ExStyle);
// True when the styles give a caption bar (WS_CAPTION both bits).
inline bool HasCaption(DWORD Style) {
  return (Style & WS_CAPTION) == WS_CAPTION;
}
// The layout of W's frame as drawn now.
TNcLayout NcLayoutOf(TWindow* W);
// W's menu bar (top-level windows with a valid menu handle in GWLP_ID), else null.
HMENU WindowMenuBar(const TWindow* W);

// ---- Drawing (reusable by the skin library) ------------------------------------------------
// The fonts of the non-client metrics: the caption font (bold), the small caption font and the
// menu font (Bold: the menu font in bold, for default items). The window layer owns them.
HFONT NcCaptionFont(bool Small);
HFONT NcMenuFont(bool Bold);
// Tests and the skin library may give other fonts (Liberation Sans for pixel-exact text);
// null restores the metrics' fonts.
void SetNcFonts(const LOGFONT* Caption, const LOGFONT* SmallCaption, const LOGFONT* Menu);

// Draws the whole frame of W into DC, whose origin is W's top-left corner.
void DrawNonClient(TWindow* W, HDC DC);
// The caption's gradient over R: GradientFill from the (in)active caption colour on the left
// towards its gradient colour on the right.
void DrawCaptionGradient(HDC DC, const TRect& R, bool Active);
// Icon drawing: the class library installs DrawIconEx here; without it (or without an icon)
// the caption shows a built-in application glyph.
using TNcDrawIconHook = bool (*)(HDC DC, Integer X, Integer Y, HICON Icon, Integer Width, Integer Height);
extern TNcDrawIconHook NcDrawIconHook;
// The small icon the caption shows (WM_SETICON small, big, then the class's icons); may be null.
HICON NcCaptionIcon(TWindow* W);

// ---- State ---------------------------------------------------------------------------------
struct TNcState : TWindowAddOn {
  bool Active = false;         // as WM_NCACTIVATE last said
  LRESULT Pushed = HTNOWHERE;  // the caption button drawn pushed
  HICON SmallIcon = nullptr;   // WM_SETICON
  HICON BigIcon = nullptr;
  HMENU SystemMenu = nullptr;  // this window's copy (GetSystemMenu)
  ~TNcState() override;
};
TNcState& NcStateOf(TWindow* W);

// Redraws the frame now (caption colours, buttons, menu bar) through a window DC.
void RedrawFrameNow(TWindow* W);

// ---- Hit testing ---------------------------------------------------------------------------
// The default WM_NCHITTEST answer for a screen point.
LRESULT NcHitTest(TWindow* W, TPoint Screen);

// ---- Modal loops ---------------------------------------------------------------------------
// Takes the next message for a modal loop. When the queue is empty it runs Idle (if any) and
// ModalLoopIdle, then waits. Returns false without a message when Stop says so (checked
// before every wait), or when WM_QUIT came (posted again for the outer loop).
bool ModalNextMessage(MSG& Msg, bool (*Stop)(void* Ctx), void* Ctx, void (*Idle)(void* Ctx) = nullptr);
inline bool IsMouseMsg(UINT M) {
  return (M >= WM_MOUSEFIRST && M <= WM_MOUSELAST) || (M >= WM_NCMOUSEMOVE && M <= WM_NCXBUTTONDBLCLK);
}
inline bool IsKeyMsg(UINT M) {
  return M >= WM_KEYFIRST && M <= WM_KEYLAST;
}

// The move/size loop of SC_MOVE / SC_SIZE started by the mouse at Start (screen): Hit is
// HTCAPTION for moves or a WMSZ_* edge for sizing.
void RunMoveSizeLoop(TWindow* W, bool Sizing, UINT Edge, TPoint Start);

// ---- Small helpers -------------------------------------------------------------------------
inline bool InRect(const TRect& R, TPoint P) {
  return P.X >= R.Left && P.X < R.Right && P.Y >= R.Top && P.Y < R.Bottom;
}
inline bool IsEmptyRect(const TRect& R) {
  return R.Right <= R.Left || R.Bottom <= R.Top;
}
inline TRect Moved(const TRect& R, Integer Dx, Integer Dy) {
  return {R.Left + Dx, R.Top + Dy, R.Right + Dx, R.Bottom + Dy};
}
inline TRect Shrunk(const TRect& R, Integer Dx, Integer Dy) {
  return {R.Left + Dx, R.Top + Dy, R.Right - Dx, R.Bottom - Dy};
}
inline TPoint PointOf(LPARAM L) {
  return {GET_X_LPARAM(L), GET_Y_LPARAM(L)};
}
// Fills R with a system colour.
void FillSys(HDC DC, const TRect& R, Integer ColorIndex);

// ---- The DefWindowProc handlers of this part (InstallNonClient puts them in) ---------------
LRESULT NcCalcSizeDefault(TWindow* W, UINT Msg, WPARAM WParam, LPARAM LParam);
LRESULT NcPaintDefault(TWindow* W, UINT Msg, WPARAM WParam, LPARAM LParam);
LRESULT NcActivateDefault(TWindow* W, UINT Msg, WPARAM WParam, LPARAM LParam);
LRESULT SetIconDefault(TWindow* W, UINT Msg, WPARAM WParam, LPARAM LParam);
LRESULT GetIconDefault(TWindow* W, UINT Msg, WPARAM WParam, LPARAM LParam);
LRESULT NcHitTestDefault(TWindow* W, UINT Msg, WPARAM WParam, LPARAM LParam);
LRESULT NcButtonDefault(TWindow* W, UINT Msg, WPARAM WParam, LPARAM LParam);  // WM_NCxBUTTONxxx
LRESULT SysCommandDefault(TWindow* W, UINT Msg, WPARAM WParam, LPARAM LParam);
LRESULT ContextMenuDefault(TWindow* W, UINT Msg, WPARAM WParam, LPARAM LParam);
void NcPrintFrame(TWindow* W, HDC DC);
