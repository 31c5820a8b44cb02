// WBMP reading and writing.
#include <algorithm>
#include <array>
#include <memory>
#include <vector>

#include "imaging/core/hyieutils.h"
#include "imaging/core/iebitmap.h"
#include "imaging/core/iestreams.h"
#include "imaging/formats/iewbmp.h"
#include "imaging/formats/iewritework.h"
#include "imaging/io/ieioprogress.h"
#include "imaging/io/iereadlimits.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/Streams.h"

namespace {

constexpr Integer MaxMultiByteBytes = 4;
// A file may be cut short and keep its rows as allocated, but a size claiming more than twice
// what the rest of the stream could hold is refused before allocation.
constexpr Int64 ShortFileTolerance = 2;

Integer ReadUpTo(TStream* Stream, void* Buffer, Integer Count) {
  try {
    return std::max(Stream->Read(Buffer, Count), 0);
  } catch (const EStreamError&) {
    return 0;
  }
}

Integer RowBytes(Integer Width) {
  return (Width + 7) / 8;
}

void WriteMultiByte(TStream* Stream, bool& Aborting, Integer Value) {
  std::array<Byte, 5> Bytes{};
  Integer Count = 0;
  do {
    Bytes[Count++] = static_cast<Byte>(Value & 0x7F);
    Value >>= 7;
  } while (Value > 0);
  std::reverse(Bytes.begin(), Bytes.begin() + Count);
  for (Integer I = 0; I + 1 < Count; ++I) Bytes[I] |= 0x80;
  IESafeStreamWrite(Stream, Aborting, Bytes.data(), Count);
}

// The size that fits WbmpMaxSide x WbmpMaxSide keeping the proportions.
void FittedSize(Integer Width, Integer Height, Integer& FitWidth, Integer& FitHeight) {
  FitWidth = Width;
  FitHeight = Height;
  if (Width <= WbmpMaxSide && Height <= WbmpMaxSide) return;
  if (Width > Height) {
    FitWidth = WbmpMaxSide;
    FitHeight = static_cast<Integer>(static_cast<Int64>(Height) * WbmpMaxSide / Width);
  } else {
    FitHeight = WbmpMaxSide;
    FitWidth = static_cast<Integer>(static_cast<Int64>(Width) * WbmpMaxSide / Height);
  }
  FitWidth = std::max(FitWidth, 1);
  FitHeight = std::max(FitHeight, 1);
}

// An ie1g picture of Width x Height taking the nearest pixel of the ie1g Source.
std::unique_ptr<TIEBitmap> Shrunk(TIEBitmap* Source, Integer Width, Integer Height) {
  auto Result = std::make_unique<TIEBitmap>(Width, Height, ie1g);
  const Int64 SourceWidth = Source->GetWidth();
  const Int64 SourceHeight = Source->GetHeight();
  std::vector<Integer> Columns(static_cast<size_t>(Width));
  for (Integer X = 0; X < Width; ++X) Columns[X] = static_cast<Integer>(X * SourceWidth / Width);
  std::vector<Byte> Line(static_cast<size_t>(RowBytes(Width)));
  for (Integer Y = 0; Y < Height; ++Y) {
    const Byte* In =
        static_cast<const Byte*>(Source->GetScanline(static_cast<Integer>(Y * SourceHeight / Height)));
    std::fill(Line.begin(), Line.end(), 0);
    for (Integer X = 0; X < Width; ++X)
      if (In[Columns[X] >> 3] & (0x80 >> (Columns[X] & 7)))
        Line[X >> 3] |= static_cast<Byte>(0x80 >> (X & 7));
    std::copy(Line.begin(), Line.end(), static_cast<Byte*>(Result->GetScanline(Y)));
  }
  return Result;
}

}  // namespace

Integer WbmpReadMultiByte(TStream* Stream) {
  Integer Value = 0;
  for (Integer I = 0; I < MaxMultiByteBytes; ++I) {
    Byte B = 0;
    if (ReadUpTo(Stream, &B, 1) != 1) break;
    Value = (Value << 7) | (B & 0x7F);
    if ((B & 0x80) == 0) break;
  }
  return Value;
}

void WbmpReadStream(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams, TIEIOProgress& Progress,
                    bool Preview) {
  const Integer Type = WbmpReadMultiByte(Stream);
  const Integer FixedHeader = WbmpReadMultiByte(Stream);
  const Integer Width = WbmpReadMultiByte(Stream);
  const Integer Height = WbmpReadMultiByte(Stream);
  if (Type != 0 || FixedHeader != 0 || Width <= 0 || Height <= 0) {
    IESetAborting(Progress);
    return;
  }
  IOParams.BitsPerSample = 1;
  IOParams.SamplesPerPixel = 1;
  IOParams.Width = IOParams.FileWidth = Width;
  IOParams.Height = IOParams.FileHeight = Height;
  IOParams.SetDpiX(DefaultDpiX);
  IOParams.SetDpiY(DefaultDpiY);
  IOParams.FreeColorMap();
  if (Preview) return;

  if (IEClaimExceedsData(Height, RowBytes(Width), IEStreamBytesLeft(Stream), ShortFileTolerance) ||
      !Bitmap->Allocate(Width, Height, ie1g)) {
    IESetAborting(Progress);
    return;
  }
  IEStartProgress(Progress, Height);
  for (Integer Y = 0; Y < Height; ++Y) {
    if (ReadUpTo(Stream, Bitmap->GetScanline(Y), RowBytes(Width)) < RowBytes(Width)) break;
    IEReportProgress(Progress, Y);
    if (IEIsAborting(Progress)) break;
  }
}

void WbmpWriteStream(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals&, TIEIOProgress& Progress) {
  std::unique_ptr<TIEBitmap> Work;
  TIEBitmap* Picture = Bitmap;
  if (Picture->GetPixelFormat() != ie1g) {
    Work = IEConvertedCopy(Picture, ie1g);
    Picture = Work.get();
  }
  Integer Width = 0;
  Integer Height = 0;
  FittedSize(Picture->GetWidth(), Picture->GetHeight(), Width, Height);
  if (Width != Picture->GetWidth() || Height != Picture->GetHeight()) {
    Work = Shrunk(Picture, Width, Height);
    Picture = Work.get();
  }
  const std::array<Byte, 2> TypeAndFixedHeader{0, 0};
  // A short write fails the save, so the old file is kept.
  bool& Aborting = *Progress.Aborting;
  IESafeStreamWrite(Stream, Aborting, TypeAndFixedHeader.data(), 2);
  WriteMultiByte(Stream, Aborting, Width);
  WriteMultiByte(Stream, Aborting, Height);
  IEStartProgress(Progress, Height);
  for (Integer Y = 0; Y < Height; ++Y) {
    IESafeStreamWrite(Stream, Aborting, Picture->GetScanline(Y), RowBytes(Width));
    IEReportProgress(Progress, Y);
  }
}
