// The AVI reading path over any bytes: the movie opened through the component, its first,
// second and last frames read into the picture, then the first again (a seek back), and the
// platform's stream format and file information.
#include "fuzz/FuzzSupport.h"
#include "imaging/core/iebitmap.h"
#include "imaging/io/zezudidio.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/media/AviFile.h"
#include "platform/system/Strings.h"

namespace {

void ReadThroughPlatform(const std::u16string& Name) {
  PAVIFILE File = nullptr;
  if (AVIFileOpenW(&File, Name, OF_READ, nullptr) != AVIERR_OK) return;
  AVIFILEINFOW FileInfo;
  AVIFileInfoW(File, &FileInfo, sizeof FileInfo);
  PAVISTREAM Stream = nullptr;
  if (AVIFileGetStream(File, &Stream, 0, 0) == AVIERR_OK) {
    LONG Size = 0;
    if (AVIStreamReadFormat(Stream, 0, nullptr, &Size) == AVIERR_OK && (Size < 40 || Size > 40 + 1024))
      __builtin_trap();
    AVIStreamSampleToTime(Stream, AVIStreamLength(Stream));
  }
  AVIStreamRelease(Stream);
  AVIFileRelease(File);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  static fuzz::TInputFile Input;
  const std::u16string Name = Utf8ToUtf16(Input.Write(Data, Size));
  fuzz::Refusable([&] {
    TIEBitmap Picture;
    TZezudIdIO IO(nullptr);
    IO.SetAttachedIEBitmap(&Picture);
    const Integer Count = IO.OpenAVIFile(Name);
    if (Count < 0 || (Count > 0 && IO.GetAborting())) __builtin_trap();
    for (Integer Frame : {0, 1, Count - 1, 0}) {
      IO.LoadFromAVI(Frame);
      const TIEPixelFormat Format = Picture.GetPixelFormat();
      if (!Picture.IsEmpty() && Format != ie24RGB && Format != ie1g) __builtin_trap();
    }
    IO.CloseAVIFile();
  });
  ReadThroughPlatform(Name);
  return 0;
}
