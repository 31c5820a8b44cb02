// The drawing routines of the control parts, one per record class. A routine sizes its part
// from the part's name (horizontal or vertical, small or big), draws every state's image into
// the parts picture and fills the record.
#include <memory>

#include "skin/data/bsSkinDataBarParts.h"
#include "skin/data/bsSkinDataControls.h"
#include "skin/data/bsSkinDataEditParts.h"
#include "tools/skingen/SkinBuilder.h"

namespace {

constexpr const char* FontName = "Arial";

TRect Shifted(const TRect& R, Integer Dx, Integer Dy) {
  return Rect(R.Left + Dx, R.Top + Dy, R.Right + Dx, R.Bottom + Dy);
}

}  // namespace

void TSkinBuilder::ButtonPart(const std::string& Name) {
  auto P = std::make_unique<TbsDataSkinButtonControl>(Name);
  Integer W = 72, H = 24;
  if (Name == "editbutton" || Name == "combobutton")
    W = 17, H = 19;
  else if (Name == "resizebutton" || Name == "menuitembutton")
    W = 40, H = 22;
  else if (Name == "officemenubutton")
    W = 52, H = 24;
  else if (Big(Name))
    W = H = 44;
  else if (Name != "button")
    W = H = 26;
  P->PictureIndex = FPartsIndex;
  P->SkinRect = Face(W, H, 0);
  P->ActiveSkinRect = Face(W, H, 1);
  P->DownSkinRect = Face(W, H, 2);
  P->DisabledSkinRect = Face(W, H, 3);
  P->FocusedSkinRect = Name == "button" ? Face(W, H, 4) : P->ActiveSkinRect;
  Anchor(*P, std::max(FStyle.Radius, FStyle.BevelDepth + 1), W, H);
  P->FontName = FontName;
  P->FontHeight = 14;
  P->FontColor = FStyle.Text;
  P->ActiveFontColor = FStyle.HotText;
  P->DownFontColor = FStyle.HotText;
  P->DisabledFontColor = FStyle.DisabledText;
  P->ShowFocus = Name == "button";
  if (FStyle.MorphingButtons) {
    P->Morphing = true;
    P->MorphKind = mkGradient;
  }
  if (FStyle.ButtonGlow) {
    P->GlowLayerPictureIndex = FGlowIndex;
    P->GlowLayerMaskPictureIndex = FGlowMaskIndex;
    P->GlowLayerOffsetLeft = P->GlowLayerOffsetTop = P->GlowLayerOffsetRight = P->GlowLayerOffsetBottom = 6;
    P->GlowLayerShowOffsetX = P->GlowLayerShowOffsetY = 6;
    P->GlowLayerAlphaBlendValue = 200;
  }
  Add(std::move(P), "button");
}

void TSkinBuilder::MenuButtonPart(const std::string& Name) {
  auto P = std::make_unique<TbsDataSkinMenuButtonControl>(Name);
  const bool Track = Name.find("track") != std::string::npos;
  const Integer H = Big(Name) ? 44 : 26, W = H + (Track ? 12 : 0);
  P->PictureIndex = FPartsIndex;
  P->SkinRect = Face(W, H, 0);
  P->ActiveSkinRect = Face(W, H, 1);
  P->DownSkinRect = Face(W, H, 2);
  P->DisabledSkinRect = Face(W, H, 3);
  P->FocusedSkinRect = P->ActiveSkinRect;
  Anchor(*P, std::max(FStyle.Radius, FStyle.BevelDepth + 1), W, H);
  if (Track) {
    P->TrackButtonRect = Rect(W - 12, 0, W, H);
    // The menu zone is set off from the face by a groove.
    for (const TRect& R : {P->SkinRect, P->ActiveSkinRect, P->DownSkinRect, P->DisabledSkinRect})
      for (Integer Y = R.Top + 3; Y < R.Bottom - 3; ++Y) {
        FParts.Put(R.Right - 13, Y, FStyle.Shadow);
        FParts.Put(R.Right - 12, Y, FStyle.Light);
      }
  }
  P->MenuMarkerRect = Glyph(9, 9, 4, FStyle.Text);
  P->MenuMarkerActiveRect = Glyph(9, 9, 4, FStyle.HotText);
  P->MenuMarkerDownRect = Glyph(9, 9, 4, FStyle.HotText);
  P->MenuMarkerFlatRect = P->MenuMarkerRect;
  P->MenuMarkerTransparentColor = SkinKeyColor;
  P->FontColor = FStyle.Text;
  P->ActiveFontColor = P->DownFontColor = FStyle.HotText;
  P->DisabledFontColor = FStyle.DisabledText;
  if (FStyle.MorphingButtons) {
    P->Morphing = true;
    P->MorphKind = mkGradient;
  }
  Add(std::move(P), "menubutton");
}

