// The page control's painting: the frame around the pages, the tab row composed off screen,
// each tab in its state with caption, image, focus and close button, and the page
// backgrounds. Pictures come from the "tab" part; without one a plain look is drawn.
#include <algorithm>

#include "platform/classes/Bitmap.h"
#include "platform/classes/ImgList.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Text.h"
#include "platform/user/User.h"
#include "skin/boxctrls/bsSkinTabs.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/data/bsSkinDataSections.h"
#include "skin/data/bsUtils.h"

namespace {

// Source of Picture over W x H: tiled from (0, 0), or stretched by Type to TW x TH (0 whole,
// 1 to the height and tiled across, 2 to the width and tiled down). A piece of no size paints
// the page colour.
void PaintPicturePiece(TCanvas* C, Integer W, Integer H, TBitmap* Picture, const TRect& Source, bool Stretch,
                       Integer Type, Integer TW, Integer TH) {
  const Integer SW = Source.Width(), SH = Source.Height();
  if (Picture == nullptr || SW <= 0 || SH <= 0) {
    C->GetBrush()->SetStyle(bsSolid);
    C->GetBrush()->SetColor(clBtnFace);
    C->FillRect(Rect(0, 0, W, H));
    return;
  }
  TBitmap Piece;
  Piece.SetSize(SW, SH);
  Piece.GetCanvas()->CopyRect(Rect(0, 0, SW, SH), Picture->GetCanvas(), Source);
  TBitmap Tile;
  TBitmap* T = &Piece;
  if (Stretch) {
    const Integer NW = Type == 1 ? SW : TW, NH = Type == 2 ? SH : TH;
    if (NW <= 0 || NH <= 0) return;
    Tile.SetSize(NW, NH);
    Tile.GetCanvas()->StretchDraw(Rect(0, 0, NW, NH), &Piece);
    T = &Tile;
    if (Type == 0) {
      C->Draw(0, 0, T);
      return;
    }
  }
  for (Integer Y = 0; Y < H; Y += T->GetHeight())
    for (Integer X = 0; X < W; X += T->GetWidth()) C->Draw(X, Y, T);
}

// The bitmap upside down, row by row.
void FlipVertically(TBitmap* B) {
  const Integer W = B->GetWidth(), H = B->GetHeight();
  TBitmap Copy;
  Copy.Assign(B);
  for (Integer Y = 0; Y < H; ++Y)
    B->GetCanvas()->CopyRect(Rect(0, Y, W, Y + 1), Copy.GetCanvas(), Rect(0, H - 1 - Y, W, H - Y));
}

// A button part laid out at B's size from its own picture, the anchors moved by the size
// difference.
void DrawButtonPart(TbsSkinData* SD, TbsDataSkinButtonControl* P, TBitmap* B, const TRect& Source) {
  TBitmap* Picture = SkinPictureAt(SD, P->PictureIndex);
  if (Picture == nullptr) return;
  const Integer W = B->GetWidth(), H = B->GetHeight();
  const Integer DX = W - P->SkinRect.Width(), DY = H - P->SkinRect.Height();
  TRect NC = P->ClientRect;
  NC.Right += DX;
  NC.Bottom += DY;
  CreateSkinImage(P->LeftTopPoint, P->RightTopPoint, P->LeftBottomPoint, P->RightBottomPoint, P->ClientRect,
                  P->LeftTopPoint, Point(P->RightTopPoint.X + DX, P->RightTopPoint.Y),
                  Point(P->LeftBottomPoint.X, P->LeftBottomPoint.Y + DY),
                  Point(P->RightBottomPoint.X + DX, P->RightBottomPoint.Y + DY), NC, B, Picture, Source, W, H,
                  true, P->LeftStretch, P->TopStretch, P->RightStretch, P->BottomStretch, P->StretchEffect,
                  P->StretchType);
}

TbsDataSkinButtonControl* ButtonPart(TbsSkinData* SD, const std::string& Name) {
  if (SD == nullptr || SD->Empty) return nullptr;
  const Integer I = SD->FindControlPart(Name);
  if (I < 0) return nullptr;
  return dynamic_cast<TbsDataSkinButtonControl*>(SD->SkinControls[static_cast<std::size_t>(I)].get());
}

void DrawTabImageAndText(TCanvas* C, Integer Width, Integer Height, Integer Offset, bool Enabled,
                         Integer Index, TCustomImageList* Images, const std::string& Caption) {
  C->RequiredState({csHandleValid, csFontValid, csBrushValid});
  RECT TR{0, 0, 0, 0};
  DrawTextA(C->GetHandle(), Caption.c_str(), static_cast<Integer>(Caption.size()), &TR, DT_CALCRECT);
  const Integer TW = Caption.empty() ? 0 : TR.Right + 2, TH = TR.Bottom;
  const Integer X = Width / 2 - (TW + Images->GetWidth() + 2) / 2;
  Images->Draw(C, X, Height / 2 + Offset - Images->GetHeight() / 2, Index, Enabled);
  const Integer TX = X + Images->GetWidth() + 2, TY = Height / 2 + Offset - TH / 2;
  RECT T{TX, TY, TX + TW, TY + TH};
  DrawTextA(C->GetHandle(), Caption.c_str(), static_cast<Integer>(Caption.size()), &T, DT_CENTER);
}

}  // namespace

