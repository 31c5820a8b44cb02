// DICOM RLE: a header of up to 15 segment offsets, each segment one byte plane of the frame
// packed as PackBits.
#include <algorithm>
#include <array>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/formats/iedicom.h"
#include "imaging/formats/iedicomcontext.h"
#include "imaging/io/ieioprogress.h"
#include "imaging/io/iereadlimits.h"
#include "platform/system/Streams.h"

namespace {

constexpr Integer RleHeaderSize = 64;
constexpr Integer RleMaxSegments = 15;
// Two bytes of a repeat packet give 128 bytes: no segment can give more a byte.
constexpr Int64 RleMostBytesPerByte = 64;

Cardinal LE32(const Byte* P) {
  return P[0] | (P[1] << 8) | (P[2] << 16) | (static_cast<Cardinal>(P[3]) << 24);
}

// The byte planes of a fragment, each unpacked to one byte a pixel (missing bytes stay 0).
class TRleFragment {
 public:
  TRleFragment(const std::vector<Byte>& Data, Int64 Pixels) : FData(Data), FPixels(Pixels) {
    if (Data.size() < RleHeaderSize) return;
    FCount = static_cast<Integer>(std::min<Cardinal>(LE32(Data.data()), RleMaxSegments));
    for (Integer I = 0; I < FCount; ++I) FOffsets[I] = LE32(Data.data() + 4 + 4 * I);
  }
  Integer GetCount() const { return FCount; }
  // Segment Index (0-based) unpacked; empty when its offsets lie outside the fragment.
  std::vector<Byte> Plane(Integer Index) const {
    const Int64 Size = static_cast<Int64>(FData.size());
    const Int64 Start = FOffsets[Index];
    const Int64 End = Index + 1 < FCount ? FOffsets[Index + 1] : Size;
    if (Start < RleHeaderSize || Start >= End || End > Size) return {};
    std::vector<Byte> Out(static_cast<size_t>(FPixels), 0);
    DicomUnpackRLE(FData.data() + Start, static_cast<Integer>(End - Start), Out.data(),
                   static_cast<Integer>(FPixels));
    return Out;
  }

 private:
  const std::vector<Byte>& FData;
  Int64 FPixels;
  Integer FCount = 0;
  std::array<Int64, RleMaxSegments> FOffsets{};
};

bool ReadPlanes(const TRleFragment& Fragment, Integer Count, std::vector<Byte> (&Planes)[3]) {
  if (Fragment.GetCount() < Count) return false;
  for (Integer I = 0; I < Count; ++I) {
    Planes[I] = Fragment.Plane(I);
    if (Planes[I].empty()) return false;
  }
  return true;
}

}  // namespace

Integer DicomUnpackRLE(const Byte* Data, Integer DataLength, Byte* Out, Integer Expected) {
  Integer In = 0;
  Integer Written = 0;
  while (Written < Expected && In < DataLength) {
    const Integer N = static_cast<signed char>(Data[In++]);
    if (N >= 0) {
      const Integer Available = std::min(N + 1, DataLength - In);
      const Integer Count = std::min(Available, Expected - Written);
      std::copy(Data + In, Data + In + Count, Out + Written);
      Written += Count;
      In += Available;
    } else if (N != -128) {
      if (In >= DataLength) break;
      const Byte Value = Data[In++];
      const Integer Count = std::min(1 - N, Expected - Written);
      std::fill(Out + Written, Out + Written + Count, Value);
      Written += Count;
    }
  }
  return In;
}

void DicomReadRLE(TDICOMContext& C, Int64 Length) {
  if (Length == 0) Length = C.StreamSize - C.Stream->GetPosition();
  const Int64 Pixels = static_cast<Int64>(C.Columns) * C.Rows;
  if (Length < RleHeaderSize || Pixels <= 0 || IEClaimExceedsData(Pixels, 1, Length, RleMostBytesPerByte)) {
    IESetAborting(C.Progress);
    return;
  }
  std::vector<Byte> Data(static_cast<size_t>(Length));
  if (C.Stream->Read(Data.data(), static_cast<Integer>(Length)) != Length) {
    IESetAborting(C.Progress);
    return;
  }
  const TRleFragment Fragment(Data, Pixels);
  const bool Palette = DicomIsPaletteColor(C);
  std::vector<Byte> Planes[3];
  enum { Grey8, Palette8, Grey16, Rgb } Layout;
  Integer PlaneCount = 1;
  TIEPixelFormat Format = ie8g;
  if (C.SamplesPerPixel == 1 && C.BitsStored <= 8 && Palette && !C.LutRed.empty() && !C.LutGreen.empty() &&
      !C.LutBlue.empty())
    Layout = Palette8, Format = ie24RGB;
  else if (C.SamplesPerPixel == 1 && C.BitsStored <= 8 && !Palette)
    Layout = Grey8;
  else if (C.SamplesPerPixel == 1 && C.BitsStored >= 9 && C.BitsStored <= 16 && !Palette)
    Layout = Grey16, PlaneCount = 2, Format = ie16g;
  else if (C.SamplesPerPixel == 3 && C.BitsStored <= 8)
    Layout = Rgb, PlaneCount = 3, Format = ie24RGB;
  else
    Layout = Grey8, PlaneCount = 0;  // a layout this reader does not know
  if (PlaneCount == 0 || !ReadPlanes(Fragment, PlaneCount, Planes) ||
      !C.Bitmap->Allocate(C.Columns, C.Rows, Format)) {
    IESetAborting(C.Progress);
    return;
  }
  for (Integer Y = 0; Y < C.Rows; ++Y) {
    const size_t First = static_cast<size_t>(Y) * C.Columns;
    Byte* Row = static_cast<Byte*>(C.Bitmap->GetScanline(Y));
    const Byte* P0 = Planes[0].data() + First;
    const Byte* P1 = PlaneCount > 1 ? Planes[1].data() + First : nullptr;
    const Byte* P2 = PlaneCount > 2 ? Planes[2].data() + First : nullptr;
    switch (Layout) {
      case Grey8:
        std::copy(P0, P0 + C.Columns, Row);
        break;
      case Palette8:
        for (Integer X = 0; X < C.Columns; ++X) {
          Row[3 * X] = static_cast<Byte>(C.LutBlue[P0[X]] / 257);
          Row[3 * X + 1] = static_cast<Byte>(C.LutGreen[P0[X]] / 257);
          Row[3 * X + 2] = static_cast<Byte>(C.LutRed[P0[X]] / 257);
        }
        break;
      case Grey16:
        for (Integer X = 0; X < C.Columns; ++X)
          reinterpret_cast<Word*>(Row)[X] = static_cast<Word>(P0[X] << 8 | P1[X]);
        break;
      case Rgb:
        for (Integer X = 0; X < C.Columns; ++X) {
          Row[3 * X] = P2[X];
          Row[3 * X + 1] = P1[X];
          Row[3 * X + 2] = P0[X];
        }
        break;
    }
    DicomRowProgress(C, Y);
  }
  if (Layout == Grey8) DicomFinishGrey8(C);
  if (Layout == Grey16) DicomFinishGrey16(C);
}
