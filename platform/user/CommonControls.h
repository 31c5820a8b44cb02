#pragma once
// The built-in BUTTON and STATIC controls and the common controls (trackbar, progress bar, tab
// control, up-down, header, list view, tree view, image lists): their styles, messages, notification codes
// and structures, with the platform's names and values. The scroll-bar control's SBS_/SBM_ values are in
// ScrollBars.h, the dialog codes (DLGC_*) in ControlMessages.h, NMHDR and DRAWITEMSTRUCT in WinUser.h.
//
// Texts are UTF-8 as everywhere in the window layer (TCITEM.pszText).
//
// The classes are registered by RegisterCommonControlClasses, the four common controls also by
// InitCommonControls(Ex); registering twice does nothing.
#include "platform/user/WinUser.h"

// ---- Class names ------------------------------------------------------------------------------
inline constexpr const char* WC_BUTTON = "Button";
inline constexpr const char* WC_STATIC = "Static";
inline constexpr const char* WC_SCROLLBAR = "ScrollBar";
inline constexpr const char* TRACKBAR_CLASS = "msctls_trackbar32";
inline constexpr const char* PROGRESS_CLASS = "msctls_progress32";
inline constexpr const char* WC_TABCONTROL = "SysTabControl32";
inline constexpr const char* UPDOWN_CLASS = "msctls_updown32";

// ---- Notifications of the common controls (WM_NOTIFY codes are negative, stored as UINT) ------
constexpr UINT NM_FIRST = 0;
constexpr UINT NM_OUTOFMEMORY = NM_FIRST - 1;
constexpr UINT NM_CLICK = NM_FIRST - 2;
constexpr UINT NM_DBLCLK = NM_FIRST - 3;
constexpr UINT NM_RETURN = NM_FIRST - 4;
constexpr UINT NM_RCLICK = NM_FIRST - 5;
constexpr UINT NM_RDBLCLK = NM_FIRST - 6;
constexpr UINT NM_SETFOCUS = NM_FIRST - 7;
constexpr UINT NM_KILLFOCUS = NM_FIRST - 8;
constexpr UINT NM_CUSTOMDRAW = NM_FIRST - 12;
constexpr UINT NM_HOVER = NM_FIRST - 13;
constexpr UINT NM_NCHITTEST = NM_FIRST - 14;
constexpr UINT NM_KEYDOWN = NM_FIRST - 15;
constexpr UINT NM_RELEASEDCAPTURE = NM_FIRST - 16;
constexpr UINT NM_SETCURSOR = NM_FIRST - 17;
constexpr UINT NM_CHAR = NM_FIRST - 18;

// Messages every common control takes.
constexpr UINT CCM_FIRST = 0x2000;
constexpr UINT CCM_SETBKCOLOR = CCM_FIRST + 1;
constexpr COLORREF CLR_NONE = 0xFFFFFFFFu;
constexpr COLORREF CLR_DEFAULT = 0xFF000000u;

// Owner-draw type of tab items (DRAWITEMSTRUCT.CtlType).
constexpr UINT ODT_TAB = 101;

// ---- Button -----------------------------------------------------------------------------------
constexpr DWORD BS_PUSHBUTTON = 0x00000000;
constexpr DWORD BS_DEFPUSHBUTTON = 0x00000001;
constexpr DWORD BS_CHECKBOX = 0x00000002;
constexpr DWORD BS_AUTOCHECKBOX = 0x00000003;
constexpr DWORD BS_RADIOBUTTON = 0x00000004;
constexpr DWORD BS_3STATE = 0x00000005;
constexpr DWORD BS_AUTO3STATE = 0x00000006;
constexpr DWORD BS_GROUPBOX = 0x00000007;
constexpr DWORD BS_USERBUTTON = 0x00000008;
constexpr DWORD BS_AUTORADIOBUTTON = 0x00000009;
constexpr DWORD BS_PUSHBOX = 0x0000000A;
constexpr DWORD BS_OWNERDRAW = 0x0000000B;
constexpr DWORD BS_TYPEMASK = 0x0000000F;
constexpr DWORD BS_LEFTTEXT = 0x00000020;
constexpr DWORD BS_RIGHTBUTTON = BS_LEFTTEXT;
constexpr DWORD BS_TEXT = 0x00000000;
constexpr DWORD BS_ICON = 0x00000040;
constexpr DWORD BS_BITMAP = 0x00000080;
constexpr DWORD BS_LEFT = 0x00000100;
constexpr DWORD BS_RIGHT = 0x00000200;
constexpr DWORD BS_CENTER = 0x00000300;
constexpr DWORD BS_TOP = 0x00000400;
constexpr DWORD BS_BOTTOM = 0x00000800;
constexpr DWORD BS_VCENTER = 0x00000C00;
constexpr DWORD BS_PUSHLIKE = 0x00001000;
constexpr DWORD BS_MULTILINE = 0x00002000;
constexpr DWORD BS_NOTIFY = 0x00004000;
constexpr DWORD BS_FLAT = 0x00008000;

constexpr UINT BM_GETCHECK = 0x00F0;
constexpr UINT BM_SETCHECK = 0x00F1;
constexpr UINT BM_GETSTATE = 0x00F2;
constexpr UINT BM_SETSTATE = 0x00F3;
constexpr UINT BM_SETSTYLE = 0x00F4;
constexpr UINT BM_CLICK = 0x00F5;
constexpr UINT BM_GETIMAGE = 0x00F6;
constexpr UINT BM_SETIMAGE = 0x00F7;
constexpr UINT BM_SETDONTCLICK = 0x00F8;

constexpr LRESULT BST_UNCHECKED = 0x0000;
constexpr LRESULT BST_CHECKED = 0x0001;
constexpr LRESULT BST_INDETERMINATE = 0x0002;
constexpr LRESULT BST_PUSHED = 0x0004;
constexpr LRESULT BST_FOCUS = 0x0008;

constexpr WORD BN_CLICKED = 0;
constexpr WORD BN_PAINT = 1;
constexpr WORD BN_HILITE = 2;
constexpr WORD BN_UNHILITE = 3;
constexpr WORD BN_DISABLE = 4;
constexpr WORD BN_DOUBLECLICKED = 5;
constexpr WORD BN_PUSHED = BN_HILITE;
constexpr WORD BN_UNPUSHED = BN_UNHILITE;
constexpr WORD BN_DBLCLK = BN_DOUBLECLICKED;
constexpr WORD BN_SETFOCUS = 6;
constexpr WORD BN_KILLFOCUS = 7;

// ---- Static -----------------------------------------------------------------------------------
constexpr DWORD SS_LEFT = 0x00000000;
constexpr DWORD SS_CENTER = 0x00000001;
constexpr DWORD SS_RIGHT = 0x00000002;
constexpr DWORD SS_ICON = 0x00000003;
constexpr DWORD SS_BLACKRECT = 0x00000004;
constexpr DWORD SS_GRAYRECT = 0x00000005;
constexpr DWORD SS_WHITERECT = 0x00000006;
constexpr DWORD SS_BLACKFRAME = 0x00000007;
constexpr DWORD SS_GRAYFRAME = 0x00000008;
constexpr DWORD SS_WHITEFRAME = 0x00000009;
constexpr DWORD SS_USERITEM = 0x0000000A;
constexpr DWORD SS_SIMPLE = 0x0000000B;
constexpr DWORD SS_LEFTNOWORDWRAP = 0x0000000C;
constexpr DWORD SS_OWNERDRAW = 0x0000000D;
constexpr DWORD SS_BITMAP = 0x0000000E;
constexpr DWORD SS_ENHMETAFILE = 0x0000000F;
constexpr DWORD SS_ETCHEDHORZ = 0x00000010;
constexpr DWORD SS_ETCHEDVERT = 0x00000011;
constexpr DWORD SS_ETCHEDFRAME = 0x00000012;
constexpr DWORD SS_TYPEMASK = 0x0000001F;
constexpr DWORD SS_REALSIZECONTROL = 0x00000040;
constexpr DWORD SS_NOPREFIX = 0x00000080;
constexpr DWORD SS_NOTIFY = 0x00000100;
constexpr DWORD SS_CENTERIMAGE = 0x00000200;
constexpr DWORD SS_RIGHTJUST = 0x00000400;
constexpr DWORD SS_REALSIZEIMAGE = 0x00000800;
constexpr DWORD SS_SUNKEN = 0x00001000;
constexpr DWORD SS_EDITCONTROL = 0x00002000;
constexpr DWORD SS_ENDELLIPSIS = 0x00004000;
constexpr DWORD SS_PATHELLIPSIS = 0x00008000;
constexpr DWORD SS_WORDELLIPSIS = 0x0000C000;
constexpr DWORD SS_ELLIPSISMASK = 0x0000C000;