// ---- Frame ----------------------------------------------------------------------------------

void TbsSkinPageControl::PaintWindow(HDC DC) {
  if (GetWidth() <= 0 || GetHeight() <= 0) return;
  LoadSkinPart();
  const Integer Saved = SaveDC(DC);
  TCanvas C;
  C.SetHandle(DC);
  if (PartIndex == -1)
    PaintDefaultFrame(&C);
  else
    PaintSkinFrame(&C);
  PaintTabs(&C);
  C.SetHandle(nullptr);
  RestoreDC(DC, Saved);
}

void TbsSkinPageControl::PaintDefaultFrame(TCanvas* C) {
  C->GetBrush()->SetStyle(bsSolid);
  C->GetBrush()->SetColor(clBtnFace);
  C->FillRect(GetClientRect());
  const TRect D = GetDisplayRect();
  C->GetBrush()->SetColor(clBtnShadow);
  C->FrameRect(Rect(D.Left - 1, D.Top - 1, D.Right + 1, D.Bottom + 1));
}

TRect TbsSkinPageControl::FrameRect() {
  const TRect D = GetDisplayRect();
  const TPart& P = FPart;
  return Rect(D.Left - P.ClientRect.Left, D.Top - P.ClientRect.Top,
              D.Right + P.SkinRect.Width() - P.ClientRect.Right,
              D.Bottom + P.SkinRect.Height() - P.ClientRect.Bottom);
}

TRect TbsSkinPageControl::GetActiveTabArea() {
  const Integer Index = GetTabIndex();
  Integer Visible = 0;
  for (Integer I = 0; I < GetPageCount(); ++I) Visible += GetPage(I)->GetTabVisible() ? 1 : 0;
  if (Index < 0 || Index >= Visible || GetActivePage() == nullptr) return TRect{};
  TRect R = GetTabRect(Index);
  const Integer D = FPart.ActiveTabRect.Height() - FPart.TabRect.Height();
  switch (GetTabPosition()) {
    case tpTop:
      R.Bottom += D;
      break;
    case tpBottom:
      R.Top -= D;
      break;
    case tpLeft:
      R.Right += D;
      break;
    case tpRight:
      R.Left -= D;
      break;
  }
  return R;
}

