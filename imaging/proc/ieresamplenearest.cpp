#include "imaging/proc/ieresamplenearest.h"

#include <cmath>
#include <cstring>
#include <vector>

#include "imaging/core/iebitmap.h"

namespace {

// XMap[x] = trunc(source width / destination width * x).
std::vector<Integer> ColumnMap(Integer SourceWidth, Integer DestWidth) {
  std::vector<Integer> Map(DestWidth);
  const Double Ratio = static_cast<Double>(SourceWidth) / DestWidth;
  for (Integer X = 0; X < DestWidth; ++X) Map[X] = static_cast<Integer>(std::trunc(Ratio * X));
  return Map;
}

bool TestBit(const Byte* Row, Integer X) {
  return (Row[X >> 3] & (0x80 >> (X & 7))) != 0;
}

void PutBit(Byte* Row, Integer X, bool Set) {
  if (Set)
    Row[X >> 3] |= static_cast<Byte>(0x80 >> (X & 7));
  else
    Row[X >> 3] &= static_cast<Byte>(~(0x80 >> (X & 7)));
}

// Read only for the source, write only for the destination while the rows are copied; the
// old modes come back at the end.
class TAccessScope {
 public:
  TAccessScope(TIEBitmap* Source, TIEBitmap* Dest)
      : FSource(Source), FDest(Dest), FSourceAccess(Source->GetAccess()), FDestAccess(Dest->GetAccess()) {
    Source->SetAccess(iedRead);
    Dest->SetAccess(iedWrite);
  }
  ~TAccessScope() {
    FSource->SetAccess(FSourceAccess);
    FDest->SetAccess(FDestAccess);
  }
  TAccessScope(const TAccessScope&) = delete;
  TAccessScope& operator=(const TAccessScope&) = delete;

 private:
  TIEBitmap* FSource;
  TIEBitmap* FDest;
  Byte FSourceAccess, FDestAccess;
};

template <std::size_t Size>
void CopyPixels(const Byte* Src, Byte* Out, const std::vector<Integer>& Map) {
  for (std::size_t X = 0; X < Map.size(); ++X, Out += Size) std::memcpy(Out, Src + Map[X] * Size, Size);
}

// Source row Y's pixels of the window XMap[x - 1] .. XMap[x] (0 .. 0 for x = 0) hit by IsHit
// become the hit colour in Out; Out starts as the other colour.
template <class THit>
void ProjectRow(const std::vector<Integer>& Map, Byte* Out, bool HitSets, THit IsHit) {
  for (std::size_t X = 0; X < Map.size(); ++X) {
    const Integer First = X == 0 ? 0 : Map[X - 1], Last = X == 0 ? 0 : Map[X];
    for (Integer SX = First; SX <= Last; ++SX)
      if (IsHit(SX)) {
        PutBit(Out, static_cast<Integer>(X), HitSets);
        break;
      }
  }
}

// Shared frame of both projections: IsHit(Row, SX) says whether a source pixel is kept.
template <class THit>
TIEBitmap* Project(TIEBitmap* Source, TIEBitmap* Dest, Integer Mode, const TIEProgressEvent& OnProgress,
                   TObject* Sender, THit IsHit) {
  if (Dest->GetPixelFormat() != ie1g) Dest->Allocate(Dest->GetWidth(), Dest->GetHeight(), ie1g);
  const Integer DestWidth = Dest->GetWidth(), DestHeight = Dest->GetHeight();
  if (DestWidth == 0 || DestHeight == 0 || Source->GetWidth() == 0 || Source->GetHeight() == 0) return Dest;
  TAccessScope Access(Source, Dest);
  const std::vector<Integer> Map = ColumnMap(Source->GetWidth(), DestWidth);
  const Double RY = static_cast<Double>(Source->GetHeight()) / DestHeight;
  const Double Factor = 100 / (DestHeight + 0.5);
  const bool KeepWhite = Mode == 1;
  const std::size_t RowBytes = (static_cast<std::size_t>(DestWidth) + 7) / 8;
  std::vector<Byte> Out(RowBytes);
  for (Integer Y = 0; Y < DestHeight; ++Y) {
    std::memset(Out.data(), KeepWhite ? 0 : 255, RowBytes);
    const Integer First = Y == 0 ? 0 : static_cast<Integer>(std::trunc(RY * (Y - 1)));
    const Integer Last = Y == 0 ? 0 : static_cast<Integer>(std::trunc(RY * Y));
    for (Integer SY = First; SY <= Last; ++SY) {
      const Byte* Row = static_cast<const Byte*>(Source->GetScanline(SY));
      ProjectRow(Map, Out.data(), KeepWhite, [&](Integer SX) { return IsHit(Row, SX); });
    }
    std::memcpy(Dest->GetScanline(Y), Out.data(), RowBytes);
    if (OnProgress) OnProgress(Sender, static_cast<Integer>(std::trunc(Factor * Y)));
  }
  return Dest;
}

}  // namespace

