#include <gtest/gtest.h>
#include <stdlib.h>

#include <bitset>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "platform/system/Environment.h"
#include "platform/system/Files.h"

namespace {

// Saves the variables a test changes and puts them back afterwards.
class TEnvGuard {
 public:
  explicit TEnvGuard(std::vector<std::string> Names) {
    for (std::string& N : Names) {
      const char* V = ::getenv(N.c_str());
      FSaved.push_back({N, V ? std::optional<std::string>(V) : std::nullopt});
    }
  }
  ~TEnvGuard() {
    for (const auto& [Name, Value] : FSaved)
      Value ? ::setenv(Name.c_str(), Value->c_str(), 1) : ::unsetenv(Name.c_str());
  }

 private:
  std::vector<std::pair<std::string, std::optional<std::string>>> FSaved;
};

void Set(const char* Name, const char* Value) {
  if (Value)
    ::setenv(Name, Value, 1);
  else
    ::unsetenv(Name);
}

class EnvTree : public ::testing::Test {
 protected:
  TTempFolder Tmp;
  const std::string Dir = Tmp.Path();
  TEnvGuard Guard{{"HOME", "TEMP", "TMPDIR", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_PICTURES_DIR",
                   "XDG_DOCUMENTS_DIR", "XDG_DESKTOP_DIR", "TV_TEST_VARIABLE"}};
};

}  // namespace

TEST_F(EnvTree, TempFolderMapping) {
  struct Case {
    const char *Temp, *TmpDir, *Expected;
  };
  const Case Cases[] = {
      {"/t1", "/t2", "/t1"},      {nullptr, "/t2", "/t2"},   {"", "/t2", "/t2"},
      {nullptr, nullptr, "/tmp"}, {"/t1/", nullptr, "/t1/"},
  };
  for (const Case& C : Cases) {
    Set("TEMP", C.Temp);
    Set("TMPDIR", C.TmpDir);
    SCOPED_TRACE(C.Expected);
    EXPECT_EQ(GetEnvironmentVariable("TEMP"), C.Expected);
    EXPECT_EQ(GetEnvironmentVariable("Tmp"), C.Expected);
    EXPECT_EQ(GetTempPath(), IncludeTrailingPathDelimiter(C.Expected));
  }
}

TEST_F(EnvTree, SetAndRemoveVariables) {
  EXPECT_TRUE(SetEnvironmentVariable("TV_TEST_VARIABLE", "a b"));
  EXPECT_EQ(GetEnvironmentVariable("TV_TEST_VARIABLE"), "a b");
  EXPECT_TRUE(SetEnvironmentVariable("TV_TEST_VARIABLE", nullptr));
  EXPECT_EQ(GetEnvironmentVariable("TV_TEST_VARIABLE"), "");
  EXPECT_FALSE(SetEnvironmentVariable("A=B", "x"));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  // TEMP set through the platform is what the temporary folder follows.
  EXPECT_TRUE(SetEnvironmentVariable("TEMP", Dir));
  EXPECT_EQ(GetTempPath(), Dir + "/");
}

TEST_F(EnvTree, DataFolderFollowsXdgDataHome) {
  std::string Data = Dir + "/data";
  Set("XDG_DATA_HOME", Data.c_str());
  std::string Path;
  EXPECT_EQ(SHGetFolderPath(nullptr, CSIDL_COMMON_APPDATA, nullptr, 0, Path), S_FALSE);  // not there yet
  EXPECT_EQ(Path, Data);
  EXPECT_EQ(SHGetFolderPath(nullptr, CSIDL_COMMON_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, Path), S_OK);
  EXPECT_EQ(Path, Data);
  EXPECT_TRUE(DirectoryExists(Data));
  for (Integer Folder : {CSIDL_APPDATA, CSIDL_LOCAL_APPDATA}) {
    EXPECT_EQ(SHGetFolderPath(nullptr, Folder, nullptr, 0, Path), S_OK);
    EXPECT_EQ(Path, Data);
  }

  Set("HOME", Dir.c_str());
  for (const char* Ignored : {"relative/data", "", static_cast<const char*>(nullptr)}) {
    Set("XDG_DATA_HOME", Ignored);
    SHGetFolderPath(nullptr, CSIDL_COMMON_APPDATA, nullptr, 0, Path);
    EXPECT_EQ(Path, Dir + "/.local/share");
  }
  EXPECT_EQ(SHGetFolderPath(nullptr, 0x24 /* the Windows folder */, nullptr, 0, Path), E_FAIL);
  EXPECT_EQ(Path, "");
}

