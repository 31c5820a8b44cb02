// The folder objects of the namespace (desktop, Computer and file-system folders), their
// enumerators, and the desktop and special-folder entry points.
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/shell/ShellInternals.h"
#include "platform/shell/ShellItems.h"
#include "platform/system/FileErrors.h"
#include "platform/system/Files.h"
#include "platform/system/Strings.h"

namespace {

char16_t* WideCopy(const std::string& Text) {
  const std::u16string Wide = Utf8ToUtf16(Text);
  auto* Out = static_cast<char16_t*>(CoTaskMemAlloc((Wide.size() + 1) * sizeof(char16_t)));
  if (Out != nullptr) std::memcpy(Out, Wide.c_str(), (Wide.size() + 1) * sizeof(char16_t));
  return Out;
}

void SetWide(STRRET* Str, const std::string& Text) {
  Str->uType = STRRET_WSTR;
  Str->pOleStr = WideCopy(Text);
}

// Orders of kinds: Computer, Home, drives, folders, files.
Integer KindRank(Byte Kind) {
  switch (Kind) {
    case SHID_COMPUTER:
      return 0;
    case SHID_HOME:
      return 1;
    case SHID_DRIVE:
      return 2;
    case SHID_FOLDER:
      return 3;
    default:
      return 4;
  }
}

Integer CompareNames(const std::string& A, const std::string& B) {
  const Integer Folded = strcasecmp(A.c_str(), B.c_str());
  if (Folded != 0) return Folded;
  return A.compare(B);
}

Integer Sign(Int64 V) {
  return V < 0 ? -1 : (V > 0 ? 1 : 0);
}

class TIdEnumerator final : public TInterfacedObject<IEnumIDList> {
 public:
  explicit TIdEnumerator(std::vector<TShellElement> Items) : FItems(std::move(Items)) {}
  HRESULT QueryInterface(const GUID& Iid, void** Object) override {
    if (Object == nullptr) return E_POINTER;
    *Object = nullptr;
    if (!IsEqualGUID(Iid, IID_IUnknown) && !IsEqualGUID(Iid, IID_IEnumIDList)) return E_NOINTERFACE;
    AddRef();
    *Object = static_cast<IEnumIDList*>(this);
    return S_OK;
  }
  HRESULT Next(ULONG Count, LPITEMIDLIST* IDs, ULONG* Fetched) override {
    if (IDs == nullptr) return E_POINTER;
    ULONG Done = 0;
    for (; Done < Count && FNext < FItems.size(); ++Done, ++FNext)
      IDs[Done] = ILCreateElement(FItems[FNext].Kind, FItems[FNext].Name);
    if (Fetched != nullptr) *Fetched = Done;
    return Done == Count ? S_OK : S_FALSE;
  }
  HRESULT Skip(ULONG Count) override {
    const std::size_t Left = FItems.size() - FNext;
    FNext += std::min<std::size_t>(Count, Left);
    return Count <= Left ? S_OK : S_FALSE;
  }
  HRESULT Reset() override {
    FNext = 0;
    return S_OK;
  }

 private:
  std::vector<TShellElement> FItems;
  std::size_t FNext = 0;
};

class TShellFolder final : public IShellFolder2, public IShellDetails {
 public:
  TShellFolder(std::vector<TShellElement> Elements, TShellLocation Location)
      : FElements(std::move(Elements)), FLocation(std::move(Location)) {}