TIEBitmap* IEResampleNearest(TIEBitmap* Source, TIEBitmap* Dest, TIEProgressEvent OnProgress,
                             TObject* Sender) {
  const Integer DestWidth = Dest->GetWidth(), DestHeight = Dest->GetHeight();
  if (DestWidth == 0 || DestHeight == 0 || Source->GetWidth() == 0 || Source->GetHeight() == 0) return Dest;
  const TIEPixelFormat Format = Source->GetPixelFormat();
  if (Format == ieNull) return Dest;
  TAccessScope Access(Source, Dest);
  const std::vector<Integer> Map = ColumnMap(Source->GetWidth(), DestWidth);
  const Double RY = static_cast<Double>(Source->GetHeight()) / DestHeight;
  const Double Factor = 100 / (DestHeight + 0.5);
  const std::size_t RowBytes = Dest->GetRowLen();
  std::vector<Byte> Out(RowBytes);
  Integer LastReport = -1;
  for (Integer Y = 0; Y < DestHeight; ++Y) {
    const Byte* Src = static_cast<const Byte*>(Source->GetScanline(static_cast<Integer>(std::trunc(RY * Y))));
    switch (IEBitsPerPixel[Format]) {
      case 1:
        for (Integer X = 0; X < DestWidth; ++X) PutBit(Out.data(), X, TestBit(Src, Map[X]));
        break;
      case 8:
        CopyPixels<1>(Src, Out.data(), Map);
        break;
      case 16:
        CopyPixels<2>(Src, Out.data(), Map);
        break;
      case 24:
        CopyPixels<3>(Src, Out.data(), Map);
        break;
      case 32:
        CopyPixels<4>(Src, Out.data(), Map);
        break;
      case 48:
        CopyPixels<6>(Src, Out.data(), Map);
        break;
      default:
        break;
    }
    std::memcpy(Dest->GetScanline(Y), Out.data(), RowBytes);
    const auto Percent = static_cast<Integer>(std::trunc(Y * Factor));
    if (OnProgress && Percent != LastReport) {
      LastReport = Percent;
      OnProgress(Sender, Percent);
    }
  }
  if (Format == ie8p) Source->CopyPaletteTo(Dest);
  return Dest;
}

TIEBitmap* IEProjectRGBTo1Bit(TIEBitmap* Source, TIEBitmap* Dest, Integer Mode, TIEProgressEvent OnProgress,
                              TObject* Sender) {
  // A value of exactly 128 is neither bright nor dark.
  if (Mode == 1)
    return Project(Source, Dest, Mode, OnProgress, Sender, [](const Byte* Row, Integer X) {
      const Byte* P = Row + X * 3;
      return P[0] > 128 && P[1] > 128 && P[2] > 128;
    });
  return Project(Source, Dest, Mode, OnProgress, Sender, [](const Byte* Row, Integer X) {
    const Byte* P = Row + X * 3;
    return P[0] < 128 && P[1] < 128 && P[2] < 128;
  });
}

TIEBitmap* IEProject1Bit(TIEBitmap* Source, TIEBitmap* Dest, Integer Mode, TIEProgressEvent OnProgress,
                         TObject* Sender) {
  const bool KeepWhite = Mode == 1;
  return Project(Source, Dest, Mode, OnProgress, Sender,
                 [KeepWhite](const Byte* Row, Integer X) { return TestBit(Row, X) == KeepWhite; });
}
