#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <vector>

#include "platform/system/Environment.h"
#include "platform/system/FileErrors.h"
#include "platform/system/LastError.h"
#include "platform/system/Processors.h"
#include "platform/system/SystemVersion.h"

namespace {

std::vector<SYSTEM_LOGICAL_PROCESSOR_INFORMATION> QueryRecords() {
  DWORD Length = 0;
  EXPECT_FALSE(GetLogicalProcessorInformation(nullptr, &Length));
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
  EXPECT_EQ(Length % sizeof(SYSTEM_LOGICAL_PROCESSOR_INFORMATION), 0u);
  std::vector<SYSTEM_LOGICAL_PROCESSOR_INFORMATION> Records(Length /
                                                            sizeof(SYSTEM_LOGICAL_PROCESSOR_INFORMATION));
  DWORD Short = Length - 1;
  EXPECT_FALSE(GetLogicalProcessorInformation(Records.data(), &Short));
  EXPECT_EQ(Short, Length) << "a short buffer learns the size too";
  EXPECT_TRUE(GetLogicalProcessorInformation(Records.data(), &Length));
  return Records;
}

TEST(Processors, CoresAndPackagesCoverTheProcessorsTheProcessMayUse) {
  SYSTEM_INFO Info;
  GetSystemInfo(&Info);
  ULONG_PTR Cores = 0, Packages = 0;
  Integer CoreCount = 0;
  for (const SYSTEM_LOGICAL_PROCESSOR_INFORMATION& R : QueryRecords()) {
    ASSERT_NE(R.ProcessorMask, 0u);
    if (R.Relationship == RelationProcessorCore) {
      EXPECT_EQ(Cores & R.ProcessorMask, 0u) << "a processor belongs to one core";
      Cores |= R.ProcessorMask;
      EXPECT_EQ(R.ProcessorCoreFlags, std::popcount(R.ProcessorMask) > 1 ? 1 : 0);
      ++CoreCount;
    } else if (R.Relationship == RelationProcessorPackage) {
      EXPECT_EQ(Packages & R.ProcessorMask, 0u);
      Packages |= R.ProcessorMask;
    }
  }
  EXPECT_EQ(Cores, Info.dwActiveProcessorMask);
  EXPECT_EQ(Packages, Info.dwActiveProcessorMask);
  EXPECT_GE(CoreCount, 1);
}

TEST(Processors, MissingLengthIsRefused) {
  EXPECT_FALSE(GetLogicalProcessorInformation(nullptr, nullptr));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

#if defined(__x86_64__)
TEST(Processors, X86_64AlwaysHasMmx) {
  EXPECT_TRUE(IsProcessorFeaturePresent(PF_MMX_INSTRUCTIONS_AVAILABLE));
  EXPECT_FALSE(IsProcessorFeaturePresent(9999));
}
#endif

TEST(SystemVersion, ReportsTheNtFamilyWithTheKernelRelease) {
  OSVERSIONINFO Info;
  ASSERT_TRUE(GetVersionEx(&Info));
  EXPECT_EQ(Info.dwPlatformId, VER_PLATFORM_WIN32_NT);
  EXPECT_GE(Info.dwMajorVersion, 2u);
  EXPECT_STREQ(Info.szCSDVersion, "Linux");

  OSVERSIONINFO Wrong;
  Wrong.dwOSVersionInfoSize = 100;
  EXPECT_FALSE(GetVersionEx(&Wrong));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

}  // namespace
