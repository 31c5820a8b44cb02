#include "platform/gdi/Dib.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>

#include "platform/gdi/BlitRows.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/ImageCopy.h"
#include "platform/gdi/Palettes.h"

namespace {

constexpr Int64 MaxBitmapBytes = 0x7FFFFFFF;

RGBQUAD Quad(BYTE R, BYTE G, BYTE B) {
  return RGBQUAD{B, G, R, 0};
}

// The colour table a bitmap of this depth gets when nobody gives one: black and white, the 16
// VGA colours, or the 256-entry halftone (system) palette.
std::vector<RGBQUAD> DefaultColorTable(Integer Bpp) {
  std::vector<RGBQUAD> T;
  if (Bpp == 1) {
    T = {Quad(0, 0, 0), Quad(255, 255, 255)};
  } else if (Bpp == 4) {
    const PALETTEENTRY* S = DefaultPaletteEntries();
    for (Integer I : {0, 1, 2, 3, 4, 5, 6, 7, 12, 13, 14, 15, 16, 17, 18, 19})
      T.push_back(Quad(S[I].peRed, S[I].peGreen, S[I].peBlue));
  } else if (Bpp == 8) {
    PALETTEENTRY E[256];
    GetSystemPaletteEntries(nullptr, 0, 256, E);
    for (const PALETTEENTRY& P : E) T.push_back(Quad(P.peRed, P.peGreen, P.peBlue));
  }
  return T;
}

// A new bitmap of the given geometry, its pixels zeroed. Null when out of memory or too large.
HBITMAP NewBitmap(Integer Width, Integer Height, Integer Bpp, const DWORD* Masks, std::vector<RGBQUAD> Colors,
                  bool BottomUp, bool Dib) {
  if (Width <= 0 || Height <= 0 || !ValidDibDepth(Bpp)) return nullptr;
  if (static_cast<Int64>(DibRowBytes(Width, Bpp)) * Height > MaxBitmapBytes) return nullptr;
  auto* B = new TBitmapObject;
  B->IsDibSection = Dib;
  B->ColorTable = std::move(Colors);
  B->Surface = DescribeDib(nullptr, Width, Height, Bpp, Masks ? BI_BITFIELDS : BI_RGB, Masks, nullptr, 0);
  if (Masks) std::memcpy(B->Bitfields, Masks, sizeof(B->Bitfields));
  if (!B->Allocate(BottomUp)) {
    delete B;
    return nullptr;
  }
  BITMAPINFOHEADER& H = B->Header;
  H.biWidth = Width;
  H.biHeight = BottomUp ? Height : -Height;
  H.biBitCount = static_cast<WORD>(Bpp);
  H.biCompression = Masks ? BI_BITFIELDS : BI_RGB;
  H.biClrUsed = Bpp <= 8 ? static_cast<DWORD>(B->ColorTable.size()) : 0;
  return B;
}

// Fn(bitmap row, I) for the DIB scan lines StartScan + I (I < Lines) the bitmap has; scans count
// from the bottom of a bottom-up DIB. Returns how many there were.
template <class F>
Integer ForEachScan(const TBitmapObject* B, const BITMAPINFOHEADER& H, UINT StartScan, UINT Lines, F&& Fn) {
  const Integer Height = B->Surface.Height;
  Integer Count = 0;
  for (UINT I = 0; I < Lines; ++I, ++Count) {
    const Int64 Scan = static_cast<Int64>(StartScan) + I;
    if (Scan >= Height) break;
    Fn(H.biHeight > 0 ? Height - 1 - static_cast<Integer>(Scan) : static_cast<Integer>(Scan), I);
  }
  return Count;
}

}  // namespace

void TBitmapObject::TFree::operator()(Byte* P) const {
  std::free(P);
}

bool TBitmapObject::Allocate(bool BottomUp) {
  const NativeInt RowBytes = DibRowBytes(Surface.Width, Surface.Bpp);
  StorageSize = static_cast<std::size_t>(RowBytes) * static_cast<std::size_t>(Surface.Height);
  Storage.reset(static_cast<Byte*>(std::calloc(StorageSize ? StorageSize : 1, 1)));
  if (!Storage) return false;
  Surface.Stride = BottomUp ? -RowBytes : RowBytes;
  Surface.Row0 = BottomUp ? Storage.get() + (Surface.Height - 1) * RowBytes : Storage.get();
  Surface.Colors = ColorTable.empty() ? nullptr : ColorTable.data();
  Surface.ColorCount = static_cast<Integer>(ColorTable.size());
  return true;
}

