// Making a GIF frame from another frame, a bitmap, an icon or any other graphic.
#include <cstring>
#include <unordered_map>

#include "pictures/GIFColorReduce.h"
#include "pictures/GIFImage.h"
#include "platform/classes/Icon.h"
#include "platform/classes/Metafile.h"
#include "platform/gdi/Dib.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/system/ScopeExit.h"
#include "platform/user/Cursors.h"

void TGIFSubImage::Assign(TPersistent* Source) {
  if (Source == this) return;
  if (Source == nullptr) {
    Reset();
    return;
  }
  if (auto* Frame = dynamic_cast<TGIFSubImage*>(Source)) {
    AssignFromFrame(Frame);
  } else if (auto* Bitmap = dynamic_cast<TBitmap*>(Source)) {
    AssignFromBitmap(Bitmap);
  } else if (auto* Graphic = dynamic_cast<TGraphic*>(Source)) {
    AssignFromGraphic(Graphic);
  } else if (auto* Picture = dynamic_cast<TPicture*>(Source)) {
    Assign(Picture->GetGraphic());
  } else {
    TGIFItem::Assign(Source);
  }
}

void TGIFSubImage::AssignFromFrame(TGIFSubImage* Source) {
  Reset();
  if (Source->IsEmpty()) return;
  Descriptor = Source->Descriptor;
  FHasTransparency = Source->FHasTransparency;
  FPixels = Source->FPixels;
  FLocalColors->Assign(Source->LocalColors());
  // Through a stream, so every extension is a new object of this frame.
  TMemoryStream Stream;
  Source->ExtensionBlocks()->SaveItems(&Stream);
  Stream.SetPosition(0);
  FExtensions->ReadItems(&Stream, this);
  if (Source->FFrameBitmap) {
    FFrameBitmap = std::make_unique<TBitmap>();
    FFrameBitmap->Assign(Source->FrameImage());
  }
}

