#pragma once
// The namespace's items behind the interfaces: where an item-ID list leads, what a folder
// holds, and the attributes, names, details and icons of an item. Internal to the shell
// library.
#include <string>
#include <vector>

#include "platform/shell/ShlObj.h"

struct TShellElement {
  Byte Kind = 0;
  std::string Name;
};

// The elements of a list; false when an element is malformed (a count below 3, a kind or name
// that cannot stand there, a name with '/', "." or "..").
bool SplitItemIDList(LPCITEMIDLIST List, std::vector<TShellElement>& Elements);
LPITEMIDLIST BuildItemIDList(const std::vector<TShellElement>& Elements);

enum class TShellPlace { Desktop, Computer, FileSystem, Invalid };

// Where an absolute list leads. For the desktop, Path is the desktop folder (its entries are
// the desktop's file-system children); for file-system items, the item's path.
struct TShellLocation {
  TShellPlace Place = TShellPlace::Invalid;
  Byte Kind = 0;  // of the last element; 0 for the desktop
  std::string Path;
};
// From, when given, is where the first Skip elements lead (a folder's own location), so that
// only the rest is walked. A desktop reached on the way has its path looked up only when it
// is the end of the walk.
TShellLocation LocateElements(const std::vector<TShellElement>& Elements,
                              const TShellLocation* From = nullptr, std::size_t Skip = 0);
// The location of a child element inside a folder's location.
TShellLocation LocateChild(const TShellLocation& Folder, const TShellElement& Child);

// The children of a folder by the SHCONTF_* flags, unsorted; S_OK or the failure.
HRESULT ListChildren(const TShellLocation& Folder, DWORD Flags, std::vector<TShellElement>& Children);

// The SFGAO_* attributes of an item; E_INVALIDARG or a file error when it does not exist.
HRESULT ItemAttributes(const TShellLocation& Item, DWORD& Attributes);
bool IsContainerKind(Byte Kind);

// Names by SHGDN_* flags.
std::string ItemDisplayName(const TShellLocation& Item, DWORD Flags);

// The four columns.
constexpr UINT ShellColumnCount = 4;
const char* ShellColumnTitle(UINT Column);
std::string ItemDetailText(const TShellLocation& Item, UINT Column);
// Size in bytes (-1 for folders and virtual items) and local last-write time in seconds
// since 1970 (-1 when none), for sorting.
Int64 ItemSize(const TShellLocation& Item);
Int64 ItemModified(const TShellLocation& Item);

// The icon set of the system image list, in its index order.
enum TShellIcon : Integer {
  siFile,
  siText,
  siPicture,
  siFolder,
  siFolderOpen,
  siDesktop,
  siComputer,
  siDrive,
  siRemovable,
  siHome,
  siApplication,
  siCount
};
const char* ShellIconResource(TShellIcon Icon);
TShellIcon ItemIcon(const TShellLocation& Item, bool Open);

// A path the layer was given as the file system spells it: '\' becomes '/', and "C:" (the
// platform's system drive) the root; false for other drive letters.
bool DrivePathToNative(std::string_view Text, std::string& Path);
// An absolute path (with '/' or '\', "C:" or "C:\" for "/") as elements from the desktop:
// Computer, the file system that holds it, then its folders. A missing item fails.
HRESULT ParseAbsolutePath(std::string_view Text, std::vector<TShellElement>& Elements);
// Mount points of Computer: "/" first, then those under /media, /mnt and /run/media/$USER.
std::vector<std::string> ComputerDrives();
