// Layout and classic drawing of popup menus and menu bars.
#include <algorithm>

#include "platform/gdi/Blit.h"
#include "platform/gdi/Dib.h"
#include "platform/gdi/FrameControls.h"
#include "platform/gdi/Painting.h"
#include "platform/gdi/Text.h"
#include "platform/user/MenuInternals.h"
#include "platform/user/NonClient.h"
#include "platform/user/SystemMetrics.h"

namespace {

// A memory DC with the menu font for measuring.
struct TMeasureDC {
  HDC DC;
  TMeasureDC() : DC(CreateCompatibleDC(nullptr)) { SelectObject(DC, NcMenuFont(false)); }
  ~TMeasureDC() { DeleteDC(DC); }
};

TSize TextSize(HDC DC, const std::string& Text, bool Bold) {
  if (Text.empty()) return {0, 0};
  HGDIOBJ Old = SelectObject(DC, NcMenuFont(Bold));
  RECT R{0, 0, 0, 0};
  DrawText(DC, Text.c_str(), -1, &R, DT_SINGLELINE | DT_CALCRECT);
  SelectObject(DC, Old);
  return {R.Width(), R.Height()};
}

TSize BitmapSize(HBITMAP B) {
  if (!IsMenuBitmap(B)) return {0, 0};
  return {B->Surface.Width, B->Surface.Height};
}

void DrawBitmap(HDC DC, HBITMAP B, Integer X, Integer Y) {
  if (!IsMenuBitmap(B)) return;
  HDC Mem = CreateCompatibleDC(DC);
  HGDIOBJ Old = SelectObject(Mem, B);
  BitBlt(DC, X, Y, B->Surface.Width, B->Surface.Height, Mem, 0, 0, SRCCOPY);
  SelectObject(Mem, Old);
  DeleteDC(Mem);
}

// Asks the owner for an owner-drawn item's size.
TSize MeasureOwnerDrawn(HWND Owner, const TMenuItemData& I, Integer DefaultHeight) {
  MEASUREITEMSTRUCT MI;
  MI.CtlType = ODT_MENU;
  MI.itemID = I.Id;
  MI.itemData = I.Data;
  MI.itemHeight = static_cast<UINT>(DefaultHeight);
  if (TWindow* O = PeekWindow(Owner)) SendTo(O, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&MI));
  return {static_cast<Integer>(MI.itemWidth), static_cast<Integer>(MI.itemHeight)};
}

void DrawOwnerDrawn(HDC DC, TMenuObject& M, const TMenuItemData& I, HWND Owner, bool Entire) {
  DRAWITEMSTRUCT DI;
  DI.CtlType = ODT_MENU;
  DI.itemID = I.Id;
  DI.itemAction = Entire ? ODA_DRAWENTIRE : ODA_SELECT;
  DI.itemState = ((I.State & MF_HILITE) ? ODS_SELECTED : 0) | ((I.State & MF_GRAYED) ? ODS_GRAYED : 0) |
                 ((I.State & MF_DISABLED) ? ODS_DISABLED : 0) | ((I.State & MF_CHECKED) ? ODS_CHECKED : 0) |
                 ((I.State & MF_DEFAULT) ? ODS_DEFAULT : 0);
  DI.hwndItem = reinterpret_cast<HWND>(M.Handle);
  DI.hDC = DC;
  DI.rcItem = I.Rect;
  DI.itemData = I.Data;
  if (TWindow* O = PeekWindow(Owner)) {
    const Integer Saved = SaveDC(DC);
    SendTo(O, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&DI));
    RestoreDC(DC, Saved);
  }
}

}  // namespace

Integer MenuItemHeight() {
  static Integer H = [] {
    TMeasureDC M;
    TEXTMETRIC TM;
    GetTextMetrics(M.DC, &TM);
    return std::max<Integer>(TM.tmHeight + 4, GetSystemMetrics(SM_CYMENUCHECK) + 4);
  }();
  return H;
}

