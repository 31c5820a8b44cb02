#include "imaging/formats/iepspdfimage.h"

#include <algorithm>

#include "imaging/core/iebitmap.h"
#include "imaging/formats/iewritework.h"
#include "imaging/io/ieioprogress.h"
#include "imaging/io/tifccitt.h"
#include "imaging/io/zezudidioparams.h"

namespace {

constexpr Integer FillOrderMsbFirst = 1;

}  // namespace

TIEBitmap* IEDocumentPicture(TIEBitmap* Bitmap, std::unique_ptr<TIEBitmap>& Converted) {
  const TIEPixelFormat Format = Bitmap->GetPixelFormat();
  if (Format == ie1g || Format == ie24RGB) return Bitmap;
  Converted = IEConvertedCopy(Bitmap, ie24RGB);
  return Converted.get();
}

bool IERefuseEmptyPicture(TIEBitmap* Bitmap, TIEIOProgress& Progress) {
  if (Bitmap->GetWidth() > 0 && Bitmap->GetHeight() > 0) return false;
  IESetAborting(Progress);
  return true;
}

void IESetDocumentSampleLayout(TIEBitmap* Bitmap, TIOParamsVals& IOParams) {
  const bool OneBit = Bitmap->GetPixelFormat() == ie1g;
  IOParams.BitsPerSample = OneBit ? 1 : 8;
  IOParams.SamplesPerPixel = OneBit ? 1 : 3;
}

std::vector<Byte> IEJoined1BitRows(TIEBitmap* Bitmap, TIEIOProgress& Progress) {
  const Integer Height = Bitmap->GetHeight();
  const size_t RowBytes = static_cast<size_t>(IEPackedRowBytes(Bitmap->GetWidth()));
  std::vector<Byte> Rows(RowBytes * static_cast<size_t>(Height));
  IEStartProgress(Progress, Height);
  for (Integer Y = 0; Y < Height; ++Y) {
    const Byte* Row = static_cast<const Byte*>(Bitmap->GetScanline(Y));
    std::copy(Row, Row + RowBytes, Rows.begin() + static_cast<std::ptrdiff_t>(RowBytes * Y));
    IEReportProgress(Progress, Y);
  }
  return Rows;
}

void IEFaxEncodeRows(TIEBitmap* Bitmap, bool G4, TStream* Stream, TIEIOProgress& Progress) {
  const Integer Width = Bitmap->GetWidth();
  const Integer Height = Bitmap->GetHeight();
  std::unique_ptr<Byte[]> RefRow;
  Integer PendingCount = 0;
  Byte PendingByte = 0;
  // A nil row closes the strip.
  auto Encode = [&](const Byte* Row) {
    if (G4)
      CCITTG4EncodeRow(Row, Width, Stream, FillOrderMsbFirst, Progress.Aborting, RefRow, PendingCount,
                       PendingByte);
    else
      CCITTG3Encode2DRow(Row, Width, Stream, FillOrderMsbFirst, Progress.Aborting, RefRow, PendingCount,
                         PendingByte);
  };
  IEStartProgress(Progress, Height);
  for (Integer Y = 0; Y < Height; ++Y) {
    Encode(static_cast<const Byte*>(Bitmap->GetScanline(Y)));
    IEReportProgress(Progress, Y);
  }
  Encode(nullptr);
}

void IEBGRToRGB(const Byte* Row, Integer Width, Byte* RGB) {
  for (Integer X = 0; X < Width; ++X, Row += 3, RGB += 3) {
    RGB[0] = Row[2];
    RGB[1] = Row[1];
    RGB[2] = Row[0];
  }
}
