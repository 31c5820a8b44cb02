#pragma once
// The heap a benchmark holds: every malloc, calloc, realloc and free of the program (the
// pictures' pixel memory included) passes through here and is counted by its usable size, so
// a benchmark can read the largest amount held at one time since it last asked. Include it in
// one benchmark program only; sanitizer builds keep their own allocator and count nothing.
#include <malloc.h>

#include <atomic>
#include <cstddef>
#include <cstdint>

#if defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(memory_sanitizer) || __has_feature(thread_sanitizer)
#define TILVAROK_HEAP_PEAK_OFF 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define TILVAROK_HEAP_PEAK_OFF 1
#endif

namespace HeapPeak {
inline std::atomic<std::int64_t> Held{0};
inline std::atomic<std::int64_t> Peak{0};

// Bytes held now.
inline std::int64_t Now() {
  return Held.load(std::memory_order_relaxed);
}
// The peak starts again from what is held now.
inline void Restart() {
  Peak.store(Now(), std::memory_order_relaxed);
}
// The most held at one time since Restart.
inline std::int64_t Highest() {
  return Peak.load(std::memory_order_relaxed);
}
// False where the allocator is not ours to count (sanitizer builds).
inline bool Counting() {
#ifdef TILVAROK_HEAP_PEAK_OFF
  return false;
#else
  return true;
#endif
}

inline void Took(void* P) {
  if (P == nullptr) return;
  const std::int64_t Size = static_cast<std::int64_t>(malloc_usable_size(P));
  const std::int64_t NowHeld = Held.fetch_add(Size, std::memory_order_relaxed) + Size;
  std::int64_t Old = Peak.load(std::memory_order_relaxed);
  while (NowHeld > Old && !Peak.compare_exchange_weak(Old, NowHeld, std::memory_order_relaxed)) {
  }
}
inline void Gave(void* P) {
  if (P != nullptr)
    Held.fetch_sub(static_cast<std::int64_t>(malloc_usable_size(P)), std::memory_order_relaxed);
}
}  // namespace HeapPeak

#ifndef TILVAROK_HEAP_PEAK_OFF
extern "C" {
void* __libc_malloc(std::size_t);
void* __libc_calloc(std::size_t, std::size_t);
void* __libc_realloc(void*, std::size_t);
void* __libc_memalign(std::size_t, std::size_t);
void __libc_free(void*);

void* malloc(std::size_t Size) {
  void* P = __libc_malloc(Size);
  HeapPeak::Took(P);
  return P;
}
void* calloc(std::size_t Count, std::size_t Size) {
  void* P = __libc_calloc(Count, Size);
  HeapPeak::Took(P);
  return P;
}
void* realloc(void* Old, std::size_t Size) {
  HeapPeak::Gave(Old);
  void* P = __libc_realloc(Old, Size);
  // A failed realloc keeps the old block.
  HeapPeak::Took(P != nullptr || Size == 0 ? P : Old);
  return P;
}
void free(void* P) {
  HeapPeak::Gave(P);
  __libc_free(P);
}
void* memalign(std::size_t Alignment, std::size_t Size) {
  void* P = __libc_memalign(Alignment, Size);
  HeapPeak::Took(P);
  return P;
}
void* aligned_alloc(std::size_t Alignment, std::size_t Size) {
  return memalign(Alignment, Size);
}
int posix_memalign(void** Out, std::size_t Alignment, std::size_t Size) {
  void* P = memalign(Alignment, Size);
  if (P == nullptr) return 12;  // ENOMEM
  *Out = P;
  return 0;
}
}
#endif