Integer MenuBarRowHeight() {
  return GetSystemMetrics(SM_CYMENU) - 1;
}
Integer MenuCheckColumn() {
  return GetSystemMetrics(SM_CXMENUCHECK) + 6;
}

std::string MenuLabel(const std::string& Text) {
  const std::size_t Tab = Text.find('\t');
  return Tab == std::string::npos ? Text : Text.substr(0, Tab);
}

std::string MenuShortcut(const std::string& Text) {
  const std::size_t Tab = Text.find('\t');
  return Tab == std::string::npos ? std::string() : Text.substr(Tab + 1);
}

char32_t MenuAccelerator(const std::string& Text) {
  for (std::size_t I = 0; I + 1 < Text.size(); ++I) {
    if (Text[I] == '\t') break;
    if (Text[I] != '&') continue;
    if (Text[I + 1] == '&') {
      ++I;
      continue;
    }
    // One UTF-8 character after the '&'.
    const unsigned char C = static_cast<unsigned char>(Text[I + 1]);
    char32_t Cp = C;
    std::size_t N = 1;
    if (C >= 0xF0)
      Cp = C & 0x07, N = 4;
    else if (C >= 0xE0)
      Cp = C & 0x0F, N = 3;
    else if (C >= 0xC0)
      Cp = C & 0x1F, N = 2;
    for (std::size_t K = 1; K < N && I + 1 + K < Text.size(); ++K) Cp = (Cp << 6) | (Text[I + 1 + K] & 0x3F);
    if (Cp < 0x80 && Cp >= 'A' && Cp <= 'Z') Cp += 'a' - 'A';
    return Cp;
  }
  return 0;
}

void LayoutPopupMenu(TMenuObject& M, HWND Owner) {
  TMeasureDC D;
  const Integer ItemH = MenuItemHeight();
  Integer MaxLabel = 0, MaxShortcut = 0, MaxBitmap = 0, MaxOwner = 0;
  std::vector<TSize> Sizes(M.Items.size());
  for (std::size_t I = 0; I < M.Items.size(); ++I) {
    const TMenuItemData& It = M.Items[I];
    if (It.IsSeparator()) {
      Sizes[I] = {0, MenuSeparatorHeight};
    } else if (It.IsOwnerDraw()) {
      TSize S = MeasureOwnerDrawn(Owner, It, ItemH);
      S.cx += GetSystemMetrics(SM_CXMENUCHECK) - 1;
      MaxOwner = std::max(MaxOwner, S.cx);
      Sizes[I] = S;
    } else if (It.Type & MFT_BITMAP) {
      const TSize B = BitmapSize(It.Bitmap);
      MaxLabel = std::max(MaxLabel, B.cx);
      Sizes[I] = {0, std::max(ItemH, B.cy + 2)};
    } else {
      const bool Bold = (It.State & MF_DEFAULT) != 0;
      MaxLabel = std::max(MaxLabel, TextSize(D.DC, MenuLabel(It.Text), Bold).cx);
      MaxShortcut = std::max(MaxShortcut, TextSize(D.DC, MenuShortcut(It.Text), Bold).cx);
      const TSize B = BitmapSize(It.Bitmap);
      MaxBitmap = std::max(MaxBitmap, B.cx);
      Sizes[I] = {0, std::max(ItemH, B.cy + 2)};
    }
  }
  M.TextLeft = MenuCheckColumn() + (MaxBitmap > 0 ? MaxBitmap + 4 : 0);
  const Integer Gap = GetSystemMetrics(SM_CXMENUCHECK);
  M.TabLeft = MaxShortcut > 0 ? M.TextLeft + MaxLabel + Gap : 0;
  const Integer Width =
      std::max(M.TextLeft + MaxLabel + (MaxShortcut > 0 ? Gap + MaxShortcut : 0) + MenuArrowColumn, MaxOwner);
  // Items run down in columns; MFT_MENUBREAK / MFT_MENUBARBREAK start a new one.
  Integer X = MenuBorder, Y = MenuBorder, Bottom = MenuBorder;
  for (std::size_t I = 0; I < M.Items.size(); ++I) {
    TMenuItemData& It = M.Items[I];
    if (I > 0 && (It.Type & (MFT_MENUBREAK | MFT_MENUBARBREAK))) {
      X += Width;
      Y = MenuBorder;
    }
    It.Rect = TRect{X, Y, X + Width, Y + Sizes[I].cy};
    Y += Sizes[I].cy;
    Bottom = std::max(Bottom, Y);
  }
  M.PopupSize = TSize{X + Width + MenuBorder, Bottom + MenuBorder};
}