void TSkinBuilder::PanelPart(const std::string& Name) {
  auto P = std::make_unique<TbsDataSkinPanelControl>(Name);
  P->PictureIndex = FPartsIndex;
  P->FontColor = FStyle.Text;
  if (Name == "groupbox") {
    const Integer W = 96, H = 64;
    P->SkinRect = Place(W, H, FStyle.Panel);
    TFaceLook L = StylePanel(FStyle);
    L.Radius = std::min(FStyle.Radius, 4);
    PaintFace(FParts, Rect(P->SkinRect.Left, P->SkinRect.Top + 8, P->SkinRect.Right, P->SkinRect.Bottom), L);
    Anchor(*P, Rect(6, 20, W - 6, H - 6));
    P->CaptionRect = Rect(8, 0, W - 8, 17);
    P->Alignment = taLeftJustify;
    P->FontStyle = TFontStyles{fsBold};
  } else if (Name == "statusbar") {
    const Integer W = 64, H = 22;
    TFaceLook L = StylePanel(FStyle);
    L.Outline = BlendColor(FStyle.Outline, FStyle.Panel, 60);
    P->SkinRect = Look(W, H, L, FStyle.Panel);
    Anchor(*P, 3, W, H);
    P->GripperRect = Glyph(12, 12, sgGrip, FStyle.Shadow);
    P->GripperTransparent = true;
    P->GripperTransparentColor = SkinKeyColor;
  } else if (Name == "panel") {
    const Integer W = 64, H = 64;
    P->SkinRect = Look(W, H, StylePanel(FStyle), FStyle.Panel);
    Anchor(*P, 3, W, H);
  } else {
    // Tool bars: the button face's gradient, square and without outline.
    const Integer W = 64, H = Big(Name) ? 56 : 30;
    TFaceLook L = StyleFace(FStyle, 0);
    L.Radius = 0;
    L.From = BlendColor(L.From, FStyle.Panel, 50);
    L.To = BlendColor(L.To, FStyle.Panel, 50);
    L.NoOutline = true;
    L.Opacity = 255;
    P->SkinRect = Look(W, H, L, FStyle.Panel);
    Anchor(*P, 2, W, H);
  }
  Add(std::move(P), "panel");
}

void TSkinBuilder::CheckRadioPart(const std::string& Name) {
  auto P = std::make_unique<TbsDataSkinCheckRadioControl>(Name);
  const bool Radio = Name == "radiobox";
  const Integer W = 120, H = 20, Box = 14;
  P->PictureIndex = FPartsIndex;
  TFaceLook Back = StylePanel(FStyle);
  Back.NoOutline = true;
  Back.Bevel = 0;
  P->SkinRect = Look(W, H, Back, FStyle.Panel);
  const TColor HotBack = BlendColor(FStyle.Panel, FStyle.Hot1, 25);
  Back.From = Back.To = HotBack;
  P->ActiveSkinRect = Look(W, H, Back, FStyle.Panel);
  Anchor(*P, 1, W, H);
  P->CheckImageArea = Rect(2, (H - Box) / 2, 2 + Box, (H - Box) / 2 + Box);
  P->TextArea = Rect(Box + 6, 0, W, H);
  auto Box1 = [&](bool Hot, bool Disabled, Integer Mark, TColor MarkColor) {
    TFaceLook L = StyleField(FStyle);
    L.Radius = Radio ? Box / 2 : std::min(FStyle.Radius, 2);
    if (Hot) L.Outline = FStyle.Accent;
    if (Disabled) L.From = L.To = FStyle.Panel;
    // The box is drawn without transparency over the face of the same state.
    const TRect R = Look(Box, Box, L, Hot ? HotBack : FStyle.Panel);
    if (Mark != 0) DrawGlyph(R, Mark, MarkColor);
    return R;
  };
  const Integer Mark = Radio ? sgRadio : sgCheck;
  P->CheckImageRect = Box1(false, false, Mark, FStyle.Accent);
  P->UncheckImageRect = Box1(false, false, 0, 0);
  P->ActiveCheckImageRect = Box1(true, false, Mark, FStyle.Accent);
  P->ActiveUncheckImageRect = Box1(true, false, 0, 0);
  P->UnEnabledCheckImageRect = Box1(false, true, Mark, FStyle.DisabledText);
  P->UnEnabledUncheckImageRect = Box1(false, true, 0, 0);
  P->GrayedCheckImageRect = Box1(false, false, Mark, FStyle.DisabledText);
  P->ActiveGrayedCheckImageRect = Box1(true, false, Mark, FStyle.DisabledText);
  P->FontName = FontName;
  P->FontColor = FStyle.Text;
  P->ActiveFontColor = FStyle.Text;
  P->UnEnabledFontColor = FStyle.DisabledText;
  P->FrameFontColor = FStyle.Text;
  P->Morphing = FStyle.MorphingButtons;
  Add(std::move(P), "checkradio");
}

