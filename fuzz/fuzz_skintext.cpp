// A stored skin's payload as it is after inflation (version, pictures, skin text), compressed
// here so that the fuzzer works on the bytes the loader parses.
#include "fuzz/FuzzSupport.h"
#include "skin/data/bsSkinData.h"
#include "skin/data/bszlibcompress.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  fuzz::Refusable([&] {
    TMemoryStream Payload;
    fuzz::FillStream(Payload, Data, Size);
    TbsCompressedStoredSkin Stored(nullptr);
    CompressStream(&Payload, Stored.CompressedStream.get());
    TbsSkinData Skin(nullptr);
    Skin.LoadStoredSkin(&Stored);
  });
  return 0;
}
