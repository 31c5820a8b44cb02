// The DICOM reader over any bytes at two frame indices and as a preview, its content test, and
// the lossless JPEG and PackBits decoders on the raw input.
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "imaging/core/iebitmap.h"
#include "imaging/formats/iedicom.h"
#include "imaging/io/zezudidioparams.h"

namespace {

void ReadDicom(TMemoryStream& Stream, Integer ImageIndex, bool Preview) {
  TIOParamsVals Params;
  Params.SetImageIndex(ImageIndex);
  TIELocalProgress Local;
  TIEBitmap Bitmap;
  Stream.SetPosition(0);
  DicomReadStream(&Stream, Params, &Bitmap, Local.Progress, Preview);
  if (Params.ImageIndex < 0 || Params.ImageIndex >= Params.ImageCount) __builtin_trap();
  if (Preview && !Bitmap.IsEmpty()) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  TMemoryStream Stream;
  fuzz::FillStream(Stream, Data, Size);
  fuzz::Refusable([&] {
    DicomIsFile(&Stream);
    if (Stream.GetPosition() != 0) __builtin_trap();
    ReadDicom(Stream, 0, true);
    ReadDicom(Stream, 0, false);
    ReadDicom(Stream, 2, false);
  });
  TIELocalProgress Local;
  TLosslessJpegImage Image;
  if (LosslessJpegDecode(Data, static_cast<Integer>(Size), Image, Local.Progress) &&
      Image.Samples.size() != static_cast<size_t>(Image.Width) * Image.Height * Image.Components)
    __builtin_trap();
  std::vector<Byte> Out(512);
  if (DicomUnpackRLE(Data, static_cast<Integer>(Size), Out.data(), 512) > static_cast<Integer>(Size))
    __builtin_trap();
  return 0;
}