void TSkinBuilder::GaugePart(const std::string& Name) {
  auto P = std::make_unique<TbsDataSkinGaugeControl>(Name);
  const bool Vertical = Name == "vgauge";
  const Integer W = Vertical ? 16 : 100, H = Vertical ? 100 : 16;
  P->PictureIndex = FPartsIndex;
  P->SkinRect = Look(W, H, StyleField(FStyle), FStyle.Panel);
  Anchor(*P, 3, W, H);
  P->ProgressArea = Rect(2, 2, W - 2, H - 2);
  TFaceLook Bar = StyleFace(FStyle, 1);
  Bar.From = BlendColor(FStyle.Accent, 0xFFFFFF, 35);
  Bar.To = FStyle.Accent;
  Bar.Vertical = !Vertical;
  Bar.Radius = 0;
  Bar.Opacity = 255;
  P->ProgressRect = Look(W - 4, H - 4, Bar, FStyle.Window);
  P->BeginOffset = P->EndOffset = 2;
  P->Vertical = Vertical;
  P->ProgressStretch = true;
  P->FontName = FontName;
  P->FontColor = FStyle.WindowText;
  Add(std::move(P), "gauge");
}

void TSkinBuilder::TrackBarPart(const std::string& Name) {
  auto P = std::make_unique<TbsDataSkinTrackBarControl>(Name);
  const bool Vertical = Name == "trackbar";
  const Integer W = Vertical ? 24 : 120, H = Vertical ? 120 : 24;
  const TRect Groove = Vertical ? Rect(10, 6, 14, H - 6) : Rect(6, 10, W - 6, 14);
  P->PictureIndex = FPartsIndex;
  TFaceLook Back = StylePanel(FStyle);
  Back.NoOutline = true;
  Back.Bevel = 0;
  P->SkinRect = Look(W, H, Back, FStyle.Panel);
  P->ActiveSkinRect = Look(W, H, Back, FStyle.Panel);
  TFaceLook Track = StyleField(FStyle);
  Track.Radius = 0;
  PaintFace(FParts, Shifted(Groove, P->SkinRect.Left, P->SkinRect.Top), Track);
  Track.From = Track.To = FStyle.Accent;
  PaintFace(FParts, Shifted(Groove, P->ActiveSkinRect.Left, P->ActiveSkinRect.Top), Track);
  Anchor(*P, 6, W, H);
  P->TrackArea = Vertical ? Rect(0, 6, W, H - 6) : Rect(6, 0, W - 6, H);
  const Integer TW = Vertical ? 20 : 11, TH = Vertical ? 11 : 20;
  TFaceLook Thumb = StyleFace(FStyle, 0);
  Thumb.Radius = std::min(FStyle.Radius, 3);
  P->ButtonRect = Look(TW, TH, Thumb, SkinKeyColor);
  Thumb = StyleFace(FStyle, 1);
  Thumb.Radius = std::min(FStyle.Radius, 3);
  P->ActiveButtonRect = Look(TW, TH, Thumb, SkinKeyColor);
  P->Vertical = Vertical;
  P->ButtonTransparent = true;
  P->ButtonTransparentColor = SkinKeyColor;
  Add(std::move(P), "trackbar");
}

void TSkinBuilder::LabelPart(const std::string& Name) {
  auto P = std::make_unique<TbsDataSkinLabelControl>(Name);
  const Integer W = 80, H = 20;
  P->PictureIndex = FPartsIndex;
  TFaceLook L = StylePanel(FStyle);
  P->FontColor = FStyle.Text;
  if (Name == "menuheader") {
    L.From = FStyle.Caption1;
    L.To = FStyle.Caption2;
    L.Vertical = FStyle.Vertical;
    L.NoOutline = true;
    P->FontColor = FStyle.CaptionText;
    P->FontStyle = TFontStyles{fsBold};
  } else if (Name == "statuspanel") {
    L.Sunken = true;
  } else {
    L.NoOutline = true;
    L.Bevel = 0;
  }
  P->SkinRect = Look(W, H, L, FStyle.Panel);
  Anchor(*P, 2, W, H);
  P->FontName = FontName;
  Add(std::move(P), "label");
}

