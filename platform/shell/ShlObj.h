#pragma once
// The shell namespace over the Linux file system: item-ID lists, the shell allocator, folder,
// detail, enumeration and context-menu interfaces, and the desktop and special folders.
//
// The namespace: the desktop holds "Computer", "Home" and the entries of the desktop folder
// (CSIDL_DESKTOPDIRECTORY); Computer holds the file system ("/", the platform's "C:\") and the
// file systems mounted under /media, /mnt and /run/media/$USER; every file-system folder holds
// its files and folders. Names starting with '.' are hidden.
//
// An item-ID list is a run of elements, each a 16-bit little-endian byte count (counting
// itself), one kind byte and the item's UTF-8 name, ended by a count of 0. The desktop is the
// empty list. Lists handed out are allocated with the shell allocator (CoTaskMemAlloc); the
// receiver frees them with ILFree or CoTaskMemFree. Interfaces handed out carry one reference
// for the receiver.
#include <string>
#include <string_view>

#include "platform/devices/ComObjects.h"
#include "platform/system/Environment.h"
#include "platform/user/CommonControls.h"  // LVCFMT_*
#include "platform/user/WinUser.h"

#pragma pack(push, 1)
struct SHITEMID {
  WORD cb;
  Byte abID[1];
};
struct ITEMIDLIST {
  SHITEMID mkid;
};
#pragma pack(pop)
using LPITEMIDLIST = ITEMIDLIST*;
using LPCITEMIDLIST = const ITEMIDLIST*;
using PIDLIST_ABSOLUTE = ITEMIDLIST*;
using PCUITEMID_CHILD = const ITEMIDLIST*;

// The kind byte of an element.
constexpr Byte SHID_COMPUTER = 0x1F;  // "Computer", under the desktop
constexpr Byte SHID_HOME = 0x1E;      // the home folder, under the desktop
constexpr Byte SHID_DRIVE = 0x2F;     // a file system under Computer; the name is its mount point
constexpr Byte SHID_FOLDER = 0x31;    // a folder of a file-system folder
constexpr Byte SHID_FILE = 0x32;      // any other entry of a file-system folder

// ---- Shell allocator -------------------------------------------------------------------------
void* CoTaskMemAlloc(std::size_t Size);
void* CoTaskMemRealloc(void* Block, std::size_t Size);
void CoTaskMemFree(void* Block);

class IMalloc : public IUnknown {
 public:
  virtual void* Alloc(std::size_t Size) = 0;
  virtual void* Realloc(void* Block, std::size_t Size) = 0;
  virtual void Free(void* Block) = 0;
};
// The process's shell allocator (the same blocks as CoTaskMemAlloc).
HRESULT SHGetMalloc(IMalloc** Malloc);

// ---- Item-ID lists ---------------------------------------------------------------------------
// Bytes of the list including its terminator; 0 for null.
UINT ILGetSize(LPCITEMIDLIST List);
// The element after the first; null at the terminator or for null.
LPITEMIDLIST ILGetNext(LPCITEMIDLIST List);
// The last element (the list itself when it is empty).
LPITEMIDLIST ILFindLastID(LPCITEMIDLIST List);
// Cuts the last element off in place; FALSE for an empty list.
BOOL ILRemoveLastID(LPITEMIDLIST List);
// New lists: a copy; First then Second (either may be null).
LPITEMIDLIST ILClone(LPCITEMIDLIST List);
LPITEMIDLIST ILCombine(LPCITEMIDLIST First, LPCITEMIDLIST Second);
// Byte-equal lists.
BOOL ILIsEqual(LPCITEMIDLIST A, LPCITEMIDLIST B);
void ILFree(LPITEMIDLIST List);
// A new one-element list of that kind and name.
LPITEMIDLIST ILCreateElement(Byte Kind, std::string_view Name);

// ---- Flags -----------------------------------------------------------------------------------
constexpr DWORD SHCONTF_FOLDERS = 0x0020;
constexpr DWORD SHCONTF_NONFOLDERS = 0x0040;
constexpr DWORD SHCONTF_INCLUDEHIDDEN = 0x0080;