constexpr UINT STM_SETICON = 0x0170;
constexpr UINT STM_GETICON = 0x0171;
constexpr UINT STM_SETIMAGE = 0x0172;
constexpr UINT STM_GETIMAGE = 0x0173;

constexpr WORD STN_CLICKED = 0;
constexpr WORD STN_DBLCLK = 1;
constexpr WORD STN_ENABLE = 2;
constexpr WORD STN_DISABLE = 3;

// ---- Trackbar ---------------------------------------------------------------------------------
constexpr DWORD TBS_AUTOTICKS = 0x0001;
constexpr DWORD TBS_VERT = 0x0002;
constexpr DWORD TBS_HORZ = 0x0000;
constexpr DWORD TBS_TOP = 0x0004;
constexpr DWORD TBS_BOTTOM = 0x0000;
constexpr DWORD TBS_LEFT = 0x0004;
constexpr DWORD TBS_RIGHT = 0x0000;
constexpr DWORD TBS_BOTH = 0x0008;
constexpr DWORD TBS_NOTICKS = 0x0010;
constexpr DWORD TBS_ENABLESELRANGE = 0x0020;
constexpr DWORD TBS_FIXEDLENGTH = 0x0040;
constexpr DWORD TBS_NOTHUMB = 0x0080;
constexpr DWORD TBS_TOOLTIPS = 0x0100;
constexpr DWORD TBS_REVERSED = 0x0200;
constexpr DWORD TBS_DOWNISLEFT = 0x0400;

constexpr UINT TBM_GETPOS = WM_USER;
constexpr UINT TBM_GETRANGEMIN = WM_USER + 1;
constexpr UINT TBM_GETRANGEMAX = WM_USER + 2;
constexpr UINT TBM_GETTIC = WM_USER + 3;
constexpr UINT TBM_SETTIC = WM_USER + 4;
constexpr UINT TBM_SETPOS = WM_USER + 5;
constexpr UINT TBM_SETRANGE = WM_USER + 6;
constexpr UINT TBM_SETRANGEMIN = WM_USER + 7;
constexpr UINT TBM_SETRANGEMAX = WM_USER + 8;
constexpr UINT TBM_CLEARTICS = WM_USER + 9;
constexpr UINT TBM_SETSEL = WM_USER + 10;
constexpr UINT TBM_SETSELSTART = WM_USER + 11;
constexpr UINT TBM_SETSELEND = WM_USER + 12;
constexpr UINT TBM_GETPTICS = WM_USER + 14;
constexpr UINT TBM_GETTICPOS = WM_USER + 15;
constexpr UINT TBM_GETNUMTICS = WM_USER + 16;
constexpr UINT TBM_GETSELSTART = WM_USER + 17;
constexpr UINT TBM_GETSELEND = WM_USER + 18;
constexpr UINT TBM_CLEARSEL = WM_USER + 19;
constexpr UINT TBM_SETTICFREQ = WM_USER + 20;
constexpr UINT TBM_SETPAGESIZE = WM_USER + 21;
constexpr UINT TBM_GETPAGESIZE = WM_USER + 22;
constexpr UINT TBM_SETLINESIZE = WM_USER + 23;
constexpr UINT TBM_GETLINESIZE = WM_USER + 24;
constexpr UINT TBM_GETTHUMBRECT = WM_USER + 25;
constexpr UINT TBM_GETCHANNELRECT = WM_USER + 26;
constexpr UINT TBM_SETTHUMBLENGTH = WM_USER + 27;
constexpr UINT TBM_GETTHUMBLENGTH = WM_USER + 28;
constexpr UINT TBM_SETTOOLTIPS = WM_USER + 29;
constexpr UINT TBM_GETTOOLTIPS = WM_USER + 30;

constexpr WORD TB_LINEUP = 0;
constexpr WORD TB_LINEDOWN = 1;
constexpr WORD TB_PAGEUP = 2;
constexpr WORD TB_PAGEDOWN = 3;
constexpr WORD TB_THUMBPOSITION = 4;
constexpr WORD TB_THUMBTRACK = 5;
constexpr WORD TB_TOP = 6;
constexpr WORD TB_BOTTOM = 7;
constexpr WORD TB_ENDTRACK = 8;

// ---- Progress bar -----------------------------------------------------------------------------
constexpr DWORD PBS_SMOOTH = 0x01;
constexpr DWORD PBS_VERTICAL = 0x04;
constexpr DWORD PBS_MARQUEE = 0x08;

constexpr UINT PBM_SETRANGE = WM_USER + 1;
constexpr UINT PBM_SETPOS = WM_USER + 2;
constexpr UINT PBM_DELTAPOS = WM_USER + 3;
constexpr UINT PBM_SETSTEP = WM_USER + 4;
constexpr UINT PBM_STEPIT = WM_USER + 5;
constexpr UINT PBM_SETRANGE32 = WM_USER + 6;
constexpr UINT PBM_GETRANGE = WM_USER + 7;
constexpr UINT PBM_GETPOS = WM_USER + 8;
constexpr UINT PBM_SETBARCOLOR = WM_USER + 9;
constexpr UINT PBM_SETMARQUEE = WM_USER + 10;
constexpr UINT PBM_GETSTEP = WM_USER + 13;
constexpr UINT PBM_GETBKCOLOR = WM_USER + 14;
constexpr UINT PBM_GETBARCOLOR = WM_USER + 15;
constexpr UINT PBM_SETBKCOLOR = CCM_SETBKCOLOR;

struct PBRANGE {
  Integer iLow = 0;
  Integer iHigh = 0;
};

// ---- Tab control ------------------------------------------------------------------------------
constexpr DWORD TCS_SCROLLOPPOSITE = 0x0001;
constexpr DWORD TCS_BOTTOM = 0x0002;
constexpr DWORD TCS_RIGHT = 0x0002;
constexpr DWORD TCS_MULTISELECT = 0x0004;
constexpr DWORD TCS_FLATBUTTONS = 0x0008;
constexpr DWORD TCS_FORCEICONLEFT = 0x0010;
constexpr DWORD TCS_FORCELABELLEFT = 0x0020;
constexpr DWORD TCS_HOTTRACK = 0x0040;
constexpr DWORD TCS_VERTICAL = 0x0080;
constexpr DWORD TCS_TABS = 0x0000;
constexpr DWORD TCS_BUTTONS = 0x0100;
constexpr DWORD TCS_SINGLELINE = 0x0000;
constexpr DWORD TCS_MULTILINE = 0x0200;
constexpr DWORD TCS_RIGHTJUSTIFY = 0x0000;
constexpr DWORD TCS_FIXEDWIDTH = 0x0400;
constexpr DWORD TCS_RAGGEDRIGHT = 0x0800;
constexpr DWORD TCS_FOCUSONBUTTONDOWN = 0x1000;
constexpr DWORD TCS_OWNERDRAWFIXED = 0x2000;
constexpr DWORD TCS_TOOLTIPS = 0x4000;
constexpr DWORD TCS_FOCUSNEVER = 0x8000;

