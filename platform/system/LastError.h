#pragma once
// The calling thread's last error code, as platform calls leave it. Each thread has its own
// value; a call that fails sets it, and a call documented to do so clears it on success.
#include "platform/system/Types.h"

constexpr DWORD ERROR_SUCCESS = 0;
constexpr DWORD ERROR_FILE_NOT_FOUND = 2;
constexpr DWORD ERROR_PATH_NOT_FOUND = 3;
constexpr DWORD ERROR_ACCESS_DENIED = 5;
constexpr DWORD ERROR_INVALID_HANDLE = 6;
constexpr DWORD ERROR_NO_MORE_FILES = 18;
constexpr DWORD ERROR_INVALID_PARAMETER = 87;
constexpr DWORD ERROR_ALREADY_EXISTS = 183;

namespace tv_detail {
inline DWORD& LastErrorSlot() {
  thread_local DWORD Value = ERROR_SUCCESS;
  return Value;
}
}  // namespace tv_detail

inline DWORD GetLastError() {
  return tv_detail::LastErrorSlot();
}
inline void SetLastError(DWORD ErrorCode) {
  tv_detail::LastErrorSlot() = ErrorCode;
}
