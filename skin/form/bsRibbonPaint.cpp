// The ribbon's painting: the tab strip composed off screen, the tabs, and the page background.
#include "platform/classes/Bitmap.h"
#include "platform/classes/ImgList.h"
#include "platform/gdi/Text.h"
#include "skin/data/bsUtils.h"
#include "skin/form/bsRibbon.h"

void TileSkinMaterial(TCanvas* C, const TRect& R, TBitmap* Picture, const TRect& Source, bool Stretch,
                      Integer StretchType) {
  const Integer SW = GetRectWidth(Source), SH = GetRectHeight(Source);
  // Nothing to repeat: the counts below would divide by zero.
  if (Picture == nullptr || SW <= 0 || SH <= 0 || R.Width() <= 0 || R.Height() <= 0) return;
  TBitmap Tile;
  Tile.SetSize(SW, SH);
  Tile.GetCanvas()->CopyRect(Rect(0, 0, SW, SH), Picture->GetCanvas(), Source);
  const Integer W = R.Width(), H = R.Height();
  if (Stretch && StretchType == 0) {
    C->StretchDraw(R, &Tile);
  } else if (Stretch && StretchType == 1) {
    for (Integer I = 0; I <= W / SW; ++I) C->StretchDraw(Bounds(R.Left + I * SW, R.Top, SW, H), &Tile);
  } else if (Stretch && StretchType == 2) {
    for (Integer I = 0; I <= H / SH; ++I) C->StretchDraw(Bounds(R.Left, R.Top + I * SH, W, SH), &Tile);
  } else {
    for (Integer Y = 0; Y <= H / SH; ++Y)
      for (Integer X = 0; X <= W / SW; ++X) C->Draw(R.Left + X * SW, R.Top + Y * SH, &Tile);
  }
}

void TbsRibbon::PaintPageArea(TCanvas* C, const TRect& R) {
  if (GetWidth() < 1 || GetHeight() < 1 || FTabPart == nullptr || FTabPicture == nullptr) return;
  const Integer SaveIndex = SaveDC(C->GetHandle());
  IntersectClipRect(C->GetHandle(), R.Left, R.Top, R.Right, R.Bottom);
  TbsSkinData* Data = GetSkinData();
  const TbsDataSkinTabControl& P = *FTabPart;
  const Integer BG = P.BGPictureIndex;
  if (BG >= 0 && BG < static_cast<Integer>(Data->ActivePictures.size())) {
    TBitmap* Pic = Data->ActivePictures[static_cast<size_t>(BG)].get();
    TileSkinMaterial(C, R, Pic, Rect(0, 0, Pic->GetWidth(), Pic->GetHeight()), P.StretchEffect,
                     P.StretchType);
  } else {
    const TRect& CR = P.ClientRect;
    TileSkinMaterial(
        C, R, FTabPicture,
        Bounds(P.SkinRect.Left + CR.Left, P.SkinRect.Top + CR.Top, GetRectWidth(CR), GetRectHeight(CR)),
        P.StretchEffect, P.StretchType);
  }
  RestoreDC(C->GetHandle(), SaveIndex);
}

void TbsRibbon::Paint() {
  if (FSkipNextPaint) {
    FSkipNextPaint = false;
    return;
  }
  PaintRibbon(GetCanvas());
}

void TbsRibbon::DrawTabCaption(TCanvas* C, const std::string& Text, const TRect& R, Integer TabWidth) {
  RECT M = Rect(0, 0, 0, 0);
  DrawText(C->GetHandle(), Text.c_str(), -1, &M, DT_CALCRECT);
  if (M.Right - M.Left > TabWidth - 6)
    DrawCaptionLeft(C, Text, R);
  else
    DrawCaptionCentered(C, Text, R);
}

void TbsRibbon::DrawDefaultTab(TCanvas* C, Integer Index) {
  TbsRibbonTab* T = FTabs->GetItem(Index);
  const TRect& R = T->FTabRect;
  const std::string& Caption = T->GetPage()->GetPageCaption();
  if (Index == FTabIndex) {
    TBitmap B;
    B.SetSize(R.Width(), R.Height() + 2);
    B.GetCanvas()->GetBrush()->SetColor(clBtnFace);
    B.GetCanvas()->FillRect(Rect(0, 0, B.GetWidth(), B.GetHeight()));
    B.GetCanvas()->SetFont(C->GetFont());
    B.GetCanvas()->GetFont()->SetColor(clBtnText);
    B.GetCanvas()->GetBrush()->SetStyle(bsClear);
    DrawTabCaption(B.GetCanvas(), Caption, Rect(3, 0, B.GetWidth() - 3, R.Height() + 1), T->FTabWidth);
    C->Draw(R.Left, R.Top, &B);
    return;
  }
  C->GetFont()->SetColor(clBtnHighlight);
  C->GetBrush()->SetStyle(bsClear);
  DrawTabCaption(C, Caption, Rect(R.Left + 3, R.Top, R.Right - 3, R.Bottom), T->FTabWidth);
  if (FTabsCompressed) {
    C->GetPen()->SetColor(cl3DDkShadow);
    C->MoveTo(R.Right, R.Top);
    C->LineTo(R.Right, R.Bottom + 1);
  }
}

void TbsRibbon::PaintRibbon(TCanvas* C) {
  LoadSkinPart();
  const Integer W = GetWidth(), TH = GetTabsHeight();
  if (W < 1 || GetHeight() < 1) return;
  C->GetBrush()->SetStyle(bsSolid);
  C->GetBrush()->SetColor(clBtnShadow);
  C->FillRect(Rect(0, TH + 2, W, GetHeight()));
  const TRect Page = GetPageBounds();
  if (!HasVisibleTab()) {
    if (FTabPart != nullptr && FTabPicture != nullptr) {
      PaintPageArea(C, Page);
    } else {
      C->GetBrush()->SetColor(clBtnFace);
      C->FillRect(Page);
    }
  }
  TBitmap Strip;
  Strip.SetSize(W, TH + 2);
  TCanvas* S = Strip.GetCanvas();
  S->GetBrush()->SetColor(clBtnShadow);
  S->FillRect(Rect(0, 0, W, TH + 2));
  S->SetFont(GetFont());
  CalcLayout(S);
  for (Integer I = 0; I < FTabs->GetCount(); ++I)
    if (FTabs->GetItem(I)->Shown()) DrawDefaultTab(S, I);
  if (FButtons->GetCount() > 0 && ButtonsImageList != nullptr)
    for (Integer I = 0; I < FButtons->GetCount(); ++I) DrawButton(S, I);
  for (Integer I = 0; I < FMDIButtons->GetCount(); ++I) DrawMDIButton(S, I);
  C->Draw(0, 0, &Strip);
}
