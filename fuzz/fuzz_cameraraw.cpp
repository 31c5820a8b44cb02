// The camera raw content test and reader over any bytes (parameters only, full and half size),
// and every loader straight on the input with a small geometry taken from its first bytes, so
// that loaders are reached without the headers identification asks for.
#include <memory>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "imaging/core/iebitmap.h"
#include "imaging/formats/iecameraraw.h"
#include "imaging/io/zezudidioparams.h"

namespace {

constexpr TCameraRawLoader Loaders[] = {
    RawLoadCanonCompressed,
    RawLoadLosslessJpeg,
    RawLoadNikonCompressed,
    RawLoadKodakRadc,
    RawLoadKodakCompressed,
    RawLoadKodakYuv,
    RawLoadSony,
    RawLoadFoveon,
    RawLoadCanon600,
    RawLoadCanonA5,
    RawLoadNikon,
    RawLoadNikonE2100,
    RawLoadNikonE950,
    RawLoadOlympusC,
    RawLoadPacked12,
    RawLoadBigEndian16,
    RawLoadBigEndianHigh12,
    RawLoadBigEndianLow12,
    RawLoadBigEndianLow10,
    RawLoadLittleEndianHigh12,
    RawLoadEightBit,
    RawLoadCasioQV5700,
    RawLoadNucore,
    RawLoadKodakEasy,
    RawLoadKodakDC120,
    RawLoadKodakJpeg,
    RawLoadRollei,
    RawLoadPhaseOne,
    RawLoadIxpress,
    RawLoadFujiS2,
    RawLoadFujiS5000,
    RawLoadFujiS7000,
    RawLoadFujiF700,
};
constexpr Cardinal FilterPatterns[] = {0x94949494, 0x61616161, 0x16161616, 0x49494949, 0xB4B4B4B4, 0};
constexpr size_t GeometryBytes = 8;

void ReadRaw(TMemoryStream& Stream, bool Preview, bool HalfSize) {
  TIOParamsVals Params;
  Params.RawHalfSize = HalfSize;
  TIELocalProgress Local;
  TIEBitmap Bitmap;
  Stream.SetPosition(0);
  CameraRawReadStream(&Stream, &Bitmap, Params, Local.Progress, Preview);
  if (Preview && !Bitmap.IsEmpty()) __builtin_trap();
}

void RunLoader(TMemoryStream& Stream, const uint8_t* Data, TCameraRawLoader Loader) {
  auto Context = std::make_unique<TCameraRawContext>();
  TCameraRawContext& C = *Context;
  RawPrepareContext(C, &Stream);
  C.ByteOrder = Data[0] & 1 ? 0x4949 : 0x4D4D;
  C.Height = 1 + Data[1] % 24;
  C.Width = 1 + Data[2] % 24;
  C.TopMargin = Data[3] % 3;
  C.LeftMargin = (Data[3] >> 2) % 3;
  C.RawHeight = C.Height + C.TopMargin + Data[4] % 3;
  C.RawWidth = C.Width + C.LeftMargin + (Data[4] >> 2) % 9;
  C.Filters = FilterPatterns[Data[5] % std::size(FilterPatterns)];
  C.Colors = Data[5] & 0x80 ? 4 : 3;
  C.Shrink = C.Filters != 0 && (Data[6] & 1);
  C.Maximum = 0x4000;
  C.DataOffset = static_cast<Integer>(GeometryBytes);
  C.ImageHeight = (C.Height + C.Shrink) >> C.Shrink;
  C.ImageWidth = (C.Width + C.Shrink) >> C.Shrink;
  std::unique_ptr<Word[][4]> Image(new Word[static_cast<size_t>(C.ImageHeight) * C.ImageWidth][4]());
  C.Image = Image.get();
  Stream.SetPosition(C.DataOffset);
  fuzz::Refusable([&] { Loader(C); });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  TMemoryStream Stream;
  fuzz::FillStream(Stream, Data, Size);
  if (CameraRawIsFile(&Stream) && Size == 0) __builtin_trap();
  if (Stream.GetPosition() != 0) __builtin_trap();
  fuzz::Refusable([&] {
    ReadRaw(Stream, true, false);
    ReadRaw(Stream, false, false);
    ReadRaw(Stream, false, true);
  });
  if (Size < GeometryBytes) return 0;
  for (const TCameraRawLoader Loader : Loaders) RunLoader(Stream, Data, Loader);
  return 0;
}
