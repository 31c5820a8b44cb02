// The form's frame: its pictures and [FORMINFO], the frame objects (caption, caption buttons,
// menu items, menu-bar items and buttons) and the sections of popup menus, hints, the layered
// border and the skin colours.
#include <algorithm>
#include <cmath>

#include "platform/system/Strings.h"
#include "skin/data/bsSkinData.h"
#include "skin/data/bsSkinDataFormInfo.h"
#include "skin/data/bsSkinDataObjects.h"
#include "skin/data/bsSkinDataSections.h"
#include "tools/skingen/SkinBuilder.h"

namespace {

constexpr const char* FontName = "Arial";

// The frame picture: caption band, borders and the client area between them.
constexpr Integer FrameWidth = 240, FrameHeight = 160, CaptionHeight = 26, Border = 4;
// The right corner of the caption holds the caption buttons, the left one the system menu.
constexpr Integer LeftCorner = 40, RightCorner = 120;
constexpr Integer CaptionButtonWidth = 20, CaptionButtonHeight = 18;
// The layered border's margin of shadow around the frame.
constexpr Integer LayerMargin = 8;

}  // namespace

void TSkinBuilder::WriteVersion() {
  FIni.WriteString("VERSION", "skinname", FStyle.Name);
  FIni.WriteString("VERSION", "skinauthor", "Tilvarok");
  FIni.WriteString("VERSION", "skincomments", "Drawn by the Tilvarok skin generator");
}

void TSkinBuilder::DrawFrame() {
  const Integer Radius = std::min(FStyle.Radius, 8);
  auto Draw = [&](TSkinPicture& P, Integer X, Integer Y, bool Active) {
    const TColor Caption1 = Active ? FStyle.Caption1 : BlendColor(FStyle.Caption1, FStyle.Panel, 60);
    const TColor Caption2 = Active ? FStyle.Caption2 : BlendColor(FStyle.Caption2, FStyle.Panel, 60);
    TFaceLook L;
    L.From = L.To = Caption2;
    L.Outline = FStyle.Outline;
    L.Light = FStyle.Light;
    L.Shadow = FStyle.Shadow;
    L.Radius = Radius;
    L.Bevel = FStyle.Hairline ? 0 : 1;
    L.Brushed = FStyle.Brushed;
    PaintFace(P, Rect(X, Y, X + FrameWidth, Y + FrameHeight), L);
    L.From = Caption1;
    L.Glass = FStyle.Glass;
    L.OpenBottom = true;
    PaintFace(P, Rect(X, Y, X + FrameWidth, Y + CaptionHeight), L);
    const TRect Client =
        Rect(X + Border, Y + CaptionHeight, X + FrameWidth - Border, Y + FrameHeight - Border);
    P.Fill(Client, FStyle.Panel);
    // A hairline sets the caption off from the client area.
    P.Fill(Rect(Client.Left, Client.Top - 1, Client.Right, Client.Top),
           BlendColor(FStyle.Outline, Caption2, 40));
  };
  FFrame = std::make_unique<TSkinPicture>(FrameWidth, FrameHeight);
  FInactiveFrame = std::make_unique<TSkinPicture>(FrameWidth, FrameHeight);
  Draw(*FFrame, 0, 0, true);
  Draw(*FInactiveFrame, 0, 0, false);
  if (FLayerIndex >= 0) {
    // A soft shadow that fades out over the margin, opaque under the frame itself.
    const Integer W = FrameWidth + 2 * LayerMargin, H = FrameHeight + 2 * LayerMargin;
    FLayer = std::make_unique<TSkinPicture>(W, H, 0);
    for (Integer Y = 0; Y < H; ++Y)
      for (Integer X = 0; X < W; ++X) {
        const Integer Dx = std::max({LayerMargin - X, X - (W - 1 - LayerMargin), 0});
        const Integer Dy = std::max({LayerMargin - Y, Y - (H - 1 - LayerMargin), 0});
        const double D = std::sqrt(static_cast<double>(Dx * Dx + Dy * Dy));
        const Integer A = std::max(0, static_cast<Integer>(std::lround(110.0 * (1.0 - D / LayerMargin))));
        FLayer->Put(X, Y, 0, static_cast<Byte>(A));
      }
    Draw(*FLayer, LayerMargin, LayerMargin, true);
  }
}

