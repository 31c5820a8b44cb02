#pragma once
// The skin library's layer over the shell namespace: item-ID list helpers, TbsShellFolder (one
// namespace item with its folder and detail interfaces, names, attributes and column texts),
// the resolution of a root text into a folder, and the shell context menu.
//
// Everything here runs on the user-interface thread. Lists made here come from the shell
// allocator and are freed with ShellFree; a TbsShellFolder owns its two lists and its detail
// texts, and holds one reference on each interface it caches.
#include <memory>
#include <string>
#include <vector>

#include "platform/classes/Controls.h"
#include "platform/shell/ShlObj.h"
#include "platform/system/Exceptions.h"
#include "platform/system/Files.h"
#include "platform/system/Sets.h"
#include "platform/system/StringList.h"
#include "platform/system/SyncObjs.h"

TV_DECLARE_EXCEPTION(EInvalidPath, Exception)

// A TRootFolder name ("rfDesktop", ...) or a path.
using TRoot = std::string;

enum TRootFolder {
  rfDesktop,
  rfMyComputer,
  rfNetwork,
  rfRecycleBin,
  rfAppData,
  rfCommonDesktopDirectory,
  rfCommonPrograms,
  rfCommonStartMenu,
  rfCommonStartup,
  rfControlPanel,
  rfDesktopDirectory,
  rfFavorites,
  rfFonts,
  rfInternet,
  rfPersonal,
  rfPrinters,
  rfPrintHood,
  rfPrograms,
  rfRecent,
  rfSendTo,
  rfStartMenu,
  rfStartup,
  rfTemplates
};
// The special folder of each value, and the value a text names (false for other texts).
Integer RootFolderCSIDL(TRootFolder Value);
bool RootFolderFromText(const std::string& Text, TRootFolder& Value);

enum TShellObjectType { otFolders, otNonFolders, otHidden };
using TShellObjectTypes = TSet<TShellObjectType, 8>;
DWORD ObjectTypesToEnumFlags(TShellObjectTypes Types);

// ---- Item-ID lists --------------------------------------------------------------------------
void* ShellAllocZeroed(std::size_t Size);
void ShellFree(void* P);
LPITEMIDLIST NextItemID(LPCITEMIDLIST P);
Integer CountItemIDs(LPCITEMIDLIST List);
UINT ItemIDListSize(LPCITEMIDLIST List);
LPITEMIDLIST CopyItemIDList(LPCITEMIDLIST List);
LPITEMIDLIST ConcatItemIDLists(LPCITEMIDLIST A, LPCITEMIDLIST B);
void DropLastItemID(LPITEMIDLIST List);
LPITEMIDLIST LastItemIDCopy(LPCITEMIDLIST Absolute);
// Copies of every proper prefix, the desktop's empty list first and the parent last.
std::vector<LPITEMIDLIST> ItemIDAncestorList(LPCITEMIDLIST List);
void FreeItemIDAncestorList(std::vector<LPITEMIDLIST>& List);
bool SameItemIDList(LPCITEMIDLIST A, LPCITEMIDLIST B);
// A list held for a scope.
struct TItemIDHolder {
  explicit TItemIDHolder(LPITEMIDLIST AList = nullptr) : List(AList) {}
  ~TItemIDHolder() { ShellFree(List); }
  TItemIDHolder(const TItemIDHolder&) = delete;
  TItemIDHolder& operator=(const TItemIDHolder&) = delete;
  LPITEMIDLIST List;
};

// Failures are raised as EOSError with the platform's text.
LPITEMIDLIST DesktopItemID();
TComPtr<IShellFolder> DesktopShellFolder();
Integer SystemIconIndex(LPCITEMIDLIST Absolute, bool Large, bool Open);

TComPtr<IShellFolder> BindShellFolder(IShellFolder* Parent, LPCITEMIDLIST Relative, HWND Owner);

// ---- TbsShellFolder ---------------------------------------------------------------------------
class TbsShellFolder {
 public:
  // Parent may be nil: the process-wide desktop folder is the parent then.
  TbsShellFolder(TbsShellFolder* AParent, TComPtr<IShellFolder> AFolder, LPCITEMIDLIST ARelative);
  virtual ~TbsShellFolder();
  TbsShellFolder(const TbsShellFolder&) = delete;
  TbsShellFolder& operator=(const TbsShellFolder&) = delete;

  LPITEMIDLIST ItemID = nullptr;
  LPITEMIDLIST FullID = nullptr;
  TbsShellFolder* ParentFolder = nullptr;
  TComPtr<IShellFolder> FolderInterface;
  Integer Depth = 0;
  HWND OwnerWindow = nullptr;

  IShellFolder* ParentInterface() const;
  std::string DisplayText() const;
  std::string ParsingText() const;
  std::string DiskPath() const;
  bool IsContainer() const;
  Integer IconIndex(bool Large) const;
  Byte ItemFlags() const;
  Byte AllowedActions() const;
  // False (and nothing done) when the shell does not allow renaming the item.
  bool RenameTo(const std::u16string& NewName);
  IShellDetails* DetailsSource();
  IShellFolder2* Folder2Source();
  void LoadColumnDetails(TbsShellFolder* Parent, HWND Owner, Integer Count);
  // Empty for a column without a text (also before LoadColumnDetails).
  std::string DetailText(Integer Column) const;
  Integer DetailCount() const { return FDetailTexts->GetCount(); }
  TWin32FindData FolderFindData() const;

 private:
  void ResolveDetailSources();
  mutable Integer FContainer = -1;  // the answer, once asked: an item does not change its kind
  TComPtr<IShellFolder2> FFolder2;
  TComPtr<IShellDetails> FDetails;
  bool FResolved = false;
  std::unique_ptr<TStringList> FDetailTexts;
};

// Size of a found file, -1 for folders.
Int64 FindDataSize(const TWin32FindData& Data);
// The last-write time in seconds since 1970, -1 for folders.
Int64 FindDataModified(const TWin32FindData& Data);

// The process-wide desktop folder object (made on first use).
TbsShellFolder* DesktopFolderObject();
// Guards the shared fields of the folder-change threads.
TCriticalSection& ShellChangeLock();

TbsShellFolder* CreateFolderFromID(LPCITEMIDLIST Absolute);
// Makes the folder a root text names and frees the old object; on failure RootText reverts to
// OldRoot and "Error setting path: "%s"" is raised, the old object kept.
TbsShellFolder* CreateRootFolder(TbsShellFolder* OldFolder, const std::string& OldRoot,
                                 std::string& RootText);

// A name a folder item may take: not empty, not "." or "..", no separator ('/' or '\\').
bool IsAcceptableItemName(const std::string& Name);

std::string ShellDisplayNameOf(IShellFolder* Folder, LPCITEMIDLIST ID, DWORD Flags);
std::string StrRetToText(LPCITEMIDLIST ID, STRRET& Str);

// Told by the shell context menu before and after a chosen command runs.
class IShellVerbSink {
 public:
  virtual void ExecuteVerb(const std::string& Verb, bool& Handled) = 0;
  virtual void VerbCompleted(const std::string& Verb, bool Success) = 0;

 protected:
  ~IShellVerbSink() = default;
};

void ShowShellContextMenu(TWinControl* Owner, TbsShellFolder* Item, Integer X, Integer Y);
void InvokeShellVerb(TbsShellFolder* Item, const std::string& Verb);
// The menu being tracked, nil when none.
IContextMenu2* TrackedContextMenu();
