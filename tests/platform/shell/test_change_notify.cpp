// Folder change notifications: which changes signal under which filter, sub-trees (also
// folders made after the start), re-arming, waiting beside other objects, and closing.
//
// Waits that must end use a generous limit; waits that must not end use a short one, so a
// slow machine can only let such a test pass, never fail it.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

#include "platform/shell/ChangeNotify.h"
#include "platform/system/SyncObjs.h"

namespace {

constexpr DWORD Arrives = 10000;  // ms: the change must have been seen by then
constexpr DWORD Quiet = 150;      // ms: nothing arrives meanwhile

class TChangeNotifyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char Template[] = "/tmp/tv-notify-XXXXXX";
    ASSERT_NE(::mkdtemp(Template), nullptr);
    Root = Template;
    std::filesystem::create_directories(Root + "/sub/deeper");
    std::ofstream(Root + "/old.txt") << "old";
  }
  void TearDown() override {
    std::error_code Ignored;
    std::filesystem::remove_all(Root, Ignored);
  }
  void Touch(const std::string& Path) { std::ofstream(Path) << "x"; }

  std::string Root;
};

TEST_F(TChangeNotifyTest, FileNameChangesSignalUntilRearmed) {
  struct TCase {
    const char* What;
    std::function<void(const std::string&)> Change;
  };
  const TCase Table[] = {
      {"create", [](const std::string& R) { std::ofstream(R + "/new.txt") << "n"; }},
      {"rename", [](const std::string& R) { std::filesystem::rename(R + "/new.txt", R + "/renamed.txt"); }},
      {"delete", [](const std::string& R) { std::filesystem::remove(R + "/renamed.txt"); }},
  };
  HANDLE H = FindFirstChangeNotificationA(Root, FALSE, FILE_NOTIFY_CHANGE_FILE_NAME);
  ASSERT_NE(H, INVALID_CHANGE_HANDLE);
  EXPECT_EQ(WaitForSingleObject(H, 0), WAIT_TIMEOUT);
  for (const TCase& T : Table) {
    SCOPED_TRACE(T.What);
    T.Change(Root);
    ASSERT_EQ(WaitForSingleObject(H, Arrives), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(H, 0), WAIT_OBJECT_0) << "signalled until re-armed";
    ASSERT_TRUE(FindNextChangeNotification(H));
    EXPECT_EQ(WaitForSingleObject(H, Quiet), WAIT_TIMEOUT);
  }
  EXPECT_TRUE(FindCloseChangeNotification(H));
}

TEST_F(TChangeNotifyTest, TheFilterDecidesWhichChangesCount) {
  HANDLE Files = FindFirstChangeNotificationA(Root, FALSE, FILE_NOTIFY_CHANGE_FILE_NAME);
  HANDLE Folders = FindFirstChangeNotificationA(Root, FALSE, FILE_NOTIFY_CHANGE_DIR_NAME);
  HANDLE Writes = FindFirstChangeNotificationA(Root, FALSE, FILE_NOTIFY_CHANGE_LAST_WRITE);
  ASSERT_NE(Files, INVALID_CHANGE_HANDLE);
  ASSERT_NE(Folders, INVALID_CHANGE_HANDLE);
  ASSERT_NE(Writes, INVALID_CHANGE_HANDLE);
  std::filesystem::create_directory(Root + "/made");
  EXPECT_EQ(WaitForSingleObject(Folders, Arrives), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(Files, Quiet), WAIT_TIMEOUT) << "a folder is no file name";
  EXPECT_EQ(WaitForSingleObject(Writes, 0), WAIT_TIMEOUT);
  std::ofstream(Root + "/old.txt", std::ios::app) << "more";
  EXPECT_EQ(WaitForSingleObject(Writes, Arrives), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(Files, Quiet), WAIT_TIMEOUT) << "writing renames nothing";
  for (HANDLE H : {Files, Folders, Writes}) FindCloseChangeNotification(H);
}

