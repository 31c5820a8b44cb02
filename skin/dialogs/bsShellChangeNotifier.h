#pragma once
// TbsShellChangeNotifier: watches one folder and calls OnChange on the user-interface thread
// after something changed there. A worker thread (TbsShellChangeThread) waits on the
// platform's folder change notification; the handler runs through Synchronize.
//
// Ownership: the notifier owns its worker from the first OnChange on and joins it when freed.
// A notifier freed by its own handler lets the worker end by itself after the handler returned.
#include <string>

#include "platform/system/Component.h"
#include "platform/system/Delegates.h"
#include "platform/system/Sets.h"
#include "platform/system/Threads.h"

enum TNotifyFilter {
  nfFileNameChange,
  nfDirNameChange,
  nfAttributeChange,
  nfSizeChange,
  nfWriteChange,
  nfSecurityChange
};
using TNotifyFilters = TSet<TNotifyFilter, 8>;
DWORD NotifyFiltersToFlags(TNotifyFilters Filters);

using TbsShellChangeEvent = TDelegate<void()>;

class TbsShellChangeThread : public TThread {
 public:
  explicit TbsShellChangeThread(TbsShellChangeEvent AHandler);
  ~TbsShellChangeThread() override;

  // Re-targets the worker; it wakes and watches the new folder.
  void SetDirectoryOptions(const std::string& Folder, bool SubTree, DWORD Flags);
  void SetChangeHandler(TbsShellChangeEvent Handler);
  // Clears the handler, tells the worker to end and wakes it.
  void Stop();
  // True while the handler runs on the user-interface thread.
  bool InHandler() const { return FInHandler; }

 protected:
  void Execute() override;

 private:
  void OpenNotification();
  void RunHandler();
  HANDLE FWakeEvent = nullptr;
  HANDLE FNotification = nullptr;  // the worker's own; opened and closed by it
  TbsShellChangeEvent FHandler;
  std::string FFolder;
  bool FSubTree = false;
  bool FChanged = false;
  DWORD FFlags = 0;
  bool FInHandler = false;
};

class TbsCustomShellChangeNotifier : public TComponent {
 public:
  explicit TbsCustomShellChangeNotifier(TComponent* AOwner);
  ~TbsCustomShellChangeNotifier() override;

  TNotifyFilters GetNotifyFilters() const { return FFilters; }
  void SetNotifyFilters(TNotifyFilters Value);
  const std::string& GetRoot() const { return FRoot; }
  void SetRoot(const std::string& Value);
  bool GetWatchSubTree() const { return FWatchSubTree; }
  void SetWatchSubTree(bool Value);
  TbsShellChangeEvent GetOnChange() const { return FOnChange; }
  void SetOnChange(TbsShellChangeEvent Value);

 protected:
  void Restart();
  void StartThread();

 private:
  TNotifyFilters FFilters{nfFileNameChange, nfDirNameChange};
  std::string FRoot = "C:\\";
  bool FWatchSubTree = true;
  TbsShellChangeEvent FOnChange;
  TbsShellChangeThread* FThread = nullptr;
};

class TbsShellChangeNotifier : public TbsCustomShellChangeNotifier {
 public:
  explicit TbsShellChangeNotifier(TComponent* AOwner) : TbsCustomShellChangeNotifier(AOwner) {}
};
