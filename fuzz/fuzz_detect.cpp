// Content detection with every built format's content test registered, from the input's start
// and from an offset inside it that its first byte chooses: whatever the bytes, the detector
// answers a code and leaves the stream where it found it.
#include <cstdlib>

#include "fuzz/FuzzSupport.h"
#include "imaging/core/hyieutils.h"
#include "imaging/formats/ieformats.h"
#include "imaging/io/iefileformats.h"
#include "imaging/io/ieiolibrary.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  IEFormatsInstall();
  IORegisterLibraryHooks();
  LibraryInitialize();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  TMemoryStream Stream;
  fuzz::FillStream(Stream, Data, Size);
  const Int64 Offset = Size > 0 ? Data[0] % Size : 0;
  for (const Int64 Start : {Int64(0), Offset}) {
    Stream.SetPosition(Start);
    const TIEFileType FileType = DetectStreamFormat(&Stream);
    if (Stream.GetPosition() != Start || FileType < ioUnknown || FileType > ioHDP) std::abort();
  }
  return 0;
}
