#include "skin/data/bsSkinDataControls.h"

const TbsSkinKeys<TbsDataSkinControl>& TbsDataSkinControl::Keys() {
  using C = TbsDataSkinControl;
  using K = TbsSkinKey<C>;
  static const TbsSkinKeys<C> Table{
      K::Int("pictureindex", &C::PictureIndex, -1),
      K::Int("maskpictureindex", &C::MaskPictureIndex, -1),
      K::Rect("skinrect", &C::SkinRect),
  };
  return Table;
}

const TbsSkinKeys<TbsDataSkinCustomControl>& TbsDataSkinCustomControl::Keys() {
  using C = TbsDataSkinCustomControl;
  using K = TbsSkinKey<C>;
  static const TbsSkinKeys<C> Table{
      K::Point("lefttoppoint", &C::LeftTopPoint),
      K::Point("righttoppoint", &C::RightTopPoint),
      K::Point("leftbottompoint", &C::LeftBottomPoint),
      K::Point("rightbottompoint", &C::RightBottomPoint),
      K::Rect("clientrect", &C::ClientRect),
      K::Bool("leftstretch", &C::LeftStretch),
      K::Bool("topstretch", &C::TopStretch),
      K::Bool("rightstretch", &C::RightStretch),
      K::Bool("bottomstretch", &C::BottomStretch),
      K::Bool("stretcheffect", &C::StretchEffect),
      K::Code("stretchtype", TbsSkinKind::StretchType, &C::StretchType),
  };
  return Table;
}

const TbsSkinKeys<TbsDataSkinButtonControl>& TbsDataSkinButtonControl::Keys() {
  using C = TbsDataSkinButtonControl;
  using K = TbsSkinKey<C>;
  static const TbsSkinKeys<C> Table{
      K::String("fontname", &C::FontName, "Arial"),
      K::Int("fontheight", &C::FontHeight, 14),
      K::Style("fontstyle", &C::FontStyle),
      K::Color("fontcolor", &C::FontColor),
      K::Color("activefontcolor", &C::ActiveFontColor),
      K::Color("downfontcolor", &C::DownFontColor),
      K::Color("disabledfontcolor", &C::DisabledFontColor),
      K::Rect("activeskinrect", &C::ActiveSkinRect),
      K::Rect("downskinrect", &C::DownSkinRect),
      K::Rect("focusedskinrect", &C::FocusedSkinRect),
      K::Rect("disabledskinrect", &C::DisabledSkinRect),
      K::Bool("morphing", &C::Morphing),
      K::Code("morphkind", TbsSkinKind::MorphKind, &C::MorphKind),
      K::Rect("animateskinrect", &C::AnimateSkinRect),
      K::Int("framecount", &C::FrameCount),
      K::Int("animateinterval", &C::AnimateInterval, 25),
      K::Bool("showfocus", &C::ShowFocus),
      K::Rect("menumarkerflatrect", &C::MenuMarkerFlatRect),
      K::Rect("menumarkerrect", &C::MenuMarkerRect),
      K::Rect("menumarkeractiverect", &C::MenuMarkerActiveRect),
      K::Rect("menumarkerdownrect", &C::MenuMarkerDownRect),
      K::Color("menumarkertransparentcolor", &C::MenuMarkerTransparentColor),
      K::Int("glowlayerpictureindex", &C::GlowLayerPictureIndex, -1),
      K::Int("glowlayermaskpictureindex", &C::GlowLayerMaskPictureIndex, -1),
      K::Int("glowlayeroffsetleft", &C::GlowLayerOffsetLeft),
      K::Int("glowlayeroffsettop", &C::GlowLayerOffsetTop),
      K::Int("glowlayeroffsetright", &C::GlowLayerOffsetRight),
      K::Int("glowlayeroffsetbottom", &C::GlowLayerOffsetBottom),
      K::Int("glowlayershowoffsetx", &C::GlowLayerShowOffsetX),
      K::Int("glowlayershowoffsety", &C::GlowLayerShowOffsetY),
      K::Int("glowlayeralphablendvalue", &C::GlowLayerAlphaBlendValue, 255),
  };
  return Table;
}

const TbsSkinKeys<TbsDataSkinMenuButtonControl>& TbsDataSkinMenuButtonControl::Keys() {
  using C = TbsDataSkinMenuButtonControl;
  using K = TbsSkinKey<C>;
  static const TbsSkinKeys<C> Table{
      K::Rect("trackbuttonrect", &C::TrackButtonRect),
  };
  return Table;
}

