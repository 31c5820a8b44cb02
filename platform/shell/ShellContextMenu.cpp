// The context menu of one item: "Open" and "Rename". No verb deletes: there is no recycle bin.
#include <strings.h>

#include <cstring>

#include "platform/shell/ShellAPI.h"
#include "platform/shell/ShellInternals.h"
#include "platform/user/Menus.h"
#include "platform/user/WindowMessages.h"

namespace {

constexpr UINT VerbOpen = 0, VerbRename = 1;
const char* const Verbs[] = {"open", "rename"};

class TShellContextMenu final : public TInterfacedObject<IContextMenu2> {
 public:
  explicit TShellContextMenu(std::vector<TShellElement> Item)
      : FItem(std::move(Item)), FLocation(LocateElements(FItem)) {}

  HRESULT QueryInterface(const GUID& Iid, void** Object) override {
    if (Object == nullptr) return E_POINTER;
    *Object = nullptr;
    if (!IsEqualGUID(Iid, IID_IUnknown) && !IsEqualGUID(Iid, IID_IContextMenu) &&
        !IsEqualGUID(Iid, IID_IContextMenu2))
      return E_NOINTERFACE;
    AddRef();
    *Object = static_cast<IContextMenu2*>(this);
    return S_OK;
  }

  HRESULT QueryContextMenu(HMENU Menu, UINT IndexMenu, UINT CmdFirst, UINT CmdLast, UINT Flags) override {
    if (Menu == nullptr || CmdFirst > CmdLast) return E_INVALIDARG;
    UINT Used = 0;
    if (!InsertMenu(Menu, IndexMenu, MF_BYPOSITION | MF_STRING, CmdFirst + VerbOpen, "&Open")) return E_FAIL;
    SetMenuDefaultItem(Menu, CmdFirst + VerbOpen, FALSE);
    Used = 1;
    DWORD Attributes = 0;
    const bool CanRename = SUCCEEDED(ItemAttributes(FLocation, Attributes)) && (Attributes & SFGAO_CANRENAME);
    if ((Flags & CMF_CANRENAME) && !(Flags & CMF_DEFAULTONLY) && CanRename &&
        CmdFirst + VerbRename <= CmdLast &&
        InsertMenu(Menu, IndexMenu + 1, MF_BYPOSITION | MF_STRING, CmdFirst + VerbRename, "Rena&me"))
      Used = 2;
    return MAKE_HRESULT(0, 0, Used);
  }

  HRESULT InvokeCommand(CMINVOKECOMMANDINFO* Info) override {
    // A verb by number is MAKEINTRESOURCE(offset): the first command's is a null pointer.
    if (Info == nullptr) return E_INVALIDARG;
    UINT Verb;
    if (IS_INTRESOURCE(Info->lpVerb)) {
      Verb = static_cast<UINT>(reinterpret_cast<std::uintptr_t>(Info->lpVerb));
    } else if (strcasecmp(Info->lpVerb, "open") == 0) {
      Verb = VerbOpen;
    } else {
      // "rename" needs the view's label editing; other verbs are not offered.
      return E_FAIL;
    }
    if (Verb != VerbOpen) return E_FAIL;
    if (IsContainerKind(FLocation.Kind) || FLocation.Place != TShellPlace::FileSystem)
      return Navigate(Info->hwnd);
    const HINSTANCE Result = ShellExecute(Info->hwnd, "open", FLocation.Path.c_str(), Info->lpParameters,
                                          Info->lpDirectory, Info->nShow);
    return reinterpret_cast<std::uintptr_t>(Result) > 32 ? S_OK : E_FAIL;
  }

  HRESULT GetCommandString(UINT_PTR Cmd, UINT Type, UINT*, char* Name, UINT Max) override {
    if (Cmd > VerbRename) return E_INVALIDARG;
    if (Type == GCS_VALIDATEA) return S_OK;
    const char* Text =
        Type == GCS_VERBA ? Verbs[Cmd] : (Cmd == VerbOpen ? "Opens the item." : "Renames the item.");
    if (Name == nullptr || Max == 0) return E_INVALIDARG;
    const std::size_t Length = std::min<std::size_t>(std::strlen(Text), Max - 1);
    std::memcpy(Name, Text, Length);
    Name[Length] = '\0';
    return S_OK;
  }

  HRESULT HandleMenuMsg(UINT, WPARAM, LPARAM) override { return S_OK; }

 private:
  // A folder opens where it is shown: the owner window is asked to browse to it.
  HRESULT Navigate(HWND Owner) {
    if (Owner == nullptr) return E_FAIL;
    LPITEMIDLIST ID = BuildItemIDList(FItem);
    const LRESULT Answer =
        SendMessage(Owner, RegisterWindowMessage(SHELL_NAVIGATE_MESSAGE), 0, reinterpret_cast<LPARAM>(ID));
    ILFree(ID);
    return Answer != 0 ? S_OK : E_FAIL;
  }

  std::vector<TShellElement> FItem;
  TShellLocation FLocation;
};

}  // namespace

HRESULT CreateShellContextMenu(std::vector<TShellElement> Item, const GUID& Iid, void** Object) {
  auto* Menu = new TShellContextMenu(std::move(Item));
  Menu->AddRef();
  const HRESULT R = Menu->QueryInterface(Iid, Object);
  Menu->Release();
  return R;
}