HBITMAP StockBitmap() {
  static HBITMAP Stock = [] {
    HBITMAP B = NewBitmap(1, 1, 1, nullptr, DefaultColorTable(1), false, false);
    B->Stock = true;
    return B;
  }();
  return Stock;
}

HBITMAP CreateDIBSection(HDC DC, const BITMAPINFO* Info, UINT Usage, void** Bits, HANDLE Section, DWORD) {
  if (Bits) *Bits = nullptr;
  DWORD Masks[3];
  if (Section || !ReadDibFormat(Info, Masks) || Usage > DIB_PAL_COLORS) return nullptr;
  const BITMAPINFOHEADER& H = Info->bmiHeader;
  const bool Fields = H.biCompression == BI_BITFIELDS;
  HBITMAP B = NewBitmap(H.biWidth, H.biHeight < 0 ? -H.biHeight : H.biHeight, H.biBitCount,
                        Fields ? Masks : nullptr, ReadColorTable(DC, Info, Usage), H.biHeight > 0, true);
  if (!B) return nullptr;
  B->Header.biXPelsPerMeter = H.biXPelsPerMeter;
  B->Header.biYPelsPerMeter = H.biYPelsPerMeter;
  B->Header.biClrImportant = H.biClrImportant;
  B->Header.biSizeImage = static_cast<DWORD>(B->BitsSize());
  if (Bits) *Bits = B->Bits();
  return B;
}

HBITMAP CreateBitmap(Integer Width, Integer Height, UINT Planes, UINT BitCount, const void* Bits) {
  if (Width < 0 || Height < 0 || Planes == 0 || Planes * BitCount > 32) return nullptr;
  if (Width == 0 || Height == 0) return StockBitmap();
  const UINT Depth = Planes * BitCount;
  const Integer Bpp = Depth <= 1    ? 1
                      : Depth <= 4  ? 4
                      : Depth <= 8  ? 8
                      : Depth <= 16 ? 16
                      : Depth <= 24 ? 24
                                    : 32;
  static const DWORD Masks565[3] = {0xF800, 0x07E0, 0x001F};
  HBITMAP B =
      NewBitmap(Width, Height, Bpp, Bpp == 16 ? Masks565 : nullptr, DefaultColorTable(Bpp), false, false);
  if (B && Bits) SetBitmapBits(B, static_cast<DWORD>(DdbRowBytes(Width, Bpp) * Height), Bits);
  return B;
}

HBITMAP CreateBitmapIndirect(const BITMAP* Bitmap) {
  if (!Bitmap) return nullptr;
  return CreateBitmap(Bitmap->bmWidth, Bitmap->bmHeight, Bitmap->bmPlanes, Bitmap->bmBitsPixel,
                      Bitmap->bmBits);
}

HBITMAP CreateCompatibleBitmap(HDC DC, Integer Width, Integer Height) {
  if (Width < 0 || Height < 0) return nullptr;
  if (Width == 0 || Height == 0) return StockBitmap();
  HBITMAP Selected = DC && DC->IsMemoryDC() ? DC->State.Bitmap : nullptr;
  if (Selected == StockBitmap()) return CreateBitmap(Width, Height, 1, 1, nullptr);
  if (Selected && Selected->IsDibSection) {
    const bool Fields = Selected->Header.biCompression == BI_BITFIELDS;
    HBITMAP B = NewBitmap(Width, Height, Selected->Surface.Bpp, Fields ? Selected->Bitfields : nullptr,
                          Selected->ColorTable, Selected->Header.biHeight > 0, true);
    if (B) B->Header.biSizeImage = static_cast<DWORD>(B->BitsSize());
    return B;
  }
  return CreateBitmap(Width, Height, 1, 32, nullptr);
}

