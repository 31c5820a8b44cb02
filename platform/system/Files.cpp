#include "platform/system/Files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <vector>

#include "platform/system/Environment.h"
#include "platform/system/Paths.h"

struct TSearchState {
  std::string Folder;  // native, ending in '/', or empty for the current folder
  std::vector<std::string> Names;
  std::size_t Next = 0;
};

namespace {

bool IsDelim(char C) {
  return C == '\\' || C == '/';
}

// Position (0-based) of the last '\' or '/', npos when none.
std::size_t LastDelim(std::string_view S) {
  return S.find_last_of("\\/");
}

// ---- UTF-8 characters, case folded ---------------------------------------------------------

// Decodes the code point at S[I] and returns its length in bytes; a byte that does not start
// a valid sequence counts as one character of its own.
std::size_t DecodeAt(std::string_view S, std::size_t I, char32_t& C) {
  unsigned char B = static_cast<unsigned char>(S[I]);
  std::size_t Len = B < 0x80 ? 1 : (B >> 5) == 6 ? 2 : (B >> 4) == 14 ? 3 : (B >> 3) == 30 ? 4 : 0;
  if (Len == 0 || I + Len > S.size()) {
    C = B;
    return 1;
  }
  char32_t V = Len == 1 ? B : B & (0x7F >> Len);
  for (std::size_t K = 1; K < Len; ++K) {
    unsigned char T = static_cast<unsigned char>(S[I + K]);
    if ((T & 0xC0) != 0x80) {
      C = B;
      return 1;
    }
    V = (V << 6) | (T & 0x3F);
  }
  C = V;
  return Len;
}

// Upper case of the letters of the scripts file names mostly use (Latin, Greek, Cyrillic).
char32_t FoldCase(char32_t C) {
  if (C < 0x80) return C >= 'a' && C <= 'z' ? C - 0x20 : C;
  if (C >= 0xE0 && C <= 0xFE && C != 0xF7) return C - 0x20;
  if (C == 0xFF) return 0x178;
  if ((C >= 0x100 && C <= 0x137) || (C >= 0x14A && C <= 0x177)) return C & ~char32_t(1);
  if (((C >= 0x139 && C <= 0x148) || (C >= 0x179 && C <= 0x17E)) && (C & 1) == 0) return C - 1;
  if (C == 0x3C2) return 0x3A3;
  if (C >= 0x3B1 && C <= 0x3C9) return C - 0x20;
  if (C >= 0x430 && C <= 0x44F) return C - 0x20;
  if (C >= 0x450 && C <= 0x45F) return C - 0x50;
  return C;
}

// '*' and '?' over code points; greedy with one backtrack point, so linear in practice.
bool WildMatch(std::string_view Name, std::string_view Mask) {
  std::size_t N = 0, M = 0;
  std::size_t StarM = std::string_view::npos, StarN = 0;
  while (N < Name.size()) {
    if (M < Mask.size()) {
      char32_t MC, NC;
      std::size_t ML = DecodeAt(Mask, M, MC);
      if (MC == '*') {
        M += ML;
        StarM = M;
        StarN = N;
        continue;
      }
      std::size_t NL = DecodeAt(Name, N, NC);
      if (MC == '?' || FoldCase(MC) == FoldCase(NC)) {
        M += ML;
        N += NL;
        continue;
      }
    }
    if (StarM == std::string_view::npos) return false;
    char32_t Skip;
    StarN += DecodeAt(Name, StarN, Skip);
    N = StarN;
    M = StarM;
  }
  while (M < Mask.size() && Mask[M] == '*') ++M;
  return M == Mask.size();
}

// Case-blind order of names, exact bytes breaking ties.
bool NameLess(const std::string& A, const std::string& B) {
  std::size_t I = 0, J = 0;
  while (I < A.size() && J < B.size()) {
    char32_t CA, CB;
    I += DecodeAt(A, I, CA);
    J += DecodeAt(B, J, CB);
    CA = FoldCase(CA);
    CB = FoldCase(CB);
    if (CA != CB) return CA < CB;
  }
  if ((I < A.size()) != (J < B.size())) return J < B.size();
  return A < B;
}

// ---- attributes and times --------------------------------------------------------------

// The last name of a native path, trailing separators ignored.
std::string_view LastName(std::string_view Native) {
  while (Native.size() > 1 && Native.back() == '/') Native.remove_suffix(1);
  std::size_t Slash = Native.find_last_of('/');
  return Slash == std::string_view::npos ? Native : Native.substr(Slash + 1);
}

bool IsHiddenName(std::string_view Name) {
  return Name.size() > 0 && Name[0] == '.' && Name != "." && Name != "..";
}

bool InGroup(gid_t Gid) {
  if (Gid == ::getegid()) return true;
  int Count = ::getgroups(0, nullptr);
  if (Count <= 0) return false;
  std::vector<gid_t> Groups(static_cast<std::size_t>(Count));
  Count = ::getgroups(Count, Groups.data());
  return Count > 0 && std::find(Groups.begin(), Groups.begin() + Count, Gid) != Groups.begin() + Count;
}

// The write permission bit that applies to this process. The super-user counts as the
// owner, so a file without owner write permission is read-only for it too, as a read-only
// file is for an administrator.
mode_t WriteBitFor(const struct stat& St) {
  uid_t Euid = ::geteuid();
  if (Euid == 0 || St.st_uid == Euid) return S_IWUSR;
  if (InGroup(St.st_gid)) return S_IWGRP;
  return S_IWOTH;
}

bool IsReadOnly(const struct stat& St) {
  return (St.st_mode & WriteBitFor(St)) == 0;
}

DWORD AttributesOf(const struct stat& St, std::string_view Name) {
  DWORD A = S_ISDIR(St.st_mode)   ? FILE_ATTRIBUTE_DIRECTORY
            : S_ISREG(St.st_mode) ? FILE_ATTRIBUTE_ARCHIVE
                                  : FILE_ATTRIBUTE_SYSTEM;
  if (IsReadOnly(St)) A |= FILE_ATTRIBUTE_READONLY;
  if (IsHiddenName(Name)) A |= FILE_ATTRIBUTE_HIDDEN;
  return A;
}

FILETIME ToFileTime(const struct timespec& T) {
  // 1601-01-01 to 1970-01-01 in seconds.
  constexpr Int64 EpochDiff = 11644473600LL;
  UInt64 V = static_cast<UInt64>(T.tv_sec + EpochDiff) * 10000000ULL + static_cast<UInt64>(T.tv_nsec / 100);
  return {static_cast<DWORD>(V), static_cast<DWORD>(V >> 32)};
}

// Local time as a DOS date (high word) and time (low word, two-second steps); 0 outside the
// years 1980 to 2107 that the format can hold.
Integer ToDosDateTime(time_t T) {
  struct tm L;
  if (!::localtime_r(&T, &L) || L.tm_year < 80 || L.tm_year > 207) return 0;
  DWORD Date =
      (static_cast<DWORD>(L.tm_year - 80) << 9) | (static_cast<DWORD>(L.tm_mon + 1) << 5) | L.tm_mday;
  DWORD Time = (static_cast<DWORD>(L.tm_hour) << 11) | (static_cast<DWORD>(L.tm_min) << 5) | (L.tm_sec / 2);
  return static_cast<Integer>((Date << 16) | Time);
}

bool FromDosDateTime(Integer Age, time_t& T) {
  DWORD V = static_cast<DWORD>(Age);
  struct tm L = {};
  L.tm_year = static_cast<int>((V >> 25) & 0x7F) + 80;
  L.tm_mon = static_cast<int>((V >> 21) & 0x0F) - 1;
  L.tm_mday = static_cast<int>((V >> 16) & 0x1F);
  L.tm_hour = static_cast<int>((V >> 11) & 0x1F);
  L.tm_min = static_cast<int>((V >> 5) & 0x3F);
  L.tm_sec = static_cast<int>(V & 0x1F) * 2;
  L.tm_isdst = -1;
  if (L.tm_mon < 0 || L.tm_mon > 11 || L.tm_mday < 1 || L.tm_hour > 23 || L.tm_min > 59 || L.tm_sec > 59)
    return false;
  T = ::mktime(&L);
  return T != static_cast<time_t>(-1);
}

void FillFindData(std::string_view Name, const struct stat& St, TWin32FindData& D) {
  D = TWin32FindData();
  D.dwFileAttributes = AttributesOf(St, Name);
  D.ftLastWriteTime = ToFileTime(St.st_mtim);
  D.ftCreationTime = D.ftLastWriteTime;
  D.ftLastAccessTime = ToFileTime(St.st_atim);
  if (!S_ISDIR(St.st_mode)) {
    UInt64 Size = static_cast<UInt64>(St.st_size);
    D.nFileSizeHigh = static_cast<DWORD>(Size >> 32);
    D.nFileSizeLow = static_cast<DWORD>(Size);
  }
  std::size_t Len = std::min(Name.size(), sizeof(D.cFileName) - 1);
  Name.copy(D.cFileName, Len);
  D.cFileName[Len] = '\0';
}

bool StatName(const std::string& Native, struct stat& St) {
  return !Native.empty() && ::stat(Native.c_str(), &St) == 0;
}

bool Fail(DWORD Code) {
  SetLastError(Code);
  return false;
}

bool FailErrno(const std::string& Native) {
  SetLastErrorFromErrno(errno, Native);
  return false;
}

// Copies the bytes of one open file to another; false with errno set on failure.
bool CopyContents(int In, int Out) {
  std::vector<char> Buffer(1 << 18);
  for (;;) {
    ssize_t Got = ::read(In, Buffer.data(), Buffer.size());
    if (Got == 0) return true;
    if (Got < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    for (ssize_t Done = 0; Done < Got;) {
      ssize_t Put = ::write(Out, Buffer.data() + Done, static_cast<std::size_t>(Got - Done));
      if (Put < 0) {
        if (errno == EINTR) continue;
        return false;
      }
      Done += Put;
    }
  }
}

// Steps the search to the next entry not excluded by the search's attributes.
Integer FindMatching(TSearchRec& F) {
  TSearchState& S = *F.FindHandle;
  while (S.Next < S.Names.size()) {
    const std::string& Name = S.Names[S.Next++];
    std::string Full = S.Folder + Name;
    struct stat St;
    // A dangling symbolic link is still an entry of the folder.
    if (::stat(Full.c_str(), &St) != 0 && ::lstat(Full.c_str(), &St) != 0) continue;
    FillFindData(Name, St, F.FindData);
    if ((static_cast<Integer>(F.FindData.dwFileAttributes) & F.ExcludeAttr) != 0) continue;
    F.Time = ToDosDateTime(St.st_mtim.tv_sec);
    F.Size = (static_cast<Int64>(F.FindData.nFileSizeHigh) << 32) | F.FindData.nFileSizeLow;
    F.Attr = static_cast<Integer>(F.FindData.dwFileAttributes);
    F.Name = Name;
    return 0;
  }
  SetLastError(ERROR_NO_MORE_FILES);
  return static_cast<Integer>(ERROR_NO_MORE_FILES);
}

}  // namespace

// ---- existence, folders, files ----------------------------------------------------------

bool FileExists(std::string_view FileName) {
  struct stat St;
  return StatName(ToNativePath(FileName), St) && !S_ISDIR(St.st_mode);
}

bool DirectoryExists(std::string_view Directory) {
  struct stat St;
  return StatName(ToNativePath(Directory), St) && S_ISDIR(St.st_mode);
}

bool CreateDir(std::string_view Dir) {
  std::string N = ToNativePath(Dir);
  if (N.empty()) return Fail(ERROR_PATH_NOT_FOUND);
  if (::mkdir(N.c_str(), 0777) != 0) return FailErrno(N);
  return true;
}

bool ForceDirectories(std::string_view Dir) {
  std::string N = ToNativePath(Dir);
  if (N.empty()) return Fail(ERROR_INVALID_PARAMETER);
  // Every prefix ending before a separator is a level; the root and repeated separators
  // make empty or existing prefixes, which mkdir answers with EEXIST.
  for (std::size_t Pos = N.find('/', 1);; Pos = N.find('/', Pos + 1)) {
    std::string Level = N.substr(0, Pos);
    if (::mkdir(Level.c_str(), 0777) != 0) {
      int E = errno;
      struct stat St;
      if (E != EEXIST || ::stat(Level.c_str(), &St) != 0 || !S_ISDIR(St.st_mode)) {
        SetLastErrorFromErrno(E == EEXIST ? ENOTDIR : E, Level);
        return false;
      }
    }
    if (Pos == std::string::npos || N.find_first_not_of('/', Pos) == std::string::npos) return true;
  }
}

bool RemoveDir(std::string_view Dir) {
  std::string N = ToNativePath(Dir);
  if (::rmdir(N.c_str()) != 0) return FailErrno(N);
  return true;
}

bool DeleteFile(std::string_view FileName) {
  std::string N = ToNativePath(FileName);
  struct stat St;
  if (N.empty() || ::lstat(N.c_str(), &St) != 0) return FailErrno(N);
  if (S_ISDIR(St.st_mode) || (S_ISREG(St.st_mode) && IsReadOnly(St))) return Fail(ERROR_ACCESS_DENIED);
  if (::unlink(N.c_str()) != 0) return FailErrno(N);
  return true;
}

bool RenameFile(std::string_view OldName, std::string_view NewName) {
  std::string From = ToNativePath(OldName), To = ToNativePath(NewName);
  if (From.empty() || To.empty()) return Fail(ERROR_PATH_NOT_FOUND);
  if (::renameat2(AT_FDCWD, From.c_str(), AT_FDCWD, To.c_str(), RENAME_NOREPLACE) == 0) return true;
  int E = errno;
  if (E == EINVAL || E == ENOSYS) {
    // The file system cannot refuse to replace by itself.
    struct stat St;
    if (::lstat(To.c_str(), &St) == 0) return Fail(ERROR_ALREADY_EXISTS);
    if (::rename(From.c_str(), To.c_str()) == 0) return true;
    E = errno;
  }
  if (E == EXDEV) {
    // Another file system: a file moves by copying; a folder does not move.
    struct stat St;
    if (::lstat(From.c_str(), &St) != 0 || !S_ISREG(St.st_mode)) return Fail(ERROR_NOT_SAME_DEVICE);
    if (!CopyFile(OldName, NewName, TRUE)) return false;
    if (::unlink(From.c_str()) != 0) {
      int UnlinkError = errno;
      ::unlink(To.c_str());
      SetLastErrorFromErrno(UnlinkError, From);
      return false;
    }
    return true;
  }
  SetLastErrorFromErrno(E, E == ENOENT ? From : To);
  return false;
}

BOOL CopyFile(std::string_view ExistingFileName, std::string_view NewFileName, BOOL FailIfExists) {
  std::string From = ToNativePath(ExistingFileName), To = ToNativePath(NewFileName);
  int In = From.empty() ? -1 : ::open(From.c_str(), O_RDONLY | O_CLOEXEC);
  if (In < 0) return FailErrno(From);
  struct stat Src, Dst;
  bool DstExists = !To.empty() && ::stat(To.c_str(), &Dst) == 0;
  DWORD Refusal = ERROR_SUCCESS;
  if (::fstat(In, &Src) != 0 || S_ISDIR(Src.st_mode))
    Refusal = ERROR_ACCESS_DENIED;
  else if (DstExists && FailIfExists)
    Refusal = ERROR_FILE_EXISTS;
  else if (DstExists && Dst.st_dev == Src.st_dev && Dst.st_ino == Src.st_ino)
    Refusal = ERROR_SHARING_VIOLATION;
  else if (DstExists && (S_ISDIR(Dst.st_mode) || IsReadOnly(Dst)))
    Refusal = ERROR_ACCESS_DENIED;
  if (Refusal != ERROR_SUCCESS) {
    ::close(In);
    return Fail(Refusal);
  }
  int Flags = O_WRONLY | O_CREAT | O_CLOEXEC | (FailIfExists ? O_EXCL : O_TRUNC);
  int Out = To.empty() ? -1 : ::open(To.c_str(), Flags, Src.st_mode & 07777);
  if (Out < 0) {
    int E = errno;
    ::close(In);
    SetLastError(E == EEXIST ? ERROR_FILE_EXISTS : Win32ErrorFromErrno(E, To));
    return FALSE;
  }
  bool Ok = CopyContents(In, Out);
  int E = errno;
  if (Ok) {
    ::fchmod(Out, Src.st_mode & 07777);
    struct timespec Times[2] = {Src.st_atim, Src.st_mtim};
    ::futimens(Out, Times);
  }
  if (::close(Out) != 0 && Ok) {
    Ok = false;
    E = errno;
  }
  ::close(In);
  if (!Ok) {
    // A half-written copy is worth nothing; a file that was there before stays.
    if (!DstExists) ::unlink(To.c_str());
    SetLastErrorFromErrno(E, To);
    return FALSE;
  }
  return TRUE;
}

Int64 FileSizeByName(std::string_view FileName) {
  struct stat St;
  if (!StatName(ToNativePath(FileName), St) || S_ISDIR(St.st_mode)) return -1;
  return static_cast<Int64>(St.st_size);
}

Integer FileAge(std::string_view FileName) {
  struct stat St;
  if (!StatName(ToNativePath(FileName), St) || S_ISDIR(St.st_mode)) return -1;
  return ToDosDateTime(St.st_mtim.tv_sec);
}

Integer FileSetDate(std::string_view FileName, Integer Age) {
  std::string N = ToNativePath(FileName);
  time_t T;
  if (!FromDosDateTime(Age, T)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return static_cast<Integer>(ERROR_INVALID_PARAMETER);
  }
  struct timespec Times[2] = {{0, UTIME_OMIT}, {T, 0}};
  if (N.empty() || ::utimensat(AT_FDCWD, N.c_str(), Times, 0) != 0)
    return static_cast<Integer>(SetLastErrorFromErrno(errno, N));
  return 0;
}

DWORD GetFileAttributes(std::string_view FileName) {
  std::string N = ToNativePath(FileName);
  struct stat St;
  if (!StatName(N, St)) {
    SetLastErrorFromErrno(N.empty() ? ENOENT : errno, N);
    return INVALID_FILE_ATTRIBUTES;
  }
  return AttributesOf(St, LastName(N));
}

Integer FileGetAttr(std::string_view FileName) {
  return static_cast<Integer>(GetFileAttributes(FileName));
}

Integer FileSetAttr(std::string_view FileName, Integer Attr) {
  std::string N = ToNativePath(FileName);
  struct stat St;
  if (!StatName(N, St)) return static_cast<Integer>(SetLastErrorFromErrno(N.empty() ? ENOENT : errno, N));
  // Hidden, system and archive are not stored on Linux, and a folder's read-only flag does
  // not protect its contents, so folders keep their permissions.
  if (S_ISDIR(St.st_mode)) return 0;
  mode_t Mode = St.st_mode & 07777;
  mode_t NewMode = (Attr & faReadOnly) ? Mode & ~mode_t(S_IWUSR | S_IWGRP | S_IWOTH)
                   : IsReadOnly(St)    ? Mode | WriteBitFor(St)
                                       : Mode;
  if (NewMode != Mode && ::chmod(N.c_str(), NewMode) != 0)
    return static_cast<Integer>(SetLastErrorFromErrno(errno, N));
  return 0;
}

// ---- searches ---------------------------------------------------------------------------

bool MatchesMask(std::string_view FileName, std::string_view Mask) {
  if (WildMatch(FileName, Mask)) return true;
  return Mask.size() >= 2 && Mask.substr(Mask.size() - 2) == ".*" &&
         WildMatch(FileName, Mask.substr(0, Mask.size() - 2));
}

Integer FindFirst(std::string_view Path, Integer Attr, TSearchRec& F) {
  constexpr Integer faSpecial = faHidden | faSysFile | faVolumeID | faDirectory;
  FindClose(F);
  F.ExcludeAttr = ~Attr & faSpecial;
  std::string N = ToNativePath(Path);
  std::size_t Slash = N.find_last_of('/');
  auto State = std::make_shared<TSearchState>();
  State->Folder = Slash == std::string::npos ? std::string() : N.substr(0, Slash + 1);
  std::string_view Mask = std::string_view(N).substr(Slash == std::string::npos ? 0 : Slash + 1);

  DIR* D = ::opendir(State->Folder.empty() ? "." : State->Folder.c_str());
  if (!D) {
    DWORD Code = errno == ENOENT || errno == ENOTDIR ? ERROR_PATH_NOT_FOUND : Win32ErrorFromErrno(errno);
    SetLastError(Code);
    return static_cast<Integer>(Code);
  }
  if (!Mask.empty())
    while (struct dirent* E = ::readdir(D))
      if (MatchesMask(E->d_name, Mask)) State->Names.emplace_back(E->d_name);
  ::closedir(D);
  if (State->Names.empty()) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return static_cast<Integer>(ERROR_FILE_NOT_FOUND);
  }
  // "." and ".." lead, as the platform lists them.
  auto Rank = [](const std::string& S) { return S == "." ? 0 : S == ".." ? 1 : 2; };
  std::sort(State->Names.begin(), State->Names.end(), [&](const std::string& A, const std::string& B) {
    int RA = Rank(A), RB = Rank(B);
    return RA != RB ? RA < RB : RA == 2 && NameLess(A, B);
  });
  F.FindHandle = std::move(State);
  Integer Result = FindMatching(F);
  if (Result != 0) FindClose(F);
  return Result;
}

