// Global memory blocks: a table of the live blocks by handle and by address.
#include "platform/user/GlobalMemory.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <unordered_map>

#include "platform/system/LastError.h"

namespace {

struct TBlock {
  Byte* Data = nullptr;  // null for a discarded movable block
  std::size_t Size = 0;
  UINT Flags = 0;
  Integer Locks = 0;
  bool Moveable = false;
};

// Movable handles are the addresses of their table entries' tokens, never block addresses.
struct TTable {
  std::mutex Lock;
  std::unordered_map<HGLOBAL, TBlock> ByHandle;
  std::unordered_map<const void*, HGLOBAL> ByAddress;
  std::unordered_map<HGLOBAL, std::unique_ptr<char>> Tokens;
};

// Kept to the end of the program: blocks still held then stay reachable.
TTable& Table() {
  static auto* T = new TTable;
  return *T;
}

Byte* Allocate(std::size_t Bytes, bool Zero) {
  // Zero bytes still give a unique address for fixed blocks.
  const std::size_t N = Bytes != 0 ? Bytes : 1;
  return static_cast<Byte*>(Zero ? std::calloc(N, 1) : std::malloc(N));
}

TBlock* Find(TTable& T, HGLOBAL Mem) {
  auto It = T.ByHandle.find(Mem);
  return It != T.ByHandle.end() ? &It->second : nullptr;
}

}  // namespace

HGLOBAL GlobalAlloc(UINT Flags, std::size_t Bytes) {
  TTable& T = Table();
  TBlock B;
  B.Flags = Flags & ~GMEM_MODIFY;
  B.Moveable = (Flags & GMEM_MOVEABLE) != 0;
  B.Size = Bytes;
  if (!B.Moveable || Bytes != 0) {
    B.Data = Allocate(Bytes, (Flags & GMEM_ZEROINIT) != 0);
    if (B.Data == nullptr) {
      SetLastError(ERROR_NOT_ENOUGH_MEMORY);
      return nullptr;
    }
  }
  std::lock_guard Guard(T.Lock);
  HGLOBAL H = B.Data;
  if (B.Moveable) {
    auto Token = std::make_unique<char>();
    H = Token.get();
    T.Tokens.emplace(H, std::move(Token));
  }
  if (B.Data != nullptr) T.ByAddress.emplace(B.Data, H);
  T.ByHandle.emplace(H, B);
  return H;
}

HGLOBAL GlobalFree(HGLOBAL Mem) {
  if (Mem == nullptr) return nullptr;
  TTable& T = Table();
  std::lock_guard Guard(T.Lock);
  TBlock* B = Find(T, Mem);
  if (B == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return Mem;
  }
  // Locked blocks are freed too, as the platform does.
  if (B->Data != nullptr) T.ByAddress.erase(B->Data);
  std::free(B->Data);
  T.ByHandle.erase(Mem);
  T.Tokens.erase(Mem);
  return nullptr;
}

void* GlobalLock(HGLOBAL Mem) {
  if (Mem == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  TTable& T = Table();
  std::lock_guard Guard(T.Lock);
  TBlock* B = Find(T, Mem);
  if (B == nullptr) return Mem;
  if (!B->Moveable) return B->Data;
  if (B->Data == nullptr) return nullptr;
  if (B->Locks < static_cast<Integer>(GMEM_LOCKCOUNT)) ++B->Locks;
  return B->Data;
}

BOOL GlobalUnlock(HGLOBAL Mem) {
  TTable& T = Table();
  std::lock_guard Guard(T.Lock);
  TBlock* B = Find(T, Mem);
  if (B == nullptr || !B->Moveable) return TRUE;
  if (B->Locks == 0) {
    SetLastError(ERROR_NOT_LOCKED);
    return FALSE;
  }
  if (--B->Locks > 0) return TRUE;
  SetLastError(ERROR_SUCCESS);
  return FALSE;
}

std::size_t GlobalSize(HGLOBAL Mem) {
  TTable& T = Table();
  std::lock_guard Guard(T.Lock);
  const TBlock* B = Find(T, Mem);
  if (B == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  return B->Data != nullptr ? B->Size : 0;
}

HGLOBAL GlobalReAlloc(HGLOBAL Mem, std::size_t Bytes, UINT Flags) {
  TTable& T = Table();
  std::lock_guard Guard(T.Lock);
  TBlock* B = Find(T, Mem);
  if (B == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  if (Flags & GMEM_MODIFY) {
    B->Flags = (B->Flags & ~GMEM_DISCARDABLE) | (Flags & GMEM_DISCARDABLE);
    return Mem;
  }
  const bool Grows = Bytes > B->Size;
  if (!B->Moveable && Grows && !(Flags & GMEM_MOVEABLE)) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  Byte* Data = nullptr;
  if (Bytes != 0 || !B->Moveable) {
    Data = static_cast<Byte*>(std::realloc(B->Data, Bytes != 0 ? Bytes : 1));
    if (Data == nullptr) {
      SetLastError(ERROR_NOT_ENOUGH_MEMORY);
      return nullptr;
    }
    if (Grows && (Flags & GMEM_ZEROINIT)) std::memset(Data + B->Size, 0, Bytes - B->Size);
  } else {
    std::free(B->Data);
  }
  if (B->Data != nullptr) T.ByAddress.erase(B->Data);
  TBlock Moved = *B;
  Moved.Data = Data;
  Moved.Size = Bytes;
  HGLOBAL H = Mem;
  if (!Moved.Moveable && Data != B->Data) {
    // A fixed block's handle is its address.
    T.ByHandle.erase(Mem);
    H = Data;
  }
  if (Data != nullptr) T.ByAddress[Data] = H;
  T.ByHandle[H] = Moved;
  return H;
}

HGLOBAL GlobalHandle(const void* Address) {
  TTable& T = Table();
  std::lock_guard Guard(T.Lock);
  auto It = T.ByAddress.find(Address);
  if (It == T.ByAddress.end()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return It->second;
}

UINT GlobalFlags(HGLOBAL Mem) {
  TTable& T = Table();
  std::lock_guard Guard(T.Lock);
  const TBlock* B = Find(T, Mem);
  if (B == nullptr) return GMEM_INVALID_HANDLE;
  UINT F = static_cast<UINT>(B->Locks) | (B->Flags & GMEM_DISCARDABLE);
  if (B->Moveable && B->Data == nullptr) F |= GMEM_DISCARDED;
  return F;
}

void* GlobalAllocPtr(UINT Flags, std::size_t Bytes) {
  return GlobalLock(GlobalAlloc(Flags, Bytes));
}

BOOL GlobalFreePtr(const void* Address) {
  HGLOBAL H = GlobalHandle(Address);
  if (H == nullptr) return FALSE;
  GlobalUnlock(H);
  return GlobalFree(H) == nullptr ? TRUE : FALSE;
}
