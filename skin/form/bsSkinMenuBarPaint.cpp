// How the main menu bar looks: its background, items in their states, the overflow marker. Item
// layout and the overflow test run while painting.
#include "platform/classes/Bitmap.h"
#include "platform/gdi/TextLayout.h"
#include "platform/system/Strings.h"
#include "skin/data/bsUtils.h"
#include "skin/form/bsSkinMenuDraw.h"
#include "skin/form/bsSkinMenus.h"

namespace {

void FrameAndFill(TCanvas* C, const TRect& R, TColor Face) {
  C->GetBrush()->SetStyle(bsSolid);
  C->GetBrush()->SetColor(bsHotFrameColor);
  C->FillRect(R);
  C->GetBrush()->SetColor(Face);
  C->FillRect(Rect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1));
}

}  // namespace

// ---- The bar --------------------------------------------------------------------------------

void TbsSkinMainMenuBar::Paint() {
  PaintBar(GetCanvas());
}

void TbsSkinMainMenuBar::PaintBar(TCanvas* Cnvs) {
  LoadSkinPart();
  FSkinSupport = PartIndex != -1;
  SyncItems();
  const Integer W = GetWidth(), H = GetHeight();
  if (W <= 0 || H <= 0) return;
  TBitmap B;
  B.SetWidth(W);
  B.SetHeight(H);
  TCanvas* C = B.GetCanvas();
  if (!FSkinSupport) {
    C->GetBrush()->SetColor(clBtnFace);
    C->FillRect(Rect(0, 0, W, H));
  } else if (FSD->MainMenuBarTransparent) {
    DrawParentBackground(this, C);
  } else if (BarPicture != nullptr) {
    CreateHSkinImage(ItemsRect.Left, BarSkinRect.Width() - ItemsRect.Right, &B, BarPicture, BarSkinRect, W, H,
                     BarStretchEffect);
  }
  CalcItemsArea();
  FOverflow = false;
  for (const auto& O : FObjects)
    if (O->Visible) O->Draw(C);
  if (FOverflow && FScrollMenu) DrawTrackMark(C);
  Cnvs->Draw(0, 0, &B);
}

void TbsSkinMainMenuBar::RedrawObject(TbsMenuBarObject* Object) {
  if (!HandleAllocated() || !GetVisible()) return;
  if (FSkinSupport && ItemTransparent && dynamic_cast<TbsSkinMainMenuBarItem*>(Object) != nullptr) {
    Repaint();
    return;
  }
  if (Object->Visible) Object->Draw(GetCanvas());
}

void TbsSkinMainMenuBar::DrawTrackMark(TCanvas* Cnvs) {
  TColor Color;
  if (!FSkinSupport)
    Color = FMarkerHot ? clBtnText : clBtnShadow;
  else
    Color = FMarkerHot ? TrackMarkActiveColor : TrackMarkColor;
  if (!FSkinSupport) {
    // The marker's band is drawn afresh, so its colour can change in place.
    Cnvs->GetBrush()->SetStyle(bsSolid);
    Cnvs->GetBrush()->SetColor(clBtnFace);
    Cnvs->FillRect(GetTrackMarkRect());
  }
  DrawSmallArrowGlyph(Cnvs, GetTrackMarkRect(), Color, 2);
}

// ---- Items ----------------------------------------------------------------------------------

Integer TbsSkinMainMenuBarItem::CaptionWidth(TFont* Font) {
  TBitmap B;
  B.SetWidth(1);
  B.SetHeight(1);
  B.GetCanvas()->GetFont()->Assign(Font);
  TRect R = Rect(0, 0, 0, 0);
  DrawWideText(B.GetCanvas(), Utf8ToUtf16(MenuItem->GetCaption()), R, DT_CALCRECT | DT_CENTER);
  return R.Width();
}

void TbsSkinMainMenuBarItem::SkinItemFont(TFont* Font) {
  if (Parent->GetUseSkinFont()) {
    Font->SetName(Data->FontName);
    Font->SetStyle(Data->FontStyle);
    Font->SetHeight(Data->FontHeight);
  } else {
    Font->Assign(Parent->GetDefItemFont());
  }
}

bool TbsSkinMainMenuBarItem::PlaceAndCheck(Integer Width, Integer Top, Integer Bottom) {
  const TRect& Area = Parent->GetItemsArea();
  Integer Left = Area.Left;
  for (Integer I = 0; I < Parent->GetObjectCount(); ++I) {
    TbsMenuBarObject* O = Parent->GetObject(I);
    if (O == this) break;
    if (dynamic_cast<TbsSkinMainMenuBarItem*>(O) != nullptr) Left = O->ObjectRect.Right;
  }
  ObjectRect = Rect(Left, Top, Left + Width, Bottom);
  const Integer Limit = Parent->GetScrollMenu() ? Area.Right - 5 : Area.Right;
  if (ObjectRect.Right > Limit) {
    Parent->FOverflow = true;
    if (Shown) {
      SavedEnabled = Enabled;
      Enabled = false;
      Shown = false;
    }
    return false;
  }
  if (!Shown) {
    Shown = true;
    Enabled = SavedEnabled;
  }
  return true;
}