Integer FindNext(TSearchRec& F) {
  if (!F.FindHandle) {
    SetLastError(ERROR_INVALID_HANDLE);
    return static_cast<Integer>(ERROR_INVALID_HANDLE);
  }
  return FindMatching(F);
}

void FindClose(TSearchRec& F) {
  F.FindHandle.reset();
}

// ---- names ------------------------------------------------------------------------------

std::string ExtractFilePath(std::string_view FileName) {
  std::size_t I = LastDelim(FileName);
  return I == std::string_view::npos ? std::string() : std::string(FileName.substr(0, I + 1));
}

std::string ExtractFileDir(std::string_view FileName) {
  std::size_t I = LastDelim(FileName);
  if (I == std::string_view::npos) return {};
  // The root keeps its delimiter, and so does a run of delimiters.
  if (I > 0 && !IsDelim(FileName[I - 1])) return std::string(FileName.substr(0, I));
  return std::string(FileName.substr(0, I + 1));
}

std::string ExtractFileName(std::string_view FileName) {
  std::size_t I = LastDelim(FileName);
  return std::string(I == std::string_view::npos ? FileName : FileName.substr(I + 1));
}

std::string ExtractFileExt(std::string_view FileName) {
  std::size_t I = FileName.find_last_of("\\/.");
  if (I == std::string_view::npos || FileName[I] != '.') return {};
  return std::string(FileName.substr(I));
}

