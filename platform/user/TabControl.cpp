// The tab control.
#include "platform/user/TabControl.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/gdi/FrameControls.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Painting.h"
#include "platform/gdi/Text.h"
#include "platform/user/ControlMessages.h"
#include "platform/user/Input.h"
#include "platform/user/NativeControlCommon.h"
#include "platform/user/WindowMessages.h"
#include "platform/user/WindowPaint.h"
#include "platform/user/WindowPos.h"
#include "platform/user/Windows.h"

namespace {

constexpr Integer TabsStart = 2;   // first tab's x; the selected tab reaches 2 further
constexpr Integer FrameInset = 4;  // frame 2 + margin 2
constexpr Integer ButtonGap = 3;
constexpr Integer ImageGap = 3;
constexpr Integer DefaultFixedWidth = 96;
constexpr Integer SelectedGrow = 2;
constexpr UINT_PTR ScrollerId = 1;

struct TTabItem {
  std::string Text;
  Integer Image = -1;
  LPARAM Param = 0;
  DWORD State = 0;
  TRect Rect;       // plain rectangle, client coordinates (scrolled)
  Integer Row = 0;  // layout row (before turning)
};

struct TTabData : TNativeControlData {
  std::vector<TTabItem> Items;
  Integer Sel = -1;
  Integer Focus = -1;
  Integer Hot = -1;
  bool Focused = false;
  HIMAGELIST Images = nullptr;
  TSize ItemSize;  // TCM_SETITEMSIZE (0: automatic)
  TSize Padding{6, 3};
  Integer MinTabWidth = -1;
  Integer First = 0;  // single line: the first tab shown
  // Measured text widths and font height, kept until something they depend on changes.
  bool Measured = false;
  std::vector<Integer> Widths;
  Integer TextHeight = 0;
  // Layout results.
  Integer Rows = 1;
  Integer TabHeight = 0;
  bool Overflow = false;  // single line: the row does not fit, the scroller shows
  Integer MaxFirst = 0;
  HWND Scroller = nullptr;
};

DWORD StyleOf(HWND Wnd) {
  return static_cast<DWORD>(GetWindowLongPtr(Wnd, GWL_STYLE));
}
bool Buttons(DWORD Style) {
  return Style & TCS_BUTTONS;
}
bool Bottom(DWORD Style) {
  return Style & TCS_BOTTOM;
}
bool Valid(const TTabData& D, Integer I) {
  return I >= 0 && I < static_cast<Integer>(D.Items.size());
}

TSize IconSize(const TTabData& D) {
  Integer Cx = 0, Cy = 0;
  if (D.Images != nullptr && ImageListCalls.GetIconSize != nullptr &&
      !ImageListCalls.GetIconSize(D.Images, &Cx, &Cy))
    Cx = Cy = 0;
  return {Cx, Cy};
}

constexpr UINT TextFormat = DT_SINGLELINE | DT_CENTER | DT_VCENTER;

// ---- Layout -----------------------------------------------------------------------------------

Integer ItemWidth(HDC DC, const TTabData& D, const TTabItem& It, DWORD Style, TSize Icon) {
  if (Style & TCS_FIXEDWIDTH) return D.ItemSize.cx > 0 ? D.ItemSize.cx : DefaultFixedWidth;
  if ((Style & TCS_OWNERDRAWFIXED) && D.ItemSize.cx > 0) return D.ItemSize.cx;
  Integer W = MeasureControlText(DC, It.Text, 0, DT_SINGLELINE).cx + 2 * D.Padding.cx;
  if (Icon.cx > 0 && It.Image >= 0) W += Icon.cx + ImageGap;
  if (D.MinTabWidth >= 0) W = std::max(W, D.MinTabWidth);
  return W;
}

Integer ScrollerWidth(const TTabData& D) {
  return 2 * D.TabHeight;
}

// Places every item; fills the layout results.
void Layout(HWND Wnd, TTabData& D) {
  const DWORD Style = StyleOf(Wnd);
  const TRect Client = ClientRectOf(Wnd);
  const Integer W = Client.Width(), H = Client.Height();
  const TSize Icon = IconSize(D);
  if (!D.Measured || D.Widths.size() != D.Items.size()) {
    HDC DC = CreateCompatibleDC(nullptr);
    const HGDIOBJ OldFont = SelectControlFont(DC, D);
    TEXTMETRICA TM{};
    GetTextMetrics(DC, &TM);
    D.TextHeight = TM.tmHeight;
    D.Widths.clear();
    for (const TTabItem& It : D.Items) D.Widths.push_back(ItemWidth(DC, D, It, Style, Icon));
    SelectObject(DC, OldFont);
    DeleteDC(DC);
    D.Measured = true;
  }
  D.TabHeight =
      D.ItemSize.cy > 0 ? D.ItemSize.cy : std::max<Integer>(D.TextHeight, Icon.cy) + 2 * D.Padding.cy;
  const std::vector<Integer>& Widths = D.Widths;

  const bool Btn = Buttons(Style);
  const Integer Start = Btn ? 0 : TabsStart, End = Btn ? W : W - TabsStart, Gap = Btn ? ButtonGap : 0;
  const bool Multi = Style & TCS_MULTILINE;
  // Rows along x, before scrolling and turning.
  Integer X = Start, Row = 0;
  std::vector<std::pair<std::size_t, std::size_t>> RowSpans{{0, 0}};
  for (std::size_t I = 0; I < D.Items.size(); ++I) {
    if (Multi && X > Start && X + Widths[I] > End) {
      RowSpans.back().second = I;
      RowSpans.push_back({I, I});
      ++Row;
      X = Start;
    }
    D.Items[I].Row = Row;
    D.Items[I].Rect.Left = X;
    D.Items[I].Rect.Right = X + Widths[I];
    X += Widths[I] + Gap;
  }
  RowSpans.back().second = D.Items.size();
  D.Rows = static_cast<Integer>(RowSpans.size());
  if (D.Rows > 1 && !(Style & (TCS_RAGGEDRIGHT | TCS_FIXEDWIDTH))) {
    for (const auto& [From, To] : RowSpans) {
      if (To <= From) continue;
      const Integer Extra = End - D.Items[To - 1].Rect.Right;
      const Integer N = static_cast<Integer>(To - From);
      if (Extra <= 0) continue;
      for (Integer K = 0; K < N; ++K) {
        TTabItem& It = D.Items[From + K];
        It.Rect.Left += Extra * K / N;
        It.Rect.Right += Extra * (K + 1) / N;
      }
    }
  }

  // Single line: scrolling by whole tabs.
  D.Overflow = !Multi && !D.Items.empty() && D.Items.back().Rect.Right > End;
  D.MaxFirst = 0;
  if (D.Overflow) {
    const Integer Limit = W - ScrollerWidth(D);
    const Integer Last = D.Items.back().Rect.Right;
    D.MaxFirst = static_cast<Integer>(D.Items.size()) - 1;
    for (std::size_t F = 0; F < D.Items.size(); ++F)
      if (Last - (D.Items[F].Rect.Left - Start) <= Limit) {
        D.MaxFirst = static_cast<Integer>(F);
        break;
      }
  }
  D.First = D.Overflow ? std::clamp(D.First, 0, D.MaxFirst) : 0;
  const Integer Shift = D.Overflow && !D.Items.empty() ? D.Items[D.First].Rect.Left - Start : 0;

  // Rows across: the selected row next to the display area (tabs only).
  const Integer SelRow = (!Btn && Valid(D, D.Sel)) ? D.Items[D.Sel].Row : 0;
  const Integer Pitch = D.TabHeight + Gap;
  for (TTabItem& It : D.Items) {
    const Integer Shown = Btn ? It.Row : (It.Row - SelRow + D.Rows) % D.Rows;  // 0: next to the display area
    Integer Y;
    if (Btn)
      Y = Bottom(Style) ? H - D.TabHeight - Shown * Pitch : Shown * Pitch;
    else if (Bottom(Style))
      Y = H - TabsStart - D.Rows * D.TabHeight + Shown * D.TabHeight;
    else
      Y = TabsStart + (D.Rows - 1 - Shown) * D.TabHeight;
    It.Rect.Left -= Shift;
    It.Rect.Right -= Shift;
    It.Rect.Top = Y;
    It.Rect.Bottom = Y + D.TabHeight;
  }
}

// The part of the client area the tab rows take (from the top or the bottom).
Integer RowsExtent(const TTabData& D, DWORD Style) {
  if (Buttons(Style)) return D.Rows * (D.TabHeight + ButtonGap);
  return D.Rows * D.TabHeight + TabsStart;
}

TRect TabFrameRect(HWND Wnd, const TTabData& D) {
  const DWORD Style = StyleOf(Wnd);
  const TRect C = ClientRectOf(Wnd);
  if (Bottom(Style)) return {0, 0, C.Width(), C.Height() - RowsExtent(D, Style)};
  return {0, RowsExtent(D, Style), C.Width(), C.Height()};
}

void AdjustRect(HWND Wnd, TTabData& D, bool Larger, RECT& R) {
  Layout(Wnd, D);
  const DWORD Style = StyleOf(Wnd);
  const Integer Inset = Buttons(Style) ? 0 : FrameInset;
  const Integer Rows = RowsExtent(D, Style);
  const Integer S = Larger ? -1 : 1;
  R.Left += S * Inset;
  R.Right -= S * Inset;
  if (Bottom(Style)) {
    R.Top += S * Inset;
    R.Bottom -= S * (Inset + Rows);
  } else {
    R.Top += S * (Inset + Rows);
    R.Bottom -= S * Inset;
  }
}

Integer HitTest(HWND Wnd, TTabData& D, TPoint P, UINT* Flags) {
  Layout(Wnd, D);
  const TRect C = ClientRectOf(Wnd);
  const Integer Limit = D.Overflow ? C.Width() - ScrollerWidth(D) : C.Width();
  if (P.X < Limit)
    for (std::size_t I = 0; I < D.Items.size(); ++I) {
      const TTabItem& It = D.Items[I];
      if (!RectContains(It.Rect, P)) continue;
      if (Flags != nullptr) {
        const TSize Icon = IconSize(D);
        const Integer IconLeft = It.Rect.Left + D.Padding.cx;
        const bool OnIcon = Icon.cx > 0 && It.Image >= 0 && P.X >= IconLeft && P.X < IconLeft + Icon.cx;
        *Flags = OnIcon ? TCHT_ONITEMICON : TCHT_ONITEMLABEL;
      }
      return static_cast<Integer>(I);
    }
  if (Flags != nullptr) *Flags = TCHT_NOWHERE;
  return -1;
}

// ---- The scroller -----------------------------------------------------------------------------

void UpdateScroller(HWND Wnd, TTabData& D) {
  Layout(Wnd, D);
  if (!D.Overflow) {
    if (IsWindow(D.Scroller)) DestroyWindow(D.Scroller);
    D.Scroller = nullptr;
    return;
  }
  const TRect C = ClientRectOf(Wnd);
  const Integer Cx = ScrollerWidth(D), Cy = D.TabHeight;
  const Integer X = C.Width() - Cx, Y = Bottom(StyleOf(Wnd)) ? C.Height() - Cy : 0;
  if (!IsWindow(D.Scroller)) {
    RegisterUpDownClass();
    const HWND S = CreateWindowEx(0, UPDOWN_CLASS, "", WS_CHILD | WS_VISIBLE | UDS_HORZ, X, Y, Cx, Cy, Wnd,
                                  reinterpret_cast<HMENU>(ScrollerId), nullptr, nullptr);
    TTabData* Again = ControlData<TTabData>(Wnd);
    if (Again == nullptr) return;
    Again->Scroller = S;
  } else {
    SetWindowPos(D.Scroller, nullptr, X, Y, Cx, Cy, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  TTabData* Dp = ControlData<TTabData>(Wnd);
  if (Dp == nullptr || !IsWindow(Dp->Scroller)) return;
  SendMessage(Dp->Scroller, UDM_SETRANGE32, 0, Dp->MaxFirst);
  SendMessage(Dp->Scroller, UDM_SETPOS32, 0, Dp->First);
}

// Scrolls a single line so that item I shows whole.
void EnsureVisible(HWND Wnd, TTabData& D, Integer I) {
  Layout(Wnd, D);
  if (!D.Overflow || !Valid(D, I)) return;
  const Integer Limit = ClientRectOf(Wnd).Width() - ScrollerWidth(D);
  if (I < D.First) {
    D.First = I;
  } else {
    while (D.First < std::min(I, D.MaxFirst) && D.Items[I].Rect.Right > Limit) {
      const Integer Step = D.Items[D.First + 1].Rect.Left - D.Items[D.First].Rect.Left;
      ++D.First;
      for (TTabItem& It : D.Items) {
        It.Rect.Left -= Step;
        It.Rect.Right -= Step;
      }
    }
  }
  if (IsWindow(D.Scroller)) SendMessage(D.Scroller, UDM_SETPOS32, 0, D.First);
}

// ---- Selection --------------------------------------------------------------------------------

// Selects I; with Notify the parent may refuse (TCN_SELCHANGING) and hears TCN_SELCHANGE.
bool Select(HWND Wnd, Integer I, bool Notify) {
  TTabData* D = ControlData<TTabData>(Wnd);
  if (D == nullptr || !Valid(*D, I)) return false;
  if (I == D->Sel) {
    D->Focus = I;
    return true;
  }
  if (Notify && NotifyParent(Wnd, TCN_SELCHANGING) != 0) return false;
  if ((D = ControlData<TTabData>(Wnd)) == nullptr || !Valid(*D, I)) return false;
  D->Sel = D->Focus = I;
  EnsureVisible(Wnd, *D, I);
  InvalidateRect(Wnd, nullptr, TRUE);
  if (Notify) NotifyParent(Wnd, TCN_SELCHANGE);
  return true;
}

// ---- Painting ---------------------------------------------------------------------------------

void HLine(HDC DC, Integer X0, Integer X1, Integer Y, Integer Color) {
  FillSysColor(DC, {X0, Y, X1, Y + 1}, Color);
}
void VLine(HDC DC, Integer X, Integer Y0, Integer Y1, Integer Color) {
  FillSysColor(DC, {X, Y0, X + 1, Y1}, Color);
}

// A classic tab: highlight on the left and the far edge, dark shadow and shadow on the right,
// rounded by one pixel at the far corners, open toward the frame.
void DrawTabShape(HDC DC, const TRect& R, bool AtBottom) {
  FillSysColor(DC, InflatedRect(R, -1, 0), COLOR_3DFACE);
  if (!AtBottom) {
    VLine(DC, R.Left, R.Top + 2, R.Bottom, COLOR_3DHILIGHT);
    FillSysColor(DC, {R.Left + 1, R.Top + 1, R.Left + 2, R.Top + 2}, COLOR_3DHILIGHT);
    HLine(DC, R.Left + 2, R.Right - 2, R.Top, COLOR_3DHILIGHT);
    FillSysColor(DC, {R.Right - 2, R.Top + 1, R.Right - 1, R.Top + 2}, COLOR_3DDKSHADOW);
    VLine(DC, R.Right - 1, R.Top + 2, R.Bottom, COLOR_3DDKSHADOW);
    VLine(DC, R.Right - 2, R.Top + 2, R.Bottom, COLOR_3DSHADOW);
    FillSysColor(DC, {R.Left + 1, R.Top, R.Left + 2, R.Top + 1}, COLOR_3DFACE);
  } else {
    VLine(DC, R.Left, R.Top, R.Bottom - 2, COLOR_3DHILIGHT);
    FillSysColor(DC, {R.Left + 1, R.Bottom - 2, R.Left + 2, R.Bottom - 1}, COLOR_3DDKSHADOW);
    HLine(DC, R.Left + 2, R.Right - 2, R.Bottom - 1, COLOR_3DDKSHADOW);
    HLine(DC, R.Left + 2, R.Right - 2, R.Bottom - 2, COLOR_3DSHADOW);
    FillSysColor(DC, {R.Right - 2, R.Bottom - 2, R.Right - 1, R.Bottom - 1}, COLOR_3DDKSHADOW);
    VLine(DC, R.Right - 1, R.Top, R.Bottom - 2, COLOR_3DDKSHADOW);
    VLine(DC, R.Right - 2, R.Top, R.Bottom - 2, COLOR_3DSHADOW);
  }
}

void DrawItemContent(HWND Wnd, HDC DC, const TTabData& D, Integer I, const TRect& R, DWORD Style) {
  const TTabItem& It = D.Items[I];
  if (Style & TCS_OWNERDRAWFIXED) {
    DRAWITEMSTRUCT DI;
    DI.CtlType = ODT_TAB;
    DI.CtlID = static_cast<UINT>(GetDlgCtrlID(Wnd));
    DI.itemID = static_cast<UINT>(I);
    DI.itemAction = ODA_DRAWENTIRE;
    DI.itemState = I == D.Sel ? ODS_SELECTED : 0;
    DI.hwndItem = Wnd;
    DI.hDC = DC;
    DI.rcItem = InflatedRect(R, -2, -2);
    DI.itemData = static_cast<ULONG_PTR>(It.Param);
    const HWND P = NotifyTarget(Wnd);
    if (P != nullptr) SendMessage(P, WM_DRAWITEM, DI.CtlID, reinterpret_cast<LPARAM>(&DI));
    return;
  }
  TRect Box = R;
  if (It.State & TCIS_HIGHLIGHTED) FillSysColor(DC, InflatedRect(R, -2, -2), COLOR_HIGHLIGHT);
  const TSize Icon = IconSize(D);
  if (Icon.cx > 0 && It.Image >= 0 && ImageListCalls.Draw != nullptr) {
    const Integer X = R.Left + D.Padding.cx;
    ImageListCalls.Draw(D.Images, It.Image, DC, X, R.Top + (R.Height() - Icon.cy) / 2, 0);
    Box.Left = X + Icon.cx + ImageGap - D.Padding.cx;
  }
  Integer Color = COLOR_BTNTEXT;
  if (It.State & TCIS_HIGHLIGHTED)
    Color = COLOR_HIGHLIGHTTEXT;
  else if ((Style & TCS_HOTTRACK) && I == D.Hot)
    Color = COLOR_HOTLIGHT;
  SetTextColor(DC, GetSysColor(Color));
  RECT T = Box;
  DrawControlText(DC, It.Text, &T, TextFormat, !IsWindowEnabled(Wnd));
}

void Paint(HWND Wnd, HDC DC) {
  TTabData* Dp = ControlData<TTabData>(Wnd);
  if (Dp == nullptr) return;
  Layout(Wnd, *Dp);
  const TTabData D = *Dp;  // the owner may change the control while it draws items
  const DWORD Style = StyleOf(Wnd);
  const TRect Client = ClientRectOf(Wnd);
  const bool Btn = Buttons(Style), AtBottom = Bottom(Style);
  FillSysColor(DC, Client, COLOR_3DFACE);
  const HGDIOBJ OldFont = SelectControlFont(DC, D);
  if (!Btn) {
    RECT Frame = TabFrameRect(Wnd, D);
    DrawEdge(DC, &Frame, EDGE_RAISED, BF_RECT | BF_SOFT);
  }
  const Integer Saved = SaveDC(DC);
  if (D.Overflow) IntersectClipRect(DC, 0, 0, Client.Width() - ScrollerWidth(D), Client.Height());
  const Integer N = static_cast<Integer>(D.Items.size());
  for (Integer Pass = 0; Pass < 2; ++Pass)  // the selected tab last, over its neighbours
    for (Integer I = 0; I < N; ++I) {
      if ((I == D.Sel) != (Pass == 1)) continue;
      TRect R = D.Items[I].Rect;
      if (Btn) {
        const bool Down = I == D.Sel || (D.Items[I].State & TCIS_BUTTONPRESSED);
        RECT E = R;
        if (Down)
          DrawEdge(DC, &E, EDGE_SUNKEN, BF_RECT | BF_MIDDLE);
        else if (!(Style & TCS_FLATBUTTONS))
          DrawEdge(DC, &E, EDGE_RAISED, BF_RECT | BF_SOFT | BF_MIDDLE);
        if (Down) R = OffsetRectBy(R, 1, 1);
      } else if (I == D.Sel) {
        const TRect Big =
            AtBottom
                ? TRect{R.Left - SelectedGrow, R.Top - 2, R.Right + SelectedGrow, R.Bottom + SelectedGrow}
                : TRect{R.Left - SelectedGrow, R.Top - SelectedGrow, R.Right + SelectedGrow, R.Bottom + 2};
        DrawTabShape(DC, Big, AtBottom);
        R = OffsetRectBy(R, 0, AtBottom ? 1 : -1);
      } else {
        DrawTabShape(DC, R, AtBottom);
      }
      DrawItemContent(Wnd, DC, D, I, R, Style);
    }
  RestoreDC(DC, Saved);
  SelectObject(DC, OldFont);
  if (D.Focused && Valid(D, D.Focus) && !(Style & TCS_FOCUSNEVER)) {
    const RECT F = InflatedRect(D.Items[D.Focus].Rect, -3, -3);
    DrawFocusRect(DC, &F);
  }
}

// After a change of the items, the font, the styles or the sizes.
void Relayout(HWND Wnd, TTabData& D) {
  D.Measured = false;
  UpdateScroller(Wnd, D);
  InvalidateRect(Wnd, nullptr, TRUE);
}

// ---- Messages ---------------------------------------------------------------------------------

bool ReadItem(const TTabItem& It, TCITEM& T) {
  if (T.mask & TCIF_TEXT) {
    if (T.pszText != nullptr && T.cchTextMax > 0) {
      const std::size_t N = std::min<std::size_t>(It.Text.size(), static_cast<std::size_t>(T.cchTextMax - 1));
      std::memcpy(T.pszText, It.Text.data(), N);
      T.pszText[N] = 0;
    }
  }
  if (T.mask & TCIF_IMAGE) T.iImage = It.Image;
  if (T.mask & TCIF_PARAM) T.lParam = It.Param;
  if (T.mask & TCIF_STATE) T.dwState = It.State & T.dwStateMask;
  return true;
}

void WriteItem(TTabItem& It, const TCITEM& T) {
  if (T.mask & TCIF_TEXT) It.Text = T.pszText != nullptr ? T.pszText : "";
  if (T.mask & TCIF_IMAGE) It.Image = T.iImage;
  if (T.mask & TCIF_PARAM) It.Param = T.lParam;
  if (T.mask & TCIF_STATE) It.State = (It.State & ~T.dwStateMask) | (T.dwState & T.dwStateMask);
}

LRESULT TabWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  TTabData* D = ControlData<TTabData>(Wnd);
  if (D == nullptr) return 0;
  LRESULT Result = 0;
  if (HandleFontMessage(Wnd, *D, Msg, WParam, LParam, Result)) {
    if (Msg == WM_SETFONT) Relayout(Wnd, *D);
    return Result;
  }
  const Integer N = static_cast<Integer>(D->Items.size());
  const Integer Index = static_cast<Integer>(WParam);
  switch (Msg) {
    case WM_PAINT:
    case WM_PRINTCLIENT:
      return PaintControl(Wnd, Msg, WParam, Paint);
    case WM_ERASEBKGND:
      return 1;
    case WM_NCHITTEST: {
      POINT P = MousePoint(LParam);
      ScreenToClient(Wnd, &P);
      if (RectContains(ClientRectOf(Wnd), P) && HitTest(Wnd, *D, P, nullptr) < 0) return HTTRANSPARENT;
      return DefWindowProc(Wnd, Msg, WParam, LParam);
    }
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SIZE:
    case WM_STYLECHANGED:
      Relayout(Wnd, *D);
      return DefWindowProc(Wnd, Msg, WParam, LParam);
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      D->Focused = Msg == WM_SETFOCUS;
      if (D->Focused && !Valid(*D, D->Focus)) D->Focus = D->Sel;
      InvalidateRect(Wnd, nullptr, FALSE);
      return 0;
    case WM_ENABLE:
      InvalidateRect(Wnd, nullptr, TRUE);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      const Integer Hit = HitTest(Wnd, *D, MousePoint(LParam), nullptr);
      if (Hit < 0) return 0;
      const DWORD Style = StyleOf(Wnd);
      if (!(Style & TCS_FOCUSNEVER) && (!Buttons(Style) || (Style & TCS_FOCUSONBUTTONDOWN))) SetFocus(Wnd);
      Select(Wnd, Hit, true);
      return 0;
    }
    case WM_LBUTTONUP:
      NotifyParent(Wnd, NM_CLICK);
      return 0;
    case WM_RBUTTONUP:
      if (NotifyParent(Wnd, NM_RCLICK) != 0) return 0;
      return DefWindowProc(Wnd, Msg, WParam, LParam);
    case WM_MOUSEMOVE:
      if (StyleOf(Wnd) & TCS_HOTTRACK) {
        const Integer Hit = HitTest(Wnd, *D, MousePoint(LParam), nullptr);
        if (Hit != D->Hot) {
          D->Hot = Hit;
          InvalidateRect(Wnd, nullptr, FALSE);
          TRACKMOUSEEVENT T;
          T.dwFlags = TME_LEAVE;
          T.hwndTrack = Wnd;
          TrackMouseEvent(&T);
        }
      }
      return 0;
    case WM_MOUSELEAVE:
      if (D->Hot >= 0) {
        D->Hot = -1;
        InvalidateRect(Wnd, nullptr, FALSE);
      }
      return 0;
    case WM_KEYDOWN: {
      NMTCKEYDOWN K;
      K.wVKey = static_cast<WORD>(WParam);
      K.flags = static_cast<UINT>(LParam);
      NotifyParent(Wnd, TCN_KEYDOWN, &K.hdr);
      if ((D = ControlData<TTabData>(Wnd)) == nullptr) return 0;
      if (WParam == VK_LEFT || WParam == VK_UP)
        Select(Wnd, D->Sel - 1, true);
      else if (WParam == VK_RIGHT || WParam == VK_DOWN)
        Select(Wnd, D->Sel + 1, true);
      else
        return DefWindowProc(Wnd, Msg, WParam, LParam);
      return 0;
    }
    case WM_HSCROLL:
      if (LOWORD(WParam) == SB_THUMBPOSITION) {
        Layout(Wnd, *D);
        D->First = D->Overflow ? std::clamp<Integer>(static_cast<SHORT>(HIWORD(WParam)), 0, D->MaxFirst) : 0;
        if (IsWindow(D->Scroller) && reinterpret_cast<HWND>(LParam) != D->Scroller)
          SendMessage(D->Scroller, UDM_SETPOS32, 0, D->First);
        InvalidateRect(Wnd, nullptr, TRUE);
      }
      return 0;
    case TCM_GETIMAGELIST:
      return reinterpret_cast<LRESULT>(D->Images);
    case TCM_SETIMAGELIST: {
      const HIMAGELIST Old = D->Images;
      D->Images = reinterpret_cast<HIMAGELIST>(LParam);
      Relayout(Wnd, *D);
      return reinterpret_cast<LRESULT>(Old);
    }
    case TCM_GETITEMCOUNT:
      return N;
    case TCM_GETITEMA: {
      auto* T = reinterpret_cast<TCITEM*>(LParam);
      return Valid(*D, Index) && T != nullptr && ReadItem(D->Items[Index], *T);
    }
    case TCM_SETITEMA: {
      const auto* T = reinterpret_cast<const TCITEM*>(LParam);
      if (!Valid(*D, Index) || T == nullptr) return FALSE;
      WriteItem(D->Items[Index], *T);
      Relayout(Wnd, *D);
      return TRUE;
    }
    case TCM_INSERTITEMA: {
      const auto* T = reinterpret_cast<const TCITEM*>(LParam);
      if (T == nullptr || Index < 0) return -1;
      const Integer At = std::min(Index, N);
      TTabItem It;
      WriteItem(It, *T);
      D->Items.insert(D->Items.begin() + At, It);
      if (D->Sel >= At) ++D->Sel;
      if (D->Focus >= At) ++D->Focus;
      if (D->Items.size() == 1) D->Sel = D->Focus = 0;
      Relayout(Wnd, *D);
      return At;
    }
    case TCM_DELETEITEM:
      if (!Valid(*D, Index)) return FALSE;
      D->Items.erase(D->Items.begin() + Index);
      for (Integer* V : {&D->Sel, &D->Focus, &D->Hot}) {
        if (*V == Index)
          *V = -1;
        else if (*V > Index)
          --*V;
      }
      Relayout(Wnd, *D);
      return TRUE;
    case TCM_DELETEALLITEMS:
      D->Items.clear();
      D->Sel = D->Focus = D->Hot = -1;
      D->First = 0;
      Relayout(Wnd, *D);
      return TRUE;
    case TCM_GETITEMRECT: {
      auto* R = reinterpret_cast<RECT*>(LParam);
      if (!Valid(*D, Index) || R == nullptr) return FALSE;
      Layout(Wnd, *D);
      *R = D->Items[Index].Rect;
      return TRUE;
    }
    case TCM_GETCURSEL:
      return D->Sel;
    case TCM_SETCURSEL: {
      if (Index < -1 || Index >= N) return -1;
      const Integer Old = D->Sel;
      D->Sel = Index;
      if (Index >= 0) D->Focus = Index;
      EnsureVisible(Wnd, *D, Index);
      InvalidateRect(Wnd, nullptr, TRUE);
      return Old;
    }
    case TCM_GETCURFOCUS:
      return D->Focus;
    case TCM_SETCURFOCUS:
      if (Buttons(StyleOf(Wnd))) {
        if (Valid(*D, Index)) D->Focus = Index;
        InvalidateRect(Wnd, nullptr, FALSE);
      } else {
        Select(Wnd, Index, true);
      }
      return 0;
    case TCM_HITTEST: {
      auto* H = reinterpret_cast<TCHITTESTINFO*>(LParam);
      if (H == nullptr) return -1;
      return HitTest(Wnd, *D, H->pt, &H->flags);
    }
    case TCM_SETITEMEXTRA:
      return N == 0;
    case TCM_ADJUSTRECT:
      if (auto* R = reinterpret_cast<RECT*>(LParam)) AdjustRect(Wnd, *D, WParam != 0, *R);
      return 0;
    case TCM_SETITEMSIZE: {
      Layout(Wnd, *D);
      const Integer OldWidth = D->ItemSize.cx > 0 ? D->ItemSize.cx : DefaultFixedWidth;
      const LRESULT Old = MAKELONG(static_cast<WORD>(OldWidth), static_cast<WORD>(D->TabHeight));
      D->ItemSize = {static_cast<SHORT>(LOWORD(static_cast<std::uintptr_t>(LParam))),
                     static_cast<SHORT>(HIWORD(static_cast<std::uintptr_t>(LParam)))};
      Relayout(Wnd, *D);
      return Old;
    }
    case TCM_SETPADDING:
      D->Padding = {static_cast<SHORT>(LOWORD(static_cast<std::uintptr_t>(LParam))),
                    static_cast<SHORT>(HIWORD(static_cast<std::uintptr_t>(LParam)))};
      Relayout(Wnd, *D);
      return 0;
    case TCM_GETROWCOUNT:
      Layout(Wnd, *D);
      return D->Rows;
    case TCM_SETMINTABWIDTH: {
      const Integer Old = D->MinTabWidth;
      D->MinTabWidth = static_cast<Integer>(LParam);
      Relayout(Wnd, *D);
      return Old;
    }
    case TCM_DESELECTALL:
      for (TTabItem& It : D->Items) It.State &= ~TCIS_BUTTONPRESSED;
      InvalidateRect(Wnd, nullptr, FALSE);
      return 0;
    case TCM_HIGHLIGHTITEM:
      if (!Valid(*D, Index)) return FALSE;
      if (LOWORD(static_cast<std::uintptr_t>(LParam)))
        D->Items[Index].State |= TCIS_HIGHLIGHTED;
      else
        D->Items[Index].State &= ~TCIS_HIGHLIGHTED;
      InvalidateRect(Wnd, nullptr, FALSE);
      return TRUE;
    case TCM_GETTOOLTIPS:
    case TCM_SETTOOLTIPS:
      return 0;
    default:
      return DefWindowProc(Wnd, Msg, WParam, LParam);
  }
}

}  // namespace

void RegisterTabControlClass() {
  RegisterUpDownClass();
  RegisterControlClass(WC_TABCONTROL, TabWndProc, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, -1);
}