const TbsSkinKeys<TbsDataSkinCheckRadioControl>& TbsDataSkinCheckRadioControl::Keys() {
  using C = TbsDataSkinCheckRadioControl;
  using K = TbsSkinKey<C>;
  static const TbsSkinKeys<C> Table{
      K::String("fontname", &C::FontName, "Arial"),
      K::Int("fontheight", &C::FontHeight, 14),
      K::Style("fontstyle", &C::FontStyle),
      K::Color("fontcolor", &C::FontColor),
      K::Color("activefontcolor", &C::ActiveFontColor),
      K::Color("unenabledfontcolor", &C::UnEnabledFontColor),
      K::Color("framefontcolor", &C::FrameFontColor),
      K::Rect("activeskinrect", &C::ActiveSkinRect),
      K::Rect("checkimagearea", &C::CheckImageArea),
      K::Rect("textarea", &C::TextArea),
      K::Rect("checkimagerect", &C::CheckImageRect),
      K::Rect("uncheckimagerect", &C::UncheckImageRect),
      K::Rect("activecheckimagerect", &C::ActiveCheckImageRect),
      K::Rect("activeuncheckimagerect", &C::ActiveUncheckImageRect),
      K::Rect("unenabledcheckimagerect", &C::UnEnabledCheckImageRect),
      K::Rect("unenableduncheckimagerect", &C::UnEnabledUncheckImageRect),
      K::Rect("grayedcheckimagerect", &C::GrayedCheckImageRect),
      K::Rect("activegrayedcheckimagerect", &C::ActiveGrayedCheckImageRect),
      K::Bool("morphing", &C::Morphing),
      K::Code("morphkind", TbsSkinKind::MorphKind, &C::MorphKind),
  };
  return Table;
}

const TbsSkinKeys<TbsDataSkinGaugeControl>& TbsDataSkinGaugeControl::Keys() {
  using C = TbsDataSkinGaugeControl;
  using K = TbsSkinKey<C>;
  static const TbsSkinKeys<C> Table{
      K::Rect("progressarea", &C::ProgressArea),
      K::Rect("progressrect", &C::ProgressRect),
      K::Int("beginoffset", &C::BeginOffset),
      K::Int("endoffset", &C::EndOffset),
      K::Bool("vertical", &C::Vertical),
      K::String("fontname", &C::FontName, "Arial"),
      K::Int("fontheight", &C::FontHeight, 14),
      K::Style("fontstyle", &C::FontStyle),
      K::Color("fontcolor", &C::FontColor),
      K::Bool("progresstransparent", &C::ProgressTransparent),
      K::Color("progresstransparentcolor", &C::ProgressTransparentColor),
      K::Bool("progressstretch", &C::ProgressStretch),
      K::Rect("animationskinrect", &C::AnimationSkinRect),
      K::Int("animationcountframes", &C::AnimationCountFrames),
      K::Int("animationtimerinterval", &C::AnimationTimerInterval),
      K::Rect("progressanimationskinrect", &C::ProgressAnimationSkinRect),
      K::Int("progressanimationcountframes", &C::ProgressAnimationCountFrames),
      K::Int("progressanimationtimerinterval", &C::ProgressAnimationTimerInterval),
      K::Int("animationbeginoffset", &C::AnimationBeginOffset),
      K::Int("animationendoffset", &C::AnimationEndOffset),
  };
  return Table;
}

const TbsSkinKeys<TbsDataSkinTrackBarControl>& TbsDataSkinTrackBarControl::Keys() {
  using C = TbsDataSkinTrackBarControl;
  using K = TbsSkinKey<C>;
  static const TbsSkinKeys<C> Table{
      K::Rect("activeskinrect", &C::ActiveSkinRect),
      K::Rect("trackarea", &C::TrackArea),
      K::Rect("buttonrect", &C::ButtonRect),
      K::Rect("activebuttonrect", &C::ActiveButtonRect),
      K::Bool("vertical", &C::Vertical),
      K::Bool("buttontransparent", &C::ButtonTransparent),
      K::Color("buttontransparentcolor", &C::ButtonTransparentColor),
  };
  return Table;
}

const TbsSkinKeys<TbsDataSkinSplitterControl>& TbsDataSkinSplitterControl::Keys() {
  using C = TbsDataSkinSplitterControl;
  using K = TbsSkinKey<C>;
  static const TbsSkinKeys<C> Table{
      K::Rect("gripperrect", &C::GripperRect),
      K::Bool("grippertransparent", &C::GripperTransparent),
      K::Color("grippertransparentcolor", &C::GripperTransparentColor),
  };
  return Table;
}

const TbsSkinKeys<TbsDataSkinLabelControl>& TbsDataSkinLabelControl::Keys() {
  using C = TbsDataSkinLabelControl;
  using K = TbsSkinKey<C>;
  static const TbsSkinKeys<C> Table{
      K::String("fontname", &C::FontName, "Arial"),
      K::Int("fontheight", &C::FontHeight, 14),
      K::Style("fontstyle", &C::FontStyle),
      K::Color("fontcolor", &C::FontColor),
  };
  return Table;
}