std::string ExtractFileDrive(std::string_view) {
  return {};
}

std::string ChangeFileExt(std::string_view FileName, std::string_view Extension) {
  std::size_t I = FileName.find_last_of("\\/.");
  if (I == std::string_view::npos || FileName[I] != '.') I = FileName.size();
  std::string Result(FileName.substr(0, I));
  Result += Extension;
  return Result;
}

bool IsPathDelimiter(std::string_view S, Integer Index) {
  return Index >= 1 && static_cast<std::size_t>(Index) <= S.size() && IsDelim(S[Index - 1]);
}

std::string IncludeTrailingPathDelimiter(std::string_view S) {
  std::string Result(S);
  if (Result.empty() || !IsDelim(Result.back())) Result += PathDelim;
  return Result;
}

std::string ExcludeTrailingPathDelimiter(std::string_view S) {
  if (!S.empty() && IsDelim(S.back())) S.remove_suffix(1);
  return std::string(S);
}

std::string ExpandFileName(std::string_view FileName) {
  if (FileName.empty()) return {};
  std::string N = ToNativePath(FileName);
  if (N[0] != '/') N = GetCurrentDir() + '/' + N;
  bool Trailing = N.back() == '/';
  std::vector<std::string_view> Parts;
  std::string_view Rest(N);
  while (!Rest.empty()) {
    std::size_t Slash = Rest.find('/');
    std::string_view Part = Rest.substr(0, Slash);
    Rest = Slash == std::string_view::npos ? std::string_view() : Rest.substr(Slash + 1);
    if (Part.empty() || Part == ".") continue;
    if (Part == "..") {
      if (!Parts.empty()) Parts.pop_back();
      continue;
    }
    Parts.push_back(Part);
  }
  std::string Result;
  for (std::string_view Part : Parts) {
    Result += '/';
    Result += Part;
  }
  if (Result.empty() || Trailing) Result += '/';
  return Result;
}