void TbsSkinMainMenuBarItem::Draw(TCanvas* Cnvs) {
  if (SkinSupport)
    DrawSkinItem(Cnvs);
  else
    DrawDefaultItem(Cnvs);
}

void TbsSkinMainMenuBarItem::DrawDefaultItem(TCanvas* Cnvs) {
  const TRect& Area = Parent->GetItemsArea();
  if (!PlaceAndCheck(CaptionWidth(Parent->GetDefItemFont()) + 12, Area.Top, Area.Bottom)) return;
  const Integer W = ObjectRect.Width(), H = ObjectRect.Height();
  if (W <= 0 || H <= 0) return;
  TBitmap B;
  B.SetWidth(W);
  B.SetHeight(H);
  TCanvas* C = B.GetCanvas();
  if (Down) {
    FrameAndFill(C, Rect(0, 0, W, H), bsDownFaceColor);
  } else if (Active) {
    FrameAndFill(C, Rect(0, 0, W, H), bsHotFaceColor);
  } else {
    C->GetBrush()->SetColor(clBtnFace);
    C->FillRect(Rect(0, 0, W, H));
  }
  C->GetFont()->Assign(Parent->GetDefItemFont());
  C->GetBrush()->SetStyle(bsClear);
  const std::u16string Caption = Utf8ToUtf16(MenuItem->GetCaption());
  TRect M = Rect(0, 0, W, 0);
  DrawWideText(C, Caption, M, DT_CALCRECT | DT_CENTER);
  const Integer Top = H / 2 - M.Height() / 2;
  TRect TR = Rect(0, Top, W, Top + M.Height());
  if (Down) TR = Rect(TR.Left + 1, TR.Top + 1, TR.Right + 1, TR.Bottom + 1);
  DrawWideText(C, Caption, TR, DT_CENTER);
  Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &B);
}

void TbsSkinMainMenuBarItem::BuildItemImage(TBitmap* B, TCanvas* Target, const TRect& Source, bool HotLook) {
  const Integer W = ObjectRect.Width(), H = ObjectRect.Height();
  B->SetWidth(W);
  B->SetHeight(H);
  TCanvas* C = B->GetCanvas();
  if (Parent->ItemTransparent && Source == SkinRect)
    C->CopyRect(Rect(0, 0, W, H), Target, ObjectRect);
  else
    CreateHSkinImage(Data->ItemLeftOffset, Data->ItemRightOffset, B, Picture, Source, W, H,
                     HotLook && Data->StretchEffect);
  C->GetBrush()->SetStyle(bsClear);
  SkinItemFont(C->GetFont());
  TColor Color = Data->FontColor;
  if (Down)
    Color = Data->DownFontColor;
  else if (HotLook)
    Color = Data->ActiveFontColor;
  else if (!MenuItem->GetEnabled())
    Color = Data->UnEnabledFontColor;
  C->GetFont()->SetColor(Color);
  const std::u16string Caption = Utf8ToUtf16(MenuItem->GetCaption());
  TRect M = Rect(0, 0, 0, 0);
  DrawWideText(C, Caption, M, DT_CALCRECT);
  TRect TR = Rect(Data->TextRect.Left, Data->TextRect.Top, Data->TextRect.Left + M.Width() + 2,
                  Data->TextRect.Top + M.Height());
  DrawWideText(C, Caption, TR, DT_CENTER);
}

void TbsSkinMainMenuBarItem::DrawSkinItem(TCanvas* Cnvs) {
  if (IsEmptyRect(SkinRect) || IsEmptyRect(Data->TextRect)) return;
  const TRect& Area = Parent->GetItemsArea();
  TFont Font;
  SkinItemFont(&Font);
  const Integer Width = SkinRect.Width() - Data->TextRect.Width() + CaptionWidth(&Font) + 2;
  if (!PlaceAndCheck(Width, Area.Top, Area.Top + SkinRect.Height())) return;
  if (Picture == nullptr) return;
  TBitmap B;
  if (Down) {
    BuildItemImage(&B, Cnvs, DownRect, true);
  } else if (IsAnimated() && CurrentFrame >= 1 && CurrentFrame <= Data->FrameCount) {
    BuildItemImage(&B, Cnvs,
                   AnimationFrameRect(Data->AnimateSkinRect, SkinRect, Data->FrameCount, CurrentFrame), true);
  } else if (CanMorph() && ((Active && MorphKf < 1) || (!Active && MorphKf > 0))) {
    TBitmap Normal, Hot;
    BuildItemImage(&Normal, Cnvs, SkinRect, false);
    BuildItemImage(&Hot, Cnvs, ActiveSkinRect, true);
    DrawMorph(&Normal, &Hot, MorphKind, MorphKf, Cnvs, ObjectRect.Left, ObjectRect.Top);
    return;
  } else if (Active && !IsEmptyRect(ActiveSkinRect)) {
    BuildItemImage(&B, Cnvs, ActiveSkinRect, true);
  } else {
    BuildItemImage(&B, Cnvs, SkinRect, false);
  }
  Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &B);
}
