// Folder change notifications: one inotify instance and one watcher thread per handle. The
// thread turns matching events into signals of the kernel object; waits stay the layer's own.
#include "platform/shell/ChangeNotify.h"

#include <dirent.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "platform/shell/ShellItems.h"
#include "platform/system/FileErrors.h"

namespace {

constexpr DWORD NameFilters =
    FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME | FILE_NOTIFY_CHANGE_CREATION;
constexpr DWORD WriteFilters = FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE;
// Setting times (touch) counts as a write as well as an attribute change.
constexpr DWORD AttributeFilters =
    FILE_NOTIFY_CHANGE_ATTRIBUTES | FILE_NOTIFY_CHANGE_SECURITY | FILE_NOTIFY_CHANGE_LAST_WRITE;
constexpr uint32_t NameEvents = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO;

uint32_t InotifyMask(DWORD Filter, bool Subtree) {
  uint32_t Mask = 0;
  if (Filter & NameFilters) Mask |= NameEvents;
  if (Filter & AttributeFilters) Mask |= IN_ATTRIB;
  if (Filter & WriteFilters) Mask |= IN_MODIFY;
  if (Filter & FILE_NOTIFY_CHANGE_LAST_ACCESS) Mask |= IN_ACCESS;
  // New folders of a sub-tree must be seen to be watched.
  if (Subtree) Mask |= IN_CREATE | IN_MOVED_FROM | IN_MOVED_TO;
  return Mask;
}

// Whether an event of a file (or a folder) matches the filter.
bool Matches(uint32_t Event, bool IsDir, DWORD Filter) {
  if (Event & IN_Q_OVERFLOW) return true;
  if (Event & NameEvents) {
    if (Filter & (IsDir ? FILE_NOTIFY_CHANGE_DIR_NAME : FILE_NOTIFY_CHANGE_FILE_NAME)) return true;
    if ((Event & (IN_CREATE | IN_MOVED_TO)) && (Filter & FILE_NOTIFY_CHANGE_CREATION)) return true;
  }
  if ((Event & IN_ATTRIB) && (Filter & AttributeFilters)) return true;
  if ((Event & IN_MODIFY) && (Filter & WriteFilters)) return true;
  if ((Event & IN_ACCESS) && (Filter & FILE_NOTIFY_CHANGE_LAST_ACCESS)) return true;
  return false;
}

class TChangeNotification : public TKernelObject {
 public:
  ~TChangeNotification() override { Stop(); }

  // Watches the folder (and its sub-tree); false with the last error set.
  bool Start(const std::string& Path, bool Subtree, DWORD Filter) {
    FSubtree = Subtree;
    FFilter = Filter;
    FMask = InotifyMask(Filter, Subtree);
    struct stat St;
    if (::stat(Path.c_str(), &St) != 0) {
      SetLastErrorFromErrno(errno, Path);
      return false;
    }
    if (!S_ISDIR(St.st_mode)) {
      SetLastError(ERROR_DIRECTORY);
      return false;
    }
    FDevice = St.st_dev;
    FInotify = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    FWake = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (FInotify < 0 || FWake < 0) {
      SetLastErrorFromErrno(errno);
      return false;
    }
    const int RootWatch = ::inotify_add_watch(FInotify, Path.c_str(), FMask | IN_ONLYDIR);
    if (RootWatch < 0) {
      SetLastErrorFromErrno(errno, Path);
      return false;
    }
    FFolders[RootWatch] = Path;
    if (FSubtree) WatchBelow(Path, false);
    FThread = std::thread([this] { Run(); });
    return true;
  }

  bool IsWaitable() const override { return true; }
  bool IsSignaled(DWORD) const override { return FClosed || FGeneration > FArmed; }
  void Satisfy(DWORD) override { FSeen = FGeneration; }
  void HandleClosed() override {
    {
      auto Guard = LockKernelWait();
      FClosed = true;
    }
    WakeKernelWaiters();
    Stop();
  }

  // Under the wait lock: the changes the last wait reported are consumed.
  bool Rearm() {
    auto Guard = LockKernelWait();
    if (FClosed) return false;
    if (FSeen > FArmed) FArmed = FSeen;
    return true;
  }

 private:
  void Signal() {
    {
      auto Guard = LockKernelWait();
      ++FGeneration;
    }
    WakeKernelWaiters();
  }

  // Adds watches to the folders below Folder (not following links, not leaving its file
  // system). With Report, what is found there counts as created: it may have appeared
  // before its folder was watched.
  void WatchBelow(const std::string& Folder, bool Report) {
    std::vector<std::string> Pending{Folder};
    bool Found = false;
    while (!Pending.empty()) {
      const std::string Path = std::move(Pending.back());
      Pending.pop_back();
      DIR* D = ::opendir(Path.c_str());
      if (D == nullptr) continue;
      while (const dirent* E = ::readdir(D)) {
        if (std::strcmp(E->d_name, ".") == 0 || std::strcmp(E->d_name, "..") == 0) continue;
        const std::string Child = Path + "/" + E->d_name;
        struct stat St;
        const bool IsDir = ::lstat(Child.c_str(), &St) == 0 && S_ISDIR(St.st_mode) && St.st_dev == FDevice;
        if (Report && Matches(IN_CREATE, IsDir, FFilter)) Found = true;
        if (!IsDir) continue;
        const int Watch = ::inotify_add_watch(FInotify, Child.c_str(), FMask | IN_ONLYDIR | IN_DONT_FOLLOW);
        // Out of watches (ENOSPC): the rest of the tree goes unwatched rather than failing.
        if (Watch < 0) continue;
        FFolders[Watch] = Child;
        Pending.push_back(Child);
      }
      ::closedir(D);
    }
    if (Found) Signal();
  }

