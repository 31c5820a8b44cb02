// The native image list of a skinned view.
#include "skin/controls/bsSkinCtrlsSysImages.h"

#include "platform/user/CommonControls.h"
#include "platform/user/User.h"

void TbsSysImageList::Fetch(HWND View, UINT Msg, WPARAM Which) {
  List = reinterpret_cast<HIMAGELIST>(SendMessage(View, Msg, Which, 0));
  Width = Height = Count = 0;
  if (List == nullptr) return;
  ImageList_GetIconSize(List, &Width, &Height);
  Count = ImageList_GetImageCount(List);
}

void TbsSysImageList::Draw(TCanvas* C, Integer Index, Integer X, Integer Y) const {
  if (!Holds(Index)) return;
  C->RequiredState({csHandleValid});
  ImageList_DrawEx(List, Index, C->GetHandle(), X, Y, 0, 0, CLR_NONE, CLR_NONE, ILD_NORMAL);
}
