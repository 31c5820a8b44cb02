#include "platform/media/VideoCompressors.h"

BOOL ICInfo(DWORD, DWORD, ICINFO*) {
  return FALSE;
}
HIC ICOpen(DWORD, DWORD, UINT) {
  return nullptr;
}
LRESULT ICGetInfo(HIC, ICINFO*, DWORD) {
  return 0;
}
LRESULT ICClose(HIC) {
  return ICERR_BADHANDLE;
}
void ICSetInstalledCompressorsForTesting(std::optional<std::vector<FOURCC>>) {}
