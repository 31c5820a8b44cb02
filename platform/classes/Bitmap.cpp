#include "platform/classes/Bitmap.h"

#include <algorithm>
#include <cstring>
#include <mutex>

#include "platform/classes/BitmapCopy.h"
#include "platform/classes/BmpFile.h"
#include "platform/gdi/Blit.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Dib.h"
#include "platform/gdi/Painting.h"
#include "platform/gdi/Palettes.h"
#include "platform/system/Exceptions.h"
#include "platform/system/Streams.h"

namespace {

constexpr UINT ClipboardBitmapFormat = 2;  // CF_BITMAP

// ---- The bitmap canvases that hold a DC, for FreeMemoryContexts ----

std::recursive_mutex& CanvasListLock() {
  static std::recursive_mutex Lock;
  return Lock;
}
std::vector<TBitmapCanvas*>& CanvasList() {
  static std::vector<TBitmapCanvas*> List;
  return List;
}

RGBQUAD Quad(const PALETTEENTRY& E) {
  return RGBQUAD{E.peBlue, E.peGreen, E.peRed, 0};
}

// The colours a new indexed bitmap gets: black and white, the 16 VGA colours, or the
// halftone palette.
std::vector<RGBQUAD> DefaultColors(Integer BitCount) {
  std::vector<RGBQUAD> T;
  if (BitCount == 1) {
    T = {RGBQUAD{0, 0, 0, 0}, RGBQUAD{255, 255, 255, 0}};
  } else if (BitCount == 4) {
    const PALETTEENTRY* S = DefaultPaletteEntries();
    for (Integer I : {0, 1, 2, 3, 4, 5, 6, 7, 12, 13, 14, 15, 16, 17, 18, 19}) T.push_back(Quad(S[I]));
  } else if (BitCount == 8) {
    PALETTEENTRY E[256];
    GetSystemPaletteEntries(nullptr, 0, 256, E);
    for (const PALETTEENTRY& P : E) T.push_back(Quad(P));
  }
  return T;
}

constexpr DWORD Masks565[3] = {0xF800, 0x07E0, 0x001F};
constexpr DWORD Masks555[3] = {0x7C00, 0x03E0, 0x001F};

bool SameMasks(const DWORD* A, const DWORD* B) {
  return A[0] == B[0] && A[1] == B[1] && A[2] == B[2];
}

// A copy of a bitmap handle of the same kind, format and orientation.
HBITMAP CopyBitmapHandle(HBITMAP Source) {
  HBITMAP Copy = DuplicateBitmap(Source);
  if (Copy == nullptr) throw EOutOfResources("Out of system resources");
  return Copy;
}

// A monochrome bitmap with 1 bits where Source shows Color. Indexed sources match every entry
// showing the colour of the entry nearest to Color; others compare raw pixels.
HBITMAP BuildMask(HBITMAP Source, COLORREF Color) {
  const TSurface& S = Source->Surface;
  HBITMAP Mask = CreateBitmap(S.Width, S.Height, 1, 1, nullptr);
  if (Mask == nullptr) throw EOutOfResources("Out of system resources");
  const TSurface& M = Mask->Surface;
  Color &= 0x00FFFFFF;
  const DWORD Key = ColorToPixel(S, Color);
  bool Match[256] = {};
  if (S.IsIndexed()) {
    const COLORREF Shown = PixelToColor(S, Key);
    for (Integer I = 0; I < (1 << S.Bpp); ++I) Match[I] = PixelToColor(S, static_cast<DWORD>(I)) == Shown;
  }
  const DWORD RgbMask =
      S.Bpp == 32 ? (S.Format == TSurfaceFormat::pf32 ? 0x00FFFFFFu : (S.Masks[0] | S.Masks[1] | S.Masks[2]))
                  : S.PixelMask();
  for (Integer Y = 0; Y < S.Height; ++Y) {
    Byte* Out = M.Row(Y);
    const Byte* In = S.Row(Y);
    auto Set = [Out](Integer X) { Out[X >> 3] = static_cast<Byte>(Out[X >> 3] | (0x80 >> (X & 7))); };
    switch (S.Bpp) {
      case 32:
        for (Integer X = 0; X < S.Width; ++X) {
          DWORD V;
          std::memcpy(&V, In + 4 * X, 4);
          if ((V & RgbMask) == (Key & RgbMask)) Set(X);
        }
        break;
      case 24:
        for (Integer X = 0; X < S.Width; ++X, In += 3)
          if ((In[0] | (In[1] << 8) | (In[2] << 16)) == static_cast<Integer>(Key)) Set(X);
        break;
      case 16:
        for (Integer X = 0; X < S.Width; ++X)
          if (static_cast<DWORD>(In[2 * X] | (In[2 * X + 1] << 8)) == Key) Set(X);
        break;
      default:
        for (Integer X = 0; X < S.Width; ++X)
          if (Match[GetRawPixel(S, X, Y)]) Set(X);
        break;
    }
  }
  return Mask;
}

HPALETTE PaletteOfColors(const std::vector<RGBQUAD>& Colors) {
  LOGPALETTE Log;
  Log.palNumEntries = static_cast<WORD>(std::min<std::size_t>(Colors.size(), 256));
  for (WORD I = 0; I < Log.palNumEntries; ++I)
    Log.palPalEntry[I] = PALETTEENTRY{Colors[I].rgbRed, Colors[I].rgbGreen, Colors[I].rgbBlue, 0};
  return CreatePalette(&Log);
}

std::vector<PALETTEENTRY> EntriesOf(HPALETTE Palette) {
  std::vector<PALETTEENTRY> E(256);
  E.resize(GetPaletteEntries(Palette, 0, 256, E.data()));
  return E;
}

HPALETTE CopyPalette(HPALETTE Palette) {
  if (Palette == nullptr) return nullptr;
  LOGPALETTE Log;
  const std::vector<PALETTEENTRY> E = EntriesOf(Palette);
  Log.palNumEntries = static_cast<WORD>(E.size());
  std::copy(E.begin(), E.end(), Log.palPalEntry);
  return CreatePalette(&Log);
}

}  // namespace

