// The notification area: adding, changing and removing icons, mouse messages reaching the
// icon's window, and the "TaskbarCreated" message after the taskbar restarts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/classes/UtilityWindow.h"
#include "platform/shell/TrayIcons.h"
#include "platform/user/Cursors.h"
#include "platform/user/WindowMessages.h"
#include "platform/user/Windows.h"

namespace {

constexpr UINT Callback = 2048;

// A hidden window that records what it is sent and re-adds its icon when the taskbar returns.
class TTrayOwner {
 public:
  TTrayOwner() : Wnd(AllocateHWnd(MakeDelegate(this, &TTrayOwner::WndProc))) {}
  ~TTrayOwner() {
    if (Wnd) DeallocateHWnd(Wnd);
  }

  NOTIFYICONDATAA Record(UINT Flags, const std::string& Tip = {}) const {
    NOTIFYICONDATAA D;
    D.hWnd = Wnd;
    D.uID = 1;
    D.uFlags = Flags;
    D.uCallbackMessage = Callback;
    D.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
    Tip.copy(D.szTip, sizeof(D.szTip) - 1);
    return D;
  }

  void WndProc(TMessage& M) {
    if (M.Msg == Callback) Received.push_back({M.WParam, M.LParam});
    if (M.Msg == RegisterWindowMessage("TaskbarCreated")) {
      ++TaskbarCreated;
      if (ReAdd) {
        NOTIFYICONDATAA D = Record(NIF_MESSAGE | NIF_ICON | NIF_TIP, "back");
        Shell_NotifyIconA(NIM_ADD, &D);
      }
    }
    M.Result = 0;
  }

  HWND Wnd;
  std::vector<std::pair<WPARAM, LPARAM>> Received;
  int TaskbarCreated = 0;
  bool ReAdd = false;
};

class TTrayTest : public ::testing::Test {
 protected:
  void TearDown() override {
    for (const TTrayIcon& I : GetTrayIcons()) {
      NOTIFYICONDATAA D;
      D.hWnd = I.Wnd;
      D.uID = I.ID;
      Shell_NotifyIconA(NIM_DELETE, &D);
    }
  }
};

TEST_F(TTrayTest, AddModifyDeleteKeepTheAreaInStep) {
  TTrayOwner Owner;
  NOTIFYICONDATAA Add = Owner.Record(NIF_MESSAGE | NIF_ICON | NIF_TIP, std::string(200, 'h'));
  Add.cbSize = 488;  // as the skinned tray icon fills it
  ASSERT_TRUE(Shell_NotifyIconA(NIM_ADD, &Add));
  EXPECT_FALSE(Shell_NotifyIconA(NIM_ADD, &Add)) << "one icon per window and id";
  std::vector<TTrayIcon> Icons = GetTrayIcons();
  ASSERT_EQ(Icons.size(), 1u);
  EXPECT_EQ(Icons[0].Wnd, Owner.Wnd);
  EXPECT_EQ(Icons[0].CallbackMessage, Callback);
  EXPECT_EQ(Icons[0].Tip, std::string(127, 'h')) << "the tip keeps 127 characters";
  ASSERT_NE(Icons[0].Icon, nullptr);
  EXPECT_NE(Icons[0].Icon, Add.hIcon) << "the area keeps its own copy";
  EXPECT_EQ(Icons[0].Icon->Width, 32);

  NOTIFYICONDATAA Tip = Owner.Record(NIF_TIP, "Building the mosaic");
  Tip.uCallbackMessage = 0;  // not flagged: not taken
  ASSERT_TRUE(Shell_NotifyIconA(NIM_MODIFY, &Tip));
  Icons = GetTrayIcons();
  EXPECT_EQ(Icons[0].Tip, "Building the mosaic");
  EXPECT_EQ(Icons[0].CallbackMessage, Callback);

  NOTIFYICONDATAA Hide = Owner.Record(NIF_STATE);
  Hide.dwState = Hide.dwStateMask = NIS_HIDDEN;
  ASSERT_TRUE(Shell_NotifyIconA(NIM_MODIFY, &Hide));
  EXPECT_TRUE(GetTrayIcons()[0].Hidden);
  EXPECT_FALSE(ClickTrayIcon(Owner.Wnd, 1)) << "a hidden icon cannot be clicked";

  ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &Add));
  EXPECT_TRUE(GetTrayIcons().empty());
  EXPECT_FALSE(Shell_NotifyIconA(NIM_DELETE, &Add));
  EXPECT_FALSE(Shell_NotifyIconA(NIM_MODIFY, &Tip));
  ASSERT_TRUE(Shell_NotifyIconA(NIM_ADD, &Add)) << "deleted icons can come back";
}

