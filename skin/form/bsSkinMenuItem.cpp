// The entries of skinned popup windows: their states (entering, leaving, choosing) and their
// drawing, skinned or in the default look, with morphs and frame animations.
#include "platform/classes/Bitmap.h"
#include "platform/classes/ImgList.h"
#include "platform/classes/Timer.h"
#include "platform/gdi/TextLayout.h"
#include "platform/system/Strings.h"
#include "skin/data/bsEffects.h"
#include "skin/data/bsSkinDataControls.h"
#include "skin/data/bsUtils.h"
#include "skin/form/bsSkinMenuDraw.h"
#include "skin/form/bsSkinPopupMenus.h"

namespace {

constexpr TColor NavyFrame = 0x800000;
constexpr TColor ActiveFace = 0xD2BDB6;  // RGB(182, 189, 210)

TBitmap* PictureAt(TbsSkinData* SD, Integer Index) {
  if (SD == nullptr || Index < 0 || Index >= static_cast<Integer>(SD->ActivePictures.size())) return nullptr;
  return SD->ActivePictures[Index].get();
}

// Measures Text in (Left, 0, Right, 0), then places it with its top at Top, 2 wider.
TRect MeasureCaption(TCanvas* C, const std::u16string& Text, Integer Left, Integer Right) {
  TRect R = Rect(Left, 0, Right, 0);
  DrawWideText(C, Text, R, DT_CALCRECT);
  return R;
}

// The form-menu glyphs by the item's component name; false when the name has none.
bool DrawSystemGlyph(TCanvas* C, const std::string& Name, Integer X, Integer Y, TColor Color) {
  if (Name == "BSF_CLOSE" || Name == "TRAY_BSF_CLOSE")
    DrawCloseGlyph(C, X, Y, Color);
  else if (Name == "BSF_MINITEM")
    DrawMinimizeGlyph(C, X, Y, Color);
  else if (Name == "BSF_MAXITEM")
    DrawMaximizeGlyph(C, X, Y, Color);
  else if (Name == "BSF_RESTORE" || Name == "TRAY_BSF_RESTORE")
    DrawRestoreGlyph(C, X, Y, Color);
  else if (Name == "BSF_ROLLUP")
    DrawRollUpGlyph(C, X, Y, Color);
  else if (Name == "BSF_MINTOTRAY")
    DrawMinimizeToTrayGlyph(C, X, Y, Color);
  else
    return false;
  return true;
}

// A glyph cut from the part picture, with the picture's automatic transparent colour, centred in
// Cell (never left of or above it).
void DrawSkinGlyph(TCanvas* C, TBitmap* Picture, const TRect& Source, const TRect& Cell) {
  if (Picture == nullptr || IsEmptyRect(Source)) return;
  TBitmap G;
  G.SetWidth(Source.Width());
  G.SetHeight(Source.Height());
  G.GetCanvas()->CopyRect(Rect(0, 0, Source.Width(), Source.Height()), Picture->GetCanvas(), Source);
  G.SetTransparent(true);
  const Integer X = IntMax(Cell.Left + Cell.Width() / 2 - Source.Width() / 2, Cell.Left);
  const Integer Y = IntMax(Cell.Top + Cell.Height() / 2 - Source.Height() / 2, Cell.Top);
  C->Draw(X, Y, &G);
}

std::u16string HeaderText(const std::string& Caption) {
  return Utf8ToUtf16(Caption.size() >= 2 ? Caption.substr(1, Caption.size() - 2) : std::string());
}

}  // namespace

// ---- Default marks --------------------------------------------------------------------------

void DrawMenuCheckMark(TCanvas* C, Integer X, Integer Y) {
  for (Integer I = 0; I < 3; ++I) {
    C->MoveTo(X, Y + 5 - I);
    C->LineTo(X + 2, Y + 7 - I);
    C->LineTo(X + 7, Y + 2 - I);
  }
}

void DrawMenuArrow(TCanvas* C, Integer X, Integer Y) {
  for (Integer I = 0; I < 4; ++I) {
    C->MoveTo(X + I, Y + I);
    C->LineTo(X + I, Y + 7 - I);
  }
}