// ---- TBitmapCanvas ----

TBitmapCanvas::TBitmapCanvas(TBitmap* ABitmap) : FBitmap(ABitmap) {}

TBitmapCanvas::~TBitmapCanvas() {
  FreeContext();
}

void TBitmapCanvas::CreateHandle() {
  if (FBitmap == nullptr) return;
  std::lock_guard<std::recursive_mutex> Guard(CanvasListLock());
  HDC DC = CreateCompatibleDC(nullptr);
  FOldBitmap = FBitmap->FHandle ? SelectObject(DC, FBitmap->FHandle) : nullptr;
  HPALETTE Palette = FBitmap->GetPalette();
  FOldPalette = Palette ? SelectPalette(DC, Palette, TRUE) : nullptr;
  if (Palette) RealizePalette(DC);
  SetHandle(DC);
  CanvasList().push_back(this);
}

void TBitmapCanvas::FreeContext() {
  if (FHandle == nullptr) return;
  std::lock_guard<std::recursive_mutex> Guard(CanvasListLock());
  HDC DC = FHandle;
  SetHandle(nullptr);
  if (FOldBitmap) SelectObject(DC, FOldBitmap);
  if (FOldPalette) SelectPalette(DC, FOldPalette, TRUE);
  FOldBitmap = nullptr;
  FOldPalette = nullptr;
  DeleteDC(DC);
  auto& List = CanvasList();
  List.erase(std::remove(List.begin(), List.end(), this), List.end());
}

void FreeMemoryContexts() {
  std::lock_guard<std::recursive_mutex> Guard(CanvasListLock());
  const std::vector<TBitmapCanvas*> List = CanvasList();
  for (TBitmapCanvas* C : List) {
    if (!C->TryLock()) continue;
    C->FreeContext();
    C->Unlock();
  }
}