void TbsSkinPageControl::PaintSkinFrame(TCanvas* C) {
  const TPart& P = FPart;
  if (P.Picture == nullptr) {
    PaintDefaultFrame(C);
    return;
  }
  const TRect F = FrameRect();
  const Integer DW = F.Width() - P.SkinRect.Width(), DH = F.Height() - P.SkinRect.Height();
  const TRect NC =
      Rect(P.ClientRect.Left, P.ClientRect.Top, P.ClientRect.Right + DW, P.ClientRect.Bottom + DH);
  TBitmap Left, Top, Right, Bottom;
  CreateSkinBorderImages(P.LTPoint, P.RTPoint, P.LBPoint, P.RBPoint, P.ClientRect, P.LTPoint,
                         Point(P.RTPoint.X + DW, P.RTPoint.Y), Point(P.LBPoint.X, P.LBPoint.Y + DH),
                         Point(P.RBPoint.X + DW, P.RBPoint.Y + DH), NC, &Left, &Top, &Right, &Bottom,
                         P.Picture, P.SkinRect, F.Width(), F.Height(), P.LeftStretch, P.TopStretch,
                         P.RightStretch, P.BottomStretch);
  const HDC DC = C->GetHandle();
  const Integer Saved = SaveDC(DC);
  // The active tab covers the frame where it joins the page.
  const TRect A = GetActiveTabArea();
  if (!IsEmptyRect(A) && GetStyle() == tsTabs) ExcludeClipRect(DC, A.Left, A.Top, A.Right, A.Bottom);
  C->Draw(F.Left, F.Top, &Top);
  C->Draw(F.Left, F.Top + Top.GetHeight(), &Left);
  C->Draw(F.Left + F.Width() - Right.GetWidth(), F.Top + Top.GetHeight(), &Right);
  C->Draw(F.Left, F.Top + F.Height() - Bottom.GetHeight(), &Bottom);
  RestoreDC(DC, Saved);
}

// ---- Tabs -----------------------------------------------------------------------------------

void TbsSkinPageControl::PaintTabs(TCanvas* C) {
  if (GetPageCount() == 0) return;
  const Integer Active = GetTabIndex();
  if (PartIndex == -1) {
    Integer Visible = 0;
    for (Integer I = 0; I < GetPageCount(); ++I) {
      if (!GetPage(I)->GetTabVisible()) continue;
      PaintTab(I, GetTabRect(Visible), C, Visible == FHotTab, Visible == Active);
      ++Visible;
    }
    return;
  }
  LoadSkinPart();
  const TRect F = FrameRect();
  const Integer W = GetWidth(), H = GetHeight();
  TRect StripRect;
  switch (GetTabPosition()) {
    case tpTop:
      StripRect = Rect(0, 0, W, F.Top);
      break;
    case tpBottom:
      StripRect = Rect(0, F.Bottom, W, H);
      break;
    case tpLeft:
      StripRect = Rect(0, 0, F.Left, F.Bottom);
      break;
    case tpRight:
      StripRect = Rect(F.Right, 0, W, H);
      break;
  }
  const Integer SW = StripRect.Width(), SH = StripRect.Height();
  if (SW > 0 && SH > 0) {
    TBitmap Strip;
    Strip.SetSize(SW, SH);
    TCanvas* S = Strip.GetCanvas();
    if (FTabsBGTransparent)
      DrawParentBackgroundOffset(this, StripRect, S);
    else
      PaintPicturePiece(S, SW, SH, FPart.Picture, FPart.TabsBGRect, false, 0, 0, 0);
    Integer Visible = 0;
    for (Integer I = 0; I < GetPageCount(); ++I) {
      if (!GetPage(I)->GetTabVisible()) continue;
      if (Visible != Active) {
        TRect R = GetTabRect(Visible);
        R = Bounds(R.Left - StripRect.Left, R.Top - StripRect.Top, R.Width(), R.Height());
        PaintTab(I, R, S, Visible == FHotTab, false);
      }
      ++Visible;
    }
    const HDC DC = C->GetHandle();
    const Integer Saved = SaveDC(DC);
    const TRect A = GetActiveTabArea();
    if (!IsEmptyRect(A)) ExcludeClipRect(DC, A.Left, A.Top, A.Right, A.Bottom);
    C->Draw(StripRect.Left, StripRect.Top, &Strip);
    RestoreDC(DC, Saved);
  }
  TTabSheet* Page = PageOfTab(Active);
  if (Page == nullptr) return;
  TRect R = GetTabRect(Active);
  const Integer D = FPart.ActiveTabRect.Height() - FPart.TabRect.Height();
  if (D != 0 && GetStyle() == tsTabs) {
    if (GetTabPosition() == tpBottom) R = Bounds(R.Left, R.Top - D, R.Width(), R.Height());
    if (GetTabPosition() == tpRight) R = Bounds(R.Left - D, R.Top, R.Width(), R.Height());
  }
  PaintTab(Page->GetPageIndex(), R, C, Active == FHotTab, true);
}

