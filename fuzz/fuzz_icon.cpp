// TIcon's icon and cursor reader, and the handle it makes.
#include "fuzz/FuzzSupport.h"
#include "platform/classes/Icon.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  TMemoryStream Stream;
  fuzz::FillStream(Stream, Data, Size);
  TIcon Icon;
  fuzz::Refusable([&] {
    Icon.LoadFromStream(&Stream);
    (void)Icon.GetHandle();
  });
  return 0;
}
