#pragma once
// File handles: the platform's create/open, read, write, seek and size calls on files.
//
// A file handle is the file system's descriptor, the number THandleStream takes, so a stream
// can be built over a handle opened here. Kernel objects (events, mutexes) live in their own
// HANDLE table (KernelObjects.h); the CloseHandle below is the overload for file handles.
//
// Linux has no share modes: the share bits are accepted and have no effect. A failing call
// returns INVALID_HANDLE_VALUE or FALSE and leaves the platform's code in GetLastError.
#include <string_view>

#include "platform/system/FileErrors.h"
#include "platform/system/Files.h"
#include "platform/system/Types.h"
#include "platform/system/WinTypes.h"

using THandle = int;
constexpr THandle INVALID_HANDLE_VALUE = -1;

// Access.
constexpr DWORD GENERIC_READ = 0x80000000u;
constexpr DWORD GENERIC_WRITE = 0x40000000u;

// Sharing (no effect here, see above).
constexpr DWORD FILE_SHARE_READ = 0x1;
constexpr DWORD FILE_SHARE_WRITE = 0x2;
constexpr DWORD FILE_SHARE_DELETE = 0x4;

// Dispositions.
constexpr DWORD CREATE_NEW = 1;         // only a new file: ERROR_FILE_EXISTS otherwise, atomically
constexpr DWORD CREATE_ALWAYS = 2;      // a new file, or the existing one emptied
constexpr DWORD OPEN_EXISTING = 3;      // only an existing file
constexpr DWORD OPEN_ALWAYS = 4;        // the existing file, or a new one
constexpr DWORD TRUNCATE_EXISTING = 5;  // only an existing file, emptied; needs GENERIC_WRITE

// The file's name goes when the file is opened, so nothing is left behind even when the
// process dies; the data lives until the last handle to it is closed.
constexpr DWORD FILE_FLAG_DELETE_ON_CLOSE = 0x04000000u;

// Move methods of SetFilePointerEx.
constexpr DWORD FILE_BEGIN = 0;
constexpr DWORD FILE_CURRENT = 1;
constexpr DWORD FILE_END = 2;

constexpr DWORD ERROR_HANDLE_EOF = 38;
constexpr DWORD ERROR_NEGATIVE_SEEK = 131;

// Never looked at: files get the process's default permissions.
struct SECURITY_ATTRIBUTES;
using LPSECURITY_ATTRIBUTES = SECURITY_ATTRIBUTES*;

// Opens or creates FileName ('\' or '/' separators) with GENERIC_READ and/or GENERIC_WRITE.
// Folders are refused with ERROR_ACCESS_DENIED. FlagsAndAttributes other than
// FILE_FLAG_DELETE_ON_CLOSE and the template file are accepted and ignored. On success the
// last error is ERROR_ALREADY_EXISTS when CREATE_ALWAYS or OPEN_ALWAYS found the file, else 0.
THandle CreateFile(std::string_view FileName, DWORD DesiredAccess, DWORD ShareMode,
                   LPSECURITY_ATTRIBUTES SecurityAttributes, DWORD CreationDisposition,
                   DWORD FlagsAndAttributes, THandle TemplateFile);

// Reads up to BytesToRead bytes from the position; fewer only at the end of the file
// (*BytesRead 0 at the end, with TRUE).
BOOL ReadFile(THandle File, void* Buffer, DWORD BytesToRead, DWORD* BytesRead);
// Writes all BytesToWrite bytes, or fails (ERROR_DISK_FULL) with *BytesWritten telling how
// many reached the file.
BOOL WriteFile(THandle File, const void* Buffer, DWORD BytesToWrite, DWORD* BytesWritten);

// Moves the position; a position beyond the end is allowed, a negative one fails with
// ERROR_NEGATIVE_SEEK and leaves the position. NewFilePointer may be nullptr.
BOOL SetFilePointerEx(THandle File, Int64 DistanceToMove, Int64* NewFilePointer, DWORD MoveMethod);
BOOL GetFileSizeEx(THandle File, Int64* FileSize);
// The file ends at the position: shortened, or lengthened with zeros.
BOOL SetEndOfFile(THandle File);

// FALSE with ERROR_INVALID_HANDLE for a handle that is not open.
BOOL CloseHandle(THandle File);
