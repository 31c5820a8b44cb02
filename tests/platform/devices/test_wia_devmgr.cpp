#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/devices/WiaDevMgr.h"
#include "tests/platform/devices/SaneTestBackend.h"

namespace {

// Writes down every event it hears as "created test:2"; counts its own life.
class TEventLog : public TInterfacedObject<IWiaEventCallback> {
 public:
  explicit TEventLog(std::vector<std::string>& Heard, int& Alive) : FHeard(Heard), FAlive(Alive) { ++FAlive; }
  ~TEventLog() override { --FAlive; }
  HRESULT ImageEventCallback(const GUID* Event, const char16_t*, const char16_t* Device, const char16_t*,
                             DWORD, const char16_t*, ULONG*, ULONG) override {
    const std::string Name = IsEqualGUID(*Event, WIA_EVENT_ITEM_CREATED)   ? "created"
                             : IsEqualGUID(*Event, WIA_EVENT_ITEM_DELETED) ? "deleted"
                             : IsEqualGUID(*Event, WIA_EVENT_TREE_UPDATED) ? "tree"
                                                                           : "other";
    const std::u16string Id(Device);
    FHeard.push_back(Name + (Id.empty() ? "" : " " + std::string(Id.begin(), Id.end())));
    return S_OK;
  }

 private:
  std::vector<std::string>& FHeard;
  int& FAlive;
};

class WiaDevMgr : public ::testing::Test {
 protected:
  WiaDevMgr() {
    WiaSetRescanInterval(0);  // rescans only when a test asks
    UseSaneTestBackend(2);
  }
  ~WiaDevMgr() override { WiaSetDeviceLister(nullptr); }

  TComPtr<IUnknown> Register(IWiaDevMgr* Manager, const GUID& Event, const char16_t* Device = nullptr) {
    TComPtr<IWiaEventCallback> Callback(new TEventLog(Heard, Alive));
    IUnknown* Registration = nullptr;
    EXPECT_EQ(Manager->RegisterEventCallbackInterface(0, Device, &Event, Callback.Get(), &Registration),
              S_OK);
    return TComPtr<IUnknown>::Attach(Registration);
  }
  TComPtr<IWiaDevMgr> Create() {
    IWiaDevMgr* Manager = nullptr;
    EXPECT_EQ(WiaCreateDeviceManager(&Manager), S_OK);
    return TComPtr<IWiaDevMgr>::Attach(Manager);
  }
  std::vector<std::string> Heard;
  int Alive = 0;
};

TEST_F(WiaDevMgr, DevicesThatAppearOrGoRaiseItemEventsThenATreeUpdate) {
  TComPtr<IWiaDevMgr> Manager = Create();
  ASSERT_TRUE(Manager);
  std::vector<TComPtr<IUnknown>> Registrations;
  for (const GUID* Event : {&WIA_EVENT_ITEM_CREATED, &WIA_EVENT_ITEM_DELETED, &WIA_EVENT_TREE_UPDATED})
    Registrations.push_back(Register(Manager.Get(), *Event));
  WiaRescanDevices();
  EXPECT_TRUE(Heard.empty());  // the list the manager started with raises nothing
  UseSaneTestBackend(4);
  WiaRescanDevices();
  EXPECT_EQ(Heard, (std::vector<std::string>{"created test:2", "created test:3", "tree"}));
  Heard.clear();
  UseSaneTestBackend(1);
  WiaRescanDevices();
  EXPECT_EQ(Heard, (std::vector<std::string>{"deleted test:1", "deleted test:2", "deleted test:3", "tree"}));
}

TEST_F(WiaDevMgr, ARegistrationHearsOnlyItsEventAndDeviceAndNothingOnceReleased) {
  TComPtr<IWiaDevMgr> Manager = Create();
  TComPtr<IUnknown> ForOne = Register(Manager.Get(), WIA_EVENT_ITEM_CREATED, u"test:3");
  TComPtr<IUnknown> Deleted = Register(Manager.Get(), WIA_EVENT_ITEM_DELETED);
  EXPECT_EQ(Alive, 2);  // the registrations keep their callbacks
  UseSaneTestBackend(4);
  WiaRescanDevices();
  EXPECT_EQ(Heard, (std::vector<std::string>{"created test:3"}));
  Heard.clear();
  ForOne.Reset();
  Deleted.Reset();
  EXPECT_EQ(Alive, 0);
  UseSaneTestBackend(1);  // the test back end fails with none
  WiaRescanDevices();
  EXPECT_TRUE(Heard.empty());
}

TEST_F(WiaDevMgr, WithoutADeviceListThereIsNoManager) {
  WiaSetDeviceLister([](std::vector<std::u16string>&) { return false; });
  IWiaDevMgr* Manager = reinterpret_cast<IWiaDevMgr*>(1);
  EXPECT_EQ(WiaCreateDeviceManager(&Manager), REGDB_E_CLASSNOTREG);
  EXPECT_EQ(Manager, nullptr);
  EXPECT_EQ(WiaCreateDeviceManager(nullptr), E_POINTER);
}

TEST_F(WiaDevMgr, RegistrationsCheckTheirArguments) {
  TComPtr<IWiaDevMgr> Manager = Create();
  TComPtr<IWiaEventCallback> Callback(new TEventLog(Heard, Alive));
  IUnknown* Registration = reinterpret_cast<IUnknown*>(1);
  EXPECT_EQ(Manager->RegisterEventCallbackInterface(0, nullptr, nullptr, Callback.Get(), &Registration),
            E_POINTER);
  EXPECT_EQ(Registration, nullptr);
  EXPECT_EQ(
      Manager->RegisterEventCallbackInterface(0, nullptr, &WIA_EVENT_TREE_UPDATED, nullptr, &Registration),
      E_POINTER);
  EXPECT_EQ(Manager->RegisterEventCallbackInterface(1, nullptr, &WIA_EVENT_TREE_UPDATED, Callback.Get(),
                                                    &Registration),
            E_INVALIDARG);
  EXPECT_EQ(
      Manager->RegisterEventCallbackInterface(0, nullptr, &WIA_EVENT_TREE_UPDATED, Callback.Get(), nullptr),
      E_POINTER);
}

TEST(OleStartUp, CountsPerThread) {
  EXPECT_EQ(OleInitialize(nullptr), S_OK);
  EXPECT_EQ(OleInitialize(nullptr), S_FALSE);
  OleUninitialize();
  OleUninitialize();
  EXPECT_EQ(OleInitialize(nullptr), S_OK);
  OleUninitialize();
}

}  // namespace