constexpr UINT TCM_FIRST = 0x1300;
constexpr UINT TCM_GETIMAGELIST = TCM_FIRST + 2;
constexpr UINT TCM_SETIMAGELIST = TCM_FIRST + 3;
constexpr UINT TCM_GETITEMCOUNT = TCM_FIRST + 4;
constexpr UINT TCM_GETITEMA = TCM_FIRST + 5;
constexpr UINT TCM_SETITEMA = TCM_FIRST + 6;
constexpr UINT TCM_INSERTITEMA = TCM_FIRST + 7;
constexpr UINT TCM_DELETEITEM = TCM_FIRST + 8;
constexpr UINT TCM_DELETEALLITEMS = TCM_FIRST + 9;
constexpr UINT TCM_GETITEMRECT = TCM_FIRST + 10;
constexpr UINT TCM_GETCURSEL = TCM_FIRST + 11;
constexpr UINT TCM_SETCURSEL = TCM_FIRST + 12;
constexpr UINT TCM_HITTEST = TCM_FIRST + 13;
constexpr UINT TCM_SETITEMEXTRA = TCM_FIRST + 14;
constexpr UINT TCM_ADJUSTRECT = TCM_FIRST + 40;
constexpr UINT TCM_SETITEMSIZE = TCM_FIRST + 41;
constexpr UINT TCM_REMOVEIMAGE = TCM_FIRST + 42;
constexpr UINT TCM_SETPADDING = TCM_FIRST + 43;
constexpr UINT TCM_GETROWCOUNT = TCM_FIRST + 44;
constexpr UINT TCM_GETTOOLTIPS = TCM_FIRST + 45;
constexpr UINT TCM_SETTOOLTIPS = TCM_FIRST + 46;
constexpr UINT TCM_GETCURFOCUS = TCM_FIRST + 47;
constexpr UINT TCM_SETCURFOCUS = TCM_FIRST + 48;
constexpr UINT TCM_SETMINTABWIDTH = TCM_FIRST + 49;
constexpr UINT TCM_DESELECTALL = TCM_FIRST + 50;
constexpr UINT TCM_HIGHLIGHTITEM = TCM_FIRST + 51;
// The 8-bit forms are the ones this layer has (UTF-8 texts).
constexpr UINT TCM_GETITEM = TCM_GETITEMA;
constexpr UINT TCM_SETITEM = TCM_SETITEMA;
constexpr UINT TCM_INSERTITEM = TCM_INSERTITEMA;

constexpr UINT TCIF_TEXT = 0x0001;
constexpr UINT TCIF_IMAGE = 0x0002;
constexpr UINT TCIF_RTLREADING = 0x0004;
constexpr UINT TCIF_PARAM = 0x0008;
constexpr UINT TCIF_STATE = 0x0010;

constexpr DWORD TCIS_BUTTONPRESSED = 0x0001;
constexpr DWORD TCIS_HIGHLIGHTED = 0x0002;

constexpr UINT TCHT_NOWHERE = 0x0001;
constexpr UINT TCHT_ONITEMICON = 0x0002;
constexpr UINT TCHT_ONITEMLABEL = 0x0004;
constexpr UINT TCHT_ONITEM = TCHT_ONITEMICON | TCHT_ONITEMLABEL;

constexpr UINT TCN_FIRST = 0u - 550u;
constexpr UINT TCN_KEYDOWN = TCN_FIRST - 0;
constexpr UINT TCN_SELCHANGE = TCN_FIRST - 1;
constexpr UINT TCN_SELCHANGING = TCN_FIRST - 2;
constexpr UINT TCN_FOCUSCHANGE = TCN_FIRST - 4;

// Image lists (comctl32's HIMAGELIST) live above the window layer. Whoever implements them
// installs these calls so that the tab control can size and draw its items' images; without
// them an image list takes no room and draws nothing.
struct HIMAGELIST__;
using HIMAGELIST = HIMAGELIST__*;
struct TImageListCalls {
  BOOL (*GetIconSize)(HIMAGELIST List, Integer* Cx, Integer* Cy) = nullptr;
  BOOL (*Draw)(HIMAGELIST List, Integer Index, HDC DC, Integer X, Integer Y, UINT Style) = nullptr;
};
extern TImageListCalls ImageListCalls;

struct TCITEM {
  UINT mask = 0;
  DWORD dwState = 0;
  DWORD dwStateMask = 0;
  char* pszText = nullptr;  // TCM_GETITEM copies into it (cchTextMax bytes with the null)
  Integer cchTextMax = 0;
  Integer iImage = -1;
  LPARAM lParam = 0;
};
using TCITEMA = TCITEM;

struct TCHITTESTINFO {
  POINT pt;
  UINT flags = 0;
};

struct NMTCKEYDOWN {
  NMHDR hdr;
  WORD wVKey = 0;
  UINT flags = 0;  // the key message's lParam
};

// ---- Up-down ----------------------------------------------------------------------------------
constexpr DWORD UDS_WRAP = 0x0001;
constexpr DWORD UDS_SETBUDDYINT = 0x0002;
constexpr DWORD UDS_ALIGNRIGHT = 0x0004;
constexpr DWORD UDS_ALIGNLEFT = 0x0008;
constexpr DWORD UDS_AUTOBUDDY = 0x0010;
constexpr DWORD UDS_ARROWKEYS = 0x0020;
constexpr DWORD UDS_HORZ = 0x0040;
constexpr DWORD UDS_NOTHOUSANDS = 0x0080;
constexpr DWORD UDS_HOTTRACK = 0x0100;

constexpr UINT UDM_SETRANGE = WM_USER + 101;
constexpr UINT UDM_GETRANGE = WM_USER + 102;
constexpr UINT UDM_SETPOS = WM_USER + 103;
constexpr UINT UDM_GETPOS = WM_USER + 104;
constexpr UINT UDM_SETBUDDY = WM_USER + 105;
constexpr UINT UDM_GETBUDDY = WM_USER + 106;
constexpr UINT UDM_SETACCEL = WM_USER + 107;
constexpr UINT UDM_GETACCEL = WM_USER + 108;
constexpr UINT UDM_SETBASE = WM_USER + 109;
constexpr UINT UDM_GETBASE = WM_USER + 110;
constexpr UINT UDM_SETRANGE32 = WM_USER + 111;
constexpr UINT UDM_GETRANGE32 = WM_USER + 112;
constexpr UINT UDM_SETPOS32 = WM_USER + 113;
constexpr UINT UDM_GETPOS32 = WM_USER + 114;

constexpr Integer UD_MAXVAL = 0x7FFF;
constexpr Integer UD_MINVAL = -UD_MAXVAL;

constexpr UINT UDN_FIRST = 0u - 721u;
constexpr UINT UDN_DELTAPOS = UDN_FIRST - 1;

struct UDACCEL {
  UINT nSec = 0;  // seconds the button is held before this increment applies
  UINT nInc = 0;
};

struct NMUPDOWN {
  NMHDR hdr;
  Integer iPos = 0;    // the position before the change
  Integer iDelta = 0;  // the proposed change
};

// ---- Custom draw (NM_CUSTOMDRAW of the list view, tree view and header) ------------------------
constexpr DWORD CDDS_PREPAINT = 0x00000001;
constexpr DWORD CDDS_POSTPAINT = 0x00000002;
constexpr DWORD CDDS_PREERASE = 0x00000003;
constexpr DWORD CDDS_POSTERASE = 0x00000004;
constexpr DWORD CDDS_ITEM = 0x00010000;
constexpr DWORD CDDS_ITEMPREPAINT = CDDS_ITEM | CDDS_PREPAINT;
constexpr DWORD CDDS_ITEMPOSTPAINT = CDDS_ITEM | CDDS_POSTPAINT;
constexpr DWORD CDDS_SUBITEM = 0x00020000;

