#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "TempFolder.h"
#include "platform/system/KernelObjects.h"
#include "platform/system/NamedMutex.h"
#include "platform/system/SyncObjs.h"

namespace {

// Polls Done for up to ten seconds; a bound against hanging, never a timing assertion.
template <class F>
bool Eventually(F Done) {
  const auto Deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!Done()) {
    if (std::chrono::steady_clock::now() > Deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

// Gives a thread that should stay blocked the chance to run wrongly.
void Grace() {
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
}

}  // namespace

TEST(CriticalSection, IsReentrantAndExcludesOtherThreads) {
  TCriticalSection Section;
  CRITICAL_SECTION Record;
  InitializeCriticalSection(&Record);
  Section.Enter();
  Section.Acquire();
  EnterCriticalSection(&Record);
  EnterCriticalSection(&Record);
  auto OtherCanEnter = [&] {
    bool Class = false, Api = false;
    std::thread([&] {
      if ((Class = Section.TryEnter())) Section.Leave();
      if ((Api = TryEnterCriticalSection(&Record) != FALSE)) LeaveCriticalSection(&Record);
    }).join();
    return std::pair(Class, Api);
  };
  EXPECT_EQ(OtherCanEnter(), std::pair(false, false));
  Section.Release();
  LeaveCriticalSection(&Record);
  EXPECT_EQ(OtherCanEnter(), std::pair(false, false)) << "one level is still held";
  Section.Leave();
  LeaveCriticalSection(&Record);
  EXPECT_EQ(OtherCanEnter(), std::pair(true, true));
  DeleteCriticalSection(&Record);
}

TEST(Event, AutoResetReleasesExactlyOneWaiterPerSet) {
  TEvent Event(false, false);
  std::atomic<int> Released = 0;
  std::vector<std::thread> Waiters;
  for (int I = 0; I < 2; ++I)
    Waiters.emplace_back([&] {
      if (Event.WaitFor(INFINITE) == wrSignaled) ++Released;
    });
  Grace();
  Event.SetEvent();
  ASSERT_TRUE(Eventually([&] { return Released == 1; }));
  Grace();
  EXPECT_EQ(Released, 1);
  EXPECT_EQ(Event.WaitFor(0), wrTimeout) << "the signal was used up";
  Event.SetEvent();
  ASSERT_TRUE(Eventually([&] { return Released == 2; }));
  for (auto& T : Waiters) T.join();
}

TEST(Event, ManualResetReleasesAllAndStaysSet) {
  HANDLE Event = CreateEvent(nullptr, TRUE, FALSE, nullptr);
  ASSERT_NE(Event, nullptr);
  std::atomic<int> Released = 0;
  std::vector<std::thread> Waiters;
  for (int I = 0; I < 3; ++I)
    Waiters.emplace_back([&] {
      if (WaitForSingleObject(Event, INFINITE) == WAIT_OBJECT_0) ++Released;
    });
  Grace();
  EXPECT_EQ(Released, 0);
  EXPECT_TRUE(SetEvent(Event));
  ASSERT_TRUE(Eventually([&] { return Released == 3; }));
  for (auto& T : Waiters) T.join();
  EXPECT_EQ(WaitForSingleObject(Event, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(Event, 0), WAIT_OBJECT_0);
  EXPECT_TRUE(ResetEvent(Event));
  EXPECT_EQ(WaitForSingleObject(Event, 0), WAIT_TIMEOUT);
  EXPECT_TRUE(CloseHandle(Event));
}

TEST(Event, TimedWaitsAndInitialState) {
  TEvent Auto(false, true);
  EXPECT_EQ(Auto.WaitFor(0), wrSignaled);
  EXPECT_EQ(Auto.WaitFor(20), wrTimeout);
  TSimpleEvent Simple;  // manual reset, not signalled
  EXPECT_EQ(Simple.WaitFor(20), wrTimeout);
  Simple.SetEvent();
  EXPECT_EQ(Simple.WaitFor(INFINITE), wrSignaled);
  EXPECT_EQ(Simple.WaitFor(0), wrSignaled);
  // The class's handle is an ordinary event handle.
  Simple.ResetEvent();
  EXPECT_EQ(WaitForSingleObject(Simple.GetHandle(), 0), WAIT_TIMEOUT);
  EXPECT_TRUE(SetEvent(Simple.GetHandle()));
  EXPECT_EQ(Simple.WaitFor(0), wrSignaled);
}

TEST(Event, SetFromAnotherThreadEndsATimedWait) {
  HANDLE Event = CreateEvent(nullptr, FALSE, FALSE, nullptr);
  std::thread Setter([&] {
    Grace();
    SetEvent(Event);
  });
  EXPECT_EQ(WaitForSingleObject(Event, 60000), WAIT_OBJECT_0);
  Setter.join();
  CloseHandle(Event);
}

TEST(Handles, InvalidAndClosedHandlesAreRefused) {
  HANDLE Event = CreateEvent(nullptr, FALSE, FALSE, nullptr);
  ASSERT_TRUE(CloseHandle(Event));
  for (HANDLE Bad : {Event, static_cast<HANDLE>(nullptr), reinterpret_cast<HANDLE>(-1),
                     reinterpret_cast<HANDLE>(std::uintptr_t{0x7FFFFFF0})}) {
    SetLastError(ERROR_SUCCESS);
    EXPECT_FALSE(CloseHandle(Bad));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(SetEvent(Bad));
    EXPECT_EQ(WaitForSingleObject(Bad, 0), WAIT_FAILED);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  }
  HANDLE Mutex = CreateMutex(nullptr, FALSE, nullptr);
  EXPECT_FALSE(SetEvent(Mutex)) << "a mutex is no event";
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  CloseHandle(Mutex);
}

TEST(Handles, WaitForMultipleObjectsAnyAndAll) {
  HANDLE Events[3] = {CreateEvent(nullptr, FALSE, FALSE, nullptr),
                      CreateEvent(nullptr, FALSE, FALSE, nullptr),
                      CreateEvent(nullptr, TRUE, FALSE, nullptr)};
  EXPECT_EQ(WaitForMultipleObjects(3, Events, FALSE, 0), WAIT_TIMEOUT);
  SetEvent(Events[1]);
  SetEvent(Events[2]);
  EXPECT_EQ(WaitForMultipleObjects(3, Events, FALSE, 0), WAIT_OBJECT_0 + 1);
  EXPECT_EQ(WaitForMultipleObjects(3, Events, FALSE, 0), WAIT_OBJECT_0 + 2) << "the auto event was used up";
  // All: nothing is consumed until every one is set.
  SetEvent(Events[0]);
  EXPECT_EQ(WaitForMultipleObjects(3, Events, TRUE, 0), WAIT_TIMEOUT);
  EXPECT_EQ(WaitForSingleObject(Events[0], 0), WAIT_OBJECT_0) << "still set after the failed wait for all";
  std::thread Setter([&] {
    Grace();
    SetEvent(Events[0]);
    SetEvent(Events[1]);
  });
  EXPECT_EQ(WaitForMultipleObjects(3, Events, TRUE, 60000), WAIT_OBJECT_0);
  Setter.join();
  EXPECT_EQ(WaitForMultipleObjects(2, Events, FALSE, 0), WAIT_TIMEOUT) << "both auto events were consumed";
  EXPECT_EQ(WaitForMultipleObjects(0, Events, FALSE, 0), WAIT_FAILED);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  for (HANDLE H : Events) CloseHandle(H);
}

TEST(Interlocked, ReturnValuesAndWrapAround) {
  volatile LONG Value = 5;
  EXPECT_EQ(InterlockedIncrement(&Value), 6);
  EXPECT_EQ(InterlockedDecrement(&Value), 5);
  EXPECT_EQ(InterlockedExchangeAdd(&Value, 10), 5);
  EXPECT_EQ(Value, 15);
  EXPECT_EQ(InterlockedExchange(&Value, 3), 15);
  EXPECT_EQ(InterlockedCompareExchange(&Value, 9, 4), 3) << "no match: unchanged";
  EXPECT_EQ(Value, 3);
  EXPECT_EQ(InterlockedCompareExchange(&Value, 9, 3), 3);
  EXPECT_EQ(Value, 9);
  Value = INT_MAX;
  EXPECT_EQ(InterlockedIncrement(&Value), INT_MIN);
  EXPECT_EQ(InterlockedDecrement(&Value), INT_MAX);
}

TEST(Interlocked, CountsFromManyThreads) {
  volatile LONG Count = 0;
  std::vector<std::thread> Threads;
  for (int T = 0; T < 4; ++T)
    Threads.emplace_back([&] {
      for (int I = 0; I < 100000; ++I) {
        InterlockedIncrement(&Count);
        InterlockedExchangeAdd(&Count, 2);
        InterlockedDecrement(&Count);
      }
    });
  for (auto& T : Threads) T.join();
  EXPECT_EQ(Count, 4 * 100000 * 2);
}

TEST(Mutex, OwnershipIsReentrantAndOnlyTheOwnerReleases) {
  HANDLE Mutex = CreateMutex(nullptr, TRUE, nullptr);
  ASSERT_NE(Mutex, nullptr);
  EXPECT_EQ(WaitForSingleObject(Mutex, 0), WAIT_OBJECT_0) << "the owner enters again";
  auto OtherWait = [&](DWORD Ms) {
    DWORD Result = 0;
    BOOL Released = FALSE;
    DWORD Error = 0;
    std::thread([&] {
      Result = WaitForSingleObject(Mutex, Ms);
      if (Result == WAIT_OBJECT_0)
        Released = ReleaseMutex(Mutex);
      else {
        Released = ReleaseMutex(Mutex);
        Error = GetLastError();
      }
    }).join();
    return std::tuple(Result, Released, Error);
  };
  EXPECT_EQ(OtherWait(0), std::tuple(WAIT_TIMEOUT, FALSE, ERROR_NOT_OWNER));
  EXPECT_TRUE(ReleaseMutex(Mutex));
  EXPECT_EQ(OtherWait(0), std::tuple(WAIT_TIMEOUT, FALSE, ERROR_NOT_OWNER)) << "one level still held";
  EXPECT_TRUE(ReleaseMutex(Mutex));
  EXPECT_FALSE(ReleaseMutex(Mutex));
  EXPECT_EQ(GetLastError(), ERROR_NOT_OWNER);
  EXPECT_EQ(OtherWait(0), std::tuple(WAIT_OBJECT_0, TRUE, DWORD{0}));
  EXPECT_TRUE(CloseHandle(Mutex));
}

TEST(Mutex, WaiterGetsItWhenTheOwnerReleases) {
  HANDLE Mutex = CreateMutex(nullptr, TRUE, nullptr);
  std::atomic<bool> Got = false;
  std::thread Waiter([&] {
    if (WaitForSingleObject(Mutex, INFINITE) == WAIT_OBJECT_0) {
      Got = true;
      ReleaseMutex(Mutex);
    }
  });
  Grace();
  EXPECT_FALSE(Got);
  ReleaseMutex(Mutex);
  Waiter.join();
  EXPECT_TRUE(Got);
  CloseHandle(Mutex);
}

class NamedMutex : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const char* Old = std::getenv("XDG_RUNTIME_DIR")) FOldRuntime = Old;
    setenv("XDG_RUNTIME_DIR", FFolder.Path().c_str(), 1);
  }
  void TearDown() override {
    if (FOldRuntime)
      setenv("XDG_RUNTIME_DIR", FOldRuntime->c_str(), 1);
    else
      unsetenv("XDG_RUNTIME_DIR");
  }
  static std::string UniqueName(const std::string& Stem) {
    static int Counter = 0;
    return Stem + "-" + std::to_string(getpid()) + "-" + std::to_string(++Counter);
  }
  std::vector<std::string> LockFiles() const {
    std::vector<std::string> Names;
    for (const auto& E : std::filesystem::directory_iterator(FFolder.Path()))
      if (E.path().extension() == ".lock") Names.push_back(E.path().filename());
    return Names;
  }

