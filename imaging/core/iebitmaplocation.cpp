// TIEBitmap: moving pixels between storages and holding them in a platform TBitmap.
#include <algorithm>
#include <cstring>

#include "imaging/core/iebitmap.h"
#include "imaging/core/iebitmapplatform.h"
#include "platform/classes/Bitmap.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Palettes.h"
#include "platform/system/Exceptions.h"
#include "platform/system/ScopeExit.h"

namespace {

// The platform formats a TIEBitmap can live in; nullopt-like pfCustom for the others.
TPixelFormat PlatformFormatOf(TIEPixelFormat Format) {
  switch (Format) {
    case ie1g:
      return pf1bit;
    case ie8p:
    case ie8g:
    case ie16g:  // held as ie8g
      return pf8bit;
    case ie24RGB:
      return pf24bit;
    case ie32RGB:
      return pf32bit;
    default:
      return pfCustom;
  }
}

const char* RefusedFormatMessage(TIEPixelFormat Format) {
  switch (Format) {
    case ie32f:
      return "ie32f pixel format not allowed when Location=ieTBitmap Please set "
             "TZezudIdView.LegacyBitmap=false.";
    case ieCMYK:
      return "ieCMYK pixel format not allowed when Location=ieTBitmap. Please set "
             "TZezudIdView.LegacyBitmap=false.";
    case ieRGB48:
      return "ieRGB48 pixel format not allowed when Location=ieTBitmap Please set "
             "TZezudIdView.LegacyBitmap=false.";
    case ieCIELab:
      return "ieCIELab pixel format not allowed when Location=ieTBitmap Please set "
             "TZezudIdView.LegacyBitmap=false.";
    default:
      return "";
  }
}

void SetGreyPalette(TBitmap* Bitmap) {
  TIERGBTriple Ramp[256];
  for (Integer I = 0; I < 256; ++I) Ramp[I] = TIERGBTriple{Byte(I), Byte(I), Byte(I)};
  IESetPlatformPalette(Bitmap, Ramp, 256);
}

bool IsGreyRamp(const std::vector<PALETTEENTRY>& Entries) {
  if (Entries.size() != 256) return false;
  for (size_t I = 0; I < Entries.size(); ++I)
    if (Entries[I].peRed != I || Entries[I].peGreen != I || Entries[I].peBlue != I) return false;
  return true;
}

}  // namespace

std::vector<PALETTEENTRY> IEPlatformColorTable(TBitmap* Bitmap) {
  std::vector<PALETTEENTRY> Entries(256);
  HPALETTE Palette = Bitmap->GetPalette();
  const UINT Count = Palette ? GetPaletteEntries(Palette, 0, 256, Entries.data()) : 0;
  Entries.resize(Count);
  return Entries;
}

void IESetPlatformPalette(TBitmap* Bitmap, const TIERGBTriple* Entries, Integer Count) {
  LOGPALETTE Log;
  Log.palNumEntries = static_cast<WORD>(std::min(Count, 256));
  for (Integer I = 0; I < Log.palNumEntries; ++I)
    Log.palPalEntry[I] = PALETTEENTRY{Entries[I].rgbtRed, Entries[I].rgbtGreen, Entries[I].rgbtBlue, 0};
  HPALETTE Palette = CreatePalette(&Log);
  Bitmap->SetPalette(Palette);
  DeleteObject(Palette);
}

void TIEPlatformBitmapRelease::operator()(TBitmap* Bitmap) const {
  delete Bitmap;
}

void TIEBitmap::CreateOwnPlatformBitmap() {
  if (FPlatformBitmap) return;
  FOwnedPlatformBitmap.reset(new TBitmap);
  FPlatformBitmap = FOwnedPlatformBitmap.get();
}

bool TIEBitmap::ShapePlatformBitmap() {
  const TPixelFormat Format = PlatformFormatOf(FPixelFormat);
  if (Format == pfCustom) throw Exception(RefusedFormatMessage(FPixelFormat));
  FPlatformBitmap->SetWidth(1);
  FPlatformBitmap->SetHeight(1);
  FPlatformBitmap->SetPixelFormat(Format);
  if (FPixelFormat == ie16g) FPixelFormat = ie8g;
  if (!ApplyFormatTable()) return false;
  FPlatformBitmap->SetSize(FWidth, FHeight);
  if (FPixelFormat == ie8g) SetGreyPalette(FPlatformBitmap);
  BuildRowTable();
  return true;
}

bool TIEBitmap::AllocatePlatformBitmap(Int64 Size) {
  if (IEGetMemorySize(false) < Size) return false;
  try {
    if (!FPlatformBitmapExternal) CreateOwnPlatformBitmap();
    return ShapePlatformBitmap();
  } catch (...) {
    return false;
  }
}

