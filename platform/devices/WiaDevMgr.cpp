// The device manager, its event registrations and the watch that rescans the device list.
#include "platform/devices/WiaDevMgr.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

const GUID WIA_EVENT_TREE_UPDATED = {
    0xc9859b91, 0x4ab2, 0x4cd6, {0xa1, 0xfc, 0x58, 0x2e, 0xec, 0x55, 0xe5, 0x85}};
const GUID WIA_EVENT_ITEM_CREATED = {
    0x4c8f4ef5, 0xe14f, 0x11d2, {0xb3, 0x26, 0x00, 0xc0, 0x4f, 0x68, 0xce, 0x61}};
const GUID WIA_EVENT_ITEM_DELETED = {
    0x1d22a559, 0xe14f, 0x11d2, {0xb3, 0x26, 0x00, 0xc0, 0x4f, 0x68, 0xce, 0x61}};

namespace {

class TWiaDevMgr;
class TWiaRegistration;

// Everything shared between the managers, their registrations and the watch thread. The lock
// is held while events are delivered, so a released registration hears nothing afterwards;
// it is recursive because a callback may release registrations or managers.
struct TDeviceWatch {
  std::recursive_mutex Lock;
  std::condition_variable_any Wake;
  std::vector<TWiaDevMgr*> Managers;
  std::vector<std::u16string> Known;
  TWiaDeviceLister Lister = WiaSaneDevices;
  DWORD Interval = WiaDefaultRescanInterval;
  std::thread Thread;
  bool Stop = false;

  ~TDeviceWatch() {
    {
      std::lock_guard Guard(Lock);
      Stop = true;
    }
    Wake.notify_all();
    if (Thread.joinable()) Thread.join();
  }
  void Run();
  void StartThread();
  void Rescan();
  void Raise(const GUID& Event, const std::u16string& Device);
};

TDeviceWatch& Watch() {
  static TDeviceWatch Instance;
  return Instance;
}

class TWiaDevMgr : public TInterfacedObject<IWiaDevMgr> {
 public:
  TWiaDevMgr() { Watch().Managers.push_back(this); }
  ~TWiaDevMgr() override {
    std::lock_guard Guard(Watch().Lock);
    std::erase(Watch().Managers, this);
  }
  HRESULT RegisterEventCallbackInterface(LONG lFlags, const char16_t* bstrDeviceID, const GUID* pEventGUID,
                                         IWiaEventCallback* pIWiaEventCallback,
                                         IUnknown** pEventObject) override;

  std::vector<TWiaRegistration*> Registrations;  // each removes itself when freed
};

class TWiaRegistration : public TInterfacedObject<IUnknown> {
 public:
  TWiaRegistration(TWiaDevMgr* Manager, const char16_t* Device, const GUID& Event,
                   IWiaEventCallback* Callback)
      : Manager(Manager),
        AnyDevice(Device == nullptr),
        Device(Device ? Device : u""),
        Event(Event),
        Callback(Callback) {
    Manager->Registrations.push_back(this);
  }
  ~TWiaRegistration() override {
    std::lock_guard Guard(Watch().Lock);
    std::erase(Manager->Registrations, this);
  }
  bool Wants(const GUID& Raised, const std::u16string& RaisedDevice) const {
    return IsEqualGUID(Event, Raised) && (AnyDevice || Device == RaisedDevice);
  }

