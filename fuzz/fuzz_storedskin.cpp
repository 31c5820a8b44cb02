// A stored skin from its envelope (version, length, zlib data) through the whole load: the
// inflated payload's pictures, then its skin text and every record it names.
#include "fuzz/FuzzSupport.h"
#include "skin/data/bsSkinData.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  fuzz::Refusable([&] {
    TMemoryStream Input;
    fuzz::FillStream(Input, Data, Size);
    TbsCompressedStoredSkin Stored(nullptr);
    Stored.ReadCompressedSkinStream(&Input);
    TbsSkinData Skin(nullptr);
    Skin.LoadStoredSkin(&Stored);
  });
  return 0;
}
