// TIEMask storage, pixels, runs, the box and the full flag, resizing and moving.
#include "imaging/core/iemask.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "imaging/core/ieprocbase.h"
#include "platform/classes/Bitmap.h"

namespace {

// Bytes that hold the first Width pixels of a row, and the bits of the last of them that do.
Integer UsedRowBytes(Integer Width, Integer BitsPerPixel) {
  return static_cast<Integer>((static_cast<Int64>(Width) * BitsPerPixel + 7) / 8);
}
Byte LastByteBits(Integer Width, Integer BitsPerPixel) {
  const Integer Bits = static_cast<Integer>((static_cast<Int64>(Width) * BitsPerPixel) % 8);
  return Bits == 0 ? 0xFF : static_cast<Byte>(0xFF << (8 - Bits));
}

// Rows longer than an Integer can count are refused like a failed allocation.
bool RowLenFits(Integer Width, Integer BitsPerPixel) {
  return (static_cast<Int64>(Width) * BitsPerPixel + 31) / 32 * 4 <= std::numeric_limits<Integer>::max();
}

}  // namespace

TIEMask::TIEMask() {
  FDrawInfo.bmiHeader.biPlanes = 1;
  FDrawInfo.bmiHeader.biBitCount = 1;
  FDrawInfo.bmiHeader.biCompression = BI_RGB;
  FDrawInfo.bmiColors[0] = RGBQUAD{0, 0, 0, 0};
  FDrawInfo.bmiColors[1] = RGBQUAD{255, 255, 255, 0};
  FPixelBitmap = std::make_unique<TBitmap>();
  FPixelBitmap->SetPixelFormat(pf24bit);
  FPixelBitmap->SetSize(1, 1);
  FPixelPtr = static_cast<Byte*>(FPixelBitmap->GetScanLine(0));
}

TIEMask::~TIEMask() {
  FPixelBitmap.reset();
  FreeBits();
}

bool TIEMask::AllocateBits(Integer AWidth, Integer AHeight, Integer ABitsPerPixel) {
  FreeBits();
  MakeBoxEmpty();
  FFull = false;
  if (AWidth < 0 || AHeight < 0 || ABitsPerPixel < 0 || !RowLenFits(AWidth, ABitsPerPixel)) return false;
  const Integer RowLen = DibRowBytes(AWidth, ABitsPerPixel);
  TBytes Bits = NewZeroedBits(RowLen, AHeight);
  if (!Bits) return false;
  FBits = std::move(Bits);
  FWidth = AWidth;
  FHeight = AHeight;
  FBitsPerPixel = ABitsPerPixel;
  FRowLen = RowLen;
  return true;
}

void TIEMask::FreeBits() {
  FreeZoom();
  FBits.reset();
  FWidth = 0;
  FHeight = 0;
  FBitsPerPixel = 0;
  FRowLen = 0;
}

void TIEMask::Resize(Integer NewWidth, Integer NewHeight) {
  if (FBitsPerPixel == 0 || NewWidth < 0 || NewHeight < 0 || !RowLenFits(NewWidth, FBitsPerPixel)) return;
  const Integer NewRowLen = DibRowBytes(NewWidth, FBitsPerPixel);
  TBytes NewBits = NewZeroedBits(NewRowLen, NewHeight);
  if (!NewBits) return;  // the mask stays as it was
  // Only the pixels both sizes hold are taken: bits beyond the new width must not come back
  // selected when the mask grows again.
  const Integer KeptWidth = std::min(FWidth, NewWidth);
  const Integer KeptBytes = UsedRowBytes(KeptWidth, FBitsPerPixel);
  const Byte LastMask = LastByteBits(KeptWidth, FBitsPerPixel);
  const Integer KeptRows = std::min(FHeight, NewHeight);
  for (Integer Y = 0; Y < KeptRows && KeptBytes > 0; ++Y) {
    Byte* Dest = NewBits.get() + static_cast<Int64>(NewRowLen) * (NewHeight - 1 - Y);
    std::memcpy(Dest, GetScanline(Y), KeptBytes);
    Dest[KeptBytes - 1] &= LastMask;
  }
  FreeZoom();
  FBits = std::move(NewBits);
  FWidth = NewWidth;
  FHeight = NewHeight;
  FRowLen = NewRowLen;
  if (!IsEmpty()) ClampBox();
}

Integer TIEMask::GetPixel(Integer X, Integer Y) const {
  if (X < 0 || Y < 0 || X >= FWidth || Y >= FHeight) return 0;
  const Byte* Row = GetScanline(Y);
  switch (FBitsPerPixel) {
    case 1:
      return Row[X >> 3] & (0x80 >> (X & 7));
    case 8:
      return Row[X];
    default:
      return 0;
  }
}

