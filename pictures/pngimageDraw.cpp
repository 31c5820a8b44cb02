// Drawing a PNG picture: opaque, with one transparent key colour, or blended by its alpha.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "pictures/pngimage.h"
#include "pictures/pnglang.h"
#include "platform/classes/Colors.h"
#include "platform/gdi/Blit.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Dib.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Rop3.h"

namespace {
// A memory DC with one bitmap selected; both freed at the end of the scope.
struct TMemoryBitmap {
  HDC DC = nullptr;
  HBITMAP Bitmap = nullptr;
  HGDIOBJ Old = nullptr;
  TMemoryBitmap(HDC Compatible, HBITMAP ABitmap) : DC(CreateCompatibleDC(Compatible)), Bitmap(ABitmap) {
    if (DC && Bitmap) Old = SelectObject(DC, Bitmap);
  }
  ~TMemoryBitmap() {
    if (DC && Old) SelectObject(DC, Old);
    if (Bitmap) DeleteObject(Bitmap);
    if (DC) DeleteDC(DC);
  }
  bool Valid() const { return DC && Bitmap; }
  TMemoryBitmap(const TMemoryBitmap&) = delete;
  TMemoryBitmap& operator=(const TMemoryBitmap&) = delete;
};

inline Byte Blend(Byte S, Byte D, Integer A) {
  return static_cast<Byte>((S * A + (255 - A) * D + 255) >> 8);
}
}  // namespace

void TPNGObject::Draw(TCanvas* ACanvas, const TRect& Rect) {
  if (GetEmpty()) return;
  TChunkIHDR* Header = dynamic_cast<TChunkIHDR*>(ChunkList->Item(0));
  if (!Header) throw EInvalidCast("Invalid class typecast");
  // A header whose read failed made no pixels: there is nothing to show.
  if (!Header->Bits) return;
  HDC DC = ACanvas->GetHandle();
  switch (TransparencyKind()) {
    case ptNone:
      SetStretchBltMode(DC, COLORONCOLOR);
      StretchDIBits(DC, Rect.Left, Rect.Top, Rect.Right - Rect.Left, Rect.Bottom - Rect.Top, 0, 0,
                    static_cast<Integer>(Header->Width), static_cast<Integer>(Header->Height), Header->Bits,
                    &Header->DibInfo, DIB_RGB_COLORS, SRCCOPY);
      break;
    case ptKeyColor:
      DrawKeyedDib(DC, Rect, ColorToRGB(KeyColor()));
      break;
    case ptAlphaBlend:
      DrawAlpha(DC, Rect);
      break;
  }
}

void TPNGObject::DrawKeyedDib(HDC DC, const TRect& Rect, COLORREF Key) {
  TChunkIHDR* Header = HeaderChunk();
  const Integer SrcW = std::abs(Header->DibInfo.bmiHeader.biWidth);
  const Integer SrcH = std::abs(Header->DibInfo.bmiHeader.biHeight);
  const Integer Left = std::min(Rect.Left, Rect.Right), Top = std::min(Rect.Top, Rect.Bottom);
  const Integer W = std::abs(Rect.Right - Rect.Left), H = std::abs(Rect.Bottom - Rect.Top);
  if (W == 0 || H == 0) return;
  TMemoryBitmap Source(DC, CreateDIBitmap(DC, &Header->DibInfo.bmiHeader, CBM_INIT, Header->Bits,
                                          &Header->DibInfo, DIB_RGB_COLORS));
  TMemoryBitmap Mask(DC, CreateBitmap(W, H, 1, 1, nullptr));
  TMemoryBitmap Inverse(DC, CreateBitmap(W, H, 1, 1, nullptr));
  TMemoryBitmap Work(DC, CreateCompatibleBitmap(DC, W, H));
  if (!Source.Valid() || !Mask.Valid() || !Inverse.Valid() || !Work.Valid())
    RaisePngError<EPNGOutMemory>(EPNGOutMemoryText);
  SetStretchBltMode(Mask.DC, COLORONCOLOR);
  SetStretchBltMode(Source.DC, COLORONCOLOR);
  SetStretchBltMode(Work.DC, COLORONCOLOR);
  // Key-coloured pixels become 1 in the mask, all others 0.
  const COLORREF OldBack = SetBkColor(Source.DC, Key);
  StretchBlt(Mask.DC, 0, 0, W, H, Source.DC, 0, 0, SrcW, SrcH, SRCCOPY);
  SetBkColor(Source.DC, OldBack);
  BitBlt(Inverse.DC, 0, 0, W, H, Mask.DC, 0, 0, NOTSRCCOPY);
  // The background survives where the key colour was; the image's key pixels turn black.
  BitBlt(Work.DC, 0, 0, W, H, DC, Left, Top, SRCCOPY);
  BitBlt(Work.DC, 0, 0, W, H, Mask.DC, 0, 0, SRCAND);
  StretchBlt(Source.DC, 0, 0, SrcW, SrcH, Inverse.DC, 0, 0, W, H, SRCAND);
  StretchBlt(Work.DC, 0, 0, W, H, Source.DC, 0, 0, SrcW, SrcH, SRCPAINT);
  BitBlt(DC, Left, Top, W, H, Work.DC, 0, 0, SRCCOPY);
}