  TTempFolder FFolder;
  std::optional<std::string> FOldRuntime;
};

TEST_F(NamedMutex, SecondCreateReportsAlreadyExistsUntilEveryHandleIsClosed) {
  const std::string Name = UniqueName("Tilvarok");
  SetLastError(ERROR_ALREADY_EXISTS);  // a stale code must not leak through
  HANDLE First = CreateMutex(nullptr, FALSE, Name.c_str());
  ASSERT_NE(First, nullptr);
  EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
  HANDLE Second = CreateMutex(nullptr, FALSE, Name.c_str());
  ASSERT_NE(Second, nullptr) << "the copy that finds the name gets a handle too";
  EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
  EXPECT_NE(Second, First);
  EXPECT_TRUE(CloseHandle(First));
  HANDLE Third = CreateMutex(nullptr, FALSE, Name.c_str());
  EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS) << "the second handle still holds the name";
  EXPECT_TRUE(CloseHandle(Second));
  EXPECT_TRUE(CloseHandle(Third));
  HANDLE Fresh = CreateMutex(nullptr, FALSE, Name.c_str());
  ASSERT_NE(Fresh, nullptr);
  EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
  EXPECT_TRUE(CloseHandle(Fresh));
  EXPECT_EQ(LockFiles().size(), 1u);
}

