#include "platform/system/Environment.h"

#include <pwd.h>
#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <sstream>
#include <thread>
#include <vector>

#include "platform/system/FileErrors.h"
#include "platform/system/Files.h"

namespace {

// getenv and setenv are not safe against each other across threads.
std::mutex& EnvLock() {
  static std::mutex M;
  return M;
}

std::string ReadVariable(const std::string& Name) {
  std::lock_guard<std::mutex> Lock(EnvLock());
  const char* V = std::getenv(Name.c_str());
  return V ? V : "";
}

bool IsTempName(std::string_view Name) {
  auto Same = [&](std::string_view W) {
    return Name.size() == W.size() &&
           std::equal(Name.begin(), Name.end(), W.begin(), [](char A, char B) { return (A & ~0x20) == B; });
  };
  return Same("TEMP") || Same("TMP");
}

// The XDG base-directory rule: a relative value is ignored.
std::string AbsoluteVariable(const char* Name) {
  std::string V = ReadVariable(Name);
  return !V.empty() && V[0] == '/' ? V : std::string();
}

std::string HomeDir() {
  std::string Home = ReadVariable("HOME");
  if (!Home.empty()) return Home;
  struct passwd Pw, *Found = nullptr;
  std::vector<char> Buf(16384);
  if (::getpwuid_r(::geteuid(), &Pw, Buf.data(), Buf.size(), &Found) == 0 && Found && Found->pw_dir)
    return Found->pw_dir;
  return {};
}

std::string DataHome() {
  std::string Dir = AbsoluteVariable("XDG_DATA_HOME");
  if (!Dir.empty()) return ExcludeTrailingPathDelimiter(Dir);
  std::string Home = HomeDir();
  return Home.empty() ? std::string() : ExcludeTrailingPathDelimiter(Home) + "/.local/share";
}

// A user folder (Key "DOCUMENTS", "DESKTOP", "PICTURES"): $XDG_<Key>_DIR, else the line of
// user-dirs.dirs in the configuration folder (values "$HOME/..." or absolute), else Default
// below the home folder.
std::string UserDir(const std::string& Key, std::string_view Default) {
  std::string Home = ExcludeTrailingPathDelimiter(HomeDir());
  if (Home.empty()) return {};
  std::string Var = "XDG_" + Key + "_DIR";
  std::string Dir = AbsoluteVariable(Var.c_str());
  if (Dir.empty()) {
    std::string Config = AbsoluteVariable("XDG_CONFIG_HOME");
    if (Config.empty()) Config = Home + "/.config";
    std::ifstream In(Config + "/user-dirs.dirs");
    std::string Line, Prefix = Var + "=\"";
    while (std::getline(In, Line)) {
      if (Line.compare(0, Prefix.size(), Prefix) != 0 || Line.size() < Prefix.size() + 1 ||
          Line.back() != '"')
        continue;
      std::string Value = Line.substr(Prefix.size(), Line.size() - Prefix.size() - 1);
      if (Value.compare(0, 5, "$HOME") == 0)
        Dir = Home + Value.substr(5);
      else if (!Value.empty() && Value[0] == '/')
        Dir = Value;
    }
  }
  if (Dir.empty()) Dir = Default.empty() ? Home : Home + "/" + std::string(Default);
  std::string Result = ExcludeTrailingPathDelimiter(Dir);
  return Result.empty() ? "/" : Result;
}

const std::string& ExePath() {
  static const std::string Path = [] {
    std::vector<char> Buf(4096);
    for (;;) {
      ssize_t Len = ::readlink("/proc/self/exe", Buf.data(), Buf.size());
      if (Len < 0) return std::string();
      if (static_cast<std::size_t>(Len) < Buf.size())
        return std::string(Buf.data(), static_cast<std::size_t>(Len));
      Buf.resize(Buf.size() * 2);
    }
  }();
  return Path;
}

const std::vector<std::string>& CommandLine() {
  static const std::vector<std::string> Args = [] {
    std::vector<std::string> Result;
    std::ifstream In("/proc/self/cmdline", std::ios::binary);
    std::string Arg;
    while (std::getline(In, Arg, '\0')) Result.push_back(Arg);
    return Result;
  }();
  return Args;
}

// "Key:   value kB" lines of a /proc file, in bytes; 0 when missing.
UInt64 ProcField(const std::string& Text, std::string_view Key) {
  std::string Needle = "\n" + std::string(Key) + ":";
  std::size_t At = ("\n" + Text).find(Needle);
  if (At == std::string::npos) return 0;
  std::istringstream Line(Text.substr(At + Needle.size() - 1));
  UInt64 Value = 0;
  std::string Unit;
  Line >> Value >> Unit;
  return Unit == "kB" ? Value * 1024 : Value;
}

std::string ReadText(const std::string& FileName) {
  std::ifstream In(FileName);
  std::ostringstream S;
  S << In.rdbuf();
  return S.str();
}

bool ReadNumber(const std::string& FileName, UInt64& Value) {
  std::ifstream In(FileName);
  return static_cast<bool>(In >> Value);
}

struct TMemoryFigures {
  UInt64 TotalPhys = 0, AvailPhys = 0, TotalSwap = 0, AvailSwap = 0, TotalVirtual = 0, AvailVirtual = 0;
};

// A memory limit of the process's control group (or one of its parents) lowers the physical
// figures: the program cannot have more than that.
void ApplyCgroupLimit(TMemoryFigures& M) {
  std::ifstream In("/proc/self/cgroup");
  std::string Line, Group;
  while (std::getline(In, Line))
    if (Line.compare(0, 3, "0::") == 0) Group = Line.substr(3);
  if (Group.empty()) return;
  for (;;) {
    std::string Dir = "/sys/fs/cgroup" + (Group == "/" ? std::string() : Group);
    UInt64 Limit, Used;
    if (ReadNumber(Dir + "/memory.max", Limit) && ReadNumber(Dir + "/memory.current", Used)) {
      M.TotalPhys = std::min(M.TotalPhys, Limit);
      M.AvailPhys = std::min(M.AvailPhys, Limit > Used ? Limit - Used : 0);
    }
    if (Group == "/" || Group.empty()) break;
    std::size_t Slash = Group.find_last_of('/');
    Group = Slash == 0 || Slash == std::string::npos ? "/" : Group.substr(0, Slash);
  }
}

TMemoryFigures ReadMemoryFigures() {
  TMemoryFigures M;
  std::string Info = ReadText("/proc/meminfo");
  M.TotalPhys = ProcField(Info, "MemTotal");
  M.AvailPhys = ProcField(Info, "MemAvailable");
  if (M.AvailPhys == 0)  // kernels before 3.14
    M.AvailPhys = ProcField(Info, "MemFree") + ProcField(Info, "Buffers") + ProcField(Info, "Cached");
  M.AvailPhys = std::min(M.AvailPhys, M.TotalPhys);
  M.TotalSwap = ProcField(Info, "SwapTotal");
  M.AvailSwap = std::min(ProcField(Info, "SwapFree"), M.TotalSwap);
  ApplyCgroupLimit(M);

  struct rlimit Rl;
  M.TotalVirtual = sizeof(void*) == 8 ? (UInt64(1) << 47) : (UInt64(1) << 31);
  if (::getrlimit(RLIMIT_AS, &Rl) == 0 && Rl.rlim_cur != RLIM_INFINITY)
    M.TotalVirtual = std::min<UInt64>(M.TotalVirtual, Rl.rlim_cur);
  UInt64 Used = ProcField(ReadText("/proc/self/status"), "VmSize");
  M.AvailVirtual = M.TotalVirtual > Used ? M.TotalVirtual - Used : 0;
  return M;
}

DWORD LoadOf(const TMemoryFigures& M) {
  return M.TotalPhys == 0 ? 0 : static_cast<DWORD>((M.TotalPhys - M.AvailPhys) * 100 / M.TotalPhys);
}

DWORD Cap32(UInt64 V) {
  return V > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<DWORD>(V);
}

}  // namespace

