// The GIF picture class's reader, then rendering and writing of what it read.
#include "fuzz/FuzzSupport.h"
#include "pictures/GIFImage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  TMemoryStream Stream;
  fuzz::FillStream(Stream, Data, Size);
  TGIFImage Image;
  fuzz::Refusable([&] {
    Image.LoadFromStream(&Stream);
    // Small pictures only: the screen size is the file's word, not backed by data.
    if (Int64(Image.GetWidth()) * Image.GetHeight() > 1 << 20) return;
    for (Integer I = 0; I < Image.Frames()->Count() && I < 8; ++I)
      (void)Image.Frames()->SubImage(I)->FrameImage();
    TMemoryStream Out;
    Image.SaveToStream(&Out);
  });
  return 0;
}
