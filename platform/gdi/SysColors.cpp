#include "platform/gdi/SysColors.h"

#include <array>

namespace {

struct TSysColors {
  std::array<COLORREF, SysColorCount> Colors{
      RGB(192, 192, 192),  // scroll bar
      RGB(0, 128, 128),    // desktop
      RGB(0, 0, 128),      // active caption
      RGB(128, 128, 128),  // inactive caption
      RGB(192, 192, 192),  // menu
      RGB(255, 255, 255),  // window
      RGB(0, 0, 0),        // window frame
      RGB(0, 0, 0),        // menu text
      RGB(0, 0, 0),        // window text
      RGB(255, 255, 255),  // caption text
      RGB(192, 192, 192),  // active border
      RGB(192, 192, 192),  // inactive border
      RGB(128, 128, 128),  // application workspace
      RGB(0, 0, 128),      // highlight
      RGB(255, 255, 255),  // highlight text
      RGB(192, 192, 192),  // button face
      RGB(128, 128, 128),  // button shadow
      RGB(128, 128, 128),  // grey text
      RGB(0, 0, 0),        // button text
      RGB(192, 192, 192),  // inactive caption text
      RGB(255, 255, 255),  // button highlight
      RGB(0, 0, 0),        // 3-D dark shadow
      RGB(223, 223, 223),  // 3-D light
      RGB(0, 0, 0),        // tooltip text
      RGB(255, 255, 225),  // tooltip background
      RGB(180, 180, 180),  // (unused index 25)
      RGB(0, 0, 255),      // hot-tracked item
      RGB(16, 132, 208),   // active caption gradient
      RGB(181, 181, 181),  // inactive caption gradient
      RGB(0, 0, 128),      // menu highlight
      RGB(192, 192, 192),  // menu bar
  };
  std::array<HBRUSH, SysColorCount> Brushes{};
  TSysColors() {
    for (Integer I = 0; I < SysColorCount; ++I) {
      Brushes[I] = CreateSolidBrush(Colors[I]);
      Brushes[I]->Stock = true;
    }
  }
};

TSysColors& Table() {
  static TSysColors* T = new TSysColors;
  return *T;
}

}  // namespace

DWORD GetSysColor(Integer Index) {
  return Index >= 0 && Index < SysColorCount ? Table().Colors[static_cast<std::size_t>(Index)] : 0;
}

HBRUSH GetSysColorBrush(Integer Index) {
  return Index >= 0 && Index < SysColorCount ? Table().Brushes[static_cast<std::size_t>(Index)] : nullptr;
}

BOOL SetSysColors(Integer Count, const Integer* Indices, const COLORREF* Colors) {
  if (Count < 0 || (Count > 0 && (!Indices || !Colors))) return FALSE;
  for (Integer I = 0; I < Count; ++I) {
    const Integer Index = Indices[I];
    if (Index < 0 || Index >= SysColorCount) continue;
    Table().Colors[static_cast<std::size_t>(Index)] = Colors[I] & 0x00FFFFFF;
    Table().Brushes[static_cast<std::size_t>(Index)]->Color = Colors[I] & 0x00FFFFFF;
  }
  return TRUE;
}
