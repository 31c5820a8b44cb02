#include "skin/data/bsSkinDataEditParts.h"

const TbsSkinKeys<TbsDataSkinEditControl>& TbsDataSkinEditControl::Keys() {
  using C = TbsDataSkinEditControl;
  using K = TbsSkinKey<C>;
  static const TbsSkinKeys<C> Table{
      K::Rect("activeskinrect", &C::ActiveSkinRect),
      K::String("fontname", &C::FontName, "Arial"),
      K::Int("fontheight", &C::FontHeight, 14),
      K::Style("fontstyle", &C::FontStyle),
      K::Color("fontcolor", &C::FontColor),
      K::Color("disabledfontcolor", &C::DisabledFontColor),
      K::Color("activefontcolor", &C::ActiveFontColor),
      K::Rect("buttonrect", &C::ButtonRect),
      K::Rect("activebuttonrect", &C::ActiveButtonRect),
      K::Rect("downbuttonrect", &C::DownButtonRect),
      K::Rect("unenabledbuttonrect", &C::UnEnabledButtonRect),
  };
  return Table;
}

const TbsSkinKeys<TbsDataSkinMemoControl>& TbsDataSkinMemoControl::Keys() {
  using C = TbsDataSkinMemoControl;
  using K = TbsSkinKey<C>;
  static const TbsSkinKeys<C> Table{
      K::Color("bgcolor", &C::BGColor),
      K::Color("activebgcolor", &C::ActiveBGColor),
  };
  return Table;
}

const TbsSkinKeys<TbsDataSkinSpinEditControl>& TbsDataSkinSpinEditControl::Keys() {
  using C = TbsDataSkinSpinEditControl;
  using K = TbsSkinKey<C>;
  static const TbsSkinKeys<C> Table{
      K::Rect("activeskinrect", &C::ActiveSkinRect),
      K::String("fontname", &C::FontName, "Arial"),
      K::Int("fontheight", &C::FontHeight, 14),
      K::Style("fontstyle", &C::FontStyle),
      K::Color("fontcolor", &C::FontColor),
      K::Color("activefontcolor", &C::ActiveFontColor),
      K::Color("disabledfontcolor", &C::DisabledFontColor),
      K::Rect("upbuttonrect", &C::UpButtonRect),
      K::Rect("activeupbuttonrect", &C::ActiveUpButtonRect),
      K::Rect("downupbuttonrect", &C::DownUpButtonRect),
      K::Rect("downbuttonrect", &C::DownButtonRect),
      K::Rect("activedownbuttonrect", &C::ActiveDownButtonRect),
      K::Rect("downdownbuttonrect", &C::DownDownButtonRect),
  };
  return Table;
}

const TbsSkinKeys<TbsDataSkinListBox>& TbsDataSkinListBox::Keys() {
  using C = TbsDataSkinListBox;
  using K = TbsSkinKey<C>;
  static const TbsSkinKeys<C> Table{
      K::Rect("itemrect", &C::ItemRect),
      K::Rect("activeitemrect", &C::ActiveItemRect),
      K::Rect("focusitemrect", &C::FocusItemRect),
      K::Int("itemleftoffset", &C::ItemLeftOffset),
      K::Int("itemrightoffset", &C::ItemRightOffset),
      K::Rect("itemtextrect", &C::ItemTextRect),
      K::String("fontname", &C::FontName, "Arial"),
      K::Int("fontheight", &C::FontHeight, 14),
      K::Style("fontstyle", &C::FontStyle),
      K::Color("fontcolor", &C::FontColor),
      K::Color("activefontcolor", &C::ActiveFontColor),
      K::Color("focusfontcolor", &C::FocusFontColor),
      K::Rect("captionrect", &C::CaptionRect),
      K::String("captionfontname", &C::CaptionFontName, "Arial"),
      K::Int("captionfontheight", &C::CaptionFontHeight, 14),
      K::Style("captionfontstyle", &C::CaptionFontStyle),
      K::Color("captionfontcolor", &C::CaptionFontColor),
      K::Rect("upbuttonrect", &C::UpButtonRect),
      K::Rect("activeupbuttonrect", &C::ActiveUpButtonRect),
      K::Rect("downupbuttonrect", &C::DownUpButtonRect),
      K::Rect("downbuttonrect", &C::DownButtonRect),
      K::Rect("activedownbuttonrect", &C::ActiveDownButtonRect),
      K::Rect("downdownbuttonrect", &C::DownDownButtonRect),
      K::Rect("checkbuttonrect", &C::CheckButtonRect),
      K::Rect("activecheckbuttonrect", &C::ActiveCheckButtonRect),
      K::Rect("downcheckbuttonrect", &C::DownCheckButtonRect),
      K::String("vscrollbarname", &C::VScrollBarName, "vscrollbar"),
      K::String("hscrollbarname", &C::HScrollBarName, "hscrollbar"),
      K::String("bothhscrollbarname", &C::BothHScrollBarName, "bothhscrollbar"),
      K::Bool("showfocus", &C::ShowFocus),
      K::Rect("disabledbuttonsrect", &C::DisabledButtonsRect),
      K::Rect("buttonsarea", &C::ButtonsArea),
  };
  return Table;
}

