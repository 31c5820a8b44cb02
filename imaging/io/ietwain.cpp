#include "imaging/io/ietwain.h"

#include <dlfcn.h>

#include <cstdio>
#include <mutex>

#include "imaging/io/ieiolibrary.h"
#include "platform/system/DateTime.h"
#include "platform/user/Windows.h"

namespace {

std::mutex LogLock;
std::FILE* LogFile = nullptr;  // open from one line to the next

}  // namespace

void TWainLog(const std::string& Message) {
  if (IETWainLogFile.empty()) return;
  std::lock_guard Guard(LogLock);
  // Reopened for each line, so a log file renamed or named anew is followed.
  if (LogFile) std::fclose(LogFile);
  LogFile = std::fopen(IETWainLogFile.c_str(), "a");
  if (!LogFile) return;
  const TDateTime Stamp = Now();
  std::fprintf(LogFile, "%s %s : %s\n", DateToStr(Stamp).c_str(), TimeToStr(Stamp).c_str(), Message.c_str());
  std::fflush(LogFile);
}

void TWainDestroyProxyWindow(TIETWainState& State) {
  TWainLog("DestroyProxyWindow");
  if (IsWindow(State.ProxyWindow)) DestroyWindow(State.ProxyWindow);
  State.ProxyWindow = nullptr;
  TWainLog("  DestroyProxyWindow : destroyed");
}

void TWainUnloadSourceManager(TIETWainState& State) {
  TWainLog("IETW_UnloadSourceManager");
  if (State.SourceManagerLibrary) dlclose(State.SourceManagerLibrary);
  State.SourceManagerLibrary = nullptr;
  State.DSMEntry = nullptr;
  State.TWainState = 0;
  State.SourceManagerLoaded = false;
  TWainLog("  IETW_UnloadSourceManager : Unload OK");
}

void TWainRelease(TIETWainState& State, HWND /*Window*/) {
  if (State.ProxyWindow) TWainDestroyProxyWindow(State);
  if (State.SourceManagerLoaded) TWainUnloadSourceManager(State);
}
