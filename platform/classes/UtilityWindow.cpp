#include "platform/classes/UtilityWindow.h"

#include "platform/system/Exceptions.h"
#include "platform/user/Windows.h"
#include "platform/user/WndProc.h"

namespace {

constexpr const char* UtilWindowClass = "TPUtilWindow";

void RegisterUtilClass() {
  WNDCLASS Class;
  if (GetClassInfo(HInstance, UtilWindowClass, &Class)) return;
  Class = WNDCLASS();
  Class.lpfnWndProc = DefWindowProcEntry();
  Class.hInstance = HInstance;
  Class.lpszClassName = UtilWindowClass;
  if (RegisterClass(&Class) == 0) throw EOutOfResources("Cannot register the utility window class");
}

}  // namespace

HWND AllocateHWnd(TDelegate<void(TMessage&)> Method) {
  RegisterUtilClass();
  const HWND Wnd = CreateWindowEx(WS_EX_TOOLWINDOW, UtilWindowClass, "", WS_POPUP, 0, 0, 0, 0, nullptr,
                                  nullptr, HInstance, nullptr);
  if (Wnd == nullptr) throw EOutOfResources("Error creating window");
  if (Method) SetWindowLongPtr(Wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(MakeObjectInstance(Method)));
  return Wnd;
}

void DeallocateHWnd(HWND Wnd) {
  if (Wnd == nullptr) return;
  const auto Proc = reinterpret_cast<WNDPROC>(GetWindowLongPtr(Wnd, GWLP_WNDPROC));
  DestroyWindow(Wnd);
  if (Proc != DefWindowProcEntry()) FreeObjectInstance(Proc);
}
