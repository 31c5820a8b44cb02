// Icons and cursors from .ico/.cur files and from cursor resources. All numbers are read byte
// by byte (little-endian); every offset and size is checked against the data, so a damaged
// file gives null, never a read outside it.
#include <cstdlib>
#include <map>
#include <mutex>
#include <string>

#include "platform/gdi/Dib.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/system/Resources.h"
#include "platform/user/CursorInternals.h"
#include "platform/user/SystemMetrics.h"

namespace {

struct TBytes {
  const Byte* Data = nullptr;
  std::size_t Size = 0;
  bool Has(std::size_t Offset, std::size_t Count) const { return Offset <= Size && Count <= Size - Offset; }
  WORD U16(std::size_t At) const { return static_cast<WORD>(Data[At] | (Data[At + 1] << 8)); }
  DWORD U32(std::size_t At) const { return U16(At) | (static_cast<DWORD>(U16(At + 2)) << 16); }
  TBytes From(std::size_t Offset, std::size_t Count) const { return {Data + Offset, Count}; }
};

bool Bit(const Byte* Row, Integer X) {
  return (Row[X >> 3] >> (7 - (X & 7))) & 1;
}
void SetBit(Byte* Row, Integer X) {
  Row[X >> 3] |= static_cast<Byte>(0x80 >> (X & 7));
}

// One image in the platform's icon form: a BITMAPINFOHEADER of twice the height, its colour
// table, the XOR image and the AND mask, rows bottom-up and padded to 32 bits.
HICON IconFromDib(TBytes D, bool IsIcon, Integer XHotspot, Integer YHotspot) {
  if (!D.Has(0, 40)) return nullptr;
  const DWORD HeaderSize = D.U32(0);
  const auto Width = static_cast<Integer>(D.U32(4)), Height2 = static_cast<Integer>(D.U32(8));
  const WORD Bpp = D.U16(14);
  const DWORD Compression = D.U32(16), Used = D.U32(32);
  if (HeaderSize < 40 || Width <= 0 || Width > 256 || Height2 <= 0 || Height2 > 512 || Compression != BI_RGB)
    return nullptr;
  if (Bpp != 1 && Bpp != 4 && Bpp != 8 && Bpp != 24 && Bpp != 32) return nullptr;
  const Integer Height = Height2 / 2;
  if (Height == 0) return nullptr;
  const std::size_t Colors = Bpp <= 8 ? (Used != 0 && Used < (1u << Bpp) ? Used : (1u << Bpp)) : 0;
  const std::size_t XorStride = static_cast<std::size_t>((Width * Bpp + 31) / 32) * 4;
  const std::size_t AndStride = static_cast<std::size_t>((Width + 31) / 32) * 4;
  const std::size_t Table = HeaderSize, XorAt = Table + 4 * Colors, AndAt = XorAt + XorStride * Height;
  if (!D.Has(Table, 4 * Colors) || !D.Has(XorAt, XorStride * Height)) return nullptr;
  // 32-bit images may leave the mask out; their alpha is the shape then.
  const bool HasAnd = D.Has(AndAt, AndStride * Height);
  if (!HasAnd && Bpp != 32) return nullptr;
  auto XorRow = [&](Integer Y) { return D.Data + XorAt + XorStride * (Height - 1 - Y); };
  auto AndRow = [&](Integer Y) { return D.Data + AndAt + AndStride * (Height - 1 - Y); };
  auto Entry = [&](std::size_t I) -> DWORD {
    if (I >= Colors) return 0;
    const Byte* C = D.Data + Table + 4 * I;
    return C[0] | (C[1] << 8) | (static_cast<DWORD>(C[2]) << 16);
  };

  if (Bpp == 1) {
    // Monochrome: AND above XOR in one mask; an XOR bit is set where its colour is not black.
    HBITMAP Mask = CreateBitmap(Width, 2 * Height, 1, 1, nullptr);
    if (Mask == nullptr) return nullptr;
    for (Integer Y = 0; Y < Height; ++Y) {
      Byte* Top = Mask->Surface.Row(Y);
      Byte* Bottom = Mask->Surface.Row(Height + Y);
      for (Integer X = 0; X < Width; ++X) {
        if (Bit(AndRow(Y), X)) SetBit(Top, X);
        if (Entry(Bit(XorRow(Y), X)) != 0) SetBit(Bottom, X);
      }
    }
    return NewIcon(nullptr, Mask, IsIcon, XHotspot, YHotspot);
  }
  HBITMAP Color = CreateBitmap(Width, Height, 1, 32, nullptr);
  HBITMAP Mask = CreateBitmap(Width, Height, 1, 1, nullptr);
  if (Color == nullptr || Mask == nullptr) {
    if (Color) DeleteObject(Color);
    if (Mask) DeleteObject(Mask);
    return nullptr;
  }
  for (Integer Y = 0; Y < Height; ++Y) {
    const Byte* Src = XorRow(Y);
    auto* Dst = reinterpret_cast<DWORD*>(Color->Surface.Row(Y));
    Byte* MaskRow = Mask->Surface.Row(Y);
    for (Integer X = 0; X < Width; ++X) {
      DWORD P;
      switch (Bpp) {
        case 4:
          P = Entry((Src[X >> 1] >> ((X & 1) ? 0 : 4)) & 0x0F);
          break;
        case 8:
          P = Entry(Src[X]);
          break;
        case 24:
          P = Src[3 * X] | (Src[3 * X + 1] << 8) | (static_cast<DWORD>(Src[3 * X + 2]) << 16);
          break;
        default:
          P = Src[4 * X] | (Src[4 * X + 1] << 8) | (static_cast<DWORD>(Src[4 * X + 2]) << 16) |
              (static_cast<DWORD>(Src[4 * X + 3]) << 24);
          break;
      }
      Dst[X] = P;
      const bool Keep = HasAnd ? Bit(AndRow(Y), X) : (P >> 24) == 0;
      if (Keep) SetBit(MaskRow, X);
    }
  }
  return NewIcon(Color, Mask, IsIcon, XHotspot, YHotspot);
}

// How near an image of W x H with Bpp bits comes to the wanted size: smaller is better.
Int64 Distance(Integer W, Integer H, Integer Bpp, Integer WantW, Integer WantH) {
  return (static_cast<Int64>(std::abs(W - WantW)) + std::abs(H - WantH)) * 64 + (32 - Bpp);
}

// The image an icon directory entry (16 bytes at Entry) describes; 0 for "256".
struct TEntry {
  Integer Width, Height, Bpp;
  Integer X, Y;  // the hot spot of cursors
  std::size_t Offset, Size;
};

TEntry ReadEntry(TBytes D, std::size_t At) {
  TEntry E;
  E.Width = D.Data[At] ? D.Data[At] : 256;
  E.Height = D.Data[At + 1] ? D.Data[At + 1] : 256;
  E.X = D.U16(At + 4);
  E.Y = D.U16(At + 6);
  E.Size = D.U32(At + 8);
  E.Offset = D.U32(At + 12);
  // The depth is in the image's own header (the directory of cursors keeps the hot spot there).
  E.Bpp = D.Has(E.Offset, 16) ? D.U16(E.Offset + 14) : 0;
  return E;
}

HICON FromFile(TBytes D, bool Cursor, Integer WantW, Integer WantH) {
  if (!D.Has(0, 6) || D.U16(0) != 0) return nullptr;
  const WORD Type = D.U16(2), Count = D.U16(4);
  if ((Type != 1 && Type != 2) || Count == 0 || !D.Has(6, 16u * Count)) return nullptr;
  const TEntry* Best = nullptr;
  std::vector<TEntry> Entries;
  for (WORD I = 0; I < Count; ++I) Entries.push_back(ReadEntry(D, 6 + 16u * I));
  for (const TEntry& E : Entries)
    if (D.Has(E.Offset, E.Size) &&
        (Best == nullptr || Distance(E.Width, E.Height, E.Bpp, WantW, WantH) <
                                Distance(Best->Width, Best->Height, Best->Bpp, WantW, WantH)))
      Best = &E;
  if (Best == nullptr) return nullptr;
  // Icons used as cursors take the middle as hot spot.
  const bool HotSpot = Type == 2;
  return IconFromDib(D.From(Best->Offset, Best->Size), !Cursor, HotSpot ? Best->X : Best->Width / 2,
                     HotSpot ? Best->Y : Best->Height / 2);
}

// A cursor resource: the hot spot (two words), then the image.
HICON FromCursorResource(TBytes D) {
  if (!D.Has(0, 8)) return nullptr;
  return IconFromDib(D.From(4, D.Size - 4), false, D.U16(0), D.U16(2));
}

TBytes ResourceBytes(HINSTANCE Instance, LPCSTR Name, LPCSTR Type) {
  HRSRC R = FindResource(Instance, Name, Type);
  if (R == nullptr) return {};
  return {static_cast<const Byte*>(LockResource(LoadResource(Instance, R))), SizeofResource(Instance, R)};
}

// A whole .cur (or .ico) file, else the resource form.
HICON FromCursorData(TBytes D) {
  if (D.Has(0, 6) && D.U16(0) == 0 && (D.U16(2) == 1 || D.U16(2) == 2))
    if (HICON I = FromFile(D, true, GetSystemMetrics(SM_CXCURSOR), GetSystemMetrics(SM_CYCURSOR))) return I;
  return FromCursorResource(D);
}

// A cursor group: a directory of resource ids (14-byte entries) of the cursors it holds.
HICON FromGroup(HINSTANCE Instance, TBytes D) {
  const WORD Count = D.U16(4);
  const Integer WantW = GetSystemMetrics(SM_CXCURSOR), WantH = GetSystemMetrics(SM_CYCURSOR);
  Int64 BestDistance = 0;
  WORD BestId = 0;
  for (WORD I = 0; I < Count; ++I) {
    const std::size_t At = 6 + 14u * I;
    const Integer W = D.U16(At), H = D.U16(At + 2) / 2, Bpp = D.U16(At + 6);
    const Int64 Dist = Distance(W, H, Bpp, WantW, WantH);
    if (BestId == 0 || Dist < BestDistance) BestDistance = Dist, BestId = D.U16(At + 12);
  }
  if (BestId == 0) return nullptr;
  const TBytes Image = ResourceBytes(Instance, MAKEINTRESOURCE(BestId), RT_CURSOR);
  return Image.Data != nullptr ? FromCursorData(Image) : nullptr;
}

}  // namespace