void TSkinBuilder::WriteFormInfo() {
  TbsSkinData F(nullptr);
  F.LeftTopPoint = Point(LeftCorner, CaptionHeight);
  F.RightTopPoint = Point(FrameWidth - RightCorner, CaptionHeight);
  F.LeftBottomPoint = Point(LeftCorner, FrameHeight - Border);
  F.RightBottomPoint = Point(FrameWidth - RightCorner, FrameHeight - Border);
  F.ClientRect = Rect(Border, CaptionHeight, FrameWidth - Border, FrameHeight - Border);
  F.LeftStretch = F.RightStretch = F.TopStretch = F.BottomStretch = true;
  const Integer ButtonsTop = (CaptionHeight - CaptionButtonHeight) / 2;
  F.ButtonsRect = Rect(FrameWidth - RightCorner + 2, ButtonsTop, FrameWidth - Border - 2,
                       ButtonsTop + CaptionButtonHeight);
  F.CaptionRect = Rect(Border + 2, ButtonsTop, LeftCorner, ButtonsTop + CaptionButtonHeight);
  F.ButtonsOffset = 2;
  F.BorderWidth = Border;
  F.FormMinWidth = 2 * RightCorner;
  F.FormMinHeight = CaptionHeight + Border + 10;
  F.MainMenuBarTransparent = true;
  WriteSkinKeys(&FIni, "FORMINFO", FormInfoKeys(), F);
}

void TSkinBuilder::WritePopupWindow() {
  const Integer S = 64;
  FPopup = std::make_unique<TSkinPicture>(S, S);
  TFaceLook L = StylePanel(FStyle);
  L.From = BlendColor(FStyle.Window, FStyle.Panel, 50);
  L.To = FStyle.Window;
  L.Outline = FStyle.Outline;
  L.Radius = std::min(FStyle.Radius, 4);
  L.Opacity = 255;
  PaintFace(*FPopup, Rect(0, 0, S, S), L);
  TbsDataSkinPopupWindow P;
  P.WindowPictureIndex = FPopupIndex;
  P.LeftTopPoint = Point(6, 6);
  P.RightTopPoint = Point(S - 6, 6);
  P.LeftBottomPoint = Point(6, S - 6);
  P.RightBottomPoint = Point(S - 6, S - 6);
  P.ItemsRect = Rect(3, 3, S - 3, S - 3);
  P.ScrollMarkerColor = FStyle.Text;
  P.ScrollMarkerActiveColor = FStyle.Accent;
  P.LeftStretch = P.RightStretch = P.TopStretch = P.BottomStretch = P.StretchEffect = true;
  WriteSkinKeys(&FIni, "POPUPWINDOW", TbsDataSkinPopupWindow::Keys(), P);
}

void TSkinBuilder::WriteHintWindow() {
  const Integer W = 48, H = 32;
  FHint = std::make_unique<TSkinPicture>(W, H);
  TFaceLook L = StylePanel(FStyle);
  L.From = FStyle.Window;
  L.To = BlendColor(FStyle.Window, FStyle.Highlight, 25);
  L.Outline = FStyle.Outline;
  L.Radius = std::min(FStyle.Radius, 4);
  PaintFace(*FHint, Rect(0, 0, W, H), L);
  TbsDataSkinHintWindow P;
  P.WindowPictureIndex = FHintIndex;
  P.LeftTopPoint = Point(6, 6);
  P.RightTopPoint = Point(W - 6, 6);
  P.LeftBottomPoint = Point(6, H - 6);
  P.RightBottomPoint = Point(W - 6, H - 6);
  P.ClientRect = Rect(4, 4, W - 4, H - 4);
  P.FontName = FontName;
  P.FontHeight = 14;
  P.FontColor = FStyle.WindowText;
  P.LeftStretch = P.RightStretch = P.TopStretch = P.BottomStretch = P.StretchEffect = true;
  WriteSkinKeys(&FIni, "HINTWINDOW", TbsDataSkinHintWindow::Keys(), P);
}

