#pragma once
// The native image list of a list or tree view, fetched while its items are painted by the skin.
#include "platform/classes/Canvas.h"
#include "platform/user/ImageLists.h"

struct TbsSysImageList {
  HIMAGELIST List = nullptr;
  Integer Width = 0, Height = 0, Count = 0;

  // Asks the view's window for its list (Msg with Which, LVM_GETIMAGELIST or TVM_GETIMAGELIST).
  void Fetch(HWND View, UINT Msg, WPARAM Which);
  bool Holds(Integer Index) const { return List != nullptr && Index >= 0 && Index < Count; }
  // Image Index at (X, Y), without background and without blending.
  void Draw(TCanvas* C, Integer Index, Integer X, Integer Y) const;
};