// ---- TBitmap: handles and formats ----

TBitmap::TBitmap() = default;

TBitmap::~TBitmap() {
  FCanvas.reset();
  if (FHandle) DeleteObject(FHandle);
  FreeMask();
  FreePalette();
}

TBitmap::TFormat TBitmap::FormatOf(HBITMAP Bitmap) {
  TFormat F;
  F.BitCount = Bitmap->Surface.Bpp;
  F.Bitfields = Bitmap->Header.biCompression == BI_BITFIELDS;
  if (F.Bitfields) std::memcpy(F.Masks, Bitmap->Surface.Masks, sizeof(F.Masks));
  if (F.BitCount <= 8) F.Colors = Bitmap->ColorTable;
  F.Device = !Bitmap->IsDibSection;
  return F;
}

HBITMAP TBitmap::NewDib(const TFormat& Format, Integer Width, Integer Height) {
  HBITMAP B;
  if (Format.Device && Format.BitCount == 1) {
    B = CreateBitmap(Width, Height, 1, 1, nullptr);  // a monochrome device bitmap
  } else {
    BITMAPINFO BI;
    BI.bmiHeader.biWidth = Width;
    BI.bmiHeader.biHeight = Height;
    BI.bmiHeader.biBitCount = static_cast<WORD>(Format.Device ? 32 : Format.BitCount);
    if (!Format.Device && Format.Bitfields) {
      BI.bmiHeader.biCompression = BI_BITFIELDS;
      std::memcpy(BI.bmiColors, Format.Masks, sizeof(Format.Masks));
    } else if (!Format.Device && Format.BitCount <= 8) {
      const std::vector<RGBQUAD> Colors =
          Format.Colors.empty() ? DefaultColors(Format.BitCount) : Format.Colors;
      const std::size_t N = std::min<std::size_t>(Colors.size(), std::size_t{1} << Format.BitCount);
      std::copy(Colors.begin(), Colors.begin() + static_cast<std::ptrdiff_t>(N), BI.bmiColors);
      BI.bmiHeader.biClrUsed = static_cast<DWORD>(N);
    }
    B = CreateDIBSection(nullptr, &BI, DIB_RGB_COLORS, nullptr, nullptr, 0);
  }
  if (B == nullptr) throw EOutOfResources("Out of system resources");
  return B;
}

void TBitmap::ReplaceHandle(HBITMAP NewHandle) {
  FreeContext();
  if (FHandle && FHandle != NewHandle) DeleteObject(FHandle);
  FHandle = NewHandle;
  FreeMask();
  if (FPalette && (NewHandle == nullptr || NewHandle->Surface.Bpp <= 8 || FFormat.BitCount <= 8))
    FreePalette();
  if (NewHandle) FFormat = FormatOf(NewHandle);
  FWidth = NewHandle ? NewHandle->Surface.Width : 0;
  FHeight = NewHandle ? NewHandle->Surface.Height : 0;
}

void TBitmap::FreeContext() {
  if (FCanvas) FCanvas->FreeContext();
}

void TBitmap::FreeMask() {
  if (FMaskHandle) DeleteObject(FMaskHandle);
  FMaskHandle = nullptr;
  FMaskValid = false;
}

void TBitmap::FreePalette() {
  if (FPalette) DeleteObject(FPalette);
  FPalette = nullptr;
}

void TBitmap::Changed(TObject* Sender) {
  FMaskValid = false;
  TGraphic::Changed(Sender);
}

void TBitmap::CanvasChanging(TObject*) {}

TCanvas* TBitmap::GetCanvas() {
  if (!FCanvas) {
    FCanvas = std::make_unique<TBitmapCanvas>(this);
    FCanvas->OnChange = TNotifyEvent(this, &TBitmap::Changed);
    FCanvas->OnChanging = TNotifyEvent(this, &TBitmap::CanvasChanging);
  }
  return FCanvas.get();
}