void TIEBitmap::SetLocation(TIELocation NewLocation) {
  if (NewLocation == FLocation) return;
  FNeedsAllocation = true;
  TIEBitmap Temp;
  MoveDataTo(&Temp);
  FLocation = NewLocation;
  if (Temp.IsEmpty()) {
    FPixelFormat = Temp.FPixelFormat;
    return;
  }
  if (!Allocate(Temp.FWidth, Temp.FHeight, Temp.FPixelFormat)) {
    Temp.MoveDataTo(this);  // the picture stays where it was
    return;
  }
  // The next Allocate reallocates, whichever storage the pixels are in now.
  auto Reallocate = ScopeExit([this] { FNeedsAllocation = true; });
  if (FLocation == Temp.FLocation) {
    Temp.MoveDataTo(this);
    return;
  }
  CopyRowsFrom(&Temp);
  const Integer Entries = std::min(GetPaletteLen(), Temp.GetPaletteLen());
  std::copy_n(Temp.FPalette.begin(), Entries, FPalette.begin());
  UpdateTBitmapPalette();
  FIsAlphaChannel = Temp.FIsAlphaChannel;
  FAlphaChannel = std::move(Temp.FAlphaChannel);
  FFull = Temp.FFull;  // the same pixels
}

void TIEBitmap::EncapsulateTBitmap(TBitmap* Bitmap, bool FreeCurrent) {
  if (FreeCurrent) FreeImage(true);
  if (!Bitmap) return;
  const TPixelFormat Platform = Bitmap->GetPixelFormat();
  TIEPixelFormat Format;
  switch (Platform) {
    case pf1bit:
      Format = ie1g;
      break;
    case pf24bit:
      Format = ie24RGB;
      break;
    case pf32bit:
    case pfDevice:  // the screen's 32 bits
      Format = ie32RGB;
      break;
    default:
      return;  // rows this class cannot describe: refused
  }
  if (Bitmap == FPlatformBitmap && Bitmap->GetWidth() == FWidth && Bitmap->GetHeight() == FHeight &&
      Format == FPixelFormat)
    return;
  // A bitmap of our own stays ours; any other is the caller's.
  const bool Own = FOwnedPlatformBitmap.get() == Bitmap;
  if (!Own) FOwnedPlatformBitmap.reset();
  FWidth = Bitmap->GetWidth();
  FHeight = Bitmap->GetHeight();
  FPixelFormat = Format;
  ApplyFormatTable();
  FLocation = ieTBitmap;
  FPlatformBitmapExternal = !Own;
  FPlatformBitmap = Bitmap;
  BuildRowTable();
}

void TIEBitmap::SyncFromTBitmap() {
  if (!FPlatformBitmap) return;
  TIEPixelFormat Format;
  switch (FPlatformBitmap->GetPixelFormat()) {
    case pf1bit:
      Format = ie1g;
      break;
    case pf8bit:
      Format = FIsAlphaChannel || IsGreyRamp(IEPlatformColorTable(FPlatformBitmap)) ? ie8g : ie8p;
      break;
    case pf32bit:
    case pfDevice:
      Format = ie32RGB;
      break;
    default:
      Format = ie24RGB;
      break;
  }
  const Integer W = FPlatformBitmap->GetWidth(), H = FPlatformBitmap->GetHeight();
  if (W != FWidth || H != FHeight || Format != FPixelFormat) {
    FWidth = W;
    FHeight = H;
    FPixelFormat = Format;
    ApplyFormatTable();
    if (FAlphaChannel && (FAlphaChannel->FWidth != W || FAlphaChannel->FHeight != H))
      FAlphaChannel->Allocate(W, H, ie8g);
    BuildRowTable();
  }
  if (FHeight > 0 && !FRowTable.empty() && FPlatformBitmap->GetScanLine(0) != FRowTable[0]) BuildRowTable();
  if (FPixelFormat == ie8p) {
    const std::vector<PALETTEENTRY> Entries = IEPlatformColorTable(FPlatformBitmap);
    FPalette.resize(Entries.size());
    for (size_t I = 0; I < Entries.size(); ++I)
      FPalette[I] = TIERGBTriple{Entries[I].peBlue, Entries[I].peGreen, Entries[I].peRed};
  }
}

void TIEBitmap::BuildRowTable() {
  FRowTable.clear();
  if (!FPlatformBitmap) return;
  const Integer Rows = std::min(FHeight, FPlatformBitmap->GetHeight());
  FRowTable.reserve(std::max(Rows, 0));
  for (Integer Y = 0; Y < Rows; ++Y) FRowTable.push_back(static_cast<Byte*>(FPlatformBitmap->GetScanLine(Y)));
}

void TIEBitmap::FreeRowTable() {
  FRowTable.clear();
}

void TIEBitmap::UpdateTBitmapPalette() {
  if (FLocation == ieTBitmap && FPlatformBitmap && !FPalette.empty())
    IESetPlatformPalette(FPlatformBitmap, FPalette.data(), GetPaletteLen());
}

void TIEBitmap::SetTBitmapOrientation() {
  if (!FPlatformBitmap) return;
  HDC DC = FPlatformBitmap->GetCanvas()->GetHandle();
  if (GetGraphicsMode(DC) == GM_ADVANCED) ModifyWorldTransform(DC, nullptr, MWT_IDENTITY);
}

TCanvas* TIEBitmap::GetCanvas() {
  if (FLocation != ieTBitmap) SetLocation(ieTBitmap);
  SetTBitmapOrientation();
  return FPlatformBitmap ? FPlatformBitmap->GetCanvas() : nullptr;
}

TBitmap* TIEBitmap::GetTBitmap() {
  SetLocation(ieTBitmap);
  SetTBitmapOrientation();
  return FPlatformBitmap;
}