HICON CreateIconFromFileData(const void* Data, std::size_t Size, bool Cursor, Integer Width, Integer Height) {
  if (Data == nullptr) return nullptr;
  if (Width == 0) Width = GetSystemMetrics(Cursor ? SM_CXCURSOR : SM_CXICON);
  if (Height == 0) Height = GetSystemMetrics(Cursor ? SM_CYCURSOR : SM_CYICON);
  return FromFile({static_cast<const Byte*>(Data), Size}, Cursor, Width, Height);
}

HCURSOR LoadCursorResource(HINSTANCE Instance, LPCSTR Name) {
  // Shared per name: loading again gives the same handle.
  static auto* Loaded = new std::map<std::string, HCURSOR>;
  const std::string Key =
      IS_INTRESOURCE(Name) ? "#" + std::to_string(reinterpret_cast<std::uintptr_t>(Name)) : Name;
  std::string Upper = Key;
  for (char& C : Upper)
    if (C >= 'a' && C <= 'z') C = static_cast<char>(C - 'a' + 'A');
  if (auto It = Loaded->find(Upper); It != Loaded->end()) return It->second;
  HICON C = nullptr;
  const TBytes Group = ResourceBytes(Instance, Name, RT_GROUP_CURSOR);
  if (Group.Data != nullptr) {
    const bool Directory = Group.Has(0, 6) && Group.U16(2) == 2 && Group.Size == 6 + 14u * Group.U16(4);
    C = Directory ? FromGroup(Instance, Group) : FromCursorData(Group);
  }
  if (C == nullptr) {
    const TBytes Single = ResourceBytes(Instance, Name, RT_CURSOR);
    if (Single.Data != nullptr) C = FromCursorData(Single);
  }
  if (C == nullptr) return nullptr;
  C->Shared = true;
  Loaded->emplace(Upper, C);
  return C;
}

