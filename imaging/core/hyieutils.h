#pragma once
// Library start-up and shut-down, the library-wide settings the bitmap core reads, process
// facts and the thread pool.
//
// The program's main (and each test fixture that needs the library started) calls
// LibraryInitialize once before it uses the library and LibraryFinalize when done; nothing
// starts the library from a static initialiser.
#include <memory>
#include <vector>

#include "platform/system/Object.h"
#include "platform/system/Processors.h"
#include "platform/system/SystemVersion.h"
#include "platform/system/Types.h"

class TThread;

// Picture size in bytes from which new bitmaps go to a temporary file; -1 lets each bitmap
// derive it from the memory available.
extern Int64 IEMinFileSizeOverride;
// A bitmap whose memory allocation fails may move to a temporary file.
extern bool IEAllowFileFallback;
// A large bitmap may be held in several memory chunks.
extern bool IEAllowChunks;
// What CountProcessorCores found; -1 until it is asked.
extern Integer IEProcessorCoresCache;
// IEGetWindowsVersion's code, taken at start-up.
extern Byte IEWindowsVersion;
// The wide-character file calls are used (every system from code 3 on).
extern bool IEUseUnicodeFileAPI;
// Background of the library's dialogs: 0 none, 1 grey stripes, 2 grey noise.
extern Byte IEDialogBackgroundStyle;
// Resolution in dots per inch for pictures whose file gives none.
extern Integer DefaultDpiX;
extern Integer DefaultDpiY;

// The units of the imaging library, in the order they start; they stop in the reverse one.
enum TIELibraryUnit : Integer {
  iluGdiPlus,
  iluDefs,
  iluUtils,
  iluJpeg2000,
  iluVect,
  iluIOLibrary,
  iluProc,
  iluView,
  iluCCITT,
  iluTextControl,
  iluPresetImages,
};
constexpr Integer IELibraryUnitCount = 11;

using TIEUnitHook = void (*)();
struct TIELibraryHooks {
  TIEUnitHook Initialize = nullptr;  // nullptr: nothing to do
  TIEUnitHook Finalize = nullptr;
  constexpr bool operator==(const TIELibraryHooks&) const = default;
};

// Each library above the core puts its start-up and shut-down hooks into its unit's slot
// before the first LibraryInitialize; the previous pair is returned. The core fills the slots
// of the shared definitions (IEDefsInitialize) and of its own unit (IEUtilsInitialize); the
// other slots stay empty until their library registers. A library that is already started
// stops with the hooks it started with.
TIELibraryHooks IERegisterLibraryHooks(TIELibraryUnit Unit, TIELibraryHooks Hooks);
TIELibraryHooks IEGetLibraryHooks(TIELibraryUnit Unit);

// Only the first call starts the units (in slot order); later calls count. When a hook
// raises, the units already started stop again, the count stays and the exception goes on.
void LibraryInitialize();
// The call that matches the first LibraryInitialize stops the units in reverse order (every
// one, even when a hook raises; the first exception goes on afterwards). Without a start it
// does nothing.
void LibraryFinalize();

// The shared definitions: grey weights 21, 71, 8 per cent, dialog background none, 300 dpi.
void IEDefsInitialize();
void IEDefsFinalize();
// This unit's settings above, in the order they are listed, and the interpolation blend's
// cosine table.
void IEUtilsInitialize();
void IEUtilsFinalize();

// Version codes: 0..2 the 9x family (4.0, 4.10, 4.90), 3..8 the NT family (4.0, 5.0, 5.1,
// 5.2, 6.0, 6.1), 9 anything else or a failed query.
Byte IEGetWindowsVersion();
Byte IEWindowsVersionCode(const OSVERSIONINFO& Info);

// The processor-information call, nullptr where the system has none.
using TIEProcessorInformationQuery = BOOL (*)(SYSTEM_LOGICAL_PROCESSOR_INFORMATION*, DWORD*);
extern TIEProcessorInformationQuery IEProcessorInformationQuery;
// The logical processors this process may run on (every thread of a core counts), at least
// 1; asked once, then taken from IEProcessorCoresCache.
Integer CountProcessorCores();
// The logical processors the core records of a processor-information answer describe.
Integer IECountLogicalProcessors(const SYSTEM_LOGICAL_PROCESSOR_INFORMATION* Records, Integer Count);

bool IECpuHasMMX();
bool IEIsRemoteSession();

// Runs worker threads created suspended and waits for them. The pool owns each thread from
// Add until WaitForAll frees it. Add and WaitForAll belong to the one thread that owns the
// pool; the workers share nothing through it.
class TIEThreadPool : public TObject {
 public:
  TIEThreadPool() = default;
  ~TIEThreadPool() override;
  // Takes the thread and starts it.
  void Add(TThread* Thread);
  // Waits for each thread in the order added and frees it; the pool is empty afterwards.
  void WaitForAll();
  Integer GetCount() const { return static_cast<Integer>(FThreads.size()); }

 private:
  std::vector<std::unique_ptr<TThread>> FThreads;
};