const TbsSkinKeys<TbsDataSkinCheckListBox>& TbsDataSkinCheckListBox::Keys() {
  using C = TbsDataSkinCheckListBox;
  using K = TbsSkinKey<C>;
  static const TbsSkinKeys<C> Table{
      K::Rect("itemcheckrect", &C::ItemCheckRect),
      K::Rect("checkimagerect", &C::CheckImageRect),
      K::Rect("uncheckimagerect", &C::UncheckImageRect),
  };
  return Table;
}

const TbsSkinKeys<TbsDataSkinComboBox>& TbsDataSkinComboBox::Keys() {
  using C = TbsDataSkinComboBox;
  using K = TbsSkinKey<C>;
  static const TbsSkinKeys<C> Table{
      K::Rect("activeskinrect", &C::ActiveSkinRect),
      K::Rect("itemrect", &C::ItemRect),
      K::Rect("activeitemrect", &C::ActiveItemRect),
      K::Rect("focusitemrect", &C::FocusItemRect),
      K::Int("itemleftoffset", &C::ItemLeftOffset),
      K::Int("itemrightoffset", &C::ItemRightOffset),
      K::Rect("itemtextrect", &C::ItemTextRect),
      K::String("fontname", &C::FontName, "Arial"),
      K::Int("fontheight", &C::FontHeight, 14),
      K::Style("fontstyle", &C::FontStyle),
      K::Color("fontcolor", &C::FontColor),
      K::Color("focusfontcolor", &C::FocusFontColor),
      K::Color("activefontcolor", &C::ActiveFontColor),
      K::String("listboxname", &C::ListBoxName),
      K::Rect("buttonrect", &C::ButtonRect),
      K::Rect("activebuttonrect", &C::ActiveButtonRect),
      K::Rect("downbuttonrect", &C::DownButtonRect),
      K::Rect("unenabledbuttonrect", &C::UnEnabledButtonRect),
      K::Bool("itemstretcheffect", &C::ItemStretchEffect),
      K::Bool("focusitemstretcheffect", &C::FocusItemStretchEffect),
      K::Bool("showfocus", &C::ShowFocus),
  };
  return Table;
}

const TbsSkinKeys<TbsDataSkinScrollBarControl>& TbsDataSkinScrollBarControl::Keys() {
  using C = TbsDataSkinScrollBarControl;
  using K = TbsSkinKey<C>;
  static const TbsSkinKeys<C> Table{
      K::Rect("trackarea", &C::TrackArea),
      K::Rect("upbuttonrect", &C::UpButtonRect),
      K::Rect("activeupbuttonrect", &C::ActiveUpButtonRect),
      K::Rect("downupbuttonrect", &C::DownUpButtonRect),
      K::Rect("downbuttonrect", &C::DownButtonRect),
      K::Rect("activedownbuttonrect", &C::ActiveDownButtonRect),
      K::Rect("downdownbuttonrect", &C::DownDownButtonRect),
      K::Rect("thumbrect", &C::ThumbRect),
      K::Rect("activethumbrect", &C::ActiveThumbRect),
      K::Rect("downthumbrect", &C::DownThumbRect),
      K::Int("thumboffset1", &C::ThumbOffset1),
      K::Int("thumboffset2", &C::ThumbOffset2),
      K::Bool("thumbtransparent", &C::ThumbTransparent),
      K::Color("thumbtransparentcolor", &C::ThumbTransparentColor),
      K::Bool("thumbstretcheffect", &C::ThumbStretchEffect),
      K::Int("thumbminsize", &C::ThumbMinSize),
      K::Int("thumbminpagesize", &C::ThumbMinPageSize),
      K::Rect("glyphrect", &C::GlyphRect),
      K::Rect("activeglyphrect", &C::ActiveGlyphRect),
      K::Rect("downglyphrect", &C::DownGlyphRect),
      K::Bool("glyphtransparent", &C::GlyphTransparent),
      K::Color("glyphtransparentcolor", &C::GlyphTransparentColor),
  };
  return Table;
}