void TSkinBuilder::StdLabelPart(const std::string& Name) {
  auto P = std::make_unique<TbsDataSkinStdLabelControl>(Name);
  P->FontName = FontName;
  P->FontColor = FStyle.Text;
  P->ActiveFontColor = FStyle.Accent;
  Add(std::move(P), "stdlabel");
}

void TSkinBuilder::ScrollBarPart(const std::string& Name) {
  auto P = std::make_unique<TbsDataSkinScrollBarControl>(Name);
  const bool Vertical = Name == "vscrollbar";
  const Integer B = 17, L = 100;
  const Integer W = Vertical ? B : L, H = Vertical ? L : B;
  P->PictureIndex = FPartsIndex;
  TFaceLook Track = StyleField(FStyle);
  Track.From = Track.To = BlendColor(FStyle.Panel, FStyle.Shadow, 15);
  Track.Radius = 0;
  P->SkinRect = Look(W, H, Track, FStyle.Panel);
  const TRect Up = Rect(0, 0, B, B);
  const TRect Down = Vertical ? Rect(0, H - B, B, H) : Rect(W - B, 0, W, H);
  const Integer UpArrow = Vertical ? 3 : 1, DownArrow = Vertical ? 4 : 2;
  // The buttons' normal look is part of the bar's own image.
  for (const auto& [Area, Arrow] : {std::pair{Up, UpArrow}, std::pair{Down, DownArrow}}) {
    const TRect R = Shifted(Area, P->SkinRect.Left, P->SkinRect.Top);
    TFaceLook F = StyleFace(FStyle, 0);
    F.Radius = std::min(FStyle.Radius, 3);
    PaintFace(FParts, R, F);
    DrawGlyph(R, Arrow, FStyle.Text);
  }
  P->UpButtonRect = Up;
  P->DownButtonRect = Down;
  P->TrackArea = Vertical ? Rect(0, B, W, H - B) : Rect(B, 0, W - B, H);
  auto Button = [&](Integer State, Integer Arrow) {
    TFaceLook F = StyleFace(FStyle, State);
    F.Radius = std::min(FStyle.Radius, 3);
    const TRect R = Look(B, B, F, Track.From);
    DrawGlyph(R, Arrow, FStyle.HotText);
    return R;
  };
  P->ActiveUpButtonRect = Button(1, UpArrow);
  P->DownUpButtonRect = Button(2, UpArrow);
  P->ActiveDownButtonRect = Button(1, DownArrow);
  P->DownDownButtonRect = Button(2, DownArrow);
  const Integer TW = Vertical ? B : 40, TH = Vertical ? 40 : B;
  auto Thumb = [&](Integer State) {
    TFaceLook F = StyleFace(FStyle, State);
    F.Radius = std::min(FStyle.Radius, 4);
    F.Vertical = !Vertical;
    return Look(TW, TH, F, SkinKeyColor);
  };
  P->ThumbRect = Thumb(0);
  P->ActiveThumbRect = Thumb(1);
  P->DownThumbRect = Thumb(2);
  P->ThumbOffset1 = P->ThumbOffset2 = 5;
  P->ThumbTransparent = true;
  P->ThumbTransparentColor = SkinKeyColor;
  P->ThumbStretchEffect = true;
  P->ThumbMinSize = 12;
  Anchor(*P, Vertical ? Rect(1, B, W - 1, H - B) : Rect(B, 1, W - B, H - 1));
  Add(std::move(P), "scrollbar");
}

void TSkinBuilder::SplitterPart(const std::string& Name) {
  auto P = std::make_unique<TbsDataSkinSplitterControl>(Name);
  const bool Horizontal = Name == "hsplitter";
  const Integer W = Horizontal ? 60 : 6, H = Horizontal ? 6 : 60;
  P->PictureIndex = FPartsIndex;
  TFaceLook L = StylePanel(FStyle);
  L.Vertical = Horizontal;
  L.From = BlendColor(FStyle.Panel, FStyle.Face1, 50);
  L.To = BlendColor(FStyle.Panel, FStyle.Face2, 50);
  L.NoOutline = true;
  P->SkinRect = Look(W, H, L, FStyle.Panel);
  Anchor(*P, 2, W, H);
  P->GripperRect = Glyph(Horizontal ? 22 : 5, Horizontal ? 5 : 22, sgDots, FStyle.Shadow);
  P->GripperTransparent = true;
  P->GripperTransparentColor = SkinKeyColor;
  Add(std::move(P), "splitter");
}