std::string ExtractRelativePath(std::string_view BaseName, std::string_view DestName) {
  auto Split = [](std::string_view Folder) {
    std::vector<std::string_view> Parts;
    while (!Folder.empty()) {
      std::size_t I = Folder.find_first_of("\\/");
      if (I != 0) Parts.push_back(Folder.substr(0, I));
      if (I == std::string_view::npos) break;
      Folder.remove_prefix(I + 1);
    }
    return Parts;
  };
  // An absolute name cannot be reached from a relative one or the other way round.
  if (BaseName.empty() || DestName.empty() || IsDelim(BaseName[0]) != IsDelim(DestName[0]))
    return std::string(DestName);
  std::string BasePath = ExtractFilePath(BaseName), DestPath = ExtractFilePath(DestName);
  std::vector<std::string_view> Base = Split(BasePath), Dest = Split(DestPath);
  std::size_t Common = 0;
  while (Common < Base.size() && Common < Dest.size() && Base[Common] == Dest[Common]) ++Common;
  std::string Result;
  for (std::size_t I = Common; I < Base.size(); ++I) Result += "../";
  for (std::size_t I = Common; I < Dest.size(); ++I) {
    Result += Dest[I];
    Result += PathDelim;
  }
  return Result + ExtractFileName(DestName);
}

