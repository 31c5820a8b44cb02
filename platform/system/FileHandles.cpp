#include "platform/system/FileHandles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/system/Paths.h"

namespace {

// A read or write the handle's access does not allow fails with EBADF on an open descriptor;
// the platform calls that ERROR_ACCESS_DENIED and keeps ERROR_INVALID_HANDLE for closed ones.
BOOL FailHandleCall(THandle File, int Errno) {
  if (Errno == EBADF && ::fcntl(File, F_GETFD) != -1)
    SetLastError(ERROR_ACCESS_DENIED);
  else
    SetLastErrorFromErrno(Errno);
  return FALSE;
}

int AccessFlags(DWORD DesiredAccess) {
  const bool Reads = (DesiredAccess & GENERIC_READ) != 0;
  const bool Writes = (DesiredAccess & GENERIC_WRITE) != 0;
  if (Reads && Writes) return O_RDWR;
  return Writes ? O_WRONLY : O_RDONLY;
}

// Opens an existing file or creates a new one as the disposition asks; Existed tells which.
int OpenByDisposition(const std::string& Native, int Access, DWORD Disposition, bool& Existed) {
  constexpr int Common = O_CLOEXEC;
  constexpr mode_t NewFileMode = 0666;
  switch (Disposition) {
    case CREATE_NEW:
      Existed = false;
      return ::open(Native.c_str(), Access | Common | O_CREAT | O_EXCL, NewFileMode);
    case OPEN_EXISTING:
      Existed = true;
      return ::open(Native.c_str(), Access | Common);
    case TRUNCATE_EXISTING:
      Existed = true;
      return ::open(Native.c_str(), Access | Common | O_TRUNC);
    default: {
      // CREATE_ALWAYS and OPEN_ALWAYS: try a new file first so that "existed" is exact even
      // when another process creates or removes the file meanwhile.
      const int Truncate = Disposition == CREATE_ALWAYS ? O_TRUNC : 0;
      for (;;) {
        int Fd = ::open(Native.c_str(), Access | Common | O_CREAT | O_EXCL, NewFileMode);
        if (Fd >= 0 || errno != EEXIST) {
          Existed = false;
          return Fd;
        }
        Fd = ::open(Native.c_str(), Access | Common | Truncate);
        if (Fd >= 0 || errno != ENOENT) {
          Existed = true;
          return Fd;
        }
      }
    }
  }
}

}  // namespace

THandle CreateFile(std::string_view FileName, DWORD DesiredAccess, DWORD /*ShareMode*/,
                   LPSECURITY_ATTRIBUTES /*SecurityAttributes*/, DWORD CreationDisposition,
                   DWORD FlagsAndAttributes, THandle /*TemplateFile*/) {
  const bool KnownDisposition = CreationDisposition >= CREATE_NEW && CreationDisposition <= TRUNCATE_EXISTING;
  if (!KnownDisposition || FileName.empty() ||
      (CreationDisposition == TRUNCATE_EXISTING && !(DesiredAccess & GENERIC_WRITE))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  const std::string Native = ToNativePath(FileName);
  bool Existed = false;
  const THandle File = OpenByDisposition(Native, AccessFlags(DesiredAccess), CreationDisposition, Existed);
  if (File < 0) {
    const int Err = errno;
    if (Err == EEXIST)
      SetLastError(ERROR_FILE_EXISTS);
    else
      SetLastErrorFromErrno(Err, Native);
    return INVALID_HANDLE_VALUE;
  }
  struct stat St;
  // The platform does not open folders as files.
  if (::fstat(File, &St) == 0 && S_ISDIR(St.st_mode)) {
    ::close(File);
    SetLastError(ERROR_ACCESS_DENIED);
    return INVALID_HANDLE_VALUE;
  }
  if ((FlagsAndAttributes & FILE_FLAG_DELETE_ON_CLOSE) && ::unlink(Native.c_str()) != 0) {
    const int Err = errno;
    ::close(File);
    SetLastErrorFromErrno(Err, Native);
    return INVALID_HANDLE_VALUE;
  }
  const bool ReportsExisting = CreationDisposition == CREATE_ALWAYS || CreationDisposition == OPEN_ALWAYS;
  SetLastError(ReportsExisting && Existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
  return File;
}

BOOL ReadFile(THandle File, void* Buffer, DWORD BytesToRead, DWORD* BytesRead) {
  DWORD Done = 0;
  if (BytesRead) *BytesRead = 0;
  while (Done < BytesToRead) {
    const ssize_t N = ::read(File, static_cast<char*>(Buffer) + Done, BytesToRead - Done);
    if (N < 0 && errno == EINTR) continue;
    if (N < 0) return FailHandleCall(File, errno);
    if (N == 0) break;
    Done += static_cast<DWORD>(N);
    if (BytesRead) *BytesRead = Done;
  }
  return TRUE;
}

BOOL WriteFile(THandle File, const void* Buffer, DWORD BytesToWrite, DWORD* BytesWritten) {
  DWORD Done = 0;
  if (BytesWritten) *BytesWritten = 0;
  while (Done < BytesToWrite) {
    const ssize_t N = ::write(File, static_cast<const char*>(Buffer) + Done, BytesToWrite - Done);
    if (N < 0 && errno == EINTR) continue;
    // A write that moves nothing has met a full disk.
    if (N <= 0) return FailHandleCall(File, N == 0 ? ENOSPC : errno);
    Done += static_cast<DWORD>(N);
    if (BytesWritten) *BytesWritten = Done;
  }
  return TRUE;
}

BOOL SetFilePointerEx(THandle File, Int64 DistanceToMove, Int64* NewFilePointer, DWORD MoveMethod) {
  Int64 Base = 0;
  if (MoveMethod == FILE_CURRENT || MoveMethod == FILE_END) {
    Base = ::lseek(File, 0, MoveMethod == FILE_CURRENT ? SEEK_CUR : SEEK_END);
    if (Base < 0) return FailHandleCall(File, errno);
  } else if (MoveMethod != FILE_BEGIN) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  Int64 Wanted = 0;
  if (__builtin_add_overflow(Base, DistanceToMove, &Wanted)) return FailHandleCall(File, EINVAL);
  if (Wanted < 0) {
    SetLastError(ERROR_NEGATIVE_SEEK);
    return FALSE;
  }
  const Int64 Target = ::lseek(File, Wanted, SEEK_SET);
  if (Target < 0) return FailHandleCall(File, errno);
  if (NewFilePointer) *NewFilePointer = Target;
  return TRUE;
}

BOOL GetFileSizeEx(THandle File, Int64* FileSize) {
  struct stat St;
  if (::fstat(File, &St) != 0) return FailHandleCall(File, errno);
  *FileSize = St.st_size;
  return TRUE;
}

BOOL SetEndOfFile(THandle File) {
  const Int64 Position = ::lseek(File, 0, SEEK_CUR);
  if (Position < 0) return FailHandleCall(File, errno);
  if (::ftruncate(File, Position) != 0) {
    // A handle opened without write access fails here with EINVAL or EBADF.
    const int Err = errno;
    return FailHandleCall(File, Err == EINVAL ? EBADF : Err);
  }
  return TRUE;
}

BOOL CloseHandle(THandle File) {
  if (File < 0 || ::close(File) != 0) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}