TEST_F(TChangeNotifyTest, SubTreesIncludeFoldersMadeLater) {
  HANDLE Tree = FindFirstChangeNotificationA(Root, TRUE, FILE_NOTIFY_CHANGE_FILE_NAME);
  HANDLE Flat = FindFirstChangeNotificationA(Root, FALSE, FILE_NOTIFY_CHANGE_FILE_NAME);
  ASSERT_NE(Tree, INVALID_CHANGE_HANDLE);
  ASSERT_NE(Flat, INVALID_CHANGE_HANDLE);
  Touch(Root + "/sub/deeper/a.txt");
  EXPECT_EQ(WaitForSingleObject(Tree, Arrives), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(Flat, Quiet), WAIT_TIMEOUT);
  ASSERT_TRUE(FindNextChangeNotification(Tree));

  // A folder made after the start: its own creation is no file name, what goes into it is.
  std::filesystem::create_directories(Root + "/new/inner");
  EXPECT_EQ(WaitForSingleObject(Tree, Quiet), WAIT_TIMEOUT);
  Touch(Root + "/new/inner/b.txt");
  EXPECT_EQ(WaitForSingleObject(Tree, Arrives), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(Flat, Quiet), WAIT_TIMEOUT);
  FindCloseChangeNotification(Tree);
  FindCloseChangeNotification(Flat);
}

TEST_F(TChangeNotifyTest, SubTreesFollowRenamedFoldersAndDropThoseMovedOut) {
  HANDLE Tree = FindFirstChangeNotificationA(Root + "/sub", TRUE, FILE_NOTIFY_CHANGE_FILE_NAME);
  ASSERT_NE(Tree, INVALID_CHANGE_HANDLE);
  // Renamed inside the tree: a folder made later in the renamed one is watched at its new place.
  std::filesystem::rename(Root + "/sub/deeper", Root + "/sub/moved");
  std::filesystem::create_directory(Root + "/sub/moved/fresh");
  Touch(Root + "/sub/moved/fresh/f.txt");
  EXPECT_EQ(WaitForSingleObject(Tree, Arrives), WAIT_OBJECT_0);
  FindCloseChangeNotification(Tree);

  // Moved out of the tree: what happens there is none of its business. The marker file, made
  // after the move, shows the watcher has seen the move.
  const std::string Outside = Root + "-outside";
  std::filesystem::create_directories(Root + "/leaving");
  HANDLE Whole = FindFirstChangeNotificationA(Root, TRUE, FILE_NOTIFY_CHANGE_FILE_NAME);
  ASSERT_NE(Whole, INVALID_CHANGE_HANDLE);
  std::filesystem::rename(Root + "/leaving", Outside);
  Touch(Root + "/marker.txt");
  ASSERT_EQ(WaitForSingleObject(Whole, Arrives), WAIT_OBJECT_0);
  ASSERT_TRUE(FindNextChangeNotification(Whole));
  Touch(Outside + "/away.txt");
  EXPECT_EQ(WaitForSingleObject(Whole, Quiet), WAIT_TIMEOUT);
  FindCloseChangeNotification(Whole);
  std::error_code Ignored;
  std::filesystem::remove_all(Outside, Ignored);
}

TEST_F(TChangeNotifyTest, ChangesAfterTheWaitSurviveRearming) {
  HANDLE H = FindFirstChangeNotificationA(Root, FALSE, FILE_NOTIFY_CHANGE_FILE_NAME);
  ASSERT_NE(H, INVALID_CHANGE_HANDLE);
  Touch(Root + "/one.txt");
  ASSERT_EQ(WaitForSingleObject(H, Arrives), WAIT_OBJECT_0);
  // A change after the wait ended and before the re-arm (the probe shows it has happened;
  // waiting on H again would take it as seen): still reported after the re-arm.
  HANDLE Probe = FindFirstChangeNotificationA(Root, FALSE, FILE_NOTIFY_CHANGE_FILE_NAME);
  Touch(Root + "/two.txt");
  ASSERT_EQ(WaitForSingleObject(Probe, Arrives), WAIT_OBJECT_0);
  ASSERT_TRUE(FindNextChangeNotification(H));
  EXPECT_EQ(WaitForSingleObject(H, Arrives), WAIT_OBJECT_0);
  FindCloseChangeNotification(Probe);
  FindCloseChangeNotification(H);
}