void TbsSkinPageControl::DrawButtonTab(TBitmap* B, bool Active, bool Hot) {
  TbsDataSkinButtonControl* P = ButtonPart(FSD, FButtonTabSkinDataName);
  if (P == nullptr) return;
  const TRect ActiveRect = IsEmptyRect(P->ActiveSkinRect) ? P->SkinRect : P->ActiveSkinRect;
  const TRect DownRect = IsEmptyRect(P->DownSkinRect) ? ActiveRect : P->DownSkinRect;
  DrawButtonPart(FSD, P, B, Active ? DownRect : Hot ? ActiveRect : P->SkinRect);
  B->GetCanvas()->GetFont()->SetColor(Active ? P->DownFontColor : Hot ? P->ActiveFontColor : P->FontColor);
}

void TbsSkinPageControl::PaintTab(Integer PageIndex, const TRect& R, TCanvas* C, bool Hot, bool Active) {
  if (PageIndex >= GetPageCount()) return;
  TTabSheet* Sheet = GetPage(PageIndex);
  TCustomImageList* Images = GetImages();
  const bool HasImage =
      Images != nullptr && Sheet->GetImageIndex() >= 0 && Sheet->GetImageIndex() < Images->GetCount();
  const std::string Caption = Sheet->GetCaption();
  const Integer W = R.Width(), H = R.Height();
  if (W <= 0 || H <= 0) return;
  const bool Part = PartIndex != -1;
  const bool Focus = HandleAllocated() && Focused();
  TBitmap B;
  B.SetSize(W, H);
  TCanvas* BC = B.GetCanvas();
  if (!Part) {
    BC->GetBrush()->SetStyle(bsSolid);
    if (Hot && !Active) {
      BC->GetBrush()->SetColor(bsHotFaceColor);
      BC->FillRect(Rect(0, 0, W, H));
    } else if (Active) {
      BC->GetPen()->SetColor(bsHotFrameColor);
      BC->GetBrush()->SetColor(Focus ? bsDownFaceColor : bsHotFaceColor);
      BC->Rectangle(Rect(0, 0, W, H));
    } else {
      BC->GetBrush()->SetColor(clBtnFace);
      BC->FillRect(Rect(0, 0, W, H));
    }
    BC->GetBrush()->SetStyle(bsClear);
    BC->SetFont(GetFont());
  } else {
    if (GetStyle() != tsTabs) {
      DrawButtonTab(&B, Active, Hot);
    } else if (FPart.Picture != nullptr) {
      const TPart& P = FPart;
      const TRect& Source = Hot && !Active && !IsEmptyRect(P.MouseInTabRect) ? P.MouseInTabRect
                            : Active && Focus                                ? P.FocusTabRect
                            : Active                                         ? P.ActiveTabRect
                                                                             : P.TabRect;
      if (GetTabHeight() > 0) {
        Integer Taller = 0;
        if (Active && P.TabRect.Height() < P.ActiveTabRect.Height())
          Taller = P.ActiveTabRect.Height() - P.TabRect.Height();
        else if (Active && Focus && P.TabRect.Height() < P.FocusTabRect.Height())
          Taller = P.FocusTabRect.Height() - P.TabRect.Height();
        B.SetSize(W, H + Taller);
        const Integer Q = P.TabRect.Height() / 4;
        CreateStretchSkinImage(
            &B, P.Picture, Source,
            Rect(P.TabLeftOffset, Q, Source.Width() - P.TabRightOffset, Source.Height() - Q), true);
      } else {
        CreateHSkinImage(P.TabLeftOffset, P.TabRightOffset, &B, P.Picture, Source, W, H, P.TabStretchEffect);
      }
    }
    if (GetTabPosition() == tpBottom) FlipVertically(&B);
    BC->GetBrush()->SetStyle(bsClear);
    if (FUseSkinFont) {
      BC->GetFont()->SetName(FPart.FontName);
      BC->GetFont()->SetStyle(FPart.FontStyle);
      BC->GetFont()->SetHeight(FPart.FontHeight);
    } else {
      BC->GetFont()->Assign(GetFont());
    }
    if (GetStyle() == tsTabs)
      BC->GetFont()->SetColor(Hot && !Active    ? FPart.MouseInFontColor
                              : Active && Focus ? FPart.FocusFontColor
                              : Active          ? FPart.ActiveFontColor
                                                : FPart.FontColor);
  }
  const Integer BW = B.GetWidth(), BH = B.GetHeight();
  TRect TextRect = Rect(0, 0, BW, BH);
  if (Part && FPart.ShowFocus && Focus && Active) {
    const TRect F = Rect(TextRect.Left + FPart.FocusOffsetX, TextRect.Top + FPart.FocusOffsetY,
                         TextRect.Right - FPart.FocusOffsetX, TextRect.Bottom - FPart.FocusOffsetY);
    BC->GetBrush()->SetStyle(bsSolid);
    BC->GetBrush()->SetColor(FSD != nullptr && FSD->SkinColors ? FSD->SkinColors->CBtnFace : clBtnFace);
    DrawDottedFocusRect(BC, F);
    BC->GetBrush()->SetStyle(bsClear);
  }
  // Inactive tabs of a part whose active tab is taller keep their text clear of the frame.
  Integer ImageOffset = 0;
  if (Part && FPart.TabRect.Height() != FPart.ActiveTabRect.Height() && !Active) {
    ImageOffset = GetTabPosition() == tpTop || GetTabPosition() == tpLeft ? 2 : -2;
    TextRect.Top += ImageOffset;
  }
  const Integer Reserve = FShowCloseButtons ? FCloseButtonSize + 2 : 0;
  const Integer RightCut = Part ? Reserve + 3 : Reserve;
  if (OnDrawSkinTab) {
    OnDrawSkinTab(PageIndex, Rect(0, 0, BW, BH), Active, Hot, BC);
  } else if (HasImage || FTabExtededDraw) {
    if (FTabExtededDraw)
      DrawImageAndText(BC, Rect(TextRect.Left, TextRect.Top, TextRect.Right - Reserve, TextRect.Bottom),
                       FTabMargin, FTabSpacing, FTabLayout, Caption, Sheet->GetImageIndex(), Images, false,
                       Sheet->GetEnabled(), false, 0);
    else
      DrawTabImageAndText(BC, BW - Reserve, BH, ImageOffset, Sheet->GetEnabled(), Sheet->GetImageIndex(),
                          Images, Caption);
  } else {
    RECT T = Rect(TextRect.Left, TextRect.Top, TextRect.Right - RightCut, TextRect.Bottom);
    BC->RequiredState({csHandleValid, csFontValid, csBrushValid});
    DrawTextA(BC->GetHandle(), Caption.c_str(), static_cast<Integer>(Caption.size()), &T,
              DT_SINGLELINE | DT_VCENTER | DT_CENTER);
  }
  TextRect.Right -= RightCut;
  if (FShowCloseButtons)
    if (auto* Skin = dynamic_cast<TbsSkinCustomTabSheet*>(Sheet)) {
      if (!Hot) Skin->CloseButtonMouseIn = false;
      DrawCloseButton(BC, Rect(TextRect.Right, TextRect.Top + ImageOffset, BW, TextRect.Bottom), Skin, BW,
                      BH);
    }
  C->Draw(R.Left, R.Top, &B);
}

