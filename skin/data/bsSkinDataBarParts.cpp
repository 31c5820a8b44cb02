#include "skin/data/bsSkinDataBarParts.h"

const TbsSkinKeys<TbsDataSkinMainMenuBar>& TbsDataSkinMainMenuBar::Keys() {
  using C = TbsDataSkinMainMenuBar;
  using K = TbsSkinKey<C>;
  static const TbsSkinKeys<C> Table{
      K::Rect("itemsrect", &C::ItemsRect),
      K::String("menubaritem", &C::MenuBarItem),
      K::String("closebutton", &C::CloseButton),
      K::String("minbutton", &C::MinButton),
      K::String("maxbutton", &C::MaxButton),
      K::String("sysmenubutton", &C::SysMenuButton),
      K::Color("trackmarkcolor", &C::TrackMarkColor),
      K::Color("trackmarkactivecolor", &C::TrackMarkActiveColor),
      K::Bool("stretcheffect", &C::StretchEffect),
      K::Bool("itemtransparent", &C::ItemTransparent),
  };
  return Table;
}

const TbsSkinKeys<TbsDataSkinControlBar>& TbsDataSkinControlBar::Keys() {
  using C = TbsDataSkinControlBar;
  using K = TbsSkinKey<C>;
  static const TbsSkinKeys<C> Table{
      K::Rect("itemrect", &C::ItemRect),
      K::Int("bgpictureindex", &C::BGPictureIndex, -1),
      K::Rect("hgriprect", &C::HGripRect),
      K::Rect("vgriprect", &C::VGripRect),
      K::Int("gripoffset1", &C::GripOffset1),
      K::Int("gripoffset2", &C::GripOffset2),
      K::Bool("itemstretcheffect", &C::ItemStretchEffect),
      K::Int("itemoffset1", &C::ItemOffset1, 3),
      K::Int("itemoffset2", &C::ItemOffset2, 3),
      K::Bool("itemtransparent", &C::ItemTransparent),
      K::Color("itemtransparentcolor", &C::ItemTransparentColor),
      K::Bool("griptransparent", &C::GripTransparent),
      K::Color("griptransparentcolor", &C::GripTransparentColor),
  };
  return Table;
}

const TbsSkinKeys<TbsDataSkinAppMenu>& TbsDataSkinAppMenu::Keys() {
  using C = TbsDataSkinAppMenu;
  using K = TbsSkinKey<C>;
  static const TbsSkinKeys<C> Table{
      K::Int("bgpictureindex", &C::BGPictureIndex, -1),
      K::Bool("bgstretcheffect", &C::BGStretchEffect),
      K::Rect("itemrect", &C::ItemRect),
      K::Rect("pageitemrect", &C::PageItemRect),
      K::Rect("pageitemactiverect", &C::PageItemActiveRect),
      K::Int("itemoffset1", &C::ItemOffset1, 3),
      K::Int("itemoffset2", &C::ItemOffset2, 3),
      K::Int("pageitemoffset1", &C::PageItemOffset1, 10),
      K::Int("pageitemoffset2", &C::PageItemOffset2, 10),
      K::Int("pageoffset", &C::PageOffset),
      K::String("fontname", &C::FontName, "Arial"),
      K::Int("fontheight", &C::FontHeight, 14),
      K::Int("fontpageheight", &C::FontPageHeight, 16),
      K::Style("fontstyle", &C::FontStyle),
      K::Color("fontcolor", &C::FontColor),
      K::Color("disabledfontcolor", &C::DisabledFontColor),
      K::Color("activefontcolor", &C::ActiveFontColor),
      K::Color("fontpagecolor", &C::FontPageColor),
      K::Color("activefontpagecolor", &C::ActiveFontPageColor),
      K::Rect("gripperrect", &C::GripperRect),
      K::Color("grippertransparentcolor", &C::GripperTransparentColor),
  };
  return Table;
}
