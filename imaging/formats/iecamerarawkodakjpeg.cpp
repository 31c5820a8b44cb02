// Camera raw loader for the Kodak DC120's JPEG-compressed data: a baseline JPEG stored with
// the bytes of every 16-bit pair exchanged, whose each scanline carries two mosaic rows.
#include <algorithm>
#include <memory>

#include "imaging/formats/iecameraraw.h"
#include "imaging/formats/iecamerarawstore.h"
#include "imaging/io/jpegfilt.h"
#include "imaging/io/jpegfiltcodec.h"
#include "platform/system/Exceptions.h"

namespace {

void RawSwapBytes(const Byte* Source, Byte* Dest, Integer ByteCount) {
  for (Integer I = 0; I + 1 < ByteCount; I += 2) {
    const Byte First = Source[I];
    Dest[I] = Source[I + 1];
    Dest[I + 1] = First;
  }
}

// Hands the codec the next block of the file, its byte pairs put back in order. Past the data
// an end-of-image marker is supplied, and the picture counts as cut short.
bool RawJpegFillInput(TIEJpegDecompress* Info) {
  auto& Context = *static_cast<TCameraRawContext*>(Info->client_data);
  const Integer Count =
      static_cast<Integer>(std::min<Int64>(sizeof(Context.JpegBuffer), RawRemaining(Context)));
  if (Count <= 0) {
    Context.InputEnded = true;
    Context.JpegBuffer[0] = 0xFF;
    Context.JpegBuffer[1] = JPEG_EOI;
    IEJpegSetSourceBuffer(Info, Context.JpegBuffer, 2);
    return true;
  }
  RawRead(Context, Context.JpegBuffer, Count);
  RawSwapBytes(Context.JpegBuffer, Context.JpegBuffer, Count);
  IEJpegSetSourceBuffer(Info, Context.JpegBuffer, Count);
  return true;
}

// Owns a decompressor with its error manager; destroys both however the loader ends.
struct TJpegDecompressor {
  TIEJpegDecompress* Info = IEJpegNewDecompress();
  TJpegDecompressor() { IEJpegNewErrorManager(Info); }
  ~TJpegDecompressor() {
    IEJpegDestroyDecompress(Info);
    IEJpegFreeErrorManager(Info);
    IEJpegFreeDecompress(Info);
  }
  TJpegDecompressor(const TJpegDecompressor&) = delete;
  TJpegDecompressor& operator=(const TJpegDecompressor&) = delete;
};

}  // namespace

void RawLoadKodakJpeg(TCameraRawContext& Context) {
  bool DimensionsWrong = false;
  {
    TJpegDecompressor Jpeg;
    TIEJpegDecompress* Info = Jpeg.Info;
    IEJpegCreateDecompress(Info);
    Info->client_data = &Context;
    IEJpegStreamSource(Info, Context.Input);
    IEJpegSetFillInputBuffer(Info, RawJpegFillInput);
    IEJpegReadHeader(Info, true);
    IEJpegStartDecompress(Info);
    const Integer Width = IEJpegOutputWidth(Info);
    DimensionsWrong = Width != Context.Width || IEJpegOutputHeight(Info) != Context.Height / 2 ||
                      IEJpegOutputComponents(Info) != 3;
    if (!DimensionsWrong) {
      Byte** Line = IEJpegAllocSampleArray(Info, JPOOL_IMAGE, Width * 3, 1);
      const Integer Scanlines = Context.Height / 2;
      RawProgressStart(Context, Scanlines);
      for (Integer S = 0; S < Scanlines && !Context.InputEnded; ++S) {
        RawProgressRow(Context, S);
        IEJpegReadScanlines(Info, Line, 1);
        const Byte* Pixel = Line[0];
        // Green sits on the diagonal of each 2 x 2 block; red and blue are shared by its pair.
        for (Integer Col = 0; Col + 1 < Width; Col += 2) {
          const Byte* A = Pixel + Col * 3;
          const Byte* B = A + 3;
          RawStoreSample(Context, 2 * S, Col, A[1] << 6);
          RawStoreSample(Context, 2 * S + 1, Col + 1, B[1] << 6);
          RawStoreSample(Context, 2 * S, Col + 1, (A[0] + B[0]) << 5);
          RawStoreSample(Context, 2 * S + 1, Col, (A[2] + B[2]) << 5);
        }
      }
      if (!Context.InputEnded) IEJpegFinishDecompress(Info);
    }
  }
  if (DimensionsWrong) throw Exception(": incorrect JPEG dimensions");
}
