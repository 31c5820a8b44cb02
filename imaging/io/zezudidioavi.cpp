// AVI movies of TZezudIdIO: reading single frames and writing frame after frame through the
// platform's AVI file library.
#include "imaging/io/zezudidio.h"

Integer TZezudIdIO::OpenAVIFile(const std::u16string&) {
  SetAborting(true);
  return 0;
}

void TZezudIdIO::LoadFromAVI(Integer) {
  DoFinishWork();
}

Byte TZezudIdIO::CreateAVIFile(const std::u16string&, Integer, const std::string&) {
  SetAborting(true);
  return 1;
}

void TZezudIdIO::SaveToAVI() {}

void TZezudIdIO::CloseAVIFile() {}