constexpr LRESULT CDRF_DODEFAULT = 0x00000000;
constexpr LRESULT CDRF_NEWFONT = 0x00000002;
constexpr LRESULT CDRF_SKIPDEFAULT = 0x00000004;
constexpr LRESULT CDRF_NOTIFYPOSTPAINT = 0x00000010;
constexpr LRESULT CDRF_NOTIFYITEMDRAW = 0x00000020;
constexpr LRESULT CDRF_NOTIFYSUBITEMDRAW = 0x00000020;
constexpr LRESULT CDRF_NOTIFYPOSTERASE = 0x00000040;

constexpr UINT CDIS_SELECTED = 0x0001;
constexpr UINT CDIS_GRAYED = 0x0002;
constexpr UINT CDIS_DISABLED = 0x0004;
constexpr UINT CDIS_CHECKED = 0x0008;
constexpr UINT CDIS_FOCUS = 0x0010;
constexpr UINT CDIS_DEFAULT = 0x0020;
constexpr UINT CDIS_HOT = 0x0040;
constexpr UINT CDIS_MARKED = 0x0080;
constexpr UINT CDIS_INDETERMINATE = 0x0100;

struct NMCUSTOMDRAW {
  NMHDR hdr;
  DWORD dwDrawStage = 0;
  HDC hdc = nullptr;
  RECT rc;
  ULONG_PTR dwItemSpec = 0;  // list view: the row; tree view: the HTREEITEM; header: the item
  UINT uItemState = 0;
  LPARAM lItemlParam = 0;
};

// ---- Image lists (comctl32's HIMAGELIST; the functions are in ImageLists.h) --------------------
constexpr UINT ILC_MASK = 0x0001;
constexpr UINT ILC_COLOR = 0x0000;
constexpr UINT ILC_COLORDDB = 0x00FE;
constexpr UINT ILC_COLOR4 = 0x0004;
constexpr UINT ILC_COLOR8 = 0x0008;
constexpr UINT ILC_COLOR16 = 0x0010;
constexpr UINT ILC_COLOR24 = 0x0018;
constexpr UINT ILC_COLOR32 = 0x0020;

constexpr UINT ILD_NORMAL = 0x0000;
constexpr UINT ILD_TRANSPARENT = 0x0001;
constexpr UINT ILD_BLEND25 = 0x0002;
constexpr UINT ILD_FOCUS = ILD_BLEND25;
constexpr UINT ILD_BLEND50 = 0x0004;
constexpr UINT ILD_SELECTED = ILD_BLEND50;
constexpr UINT ILD_BLEND = ILD_BLEND50;
constexpr UINT ILD_MASK = 0x0010;
constexpr UINT ILD_IMAGE = 0x0020;

struct IMAGEINFO {
  HBITMAP hbmImage = nullptr;  // the list's own bitmaps: do not delete or select them elsewhere
  HBITMAP hbmMask = nullptr;
  Integer Unused1 = 0;
  Integer Unused2 = 0;
  RECT rcImage;  // the image's place in hbmImage (and hbmMask)
};

// ---- Header ----------------------------------------------------------------------------------
inline constexpr const char* WC_HEADER = "SysHeader32";

constexpr DWORD HDS_HORZ = 0x0000;
constexpr DWORD HDS_BUTTONS = 0x0002;
constexpr DWORD HDS_HOTTRACK = 0x0004;
constexpr DWORD HDS_HIDDEN = 0x0008;
constexpr DWORD HDS_DRAGDROP = 0x0040;
constexpr DWORD HDS_FULLDRAG = 0x0080;

constexpr UINT HDI_WIDTH = 0x0001;
constexpr UINT HDI_HEIGHT = HDI_WIDTH;
constexpr UINT HDI_TEXT = 0x0002;
constexpr UINT HDI_FORMAT = 0x0004;
constexpr UINT HDI_LPARAM = 0x0008;
constexpr UINT HDI_BITMAP = 0x0010;
constexpr UINT HDI_IMAGE = 0x0020;
constexpr UINT HDI_ORDER = 0x0080;

constexpr Integer HDF_LEFT = 0x0000;
constexpr Integer HDF_RIGHT = 0x0001;
constexpr Integer HDF_CENTER = 0x0002;
constexpr Integer HDF_JUSTIFYMASK = 0x0003;
constexpr Integer HDF_SORTDOWN = 0x0200;
constexpr Integer HDF_SORTUP = 0x0400;
constexpr Integer HDF_IMAGE = 0x0800;
constexpr Integer HDF_BITMAP_ON_RIGHT = 0x1000;
constexpr Integer HDF_BITMAP = 0x2000;
constexpr Integer HDF_STRING = 0x4000;
constexpr Integer HDF_OWNERDRAW = 0x8000;

constexpr UINT HDM_FIRST = 0x1200;
constexpr UINT HDM_GETITEMCOUNT = HDM_FIRST + 0;
constexpr UINT HDM_INSERTITEMA = HDM_FIRST + 1;
constexpr UINT HDM_DELETEITEM = HDM_FIRST + 2;
constexpr UINT HDM_GETITEMA = HDM_FIRST + 3;
constexpr UINT HDM_SETITEMA = HDM_FIRST + 4;
constexpr UINT HDM_LAYOUT = HDM_FIRST + 5;
constexpr UINT HDM_HITTEST = HDM_FIRST + 6;
constexpr UINT HDM_GETITEMRECT = HDM_FIRST + 7;
constexpr UINT HDM_SETIMAGELIST = HDM_FIRST + 8;
constexpr UINT HDM_GETIMAGELIST = HDM_FIRST + 9;
constexpr UINT HDM_ORDERTOINDEX = HDM_FIRST + 15;
constexpr UINT HDM_GETORDERARRAY = HDM_FIRST + 17;
constexpr UINT HDM_SETORDERARRAY = HDM_FIRST + 18;
constexpr UINT HDM_INSERTITEM = HDM_INSERTITEMA;
constexpr UINT HDM_GETITEM = HDM_GETITEMA;
constexpr UINT HDM_SETITEM = HDM_SETITEMA;

constexpr UINT HHT_NOWHERE = 0x0001;
constexpr UINT HHT_ONHEADER = 0x0002;
constexpr UINT HHT_ONDIVIDER = 0x0004;
constexpr UINT HHT_ONDIVOPEN = 0x0008;
constexpr UINT HHT_ABOVE = 0x0100;
constexpr UINT HHT_BELOW = 0x0200;
constexpr UINT HHT_TORIGHT = 0x0400;
constexpr UINT HHT_TOLEFT = 0x0800;

constexpr UINT HDN_FIRST = 0u - 300u;
constexpr UINT HDN_ITEMCHANGINGA = HDN_FIRST - 0;
constexpr UINT HDN_ITEMCHANGEDA = HDN_FIRST - 1;
constexpr UINT HDN_ITEMCLICKA = HDN_FIRST - 2;
constexpr UINT HDN_ITEMDBLCLICKA = HDN_FIRST - 3;
constexpr UINT HDN_DIVIDERDBLCLICKA = HDN_FIRST - 5;
constexpr UINT HDN_BEGINTRACKA = HDN_FIRST - 6;
constexpr UINT HDN_ENDTRACKA = HDN_FIRST - 7;
constexpr UINT HDN_TRACKA = HDN_FIRST - 8;
constexpr UINT HDN_BEGINDRAG = HDN_FIRST - 10;
constexpr UINT HDN_ENDDRAG = HDN_FIRST - 11;
constexpr UINT HDN_ITEMCHANGING = HDN_ITEMCHANGINGA;
constexpr UINT HDN_ITEMCHANGED = HDN_ITEMCHANGEDA;
constexpr UINT HDN_ITEMCLICK = HDN_ITEMCLICKA;
constexpr UINT HDN_ITEMDBLCLICK = HDN_ITEMDBLCLICKA;
constexpr UINT HDN_DIVIDERDBLCLICK = HDN_DIVIDERDBLCLICKA;
constexpr UINT HDN_BEGINTRACK = HDN_BEGINTRACKA;
constexpr UINT HDN_ENDTRACK = HDN_ENDTRACKA;
constexpr UINT HDN_TRACK = HDN_TRACKA;

