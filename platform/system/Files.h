#pragma once
// Files and folders: existence, creation, removal, copying, attributes, searches with
// wildcards and the parsing of file names.
//
// Names may use '\' or '/' as separators (the program builds names with '\'); what reaches
// the file system uses '/'. Parsing functions keep the separators they are given; functions
// that build a name from the file system (ExpandFileName, GetCurrentDir, GetTempPath) give
// '/'. Failing calls leave the platform's code in GetLastError (see FileErrors.h).
#include <memory>
#include <string>
#include <string_view>

#include "platform/system/FileErrors.h"
#include "platform/system/Types.h"
#include "platform/system/WinTypes.h"

constexpr char PathDelim = '/';
constexpr DWORD MAX_PATH = 260;

// File attributes. Linux keeps none of them, so they are derived: a directory is
// faDirectory, any other regular file faArchive (as a file on the platform normally is), a
// device, pipe or socket faSysFile; a name starting with '.' is faHidden; a file without
// write permission for its owner class (owner, group or others, whichever the process is)
// is faReadOnly. faVolumeID is never set.
constexpr Integer faReadOnly = 0x01;
constexpr Integer faHidden = 0x02;
constexpr Integer faSysFile = 0x04;
constexpr Integer faVolumeID = 0x08;
constexpr Integer faDirectory = 0x10;
constexpr Integer faArchive = 0x20;
constexpr Integer faAnyFile = 0x3F;

constexpr DWORD FILE_ATTRIBUTE_READONLY = 0x01;
constexpr DWORD FILE_ATTRIBUTE_HIDDEN = 0x02;
constexpr DWORD FILE_ATTRIBUTE_SYSTEM = 0x04;
constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x10;
constexpr DWORD FILE_ATTRIBUTE_ARCHIVE = 0x20;
constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x80;
constexpr DWORD FILE_ATTRIBUTE_TEMPORARY = 0x100;
constexpr DWORD INVALID_FILE_ATTRIBUTES = 0xFFFFFFFFu;

// 100-nanosecond intervals since 1 January 1601 (UTC).
struct FILETIME {
  DWORD dwLowDateTime = 0;
  DWORD dwHighDateTime = 0;
};

struct WIN32_FIND_DATAA {
  DWORD dwFileAttributes = 0;
  FILETIME ftCreationTime;  // Linux keeps no creation time: the last write time
  FILETIME ftLastAccessTime;
  FILETIME ftLastWriteTime;
  DWORD nFileSizeHigh = 0;
  DWORD nFileSizeLow = 0;
  DWORD dwReserved0 = 0;
  DWORD dwReserved1 = 0;
  char cFileName[MAX_PATH] = {};  // a Linux name has at most 255 bytes, so it always fits
  char cAlternateFileName[14] = {};
};
using WIN32_FIND_DATA = WIN32_FIND_DATAA;
using TWin32FindData = WIN32_FIND_DATAA;

struct TSearchState;

// One found entry of FindFirst/FindNext. FindHandle is shared by copies of the record (as a
// search handle would be) and released by FindClose or with the last copy.
struct TSearchRec {
  Integer Time = 0;  // last write time as a DOS date and time (local time)
  Int64 Size = 0;
  Integer Attr = 0;
  std::string Name;
  Integer ExcludeAttr = 0;
  std::shared_ptr<TSearchState> FindHandle;
  TWin32FindData FindData;
};

// Existence. FileExists is false for folders; both follow symbolic links.
bool FileExists(std::string_view FileName);
bool DirectoryExists(std::string_view Directory);

// Folders. CreateDir fails when the folder exists or its parent is missing; ForceDirectories
// creates every missing level and is true when the folder exists afterwards (false for an
// empty name or when a level is a file). RemoveDir removes an empty folder only.
bool CreateDir(std::string_view Dir);
bool ForceDirectories(std::string_view Dir);
bool RemoveDir(std::string_view Dir);

// Files. DeleteFile refuses folders and read-only files (ERROR_ACCESS_DENIED), as the
// platform does. RenameFile never replaces an existing file (ERROR_ALREADY_EXISTS) and moves
// a file across file systems by copying it.
bool DeleteFile(std::string_view FileName);
bool RenameFile(std::string_view OldName, std::string_view NewName);
// Copies contents, permissions and last write time. With FailIfExists an existing NewFileName
// fails with ERROR_FILE_EXISTS; a read-only target fails with ERROR_ACCESS_DENIED; copying a
// file onto itself fails with ERROR_SHARING_VIOLATION and leaves it intact.
BOOL CopyFile(std::string_view ExistingFileName, std::string_view NewFileName, BOOL FailIfExists);

