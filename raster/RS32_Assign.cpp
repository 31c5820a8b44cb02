// TBitmap32 to and from the platform's graphics: bitmaps, pictures and other graphics.
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/classes/Bitmap.h"
#include "platform/classes/Canvas.h"
#include "platform/classes/Graphic.h"
#include "platform/classes/Icon.h"
#include "platform/classes/Metafile.h"
#include "platform/gdi/Blit.h"
#include "platform/system/ScopeExit.h"
#include "raster/RS32.h"

namespace {
// Four pixels from three 32-bit loads.
inline void Convert4(const Byte* Src, TColor32* P) {
  constexpr TColor32 Opaque = 0xFF000000;
  Cardinal W[3];
  std::memcpy(W, Src, 12);
  P[0] = Opaque | (W[0] & 0xFFFFFF);
  P[1] = Opaque | (W[0] >> 24) | ((W[1] & 0xFFFF) << 8);
  P[2] = Opaque | (W[1] >> 16) | ((W[2] & 0xFF) << 16);
  P[3] = Opaque | (W[2] >> 8);
}

inline TColor32 Convert1(const Byte* Src) {
  return 0xFF000000u | Src[0] | (Src[1] << 8) | (static_cast<TColor32>(Src[2]) << 16);
}
}  // namespace

// The rows of a finished mosaic are converted here, so this is the whole cost of showing it.
// The target is written with stores that bypass the cache: it is far larger than the cache
// and not read again here, and the stores need not fetch it first.
void Convert24To32Row(const Byte* Src, TColor32* Dst, Integer Count) {
  Integer I = 0;
#if defined(__SSE2__)
  for (; I < Count && (reinterpret_cast<NativeUInt>(Dst) & 15) != 0; ++I, Src += 3, ++Dst)
    *Dst = Convert1(Src);
  const __m128i Alpha = _mm_set1_epi32(static_cast<int>(0xFF000000u));
  // A 16-byte load covers four pixels and a third; it stays inside the row while two more
  // pixels follow.
  for (; I + 6 <= Count; I += 4, Src += 12, Dst += 4) {
    const __m128i V = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Src));
    const __m128i P01 = _mm_unpacklo_epi32(V, _mm_srli_si128(V, 3));
    const __m128i P23 = _mm_unpacklo_epi32(_mm_srli_si128(V, 6), _mm_srli_si128(V, 9));
    _mm_stream_si128(reinterpret_cast<__m128i*>(Dst), _mm_or_si128(_mm_unpacklo_epi64(P01, P23), Alpha));
  }
  _mm_sfence();
#endif
  for (; I + 4 <= Count; I += 4, Src += 12, Dst += 4) Convert4(Src, Dst);
  for (; I < Count; ++I, Src += 3, ++Dst) *Dst = Convert1(Src);
}

// 24-bit bitmaps (every mosaic) are converted row by row from their scan lines; the result is
// what the block copy gives: the same colours, alpha 255. Other formats go through the block
// copy from the bitmap's canvas.
void TBitmap32::AssignFromPlatformBitmap(TBitmap* B) {
  SetSize(B->GetWidth(), B->GetHeight());
  if (Empty()) return;
  const TPixelFormat Format = B->GetPixelFormat();
  if (Format == pf24bit) {
    for (Integer Y = 0; Y < GetHeight(); ++Y)
      Convert24To32Row(static_cast<const Byte*>(B->GetScanLine(Y)), RowAddress(Y), GetWidth());
  } else {
    TCanvas* Canvas = B->GetCanvas();
    Canvas->Lock();
    {
      auto Cleanup = ScopeExit([&] { Canvas->Unlock(); });
      BitBlt(GetSurfaceDC(), 0, 0, GetWidth(), GetHeight(), Canvas->GetHandle(), 0, 0, SRCCOPY);
    }
    if (Format != pf32bit) SetAlphaChannel(255);
  }
  if (B->GetTransparent()) {
    const TColor32 Key = Color32FromColor(B->GetTransparentColor()) & 0x00FFFFFF;
    TColor32* P = GetPixels();
    const std::size_t Count = static_cast<std::size_t>(GetWidth()) * static_cast<std::size_t>(GetHeight());
    for (std::size_t I = 0; I < Count; ++I)
      if ((P[I] & 0x00FFFFFF) == Key) P[I] = Key;
  }
  GetFont()->Assign(B->GetCanvas()->GetFont());
}

void TBitmap32::DrawGraphic(TGraphic* Graphic, const TRect& Rect) {
  TCanvas Canvas;
  Canvas.SetHandle(GetSurfaceDC());
  Canvas.StretchDraw(Rect, Graphic);
  Canvas.SetHandle(nullptr);
}

// Drawn over the current pixels: a fresh surface is zero, one of unchanged size keeps its old
// pixels under the graphic's transparent parts.
void TBitmap32::AssignFromGraphic(TGraphic* Graphic) {
  SetSize(Graphic->Width(), Graphic->Height());
  if (Empty()) return;
  DrawGraphic(Graphic, BoundsRect());
  SetAlphaChannel(255);
}

// A picture without a graphic is an empty picture.
void TBitmap32::AssignFromPicture(TPicture* Picture) {
  TGraphic* Graphic = Picture->GetGraphic();
  if (Graphic == nullptr) {
    SetSize(0, 0);
  } else if (auto* Bitmap = dynamic_cast<TBitmap*>(Graphic)) {
    AssignFromPlatformBitmap(Bitmap);
  } else if (dynamic_cast<TIcon*>(Graphic) != nullptr || dynamic_cast<TMetafile*>(Graphic) != nullptr) {
    AssignWithTransparency(Graphic);
  } else {
    SetSize(Graphic->Width(), Graphic->Height());
    if (Empty()) return;
    DrawGraphic(Graphic, MakeRect(0, 0, Picture->GetWidth(), Picture->GetHeight()));
    SetAlphaChannel(255);
  }
}

void TBitmap32::AssignWithTransparency(TGraphic* Graphic) {
  SetSize(Graphic->Width(), Graphic->Height());
  if (Empty()) return;
  const TRect Rect = BoundsRect();
  TBitmap32 Red;
  Clear(0xFFFFFFFF);
  DrawGraphic(Graphic, Rect);
  Red.SetSize(GetWidth(), GetHeight());
  Red.Clear(0xFFFF0000);
  Red.DrawGraphic(Graphic, Rect);
  TColor32* P = GetPixels();
  const TColor32* Q = Red.GetPixels();
  const std::size_t Count = static_cast<std::size_t>(GetWidth()) * static_cast<std::size_t>(GetHeight());
  for (std::size_t I = 0; I < Count; ++I)
    P[I] = (P[I] & 0x00FFFFFF) | (((P[I] ^ Q[I]) & 0x00FFFFFF) == 0 ? 0xFF000000 : 0);
}

void TBitmap32::AssignTo(TPersistent* Dest) {
  if (auto* Picture = dynamic_cast<TPicture*>(Dest))
    CopyToPlatformBitmap(Picture->GetBitmap());
  else if (auto* Bitmap = dynamic_cast<TBitmap*>(Dest))
    CopyToPlatformBitmap(Bitmap);
  else
    TCustomMap::AssignTo(Dest);
}

void TBitmap32::CopyToPlatformBitmap(TBitmap* B) {
  B->SetHandleType(bmDIB);
  B->SetPixelFormat(pf32bit);
  B->GetCanvas()->GetFont()->Assign(GetFont());
  B->SetSize(GetWidth(), GetHeight());
  DrawOntoDC(B->GetCanvas()->GetHandle(), 0, 0);
}
