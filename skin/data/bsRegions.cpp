#include "skin/data/bsRegions.h"

#include <algorithm>

#include "platform/classes/Bitmap.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Dib.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/RegionData.h"
#include "platform/gdi/Regions.h"
#include "skin/data/bsUtils.h"

TbsFBitmap::TbsFBitmap(HBITMAP Bitmap) {
  BITMAP Desc{};
  if (!Bitmap || !GetObject(Bitmap, sizeof(Desc), &Desc) || Desc.bmWidth <= 0 || Desc.bmHeight <= 0) return;
  FWidth = Desc.bmWidth;
  FHeight = Desc.bmHeight;
  FInfo.bmiHeader.biSize = 40;
  FInfo.bmiHeader.biWidth = FWidth;
  FInfo.bmiHeader.biHeight = -FHeight;
  FInfo.bmiHeader.biPlanes = 1;
  FInfo.bmiHeader.biBitCount = 24;
  FInfo.bmiHeader.biCompression = BI_RGB;
  void* Bits = nullptr;
  FHandle = CreateDIBSection(nullptr, &FInfo, DIB_RGB_COLORS, &Bits, nullptr, 0);
  if (!FHandle || !Bits) return;
  FDC = CreateCompatibleDC(nullptr);
  GetDIBits(FDC, Bitmap, 0, FHeight, Bits, &FInfo, DIB_RGB_COLORS);
  SelectObject(FDC, FHandle);
  const Integer RowPitch = 3 * FWidth + FWidth % 4;
  FRows.resize(static_cast<std::size_t>(FHeight));
  for (Integer Y = 0; Y < FHeight; ++Y)
    FRows[Y] = static_cast<Byte*>(Bits) + static_cast<std::ptrdiff_t>(Y) * RowPitch;
}

TbsFBitmap::~TbsFBitmap() {
  if (FDC) DeleteDC(FDC);
  if (FHandle) DeleteObject(FHandle);
}

namespace {

void PutLong(std::vector<Byte>& Data, std::size_t Offset, Integer Value) {
  const auto V = static_cast<Cardinal>(Value);
  for (Integer I = 0; I < 4; ++I) Data[Offset + I] = static_cast<Byte>(V >> (8 * I));
}

void PutRect(std::vector<Byte>& Data, std::size_t Offset, const TRect& R) {
  PutLong(Data, Offset, R.Left);
  PutLong(Data, Offset + 4, R.Top);
  PutLong(Data, Offset + 8, R.Right);
  PutLong(Data, Offset + 12, R.Bottom);
}

HRGN RegionFromData(const std::vector<Byte>& Data) {
  return ExtCreateRegion(nullptr, static_cast<DWORD>(Data.size()),
                         reinterpret_cast<const RGNDATA*>(Data.data()));
}

// A strip's region at (X, Y); none for a strip without size.
HRGN StripRegion(TBitmap* Strip, Integer X, Integer Y) {
  if (Strip->GetWidth() <= 0 || Strip->GetHeight() <= 0) return nullptr;
  std::vector<Byte> Data;
  if (MaskToRegionData(Strip, X, Y, Data) == 0) return nullptr;
  return RegionFromData(Data);
}

// Null when either is null; else A := A or B and B is deleted.
HRGN Unite(HRGN A, HRGN B) {
  if (!A) return B;
  if (!B) return A;
  CombineRgn(A, A, B, RGN_OR);
  DeleteObject(B);
  return A;
}

}  // namespace

Integer MaskToRegionData(TBitmap* Mask, Integer X, Integer Y, std::vector<Byte>& Data) {
  Data.clear();
  if (Mask->Empty()) return 0;
  const TbsFBitmap Pixels(Mask->GetHandle());
  // Grows with the runs found: a busy mask is never cut short.
  std::vector<TRect> Runs;
  for (Integer Row = 0; Row < Pixels.GetHeight(); ++Row) {
    const Byte* P = Pixels.Row(Row);
    Integer Col = 0;
    while (Col < Pixels.GetWidth()) {
      const auto Black = [P](Integer C) { return P[3 * C] + P[3 * C + 1] + P[3 * C + 2] == 0; };
      if (!Black(Col)) {
        ++Col;
        continue;
      }
      const Integer Start = Col;
      while (Col < Pixels.GetWidth() && Black(Col)) ++Col;
      Runs.push_back(Rect(Start + X, Row + Y, Col + X, Row + Y + 1));
    }
  }
  Data.assign(32 + 16 * Runs.size(), 0);
  PutLong(Data, 0, 32);
  PutLong(Data, 4, RDH_RECTANGLES);
  PutLong(Data, 8, static_cast<Integer>(Runs.size()));
  PutRect(Data, 16, Rect(X, Y, X + Mask->GetWidth(), Y + Mask->GetHeight()));
  for (std::size_t I = 0; I < Runs.size(); ++I) PutRect(Data, 32 + 16 * I, Runs[I]);
  return static_cast<Integer>(Data.size());
}

void CreateRegionFromMask(HRGN& Region, TBitmap* Mask) {
  Region = nullptr;
  std::vector<Byte> Data;
  if (MaskToRegionData(Mask, 0, 0, Data) > 0) Region = RegionFromData(Data);
}

