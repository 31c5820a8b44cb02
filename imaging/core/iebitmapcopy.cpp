// TIEBitmap: copying whole pictures, rectangles and palettes, and taking a platform TBitmap.
#include <algorithm>
#include <cstring>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/core/iebitmapplatform.h"
#include "imaging/core/ieprocbase.h"
#include "imaging/core/ieutilsbits.h"
#include "platform/classes/Bitmap.h"
#include "platform/system/ScopeExit.h"

namespace {

bool PlatformHoldsFormat(TIEPixelFormat Format) {
  return Format == ie1g || Format == ie8p || Format == ie8g || Format == ie24RGB || Format == ie32RGB;
}

// Bytes per pixel of the formats CopyRectTo copies byte for byte; 0 for ie1g and ieNull.
Integer BytesPerPixel(TIEPixelFormat Format) {
  return Format == ie1g ? 0 : IEBitsPerPixel[Format] / 8;
}

// The rectangle clipped to both bitmaps; false when nothing is left to copy.
struct TCopyRect {
  Integer SourceX, SourceY, DestX, DestY, Width, Height;
};

bool ClipCopyRect(TCopyRect& R, Integer SourceWidth, Integer SourceHeight, Integer DestWidth,
                  Integer DestHeight) {
  if (R.DestX < 0) {
    R.SourceX -= R.DestX;
    R.Width += R.DestX;
    R.DestX = 0;
  }
  if (R.DestY < 0) {
    R.SourceY -= R.DestY;
    R.Height += R.DestY;
    R.DestY = 0;
  }
  // A rectangle wholly past the right or bottom edge of either bitmap copies nothing.
  if (R.DestX >= DestWidth || R.DestY >= DestHeight || R.SourceX >= SourceWidth || R.SourceY >= SourceHeight)
    return false;
  // A negative source position moves to 0 without moving the destination.
  R.SourceX = std::max(R.SourceX, 0);
  R.SourceY = std::max(R.SourceY, 0);
  R.Width = std::min({R.Width, SourceWidth - R.SourceX, DestWidth - R.DestX});
  R.Height = std::min({R.Height, SourceHeight - R.SourceY, DestHeight - R.DestY});
  return R.Width > 0 && R.Height > 0;
}

void ExpandBitsTo24(Byte* Dest, const Byte* Source, Integer SourceX, Integer Count) {
  for (Integer I = 0; I < Count; ++I, Dest += 3) {
    const Byte V = IEGetBit(Source, SourceX + I) ? 255 : 0;
    Dest[0] = Dest[1] = Dest[2] = V;
  }
}

// Source rows that stay valid while the destination row is fetched: a file-backed bitmap
// copying into itself gets each row copied out first.
class TSourceRows {
 public:
  TSourceRows(TIEBitmap* Source, TIEBitmap* Dest)
      : FSource(Source), FCopy(Source == Dest && Source->GetLocation() == ieFile) {
    if (FCopy) FRow.resize(static_cast<size_t>(Source->GetRowLen()));
  }
  const Byte* Get(Integer Y) {
    const Byte* Row = static_cast<const Byte*>(FSource->GetScanline(Y));
    if (!FCopy) return Row;
    std::memcpy(FRow.data(), Row, FRow.size());
    return FRow.data();
  }

 private:
  TIEBitmap* FSource;
  bool FCopy;
  std::vector<Byte> FRow;
};

}  // namespace

void TIEBitmap::Assign(TObject* Source) {
  if (auto* Picture = dynamic_cast<TIEBitmap*>(Source)) {
    AssignBitmap(Picture, false);
  } else if (auto* Platform = dynamic_cast<TBitmap*>(Source)) {
    CopyFromTBitmap(Platform);
  }
}

void TIEBitmap::AssignImage(TIEBitmap* Source) {
  if (Source->IsEmpty()) return;
  AssignBitmap(Source, true);
}