void TSkinBuilder::WriteLayerFrame() {
  TbsDataSkinLayerFrame P;
  if (FLayerIndex >= 0) {
    const Integer M = LayerMargin;
    P.PictureIndex = P.InActivePictureIndex = FLayerIndex;
    P.MaskPictureIndex = P.InActiveMaskPictureIndex = FLayerMaskIndex;
    P.LeftTopPoint = Point(M + LeftCorner, M + CaptionHeight);
    P.RightTopPoint = Point(M + FrameWidth - RightCorner, M + CaptionHeight);
    P.LeftBottomPoint = Point(M + LeftCorner, M + FrameHeight - Border);
    P.RightBottomPoint = Point(M + FrameWidth - RightCorner, M + FrameHeight - Border);
    P.ClientRect = Rect(M + Border, M + CaptionHeight, M + FrameWidth - Border, M + FrameHeight - Border);
    P.AlphaBlendValue = 255;
    P.InActiveAlphaBlendValue = 220;
    P.BorderRect = Rect(M, M, M + FrameWidth, M + FrameHeight);
    P.HitTestEnable = true;
    P.HitTestSize = 6;
    const Integer ButtonsTop = M + (CaptionHeight - CaptionButtonHeight) / 2;
    P.CaptionRect = Rect(M + Border, M, M + FrameWidth - RightCorner, M + CaptionHeight);
    P.ButtonsRect = Rect(M + FrameWidth - RightCorner + 2, ButtonsTop, M + FrameWidth - Border - 2,
                         ButtonsTop + CaptionButtonHeight);
    P.SysMenuButtonRect = Rect(M + Border + 2, ButtonsTop, M + Border + 2 + CaptionButtonWidth,
                               ButtonsTop + CaptionButtonHeight);
    P.RollUpFormHeight = CaptionHeight + Border;
  }
  WriteSkinKeys(&FIni, "LAYERFRAME", TbsDataSkinLayerFrame::Keys(), P);
}

void TSkinBuilder::WriteSkinColors() {
  TbsSkinColors C;
  C.CBtnFace = FStyle.Panel;
  C.CBtnText = FStyle.Text;
  C.CWindow = FStyle.Window;
  C.CWindowText = FStyle.WindowText;
  C.CHighlight = FStyle.Highlight;
  C.CHighlightText = FStyle.HighlightText;
  C.CBtnHighlight = FStyle.Light;
  C.CBtnShadow = FStyle.Shadow;
  WriteSkinKeys(&FIni, "SKINCOLORS", TbsSkinColors::Keys(), C);
}

// ---- Frame objects -------------------------------------------------------------------------

void TSkinBuilder::CaptionObject(const std::string& Name) {
  auto P = std::make_unique<TbsDataSkinCaption>(Name);
  P->SkinRect = Rect(LeftCorner - 16, 0, FrameWidth - RightCorner, CaptionHeight);
  P->TextRect = Rect(2, 0, P->SkinRect.Right - P->SkinRect.Left - 2, CaptionHeight);
  P->FontName = FontName;
  P->FontHeight = 15;
  P->FontStyle = TFontStyles{fsBold};
  P->FontColor = FStyle.InactiveCaptionText;
  P->ActiveFontColor = FStyle.CaptionText;
  P->Alignment = FStyle.AnimatedCaptionButtons ? taCenter : taLeftJustify;
  P->Shadow = !FStyle.Hairline && !FStyle.Glass;
  P->ShadowColor = BlendColor(FStyle.Caption2, 0, 40);
  P->ActiveShadowColor = BlendColor(FStyle.Caption2, 0, 60);
  P->VistaGlowEffect = FStyle.Glass;
  P->GlowColor = P->GlowActiveColor = FStyle.Accent;
  P->GlowSize = 3;
  Add(std::unique_ptr<TbsDataSkinObject>(std::move(P)), "caption");
}

