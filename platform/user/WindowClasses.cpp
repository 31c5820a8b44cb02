// Window classes: one process-wide table; there is one module, so the instance handle given
// to the class calls is kept but never distinguishes classes.
#include <cstring>
#include <memory>

#include "platform/system/Strings.h"
#include "platform/user/WindowInternals.h"
#include "platform/user/Windows.h"

namespace {

struct TClassTable {
  std::vector<std::unique_ptr<TWindowClass>> Classes;
  ATOM NextAtom = 0xC000;
};

TClassTable& Table() {
  static TClassTable* T = new TClassTable;
  return *T;
}

bool IsAtomName(LPCSTR Name) {
  return IS_INTRESOURCE(Name);
}

}  // namespace

TWindowClass* FindWindowClass(LPCSTR Name) {
  if (Name == nullptr) return nullptr;
  for (auto& C : Table().Classes) {
    if (IsAtomName(Name)) {
      if (C->Atom == static_cast<ATOM>(reinterpret_cast<std::uintptr_t>(Name))) return C.get();
    } else if (SameText(C->Name, Name)) {
      return C.get();
    }
  }
  return nullptr;
}

ATOM RegisterClassEx(const WNDCLASSEX* WC) {
  if (WC == nullptr || WC->lpszClassName == nullptr || IsAtomName(WC->lpszClassName) ||
      WC->lpszClassName[0] == 0 || WC->cbClsExtra < 0 || WC->cbWndExtra < 0 || WC->cbClsExtra > 40000 ||
      WC->cbWndExtra > 40000) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (FindWindowClass(WC->lpszClassName) != nullptr) {
    SetLastError(ERROR_CLASS_ALREADY_EXISTS);
    return 0;
  }
  auto C = std::make_unique<TWindowClass>();
  C->Atom = Table().NextAtom++;
  C->Name = WC->lpszClassName;
  C->Style = WC->style;
  C->WndProc = WC->lpfnWndProc;
  C->WndExtra = WC->cbWndExtra;
  C->Instance = WC->hInstance;
  C->Icon = WC->hIcon;
  C->IconSm = WC->hIconSm;
  C->Cursor = WC->hCursor;
  C->Background = WC->hbrBackground;
  if (WC->lpszMenuName != nullptr && !IS_INTRESOURCE(WC->lpszMenuName)) {
    C->MenuNameText = WC->lpszMenuName;
    C->MenuName = C->MenuNameText.c_str();
  } else {
    C->MenuName = WC->lpszMenuName;
  }
  C->Extra.assign(static_cast<std::size_t>(WC->cbClsExtra), 0);
  const ATOM Atom = C->Atom;
  Table().Classes.push_back(std::move(C));
  return Atom;
}

