#include "skin/dialogs/bsShellFolders.h"

#include <algorithm>
#include <cstring>

#include "platform/shell/ShellFileInfo.h"
#include "platform/system/ErrorMessages.h"
#include "platform/system/Format.h"
#include "platform/system/ScopeExit.h"
#include "platform/system/Strings.h"
#include "platform/user/Menus.h"
#include "platform/user/WindowPos.h"

namespace {

struct TRootName {
  const char* Name;
  Integer CSIDL;
};
constexpr TRootName RootNames[] = {
    {"rfDesktop", CSIDL_DESKTOP},
    {"rfMyComputer", CSIDL_DRIVES},
    {"rfNetwork", CSIDL_NETWORK},
    {"rfRecycleBin", CSIDL_BITBUCKET},
    {"rfAppData", CSIDL_APPDATA},
    {"rfCommonDesktopDirectory", CSIDL_COMMON_DESKTOPDIRECTORY},
    {"rfCommonPrograms", CSIDL_COMMON_PROGRAMS},
    {"rfCommonStartMenu", CSIDL_COMMON_STARTMENU},
    {"rfCommonStartup", CSIDL_COMMON_STARTUP},
    {"rfControlPanel", CSIDL_CONTROLS},
    {"rfDesktopDirectory", CSIDL_DESKTOPDIRECTORY},
    {"rfFavorites", CSIDL_FAVORITES},
    {"rfFonts", CSIDL_FONTS},
    {"rfInternet", CSIDL_INTERNET},
    {"rfPersonal", CSIDL_PERSONAL},
    {"rfPrinters", CSIDL_PRINTERS},
    {"rfPrintHood", CSIDL_PRINTHOOD},
    {"rfPrograms", CSIDL_PROGRAMS},
    {"rfRecent", CSIDL_RECENT},
    {"rfSendTo", CSIDL_SENDTO},
    {"rfStartMenu", CSIDL_STARTMENU},
    {"rfStartup", CSIDL_STARTUP},
    {"rfTemplates", CSIDL_TEMPLATES},
};

[[noreturn]] void RaiseOleError(HRESULT Result) {
  throw EOSError(SysErrorMessage(static_cast<DWORD>(HRESULT_CODE(Result))));
}

std::vector<Byte> ElementBytes(LPCITEMIDLIST P) {
  const auto* B = reinterpret_cast<const Byte*>(P);
  return std::vector<Byte>(B, B + P->mkid.cb);
}

IContextMenu2* GTrackedMenu = nullptr;
std::unique_ptr<TbsShellFolder> GDesktopObject;

}  // namespace

Integer RootFolderCSIDL(TRootFolder Value) {
  return RootNames[Value].CSIDL;
}

bool RootFolderFromText(const std::string& Text, TRootFolder& Value) {
  for (std::size_t I = 0; I < std::size(RootNames); ++I)
    if (SameText(Text, RootNames[I].Name)) {
      Value = static_cast<TRootFolder>(I);
      return true;
    }
  return false;
}

DWORD ObjectTypesToEnumFlags(TShellObjectTypes Types) {
  DWORD Flags = 0;
  if (Types.Contains(otFolders)) Flags |= SHCONTF_FOLDERS;
  if (Types.Contains(otNonFolders)) Flags |= SHCONTF_NONFOLDERS;
  if (Types.Contains(otHidden)) Flags |= SHCONTF_INCLUDEHIDDEN;
  return Flags;
}

// ---- Item-ID lists --------------------------------------------------------------------------

void* ShellAllocZeroed(std::size_t Size) {
  void* P = CoTaskMemAlloc(Size);
  if (P != nullptr) std::memset(P, 0, Size);
  return P;
}

void ShellFree(void* P) {
  CoTaskMemFree(P);
}

LPITEMIDLIST NextItemID(LPCITEMIDLIST P) {
  return reinterpret_cast<LPITEMIDLIST>(const_cast<Byte*>(reinterpret_cast<const Byte*>(P)) + P->mkid.cb);
}

Integer CountItemIDs(LPCITEMIDLIST List) {
  Integer Count = 0;
  for (LPCITEMIDLIST P = List; P != nullptr && P->mkid.cb != 0; P = NextItemID(P)) ++Count;
  return Count;
}