void TbsSkinPageControl::DrawCloseButton(TCanvas* C, const TRect& Area, TbsSkinCustomTabSheet* Sheet, Integer,
                                         Integer) {
  const Integer VC = Area.Top + Area.Height() / 2;
  const bool Hot = Sheet->CloseButtonMouseIn, Down = Sheet->CloseButtonDown && Hot;
  if (PartIndex == -1) {
    const TRect Box = Bounds(Area.Left, VC - 7, 14, 14);
    DrawCloseGlyph(C, Box.Left + 2, Box.Top + 2, Hot ? clWhite : clBlack);
    Sheet->CloseButtonRect = Box;
    return;
  }
  if (IsEmptyRect(FPart.CloseButtonRect)) {
    TbsDataSkinButtonControl* P = ButtonPart(FSD, "resizetoolbutton");
    if (P == nullptr) return;
    const TRect ActiveRect = IsEmptyRect(P->ActiveSkinRect) ? P->SkinRect : P->ActiveSkinRect;
    const TRect DownRect = IsEmptyRect(P->DownSkinRect) ? ActiveRect : P->DownSkinRect;
    TBitmap B;
    B.SetSize(FCloseButtonSize, FCloseButtonSize);
    DrawButtonPart(FSD, P, &B, Down ? DownRect : Hot ? ActiveRect : P->SkinRect);
    DrawCloseGlyph(B.GetCanvas(), B.GetWidth() / 2 - 5, B.GetHeight() / 2 - 5,
                   Down  ? P->DownFontColor
                   : Hot ? P->ActiveFontColor
                         : P->FontColor);
    const TPoint At = Point(Area.Left, VC - B.GetHeight() / 2);
    C->Draw(At.X, At.Y, &B);
    Sheet->CloseButtonRect = Bounds(At.X, At.Y, B.GetWidth(), B.GetHeight());
    return;
  }
  const TRect& Source = Down  ? FPart.CloseButtonDownRect
                        : Hot ? FPart.CloseButtonActiveRect
                              : FPart.CloseButtonRect;
  const TRect Dest = Bounds(Area.Left, VC - Source.Height() / 2, Source.Width(), Source.Height());
  if (FPart.Picture != nullptr) {
    TBitmap B;
    B.SetSize(Source.Width(), Source.Height());
    B.GetCanvas()->CopyRect(Rect(0, 0, Source.Width(), Source.Height()), FPart.Picture->GetCanvas(), Source);
    if (FPart.ButtonTransparent) {
      B.SetTransparentColor(FPart.ButtonTransparentColor);
      B.SetTransparentMode(tmFixed);
      B.SetTransparent(true);
    }
    C->Draw(Dest.Left, Dest.Top, &B);
  }
  Sheet->CloseButtonRect = Dest;
}

