#include "platform/shell/ShellAPI.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cctype>
#include <cstdint>
#include <thread>
#include <vector>

#include "platform/system/Files.h"
#include "platform/system/Paths.h"
#include "platform/system/Strings.h"

extern char** environ;

namespace {
bool OpenWithDesktop(const std::string& Target) {
  char Program[] = "xdg-open";
  std::vector<char> Argument(Target.begin(), Target.end());
  Argument.push_back('\0');
  char* Arguments[] = {Program, Argument.data(), nullptr};
  pid_t Child = 0;
  if (posix_spawnp(&Child, Program, nullptr, nullptr, Arguments, environ) != 0) return false;
  // The opener outlives the call as it likes; only its exit status is collected.
  std::thread([Child] { waitpid(Child, nullptr, 0); }).detach();
  return true;
}

TShellOpenProc OpenHook;

// An address the desktop opens as one ("http://...", "mailto:...") rather than a file.
bool IsAddress(const std::string& Text) {
  const std::size_t Colon = Text.find(':');
  if (Colon == std::string::npos || Colon < 2) return false;
  for (std::size_t I = 0; I < Colon; ++I)
    if (!std::isalnum(static_cast<unsigned char>(Text[I])) && Text[I] != '+' && Text[I] != '-' &&
        Text[I] != '.')
      return false;
  return true;
}

HINSTANCE Answer(Integer Code) {
  return reinterpret_cast<HINSTANCE>(static_cast<std::intptr_t>(Code));
}
}  // namespace

void SetShellOpenHook(TShellOpenProc Hook) {
  OpenHook = std::move(Hook);
}

HINSTANCE ShellExecute(HWND__*, const char* Verb, const char* File, const char*, const char*, Integer) {
  if (Verb != nullptr && *Verb != '\0' && !SameText(Verb, "open")) return Answer(SE_ERR_NOASSOC);
  const std::string Name = File != nullptr ? File : "";
  if (Name.empty()) return Answer(SE_ERR_FNF);
  std::string Target = Name;
  if (!IsAddress(Name)) {
    Target = ToNativePath(Name);
    if (!FileExists(Target) && !DirectoryExists(Target)) return Answer(SE_ERR_FNF);
  }
  const bool Started = OpenHook ? OpenHook(Target) : OpenWithDesktop(Target);
  return Answer(Started ? 42 : SE_ERR_NOASSOC);
}