namespace {

void CopyMask(TBitmap* Dst, TBitmap* Mask, const TRect& To, const TRect& From) {
  if (To.Right > To.Left && To.Bottom > To.Top && From.Right > From.Left && From.Bottom > From.Top)
    Dst->GetCanvas()->CopyRect(To, Mask->GetCanvas(), From);
}

// Tiles Piece downward from 0 with its own height, the last tile cut at Length.
void TileDown(TBitmap* Dst, TBitmap* Mask, const TRect& Piece, Integer Length) {
  const Integer Pitch = Piece.Bottom - Piece.Top;
  if (Pitch <= 0) return;
  for (Integer Y = 0; Y < Length; Y += Pitch) {
    const Integer Cut = std::min(Pitch, Length - Y);
    CopyMask(Dst, Mask, Rect(0, Y, Piece.Right - Piece.Left, Y + Cut),
             Rect(Piece.Left, Piece.Top, Piece.Right, Piece.Top + Cut));
  }
}

// Tiles Piece across from Start with its own width, each tile cut at End.
void TileAcross(TBitmap* Dst, TBitmap* Mask, const TRect& Piece, Integer Start, Integer End) {
  const Integer Pitch = Piece.Right - Piece.Left;
  if (Pitch <= 0) return;
  for (Integer X = Start; X < End; X += Pitch) {
    const Integer Cut = std::min(Pitch, End - X);
    CopyMask(Dst, Mask, Rect(X, 0, X + Cut, Piece.Bottom - Piece.Top),
             Rect(Piece.Left, Piece.Top, Piece.Left + Cut, Piece.Bottom));
  }
}

}  // namespace

void CreateSkinMaskStrips(const TPoint& LT, const TPoint& RT, const TPoint& LB, const TPoint& RB,
                          const TRect& C, const TPoint& NLT, const TPoint& NRT, const TPoint& NLB,
                          const TPoint& NRB, const TRect& NC, TBitmap* Mask, TBitmap* TopMask,
                          TBitmap* LeftMask, TBitmap* RightMask, TBitmap* BottomMask, Integer W,
                          Integer /*H*/) {
  const Integer MW = Mask->GetWidth(), MH = Mask->GetHeight();
  const Integer CH = GetRectHeight(NC);
  if (C.Left > 0 && CH > 0) {
    LeftMask->SetSize(C.Left, CH);
    if (LB.Y != LT.Y) TileDown(LeftMask, Mask, Rect(0, LT.Y, C.Left, LB.Y), CH);
    if (LT.Y > C.Top)
      CopyMask(LeftMask, Mask, Rect(0, 0, C.Left, LT.Y - C.Top), Rect(0, C.Top, C.Left, LT.Y));
    if (C.Bottom > LB.Y)
      CopyMask(LeftMask, Mask, Rect(0, CH + LB.Y - C.Bottom, C.Left, CH), Rect(0, LB.Y, C.Left, C.Bottom));
  }
  const Integer RightW = MW - C.Right;
  if (RightW > 0 && CH > 0) {
    RightMask->SetSize(RightW, CH);
    if (RB.Y != RT.Y) TileDown(RightMask, Mask, Rect(C.Right, RT.Y, MW, RB.Y), CH);
    if (RT.Y > C.Top)
      CopyMask(RightMask, Mask, Rect(0, 0, RightW, RT.Y - C.Top), Rect(C.Right, C.Top, MW, RT.Y));
    if (C.Bottom > RB.Y)
      CopyMask(RightMask, Mask, Rect(0, CH + RB.Y - C.Bottom, RightW, CH), Rect(C.Right, RB.Y, MW, C.Bottom));
  }
  if (W > 0 && C.Top > 0) {
    TopMask->SetSize(W, C.Top);
    if (RT.X != LT.X) TileAcross(TopMask, Mask, Rect(LT.X, 0, RT.X, C.Top), NLT.X, NRT.X);
    CopyMask(TopMask, Mask, Rect(0, 0, LT.X, C.Top), Rect(0, 0, LT.X, C.Top));
    CopyMask(TopMask, Mask, Rect(NRT.X, 0, W, C.Top), Rect(RT.X, 0, MW, C.Top));
  }
  const Integer BottomH = MH - C.Bottom;
  if (W > 0 && BottomH > 0) {
    BottomMask->SetSize(W, BottomH);
    if (RB.X != LB.X) TileAcross(BottomMask, Mask, Rect(LB.X, C.Bottom, RB.X, MH), NLB.X, NRB.X);
    CopyMask(BottomMask, Mask, Rect(0, 0, LB.X, BottomH), Rect(0, C.Bottom, LB.X, MH));
    CopyMask(BottomMask, Mask, Rect(NRB.X, 0, W, BottomH), Rect(RB.X, C.Bottom, MW, MH));
  }
}

void CreateSkinRegion(HRGN& Region, const TPoint& LT, const TPoint& RT, const TPoint& LB, const TPoint& RB,
                      const TRect& C, const TPoint& NLT, const TPoint& NRT, const TPoint& NLB,
                      const TPoint& NRB, const TRect& NC, TBitmap* Mask, Integer W, Integer H) {
  Region = nullptr;
  if (NRT.X < NLT.X || NLB.Y < NLT.Y) return;
  TBitmap Top, Left, Right, Bottom;
  CreateSkinMaskStrips(LT, RT, LB, RB, C, NLT, NRT, NLB, NRB, NC, Mask, &Top, &Left, &Right, &Bottom, W, H);
  HRGN TopRgn = StripRegion(&Top, 0, 0);
  HRGN BottomRgn = StripRegion(&Bottom, 0, NC.Bottom);
  HRGN LeftRgn = StripRegion(&Left, 0, NC.Top);
  HRGN RightRgn = StripRegion(&Right, NC.Right, NC.Top);
  if (IsEmptyRect(NC)) {
    for (HRGN R : {TopRgn, BottomRgn, LeftRgn, RightRgn})
      if (R) DeleteObject(R);
    return;
  }
  Region = Unite(CreateRectRgn(NC.Left, NC.Top, NC.Right, NC.Bottom),
                 Unite(Unite(TopRgn, BottomRgn), Unite(LeftRgn, RightRgn)));
}
