// The single-instance guard: a first copy takes the name and listens; a second one raises the
// first one's window and ends, or keeps running when told to; and two starts of the program
// itself, the second of which raises the first and ends.
#include <gtest/gtest.h>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "app/mxOneInstance.h"
#include "platform/classes/Application.h"
#include "platform/classes/Forms.h"
#include "platform/system/Threads.h"
#include "platform/user/WinUser.h"
#include "platform/user/WindowMessages.h"
#include "platform/user/WindowPos.h"
#include "platform/user/Windows.h"

extern char** environ;

namespace {
// A form that carries a guard, read with the form as the main window's is.
class TGuardedForm : public TForm {
 public:
  explicit TGuardedForm(TComponent* AOwner) : TForm(AOwner) {
    BeginFormLoad();
    SetBounds(100, 100, 300, 200);
    Guard = new TmxOneInstance(this);
    Guard->SetTerminate(NextTerminate);
    Guard->SetSwitchToPrevious(NextSwitch);
    Guard->OnInstanceExists = TNotifyEvent(this, &TGuardedForm::Exists);
    EndFormLoad();
  }
  void Exists(TObject*) { ++ExistsEvents; }
  TmxOneInstance* Guard = nullptr;
  Integer ExistsEvents = 0;
  // The settings the next form's guard is read with.
  static inline bool NextTerminate = true;
  static inline bool NextSwitch = true;
};

class SingleInstance : public ::testing::Test {
 protected:
  void SetUp() override {
    SavedTitle = Application->GetTitle();
    Application->SetTitle("guard-test-" + std::to_string(::getpid()) + "-" +
                          ::testing::UnitTest::GetInstance()->current_test_info()->name());
    TGuardedForm::NextTerminate = TGuardedForm::NextSwitch = true;
  }
  void TearDown() override {
    delete Second;
    delete First;
    RunUntilIdle();
    Application->ResetTerminated();
    Application->SetTitle(SavedTitle);
  }
  // The first copy: the application's main window, shown and minimised.
  void StartFirst() {
    Application->CreateForm(First);
    ASSERT_EQ(Application->GetMainForm(), First);
    First->Show();
    RunUntilIdle();
    ShowWindow(First->GetHandle(), SW_MINIMIZE);
    RunUntilIdle();
    ASSERT_TRUE(IsIconic(First->GetHandle()));
  }
  // Whether the message loop was told to end; the answer is taken back.
  static bool QuitPosted() {
    Application->ProcessMessages();
    const bool Ended = Application->GetTerminated();
    Application->ResetTerminated();
    return Ended;
  }
  // Runs queued calls and messages until the first copy's window is restored (or a bound).
  void WaitForRestore() {
    for (Integer I = 0; I < 100 && IsIconic(First->GetHandle()); ++I) {
      CheckSynchronize(50);
      RunUntilIdle();
    }
  }
  std::string SavedTitle;
  TGuardedForm* First = nullptr;
  TGuardedForm* Second = nullptr;
};
}  // namespace

TEST_F(SingleInstance, FirstCopyRunsQuietly) {
  StartFirst();
  EXPECT_EQ(First->ExistsEvents, 0);
  EXPECT_FALSE(First->Guard->GetOtherInstance());
  EXPECT_TRUE(First->Guard->GetHandleOwned());
  EXPECT_FALSE(Application->GetTerminated());
  // The stored version text has no effect.
  First->Guard->SetVersion("9.9");
  EXPECT_EQ(First->Guard->GetVersion(), "1.21");
}

TEST_F(SingleInstance, SecondCopyRestoresTheFirstAndEnds) {
  StartFirst();
  Second = new TGuardedForm(nullptr);
  EXPECT_EQ(Second->ExistsEvents, 1);
  EXPECT_TRUE(QuitPosted());
  WaitForRestore();
  EXPECT_FALSE(IsIconic(First->GetHandle()));
}

TEST_F(SingleInstance, SecondCopyWithoutSwitchTouchesNoWindow) {
  StartFirst();
  TGuardedForm::NextSwitch = false;
  Second = new TGuardedForm(nullptr);
  EXPECT_TRUE(QuitPosted());
  for (Integer I = 0; I < 5; ++I) CheckSynchronize(20);
  RunUntilIdle();
  EXPECT_TRUE(IsIconic(First->GetHandle()));
}

TEST_F(SingleInstance, SecondCopyWithoutTerminateKeepsRunning) {
  StartFirst();
  TGuardedForm::NextTerminate = false;
  Second = new TGuardedForm(nullptr);
  EXPECT_EQ(Second->ExistsEvents, 1);
  EXPECT_FALSE(QuitPosted());
  // Once the first copy ends, the name is free for the next start.
  delete Second;
  Second = nullptr;
  delete First;
  First = nullptr;
  RunUntilIdle();
  Second = new TGuardedForm(nullptr);
  EXPECT_EQ(Second->ExistsEvents, 0);
}

// The program started a second time finds this test as its first copy (the same name, the
// program's title), asks it to come forward and ends.
TEST_F(SingleInstance, SecondStartOfTheProgramRaisesTheFirstAndEnds) {
  const std::filesystem::path Program =
      std::filesystem::read_symlink("/proc/self/exe").parent_path() / "tilvarok";
  if (!std::filesystem::exists(Program)) GTEST_SKIP() << "the program is not built";
  Application->SetTitle("tilvarok");
  StartFirst();
  std::string Display = "TILVAROK_DISPLAY=headless";
  std::vector<std::string> Environment{Display};
  for (char** E = environ; *E != nullptr; ++E)
    if (std::string(*E).rfind("TILVAROK_DISPLAY=", 0) != 0) Environment.push_back(*E);
  std::vector<char*> Env;
  for (std::string& S : Environment) Env.push_back(S.data());
  Env.push_back(nullptr);
  std::string Path = Program.string();
  char* Arguments[] = {Path.data(), nullptr};
  pid_t Child = 0;
  ASSERT_EQ(posix_spawn(&Child, Path.c_str(), nullptr, nullptr, Arguments, Env.data()), 0);
  // Serve the request while the second copy runs; it ends on its own.
  int Status = 0;
  pid_t Ended = 0;
  for (Integer I = 0; I < 600 && Ended == 0; ++I) {
    CheckSynchronize(50);
    RunUntilIdle();
    Ended = waitpid(Child, &Status, WNOHANG);
  }
  if (Ended == 0) {
    kill(Child, SIGKILL);
    waitpid(Child, &Status, 0);
    FAIL() << "the second start did not end";
  }
  EXPECT_TRUE(WIFEXITED(Status) && WEXITSTATUS(Status) == 0) << Status;
  WaitForRestore();
  EXPECT_FALSE(IsIconic(First->GetHandle()));
}