void TIEBitmap::AssignBitmap(TIEBitmap* Source, bool ImageOnly) {
  if (Source == this) return;
  FNeedsAllocation = true;
  if (FLocation == ieTBitmap) {
    // The platform bitmap cannot hold the other formats: they are refused.
    if (Source->IsEmpty() || !PlatformHoldsFormat(Source->FPixelFormat)) return;
    if (!ImageOnly) FAlphaChannel.reset();
    FWidth = Source->FWidth;
    FHeight = Source->FHeight;
    FPixelFormat = Source->FPixelFormat;
    if (!ImageOnly) FBitAlignment = Source->FBitAlignment;
    CreateOwnPlatformBitmap();
    bool Shaped = false;
    try {
      Shaped = ShapePlatformBitmap();
    } catch (...) {
    }
    if (!Shaped) {
      FreeImage(!ImageOnly);
      return;
    }
  } else if (!IsEmpty() && FWidth == Source->FWidth && FHeight == Source->FHeight &&
             FPixelFormat == Source->FPixelFormat && (ImageOnly || FBitAlignment == Source->FBitAlignment)) {
    // Same layout: the storage is overwritten in place rather than given back and taken anew.
    FreeFileViews();
  } else {
    FreeImage(!ImageOnly);
    FWidth = Source->FWidth;
    FHeight = Source->FHeight;
    FPixelFormat = Source->FPixelFormat;
    if (!ImageOnly) FBitAlignment = Source->FBitAlignment;
    if (!AllocateStorage()) {
      FreeImage(!ImageOnly);  // empty rather than a size without pixels
      return;
    }
  }
  FFull = ImageOnly ? false : Source->FFull;
  CopyStorageFrom(Source);
  if (!ImageOnly && !FIsAlphaChannel) {
    if (Source->FAlphaChannel)
      GetAlphaChannel()->Assign(Source->FAlphaChannel.get());
    else
      RemoveAlphaChannel(false, clWhite);
  }
  Source->CopyPaletteTo(this);
  if (!ImageOnly) FBlackWhiteConversion = Source->FBlackWhiteConversion;
}

void TIEBitmap::CopyStorageFrom(TIEBitmap* Source) {
  const Byte SourceAccess = Source->FAccess, OwnAccess = FAccess;
  auto Restore = ScopeExit([&] {
    Source->FAccess = SourceAccess;
    FAccess = OwnAccess;
  });
  Source->FAccess = iedRead;
  FAccess = iedWrite;
  if (FLocation == ieFile && Source->FLocation == ieFile && FRowLen == Source->FRowLen &&
      FHeight == Source->FHeight) {
    FreeFileViews();
    Source->FreeFileViews();
    Source->FFileBuffer->CopyTo(FFileBuffer.get(), 0, static_cast<Int64>(FRowLen) * FHeight);
    return;
  }
  CopyRowsFrom(Source);
}

void TIEBitmap::CopyPaletteTo(TObject* Dest) {
  auto* Target = dynamic_cast<TIEBitmap*>(Dest);
  if (!Target || Target == this) return;
  if (!Target->FPalette.empty()) {
    Target->FPalette.clear();
    Target->FPaletteUsed = 256;
  }
  if (FPalette.empty()) return;
  Target->FPalette = FPalette;
  Target->FPaletteUsed = FPaletteUsed;
  Target->UpdateTBitmapPalette();
}

void TIEBitmap::CopyRectTo(TIEBitmap* Dest, Integer SourceX, Integer SourceY, Integer DestX, Integer DestY,
                           Integer AWidth, Integer AHeight) {
  TCopyRect R{SourceX, SourceY, DestX, DestY, AWidth, AHeight};
  if (!ClipCopyRect(R, GetWidth(), GetHeight(), Dest->GetWidth(), Dest->GetHeight())) return;
  const TIEPixelFormat From = FPixelFormat, To = Dest->FPixelFormat;
  TSourceRows Rows(this, Dest);
  if (From == ie1g && To == ie1g) {
    for (Integer Y = 0; Y < R.Height; ++Y) {
      const Byte* S = Rows.Get(R.SourceY + Y);
      IECopyBits(static_cast<Byte*>(Dest->GetScanline(R.DestY + Y)), S, R.DestX, R.SourceX, R.Width, FRowLen);
    }
  } else if (From == ie1g && To == ie24RGB) {
    for (Integer Y = 0; Y < R.Height; ++Y) {
      const Byte* S = Rows.Get(R.SourceY + Y);
      ExpandBitsTo24(static_cast<Byte*>(Dest->GetScanline(R.DestY + Y)) + R.DestX * 3, S, R.SourceX, R.Width);
    }
  } else if (From == To && BytesPerPixel(From) > 0) {
    const Integer Bpp = BytesPerPixel(From);
    const size_t Bytes = static_cast<size_t>(R.Width) * Bpp;
    for (Integer Y = 0; Y < R.Height; ++Y) {
      const Byte* S = Rows.Get(R.SourceY + Y);
      std::memmove(static_cast<Byte*>(Dest->GetScanline(R.DestY + Y)) + static_cast<size_t>(R.DestX) * Bpp,
                   S + static_cast<size_t>(R.SourceX) * Bpp, Bytes);
    }
  }
}