TEST_F(NamedMutex, NamesStayInsideTheFolderAndDoNotCollide) {
  const std::vector<std::string> Names = {"a/b",
                                          "a%2Fb",
                                          "a_2Fb",
                                          "../../escape",
                                          "C:\\Program Files\\x",
                                          std::string(300, 'n'),
                                          std::string(299, 'n') + "m",
                                          "\xC3\xA9t\xC3\xA9"};
  std::vector<HANDLE> Handles;
  for (const auto& Name : Names) {
    Handles.push_back(CreateMutex(nullptr, FALSE, Name.c_str()));
    EXPECT_NE(Handles.back(), nullptr) << Name;
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS) << Name;
  }
  EXPECT_EQ(LockFiles().size(), Names.size());
  for (HANDLE H : Handles) CloseHandle(H);
}

TEST_F(NamedMutex, FallsBackToTheTemporaryFolder) {
  TTempFolder Temp;
  const char* OldTemp = std::getenv("TEMP");
  const std::optional<std::string> SavedTemp = OldTemp ? std::optional<std::string>(OldTemp) : std::nullopt;
  unsetenv("XDG_RUNTIME_DIR");
  setenv("TEMP", Temp.Path().c_str(), 1);
  HANDLE Mutex = CreateMutex(nullptr, FALSE, UniqueName("Fallback").c_str());
  EXPECT_NE(Mutex, nullptr);
  bool Found = false;
  for (const auto& E : std::filesystem::directory_iterator(Temp.Path()))
    Found |= E.path().extension() == ".lock";
  EXPECT_TRUE(Found);
  CloseHandle(Mutex);
  if (SavedTemp)
    setenv("TEMP", SavedTemp->c_str(), 1);
  else
    unsetenv("TEMP");
}

