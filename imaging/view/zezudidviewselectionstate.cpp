// Saving and restoring the selection: the streams that undo keeps, and the stack of selections
// that follow the picture when the current layer changes.
#include <algorithm>

#include "imaging/core/iebitmap.h"
#include "imaging/view/zezudidview.h"
#include "imaging/view/zezudidviewselection.h"
#include "platform/system/Streams.h"

void TZezudIdView::SaveSelectionToStream(TStream* Stream) {
  TIESelectionStreamInfo Info;
  Info.Active = FSelectionActive;
  if (TIELayer* Layer = GetCurrentLayer()) {
    Info.LayerPosX = Layer->PosX;
    Info.LayerPosY = Layer->PosY;
  }
  IEWriteSelection(Stream, *FSelection, *FSelectionMask, Info);
}

bool TZezudIdView::LoadSelectionFromStream(TStream* Stream, Integer Mode) {
  TIESelectionStreamInfo Info;
  if (!IEReadSelection(Stream, *FSelection, *FSelectionMask, Info)) return false;
  FSelectionActive = Info.Active;
  LockUpdate();
  TIEMask& Mask = *FSelectionMask;
  const Integer Width = SelPictureWidth(), Height = SelPictureHeight();
  if (Mode == 2) {
    // The selection stays where it was on the picture while the layer under it changes.
    FSelection->Clear();
    Mask.Resize(Width + std::max(0, Info.LayerPosX) + Mask.GetWidth(),
                Height + std::max(0, Info.LayerPosY) + Mask.GetHeight());
    Integer DX = Info.LayerPosX, DY = Info.LayerPosY;
    Mask.TranslateBitmap(DX, DY, true);
    TIELayer* Layer = GetCurrentLayer();
    DX = Layer ? -Layer->PosX : 0;
    DY = Layer ? -Layer->PosY : 0;
    Mask.TranslateBitmap(DX, DY, true);
    Mask.Resize(Width, Height);
    Mask.SyncRect();
    Mask.SyncFull();
  } else if (Mask.GetWidth() != Width || Mask.GetHeight() != Height) {
    if (Mask.IsEmpty()) {
      Mask.Resize(Width, Height);
    } else {
      if (Mode == 1) {
        // A picture that became smaller: the selection's far edges come back onto its last pixels.
        const Integer DX = Info.MaskBox.Right > Width - 1 ? Width - 1 - Info.MaskBox.Right : 0;
        const Integer DY = Info.MaskBox.Bottom > Height - 1 ? Height - 1 - Info.MaskBox.Bottom : 0;
        if (DX != 0 || DY != 0) MoveSelection(DX, DY);
      }
      Mask.Resize(Width, Height);
      Mask.SyncRect();
      Mask.SyncFull();
    }
  }
  if (Mask.IsEmpty()) {
    Deselect();
  } else {
    FSelectionActive = true;
    ShowSelection(true);
  }
  UnlockUpdateNoRefresh();
  Update();
  return true;
}

void TZezudIdView::PushSelection() {
  auto Stream = std::make_unique<TMemoryStream>();
  SaveSelectionToStream(Stream.get());
  FSelectionStack.push_back(std::move(Stream));
}

bool TZezudIdView::PopSelection(bool Delete, Integer Mode) {
  if (FSelectionStack.empty()) return false;
  TMemoryStream* Stream = FSelectionStack.back().get();
  Stream->SetPosition(0);
  const bool Result = LoadSelectionFromStream(Stream, Mode);
  if (Delete) FSelectionStack.pop_back();
  return Result;
}