void TSkinBuilder::TreeViewPart(const std::string& Name) {
  auto P = std::make_unique<TbsDataSkinTreeView>(Name);
  P->FontName = FontName;
  P->FontColor = FStyle.WindowText;
  P->BGColor = FStyle.Window;
  Add(std::move(P), "treeview");
}

void TSkinBuilder::ListViewPart(const std::string& Name) {
  auto P = std::make_unique<TbsDataSkinListView>(Name);
  P->FontName = FontName;
  P->FontColor = FStyle.WindowText;
  P->BGColor = FStyle.Window;
  Add(std::move(P), "listview");
}

// The three item backgrounds of lists: plain, selected and selected with focus.
namespace {
struct TItemLooks {
  TRect Item, Active, Focus;
};
}  // namespace

void TSkinBuilder::ListBoxPart(const std::string& Name) {
  auto P = std::make_unique<TbsDataSkinListBox>(Name);
  const Integer W = 120, H = 90, IW = 100, IH = 18;
  P->PictureIndex = FPartsIndex;
  P->SkinRect = Look(W, H, StyleField(FStyle), FStyle.Panel);
  Anchor(*P, 3, W, H);
  TFaceLook Item = StyleField(FStyle);
  Item.NoOutline = true;
  Item.Bevel = 0;
  Item.Radius = 0;
  P->ItemRect = Look(IW, IH, Item, FStyle.Window);
  TFaceLook Sel = StyleFace(FStyle, 1);
  Sel.From = BlendColor(FStyle.Highlight, 0xFFFFFF, 20);
  Sel.To = FStyle.Highlight;
  Sel.Radius = std::min(FStyle.Radius, 3);
  Sel.Outline = FStyle.Highlight;
  Sel.Opacity = 255;
  P->ActiveItemRect = Look(IW, IH, Sel, FStyle.Window);
  Sel.Outline = FStyle.Accent;
  P->FocusItemRect = Look(IW, IH, Sel, FStyle.Window);
  P->ItemLeftOffset = P->ItemRightOffset = 3;
  P->ItemTextRect = Rect(4, 0, IW - 4, IH);
  P->FontName = P->CaptionFontName = FontName;
  P->FontColor = FStyle.WindowText;
  P->ActiveFontColor = P->FocusFontColor = FStyle.HighlightText;
  P->CaptionFontColor = FStyle.Text;
  Add(std::move(P), "listbox");
}

void TSkinBuilder::ComboBoxPart(const std::string& Name) {
  auto P = std::make_unique<TbsDataSkinComboBox>(Name);
  const Integer W = 120, H = 22, BW = 17;
  P->PictureIndex = FPartsIndex;
  const TRect Button = Rect(W - BW - 2, 2, W - 2, H - 2);
  auto Field = [&](bool Hot) {
    TFaceLook L = StyleField(FStyle);
    if (Hot) L.Outline = FStyle.Accent;
    const TRect R = Look(W, H, L, FStyle.Panel);
    TFaceLook F = StyleFace(FStyle, 0);
    F.Radius = std::min(FStyle.Radius, 2);
    const TRect B = Shifted(Button, R.Left, R.Top);
    PaintFace(FParts, B, F);
    DrawGlyph(B, sgComboArrow, FStyle.Text);
    return R;
  };
  P->SkinRect = Field(false);
  P->ActiveSkinRect = Field(true);
  Anchor(*P, Rect(3, 3, W - BW - 4, H - 3));
  P->ButtonRect = Button;
  auto ButtonFace = [&](Integer State) {
    TFaceLook F = StyleFace(FStyle, State);
    F.Radius = std::min(FStyle.Radius, 2);
    const TRect R = Look(BW, H - 4, F, FStyle.Window);
    DrawGlyph(R, sgComboArrow, State == 3 ? FStyle.DisabledText : FStyle.HotText);
    return R;
  };
  P->ActiveButtonRect = ButtonFace(1);
  P->DownButtonRect = ButtonFace(2);
  P->UnEnabledButtonRect = ButtonFace(3);
  TFaceLook Item = StyleField(FStyle);
  Item.NoOutline = true;
  Item.Bevel = 0;
  Item.Radius = 0;
  P->ItemRect = Look(90, H - 6, Item, FStyle.Window);
  Item.From = Item.To = FStyle.Highlight;
  P->ActiveItemRect = Look(90, H - 6, Item, FStyle.Window);
  P->FocusItemRect = P->ActiveItemRect;
  P->ItemLeftOffset = P->ItemRightOffset = 2;
  P->ItemTextRect = Rect(2, 0, 88, H - 6);
  P->FontName = FontName;
  P->FontColor = FStyle.WindowText;
  P->ActiveFontColor = FStyle.WindowText;
  P->FocusFontColor = FStyle.HighlightText;
  P->ListBoxName = "listbox";
  P->ItemStretchEffect = P->FocusItemStretchEffect = true;
  Add(std::move(P), "combobox");
}