void TPNGObject::DrawAlpha(HDC DC, TRect Rect) {
  if (Rect.Left == Rect.Right || Rect.Top == Rect.Bottom) return;
  if (Rect.Left > Rect.Right) std::swap(Rect.Left, Rect.Right);
  if (Rect.Top > Rect.Bottom) std::swap(Rect.Top, Rect.Bottom);
  TChunkIHDR* Header = HeaderChunk();
  const Integer W = Rect.Right - Rect.Left, H = Rect.Bottom - Rect.Top;
  const Integer Width = static_cast<Integer>(Header->Width), Height = static_cast<Integer>(Header->Height);
  const bool Stretch = W != Width || H != Height;
  const double FactorX = Stretch ? static_cast<double>(W) / Width : 1;
  const double FactorY = Stretch ? static_cast<double>(H) / Height : 1;

  BITMAPINFO Info;
  Info.bmiHeader.biWidth = W;
  Info.bmiHeader.biHeight = -H;
  Info.bmiHeader.biPlanes = 1;
  Info.bmiHeader.biBitCount = 32;
  Info.bmiHeader.biCompression = BI_RGB;
  HDC BufferDC = CreateCompatibleDC(nullptr);
  if (!BufferDC) RaisePngError<EPNGOutMemory>(EPNGOutMemoryText);
  void* BitsPtr = nullptr;
  HBITMAP Section = CreateDIBSection(BufferDC, &Info, DIB_RGB_COLORS, &BitsPtr, nullptr, 0);
  if (!Section || !BitsPtr) {
    if (Section) DeleteObject(Section);
    DeleteDC(BufferDC);
    RaisePngError<EPNGOutMemory>(EPNGOutMemoryText);
  }
  TMemoryBitmap Buffer(nullptr, nullptr);
  DeleteDC(Buffer.DC);
  Buffer.DC = BufferDC;
  Buffer.Bitmap = Section;
  Buffer.Old = SelectObject(BufferDC, Section);
  auto* Pixels = static_cast<Byte*>(BitsPtr);
  BitBlt(BufferDC, 0, 0, W, H, DC, Rect.Left, Rect.Top, SRCCOPY);

  std::vector<Integer> SourceX(static_cast<std::size_t>(W));
  for (Integer C = 0; C < W; ++C)
    SourceX[C] = Stretch ? std::min(static_cast<Integer>(std::trunc(C / FactorX)), Width - 1) : C;
  auto* Trns = ChunkList->FindByClass<TChunktRNS>();
  auto* Plte = ChunkList->FindByClass<TChunkPLTE>();
  const Integer Depth = Header->BitsPerPixel();
  for (Integer R = 0; R < H; ++R) {
    const Integer SY = Stretch ? std::min(static_cast<Integer>(std::trunc(R / FactorY)), Height - 1) : R;
    const Byte* Src = Header->PixelRow(SY);
    const Byte* Alpha = Header->AlphaRow(SY);
    Byte* D = Pixels + static_cast<std::size_t>(W) * 4 * R;
    if (Depth == 24) {
      for (Integer C = 0; C < W; ++C, D += 4) {
        const Integer SX = SourceX[C];
        const Integer A = Alpha ? Alpha[SX] : 255;
        const Byte* S = Src + 3 * SX;
        if (A == 0) continue;
        if (A == 255) {
          D[0] = S[0], D[1] = S[1], D[2] = S[2];
        } else {
          D[0] = Blend(S[0], D[0], A), D[1] = Blend(S[1], D[1], A), D[2] = Blend(S[2], D[2], A);
        }
      }
    } else if (Header->ColorType == 4) {
      for (Integer C = 0; C < W; ++C, D += 4) {
        const Integer SX = SourceX[C];
        const Integer A = Alpha[SX];
        const Byte S = Src[SX];
        D[0] = Blend(S, D[0], A), D[1] = Blend(S, D[1], A), D[2] = Blend(S, D[2], A);
      }
    } else {
      const Integer PerByte = 8 / Depth;
      for (Integer C = 0; C < W; ++C, D += 4) {
        const Integer SX = SourceX[C];
        const Integer Index = Src[SX / PerByte] >> (8 - Depth - Depth * (SX % PerByte)) & ((1 << Depth) - 1);
        const Integer A =
            Trns && static_cast<Cardinal>(Index) < Trns->GetDataSize() ? Trns->Alpha[Index] : 255;
        if (!Plte) RaisePngError<EPngError>(EPNGUnknownPalEntryText);
        const Cardinal E = Plte->Entry(Index);
        D[0] = Blend(static_cast<Byte>(E), D[0], A);
        D[1] = Blend(static_cast<Byte>(E >> 8), D[1], A);
        D[2] = Blend(static_cast<Byte>(E >> 16), D[2], A);
      }
    }
  }
  BitBlt(DC, Rect.Left, Rect.Top, W, H, BufferDC, 0, 0, SRCCOPY);
}
