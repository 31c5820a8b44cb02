#include <bit>
#include <vector>

#include "imaging/core/hyieutils.h"
#include "platform/system/FileErrors.h"
#include "platform/system/LastError.h"
#include "platform/user/SystemMetrics.h"

TIEProcessorInformationQuery IEProcessorInformationQuery = GetLogicalProcessorInformation;

Byte IEWindowsVersionCode(const OSVERSIONINFO& Info) {
  struct TVersionRow {
    DWORD PlatformId, Major, Minor;
    Byte Code;
  };
  static constexpr TVersionRow Rows[] = {
      {VER_PLATFORM_WIN32_WINDOWS, 4, 0, 0},  {VER_PLATFORM_WIN32_WINDOWS, 4, 10, 1},
      {VER_PLATFORM_WIN32_WINDOWS, 4, 90, 2}, {VER_PLATFORM_WIN32_NT, 4, 0, 3},
      {VER_PLATFORM_WIN32_NT, 5, 0, 4},       {VER_PLATFORM_WIN32_NT, 5, 1, 5},
      {VER_PLATFORM_WIN32_NT, 5, 2, 6},       {VER_PLATFORM_WIN32_NT, 6, 0, 7},
      {VER_PLATFORM_WIN32_NT, 6, 1, 8},
  };
  for (const TVersionRow& Row : Rows)
    if (Row.PlatformId == Info.dwPlatformId && Row.Major == Info.dwMajorVersion &&
        Row.Minor == Info.dwMinorVersion)
      return Row.Code;
  return 9;
}

Byte IEGetWindowsVersion() {
  OSVERSIONINFO Info;
  if (!GetVersionEx(&Info)) return 9;
  return IEWindowsVersionCode(Info);
}

Integer IECountLogicalProcessors(const SYSTEM_LOGICAL_PROCESSOR_INFORMATION* Records, Integer Count) {
  // Each core record has one mask bit per logical processor it runs; counting the records
  // instead would give the physical cores and leave hyper-threads idle.
  Integer Processors = 0;
  for (Integer I = 0; I < Count; ++I)
    if (Records[I].Relationship == RelationProcessorCore)
      Processors += std::popcount(Records[I].ProcessorMask);
  return Processors;
}

Integer CountProcessorCores() {
  if (IEProcessorCoresCache != -1) return IEProcessorCoresCache;
  IEProcessorCoresCache = 1;
  if (IEProcessorInformationQuery == nullptr) return IEProcessorCoresCache;
  DWORD Length = 0;
  if (IEProcessorInformationQuery(nullptr, &Length) || GetLastError() != ERROR_INSUFFICIENT_BUFFER)
    return IEProcessorCoresCache;
  constexpr DWORD RecordSize = sizeof(SYSTEM_LOGICAL_PROCESSOR_INFORMATION);
  std::vector<SYSTEM_LOGICAL_PROCESSOR_INFORMATION> Records((Length + RecordSize - 1) / RecordSize);
  Length = static_cast<DWORD>(Records.size() * RecordSize);
  if (!IEProcessorInformationQuery(Records.data(), &Length)) return IEProcessorCoresCache;
  const Integer Processors =
      IECountLogicalProcessors(Records.data(), static_cast<Integer>(Length / RecordSize));
  if (Processors > 0) IEProcessorCoresCache = Processors;
  return IEProcessorCoresCache;
}

bool IECpuHasMMX() {
  return IsProcessorFeaturePresent(PF_MMX_INSTRUCTIONS_AVAILABLE) != FALSE;
}

bool IEIsRemoteSession() {
  return GetSystemMetrics(SM_REMOTESESSION) != 0;
}