namespace {

// The resource of the icon set behind a standard IDI_* id; null for ids the set lacks.
LPCSTR StandardIconName(std::uintptr_t Id) {
  switch (Id) {
    case 32512:  // IDI_APPLICATION
    case 32517:  // IDI_WINLOGO
      return "MAINICON";
    case 32513:
      return "TVICON_HAND";
    case 32514:
      return "TVICON_QUESTION";
    case 32515:
      return "TVICON_EXCLAMATION";
    case 32516:
      return "TVICON_ASTERISK";
    default:
      return nullptr;
  }
}

HICON IconResource(HINSTANCE Instance, LPCSTR Name, Integer Width, Integer Height) {
  for (LPCSTR Type : {RT_GROUP_ICON, RT_ICON}) {
    const TBytes D = ResourceBytes(Instance, Name, Type);
    if (D.Data != nullptr)
      if (HICON I = FromFile(D, false, Width, Height)) return I;
  }
  return nullptr;
}

}  // namespace

namespace {

// Where a loaded icon came from, so that a copy can be read again at another size.
struct TIconOrigin {
  HINSTANCE Instance = nullptr;
  std::string Name;  // empty for an integer id
  std::uintptr_t Id = 0;
};
std::mutex OriginLock;
std::map<HICON, TIconOrigin>& Origins() {
  static auto* Map = new std::map<HICON, TIconOrigin>;
  return *Map;
}

}  // namespace