TEST_F(TTrayTest, RefusesRecordsWithoutAWindowOrTooSmall) {
  TTrayOwner Owner;
  NOTIFYICONDATAA NoWindow = Owner.Record(NIF_ICON);
  NoWindow.hWnd = nullptr;
  EXPECT_FALSE(Shell_NotifyIconA(NIM_ADD, &NoWindow));
  NOTIFYICONDATAA Small = Owner.Record(NIF_ICON);
  Small.cbSize = 40;
  EXPECT_FALSE(Shell_NotifyIconA(NIM_ADD, &Small));
  NOTIFYICONDATAA First = Owner.Record(NIF_TIP, std::string(100, 't'));
  First.cbSize = 88;
  ASSERT_TRUE(Shell_NotifyIconA(NIM_ADD, &First));
  EXPECT_EQ(GetTrayIcons()[0].Tip, std::string(63, 't')) << "the first form's tip holds 64 bytes";
  ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &First));
  EXPECT_FALSE(Shell_NotifyIconA(NIM_ADD, nullptr));
  EXPECT_TRUE(GetTrayIcons().empty());
}

TEST_F(TTrayTest, MouseMessagesReachTheIconsWindow) {
  TTrayOwner Owner;
  NOTIFYICONDATAA Add = Owner.Record(NIF_MESSAGE | NIF_ICON);
  Add.uID = 7;
  ASSERT_TRUE(Shell_NotifyIconA(NIM_ADD, &Add));
  ASSERT_TRUE(ClickTrayIcon(Owner.Wnd, 7));
  ASSERT_TRUE(SendTrayMouseMessage(Owner.Wnd, 7, WM_RBUTTONDOWN));
  ASSERT_TRUE(SendTrayMouseMessage(Owner.Wnd, 7, NIN_BALLOONUSERCLICK));
  EXPECT_FALSE(ClickTrayIcon(Owner.Wnd, 8));
  const std::vector<std::pair<WPARAM, LPARAM>> Expected = {
      {7, WM_LBUTTONDOWN}, {7, WM_LBUTTONUP}, {7, WM_RBUTTONDOWN}, {7, NIN_BALLOONUSERCLICK}};
  EXPECT_EQ(Owner.Received, Expected);
}

TEST_F(TTrayTest, ARestartedTaskbarAsksWindowsToAddTheirIconsAgain) {
  TTrayOwner Visible, Quiet;
  Visible.ReAdd = true;
  NOTIFYICONDATAA A = Visible.Record(NIF_MESSAGE | NIF_ICON | NIF_TIP, "first");
  NOTIFYICONDATAA B = Quiet.Record(NIF_MESSAGE | NIF_ICON);
  ASSERT_TRUE(Shell_NotifyIconA(NIM_ADD, &A));
  ASSERT_TRUE(Shell_NotifyIconA(NIM_ADD, &B));
  RestartTaskbar();
  EXPECT_EQ(Visible.TaskbarCreated, 1);
  EXPECT_EQ(Quiet.TaskbarCreated, 1);
  const std::vector<TTrayIcon> Icons = GetTrayIcons();
  ASSERT_EQ(Icons.size(), 1u) << "only the window that re-adds its icon has one";
  EXPECT_EQ(Icons[0].Wnd, Visible.Wnd);
  EXPECT_EQ(Icons[0].Tip, "back");
  EXPECT_TRUE(ClickTrayIcon(Visible.Wnd, 1));
}

TEST_F(TTrayTest, IconsOfDestroyedWindowsVanish) {
  auto* Owner = new TTrayOwner;
  NOTIFYICONDATAA Add = Owner->Record(NIF_ICON);
  ASSERT_TRUE(Shell_NotifyIconA(NIM_ADD, &Add));
  delete Owner;
  EXPECT_TRUE(GetTrayIcons().empty());
}

}  // namespace
