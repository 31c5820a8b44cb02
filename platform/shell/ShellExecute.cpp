// ShellExecute: files, folders and addresses go to the desktop's opener; nothing is run
// directly.
#include <spawn.h>
#include <strings.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstring>
#include <mutex>
#include <thread>

#include "platform/shell/ShellApi.h"
#include "platform/system/LastError.h"
#include "platform/system/Paths.h"

extern char** environ;

namespace {

std::mutex OpenCommandLock;
std::string OpenCommand;

bool IsAddress(std::string_view Text) {
  for (const char* Scheme : {"http://", "https://", "ftp://", "mailto:", "file://"})
    if (Text.size() >= std::strlen(Scheme) && strncasecmp(Text.data(), Scheme, std::strlen(Scheme)) == 0)
      return true;
  return false;
}

HINSTANCE Code(std::uintptr_t Value) {
  return reinterpret_cast<HINSTANCE>(Value);
}

}  // namespace

void SetShellOpenCommand(std::string_view Program) {
  std::lock_guard Guard(OpenCommandLock);
  OpenCommand = Program;
}

HINSTANCE ShellExecute(HWND, LPCSTR Operation, LPCSTR File, LPCSTR, LPCSTR Directory, Integer) {
  if (File == nullptr || *File == '\0') return Code(ERROR_FILE_NOT_FOUND);
  if (Operation != nullptr && *Operation != '\0' && strcasecmp(Operation, "open") != 0)
    return Code(SE_ERR_NOASSOC);
  std::string Target = File;
  if (!IsAddress(Target)) {
    Target = ToNativePath(Target);
    struct stat St;
    if (::stat(Target.c_str(), &St) != 0) return Code(ERROR_FILE_NOT_FOUND);
  }
  std::string Program;
  {
    std::lock_guard Guard(OpenCommandLock);
    Program = OpenCommand.empty() ? "xdg-open" : OpenCommand;
  }
  posix_spawn_file_actions_t Actions;
  posix_spawn_file_actions_init(&Actions);
  std::string Folder;
  if (Directory != nullptr && *Directory != '\0') {
    Folder = ToNativePath(Directory);
    posix_spawn_file_actions_addchdir_np(&Actions, Folder.c_str());
  }
  char* Argv[] = {Program.data(), Target.data(), nullptr};
  pid_t Child = 0;
  const int Error = ::posix_spawnp(&Child, Program.c_str(), &Actions, nullptr, Argv, environ);
  posix_spawn_file_actions_destroy(&Actions);
  if (Error != 0) return Code(SE_ERR_NOASSOC);
  // The opener is reaped in the background; its outcome is the desktop's affair.
  std::thread([Child] { ::waitpid(Child, nullptr, 0); }).detach();
  return Code(42);
}
