// SHGetFileInfoA and the system image lists, filled from the program's icon set.
#include <cstring>
#include <mutex>

#include "platform/shell/ShellFileInfo.h"
#include "platform/shell/ShellItems.h"
#include "platform/system/Files.h"
#include "platform/system/Paths.h"
#include "platform/user/Cursors.h"
#include "platform/user/ImageLists.h"

namespace {

// The list of one size: image i is icon i of the set. Made once, never destroyed.
HIMAGELIST SystemImageList(bool Small) {
  static std::once_flag Once;
  static HIMAGELIST Lists[2] = {nullptr, nullptr};
  std::call_once(Once, [] {
    for (Integer Which = 0; Which < 2; ++Which) {
      const Integer Size = Which == 0 ? 32 : 16;
      HIMAGELIST List = ImageList_Create(Size, Size, ILC_COLOR32 | ILC_MASK, siCount, 0);
      for (Integer I = 0; I < siCount; ++I) {
        HICON Icon = LoadIconOfSize(HInstance, ShellIconResource(static_cast<TShellIcon>(I)), Size, Size);
        if (Icon == nullptr || Icon->Color == nullptr || ImageList_Add(List, Icon->Color, Icon->Mask) != I) {
          // The list's indices must match the set's; a gap would shift every icon after it.
          ImageList_Destroy(List);
          List = nullptr;
          break;
        }
      }
      Lists[Which] = List;
    }
  });
  return Lists[Small ? 1 : 0];
}

void CopyText(char* Out, std::size_t Size, const std::string& Text) {
  const std::size_t Length = std::min(Text.size(), Size - 1);
  std::memcpy(Out, Text.data(), Length);
  Out[Length] = '\0';
}

// Where the request leads: an item-ID list, a path, or with SHGFI_USEFILEATTRIBUTES only a name.
bool Locate(LPCSTR Path, DWORD FileAttributes, UINT Flags, TShellLocation& Item) {
  std::vector<TShellElement> Elements;
  if (Flags & SHGFI_PIDL) {
    if (!SplitItemIDList(reinterpret_cast<LPCITEMIDLIST>(Path), Elements)) return false;
    Item = LocateElements(Elements);
    return Item.Place != TShellPlace::Invalid;
  }
  if (Path == nullptr) return false;
  if (Flags & SHGFI_USEFILEATTRIBUTES) {
    Item.Place = TShellPlace::FileSystem;
    Item.Kind = (FileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? SHID_FOLDER : SHID_FILE;
    Item.Path = ToNativePath(Path);
    return true;
  }
  if (FAILED(ParseAbsolutePath(ExpandFileName(Path), Elements))) return false;
  Item = LocateElements(Elements);
  return Item.Place != TShellPlace::Invalid;
}

}  // namespace

DWORD_PTR SHGetFileInfoA(LPCSTR Path, DWORD FileAttributes, SHFILEINFOA* Info, UINT InfoSize, UINT Flags) {
  TShellLocation Item;
  if (!Locate(Path, FileAttributes, Flags, Item)) return 0;
  const bool Small = (Flags & SHGFI_SMALLICON) != 0;
  const TShellIcon Icon = ItemIcon(Item, (Flags & SHGFI_OPENICON) != 0);
  if (Info != nullptr && InfoSize >= sizeof(SHFILEINFOA)) {
    if (Flags & (SHGFI_SYSICONINDEX | SHGFI_ICON)) Info->iIcon = Icon;
    if (Flags & SHGFI_ICON) {
      const Integer Size = Small ? 16 : 32;
      Info->hIcon = CopyIcon(LoadIconOfSize(HInstance, ShellIconResource(Icon), Size, Size));
    }
    if (Flags & SHGFI_DISPLAYNAME)
      CopyText(Info->szDisplayName, sizeof(Info->szDisplayName), ItemDisplayName(Item, 0));
    if (Flags & SHGFI_TYPENAME) CopyText(Info->szTypeName, sizeof(Info->szTypeName), ItemDetailText(Item, 2));
    if (Flags & SHGFI_ATTRIBUTES) {
      DWORD Attributes = 0;
      if (!(Flags & SHGFI_USEFILEATTRIBUTES)) ItemAttributes(Item, Attributes);
      Info->dwAttributes = (Flags & SHGFI_ATTR_SPECIFIED) ? (Attributes & Info->dwAttributes) : Attributes;
    }
  }
  if (Flags & SHGFI_SYSICONINDEX) return reinterpret_cast<DWORD_PTR>(SystemImageList(Small));
  return 1;
}
