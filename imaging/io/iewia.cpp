#include "imaging/io/iewia.h"

HRESULT TWiaEventCallBack::ImageEventCallback(const GUID* pEventGUID,
                                              const char16_t* /*bstrEventDescription*/,
                                              const char16_t* /*bstrDeviceID*/,
                                              const char16_t* /*bstrDeviceDescription*/,
                                              DWORD /*dwDeviceType*/, const char16_t* /*bstrFullItemName*/,
                                              ULONG* /*pulEventType*/, ULONG /*ulReserved*/) {
  TIEWia* Owner = FOwner;
  if (!Owner || !pEventGUID) return S_OK;
  Byte Event = 0;
  if (IsEqualGUID(*pEventGUID, WIA_EVENT_TREE_UPDATED))
    Event = 1;
  else if (IsEqualGUID(*pEventGUID, WIA_EVENT_ITEM_CREATED))
    Event = 2;
  else if (IsEqualGUID(*pEventGUID, WIA_EVENT_ITEM_DELETED))
    Event = 3;
  if (Event == 0) return S_OK;
  Owner->FLastDeviceEvent = Event;
  if (Owner->FOnDeviceEvent) Owner->FOnDeviceEvent(Owner);
  return S_OK;
}

TIEWia::TIEWia(TZezudIdIO* IO) : FIO(IO) {
  FOleInitialized = SUCCEEDED(OleInitialize(nullptr));
  IWiaDevMgr* DevMgr = nullptr;
  if (!SUCCEEDED(WiaCreateDeviceManager(&DevMgr))) return;
  FDevMgr = TComPtr<IWiaDevMgr>::Attach(DevMgr);
  for (auto [Event, Registration] : {std::pair{&WIA_EVENT_ITEM_CREATED, &FEventItemCreated},
                                     std::pair{&WIA_EVENT_ITEM_DELETED, &FEventItemDeleted},
                                     std::pair{&WIA_EVENT_TREE_UPDATED, &FEventTreeUpdated}}) {
    TComPtr<TWiaEventCallBack> Callback(new TWiaEventCallBack(this));
    IUnknown* Registered = nullptr;
    if (SUCCEEDED(FDevMgr->RegisterEventCallbackInterface(0, nullptr, Event, Callback.Get(), &Registered))) {
      *Registration = TComPtr<IUnknown>::Attach(Registered);
      FCallbacks.push_back(Callback.Get());
    }
  }
}

TIEWia::~TIEWia() {
  // An event on the device manager's thread may be on its way: it finds no owner.
  for (TWiaEventCallBack* Callback : FCallbacks) Callback->ForgetOwner();
  FCallbacks.clear();
  FEventItemCreated.Reset();
  FEventItemDeleted.Reset();
  FEventTreeUpdated.Reset();
  FDevMgr.Reset();
  ClearItems();
  if (FOleInitialized) OleUninitialize();
}

void TIEWia::ClearItems() {
  FItems.clear();
}
