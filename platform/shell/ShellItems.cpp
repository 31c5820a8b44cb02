// The namespace's items: item-ID lists read and made, locations, folder listings and the
// attributes, names and icons of items.
#include "platform/shell/ShellItems.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <mutex>

#include "platform/system/Environment.h"
#include "platform/system/FileErrors.h"
#include "platform/system/Files.h"
#include "platform/system/Paths.h"

namespace {

constexpr const char* ComputerParsingName = "::{20D04FE0-3AEA-1069-A2D8-08002B30309D}";

std::mutex MountTableLock;
std::string MountTableFile;

bool IsPlainName(std::string_view Name) {
  return !Name.empty() && Name != "." && Name != ".." && Name.find('/') == std::string_view::npos &&
         Name.find('\0') == std::string_view::npos;
}

// An absolute path without "." or ".." steps, as a drive's name must be.
bool IsMountPath(std::string_view Path) {
  if (Path.empty() || Path[0] != '/') return false;
  if (Path == "/") return true;
  std::size_t Start = 1;
  while (Start <= Path.size()) {
    std::size_t End = Path.find('/', Start);
    if (End == std::string_view::npos) End = Path.size();
    if (!IsPlainName(Path.substr(Start, End - Start))) return false;
    Start = End + 1;
  }
  return true;
}

std::string HomeFolder() {
  std::string Home = GetEnvironmentVariable("HOME");
  return Home.empty() ? "/" : Home;
}

std::string DesktopFolder() {
  std::string Path;
  SHGetFolderPath(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, 0, Path);
  return Path;
}

std::string JoinPath(const std::string& Folder, const std::string& Name) {
  return Folder == "/" ? "/" + Name : Folder + "/" + Name;
}

bool IsRemovablePath(const std::string& Path) {
  return Path.rfind("/media/", 0) == 0 || Path.rfind("/mnt/", 0) == 0 || Path.rfind("/run/media/", 0) == 0;
}

// The mount table's octal escapes (\040 for a space) decoded.
std::string UnescapeMount(const std::string& S) {
  std::string Out;
  for (std::size_t I = 0; I < S.size(); ++I) {
    if (S[I] == '\\' && I + 3 < S.size() && S[I + 1] >= '0' && S[I + 1] <= '3' && S[I + 2] >= '0' &&
        S[I + 2] <= '7' && S[I + 3] >= '0' && S[I + 3] <= '7') {
      Out += static_cast<char>((S[I + 1] - '0') * 64 + (S[I + 2] - '0') * 8 + (S[I + 3] - '0'));
      I += 3;
    } else {
      Out += S[I];
    }
  }
  return Out;
}

std::string LowerExtension(const std::string& Name) {
  const std::size_t Dot = Name.rfind('.');
  if (Dot == std::string::npos || Dot == 0) return {};
  std::string Ext = Name.substr(Dot + 1);
  for (char& C : Ext)
    if (C >= 'A' && C <= 'Z') C = static_cast<char>(C - 'A' + 'a');
  return Ext;
}

std::string LastName(const std::string& Path) {
  const std::size_t Slash = Path.rfind('/');
  return Slash == std::string::npos ? Path : Path.substr(Slash + 1);
}

HRESULT ErrnoResult(int Errno, const std::string& Path) {
  return HRESULT_FROM_WIN32(Win32ErrorFromErrno(Errno, Path));
}

}  // namespace

void SetShellMountTable(std::string_view FileName) {
  std::lock_guard Guard(MountTableLock);
  MountTableFile = FileName;
}

bool SplitItemIDList(LPCITEMIDLIST List, std::vector<TShellElement>& Elements) {
  Elements.clear();
  if (List == nullptr) return false;
  const auto* P = reinterpret_cast<const Byte*>(List);
  for (;;) {
    const WORD Cb = static_cast<WORD>(P[0] | (P[1] << 8));
    if (Cb == 0) return true;
    if (Cb < 3) return false;
    TShellElement E;
    E.Kind = P[2];
    E.Name.assign(reinterpret_cast<const char*>(P + 3), Cb - 3);
    const bool NameFits = E.Kind == SHID_DRIVE ? IsMountPath(E.Name) : IsPlainName(E.Name);
    const bool KnownKind = E.Kind == SHID_COMPUTER || E.Kind == SHID_HOME || E.Kind == SHID_DRIVE ||
                           E.Kind == SHID_FOLDER || E.Kind == SHID_FILE;
    if (!KnownKind || !NameFits) return false;
    Elements.push_back(std::move(E));
    P += Cb;
  }
}