UINT ItemIDListSize(LPCITEMIDLIST List) {
  return ILGetSize(List);
}

LPITEMIDLIST CopyItemIDList(LPCITEMIDLIST List) {
  return ILClone(List);
}

LPITEMIDLIST ConcatItemIDLists(LPCITEMIDLIST A, LPCITEMIDLIST B) {
  return ILCombine(A, B);
}

void DropLastItemID(LPITEMIDLIST List) {
  if (List != nullptr) ILRemoveLastID(List);
}

LPITEMIDLIST LastItemIDCopy(LPCITEMIDLIST Absolute) {
  LPCITEMIDLIST Last = ILFindLastID(Absolute);
  if (Last == nullptr || Last->mkid.cb == 0) return ILClone(Last);
  std::vector<Byte> Bytes = ElementBytes(Last);
  Bytes.push_back(0);
  Bytes.push_back(0);
  auto* Copy = static_cast<Byte*>(CoTaskMemAlloc(Bytes.size()));
  std::memcpy(Copy, Bytes.data(), Bytes.size());
  return reinterpret_cast<LPITEMIDLIST>(Copy);
}

std::vector<LPITEMIDLIST> ItemIDAncestorList(LPCITEMIDLIST List) {
  std::vector<LPITEMIDLIST> Ancestors;
  const Integer Count = CountItemIDs(List);
  for (Integer Keep = 0; Keep < Count; ++Keep) {
    LPITEMIDLIST Copy = ILClone(List);
    for (Integer Drop = Count; Drop > Keep; --Drop) ILRemoveLastID(Copy);
    Ancestors.push_back(Copy);
  }
  return Ancestors;
}

void FreeItemIDAncestorList(std::vector<LPITEMIDLIST>& List) {
  for (LPITEMIDLIST P : List) ShellFree(P);
  List.clear();
}

bool SameItemIDList(LPCITEMIDLIST A, LPCITEMIDLIST B) {
  if (A == nullptr || B == nullptr) return A == B;
  return DesktopShellFolder()->CompareIDs(0, A, B) == S_OK;
}

LPITEMIDLIST DesktopItemID() {
  LPITEMIDLIST ID = nullptr;
  const HRESULT R = SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &ID);
  if (FAILED(R)) RaiseOleError(R);
  return ID;
}

TComPtr<IShellFolder> DesktopShellFolder() {
  IShellFolder* Folder = nullptr;
  const HRESULT R = SHGetDesktopFolder(&Folder);
  if (FAILED(R)) RaiseOleError(R);
  return TComPtr<IShellFolder>::Attach(Folder);
}

Integer SystemIconIndex(LPCITEMIDLIST Absolute, bool Large, bool Open) {
  SHFILEINFOA Info;
  UINT Flags = SHGFI_SYSICONINDEX | SHGFI_PIDL;
  if (Open) Flags |= SHGFI_OPENICON;
  if (!Large) Flags |= SHGFI_SMALLICON;
  SHGetFileInfoA(reinterpret_cast<LPCSTR>(Absolute), 0, &Info, sizeof(Info), Flags);
  return Info.iIcon;
}

namespace {

template <class T>
TComPtr<T> BindThreeWays(IShellFolder* Folder, LPCITEMIDLIST ID, HWND Owner, const GUID& Iid) {
  void* Object = nullptr;
  if (Folder != nullptr) {
    if (SUCCEEDED(Folder->BindToObject(ID, nullptr, Iid, &Object)) && Object != nullptr)
      return TComPtr<T>::Attach(static_cast<T*>(Object));
    LPCITEMIDLIST IDs[] = {ID};
    if (SUCCEEDED(Folder->GetUIObjectOf(Owner, 1, IDs, Iid, nullptr, &Object)) && Object != nullptr)
      return TComPtr<T>::Attach(static_cast<T*>(Object));
    if (SUCCEEDED(Folder->CreateViewObject(Owner, Iid, &Object)) && Object != nullptr)
      return TComPtr<T>::Attach(static_cast<T*>(Object));
  }
  if (SUCCEEDED(DesktopShellFolder()->BindToObject(ID, nullptr, Iid, &Object)) && Object != nullptr)
    return TComPtr<T>::Attach(static_cast<T*>(Object));
  return {};
}

}  // namespace

