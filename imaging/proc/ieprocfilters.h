#pragma once
// What the processing library sets up once for the whole imaging library: the 1-bit expansion
// table, the predefined 3 x 3 filters and the raw clipboard format. Built by
// TZezudIdProcInitialize and shared read-only by every thread until TZezudIdProcFinalize.
#include <array>
#include <string>
#include <vector>

#include "platform/system/Types.h"
#include "platform/system/WinTypes.h"

// Nine weights row by row (row above, same row, row below; left to right), then the divisor;
// a divisor of 0 counts as 1.
struct TIEFilterKernel {
  std::array<Integer, 9> Weights{};
  Integer Divisor = 0;
};
static_assert(sizeof(TIEFilterKernel) == 40);

// Entry b: eight 24-bit pixels for the bits of b, most significant first; white for a set bit.
extern std::array<std::array<Byte, 24>, 256> IE1BitExpandTable;
// Heap copies owned by the list; names in the same order (available before start-up).
extern std::vector<TIEFilterKernel*> IEPredefinedFilters;
extern std::vector<std::string> IEPredefinedFilterNames;
extern UINT IERawClipboardFormat;

void IEBuild1BitExpandTable();
void IEBuildPredefinedFilters();
// Appends a copy of Kernel under Name; returns its index.
Integer IEAddPredefinedFilter(const TIEFilterKernel& Kernel, const std::string& Name);
void IEFreePredefinedFilters();

void TZezudIdProcInitialize();
void TZezudIdProcFinalize();
// Puts the two hooks above into the library's processing slot; the program calls it once
// before the library starts.
void ProcRegisterLibraryHooks();