void DrawMenuRadio(TCanvas* C, Integer X, Integer Y) {
  C->GetBrush()->SetStyle(bsSolid);
  C->GetBrush()->SetColor(C->GetPen()->GetColor());
  C->Ellipse(X, Y, X + 6, Y + 6);
}

void DrawMorph(TBitmap* From, TBitmap* To, Byte Kind, double Kf, TCanvas* Target, Integer X, Integer Y) {
  TbsEffectBmp A(From->GetHandle());
  TbsEffectBmp B(To->GetHandle());
  A.MorphByKind(&B, Kind, Kf);
  A.DrawToDC(Target->GetHandle(), X, Y);
}

TRect AnimationFrameRect(const TRect& Animate, const TRect& SkinRect, Integer FrameCount, Integer Frame) {
  if (FrameCount <= 0) return Animate;
  if (Animate.Height() > SkinRect.Height()) {
    const Integer H = Animate.Height() / FrameCount;
    return Rect(Animate.Left, Animate.Top + H * (Frame - 1), Animate.Right, Animate.Top + H * Frame);
  }
  const Integer W = Animate.Width() / FrameCount;
  return Rect(Animate.Left + W * (Frame - 1), Animate.Top, Animate.Left + W * Frame, Animate.Bottom);
}

// ---- States ---------------------------------------------------------------------------------

TbsSkinMenuItem::TbsSkinMenuItem(TbsSkinPopupWindow* AParent, TbsDataSkinMenuItem* AData,
                                 TMenuItem* AMenuItem)
    : Parent(AParent), Data(AData), MenuItem(AMenuItem) {
  // Without its picture the part has no looks to cut; the loaded skin's record stays as it is,
  // so other windows and the item heights still read it.
  if (Data != nullptr) Picture = PictureAt(AParent->SkinData, Data->ActivePictureIndex);
}

TbsSkinMenuItem::~TbsSkinMenuItem() = default;

bool TbsSkinMenuItem::Selectable() const {
  return MenuItem->GetEnabled() && !IsSeparator();
}

bool TbsSkinMenuItem::IsHeader() const {
  const std::string& C = MenuItem->GetCaption();
  return !MenuItem->GetEnabled() && C.size() >= 2 && C.front() == '-' && C.back() == '-';
}

Integer TbsSkinMenuItem::ItemHeight() const {
  if (Data != nullptr) return IsSeparator() ? Data->DividerRect.Height() : Data->SkinRect.Height();
  return IsSeparator() ? 4 : Parent->ParentMenu->DefaultMenuItemHeight;
}

void TbsSkinMenuItem::Enter(bool ByKey) {
  Active = true;
  if (IsAnimated()) CurrentFrame = 0;
  for (const auto& Other : Parent->ItemList)
    if (Other.get() != this && Other->Down) {
      Other->Down = false;
      Other->ReDraw();
    }
  TbsSkinMenu* Menu = Parent->ParentMenu;
  if (WaitCommand && !ByKey) {
    ReDraw();
  } else if (Down) {
    const Integer P = Menu->IndexOfPopup(Parent);
    if (P + 2 < static_cast<Integer>(Menu->PopupList.size())) Menu->PopupList[P + 1]->CloseSubmenus();
  } else {
    ReDraw();
    Menu->HandleItem(Parent, this, ByKey, false);
  }
  if (Parent->GetHint() != MenuItem->GetHint()) Parent->SetHint(MenuItem->GetHint());
}

void TbsSkinMenuItem::Leave() {
  Active = false;
  if (IsAnimated()) CurrentFrame = Data->FrameCount + 1;
  WaitCommand = false;
  if (!Down) ReDraw();
  TbsSkinMenu* Menu = Parent->ParentMenu;
  if (Menu->WaitItem == this) {
    Menu->WaitTimer->SetEnabled(false);
    Menu->WaitItem = nullptr;
  }
}

void TbsSkinMenuItem::Click() {
  WaitCommand = false;
  if (!Down && MenuItem->GetEnabled()) Parent->ParentMenu->HandleItem(Parent, this, false, true);
}

// ---- Effects --------------------------------------------------------------------------------

bool TbsSkinMenuItem::IsAnimated() const {
  TbsSkinData* SD = Parent->SkinData;
  return Data != nullptr && !IsEmptyRect(Data->AnimateSkinRect) && SD != nullptr && !SD->Empty &&
         SD->GetEnableSkinEffects();
}

