#include "imaging/core/iequantizer.h"

#include <algorithm>

#include "imaging/core/iebitmap.h"
#include "imaging/core/ieneuquant.h"
#include "imaging/core/stdquant.h"

Integer IEQuantizerMethod = -1;
Integer IENeuQuantQuality = -1;

namespace {

constexpr Integer MethodNeuQuant = 0;
constexpr Integer MethodStdQuantizer = 1;

Cardinal PackColor(const TIERGBTriple& C) {
  return C.rgbtBlue | (C.rgbtGreen << 8) | (C.rgbtRed << 16);
}

TIERGBTriple UnpackColor(Cardinal C) {
  return {static_cast<Byte>(C), static_cast<Byte>(C >> 8), static_cast<Byte>(C >> 16)};
}

Cardinal HashColor(Cardinal C) {
  return (C * 2654435761u) >> 16;
}

}  // namespace

Integer TIEQuantizer::TExactColors::Find(Cardinal Color) const {
  const auto Mask = static_cast<Cardinal>(Slots.size() - 1);
  for (Cardinal Slot = HashColor(Color) & Mask;; Slot = (Slot + 1) & Mask) {
    const Integer Index = Slots[Slot];
    if (Index < 0) return -1;
    if (Colors[Index] == Color) return Index;
  }
}

bool TIEQuantizer::TExactColors::Insert(Cardinal Color) {
  const auto Mask = static_cast<Cardinal>(Slots.size() - 1);
  for (Cardinal Slot = HashColor(Color) & Mask;; Slot = (Slot + 1) & Mask) {
    const Integer Index = Slots[Slot];
    if (Index >= 0) {
      if (Colors[Index] == Color) return false;
      continue;
    }
    Slots[Slot] = static_cast<Integer>(Colors.size());
    Colors.push_back(Color);
    return true;
  }
}

// Collects the picture's colours, rows from the top and pixels left to right; gives up as soon
// as there are more than the colour count.
bool TIEQuantizer::FindExactColors() {
  auto Exact = std::make_unique<TExactColors>();
  // At most a quarter full, so probes stay short.
  Integer SlotCount = 16;
  while (SlotCount < FColorCount * 4) SlotCount *= 2;
  Exact->Slots.assign(SlotCount, -1);
  Exact->Colors.reserve(std::max(FColorCount, 0));
  const Integer Width = FBitmap->GetWidth();
  const Integer Height = FBitmap->GetHeight();
  Cardinal Last = 0xFFFFFFFF;
  for (Integer Y = 0; Y < Height; ++Y) {
    const auto* Row = static_cast<const TIERGBTriple*>(FBitmap->GetScanline(Y));
    for (Integer X = 0; X < Width; ++X) {
      const Cardinal Color = PackColor(Row[X]);
      if (Color == Last) continue;
      Last = Color;
      if (Exact->Find(Color) >= 0) continue;
      if (static_cast<Integer>(Exact->Colors.size()) >= FColorCount) return false;
      Exact->Insert(Color);
    }
  }
  FExactColors = std::move(Exact);
  return true;
}

TIEQuantizer::TIEQuantizer(TIEBitmap* Bitmap, std::span<TIERGBTriple> Palette, Integer ColorCount)
    : FColorCount(ColorCount), FBitmap(Bitmap) {
  FGrayScale = Bitmap->IsGrayScale();
  const TIEPixelFormat Format = Bitmap->GetPixelFormat();
  const Integer Entries = std::max(0, std::min<Integer>(ColorCount, static_cast<Integer>(Palette.size())));
  if (!FGrayScale && Format == ie24RGB) {
    if (FindExactColors()) {
      const auto& Colors = FExactColors->Colors;
      for (Integer I = 0; I < static_cast<Integer>(Colors.size()) && I < Entries; ++I)
        Palette[I] = UnpackColor(Colors[I]);
      return;
    }
    const bool UseStd =
        IEQuantizerMethod == MethodStdQuantizer || (IEQuantizerMethod == -1 && ColorCount < 128);
    if (UseStd) {
      FMethod = MethodStdQuantizer;
      FStdQuantizer = StdQuantizerCreate(Bitmap, Palette.first(Entries), ColorCount);
    } else {
      FMethod = MethodNeuQuant;
      FNeuQuant = NeuQuantBuild(Bitmap, Palette.first(Entries), ColorCount, IENeuQuantQuality);
    }
    return;
  }
  if (Format == ie8p) {
    const Integer Own = std::min(Entries, Bitmap->GetPaletteLen());
    for (Integer I = 0; I < Own; ++I) Bitmap->GetPaletteColor(I, Palette[I]);
  } else if (FGrayScale && ColorCount > 0) {
    for (Integer I = 0; I < Entries; ++I) {
      const auto Level = static_cast<Byte>(256 / static_cast<Double>(ColorCount) * I);
      Palette[I] = {Level, Level, Level};
    }
  }
}

TIEQuantizer::~TIEQuantizer() {
  NeuQuantFree(FNeuQuant);
  StdQuantizerFree(FStdQuantizer);
}

Integer TIEQuantizer::RGBIndex(const TIERGBTriple& Color) const {
  if (FExactColors) return FExactColors->Find(PackColor(Color));
  if (FGrayScale) return Color.rgbtRed * FColorCount / 256;
  if (FMethod == MethodNeuQuant && FNeuQuant)
    return NeuQuantColorIndex(*FNeuQuant, static_cast<Integer>(PackColor(Color)));
  if (FMethod == MethodStdQuantizer && FStdQuantizer) return StdQuantizerColorIndex(*FStdQuantizer, Color);
  if (FBitmap->GetPixelFormat() == ie8p) {
    const Integer Length = FBitmap->GetPaletteLen();
    const TIERGBTriple* Entries = FBitmap->GetPaletteBuffer();
    for (Integer I = 0; I < Length; ++I)
      if (Entries[I] == Color) return I;
    return Length;
  }
  return 0;
}
