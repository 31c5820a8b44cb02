#include "skin/data/bsSkinDataObjects.h"
#include "skin/data/bsUtils.h"

const TbsSkinKeys<TbsDataSkinObject>& TbsDataSkinObject::Keys() {
  using C = TbsDataSkinObject;
  using K = TbsSkinKey<C>;
  static const TbsSkinKeys<C> Table{
      K::String("hint", &C::Hint),
      K::Int("activepictureindex", &C::ActivePictureIndex, -1),
      K::Int("activemaskpictureindex", &C::ActiveMaskPictureIndex, -1),
      K::Bool("skinrectinapicture", &C::SkinRectInAPicture),
      K::Rect("skinrect", &C::SkinRect),
      K::Rect("activeskinrect", &C::ActiveSkinRect),
      K::Rect("inactiveskinrect", &C::InActiveSkinRect),
      K::Bool("morphing", &C::Morphing),
      K::Code("morphkind", TbsSkinKind::MorphKind, &C::MorphKind),
      K::Int("glowlayerpictureindex", &C::GlowLayerPictureIndex, -1),
      K::Int("glowlayermaskpictureindex", &C::GlowLayerMaskPictureIndex, -1),
      K::Int("glowlayeroffsetx", &C::GlowLayerOffsetX),
      K::Int("glowlayeroffsety", &C::GlowLayerOffsetY),
      K::Int("glowlayeralphablendvalue", &C::GlowLayerAlphaBlendValue, 255),
  };
  return Table;
}

const TbsSkinKeys<TbsDataUserObject>& TbsDataUserObject::Keys() {
  using C = TbsDataUserObject;
  using K = TbsSkinKey<C>;
  static const TbsSkinKeys<C> Table{
      K::Rect("skinrect", &C::SkinRect),
  };
  return Table;
}

const TbsSkinKeys<TbsDataSkinButton>& TbsDataSkinButton::Keys() {
  using C = TbsDataSkinButton;
  using K = TbsSkinKey<C>;
  static const TbsSkinKeys<C> Table{
      K::Rect("downrect", &C::DownRect),
      K::Rect("disableskinrsect", &C::DisableSkinRsect),
      K::Int("alphamaskpictureindex", &C::AlphaMaskPictureIndex, -1),
      K::Int("alphamaskactivepictureindex", &C::AlphaMaskActivePictureIndex, -1),
      K::Int("alphamaskinactivepictureindex", &C::AlphaMaskInActivePictureIndex, -1),
  };
  return Table;
}

const TbsSkinKeys<TbsDataSkinStdButton>& TbsDataSkinStdButton::Keys() {
  using C = TbsDataSkinStdButton;
  using K = TbsSkinKey<C>;
  static const TbsSkinKeys<C> Table{
      K::Code("command", TbsSkinKind::Command, &C::Command),
      K::Rect("restorerect", &C::RestoreRect),
      K::Rect("restoreactiverect", &C::RestoreActiveRect),
      K::Rect("restoredownrect", &C::RestoreDownRect),
      K::Rect("restoreinactiverect", &C::RestoreInActiveRect),
      K::String("restorehint", &C::RestoreHint),
  };
  return Table;
}

const TbsSkinKeys<TbsDataSkinAnimate>& TbsDataSkinAnimate::Keys() {
  using C = TbsDataSkinAnimate;
  using K = TbsSkinKey<C>;
  static const TbsSkinKeys<C> Table{
      K::Int("countframes", &C::CountFrames, 1),
      K::Bool("cycle", &C::Cycle),
      K::Bool("buttonstyle", &C::ButtonStyle),
      K::Int("timerinterval", &C::TimerInterval, 50),
      K::Code("command", TbsSkinKind::Command, &C::Command),
      K::Rect("downskinrect", &C::DownSkinRect),
      K::Rect("restorerect", &C::RestoreRect),
      K::Rect("restoreactiverect", &C::RestoreActiveRect),
      K::Rect("restoredownrect", &C::RestoreDownRect),
      K::Rect("restoreinactiverect", &C::RestoreInActiveRect),
      K::String("restorehint", &C::RestoreHint),
  };
  return Table;
}

