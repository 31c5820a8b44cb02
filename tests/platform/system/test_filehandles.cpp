#include <gtest/gtest.h>

#include <atomic>
#include <barrier>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "TempFolder.h"
#include "platform/system/FileHandles.h"

namespace {

class FileHandles : public ::testing::Test {
 protected:
  TTempFolder Tmp;
  std::string Path(const std::string& Name) const { return Tmp / Name; }
  void Write(const std::string& Name, const std::string& Text) const {
    std::ofstream(Path(Name), std::ios::binary) << Text;
  }
  std::string Read(const std::string& Name) const {
    std::ifstream In(Path(Name), std::ios::binary);
    std::stringstream S;
    S << In.rdbuf();
    return S.str();
  }
  static THandle Open(const std::string& Name, DWORD Access, DWORD Disposition, DWORD Flags = 0) {
    return CreateFile(Name, Access, 0, nullptr, Disposition, Flags, INVALID_HANDLE_VALUE);
  }
};

constexpr DWORD ReadWrite = GENERIC_READ | GENERIC_WRITE;

}  // namespace

TEST_F(FileHandles, DispositionsOnExistingAndMissingFiles) {
  struct Case {
    DWORD Disposition;
    bool Exists;
    bool Opens;
    DWORD LastError;
    const char* ContentsAfter;  // nullptr: no file afterwards
  };
  const Case Cases[] = {
      {CREATE_NEW, false, true, ERROR_SUCCESS, ""},
      {CREATE_NEW, true, false, ERROR_FILE_EXISTS, "old"},
      {CREATE_ALWAYS, false, true, ERROR_SUCCESS, ""},
      {CREATE_ALWAYS, true, true, ERROR_ALREADY_EXISTS, ""},
      {OPEN_EXISTING, false, false, ERROR_FILE_NOT_FOUND, nullptr},
      {OPEN_EXISTING, true, true, ERROR_SUCCESS, "old"},
      {OPEN_ALWAYS, false, true, ERROR_SUCCESS, ""},
      {OPEN_ALWAYS, true, true, ERROR_ALREADY_EXISTS, "old"},
      {TRUNCATE_EXISTING, false, false, ERROR_FILE_NOT_FOUND, nullptr},
      {TRUNCATE_EXISTING, true, true, ERROR_SUCCESS, ""},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(testing::Message() << "disposition " << C.Disposition
                                    << (C.Exists ? " existing" : " missing"));
    const std::string Name = "f" + std::to_string(C.Disposition) + (C.Exists ? "e" : "m");
    if (C.Exists) Write(Name, "old");
    SetLastError(12345);
    const THandle H = Open(Path(Name), ReadWrite, C.Disposition);
    EXPECT_EQ(H != INVALID_HANDLE_VALUE, C.Opens);
    EXPECT_EQ(GetLastError(), C.LastError);
    if (H != INVALID_HANDLE_VALUE) {
      EXPECT_TRUE(CloseHandle(H));
    }
    EXPECT_EQ(FileExists(Path(Name)), C.ContentsAfter != nullptr);
    if (C.ContentsAfter) {
      EXPECT_EQ(Read(Name), C.ContentsAfter);
    }
  }
}

