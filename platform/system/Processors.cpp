#include "platform/system/Processors.h"

#include <sched.h>

#include <fstream>
#include <map>
#include <string>
#include <utility>
#include <vector>

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#endif

#include "platform/system/FileErrors.h"
#include "platform/system/LastError.h"

namespace {

constexpr int MaskBits = static_cast<int>(sizeof(ULONG_PTR) * 8);

// A number from a one-line sysfs file; Fallback when the file is missing or unreadable.
long ReadTopologyValue(int Cpu, const char* Name, long Fallback) {
  std::ifstream File("/sys/devices/system/cpu/cpu" + std::to_string(Cpu) + "/topology/" + Name);
  long Value = 0;
  return (File >> Value) ? Value : Fallback;
}

std::vector<int> AllowedProcessors() {
  std::vector<int> Cpus;
  cpu_set_t Set;
  CPU_ZERO(&Set);
  if (::sched_getaffinity(0, sizeof Set, &Set) == 0) {
    for (int Cpu = 0; Cpu < MaskBits && Cpu < CPU_SETSIZE; ++Cpu)
      if (CPU_ISSET(Cpu, &Set)) Cpus.push_back(Cpu);
  }
  if (Cpus.empty()) Cpus.push_back(0);
  return Cpus;
}

std::vector<SYSTEM_LOGICAL_PROCESSOR_INFORMATION> ProcessorRecords() {
  // Cores are told apart by (package, core id); a processor without topology files is a
  // core of its own.
  std::map<std::pair<long, long>, ULONG_PTR> Cores;
  std::map<long, ULONG_PTR> Packages;
  for (int Cpu : AllowedProcessors()) {
    const long Package = ReadTopologyValue(Cpu, "physical_package_id", 0);
    const long Core = ReadTopologyValue(Cpu, "core_id", -1 - Cpu);
    const ULONG_PTR Bit = ULONG_PTR(1) << Cpu;
    Cores[{Package, Core}] |= Bit;
    Packages[Package] |= Bit;
  }
  std::vector<SYSTEM_LOGICAL_PROCESSOR_INFORMATION> Records;
  for (const auto& [Key, Mask] : Cores) {
    SYSTEM_LOGICAL_PROCESSOR_INFORMATION R;
    R.ProcessorMask = Mask;
    R.Relationship = RelationProcessorCore;
    R.ProcessorCoreFlags = (Mask & (Mask - 1)) != 0 ? 1 : 0;
    Records.push_back(R);
  }
  for (const auto& [Key, Mask] : Packages) {
    SYSTEM_LOGICAL_PROCESSOR_INFORMATION R;
    R.ProcessorMask = Mask;
    R.Relationship = RelationProcessorPackage;
    Records.push_back(R);
  }
  return Records;
}

}  // namespace

BOOL GetLogicalProcessorInformation(SYSTEM_LOGICAL_PROCESSOR_INFORMATION* Buffer, DWORD* ReturnLength) {
  if (ReturnLength == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const std::vector<SYSTEM_LOGICAL_PROCESSOR_INFORMATION> Records = ProcessorRecords();
  const DWORD Needed = static_cast<DWORD>(Records.size() * sizeof(SYSTEM_LOGICAL_PROCESSOR_INFORMATION));
  const DWORD Given = *ReturnLength;
  *ReturnLength = Needed;
  if (Buffer == nullptr || Given < Needed) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  for (std::size_t I = 0; I < Records.size(); ++I) Buffer[I] = Records[I];
  return TRUE;
}

BOOL IsProcessorFeaturePresent(DWORD ProcessorFeature) {
#if defined(__i386__) || defined(__x86_64__)
  unsigned Eax = 0, Ebx = 0, Ecx = 0, Edx = 0;
  if (ProcessorFeature == PF_MMX_INSTRUCTIONS_AVAILABLE && __get_cpuid(1, &Eax, &Ebx, &Ecx, &Edx))
    return (Edx & bit_MMX) != 0 ? TRUE : FALSE;
#else
  (void)ProcessorFeature;
#endif
  return FALSE;
}
