#include "skin/data/bsEffects.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "platform/classes/Bitmap.h"
#include "platform/classes/Graphic.h"
#include "platform/gdi/Blit.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Dib.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Rop3.h"
#include "platform/system/Exceptions.h"

namespace {

// Bitmaps that own a section, so that a DC of one of them is drawn on without GDI.
std::vector<TbsBitmap*>& Registry() {
  static std::vector<TbsBitmap*> List;
  return List;
}

bool SameRectSize(const TRect& A, const TRect& B) {
  return A.Right - A.Left == B.Right - B.Left && A.Bottom - A.Top == B.Bottom - B.Top;
}

using TRowKernel = void (*)(const TbsPixel*, TbsPixel*, Integer);

// Nearest source index of each destination index; the middle one for a single target.
std::vector<Integer> MapAxis(Integer Count, Integer ClipStart, Integer DstStart, Integer DstLength,
                             Integer SrcStart, Integer SrcEnd) {
  std::vector<Integer> Map(static_cast<std::size_t>(Count));
  const Integer SrcLength = SrcEnd - SrcStart;
  for (Integer I = 0; I < Count; ++I) {
    if (DstLength < 2)
      Map[I] = (SrcStart + SrcEnd - 1) / 2;
    else
      Map[I] = static_cast<Integer>(
          static_cast<double>(I + ClipStart - DstStart) * (SrcLength - 1) / (DstLength - 1) + SrcStart);
  }
  return Map;
}

}  // namespace

TbsBitmap* FindBitmapByDC(HDC DC) {
  for (TbsBitmap* B : Registry())
    if (B->GetDC() == DC) return B;
  return nullptr;
}

TbsBitmap::TbsBitmap() {
  FBitmapInfo.bmiHeader.biSize = 40;
  FBitmapInfo.bmiHeader.biPlanes = 1;
  FBitmapInfo.bmiHeader.biBitCount = 32;
  FBitmapInfo.bmiHeader.biCompression = BI_RGB;
}

TbsBitmap::~TbsBitmap() {
  if (FRegistered) std::erase(Registry(), this);
  if (FCanvas) FCanvas->SetHandle(nullptr);
  FCanvas.reset();
  FreeSection();
}

void TbsBitmap::FreeSection() {
  if (FDC) DeleteDC(FDC);
  if (FHandle) DeleteObject(FHandle);
  FDC = nullptr;
  FHandle = nullptr;
  FBits = nullptr;
}

void TbsBitmap::SetSize(Integer NewWidth, Integer NewHeight) {
  NewWidth = std::abs(NewWidth);
  NewHeight = std::abs(NewHeight);
  if (NewWidth == 0 || NewHeight == 0 || (NewWidth == FWidth && NewHeight == FHeight)) return;
  if (FCanvas) FCanvas->SetHandle(nullptr);
  FreeSection();
  FBitmapInfo.bmiHeader.biWidth = NewWidth;
  FBitmapInfo.bmiHeader.biHeight = -NewHeight;
  void* Bits = nullptr;
  FHandle = CreateDIBSection(nullptr, &FBitmapInfo, DIB_RGB_COLORS, &Bits, nullptr, 0);
  if (!FHandle || !Bits) {
    if (FHandle) DeleteObject(FHandle);
    FHandle = nullptr;
    throw Exception("Can't allocate the DIB handle");
  }
  FDC = CreateCompatibleDC(nullptr);
  if (!FDC) {
    FreeSection();
    throw Exception("Can't create compatible DC");
  }
  if (!SelectObject(FDC, FHandle)) {
    FreeSection();
    throw Exception("Can't bslect an object into DC");
  }
  FBits = static_cast<TbsPixel*>(Bits);
  if (!FRegistered) {
    Registry().push_back(this);
    FRegistered = true;
  }
  if (FCanvas) FCanvas->SetHandle(FDC);
  FWidth = NewWidth;
  FHeight = NewHeight;
}

TCanvas* TbsBitmap::GetCanvas() {
  if (!FCanvas) {
    FCanvas = std::make_unique<TCanvas>();
    FCanvas->SetHandle(FDC);
  }
  return FCanvas.get();
}