const TbsSkinKeys<TbsDataSkinStdLabelControl>& TbsDataSkinStdLabelControl::Keys() {
  using C = TbsDataSkinStdLabelControl;
  using K = TbsSkinKey<C>;
  static const TbsSkinKeys<C> Table{
      K::String("fontname", &C::FontName, "Arial"),
      K::Int("fontheight", &C::FontHeight, 14),
      K::Style("fontstyle", &C::FontStyle),
      K::Color("fontcolor", &C::FontColor),
      K::Color("activefontcolor", &C::ActiveFontColor, 16711680),
  };
  return Table;
}

const TbsSkinKeys<TbsDataSkinPanelControl>& TbsDataSkinPanelControl::Keys() {
  using C = TbsDataSkinPanelControl;
  using K = TbsSkinKey<C>;
  static const TbsSkinKeys<C> Table{
      K::Int("bgpictureindex", &C::BGPictureIndex, -1),
      K::Rect("captionrect", &C::CaptionRect),
      K::Code("alignment", TbsSkinKind::Alignment, &C::Alignment),
      K::String("fontname", &C::FontName, "Arial"),
      K::Int("fontheight", &C::FontHeight, 14),
      K::Style("fontstyle", &C::FontStyle),
      K::Color("fontcolor", &C::FontColor),
      K::Rect("checkimagerect", &C::CheckImageRect),
      K::Rect("uncheckimagerect", &C::UncheckImageRect),
      K::Rect("markframerect", &C::MarkFrameRect),
      K::Rect("framerect", &C::FrameRect),
      K::Rect("frametextrect", &C::FrameTextRect),
      K::Int("frameleftoffset", &C::FrameLeftOffset),
      K::Int("framerightoffset", &C::FrameRightOffset),
      K::Rect("gripperrect", &C::GripperRect),
      K::Bool("grippertransparent", &C::GripperTransparent),
      K::Color("grippertransparentcolor", &C::GripperTransparentColor),
      K::Rect("buttonrect", &C::ButtonRect),
      K::Rect("buttonactiverect", &C::ButtonActiveRect),
      K::Rect("buttondownrect", &C::ButtonDownRect),
      K::Bool("buttontransparent", &C::ButtonTransparent),
      K::Color("buttontransparentcolor", &C::ButtonTransparentColor),
  };
  return Table;
}

const TbsSkinKeys<TbsDataSkinExPanelControl>& TbsDataSkinExPanelControl::Keys() {
  using C = TbsDataSkinExPanelControl;
  using K = TbsSkinKey<C>;
  static const TbsSkinKeys<C> Table{
      K::Rect("rollhskinrect", &C::RollHSkinRect),
      K::Rect("rollvskinrect", &C::RollVSkinRect),
      K::Int("rollleftoffset", &C::RollLeftOffset),
      K::Int("rollrightoffset", &C::RollRightOffset),
      K::Int("rolltopoffset", &C::RollTopOffset),
      K::Int("rollbottomoffset", &C::RollBottomOffset),
      K::Rect("rollvcaptionrect", &C::RollVCaptionRect),
      K::Rect("rollhcaptionrect", &C::RollHCaptionRect),
      K::Rect("closebuttonrect", &C::CloseButtonRect),
      K::Rect("closebuttonactiverect", &C::CloseButtonActiveRect),
      K::Rect("closebuttondownrect", &C::CloseButtonDownRect),
      K::Rect("hrollbuttonrect", &C::HRollButtonRect),
      K::Rect("hrollbuttonactiverect", &C::HRollButtonActiveRect),
      K::Rect("hrollbuttondownrect", &C::HRollButtonDownRect),
      K::Rect("hrestorebuttonrect", &C::HRestoreButtonRect),
      K::Rect("hrestorebuttonactiverect", &C::HRestoreButtonActiveRect),
      K::Rect("hrestorebuttondownrect", &C::HRestoreButtonDownRect),
      K::Rect("vrollbuttonrect", &C::VRollButtonRect),
      K::Rect("vrollbuttonactiverect", &C::VRollButtonActiveRect),
      K::Rect("vrollbuttondownrect", &C::VRollButtonDownRect),
      K::Rect("vrestorebuttonrect", &C::VRestoreButtonRect),
      K::Rect("vrestorebuttonactiverect", &C::VRestoreButtonActiveRect),
      K::Rect("vrestorebuttondownrect", &C::VRestoreButtonDownRect),
      K::Rect("captionrect", &C::CaptionRect),
      K::String("fontname", &C::FontName, "Arial"),
      K::Int("fontheight", &C::FontHeight, 14),
      K::Style("fontstyle", &C::FontStyle),
      K::Color("fontcolor", &C::FontColor),
      K::Bool("buttonstransparent", &C::ButtonsTransparent),
      K::Color("buttonstransparentcolor", &C::ButtonsTransparentColor),
  };
  return Table;
}