const TbsSkinKeys<TbsDataSkinMenuItem>& TbsDataSkinMenuItem::Keys() {
  using C = TbsDataSkinMenuItem;
  using K = TbsSkinKey<C>;
  static const TbsSkinKeys<C> Table{
      K::Int("itemleftoffset", &C::ItemLeftOffset),
      K::Int("itemrightoffset", &C::ItemRightOffset),
      K::Rect("dividerrect", &C::DividerRect),
      K::Int("dividerleftoffset", &C::DividerLeftOffset),
      K::Int("dividerrightoffset", &C::DividerRightOffset),
      K::Rect("textrect", &C::TextRect),
      K::Rect("imagerect", &C::ImageRect),
      K::String("fontname", &C::FontName, "Arial"),
      K::Int("fontheight", &C::FontHeight, 14),
      K::Style("fontstyle", &C::FontStyle),
      K::Color("fontcolor", &C::FontColor),
      K::Color("activefontcolor", &C::ActiveFontColor),
      K::Color("unenabledfontcolor", &C::UnEnabledFontColor),
      K::Bool("stretcheffect", &C::StretchEffect),
      K::Bool("inactivestretcheffect", &C::InActiveStretchEffect),
      K::Bool("dividerstretcheffect", &C::DividerStretchEffect),
      K::Rect("animateskinrect", &C::AnimateSkinRect),
      K::Int("framecount", &C::FrameCount),
      K::Int("animateinterval", &C::AnimateInterval, 25),
      K::Bool("inactiveanimation", &C::InActiveAnimation),
      K::Bool("useimagecolor", &C::UseImageColor),
      K::Color("imagecolor", &C::ImageColor),
      K::Color("activeimagecolor", &C::ActiveImageColor),
      K::Bool("inactivetransparent", &C::InActiveTransparent),
      K::Rect("checkimagerect", &C::CheckImageRect),
      K::Rect("activecheckimagerect", &C::ActiveCheckImageRect),
      K::Rect("radioimagerect", &C::RadioImageRect),
      K::Rect("activeradioimagerect", &C::ActiveRadioImageRect),
      K::Rect("arrowimagerect", &C::ArrowImageRect),
      K::Rect("activearrowimagerect", &C::ActiveArrowImageRect),
  };
  return Table;
}

const TbsSkinKeys<TbsDataSkinMainMenuItem>& TbsDataSkinMainMenuItem::Keys() {
  using C = TbsDataSkinMainMenuItem;
  using K = TbsSkinKey<C>;
  static const TbsSkinKeys<C> Table{
      K::Int("itemleftoffset", &C::ItemLeftOffset),
      K::Int("itemrightoffset", &C::ItemRightOffset),
      K::Rect("downrect", &C::DownRect),
      K::Rect("textrect", &C::TextRect),
      K::String("fontname", &C::FontName, "Arial"),
      K::Int("fontheight", &C::FontHeight, 14),
      K::Style("fontstyle", &C::FontStyle),
      K::Color("fontcolor", &C::FontColor),
      K::Color("activefontcolor", &C::ActiveFontColor),
      K::Color("downfontcolor", &C::DownFontColor),
      K::Color("unenabledfontColor", &C::UnEnabledFontColor),
      K::Bool("stretcheffect", &C::StretchEffect),
      K::Rect("animateskinrect", &C::AnimateSkinRect),
      K::Int("framecount", &C::FrameCount),
      K::Int("animateinterval", &C::AnimateInterval, 25),
      K::Bool("inactiveanimation", &C::InActiveAnimation),
  };
  return Table;
}