HBITMAP CreateDIBitmap(HDC DC, const BITMAPINFOHEADER* Header, DWORD Init, const void* Bits,
                       const BITMAPINFO* Info, UINT Usage) {
  if (!Header || Header->biWidth <= 0 || Header->biHeight == 0) return nullptr;
  const Integer H = Header->biHeight < 0 ? -Header->biHeight : Header->biHeight;
  HBITMAP B = (DC && DC->IsMemoryDC() && DC->State.Bitmap == StockBitmap())
                  ? CreateBitmap(Header->biWidth, H, 1, 1, nullptr)
                  : CreateBitmap(Header->biWidth, H, 1, 32, nullptr);
  if (B && (Init & CBM_INIT) && Bits && Info) SetDIBits(DC, B, 0, static_cast<UINT>(H), Bits, Info, Usage);
  return B;
}

void ConvertRow(const TSurface& SrcS, const Byte* Src, Integer SrcX, const TSurface& DstS, Byte* Dst,
                Integer DstX, Integer Count) {
  if (Count > 0) TRowConverter(SrcS, DstS).Convert(Src, SrcX, Dst, DstX, Count);
}

Integer GetDIBits(HDC, HBITMAP Bitmap, UINT StartScan, UINT Lines, void* Bits, BITMAPINFO* Info, UINT Usage) {
  if (!Bitmap || Bitmap->ObjType != OBJ_BITMAP || !Info || Info->bmiHeader.biSize < 40 ||
      Usage > DIB_PAL_COLORS)
    return 0;
  BITMAPINFOHEADER& H = Info->bmiHeader;
  const TSurface& BS = Bitmap->Surface;
  if (H.biBitCount == 0) {
    if (Bits) return 0;
    // Describe the bitmap itself.
    H.biWidth = BS.Width;
    H.biHeight = BS.Height;
    H.biPlanes = 1;
    H.biBitCount = static_cast<WORD>(BS.Bpp);
    const bool Is555 = BS.Masks[0] == DibMasks555[0] && BS.Masks[1] == DibMasks555[1];
    const bool Fields =
        BS.Format == TSurfaceFormat::pf32Masks || (BS.Format == TSurfaceFormat::pf16 && !Is555);
    H.biCompression = Fields ? BI_BITFIELDS : BI_RGB;
    if (Fields) std::memcpy(reinterpret_cast<Byte*>(Info) + 40, BS.Masks, 12);
    H.biSizeImage = static_cast<DWORD>(DibRowBytes(BS.Width, BS.Bpp)) * static_cast<DWORD>(BS.Height);
    H.biClrUsed = 0;
    H.biClrImportant = 0;
    return BS.Height;
  }
  DWORD Masks[3];
  if (!ReadDibFormat(Info, Masks)) return 0;
  // The colour table of the DIB: the bitmap's own when it has the same depth, else the default.
  std::vector<RGBQUAD> Colors;
  if (H.biBitCount <= 8) {
    Colors = (BS.Bpp == H.biBitCount) ? Bitmap->ColorTable : DefaultColorTable(H.biBitCount);
    Colors.resize(1u << H.biBitCount);
    Byte* Table = reinterpret_cast<Byte*>(Info) + H.biSize;
    if (Usage == DIB_PAL_COLORS) {
      for (WORD I = 0; I < Colors.size(); ++I) std::memcpy(Table + I * 2, &I, 2);
    } else {
      std::memcpy(Table, Colors.data(), Colors.size() * sizeof(RGBQUAD));
    }
    H.biClrUsed = 0;
  }
  const Integer RowBytes = DibRowBytes(H.biWidth, H.biBitCount);
  H.biSizeImage =
      static_cast<DWORD>(static_cast<Int64>(RowBytes) * (H.biHeight < 0 ? -H.biHeight : H.biHeight));
  if (!Bits) return BS.Height;
  TRowConverter Conv(BS, DibSurface(Info, Masks, Colors, nullptr, 1));
  const Integer Width = std::min(H.biWidth, BS.Width);
  return ForEachScan(Bitmap, H, StartScan, Lines, [&](Integer Row, UINT I) {
    Conv.Convert(BS.Row(Row), 0, static_cast<Byte*>(Bits) + static_cast<NativeInt>(I) * RowBytes, 0, Width);
  });
}