LPITEMIDLIST BuildItemIDList(const std::vector<TShellElement>& Elements) {
  std::size_t Size = 2;
  for (const TShellElement& E : Elements) Size += 3 + E.Name.size();
  auto* Out = static_cast<Byte*>(CoTaskMemAlloc(Size));
  if (Out == nullptr) return nullptr;
  Byte* P = Out;
  for (const TShellElement& E : Elements) {
    const std::size_t Cb = 3 + E.Name.size();
    P[0] = static_cast<Byte>(Cb & 0xFF);
    P[1] = static_cast<Byte>(Cb >> 8);
    P[2] = E.Kind;
    std::memcpy(P + 3, E.Name.data(), E.Name.size());
    P += Cb;
  }
  P[0] = P[1] = 0;
  return reinterpret_cast<LPITEMIDLIST>(Out);
}

TShellLocation LocateChild(const TShellLocation& Folder, const TShellElement& Child) {
  TShellLocation L;
  L.Kind = Child.Kind;
  switch (Folder.Place) {
    case TShellPlace::Desktop:
      if (Child.Kind == SHID_COMPUTER) {
        L.Place = TShellPlace::Computer;
      } else if (Child.Kind == SHID_HOME) {
        L.Place = TShellPlace::FileSystem;
        L.Path = HomeFolder();
      } else if (Child.Kind == SHID_FOLDER || Child.Kind == SHID_FILE) {
        // The desktop folder is looked up only when an entry of it is asked for.
        const std::string Base = Folder.Path.empty() ? DesktopFolder() : Folder.Path;
        if (!Base.empty()) {
          L.Place = TShellPlace::FileSystem;
          L.Path = JoinPath(Base, Child.Name);
        }
      }
      break;
    case TShellPlace::Computer:
      if (Child.Kind == SHID_DRIVE) {
        L.Place = TShellPlace::FileSystem;
        L.Path = Child.Name;
      }
      break;
    case TShellPlace::FileSystem:
      // A file holds nothing.
      if ((Child.Kind == SHID_FOLDER || Child.Kind == SHID_FILE) && Folder.Kind != SHID_FILE) {
        L.Place = TShellPlace::FileSystem;
        L.Path = JoinPath(Folder.Path, Child.Name);
      }
      break;
    case TShellPlace::Invalid:
      break;
  }
  return L;
}

TShellLocation LocateElements(const std::vector<TShellElement>& Elements, const TShellLocation* From,
                              std::size_t Skip) {
  TShellLocation L;
  if (From != nullptr) {
    L = *From;
  } else {
    L.Place = TShellPlace::Desktop;
    if (Elements.empty()) L.Path = DesktopFolder();
  }
  for (std::size_t I = Skip; I < Elements.size(); ++I) {
    L = LocateChild(L, Elements[I]);
    if (L.Place == TShellPlace::Invalid) break;
  }
  return L;
}

std::vector<std::string> ComputerDrives() {
  std::string TableFile;
  {
    std::lock_guard Guard(MountTableLock);
    TableFile = MountTableFile.empty() ? "/proc/self/mounts" : MountTableFile;
  }
  std::string User = GetEnvironmentVariable("USER");
  if (User.empty()) GetUserName(User);
  std::vector<std::string> Drives;
  std::ifstream Table(TableFile);
  std::string Device, Point, Rest;
  while (Table >> Device >> Point) {
    std::getline(Table, Rest);
    Point = UnescapeMount(Point);
    const bool Listed = Point.rfind("/media/", 0) == 0 || Point.rfind("/mnt/", 0) == 0 ||
                        (!User.empty() && Point.rfind("/run/media/" + User + "/", 0) == 0);
    if (Listed && IsMountPath(Point)) Drives.push_back(Point);
  }
  std::sort(Drives.begin(), Drives.end());
  Drives.erase(std::unique(Drives.begin(), Drives.end()), Drives.end());
  Drives.insert(Drives.begin(), "/");
  return Drives;
}

