#include "imaging/core/iefilebuffer.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <random>

#include "platform/system/Environment.h"
#include "platform/system/Exceptions.h"
#include "platform/system/FileHandles.h"
#include "platform/system/Files.h"
#include "platform/system/ScopeExit.h"
#include "platform/system/Strings.h"

std::function<bool(UInt64 Size)> IEAllocationFailureHook;
std::string IETempFolder;

namespace {

constexpr UInt64 AutoAllocHeapLimit = 0x100000;
// The tag byte of IEAutoAlloc leads a header of the heap's alignment, so the caller's block
// stays as aligned as the heap's own.
constexpr UInt64 AutoAllocHeader = 16;
constexpr Byte TagHeap = 0;
constexpr Byte TagGlobal = 1;
// Views move through the stream in pieces its 32-bit counts can carry.
constexpr Int64 StreamPiece = 0x40000000;

bool InjectedFailure(UInt64 Size) {
  return IEAllocationFailureHook && IEAllocationFailureHook(Size);
}

void* HeapAlloc(UInt64 Size) {
  if (InjectedFailure(Size)) return nullptr;
  return std::malloc(Size == 0 ? 1 : Size);
}

// Reads Count bytes at the stream's position; what the stream does not hold reads as zeros.
void ReadPieces(TStream* Stream, Byte* Buffer, Int64 Count) {
  while (Count > 0) {
    const Integer Piece = static_cast<Integer>(std::min(Count, StreamPiece));
    const Integer Got = std::max(Stream->Read(Buffer, Piece), 0);
    if (Got < Piece) {
      std::memset(Buffer + Got, 0, static_cast<size_t>(Count - Got));
      return;
    }
    Buffer += Piece;
    Count -= Piece;
  }
}

void WritePieces(TStream* Stream, const Byte* Buffer, Int64 Count) {
  while (Count > 0) {
    const Integer Piece = static_cast<Integer>(std::min(Count, StreamPiece));
    Stream->WriteBuffer(Buffer, Piece);
    Buffer += Piece;
    Count -= Piece;
  }
}

// Names only need to differ between bitmaps; a generator of our own keeps the program's
// seeded random sequence untouched and serves any thread.
Cardinal NextNameNumber() {
  thread_local std::minstd_rand Generator{std::random_device{}()};
  return std::uniform_int_distribution<Cardinal>(0, 2147483646)(Generator);
}

}  // namespace

void* IEGlobalAlloc(UInt64 Size) {
  if (InjectedFailure(Size)) return nullptr;
  return std::calloc(1, Size == 0 ? 1 : Size);
}

void IEGlobalFree(void*& Block) {
  std::free(Block);
  Block = nullptr;
}

void* IEAutoAlloc(UInt64 Size) {
  if (Size > UINT64_MAX - AutoAllocHeader) return nullptr;
  Byte Tag = TagHeap;
  Byte* Block = nullptr;
  if (Size < AutoAllocHeapLimit) Block = static_cast<Byte*>(HeapAlloc(Size + AutoAllocHeader));
  if (!Block) {
    Tag = TagGlobal;
    Block = static_cast<Byte*>(IEGlobalAlloc(Size + AutoAllocHeader));
    if (!Block) return nullptr;
  }
  Block[0] = Tag;
  return Block + AutoAllocHeader;
}

void IEAutoFree(void*& Block) {
  if (!Block) return;
  void* Start = static_cast<Byte*>(Block) - AutoAllocHeader;
  if (*static_cast<Byte*>(Start) != TagHeap)
    IEGlobalFree(Start);
  else
    std::free(Start);
  Block = nullptr;
}

void IESafeGetMem(void*& Block, UInt64 Size) {
  Block = HeapAlloc(Size);
}

void IESafeFreeMem(void*& Block) {
  std::free(Block);
  Block = nullptr;
}

void TIEBlockRelease::operator()(Byte* Block) const {
  void* P = Block;
  if (Mode == 1)
    IEGlobalFree(P);
  else if (Mode == 2)
    IEAutoFree(P);
  else
    IESafeFreeMem(P);
}

TIEMemoryBlock IEAllocateBlock(UInt64 Size, Byte Mode) {
  void* P = nullptr;
  if (Mode == 1)
    P = IEGlobalAlloc(Size);
  else if (Mode == 2)
    P = IEAutoAlloc(Size);
  else
    IESafeGetMem(P, Size);
  return TIEMemoryBlock(static_cast<Byte*>(P), TIEBlockRelease{Mode});
}

void TIEGlobalRelease::operator()(Byte* Block) const {
  void* P = Block;
  IEGlobalFree(P);
}

Int64 IEGetMemorySize(bool Available) {
  MEMORYSTATUSEX Status;
  if (GlobalMemoryStatusEx(&Status))
    return static_cast<Int64>(Available ? Status.ullAvailPhys : Status.ullTotalPhys);
  MEMORYSTATUS Plain;
  GlobalMemoryStatus(&Plain);
  return Available ? Plain.dwAvailPhys : Plain.dwTotalPhys;
}