bool TbsSkinMenuItem::IsMorphing() const {
  TbsSkinData* SD = Parent->SkinData;
  return Data != nullptr && Data->Morphing && SD != nullptr && !SD->Empty && SD->GetEnableSkinEffects();
}

bool TbsSkinMenuItem::CanMorph() {
  if (!Visible) {
    if (MorphKf != 0) {
      Active = false;
      Down = false;
      MorphKf = 0;
    }
    return false;
  }
  const bool Look = Active || Down;
  return (Look && MorphKf < 1) || (!Look && MorphKf > 0);
}

void TbsSkinMenuItem::DoMorph() {
  MorphKf += (Active || Down) ? 0.2 : -0.2;
  if (MorphKf > 1) MorphKf = 1;
  if (MorphKf < 0) MorphKf = 0;
  Draw(Parent->GetCanvas());
}

void TbsSkinMenuItem::ReDraw() {
  if (!Parent->HandleAllocated() || !Parent->GetVisible()) return;
  if (IsAnimated()) {
    Parent->AnimationTimer->SetInterval(Data->AnimateInterval > 0 ? Data->AnimateInterval : 25);
    if (Active || Data->InActiveAnimation) {
      Parent->AnimationTimer->SetEnabled(true);
    } else {
      CurrentFrame = 0;
      Draw(Parent->GetCanvas());
    }
  } else if (IsMorphing()) {
    Parent->AnimationTimer->SetInterval(20);
    Parent->AnimationTimer->SetEnabled(true);
  } else {
    Draw(Parent->GetCanvas());
  }
}

// ---- Drawing --------------------------------------------------------------------------------

TRect TbsSkinMenuItem::FrameRect(Integer Frame) const {
  return AnimationFrameRect(Data->AnimateSkinRect, Data->SkinRect, Data->FrameCount, Frame);
}

void TbsSkinMenuItem::Draw(TCanvas* Cnvs) {
  if (!Visible || ObjectRect.Width() <= 0 || ObjectRect.Height() <= 0) return;
  TBitmap B;
  B.SetWidth(ObjectRect.Width());
  B.SetHeight(ObjectRect.Height());
  if (Data == nullptr) {
    DrawDefault(&B);
  } else if (IsSeparator()) {
    if (Picture != nullptr && !IsEmptyRect(Data->DividerRect))
      CreateHSkinImage(Data->DividerLeftOffset, Data->DividerRightOffset, &B, Picture, Data->DividerRect,
                       B.GetWidth(), B.GetHeight(), Data->DividerStretchEffect);
  } else {
    const bool Look = Active || Down;
    if (IsAnimated() && CurrentFrame >= 1 && CurrentFrame <= Data->FrameCount) {
      DrawSkinLook(&B, Look, CurrentFrame);
    } else if (IsMorphing() && !(Look && MorphKf == 1) && (Look || MorphKf != 0)) {
      TBitmap Normal, Hot;
      for (TBitmap* X : {&Normal, &Hot}) {
        X->SetWidth(B.GetWidth());
        X->SetHeight(B.GetHeight());
      }
      DrawSkinLook(&Normal, false, 0);
      DrawSkinLook(&Hot, true, 0);
      DrawMorph(&Normal, &Hot, Data->MorphKind, MorphKf, B.GetCanvas(), 0, 0);
    } else {
      DrawSkinLook(&B, Look, 0);
    }
  }
  Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &B);
}

void TbsSkinMenuItem::DrawItemImage(TCanvas* C, Integer X, Integer Y, TCustomImageList* IL, bool Checked) {
  if (Checked) {
    C->GetBrush()->SetStyle(bsClear);
    C->GetPen()->SetColor(C->GetFont()->GetColor());
    C->Rectangle(X - 1, Y - 1, X + IL->GetWidth() + 1, Y + IL->GetHeight() + 1);
  }
  IL->Draw(C, X, Y, MenuItem->GetImageIndex(), MenuItem->GetEnabled());
}

