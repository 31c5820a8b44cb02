// ExtCreateRegion over RGNDATA bytes. An input starting with 'X' gives the next 24 bytes as
// the transform (six floats), so both the plain and the transformed road are reached.
#include <cstring>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Regions.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  XFORM Xform{};
  const XFORM* Transform = nullptr;
  if (Size >= 1 + sizeof(XFORM) && Data[0] == 'X') {
    std::memcpy(&Xform, Data + 1, sizeof(XFORM));
    Transform = &Xform;
    Data += 1 + sizeof(XFORM);
    Size -= 1 + sizeof(XFORM);
  }
  // The reader gets the block aligned as a caller's RGNDATA would be.
  std::vector<uint64_t> Block(Size / sizeof(uint64_t) + 1);
  if (Size > 0) std::memcpy(Block.data(), Data, Size);
  fuzz::Refusable([&] {
    if (HRGN Region = ExtCreateRegion(Transform, static_cast<DWORD>(Size),
                                      reinterpret_cast<const RGNDATA*>(Block.data())))
      DeleteObject(Region);
  });
  return 0;
}