  HRESULT QueryInterface(const GUID& Iid, void** Object) override {
    if (Object == nullptr) return E_POINTER;
    *Object = nullptr;
    if (IsEqualGUID(Iid, IID_IUnknown) || IsEqualGUID(Iid, IID_IShellFolder) ||
        IsEqualGUID(Iid, IID_IShellFolder2))
      *Object = static_cast<IShellFolder2*>(this);
    else if (IsEqualGUID(Iid, IID_IShellDetails))
      *Object = static_cast<IShellDetails*>(this);
    else
      return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG AddRef() override { return ++FRefCount; }
  ULONG Release() override {
    const ULONG Left = --FRefCount;
    if (Left == 0) delete this;
    return Left;
  }

  HRESULT ParseDisplayName(HWND, void*, const char16_t* DisplayName, ULONG* Eaten, LPITEMIDLIST* ID,
                           DWORD* Attributes) override {
    if (ID == nullptr || DisplayName == nullptr) return E_POINTER;
    *ID = nullptr;
    const std::u16string Wide(DisplayName);
    const std::string Text = Utf16ToUtf8(Wide);
    std::vector<TShellElement> Relative;
    const HRESULT R = Parse(Text, Relative);
    if (FAILED(R)) return R;
    if (Attributes != nullptr) {
      std::vector<TShellElement> Full = FElements;
      Full.insert(Full.end(), Relative.begin(), Relative.end());
      DWORD Found = 0;
      ItemAttributes(Locate(Full), Found);
      *Attributes &= Found;
    }
    *ID = BuildItemIDList(Relative);
    if (Eaten != nullptr) *Eaten = static_cast<ULONG>(Wide.size());
    return *ID != nullptr ? S_OK : E_OUTOFMEMORY;
  }

  HRESULT EnumObjects(HWND, DWORD Flags, IEnumIDList** Enum) override {
    if (Enum == nullptr) return E_POINTER;
    *Enum = nullptr;
    std::vector<TShellElement> Children;
    const HRESULT R = ListChildren(FLocation, Flags, Children);
    if (FAILED(R)) return R;
    auto* E = new TIdEnumerator(std::move(Children));
    E->AddRef();
    *Enum = E;
    return S_OK;
  }

  HRESULT BindToObject(LPCITEMIDLIST ID, void*, const GUID& Iid, void** Object) override {
    if (Object == nullptr) return E_POINTER;
    *Object = nullptr;
    std::vector<TShellElement> Full;
    if (!Combine(ID, Full) || Full.size() == FElements.size()) return E_INVALIDARG;
    return BindFolder(std::move(Full), Iid, Object);
  }

  HRESULT CompareIDs(LPARAM Param, LPCITEMIDLIST A, LPCITEMIDLIST B) override {
    std::vector<TShellElement> EA, EB;
    if (!SplitItemIDList(A, EA) || !SplitItemIDList(B, EB)) return E_INVALIDARG;
    const UINT Column = static_cast<UINT>(Param & 0xFFFF);
    TShellLocation Folder = FLocation;
    Integer Result = 0;
    std::size_t I = 0;
    for (; I < EA.size() && I < EB.size(); ++I) {
      Result = CompareElements(Folder, EA[I], EB[I], I + 1 == EA.size() && I + 1 == EB.size() ? Column : 0);
      if (Result != 0) break;
      Folder = LocateChild(Folder, EA[I]);
    }
    if (Result == 0) Result = Sign(static_cast<Int64>(EA.size()) - static_cast<Int64>(EB.size()));
    return MAKE_HRESULT(0, 0, static_cast<WORD>(static_cast<short>(Result)));
  }

  HRESULT CreateViewObject(HWND, const GUID& Iid, void** Object) override {
    if (IsEqualGUID(Iid, IID_IShellFolder2) || IsEqualGUID(Iid, IID_IShellDetails))
      return QueryInterface(Iid, Object);
    if (Object != nullptr) *Object = nullptr;
    return E_NOINTERFACE;
  }

  HRESULT GetAttributesOf(UINT Count, LPCITEMIDLIST* IDs, DWORD* InOut) override {
    if (InOut == nullptr) return E_POINTER;
    DWORD Common = 0xFFFFFFFFu;
    if (Count == 0) {
      const HRESULT R = ItemAttributes(FLocation, Common);
      if (FAILED(R)) return R;
    }
    for (UINT I = 0; I < Count; ++I) {
      std::vector<TShellElement> Full;
      if (IDs == nullptr || !Combine(IDs[I], Full)) return E_INVALIDARG;
      DWORD Item = 0;
      const HRESULT R = ItemAttributes(Locate(Full), Item);
      if (FAILED(R)) return R;
      Common &= Item;
    }
    *InOut &= Common;
    return S_OK;
  }

  HRESULT GetUIObjectOf(HWND, UINT Count, LPCITEMIDLIST* IDs, const GUID& Iid, UINT*,
                        void** Object) override {
    if (Object == nullptr) return E_POINTER;
    *Object = nullptr;
    std::vector<TShellElement> Full;
    if (Count != 1 || IDs == nullptr || !Combine(IDs[0], Full) || Full.size() == FElements.size())
      return E_INVALIDARG;
    if (!IsEqualGUID(Iid, IID_IContextMenu) && !IsEqualGUID(Iid, IID_IContextMenu2)) return E_NOINTERFACE;
    return CreateShellContextMenu(std::move(Full), Iid, Object);
  }

  HRESULT GetDisplayNameOf(LPCITEMIDLIST ID, DWORD Flags, STRRET* Name) override {
    if (Name == nullptr) return E_POINTER;
    std::vector<TShellElement> Relative, Full;
    if (!SplitItemIDList(ID, Relative) || !Combine(ID, Full)) return E_INVALIDARG;
    const TShellLocation Item = Locate(Full);
    if (Item.Place == TShellPlace::Invalid) return E_INVALIDARG;
    // A name inside its folder is the element's own bytes: handed out by offset.
    const bool OwnName = Relative.size() == 1 && (Flags & SHGDN_INFOLDER) &&
                         (Relative[0].Kind == SHID_FOLDER || Relative[0].Kind == SHID_FILE);
    if (OwnName) {
      Name->uType = STRRET_OFFSET;
      Name->uOffset = 3;
      return S_OK;
    }
    SetWide(Name, ItemDisplayName(Item, Flags));
    return S_OK;
  }

  HRESULT SetNameOf(HWND, LPCITEMIDLIST ID, const char16_t* NewName, DWORD, LPITEMIDLIST* NewID) override {
    if (NewID != nullptr) *NewID = nullptr;
    std::vector<TShellElement> Relative, Full;
    if (NewName == nullptr || !SplitItemIDList(ID, Relative) || Relative.size() != 1 || !Combine(ID, Full))
      return E_INVALIDARG;
    const TShellLocation Item = Locate(Full);
    DWORD Attributes = 0;
    const HRESULT R = ItemAttributes(Item, Attributes);
    if (FAILED(R)) return R;
    if (!(Attributes & SFGAO_CANRENAME)) return HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED);
    const std::string Name = Utf16ToUtf8(NewName);
    // The layer reads '\' as a separator, so no name may hold one.
    if (Name.empty() || Name == "." || Name == ".." || Name.find_first_of("/\\") != std::string::npos ||
        Name.size() > 255)
      return HRESULT_FROM_WIN32(ERROR_INVALID_NAME);
    const std::string Folder = Item.Path.substr(0, Item.Path.rfind('/') + 1);
    const std::string Target = Folder + Name;
    if (Target != Item.Path) {
      // Never over another item: a clash fails and both stay.
      if (::renameat2(AT_FDCWD, Item.Path.c_str(), AT_FDCWD, Target.c_str(), RENAME_NOREPLACE) != 0)
        return HRESULT_FROM_WIN32(Win32ErrorFromErrno(errno == EEXIST ? EEXIST : errno, Target));
    }
    if (NewID != nullptr) *NewID = ILCreateElement(Relative[0].Kind, Name);
    return S_OK;
  }

