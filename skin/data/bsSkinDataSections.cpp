#include "skin/data/bsSkinDataSections.h"

const TbsSkinKeys<TbsDataSkinPopupWindow>& TbsDataSkinPopupWindow::Keys() {
  using C = TbsDataSkinPopupWindow;
  using K = TbsSkinKey<C>;
  static const TbsSkinKeys<C> Table{
      K::Int("windowpictureindex", &C::WindowPictureIndex, -1),
      K::Int("maskpictureindex", &C::MaskPictureIndex, -1),
      K::Point("lefttoppoint", &C::LeftTopPoint),
      K::Point("righttoppoint", &C::RightTopPoint),
      K::Point("leftbottompoint", &C::LeftBottomPoint),
      K::Point("rightbottompoint", &C::RightBottomPoint),
      K::Rect("itemsrect", &C::ItemsRect),
      K::Color("scrollmarkercolor", &C::ScrollMarkerColor),
      K::Color("scrollmarkeractivecolor", &C::ScrollMarkerActiveColor),
      K::Bool("leftstretch", &C::LeftStretch),
      K::Bool("rightstretch", &C::RightStretch),
      K::Bool("topstretch", &C::TopStretch),
      K::Bool("bottomstretch", &C::BottomStretch),
      K::Bool("stretcheffect", &C::StretchEffect),
      K::Code("stretchtype", TbsSkinKind::StretchType, &C::StretchType),
  };
  return Table;
}

const TbsSkinKeys<TbsDataSkinLayerFrame>& TbsDataSkinLayerFrame::Keys() {
  using C = TbsDataSkinLayerFrame;
  using K = TbsSkinKey<C>;
  static const TbsSkinKeys<C> Table{
      K::Int("pictureindex", &C::PictureIndex, -1),
      K::Int("maskpictureindex", &C::MaskPictureIndex, -1),
      K::Int("inactivepictureindex", &C::InActivePictureIndex, -1),
      K::Int("inactivemaskpictureindex", &C::InActiveMaskPictureIndex, -1),
      K::Point("lefttoppoint", &C::LeftTopPoint),
      K::Point("righttoppoint", &C::RightTopPoint),
      K::Point("leftbottompoint", &C::LeftBottomPoint),
      K::Point("rightbottompoint", &C::RightBottomPoint),
      K::Rect("clientrect", &C::ClientRect),
      K::Int("alphablendvalue", &C::AlphaBlendValue, 255),
      K::Int("inactivealphablendvalue", &C::InActiveAlphaBlendValue, 255),
      K::Rect("borderrect", &C::BorderRect),
      K::Bool("hittestenable", &C::HitTestEnable),
      K::Bool("fullborder", &C::FullBorder),
      K::Int("hittestsize", &C::HitTestSize),
      K::Rect("captionrect", &C::CaptionRect),
      K::Point("hittestlefttoppoint", &C::HitTestLeftTopPoint),
      K::Point("hittestrighttoppoint", &C::HitTestRightTopPoint),
      K::Point("hittestleftbottompoint", &C::HitTestLeftBottomPoint),
      K::Point("hittestrightbottompoint", &C::HitTestRightBottomPoint),
      K::Rect("buttonsrect", &C::ButtonsRect),
      K::Rect("sysmenubuttonrect", &C::SysMenuButtonRect),
      K::Bool("fullstretch", &C::FullStretch),
      K::Int("rollupformheight", &C::RollUpFormHeight),
      K::Int("buttonstopoffset", &C::ButtonsTopOffset),
      K::Int("sysbuttontopoffset", &C::SysButtonTopOffset),
      K::Int("blurmaskpictureindex", &C::BlurMaskPictureIndex, -1),
      K::Rect("intersectblurmaskrect", &C::IntersectBlurMaskRect),
      K::Rect("excludeblurmaskrect", &C::ExcludeBlurMaskRect),
      K::Int("leftoffset", &C::LeftOffset),
      K::Int("topoffset", &C::TopOffset),
      K::Int("widthoffset", &C::WidthOffset),
      K::Int("heightoffset", &C::HeightOffset),
  };
  return Table;
}

const TbsSkinKeys<TbsDataSkinHintWindow>& TbsDataSkinHintWindow::Keys() {
  using C = TbsDataSkinHintWindow;
  using K = TbsSkinKey<C>;
  static const TbsSkinKeys<C> Table{
      K::Int("windowpictureindex", &C::WindowPictureIndex, -1),
      K::Int("maskpictureindex", &C::MaskPictureIndex, -1),
      K::Point("lefttoppoint", &C::LeftTopPoint),
      K::Point("righttoppoint", &C::RightTopPoint),
      K::Point("leftbottompoint", &C::LeftBottomPoint),
      K::Point("rightbottompoint", &C::RightBottomPoint),
      K::Rect("clientrect", &C::ClientRect),
      K::String("fontname", &C::FontName, "Arial"),
      K::Int("fontheight", &C::FontHeight, 14),
      K::Style("fontstyle", &C::FontStyle),
      K::Color("fontcolor", &C::FontColor),
      K::Bool("leftstretch", &C::LeftStretch),
      K::Bool("rightstretch", &C::RightStretch),
      K::Bool("topstretch", &C::TopStretch),
      K::Bool("bottomstretch", &C::BottomStretch),
      K::Bool("stretcheffect", &C::StretchEffect),
      K::Code("stretchtype", TbsSkinKind::StretchType, &C::StretchType),
  };
  return Table;
}
const TbsSkinKeys<TbsSkinColors>& TbsSkinColors::Keys() {
  using C = TbsSkinColors;
  using K = TbsSkinKey<C>;
  static const TbsSkinKeys<C> Table{
      K::Color("cbtnface", &C::CBtnFace, clBtnFace),
      K::Color("cbtntext", &C::CBtnText, clBtnText),
      K::Color("cwindow", &C::CWindow, clWindow),
      K::Color("cwindowtext", &C::CWindowText, clWindowText),
      K::Color("chighlight", &C::CHighlight, clHighlight),
      K::Color("chighlighttext", &C::CHighlightText, clHighlightText),
      K::Color("cbtnhighlight", &C::CBtnHighlight, clBtnHighlight),
      K::Color("cbtnshadow", &C::CBtnShadow, clBtnShadow),
  };
  return Table;
}

void TbsSkinColors::Reset() {
  for (const TbsSkinKey<TbsSkinColors>& K : Keys())
    this->*std::get<Integer TbsSkinColors::*>(K.Member) = K.Value.Default;
}

void TbsSkinColors::LoadFromIni(TCustomIniFile* Ini) {
  ReadSkinKeys(Ini, "SKINCOLORS", Keys(), *this);
}

void TbsDataSkinPopupWindow::LoadFromIni(TCustomIniFile* Ini) {
  ReadSkinKeys(Ini, "POPUPWINDOW", Keys(), *this);
}

void TbsDataSkinLayerFrame::LoadFromIni(TCustomIniFile* Ini) {
  ReadSkinKeys(Ini, "LAYERFRAME", Keys(), *this);
}

void TbsDataSkinHintWindow::LoadFromIni(TCustomIniFile* Ini) {
  ReadSkinKeys(Ini, "HINTWINDOW", Keys(), *this);
}
