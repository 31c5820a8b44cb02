#pragma once
// Runs a cleanup when the scope ends, however it ends (return or exception): the one place
// for the "catch (...) { undo; throw; }" pattern.
//
//   auto Restore = ScopeExit([&] { Busy = WasBusy; });
//
// Release() drops the cleanup (the work was handed on or already undone).
#include <utility>

template <class F>
class TScopeExit {
 public:
  explicit TScopeExit(F Cleanup) : FCleanup(std::move(Cleanup)) {}
  // A cleanup that throws on the normal way out passes its exception on, as the
  // hand-written "cleanup after the try" did.
  ~TScopeExit() noexcept(false) {
    if (FActive) FCleanup();
  }
  TScopeExit(const TScopeExit&) = delete;
  TScopeExit& operator=(const TScopeExit&) = delete;
  void Release() { FActive = false; }

 private:
  F FCleanup;
  bool FActive = true;
};

template <class F>
[[nodiscard]] TScopeExit<F> ScopeExit(F Cleanup) {
  return TScopeExit<F>(std::move(Cleanup));
}