constexpr DWORD SHGDN_NORMAL = 0x0000;
constexpr DWORD SHGDN_INFOLDER = 0x0001;
constexpr DWORD SHGDN_FOREDITING = 0x1000;
constexpr DWORD SHGDN_FORADDRESSBAR = 0x4000;
constexpr DWORD SHGDN_FORPARSING = 0x8000;

constexpr DWORD SFGAO_CANCOPY = 0x00000001;
constexpr DWORD SFGAO_CANMOVE = 0x00000002;
constexpr DWORD SFGAO_CANLINK = 0x00000004;
constexpr DWORD SFGAO_CANRENAME = 0x00000010;
constexpr DWORD SFGAO_CANDELETE = 0x00000020;
constexpr DWORD SFGAO_HASPROPSHEET = 0x00000040;
constexpr DWORD SFGAO_DROPTARGET = 0x00000100;
constexpr DWORD SFGAO_CAPABILITYMASK = 0x00000177;
constexpr DWORD SFGAO_GHOSTED = 0x00008000;
constexpr DWORD SFGAO_LINK = 0x00010000;
constexpr DWORD SFGAO_SHARE = 0x00020000;
constexpr DWORD SFGAO_READONLY = 0x00040000;
constexpr DWORD SFGAO_HIDDEN = 0x00080000;
constexpr DWORD SFGAO_STREAM = 0x00400000;
constexpr DWORD SFGAO_VALIDATE = 0x01000000;
constexpr DWORD SFGAO_REMOVABLE = 0x02000000;
constexpr DWORD SFGAO_FILESYSANCESTOR = 0x10000000;
constexpr DWORD SFGAO_FOLDER = 0x20000000;
constexpr DWORD SFGAO_FILESYSTEM = 0x40000000;
constexpr DWORD SFGAO_HASSUBFOLDER = 0x80000000;

// Special folders beyond the known folders of Environment.h.
constexpr Integer CSIDL_INTERNET = 0x0001;
constexpr Integer CSIDL_PROGRAMS = 0x0002;
constexpr Integer CSIDL_CONTROLS = 0x0003;
constexpr Integer CSIDL_PRINTERS = 0x0004;
constexpr Integer CSIDL_FAVORITES = 0x0006;
constexpr Integer CSIDL_STARTUP = 0x0007;
constexpr Integer CSIDL_RECENT = 0x0008;
constexpr Integer CSIDL_SENDTO = 0x0009;
constexpr Integer CSIDL_BITBUCKET = 0x000A;
constexpr Integer CSIDL_STARTMENU = 0x000B;
constexpr Integer CSIDL_DRIVES = 0x0011;
constexpr Integer CSIDL_NETWORK = 0x0012;
constexpr Integer CSIDL_FONTS = 0x0014;
constexpr Integer CSIDL_TEMPLATES = 0x0015;
constexpr Integer CSIDL_COMMON_STARTMENU = 0x0016;
constexpr Integer CSIDL_COMMON_PROGRAMS = 0x0017;
constexpr Integer CSIDL_COMMON_STARTUP = 0x0018;
constexpr Integer CSIDL_COMMON_DESKTOPDIRECTORY = 0x0019;
constexpr Integer CSIDL_PRINTHOOD = 0x001B;
constexpr Integer CSIDL_PROFILE = 0x0028;  // the home folder

// ---- Strings returned by the shell -------------------------------------------------------------
constexpr UINT STRRET_WSTR = 0;    // pOleStr, from the shell allocator (the receiver frees it)
constexpr UINT STRRET_OFFSET = 1;  // uOffset: the name's bytes start there in the given ID
constexpr UINT STRRET_CSTR = 2;    // cStr, zero-terminated
struct STRRET {
  UINT uType = STRRET_CSTR;
  union {
    char16_t* pOleStr;
    UINT uOffset;
    char cStr[260];
  };
};
// The text of Str as UTF-8 (ID: the list the offset form refers to); a wide string is freed.
std::string StrRetToString(STRRET* Str, LPCITEMIDLIST ID);

