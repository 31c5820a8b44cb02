// The folder change notifier on a temporary folder: the handler runs on the user-interface
// thread, the sub-tree switch, re-targeting and prompt ends.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "platform/classes/Application.h"
#include "platform/system/KernelObjects.h"
#include "skin/dialogs/bsShellChangeNotifier.h"
#include "tests/platform/system/TempFolder.h"

namespace {

struct TCounter {
  Integer Calls = 0;
  DWORD Thread = 0;
  TbsShellChangeNotifier* FreeOnCall = nullptr;
  void Changed() {
    ++Calls;
    Thread = GetCurrentThreadId();
    if (FreeOnCall != nullptr) {
      TbsShellChangeNotifier* N = FreeOnCall;
      FreeOnCall = nullptr;
      delete N;
    }
  }
};

// Runs the loop until Done or about twenty seconds of real time went by (the worker waits on
// the file system, not on the program's clock; a loaded machine is slow to schedule it).
template <class F>
bool PumpUntil(F Done) {
  for (Integer I = 0; I < 4000 && !Done(); ++I) {
    Application->ProcessMessages();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return Done();
}

void Touch(const std::string& Path) {
  std::ofstream(Path) << "x";
}

// Creates new files in Folder (the worker starts watching a moment after it is made) until
// Done, pumping the loop meanwhile.
template <class F>
bool ChangeUntil(const std::string& Folder, F Done) {
  Integer N = 0;
  return PumpUntil([&] {
    Touch(Folder + "/change" + std::to_string(N++));
    return Done();
  });
}

TEST(ShellChangeNotifier, FiltersMapToFlags) {
  EXPECT_EQ(NotifyFiltersToFlags({nfFileNameChange, nfDirNameChange}), 0x3u);
  EXPECT_EQ(NotifyFiltersToFlags({nfWriteChange}), 0x10u);
  // The sixth member moves to bit 8.
  EXPECT_EQ(NotifyFiltersToFlags({nfSecurityChange}), 0x100u);
  TbsShellChangeNotifier N(nullptr);
  EXPECT_EQ(N.GetRoot(), "C:\\");
  EXPECT_TRUE(N.GetWatchSubTree());
  EXPECT_EQ(N.GetNotifyFilters(), (TNotifyFilters{nfFileNameChange, nfDirNameChange}));
}

TEST(ShellChangeNotifier, HandlerOnTheInterfaceThreadWithAndWithoutSubTree) {
  TTempFolder Folder;
  std::filesystem::create_directory(Folder / "sub");
  TCounter Flat, Deep;
  TbsShellChangeNotifier FlatWatch(nullptr), DeepWatch(nullptr);
  FlatWatch.SetRoot(Folder.Path());
  FlatWatch.SetWatchSubTree(false);
  FlatWatch.SetOnChange(TbsShellChangeEvent(&Flat, &TCounter::Changed));
  DeepWatch.SetRoot(Folder.Path());
  DeepWatch.SetOnChange(TbsShellChangeEvent(&Deep, &TCounter::Changed));
  // Both workers watch once a change in the folder itself reached both.
  ASSERT_TRUE(ChangeUntil(Folder.Path(), [&] { return Flat.Calls > 0 && Deep.Calls > 0; }));
  EXPECT_EQ(Flat.Thread, GetCurrentThreadId());
  EXPECT_EQ(Deep.Thread, GetCurrentThreadId());
  // Calls for the last files made above come in first.
  for (Integer I = 0; I < 20; ++I) {
    Application->ProcessMessages();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  const Integer FlatBefore = Flat.Calls, DeepBefore = Deep.Calls;
  ASSERT_TRUE(ChangeUntil(Folder / "sub", [&] { return Deep.Calls > DeepBefore; }));
  // The flat watcher saw the same file system event by now, had it watched the sub-folder;
  // a short settle lets a wrong call through.
  for (Integer I = 0; I < 20; ++I) {
    Application->ProcessMessages();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  EXPECT_EQ(Flat.Calls, FlatBefore);
}

TEST(ShellChangeNotifier, RetargetingWakesTheWorker) {
  TTempFolder First, Second;
  TCounter Count;
  TbsShellChangeNotifier N(nullptr);
  N.SetRoot(First.Path());
  N.SetOnChange(TbsShellChangeEvent(&Count, &TCounter::Changed));
  ASSERT_TRUE(ChangeUntil(First.Path(), [&] { return Count.Calls > 0; }));
  N.SetRoot(Second.Path());
  // The new folder is watched without a change in the old one first.
  const Integer Before = Count.Calls;
  ASSERT_TRUE(ChangeUntil(Second.Path(), [&] { return Count.Calls > Before; }));
}

TEST(ShellChangeNotifier, EndsPromptlyAndWhenFreedByItsHandler) {
  TTempFolder Folder;
  const auto Start = std::chrono::steady_clock::now();
  {
    TCounter Count;
    TbsShellChangeNotifier N(nullptr);
    N.SetRoot(Folder.Path());
    N.SetOnChange(TbsShellChangeEvent(&Count, &TCounter::Changed));
  }
  EXPECT_LT(std::chrono::steady_clock::now() - Start, std::chrono::seconds(2));
  // A notifier freed by its own handler: the call returns, the worker ends by itself.
  TCounter Count;
  auto* N = new TbsShellChangeNotifier(nullptr);
  Count.FreeOnCall = N;
  N->SetRoot(Folder.Path());
  N->SetOnChange(TbsShellChangeEvent(&Count, &TCounter::Changed));
  ASSERT_TRUE(ChangeUntil(Folder.Path(), [&] { return Count.Calls > 0; }));
  EXPECT_EQ(Count.FreeOnCall, nullptr);
  // A folder that cannot be watched ends the worker without a call.
  TCounter None;
  TbsShellChangeNotifier Missing(nullptr);
  Missing.SetRoot(Folder / "missing");
  Missing.SetOnChange(TbsShellChangeEvent(&None, &TCounter::Changed));
  for (Integer I = 0; I < 10; ++I) Application->ProcessMessages();
  EXPECT_EQ(None.Calls, 0);
}

}  // namespace
