// The compression dialog of the AVI file library.
#include "platform/media/AviFile.h"

BOOL AVISaveOptions(HWND, UINT, Integer, PAVISTREAM*, AVICOMPRESSOPTIONS**) {
  return FALSE;
}
