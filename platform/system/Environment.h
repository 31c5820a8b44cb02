#pragma once
// The process's environment: environment variables, the program's own file, the known
// folders, memory and processor figures.
//
// Every folder derived from the environment is read from the variables on each call, so
// setting a variable (HOME, TEMP, TMPDIR, XDG_DATA_HOME, XDG_CONFIG_HOME, XDG_*_DIR) changes
// the answer at once.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/system/Types.h"
#include "platform/system/WinTypes.h"

using HRESULT = std::int32_t;
constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);

// The value of a variable, empty when it is not set. "TEMP" and "TMP" (any letter case) name
// the temporary folder: $TEMP, else $TMPDIR, else "/tmp".
std::string GetEnvironmentVariable(std::string_view Name);
// Sets a variable (for this process and the processes it starts); the nullptr form removes it.
BOOL SetEnvironmentVariable(std::string_view Name, std::string_view Value);
BOOL SetEnvironmentVariable(std::string_view Name, std::nullptr_t);

// Known folders of SHGetFolderPath. Folders with no Linux counterpart (the Windows and
// system folders, printers, the recycle bin, ...) are not offered.
constexpr Integer CSIDL_DESKTOP = 0x0000;           // same as the desktop directory
constexpr Integer CSIDL_PERSONAL = 0x0005;          // XDG documents folder, else $HOME
constexpr Integer CSIDL_DESKTOPDIRECTORY = 0x0010;  // XDG desktop folder, else ~/Desktop
constexpr Integer CSIDL_APPDATA = 0x001A;           // all three data folders are
constexpr Integer CSIDL_LOCAL_APPDATA = 0x001C;     // $XDG_DATA_HOME, else ~/.local/share
constexpr Integer CSIDL_COMMON_APPDATA = 0x0023;
constexpr Integer CSIDL_PROGRAM_FILES = 0x0026;  // the folder that holds the program's folder
constexpr Integer CSIDL_MYPICTURES = 0x0027;     // XDG pictures folder, else ~/Pictures
constexpr Integer CSIDL_FLAG_CREATE = 0x8000;    // create the folder when it is missing
constexpr Integer CSIDL_FLAG_MASK = 0xFF00;

// Path := the folder, without a trailing delimiter. S_OK when the folder exists (after
// creating it with CSIDL_FLAG_CREATE); S_FALSE when it is known but missing (Path still
// names it); E_FAIL for a folder not offered (Path empty). Window, token and flags are
// ignored: there is one user and the folders have one form.
HRESULT SHGetFolderPath(HANDLE hwndOwner, Integer nFolder, HANDLE hToken, DWORD dwFlags, std::string& Path);

// The program's file (from /proc/self/exe) and its folder with a trailing '/'.
std::string GetModuleFileName(HANDLE hModule = nullptr);  // any module is the program
std::string GetProgramDir();
// The command line: ParamStr(0) is the program's file, 1..ParamCount() the arguments;
// empty beyond them.
std::string ParamStr(Integer Index);
Integer ParamCount();

// Memory status. The 32-bit record caps every figure at 0xFFFFFFFF, as the platform does when
// memory exceeds it. Physical figures come from /proc/meminfo (MemTotal, MemAvailable),
// lowered to the memory limit of the process's control group when it has one; the page
// file figures add the swap space; the virtual figures describe the process's address space.
struct MEMORYSTATUS {
  DWORD dwLength = sizeof(MEMORYSTATUS);
  DWORD dwMemoryLoad = 0;  // per cent of physical memory in use
  DWORD dwTotalPhys = 0;
  DWORD dwAvailPhys = 0;
  DWORD dwTotalPageFile = 0;
  DWORD dwAvailPageFile = 0;
  DWORD dwTotalVirtual = 0;
  DWORD dwAvailVirtual = 0;
};

struct MEMORYSTATUSEX {
  DWORD dwLength = sizeof(MEMORYSTATUSEX);  // must be 64, else the call fails
  DWORD dwMemoryLoad = 0;
  UInt64 ullTotalPhys = 0;
  UInt64 ullAvailPhys = 0;
  UInt64 ullTotalPageFile = 0;
  UInt64 ullAvailPageFile = 0;
  UInt64 ullTotalVirtual = 0;
  UInt64 ullAvailVirtual = 0;
  UInt64 ullAvailExtendedVirtual = 0;
};
static_assert(sizeof(MEMORYSTATUSEX) == 64);

void GlobalMemoryStatus(MEMORYSTATUS* lpBuffer);
// FALSE with ERROR_INVALID_PARAMETER when dwLength is not sizeof(MEMORYSTATUSEX).
BOOL GlobalMemoryStatusEx(MEMORYSTATUSEX* lpBuffer);

// The pseudo-handle of the calling process; it needs no closing.
HANDLE GetCurrentProcess();

struct PROCESS_MEMORY_COUNTERS {
  DWORD cb = sizeof(PROCESS_MEMORY_COUNTERS);
  DWORD PageFaultCount = 0;
  std::size_t PeakWorkingSetSize = 0;  // VmHWM
  std::size_t WorkingSetSize = 0;      // resident pages
  std::size_t QuotaPeakPagedPoolUsage = 0;
  std::size_t QuotaPagedPoolUsage = 0;
  std::size_t QuotaPeakNonPagedPoolUsage = 0;
  std::size_t QuotaNonPagedPoolUsage = 0;
  std::size_t PagefileUsage = 0;  // private data (VmData)
  std::size_t PeakPagefileUsage = 0;
};

// Counters of the calling process (any handle means it); FALSE with ERROR_INSUFFICIENT_BUFFER
// when cb is smaller than the record.
BOOL GetProcessMemoryInfo(HANDLE Process, PROCESS_MEMORY_COUNTERS* ppsmemCounters, DWORD cb);

constexpr WORD PROCESSOR_ARCHITECTURE_INTEL = 0;
constexpr WORD PROCESSOR_ARCHITECTURE_ARM = 5;
constexpr WORD PROCESSOR_ARCHITECTURE_AMD64 = 9;
constexpr WORD PROCESSOR_ARCHITECTURE_ARM64 = 12;
constexpr WORD PROCESSOR_ARCHITECTURE_UNKNOWN = 0xFFFF;

struct SYSTEM_INFO {
  WORD wProcessorArchitecture = 0;
  WORD wReserved = 0;
  DWORD dwPageSize = 0;
  void* lpMinimumApplicationAddress = nullptr;
  void* lpMaximumApplicationAddress = nullptr;
  ULONG_PTR dwActiveProcessorMask = 0;
  DWORD dwNumberOfProcessors = 0;  // the processors this process may run on
  DWORD dwProcessorType = 0;
  DWORD dwAllocationGranularity = 0;  // the page size: mappings align to pages here
  WORD wProcessorLevel = 0;
  WORD wProcessorRevision = 0;
};

void GetSystemInfo(SYSTEM_INFO* lpSystemInfo);

// The host name and the login name of the effective user; FALSE when unknown.
BOOL GetComputerName(std::string& Buffer);
BOOL GetUserName(std::string& Buffer);
