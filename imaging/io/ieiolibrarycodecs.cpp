// The lists of installed video compressors.
#include "imaging/io/ieiolibrary.h"
#include "platform/system/StringList.h"

std::unique_ptr<TStringList> GetVideoCodecFourCCs() {
  return std::make_unique<TStringList>();
}

std::unique_ptr<TStringList> GetVideoCodecNames() {
  return std::make_unique<TStringList>();
}