void TBitmap::SetHandle(HBITMAP Value) {
  if (Value == FHandle) return;
  ReplaceHandle(Value);
  Changed(this);
}

HBITMAP TBitmap::ReleaseHandle() {
  FreeContext();
  HBITMAP H = FHandle;
  FHandle = nullptr;
  FreeMask();
  return H;
}

// ---- Size ----

Integer TBitmap::GetWidth() {
  return FWidth;
}
Integer TBitmap::GetHeight() {
  return FHeight;
}
void TBitmap::SetWidth(Integer Value) {
  SetSize(Value, GetHeight());
}
void TBitmap::SetHeight(Integer Value) {
  SetSize(GetWidth(), Value);
}

void TBitmap::SetSize(Integer NewWidth, Integer NewHeight) {
  NewWidth = std::max(NewWidth, 0);
  NewHeight = std::max(NewHeight, 0);
  if (NewWidth == GetWidth() && NewHeight == GetHeight()) return;
  const TFormat Format = FFormat;
  HBITMAP New = nullptr;
  if (NewWidth > 0 && NewHeight > 0) {
    New = NewDib(Format, NewWidth, NewHeight);
    if (FCanvas) {
      HDC DC = CreateCompatibleDC(nullptr);
      HGDIOBJ Old = SelectObject(DC, New);
      const RECT R{0, 0, NewWidth, NewHeight};
      ::FillRect(DC, &R, FCanvas->GetBrush()->GetHandle());
      SelectObject(DC, Old);
      DeleteDC(DC);
    } else {
      std::memset(New->Bits(), 0xFF, New->BitsSize());  // WHITENESS
    }
    if (FHandle) {
      const TSurface& S = FHandle->Surface;
      const TSurface& D = New->Surface;
      const Integer W = std::min(S.Width, D.Width);
      for (Integer Y = 0; Y < std::min(S.Height, D.Height); ++Y)
        ConvertRow(S, S.Row(Y), 0, D, D.Row(Y), 0, W);
    }
  }
  ReplaceHandle(New);
  FFormat = Format;
  // An empty bitmap still remembers the side that was set (Width first, then Height).
  FWidth = NewWidth;
  FHeight = NewHeight;
  Changed(this);
}

// ---- Formats ----

TBitmapHandleType TBitmap::GetHandleType() const {
  return FFormat.Device ? bmDDB : bmDIB;
}

TPixelFormat TBitmap::GetPixelFormat() const {
  if (FFormat.Device) return pfDevice;
  switch (FFormat.BitCount) {
    case 1:
      return pf1bit;
    case 4:
      return pf4bit;
    case 8:
      return pf8bit;
    case 16:
      if (!FFormat.Bitfields || SameMasks(FFormat.Masks, Masks555)) return pf15bit;
      return SameMasks(FFormat.Masks, Masks565) ? pf16bit : pfCustom;
    case 24:
      return pf24bit;
    case 32:
      if (!FFormat.Bitfields) return pf32bit;
      return FFormat.Masks[0] == 0x00FF0000 && FFormat.Masks[1] == 0x0000FF00 &&
                     FFormat.Masks[2] == 0x000000FF
                 ? pf32bit
                 : pfCustom;
    default:
      return pfCustom;
  }
}

void TBitmap::SetPixelFormat(TPixelFormat Value) {
  if (Value == GetPixelFormat()) return;
  TFormat F;
  F.Device = false;
  switch (Value) {
    case pfDevice:
      F.Device = true;
      break;
    case pf1bit:
      F.BitCount = 1;
      F.Colors = DefaultColors(1);
      break;
    case pf4bit:
    case pf8bit:
      F.BitCount = Value == pf4bit ? 4 : 8;
      // An indexed bitmap keeps its colours where they fit.
      if (FFormat.BitCount <= 8 && !FFormat.Device && FFormat.Colors.size() <= (std::size_t{1} << F.BitCount))
        F.Colors = FFormat.Colors;
      else
        F.Colors = DefaultColors(F.BitCount);
      break;
    case pf15bit:
      F.BitCount = 16;
      break;
    case pf16bit:
      F.BitCount = 16;
      F.Bitfields = true;
      std::memcpy(F.Masks, Masks565, sizeof(F.Masks));
      break;
    case pf24bit:
      F.BitCount = 24;
      break;
    case pf32bit:
      F.BitCount = 32;
      break;
    default:
      throw EInvalidGraphic("Invalid pixel format");
  }
  if (F.Device) F.BitCount = 32;
  ConvertTo(F);
}