namespace {

// The entries of a file-system folder.
HRESULT ListFolder(const std::string& Path, DWORD Flags, std::vector<TShellElement>& Children) {
  DIR* D = ::opendir(Path.c_str());
  if (D == nullptr) return ErrnoResult(errno, Path);
  const bool Hidden = (Flags & SHCONTF_INCLUDEHIDDEN) != 0;
  const bool Folders = (Flags & SHCONTF_FOLDERS) != 0, Files = (Flags & SHCONTF_NONFOLDERS) != 0;
  const int Fd = ::dirfd(D);
  while (const dirent* E = ::readdir(D)) {
    const char* Name = E->d_name;
    if (std::strcmp(Name, ".") == 0 || std::strcmp(Name, "..") == 0) continue;
    if (Name[0] == '.' && !Hidden) continue;
    bool IsDir = E->d_type == DT_DIR;
    // Links count as what they point to; some file systems leave the type to stat.
    if (E->d_type == DT_LNK || E->d_type == DT_UNKNOWN) {
      struct stat St;
      IsDir = ::fstatat(Fd, Name, &St, 0) == 0 && S_ISDIR(St.st_mode);
    }
    if (IsDir ? !Folders : !Files) continue;
    Children.push_back({IsDir ? SHID_FOLDER : SHID_FILE, Name});
  }
  ::closedir(D);
  return S_OK;
}

}  // namespace

HRESULT ListChildren(const TShellLocation& Folder, DWORD Flags, std::vector<TShellElement>& Children) {
  Children.clear();
  switch (Folder.Place) {
    case TShellPlace::Desktop: {
      if (Flags & SHCONTF_FOLDERS) {
        Children.push_back({SHID_COMPUTER, "Computer"});
        Children.push_back({SHID_HOME, "Home"});
      }
      // A desktop that is the home folder itself would list home twice.
      struct stat St;
      if (!Folder.Path.empty() && Folder.Path != HomeFolder() && ::stat(Folder.Path.c_str(), &St) == 0 &&
          S_ISDIR(St.st_mode))
        return ListFolder(Folder.Path, Flags, Children);
      return S_OK;
    }
    case TShellPlace::Computer:
      if (Flags & SHCONTF_FOLDERS)
        for (std::string& Drive : ComputerDrives()) Children.push_back({SHID_DRIVE, std::move(Drive)});
      return S_OK;
    case TShellPlace::FileSystem:
      if (!IsContainerKind(Folder.Kind)) return E_INVALIDARG;
      return ListFolder(Folder.Path, Flags, Children);
    case TShellPlace::Invalid:
      break;
  }
  return E_INVALIDARG;
}

bool IsContainerKind(Byte Kind) {
  return Kind != SHID_FILE;
}

HRESULT ItemAttributes(const TShellLocation& Item, DWORD& Attributes) {
  constexpr DWORD Container = SFGAO_FOLDER | SFGAO_HASSUBFOLDER | SFGAO_FILESYSANCESTOR;
  Attributes = 0;
  switch (Item.Place) {
    case TShellPlace::Desktop:
    case TShellPlace::Computer:
      Attributes = Container;
      return S_OK;
    case TShellPlace::Invalid:
      return E_INVALIDARG;
    case TShellPlace::FileSystem:
      break;
  }
  struct stat Link, Target;
  if (::lstat(Item.Path.c_str(), &Link) != 0) return ErrnoResult(errno, Item.Path);
  const bool Resolves = ::stat(Item.Path.c_str(), &Target) == 0;
  const bool IsDir = Resolves && S_ISDIR(Target.st_mode);
  // The kind the list claims must still hold: a folder replaced by a file is another item.
  if (IsDir != IsContainerKind(Item.Kind)) return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
  Attributes = SFGAO_FILESYSTEM | (IsDir ? Container : SFGAO_STREAM);
  if (S_ISLNK(Link.st_mode)) Attributes |= SFGAO_LINK;
  // Read-only as the layer's file attributes tell it: by the permission bits of the owner
  // class the process falls in.
  const Integer FileAttr = FileGetAttr(Item.Path);
  if (FileAttr != -1 && (FileAttr & faReadOnly)) Attributes |= SFGAO_READONLY;
  const std::string Name = LastName(Item.Path);
  if (!Name.empty() && Name[0] == '.') Attributes |= SFGAO_HIDDEN | SFGAO_GHOSTED;
  if (Item.Kind == SHID_DRIVE) {
    if (IsRemovablePath(Item.Path)) Attributes |= SFGAO_REMOVABLE;
  } else if (Item.Kind == SHID_FOLDER || Item.Kind == SHID_FILE) {
    // Renaming writes the folder that holds the item.
    const std::size_t Slash = Item.Path.rfind('/');
    const std::string Parent = Slash == 0 ? "/" : Item.Path.substr(0, Slash);
    const Integer ParentAttr = FileGetAttr(Parent);
    if (ParentAttr != -1 && !(ParentAttr & faReadOnly)) Attributes |= SFGAO_CANRENAME;
  }
  return S_OK;
}

