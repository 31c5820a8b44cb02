// GIF colour tables: storage, palette conversion, stream form and sorting by use.
#include <algorithm>

#include "pictures/GIFImage.h"
#include "platform/gdi/Dib.h"
#include "platform/gdi/GdiObjects.h"

namespace {

TGIFColor FromTColor(TColor Color) {
  return {static_cast<Byte>(Color & 0xFF), static_cast<Byte>((Color >> 8) & 0xFF),
          static_cast<Byte>((Color >> 16) & 0xFF)};
}

TColor ToTColor(const TGIFColor& C) {
  return static_cast<TColor>(C.Red | (C.Green << 8) | (C.Blue << 16));
}

// Quicksort on the middle element, largest count first, as the table has always sorted.
void SortCounts(std::vector<TGIFColorMap::TUsageCount>& A, Integer L, Integer R) {
  while (L < R) {
    Integer I = L, J = R;
    const Integer Pivot = A[static_cast<std::size_t>((L + R) / 2)].Count;
    while (I <= J) {
      while (A[static_cast<std::size_t>(I)].Count > Pivot) ++I;
      while (A[static_cast<std::size_t>(J)].Count < Pivot) --J;
      if (I <= J) {
        std::swap(A[static_cast<std::size_t>(I)], A[static_cast<std::size_t>(J)]);
        ++I;
        --J;
      }
    }
    if (L < J) SortCounts(A, L, J);
    L = I;
  }
}

}  // namespace

void TGIFColorMap::Reset() {
  FColors.clear();
  FColors.shrink_to_fit();
  FCapacity = 0;
  FUsageSorted = false;
}

void TGIFColorMap::Reserve(Integer Count) {
  if (Count < FCapacity) return;
  FCapacity = Count <= 16 ? 16 : std::min<Integer>(((Count + 31) / 32) * 32, 256);
  FColors.reserve(static_cast<std::size_t>(FCapacity));
}

Integer TGIFColorMap::AddColor(TColor Color) {
  if (Count() >= 256) RaiseGIFError("Color table overflow");
  Reserve(Count() + 1);
  FColors.push_back(FromTColor(Color));
  FUsageSorted = false;
  ColorsChanged();
  return Count() - 1;
}

Integer TGIFColorMap::AddUniqueColor(TColor Color) {
  const Integer Index = FindColor(Color);
  return Index >= 0 ? Index : AddColor(Color);
}

Integer TGIFColorMap::FindColor(TColor Color) const {
  const TGIFColor C = FromTColor(Color);
  if (FUsageSorted) {
    for (Integer I = 0; I < Count(); ++I)
      if (Entry(I) == C) return I;
  } else {
    for (Integer I = Count() - 1; I >= 0; --I)
      if (Entry(I) == C) return I;
  }
  return -1;
}

void TGIFColorMap::DeleteColor(Integer Index) {
  if (Index < 0 || Index >= Count()) RaiseGIFError("Invalid color index");
  FColors.erase(FColors.begin() + Index);
  FUsageSorted = false;
  ColorsChanged();
}

TColor TGIFColorMap::ColorAt(Integer Index) {
  if (Count() == 0) RaiseGIFError("Color table is empty");
  if (Index < 0 || Index >= Count()) {
    Warn(1, "Invalid color index");
    Index = 0;
  }
  return ToTColor(Entry(Index));
}

void TGIFColorMap::SetColorAt(Integer Index, TColor Color) {
  if (Index < 0 || Index >= Count()) RaiseGIFError("Invalid color index");
  FColors[static_cast<std::size_t>(Index)] = FromTColor(Color);
  ColorsChanged();
}

void TGIFColorMap::FromPalette(HPALETTE Palette) {
  Reset();
  PALETTEENTRY Entries[256];
  const UINT N = Palette ? GetPaletteEntries(Palette, 0, 256, Entries) : 0;
  Reserve(static_cast<Integer>(N));
  for (UINT I = 0; I < N; ++I) FColors.push_back({Entries[I].peRed, Entries[I].peGreen, Entries[I].peBlue});
  if (N > 0) ColorsChanged();
}

void TGIFColorMap::FromRGBQuads(const RGBQUAD* Quads, Integer N) {
  Reset();
  N = std::clamp<Integer>(N, 0, 256);
  Reserve(N);
  for (Integer I = 0; I < N; ++I) FColors.push_back({Quads[I].rgbRed, Quads[I].rgbGreen, Quads[I].rgbBlue});
  ColorsChanged();
}

void TGIFColorMap::FromDIBColors(HDC DC) {
  RGBQUAD Quads[256];
  const UINT N = GetDIBColorTable(DC, 0, 256, Quads);
  FromRGBQuads(Quads, static_cast<Integer>(N));
}

HPALETTE TGIFColorMap::ToPalette() const {
  if (Count() == 0) return nullptr;
  LOGPALETTE Pal;
  Pal.palVersion = 0x300;
  Pal.palNumEntries = static_cast<WORD>(Count());
  for (Integer I = 0; I < Count(); ++I) {
    const TGIFColor& C = Entry(I);
    Pal.palPalEntry[I] = {C.Red, C.Green, C.Blue, PC_NOCOLLAPSE};
  }
  return CreatePalette(&Pal);
}

void TGIFColorMap::LoadFromStream(TStream* Stream, Integer N) {
  Reset();
  N = std::clamp<Integer>(N, 0, 256);
  Reserve(N);
  std::vector<TGIFColor> Read(static_cast<std::size_t>(N));
  ReadExact(Stream, Read.data(), 3 * N);
  FColors = std::move(Read);
}