  HRESULT GetDefaultColumnState(UINT Column, DWORD* State) override {
    static const DWORD States[ShellColumnCount] = {SHCOLSTATE_TYPE_STR, SHCOLSTATE_TYPE_INT,
                                                   SHCOLSTATE_TYPE_STR, SHCOLSTATE_TYPE_DATE};
    if (State == nullptr) return E_POINTER;
    if (Column >= ShellColumnCount) return E_INVALIDARG;
    *State = States[Column] | SHCOLSTATE_ONBYDEFAULT;
    return S_OK;
  }

  HRESULT GetDetailsOf(LPCITEMIDLIST ID, UINT Column, SHELLDETAILS* Details) override {
    static const Integer Widths[ShellColumnCount] = {25, 10, 10, 14};
    if (Details == nullptr) return E_POINTER;
    if (Column >= ShellColumnCount) return E_FAIL;
    Details->fmt = Column == 1 ? LVCFMT_RIGHT : LVCFMT_LEFT;
    Details->cxChar = Widths[Column];
    if (ID == nullptr) {
      SetWide(&Details->str, ShellColumnTitle(Column));
      return S_OK;
    }
    std::vector<TShellElement> Full;
    if (!Combine(ID, Full)) return E_INVALIDARG;
    const TShellLocation Item = Locate(Full);
    if (Item.Place == TShellPlace::Invalid) return E_INVALIDARG;
    SetWide(&Details->str, ItemDetailText(Item, Column));
    return S_OK;
  }