std::string ItemDisplayName(const TShellLocation& Item, DWORD Flags) {
  const bool Parsing = (Flags & SHGDN_FORPARSING) != 0;
  const bool InFolder = (Flags & SHGDN_INFOLDER) != 0;
  switch (Item.Place) {
    case TShellPlace::Desktop:
      return Parsing ? Item.Path : "Desktop";
    case TShellPlace::Computer:
      return Parsing ? ComputerParsingName : "Computer";
    case TShellPlace::Invalid:
      return {};
    case TShellPlace::FileSystem:
      break;
  }
  if (Parsing && !InFolder) return Item.Path;
  if (Item.Kind == SHID_HOME) return Parsing ? Item.Path : "Home";
  if (Item.Kind == SHID_DRIVE) {
    if (Parsing) return Item.Path;
    return Item.Path == "/" ? "File System" : LastName(Item.Path);
  }
  return LastName(Item.Path);
}

const char* ShellColumnTitle(UINT Column) {
  static const char* const Titles[ShellColumnCount] = {"Name", "Size", "Type", "Modified"};
  return Column < ShellColumnCount ? Titles[Column] : nullptr;
}

Int64 ItemSize(const TShellLocation& Item) {
  struct stat St;
  if (Item.Place != TShellPlace::FileSystem || IsContainerKind(Item.Kind) ||
      ::stat(Item.Path.c_str(), &St) != 0)
    return -1;
  return St.st_size;
}

Int64 ItemModified(const TShellLocation& Item) {
  struct stat St;
  if (Item.Place != TShellPlace::FileSystem || Item.Kind == SHID_DRIVE || ::stat(Item.Path.c_str(), &St) != 0)
    return -1;
  return St.st_mtime;
}

namespace {

// Bytes as the size column shows them: whole kilobytes, rounded up, with thousands grouped.
std::string KilobyteText(Int64 Size) {
  std::string Digits = std::to_string((Size + 1023) / 1024);
  for (Integer At = static_cast<Integer>(Digits.size()) - 3; At > 0; At -= 3) Digits.insert(At, ",");
  return Digits + " KB";
}

std::string TypeText(const TShellLocation& Item) {
  if (Item.Place != TShellPlace::FileSystem || Item.Kind == SHID_HOME) return "System Folder";
  if (Item.Kind == SHID_DRIVE) return IsRemovablePath(Item.Path) ? "Removable Disk" : "Local Disk";
  if (Item.Kind == SHID_FOLDER) return "File Folder";
  std::string Ext = LowerExtension(LastName(Item.Path));
  if (Ext.empty()) return "File";
  for (char& C : Ext)
    if (C >= 'a' && C <= 'z') C = static_cast<char>(C - 'a' + 'A');
  return Ext + " File";
}

std::string ModifiedText(Int64 Seconds) {
  if (Seconds < 0) return {};
  const time_t T = static_cast<time_t>(Seconds);
  struct tm Local;
  if (::localtime_r(&T, &Local) == nullptr) return {};
  char Text[64];
  // Always with the time, so that the column's texts carry the time separator.
  std::snprintf(Text, sizeof(Text), "%02d/%02d/%04d %02d:%02d", Local.tm_mday, Local.tm_mon + 1,
                Local.tm_year + 1900, Local.tm_hour, Local.tm_min);
  return Text;
}

}  // namespace

std::string ItemDetailText(const TShellLocation& Item, UINT Column) {
  switch (Column) {
    case 0:
      return ItemDisplayName(Item, SHGDN_INFOLDER);
    case 1: {
      const Int64 Size = ItemSize(Item);
      return Size < 0 ? std::string() : KilobyteText(Size);
    }
    case 2:
      return TypeText(Item);
    case 3:
      return ModifiedText(ItemModified(Item));
    default:
      return {};
  }
}

