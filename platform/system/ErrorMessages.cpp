#include "platform/system/ErrorMessages.h"

#include "platform/system/FileErrors.h"

std::string SysErrorMessage(DWORD ErrorCode) {
  switch (ErrorCode) {
    case ERROR_SUCCESS:
      return "The operation completed successfully.";
    case ERROR_FILE_NOT_FOUND:
      return "The system cannot find the file specified.";
    case ERROR_PATH_NOT_FOUND:
      return "The system cannot find the path specified.";
    case ERROR_TOO_MANY_OPEN_FILES:
      return "The system cannot open the file.";
    case ERROR_ACCESS_DENIED:
      return "Access is denied.";
    case ERROR_INVALID_HANDLE:
      return "The handle is invalid.";
    case ERROR_NOT_SAME_DEVICE:
      return "The system cannot move the file to a different disk drive.";
    case ERROR_GEN_FAILURE:
      return "A device attached to the system is not functioning.";
    case ERROR_SHARING_VIOLATION:
      return "The process cannot access the file because it is being used by another process.";
    case ERROR_FILE_EXISTS:
      return "The file exists.";
    case ERROR_INVALID_PARAMETER:
      return "The parameter is incorrect.";
    case ERROR_DISK_FULL:
      return "There is not enough space on the disk.";
    case ERROR_DIR_NOT_EMPTY:
      return "The directory is not empty.";
    case ERROR_ALREADY_EXISTS:
      return "Cannot create a file when that file already exists.";
    case ERROR_FILENAME_EXCED_RANGE:
      return "The filename or extension is too long.";
    case ERROR_DIRECTORY:
      return "The directory name is invalid.";
    default:
      return {};
  }
}