void TSkinBuilder::EditPart(const std::string& Name) {
  auto P = std::make_unique<TbsDataSkinEditControl>(Name);
  const Integer W = 100, H = 22, BW = 17;
  const bool WithButton = Name == "buttonedit";
  const TRect Button = Rect(W - BW - 2, 2, W - 2, H - 2);
  P->PictureIndex = FPartsIndex;
  auto Field = [&](bool Hot) {
    TFaceLook L = StyleField(FStyle);
    if (Hot) L.Outline = FStyle.Accent;
    const TRect R = Look(W, H, L, FStyle.Panel);
    if (WithButton) {
      TFaceLook F = StyleFace(FStyle, 0);
      F.Radius = std::min(FStyle.Radius, 2);
      PaintFace(FParts, Shifted(Button, R.Left, R.Top), F);
    }
    return R;
  };
  P->SkinRect = Field(false);
  P->ActiveSkinRect = Field(true);
  Anchor(*P, WithButton ? Rect(3, 3, W - BW - 4, H - 3) : Rect(3, 3, W - 3, H - 3));
  if (WithButton) {
    P->ButtonRect = Button;
    auto ButtonFace = [&](Integer State) {
      TFaceLook F = StyleFace(FStyle, State);
      F.Radius = std::min(FStyle.Radius, 2);
      return Look(BW, H - 4, F, FStyle.Window);
    };
    P->ActiveButtonRect = ButtonFace(1);
    P->DownButtonRect = ButtonFace(2);
    P->UnEnabledButtonRect = ButtonFace(3);
  }
  P->FontName = FontName;
  P->FontColor = P->ActiveFontColor = FStyle.WindowText;
  P->DisabledFontColor = FStyle.DisabledText;
  Add(std::move(P), "edit");
}

void TSkinBuilder::MemoPart(const std::string& Name) {
  auto P = std::make_unique<TbsDataSkinMemoControl>(Name);
  const Integer W = 100, H = 60;
  P->PictureIndex = FPartsIndex;
  P->SkinRect = Look(W, H, StyleField(FStyle), FStyle.Panel);
  TFaceLook Hot = StyleField(FStyle);
  Hot.Outline = FStyle.Accent;
  P->ActiveSkinRect = Look(W, H, Hot, FStyle.Panel);
  Anchor(*P, 3, W, H);
  P->FontName = FontName;
  P->FontColor = P->ActiveFontColor = FStyle.WindowText;
  P->DisabledFontColor = FStyle.DisabledText;
  P->BGColor = P->ActiveBGColor = FStyle.Window;
  Add(std::move(P), "memo");
}

void TSkinBuilder::SpinEditPart(const std::string& Name) {
  auto P = std::make_unique<TbsDataSkinSpinEditControl>(Name);
  const Integer W = 80, H = 22, BW = 15, Mid = H / 2;
  const TRect Up = Rect(W - BW - 2, 2, W - 2, Mid), Down = Rect(W - BW - 2, Mid, W - 2, H - 2);
  P->PictureIndex = FPartsIndex;
  auto Field = [&](bool Hot) {
    TFaceLook L = StyleField(FStyle);
    if (Hot) L.Outline = FStyle.Accent;
    const TRect R = Look(W, H, L, FStyle.Panel);
    for (const auto& [Area, Arrow] : {std::pair{Up, 3}, std::pair{Down, 4}}) {
      TFaceLook F = StyleFace(FStyle, 0);
      F.Radius = std::min(FStyle.Radius, 2);
      const TRect B = Shifted(Area, R.Left, R.Top);
      PaintFace(FParts, B, F);
      DrawGlyph(B, Arrow, FStyle.Text);
    }
    return R;
  };
  P->SkinRect = Field(false);
  P->ActiveSkinRect = Field(true);
  Anchor(*P, Rect(3, 3, W - BW - 4, H - 3));
  P->UpButtonRect = Up;
  P->DownButtonRect = Down;
  auto Button = [&](const TRect& Area, Integer State, Integer Arrow) {
    TFaceLook F = StyleFace(FStyle, State);
    F.Radius = std::min(FStyle.Radius, 2);
    const TRect R = Look(Area.Right - Area.Left, Area.Bottom - Area.Top, F, FStyle.Window);
    DrawGlyph(R, Arrow, FStyle.HotText);
    return R;
  };
  P->ActiveUpButtonRect = Button(Up, 1, 3);
  P->DownUpButtonRect = Button(Up, 2, 3);
  P->ActiveDownButtonRect = Button(Down, 1, 4);
  P->DownDownButtonRect = Button(Down, 2, 4);
  P->FontName = FontName;
  P->FontColor = P->ActiveFontColor = FStyle.WindowText;
  P->DisabledFontColor = FStyle.DisabledText;
  Add(std::move(P), "spinedit");
}