const TbsSkinKeys<TbsDataSkinTabControl>& TbsDataSkinTabControl::Keys() {
  using C = TbsDataSkinTabControl;
  using K = TbsSkinKey<C>;
  static const TbsSkinKeys<C> Table{
      K::Rect("tabrect", &C::TabRect),
      K::Rect("activetabrect", &C::ActiveTabRect),
      K::Rect("focustabrect", &C::FocusTabRect),
      K::Rect("mouseintabrect", &C::MouseInTabRect),
      K::Rect("clientrect", &C::ClientRect),
      K::Int("bgpictureindex", &C::BGPictureIndex, -1),
      K::Point("lefttoppoint", &C::LeftTopPoint),
      K::Point("righttoppoint", &C::RightTopPoint),
      K::Point("leftbottompoint", &C::LeftBottomPoint),
      K::Point("rightbottompoint", &C::RightBottomPoint),
      K::Int("tableftoffset", &C::TabLeftOffset),
      K::Int("tabrightoffset", &C::TabRightOffset),
      K::Rect("tabsbgrect", &C::TabsBGRect),
      K::Bool("tabstretcheffect", &C::TabStretchEffect),
      K::Bool("leftstretch", &C::LeftStretch),
      K::Bool("topstretch", &C::TopStretch),
      K::Bool("rightstretch", &C::RightStretch),
      K::Bool("bottomstretch", &C::BottomStretch),
      K::Bool("stretcheffect", &C::StretchEffect),
      K::Code("stretchtype", TbsSkinKind::StretchType, &C::StretchType),
      K::String("fontname", &C::FontName, "Arial"),
      K::Int("fontheight", &C::FontHeight, 14),
      K::Style("fontstyle", &C::FontStyle),
      K::Color("fontcolor", &C::FontColor),
      K::Color("activefontcolor", &C::ActiveFontColor),
      K::Color("focusfontcolor", &C::FocusFontColor),
      K::Color("mouseinfontcolor", &C::MouseInFontColor),
      K::String("updown", &C::UpDown),
      K::Bool("showfocus", &C::ShowFocus),
      K::Int("focusoffsetx", &C::FocusOffsetX),
      K::Int("focusoffsety", &C::FocusOffsetY),
      K::Rect("closebuttonrect", &C::CloseButtonRect),
      K::Rect("closebuttonactiverect", &C::CloseButtonActiveRect),
      K::Rect("closebuttondownrect", &C::CloseButtonDownRect),
      K::Bool("buttontransparent", &C::ButtonTransparent),
      K::Color("buttontransparentcolor", &C::ButtonTransparentColor),
      K::Rect("dividerrect", &C::DividerRect),
      K::Bool("dividertransparent", &C::DividerTransparent),
      K::Color("dividertransparentcolor", &C::DividerTransparentColor),
      K::Rect("mdicloserect", &C::MDICloseRect),
      K::Rect("mdicloseactiverect", &C::MDICloseActiveRect),
      K::Rect("mdiclosedownrect", &C::MDICloseDownRect),
      K::Rect("mdirestorerect", &C::MDIRestoreRect),
      K::Rect("mdirestoreactiverect", &C::MDIRestoreActiveRect),
      K::Rect("mdirestoredownrect", &C::MDIRestoreDownRect),
      K::Rect("mdiminrect", &C::MDIMinRect),
      K::Rect("mdiminactiverect", &C::MDIMinActiveRect),
      K::Rect("mdimindownrect", &C::MDIMinDownRect),
      K::Bool("mdibuttonstransparent", &C::MDIButtonsTransparent),
      K::Color("mdibuttonstransparentcolor", &C::MDIButtonsTransparentColor),
  };
  return Table;
}

const TbsSkinKeys<TbsDataSkinGridControl>& TbsDataSkinGridControl::Keys() {
  using C = TbsDataSkinGridControl;
  using K = TbsSkinKey<C>;
  static const TbsSkinKeys<C> Table{
      K::Rect("fixedcellrect", &C::FixedCellRect),
      K::Rect("selectcellrect", &C::SelectCellRect),
      K::Rect("focuscellrect", &C::FocusCellRect),
      K::Int("fixedcellleftoffset", &C::FixedCellLeftOffset),
      K::Int("fixedcellrightoffset", &C::FixedCellRightOffset),
      K::Rect("fixedcelltextrect", &C::FixedCellTextRect),
      K::Int("cellleftoffset", &C::CellLeftOffset),
      K::Int("cellrightoffset", &C::CellRightOffset),
      K::Rect("celltextrect", &C::CellTextRect),
      K::Int("bgpictureindex", &C::BGPictureIndex, -1),
      K::Color("linescolor", &C::LinesColor),
      K::Color("bgcolor", &C::BGColor),
      K::String("fontname", &C::FontName, "Arial"),
      K::Int("fontheight", &C::FontHeight, 14),
      K::Style("fontstyle", &C::FontStyle),
      K::Color("fontcolor", &C::FontColor),
      K::Color("selectfontcolor", &C::SelectFontColor),
      K::Color("focusfontcolor", &C::FocusFontColor),
      K::String("fixedfontname", &C::FixedFontName, "Arial"),
      K::Int("fixedfontheight", &C::FixedFontHeight, 14),
      K::Style("fixedfontstyle", &C::FixedFontStyle),
      K::Color("fixedfontcolor", &C::FixedFontColor),
      K::Bool("cellstretcheffect", &C::CellStretchEffect),
      K::Bool("fixedcellstretcheffect", &C::FixedCellStretchEffect),
      K::Bool("showfocus", &C::ShowFocus),
  };
  return Table;
}