TEST_F(EnvTree, UserFoldersFromXdgUserDirs) {
  Set("HOME", Dir.c_str());
  Set("XDG_CONFIG_HOME", (Dir + "/config").c_str());
  Set("XDG_PICTURES_DIR", nullptr);
  Set("XDG_DOCUMENTS_DIR", nullptr);
  Set("XDG_DESKTOP_DIR", nullptr);
  ASSERT_TRUE(ForceDirectories(Dir + "/config"));
  std::ofstream(Dir + "/config/user-dirs.dirs") << "# written by a test\n"
                                                << "XDG_PICTURES_DIR=\"$HOME/Bilder\"\n"
                                                << "XDG_DOCUMENTS_DIR=\"/srv/docs/\"\n";
  std::string Path;
  SHGetFolderPath(nullptr, CSIDL_MYPICTURES, nullptr, 0, Path);
  EXPECT_EQ(Path, Dir + "/Bilder");
  SHGetFolderPath(nullptr, CSIDL_PERSONAL, nullptr, 0, Path);
  EXPECT_EQ(Path, "/srv/docs");
  SHGetFolderPath(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, 0, Path);
  EXPECT_EQ(Path, Dir + "/Desktop");
  Set("XDG_DESKTOP_DIR", "/elsewhere");
  SHGetFolderPath(nullptr, CSIDL_DESKTOP, nullptr, 0, Path);
  EXPECT_EQ(Path, "/elsewhere");

  Set("XDG_CONFIG_HOME", (Dir + "/none").c_str());
  SHGetFolderPath(nullptr, CSIDL_PERSONAL, nullptr, 0, Path);
  EXPECT_EQ(Path, Dir);  // no documents folder configured: the home folder
}

TEST(Environment, ProgramFileAndFolder) {
  std::string Exe = ParamStr(0);
  ASSERT_FALSE(Exe.empty());
  EXPECT_EQ(Exe[0], '/');
  EXPECT_TRUE(FileExists(Exe));
  EXPECT_EQ(GetModuleFileName(), Exe);
  EXPECT_EQ(GetProgramDir(), ExtractFilePath(Exe));
  EXPECT_EQ(GetProgramDir().back(), '/');
  std::string Path;
  EXPECT_EQ(SHGetFolderPath(nullptr, CSIDL_PROGRAM_FILES, nullptr, 0, Path), S_OK);
  EXPECT_EQ(IncludeTrailingPathDelimiter(Path),
            ExtractFilePath(ExcludeTrailingPathDelimiter(GetProgramDir())));
  EXPECT_GE(ParamCount(), 0);
  EXPECT_EQ(ParamStr(ParamCount() + 1), "");
}

TEST(Environment, MemoryStatusIsSane) {
  MEMORYSTATUSEX Ex;
  ASSERT_TRUE(GlobalMemoryStatusEx(&Ex));
  EXPECT_GT(Ex.ullTotalPhys, Ex.ullAvailPhys);
  EXPECT_GT(Ex.ullAvailPhys, 0u);
  EXPECT_LE(Ex.dwMemoryLoad, 100u);
  EXPECT_GE(Ex.ullTotalPageFile, Ex.ullTotalPhys);
  EXPECT_GT(Ex.ullTotalVirtual, Ex.ullAvailVirtual);
  Ex.dwLength = 32;
  EXPECT_FALSE(GlobalMemoryStatusEx(&Ex));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);

  MEMORYSTATUS Old;
  GlobalMemoryStatus(&Old);
  EXPECT_EQ(Old.dwLength, 32u);
  EXPECT_GT(Old.dwTotalPhys, 0u);
  EXPECT_GE(Old.dwTotalPhys, Old.dwAvailPhys);
}

TEST(Environment, WorkingSetGrowsWithTouchedMemory) {
  PROCESS_MEMORY_COUNTERS Before, After;
  ASSERT_TRUE(GetProcessMemoryInfo(GetCurrentProcess(), &Before, sizeof Before));
  EXPECT_GT(Before.WorkingSetSize, 0u);
  EXPECT_GE(Before.PeakWorkingSetSize, Before.WorkingSetSize);
  std::vector<char> Block(64 << 20);
  for (std::size_t I = 0; I < Block.size(); I += 4096) Block[I] = 1;
  // The block is never read: without this the compiler may leave the allocation out.
  asm volatile("" : : "r"(Block.data()) : "memory");
  ASSERT_TRUE(GetProcessMemoryInfo(GetCurrentProcess(), &After, sizeof After));
  EXPECT_GE(After.WorkingSetSize, Before.WorkingSetSize + (32u << 20));
  EXPECT_GE(After.PeakWorkingSetSize, After.WorkingSetSize);
  EXPECT_FALSE(GetProcessMemoryInfo(GetCurrentProcess(), &After, 8));
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
}

TEST(Environment, SystemInfo) {
  SYSTEM_INFO S;
  GetSystemInfo(&S);
  EXPECT_GE(S.dwNumberOfProcessors, 1u);
  if (S.dwNumberOfProcessors <= 64) {
    EXPECT_EQ(std::bitset<64>(S.dwActiveProcessorMask).count(), S.dwNumberOfProcessors);
  }
  EXPECT_GT(S.dwPageSize, 0u);
  EXPECT_EQ(S.dwPageSize & (S.dwPageSize - 1), 0u);
  std::string Name;
  EXPECT_TRUE(GetComputerName(Name));
  EXPECT_FALSE(Name.empty());
  EXPECT_TRUE(GetUserName(Name));
  EXPECT_FALSE(Name.empty());
}