struct HDITEM {
  UINT mask = 0;
  Integer cxy = 0;
  char* pszText = nullptr;  // HDM_GETITEM copies into it (cchTextMax bytes with the null)
  HBITMAP hbm = nullptr;
  Integer cchTextMax = 0;
  Integer fmt = 0;
  LPARAM lParam = 0;
  Integer iImage = 0;
  Integer iOrder = 0;
};
using HDITEMA = HDITEM;

struct HDLAYOUT {
  RECT* prc = nullptr;         // in: the parent's area; out: what is left below the header
  WINDOWPOS* pwpos = nullptr;  // out: where the header goes
};

struct HDHITTESTINFO {
  POINT pt;
  UINT flags = 0;
  Integer iItem = -1;
};

struct NMHEADER {
  NMHDR hdr;
  Integer iItem = -1;
  Integer iButton = 0;  // 0 left, 1 right, 2 middle
  HDITEM* pitem = nullptr;
};
using NMHEADERA = NMHEADER;

// ---- List view -------------------------------------------------------------------------------
inline constexpr const char* WC_LISTVIEW = "SysListView32";

constexpr DWORD LVS_ICON = 0x0000;
constexpr DWORD LVS_REPORT = 0x0001;
constexpr DWORD LVS_SMALLICON = 0x0002;
constexpr DWORD LVS_LIST = 0x0003;
constexpr DWORD LVS_TYPEMASK = 0x0003;
constexpr DWORD LVS_SINGLESEL = 0x0004;
constexpr DWORD LVS_SHOWSELALWAYS = 0x0008;
constexpr DWORD LVS_SORTASCENDING = 0x0010;
constexpr DWORD LVS_SORTDESCENDING = 0x0020;
constexpr DWORD LVS_SHAREIMAGELISTS = 0x0040;
constexpr DWORD LVS_NOLABELWRAP = 0x0080;
constexpr DWORD LVS_AUTOARRANGE = 0x0100;
constexpr DWORD LVS_EDITLABELS = 0x0200;
constexpr DWORD LVS_OWNERDRAWFIXED = 0x0400;
constexpr DWORD LVS_ALIGNTOP = 0x0000;
constexpr DWORD LVS_ALIGNLEFT = 0x0800;
constexpr DWORD LVS_OWNERDATA = 0x1000;
constexpr DWORD LVS_NOSCROLL = 0x2000;
constexpr DWORD LVS_NOCOLUMNHEADER = 0x4000;
constexpr DWORD LVS_NOSORTHEADER = 0x8000;

constexpr DWORD LVS_EX_GRIDLINES = 0x00000001;
constexpr DWORD LVS_EX_SUBITEMIMAGES = 0x00000002;
constexpr DWORD LVS_EX_CHECKBOXES = 0x00000004;
constexpr DWORD LVS_EX_TRACKSELECT = 0x00000008;
constexpr DWORD LVS_EX_HEADERDRAGDROP = 0x00000010;
constexpr DWORD LVS_EX_FULLROWSELECT = 0x00000020;
constexpr DWORD LVS_EX_ONECLICKACTIVATE = 0x00000040;
constexpr DWORD LVS_EX_TWOCLICKACTIVATE = 0x00000080;
constexpr DWORD LVS_EX_FLATSB = 0x00000100;
constexpr DWORD LVS_EX_INFOTIP = 0x00000400;
constexpr DWORD LVS_EX_LABELTIP = 0x00004000;
constexpr DWORD LVS_EX_DOUBLEBUFFER = 0x00010000;

constexpr UINT LVM_FIRST = 0x1000;
constexpr UINT LVM_GETBKCOLOR = LVM_FIRST + 0;
constexpr UINT LVM_SETBKCOLOR = LVM_FIRST + 1;
constexpr UINT LVM_GETIMAGELIST = LVM_FIRST + 2;
constexpr UINT LVM_SETIMAGELIST = LVM_FIRST + 3;
constexpr UINT LVM_GETITEMCOUNT = LVM_FIRST + 4;
constexpr UINT LVM_GETITEMA = LVM_FIRST + 5;
constexpr UINT LVM_SETITEMA = LVM_FIRST + 6;
constexpr UINT LVM_INSERTITEMA = LVM_FIRST + 7;
constexpr UINT LVM_DELETEITEM = LVM_FIRST + 8;
constexpr UINT LVM_DELETEALLITEMS = LVM_FIRST + 9;
constexpr UINT LVM_GETCALLBACKMASK = LVM_FIRST + 10;
constexpr UINT LVM_SETCALLBACKMASK = LVM_FIRST + 11;
constexpr UINT LVM_GETNEXTITEM = LVM_FIRST + 12;
constexpr UINT LVM_FINDITEMA = LVM_FIRST + 13;
constexpr UINT LVM_GETITEMRECT = LVM_FIRST + 14;
constexpr UINT LVM_SETITEMPOSITION = LVM_FIRST + 15;
constexpr UINT LVM_GETITEMPOSITION = LVM_FIRST + 16;
constexpr UINT LVM_GETSTRINGWIDTHA = LVM_FIRST + 17;
constexpr UINT LVM_HITTEST = LVM_FIRST + 18;
constexpr UINT LVM_ENSUREVISIBLE = LVM_FIRST + 19;
constexpr UINT LVM_SCROLL = LVM_FIRST + 20;
constexpr UINT LVM_REDRAWITEMS = LVM_FIRST + 21;
constexpr UINT LVM_ARRANGE = LVM_FIRST + 22;
constexpr UINT LVM_EDITLABELA = LVM_FIRST + 23;
constexpr UINT LVM_GETEDITCONTROL = LVM_FIRST + 24;
constexpr UINT LVM_GETCOLUMNA = LVM_FIRST + 25;
constexpr UINT LVM_SETCOLUMNA = LVM_FIRST + 26;
constexpr UINT LVM_INSERTCOLUMNA = LVM_FIRST + 27;
constexpr UINT LVM_DELETECOLUMN = LVM_FIRST + 28;
constexpr UINT LVM_GETCOLUMNWIDTH = LVM_FIRST + 29;
constexpr UINT LVM_SETCOLUMNWIDTH = LVM_FIRST + 30;
constexpr UINT LVM_GETHEADER = LVM_FIRST + 31;
constexpr UINT LVM_GETVIEWRECT = LVM_FIRST + 34;
constexpr UINT LVM_GETTEXTCOLOR = LVM_FIRST + 35;
constexpr UINT LVM_SETTEXTCOLOR = LVM_FIRST + 36;
constexpr UINT LVM_GETTEXTBKCOLOR = LVM_FIRST + 37;
constexpr UINT LVM_SETTEXTBKCOLOR = LVM_FIRST + 38;
constexpr UINT LVM_GETTOPINDEX = LVM_FIRST + 39;
constexpr UINT LVM_GETCOUNTPERPAGE = LVM_FIRST + 40;
constexpr UINT LVM_GETORIGIN = LVM_FIRST + 41;
constexpr UINT LVM_UPDATE = LVM_FIRST + 42;
constexpr UINT LVM_SETITEMSTATE = LVM_FIRST + 43;
constexpr UINT LVM_GETITEMSTATE = LVM_FIRST + 44;
constexpr UINT LVM_GETITEMTEXTA = LVM_FIRST + 45;
constexpr UINT LVM_SETITEMTEXTA = LVM_FIRST + 46;
constexpr UINT LVM_SETITEMCOUNT = LVM_FIRST + 47;
constexpr UINT LVM_SORTITEMS = LVM_FIRST + 48;
constexpr UINT LVM_GETSELECTEDCOUNT = LVM_FIRST + 50;
constexpr UINT LVM_GETITEMSPACING = LVM_FIRST + 51;
constexpr UINT LVM_SETICONSPACING = LVM_FIRST + 53;
constexpr UINT LVM_SETEXTENDEDLISTVIEWSTYLE = LVM_FIRST + 54;
constexpr UINT LVM_GETEXTENDEDLISTVIEWSTYLE = LVM_FIRST + 55;
constexpr UINT LVM_GETSUBITEMRECT = LVM_FIRST + 56;
constexpr UINT LVM_SUBITEMHITTEST = LVM_FIRST + 57;
constexpr UINT LVM_SETCOLUMNORDERARRAY = LVM_FIRST + 58;
constexpr UINT LVM_GETCOLUMNORDERARRAY = LVM_FIRST + 59;
constexpr UINT LVM_GETSELECTIONMARK = LVM_FIRST + 66;
constexpr UINT LVM_SETSELECTIONMARK = LVM_FIRST + 67;
constexpr UINT LVM_GETITEM = LVM_GETITEMA;
constexpr UINT LVM_SETITEM = LVM_SETITEMA;
constexpr UINT LVM_INSERTITEM = LVM_INSERTITEMA;
constexpr UINT LVM_FINDITEM = LVM_FINDITEMA;
constexpr UINT LVM_GETSTRINGWIDTH = LVM_GETSTRINGWIDTHA;
constexpr UINT LVM_EDITLABEL = LVM_EDITLABELA;
constexpr UINT LVM_GETCOLUMN = LVM_GETCOLUMNA;
constexpr UINT LVM_SETCOLUMN = LVM_SETCOLUMNA;
constexpr UINT LVM_INSERTCOLUMN = LVM_INSERTCOLUMNA;
constexpr UINT LVM_GETITEMTEXT = LVM_GETITEMTEXTA;
constexpr UINT LVM_SETITEMTEXT = LVM_SETITEMTEXTA;

