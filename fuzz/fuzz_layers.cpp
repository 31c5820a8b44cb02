// The layer-file parser over any bytes; when it accepts a file, every picture block it handed
// out is decoded as the view decodes it (raw, or raw behind deflate for code -1) and its rows
// are touched.
#include "fuzz/FuzzSupport.h"
#include "imaging/core/iebitmap.h"
#include "imaging/core/iestreams.h"
#include "imaging/io/iezlib.h"
#include "imaging/view/zezudidviewlayerfile.h"

namespace {

void TouchRows(TIEBitmap& Bitmap) {
  const Integer Last = Bitmap.GetRowLen() - 1;
  (void)static_cast<volatile Byte*>(Bitmap.GetScanline(0))[Last];
  (void)static_cast<volatile Byte*>(Bitmap.GetScanline(Bitmap.GetHeight() - 1))[Last];
}

void DecodePicture(const std::vector<Byte>& Data, bool Compressed) {
  TIEMemStream Source(Data.data(), static_cast<Int64>(Data.size()));
  TIEBitmap Bitmap;
  bool Read;
  if (Compressed) {
    TZDecompressionStream Inflate(&Source);
    Read = Bitmap.LoadRawFromStream(nullptr, &Inflate);
  } else {
    Read = Bitmap.LoadRawFromStream(nullptr, &Source);
  }
  if (Read) TouchRows(Bitmap);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  TMemoryStream Stream;
  fuzz::FillStream(Stream, Data, Size);
  fuzz::Refusable([&] {
    (void)IsLayersStream(&Stream);
    TIELayersFile File;
    if (IEParseLayersStream(&Stream, File) != TIELayersParseResult::Ok) return;
    const bool Raw = File.Header.Code == IELayersRaw || File.Header.Code == IELayersRawCompressed;
    if (!Raw) return;
    for (const TIELayerFileRecord& Layer : File.Layers)
      fuzz::Refusable([&] { DecodePicture(Layer.RawPicture, File.Header.Code == IELayersRawCompressed); });
  });
  return 0;
}
