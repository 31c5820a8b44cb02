// TIEBitmap: changing the size, the row alignment and the placement of the content.
#include <algorithm>
#include <cstring>

#include "imaging/core/iebitmap.h"
#include "platform/classes/Bitmap.h"

namespace {

// Offset of the kept or placed block for an alignment: 0 start, 1 centre, 2 end.
Integer AlignOffset(Integer Align, Integer Spare) {
  if (Align == 1) return Spare / 2;
  if (Align == 2) return Spare;
  return 0;
}

// Before shrinking: the part to keep goes to the top left corner.
void KeepPartAtOrigin(TIEBitmap* B, Integer NewWidth, Integer NewHeight, Integer HorizAlign,
                      Integer VertAlign, Double Background) {
  const Integer W = B->GetWidth(), H = B->GetHeight();
  if (NewWidth < W && HorizAlign != 0)
    B->MoveRegion(AlignOffset(HorizAlign, W - NewWidth), 0, W - 1, H - 1, 0, 0, Background, true);
  if (NewHeight < H && VertAlign != 0)
    B->MoveRegion(0, AlignOffset(VertAlign, H - NewHeight), W - 1, H - 1, 0, 0, Background, true);
}

// After growing: the new area gets Background and the old block moves into place.
void PlaceOldBlock(TIEBitmap* B, Integer OldWidth, Integer OldHeight, Integer HorizAlign, Integer VertAlign,
                   Double Background) {
  const Integer W = B->GetWidth(), H = B->GetHeight();
  if (OldWidth < W) {
    B->FillRect(OldWidth, 0, W - 1, H - 1, Background);
    if (HorizAlign != 0)
      B->MoveRegion(0, 0, OldWidth - 1, OldHeight - 1, AlignOffset(HorizAlign, W - OldWidth), 0, Background,
                    true);
  }
  if (OldHeight < H) {
    B->FillRect(0, OldHeight, W - 1, H - 1, Background);
    if (VertAlign != 0)
      B->MoveRegion(0, 0, W - 1, OldHeight - 1, 0, AlignOffset(VertAlign, H - OldHeight), Background, true);
  }
}

}  // namespace

void TIEBitmap::SetWidth(Integer NewWidth) {
  if (NewWidth == GetWidth()) return;
  if (FAlphaChannel) FAlphaChannel->SetWidth(NewWidth);
  if (FLocation == ieTBitmap)
    ResizePlatformBitmap(NewWidth, FHeight);
  else
    ResizeStorage(NewWidth, FHeight);
}

void TIEBitmap::SetHeight(Integer NewHeight) {
  if (NewHeight == GetHeight()) return;
  if (FAlphaChannel) FAlphaChannel->SetHeight(NewHeight);
  if (FLocation == ieTBitmap)
    ResizePlatformBitmap(FWidth, NewHeight);
  else
    ResizeStorage(FWidth, NewHeight);
}

void TIEBitmap::ResizeStorage(Integer NewWidth, Integer NewHeight) {
  if (FPixelFormat == ieNull || IsEmpty()) {
    FWidth = NewWidth;
    FHeight = NewHeight;
    return;
  }
  TIEBitmap Temp;
  MoveDataTo(&Temp);
  if (!Allocate(NewWidth, NewHeight, Temp.FPixelFormat)) {
    Temp.MoveDataTo(this);  // the picture stays as it was
    return;
  }
  CopyRowsFrom(&Temp);
  FPalette = std::move(Temp.FPalette);
  FAlphaChannel = std::move(Temp.FAlphaChannel);  // already resized
  FIsAlphaChannel = Temp.FIsAlphaChannel;
  FFull = false;
}

void TIEBitmap::ResizePlatformBitmap(Integer NewWidth, Integer NewHeight) {
  CreateOwnPlatformBitmap();
  // The platform keeps the common part of every format, 1-bit bitmaps included.
  FPlatformBitmap->SetSize(NewWidth, NewHeight);
  FWidth = FPlatformBitmap->GetWidth();
  FHeight = FPlatformBitmap->GetHeight();
  ApplyFormatTable();
  BuildRowTable();
}

void TIEBitmap::SetBitAlignment(Integer Bits) {
  if (Bits == FBitAlignment) return;
  FNeedsAllocation = true;
  // Files and platform bitmaps keep their alignment.
  if (FLocation != ieMemory) return;
  TIEBitmap Temp;
  MoveDataTo(&Temp);
  FBitAlignment = Bits;
  if (Temp.IsEmpty()) {
    FPixelFormat = Temp.FPixelFormat;
    return;
  }
  if (!Allocate(Temp.FWidth, Temp.FHeight, Temp.FPixelFormat)) {
    Temp.MoveDataTo(this);
    return;
  }
  CopyRowsFrom(&Temp);
  FPalette = std::move(Temp.FPalette);
  FAlphaChannel = std::move(Temp.FAlphaChannel);
  FIsAlphaChannel = Temp.FIsAlphaChannel;
  FFull = Temp.FFull;
}

void TIEBitmap::Resize(Integer NewWidth, Integer NewHeight, Double Background, Integer AlphaFill,
                       Integer HorizAlign, Integer VertAlign) {
  const Integer OldWidth = GetWidth(), OldHeight = GetHeight();
  KeepPartAtOrigin(this, NewWidth, NewHeight, HorizAlign, VertAlign, Background);
  if (FAlphaChannel)
    KeepPartAtOrigin(FAlphaChannel.get(), NewWidth, NewHeight, HorizAlign, VertAlign, AlphaFill);
  SetWidth(NewWidth);
  SetHeight(NewHeight);
  PlaceOldBlock(this, OldWidth, OldHeight, HorizAlign, VertAlign, Background);
  if (FAlphaChannel)
    PlaceOldBlock(FAlphaChannel.get(), OldWidth, OldHeight, HorizAlign, VertAlign, AlphaFill);
}

void TIEBitmap::MoveRegion(Integer X1, Integer Y1, Integer X2, Integer Y2, Integer DestX, Integer DestY,
                           Double Background, bool FillSource) {
  const Integer W = X2 - X1 + 1, H = Y2 - Y1 + 1;
  if (W < 1 || H < 1) return;
  TIEBitmap Temp;
  Temp.SetMinFileSize(FMinFileSize);
  if (!Temp.Allocate(W, H, FPixelFormat)) return;
  CopyRectTo(&Temp, X1, Y1, 0, 0, W, H);
  if (FillSource) FillRect(X1, Y1, X2, Y2, Background);
  Temp.CopyRectTo(this, 0, 0, DestX, DestY, W, H);
}