TbsPixel TbsBitmap::GetPixel(Integer X, Integer Y) const {
  if (!FBits || X < 0 || Y < 0 || X >= FWidth || Y >= FHeight) return 0;
  return *GetPixelPtr(X, Y);
}

void TbsBitmap::SetPixel(Integer X, Integer Y, TbsPixel Value) {
  if (!FBits || X < 0 || Y < 0 || X >= FWidth || Y >= FHeight) return;
  *GetPixelPtr(X, Y) = Value;
}

void TbsBitmap::SetAlpha(Byte Alpha) {
  if (Empty()) return;
  SetAlphaLine(FBits, FWidth * FHeight, Alpha);
}

void TbsBitmap::DetectAlphaBlend() {
  FAlphaBlend = false;
  if (!FBits) return;
  const TbsPixel* P = FBits;
  for (Integer I = 0, N = FWidth * FHeight; I < N; ++I) {
    const TbsPixel A = P[I] >> 24;
    if (A != 0 && A != 255) {
      FAlphaBlend = true;
      return;
    }
  }
}

void TbsBitmap::ClampColorsToAlpha() {
  if (!FBits) return;
  TbsPixel* P = FBits;
  for (Integer I = 0, N = FWidth * FHeight; I < N; ++I) {
    const TbsPixel A = P[I] >> 24;
    const TbsPixel R = std::min((P[I] >> 16) & 0xFF, A);
    const TbsPixel G = std::min((P[I] >> 8) & 0xFF, A);
    const TbsPixel B = std::min(P[I] & 0xFF, A);
    P[I] = (A << 24) | (R << 16) | (G << 8) | B;
  }
}

void TbsBitmap::KeyTransparentColor(TbsPixel Key) {
  if (!FBits) return;
  FTransparent = false;
  const Integer KR = (Key >> 16) & 0xFF, KG = (Key >> 8) & 0xFF, KB = Key & 0xFF;
  TbsPixel* P = FBits;
  for (Integer I = 0, N = FWidth * FHeight; I < N; ++I) {
    const Integer R = (P[I] >> 16) & 0xFF, G = (P[I] >> 8) & 0xFF, B = P[I] & 0xFF;
    if (std::abs(R - KR) <= 5 && std::abs(G - KG) <= 5 && std::abs(B - KB) <= 5) {
      P[I] = bsTransparentPixel;
      FTransparent = true;
    }
  }
}

void TbsBitmap::FillRect(const TRect& R, TbsPixel Value) {
  const TRect C{std::max(R.Left, 0), std::max(R.Top, 0), std::min(R.Right, FWidth),
                std::min(R.Bottom, FHeight)};
  if (!FBits || C.Right <= C.Left || C.Bottom <= C.Top) return;
  if (FAlphaBlend) {
    std::vector<TbsPixel> Row(static_cast<std::size_t>(C.Right - C.Left));
    FillLongwords(Row.data(), C.Right - C.Left, Value);
    for (Integer Y = C.Top; Y < C.Bottom; ++Y)
      BlendLine(Row.data(), GetPixelPtr(C.Left, Y), C.Right - C.Left);
  } else {
    FillRectLongwords(FBits, FWidth, FHeight, C.Left, C.Top, C.Right - 1, C.Bottom - 1, Value);
  }
}

void TbsBitmap::DrawToDC(HDC DC, Integer X, Integer Y) {
  DrawRectToDC(DC, X, Y, TRect{0, 0, FWidth, FHeight});
}

void TbsBitmap::DrawRectToDC(HDC DC, Integer X, Integer Y, const TRect& Src) {
  DrawToDCRect(DC, TRect{X, Y, X + Src.Right - Src.Left, Y + Src.Bottom - Src.Top}, Src);
}

void TbsBitmap::DrawToCanvas(TCanvas* Canvas, Integer X, Integer Y) {
  DrawToDC(Canvas->GetHandle(), X, Y);
}