  HRESULT ColumnClick(UINT) override { return S_FALSE; }

 private:
  ~TShellFolder() = default;

  // Where a list that starts with this folder's elements leads.
  TShellLocation Locate(const std::vector<TShellElement>& Full) const {
    return LocateElements(Full, &FLocation, FElements.size());
  }

  // This folder's elements followed by those of a relative list.
  bool Combine(LPCITEMIDLIST Relative, std::vector<TShellElement>& Full) const {
    std::vector<TShellElement> Tail;
    if (!SplitItemIDList(Relative, Tail)) return false;
    Full = FElements;
    Full.insert(Full.end(), Tail.begin(), Tail.end());
    return Locate(Full).Place != TShellPlace::Invalid;
  }

  Integer CompareElements(const TShellLocation& Folder, const TShellElement& A, const TShellElement& B,
                          UINT Column) const {
    const Integer Ranks = KindRank(A.Kind) - KindRank(B.Kind);
    if (Ranks != 0) return Sign(Ranks);
    if (A.Kind == SHID_DRIVE && (A.Name == "/" || B.Name == "/") && A.Name != B.Name)
      return A.Name == "/" ? -1 : 1;
    Integer Result = 0;
    if (Column >= 1 && Column <= 3) {
      const TShellLocation LA = LocateChild(Folder, A), LB = LocateChild(Folder, B);
      if (Column == 1)
        Result = Sign(ItemSize(LA) - ItemSize(LB));
      else if (Column == 2)
        Result = CompareNames(ItemDetailText(LA, 2), ItemDetailText(LB, 2));
      else
        Result = Sign(ItemModified(LA) - ItemModified(LB));
    }
    // Signs only: the order travels as a 16-bit value.
    return Sign(Result != 0 ? Result : CompareNames(A.Name, B.Name));
  }