// Size in bytes of a file; -1 when it is missing or a folder.
Int64 FileSizeByName(std::string_view FileName);

// Last write time of a file as a DOS date and time (local); -1 when missing or a folder.
Integer FileAge(std::string_view FileName);
// Sets the last write time; 0 on success, else the error code.
Integer FileSetDate(std::string_view FileName, Integer Age);

// Attributes (fa* bits), -1 when the name does not exist.
Integer FileGetAttr(std::string_view FileName);
// Only faReadOnly can be changed: it removes every write permission, and clearing it gives
// the owner write permission back. 0 on success, else the error code.
Integer FileSetAttr(std::string_view FileName, Integer Attr);
// FILE_ATTRIBUTE_* bits, INVALID_FILE_ATTRIBUTES when the name does not exist.
DWORD GetFileAttributes(std::string_view FileName);

// Searches. Path is a folder followed by a mask ('*' and '?', see MatchesMask); the folder
// may be left out for the current one. Folders, hidden and system entries are found only
// when Attr holds faDirectory, faHidden and faSysFile; "." and ".." are entries of every
// folder. Entries come in name order (case ignored, "." and ".." first). Returns 0 when an
// entry was found, else ERROR_FILE_NOT_FOUND (nothing matched the mask), ERROR_PATH_NOT_FOUND
// (no such folder) or ERROR_NO_MORE_FILES (all matches were excluded by Attr).
Integer FindFirst(std::string_view Path, Integer Attr, TSearchRec& F);
// 0 for the next entry, ERROR_NO_MORE_FILES at the end.
Integer FindNext(TSearchRec& F);
// Ends the search; may be called again or after a failed FindFirst.
void FindClose(TSearchRec& F);

// Wildcard match of a file name, ignoring letter case: '*' is any run of characters, '?' one
// character. A mask ending in ".*" also matches without that tail, so "*.*" matches every
// name and "readme.*" matches "readme". Characters are UTF-8 code points.
bool MatchesMask(std::string_view FileName, std::string_view Mask);

// Name parsing. '\' and '/' are both delimiters; ':' is an ordinary character.
std::string ExtractFilePath(std::string_view FileName);  // with the trailing delimiter
std::string ExtractFileDir(std::string_view FileName);   // without it, except for the root
std::string ExtractFileName(std::string_view FileName);
std::string ExtractFileExt(std::string_view FileName);    // with the dot; empty when none
std::string ExtractFileDrive(std::string_view FileName);  // Linux has no drives: empty
std::string ChangeFileExt(std::string_view FileName, std::string_view Extension);
bool IsPathDelimiter(std::string_view S, Integer Index);  // 1-based
std::string IncludeTrailingPathDelimiter(std::string_view S);
std::string ExcludeTrailingPathDelimiter(std::string_view S);
// Absolute name with '/' separators: relative names start at the current folder, "." and
// ".." are resolved by the text alone (symbolic links are not followed), repeated
// separators collapse, and a trailing delimiter is kept. Empty for an empty name.
std::string ExpandFileName(std::string_view FileName);
// DestName relative to the folder of BaseName (BaseName ending in a delimiter is that
// folder itself), with "../" for every level up. Names are compared case-sensitively as
// Linux file names are.
std::string ExtractRelativePath(std::string_view BaseName, std::string_view DestName);

// The process's current folder, without a trailing delimiter.
std::string GetCurrentDir();
bool SetCurrentDir(std::string_view Dir);

// The temporary folder with a trailing '/': $TEMP, else $TMPDIR, else /tmp.
std::string GetTempPath();
// Name := PathName + PrefixString (up to 3 characters) + the unique number as upper-case
// hexadecimal + ".tmp". With Unique 0 a number not yet in use is chosen and the empty file
// created (so the name stays taken); with another value only its low 16 bits are used and no
// file is created. Returns the number used, 0 on failure (ERROR_DIRECTORY when PathName is
// not a folder).
UINT GetTempFileName(std::string_view PathName, std::string_view PrefixString, UINT Unique,
                     std::string& TempFileName);