// ---- variables --------------------------------------------------------------------------

std::string GetEnvironmentVariable(std::string_view Name) {
  if (IsTempName(Name)) {
    for (const char* Var : {"TEMP", "TMPDIR"}) {
      std::string V = ReadVariable(Var);
      if (!V.empty()) return V;
    }
    return "/tmp";
  }
  return ReadVariable(std::string(Name));
}

BOOL SetEnvironmentVariable(std::string_view Name, std::string_view Value) {
  std::string N(Name);
  if (N.empty() || N.find('=') != std::string::npos) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::lock_guard<std::mutex> Lock(EnvLock());
  return ::setenv(N.c_str(), std::string(Value).c_str(), 1) == 0 ? TRUE : FALSE;
}

BOOL SetEnvironmentVariable(std::string_view Name, std::nullptr_t) {
  std::string N(Name);
  if (N.empty() || N.find('=') != std::string::npos) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::lock_guard<std::mutex> Lock(EnvLock());
  return ::unsetenv(N.c_str()) == 0 ? TRUE : FALSE;
}

// ---- folders ----------------------------------------------------------------------------

HRESULT SHGetFolderPath(HANDLE, Integer nFolder, HANDLE, DWORD, std::string& Path) {
  Path.clear();
  std::string Dir;
  switch (nFolder & ~CSIDL_FLAG_MASK) {
    case CSIDL_APPDATA:
    case CSIDL_LOCAL_APPDATA:
    case CSIDL_COMMON_APPDATA:
      Dir = DataHome();
      break;
    case CSIDL_PERSONAL:
      Dir = UserDir("DOCUMENTS", "");
      break;
    case CSIDL_DESKTOP:
    case CSIDL_DESKTOPDIRECTORY:
      Dir = UserDir("DESKTOP", "Desktop");
      break;
    case CSIDL_MYPICTURES:
      Dir = UserDir("PICTURES", "Pictures");
      break;
    case CSIDL_PROGRAM_FILES:
      Dir = ExtractFileDir(ExcludeTrailingPathDelimiter(GetProgramDir()));
      break;
    default:
      return E_FAIL;
  }
  if (Dir.empty()) return E_FAIL;
  Path = Dir;
  if ((nFolder & CSIDL_FLAG_CREATE) != 0) ForceDirectories(Path);
  return DirectoryExists(Path) ? S_OK : S_FALSE;
}