void TbsSkinMenuItem::DrawDefault(TBitmap* B) {
  TCanvas* C = B->GetCanvas();
  const Integer Wi = B->GetWidth(), Hi = B->GetHeight();
  TCustomImageList* IL = Parent->Images;
  const Integer Column = IL != nullptr ? Parent->GlyphWidth : 19;
  const TRect R = Rect(2, 2, Wi - 2, Hi - 2);
  const Integer Middle = R.Top + R.Height() / 2;
  const bool Look = (Active || Down) && !IsSeparator();
  C->GetFont()->Assign(Parent->GetCanvas()->GetFont());
  C->GetBrush()->SetStyle(bsSolid);
  TColor TextColor;
  if (Look) {
    C->GetBrush()->SetColor(NavyFrame);
    C->FillRect(Rect(0, 0, Wi, Hi));
    C->GetBrush()->SetColor(ActiveFace);
    C->FillRect(Rect(1, 1, Wi - 1, Hi - 1));
    TextColor = clWindowText;
  } else {
    C->GetBrush()->SetColor(clBtnFace);
    C->FillRect(Rect(0, 0, Column, Hi));
    C->GetBrush()->SetColor(clWindow);
    C->FillRect(Rect(Column, 0, Wi, Hi));
    TextColor = MenuItem->GetEnabled() ? clWindowText : clBtnShadow;
  }
  if (IsSeparator()) {
    C->GetPen()->SetColor(clBtnShadow);
    C->MoveTo(Column, Hi / 2);
    C->LineTo(Wi, Hi / 2);
    return;
  }
  if (IsHeader()) {
    C->GetBrush()->SetColor(clBtnShadow);
    C->FillRect(Rect(0, 0, Wi, Hi));
    C->GetBrush()->SetStyle(bsClear);
    C->GetFont()->SetColor(clBtnHighlight);
    TRect TR = R;
    DrawWideText(C, HeaderText(MenuItem->GetCaption()), TR, DT_CENTER | DT_VCENTER);
    return;
  }
  C->GetFont()->SetColor(TextColor);
  C->GetPen()->SetColor(TextColor);
  C->GetBrush()->SetStyle(bsClear);
  const std::u16string Caption = Utf8ToUtf16(MenuItem->GetCaption());
  TRect CR = MeasureCaption(C, Caption, R.Left + Column, R.Right - 19);
  const Integer TextH = CR.Height();
  CR.Top = R.Top + R.Height() / 2 - TextH / 2;
  CR.Bottom = CR.Top + TextH;
  CR.Right += 2;
  DrawWideText(C, Caption, CR, DT_CENTER | DT_VCENTER);
  if (MenuItem->GetShortCut() != scNone) {
    const std::u16string Short = Utf8ToUtf16(ShortCutToText(MenuItem->GetShortCut()));
    TRect SR = Rect(0, 0, 0, 0);
    DrawWideText(C, Short, SR, DT_CALCRECT);
    TRect Place = Rect(R.Right - 19 - SR.Width(), CR.Top, R.Right - 19, CR.Bottom);
    DrawWideText(C, Short, Place, DT_RIGHT | DT_VCENTER);
  }
  if (MenuItem->GetCount() > 0) DrawMenuArrow(C, R.Right - 7, Middle - 4);
  if (IL != nullptr && MenuItem->GetImageIndex() >= 0 && MenuItem->GetImageIndex() < IL->GetCount()) {
    DrawItemImage(C, R.Left + 2, R.Top + R.Height() / 2 - IL->GetHeight() / 2, IL, MenuItem->GetChecked());
    return;
  }
  if (DrawSystemGlyph(C, MenuItem->GetName(), R.Left + 2, Middle - 4, TextColor)) return;
  if (!MenuItem->GetChecked()) return;
  if (MenuItem->GetRadioItem())
    DrawMenuRadio(C, R.Left + 3, Middle - 4);
  else
    DrawMenuCheckMark(C, R.Left + 3, Middle - 4);
}

