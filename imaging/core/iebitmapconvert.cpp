// TIEBitmap pixel-format conversion: running the table of pairs (direct rows, rows through
// 24-bit colour, colour reduction) and converting a bitmap in place.
#include <algorithm>
#include <array>
#include <memory>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/core/iebwconvert.h"
#include "imaging/core/ieconverttable.h"
#include "imaging/core/iepixelrows.h"
#include "imaging/core/iequantizer.h"
#include "platform/classes/Bitmap.h"

namespace {

void WritePalette(TIEBitmap* Dest, TIEPaletteWrite Palette) {
  TIERGBTriple* Entries = Dest->GetPaletteBuffer();
  const Integer Length = Dest->GetPaletteLen();
  if (!Entries) return;
  if (Palette == iepwBlackWhite) {
    // Only entries 0 and 1; the others keep what they held.
    if (Length > 0) Entries[0] = {0, 0, 0};
    if (Length > 1) Entries[1] = {255, 255, 255};
  } else if (Palette == iepwGreyRamp) {
    for (Integer I = 0; I < Length && I < 256; ++I) Entries[I] = {Byte(I), Byte(I), Byte(I)};
  }
}

// Reads each source row once and writes each target row once: file-backed bitmaps keep one
// view each. Via 24 converts every row into a 24-bit buffer first; the source is not changed.
void ConvertRows(TIEBitmap* Source, TIEBitmap* Dest, TIERowKernel FromSource, TIERowKernel To24Target,
                 const TIERowContext& C) {
  const Integer Width = Dest->GetWidth();
  const Integer Height = Dest->GetHeight();
  std::vector<TIERGBTriple> Colors(To24Target ? Width : 0);
  auto* Buffer = reinterpret_cast<Byte*>(Colors.data());
  for (Integer Y = 0; Y < Height; ++Y) {
    const auto* Src = static_cast<const Byte*>(Source->GetScanline(Y));
    if (To24Target) {
      FromSource(Src, Buffer, Width, Y, C);
      To24Target(Buffer, static_cast<Byte*>(Dest->GetScanline(Y)), Width, Y, C);
    } else {
      FromSource(Src, static_cast<Byte*>(Dest->GetScanline(Y)), Width, Y, C);
    }
  }
}

// Colours of a picture repeat; a direct-mapped cache of 64 K colours spares most searches.
class TIndexCache {
 public:
  explicit TIndexCache(const TIEQuantizer& Quantizer) : FQuantizer(Quantizer) { FKeys.fill(0xFFFFFFFFu); }
  Byte Index(const TIERGBTriple& C) {
    const Cardinal Key = C.rgbtBlue | (C.rgbtGreen << 8) | (C.rgbtRed << 16);
    const Cardinal Slot = (Key * 2654435761u) >> (32 - SlotBits);
    if (FKeys[Slot] != Key) {
      FKeys[Slot] = Key;
      FValues[Slot] = static_cast<Byte>(FQuantizer.RGBIndex(C));
    }
    return FValues[Slot];
  }

