#include "platform/system/NamedMutex.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "platform/system/FileErrors.h"
#include "platform/system/Files.h"

namespace {

class TMutexObject : public TKernelObject {
 public:
  TMutexObject(std::string Name, int LockFile) : FName(std::move(Name)), FLockFile(LockFile) {}

  bool IsWaitable() const override { return true; }
  bool IsSignaled(DWORD ThreadId) const override { return FOwner == 0 || FOwner == ThreadId; }
  void Satisfy(DWORD ThreadId) override {
    FOwner = ThreadId;
    ++FCount;
  }
  void HandleClosed() override;

  // Under the wait lock.
  bool Release(DWORD ThreadId) {
    if (FOwner != ThreadId || FCount == 0) return false;
    if (--FCount == 0) FOwner = 0;
    return true;
  }

  // Under the name lock.
  Integer Handles = 1;

 private:
  const std::string FName;  // empty for an unnamed mutex
  int FLockFile;            // -1 for an unnamed mutex
  DWORD FOwner = 0;         // under the wait lock
  Integer FCount = 0;
};

// The named mutexes of this process. A name has one object here however many handles name
// it, and one open lock file.
struct TNameTable {
  std::mutex Lock;
  std::map<std::string, std::shared_ptr<TMutexObject>> Objects;
};

TNameTable& Names() {
  static TNameTable* Instance = new TNameTable;
  return *Instance;
}

void TMutexObject::HandleClosed() {
  if (FName.empty()) return;
  TNameTable& N = Names();
  std::lock_guard Guard(N.Lock);
  if (--Handles > 0) return;
  // Closed under the name lock, so a CreateMutex of this process never meets its own stale lock.
  ::close(FLockFile);
  FLockFile = -1;
  N.Objects.erase(FName);
}

std::string LockFolder() {
  const char* Runtime = std::getenv("XDG_RUNTIME_DIR");
  if (Runtime != nullptr && *Runtime != '\0') return IncludeTrailingPathDelimiter(Runtime);
  return GetTempPath();
}

// Letters, digits, '-', '_' and '.' stay; every other byte becomes %XX, so different names
// never share a file and no name can leave the folder. Long names keep a prefix and a hash.
std::string FileNamePart(const std::string& Name) {
  static const char Hex[] = "0123456789ABCDEF";
  std::string Part;
  for (unsigned char C : Name) {
    if ((C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z') || (C >= '0' && C <= '9') || C == '-' || C == '_' ||
        C == '.') {
      Part += static_cast<char>(C);
    } else {
      Part += '%';
      Part += Hex[C >> 4];
      Part += Hex[C & 15];
    }
  }
  if (Part.size() > 160) {
    UInt64 Hash = 14695981039346656037ull;  // FNV-1a
    for (unsigned char C : Name) Hash = (Hash ^ C) * 1099511628211ull;
    Part.resize(140);
    Part += '~';
    for (int Shift = 60; Shift >= 0; Shift -= 4) Part += Hex[(Hash >> Shift) & 15];
  }
  return Part;
}

int OpenLockFile(const std::string& Path) {
  // O_NOFOLLOW: in a shared temporary folder the name must not be a planted link.
  return ::open(Path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
}

int Flock(int Fd, int Operation) {
  int Result;
  do Result = ::flock(Fd, Operation);
  while (Result != 0 && errno == EINTR);
  return Result;
}

// Opens and share-locks the name's lock file; Existed tells whether another process held it.
// The probe (exclusive, then shared) runs under a guard file so that two processes starting
// together cannot both see the name as free. -1 with the last error set on failure.
int AcquireName(const std::string& Name, bool& Existed) {
  const std::string Folder = LockFolder();
  const std::string GuardPath = Folder + "tilvarok-mutex-" + std::to_string(::getuid()) + ".guard";
  const std::string Path = NamedObjectPath("mutex", Name, ".lock");
  const int Guard = OpenLockFile(GuardPath);
  if (Guard < 0) {
    SetLastErrorFromErrno(errno, GuardPath);
    return -1;
  }
  int Fd = -1;
  if (Flock(Guard, LOCK_EX) != 0) {
    SetLastErrorFromErrno(errno, GuardPath);
  } else if ((Fd = OpenLockFile(Path)) < 0) {
    SetLastErrorFromErrno(errno, Path);
  } else if (Flock(Fd, LOCK_EX | LOCK_NB) == 0) {
    Existed = false;
    Flock(Fd, LOCK_SH);
  } else if (errno == EWOULDBLOCK && Flock(Fd, LOCK_SH) == 0) {
    Existed = true;
  } else {
    SetLastErrorFromErrno(errno, Path);
    ::close(Fd);
    Fd = -1;
  }
  ::close(Guard);
  return Fd;
}

}  // namespace

std::string NamedObjectPath(const std::string& Kind, const std::string& Name, const std::string& Extension) {
  return LockFolder() + "tilvarok-" + Kind + "-" + std::to_string(::getuid()) + "-" + FileNamePart(Name) +
         Extension;
}

HANDLE CreateMutex(void*, BOOL bInitialOwner, const char* lpName) {
  const DWORD Self = GetCurrentThreadId();
  if (lpName == nullptr || *lpName == '\0') {
    auto Mutex = std::make_shared<TMutexObject>(std::string(), -1);
    if (bInitialOwner) Mutex->Satisfy(Self);
    SetLastError(ERROR_SUCCESS);
    return CreateKernelHandle(std::move(Mutex));
  }
  TNameTable& N = Names();
  std::lock_guard Guard(N.Lock);
  if (auto It = N.Objects.find(lpName); It != N.Objects.end()) {
    ++It->second->Handles;
    HANDLE Handle = CreateKernelHandle(It->second);
    SetLastError(ERROR_ALREADY_EXISTS);
    return Handle;
  }
  bool Existed = false;
  const int Fd = AcquireName(lpName, Existed);
  if (Fd < 0) return nullptr;
  auto Mutex = std::make_shared<TMutexObject>(lpName, Fd);
  if (bInitialOwner && !Existed) Mutex->Satisfy(Self);
  N.Objects.emplace(lpName, Mutex);
  HANDLE Handle = CreateKernelHandle(std::move(Mutex));
  SetLastError(Existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
  return Handle;
}

BOOL ReleaseMutex(HANDLE hMutex) {
  const auto Mutex = GetKernelObjectAs<TMutexObject>(hMutex);
  if (!Mutex) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  bool Released;
  {
    auto Guard = LockKernelWait();
    Released = Mutex->Release(GetCurrentThreadId());
  }
  if (!Released) {
    SetLastError(ERROR_NOT_OWNER);
    return FALSE;
  }
  WakeKernelWaiters();
  return TRUE;
}