const TbsSkinKeys<TbsDataSkinUpDownControl>& TbsDataSkinUpDownControl::Keys() {
  using C = TbsDataSkinUpDownControl;
  using K = TbsSkinKey<C>;
  static const TbsSkinKeys<C> Table{
      K::Rect("upbuttonrect", &C::UpButtonRect),
      K::Rect("activeupbuttonrect", &C::ActiveUpButtonRect),
      K::Rect("downupbuttonrect", &C::DownUpButtonRect),
      K::Rect("downbuttonrect", &C::DownButtonRect),
      K::Rect("activedownbuttonrect", &C::ActiveDownButtonRect),
      K::Rect("downdownbuttonrect", &C::DownDownButtonRect),
  };
  return Table;
}

const TbsSkinKeys<TbsDataSkinScrollBoxControl>& TbsDataSkinScrollBoxControl::Keys() {
  using C = TbsDataSkinScrollBoxControl;
  using K = TbsSkinKey<C>;
  static const TbsSkinKeys<C> Table{
      K::Int("bgpictureindex", &C::BGPictureIndex, -1),
  };
  return Table;
}

const TbsSkinKeys<TbsDataSkinBevel>& TbsDataSkinBevel::Keys() {
  using C = TbsDataSkinBevel;
  using K = TbsSkinKey<C>;
  static const TbsSkinKeys<C> Table{
      K::Color("lightcolor", &C::LightColor),
      K::Color("darkcolor", &C::DarkColor),
  };
  return Table;
}

const TbsSkinKeys<TbsDataSkinSlider>& TbsDataSkinSlider::Keys() {
  using C = TbsDataSkinSlider;
  using K = TbsSkinKey<C>;
  static const TbsSkinKeys<C> Table{
      K::Color("bgcolor", &C::BGColor),         K::Rect("hrulerrect", &C::HRulerRect),
      K::Rect("hthumbrect", &C::HThumbRect),    K::Rect("vrulerrect", &C::VRulerRect),
      K::Rect("vthumbrect", &C::VThumbRect),    K::Int("edgesize", &C::EdgeSize),
      K::Color("pointscolor", &C::PointsColor),
  };
  return Table;
}

const TbsSkinKeys<TbsDataSkinTreeView>& TbsDataSkinTreeView::Keys() {
  using C = TbsDataSkinTreeView;
  using K = TbsSkinKey<C>;
  static const TbsSkinKeys<C> Table{
      K::String("fontname", &C::FontName, "Arial"),
      K::Int("fontheight", &C::FontHeight, 14),
      K::Style("fontstyle", &C::FontStyle),
      K::Color("fontcolor", &C::FontColor),
      K::Color("bgcolor", &C::BGColor),
  };
  return Table;
}

const TbsSkinKeys<TbsDataSkinListView>& TbsDataSkinListView::Keys() {
  using C = TbsDataSkinListView;
  using K = TbsSkinKey<C>;
  static const TbsSkinKeys<C> Table{
      K::String("fontname", &C::FontName, "Arial"),
      K::Int("fontheight", &C::FontHeight, 14),
      K::Style("fontstyle", &C::FontStyle),
      K::Color("fontcolor", &C::FontColor),
      K::Color("bgcolor", &C::BGColor),
  };
  return Table;
}

const TbsSkinKeys<TbsDataSkinRichEdit>& TbsDataSkinRichEdit::Keys() {
  using C = TbsDataSkinRichEdit;
  using K = TbsSkinKey<C>;
  static const TbsSkinKeys<C> Table{
      K::String("fontname", &C::FontName, "Arial"),
      K::Int("fontheight", &C::FontHeight, 14),
      K::Style("fontstyle", &C::FontStyle),
      K::Color("fontcolor", &C::FontColor),
      K::Color("bgcolor", &C::BGColor),
  };
  return Table;
}

void TbsDataSkinControl::LoadFromIni(TCustomIniFile* Ini) {
  ReadSkinKeys(Ini, IDName, Keys(), *this);
}

void TbsDataSkinControl::SaveToIni(TCustomIniFile* Ini) {
  Ini->EraseSection(IDName);
  WriteSkinKeys(Ini, IDName, Keys(), *this);
}

void TbsDataSkinUpDownControl::LoadFromIni(TCustomIniFile* Ini) {
  TbsSkinRecord::LoadFromIni(Ini);
  LeftTopPoint = RightTopPoint = LeftBottomPoint = RightBottomPoint = TPoint{};
  ClientRect = TRect{};
}