void TbsBitmap::BlendToDC(HDC DC, const TRect& Dst, const TRect& Src) {
  const Integer DW = Dst.Right - Dst.Left, DH = Dst.Bottom - Dst.Top;
  if (DW <= 0 || DH <= 0) return;
  TbsBitmap Temp;
  Temp.SetSize(DW, DH);
  BitBlt(Temp.GetDC(), 0, 0, DW, DH, DC, Dst.Left, Dst.Top, SRCCOPY);
  DrawToBitmapRect(&Temp, TRect{0, 0, DW, DH}, Src);
  BitBlt(DC, Dst.Left, Dst.Top, DW, DH, Temp.GetDC(), 0, 0, SRCCOPY);
}

void TbsBitmap::DrawToDCRect(HDC DC, const TRect& Dst, const TRect& Src) {
  if (TbsBitmap* Target = FindBitmapByDC(DC)) {
    POINT Org{};
    GetWindowOrgEx(DC, &Org);
    DrawToBitmapRect(Target, TRect{Dst.Left - Org.X, Dst.Top - Org.Y, Dst.Right - Org.X, Dst.Bottom - Org.Y},
                     Src);
    return;
  }
  if (Empty()) return;
  const Integer DW = Dst.Right - Dst.Left, DH = Dst.Bottom - Dst.Top;
  const Integer SW = Src.Right - Src.Left, SH = Src.Bottom - Src.Top;
  if (FAlphaBlend) {
    BlendToDC(DC, Dst, Src);
  } else if (FTransparent) {
    if (GetDeviceCaps(DC, BITSPIXEL) * GetDeviceCaps(DC, PLANES) >= 24)
      TransparentBlt(DC, Dst.Left, Dst.Top, DW, DH, FDC, Src.Left, Src.Top, SW, SH, bsTransparentKey);
    else
      BlendToDC(DC, Dst, Src);
  } else {
    SetStretchBltMode(DC, COLORONCOLOR);
    StretchBlt(DC, Dst.Left, Dst.Top, DW, DH, FDC, Src.Left, Src.Top, SW, SH, SRCCOPY);
  }
}

void TbsBitmap::DrawToBitmap(TbsBitmap* Target, Integer X, Integer Y) {
  DrawRectToBitmap(Target, X, Y, TRect{0, 0, FWidth, FHeight});
}

void TbsBitmap::DrawRectToBitmap(TbsBitmap* Target, Integer X, Integer Y, const TRect& Src) {
  DrawToBitmapRect(Target, TRect{X, Y, X + Src.Right - Src.Left, Y + Src.Bottom - Src.Top}, Src);
}

void TbsBitmap::DrawToBitmapRect(TbsBitmap* Target, const TRect& Dst, const TRect& Src) {
  if (Src.Right <= Src.Left || Src.Bottom <= Src.Top) return;
  const TRect Clip{std::max(Dst.Left, 0), std::max(Dst.Top, 0), std::min(Dst.Right, Target->FWidth),
                   std::min(Dst.Bottom, Target->FHeight)};
  if (Clip.Right <= Clip.Left || Clip.Bottom <= Clip.Top) return;
  if (Src.Left < 0 || Src.Top < 0 || Src.Right > FWidth || Src.Bottom > FHeight) return;
  if (!FBits || !Target->FBits) return;
  const TRowKernel Kernel = FAlphaBlend ? BlendLine : FTransparent ? ColorKeyLine : MoveLongwords;
  const Integer ClipW = Clip.Right - Clip.Left;
  if (SameRectSize(Dst, Src)) {
    const Integer SX = Src.Left + Clip.Left - Dst.Left;
    for (Integer Y = Clip.Top; Y < Clip.Bottom; ++Y)
      Kernel(GetPixelPtr(SX, Src.Top + Y - Dst.Top), Target->GetPixelPtr(Clip.Left, Y), ClipW);
    return;
  }
  const std::vector<Integer> Cols =
      MapAxis(ClipW, Clip.Left, Dst.Left, Dst.Right - Dst.Left, Src.Left, Src.Right);
  const std::vector<Integer> Rows =
      MapAxis(Clip.Bottom - Clip.Top, Clip.Top, Dst.Top, Dst.Bottom - Dst.Top, Src.Top, Src.Bottom);
  std::vector<TbsPixel> Buffer;
  if (Kernel != MoveLongwords) Buffer.resize(static_cast<std::size_t>(ClipW));
  Integer PrevRow = -1;
  for (Integer J = 0; J < Clip.Bottom - Clip.Top; ++J) {
    TbsPixel* Out = Target->GetPixelPtr(Clip.Left, Clip.Top + J);
    const TbsPixel* In = GetScanLine(Rows[J]);
    if (Kernel == MoveLongwords) {
      if (Rows[J] == PrevRow)
        MoveLongwords(Out - Target->FWidth, Out, ClipW);
      else
        for (Integer I = 0; I < ClipW; ++I) Out[I] = In[Cols[I]];
    } else {
      if (Rows[J] != PrevRow)
        for (Integer I = 0; I < ClipW; ++I) Buffer[I] = In[Cols[I]];
      Kernel(Buffer.data(), Out, ClipW);
    }
    PrevRow = Rows[J];
  }
}