void TIEMask::SetPixel(Integer X, Integer Y, Integer Value) {
  if (X < 0 || Y < 0 || X >= FWidth || Y >= FHeight) return;
  if (FBitsPerPixel != 1 && FBitsPerPixel != 8) return;
  if (Value != 0) {
    IncludeInBox(X, Y);
    ClampBox();
  }
  Byte* Row = GetScanline(Y);
  if (FBitsPerPixel == 1) {
    KeepFullOnlyFor(Value != 0);
    const Byte Bit = static_cast<Byte>(0x80 >> (X & 7));
    if (Value != 0)
      Row[X >> 3] |= Bit;
    else
      Row[X >> 3] &= static_cast<Byte>(~Bit);
  } else {
    KeepFullOnlyFor(Value == 255);
    Row[X] = static_cast<Byte>(Value);
  }
}

Integer TIEMask::FillHorizontalRun(Integer Value, Integer X1, Integer Y, Integer X2) {
  if (FBitsPerPixel != 1 && FBitsPerPixel != 8) return 0;
  // A row outside the mask writes nothing rather than landing on an edge row.
  if (Y < 0 || Y >= FHeight) return 0;
  X1 = std::max(X1, 0);
  X2 = std::min(X2, FWidth - 1);
  if (X1 > X2) return 0;
  Byte* Row = GetScanline(Y);
  if (FBitsPerPixel == 8) {
    KeepFullOnlyFor(Value == 255);
    std::memset(Row + X1, static_cast<Byte>(Value), X2 - X1 + 1);
    return X2 - X1 + 1;
  }
  const bool Selecting = Value == 1;
  KeepFullOnlyFor(Selecting);
  const Integer FirstByte = X1 >> 3;
  const Integer LastByte = X2 >> 3;
  const Byte FirstMask = static_cast<Byte>(0xFF >> (X1 & 7));
  const Byte LastMask = static_cast<Byte>(0xFF << (7 - (X2 & 7)));
  auto Apply = [&](Byte& B, Byte Mask) { B = Selecting ? (B | Mask) : (B & static_cast<Byte>(~Mask)); };
  if (FirstByte == LastByte) {
    Apply(Row[FirstByte], FirstMask & LastMask);
  } else {
    Apply(Row[FirstByte], FirstMask);
    std::memset(Row + FirstByte + 1, Selecting ? 0xFF : 0x00, LastByte - FirstByte - 1);
    Apply(Row[LastByte], LastMask);
  }
  return X2 - X1 + 1;
}

void TIEMask::Fill(Integer Value) {
  if (FBits) std::memset(FBits.get(), static_cast<Byte>(Value), static_cast<size_t>(FRowLen) * FHeight);
  FFull = Value == 255;
}

void TIEMask::Empty() {
  Fill(0);
  MakeBoxEmpty();
}

void TIEMask::SyncRect() {
  MakeBoxEmpty();
  if (FBitsPerPixel != 1 && FBitsPerPixel != 8) return;
  for (Integer Y = 0; Y < FHeight; ++Y) {
    const Byte* Row = GetScanline(Y);
    Integer First = -1, Last = -1;
    if (FBitsPerPixel == 8) {
      for (Integer X = 0; X < FWidth; ++X)
        if (Row[X] != 0) {
          if (First < 0) First = X;
          Last = X;
        }
    } else {
      for (Integer X = 0; X < FWidth; ++X)
        if (IEGetBit(Row, X)) {
          if (First < 0) First = X;
          Last = X;
        }
    }
    if (First < 0) continue;
    IncludeInBox(First, Y);
    IncludeInBox(Last, Y);
  }
  if (!IsEmpty()) ClampBox();
}

void TIEMask::SyncFull() {
  FFull = false;
  if (!FBits || (FBitsPerPixel != 1 && FBitsPerPixel != 8)) return;
  // The padding after the last pixel does not count.
  const Integer Used = UsedRowBytes(FWidth, FBitsPerPixel);
  const Byte LastMask = LastByteBits(FWidth, FBitsPerPixel);
  for (Integer Y = 0; Y < FHeight && Used > 0; ++Y) {
    const Byte* Row = GetScanline(Y);
    if (std::any_of(Row, Row + Used - 1, [](Byte B) { return B != 0xFF; })) return;
    if ((Row[Used - 1] & LastMask) != LastMask) return;
  }
  FFull = true;
}

