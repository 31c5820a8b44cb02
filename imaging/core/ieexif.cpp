#include "imaging/core/ieexif.h"

#include <cstring>

bool IEIsEXIFBlock(const void* Data, Integer Length) {
  return Data && Length >= 5 && std::memcmp(Data, IEEXIFHeader, 5) == 0;
}
