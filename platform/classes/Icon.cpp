#include "platform/classes/Icon.h"

#include <algorithm>
#include <cstring>

#include "platform/classes/BmpFile.h"
#include "platform/classes/Canvas.h"
#include "platform/gdi/Blit.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Dib.h"
#include "platform/gdi/Painting.h"
#include "platform/system/Exceptions.h"

namespace {

constexpr const char* SInvalidIcon = "Icon image is not valid";
constexpr Byte PngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr Int64 DirHeaderSize = 6;
constexpr Int64 DirEntrySize = 16;
constexpr Int64 InfoHeaderSize = 40;

[[noreturn]] void InvalidIcon() {
  throw EInvalidGraphic(SInvalidIcon);
}

Word GetWord(const Byte* P) {
  return static_cast<Word>(P[0] | (P[1] << 8));
}
DWORD GetDWord(const Byte* P) {
  return static_cast<DWORD>(P[0]) | (static_cast<DWORD>(P[1]) << 8) | (static_cast<DWORD>(P[2]) << 16) |
         (static_cast<DWORD>(P[3]) << 24);
}
void PutWord(std::vector<Byte>& Out, Word V) {
  Out.push_back(static_cast<Byte>(V));
  Out.push_back(static_cast<Byte>(V >> 8));
}
void PutDWord(std::vector<Byte>& Out, DWORD V) {
  for (Integer I = 0; I < 4; ++I) Out.push_back(static_cast<Byte>(V >> (8 * I)));
}

// One image of the directory, its BMP header read.
struct TIconImage {
  const Byte* Data = nullptr;
  Int64 Size = 0;
  Integer Width = 0, Height = 0, BitCount = 0;
};

bool ReadImageHeader(const Byte* Data, Int64 Size, TIconImage& Image) {
  if (Size < InfoHeaderSize) return false;
  const DWORD HeaderSize = GetDWord(Data);
  if (HeaderSize < InfoHeaderSize || HeaderSize > Size) return false;
  Image.Data = Data;
  Image.Size = Size;
  Image.Width = static_cast<Integer>(GetDWord(Data + 4));
  Image.Height = static_cast<Integer>(GetDWord(Data + 8)) / 2;  // colour rows, then mask rows
  Image.BitCount = GetWord(Data + 14);
  return true;
}

// The colour and mask bitmaps of one BMP image (rows bottom-up: colours, then the AND mask).
HICON BuildIcon(const TIconImage& Image) {
  const Byte* D = Image.Data;
  const DWORD HeaderSize = GetDWord(D);
  const Integer W = Image.Width, H = Image.Height, Bpp = Image.BitCount;
  const DWORD Compression = GetDWord(D + 16);
  const DWORD ClrUsed = GetDWord(D + 32);
  if (W <= 0 || H <= 0 || Compression != BI_RGB) InvalidIcon();
  if (Bpp != 1 && Bpp != 4 && Bpp != 8 && Bpp != 16 && Bpp != 24 && Bpp != 32) InvalidIcon();
  const Int64 MaxColors = Bpp <= 8 ? (Int64{1} << Bpp) : 0;
  const Int64 TableEntries = ClrUsed != 0 ? Int64{ClrUsed} : MaxColors;
  const Int64 XorRow = DibRowBytes64(W, Bpp), AndRow = DibRowBytes64(W, 1);
  if (XorRow > 0x7FFFFFFF / H) InvalidIcon();  // checked before multiplying
  const Int64 TableStart = HeaderSize, XorStart = TableStart + TableEntries * 4;
  const Int64 AndStart = XorStart + XorRow * H;
  if (XorStart > Image.Size || AndStart > Image.Size) InvalidIcon();
  // Some 32-bit images leave out the mask: their alpha alone decides.
  const bool HasMask = AndStart + AndRow * H <= Image.Size;
  if (!HasMask && Bpp != 32) InvalidIcon();

  BITMAPINFO BI;
  BI.bmiHeader.biWidth = W;
  BI.bmiHeader.biHeight = H;
  BI.bmiHeader.biBitCount = static_cast<WORD>(Bpp);
  const Int64 Colors = std::min(TableEntries, MaxColors);
  for (Int64 I = 0; I < Colors; ++I) {
    const Byte* E = D + TableStart + I * 4;
    BI.bmiColors[I] = RGBQUAD{E[0], E[1], E[2], 0};
  }
  BI.bmiHeader.biClrUsed = static_cast<DWORD>(Colors);
  void* Bits = nullptr;
  HBITMAP Color = CreateDIBSection(nullptr, &BI, DIB_RGB_COLORS, &Bits, nullptr, 0);
  HBITMAP Mask = Color ? CreateBitmap(W, H, 1, 1, nullptr) : nullptr;
  if (Mask == nullptr) {
    if (Color) DeleteObject(Color);
    throw EOutOfResources("Out of system resources");
  }
  std::memcpy(Bits, D + XorStart, static_cast<std::size_t>(XorRow * H));
  if (HasMask) {
    const TSurface& M = Mask->Surface;
    const std::size_t RowBytes = std::min<std::size_t>(
        static_cast<std::size_t>(AndRow), static_cast<std::size_t>(M.Stride < 0 ? -M.Stride : M.Stride));
    for (Integer Y = 0; Y < H; ++Y) std::memcpy(M.Row(Y), D + AndStart + AndRow * (H - 1 - Y), RowBytes);
  }
  return AdoptIconBitmaps(Color, Mask, true, W / 2, H / 2);
}

// Picks the image to show: a 32x32 one (the deepest), else the first; PNG images are passed
// over.
HICON ReadIconFile(const std::vector<Byte>& File) {
  const Int64 Size = static_cast<Int64>(File.size());
  if (Size < DirHeaderSize) InvalidIcon();
  const Byte* F = File.data();
  const Word Type = GetWord(F + 2), Count = GetWord(F + 4);
  if (GetWord(F) != 0 || (Type != 1 && Type != 2) || Count == 0) InvalidIcon();
  if (DirHeaderSize + DirEntrySize * Count > Size) InvalidIcon();
  bool SawPng = false;
  TIconImage Best, First;
  for (Integer I = 0; I < Count; ++I) {
    const Byte* E = F + DirHeaderSize + DirEntrySize * I;
    const Int64 Bytes = GetDWord(E + 8), Offset = GetDWord(E + 12);
    if (Offset + Bytes > Size) InvalidIcon();
    if (Bytes >= 8 && std::memcmp(F + Offset, PngSignature, 8) == 0) {
      SawPng = true;
      continue;
    }
    TIconImage Image;
    if (!ReadImageHeader(F + Offset, Bytes, Image)) InvalidIcon();
    if (First.Data == nullptr) First = Image;
    if (Image.Width == 32 && Image.Height == 32 && (Best.Data == nullptr || Image.BitCount > Best.BitCount))
      Best = Image;
  }
  if (Best.Data == nullptr) Best = First;
  if (Best.Data == nullptr) {
    if (SawPng) throw EInvalidGraphic("Icons with PNG images are not supported");
    InvalidIcon();
  }
  return BuildIcon(Best);
}

// A one-image icon file of a handle: its colour bitmap at its depth (other than 1/4/8/24/32
// bits as 32 bits), or a monochrome icon's image half as 1 bit, then the AND mask.
std::vector<Byte> WriteIconFile(HICON Icon) {
  const Integer W = Icon->Width, H = Icon->Height;
  TSurface Image;
  static const RGBQUAD Mono[2] = {RGBQUAD{0, 0, 0, 0}, RGBQUAD{255, 255, 255, 0}};
  if (Icon->Color) {
    Image = Icon->Color->Surface;
  } else {
    Image = Icon->Mask->Surface;
    Image.Row0 = Image.Row0 + static_cast<NativeInt>(H) * Image.Stride;  // the lower half
    Image.Height = H;
    Image.Colors = Mono;
    Image.ColorCount = 2;
  }
  Integer Bpp = Image.Bpp;
  if (!(Bpp == 1 || Bpp == 4 || Bpp == 8 || Bpp == 24 || (Bpp == 32 && Image.Format == TSurfaceFormat::pf32)))
    Bpp = 32;
  const Integer Colors = Bpp <= 8 ? std::min(Image.ColorCount, 1 << Bpp) : 0;
  const Integer XorRow = DibRowBytes(W, Bpp), AndRow = DibRowBytes(W, 1);
  const DWORD ImageBytes = static_cast<DWORD>(InfoHeaderSize + Colors * 4 + (XorRow + AndRow) * H);

  std::vector<Byte> Out;
  PutWord(Out, 0);
  PutWord(Out, Icon->IsIcon ? 1 : 2);
  PutWord(Out, 1);
  Out.push_back(static_cast<Byte>(W >= 256 ? 0 : W));
  Out.push_back(static_cast<Byte>(H >= 256 ? 0 : H));
  Out.push_back(static_cast<Byte>(Bpp <= 8 ? (Colors >= 256 ? 0 : Colors) : 0));
  Out.push_back(0);
  PutWord(Out, Icon->IsIcon ? 1 : static_cast<Word>(Icon->XHotspot));
  PutWord(Out, Icon->IsIcon ? static_cast<Word>(Bpp) : static_cast<Word>(Icon->YHotspot));
  PutDWord(Out, ImageBytes);
  PutDWord(Out, static_cast<DWORD>(DirHeaderSize + DirEntrySize));
  PutDWord(Out, InfoHeaderSize);
  PutDWord(Out, static_cast<DWORD>(W));
  PutDWord(Out, static_cast<DWORD>(2 * H));
  PutWord(Out, 1);
  PutWord(Out, static_cast<Word>(Bpp));
  for (Integer I = 0; I < 6; ++I) PutDWord(Out, 0);  // compression .. colours important
  for (Integer I = 0; I < Colors; ++I) {
    Out.push_back(Image.Colors[I].rgbBlue);
    Out.push_back(Image.Colors[I].rgbGreen);
    Out.push_back(Image.Colors[I].rgbRed);
    Out.push_back(0);
  }
  std::vector<Byte> Row(static_cast<std::size_t>(XorRow));
  const TSurface RowSurface =
      DescribeDib(Row.data(), W, 1, Bpp, BI_RGB, nullptr, Image.Colors, Image.ColorCount);
  for (Integer Y = H - 1; Y >= 0; --Y) {
    std::fill(Row.begin(), Row.end(), 0);
    ConvertRow(Image, Image.Row(Y), 0, RowSurface, Row.data(), 0, W);
    Out.insert(Out.end(), Row.begin(), Row.end());
  }
  const TSurface& M = Icon->Mask->Surface;
  for (Integer Y = H - 1; Y >= 0; --Y) Out.insert(Out.end(), M.Row(Y), M.Row(Y) + AndRow);
  return Out;
}

HBITMAP Premultiply(HBITMAP Color) {
  const TSurface& S = Color->Surface;
  BITMAPINFO BI;
  BI.bmiHeader.biWidth = S.Width;
  BI.bmiHeader.biHeight = -S.Height;
  BI.bmiHeader.biBitCount = 32;
  HBITMAP P = CreateDIBSection(nullptr, &BI, DIB_RGB_COLORS, nullptr, nullptr, 0);
  if (P == nullptr) return nullptr;
  const TSurface& D = P->Surface;
  for (Integer Y = 0; Y < S.Height; ++Y) {
    const Byte* In = S.Row(Y);
    Byte* Out = D.Row(Y);
    for (Integer X = 0; X < S.Width; ++X, In += 4, Out += 4) {
      const Integer A = In[3];
      for (Integer C = 0; C < 3; ++C) Out[C] = static_cast<Byte>((In[C] * A + 127) / 255);
      Out[3] = In[3];
    }
  }
  return P;
}

}  // namespace

