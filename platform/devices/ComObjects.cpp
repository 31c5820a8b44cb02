#include "platform/devices/ComObjects.h"

namespace {

int& OleStarts() {
  thread_local int Count = 0;
  return Count;
}

}  // namespace

HRESULT OleInitialize(void* /*pvReserved*/) {
  return OleStarts()++ == 0 ? S_OK : S_FALSE;
}

void OleUninitialize() {
  if (OleStarts() > 0) --OleStarts();
}