const TbsSkinKeys<TbsDataSkinCaption>& TbsDataSkinCaption::Keys() {
  using C = TbsDataSkinCaption;
  using K = TbsSkinKey<C>;
  static const TbsSkinKeys<C> Table{
      K::Rect("textrect", &C::TextRect),
      K::String("fontname", &C::FontName, "Arial"),
      K::Int("fontheight", &C::FontHeight, 14),
      K::Style("fontstyle", &C::FontStyle),
      K::Color("fontcolor", &C::FontColor),
      K::Color("activefontcolor", &C::ActiveFontColor),
      K::Code("alignment", TbsSkinKind::Alignment, &C::Alignment),
      K::Bool("light", &C::Light),
      K::Color("lightcolor", &C::LightColor),
      K::Color("activelightcolor", &C::ActiveLightColor),
      K::Bool("shadow", &C::Shadow),
      K::Color("shadowcolor", &C::ShadowColor),
      K::Color("activeshadowcolor", &C::ActiveShadowColor),
      K::Rect("framerect", &C::FrameRect),
      K::Rect("activeframerect", &C::ActiveFrameRect),
      K::Rect("frametextrect", &C::FrameTextRect),
      K::Int("frameleftoffset", &C::FrameLeftOffset),
      K::Int("framerightoffset", &C::FrameRightOffset),
      K::Bool("stretcheffect", &C::StretchEffect),
      K::Rect("animateskinrect", &C::AnimateSkinRect),
      K::Int("framecount", &C::FrameCount),
      K::Int("animateinterval", &C::AnimateInterval, 25),
      K::Bool("inactiveanimation", &C::InActiveAnimation),
      K::Bool("fullframe", &C::FullFrame),
      K::Bool("vistagloweffect", &C::VistaGlowEffect),
      K::Bool("vistaglowinactiveeffect", &C::VistaGlowInActiveEffect),
      K::Bool("gloweffect", &C::GlowEffect),
      K::Bool("glowinactiveeffect", &C::GlowInActiveEffect),
      K::Int("glowsize", &C::GlowSize, 3),
      K::Color("glowcolor", &C::GlowColor),
      K::Color("glowactivecolor", &C::GlowActiveColor),
      K::Int("glowoffset", &C::GlowOffset),
      K::Bool("reflectioneffect", &C::ReflectionEffect),
      K::Color("reflactioncolor", &C::ReflactionColor),
      K::Color("reflactionactivecolor", &C::ReflactionActiveColor),
      K::Int("reflectionoffset", &C::ReflectionOffset),
      K::Rect("dividerrect", &C::DividerRect),
      K::Rect("inactivedividerrect", &C::InActiveDividerRect),
      K::Bool("dividertransparent", &C::DividerTransparent),
      K::Color("dividertransparentcolor", &C::DividerTransparentColor),
  };
  return Table;
}

namespace {

// A caption button that can be maximised, minimised or rolled up shows the restore hint in that
// state; the hint must be the exact English one for the default to apply.
void DefaultRestoreHint(const std::string& Hint, Byte Command, std::string& RestoreHint) {
  if (!RestoreHint.empty()) return;
  if ((Hint == "Maximize" && Command == cmMaximize) || (Hint == "Minimize" && Command == cmMinimize) ||
      ((Hint == "RollUp" || Hint == "Roll Up") && Command == cmRollUp))
    RestoreHint = "Restore";
}

void UseWhenEmpty(TRect& Active, const TRect& Normal) {
  if (IsEmptyRect(Active)) Active = Normal;
}

}  // namespace

void TbsDataSkinObject::LoadFromIni(TCustomIniFile* Ini) {
  ReadSkinKeys(Ini, IDName, Keys(), *this);
}

void TbsDataSkinObject::SaveToIni(TCustomIniFile* Ini) {
  Ini->EraseSection(IDName);
  WriteSkinKeys(Ini, IDName, Keys(), *this);
}

void TbsDataUserObject::LoadFromIni(TCustomIniFile* Ini) {
  ReadSkinKeys(Ini, IDName, Keys(), *this);
}

void TbsDataUserObject::SaveToIni(TCustomIniFile* Ini) {
  Ini->EraseSection(IDName);
  WriteSkinKeys(Ini, IDName, Keys(), *this);
}

void TbsDataSkinStdButton::LoadFromIni(TCustomIniFile* Ini) {
  TbsSkinRecord::LoadFromIni(Ini);
  DefaultRestoreHint(Hint, Command, RestoreHint);
}

void TbsDataSkinAnimate::LoadFromIni(TCustomIniFile* Ini) {
  TbsSkinRecord::LoadFromIni(Ini);
  Morphing = false;
  DefaultRestoreHint(Hint, Command, RestoreHint);
}

void TbsDataSkinMenuItem::LoadFromIni(TCustomIniFile* Ini) {
  TbsSkinRecord::LoadFromIni(Ini);
  UseWhenEmpty(ActiveCheckImageRect, CheckImageRect);
  UseWhenEmpty(ActiveRadioImageRect, RadioImageRect);
  UseWhenEmpty(ActiveArrowImageRect, ArrowImageRect);
}