void TSkinBuilder::CaptionButtonLooks(TbsDataSkinStdButton& P, Integer W, Integer H, Integer GlyphKind,
                                      Integer Restore, bool OverCaption) {
  // The frame copies the buttons without transparency: their corners show the caption band
  // beneath the rightmost button (the inactive band for the inactive look).
  const TPoint At = Point(FrameWidth - Border - 2 - W, (CaptionHeight - H) / 2);
  auto Button = [&](Integer State, Integer Kind) {
    TFaceLook F = StyleFace(FStyle, State);
    F.Radius = std::min(FStyle.Radius, 4);
    if (State == 1 && P.Command == cmClose) {
      F.From = BlendColor(F.From, Rgb(0xE04030), 60);
      F.To = BlendColor(F.To, Rgb(0xA01810), 60);
    }
    const TRect R = !OverCaption ? Look(W, H, F, FStyle.Panel)
                                 : LookOver(W, H, F, State == 3 ? *FInactiveFrame : *FFrame, At);
    DrawGlyph(R, Kind, State == 3 ? FStyle.DisabledText : State == 0 ? FStyle.Text : FStyle.HotText);
    return R;
  };
  P.SkinRectInAPicture = true;
  P.ActivePictureIndex = FPartsIndex;
  P.SkinRect = Button(0, GlyphKind);
  P.ActiveSkinRect = Button(1, GlyphKind);
  P.DownRect = Button(2, GlyphKind);
  P.InActiveSkinRect = Button(3, GlyphKind);
  P.DisableSkinRsect = P.InActiveSkinRect;
  if (Restore != 0) {
    P.RestoreRect = Button(0, Restore);
    P.RestoreActiveRect = Button(1, Restore);
    P.RestoreDownRect = Button(2, Restore);
    P.RestoreInActiveRect = Button(3, Restore);
  }
  if (FStyle.MorphingButtons || FStyle.AnimatedCaptionButtons) {
    P.Morphing = true;
    P.MorphKind = FStyle.AnimatedCaptionButtons ? mkLeftSlide : mkGradient;
  }
}

void TSkinBuilder::StdButtonObject(const std::string& Name) {
  struct TButtonKind {
    const char* Name;
    Byte Command;
    Integer Glyph, Restore;
    const char* Hint;
    const char* RestoreHint;
  };
  static constexpr TButtonKind Kinds[] = {
      {"closebutton", cmClose, sgClose, 0, "Close", ""},
      {"maxbutton", cmMaximize, sgMaximize, sgRestore, "Maximize", "Restore"},
      {"minbutton", cmMinimize, sgMinimize, 0, "Minimize", "Restore"},
      {"sysmenubutton", cmSysMenu, sgSysMenu, 0, "System menu", ""},
      {"rollupbutton", cmRollUp, sgRollUp, sgRollDown, "Roll Up", "Restore"},
      {"traybutton", cmOther, sgTray, 0, "Minimize to tray", ""},
  };
  const auto* K =
      std::find_if(std::begin(Kinds), std::end(Kinds), [&](const TButtonKind& B) { return Name == B.Name; });
  if (K == std::end(Kinds)) throw Exception("no caption button named \"" + Name + "\"");
  auto P = std::make_unique<TbsDataSkinStdButton>(Name);
  P->Command = K->Command;
  P->Hint = K->Hint;
  P->RestoreHint = K->RestoreHint;
  CaptionButtonLooks(*P, CaptionButtonWidth, CaptionButtonHeight, K->Glyph, K->Restore, true);
  if (FAlphaIndex >= 0)
    P->AlphaMaskPictureIndex = P->AlphaMaskActivePictureIndex = P->AlphaMaskInActivePictureIndex =
        FAlphaIndex;
  if (FGlowIndex >= 0) {
    P->GlowLayerPictureIndex = FGlowIndex;
    P->GlowLayerMaskPictureIndex = FGlowMaskIndex;
    P->GlowLayerOffsetX = P->GlowLayerOffsetY = 6;
    P->GlowLayerAlphaBlendValue = 200;
  }
  Add(std::unique_ptr<TbsDataSkinObject>(std::move(P)), "stdbutton");
}