const char* ShellIconResource(TShellIcon Icon) {
  static const char* const Names[siCount] = {"TVICON_FILE",     "TVICON_TEXT",       "TVICON_PICTURE",
                                             "TVICON_FOLDER",   "TVICON_FOLDEROPEN", "TVICON_DESKTOP",
                                             "TVICON_COMPUTER", "TVICON_DRIVE",      "TVICON_REMOVABLE",
                                             "TVICON_HOME",     "MAINICON"};
  return Icon >= 0 && Icon < siCount ? Names[Icon] : nullptr;
}

TShellIcon ItemIcon(const TShellLocation& Item, bool Open) {
  switch (Item.Place) {
    case TShellPlace::Desktop:
      return siDesktop;
    case TShellPlace::Computer:
      return siComputer;
    case TShellPlace::Invalid:
      return siFile;
    case TShellPlace::FileSystem:
      break;
  }
  if (Item.Kind == SHID_HOME) return siHome;
  if (Item.Kind == SHID_DRIVE) return IsRemovablePath(Item.Path) ? siRemovable : siDrive;
  if (Item.Kind == SHID_FOLDER) return Open ? siFolderOpen : siFolder;
  static const char* const Pictures[] = {"bmp", "dib",  "jpg", "jpeg", "jpe", "jif", "png", "gif",
                                         "tif", "tiff", "pcx", "tga",  "psd", "ico", "cur", "wmf",
                                         "emf", "jp2",  "j2k", "wdp",  "hdp", "jxr", "pnm", "pbm",
                                         "pgm", "ppm",  "dcm", "webp", "wbmp"};
  static const char* const Texts[] = {"txt", "text", "log", "ini", "lan", "csv", "md", "xml", "htm", "html"};
  const std::string Ext = LowerExtension(LastName(Item.Path));
  for (const char* P : Pictures)
    if (Ext == P) return siPicture;
  for (const char* T : Texts)
    if (Ext == T) return siText;
  return siFile;
}

bool DrivePathToNative(std::string_view Text, std::string& Path) {
  Path = ToNativePath(Text);
  // The platform's system drive is the root; other drive letters name nothing here.
  if (Path.size() >= 2 && Path[1] == ':' && ((Path[0] | 0x20) >= 'a' && (Path[0] | 0x20) <= 'z')) {
    if ((Path[0] | 0x20) != 'c') return false;
    Path = "/" + Path.substr(2);
  }
  return true;
}

HRESULT ParseAbsolutePath(std::string_view Text, std::vector<TShellElement>& Elements) {
  Elements.clear();
  std::string Path;
  if (!DrivePathToNative(Text, Path)) return HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
  if (Path.empty() || Path[0] != '/') return E_INVALIDARG;
  // Steps: empty ones and "." vanish, ".." goes up.
  std::vector<std::string> Steps;
  std::size_t Start = 1;
  while (Start <= Path.size()) {
    std::size_t End = Path.find('/', Start);
    if (End == std::string::npos) End = Path.size();
    const std::string Step = Path.substr(Start, End - Start);
    if (Step == "..") {
      if (!Steps.empty()) Steps.pop_back();
    } else if (!Step.empty() && Step != ".") {
      Steps.push_back(Step);
    }
    Start = End + 1;
  }
  std::string Full;
  for (const std::string& S : Steps) Full += "/" + S;
  if (Full.empty()) Full = "/";
  struct stat St;
  if (::stat(Full.c_str(), &St) != 0) return ErrnoResult(errno, Full);
  // The deepest drive that holds the path.
  std::string Drive = "/";
  for (const std::string& D : ComputerDrives())
    if (D != "/" && (Full == D || Full.rfind(D + "/", 0) == 0) && D.size() > Drive.size()) Drive = D;
  Elements.push_back({SHID_COMPUTER, "Computer"});
  Elements.push_back({SHID_DRIVE, Drive});
  const std::size_t DriveSteps = Drive == "/" ? 0 : std::count(Drive.begin(), Drive.end(), '/');
  std::string Walk = Drive;
  for (std::size_t I = DriveSteps; I < Steps.size(); ++I) {
    Walk = JoinPath(Walk, Steps[I]);
    const bool Last = I + 1 == Steps.size();
    const bool IsDir = !Last || S_ISDIR(St.st_mode);
    Elements.push_back({IsDir ? SHID_FOLDER : SHID_FILE, Steps[I]});
  }
  return S_OK;
}