Integer LayoutMenuBar(TMenuObject& M, HWND Owner, Integer Left, Integer Top, Integer Width) {
  TMeasureDC D;
  const Integer RowH = MenuBarRowHeight();
  Integer X = Left, Y = Top, RowStart = 0;
  auto JustifyRow = [&](Integer From, Integer To) {
    // Titles from the first MFT_RIGHTJUSTIFY one to the row's end move to the right edge.
    Integer First = -1;
    for (Integer I = From; I < To && First < 0; ++I)
      if (M.Items[static_cast<std::size_t>(I)].Type & MFT_RIGHTJUSTIFY) First = I;
    if (First < 0 || To <= From) return;
    const Integer Shift = Left + Width - M.Items[static_cast<std::size_t>(To - 1)].Rect.Right;
    if (Shift <= 0) return;
    for (Integer I = First; I < To; ++I)
      M.Items[static_cast<std::size_t>(I)].Rect = Moved(M.Items[static_cast<std::size_t>(I)].Rect, Shift, 0);
  };
  for (std::size_t I = 0; I < M.Items.size(); ++I) {
    TMenuItemData& It = M.Items[I];
    Integer W = 0;
    if (It.IsOwnerDraw())
      W = MeasureOwnerDrawn(Owner, It, RowH).cx;
    else if (It.Type & MFT_BITMAP)
      W = BitmapSize(It.Bitmap).cx + 2 * MenuBarItemPad;
    else if (!It.IsSeparator())
      W = TextSize(D.DC, MenuLabel(It.Text), false).cx + 2 * MenuBarItemPad;
    const bool Break = (It.Type & (MFT_MENUBREAK | MFT_MENUBARBREAK)) != 0;
    if (static_cast<Integer>(I) > RowStart && (X + W > Left + Width || Break)) {
      JustifyRow(RowStart, static_cast<Integer>(I));
      RowStart = static_cast<Integer>(I);
      X = Left;
      Y += RowH;
    }
    It.Rect = TRect{X, Y, X + W, Y + RowH};
    X += W;
  }
  JustifyRow(RowStart, static_cast<Integer>(M.Items.size()));
  M.BarWidth = Width;
  M.BarOrigin = TPoint{Left, Top};
  M.BarHeight = Y - Top + RowH + 1;
  return M.BarHeight;
}

Integer MenuBarHeight(TWindow* W, Integer WindowWidth) {
  TMenuObject* M = MenuFromHandle(WindowMenuBar(W));
  if (M == nullptr) return 0;
  M->BarWnd = W->Handle;
  const TSize F = OuterFrameSize(W->Style, W->ExStyle);
  const Integer Width = std::max(0, WindowWidth - 2 * F.cx);
  const Integer Top =
      F.cy + (HasCaption(W->Style)
                  ? GetSystemMetrics((W->ExStyle & WS_EX_TOOLWINDOW) ? SM_CYSMCAPTION : SM_CYCAPTION)
                  : 0);
  if (M->BarWidth != Width || M->BarOrigin != TPoint{F.cx, Top})
    LayoutMenuBar(*M, W->Handle, F.cx, Top, Width);
  return M->BarHeight;
}

