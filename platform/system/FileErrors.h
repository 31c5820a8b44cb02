#pragma once
// Error codes of the file functions beyond the common ones, and how the file system's errno
// values read as the platform's codes, so GetLastError means the same after every file call.
#include <string>

#include "platform/system/LastError.h"

constexpr DWORD ERROR_TOO_MANY_OPEN_FILES = 4;
constexpr DWORD ERROR_NOT_SAME_DEVICE = 17;
constexpr DWORD ERROR_GEN_FAILURE = 31;
constexpr DWORD ERROR_SHARING_VIOLATION = 32;
constexpr DWORD ERROR_FILE_EXISTS = 80;
constexpr DWORD ERROR_DISK_FULL = 112;
constexpr DWORD ERROR_INSUFFICIENT_BUFFER = 122;
constexpr DWORD ERROR_DIR_NOT_EMPTY = 145;
constexpr DWORD ERROR_FILENAME_EXCED_RANGE = 206;
constexpr DWORD ERROR_DIRECTORY = 267;

// The platform's code for an errno value. A missing name is ERROR_FILE_NOT_FOUND when its
// folder exists and ERROR_PATH_NOT_FOUND when the folder is missing too, as the platform
// tells the two apart; NativeName (with '/' separators) decides which.
DWORD Win32ErrorFromErrno(int Errno, const std::string& NativeName = {});

// Sets the last error from errno (and the name it concerns); returns the code.
DWORD SetLastErrorFromErrno(int Errno, const std::string& NativeName = {});
