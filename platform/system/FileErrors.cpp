#include "platform/system/FileErrors.h"

#include <sys/stat.h>

#include <cerrno>

namespace {

bool ParentFolderExists(const std::string& NativeName) {
  std::string::size_type Slash = NativeName.find_last_of('/');
  std::string Parent;
  if (Slash == std::string::npos)
    Parent = ".";
  else if (Slash == 0)
    Parent = "/";
  else
    Parent = NativeName.substr(0, Slash);
  struct stat St;
  return ::stat(Parent.c_str(), &St) == 0 && S_ISDIR(St.st_mode);
}

}  // namespace

DWORD Win32ErrorFromErrno(int Errno, const std::string& NativeName) {
  switch (Errno) {
    case 0:
      return ERROR_SUCCESS;
    case ENOENT:
      return NativeName.empty() || ParentFolderExists(NativeName) ? ERROR_FILE_NOT_FOUND
                                                                  : ERROR_PATH_NOT_FOUND;
    case ENOTDIR:
      return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
      return ERROR_ACCESS_DENIED;
    case EEXIST:
      return ERROR_ALREADY_EXISTS;
    case ENOTEMPTY:
      return ERROR_DIR_NOT_EMPTY;
    case ENOSPC:
    case EDQUOT:
      return ERROR_DISK_FULL;
    case ENAMETOOLONG:
      return ERROR_FILENAME_EXCED_RANGE;
    case EBUSY:
    case ETXTBSY:
      return ERROR_SHARING_VIOLATION;
    case EXDEV:
      return ERROR_NOT_SAME_DEVICE;
    case EMFILE:
    case ENFILE:
      return ERROR_TOO_MANY_OPEN_FILES;
    case EBADF:
      return ERROR_INVALID_HANDLE;
    case EINVAL:
      return ERROR_INVALID_PARAMETER;
    default:
      return ERROR_GEN_FAILURE;
  }
}

DWORD SetLastErrorFromErrno(int Errno, const std::string& NativeName) {
  DWORD Code = Win32ErrorFromErrno(Errno, NativeName);
  SetLastError(Code);
  return Code;
}