Integer SetDIBits(HDC DC, HBITMAP Bitmap, UINT StartScan, UINT Lines, const void* Bits,
                  const BITMAPINFO* Info, UINT Usage) {
  DWORD Masks[3];
  if (!Bitmap || Bitmap->ObjType != OBJ_BITMAP || !Bits || Usage > DIB_PAL_COLORS ||
      !ReadDibFormat(Info, Masks))
    return 0;
  const BITMAPINFOHEADER& H = Info->bmiHeader;
  const std::vector<RGBQUAD> Colors = ReadColorTable(DC, Info, Usage);
  const TSurface& BS = Bitmap->Surface;
  TRowConverter Conv(DibSurface(Info, Masks, Colors, nullptr, 1), BS);
  const Integer RowBytes = DibRowBytes(H.biWidth, H.biBitCount);
  const Integer Width = std::min(H.biWidth, BS.Width);
  return ForEachScan(Bitmap, H, StartScan, Lines, [&](Integer Row, UINT I) {
    const Byte* DibRow = static_cast<const Byte*>(Bits) + static_cast<NativeInt>(I) * RowBytes;
    Conv.Convert(DibRow, 0, BS.Row(Row), 0, Width);
  });
}

// Rows of the platform's bitmap-bits layout are top-down and 2-byte aligned.
LONG GetBitmapBits(HBITMAP Bitmap, LONG Count, void* Bits) {
  if (!Bitmap || Count < 0) return 0;
  const TSurface& S = Bitmap->Surface;
  const Integer RowBytes = DdbRowBytes(S.Width, S.Bpp);
  const Integer UsedBytes = (S.Width * S.Bpp + 7) / 8;
  if (!Bits) return RowBytes * S.Height;
  LONG Done = 0;
  for (Integer Y = 0; Y < S.Height && Done < Count; ++Y) {
    const Integer N = std::min<Integer>(RowBytes, Count - Done);
    Byte* Out = static_cast<Byte*>(Bits) + Done;
    std::memset(Out, 0, static_cast<std::size_t>(N));
    std::memcpy(Out, S.Row(Y), static_cast<std::size_t>(std::min(N, UsedBytes)));
    Done += N;
  }
  return Done;
}

LONG SetBitmapBits(HBITMAP Bitmap, DWORD Count, const void* Bits) {
  if (!Bitmap || !Bits) return 0;
  const TSurface& S = Bitmap->Surface;
  const Integer RowBytes = DdbRowBytes(S.Width, S.Bpp);
  const Integer UsedBytes = (S.Width * S.Bpp + 7) / 8;
  LONG Done = 0;
  for (Integer Y = 0; Y < S.Height && static_cast<DWORD>(Done) < Count; ++Y) {
    const Integer N = std::min<Integer>(RowBytes, static_cast<Integer>(Count - static_cast<DWORD>(Done)));
    std::memcpy(S.Row(Y), static_cast<const Byte*>(Bits) + Done,
                static_cast<std::size_t>(std::min(N, UsedBytes)));
    Done += N;
  }
  return Done;
}

BOOL GetBitmapDimensionEx(HBITMAP Bitmap, SIZE* Size) {
  if (!Bitmap || !Size) return FALSE;
  *Size = {0, 0};
  return TRUE;
}

namespace {
// Entries Start .. Start + N - 1 of the colour table of the DIB section selected into DC, N
// clamped to the table. Null (N = 0) without such a table or when Start lies past it.
RGBQUAD* DibColorTableRange(HDC DC, UINT Start, UINT Count, UINT& N) {
  N = 0;
  if (!DC || !DC->IsMemoryDC()) return nullptr;
  HBITMAP B = DC->State.Bitmap;
  if (!B || !B->IsDibSection || B->Surface.Bpp > 8 || Start >= B->ColorTable.size()) return nullptr;
  N = std::min<UINT>(Count, static_cast<UINT>(B->ColorTable.size()) - Start);
  return B->ColorTable.data() + Start;
}
}  // namespace

UINT GetDIBColorTable(HDC DC, UINT Start, UINT Count, RGBQUAD* Colors) {
  UINT N = 0;
  const RGBQUAD* Table = Colors ? DibColorTableRange(DC, Start, Count, N) : nullptr;
  if (Table) std::copy_n(Table, N, Colors);
  return N;
}