void TSkinBuilder::UpDownPart(const std::string& Name) {
  auto P = std::make_unique<TbsDataSkinUpDownControl>(Name);
  const bool Vertical = Name == "vupdown";
  const Integer B = 17;
  const Integer W = Vertical ? B : 2 * B, H = Vertical ? 2 * B : B;
  // Horizontal: the down (left) button first, as the arrows point.
  const TRect Up = Vertical ? Rect(0, 0, B, B) : Rect(B, 0, 2 * B, B);
  const TRect Down = Vertical ? Rect(0, B, B, 2 * B) : Rect(0, 0, B, B);
  const Integer UpArrow = Vertical ? 3 : 2, DownArrow = Vertical ? 4 : 1;
  P->PictureIndex = FPartsIndex;
  P->SkinRect = Place(W, H, FStyle.Panel);
  auto Button = [&](const TRect& At, Integer State, Integer Arrow) {
    TFaceLook F = StyleFace(FStyle, State);
    F.Radius = std::min(FStyle.Radius, 3);
    PaintFace(FParts, At, F);
    DrawGlyph(At, Arrow, State == 0 ? FStyle.Text : FStyle.HotText);
    return At;
  };
  Button(Shifted(Up, P->SkinRect.Left, P->SkinRect.Top), 0, UpArrow);
  Button(Shifted(Down, P->SkinRect.Left, P->SkinRect.Top), 0, DownArrow);
  P->UpButtonRect = Up;
  P->DownButtonRect = Down;
  P->ActiveUpButtonRect = Button(Place(B, B, FStyle.Panel), 1, UpArrow);
  P->DownUpButtonRect = Button(Place(B, B, FStyle.Panel), 2, UpArrow);
  P->ActiveDownButtonRect = Button(Place(B, B, FStyle.Panel), 1, DownArrow);
  P->DownDownButtonRect = Button(Place(B, B, FStyle.Panel), 2, DownArrow);
  Add(std::move(P), "updown");
}

void TSkinBuilder::ScrollBoxPart(const std::string& Name) {
  auto P = std::make_unique<TbsDataSkinScrollBoxControl>(Name);
  const Integer W = 64, H = 64;
  P->PictureIndex = FPartsIndex;
  TFaceLook L = StylePanel(FStyle);
  L.Sunken = true;
  P->SkinRect = Look(W, H, L, FStyle.Panel);
  Anchor(*P, 2, W, H);
  Add(std::move(P), "scrollbox");
}

