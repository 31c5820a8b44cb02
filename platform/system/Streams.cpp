#include "platform/system/Streams.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <system_error>

#include "platform/system/ErrorMessages.h"
#include "platform/system/Exceptions.h"
#include "platform/system/FileErrors.h"
#include "platform/system/Files.h"
#include "platform/system/Format.h"
#include "platform/system/Paths.h"

namespace {

// The platform's message for a failed file call: the code is left in GetLastError and the
// common codes read as the platform words them.
std::string FileErrorText(int Errno, const std::string& NativeName) {
  std::string Text = SysErrorMessage(SetLastErrorFromErrno(Errno, NativeName));
  return Text.empty() ? std::error_code(Errno, std::generic_category()).message() + "." : Text;
}

}  // namespace

// ---- TStream

void TStream::ReadBuffer(void* Buffer, Integer Count) {
  if (Count != 0 && Read(Buffer, Count) != Count) throw EReadError(SReadError);
}

void TStream::WriteBuffer(const void* Buffer, Integer Count) {
  if (Count != 0 && Write(Buffer, Count) != Count) throw EWriteError(SWriteError);
}

Int64 TStream::CopyFrom(TStream* Source, Int64 Count) {
  constexpr Int64 MaxBufSize = 0xF000;
  if (Count <= 0) {
    Source->SetPosition(0);
    Count = Source->GetSize();
  }
  const Int64 Result = Count;
  if (Count == 0) return 0;
  const Integer BufSize = static_cast<Integer>(std::min(Count, MaxBufSize));
  std::unique_ptr<char[]> Buffer(new char[BufSize]);
  while (Count != 0) {
    const Integer N = static_cast<Integer>(std::min<Int64>(Count, BufSize));
    Source->ReadBuffer(Buffer.get(), N);
    WriteBuffer(Buffer.get(), N);
    Count -= N;
  }
  return Result;
}

Int64 TStream::GetSize() {
  const Int64 Pos = Seek(0, soCurrent);
  const Int64 Result = Seek(0, soEnd);
  Seek(Pos, soBeginning);
  return Result;
}

void TStream::SetSize(Int64) {}

// ---- THandleStream

Integer THandleStream::Read(void* Buffer, Integer Count) {
  Integer Done = 0;
  while (Done < Count) {
    const ssize_t N = ::read(FHandle, static_cast<char*>(Buffer) + Done, static_cast<size_t>(Count - Done));
    if (N < 0 && errno == EINTR) continue;
    if (N <= 0) break;
    Done += static_cast<Integer>(N);
  }
  return Done;
}

Integer THandleStream::Write(const void* Buffer, Integer Count) {
  Integer Done = 0;
  while (Done < Count) {
    const ssize_t N =
        ::write(FHandle, static_cast<const char*>(Buffer) + Done, static_cast<size_t>(Count - Done));
    if (N < 0 && errno == EINTR) continue;
    if (N <= 0) break;
    Done += static_cast<Integer>(N);
  }
  return Done;
}

Int64 THandleStream::Seek(Int64 Offset, TSeekOrigin Origin) {
  const int Whence = Origin == soBeginning ? SEEK_SET : Origin == soCurrent ? SEEK_CUR : SEEK_END;
  return ::lseek(FHandle, Offset, Whence);
}

void THandleStream::SetSize(Int64 NewSize) {
  Seek(NewSize, soBeginning);
  if (::ftruncate(FHandle, NewSize) != 0) throw EOSError(FileErrorText(errno, {}));
}

// ---- TFileStream