 private:
  static constexpr Cardinal SlotBits = 16;
  static constexpr Cardinal SlotCount = 1u << SlotBits;
  const TIEQuantizer& FQuantizer;
  std::array<Cardinal, SlotCount> FKeys;
  std::array<Byte, SlotCount> FValues{};
};

// Colour reduction of an ie24RGB Source to Dest's palette of PaletteUsed colours.
void Quantize(TIEBitmap* Source, TIEBitmap* Dest) {
  std::array<TIERGBTriple, 256> Palette{};
  const Integer Colors = std::clamp(Dest->GetPaletteUsed(), 1, 256);
  const TIEQuantizer Quantizer(Source, Palette, Colors);
  TIERGBTriple* Entries = Dest->GetPaletteBuffer();
  if (Entries) std::copy_n(Palette.begin(), std::min(Dest->GetPaletteLen(), 256), Entries);
  auto Cache = std::make_unique<TIndexCache>(Quantizer);
  const Integer Width = Dest->GetWidth();
  for (Integer Y = 0; Y < Dest->GetHeight(); ++Y) {
    const auto* Src = static_cast<const TIERGBTriple*>(Source->GetScanline(Y));
    auto* Indexes = static_cast<Byte*>(Dest->GetScanline(Y));
    for (Integer X = 0; X < Width; ++X) Indexes[X] = Cache->Index(Src[X]);
  }
}

// A 24-bit copy of Source in a bitmap of its own, for the conversions that need the whole
// picture in 24 bits; nullptr when it cannot be allocated.
std::unique_ptr<TIEBitmap> Copy24(TIEBitmap* Source) {
  auto Copy = std::make_unique<TIEBitmap>();
  if (!Copy->Allocate(Source->GetWidth(), Source->GetHeight(), ie24RGB)) return nullptr;
  const TIERowContext C = IEMakeRowContext(Source, Source);
  ConvertRows(Source, Copy.get(), IEConversionFor(Source->GetPixelFormat(), ie24RGB).Kernel, nullptr, C);
  return Copy;
}

// Fills Dest from Source of another format (same size); false when a working copy could not be
// allocated, in which case Dest's pixels are not defined.
bool ConvertPixels(TIEBitmap* Source, TIEBitmap* Dest) {
  const TIEPixelFormat From = Source->GetPixelFormat();
  const TIEPixelFormat To = Dest->GetPixelFormat();
  if (From >= IEPixelFormatCount || To == ieNull || To >= IEPixelFormatCount) return true;
  if (To == ie1g && Dest->GetBlackWhiteConversion() != 0) {
    if (Dest->GetBlackWhiteConversion() == 1) {
      TIELocalProgress Local;
      TIEIOProgress& Progress = Local.Progress;
      IEConvertToBWByThreshold(Source, Dest, IEThresholdMeanColor, Progress);
    }
    return true;
  }
  const TIEConversion& Pair = IEConversionFor(From, To);
  if (Pair.Kind == ieckQuantize || (To == ie8p && Pair.Kind == ieckVia24)) {
    if (From == ie24RGB) {
      Quantize(Source, Dest);
      return true;
    }
    const std::unique_ptr<TIEBitmap> Colors = Copy24(Source);
    if (!Colors) return false;
    Quantize(Colors.get(), Dest);
    return true;
  }
  const TIERowContext C = IEMakeRowContext(Source, Dest);
  if (Pair.Kind == ieckDirect) {
    WritePalette(Dest, Pair.Palette);
    ConvertRows(Source, Dest, Pair.Kernel, nullptr, C);
  } else {
    // Through 24 bits the 16-bit display range is the source's own, as when the source itself
    // would have been converted to 24 bits first.
    const TIERowContext SourceRange = IEMakeRowContext(Source, Source);
    TIERowContext Both = C;
    Both.RangeMin = SourceRange.RangeMin;
    Both.RangeMax = SourceRange.RangeMax;
    ConvertRows(Source, Dest, IEConversionFor(From, ie24RGB).Kernel, IEConversionFor(ie24RGB, To).Kernel,
                Both);
  }
  return true;
}

// An alpha channel of the same shape takes the rows where it is, without being allocated
// anew; any other becomes a copy.
void CopyAlphaChannel(TIEBitmap* From, TIEBitmap* To) {
  const bool SameShape = To->GetWidth() == From->GetWidth() && To->GetHeight() == From->GetHeight() &&
                         To->GetPixelFormat() == From->GetPixelFormat() &&
                         To->GetRowLen() == From->GetRowLen();
  if (!SameShape) {
    To->Assign(From);
    return;
  }
  for (Integer Y = 0; Y < From->GetHeight(); ++Y)
    std::copy_n(static_cast<const Byte*>(From->GetScanline(Y)), From->GetRowLen(),
                static_cast<Byte*>(To->GetScanline(Y)));
  To->SetFull(From->GetFull());
}

// Platform bitmaps hold these formats (ie8g as an 8-bit grey palette).
bool PlatformHolds(TIEPixelFormat Format) {
  return Format == ie1g || Format == ie8p || Format == ie8g || Format == ie24RGB || Format == ie32RGB;
}

}  // namespace