void TBitmap::ConvertTo(const TFormat& Format) {
  if (FHandle) {
    HBITMAP New = NewDib(Format, GetWidth(), GetHeight());
    const TSurface& S = FHandle->Surface;
    const TSurface& D = New->Surface;
    for (Integer Y = 0; Y < S.Height; ++Y) ConvertRow(S, S.Row(Y), 0, D, D.Row(Y), 0, S.Width);
    ReplaceHandle(New);
  }
  FFormat = Format;
  Changed(this);
}

void TBitmap::SetHandleType(TBitmapHandleType Value) {
  if (Value == GetHandleType()) return;
  TFormat F = FFormat;
  F.Device = Value == bmDDB;
  if (F.Device) {
    // The screen's depth, or a monochrome device bitmap.
    F.BitCount = GetMonochrome() ? 1 : 32;
    F.Bitfields = false;
  }
  if (F.BitCount <= 8 && F.Colors.empty()) F.Colors = DefaultColors(F.BitCount);
  ConvertTo(F);
}

bool TBitmap::GetMonochrome() const {
  return FFormat.BitCount == 1;
}

void TBitmap::SetMonochrome(bool Value) {
  if (Value == GetMonochrome()) return;
  if (!Value) {
    SetPixelFormat(pfDevice);
    return;
  }
  TFormat F;
  F.BitCount = 1;
  F.Device = FFormat.Device;
  F.Colors = DefaultColors(1);
  ConvertTo(F);
}

void* TBitmap::GetScanLine(Integer Row) {
  if (FHandle == nullptr || Row < 0 || Row >= FHandle->Surface.Height)
    throw EInvalidGraphicOperation("Scan line index out of range");
  // The caller may change the pixels: the mask is made again when next asked for.
  FMaskValid = false;
  return FHandle->Surface.Row(Row);
}

// ---- Transparency and mask ----

TColor TBitmap::GetTransparentColor() {
  TColor C;
  if (FTransparentColor != clDefault) {
    C = static_cast<TColor>(ColorToRGB(FTransparentColor));
  } else if (GetMonochrome()) {
    C = clWhite;
  } else if (FHandle == nullptr) {
    C = static_cast<TColor>(CLR_INVALID);
  } else {
    const TSurface& S = FHandle->Surface;
    C = static_cast<TColor>(PixelToColor(S, GetRawPixel(S, 0, S.Height - 1)));
  }
  return C | 0x02000000;
}

void TBitmap::SetTransparentColor(TColor Value) {
  if (Value == FTransparentColor) return;
  FTransparentMode = Value == clDefault ? tmAuto : tmFixed;
  FTransparentColor = Value;
  Changed(this);
}

void TBitmap::SetTransparentMode(TTransparentMode Value) {
  if (Value == FTransparentMode) return;
  if (Value == tmAuto)
    SetTransparentColor(clDefault);
  else
    SetTransparentColor(GetTransparentColor());
}

HBITMAP TBitmap::GetMaskHandle() {
  if (FHandle == nullptr) return nullptr;
  if (!FMaskValid || FMaskHandle == nullptr) {
    HBITMAP Mask = BuildMask(FHandle, static_cast<COLORREF>(GetTransparentColor()));
    FreeMask();
    FMaskHandle = Mask;
    FMaskValid = true;
  }
  return FMaskHandle;
}

void TBitmap::SetMaskHandle(HBITMAP Value) {
  if (Value == FMaskHandle) return;
  FreeMask();
  FMaskHandle = Value;
  FMaskValid = Value != nullptr;
  Changed(this);
  FMaskValid = Value != nullptr;
}