TFileStream::TFileStream(std::string_view AFileName, Word Mode) : THandleStream(-1), FFileName(AFileName) {
  const std::string Native = ToNativePath(AFileName);
  if ((Mode & fmCreate) == fmCreate) {
    FHandle = ::open(Native.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (FHandle < 0) {
      const int Err = errno;
      throw EFCreateError(
          Format("Cannot create file \"%s\". %s", {ExpandFileName(Native), FileErrorText(Err, Native)}));
    }
    return;
  }
  int Err = EINVAL;
  const Word Access = Mode & 3;
  if (Access != 3) {
    const int Flags = Access == fmOpenRead ? O_RDONLY : Access == fmOpenWrite ? O_WRONLY : O_RDWR;
    FHandle = ::open(Native.c_str(), Flags | O_CLOEXEC);
    Err = errno;
    struct stat St;
    // The platform does not open folders as files.
    if (FHandle >= 0 && ::fstat(FHandle, &St) == 0 && S_ISDIR(St.st_mode)) {
      ::close(FHandle);
      FHandle = -1;
      Err = EACCES;
    }
  }
  if (FHandle < 0)
    throw EFOpenError(
        Format("Cannot open file \"%s\". %s", {ExpandFileName(Native), FileErrorText(Err, Native)}));
}

TFileStream::~TFileStream() {
  if (FHandle >= 0) ::close(FHandle);
}

// ---- TReplacingFileStream

namespace {
// The file a name stands for: a symbolic link is replaced through, never turned into a file.
std::string ResolvedTarget(const std::string& Native) {
  char* Real = ::realpath(Native.c_str(), nullptr);
  if (Real == nullptr) return Native;
  std::string Result = Real;
  std::free(Real);
  return Result;
}
}  // namespace

TReplacingFileStream::TReplacingFileStream(std::string_view AFileName)
    : THandleStream(-1), FFileName(AFileName), FTarget(ResolvedTarget(ToNativePath(AFileName))) {
  const size_t Slash = FTarget.rfind('/');
  const std::string Folder = Slash == std::string::npos ? std::string() : FTarget.substr(0, Slash + 1);
  const std::string Name = Slash == std::string::npos ? FTarget : FTarget.substr(Slash + 1);
  FTemporary = Folder + "." + Name + ".XXXXXX";
  FHandle = ::mkostemp(FTemporary.data(), O_CLOEXEC);
  if (FHandle < 0) {
    const int Err = errno;
    FTemporary.clear();
    throw EFCreateError(
        Format("Cannot create file \"%s\". %s", {ExpandFileName(FTarget), FileErrorText(Err, FTarget)}));
  }
  // The new file takes the old one's permissions, or those a new file would get.
  struct stat Old;
  if (::stat(FTarget.c_str(), &Old) == 0) {
    [[maybe_unused]] const int Ignored = ::fchmod(FHandle, Old.st_mode & 07777);
  } else {
    const mode_t Mask = ::umask(0);
    ::umask(Mask);
    [[maybe_unused]] const int Ignored = ::fchmod(FHandle, 0666 & ~Mask);
  }
}

TReplacingFileStream::~TReplacingFileStream() {
  if (FHandle >= 0) ::close(FHandle);
  if (!FTemporary.empty()) ::unlink(FTemporary.c_str());
}

void TReplacingFileStream::Commit() {
  if (FTemporary.empty()) return;
  const bool Written = ::fsync(FHandle) == 0;
  const bool Closed = ::close(FHandle) == 0;
  FHandle = -1;
  if (!Written || !Closed || ::rename(FTemporary.c_str(), FTarget.c_str()) != 0)
    throw EWriteError(SWriteError);
  FTemporary.clear();
}

// ---- TCustomMemoryStream

void TCustomMemoryStream::SetPointer(void* Ptr, Int64 Size) {
  FMemory = Ptr;
  FSize = Size;
}

Integer TCustomMemoryStream::Read(void* Buffer, Integer Count) {
  if (FPosition < 0 || Count <= 0) return 0;
  const Int64 N = std::min<Int64>(FSize - FPosition, Count);
  if (N <= 0) return 0;
  std::memcpy(Buffer, static_cast<const char*>(FMemory) + FPosition, static_cast<size_t>(N));
  FPosition += N;
  return static_cast<Integer>(N);
}

Int64 TCustomMemoryStream::Seek(Int64 Offset, TSeekOrigin Origin) {
  switch (Origin) {
    case soBeginning:
      FPosition = Offset;
      break;
    case soCurrent:
      FPosition += Offset;
      break;
    case soEnd:
      FPosition = FSize + Offset;
      break;
  }
  return FPosition;
}

namespace {
// Read and Write move at most an Integer's worth of bytes; larger blocks go in pieces.
constexpr Int64 MaxTransfer = 0x40000000;
}  // namespace

void TCustomMemoryStream::SaveToStream(TStream* Stream) {
  for (Int64 Done = 0; Done < FSize;) {
    const Integer N = static_cast<Integer>(std::min(FSize - Done, MaxTransfer));
    Stream->WriteBuffer(static_cast<const char*>(FMemory) + Done, N);
    Done += N;
  }
}

void TCustomMemoryStream::SaveToFile(std::string_view FileName) {
  TReplacingFileStream Stream(FileName);
  SaveToStream(&Stream);
  Stream.Commit();
}

// ---- TMemoryStream

namespace {
constexpr Int64 MemoryDelta = 0x2000;  // capacity grows in blocks of 8 KiB
Int64 RoundToDelta(Int64 N) {
  return N > 0 ? (N + MemoryDelta - 1) & ~(MemoryDelta - 1) : 0;
}
}  // namespace

TMemoryStream::~TMemoryStream() {
  std::free(FMemory);
}

void TMemoryStream::Reallocate(Int64 NewCapacity) {
  if (NewCapacity == FCapacity) return;
  if (NewCapacity == 0) {
    std::free(FMemory);
    FMemory = nullptr;
  } else {
    void* P = std::realloc(FMemory, static_cast<size_t>(NewCapacity));
    if (!P) throw EOutOfMemory("Out of memory while expanding memory stream");
    FMemory = P;
  }
  FCapacity = NewCapacity;
}

void TMemoryStream::SetCapacity(Int64 NewCapacity) {
  // Never below the data held: the block must cover every byte of the stream.
  Reallocate(RoundToDelta(std::max(NewCapacity, FSize)));
}

void TMemoryStream::SetSize(Int64 NewSize) {
  if (NewSize < 0) NewSize = 0;
  const Int64 OldSize = FSize;
  if (NewSize < FSize) FSize = NewSize;
  SetCapacity(NewSize);
  if (NewSize > OldSize)
    std::memset(static_cast<char*>(FMemory) + OldSize, 0, static_cast<size_t>(NewSize - OldSize));
  FSize = NewSize;
  if (FPosition > NewSize) FPosition = NewSize;
}

void TMemoryStream::Clear() {
  FSize = 0;
  FPosition = 0;
  Reallocate(0);
}

Integer TMemoryStream::Write(const void* Buffer, Integer Count) {
  if (FPosition < 0 || Count <= 0) return 0;
  const Int64 End = FPosition + Count;
  if (End > FSize) {
    // Grow by a quarter at least so that many small writes do not copy the block each time.
    if (End > FCapacity) SetCapacity(std::max(End, FCapacity + FCapacity / 4));
    if (FPosition > FSize)
      std::memset(static_cast<char*>(FMemory) + FSize, 0, static_cast<size_t>(FPosition - FSize));
    FSize = End;
  }
  std::memcpy(static_cast<char*>(FMemory) + FPosition, Buffer, static_cast<size_t>(Count));
  FPosition = End;
  return Count;
}

void TMemoryStream::LoadFromStream(TStream* Stream) {
  Stream->SetPosition(0);
  const Int64 Count = Stream->GetSize();
  SetSize(Count);
  for (Int64 Done = 0; Done < Count;) {
    const Integer N = static_cast<Integer>(std::min(Count - Done, MaxTransfer));
    Stream->ReadBuffer(static_cast<char*>(FMemory) + Done, N);
    Done += N;
  }
}

void TMemoryStream::LoadFromFile(std::string_view FileName) {
  TFileStream Stream(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&Stream);
}

// ---- TStringStream

Integer TStringStream::Read(void* Buffer, Integer Count) {
  const Int64 N = std::min<Int64>(static_cast<Int64>(FDataString.size()) - FPosition, Count);
  if (N <= 0) return 0;
  std::memcpy(Buffer, FDataString.data() + FPosition, static_cast<size_t>(N));
  FPosition += N;
  return static_cast<Integer>(N);
}

Integer TStringStream::Write(const void* Buffer, Integer Count) {
  if (Count <= 0) return 0;
  const size_t End = static_cast<size_t>(FPosition) + static_cast<size_t>(Count);
  if (End > FDataString.size()) FDataString.resize(End);
  std::memcpy(FDataString.data() + FPosition, Buffer, static_cast<size_t>(Count));
  FPosition = static_cast<Int64>(End);
  return Count;
}

Int64 TStringStream::Seek(Int64 Offset, TSeekOrigin Origin) {
  const Int64 Size = static_cast<Int64>(FDataString.size());
  Int64 Pos = Origin == soBeginning ? Offset : Origin == soCurrent ? FPosition + Offset : Size + Offset;
  FPosition = std::clamp<Int64>(Pos, 0, Size);
  return FPosition;
}

void TStringStream::SetSize(Int64 NewSize) {
  FDataString.resize(static_cast<size_t>(std::max<Int64>(NewSize, 0)));
  FPosition = std::min<Int64>(FPosition, static_cast<Int64>(FDataString.size()));
}

std::string TStringStream::ReadString(Integer Count) {
  const Int64 N =
      std::clamp<Int64>(static_cast<Int64>(FDataString.size()) - FPosition, 0, std::max(Count, 0));
  std::string Result = FDataString.substr(static_cast<size_t>(FPosition), static_cast<size_t>(N));
  FPosition += N;
  return Result;
}

void TStringStream::WriteString(std::string_view S) {
  Write(S.data(), static_cast<Integer>(S.size()));
}

// ---- TResourceStream

TResourceStream::TResourceStream(HINSTANCE Instance, std::string_view ResName, LPCSTR ResType) {
  const std::string Name(ResName);
  Initialize(Instance, Name.c_str(), ResType, Name);
}

TResourceStream::TResourceStream(HINSTANCE Instance, Integer ResID, LPCSTR ResType) {
  Initialize(Instance, MAKEINTRESOURCE(static_cast<std::uintptr_t>(ResID)), ResType, std::to_string(ResID));
}

void TResourceStream::Initialize(HINSTANCE Instance, LPCSTR Name, LPCSTR ResType, const std::string& Shown) {
  HRSRC Res = FindResource(Instance, Name, ResType);
  if (!Res) throw EResNotFound(Format("Resource %s not found", {Shown}));
  SetPointer(LockResource(LoadResource(Instance, Res)), SizeofResource(Instance, Res));
}

Integer TResourceStream::Write(const void*, Integer) {
  throw EStreamError("Can't write to a read-only resource stream");
}