// ---- Drawing ----

BOOL DrawIconEx(HDC DC, Integer X, Integer Y, HICON Icon, Integer Width, Integer Height, UINT,
                HBRUSH FlickerFreeBrush, UINT Flags) {
  if (DC == nullptr || Icon == nullptr) return FALSE;
  if (Width == 0) Width = (Flags & DI_DEFAULTSIZE) ? DefaultIconSize : Icon->Width;
  if (Height == 0) Height = (Flags & DI_DEFAULTSIZE) ? DefaultIconSize : Icon->Height;
  if (FlickerFreeBrush) {
    const RECT R{X, Y, X + Width, Y + Height};
    FillRect(DC, &R, FlickerFreeBrush);
  }
  const Integer W = Icon->Width, H = Icon->Height;
  HDC Mem = CreateCompatibleDC(DC);
  HGDIOBJ Old = nullptr;
  auto Use = [&](HBITMAP B) {
    HGDIOBJ Prev = SelectObject(Mem, B);
    if (Old == nullptr) Old = Prev;
  };
  // Monochrome sources: 0 bits black, 1 bits white.
  const COLORREF OldText = SetTextColor(DC, 0);
  const COLORREF OldBack = SetBkColor(DC, 0x00FFFFFF);
  const Integer OldMode = SetStretchBltMode(DC, COLORONCOLOR);
  if (Icon->HasAlpha && (Flags & DI_NORMAL) == DI_NORMAL) {
    if (Icon->Premultiplied == nullptr) Icon->Premultiplied = Premultiply(Icon->Color);
    if (Icon->Premultiplied) {
      Use(Icon->Premultiplied);
      AlphaBlend(DC, X, Y, Width, Height, Mem, 0, 0, W, H, BLENDFUNCTION{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA});
    }
  } else {
    if (Flags & DI_MASK) {
      Use(Icon->Mask);
      StretchBlt(DC, X, Y, Width, Height, Mem, 0, 0, W, H, SRCAND);
    }
    if (Flags & DI_IMAGE) {
      const DWORD Rop = (Flags & DI_MASK) ? SRCINVERT : SRCCOPY;
      if (Icon->Color) {
        Use(Icon->Color);
        StretchBlt(DC, X, Y, Width, Height, Mem, 0, 0, W, H, Rop);
      } else {
        Use(Icon->Mask);
        StretchBlt(DC, X, Y, Width, Height, Mem, 0, H, W, H, Rop);
      }
    }
  }
  SetStretchBltMode(DC, OldMode);
  SetTextColor(DC, OldText);
  SetBkColor(DC, OldBack);
  if (Old) SelectObject(Mem, Old);
  DeleteDC(Mem);
  return TRUE;
}