void TbsBitmap::AssignGraphic(TGraphic* Graphic, const TRect& R) {
  if (Empty()) return;
  TBitmap Temp;
  Temp.SetPixelFormat(pf32bit);
  Temp.SetSize(FWidth, FHeight);
  TCanvas* C = Temp.GetCanvas();
  C->GetBrush()->SetColor(clFuchsia);
  C->GetPen()->SetColor(clFuchsia);
  C->Rectangle(-1, -1, FWidth + 1, FHeight + 1);
  C->StretchDraw(R, Graphic);
  for (Integer Y = 0; Y < FHeight; ++Y) {
    const TbsPixel* Row = static_cast<const TbsPixel*>(Temp.GetScanLine(Y));
    for (Integer X = 0; X < FWidth; ++X)
      if ((Row[X] & 0x00FFFFFF) != 0x00FF00FF) SetPixel(X, Y, Row[X]);
  }
}

void TbsBitmap::Assign(TPersistent* Source) {
  if (auto* B = dynamic_cast<TbsBitmap*>(Source)) {
    SetSize(B->FWidth, B->FHeight);
    if (!B->FBits || Empty()) return;
    MoveLongwords(B->FBits, FBits, FWidth * FHeight);
    FName = B->FName;
    FTransparent = B->FTransparent;
    FAlphaBlend = B->FAlphaBlend;
    return;
  }
  TBitmap* Bmp = dynamic_cast<TBitmap*>(Source);
  TGraphic* Graphic = dynamic_cast<TGraphic*>(Source);
  if (auto* P = dynamic_cast<TPicture*>(Source)) {
    Graphic = P->GetGraphic();
    Bmp = dynamic_cast<TBitmap*>(Graphic);
  }
  if (Bmp && Bmp->GetPixelFormat() == pf32bit && Bmp->GetHandleType() == bmDIB &&
      !dynamic_cast<TPicture*>(Source)) {
    SetSize(Bmp->GetWidth(), Bmp->GetHeight());
    if (Empty()) return;
    for (Integer Y = 0; Y < FHeight; ++Y)
      MoveLongwords(static_cast<const TbsPixel*>(Bmp->GetScanLine(Y)), GetScanLine(Y), FWidth);
    DetectAlphaBlend();
    return;
  }
  if (Bmp) {
    SetSize(Bmp->GetWidth(), Bmp->GetHeight());
    if (Empty()) return;
    BitBlt(FDC, 0, 0, FWidth, FHeight, Bmp->GetCanvas()->GetHandle(), 0, 0, SRCCOPY);
    SetAlpha(255);
    return;
  }
  if (Graphic) {
    SetSize(Graphic->GetWidth(), Graphic->GetHeight());
    if (Empty()) return;
    AssignGraphic(Graphic, TRect{0, 0, FWidth, FHeight});
    SetAlpha(255);
    return;
  }
  TPersistent::Assign(Source);
}

void TbsBitmap::AssignTo(TPersistent* Dest) {
  TBitmap* Bmp = dynamic_cast<TBitmap*>(Dest);
  if (auto* P = dynamic_cast<TPicture*>(Dest)) Bmp = P->GetBitmap();
  if (!Bmp) {
    TPersistent::AssignTo(Dest);
    return;
  }
  Bmp->SetPixelFormat(pf32bit);
  Bmp->SetSize(FWidth, FHeight);
  DrawToCanvas(Bmp->GetCanvas(), 0, 0);
}
