// The JPEG filter over any input: the full read with markers, metadata and profile (native or
// 24-bit, scaled, or limited rows, chosen by the input's last byte), the parameters-only read,
// the data length and ICC walks, and the picture written again with the markers read.
#include <memory>

#include "fuzz/FuzzSupport.h"
#include "imaging/core/iebitmap.h"
#include "imaging/io/jpegfilt.h"
#include "imaging/io/zezudidioparams.h"

namespace {

// Pictures larger than this are not written back: the writer's speed is not under test.
constexpr Integer MaxWrittenPixels = 1 << 20;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  const Byte Choice = Size > 0 ? Data[Size - 1] : 0;
  TMemoryStream Stream;
  fuzz::FillStream(Stream, Data, Size);
  TIELocalProgress Local;
  TIEIOProgress& Progress = Local.Progress;
  TIOParamsVals Params;
  Params.JpegScale = Choice & 7;
  Params.JpegExifThumbnailOnly = (Choice & 0x40) != 0;
  Params.JpegApplyExifOrientation = (Choice & 0x80) != 0;
  auto Bitmap = std::make_unique<TIEBitmap>();
  fuzz::Refusable([&] {
    JpegReadStream(&Stream, nullptr, Bitmap.get(), Params, Progress, false, (Choice & 0x20) != 0, true,
                   (Choice & 0x08) != 0, true, true, (Choice & 0x10) != 0 ? 5 : -1, (Choice & 0x08) != 0);
  });
  fuzz::Refusable([&] {
    Stream.SetPosition(0);
    JpegStreamLength(&Stream);
    TIOParamsVals Preview;
    TIELocalProgress Silent;
    TIEBitmap Untouched;
    JpegReadStream(&Stream, nullptr, &Untouched, Preview, Silent.Progress, true, false, true, false, false,
                   true, -1, false);
  });
  if (!Local.Aborting && !Bitmap->IsEmpty() &&
      static_cast<Int64>(Bitmap->GetWidth()) * Bitmap->GetHeight() <= MaxWrittenPixels) {
    fuzz::Refusable([&] {
      TMemoryStream Written;
      JpegWriteStream(&Written, Bitmap.get(), Params, Progress);
    });
  }
  return 0;
}
