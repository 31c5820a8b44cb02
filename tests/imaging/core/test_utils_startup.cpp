#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "imaging/core/hyieutils.h"
#include "imaging/core/iecolorspace.h"
#include "imaging/core/iegdiplus.h"
#include "platform/system/Environment.h"
#include "platform/system/FileErrors.h"
#include "platform/system/LastError.h"
#include "tests/imaging/core/UtilsTestSupport.h"

namespace {

std::vector<std::string> CallLog;
Integer FailingStart = -1;
Integer FailingStop = -1;

template <Integer Unit>
void LogStart() {
  CallLog.push_back("start " + std::to_string(Unit));
  if (Unit == FailingStart) throw std::runtime_error("start failed");
}
template <Integer Unit>
void LogStop() {
  CallLog.push_back("stop " + std::to_string(Unit));
  if (Unit == FailingStop) throw std::runtime_error("stop failed");
}

template <Integer... Units>
void RegisterLoggingHooks(std::integer_sequence<Integer, Units...>) {
  (IERegisterLibraryHooks(static_cast<TIELibraryUnit>(Units), {LogStart<Units>, LogStop<Units>}), ...);
}

// "start 0", "start 1", ... for First..Last (counting down when Last < First).
std::vector<std::string> Calls(const char* Verb, Integer First, Integer Last) {
  std::vector<std::string> Result;
  const Integer Step = Last >= First ? 1 : -1;
  for (Integer Unit = First;; Unit += Step) {
    Result.push_back(std::string(Verb) + " " + std::to_string(Unit));
    if (Unit == Last) break;
  }
  return Result;
}

std::vector<std::string> Join(std::vector<std::string> A, const std::vector<std::string>& B) {
  A.insert(A.end(), B.begin(), B.end());
  return A;
}

class LibraryStartup : public ::testing::Test {
 protected:
  void SetUp() override {
    CallLog.clear();
    FailingStart = FailingStop = -1;
    RegisterLoggingHooks(std::make_integer_sequence<Integer, IELibraryUnitCount>());
  }
  TLibraryStateGuard Guard;
};

TEST_F(LibraryStartup, FirstStartRunsEveryUnitInOrderAndTheLastStopRunsThemInReverse) {
  LibraryInitialize();
  LibraryInitialize();
  EXPECT_EQ(CallLog, Calls("start", 0, 10));
  LibraryFinalize();
  EXPECT_EQ(CallLog.size(), 11u) << "the first stop only counts down";
  LibraryFinalize();
  EXPECT_EQ(CallLog, Join(Calls("start", 0, 10), Calls("stop", 10, 0)));
  LibraryFinalize();
  EXPECT_EQ(CallLog.size(), 22u) << "a stop without a start does nothing";
}

TEST_F(LibraryStartup, StopBeforeAnyStartDoesNothing) {
  LibraryFinalize();
  EXPECT_TRUE(CallLog.empty());
  LibraryInitialize();
  EXPECT_EQ(CallLog, Calls("start", 0, 10)) << "the stray stop must not eat the next start";
  LibraryFinalize();
}

TEST_F(LibraryStartup, AFailingStartStopsTheUnitsAlreadyStartedAndCountsNothing) {
  FailingStart = 5;
  EXPECT_THROW(LibraryInitialize(), std::runtime_error);
  EXPECT_EQ(CallLog, Join(Calls("start", 0, 5), Calls("stop", 4, 0)));

  CallLog.clear();
  LibraryFinalize();
  EXPECT_TRUE(CallLog.empty()) << "the failed start was not counted";

  FailingStart = -1;
  LibraryInitialize();
  EXPECT_EQ(CallLog, Calls("start", 0, 10));
  LibraryFinalize();
  EXPECT_EQ(CallLog, Join(Calls("start", 0, 10), Calls("stop", 10, 0)));
}

TEST_F(LibraryStartup, AFailingStopStillStopsEveryUnitThenRaises) {
  LibraryInitialize();
  CallLog.clear();
  FailingStop = 7;
  EXPECT_THROW(LibraryFinalize(), std::runtime_error);
  EXPECT_EQ(CallLog, Calls("stop", 10, 0));

  FailingStop = -1;
  CallLog.clear();
  LibraryInitialize();
  EXPECT_EQ(CallLog, Calls("start", 0, 10)) << "the library starts again after the failed stop";
  LibraryFinalize();
}

TEST_F(LibraryStartup, UnitsStopWithTheHooksTheyStartedWith) {
  LibraryInitialize();
  IERegisterLibraryHooks(iluView, {nullptr, nullptr});
  CallLog.clear();
  LibraryFinalize();
  EXPECT_EQ(CallLog, Calls("stop", 10, 0));
}

TEST_F(LibraryStartup, EmptySlotsAreSkipped) {
  IERegisterLibraryHooks(iluGdiPlus, {});
  IERegisterLibraryHooks(iluPresetImages, {});
  LibraryInitialize();
  LibraryFinalize();
  EXPECT_EQ(CallLog, Join(Calls("start", 1, 9), Calls("stop", 9, 1)));
}

// The real hooks of the core's own slots.
class LibrarySettings : public ::testing::Test {
 protected:
  TLibraryStateGuard Guard;
};

TEST_F(LibrarySettings, StartUpSetsEverySetting) {
  IEMinFileSizeOverride = 1234;
  IEAllowFileFallback = false;
  IEAllowChunks = false;
  IEProcessorCoresCache = 7;
  IEUseUnicodeFileAPI = false;
  IEGrayWeightR = IEGrayWeightG = IEGrayWeightB = 0;
  IEDialogBackgroundStyle = 2;
  DefaultDpiX = DefaultDpiY = 72;
  IEGdiPlusSetAllowed(false);

  LibraryInitialize();
  EXPECT_TRUE(IEGdiPlusAllowed()) << "the anti-aliased drawing unit starts first";
  EXPECT_EQ(IEMinFileSizeOverride, -1);
  EXPECT_TRUE(IEAllowFileFallback);
  EXPECT_TRUE(IEAllowChunks);
  EXPECT_EQ(IEProcessorCoresCache, -1);
  EXPECT_EQ(IEWindowsVersion, IEGetWindowsVersion());
  EXPECT_TRUE(IEUseUnicodeFileAPI) << "this system has Unicode file names";
  EXPECT_EQ(IEGrayWeightR, 21);
  EXPECT_EQ(IEGrayWeightG, 71);
  EXPECT_EQ(IEGrayWeightB, 8);
  EXPECT_EQ(IEDialogBackgroundStyle, 0);
  EXPECT_EQ(DefaultDpiX, 300);
  EXPECT_EQ(DefaultDpiY, 300);
  LibraryFinalize();
}

TEST(WindowsVersion, CodesFollowThePlatformAndVersion) {
  struct TCase {
    DWORD PlatformId, Major, Minor;
    Byte Code;
  };
  const TCase Cases[] = {
      {VER_PLATFORM_WIN32_WINDOWS, 4, 0, 0},  {VER_PLATFORM_WIN32_WINDOWS, 4, 10, 1},
      {VER_PLATFORM_WIN32_WINDOWS, 4, 90, 2}, {VER_PLATFORM_WIN32_NT, 4, 0, 3},
      {VER_PLATFORM_WIN32_NT, 5, 0, 4},       {VER_PLATFORM_WIN32_NT, 5, 1, 5},
      {VER_PLATFORM_WIN32_NT, 5, 2, 6},       {VER_PLATFORM_WIN32_NT, 6, 0, 7},
      {VER_PLATFORM_WIN32_NT, 6, 1, 8},       {VER_PLATFORM_WIN32_NT, 6, 2, 9},
      {VER_PLATFORM_WIN32_NT, 10, 0, 9},      {VER_PLATFORM_WIN32_WINDOWS, 5, 0, 9},
      {VER_PLATFORM_WIN32s, 4, 0, 9},
  };
  for (const TCase& Case : Cases) {
    OSVERSIONINFO Info;
    Info.dwPlatformId = Case.PlatformId;
    Info.dwMajorVersion = Case.Major;
    Info.dwMinorVersion = Case.Minor;
    EXPECT_EQ(IEWindowsVersionCode(Info), Case.Code)
        << "platform " << Case.PlatformId << " version " << Case.Major << "." << Case.Minor;
  }
}

// A processor-information call that answers with fixed records and counts its calls.
std::vector<SYSTEM_LOGICAL_PROCESSOR_INFORMATION> FakeRecords;
Integer FakeCalls = 0;

BOOL FakeQuery(SYSTEM_LOGICAL_PROCESSOR_INFORMATION* Buffer, DWORD* Length) {
  ++FakeCalls;
  const DWORD Needed = static_cast<DWORD>(FakeRecords.size() * sizeof(SYSTEM_LOGICAL_PROCESSOR_INFORMATION));
  const DWORD Given = *Length;
  *Length = Needed;
  if (Buffer == nullptr || Given < Needed) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  for (std::size_t I = 0; I < FakeRecords.size(); ++I) Buffer[I] = FakeRecords[I];
  return TRUE;
}

BOOL FailingQuery(SYSTEM_LOGICAL_PROCESSOR_INFORMATION*, DWORD*) {
  ++FakeCalls;
  SetLastError(ERROR_INVALID_PARAMETER);
  return FALSE;
}

SYSTEM_LOGICAL_PROCESSOR_INFORMATION Record(LOGICAL_PROCESSOR_RELATIONSHIP Relationship, ULONG_PTR Mask) {
  SYSTEM_LOGICAL_PROCESSOR_INFORMATION R;
  R.Relationship = Relationship;
  R.ProcessorMask = Mask;
  return R;
}

class ProcessorCount : public ::testing::Test {
 protected:
  void SetUp() override {
    FakeCalls = 0;
    IEProcessorCoresCache = -1;
  }
  TLibraryStateGuard Guard;
};

TEST_F(ProcessorCount, CountsEveryThreadOfEveryCoreOnceAndKeepsTheAnswer) {
  // Two cores of two threads each in one package.
  FakeRecords = {Record(RelationProcessorCore, 0b0011), Record(RelationProcessorCore, 0b1100),
                 Record(RelationProcessorPackage, 0b1111), Record(RelationCache, 0b0011)};
  IEProcessorInformationQuery = FakeQuery;
  EXPECT_EQ(CountProcessorCores(), 4);
  EXPECT_EQ(FakeCalls, 2) << "once for the size, once for the records";
  FakeRecords.clear();
  EXPECT_EQ(CountProcessorCores(), 4);
  EXPECT_EQ(FakeCalls, 2) << "later calls take the cached answer";
}

TEST_F(ProcessorCount, IsOneWithoutAWorkingProcessorQuery) {
  IEProcessorInformationQuery = nullptr;
  EXPECT_EQ(CountProcessorCores(), 1);

  IEProcessorCoresCache = -1;
  IEProcessorInformationQuery = FailingQuery;
  EXPECT_EQ(CountProcessorCores(), 1);
  EXPECT_EQ(CountProcessorCores(), 1);
  EXPECT_EQ(FakeCalls, 1);

  IEProcessorCoresCache = -1;
  FakeRecords = {Record(RelationProcessorPackage, 0b1111)};
  IEProcessorInformationQuery = FakeQuery;
  EXPECT_EQ(CountProcessorCores(), 1) << "no core records";
}

TEST_F(ProcessorCount, OnThisSystemIsTheProcessorsTheProcessMayUse) {
  SYSTEM_INFO Info;
  GetSystemInfo(&Info);
  EXPECT_EQ(CountProcessorCores(), static_cast<Integer>(std::min<DWORD>(Info.dwNumberOfProcessors, 64)));
}

#if defined(__x86_64__)
TEST(ProcessFacts, EveryX86_64ProcessorHasMmx) {
  EXPECT_TRUE(IECpuHasMMX());
}
#endif

}  // namespace