TEST_F(FileHandles, RefusesBadRequests) {
  Write("a", "x");
  ForceDirectories(Path("dir"));
  SetLastError(0);
  EXPECT_EQ(Open(Path("a"), GENERIC_READ, TRUNCATE_EXISTING), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(Open(Path("a"), GENERIC_READ, 0), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(Open(Path("dir"), GENERIC_READ, OPEN_EXISTING), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
  EXPECT_EQ(Open(Path("nodir/a"), GENERIC_READ, OPEN_EXISTING), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
  EXPECT_EQ(Read("a"), "x");
}

TEST_F(FileHandles, BackslashNamesReachTheFile) {
  Write("b", "data");
  const THandle H = Open(Tmp.Path() + "\\b", GENERIC_READ, OPEN_EXISTING);
  ASSERT_NE(H, INVALID_HANDLE_VALUE);
  CloseHandle(H);
}

TEST_F(FileHandles, ReadWriteSeekAndSize) {
  const THandle H = Open(Path("rw"), ReadWrite, CREATE_NEW);
  ASSERT_NE(H, INVALID_HANDLE_VALUE);
  DWORD Moved = 0;
  ASSERT_TRUE(WriteFile(H, "0123456789", 10, &Moved));
  EXPECT_EQ(Moved, 10u);
  Int64 Size = 0;
  ASSERT_TRUE(GetFileSizeEx(H, &Size));
  EXPECT_EQ(Size, 10);

  Int64 Pos = -1;
  ASSERT_TRUE(SetFilePointerEx(H, -4, &Pos, FILE_END));
  EXPECT_EQ(Pos, 6);
  char Buf[8] = {};
  ASSERT_TRUE(ReadFile(H, Buf, 8, &Moved));
  EXPECT_EQ(Moved, 4u);  // a short read only at the end
  EXPECT_EQ(std::string(Buf, 4), "6789");
  ASSERT_TRUE(ReadFile(H, Buf, 8, &Moved));
  EXPECT_EQ(Moved, 0u);

  ASSERT_TRUE(SetFilePointerEx(H, 2, nullptr, FILE_BEGIN));
  ASSERT_TRUE(SetFilePointerEx(H, 1, &Pos, FILE_CURRENT));
  EXPECT_EQ(Pos, 3);
  EXPECT_FALSE(SetFilePointerEx(H, -4, &Pos, FILE_CURRENT));
  EXPECT_EQ(GetLastError(), ERROR_NEGATIVE_SEEK);
  ASSERT_TRUE(SetFilePointerEx(H, 0, &Pos, FILE_CURRENT));
  EXPECT_EQ(Pos, 3) << "a refused seek leaves the position";

  ASSERT_TRUE(SetEndOfFile(H));  // shortens to the position
  ASSERT_TRUE(GetFileSizeEx(H, &Size));
  EXPECT_EQ(Size, 3);
  ASSERT_TRUE(SetFilePointerEx(H, 5, nullptr, FILE_BEGIN));
  ASSERT_TRUE(SetEndOfFile(H));  // lengthens with zeros
  EXPECT_TRUE(CloseHandle(H));
  EXPECT_EQ(Read("rw"), std::string("012\0\0", 5));
}

TEST_F(FileHandles, AccessIsEnforcedAndClosedHandlesAreInvalid) {
  Write("ro", "abc");
  const THandle H = Open(Path("ro"), GENERIC_READ, OPEN_EXISTING);
  ASSERT_NE(H, INVALID_HANDLE_VALUE);
  DWORD Moved = 7;
  EXPECT_FALSE(WriteFile(H, "x", 1, &Moved));
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
  EXPECT_EQ(Moved, 0u);
  EXPECT_FALSE(SetEndOfFile(H));
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
  EXPECT_TRUE(CloseHandle(H));

  char C;
  EXPECT_FALSE(ReadFile(H, &C, 1, &Moved));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_FALSE(CloseHandle(H));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_FALSE(CloseHandle(INVALID_HANDLE_VALUE));
  EXPECT_EQ(Read("ro"), "abc");
}

TEST_F(FileHandles, DeleteOnCloseLeavesNoFileButKeepsTheData) {
  const THandle H =
      Open(Path("t.tmp"), ReadWrite, CREATE_NEW, FILE_FLAG_DELETE_ON_CLOSE | FILE_ATTRIBUTE_TEMPORARY);
  ASSERT_NE(H, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(FileExists(Path("t.tmp"))) << "nothing is left behind, even if the process dies";
  DWORD Moved = 0;
  ASSERT_TRUE(WriteFile(H, "kept", 4, &Moved));
  ASSERT_TRUE(SetFilePointerEx(H, 0, nullptr, FILE_BEGIN));
  char Buf[4];
  ASSERT_TRUE(ReadFile(H, Buf, 4, &Moved));
  EXPECT_EQ(std::string(Buf, 4), "kept");
  EXPECT_TRUE(CloseHandle(H));
  EXPECT_FALSE(FileExists(Path("t.tmp")));
}

TEST_F(FileHandles, CreateNewLetsExactlyOneOfManyRacingCallersHaveTheName) {
  constexpr int Threads = 8, Names = 100;
  std::atomic<int> Winners[Names] = {};
  std::barrier Start(Threads);
  std::vector<std::thread> Racers;
  for (int T = 0; T < Threads; ++T)
    Racers.emplace_back([&] {
      Start.arrive_and_wait();
      for (int N = 0; N < Names; ++N) {
        const THandle H = Open(Path("race" + std::to_string(N)), ReadWrite, CREATE_NEW);
        if (H == INVALID_HANDLE_VALUE) continue;
        ++Winners[N];
        CloseHandle(H);
      }
    });
  for (std::thread& Racer : Racers) Racer.join();
  for (int N = 0; N < Names; ++N) EXPECT_EQ(Winners[N].load(), 1) << "name " << N;
}