HBITMAP TBitmap::ReleaseMaskHandle() {
  HBITMAP H = GetMaskHandle();
  FMaskHandle = nullptr;
  FMaskValid = false;
  return H;
}

void TBitmap::Mask(TColor TransparentColor) {
  if (FHandle == nullptr) return;
  HBITMAP New = BuildMask(FHandle, ColorToRGB(TransparentColor));
  ReplaceHandle(New);
  Changed(this);
}

// ---- Palette ----

HPALETTE TBitmap::GetPalette() {
  if (FPalette == nullptr && FHandle && FHandle->Surface.Bpp <= 8)
    FPalette = PaletteOfColors(FHandle->ColorTable);
  return FPalette;
}

void TBitmap::SetPalette(HPALETTE Value) {
  if (Value == FPalette) return;
  if (FHandle && FHandle->Surface.Bpp <= 8 && Value) {
    const std::vector<PALETTEENTRY> E = EntriesOf(Value);
    std::vector<RGBQUAD> Colors;
    for (const PALETTEENTRY& P : E) Colors.push_back(Quad(P));
    HDC DC = GetCanvas()->GetHandle();
    SetDIBColorTable(DC, 0, static_cast<UINT>(Colors.size()), Colors.data());
    FFormat.Colors = FHandle->ColorTable;
    FreePalette();
  } else {
    FreePalette();
    FPalette = CopyPalette(Value);
  }
  Changed(this);
}

HPALETTE TBitmap::ReleasePalette() {
  HPALETTE P = GetPalette();
  FPalette = nullptr;
  return P;
}

// ---- Copies, streams and resources ----

void TBitmap::Assign(TPersistent* Source) {
  if (Source == nullptr) {
    ReplaceHandle(nullptr);
    FreePalette();
    FFormat = TFormat{};
    Changed(this);
    return;
  }
  auto* B = dynamic_cast<TBitmap*>(Source);
  if (B == nullptr) {
    TGraphic::Assign(Source);
    return;
  }
  if (B == this) return;
  HBITMAP New = B->FHandle ? CopyBitmapHandle(B->FHandle) : nullptr;
  ReplaceHandle(New);
  FFormat = B->FFormat;
  FreePalette();
  if (B->FPalette && B->FFormat.BitCount > 8) FPalette = CopyPalette(B->FPalette);
  FTransparent = B->FTransparent;
  FTransparentColor = B->FTransparentColor;
  FTransparentMode = B->FTransparentMode;
  Changed(this);
}

void TBitmap::LoadFromStream(TStream* Stream) {
  if (Stream->GetPosition() >= Stream->GetSize()) {
    Assign(nullptr);
    return;
  }
  HBITMAP New = ReadBmp(Stream, TBmpHeader::Required);
  ReplaceHandle(New);
  Changed(this);
}

void TBitmap::SaveToStream(TStream* Stream) {
  if (FHandle) WriteBmp(Stream, FHandle);
}

void TBitmap::ReadData(TStream* Stream) {
  Byte SizeBytes[4];
  Stream->ReadBuffer(SizeBytes, 4);
  const Int64 Size = SizeBytes[0] | (SizeBytes[1] << 8) | (SizeBytes[2] << 16) | (Int64{SizeBytes[3]} << 24);
  const Int64 Start = Stream->GetPosition();
  if (Size == 0) {
    Assign(nullptr);
    return;
  }
  HBITMAP New = ReadBmp(Stream, TBmpHeader::Required);
  ReplaceHandle(New);
  Stream->SetPosition(Start + Size);
  Changed(this);
}

void TBitmap::WriteData(TStream* Stream) {
  TMemoryStream Data;
  SaveToStream(&Data);
  const DWORD Size = static_cast<DWORD>(Data.GetSize());
  const Byte SizeBytes[4] = {static_cast<Byte>(Size), static_cast<Byte>(Size >> 8),
                             static_cast<Byte>(Size >> 16), static_cast<Byte>(Size >> 24)};
  Stream->WriteBuffer(SizeBytes, 4);
  Data.SaveToStream(Stream);
}