TComPtr<IShellFolder> BindShellFolder(IShellFolder* Parent, LPCITEMIDLIST Relative, HWND Owner) {
  return BindThreeWays<IShellFolder>(Parent, Relative, Owner, IID_IShellFolder);
}

// ---- Names ----------------------------------------------------------------------------------

std::string StrRetToText(LPCITEMIDLIST ID, STRRET& Str) {
  std::string Text = StrRetToString(&Str, ID);
  // A name like "?12" (an unreadable character before a digit) loses every "?".
  if (Text.size() > 1 && Text[0] == '?' && Text[1] >= '0' && Text[1] <= '9')
    Text.erase(std::remove(Text.begin(), Text.end(), '?'), Text.end());
  return Text;
}

std::string ShellDisplayNameOf(IShellFolder* Folder, LPCITEMIDLIST ID, DWORD Flags) {
  if (Folder == nullptr) return "parentfolder = nil";
  auto Ask = [&](DWORD AskFlags) {
    STRRET Str;
    Str.cStr[0] = 0;
    if (FAILED(Folder->GetDisplayNameOf(ID, AskFlags, &Str))) return std::string();
    return StrRetToText(ID, Str);
  };
  std::string Text = Ask(Flags);
  if (Text.rfind("::{", 0) == 0) Text = Ask(SHGDN_NORMAL);
  return Text;
}

bool IsAcceptableItemName(const std::string& Name) {
  return !Name.empty() && Name != "." && Name != ".." && Name.find_first_of("/\\") == std::string::npos;
}

// ---- TbsShellFolder ---------------------------------------------------------------------------

TbsShellFolder::TbsShellFolder(TbsShellFolder* AParent, TComPtr<IShellFolder> AFolder,
                               LPCITEMIDLIST ARelative)
    : ItemID(CopyItemIDList(ARelative)),
      ParentFolder(AParent),
      FolderInterface(std::move(AFolder)),
      FDetailTexts(std::make_unique<TStringList>()) {
  if (AParent != nullptr) {
    FullID = ConcatItemIDLists(AParent->FullID, ARelative);
  } else {
    TItemIDHolder Desktop(DesktopItemID());
    FullID = ConcatItemIDLists(Desktop.List, ARelative);
    // Nil while the desktop object itself is made.
    ParentFolder = GDesktopObject.get();
  }
  for (TbsShellFolder* P = AParent != nullptr ? AParent->ParentFolder : nullptr; P != nullptr;
       P = P->ParentFolder)
    ++Depth;
}

TbsShellFolder::~TbsShellFolder() {
  ShellFree(ItemID);
  ShellFree(FullID);
}

IShellFolder* TbsShellFolder::ParentInterface() const {
  if (ParentFolder != nullptr) return ParentFolder->FolderInterface.Get();
  return DesktopFolderObject()->FolderInterface.Get();
}

std::string TbsShellFolder::DisplayText() const {
  return ShellDisplayNameOf(ParentInterface(), ItemID, SHGDN_INFOLDER);
}

std::string TbsShellFolder::ParsingText() const {
  return ShellDisplayNameOf(DesktopFolderObject()->FolderInterface.Get(), FullID, SHGDN_FORPARSING);
}

std::string TbsShellFolder::DiskPath() const {
  char Path[MAX_PATH + 1] = {};
  if (!SHGetPathFromIDListA(FullID, Path)) return {};
  return Path;
}

bool TbsShellFolder::IsContainer() const {
  if (FContainer < 0) {
    DWORD Attributes = SFGAO_FOLDER;
    LPCITEMIDLIST IDs[] = {ItemID};
    if (CountItemIDs(ItemID) == 0)
      FContainer = 1;
    else if (FAILED(ParentInterface()->GetAttributesOf(1, IDs, &Attributes)) || !(Attributes & SFGAO_FOLDER))
      FContainer = 0;
    else
      FContainer = AnsiUpperCase(ExtractFileExt(DiskPath())) != ".ZIP" ? 1 : 0;
  }
  return FContainer == 1;
}