HICON LoadIconOfSize(HINSTANCE Instance, LPCSTR Name, Integer Width, Integer Height) {
  if (Name == nullptr || Width <= 0 || Height <= 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (Instance == nullptr) {
    Name = IS_INTRESOURCE(Name) ? StandardIconName(reinterpret_cast<std::uintptr_t>(Name)) : nullptr;
    if (Name == nullptr) {
      SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
      return nullptr;
    }
    Instance = HInstance;
  }
  // Shared per name and size: loading again gives the same handle.
  static auto* Loaded = new std::map<std::string, HICON>;
  static std::mutex Lock;
  std::string Key =
      IS_INTRESOURCE(Name) ? "#" + std::to_string(reinterpret_cast<std::uintptr_t>(Name)) : Name;
  for (char& C : Key)
    if (C >= 'a' && C <= 'z') C = static_cast<char>(C - 'a' + 'A');
  Key += "/" + std::to_string(Width) + "x" + std::to_string(Height);
  std::lock_guard Guard(Lock);
  if (auto It = Loaded->find(Key); It != Loaded->end()) return It->second;
  HICON I = IconResource(Instance, Name, Width, Height);
  if (I == nullptr) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
  }
  I->Shared = true;
  Loaded->emplace(Key, I);
  std::lock_guard OriginGuard(OriginLock);
  Origins().emplace(I, TIconOrigin{Instance, IS_INTRESOURCE(Name) ? std::string() : std::string(Name),
                                   reinterpret_cast<std::uintptr_t>(Name)});
  return I;
}

HICON ReloadIconResource(HICON Icon, Integer Width, Integer Height) {
  TIconOrigin Origin;
  {
    std::lock_guard Guard(OriginLock);
    auto It = Origins().find(Icon);
    if (It == Origins().end()) return nullptr;
    Origin = It->second;
  }
  const LPCSTR Name = Origin.Name.empty() ? MAKEINTRESOURCE(Origin.Id) : Origin.Name.c_str();
  return LoadIconOfSize(Origin.Instance, Name, Width, Height);
}

HICON LoadIcon(HINSTANCE Instance, LPCSTR Name) {
  return LoadIconOfSize(Instance, Name, GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON));
}