void TBitmap::LoadFromResourceName(HINSTANCE Instance, const std::string& ResName) {
  TResourceStream Stream(Instance, ResName, RT_BITMAP);
  HBITMAP New = ReadBmp(&Stream, TBmpHeader::Optional);
  ReplaceHandle(New);
  Changed(this);
}

void TBitmap::LoadFromResourceID(HINSTANCE Instance, Integer ResID) {
  TResourceStream Stream(Instance, ResID, RT_BITMAP);
  HBITMAP New = ReadBmp(&Stream, TBmpHeader::Optional);
  ReplaceHandle(New);
  Changed(this);
}

void TBitmap::LoadFromClipboardFormat(UINT AFormat, HANDLE AData, HPALETTE APalette) {
  HGDIOBJ Object = static_cast<HGDIOBJ>(AData);
  if (AFormat != ClipboardBitmapFormat || Object == nullptr || Object->ObjType != OBJ_BITMAP)
    throw EInvalidGraphic("Unsupported clipboard format");
  ReplaceHandle(CopyBitmapHandle(static_cast<HBITMAP>(Object)));
  if (APalette && FFormat.BitCount > 8) FPalette = CopyPalette(APalette);
  Changed(this);
}

void TBitmap::SaveToClipboardFormat(UINT& AFormat, HANDLE& AData, HPALETTE& APalette) {
  AFormat = ClipboardBitmapFormat;
  AData = FHandle ? static_cast<HGDIOBJ>(CopyBitmapHandle(FHandle)) : nullptr;
  APalette = CopyPalette(GetPalette());
}

// ---- Drawing ----

void TBitmap::Draw(TCanvas* ACanvas, const TRect& Rect) {
  if (FHandle == nullptr) return;
  ACanvas->RequiredState(csAllValid);
  HDC Dst = ACanvas->GetHandle();
  HPALETTE Palette = GetPalette();
  HPALETTE OldPalette = nullptr;
  if (Palette) {
    OldPalette = SelectPalette(Dst, Palette, TRUE);
    RealizePalette(Dst);
  }
  const Integer Bpp = GetDeviceCaps(Dst, BITSPIXEL) * GetDeviceCaps(Dst, PLANES);
  if (Bpp <= 8 && Bpp < FHandle->Surface.Bpp) {
    POINT Org;
    GetBrushOrgEx(Dst, &Org);
    SetStretchBltMode(Dst, HALFTONE);
    SetBrushOrgEx(Dst, Org.X, Org.Y, &Org);
  } else if (!GetMonochrome()) {
    SetStretchBltMode(Dst, STRETCH_DELETESCANS);
  }
  const bool Transparent = GetTransparent();
  HBITMAP MaskBitmap = Transparent ? GetMaskHandle() : nullptr;
  TCanvas* Own = GetCanvas();
  Own->Lock();
  try {
    Own->RequiredState(csAllValid);
    HDC Src = Own->GetHandle();
    const Integer W = GetWidth(), H = GetHeight();
    if (Transparent) {
      HDC MaskDC = CreateCompatibleDC(nullptr);
      HGDIOBJ Save = SelectObject(MaskDC, MaskBitmap);
      TransparentStretchBlt(Dst, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), Src, 0, 0, W, H, MaskDC, 0,
                            0);
      SelectObject(MaskDC, Save);
      DeleteDC(MaskDC);
    } else {
      StretchBlt(Dst, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), Src, 0, 0, W, H,
                 static_cast<DWORD>(ACanvas->GetCopyMode()));
    }
  } catch (...) {
    Own->Unlock();
    if (Palette) SelectPalette(Dst, OldPalette, TRUE);
    throw;
  }
  Own->Unlock();
  if (Palette) SelectPalette(Dst, OldPalette, TRUE);
}