void TSkinBuilder::MenuBarButtonObject(const std::string& Name) {
  auto P = std::make_unique<TbsDataSkinMainMenuBarButton>(Name);
  Integer Glyph = sgClose;
  if (Name == "mdimaxbutton")
    P->Command = cmMaximize, Glyph = sgRestore;
  else if (Name == "mdiminbutton")
    P->Command = cmMinimize, Glyph = sgMinimize;
  else if (Name == "mdisysmenubutton")
    P->Command = cmSysMenu, Glyph = sgSysMenu;
  else
    P->Command = cmClose;
  CaptionButtonLooks(*P, 16, 14, Glyph, 0, false);
  P->Morphing = false;
  Add(std::unique_ptr<TbsDataSkinObject>(std::move(P)), "mainmenubarbutton");
}

void TSkinBuilder::MenuItemObject(const std::string& Name) {
  auto P = std::make_unique<TbsDataSkinMenuItem>(Name);
  const Integer W = 120, H = 20;
  P->SkinRectInAPicture = true;
  P->ActivePictureIndex = FPartsIndex;
  TFaceLook Plain = StylePanel(FStyle);
  Plain.From = Plain.To = FStyle.Window;
  Plain.NoOutline = true;
  Plain.Bevel = 0;
  P->SkinRect = Look(W, H, Plain, FStyle.Window);
  TFaceLook Sel = StyleFace(FStyle, 1);
  Sel.From = BlendColor(FStyle.Highlight, 0xFFFFFF, 25);
  Sel.To = FStyle.Highlight;
  Sel.Outline = FStyle.Highlight;
  Sel.Radius = std::min(FStyle.Radius, 3);
  Sel.Opacity = 255;
  P->ActiveSkinRect = Look(W, H, Sel, FStyle.Window);
  P->DividerRect = Place(W, 5, FStyle.Window);
  for (Integer X = P->DividerRect.Left + 2; X < P->DividerRect.Right - 2; ++X) {
    FParts.Put(X, P->DividerRect.Top + 2, FStyle.Shadow);
    FParts.Put(X, P->DividerRect.Top + 3, FStyle.Light);
  }
  P->ItemLeftOffset = P->ItemRightOffset = 4;
  P->DividerLeftOffset = P->DividerRightOffset = 4;
  P->TextRect = Rect(26, 0, W - 18, H);
  P->ImageRect = Rect(3, 2, 21, H - 2);
  P->FontName = FontName;
  P->FontColor = FStyle.WindowText;
  P->ActiveFontColor = FStyle.HighlightText;
  P->UnEnabledFontColor = FStyle.DisabledText;
  P->StretchEffect = P->InActiveStretchEffect = P->DividerStretchEffect = true;
  P->CheckImageRect = Glyph(12, 12, sgCheck, FStyle.WindowText);
  P->ActiveCheckImageRect = Glyph(12, 12, sgCheck, FStyle.HighlightText);
  P->RadioImageRect = Glyph(12, 12, sgRadio, FStyle.WindowText);
  P->ActiveRadioImageRect = Glyph(12, 12, sgRadio, FStyle.HighlightText);
  P->ArrowImageRect = Glyph(8, 10, 2, FStyle.WindowText);
  P->ActiveArrowImageRect = Glyph(8, 10, 2, FStyle.HighlightText);
  Add(std::unique_ptr<TbsDataSkinObject>(std::move(P)), "menuitem");
}

