#include "imaging/core/hyieutils.h"

#include <array>
#include <exception>
#include <mutex>

#include "imaging/core/ieblend.h"
#include "imaging/core/iecolorspace.h"
#include "imaging/core/iegdiplus.h"
#include "imaging/core/iewords.h"

Int64 IEMinFileSizeOverride = -1;
bool IEAllowFileFallback = true;
bool IEAllowChunks = true;
Integer IEProcessorCoresCache = -1;
Byte IEWindowsVersion = 0;
bool IEUseUnicodeFileAPI = false;
Byte IEDialogBackgroundStyle = 0;
Integer DefaultDpiX = 300;
Integer DefaultDpiY = 300;

namespace {

using THookTable = std::array<TIELibraryHooks, IELibraryUnitCount>;

// Made on first use, so that the lock exists whenever the first call comes. Recursive: a hook
// may register another library's hooks while the units start.
std::recursive_mutex& StartupLock() {
  static std::recursive_mutex Lock;
  return Lock;
}
constinit THookTable Slots = [] {
  THookTable Table{};
  Table[iluGdiPlus] = {IEGdiPlusInitialize, IEGdiPlusFinalize};
  Table[iluDefs] = {IEDefsInitialize, IEDefsFinalize};
  Table[iluUtils] = {IEUtilsInitialize, IEUtilsFinalize};
  return Table;
}();
// The hooks the running units started with, and how many starts are not yet matched.
constinit THookTable Started{};
constinit Integer UseCount = 0;

// Stops the first Count started units, last first; every one stops even when another raised.
// Returns the first exception raised.
std::exception_ptr StopUnits(Integer Count) {
  std::exception_ptr First;
  for (Integer Unit = Count - 1; Unit >= 0; --Unit) {
    if (Started[Unit].Finalize == nullptr) continue;
    try {
      Started[Unit].Finalize();
    } catch (...) {
      if (!First) First = std::current_exception();
    }
  }
  return First;
}

}  // namespace

TIELibraryHooks IERegisterLibraryHooks(TIELibraryUnit Unit, TIELibraryHooks Hooks) {
  std::lock_guard Lock(StartupLock());
  TIELibraryHooks Previous = Slots[Unit];
  Slots[Unit] = Hooks;
  return Previous;
}

TIELibraryHooks IEGetLibraryHooks(TIELibraryUnit Unit) {
  std::lock_guard Lock(StartupLock());
  return Slots[Unit];
}

void LibraryInitialize() {
  std::lock_guard Lock(StartupLock());
  if (UseCount == 0) {
    Started = Slots;
    Integer Unit = 0;
    try {
      for (; Unit < IELibraryUnitCount; ++Unit)
        if (Started[Unit].Initialize != nullptr) Started[Unit].Initialize();
    } catch (...) {
      // A retry would start these units a second time: stop them now.
      StopUnits(Unit);
      throw;
    }
  }
  ++UseCount;
}

void LibraryFinalize() {
  std::lock_guard Lock(StartupLock());
  if (UseCount == 0) return;
  if (--UseCount > 0) return;
  if (std::exception_ptr Failure = StopUnits(IELibraryUnitCount)) std::rethrow_exception(Failure);
}

void IEDefsInitialize() {
  IEGrayWeightR = 21;
  IEGrayWeightG = 71;
  IEGrayWeightB = 8;
  IEDialogBackgroundStyle = 0;
  DefaultDpiX = 300;
  DefaultDpiY = 300;
}

void IEDefsFinalize() {}

void IEUtilsInitialize() {
  IEProcessorCoresCache = -1;
  IEWindowsVersion = IEGetWindowsVersion();
  IEUseUnicodeFileAPI = IEWindowsVersion > 2;
  IEWordsInitialize();
  IEMinFileSizeOverride = -1;
  IEAllowFileFallback = true;
  IEAllowChunks = true;
  IEBlendCosineTable();
}

void IEUtilsFinalize() {}