void TGIFSubImage::AssignFromBitmap(TBitmap* Source) {
  Reset();
  if (Source->Empty()) return;
  SetWidth(Source->Width());
  SetHeight(Source->Height());
  const TPixelFormat SourceFormat = Source->GetPixelFormat();
  if (SourceFormat == pf1bit || SourceFormat == pf4bit || SourceFormat == pf8bit) {
    FFrameBitmap = std::make_unique<TBitmap>();
    FFrameBitmap->Assign(Source);
  } else {
    // The reduction reads its source at 24 bits in place; the caller's bitmap stays as it is.
    TBitmap Copy;
    Copy.Assign(Source);
    FFrameBitmap.reset(ReduceBitmapColors(&Copy, FImage->ReductionMethod, FImage->DitherKind,
                                          FImage->ReductionDepth, nullptr));
  }
  TPixelFormat Format = FFrameBitmap->GetPixelFormat();
  if (Format != pf1bit && Format != pf4bit && Format != pf8bit && Format != pf24bit) Format = pf24bit;
  if (FFrameBitmap->Empty()) {
    FFrameBitmap.reset();
    return;
  }
  AllocPixels();
  Progress(psStarting, 0, false, "Converting...");
  try {
    TDIBReader Reader(FFrameBitmap.get(), Format);
    const Integer W = std::min(GetWidth(), FFrameBitmap->Width()),
                  H = std::min(GetHeight(), FFrameBitmap->Height());
    if (Format == pf1bit || Format == pf4bit)
      FLocalColors->FromPalette(FFrameBitmap->GetPalette());
    else if (Format == pf8bit) {
      if (FFrameBitmap->GetHandleType() == bmDDB)
        FLocalColors->FromPalette(FFrameBitmap->GetPalette());
      else
        FLocalColors->FromDIBColors(FFrameBitmap->GetCanvas()->GetHandle());
    }
    std::unordered_map<Cardinal, Byte> Known;
    for (Integer Y = 0; Y < H; ++Y) {
      if (Y % 32 == 0) Progress(psRunning, static_cast<Byte>(Int64(Y) * 100 / H), false, "Converting...");
      const Byte* Src = static_cast<const Byte*>(Reader.RowAddress(Y));
      Byte* Dst = FPixels.data() + std::size_t(Y) * std::size_t(GetWidth());
      switch (Format) {
        case pf1bit:
          for (Integer X = 0; X < W; ++X) Dst[X] = (Src[X >> 3] >> (7 - (X & 7))) & 1;
          break;
        case pf4bit:
          for (Integer X = 0; X < W; ++X) Dst[X] = (X & 1) ? (Src[X >> 1] & 0x0F) : (Src[X >> 1] >> 4);
          break;
        case pf8bit:
          std::memcpy(Dst, Src, std::size_t(W));
          break;
        default:
          for (Integer X = 0; X < W; ++X) {
            const Byte* P = Src + 3 * X;
            const Cardinal Key = Cardinal(P[0]) | Cardinal(P[1]) << 8 | Cardinal(P[2]) << 16;
            auto It = Known.find(Key);
            if (It == Known.end())
              It = Known
                       .emplace(Key, static_cast<Byte>(FLocalColors->AddUniqueColor(
                                         static_cast<TColor>(P[2] | (P[1] << 8) | (P[0] << 16)))))
                       .first;
            Dst[X] = It->second;
          }
          break;
      }
    }
    if (Source->GetTransparent()) {
      HBITMAP Mask = Source->GetMaskHandle();
      if (Mask) {
        TBitmap MaskBitmap;
        MaskBitmap.SetHandle(static_cast<HBITMAP>(CopyImage(Mask, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
        ApplyMask(&MaskBitmap);
      }
    }
  } catch (...) {
    Progress(psEnding, 0, FImage->PaletteModified, "Converting...");
    throw;
  }
  Progress(psEnding, 100, FImage->PaletteModified, "Converting...");
}

void TGIFSubImage::ApplyMask(TBitmap* Mask) {
  FLocalColors->SortByUse();
  const Integer Colors = FLocalColors->Count();
  if (Colors < 1 || Colors > 255 || Mask->Empty()) return;
  const Integer Index = FLocalColors->AddColor(0);
  bool Any = false;
  {
    TDIBReader Reader(Mask, pf8bit);
    const Integer W = std::min(GetWidth(), Mask->Width()), H = std::min(GetHeight(), Mask->Height());
    for (Integer Y = 0; Y < H; ++Y) {
      const Byte* M = static_cast<const Byte*>(Reader.RowAddress(Y));
      Byte* P = FPixels.data() + std::size_t(Y) * std::size_t(GetWidth());
      for (Integer X = 0; X < W; ++X)
        if (M[X] != 0) {
          P[X] = static_cast<Byte>(Index);
          Any = true;
        }
    }
  }
  if (!Any) {
    FLocalColors->DeleteColor(Index);
    return;
  }
  auto* Ext = new TGIFGraphicControlExtension(this);
  FExtensions->Add(Ext);
  Ext->SetTransparent(true);
  Ext->SetTransparentIndex(static_cast<Byte>(Index));
  DropBitmaps();
}

void TGIFSubImage::AssignFromGraphic(TGraphic* Source) {
  Reset();
  if (Source->Empty()) return;
  TBitmap Bitmap;
  auto DrawIt = [&] {
    Bitmap.SetHeight(Source->Height());
    Bitmap.SetWidth(Source->Width());
    Bitmap.SetPixelFormat(pf24bit);
    Bitmap.GetCanvas()->Draw(0, 0, Source);
  };
  auto* Icon = dynamic_cast<TIcon*>(Source);
  auto* Metafile = dynamic_cast<TMetafile*>(Source);
  if (Icon || Metafile) {
    try {
      DrawIt();
    } catch (Exception&) {
      Bitmap.Assign(Source);
    }
  } else {
    try {
      Bitmap.Assign(Source);
    } catch (Exception&) {
      DrawIt();
    }
  }
  AssignFromBitmap(&Bitmap);
  if (Icon && Icon->GetHandle()) {
    ICONINFO Info;
    if (GetIconInfo(Icon->GetHandle(), &Info)) {
      auto Free = ScopeExit([&] {
        if (Info.hbmMask) DeleteObject(Info.hbmMask);
        if (Info.hbmColor) DeleteObject(Info.hbmColor);
      });
      if (Info.hbmMask) {
        TBitmap Mask;
        Mask.SetHandle(
            static_cast<HBITMAP>(CopyImage(Info.hbmMask, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
        ApplyMask(&Mask);
      }
    }
  }
  if (Metafile) {
    // What the metafile leaves unpainted differs between a white and a black background.
    auto Backed = [&](TColor Background) {
      auto B = std::make_unique<TBitmap>();
      B->SetHeight(Source->Height());
      B->SetWidth(Source->Width());
      B->SetPixelFormat(pf24bit);
      B->GetCanvas()->GetBrush()->SetColor(Background);
      B->GetCanvas()->FillRect(TRect{0, 0, B->Width(), B->Height()});
      B->GetCanvas()->Draw(0, 0, Source);
      return B;
    };
    std::unique_ptr<TBitmap> Mask = Backed(clWhite);
    std::unique_ptr<TBitmap> Black = Backed(clBlack);
    Mask->GetCanvas()->SetCopyMode(cmSrcInvert);
    const TRect All{0, 0, Mask->Width(), Mask->Height()};
    Mask->GetCanvas()->CopyRect(All, Black->GetCanvas(), All);
    ApplyMask(Mask.get());
  }
}