void TSkinBuilder::MenuBarItemObject(const std::string& Name) {
  auto P = std::make_unique<TbsDataSkinMainMenuBarItem>(Name);
  const Integer W = 40, H = 20;
  P->SkinRectInAPicture = true;
  P->ActivePictureIndex = FPartsIndex;
  P->SkinRect = Place(W, H, BlendColor(FStyle.Face1, FStyle.Panel, 65));
  P->ActiveSkinRect = Face(W, H, 1);
  P->DownRect = Face(W, H, 2);
  P->ItemLeftOffset = P->ItemRightOffset = std::max(3, FStyle.Radius);
  P->TextRect = Rect(3, 0, W - 3, H);
  P->FontName = FontName;
  P->FontColor = FStyle.Text;
  P->ActiveFontColor = P->DownFontColor = FStyle.HotText;
  P->UnEnabledFontColor = FStyle.DisabledText;
  P->StretchEffect = true;
  Add(std::unique_ptr<TbsDataSkinObject>(std::move(P)), "mainmenubaritem");
}

// ---- Pictures ------------------------------------------------------------------------------

TSkinPictureFile TSkinBuilder::FramePicture() {
  return {"frame.bmp", FFrame->Image()};
}
TSkinPictureFile TSkinBuilder::InactiveFramePicture() {
  return {"frameinactive.bmp", FInactiveFrame->Image()};
}
TSkinPictureFile TSkinBuilder::FrameMask() {
  return {"framemask.bmp", FFrame->Mask()};
}

std::vector<TSkinPictureFile> TSkinBuilder::PictureList() {
  std::vector<TSkinPictureFile> L(static_cast<std::size_t>(FPictureCount));
  L[FPartsIndex] = {"parts.bmp", FParts.Image()};
  if (FAlphaIndex >= 0) L[FAlphaIndex] = {"partsalpha.bmp", FParts.Alpha()};
  L[FPopupIndex] = {"popup.bmp", FPopup->Image()};
  L[FHintIndex] = {"hint.bmp", FHint->Image()};
  if (FLayerIndex >= 0) {
    L[FLayerIndex] = {"layer.bmp", FLayer->Image()};
    L[FLayerMaskIndex] = {"layermask.bmp", FLayer->Alpha()};
  }
  if (FGlowIndex >= 0) {
    L[FGlowIndex] = {"glow.bmp", FGlow->Image()};
    L[FGlowMaskIndex] = {"glowmask.bmp", FGlow->Alpha()};
  }
  return L;
}

void TSkinBuilder::WritePictures() {
  if (FGlowIndex >= 0) {
    // A halo in the accent colour, strongest along the button's edge and fading outwards.
    const Integer W = 84, H = 36, Reach = 6;
    FGlow = std::make_unique<TSkinPicture>(W, H, FStyle.Accent);
    for (Integer Y = 0; Y < H; ++Y)
      for (Integer X = 0; X < W; ++X) {
        const Integer D = std::min({X, Y, W - 1 - X, H - 1 - Y});
        const Integer A = D >= Reach ? 255 : 255 * (D + 1) / (Reach + 1);
        FGlow->Put(X, Y, FStyle.Accent, static_cast<Byte>(A));
      }
  }
  FIni.WriteString("PICTURES", "picture", FramePicture().FileName);
  FIni.WriteString("PICTURES", "inactivepicture", InactiveFramePicture().FileName);
  FIni.WriteString("PICTURES", "mask", FrameMask().FileName);
  const std::vector<TSkinPictureFile> List = PictureList();
  FIni.WriteInteger("PICTURES", "activepicturescount", static_cast<Integer>(List.size()));
  for (std::size_t I = 0; I < List.size(); ++I)
    FIni.WriteString("PICTURES", IntToStr(static_cast<Integer>(I)), List[I].FileName);
}