constexpr UINT LVIF_TEXT = 0x0001;
constexpr UINT LVIF_IMAGE = 0x0002;
constexpr UINT LVIF_PARAM = 0x0004;
constexpr UINT LVIF_STATE = 0x0008;
constexpr UINT LVIF_INDENT = 0x0010;
constexpr UINT LVIF_NORECOMPUTE = 0x0800;

constexpr UINT LVIS_FOCUSED = 0x0001;
constexpr UINT LVIS_SELECTED = 0x0002;
constexpr UINT LVIS_CUT = 0x0004;
constexpr UINT LVIS_DROPHILITED = 0x0008;
constexpr UINT LVIS_OVERLAYMASK = 0x0F00;
constexpr UINT LVIS_STATEIMAGEMASK = 0xF000;
constexpr UINT INDEXTOSTATEIMAGEMASK(UINT Index) {
  return Index << 12;
}

constexpr UINT LVNI_ALL = 0x0000;
constexpr UINT LVNI_FOCUSED = 0x0001;
constexpr UINT LVNI_SELECTED = 0x0002;
constexpr UINT LVNI_CUT = 0x0004;
constexpr UINT LVNI_DROPHILITED = 0x0008;
constexpr UINT LVNI_ABOVE = 0x0100;
constexpr UINT LVNI_BELOW = 0x0200;
constexpr UINT LVNI_TOLEFT = 0x0400;
constexpr UINT LVNI_TORIGHT = 0x0800;

constexpr Integer LVIR_BOUNDS = 0;
constexpr Integer LVIR_ICON = 1;
constexpr Integer LVIR_LABEL = 2;
constexpr Integer LVIR_SELECTBOUNDS = 3;

constexpr UINT LVHT_NOWHERE = 0x0001;
constexpr UINT LVHT_ONITEMICON = 0x0002;
constexpr UINT LVHT_ONITEMLABEL = 0x0004;
constexpr UINT LVHT_ONITEMSTATEICON = 0x0008;
constexpr UINT LVHT_ONITEM = LVHT_ONITEMICON | LVHT_ONITEMLABEL | LVHT_ONITEMSTATEICON;
constexpr UINT LVHT_ABOVE = 0x0008;
constexpr UINT LVHT_BELOW = 0x0010;
constexpr UINT LVHT_TORIGHT = 0x0020;
constexpr UINT LVHT_TOLEFT = 0x0040;

constexpr Integer LVSIL_NORMAL = 0;
constexpr Integer LVSIL_SMALL = 1;
constexpr Integer LVSIL_STATE = 2;

constexpr UINT LVCF_FMT = 0x0001;
constexpr UINT LVCF_WIDTH = 0x0002;
constexpr UINT LVCF_TEXT = 0x0004;
constexpr UINT LVCF_SUBITEM = 0x0008;
constexpr UINT LVCF_IMAGE = 0x0010;
constexpr UINT LVCF_ORDER = 0x0020;

constexpr Integer LVCFMT_LEFT = 0x0000;
constexpr Integer LVCFMT_RIGHT = 0x0001;
constexpr Integer LVCFMT_CENTER = 0x0002;
constexpr Integer LVCFMT_JUSTIFYMASK = 0x0003;
constexpr Integer LVCFMT_IMAGE = 0x0800;
constexpr Integer LVCFMT_BITMAP_ON_RIGHT = 0x1000;
constexpr Integer LVCFMT_COL_HAS_IMAGES = 0x8000;

constexpr Integer LVSCW_AUTOSIZE = -1;
constexpr Integer LVSCW_AUTOSIZE_USEHEADER = -2;

constexpr UINT LVFI_PARAM = 0x0001;
constexpr UINT LVFI_STRING = 0x0002;
constexpr UINT LVFI_PARTIAL = 0x0008;
constexpr UINT LVFI_WRAP = 0x0020;
constexpr UINT LVFI_NEARESTXY = 0x0040;

constexpr UINT LVA_DEFAULT = 0x0000;
constexpr UINT LVA_ALIGNLEFT = 0x0001;
constexpr UINT LVA_ALIGNTOP = 0x0002;
constexpr UINT LVA_SNAPTOGRID = 0x0005;

constexpr DWORD LVSICF_NOINVALIDATEALL = 0x00000001;
constexpr DWORD LVSICF_NOSCROLL = 0x00000002;

// pszText of an item whose text the parent gives on demand (LVN_GETDISPINFO / TVN_GETDISPINFO).
inline char* const LPSTR_TEXTCALLBACK = reinterpret_cast<char*>(static_cast<std::intptr_t>(-1));
constexpr Integer I_IMAGECALLBACK = -1;
constexpr Integer I_CHILDRENCALLBACK = -1;

constexpr UINT LVN_FIRST = 0u - 100u;
constexpr UINT LVN_ITEMCHANGING = LVN_FIRST - 0;
constexpr UINT LVN_ITEMCHANGED = LVN_FIRST - 1;
constexpr UINT LVN_INSERTITEM = LVN_FIRST - 2;
constexpr UINT LVN_DELETEITEM = LVN_FIRST - 3;
constexpr UINT LVN_DELETEALLITEMS = LVN_FIRST - 4;
constexpr UINT LVN_BEGINLABELEDITA = LVN_FIRST - 5;
constexpr UINT LVN_ENDLABELEDITA = LVN_FIRST - 6;
constexpr UINT LVN_COLUMNCLICK = LVN_FIRST - 8;
constexpr UINT LVN_BEGINDRAG = LVN_FIRST - 9;
constexpr UINT LVN_BEGINRDRAG = LVN_FIRST - 11;
constexpr UINT LVN_ODCACHEHINT = LVN_FIRST - 13;
constexpr UINT LVN_ITEMACTIVATE = LVN_FIRST - 14;
constexpr UINT LVN_ODSTATECHANGED = LVN_FIRST - 15;
constexpr UINT LVN_HOTTRACK = LVN_FIRST - 21;
constexpr UINT LVN_GETDISPINFOA = LVN_FIRST - 50;
constexpr UINT LVN_SETDISPINFOA = LVN_FIRST - 51;
constexpr UINT LVN_ODFINDITEMA = LVN_FIRST - 52;
constexpr UINT LVN_KEYDOWN = LVN_FIRST - 55;
constexpr UINT LVN_BEGINLABELEDIT = LVN_BEGINLABELEDITA;
constexpr UINT LVN_ENDLABELEDIT = LVN_ENDLABELEDITA;
constexpr UINT LVN_GETDISPINFO = LVN_GETDISPINFOA;
constexpr UINT LVN_SETDISPINFO = LVN_SETDISPINFOA;
constexpr UINT LVN_ODFINDITEM = LVN_ODFINDITEMA;

