#pragma once
// Processor queries: how the logical processors group into cores and packages, and which
// instruction-set features the processor has.
#include "platform/system/Types.h"
#include "platform/system/WinTypes.h"

enum LOGICAL_PROCESSOR_RELATIONSHIP : DWORD {
  RelationProcessorCore = 0,
  RelationNumaNode = 1,
  RelationCache = 2,
  RelationProcessorPackage = 3,
};

// One record per core and one per package. ProcessorMask has a bit for each logical
// processor of the core or package (bit n = processor n).
struct SYSTEM_LOGICAL_PROCESSOR_INFORMATION {
  ULONG_PTR ProcessorMask = 0;
  LOGICAL_PROCESSOR_RELATIONSHIP Relationship = RelationProcessorCore;
  Byte ProcessorCoreFlags = 0;  // 1 when the core runs more than one logical processor
  UInt64 Reserved[2] = {};
};

// Describes the processors this process may run on (its affinity), as far as a mask holds
// them (the first 64). ReturnLength is in bytes: when Buffer is null or ReturnLength too small
// the call fails with ERROR_INSUFFICIENT_BUFFER and ReturnLength says how many bytes it needs.
// Where the system does not tell the topology, every processor counts as a core of its own.
BOOL GetLogicalProcessorInformation(SYSTEM_LOGICAL_PROCESSOR_INFORMATION* Buffer, DWORD* ReturnLength);

constexpr DWORD PF_MMX_INSTRUCTIONS_AVAILABLE = 3;

// TRUE when the processor reports the feature (CPUID on x86); FALSE for any other processor
// and for features this platform does not ask about.
BOOL IsProcessorFeaturePresent(DWORD ProcessorFeature);
