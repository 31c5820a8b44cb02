// The headerless pixel reader over any bytes: the first six choose the picture and the layout
// (pixel format, size, data format, planes, channel order, alignment, header skip), the rest is
// the data. The metafile content tests run over the whole input and must keep the position.
#include <cstddef>
#include <cstdint>

#include "fuzz/FuzzSupport.h"
#include "imaging/core/iebitmap.h"
#include "imaging/formats/iemetafile.h"
#include "imaging/formats/ierawbitmap.h"
#include "imaging/io/zezudidioparams.h"

namespace {

constexpr size_t LayoutBytes = 6;
constexpr Integer Alignments[] = {0, 1, 8, 16, 24, 32, 64, 12};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  TMemoryStream Stream;
  fuzz::FillStream(Stream, Data, Size);
  if (EmfIsFile(&Stream) && Size < 100) __builtin_trap();
  if (Stream.GetPosition() != 0) __builtin_trap();
  WmfIsFile(&Stream);
  if (Stream.GetPosition() != 0) __builtin_trap();
  if (Size < LayoutBytes) return 0;

  const auto Format = static_cast<TIEPixelFormat>(Data[0] % IEPixelFormatCount);
  const Integer Width = 1 + Data[1] % 64;
  const Integer Height = 1 + Data[2] % 16;
  TIOParamsVals Params;
  Params.RawDataFormat = Data[3] % 3;
  Params.RawPlanar = (Data[3] >> 2) & 1;
  Params.RawChannelOrder = (Data[3] >> 3) & 1;
  Params.RawRowAlign = Alignments[Data[4] % 8];
  Params.RawHeaderSize = static_cast<int8_t>(Data[5]);
  TIEBitmap Bitmap;
  if (!Bitmap.Allocate(Width, Height, Format)) return 0;
  Stream.SetPosition(LayoutBytes);
  fuzz::Refusable([&] {
    TIELocalProgress Local;
    HeaderlessRawReadStream(&Stream, &Bitmap, Params, Local.Progress);
  });
  return 0;
}