struct LVITEM {
  UINT mask = 0;
  Integer iItem = 0;
  Integer iSubItem = 0;
  UINT state = 0;
  UINT stateMask = 0;
  char* pszText = nullptr;  // LVM_GETITEM copies into it; LPSTR_TEXTCALLBACK: asked for
  Integer cchTextMax = 0;
  Integer iImage = 0;
  LPARAM lParam = 0;
  Integer iIndent = 0;
};
using LVITEMA = LVITEM;

struct LVCOLUMN {
  UINT mask = 0;
  Integer fmt = 0;
  Integer cx = 0;
  char* pszText = nullptr;
  Integer cchTextMax = 0;
  Integer iSubItem = 0;
  Integer iImage = 0;
  Integer iOrder = 0;
};
using LVCOLUMNA = LVCOLUMN;

struct LVFINDINFO {
  UINT flags = 0;
  const char* psz = nullptr;
  LPARAM lParam = 0;
  POINT pt;
  UINT vkDirection = 0;
};
using LVFINDINFOA = LVFINDINFO;

struct LVHITTESTINFO {
  POINT pt;
  UINT flags = 0;
  Integer iItem = -1;
  Integer iSubItem = 0;
};

struct NMLISTVIEW {
  NMHDR hdr;
  Integer iItem = -1;
  Integer iSubItem = 0;
  UINT uNewState = 0;
  UINT uOldState = 0;
  UINT uChanged = 0;
  POINT ptAction;
  LPARAM lParam = 0;
};
using NMITEMACTIVATE = NMLISTVIEW;

struct NMLVDISPINFO {
  NMHDR hdr;
  LVITEM item;
};
using NMLVDISPINFOA = NMLVDISPINFO;

// Owner data: the rows about to be drawn (iFrom .. iTo, both included).
struct NMLVCACHEHINT {
  NMHDR hdr;
  Integer iFrom = 0;
  Integer iTo = 0;
};

// Owner data: the parent finds the item (its answer: the index, -1 for none).
struct NMLVFINDITEM {
  NMHDR hdr;
  Integer iStart = 0;
  LVFINDINFO lvfi;
};
using NMLVFINDITEMA = NMLVFINDITEM;

struct NMLVKEYDOWN {
  NMHDR hdr;
  WORD wVKey = 0;
  UINT flags = 0;
};

struct NMLVCUSTOMDRAW {
  NMCUSTOMDRAW nmcd;
  COLORREF clrText = 0;
  COLORREF clrTextBk = 0;
  Integer iSubItem = 0;
};

// ---- Tree view -------------------------------------------------------------------------------
inline constexpr const char* WC_TREEVIEW = "SysTreeView32";

constexpr DWORD TVS_HASBUTTONS = 0x0001;
constexpr DWORD TVS_HASLINES = 0x0002;
constexpr DWORD TVS_LINESATROOT = 0x0004;
constexpr DWORD TVS_EDITLABELS = 0x0008;
constexpr DWORD TVS_DISABLEDRAGDROP = 0x0010;
constexpr DWORD TVS_SHOWSELALWAYS = 0x0020;
constexpr DWORD TVS_RTLREADING = 0x0040;
constexpr DWORD TVS_NOTOOLTIPS = 0x0080;
constexpr DWORD TVS_CHECKBOXES = 0x0100;
constexpr DWORD TVS_TRACKSELECT = 0x0200;
constexpr DWORD TVS_SINGLEEXPAND = 0x0400;
constexpr DWORD TVS_INFOTIP = 0x0800;
constexpr DWORD TVS_FULLROWSELECT = 0x1000;
constexpr DWORD TVS_NOSCROLL = 0x2000;
constexpr DWORD TVS_NONEVENHEIGHT = 0x4000;
constexpr DWORD TVS_NOHSCROLL = 0x8000;

struct HTREEITEM__;
using HTREEITEM = HTREEITEM__*;
inline HTREEITEM const TVI_ROOT = reinterpret_cast<HTREEITEM>(static_cast<std::intptr_t>(-0x10000));
inline HTREEITEM const TVI_FIRST = reinterpret_cast<HTREEITEM>(static_cast<std::intptr_t>(-0x0FFFF));
inline HTREEITEM const TVI_LAST = reinterpret_cast<HTREEITEM>(static_cast<std::intptr_t>(-0x0FFFE));
inline HTREEITEM const TVI_SORT = reinterpret_cast<HTREEITEM>(static_cast<std::intptr_t>(-0x0FFFD));

constexpr UINT TV_FIRST = 0x1100;
constexpr UINT TVM_INSERTITEMA = TV_FIRST + 0;
constexpr UINT TVM_DELETEITEM = TV_FIRST + 1;
constexpr UINT TVM_EXPAND = TV_FIRST + 2;
constexpr UINT TVM_GETITEMRECT = TV_FIRST + 4;
constexpr UINT TVM_GETCOUNT = TV_FIRST + 5;
constexpr UINT TVM_GETINDENT = TV_FIRST + 6;
constexpr UINT TVM_SETINDENT = TV_FIRST + 7;
constexpr UINT TVM_GETIMAGELIST = TV_FIRST + 8;
constexpr UINT TVM_SETIMAGELIST = TV_FIRST + 9;
constexpr UINT TVM_GETNEXTITEM = TV_FIRST + 10;
constexpr UINT TVM_SELECTITEM = TV_FIRST + 11;
constexpr UINT TVM_GETITEMA = TV_FIRST + 12;
constexpr UINT TVM_SETITEMA = TV_FIRST + 13;
constexpr UINT TVM_EDITLABELA = TV_FIRST + 14;
constexpr UINT TVM_GETEDITCONTROL = TV_FIRST + 15;
constexpr UINT TVM_GETVISIBLECOUNT = TV_FIRST + 16;
constexpr UINT TVM_HITTEST = TV_FIRST + 17;
constexpr UINT TVM_SORTCHILDREN = TV_FIRST + 19;
constexpr UINT TVM_ENSUREVISIBLE = TV_FIRST + 20;
constexpr UINT TVM_ENDEDITLABELNOW = TV_FIRST + 22;
constexpr UINT TVM_SETITEMHEIGHT = TV_FIRST + 27;
constexpr UINT TVM_GETITEMHEIGHT = TV_FIRST + 28;
constexpr UINT TVM_SETBKCOLOR = TV_FIRST + 29;
constexpr UINT TVM_SETTEXTCOLOR = TV_FIRST + 30;
constexpr UINT TVM_GETBKCOLOR = TV_FIRST + 31;
constexpr UINT TVM_GETTEXTCOLOR = TV_FIRST + 32;
constexpr UINT TVM_GETITEMSTATE = TV_FIRST + 39;
constexpr UINT TVM_SETLINECOLOR = TV_FIRST + 40;
constexpr UINT TVM_GETLINECOLOR = TV_FIRST + 41;
constexpr UINT TVM_INSERTITEM = TVM_INSERTITEMA;
constexpr UINT TVM_GETITEM = TVM_GETITEMA;
constexpr UINT TVM_SETITEM = TVM_SETITEMA;
constexpr UINT TVM_EDITLABEL = TVM_EDITLABELA;

constexpr UINT TVGN_ROOT = 0x0000;
constexpr UINT TVGN_NEXT = 0x0001;
constexpr UINT TVGN_PREVIOUS = 0x0002;
constexpr UINT TVGN_PARENT = 0x0003;
constexpr UINT TVGN_CHILD = 0x0004;
constexpr UINT TVGN_FIRSTVISIBLE = 0x0005;
constexpr UINT TVGN_NEXTVISIBLE = 0x0006;
constexpr UINT TVGN_PREVIOUSVISIBLE = 0x0007;
constexpr UINT TVGN_DROPHILITE = 0x0008;
constexpr UINT TVGN_CARET = 0x0009;
constexpr UINT TVGN_LASTVISIBLE = 0x000A;