void DrawMenuGlyph(HDC DC, const TRect& R, UINT Glyph, COLORREF Color) {
  const Integer W = GetSystemMetrics(SM_CXMENUCHECK), H = GetSystemMetrics(SM_CYMENUCHECK);
  HDC Mem = CreateCompatibleDC(nullptr);
  HBITMAP Bmp = CreateBitmap(W, H, 1, 32, nullptr);
  HGDIOBJ Old = SelectObject(Mem, Bmp);
  RECT G{0, 0, W, H};
  DrawFrameControl(Mem, &G, DFC_MENU, Glyph);
  // The glyph is a mask: black marks the pixels to draw.
  const Integer X0 = R.Left + (R.Width() - W) / 2, Y0 = R.Top + (R.Height() - H) / 2;
  for (Integer Y = 0; Y < H; ++Y)
    for (Integer X = 0; X < W; ++X)
      if ((GetPixel(Mem, X, Y) & 0xFFFFFF) == 0) SetPixelV(DC, X0 + X, Y0 + Y, Color);
  SelectObject(Mem, Old);
  DeleteObject(Bmp);
  DeleteDC(Mem);
}

void DrawMenuText(HDC DC, const std::string& Text, TRect R, UINT Format, COLORREF Color, bool Disabled) {
  if (Text.empty()) return;
  SetBkMode(DC, TRANSPARENT);
  if (Disabled) {
    RECT Shadow = Moved(R, 1, 1);
    SetTextColor(DC, GetSysColor(COLOR_3DHILIGHT));
    DrawText(DC, Text.c_str(), -1, &Shadow, Format);
    Color = GetSysColor(COLOR_3DSHADOW);
  }
  SetTextColor(DC, Color);
  RECT T = R;
  DrawText(DC, Text.c_str(), -1, &T, Format);
}

void DrawPopupItem(HDC DC, TMenuObject& M, Integer Index, HWND Owner, bool Entire) {
  if (Index < 0 || Index >= static_cast<Integer>(M.Items.size())) return;
  const TMenuItemData& I = M.Items[static_cast<std::size_t>(Index)];
  const TRect& R = I.Rect;
  if (I.IsOwnerDraw()) {
    DrawOwnerDrawn(DC, M, I, Owner, Entire);
    return;
  }
  if (I.IsSeparator()) {
    FillSys(DC, R, COLOR_MENU);
    const Integer Y = R.Top + R.Height() / 2 - 1;
    FillSys(DC, {R.Left + 1, Y, R.Right - 1, Y + 1}, COLOR_3DSHADOW);
    FillSys(DC, {R.Left + 1, Y + 1, R.Right - 1, Y + 2}, COLOR_3DHILIGHT);
    return;
  }
  const bool Selected = (I.State & MF_HILITE) != 0;
  const bool Disabled = I.IsDisabled();
  FillSys(DC, R, Selected ? COLOR_HIGHLIGHT : COLOR_MENU);
  if ((I.Type & MFT_MENUBARBREAK) && R.Left > MenuBorder) {
    FillSys(DC, {R.Left, R.Top, R.Left + 1, R.Bottom}, COLOR_3DSHADOW);
    FillSys(DC, {R.Left + 1, R.Top, R.Left + 2, R.Bottom}, COLOR_3DHILIGHT);
  }
  // Disabled items show grey on the highlight, embossed elsewhere.
  const bool Emboss = Disabled && !Selected;
  const COLORREF Fore = GetSysColor(Disabled   ? COLOR_GRAYTEXT
                                    : Selected ? COLOR_HIGHLIGHTTEXT
                                               : COLOR_MENUTEXT);
  const TRect Check{R.Left, R.Top, R.Left + MenuCheckColumn(), R.Bottom};
  auto Glyph = [&](const TRect& Box, UINT Kind) {
    if (Emboss) DrawMenuGlyph(DC, Moved(Box, 1, 1), Kind, GetSysColor(COLOR_3DHILIGHT));
    DrawMenuGlyph(DC, Box, Kind, Emboss ? GetSysColor(COLOR_3DSHADOW) : Fore);
  };
  if (I.State & MF_CHECKED) Glyph(Check, (I.Type & MFT_RADIOCHECK) ? DFCS_MENUBULLET : DFCS_MENUCHECK);
  if (I.Type & MFT_BITMAP) {
    const TSize B = BitmapSize(I.Bitmap);
    DrawBitmap(DC, I.Bitmap, R.Left + M.TextLeft, R.Top + (R.Height() - B.cy) / 2);
  } else {
    if (IsMenuBitmap(I.Bitmap)) {
      const TSize B = BitmapSize(I.Bitmap);
      DrawBitmap(DC, I.Bitmap, R.Left + MenuCheckColumn() + 2, R.Top + (R.Height() - B.cy) / 2);
    }
    const Integer Saved = SaveDC(DC);
    SelectObject(DC, NcMenuFont((I.State & MF_DEFAULT) != 0));
    const UINT Format = DT_SINGLELINE | DT_VCENTER | DT_LEFT;
    DrawMenuText(DC, MenuLabel(I.Text), {R.Left + M.TextLeft, R.Top, R.Right - MenuArrowColumn, R.Bottom},
                 Format, Fore, Emboss);
    if (M.TabLeft > 0)
      DrawMenuText(DC, MenuShortcut(I.Text), {R.Left + M.TabLeft, R.Top, R.Right - MenuArrowColumn, R.Bottom},
                   Format, Fore, Emboss);
    RestoreDC(DC, Saved);
  }
  if (I.SubMenu != nullptr) Glyph({R.Right - MenuArrowColumn, R.Top, R.Right, R.Bottom}, DFCS_MENUARROW);
}