void TGIFColorMap::SaveToStream(TStream* Stream) const {
  if (Count() == 0) return;
  Stream->WriteBuffer(FColors.data(), 3 * Count());
  const Integer Padded = 1 << Depth();
  const Byte Zero[3] = {0, 0, 0};
  for (Integer I = Count(); I < Padded; ++I) Stream->WriteBuffer(Zero, 3);
}

void TGIFColorMap::Assign(TPersistent* Source) {
  if (auto* Map = dynamic_cast<TGIFColorMap*>(Source)) {
    if (Map == this) return;
    FCapacity = Map->FCapacity;
    FColors = Map->FColors;
    FUsageSorted = Map->FUsageSorted;
    ColorsChanged();
    return;
  }
  TPersistent::Assign(Source);
}

bool TGIFColorMap::SortByUse() {
  if (Count() <= 1) return false;
  FUsageSorted = true;
  std::vector<TUsageCount> Counts(static_cast<std::size_t>(Count()));
  for (Integer I = 0; I < Count(); ++I) Counts[static_cast<std::size_t>(I)] = {0, I};
  CountUse(Counts);
  SortCounts(Counts, 0, Count() - 1);
  bool InOrder = true;
  for (Integer I = 0; I < Count() && InOrder; ++I) InOrder = Counts[static_cast<std::size_t>(I)].Index == I;
  if (InOrder) return true;
  std::vector<Byte> Map(static_cast<std::size_t>(Count()));
  for (Integer I = 0; I < Count(); ++I)
    Map[static_cast<std::size_t>(Counts[static_cast<std::size_t>(I)].Index)] = static_cast<Byte>(I);
  Remap(Map);
  std::vector<TGIFColor> Sorted(FColors.size());
  Integer Used = Count();
  for (Integer I = 0; I < Count(); ++I) {
    Sorted[static_cast<std::size_t>(I)] =
        FColors[static_cast<std::size_t>(Counts[static_cast<std::size_t>(I)].Index)];
    if (Counts[static_cast<std::size_t>(I)].Count == 0 && Used == Count()) Used = I;
  }
  Sorted.resize(static_cast<std::size_t>(Used));
  FColors = std::move(Sorted);
  ColorsChanged();
  return true;
}

// Global table: the frames that use it.

void TGIFGlobalColorMap::Warn(Byte Severity, const std::string& Message) {
  FHeader->Warn(Severity, Message);
}

void TGIFGlobalColorMap::CountUse(std::vector<TUsageCount>& Counts) {
  TGIFImageList* Frames = FHeader->GetImage()->Frames();
  for (Integer F = 0; F < Frames->Count(); ++F) {
    TGIFSubImage* Frame = Frames->SubImage(F);
    if (Frame->ActiveColors() != this || Frame->Data() == nullptr) continue;
    const Byte* P = Frame->Data();
    for (Integer I = 0; I < Frame->PixelCount(); ++I)
      if (P[I] < Counts.size()) ++Counts[P[I]].Count;
  }
}

void TGIFGlobalColorMap::Remap(const std::vector<Byte>& Map) {
  TGIFImageList* Frames = FHeader->GetImage()->Frames();
  for (Integer F = 0; F < Frames->Count(); ++F) {
    TGIFSubImage* Frame = Frames->SubImage(F);
    if (Frame->ActiveColors() != this) continue;
    Byte* P = Frame->Data();
    for (Integer I = 0; P && I < Frame->PixelCount(); ++I)
      if (P[I] < Map.size()) P[I] = Map[P[I]];
    if (Frame->HasTransparency() && Frame->ControlExt() &&
        Frame->ControlExt()->GetTransparentIndex() < Map.size())
      Frame->ControlExt()->SetTransparentIndex(Map[Frame->ControlExt()->GetTransparentIndex()]);
    Frame->DropBitmaps();
  }
}

bool TGIFGlobalColorMap::SortByUse() {
  if (FHeader->GetImage()->Frames()->Count() == 0) return false;
  return TGIFColorMap::SortByUse();
}

void TGIFGlobalColorMap::ColorsChanged() {
  FHeader->GetImage()->SetPalette(nullptr);
}

// Local table: its own frame.

void TGIFLocalColorMap::Warn(Byte Severity, const std::string& Message) {
  FSubImage->Warn(Severity, Message);
}

void TGIFLocalColorMap::CountUse(std::vector<TUsageCount>& Counts) {
  const Byte* P = FSubImage->Data();
  for (Integer I = 0; P && I < FSubImage->PixelCount(); ++I)
    if (P[I] < Counts.size()) ++Counts[P[I]].Count;
}

void TGIFLocalColorMap::Remap(const std::vector<Byte>& Map) {
  Byte* P = FSubImage->Data();
  for (Integer I = 0; P && I < FSubImage->PixelCount(); ++I)
    if (P[I] < Map.size()) P[I] = Map[P[I]];
  TGIFGraphicControlExtension* Ext = FSubImage->ControlExt();
  if (FSubImage->HasTransparency() && Ext && Ext->GetTransparentIndex() < Map.size())
    Ext->SetTransparentIndex(Map[Ext->GetTransparentIndex()]);
  FSubImage->DropBitmaps();
}

void TGIFLocalColorMap::ColorsChanged() {
  FSubImage->ReplacePalette(nullptr);
}