BOOL DrawIcon(HDC DC, Integer X, Integer Y, HICON Icon) {
  return DrawIconEx(DC, X, Y, Icon, 0, 0, 0, nullptr, DI_NORMAL | DI_COMPAT | DI_DEFAULTSIZE);
}

// ---- TIcon ----

TIcon::TIcon() {
  FTransparent = true;
}

TIcon::~TIcon() {
  Clear();
}

void TIcon::Clear() {
  if (FHandle) DestroyIcon(FHandle);
  FHandle = nullptr;
  FData.clear();
}

void TIcon::Assign(TPersistent* Source) {
  if (Source == nullptr) {
    Clear();
    Changed(this);
    return;
  }
  auto* I = dynamic_cast<TIcon*>(Source);
  if (I == nullptr) {
    TGraphic::Assign(Source);
    return;
  }
  if (I == this) return;
  HICON Copy = I->FHandle ? CopyIcon(I->FHandle) : nullptr;
  if (I->FHandle && Copy == nullptr) throw EOutOfResources("Out of system resources");
  std::vector<Byte> Data = I->FData;
  Clear();
  FHandle = Copy;
  FData = std::move(Data);
  Changed(this);
}

void TIcon::LoadFromStream(TStream* Stream) {
  const Int64 Count = Stream->GetSize() - Stream->GetPosition();
  if (Count <= 0 || Count > 0x7FFFFFFF) throw EInvalidGraphic(SInvalidIcon);
  std::vector<Byte> Data(static_cast<std::size_t>(Count));
  Stream->ReadBuffer(Data.data(), static_cast<Integer>(Count));
  HICON Handle = ReadIconFile(Data);
  Clear();
  FHandle = Handle;
  FData = std::move(Data);
  Changed(this);
}