constexpr UINT TVE_COLLAPSE = 0x0001;
constexpr UINT TVE_EXPAND = 0x0002;
constexpr UINT TVE_TOGGLE = 0x0003;
constexpr UINT TVE_COLLAPSERESET = 0x8000;

constexpr UINT TVIF_TEXT = 0x0001;
constexpr UINT TVIF_IMAGE = 0x0002;
constexpr UINT TVIF_PARAM = 0x0004;
constexpr UINT TVIF_STATE = 0x0008;
constexpr UINT TVIF_HANDLE = 0x0010;
constexpr UINT TVIF_SELECTEDIMAGE = 0x0020;
constexpr UINT TVIF_CHILDREN = 0x0040;

constexpr UINT TVIS_SELECTED = 0x0002;
constexpr UINT TVIS_CUT = 0x0004;
constexpr UINT TVIS_DROPHILITED = 0x0008;
constexpr UINT TVIS_BOLD = 0x0010;
constexpr UINT TVIS_EXPANDED = 0x0020;
constexpr UINT TVIS_EXPANDEDONCE = 0x0040;
constexpr UINT TVIS_OVERLAYMASK = 0x0F00;
constexpr UINT TVIS_STATEIMAGEMASK = 0xF000;
constexpr UINT TVIS_USERMASK = 0xF000;

constexpr Integer TVSIL_NORMAL = 0;
constexpr Integer TVSIL_STATE = 2;

constexpr UINT TVHT_NOWHERE = 0x0001;
constexpr UINT TVHT_ONITEMICON = 0x0002;
constexpr UINT TVHT_ONITEMLABEL = 0x0004;
constexpr UINT TVHT_ONITEMINDENT = 0x0008;
constexpr UINT TVHT_ONITEMBUTTON = 0x0010;
constexpr UINT TVHT_ONITEMRIGHT = 0x0020;
constexpr UINT TVHT_ONITEMSTATEICON = 0x0040;
constexpr UINT TVHT_ONITEM = TVHT_ONITEMICON | TVHT_ONITEMLABEL | TVHT_ONITEMSTATEICON;
constexpr UINT TVHT_ABOVE = 0x0100;
constexpr UINT TVHT_BELOW = 0x0200;
constexpr UINT TVHT_TORIGHT = 0x0400;
constexpr UINT TVHT_TOLEFT = 0x0800;

constexpr UINT TVC_UNKNOWN = 0x0000;
constexpr UINT TVC_BYMOUSE = 0x0001;
constexpr UINT TVC_BYKEYBOARD = 0x0002;

constexpr UINT TVN_FIRST = 0u - 400u;
constexpr UINT TVN_SELCHANGINGA = TVN_FIRST - 1;
constexpr UINT TVN_SELCHANGEDA = TVN_FIRST - 2;
constexpr UINT TVN_GETDISPINFOA = TVN_FIRST - 3;
constexpr UINT TVN_SETDISPINFOA = TVN_FIRST - 4;
constexpr UINT TVN_ITEMEXPANDINGA = TVN_FIRST - 5;
constexpr UINT TVN_ITEMEXPANDEDA = TVN_FIRST - 6;
constexpr UINT TVN_BEGINDRAGA = TVN_FIRST - 7;
constexpr UINT TVN_DELETEITEMA = TVN_FIRST - 9;
constexpr UINT TVN_BEGINLABELEDITA = TVN_FIRST - 10;
constexpr UINT TVN_ENDLABELEDITA = TVN_FIRST - 11;
constexpr UINT TVN_KEYDOWN = TVN_FIRST - 12;
constexpr UINT TVN_SELCHANGING = TVN_SELCHANGINGA;
constexpr UINT TVN_SELCHANGED = TVN_SELCHANGEDA;
constexpr UINT TVN_GETDISPINFO = TVN_GETDISPINFOA;
constexpr UINT TVN_SETDISPINFO = TVN_SETDISPINFOA;
constexpr UINT TVN_ITEMEXPANDING = TVN_ITEMEXPANDINGA;
constexpr UINT TVN_ITEMEXPANDED = TVN_ITEMEXPANDEDA;
constexpr UINT TVN_BEGINDRAG = TVN_BEGINDRAGA;
constexpr UINT TVN_DELETEITEM = TVN_DELETEITEMA;
constexpr UINT TVN_BEGINLABELEDIT = TVN_BEGINLABELEDITA;
constexpr UINT TVN_ENDLABELEDIT = TVN_ENDLABELEDITA;

struct TVITEM {
  UINT mask = 0;
  HTREEITEM hItem = nullptr;
  UINT state = 0;
  UINT stateMask = 0;
  char* pszText = nullptr;  // TVM_GETITEM copies into it; LPSTR_TEXTCALLBACK: asked for
  Integer cchTextMax = 0;
  Integer iImage = 0;
  Integer iSelectedImage = 0;
  Integer cChildren = 0;
  LPARAM lParam = 0;
};
using TVITEMA = TVITEM;

struct TVINSERTSTRUCT {
  HTREEITEM hParent = nullptr;       // null or TVI_ROOT: a top-level item
  HTREEITEM hInsertAfter = nullptr;  // an item, TVI_FIRST, TVI_LAST or TVI_SORT
  TVITEM item;
};
using TVINSERTSTRUCTA = TVINSERTSTRUCT;

struct TVHITTESTINFO {
  POINT pt;
  UINT flags = 0;
  HTREEITEM hItem = nullptr;
};

struct NMTREEVIEW {
  NMHDR hdr;
  UINT action = 0;  // TVC_* for a selection, TVE_* for an expansion
  TVITEM itemOld;
  TVITEM itemNew;
  POINT ptDrag;
};
using NMTREEVIEWA = NMTREEVIEW;

struct NMTVDISPINFO {
  NMHDR hdr;
  TVITEM item;
};
using NMTVDISPINFOA = NMTVDISPINFO;

struct NMTVKEYDOWN {
  NMHDR hdr;
  WORD wVKey = 0;
  UINT flags = 0;
};

struct NMTVCUSTOMDRAW {
  NMCUSTOMDRAW nmcd;
  COLORREF clrText = 0;
  COLORREF clrTextBk = 0;
  Integer iLevel = 0;
};

// ---- Registration -----------------------------------------------------------------------------
constexpr DWORD ICC_UPDOWN_CLASS = 0x00000010;
constexpr DWORD ICC_PROGRESS_CLASS = 0x00000020;
constexpr DWORD ICC_TAB_CLASSES = 0x00000008;
constexpr DWORD ICC_BAR_CLASSES = 0x00000004;
constexpr DWORD ICC_WIN95_CLASSES = 0x000000FF;
constexpr DWORD ICC_STANDARD_CLASSES = 0x00004000;
constexpr DWORD ICC_LISTVIEW_CLASSES = 0x00000001;
constexpr DWORD ICC_TREEVIEW_CLASSES = 0x00000002;

struct INITCOMMONCONTROLSEX {
  DWORD dwSize = sizeof(INITCOMMONCONTROLSEX);
  DWORD dwICC = 0;
};

// "Button", "Static", "ScrollBar" and the four common controls (each once).
void RegisterCommonControlClasses();
void RegisterButtonClass();
void RegisterStaticClass();
void RegisterScrollBarClass();
void RegisterTrackBarClass();
void RegisterProgressClass();
void RegisterTabControlClass();
void RegisterUpDownClass();
void RegisterHeaderClass();
void RegisterListViewClass();
void RegisterTreeViewClass();
// The trackbar, progress bar, tab control and up-down, as the platform's comctl32 offers them
// (ICC_BAR_CLASSES also the trackbar, ICC_STANDARD_CLASSES the user32 ones).
void InitCommonControls();
BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* Init);