void TSkinBuilder::TabPart(const std::string& Name) {
  auto P = std::make_unique<TbsDataSkinTabControl>(Name);
  const Integer W = 100, H = 80, TW = 60, TH = 22;
  P->PictureIndex = FPartsIndex;
  TFaceLook Page = StylePanel(FStyle);
  Page.Radius = std::min(FStyle.Radius, 3);
  P->SkinRect = Look(W, H, Page, FStyle.Panel);
  P->ClientRect = Rect(3, 3, W - 3, H - 3);
  P->LeftTopPoint = Point(4, 4);
  P->RightTopPoint = Point(W - 4, 4);
  P->LeftBottomPoint = Point(4, H - 4);
  P->RightBottomPoint = Point(W - 4, H - 4);
  P->LeftStretch = P->TopStretch = P->RightStretch = P->BottomStretch = P->StretchEffect = true;
  // Tabs: rounded at the top only, so their lower rows are cut square.
  auto Tab = [&](Integer State, bool Focus) {
    TFaceLook F = StyleFace(FStyle, State);
    if (State == 2) {
      F.From = BlendColor(FStyle.Panel, 0xFFFFFF, 30);
      F.To = FStyle.Panel;
      F.Sunken = false;
    }
    if (Focus) F.Outline = FStyle.Accent;
    F.Opacity = 255;
    F.OpenBottom = true;
    return Look(TW, TH, F, FStyle.Panel);
  };
  P->TabRect = Tab(0, false);
  P->MouseInTabRect = Tab(1, false);
  P->ActiveTabRect = Tab(2, false);
  P->FocusTabRect = Tab(2, true);
  P->TabLeftOffset = P->TabRightOffset = std::max(3, FStyle.Radius);
  P->TabStretchEffect = true;
  P->FontName = FontName;
  P->FontColor = FStyle.Text;
  P->ActiveFontColor = P->FocusFontColor = FStyle.Text;
  P->MouseInFontColor = FStyle.HotText;
  P->UpDown = "hupdown";
  auto Small = [&](Integer Kind, Integer State) {
    TFaceLook F = StyleFace(FStyle, State);
    F.Radius = std::min(FStyle.Radius, 2);
    const TRect R = Look(16, 14, F, SkinKeyColor);
    DrawGlyph(R, Kind, FStyle.HotText);
    return R;
  };
  P->CloseButtonRect = Small(sgClose, 0);
  P->CloseButtonActiveRect = Small(sgClose, 1);
  P->CloseButtonDownRect = Small(sgClose, 2);
  P->ButtonTransparent = true;
  P->ButtonTransparentColor = SkinKeyColor;
  P->MDICloseRect = P->CloseButtonRect;
  P->MDICloseActiveRect = P->CloseButtonActiveRect;
  P->MDICloseDownRect = P->CloseButtonDownRect;
  P->MDIRestoreRect = Small(sgRestore, 0);
  P->MDIRestoreActiveRect = Small(sgRestore, 1);
  P->MDIRestoreDownRect = Small(sgRestore, 2);
  P->MDIMinRect = Small(sgMinimize, 0);
  P->MDIMinActiveRect = Small(sgMinimize, 1);
  P->MDIMinDownRect = Small(sgMinimize, 2);
  P->MDIButtonsTransparent = true;
  P->MDIButtonsTransparentColor = SkinKeyColor;
  Add(std::move(P), "tab");
}

void TSkinBuilder::MainMenuBarPart(const std::string& Name) {
  auto P = std::make_unique<TbsDataSkinMainMenuBar>(Name);
  const Integer W = 100, H = 22;
  P->PictureIndex = FPartsIndex;
  TFaceLook L = StyleFace(FStyle, 0);
  L.Radius = 0;
  L.NoOutline = true;
  L.From = BlendColor(L.From, FStyle.Panel, 65);
  L.To = BlendColor(L.To, FStyle.Panel, 65);
  L.Opacity = 255;
  P->SkinRect = Look(W, H, L, FStyle.Panel);
  P->ItemsRect = Rect(2, 1, W - 2, H - 1);
  P->MenuBarItem = "menubaritem";
  P->CloseButton = "mdiclosebutton";
  P->MinButton = "mdiminbutton";
  P->MaxButton = "mdimaxbutton";
  P->SysMenuButton = "mdisysmenubutton";
  P->TrackMarkColor = FStyle.Shadow;
  P->TrackMarkActiveColor = FStyle.Accent;
  P->StretchEffect = true;
  P->ItemTransparent = true;
  Add(std::move(P), "mainmenubar");
}

void TSkinBuilder::AppMenuPart(const std::string& Name) {
  auto P = std::make_unique<TbsDataSkinAppMenu>(Name);
  const Integer W = 120, H = 100;
  P->PictureIndex = FPartsIndex;
  P->SkinRect = Look(W, H, StylePanel(FStyle), FStyle.Panel);
  Anchor(*P, 3, W, H);
  P->ItemRect = Face(100, 22, 1);
  P->PageItemRect = Face(100, 26, 0);
  P->PageItemActiveRect = Face(100, 26, 1);
  P->FontName = FontName;
  P->FontColor = FStyle.Text;
  P->DisabledFontColor = FStyle.DisabledText;
  P->ActiveFontColor = FStyle.HotText;
  P->FontPageColor = FStyle.Text;
  P->ActiveFontPageColor = FStyle.HotText;
  P->GripperRect = Glyph(10, 8, sgDots, FStyle.Shadow);
  P->GripperTransparentColor = SkinKeyColor;
  Add(std::move(P), "appmenu");
}

void TSkinBuilder::BevelPart(const std::string& Name) {
  auto P = std::make_unique<TbsDataSkinBevel>(Name);
  P->LightColor = FStyle.Light;
  P->DarkColor = FStyle.Shadow;
  Add(std::move(P), "bevel");
}