struct SHELLDETAILS {
  Integer fmt = LVCFMT_LEFT;  // LVCFMT_LEFT, LVCFMT_RIGHT or LVCFMT_CENTER
  Integer cxChar = 0;         // width in characters
  STRRET str;
};

constexpr DWORD SHCOLSTATE_TYPE_STR = 0x1;
constexpr DWORD SHCOLSTATE_TYPE_INT = 0x2;
constexpr DWORD SHCOLSTATE_TYPE_DATE = 0x3;
constexpr DWORD SHCOLSTATE_ONBYDEFAULT = 0x10;

// ---- Interfaces ------------------------------------------------------------------------------
extern const GUID IID_IUnknown;
extern const GUID IID_IShellFolder;
extern const GUID IID_IShellFolder2;
extern const GUID IID_IShellDetails;
extern const GUID IID_IEnumIDList;
extern const GUID IID_IContextMenu;
extern const GUID IID_IContextMenu2;

class IEnumIDList : public IUnknown {
 public:
  // Up to Count relative IDs (one element each), which the caller frees; S_FALSE when fewer
  // were left.
  virtual HRESULT Next(ULONG Count, LPITEMIDLIST* IDs, ULONG* Fetched) = 0;
  virtual HRESULT Skip(ULONG Count) = 0;
  virtual HRESULT Reset() = 0;
};

// Errors: E_INVALIDARG for IDs that name nothing this folder holds, the file system's error as
// HRESULT_FROM_WIN32 for missing or inaccessible items, E_NOINTERFACE for interfaces not offered.
class IShellFolder : public IUnknown {
 public:
  // A name relative to this folder (the desktop: a full path, "C:\" or "C:" for "/", or a
  // parsing name it gave out). Eaten, when given, receives the characters used.
  virtual HRESULT ParseDisplayName(HWND Owner, void* BindCtx, const char16_t* DisplayName, ULONG* Eaten,
                                   LPITEMIDLIST* ID, DWORD* Attributes) = 0;
  virtual HRESULT EnumObjects(HWND Owner, DWORD Flags, IEnumIDList** Enum) = 0;
  // The folder of a relative ID (IShellFolder, IShellFolder2 or IShellDetails).
  virtual HRESULT BindToObject(LPCITEMIDLIST ID, void* BindCtx, const GUID& Iid, void** Object) = 0;
  // Low word of the result: a signed 16-bit order of the two relative IDs, by Column's key
  // (low word of Param: 0 name, 1 size, 2 type, 3 modified); folders come before files.
  virtual HRESULT CompareIDs(LPARAM Param, LPCITEMIDLIST A, LPCITEMIDLIST B) = 0;
  // The folder's own detail interfaces (IShellFolder2, IShellDetails).
  virtual HRESULT CreateViewObject(HWND Owner, const GUID& Iid, void** Object) = 0;
  // InOut: the requested attributes in, those all the items have out.
  virtual HRESULT GetAttributesOf(UINT Count, LPCITEMIDLIST* IDs, DWORD* InOut) = 0;
  // IContextMenu (or IContextMenu2) for one item.
  virtual HRESULT GetUIObjectOf(HWND Owner, UINT Count, LPCITEMIDLIST* IDs, const GUID& Iid, UINT* Reserved,
                                void** Object) = 0;
  virtual HRESULT GetDisplayNameOf(LPCITEMIDLIST ID, DWORD Flags, STRRET* Name) = 0;
  // Renames a file-system item inside its folder; NewID, when given, receives its new ID.
  virtual HRESULT SetNameOf(HWND Owner, LPCITEMIDLIST ID, const char16_t* Name, DWORD Flags,
                            LPITEMIDLIST* NewID) = 0;
};

// Columns, everywhere: 0 "Name", 1 "Size", 2 "Type", 3 "Modified". A null ID asks for the
// column's header; a column past the last fails with E_FAIL.
class IShellDetails : public IUnknown {
 public:
  virtual HRESULT GetDetailsOf(LPCITEMIDLIST ID, UINT Column, SHELLDETAILS* Details) = 0;
  virtual HRESULT ColumnClick(UINT Column) = 0;
};