Integer TbsShellFolder::IconIndex(bool Large) const {
  return SystemIconIndex(FullID, Large, false);
}

namespace {

DWORD QueryAttributes(const TbsShellFolder* Item, DWORD Mask) {
  DWORD Attributes = Mask;
  LPCITEMIDLIST IDs[] = {Item->ItemID};
  if (CountItemIDs(Item->ItemID) == 0) {
    if (FAILED(DesktopShellFolder()->GetAttributesOf(0, nullptr, &Attributes))) return 0;
    return Attributes;
  }
  if (FAILED(Item->ParentInterface()->GetAttributesOf(1, IDs, &Attributes))) return 0;
  return Attributes;
}

}  // namespace

Byte TbsShellFolder::ItemFlags() const {
  const DWORD First = QueryAttributes(this, SFGAO_GHOSTED | SFGAO_LINK | SFGAO_READONLY | SFGAO_SHARE);
  const DWORD Second =
      QueryAttributes(this, SFGAO_FILESYSTEM | SFGAO_FILESYSANCESTOR | SFGAO_REMOVABLE | SFGAO_VALIDATE);
  Byte Flags = 0;
  if (First & SFGAO_GHOSTED) Flags |= 0x01;
  if (First & SFGAO_LINK) Flags |= 0x02;
  if (First & SFGAO_READONLY) Flags |= 0x04;
  if (First & SFGAO_SHARE) Flags |= 0x08;
  if (Second & SFGAO_FILESYSTEM) Flags |= 0x10;
  if (Second & SFGAO_FILESYSANCESTOR) Flags |= 0x20;
  if (Second & SFGAO_REMOVABLE) Flags |= 0x40;
  if (Second & SFGAO_VALIDATE) Flags |= 0x80;
  return Flags;
}

Byte TbsShellFolder::AllowedActions() const {
  const DWORD A = QueryAttributes(this, SFGAO_CAPABILITYMASK);
  Byte Flags = 0;
  if (A & SFGAO_CANCOPY) Flags |= 0x01;
  if (A & SFGAO_CANDELETE) Flags |= 0x02;
  if (A & SFGAO_CANLINK) Flags |= 0x04;
  if (A & SFGAO_CANMOVE) Flags |= 0x08;
  if (A & SFGAO_CANRENAME) Flags |= 0x10;
  if (A & SFGAO_DROPTARGET) Flags |= 0x20;
  if (A & SFGAO_HASPROPSHEET) Flags |= 0x40;
  return Flags;
}

bool TbsShellFolder::RenameTo(const std::u16string& NewName) {
  if (!(AllowedActions() & 0x10)) return false;
  LPITEMIDLIST NewID = nullptr;
  if (FAILED(ParentInterface()->SetNameOf(nullptr, ItemID, NewName.c_str(), SHGDN_NORMAL, &NewID)) ||
      NewID == nullptr)
    throw Exception(Format("Rename to %s failed", {Utf16ToUtf8(NewName)}));
  ShellFree(ItemID);
  ShellFree(FullID);
  ItemID = NewID;
  FullID = ParentFolder != nullptr ? ConcatItemIDLists(ParentFolder->FullID, NewID) : CopyItemIDList(NewID);
  FDetailTexts->Clear();
  return true;
}

void TbsShellFolder::ResolveDetailSources() {
  if (FResolved || !FolderInterface) return;
  FResolved = true;
  void* Object = nullptr;
  if (SUCCEEDED(FolderInterface->QueryInterface(IID_IShellFolder2, &Object)) && Object != nullptr) {
    FFolder2 = TComPtr<IShellFolder2>::Attach(static_cast<IShellFolder2*>(Object));
    return;
  }
  FDetails = BindThreeWays<IShellDetails>(FolderInterface.Get(), FullID, OwnerWindow, IID_IShellDetails);
}

IShellDetails* TbsShellFolder::DetailsSource() {
  ResolveDetailSources();
  return FFolder2 ? nullptr : FDetails.Get();
}