void DrawPopupMenu(HDC DC, TMenuObject& M, HWND Owner) {
  RECT R{0, 0, M.PopupSize.cx, M.PopupSize.cy};
  DrawEdge(DC, &R, EDGE_RAISED, BF_RECT | BF_ADJUST);
  FillSys(DC, R, COLOR_MENU);
  for (std::size_t I = 0; I < M.Items.size(); ++I) DrawPopupItem(DC, M, static_cast<Integer>(I), Owner, true);
}

void DrawMenuBarItem(HDC DC, TMenuObject& M, Integer Index, HWND Owner) {
  if (Index < 0 || Index >= static_cast<Integer>(M.Items.size())) return;
  const TMenuItemData& I = M.Items[static_cast<std::size_t>(Index)];
  const TRect& R = I.Rect;
  FillSys(DC, R, COLOR_MENU);
  if (I.IsOwnerDraw()) {
    DrawOwnerDrawn(DC, M, I, Owner, true);
    return;
  }
  const bool Selected = (I.State & MF_HILITE) != 0;
  // The open title looks pressed, a selected one without its popup raised.
  Integer Shift = 0;
  if (Selected) {
    RECT E = R;
    DrawEdge(DC, &E, M.BarDropped ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    Shift = M.BarDropped ? 1 : 0;
  }
  if (I.Type & MFT_BITMAP) {
    const TSize B = BitmapSize(I.Bitmap);
    DrawBitmap(DC, I.Bitmap, R.Left + (R.Width() - B.cx) / 2 + Shift,
               R.Top + (R.Height() - B.cy) / 2 + Shift);
    return;
  }
  const Integer Saved = SaveDC(DC);
  SelectObject(DC, NcMenuFont(false));
  DrawMenuText(DC, MenuLabel(I.Text), Moved(R, Shift, Shift), DT_SINGLELINE | DT_VCENTER | DT_CENTER,
               GetSysColor(COLOR_MENUTEXT), I.IsDisabled());
  RestoreDC(DC, Saved);
}

void DrawMenuBarItems(HDC DC, TMenuObject& M, HWND Owner, const TRect& Bar) {
  FillSys(DC, Bar, COLOR_MENU);
  for (std::size_t I = 0; I < M.Items.size(); ++I) DrawMenuBarItem(DC, M, static_cast<Integer>(I), Owner);
}