TEST_F(TChangeNotifyTest, WaitsBesideOtherObjectsAndClosingWakesTheWaiter) {
  HANDLE H =
      FindFirstChangeNotificationA(Root, TRUE, FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME);
  ASSERT_NE(H, INVALID_CHANGE_HANDLE);
  HANDLE Event = CreateEvent(nullptr, FALSE, FALSE, nullptr);
  const HANDLE Both[] = {H, Event};
  SetEvent(Event);
  EXPECT_EQ(WaitForMultipleObjects(2, Both, FALSE, Arrives), WAIT_OBJECT_0 + 1);
  Touch(Root + "/c.txt");
  EXPECT_EQ(WaitForMultipleObjects(2, Both, FALSE, Arrives), WAIT_OBJECT_0);
  ASSERT_TRUE(FindNextChangeNotification(H));

  EXPECT_TRUE(FindCloseChangeNotification(H));
  EXPECT_FALSE(FindNextChangeNotification(H));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_FALSE(FindCloseChangeNotification(H));

  // Closing while another thread waits wakes it with the closed handle's index. The waiter may
  // reach its wait only after the close (then the handle is gone and its wait fails at once),
  // so the scene is played until it was caught waiting; a close that wakes nobody hangs here.
  bool CaughtWaiting = false;
  for (int Try = 0; Try < 50 && !CaughtWaiting; ++Try) {
    HANDLE Watch = FindFirstChangeNotificationA(Root, FALSE, FILE_NOTIFY_CHANGE_FILE_NAME);
    const HANDLE Pair[] = {Watch, Event};
    HANDLE Ready = CreateEvent(nullptr, TRUE, FALSE, nullptr);
    DWORD Woken = 0;
    std::thread Waiter([&] {
      SetEvent(Ready);
      Woken = WaitForMultipleObjects(2, Pair, FALSE, INFINITE);
    });
    WaitForSingleObject(Ready, INFINITE);
    std::this_thread::yield();
    EXPECT_TRUE(FindCloseChangeNotification(Watch));
    Waiter.join();
    EXPECT_TRUE(Woken == WAIT_OBJECT_0 || Woken == WAIT_FAILED) << Woken;
    CaughtWaiting = Woken == WAIT_OBJECT_0;
    CloseHandle(Ready);
  }
  EXPECT_TRUE(CaughtWaiting);
  EXPECT_FALSE(FindCloseChangeNotification(Event)) << "an event is no change notification";
  CloseHandle(Event);
}

TEST_F(TChangeNotifyTest, FoldersThatCannotBeWatchedFail) {
  SetLastError(0);
  EXPECT_EQ(FindFirstChangeNotificationA(Root + "/missing", FALSE, FILE_NOTIFY_CHANGE_FILE_NAME),
            INVALID_CHANGE_HANDLE);
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(FindFirstChangeNotificationA(Root + "/old.txt", FALSE, FILE_NOTIFY_CHANGE_FILE_NAME),
            INVALID_CHANGE_HANDLE);
  EXPECT_EQ(FindFirstChangeNotificationA("::{20D04FE0-3AEA-1069-A2D8-08002B30309D}", FALSE,
                                         FILE_NOTIFY_CHANGE_FILE_NAME),
            INVALID_CHANGE_HANDLE);
  EXPECT_EQ(FindFirstChangeNotificationA("D:\\", FALSE, FILE_NOTIFY_CHANGE_FILE_NAME), INVALID_CHANGE_HANDLE);
  EXPECT_EQ(FindFirstChangeNotificationA(Root, FALSE, 0), INVALID_CHANGE_HANDLE);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  // The platform's system drive is the root of the file system.
  HANDLE Drive = FindFirstChangeNotificationA("C:\\", FALSE, FILE_NOTIFY_CHANGE_DIR_NAME);
  EXPECT_NE(Drive, INVALID_CHANGE_HANDLE);
  FindCloseChangeNotification(Drive);
}

}  // namespace