ATOM RegisterClass(const WNDCLASS* WC) {
  if (WC == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  WNDCLASSEX Ex;
  Ex.style = WC->style;
  Ex.lpfnWndProc = WC->lpfnWndProc;
  Ex.cbClsExtra = WC->cbClsExtra;
  Ex.cbWndExtra = WC->cbWndExtra;
  Ex.hInstance = WC->hInstance;
  Ex.hIcon = WC->hIcon;
  Ex.hCursor = WC->hCursor;
  Ex.hbrBackground = WC->hbrBackground;
  Ex.lpszMenuName = WC->lpszMenuName;
  Ex.lpszClassName = WC->lpszClassName;
  return RegisterClassEx(&Ex);
}

BOOL UnregisterClass(LPCSTR ClassName, HINSTANCE) {
  TWindowClass* C = FindWindowClass(ClassName);
  if (C == nullptr) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  if (C->Windows > 0) {
    SetLastError(ERROR_CLASS_HAS_WINDOWS);
    return FALSE;
  }
  std::erase_if(Table().Classes, [C](const std::unique_ptr<TWindowClass>& P) { return P.get() == C; });
  return TRUE;
}

BOOL GetClassInfoEx(HINSTANCE, LPCSTR ClassName, WNDCLASSEX* WC) {
  TWindowClass* C = FindWindowClass(ClassName);
  if (C == nullptr || WC == nullptr) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  WC->style = C->Style;
  WC->lpfnWndProc = C->WndProc;
  WC->cbClsExtra = static_cast<Integer>(C->Extra.size());
  WC->cbWndExtra = C->WndExtra;
  WC->hInstance = C->Instance;
  WC->hIcon = C->Icon;
  WC->hIconSm = C->IconSm;
  WC->hCursor = C->Cursor;
  WC->hbrBackground = C->Background;
  WC->lpszMenuName = C->MenuName;
  WC->lpszClassName = C->Name.c_str();
  return C->Atom;
}

BOOL GetClassInfo(HINSTANCE Instance, LPCSTR ClassName, WNDCLASS* WC) {
  WNDCLASSEX Ex;
  if (WC == nullptr || !GetClassInfoEx(Instance, ClassName, &Ex)) return FALSE;
  WC->style = Ex.style;
  WC->lpfnWndProc = Ex.lpfnWndProc;
  WC->cbClsExtra = Ex.cbClsExtra;
  WC->cbWndExtra = Ex.cbWndExtra;
  WC->hInstance = Ex.hInstance;
  WC->hIcon = Ex.hIcon;
  WC->hCursor = Ex.hCursor;
  WC->hbrBackground = Ex.hbrBackground;
  WC->lpszMenuName = Ex.lpszMenuName;
  WC->lpszClassName = Ex.lpszClassName;
  return TRUE;
}

ULONG_PTR GetClassLongPtr(HWND Wnd, Integer Index) {
  TWindow* W = WindowFromHandle(Wnd);
  if (W == nullptr) return 0;
  TWindowClass* C = W->Class;
  switch (Index) {
    case GCL_STYLE:
      return C->Style;
    case GCLP_WNDPROC:
      return reinterpret_cast<ULONG_PTR>(C->WndProc);
    case GCLP_HBRBACKGROUND:
      return reinterpret_cast<ULONG_PTR>(C->Background);
    case GCLP_HCURSOR:
      return reinterpret_cast<ULONG_PTR>(C->Cursor);
    case GCLP_HICON:
      return reinterpret_cast<ULONG_PTR>(C->Icon);
    case GCLP_HICONSM:
      return reinterpret_cast<ULONG_PTR>(C->IconSm);
    case GCLP_HMODULE:
      return reinterpret_cast<ULONG_PTR>(C->Instance);
    case GCL_CBWNDEXTRA:
      return static_cast<ULONG_PTR>(C->WndExtra);
    case GCL_CBCLSEXTRA:
      return C->Extra.size();
    case GCW_ATOM:
      return C->Atom;
    case GCLP_MENUNAME:
      return reinterpret_cast<ULONG_PTR>(C->MenuName);
    default: {
      // A LONG_PTR where 8 bytes fit, else 32 bits.
      ULONG_PTR V;
      if (ReadExtra(C->Extra, Index, V)) return V;
      DWORD V32;
      if (ReadExtra(C->Extra, Index, V32)) return V32;
      SetLastError(ERROR_INVALID_INDEX);
      return 0;
    }
  }
}

ULONG_PTR SetClassLongPtr(HWND Wnd, Integer Index, LONG_PTR New) {
  TWindow* W = WindowFromHandle(Wnd);
  if (W == nullptr) return 0;
  TWindowClass* C = W->Class;
  const ULONG_PTR Old = GetClassLongPtr(Wnd, Index);
  switch (Index) {
    case GCL_STYLE:
      C->Style = static_cast<UINT>(New);
      break;
    case GCLP_WNDPROC:
      C->WndProc = reinterpret_cast<WNDPROC>(New);
      break;
    case GCLP_HBRBACKGROUND:
      C->Background = reinterpret_cast<HBRUSH>(New);
      break;
    case GCLP_HCURSOR:
      C->Cursor = reinterpret_cast<HCURSOR>(New);
      break;
    case GCLP_HICON:
      C->Icon = reinterpret_cast<HICON>(New);
      break;
    case GCLP_HICONSM:
      C->IconSm = reinterpret_cast<HICON>(New);
      break;
    case GCLP_HMODULE:
      C->Instance = reinterpret_cast<HINSTANCE>(New);
      break;
    case GCL_CBWNDEXTRA:
      if (New < 0) return 0;
      C->WndExtra = static_cast<Integer>(New);  // windows created from now on
      break;
    case GCL_CBCLSEXTRA:
    case GCW_ATOM:
      SetLastError(ERROR_INVALID_INDEX);
      return 0;
    case GCLP_MENUNAME:
      if (New != 0 && !IS_INTRESOURCE(reinterpret_cast<LPCSTR>(New))) {
        C->MenuNameText = reinterpret_cast<LPCSTR>(New);
        C->MenuName = C->MenuNameText.c_str();
      } else {
        C->MenuName = reinterpret_cast<LPCSTR>(New);
      }
      break;
    default:
      if (!WriteExtra(C->Extra, Index, New) && !WriteExtra(C->Extra, Index, static_cast<DWORD>(New))) {
        SetLastError(ERROR_INVALID_INDEX);
        return 0;
      }
  }
  return Old;
}

Integer GetClassName(HWND Wnd, char* Buffer, Integer MaxCount) {
  TWindow* W = WindowFromHandle(Wnd);
  if (W == nullptr || Buffer == nullptr || MaxCount <= 0) return 0;
  const Integer N = std::min<Integer>(static_cast<Integer>(W->Class->Name.size()), MaxCount - 1);
  std::memcpy(Buffer, W->Class->Name.data(), static_cast<std::size_t>(N));
  Buffer[N] = 0;
  return N;
}

std::string GetClassNameString(HWND Wnd) {
  TWindow* W = WindowFromHandle(Wnd);
  return W != nullptr ? W->Class->Name : std::string();
}