class IShellFolder2 : public IShellFolder {
 public:
  virtual HRESULT GetDefaultColumnState(UINT Column, DWORD* State) = 0;
  virtual HRESULT GetDetailsOf(LPCITEMIDLIST ID, UINT Column, SHELLDETAILS* Details) = 0;
};

HRESULT SHGetDesktopFolder(IShellFolder** Folder);
// The absolute ID of a special folder: CSIDL_DESKTOP (the empty list), CSIDL_DRIVES
// (Computer), CSIDL_PROFILE (Home) and the known folders of SHGetFolderPath; E_INVALIDARG for
// the others (no network, printers, recycle bin, ... here) and a file error for a known folder
// that does not exist.
HRESULT SHGetSpecialFolderLocation(HWND Owner, Integer Folder, LPITEMIDLIST* ID);
// The file-system path of an absolute ID (the desktop: the desktop folder); FALSE for
// Computer and for IDs that name nothing.
BOOL SHGetPathFromIDListA(LPCITEMIDLIST ID, char* Path);

// ---- Context menus -----------------------------------------------------------------------------
constexpr UINT CMF_NORMAL = 0x0000;
constexpr UINT CMF_DEFAULTONLY = 0x0001;
constexpr UINT CMF_EXPLORE = 0x0004;
constexpr UINT CMF_CANRENAME = 0x0010;
constexpr UINT GCS_VERBA = 0x0000;
constexpr UINT GCS_HELPTEXTA = 0x0001;
constexpr UINT GCS_VALIDATEA = 0x0002;
constexpr DWORD CMIC_MASK_ASYNCOK = 0x00100000;

struct CMINVOKECOMMANDINFO {
  DWORD cbSize = sizeof(CMINVOKECOMMANDINFO);
  DWORD fMask = 0;
  HWND hwnd = nullptr;
  LPCSTR lpVerb = nullptr;  // a verb ("open") or MAKEINTRESOURCE(command offset)
  LPCSTR lpParameters = nullptr;
  LPCSTR lpDirectory = nullptr;
  Integer nShow = 0;
  DWORD dwHotKey = 0;
  HANDLE hIcon = nullptr;
};

// The verbs: "open" and, with CMF_CANRENAME, "rename". Opening a file hands it to the desktop's
// opener (ShellExecute "open"); opening a folder sends the owner window the registered message
// SHELL_NAVIGATE_MESSAGE with the folder's absolute ID in lParam (valid during the call), and
// succeeds when the window answers non-zero. "rename" needs the view (its verb sink) and fails
// here; other verbs fail quietly. There is no "delete".
class IContextMenu : public IUnknown {
 public:
  virtual HRESULT QueryContextMenu(HMENU Menu, UINT IndexMenu, UINT CmdFirst, UINT CmdLast, UINT Flags) = 0;
  virtual HRESULT InvokeCommand(CMINVOKECOMMANDINFO* Info) = 0;
  virtual HRESULT GetCommandString(UINT_PTR Cmd, UINT Type, UINT* Reserved, char* Name, UINT Max) = 0;
};
class IContextMenu2 : public IContextMenu {
 public:
  virtual HRESULT HandleMenuMsg(UINT Msg, WPARAM WParam, LPARAM LParam) = 0;
};
inline constexpr const char* SHELL_NAVIGATE_MESSAGE = "TilvarokShellNavigate";

constexpr HRESULT MAKE_HRESULT(ULONG Severity, ULONG Facility, ULONG Code) {
  return static_cast<HRESULT>((Severity << 31) | (Facility << 16) | Code);
}
constexpr HRESULT HRESULT_FROM_WIN32(DWORD Error) {
  return Error == 0 ? S_OK : static_cast<HRESULT>((Error & 0xFFFF) | 0x80070000u);
}
constexpr Integer HRESULT_CODE(HRESULT Result) {
  return static_cast<Integer>(Result & 0xFFFF);
}

// For tests: the mount table the Computer folder reads ("/proc/self/mounts" when empty).
void SetShellMountTable(std::string_view FileName);
