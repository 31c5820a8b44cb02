#pragma once
// Saves the start-up hook slots and the process-fact settings a test changes and puts them
// back when the test ends.
#include <array>

#include "imaging/core/hyieutils.h"

class TLibraryStateGuard {
 public:
  TLibraryStateGuard() {
    for (Integer Unit = 0; Unit < IELibraryUnitCount; ++Unit)
      FHooks[Unit] = IEGetLibraryHooks(static_cast<TIELibraryUnit>(Unit));
  }
  ~TLibraryStateGuard() {
    for (Integer Unit = 0; Unit < IELibraryUnitCount; ++Unit)
      IERegisterLibraryHooks(static_cast<TIELibraryUnit>(Unit), FHooks[Unit]);
    IEProcessorInformationQuery = FQuery;
    IEProcessorCoresCache = FCoresCache;
  }
  TLibraryStateGuard(const TLibraryStateGuard&) = delete;
  TLibraryStateGuard& operator=(const TLibraryStateGuard&) = delete;

 private:
  std::array<TIELibraryHooks, IELibraryUnitCount> FHooks;
  TIEProcessorInformationQuery FQuery = IEProcessorInformationQuery;
  Integer FCoresCache = IEProcessorCoresCache;
};
