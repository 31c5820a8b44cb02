#pragma once
// Mutex handles. Ownership (WaitForSingleObject takes it, ReleaseMutex gives it back) is
// re-entrant for the owning thread and works between the threads of one process.
//
// A named mutex is also seen by the other processes of the same user, which is what the
// single-instance guard needs: the name lives in a lock file under $XDG_RUNTIME_DIR (else the
// temporary folder), held with a shared flock while any handle to it is open in any process.
// CreateMutex reports ERROR_ALREADY_EXISTS while a handle to the name is open anywhere,
// including this process, and still returns a handle of its own. Ownership is not shared
// across processes.
#include <string>

#include "platform/system/KernelObjects.h"
#include "platform/system/LastError.h"
#include "platform/system/WinTypes.h"

constexpr DWORD ERROR_NOT_OWNER = 288;

// The attributes are ignored. bInitialOwner gives the calling thread ownership when the mutex
// is new. lpName nullptr or "" makes an unnamed mutex. nullptr on failure (GetLastError tells
// why); otherwise GetLastError is ERROR_ALREADY_EXISTS or ERROR_SUCCESS.
HANDLE CreateMutex(void* lpMutexAttributes, BOOL bInitialOwner, const char* lpName);
inline HANDLE CreateMutexA(void* lpMutexAttributes, BOOL bInitialOwner, const char* lpName) {
  return CreateMutex(lpMutexAttributes, bInitialOwner, lpName);
}
// Gives up one level of ownership; FALSE with ERROR_NOT_OWNER when the calling thread does not
// own it.
BOOL ReleaseMutex(HANDLE hMutex);

// The file of a named object of this user in the runtime folder ($XDG_RUNTIME_DIR, else the
// temporary folder): "tilvarok-<Kind>-<uid>-<Name>" + Extension, the name reduced to letters,
// digits, '-', '_', '.' and %XX escapes (long names keep a prefix and a hash).
std::string NamedObjectPath(const std::string& Kind, const std::string& Name, const std::string& Extension);
