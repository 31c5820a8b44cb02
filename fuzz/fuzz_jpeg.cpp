// TJPEGImage: the header read by LoadFromStream and the full decode into its bitmap.
#include "fuzz/FuzzSupport.h"
#include "platform/classes/JPEGImage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  TMemoryStream Stream;
  fuzz::FillStream(Stream, Data, Size);
  TJPEGImage Image;
  fuzz::Refusable([&] {
    Image.LoadFromStream(&Stream);
    Image.DIBNeeded();
  });
  return 0;
}
