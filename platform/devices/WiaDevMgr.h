#pragma once
// The device manager for scanners and cameras, over SANE: callers register for device events
// and hear when devices appear or disappear.
//
// The manager keeps the list of devices SANE knows (local devices only). A rescan compares a
// fresh list with it: each new device raises WIA_EVENT_ITEM_CREATED, each one gone
// WIA_EVENT_ITEM_DELETED, and any change then WIA_EVENT_TREE_UPDATED. Rescans run on a watch
// thread every WiaRescanInterval milliseconds while a manager exists, and at once through
// WiaRescanDevices (which any thread may call). Events are delivered on the rescanning
// thread; once a registration is released no further event reaches its callback.
#include <string>
#include <vector>

#include "platform/devices/ComObjects.h"

// {c9859b91-4ab2-4cd6-a1fc-582eec55e585} and so on: the three device events.
extern const GUID WIA_EVENT_TREE_UPDATED;
extern const GUID WIA_EVENT_ITEM_CREATED;
extern const GUID WIA_EVENT_ITEM_DELETED;

constexpr DWORD StiDeviceTypeDefault = 0;

class IWiaEventCallback : public IUnknown {
 public:
  // The device ID is SANE's device name; the other texts are empty, the event type 0.
  virtual HRESULT ImageEventCallback(const GUID* pEventGUID, const char16_t* bstrEventDescription,
                                     const char16_t* bstrDeviceID, const char16_t* bstrDeviceDescription,
                                     DWORD dwDeviceType, const char16_t* bstrFullItemName,
                                     ULONG* pulEventType, ULONG ulReserved) = 0;
};

class IWiaDevMgr : public IUnknown {
 public:
  // lFlags 0; bstrDeviceID nullptr: any device. *pEventObject: the registration (one
  // reference), which keeps the callback until its last Release.
  virtual HRESULT RegisterEventCallbackInterface(LONG lFlags, const char16_t* bstrDeviceID,
                                                 const GUID* pEventGUID,
                                                 IWiaEventCallback* pIWiaEventCallback,
                                                 IUnknown** pEventObject) = 0;
};

// A new device manager (one reference) in *ppDevMgr; REGDB_E_CLASSNOTREG and nullptr when
// SANE cannot be started.
HRESULT WiaCreateDeviceManager(IWiaDevMgr** ppDevMgr);

// Rescans now (see above); nothing while no manager exists.
void WiaRescanDevices();
// The watch thread's period; 0 stops it (rescans then only through WiaRescanDevices).
void WiaSetRescanInterval(DWORD Milliseconds);
constexpr DWORD WiaDefaultRescanInterval = 5000;

// Where device lists come from: SANE unless replaced; false when no list can be had.
using TWiaDeviceLister = bool (*)(std::vector<std::u16string>& Devices);
bool WiaSaneDevices(std::vector<std::u16string>& Devices);
// nullptr restores SANE.
void WiaSetDeviceLister(TWiaDeviceLister Lister);