IShellFolder2* TbsShellFolder::Folder2Source() {
  ResolveDetailSources();
  return FFolder2.Get();
}

void TbsShellFolder::LoadColumnDetails(TbsShellFolder* Parent, HWND Owner, Integer Count) {
  if (FDetailTexts->GetCount() >= Count || Parent == nullptr) return;
  FDetailTexts->Clear();
  OwnerWindow = Owner;
  auto AddFrom = [&](auto* Source) {
    for (Integer C = 1; C <= Count; ++C) {
      SHELLDETAILS D;
      if (FAILED(Source->GetDetailsOf(ItemID, static_cast<UINT>(C), &D)))
        FDetailTexts->Add("");
      else
        FDetailTexts->Add(StrRetToText(ItemID, D.str));
    }
  };
  if (IShellFolder2* F2 = Parent->Folder2Source()) {
    AddFrom(F2);
  } else if (IShellDetails* D = Parent->DetailsSource()) {
    AddFrom(D);
  } else if (Parent->ItemFlags() & 0x10) {
    const TWin32FindData Data = FolderFindData();
    for (Integer C = 1; C <= Count; ++C) {
      switch (C) {
        case 1:
          FDetailTexts->Add(IntToStr(FindDataSize(Data)));
          break;
        case 2:
          FDetailTexts->Add(ExtractFileExt(Data.cFileName));
          break;
        case 3:
          FDetailTexts->Add(IntToStr(FindDataModified(Data)));
          break;
        case 4:
          FDetailTexts->Add(IntToStr(static_cast<Int64>(Data.dwFileAttributes)));
          break;
        default:
          FDetailTexts->Add("");
      }
    }
  }
}

std::string TbsShellFolder::DetailText(Integer Column) const {
  if (Column < 1 || Column > FDetailTexts->GetCount()) return {};
  return FDetailTexts->GetStrings(Column - 1);
}

TWin32FindData TbsShellFolder::FolderFindData() const {
  TSearchRec SR;
  const std::string Path = ParsingText();
  const Integer R = FindFirst(Path, faAnyFile, SR);
  auto Close = ScopeExit([&SR] { FindClose(SR); });
  if (R != 0)
    throw EInvalidPath(Format("Unable to retrieve folder details for \"%s\". Error code $%x",
                              {DisplayText(), static_cast<Integer>(R)}));
  return SR.FindData;
}