// ---- Backgrounds ----------------------------------------------------------------------------

void TbsSkinPageControl::PaintEmptyBackground(HDC DC) {
  const Integer W = GetWidth(), H = GetHeight();
  if (W < 1 || H < 1) return;
  TCanvas C;
  C.SetHandle(DC);
  const TPart& P = FPart;
  if (P.BGPicture != nullptr)
    PaintPicturePiece(&C, W, H, P.BGPicture, Rect(0, 0, P.BGPicture->GetWidth(), P.BGPicture->GetHeight()),
                      P.StretchEffect, P.StretchType, W, H);
  else
    PaintPicturePiece(&C, W, H, P.Picture,
                      Bounds(P.SkinRect.Left + P.ClientRect.Left, P.SkinRect.Top + P.ClientRect.Top,
                             P.ClientRect.Width(), P.ClientRect.Height()),
                      P.StretchEffect, P.StretchType, W, H);
  C.SetHandle(nullptr);
}

void TbsSkinCustomTabSheet::PaintBackground(HDC DC) {
  auto* Pages = dynamic_cast<TbsSkinPageControl*>(GetPageControl());
  if (GetWidth() < 1 || GetHeight() < 1 || GetParent() == nullptr) return;
  if (Pages != nullptr) Pages->LoadSkinPart();
  const Integer W = GetWidth(), H = GetHeight();
  TCanvas C;
  C.SetHandle(DC);
  if (!FWallPaper->Empty()) {
    const Integer PW = FWallPaper->GetWidth(), PH = FWallPaper->GetHeight();
    for (Integer Y = 0; Y < H; Y += PH)
      for (Integer X = 0; X < W; X += PW) C.Draw(X, Y, FWallPaper.get());
  } else if (Pages == nullptr || Pages->PartIndex == -1) {
    C.GetBrush()->SetStyle(bsSolid);
    C.GetBrush()->SetColor(clBtnFace);
    C.FillRect(Rect(0, 0, W, H));
  } else if (const TbsSkinPageControl::TPart& P = Pages->GetPart(); P.BGPicture != nullptr) {
    PaintPicturePiece(&C, W, H, P.BGPicture, Rect(0, 0, P.BGPicture->GetWidth(), P.BGPicture->GetHeight()),
                      P.StretchEffect, P.StretchType, W, H);
  } else {
    PaintPicturePiece(&C, W, H, P.Picture,
                      Bounds(P.SkinRect.Left + P.ClientRect.Left, P.SkinRect.Top + P.ClientRect.Top,
                             P.ClientRect.Width(), P.ClientRect.Height()),
                      P.StretchEffect, P.StretchType, Pages->GetWidth(), Pages->GetHeight());
  }
  C.SetHandle(nullptr);
}