TEST_F(NamedMutex, UnusableFolderFailsWithAnError) {
  setenv("XDG_RUNTIME_DIR", (FFolder / "missing").c_str(), 1);
  SetLastError(ERROR_SUCCESS);
  EXPECT_EQ(CreateMutex(nullptr, FALSE, UniqueName("Nowhere").c_str()), nullptr);
  EXPECT_NE(GetLastError(), ERROR_SUCCESS);
}

TEST_F(NamedMutex, SeenByAnotherProcess) {
  const std::string Name = UniqueName("Across");
  int ToParent[2], ToChild[2];
  ASSERT_EQ(pipe(ToParent), 0);
  ASSERT_EQ(pipe(ToChild), 0);
  const pid_t Child = fork();
  ASSERT_GE(Child, 0);
  if (Child == 0) {
    // The child holds the name until the parent says so.
    HANDLE Mine = CreateMutex(nullptr, FALSE, Name.c_str());
    const char Status = Mine != nullptr && GetLastError() == ERROR_SUCCESS ? 'k' : 'f';
    char Go;
    if (write(ToParent[1], &Status, 1) != 1 || read(ToChild[0], &Go, 1) != 1) _exit(2);
    _exit(0);
  }
  char Status = 0;
  ASSERT_EQ(read(ToParent[0], &Status, 1), 1);
  EXPECT_EQ(Status, 'k');
  HANDLE Mine = CreateMutex(nullptr, FALSE, Name.c_str());
  EXPECT_NE(Mine, nullptr);
  EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
  CloseHandle(Mine);
  const char Go = 'g';
  EXPECT_EQ(write(ToChild[1], &Go, 1), 1);
  int ExitStatus = 0;
  EXPECT_EQ(waitpid(Child, &ExitStatus, 0), Child);
  EXPECT_TRUE(WIFEXITED(ExitStatus) && WEXITSTATUS(ExitStatus) == 0);
  // The child's end released the name.
  Mine = CreateMutex(nullptr, FALSE, Name.c_str());
  EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
  CloseHandle(Mine);
  for (int Fd : {ToParent[0], ToParent[1], ToChild[0], ToChild[1]}) close(Fd);
}
