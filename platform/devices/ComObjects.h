#pragma once
// The component-object basics the device manager's interfaces use: GUIDs, reference-counted
// interfaces, a counting base class, a holding pointer, and the per-thread OLE start-up.
//
// An interface is released with its last Release; a holder (TComPtr) owns one reference.
// Reference counts are atomic, so references may be taken and dropped on any thread.
#include <atomic>
#include <cstdint>
#include <cstring>
#include <utility>

#include "platform/system/Environment.h"  // HRESULT, S_OK, S_FALSE, E_FAIL
#include "platform/system/Types.h"
#include "platform/system/WinTypes.h"

constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003u);
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);
constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002u);
constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001u);
constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
constexpr HRESULT REGDB_E_CLASSNOTREG = static_cast<HRESULT>(0x80040154u);  // no such server
constexpr bool SUCCEEDED(HRESULT Result) {
  return Result >= 0;
}
constexpr bool FAILED(HRESULT Result) {
  return Result < 0;
}

struct GUID {
  std::uint32_t Data1;
  std::uint16_t Data2, Data3;
  std::uint8_t Data4[8];
};
inline bool IsEqualGUID(const GUID& A, const GUID& B) {
  return std::memcmp(&A, &B, sizeof(GUID)) == 0;
}

class IUnknown {
 public:
  // Object := the same object as another of its interfaces, with a reference added; objects
  // that offer only the interface they were handed out as keep this answer.
  virtual HRESULT QueryInterface(const GUID& /*Iid*/, void** Object) {
    if (Object != nullptr) *Object = nullptr;
    return E_NOINTERFACE;
  }
  virtual ULONG AddRef() = 0;
  // Frees the object when the count reaches 0.
  virtual ULONG Release() = 0;

 protected:
  virtual ~IUnknown() = default;
};

// Counts the references of an object implementing Interface; created with none, freed by the
// Release that drops the last.
template <class Interface>
class TInterfacedObject : public Interface {
 public:
  ULONG AddRef() override { return ++FRefCount; }
  ULONG Release() override {
    const ULONG Left = --FRefCount;
    if (Left == 0) delete this;
    return Left;
  }

 private:
  std::atomic<ULONG> FRefCount{0};
};

// Holds one reference (nullptr: none).
template <class T>
class TComPtr {
 public:
  TComPtr() = default;
  TComPtr(T* Object) : FObject(Object) {
    if (FObject) FObject->AddRef();
  }
  TComPtr(const TComPtr& Other) : TComPtr(Other.FObject) {}
  TComPtr& operator=(const TComPtr& Other) {
    TComPtr(Other).Swap(*this);
    return *this;
  }
  ~TComPtr() { Reset(); }
  void Reset() {
    T* Old = FObject;
    FObject = nullptr;
    if (Old) Old->Release();
  }
  // Takes over a reference handed out by a call's out parameter.
  static TComPtr Attach(T* Object) {
    TComPtr Held;
    Held.FObject = Object;
    return Held;
  }
  T* Get() const { return FObject; }
  T* operator->() const { return FObject; }
  explicit operator bool() const { return FObject != nullptr; }

 private:
  void Swap(TComPtr& Other) { std::swap(FObject, Other.FObject); }
  T* FObject = nullptr;
};

// Per thread: S_OK for the first start, S_FALSE when the thread has started already; each
// start is balanced by one OleUninitialize.
HRESULT OleInitialize(void* pvReserved);
void OleUninitialize();
