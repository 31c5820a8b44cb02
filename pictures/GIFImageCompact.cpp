// Making an animated picture smaller without changing what it shows.
#include <algorithm>
#include <cstring>

#include "pictures/GIFImage.h"
#include "platform/system/ScopeExit.h"

namespace {

bool Intersects(const TRect& A, const TRect& B) {
  return std::max(A.Left, B.Left) < std::min(A.Right, B.Right) &&
         std::max(A.Top, B.Top) < std::min(A.Bottom, B.Bottom);
}

bool Covers(const TRect& Outer, const TRect& Inner) {
  return Outer.Left <= Inner.Left && Outer.Top <= Inner.Top && Outer.Right >= Inner.Right &&
         Outer.Bottom >= Inner.Bottom;
}

bool UsesIndex(TGIFSubImage* Frame, Byte Index) {
  const Byte* P = Frame->Data();
  return P && std::find(P, P + Frame->PixelCount(), Index) != P + Frame->PixelCount();
}

Byte Disposal(TGIFSubImage* Frame) {
  return Frame->ControlExt() ? Frame->ControlExt()->GetDisposalMethod() : 0;
}

}  // namespace

void TGIFSubImage::TrimTransparent() {
  if (IsEmpty() || !FHasTransparency || !FControlExt) return;
  const Byte T = FControlExt->GetTransparentIndex();
  const Integer W = GetWidth(), H = GetHeight();
  auto At = [&](Integer X, Integer Y) { return FPixels[std::size_t(Y) * std::size_t(W) + std::size_t(X)]; };
  auto ColumnUsed = [&](Integer X) {
    for (Integer Y = 0; Y < H; ++Y)
      if (At(X, Y) != T) return true;
    return false;
  };
  Integer Left = 0;
  while (Left < W && !ColumnUsed(Left)) ++Left;
  if (Left == W) {
    Reset();
    return;
  }
  Integer Right = W - 1;
  while (Right > Left && !ColumnUsed(Right)) --Right;
  auto RowUsed = [&](Integer Y) {
    for (Integer X = Left; X <= Right; ++X)
      if (At(X, Y) != T) return true;
    return false;
  };
  Integer Top = 0;
  while (!RowUsed(Top)) ++Top;
  Integer Bottom = H - 1;
  while (Bottom > Top && !RowUsed(Bottom)) --Bottom;
  const Integer NW = Right - Left + 1, NH = Bottom - Top + 1;
  if (NW == W && NH == H) return;
  std::vector<Byte> Kept(std::size_t(NW) * std::size_t(NH));
  for (Integer Y = 0; Y < NH; ++Y)
    std::memcpy(Kept.data() + std::size_t(Y) * std::size_t(NW),
                FPixels.data() + std::size_t(Top + Y) * std::size_t(W) + std::size_t(Left), std::size_t(NW));
  FPixels = std::move(Kept);
  Descriptor.Left = static_cast<Word>(Descriptor.Left + Left);
  Descriptor.Top = static_cast<Word>(Descriptor.Top + Top);
  Descriptor.Width = static_cast<Word>(NW);
  Descriptor.Height = static_cast<Word>(NH);
  DropBitmaps();
}

void TGIFSubImage::HideUnchanged(TGIFSubImage* Previous) {
  if (IsEmpty() || !Previous || Previous->IsEmpty()) return;
  const Byte PreviousDisposal = Disposal(Previous);
  if (PreviousDisposal == 2 || PreviousDisposal == 3) return;
  const TRect Mine = FrameRect(), Theirs = Previous->FrameRect();
  if (!Intersects(Mine, Theirs)) return;
  const TRect Area{std::max(Mine.Left, Theirs.Left), std::max(Mine.Top, Theirs.Top),
                   std::min(Mine.Right, Theirs.Right), std::min(Mine.Bottom, Theirs.Bottom)};
  const bool WasTransparent = FHasTransparency && FControlExt;
  Integer Target = WasTransparent ? FControlExt->GetTransparentIndex() : -1;
  if (!WasTransparent) {
    const Integer Local = FLocalColors->Count(), Global = FImage->ScreenColors()->Count();
    const bool Room = Local > 0 ? Local <= 255 : (Global >= 1 && Global <= 255);
    if (!Room) return;
  }
  auto MakeTarget = [&]() -> Integer {
    if (FLocalColors->Count() > 0) return FLocalColors->AddColor(0);
    // Another transparent frame of the global table lends its index, unless this frame shows
    // that index as a colour.
    TGIFImageList* Frames = FImage->Frames();
    for (Integer I = 0; I < Frames->Count(); ++I) {
      TGIFSubImage* Other = Frames->SubImage(I);
      if (Other == this || !Other->HasTransparency() || !Other->ControlExt() ||
          Other->LocalColors()->Count() > 0)
        continue;
      const Byte Index = Other->ControlExt()->GetTransparentIndex();
      if (!UsesIndex(this, Index)) return Index;
      break;
    }
    return FImage->ScreenColors()->AddColor(0);
  };
  TGIFColorMap* MyColors = ActiveColors();
  TGIFColorMap* TheirColors = Previous->ActiveColors();
  const bool TheyHide = Previous->HasTransparency() && Previous->ControlExt();
  const Integer TheirT = TheyHide ? Previous->ControlExt()->GetTransparentIndex() : -1;
  for (Integer Y = Area.Top; Y < Area.Bottom; ++Y) {
    Byte* Row = RowAt(Y - GetTop());
    const Byte* Below = Previous->RowAt(Y - Previous->GetTop());
    for (Integer X = Area.Left; X < Area.Right; ++X) {
      Byte& P = Row[X - GetLeft()];
      const Byte Q = Below[X - Previous->GetLeft()];
      if (WasTransparent && P == Target) continue;
      if (TheyHide && Q == TheirT) continue;
      bool Same = MyColors == TheirColors && P == Q;
      if (!Same && P < MyColors->Count() && Q < TheirColors->Count())
        Same = MyColors->Entry(P) == TheirColors->Entry(Q);
      if (!Same) continue;
      if (Target < 0) Target = MakeTarget();
      P = static_cast<Byte>(Target);
    }
  }
  if (!WasTransparent && Target >= 0) {
    TGIFGraphicControlExtension* Control = FControlExt;
    if (!Control) {
      Control = new TGIFGraphicControlExtension(this);
      FExtensions->Add(Control);
    }
    Control->SetTransparent(true);
    Control->SetTransparentIndex(static_cast<Byte>(Target));
  }
  DropBitmaps();
}

