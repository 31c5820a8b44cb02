// The GIF reader over any bytes (preview, the first frames, with and without the mask), its LZW
// decoder over the raw input, and the component laying the first frames over the screen. A
// small frame that loads is written back at 1, 4 and 8 bits and must load again at its size.
#include <algorithm>
#include <memory>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "imaging/core/iebitmap.h"
#include "imaging/core/iemask.h"
#include "imaging/formats/giffilter.h"
#include "imaging/formats/giflzw.h"
#include "imaging/formats/ieformats.h"
#include "imaging/io/ieiolibrary.h"
#include "imaging/io/zezudidio.h"
#include "imaging/io/zezudidioparams.h"

namespace {

constexpr Int64 MaxWrittenPixels = 1 << 14;
constexpr Integer FramesTried = 3;
// Composed screens grow with the input; larger inputs are only read frame by frame.
constexpr size_t MaxComposedInput = 4096;

bool ReadGif(TMemoryStream& Stream, TIEBitmap& Bitmap, Integer Index, bool Preview, bool IgnoreAlpha,
             Integer& FrameCount) {
  TIOParamsVals Params;
  Params.GifLzwDecompressProc = GifLzwDecompress;
  Params.GifImageIndex = Index;
  TIELocalProgress Local;
  std::unique_ptr<TIEMask> Alpha;
  Stream.SetPosition(0);
  GifReadStream(&Stream, &Bitmap, FrameCount, Params, Local.Progress, Preview, Alpha, IgnoreAlpha);
  if (Alpha && (Alpha->GetWidth() != Bitmap.GetWidth() || Alpha->GetHeight() != Bitmap.GetHeight()))
    __builtin_trap();
  return !Local.Aborting;
}

void WriteBack(TIEBitmap& Bitmap) {
  if (Bitmap.IsEmpty() || static_cast<Int64>(Bitmap.GetWidth()) * Bitmap.GetHeight() > MaxWrittenPixels)
    return;
  for (Integer Bits : {1, 4, 8}) {
    TIOParamsVals Params;
    Params.BitsPerSample = Bits;
    Params.GifInterlaced = Bits == 4;
    Params.GifLzwCompressProc = GifLzwCompress;
    TMemoryStream Out;
    TIELocalProgress Local;
    GifWriteStream(&Out, &Bitmap, Params, Local.Progress);
    TIEBitmap Again;
    Integer Frames = 0;
    if (Local.Aborting || !ReadGif(Out, Again, 0, false, false, Frames) || Frames != 1) __builtin_trap();
    if (Again.GetWidth() != Bitmap.GetWidth() || Again.GetHeight() != Bitmap.GetHeight()) __builtin_trap();
  }
}

void Compose(TMemoryStream& Stream, Integer FrameCount) {
  TZezudIdIO IO(nullptr);
  IO.GetParams()->SetImageIndex(std::min(FrameCount, FramesTried) - 1);
  Stream.SetPosition(0);
  const Integer Composed = IO.LoadFromStreamGIF(&Stream);
  if (!IO.GetAborting() && (Composed != FrameCount || IO.GetIEBitmap()->IsEmpty())) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  IEFormatsInstall();
  IOLibraryInitialize();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  if (Size > 1) {
    std::vector<Byte> Indices(4096);
    GifLzwDecompress(Data + 1, static_cast<Integer>(Size - 1), Data[0] & 15, Indices.data(),
                     static_cast<Integer>(Indices.size()));
  }
  TMemoryStream Stream;
  fuzz::FillStream(Stream, Data, Size);
  fuzz::Refusable([&] {
    TIEBitmap Bitmap;
    Integer FrameCount = 0;
    ReadGif(Stream, Bitmap, 0, true, true, FrameCount);
    for (Integer Index = 0; Index < FramesTried && Index < FrameCount; ++Index) {
      TIEBitmap Frame;
      Integer Count = 0;
      ReadGif(Stream, Frame, Index, false, true, Count);
      if (ReadGif(Stream, Frame, Index, false, false, Count) && Index == 0) WriteBack(Frame);
    }
    if (FrameCount > 0 && Size <= MaxComposedInput) Compose(Stream, FrameCount);
  });
  return 0;
}
