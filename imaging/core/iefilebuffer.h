#pragma once
// The backing stores of bitmap pixels: the temporary-file store that hands out row-sized views
// of a file, the temporary-file stream the system deletes on close, and the memory-block
// allocators of in-memory storage.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/system/Object.h"
#include "platform/system/Streams.h"
#include "platform/system/Types.h"

// Memory blocks for bitmap storage. Every allocator returns nil instead of raising.
// A zero-filled block of the system's global heap.
void* IEGlobalAlloc(UInt64 Size);
void IEGlobalFree(void*& Block);
// A block tagged with its origin: below 1 MB from the heap (the global heap when that fails),
// from 1 MB on from the global heap. The tag sits in a 16-byte header so that the block keeps
// the heap's alignment.
void* IEAutoAlloc(UInt64 Size);
void IEAutoFree(void*& Block);
void IESafeGetMem(void*& Block, UInt64 Size);
void IESafeFreeMem(void*& Block);

// Tests make allocations fail: when set and answering true for a size, every allocator above
// returns nil for it.
extern std::function<bool(UInt64 Size)> IEAllocationFailureHook;

// A memory block released by the allocator that made it (ieamHeap, ieamGlobal, ieamTagged).
struct TIEBlockRelease {
  Byte Mode = 2;
  void operator()(Byte* Block) const;
};
using TIEMemoryBlock = std::unique_ptr<Byte, TIEBlockRelease>;
// The block of the given size and mode, or empty.
TIEMemoryBlock IEAllocateBlock(UInt64 Size, Byte Mode);

struct TIEGlobalRelease {
  void operator()(Byte* Block) const;
};
using TIEGlobalBlock = std::unique_ptr<Byte, TIEGlobalRelease>;

// The available (Available true) or total physical memory in bytes.
Int64 IEGetMemorySize(bool Available);

// Temporary folder of the library: the input and output library's IETempFolder when set,
// else the system's, with a trailing delimiter.
extern std::string IETempFolder;
std::string IEGetTempFolder();
// Path + Prefix + "-" + eight upper-case hex digits of a random number + ".tmp", naming no
// existing file. Creating it must still be exclusive: the name may be taken meanwhile.
void IEGetTempFileName(const std::string& Prefix, const std::string& Path, std::string& Name);

// A new temporary file opened for reading and writing, removed when the stream goes (also when
// the process ends abnormally). Raises EInOutError "Unable to create <name>" when the file
// exists or cannot be made.
class TIETemporaryFileStream : public THandleStream {
 public:
  explicit TIETemporaryFileStream(const std::string& FileName);
  ~TIETemporaryFileStream() override;

 private:
  int FFileHandle;
};

// The temporary-file store of one bitmap. Views are heap copies of a range of the backing
// stream: read from it when mapped with the read bit, written back when unmapped with the
// write bit.
class TIEFileBuffer : public TObject {
 public:
  TIEFileBuffer();
  ~TIEFileBuffer() override;

  // A new backing stream of Size bytes (a temporary file when FileBased, else memory),
  // closing any earlier one; false when it cannot be made.
  bool AllocateFile(const std::string& Prefix, bool FileBased, Int64 Size);
  bool IsAllocated() const { return FStream != nullptr; }
  // Writes back and frees every view, frees the backing stream and removes its file.
  void Close();
  void* MapView(Byte Access, Int64 Offset, Int64 Size);
  void UnmapView(void* Buffer);
  // The most recently mapped first.
  void UnmapAll();
  Integer FindView(void* Buffer) const;
  // Copies Count bytes to Dest, both at Position; nothing unless both are allocated.
  void CopyTo(TIEFileBuffer* Dest, Int64 Position, Int64 Count);
  const std::string& GetFileName() const { return FFileName; }
  Integer GetViewCount() const { return static_cast<Integer>(FViews.size()); }

 private:
  struct TView {
    Int64 Offset;
    Int64 Size;
    std::unique_ptr<Byte[]> Buffer;
    Byte Access;
  };
  void WriteBack(const TView& View);

  std::unique_ptr<TStream> FStream;
  std::string FFileName;
  std::vector<TView> FViews;
};