void TGIFImage::Compact(TGIFCompactFlags Flags, Byte Method, Byte DitherMode, Integer Depth) {
  (void)DitherMode;
  (void)Depth;
  if (Empty()) return;
  HaltAllPainters();
  FPainterList->LockList();
  auto Unlock = ScopeExit([&] { FPainterList->UnlockList(); });
  const Integer Total = std::max<Integer>(6 * FFrames->Count(), 1);
  Integer Done = 0;
  auto Step = [&] {
    ++Done;
    Progress(this, psRunning, static_cast<Byte>(std::min<Integer>(Done * 100 / Total, 100)), false,
             "Optimizing...");
  };
  Progress(this, psStarting, 0, false, "Optimizing...");
  try {
    if (Flags & cfColorMaps) {
      if (FHeader->ColorMap()->Count() > 0) FHeader->ColorMap()->SortByUse();
      for (Integer I = 0; I < FFrames->Count(); ++I) {
        if (FFrames->SubImage(I)->LocalColors()->Count() > 0)
          FFrames->SubImage(I)->LocalColors()->SortByUse();
        Step();
      }
    }
    if (Flags & cfTidy) {
      for (Integer I = 0; I < FFrames->Count(); ++I) {
        TGIFSubImage* F = FFrames->SubImage(I);
        if (F->HasTransparency() && F->ControlExt() && !UsesIndex(F, F->ControlExt()->GetTransparentIndex()))
          F->ControlExt()->SetTransparent(false);
        Step();
      }
      for (Integer I = 0; I + 1 < FFrames->Count(); ++I) {
        TGIFSubImage *F = FFrames->SubImage(I), *Next = FFrames->SubImage(I + 1);
        const Byte D = Disposal(F);
        if (F->ControlExt() && (D == 2 || D == 3) && !Next->HasTransparency() &&
            Intersects(F->FrameRect(), Next->FrameRect()) && Covers(Next->FrameRect(), F->FrameRect()))
          F->ControlExt()->SetDisposalMethod(0);
        Step();
      }
    }
    if (Flags & cfMerge) {
      for (Integer B = FFrames->Count() - 1; B >= 1; --B) {
        Integer K = B - 1;
        while (K > 0 && FFrames->SubImage(K)->ControlExt() && Disposal(FFrames->SubImage(K)) == 3) --K;
        FFrames->SubImage(B)->HideUnchanged(FFrames->SubImage(K));
        Step();
      }
    }
    if (Flags & cfCrop) {
      for (Integer B = FFrames->Count() - 1; B >= 0; --B) {
        TGIFSubImage* F = FFrames->SubImage(B);
        if (F->IsEmpty() || !F->HasTransparency()) continue;
        const Word Delay = F->ControlExt() ? F->ControlExt()->GetDelayTime() : 0;
        F->TrimTransparent();
        if (F->IsEmpty()) {
          if (B > 0) {
            TGIFSubImage* Before = FFrames->SubImage(B - 1);
            if (Before->HasTransparency() && Before->ControlExt())
              Before->ControlExt()->SetDelayTime(
                  static_cast<Word>(Before->ControlExt()->GetDelayTime() + Delay));
          }
          FFrames->Delete(B);
        }
        Step();
      }
    }
    if (Flags & cfTidy) {
      const Integer Count = FFrames->Count();
      for (Integer B = FFrames->Count() - 1; B >= 0; --B) {
        TGIFSubImage* F = FFrames->SubImage(B);
        TGIFExtensionList* Exts = F->ExtensionBlocks();
        for (Integer E = Exts->Count() - 1; E >= 0; --E) {
          TGIFExtension* Ext = Exts->Extension(E);
          const bool Loop = dynamic_cast<TGIFAppExtNSLoop*>(Ext) != nullptr;
          if (dynamic_cast<TGIFCommentExtension*>(Ext) || dynamic_cast<TGIFTextExtension*>(Ext) ||
              dynamic_cast<TGIFUnknownAppExtension*>(Ext) || (Loop && (B != 0 || Count == 1)))
            Exts->Delete(E);
        }
        if (TGIFGraphicControlExtension* C = F->ControlExt()) {
          if ((C->GetDelayTime() == 0 || Count == 1) && !C->GetTransparent() && !C->GetUserInput() &&
              (C->GetDisposalMethod() < 2 || Count == 1))
            Exts->Delete(Exts->IndexOf(C));
        }
        if (F->IsEmpty() && Exts->Count() == 0) FFrames->Delete(B);
        Step();
      }
    }
    if (!(Flags & cfTidy) && (Flags & cfReduce) && Method == 9) RaiseGIFError("Invalid reduction method");
  } catch (...) {
    Progress(this, psEnding, 0, false, "Optimizing...");
    throw;
  }
  DropBackBitmap();
  Progress(this, psEnding, 100, false, "Optimizing...");
}