void TIEMask::TranslateBitmap(Integer& DX, Integer& DY, bool Cut) {
  if (IsEmpty()) SyncRect();
  if (IsEmpty()) return;
  if (Cut) {
    if (FX1 + DX < 0) FX1 = -DX;
    if (FY1 + DY < 0) FY1 = -DY;
    if (FX2 + DX >= FWidth) FX2 = FWidth - 1 - DX;
    if (FY2 + DY >= FHeight) FY2 = FHeight - 1 - DY;
  } else {
    if (FX1 + DX < 0) DX = -FX1;
    if (FX2 + DX >= FWidth) DX = FWidth - 1 - FX2;
    if (FY1 + DY < 0) DY = -FY1;
    if (FY2 + DY >= FHeight) DY = FHeight - 1 - FY2;
  }
  if (DX == 0 && DY == 0) return;
  // Everything would leave the mask.
  if (FX2 < FX1 || FY2 < FY1) {
    Empty();
    return;
  }
  if (FBitsPerPixel == 1)
    TranslateBits1(DX, DY);
  else if (FBitsPerPixel == 8)
    TranslateBits8(DX, DY);
  else
    return;
  // The vacated part is no longer selected.
  FFull = false;
  FX1 += DX;
  FX2 += DX;
  FY1 += DY;
  FY2 += DY;
  ClampBox();
}

void TIEMask::TranslateBits1(Integer DX, Integer DY) {
  const Integer Columns = FX2 - FX1 + 1;
  const Integer Rows = FY2 - FY1 + 1;
  const Integer RunBytes = (Columns + 7) / 8;
  std::vector<Byte> Runs(static_cast<size_t>(RunBytes) * Rows);
  for (Integer Y = 0; Y < Rows; ++Y)
    IECopyBits(Runs.data() + static_cast<size_t>(Y) * RunBytes, GetScanline(FY1 + Y), 0, FX1, Columns,
               FRowLen);
  std::memset(FBits.get(), 0, static_cast<size_t>(FRowLen) * FHeight);
  for (Integer Y = 0; Y < Rows; ++Y)
    IECopyBits(GetScanline(FY1 + Y + DY), Runs.data() + static_cast<size_t>(Y) * RunBytes, FX1 + DX, 0,
               Columns, RunBytes);
}

void TIEMask::TranslateBits8(Integer DX, Integer DY) {
  const size_t Size = static_cast<size_t>(FRowLen) * FHeight;
  std::vector<Byte> Old(FBits.get(), FBits.get() + Size);
  std::memset(FBits.get(), 0, Size);
  const Integer DestX1 = std::max(FX1 + DX, 0);
  const Integer DestX2 = std::min(FX2 + DX, FWidth - 1);
  if (DestX1 > DestX2) return;
  for (Integer Y = FY1; Y <= FY2; ++Y) {
    const Integer DestY = Y + DY;
    if (DestY < 0 || DestY >= FHeight) continue;
    const Byte* Source = Old.data() + static_cast<Int64>(FRowLen) * (FHeight - 1 - Y);
    std::memcpy(GetScanline(DestY) + DestX1, Source + DestX1 - DX, DestX2 - DestX1 + 1);
  }
}

TIEMask::TBytes TIEMask::NewZeroedBits(Integer RowLen, Integer Rows) {
  // The product of two Integers fits.
  return TBytes(static_cast<Byte*>(IEGlobalAlloc(static_cast<UInt64>(RowLen) * Rows)));
}

void TIEMask::FreeZoom() {
  FZoomBits.reset();
  FZoomRows.clear();
  FZoomWidth = 0;
  FZoomHeight = 0;
}

void TIEMask::MakeBoxEmpty() {
  FX1 = IEMaskEmptyX1;
  FY1 = IEMaskEmptyX1;
  FX2 = 0;
  FY2 = 0;
}

void TIEMask::ClampBox() {
  FX1 = std::clamp(FX1, 0, std::max(FWidth - 1, 0));
  FX2 = std::clamp(FX2, 0, std::max(FWidth - 1, 0));
  FY1 = std::clamp(FY1, 0, std::max(FHeight - 1, 0));
  FY2 = std::clamp(FY2, 0, std::max(FHeight - 1, 0));
}

void TIEMask::IncludeInBox(Integer X, Integer Y) {
  FX1 = std::min(FX1, X);
  FY1 = std::min(FY1, Y);
  FX2 = std::max(FX2, X);
  FY2 = std::max(FY2, Y);
}

void TIEMask::KeepFullOnlyFor(bool SelectsFully) {
  if (!SelectsFully) FFull = false;
}