std::string IEGetTempFolder() {
  return IETempFolder.empty() ? GetTempPath() : IETempFolder;
}

void IEGetTempFileName(const std::string& Prefix, const std::string& Path, std::string& Name) {
  do {
    Name = Path + Prefix + "-" + IntToHex(NextNameNumber(), 8) + ".tmp";
  } while (FileExists(Name));
}

TIETemporaryFileStream::TIETemporaryFileStream(const std::string& FileName)
    : THandleStream(INVALID_HANDLE_VALUE), FFileHandle(INVALID_HANDLE_VALUE) {
  // CREATE_NEW: a file someone made under the same name meanwhile is never taken over.
  FFileHandle = CreateFile(FileName, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_FLAG_DELETE_ON_CLOSE, INVALID_HANDLE_VALUE);
  if (FFileHandle == INVALID_HANDLE_VALUE) throw EInOutError("Unable to create " + FileName);
  FHandle = FFileHandle;
}

TIETemporaryFileStream::~TIETemporaryFileStream() {
  if (FFileHandle != INVALID_HANDLE_VALUE) CloseHandle(FFileHandle);
}

TIEFileBuffer::TIEFileBuffer() = default;

TIEFileBuffer::~TIEFileBuffer() {
  try {
    Close();
  } catch (...) {
    // A view that cannot be written back is lost with its bitmap.
  }
}

bool TIEFileBuffer::AllocateFile(const std::string& Prefix, bool FileBased, Int64 Size) {
  if (FStream) Close();
  try {
    if (FileBased) {
      // The name is free when chosen, but another process may take it before it is created:
      // a clash only draws a new name.
      const std::string Folder = IEGetTempFolder();
      constexpr int Attempts = 16;
      for (int Attempt = 0; !FStream; ++Attempt) {
        IEGetTempFileName(Prefix, Folder, FFileName);
        try {
          FStream = std::make_unique<TIETemporaryFileStream>(FFileName);
        } catch (const EInOutError&) {
          if (Attempt + 1 >= Attempts || !FileExists(FFileName)) throw;
        }
      }
    } else {
      FStream = std::make_unique<TMemoryStream>();
    }
    FStream->SetSize(Size);
    if (FStream->GetSize() != Size) throw EInOutError("Unable to size " + FFileName);
    return true;
  } catch (...) {
    FStream.reset();
    FFileName.clear();
    return false;
  }
}

void TIEFileBuffer::Close() {
  // The stream goes even when a view cannot be written back. The file's name went when it was
  // opened (delete-on-close): deleting by name now could hit a file someone else made since.
  auto Closing = ScopeExit([this] {
    FViews.clear();
    FStream.reset();
    FFileName.clear();
  });
  UnmapAll();
}

void* TIEFileBuffer::MapView(Byte Access, Int64 Offset, Int64 Size) {
  TView View{Offset, Size, std::make_unique_for_overwrite<Byte[]>(static_cast<size_t>(Size)), Access};
  if (FStream && (Access & 1)) {
    FStream->Seek(Offset, soBeginning);
    ReadPieces(FStream.get(), View.Buffer.get(), Size);
  }
  void* Result = View.Buffer.get();
  FViews.push_back(std::move(View));
  return Result;
}

void TIEFileBuffer::WriteBack(const TView& View) {
  if (!FStream || !(View.Access & 2)) return;
  FStream->Seek(View.Offset, soBeginning);
  WritePieces(FStream.get(), View.Buffer.get(), View.Size);
}

void TIEFileBuffer::UnmapView(void* Buffer) {
  const Integer Index = FindView(Buffer);
  if (Index < 0) return;
  TView View = std::move(FViews[Index]);
  FViews.erase(FViews.begin() + Index);
  WriteBack(View);
}

void TIEFileBuffer::UnmapAll() {
  while (!FViews.empty()) UnmapView(FViews.back().Buffer.get());
}

Integer TIEFileBuffer::FindView(void* Buffer) const {
  for (size_t I = 0; I < FViews.size(); ++I)
    if (FViews[I].Buffer.get() == Buffer) return static_cast<Integer>(I);
  return -1;
}

void TIEFileBuffer::CopyTo(TIEFileBuffer* Dest, Int64 Position, Int64 Count) {
  if (!FStream || !Dest || !Dest->FStream) return;
  UnmapAll();
  Dest->UnmapAll();
  FStream->Seek(Position, soBeginning);
  Dest->FStream->Seek(Position, soBeginning);
  constexpr Int64 Piece = 1048576;
  auto Buffer = std::make_unique_for_overwrite<Byte[]>(Piece);
  while (Count > 0) {
    const Integer N = static_cast<Integer>(std::min(Count, Piece));
    FStream->ReadBuffer(Buffer.get(), N);
    Dest->FStream->WriteBuffer(Buffer.get(), N);
    Count -= N;
  }
}
