#pragma once
// Runs a cleanup when the scope ends, however it ends (return or exception): the one place
// for the "catch (...) { undo; throw; }" pattern.
//
//   auto Restore = ScopeExit([&] { Busy = WasBusy; });
//
// Release() drops the cleanup (the work was handed on or already undone).
#include <exception>
#include <utility>

template <class F>
class TScopeExit {
 public:
  explicit TScopeExit(F Cleanup) : FCleanup(std::move(Cleanup)) {}
  // A cleanup that throws on the normal way out passes its exception on, as the
  // hand-written "cleanup after the try" did. While an exception unwinds the scope, a second
  // one from the cleanup would end the program: the first goes on instead.
  ~TScopeExit() noexcept(false) {
    if (!FActive) return;
    if (std::uncaught_exceptions() == FUnwinding) {
      FCleanup();
      return;
    }
    try {
      FCleanup();
    } catch (...) {
    }
  }
  TScopeExit(const TScopeExit&) = delete;
  TScopeExit& operator=(const TScopeExit&) = delete;
  void Release() { FActive = false; }

 private:
  F FCleanup;
  bool FActive = true;
  int FUnwinding = std::uncaught_exceptions();
};

template <class F>
[[nodiscard]] TScopeExit<F> ScopeExit(F Cleanup) {
  return TScopeExit<F>(std::move(Cleanup));
}