std::string GetCurrentDir() {
  std::vector<char> Buffer(4096);
  while (!::getcwd(Buffer.data(), Buffer.size())) {
    if (errno != ERANGE) {
      SetLastErrorFromErrno(errno);
      return {};
    }
    Buffer.resize(Buffer.size() * 2);
  }
  return Buffer.data();
}

bool SetCurrentDir(std::string_view Dir) {
  std::string N = ToNativePath(Dir);
  if (N.empty() || ::chdir(N.c_str()) != 0) return FailErrno(N);
  return true;
}

// ---- temporary files --------------------------------------------------------------------

std::string GetTempPath() {
  return IncludeTrailingPathDelimiter(ToNativePath(GetEnvironmentVariable("TEMP")));
}

UINT GetTempFileName(std::string_view PathName, std::string_view PrefixString, UINT Unique,
                     std::string& TempFileName) {
  std::string Folder = ToNativePath(PathName);
  if (!Folder.empty()) Folder = IncludeTrailingPathDelimiter(Folder);
  // Up to three characters of the prefix, never half of one.
  std::size_t PrefixLen = 0;
  for (int K = 0; K < 3 && PrefixLen < PrefixString.size(); ++K) {
    char32_t C;
    PrefixLen += DecodeAt(PrefixString, PrefixLen, C);
  }
  std::string Stem = Folder + std::string(PrefixString.substr(0, PrefixLen));
  auto NameFor = [&](UINT Number) {
    char Hex[16];
    std::snprintf(Hex, sizeof Hex, "%X", Number & 0xFFFFu);
    return Stem + Hex + ".tmp";
  };
  if (Unique != 0) {
    TempFileName = NameFor(Unique);
    return Unique;
  }
  struct stat St;
  if (::stat(Folder.empty() ? "." : Folder.c_str(), &St) != 0 || !S_ISDIR(St.st_mode)) {
    SetLastError(ERROR_DIRECTORY);
    return 0;
  }
  // Successive calls start at successive numbers; a taken name moves on to the next one.
  static std::atomic<UINT> Seed{static_cast<UINT>(::time(nullptr)) ^ static_cast<UINT>(::getpid() << 7)};
  UINT Start = Seed.fetch_add(1);
  for (UINT I = 0; I < 0x10000; ++I) {
    UINT Number = (Start + I) & 0xFFFFu;
    if (Number == 0) continue;
    std::string Name = NameFor(Number);
    int Fd = ::open(Name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (Fd >= 0) {
      ::close(Fd);
      TempFileName = std::move(Name);
      return Number;
    }
    if (errno != EEXIST) {
      SetLastErrorFromErrno(errno, Name);
      return 0;
    }
  }
  SetLastError(ERROR_FILE_EXISTS);
  return 0;
}
