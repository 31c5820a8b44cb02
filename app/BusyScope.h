#pragma once
// Long work marks the window busy while it runs: a build, a load, a pattern switch, a submit.
// Whatever asks for a build or a load meanwhile is refused. The mark goes back to what it was
// however the work ends, so an exception never leaves the window refusing all further work.
#include "app/Main.h"

class TBusyScope {
 public:
  TBusyScope() : FWasBusy(Busy) { Busy = 1; }
  ~TBusyScope() { Busy = FWasBusy; }
  TBusyScope(const TBusyScope&) = delete;
  TBusyScope& operator=(const TBusyScope&) = delete;

 private:
  Byte FWasBusy;
};