std::string GetModuleFileName(HANDLE) {
  return ExePath();
}

std::string GetProgramDir() {
  return ExtractFilePath(ExePath());
}

std::string ParamStr(Integer Index) {
  if (Index == 0) return ExePath();
  const std::vector<std::string>& Args = CommandLine();
  return Index > 0 && static_cast<std::size_t>(Index) < Args.size() ? Args[static_cast<std::size_t>(Index)]
                                                                    : std::string();
}

Integer ParamCount() {
  std::size_t Count = CommandLine().size();
  return Count == 0 ? 0 : static_cast<Integer>(Count - 1);
}

// ---- memory and processors ------------------------------------------------------------------

void GlobalMemoryStatus(MEMORYSTATUS* lpBuffer) {
  TMemoryFigures M = ReadMemoryFigures();
  lpBuffer->dwLength = sizeof(MEMORYSTATUS);
  lpBuffer->dwMemoryLoad = LoadOf(M);
  lpBuffer->dwTotalPhys = Cap32(M.TotalPhys);
  lpBuffer->dwAvailPhys = Cap32(M.AvailPhys);
  lpBuffer->dwTotalPageFile = Cap32(M.TotalPhys + M.TotalSwap);
  lpBuffer->dwAvailPageFile = Cap32(M.AvailPhys + M.AvailSwap);
  lpBuffer->dwTotalVirtual = Cap32(M.TotalVirtual);
  lpBuffer->dwAvailVirtual = Cap32(M.AvailVirtual);
}

BOOL GlobalMemoryStatusEx(MEMORYSTATUSEX* lpBuffer) {
  if (!lpBuffer || lpBuffer->dwLength != sizeof(MEMORYSTATUSEX)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  TMemoryFigures M = ReadMemoryFigures();
  lpBuffer->dwMemoryLoad = LoadOf(M);
  lpBuffer->ullTotalPhys = M.TotalPhys;
  lpBuffer->ullAvailPhys = M.AvailPhys;
  lpBuffer->ullTotalPageFile = M.TotalPhys + M.TotalSwap;
  lpBuffer->ullAvailPageFile = M.AvailPhys + M.AvailSwap;
  lpBuffer->ullTotalVirtual = M.TotalVirtual;
  lpBuffer->ullAvailVirtual = M.AvailVirtual;
  lpBuffer->ullAvailExtendedVirtual = 0;
  return TRUE;
}

HANDLE GetCurrentProcess() {
  return reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(-1));
}