  HRESULT Parse(const std::string& Text, std::vector<TShellElement>& Relative) const {
    Relative.clear();
    const bool Absolute =
        !Text.empty() && (Text[0] == '/' || Text[0] == '\\' || (Text.size() >= 2 && Text[1] == ':'));
    if (FLocation.Place == TShellPlace::Desktop) {
      if (Text ==
          ItemDisplayName(TShellLocation{TShellPlace::Computer, SHID_COMPUTER, {}}, SHGDN_FORPARSING)) {
        Relative.push_back({SHID_COMPUTER, "Computer"});
        return S_OK;
      }
      if (Absolute) return ParseAbsolutePath(Text, Relative);
    } else if (FLocation.Place == TShellPlace::Computer) {
      if (!Absolute) return E_INVALIDARG;
      const HRESULT R = ParseAbsolutePath(Text, Relative);
      if (SUCCEEDED(R)) Relative.erase(Relative.begin());
      return R;
    }
    if (Absolute || Text.empty() || FLocation.Path.empty()) return E_INVALIDARG;
    // Steps below this folder, each of which must exist.
    std::string Path = FLocation.Path;
    std::size_t Start = 0;
    while (Start <= Text.size()) {
      std::size_t End = Text.find_first_of("/\\", Start);
      if (End == std::string::npos) End = Text.size();
      const std::string Step = Text.substr(Start, End - Start);
      Start = End + 1;
      if (Step.empty() || Step == ".") continue;
      if (Step == "..") return E_INVALIDARG;
      Path = Path == "/" ? "/" + Step : Path + "/" + Step;
      struct stat St;
      if (::stat(Path.c_str(), &St) != 0) return HRESULT_FROM_WIN32(Win32ErrorFromErrno(errno, Path));
      Relative.push_back({S_ISDIR(St.st_mode) ? SHID_FOLDER : SHID_FILE, Step});
    }
    return Relative.empty() ? E_INVALIDARG : S_OK;
  }

  std::vector<TShellElement> FElements;
  TShellLocation FLocation;
  std::atomic<ULONG> FRefCount{0};
};

}  // namespace

HRESULT BindFolder(std::vector<TShellElement> Elements, const GUID& Iid, void** Object) {
  *Object = nullptr;
  TShellLocation Location = LocateElements(Elements);
  if (Location.Place == TShellPlace::Invalid || !IsContainerKind(Location.Kind)) return E_INVALIDARG;
  if (Location.Place == TShellPlace::FileSystem) {
    struct stat St;
    if (::stat(Location.Path.c_str(), &St) != 0)
      return HRESULT_FROM_WIN32(Win32ErrorFromErrno(errno, Location.Path));
    if (!S_ISDIR(St.st_mode)) return E_INVALIDARG;
  }
  auto* Folder = new TShellFolder(std::move(Elements), std::move(Location));
  Folder->AddRef();
  const HRESULT R = Folder->QueryInterface(Iid, Object);
  Folder->Release();
  return R;
}

HRESULT SHGetDesktopFolder(IShellFolder** Folder) {
  if (Folder == nullptr) return E_POINTER;
  return BindFolder({}, IID_IShellFolder, reinterpret_cast<void**>(Folder));
}

HRESULT SHGetSpecialFolderLocation(HWND, Integer Folder, LPITEMIDLIST* ID) {
  if (ID == nullptr) return E_POINTER;
  *ID = nullptr;
  std::vector<TShellElement> Elements;
  switch (Folder & ~CSIDL_FLAG_MASK) {
    case CSIDL_DESKTOP:
      break;
    case CSIDL_DRIVES:
      Elements.push_back({SHID_COMPUTER, "Computer"});
      break;
    case CSIDL_PROFILE:
      Elements.push_back({SHID_HOME, "Home"});
      break;
    default: {
      std::string Path;
      if (SHGetFolderPath(nullptr, Folder & ~CSIDL_FLAG_MASK, nullptr, 0, Path) == E_FAIL)
        return E_INVALIDARG;
      const HRESULT R = ParseAbsolutePath(Path, Elements);
      if (FAILED(R)) return R;
    }
  }
  *ID = BuildItemIDList(Elements);
  return *ID != nullptr ? S_OK : E_OUTOFMEMORY;
}

BOOL SHGetPathFromIDListA(LPCITEMIDLIST ID, char* Path) {
  if (Path == nullptr) return FALSE;
  Path[0] = '\0';
  std::vector<TShellElement> Elements;
  if (!SplitItemIDList(ID, Elements)) return FALSE;
  const TShellLocation Item = LocateElements(Elements);
  if (Item.Place == TShellPlace::Computer || Item.Place == TShellPlace::Invalid || Item.Path.empty() ||
      Item.Path.size() >= MAX_PATH)
    return FALSE;
  std::memcpy(Path, Item.Path.c_str(), Item.Path.size() + 1);
  return TRUE;
}
