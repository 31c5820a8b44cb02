// The component's scanner and camera object: made only on request, hearing device events
// from the device manager (over SANE's test back end), and its progress callback.
#include <gtest/gtest.h>

#include <vector>

#include "imaging/io/iewia.h"
#include "imaging/io/zezudidio.h"
#include "platform/devices/WiaDevMgr.h"
#include "tests/platform/devices/SaneTestBackend.h"

namespace {

int Listings = 0;
bool CountedSaneList(std::vector<std::u16string>& Devices) {
  ++Listings;
  return WiaSaneDevices(Devices);
}

class TIEWiaTest : public ::testing::Test {
 protected:
  TIEWiaTest() {
    WiaSetRescanInterval(0);  // rescans only when a test asks
    UseSaneTestBackend(2);
    Listings = 0;
    WiaSetDeviceLister(CountedSaneList);
  }
  ~TIEWiaTest() override { WiaSetDeviceLister(nullptr); }

 public:
  // What LastDeviceEvent held each time OnDeviceEvent fired.
  void DeviceEvent(TObject* Sender) {
    Seen.push_back(static_cast<TIEWia*>(Sender)->GetLastDeviceEvent());
    Senders.push_back(Sender);
  }
  std::vector<Integer> Seen;
  std::vector<TObject*> Senders;
};

TEST_F(TIEWiaTest, AComponentThatNeverAskedMakesNoDeviceManager) {
  { TZezudIdIO IO(nullptr); }
  EXPECT_EQ(Listings, 0);
  TZezudIdIO IO(nullptr);
  TIEWia* Wia = IO.GetWIAParams();
  ASSERT_NE(Wia, nullptr);
  EXPECT_TRUE(Wia->HasDeviceManager());
  EXPECT_EQ(Wia->GetIO(), &IO);
  EXPECT_EQ(IO.GetWIAParams(), Wia);
  EXPECT_EQ(Listings, 1);
}

TEST_F(TIEWiaTest, EventsSetLastDeviceEventBeforeOnDeviceEventFires) {
  TZezudIdIO IO(nullptr);
  TIEWia* Wia = IO.GetWIAParams();
  Wia->SetOnDeviceEvent(TNotifyEvent(this, &TIEWiaTest::DeviceEvent));
  EXPECT_EQ(Wia->GetLastDeviceEvent(), 0);
  UseSaneTestBackend(3);
  WiaRescanDevices();
  EXPECT_EQ(Seen, (std::vector<Integer>{2, 1}));  // item created, then tree updated
  UseSaneTestBackend(2);
  WiaRescanDevices();
  EXPECT_EQ(Seen, (std::vector<Integer>{2, 1, 3, 1}));
  EXPECT_EQ(Senders, (std::vector<TObject*>(4, Wia)));
}

TEST_F(TIEWiaTest, AGoneComponentHearsNothingMore) {
  {
    TZezudIdIO IO(nullptr);
    IO.GetWIAParams()->SetOnDeviceEvent(TNotifyEvent(this, &TIEWiaTest::DeviceEvent));
  }
  UseSaneTestBackend(3);
  WiaRescanDevices();
  EXPECT_TRUE(Seen.empty());
}

TEST_F(TIEWiaTest, WithoutADeviceServiceTheObjectExistsAndHearsNothing) {
  WiaSetDeviceLister([](std::vector<std::u16string>&) { return false; });
  TZezudIdIO IO(nullptr);
  TIEWia* Wia = IO.GetWIAParams();
  ASSERT_NE(Wia, nullptr);
  EXPECT_FALSE(Wia->HasDeviceManager());
}

TEST(TWiaEventCallBackTest, OtherEventsAndAGoneOwnerChangeNothing) {
  TZezudIdIO IO(nullptr);
  WiaSetDeviceLister([](std::vector<std::u16string>&) { return false; });
  TIEWia Wia(&IO);
  WiaSetDeviceLister(nullptr);
  TComPtr<TWiaEventCallBack> Callback(new TWiaEventCallBack(&Wia));
  const GUID Other = {1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}};
  EXPECT_EQ(Callback->ImageEventCallback(&Other, u"", u"", u"", 0, u"", nullptr, 0), S_OK);
  EXPECT_EQ(Wia.GetLastDeviceEvent(), 0);
  EXPECT_EQ(Callback->ImageEventCallback(&WIA_EVENT_ITEM_DELETED, u"", u"", u"", 0, u"", nullptr, 0), S_OK);
  EXPECT_EQ(Wia.GetLastDeviceEvent(), 3);
  Callback->ForgetOwner();
  EXPECT_EQ(Callback->ImageEventCallback(&WIA_EVENT_TREE_UPDATED, u"", u"", u"", 0, u"", nullptr, 0), S_OK);
  EXPECT_EQ(Wia.GetLastDeviceEvent(), 3);
}

// Progress seen by the component's listener.
struct TProgressSeen : TObject {
  std::vector<Integer> Percents;
  void Progress(TObject*, Integer Percent) { Percents.push_back(Percent); }
};

TEST(WiaProgressTest, ReportsThroughTheComponentAndStopsWhenAborting) {
  WiaSetDeviceLister([](std::vector<std::u16string>&) { return false; });
  TZezudIdIO IO(nullptr);
  TProgressSeen Seen;
  IO.SetOnProgress(TIEProgressEvent(&Seen, &TProgressSeen::Progress));
  TIEWiaProgress Progress = IO.GetWIAParams()->GetOnProgress();
  WiaSetDeviceLister(nullptr);
  ASSERT_TRUE(Progress);
  EXPECT_TRUE(Progress(40));
  IO.SetAborting(true);
  EXPECT_FALSE(Progress(60));
  EXPECT_EQ(Seen.Percents, (std::vector<Integer>{40, 60}));
}

}  // namespace
