#pragma once
// Global memory blocks, as the clipboard and older code hand them around. A fixed block's
// handle is its address; a movable block's handle is a separate token that GlobalLock turns
// into the address (counting locks). Safe from any thread. Handles that are not blocks (such as
// LoadResource's) lock to themselves.
#include <cstddef>

#include "platform/system/Resources.h"

constexpr UINT GMEM_FIXED = 0x0000;
constexpr UINT GMEM_MOVEABLE = 0x0002;
constexpr UINT GMEM_NOCOMPACT = 0x0010;
constexpr UINT GMEM_NODISCARD = 0x0020;
constexpr UINT GMEM_ZEROINIT = 0x0040;
constexpr UINT GMEM_MODIFY = 0x0080;
constexpr UINT GMEM_DISCARDABLE = 0x0100;
constexpr UINT GMEM_NOT_BANKED = 0x1000;
constexpr UINT GMEM_SHARE = 0x2000;
constexpr UINT GMEM_DDESHARE = 0x2000;
constexpr UINT GMEM_DISCARDED = 0x4000;
constexpr UINT GMEM_INVALID_HANDLE = 0x8000;
constexpr UINT GMEM_LOCKCOUNT = 0x00FF;
constexpr UINT GHND = GMEM_MOVEABLE | GMEM_ZEROINIT;
constexpr UINT GPTR = GMEM_FIXED | GMEM_ZEROINIT;

constexpr DWORD ERROR_NOT_ENOUGH_MEMORY = 8;
constexpr DWORD ERROR_NOT_LOCKED = 158;

// Null (ERROR_NOT_ENOUGH_MEMORY) when the memory is not there. A movable block of 0 bytes is a
// discarded block: it has a handle but no memory.
HGLOBAL GlobalAlloc(UINT Flags, std::size_t Bytes);
// Returns null on success, the handle itself when it is not a block.
HGLOBAL GlobalFree(HGLOBAL Mem);
void* GlobalLock(HGLOBAL Mem);
// FALSE once the lock count reaches 0 (with ERROR_SUCCESS), or when it was not locked
// (ERROR_NOT_LOCKED); fixed blocks answer TRUE.
BOOL GlobalUnlock(HGLOBAL Mem);
std::size_t GlobalSize(HGLOBAL Mem);
// The block keeps its handle; a fixed block moves only with GMEM_MOVEABLE. GMEM_MODIFY
// changes the flags only.
HGLOBAL GlobalReAlloc(HGLOBAL Mem, std::size_t Bytes, UINT Flags);
// The handle of the block at this address.
HGLOBAL GlobalHandle(const void* Address);
// The lock count with GMEM_DISCARDED / GMEM_DISCARDABLE; GMEM_INVALID_HANDLE for non-blocks.
UINT GlobalFlags(HGLOBAL Mem);
// The address of a new locked block, and its release by address.
void* GlobalAllocPtr(UINT Flags, std::size_t Bytes);
BOOL GlobalFreePtr(const void* Address);
