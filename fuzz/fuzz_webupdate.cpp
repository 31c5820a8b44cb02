// The update page read as the web-update component reads it: the tags of every line, the
// version rules against the offered version, the addresses it names and the local file name.
#include "app/mxWebUpdate.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  fuzz::Refusable([&] {
    TmxWebUpdate W(nullptr);
    W.GetPageLines()->SetText(fuzz::AsText(Data, Size));
    W.ParseInfoTags();
    for (TmxVersionFormat Format : {vfStandard, vfString, vfNumber}) {
      W.GetProductInfo()->SetVersionFormat(Format);
      (void)W.CompareVersions();
    }
    std::string Host, Path;
    W.SplitURL(W.GetDownloadURL(), Host, Path);
    W.SplitURL(W.GetRedirectURL(), Host, Path);
    W.SetTargetFolder("/nonexistent");
    W.GetLocalFileName(Path);
    // The offered name must never reach outside the target folder.
    const std::string& Name = W.GetOfferedFileName();
    if (Name.find_first_of("/\\") != std::string::npos || Name == "..") __builtin_trap();
  });
  return 0;
}
