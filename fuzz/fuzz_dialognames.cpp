// The file dialogs' text rules from arbitrary bytes: the input is a folder, a typed name and a
// filter text, split at the first two zero bytes. Nothing may raise; a resolved path is
// absolute, '/' only and free of "." and ".." steps; a filter's parts hold no "|"; a mask with
// a "*" pattern admits every name.
#include <cstdlib>
#include <string>

#include "fuzz/FuzzSupport.h"
#include "skin/dialogs/bsDialogNames.h"

namespace {

std::string Take(std::string& Rest) {
  const auto Zero = Rest.find('\0');
  std::string Part = Rest.substr(0, Zero);
  Rest.erase(0, Zero == std::string::npos ? Rest.size() : Zero + 1);
  return Part;
}

bool HasStep(const std::string& Path, const std::string& Step) {
  const std::string Inner = "/" + Step + "/";
  return Path.find(Inner) != std::string::npos ||
         (Path.size() >= Step.size() + 1 &&
          Path.compare(Path.size() - Step.size() - 1, std::string::npos, "/" + Step) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  std::string Rest(fuzz::AsText(Data, Size));
  const std::string Folder = "/" + Take(Rest);
  const std::string Typed = Take(Rest);
  const std::string Filter = Rest;

  const std::string Path = ResolveTypedPath(Folder, Typed);
  if (Path.empty() || Path[0] != '/' || Path.find('\\') != std::string::npos) std::abort();
  if (HasStep(Path, ".") || HasStep(Path, "..")) std::abort();

  for (const TbsFilterEntry& E : ParseFilter(Filter)) {
    if (E.Description.find('|') != std::string::npos || E.Mask.find('|') != std::string::npos) std::abort();
    const std::string Name = Typed.substr(Typed.find_last_of("/\\") + 1);
    (void)MatchesFileMask(E.Mask, Name);
    if (!MatchesFileMask(E.Mask + ";*", Name)) std::abort();
  }
  (void)MatchesFileMask(Filter, Typed);
  return 0;
}