  TComPtr<TWiaDevMgr> Manager;  // lives as long as its registrations
  bool AnyDevice;
  std::u16string Device;
  GUID Event;
  TComPtr<IWiaEventCallback> Callback;
};

HRESULT TWiaDevMgr::RegisterEventCallbackInterface(LONG lFlags, const char16_t* bstrDeviceID,
                                                   const GUID* pEventGUID,
                                                   IWiaEventCallback* pIWiaEventCallback,
                                                   IUnknown** pEventObject) {
  if (!pEventObject) return E_POINTER;
  *pEventObject = nullptr;
  if (!pEventGUID || !pIWiaEventCallback) return E_POINTER;
  if (lFlags != 0) return E_INVALIDARG;
  std::lock_guard Guard(Watch().Lock);
  auto* Registration = new TWiaRegistration(this, bstrDeviceID, *pEventGUID, pIWiaEventCallback);
  Registration->AddRef();
  *pEventObject = Registration;
  return S_OK;
}

void TDeviceWatch::Raise(const GUID& Event, const std::u16string& Device) {
  // Held for the call: a callback may release its own registration.
  std::vector<TComPtr<TWiaRegistration>> Targets;
  for (TWiaDevMgr* Manager : Managers)
    for (TWiaRegistration* Registration : Manager->Registrations)
      if (Registration->Wants(Event, Device)) Targets.emplace_back(Registration);
  for (const TComPtr<TWiaRegistration>& Target : Targets) {
    const bool StillRegistered = std::any_of(Managers.begin(), Managers.end(), [&](TWiaDevMgr* Manager) {
      return std::find(Manager->Registrations.begin(), Manager->Registrations.end(), Target.Get()) !=
             Manager->Registrations.end();
    });
    ULONG EventType = 0;
    if (StillRegistered)
      Target->Callback->ImageEventCallback(&Event, u"", Device.c_str(), u"", StiDeviceTypeDefault, u"",
                                           &EventType, 0);
  }
}

void TDeviceWatch::Rescan() {
  std::lock_guard Guard(Lock);
  std::vector<std::u16string> Now;
  if (Managers.empty() || !Lister(Now)) return;
  const std::vector<std::u16string> Before = std::exchange(Known, Now);
  const auto Missing = [](const std::vector<std::u16string>& List, const std::u16string& Device) {
    return std::find(List.begin(), List.end(), Device) == List.end();
  };
  bool Changed = false;
  for (const std::u16string& Device : Now)
    if (Missing(Before, Device)) {
      Changed = true;
      Raise(WIA_EVENT_ITEM_CREATED, Device);
    }
  for (const std::u16string& Device : Before)
    if (Missing(Now, Device)) {
      Changed = true;
      Raise(WIA_EVENT_ITEM_DELETED, Device);
    }
  if (Changed) Raise(WIA_EVENT_TREE_UPDATED, u"");
}

void TDeviceWatch::Run() {
  std::unique_lock Guard(Lock);
  while (!Stop) {
    if (Interval == 0 || Managers.empty()) {
      Wake.wait(Guard);
      continue;
    }
    if (Wake.wait_for(Guard, std::chrono::milliseconds(Interval)) == std::cv_status::timeout) Rescan();
  }
}

void TDeviceWatch::StartThread() {
  if (!Thread.joinable() && Interval > 0) Thread = std::thread([this] { Run(); });
  Wake.notify_all();
}

}  // namespace

HRESULT WiaCreateDeviceManager(IWiaDevMgr** ppDevMgr) {
  if (!ppDevMgr) return E_POINTER;
  *ppDevMgr = nullptr;
  TDeviceWatch& Shared = Watch();
  std::lock_guard Guard(Shared.Lock);
  std::vector<std::u16string> Devices;
  if (!Shared.Lister(Devices)) return REGDB_E_CLASSNOTREG;
  // The first manager takes the list as it is: only later changes are events.
  if (Shared.Managers.empty()) Shared.Known = Devices;
  auto* Manager = new TWiaDevMgr;
  Manager->AddRef();
  *ppDevMgr = Manager;
  Shared.StartThread();
  return S_OK;
}

void WiaRescanDevices() {
  Watch().Rescan();
}

void WiaSetRescanInterval(DWORD Milliseconds) {
  TDeviceWatch& Shared = Watch();
  std::lock_guard Guard(Shared.Lock);
  Shared.Interval = Milliseconds;
  if (!Shared.Managers.empty()) Shared.StartThread();
  Shared.Wake.notify_all();
}

void WiaSetDeviceLister(TWiaDeviceLister Lister) {
  std::lock_guard Guard(Watch().Lock);
  Watch().Lister = Lister ? Lister : WiaSaneDevices;
}