Int64 FindDataSize(const TWin32FindData& Data) {
  if (Data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return -1;
  return (static_cast<Int64>(Data.nFileSizeHigh) << 32) + Data.nFileSizeLow;
}

Int64 FindDataModified(const TWin32FindData& Data) {
  if (Data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return -1;
  const Int64 Ticks =
      (static_cast<Int64>(Data.ftLastWriteTime.dwHighDateTime) << 32) + Data.ftLastWriteTime.dwLowDateTime;
  // 100-ns intervals since 1601 to seconds since 1970.
  return Ticks / 10000000 - 11644473600LL;
}

// ---- Process-wide state ------------------------------------------------------------------------

TbsShellFolder* DesktopFolderObject() {
  if (!GDesktopObject) {
    TItemIDHolder ID(DesktopItemID());
    GDesktopObject = std::make_unique<TbsShellFolder>(nullptr, DesktopShellFolder(), ID.List);
  }
  return GDesktopObject.get();
}

TCriticalSection& ShellChangeLock() {
  static TCriticalSection Lock;
  return Lock;
}

TbsShellFolder* CreateFolderFromID(LPCITEMIDLIST Absolute) {
  TComPtr<IShellFolder> Folder =
      BindShellFolder(DesktopFolderObject()->FolderInterface.Get(), Absolute, nullptr);
  if (!Folder) Folder = DesktopFolderObject()->FolderInterface;
  return new TbsShellFolder(nullptr, Folder, Absolute);
}

TbsShellFolder* CreateRootFolder(TbsShellFolder* OldFolder, const std::string& OldRoot,
                                 std::string& RootText) {
  LPITEMIDLIST ID = nullptr;
  HRESULT R = E_FAIL;
  TRootFolder Value;
  if (RootFolderFromText(RootText, Value)) {
    R = SHGetSpecialFolderLocation(nullptr, RootFolderCSIDL(Value), &ID);
  } else if (!RootText.empty()) {
    if (RootText.back() == ':') RootText += '\\';
    const std::u16string Wide = Utf8ToUtf16(RootText);
    R = DesktopFolderObject()->FolderInterface->ParseDisplayName(nullptr, nullptr, Wide.c_str(), nullptr, &ID,
                                                                 nullptr);
  }
  if (FAILED(R) || ID == nullptr) {
    const std::string Message = Format("Error setting path: \"%s\"", {RootText});
    RootText = OldRoot;
    throw Exception(Message);
  }
  TItemIDHolder Hold(ID);
  TbsShellFolder* New = CreateFolderFromID(ID);
  delete OldFolder;
  return New;
}

// ---- Context menu -------------------------------------------------------------------------------

IContextMenu2* TrackedContextMenu() {
  return GTrackedMenu;
}

void ShowShellContextMenu(TWinControl* Owner, TbsShellFolder* Item, Integer X, Integer Y) {
  if (Item == nullptr) return;
  const HWND Window = Owner != nullptr ? Owner->GetHandle() : nullptr;
  void* Object = nullptr;
  LPCITEMIDLIST IDs[] = {Item->ItemID};
  if (FAILED(Item->ParentInterface()->GetUIObjectOf(Window, 1, IDs, IID_IContextMenu, nullptr, &Object)) ||
      Object == nullptr)
    return;
  auto Menu = TComPtr<IContextMenu>::Attach(static_cast<IContextMenu*>(Object));
  POINT P{X, Y};
  ClientToScreen(Window, &P);
  HMENU Popup = CreatePopupMenu();
  auto Destroy = ScopeExit([Popup] { DestroyMenu(Popup); });
  Menu->QueryContextMenu(Popup, 0, 1, 0x7FFF, CMF_EXPLORE | CMF_CANRENAME);
  void* Menu2 = nullptr;
  Menu->QueryInterface(IID_IContextMenu2, &Menu2);
  auto Tracked = TComPtr<IContextMenu2>::Attach(static_cast<IContextMenu2*>(Menu2));
  GTrackedMenu = Tracked.Get();
  const UINT Command =
      static_cast<UINT>(TrackPopupMenu(Popup, TPM_RETURNCMD | TPM_RIGHTBUTTON, P.X, P.Y, 0, Window, nullptr));
  GTrackedMenu = nullptr;
  if (Command == 0) return;
  char Verb[256] = {};
  Menu->GetCommandString(Command - 1, GCS_VERBA, nullptr, Verb, sizeof(Verb));
  auto* Sink = dynamic_cast<IShellVerbSink*>(Owner);
  bool Handled = false;
  if (Sink != nullptr) Sink->ExecuteVerb(Verb, Handled);
  bool Success = Handled;
  if (!Handled) {
    CMINVOKECOMMANDINFO Info;
    Info.hwnd = Window;
    Info.lpVerb = reinterpret_cast<LPCSTR>(static_cast<std::uintptr_t>(Command - 1));
    Info.nShow = SW_SHOWNORMAL;
    Success = SUCCEEDED(Menu->InvokeCommand(&Info));
  }
  if (Sink != nullptr) Sink->VerbCompleted(Verb, Success);
}

void InvokeShellVerb(TbsShellFolder* Item, const std::string& Verb) {
  if (Item == nullptr) return;
  void* Object = nullptr;
  LPCITEMIDLIST IDs[] = {Item->ItemID};
  if (FAILED(Item->ParentInterface()->GetUIObjectOf(nullptr, 1, IDs, IID_IContextMenu, nullptr, &Object)) ||
      Object == nullptr)
    return;
  auto Menu = TComPtr<IContextMenu>::Attach(static_cast<IContextMenu*>(Object));
  CMINVOKECOMMANDINFO Info;
  Info.fMask = CMIC_MASK_ASYNCOK;
  Info.lpVerb = Verb.c_str();
  Info.nShow = SW_SHOWNORMAL;
  Menu->InvokeCommand(&Info);
}
