// Video scripts: the text read as the program reads a script file, and the frame table made
// from its key frames.
#include "app/VideoScript.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  fuzz::Refusable([&] {
    const TVideoScript Script = ReadScript(fuzz::AsText(Data, Size));
    const TFrameTable Table = InterpolateFrames(Script);
    (void)Table;
  });
  return 0;
}