BOOL GetProcessMemoryInfo(HANDLE, PROCESS_MEMORY_COUNTERS* ppsmemCounters, DWORD cb) {
  if (!ppsmemCounters || cb < sizeof(PROCESS_MEMORY_COUNTERS)) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  PROCESS_MEMORY_COUNTERS C;
  std::size_t PageSize = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
  std::ifstream Statm("/proc/self/statm");
  std::size_t SizePages = 0, ResidentPages = 0;
  Statm >> SizePages >> ResidentPages;
  C.WorkingSetSize = ResidentPages * PageSize;
  std::string Status = ReadText("/proc/self/status");
  C.PeakWorkingSetSize = std::max<std::size_t>(ProcField(Status, "VmHWM"), C.WorkingSetSize);
  C.PagefileUsage = ProcField(Status, "VmData");
  C.PeakPagefileUsage = C.PagefileUsage;
  struct rusage Usage;
  if (::getrusage(RUSAGE_SELF, &Usage) == 0)
    C.PageFaultCount = static_cast<DWORD>(Usage.ru_minflt + Usage.ru_majflt);
  *ppsmemCounters = C;
  return TRUE;
}

void GetSystemInfo(SYSTEM_INFO* lpSystemInfo) {
  SYSTEM_INFO S;
#if defined(__x86_64__)
  S.wProcessorArchitecture = PROCESSOR_ARCHITECTURE_AMD64;
  S.dwProcessorType = 8664;  // PROCESSOR_AMD_X8664
#elif defined(__i386__)
  S.wProcessorArchitecture = PROCESSOR_ARCHITECTURE_INTEL;
  S.dwProcessorType = 586;  // PROCESSOR_INTEL_PENTIUM
#elif defined(__aarch64__)
  S.wProcessorArchitecture = PROCESSOR_ARCHITECTURE_ARM64;
#elif defined(__arm__)
  S.wProcessorArchitecture = PROCESSOR_ARCHITECTURE_ARM;
#else
  S.wProcessorArchitecture = PROCESSOR_ARCHITECTURE_UNKNOWN;
#endif
  S.dwPageSize = static_cast<DWORD>(::sysconf(_SC_PAGESIZE));
  S.dwAllocationGranularity = S.dwPageSize;
  S.lpMinimumApplicationAddress = reinterpret_cast<void*>(std::uintptr_t(0x10000));
  S.lpMaximumApplicationAddress = reinterpret_cast<void*>(
      sizeof(void*) == 8 ? std::uintptr_t(0x7FFFFFFEFFFFull & UINTPTR_MAX) : std::uintptr_t(0x7FFEFFFF));
  // The processors this process may run on (its affinity, which containers and taskset
  // narrow), not every processor of the machine.
  cpu_set_t Set;
  CPU_ZERO(&Set);
  if (::sched_getaffinity(0, sizeof Set, &Set) == 0 && CPU_COUNT(&Set) > 0) {
    S.dwNumberOfProcessors = static_cast<DWORD>(CPU_COUNT(&Set));
    for (int Cpu = 0; Cpu < static_cast<int>(sizeof(ULONG_PTR) * 8) && Cpu < CPU_SETSIZE; ++Cpu)
      if (CPU_ISSET(Cpu, &Set)) S.dwActiveProcessorMask |= ULONG_PTR(1) << Cpu;
  } else {
    S.dwNumberOfProcessors = std::max(1u, std::thread::hardware_concurrency());
    for (DWORD Cpu = 0; Cpu < S.dwNumberOfProcessors && Cpu < sizeof(ULONG_PTR) * 8; ++Cpu)
      S.dwActiveProcessorMask |= ULONG_PTR(1) << Cpu;
  }
  *lpSystemInfo = S;
}

BOOL GetComputerName(std::string& Buffer) {
  char Name[256] = {};
  if (::gethostname(Name, sizeof Name - 1) != 0) {
    SetLastErrorFromErrno(errno);
    return FALSE;
  }
  Buffer = Name;
  return TRUE;
}

BOOL GetUserName(std::string& Buffer) {
  struct passwd Pw, *Found = nullptr;
  std::vector<char> Buf(16384);
  if (::getpwuid_r(::geteuid(), &Pw, Buf.data(), Buf.size(), &Found) == 0 && Found && Found->pw_name) {
    Buffer = Found->pw_name;
    return TRUE;
  }
  for (const char* Var : {"USER", "LOGNAME"}) {
    std::string V = ReadVariable(Var);
    if (!V.empty()) {
      Buffer = V;
      return TRUE;
    }
  }
  SetLastError(ERROR_GEN_FAILURE);
  return FALSE;
}