  void Run() {
    alignas(inotify_event) char Buffer[16 * 1024];
    pollfd Fds[2] = {{FInotify, POLLIN, 0}, {FWake, POLLIN, 0}};
    for (;;) {
      if (::poll(Fds, 2, -1) < 0) {
        if (errno == EINTR) continue;
        return;
      }
      if (Fds[1].revents) return;
      const ssize_t Got = ::read(FInotify, Buffer, sizeof(Buffer));
      if (Got <= 0) continue;
      bool Changed = false;
      for (ssize_t At = 0; At < Got;) {
        const auto* E = reinterpret_cast<const inotify_event*>(Buffer + At);
        At += static_cast<ssize_t>(sizeof(inotify_event) + E->len);
        const bool IsDir = (E->mask & IN_ISDIR) != 0;
        if (E->mask & IN_IGNORED) {
          FFolders.erase(E->wd);
          continue;
        }
        if (Matches(E->mask, IsDir, FFilter)) Changed = true;
        if (!FSubtree || !IsDir || E->len == 0) continue;
        auto It = FFolders.find(E->wd);
        if (It == FFolders.end()) continue;
        const std::string Child = It->second + "/" + E->name;
        if (E->mask & IN_MOVED_FROM) {
          FMovedAway[E->cookie] = Child;
          continue;
        }
        if (E->mask & (IN_CREATE | IN_MOVED_TO)) {
          // A folder renamed inside the tree keeps its watches; only their paths change.
          auto Away = FMovedAway.find(E->cookie);
          if ((E->mask & IN_MOVED_TO) && Away != FMovedAway.end()) {
            RenameFolders(Away->second, Child);
            FMovedAway.erase(Away);
            continue;
          }
          const int Watch = ::inotify_add_watch(FInotify, Child.c_str(), FMask | IN_ONLYDIR | IN_DONT_FOLLOW);
          if (Watch >= 0) {
            FFolders[Watch] = Child;
            WatchBelow(Child, true);
          }
        }
      }
      // A folder moved out of the tree takes no part in it any more. (The two halves of a
      // rename nearly always come in one read; a split pair only costs the folder its watches.)
      for (const auto& [Cookie, Path] : FMovedAway) ForgetFolders(Path);
      FMovedAway.clear();
      if (Changed) Signal();
    }
  }

  void ForgetFolders(const std::string& Root) {
    for (auto It = FFolders.begin(); It != FFolders.end();) {
      if (It->second == Root || It->second.compare(0, Root.size() + 1, Root + "/") == 0) {
        ::inotify_rm_watch(FInotify, It->first);
        It = FFolders.erase(It);
      } else {
        ++It;
      }
    }
  }

  // Watched folders at or below From are now at or below To.
  void RenameFolders(const std::string& From, const std::string& To) {
    for (auto& [Watch, Path] : FFolders)
      if (Path == From || Path.compare(0, From.size() + 1, From + "/") == 0)
        Path = To + Path.substr(From.size());
  }

  void Stop() {
    if (FWake >= 0) {
      const uint64_t One = 1;
      [[maybe_unused]] const ssize_t Written = ::write(FWake, &One, sizeof(One));
    }
    if (FThread.joinable()) FThread.join();
    if (FInotify >= 0) ::close(FInotify);
    if (FWake >= 0) ::close(FWake);
    FInotify = FWake = -1;
  }

  bool FSubtree = false;
  DWORD FFilter = 0;
  uint32_t FMask = 0;
  dev_t FDevice = 0;
  int FInotify = -1, FWake = -1;
  std::map<int, std::string> FFolders;         // watch descriptor -> folder (watcher thread only)
  std::map<uint32_t, std::string> FMovedAway;  // rename cookie -> old path of a folder
  std::thread FThread;
  // Under the kernel wait lock.
  unsigned long long FGeneration = 0, FSeen = 0, FArmed = 0;
  bool FClosed = false;
};

}  // namespace

HANDLE FindFirstChangeNotificationA(std::string_view Path, BOOL WatchSubtree, DWORD NotifyFilter) {
  std::string Native;
  if (!DrivePathToNative(Path, Native) || Native.empty()) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return INVALID_CHANGE_HANDLE;
  }
  if ((NotifyFilter & 0x17F) == 0 || (NotifyFilter & ~0x17Fu) != 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_CHANGE_HANDLE;
  }
  auto Object = std::make_shared<TChangeNotification>();
  if (!Object->Start(Native, WatchSubtree != FALSE, NotifyFilter)) return INVALID_CHANGE_HANDLE;
  return CreateKernelHandle(std::move(Object));
}

BOOL FindNextChangeNotification(HANDLE Handle) {
  auto Object = GetKernelObjectAs<TChangeNotification>(Handle);
  if (Object == nullptr || !Object->Rearm()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}

BOOL FindCloseChangeNotification(HANDLE Handle) {
  if (GetKernelObjectAs<TChangeNotification>(Handle) == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return CloseHandle(Handle);
}