void TIEBitmap::CopyAlphaRectTo(TIEBitmap* Dest, Integer SourceX, Integer SourceY, Integer DestX,
                                Integer DestY, Integer AWidth, Integer AHeight) {
  TIEBitmap* From = GetAlphaChannel();
  TIEBitmap* To = Dest->GetAlphaChannel();
  if (!From || !To || From->FPixelFormat != ie8g || To->FPixelFormat != ie8g) return;
  TCopyRect R{SourceX, SourceY, DestX, DestY, AWidth, AHeight};
  if (!ClipCopyRect(R, From->GetWidth(), From->GetHeight(), To->GetWidth(), To->GetHeight())) return;
  TSourceRows Rows(From, To);
  for (Integer Y = 0; Y < R.Height; ++Y) {
    const Byte* S = Rows.Get(R.SourceY + Y) + R.SourceX;
    Byte* D = static_cast<Byte*>(To->GetScanline(R.DestY + Y)) + R.DestX;
    for (Integer X = 0; X < R.Width; ++X) D[X] = std::max(D[X], S[X]);
  }
}

// Taking a platform TBitmap.

void TIEBitmap::CopyFromTBitmap(TBitmap* Bitmap) {
  if (!Bitmap) return;
  if (FLocation == ieTBitmap) {
    CopyIntoPlatformBitmap(Bitmap);
    return;
  }
  const TPixelFormat Platform = Bitmap->GetPixelFormat();
  const std::vector<PALETTEENTRY> Table = IEPlatformColorTable(Bitmap);
  const bool Monochrome = Platform == pf1bit && Table.size() == 2 && Table[0] == PALETTEENTRY{0, 0, 0, 0} &&
                          Table[1] == PALETTEENTRY{255, 255, 255, 0};
  TIEPixelFormat Format;
  switch (Platform) {
    case pf1bit:
      Format = Monochrome ? ie1g : ie8p;
      break;
    case pf4bit:
    case pf8bit:
      Format = ie8p;
      break;
    case pf15bit:
    case pf16bit:
    case pf24bit:
      Format = ie24RGB;
      break;
    case pf32bit:
      Format = ie32RGB;
      break;
    default:
      return;  // device-dependent and custom formats
  }
  const Integer W = Bitmap->GetWidth(), H = Bitmap->GetHeight();
  if (!Allocate(W, H, Format)) return;
  FFull = false;
  if (Format == ie8p) {
    const Integer Entries = std::min(static_cast<Integer>(Table.size()), GetPaletteLen());
    for (Integer I = 0; I < Entries; ++I)
      FPalette[I] = TIERGBTriple{Table[I].peBlue, Table[I].peGreen, Table[I].peRed};
  }
  const Integer PlatformRowLen = static_cast<Integer>(IETBitmapRowLen(W, Platform));
  const size_t Bytes = static_cast<size_t>(std::min(FRowLen, PlatformRowLen));
  for (Integer Y = 0; Y < H; ++Y) {
    const Byte* S = static_cast<const Byte*>(Bitmap->GetScanLine(Y));
    Byte* D = static_cast<Byte*>(GetScanline(Y));
    if (Platform == pf1bit && !Monochrome) {
      for (Integer X = 0; X < W; ++X) D[X] = IEGetBit(S, X) ? 1 : 0;
    } else if (Platform == pf4bit) {
      for (Integer X = 0; X < W; ++X) D[X] = (X & 1) ? (S[X >> 1] & 0x0F) : (S[X >> 1] >> 4);
    } else if (Platform == pf15bit || Platform == pf16bit) {
      const bool Is565 = Platform == pf16bit;
      for (Integer X = 0; X < W; ++X, D += 3) {
        const Word V = static_cast<Word>(S[2 * X] | (S[2 * X + 1] << 8));
        D[0] = static_cast<Byte>((V & 0x1F) << 3);
        D[1] = static_cast<Byte>(Is565 ? ((V & 0x7E0) >> 5) << 2 : ((V & 0x3E0) >> 5) << 3);
        D[2] = static_cast<Byte>(Is565 ? ((V & 0xF800) >> 11) << 3 : ((V & 0x7C00) >> 10) << 3);
      }
    } else {
      std::memcpy(D, S, Bytes);
    }
  }
}

void TIEBitmap::CopyIntoPlatformBitmap(TBitmap* Bitmap) {
  CreateOwnPlatformBitmap();
  const TPixelFormat Platform = Bitmap->GetPixelFormat();
  if (Platform == pf1bit || Platform == pf24bit || Platform == pf32bit) {
    IECopyTBitmap(Bitmap, FPlatformBitmap);
  } else {
    // Other depths become 24 bits; the caller's bitmap is not touched.
    IECopyTBitmap(Bitmap, FPlatformBitmap);
    FPlatformBitmap->SetPixelFormat(pf24bit);
  }
  FWidth = FPlatformBitmap->GetWidth();
  FHeight = FPlatformBitmap->GetHeight();
  const TPixelFormat Own = FPlatformBitmap->GetPixelFormat();
  FPixelFormat = Own == pf1bit ? ie1g : Own == pf32bit ? ie32RGB : ie24RGB;
  ApplyFormatTable();
  BuildRowTable();
}