void TIcon::SaveToStream(TStream* Stream) {
  if (FData.empty() && FHandle) FData = WriteIconFile(FHandle);
  if (!FData.empty()) Stream->WriteBuffer(FData.data(), static_cast<Integer>(FData.size()));
}

void TIcon::SetHandle(HICON Value) {
  if (Value == FHandle) return;
  Clear();
  FHandle = Value;
  Changed(this);
}

HICON TIcon::ReleaseHandle() {
  HICON H = FHandle;
  FHandle = nullptr;
  FData.clear();
  return H;
}

void TIcon::SetWidth(Integer Value) {
  if (Value != GetWidth()) throw EInvalidGraphicOperation("Cannot change the size of an icon");
}

void TIcon::SetHeight(Integer Value) {
  if (Value != GetHeight()) throw EInvalidGraphicOperation("Cannot change the size of an icon");
}

void TIcon::Draw(TCanvas* ACanvas, const TRect& Rect) {
  if (FHandle == nullptr) return;
  ACanvas->Lock();
  try {
    DrawIconEx(ACanvas->GetHandle(), Rect.Left, Rect.Top, FHandle, Rect.Width(), Rect.Height(), 0, nullptr,
               DI_NORMAL);
  } catch (...) {
    ACanvas->Unlock();
    throw;
  }
  ACanvas->Unlock();
}