void TIEBitmap::CopyAndConvertFormat(TIEBitmap* Source) {
  if (!Source || Source == this) return;
  if (Source->GetWidth() != GetWidth() || Source->GetHeight() != GetHeight() || FLocation == ieTBitmap)
    return;
  if (Source->GetPixelFormat() != GetPixelFormat() && Source->GetPixelFormat() != ieNull)
    ConvertPixels(Source, this);
  if (Source->HasAlphaChannel())
    if (TIEBitmap* Alpha = GetAlphaChannel()) CopyAlphaChannel(Source->GetAlphaChannel(), Alpha);
  UpdateTBitmapPalette();
}

void TIEBitmap::SetPixelFormat(TIEPixelFormat NewPixelFormat) {
  if (NewPixelFormat != GetPixelFormat()) ConvertToPixelFormat(NewPixelFormat);
}

void TIEBitmap::ConvertToPixelFormat(TIEPixelFormat NewPixelFormat) {
  if (NewPixelFormat >= IEPixelFormatCount) return;
  if (FLocation == ieTBitmap) {
    TBitmap* Platform = FPlatformBitmap;
    if (!Platform) return;
    const TIEPixelFormat Current = GetPixelFormat();
    if (Platform->GetWidth() <= 0 || Platform->GetHeight() <= 0) {
      if (NewPixelFormat == ie1g)
        Platform->SetPixelFormat(pf1bit);
      else if (NewPixelFormat == ie24RGB)
        Platform->SetPixelFormat(pf24bit);
      else
        return;
    } else if (Current == ie24RGB && NewPixelFormat == ie1g) {
      if (FBlackWhiteConversion > 1) return;
      // A wrapper over the same platform bitmap is converted in place.
      TIEBitmap Wrapper;
      Wrapper.EncapsulateTBitmap(Platform, false);
      TIELocalProgress Local;
      TIEIOProgress& Progress = Local.Progress;
      if (FBlackWhiteConversion == 0)
        IEConvertToBWOrdered(&Wrapper, Progress);
      else
        IEConvertToBWThreshold(&Wrapper, IEThresholdMeanColor, Progress);
    } else if (Current != NewPixelFormat && PlatformHolds(NewPixelFormat)) {
      // Converted in a memory copy and taken back; a format the platform bitmap cannot hold
      // (16-bit, float, CMYK, 48-bit, Lab) leaves the picture as it is rather than leaving
      // fields that no longer describe its rows.
      TIEBitmap Work;
      Work.AssignImage(this);
      if (Work.IsEmpty()) return;
      Work.ConvertToPixelFormat(NewPixelFormat);
      if (Work.GetPixelFormat() != NewPixelFormat) return;
      AssignImage(&Work);
    } else {
      return;
    }
    FWidth = Platform->GetWidth();
    FHeight = Platform->GetHeight();
    FPixelFormat = NewPixelFormat;
    ApplyFormatTable();
    BuildRowTable();
    return;
  }
  // There is no kernel from a format to itself, and fresh storage would lose the pixels.
  if (NewPixelFormat == FPixelFormat) return;
  TIEBitmap Old;
  MoveDataTo(&Old);
  FWidth = Old.FWidth;
  FHeight = Old.FHeight;
  FPixelFormat = NewPixelFormat;
  if (Old.IsEmpty() || Old.FPixelFormat == ieNull) {
    AllocateStorage();
    return;
  }
  // The alpha channel comes back as it was instead of being copied.
  std::unique_ptr<TIEBitmap> Alpha = std::move(Old.FAlphaChannel);
  if (!AllocateStorage() || !ConvertPixels(&Old, this)) {
    // No room for the new pixels: the picture stays as it was.
    Old.FAlphaChannel = std::move(Alpha);
    Old.MoveDataTo(this);
    return;
  }
  FAlphaChannel = std::move(Alpha);
  UpdateTBitmapPalette();
}
