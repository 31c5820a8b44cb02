#pragma once
// The scanner and camera object a TZezudIdIO makes on request: it connects to the platform's
// device manager and hears its device events. The program acquires nothing from devices; an
// acquisition would hand each picture to TZezudIdIO::AcquireBitmap and report progress through
// the progress callback.
#include <atomic>
#include <memory>
#include <vector>

#include "platform/devices/WiaDevMgr.h"
#include "platform/system/Delegates.h"
#include "platform/system/Object.h"
#include "platform/system/Types.h"

class TZezudIdIO;
class TIEWia;

// Hears one kind of device event for its owner. Owned by its registration, which the owner
// keeps; the owner forgets itself here before it goes.
class TWiaEventCallBack : public TInterfacedObject<IWiaEventCallback> {
 public:
  explicit TWiaEventCallBack(TIEWia* Owner) : FOwner(Owner) {}
  // Tree updated, item created and item deleted set the owner's LastDeviceEvent to 1, 2 or 3,
  // then fire its OnDeviceEvent; other events and a gone owner do nothing. Always S_OK.
  HRESULT ImageEventCallback(const GUID* pEventGUID, const char16_t* bstrEventDescription,
                             const char16_t* bstrDeviceID, const char16_t* bstrDeviceDescription,
                             DWORD dwDeviceType, const char16_t* bstrFullItemName, ULONG* pulEventType,
                             ULONG ulReserved) override;
  void ForgetOwner() { FOwner = nullptr; }

 private:
  std::atomic<TIEWia*> FOwner;
};

// Progress of an acquisition: the percentage; false stops it.
using TIEWiaProgress = TDelegate<bool(Integer Percent)>;

class TIEWia : public TObject {
 public:
  // Without a device manager (no device service) the object exists and hears nothing.
  explicit TIEWia(TZezudIdIO* IO);
  ~TIEWia() override;
  TIEWia(const TIEWia&) = delete;
  TIEWia& operator=(const TIEWia&) = delete;

  TZezudIdIO* GetIO() const { return FIO; }
  bool HasDeviceManager() const { return static_cast<bool>(FDevMgr); }
  TIEWiaProgress GetOnProgress() const { return FOnProgress; }
  void SetOnProgress(TIEWiaProgress Value) { FOnProgress = Value; }
  // 1 tree updated, 2 item created, 3 item deleted; 0 before the first event. Written on the
  // thread the device manager delivers on, before OnDeviceEvent fires there (Sender: this).
  Byte GetLastDeviceEvent() const { return FLastDeviceEvent; }
  TNotifyEvent GetOnDeviceEvent() const { return FOnDeviceEvent; }
  void SetOnDeviceEvent(TNotifyEvent Value) { FOnDeviceEvent = Value; }
  // Frees the device items (an acquisition's; none so far).
  void ClearItems();

 private:
  friend class TWiaEventCallBack;

  bool FOleInitialized = false;
  TComPtr<IWiaDevMgr> FDevMgr;
  std::vector<std::unique_ptr<TObject>> FItems;
  TZezudIdIO* FIO;
  TIEWiaProgress FOnProgress;
  TComPtr<IUnknown> FEventItemCreated, FEventItemDeleted, FEventTreeUpdated;
  std::vector<TWiaEventCallBack*> FCallbacks;  // kept alive by the registrations above
  std::atomic<Byte> FLastDeviceEvent{0};
  TNotifyEvent FOnDeviceEvent;
};
