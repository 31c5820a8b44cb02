#include "platform/user/WndProc.h"

#include <map>
#include <memory>
#include <mutex>

namespace {

class TFunctionProc final : public TWndProcEntry {
 public:
  explicit TFunctionProc(TWndProcFunction Fn) : FFn(Fn) {}
  LRESULT Call(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) const override {
    return FFn(Wnd, Msg, WParam, LParam);
  }

 private:
  TWndProcFunction FFn;
};

class TObjectProc final : public TWndProcEntry {
 public:
  explicit TObjectProc(TDelegate<void(TMessage&)> Method) : FMethod(Method) {}
  LRESULT Call(HWND, UINT Msg, WPARAM WParam, LPARAM LParam) const override {
    TMessage M{Msg, WParam, LParam, 0};
    FMethod(M);
    return M.Result;
  }

 private:
  TDelegate<void(TMessage&)> FMethod;
};

struct TFunctionTable {
  std::mutex Lock;
  std::map<TWndProcFunction, std::unique_ptr<TFunctionProc>> Entries;
};

// Never destroyed: windows may outlive static destruction order.
TFunctionTable& Functions() {
  static TFunctionTable* Table = new TFunctionTable;
  return *Table;
}

}  // namespace

WNDPROC MakeWndProc(TWndProcFunction Fn) {
  if (Fn == nullptr) return nullptr;
  TFunctionTable& T = Functions();
  std::lock_guard Guard(T.Lock);
  auto& Slot = T.Entries[Fn];
  if (!Slot) Slot = std::make_unique<TFunctionProc>(Fn);
  return Slot.get();
}

WNDPROC MakeObjectInstance(TDelegate<void(TMessage&)> Method) {
  return new TObjectProc(Method);
}

void FreeObjectInstance(WNDPROC Proc) {
  // Only object instances are freed; function entries are shared and kept.
  if (auto* P = dynamic_cast<const TObjectProc*>(Proc)) delete P;
}

LRESULT CallWindowProc(WNDPROC Proc, HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (Proc == nullptr) return 0;
  return Proc->Call(Wnd, Msg, WParam, LParam);
}

WNDPROC DefWindowProcEntry() {
  static const WNDPROC Entry = MakeWndProc(&DefWindowProc);
  return Entry;
}