void TbsSkinMenuItem::DrawSkinHeader(TBitmap* B) {
  TbsSkinData* SD = Parent->SkinData;
  if (SD == nullptr || Parent->WindowPart == nullptr) return;
  Integer Index = SD->FindControlPart("menuheader");
  if (Index == -1) Index = SD->FindControlPart("label");
  if (Index == -1) return;
  auto* Part = dynamic_cast<TbsDataSkinLabelControl*>(SD->SkinControls[Index].get());
  TBitmap* HP = Part != nullptr ? PictureAt(SD, Part->PictureIndex) : nullptr;
  if (HP == nullptr || IsEmptyRect(Part->SkinRect)) return;
  TBitmap H;
  CreateHSkinImage(Part->LeftTopPoint.X, Part->SkinRect.Width() - Part->RightTopPoint.X, &H, HP,
                   Part->SkinRect, B->GetWidth(), Part->SkinRect.Height(), Part->StretchEffect);
  TCanvas* C = H.GetCanvas();
  C->GetFont()->SetName(Part->FontName);
  C->GetFont()->SetHeight(Part->FontHeight);
  C->GetFont()->SetStyle(Part->FontStyle);
  C->GetFont()->SetColor(Part->FontColor);
  C->GetBrush()->SetStyle(bsClear);
  const std::u16string Text = HeaderText(MenuItem->GetCaption());
  TRect TR = Rect(Part->ClientRect.Left, Part->ClientRect.Top,
                  H.GetWidth() + Part->ClientRect.Right - Part->SkinRect.Width(), H.GetHeight());
  TRect M = TR;
  DrawWideText(C, Text, M, DT_CALCRECT);
  const Integer Top = TR.Top + TR.Height() / 2 - M.Height() / 2 - (Part->FontHeight % 2 != 0 ? 1 : 0);
  TRect Place = Rect(TR.Left, Top, TR.Right, Top + M.Height());
  DrawWideText(C, Text, Place, DT_CENTER);
  B->GetCanvas()->Draw(0, B->GetHeight() / 2 - H.GetHeight() / 2, &H);
}