UINT SetDIBColorTable(HDC DC, UINT Start, UINT Count, const RGBQUAD* Colors) {
  UINT N = 0;
  RGBQUAD* Table = Colors ? DibColorTableRange(DC, Start, Count, N) : nullptr;
  if (Table) std::copy_n(Colors, N, Table);
  return N;
}

namespace {
std::atomic<TCopyIconProc> CopyIconProc{nullptr};
}  // namespace

void SetCopyIconProc(TCopyIconProc Proc) {
  CopyIconProc = Proc;
}

HANDLE CopyImage(HANDLE Image, UINT Type, Integer Width, Integer Height, UINT Flags) {
  if (Type == IMAGE_ICON || Type == IMAGE_CURSOR) {
    const TCopyIconProc Proc = CopyIconProc;
    return Proc != nullptr ? Proc(Image, Type, Width, Height, Flags) : nullptr;
  }
  auto* Src = static_cast<HBITMAP>(static_cast<HGDIOBJ>(Image));
  if (!Src || Type != IMAGE_BITMAP || Src->ObjType != OBJ_BITMAP || Width < 0 || Height < 0) return nullptr;
  const TSurface& SS = Src->Surface;
  const Integer W = Width ? Width : SS.Width, H = Height ? Height : SS.Height;
  const bool SameSize = W == SS.Width && H == SS.Height;
  if ((Flags & LR_COPYRETURNORG) && SameSize && !(Flags & LR_MONOCHROME) &&
      ((Flags & LR_CREATEDIBSECTION) != 0) == Src->IsDibSection)
    return Src;
  HBITMAP Dst;
  if (Flags & LR_MONOCHROME) {
    Dst = CreateBitmap(W, H, 1, 1, nullptr);
  } else if (Flags & LR_CREATEDIBSECTION) {
    const bool Fields = Src->IsDibSection
                            ? Src->Header.biCompression == BI_BITFIELDS
                            : (SS.Format == TSurfaceFormat::pf16 || SS.Format == TSurfaceFormat::pf32Masks);
    Dst = NewBitmap(W, H, SS.Bpp, Fields ? SS.Masks : nullptr, Src->ColorTable,
                    Src->IsDibSection ? Src->Header.biHeight > 0 : true, true);
    if (Dst) Dst->Header.biSizeImage = static_cast<DWORD>(Dst->BitsSize());
  } else {
    Dst = CreateBitmap(W, H, 1, Src->IsDibSection ? 32 : static_cast<UINT>(SS.Bpp), nullptr);
    if (Dst && !Src->IsDibSection && SS.IsIndexed()) {
      Dst->ColorTable = Src->ColorTable;
      Dst->Surface.Colors = Dst->ColorTable.data();
      Dst->Surface.ColorCount = static_cast<Integer>(Dst->ColorTable.size());
    }
  }
  if (!Dst || Dst == StockBitmap()) return Dst;
  const TSurface& DS = Dst->Surface;
  TRowConverter Conv(SS, DS);
  if (SameSize) {
    for (Integer Y = 0; Y < H; ++Y) Conv.Convert(SS.Row(Y), 0, DS.Row(Y), 0, W);
  } else {
    // Nearest source pixel for each destination pixel.
    std::vector<Byte> Row(static_cast<std::size_t>(DibRowBytes(W, SS.Bpp)) + 4);
    TSurface RowS = SS;
    RowS.Row0 = Row.data();
    RowS.Height = 1;
    RowS.Width = W;
    for (Integer Y = 0; Y < H; ++Y) {
      const Integer SY = static_cast<Integer>(static_cast<Int64>(Y) * SS.Height / H);
      for (Integer X = 0; X < W; ++X)
        PutRawPixel(RowS, X, 0,
                    GetRawPixel(SS, static_cast<Integer>(static_cast<Int64>(X) * SS.Width / W), SY));
      Conv.Convert(Row.data(), 0, DS.Row(Y), 0, W);
    }
  }
  if (Flags & LR_COPYDELETEORG) DeleteObject(Src);
  return Dst;
}