void TbsSkinMenuItem::DrawSkinLook(TBitmap* B, bool AActive, Integer Frame) {
  TCanvas* C = B->GetCanvas();
  const Integer Wi = B->GetWidth();
  TbsSkinMenu* Menu = Parent->ParentMenu;
  // 1: source and stretch.
  TRect Source = AActive ? Data->ActiveSkinRect : Data->SkinRect;
  bool Stretch = AActive ? Data->StretchEffect : Data->InActiveStretchEffect;
  if (Frame > 0) {
    Source = FrameRect(Frame);
    if (!AActive && !Data->InActiveStretchEffect) Stretch = Data->StretchEffect;
  }
  // 2: background.
  if (!AActive && Data->InActiveTransparent && Parent->PaintBuffer != nullptr)
    C->CopyRect(Rect(0, 0, Wi, B->GetHeight()), Parent->PaintBuffer->GetCanvas(), ObjectRect);
  else if (Picture != nullptr && !IsEmptyRect(Source))
    CreateHSkinImage(Data->ItemLeftOffset, Data->ItemRightOffset, B, Picture, Source, Wi, B->GetHeight(),
                     Stretch);
  // 3: font.
  if (Menu->UseSkinFont) {
    C->GetFont()->SetName(Data->FontName);
    C->GetFont()->SetStyle(Data->FontStyle);
    C->GetFont()->SetHeight(Data->FontHeight);
  } else {
    C->GetFont()->Assign(Menu->DefaultMenuItemFont.get());
  }
  TColor Color = AActive                  ? Data->ActiveFontColor
                 : MenuItem->GetEnabled() ? Data->FontColor
                                          : Data->UnEnabledFontColor;
  C->GetFont()->SetColor(Color);
  C->GetBrush()->SetStyle(bsClear);
  // 5: headers.
  if (IsHeader()) {
    DrawSkinHeader(B);
    return;
  }
  const bool Odd = C->GetFont()->GetHeight() % 2 != 0;
  TRect T = Data->TextRect;
  T.Right = Wi + Data->TextRect.Right - Data->SkinRect.Width();
  const bool HasImageRect = !IsEmptyRect(Data->ImageRect);
  const Integer Column = HasImageRect ? 0 : (Parent->Images != nullptr ? Parent->GlyphWidth : 16);
  // 6: caption.
  const std::u16string Caption = Utf8ToUtf16(MenuItem->GetCaption());
  TRect CR = MeasureCaption(C, Caption, T.Left + Column, T.Right - 16);
  const Integer TextH = CR.Height();
  CR.Top = T.Top + T.Height() / 2 - TextH / 2 - (Odd ? 1 : 0);
  CR.Bottom = CR.Top + TextH;
  CR.Right += 2;
  DrawWideText(C, Caption, CR, DT_CENTER | DT_VCENTER);
  // 7: shortcut.
  if (MenuItem->GetShortCut() != scNone) {
    const std::u16string Short = Utf8ToUtf16(ShortCutToText(MenuItem->GetShortCut()));
    TRect SR = Rect(0, 0, 0, 0);
    DrawWideText(C, Short, SR, DT_CALCRECT);
    TRect Place =
        Rect(T.Right - 16 - SR.Width(), CR.Top - (Odd ? 1 : 0), T.Right - 16, CR.Bottom - (Odd ? 1 : 0));
    DrawWideText(C, Short, Place, DT_RIGHT | DT_VCENTER);
  }
  // 8: submenu arrow.
  if (MenuItem->GetCount() > 0) {
    const TRect& Arrow = AActive && !IsEmptyRect(Data->ActiveArrowImageRect) ? Data->ActiveArrowImageRect
                                                                             : Data->ArrowImageRect;
    if (IsEmptyRect(Data->ArrowImageRect)) {
      C->GetPen()->SetColor(Color);
      DrawMenuArrow(C, T.Right - 7, T.Top + T.Height() / 2 - 4);
    } else {
      DrawSkinGlyph(C, Picture, Arrow, Rect(T.Right - Arrow.Width() - 5, T.Top, T.Right, T.Bottom));
    }
  }
  // 9: image colour.
  if (Data->UseImageColor) Color = AActive ? Data->ActiveImageColor : Data->ImageColor;
  C->GetFont()->SetColor(Color);
  C->GetPen()->SetColor(Color);
  // 10: image.
  TCustomImageList* IL = Parent->Images;
  if (IL != nullptr && MenuItem->GetImageIndex() >= 0 && MenuItem->GetImageIndex() < IL->GetCount()) {
    Integer X, Y;
    if (HasImageRect) {
      X = Data->ImageRect.Left + Data->ImageRect.Width() / 2 - IL->GetWidth() / 2;
      Y = Data->ImageRect.Top + Data->ImageRect.Height() / 2 - IL->GetHeight() / 2;
    } else {
      X = T.Left + 2;
      Y = T.Top + T.Height() / 2 - IL->GetHeight() / 2;
    }
    DrawItemImage(C, X, Y, IL, MenuItem->GetChecked());
    return;
  }
  // 11: glyphs.
  const Integer GX = HasImageRect ? Data->ImageRect.Left + Data->ImageRect.Width() / 2 - 4 : T.Left + 2;
  const Integer GY =
      HasImageRect ? Data->ImageRect.Top + Data->ImageRect.Height() / 2 - 4 : T.Top + T.Height() / 2 - 4;
  if (DrawSystemGlyph(C, MenuItem->GetName(), GX, GY, Color) || !MenuItem->GetChecked()) return;
  // The glyph cell spans the text rectangle's height, so skin glyphs centre beside the caption.
  const TRect Cell = HasImageRect ? Data->ImageRect
                                  : Rect(Data->TextRect.Left + 2, Data->TextRect.Top,
                                         Data->TextRect.Left + 16, Data->TextRect.Bottom);
  if (MenuItem->GetRadioItem()) {
    const TRect& G = AActive && !IsEmptyRect(Data->ActiveRadioImageRect) ? Data->ActiveRadioImageRect
                                                                         : Data->RadioImageRect;
    if (IsEmptyRect(Data->RadioImageRect))
      DrawMenuRadio(C, GX, GY + 1);
    else
      DrawSkinGlyph(C, Picture, G, Cell);
  } else {
    const TRect& G = AActive && !IsEmptyRect(Data->ActiveCheckImageRect) ? Data->ActiveCheckImageRect
                                                                         : Data->CheckImageRect;
    if (IsEmptyRect(Data->CheckImageRect))
      DrawMenuCheckMark(C, GX, GY);
    else
      DrawSkinGlyph(C, Picture, G, Cell);
  }
}
