// Item-ID lists and the shell allocator. Counts are read byte by byte (little-endian), so a
// list needs no alignment.
#include <cstdlib>
#include <cstring>

#include "platform/shell/ShlObj.h"
#include "platform/system/Strings.h"

const GUID IID_IUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const GUID IID_IShellFolder = {0x000214E6, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const GUID IID_IShellFolder2 = {0x93F2F68C, 0x1D1B, 0x11D3, {0xA3, 0x0E, 0x00, 0xC0, 0x4F, 0x79, 0xAB, 0xD1}};
const GUID IID_IShellDetails = {0x000214EC, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const GUID IID_IEnumIDList = {0x000214F2, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const GUID IID_IContextMenu = {0x000214E4, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const GUID IID_IContextMenu2 = {0x000214F4, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

namespace {

WORD ElementSize(const Byte* P) {
  return static_cast<WORD>(P[0] | (P[1] << 8));
}

class TShellMalloc : public IMalloc {
 public:
  ULONG AddRef() override { return 1; }
  ULONG Release() override { return 1; }
  void* Alloc(std::size_t Size) override { return CoTaskMemAlloc(Size); }
  void* Realloc(void* Block, std::size_t Size) override { return CoTaskMemRealloc(Block, Size); }
  void Free(void* Block) override { CoTaskMemFree(Block); }
};

}  // namespace

void* CoTaskMemAlloc(std::size_t Size) {
  return std::malloc(Size == 0 ? 1 : Size);
}
void* CoTaskMemRealloc(void* Block, std::size_t Size) {
  return std::realloc(Block, Size == 0 ? 1 : Size);
}
void CoTaskMemFree(void* Block) {
  std::free(Block);
}

HRESULT SHGetMalloc(IMalloc** Malloc) {
  if (Malloc == nullptr) return E_POINTER;
  // One allocator for the process; its references are not counted.
  static TShellMalloc Instance;
  *Malloc = &Instance;
  return S_OK;
}

UINT ILGetSize(LPCITEMIDLIST List) {
  if (List == nullptr) return 0;
  const auto* P = reinterpret_cast<const Byte*>(List);
  UINT Size = 0;
  for (WORD Cb; (Cb = ElementSize(P + Size)) != 0;) Size += Cb;
  return Size + 2;
}

LPITEMIDLIST ILGetNext(LPCITEMIDLIST List) {
  if (List == nullptr) return nullptr;
  const auto* P = reinterpret_cast<const Byte*>(List);
  const WORD Cb = ElementSize(P);
  return Cb == 0 ? nullptr : reinterpret_cast<LPITEMIDLIST>(const_cast<Byte*>(P + Cb));
}

LPITEMIDLIST ILFindLastID(LPCITEMIDLIST List) {
  if (List == nullptr) return nullptr;
  auto* Last = const_cast<LPITEMIDLIST>(List);
  for (LPITEMIDLIST Next = ILGetNext(Last); Next != nullptr && Next->mkid.cb != 0; Next = ILGetNext(Next))
    Last = Next;
  return Last;
}

BOOL ILRemoveLastID(LPITEMIDLIST List) {
  if (List == nullptr || ElementSize(reinterpret_cast<const Byte*>(List)) == 0) return FALSE;
  auto* Last = reinterpret_cast<Byte*>(ILFindLastID(List));
  Last[0] = Last[1] = 0;
  return TRUE;
}

LPITEMIDLIST ILClone(LPCITEMIDLIST List) {
  if (List == nullptr) return nullptr;
  const UINT Size = ILGetSize(List);
  auto* Copy = static_cast<LPITEMIDLIST>(CoTaskMemAlloc(Size));
  if (Copy != nullptr) std::memcpy(Copy, List, Size);
  return Copy;
}

LPITEMIDLIST ILCombine(LPCITEMIDLIST First, LPCITEMIDLIST Second) {
  const UINT A = First != nullptr ? ILGetSize(First) - 2 : 0;
  const UINT B = Second != nullptr ? ILGetSize(Second) : 2;
  auto* Out = static_cast<Byte*>(CoTaskMemAlloc(A + B));
  if (Out == nullptr) return nullptr;
  if (A != 0) std::memcpy(Out, First, A);
  if (Second != nullptr)
    std::memcpy(Out + A, Second, B);
  else
    Out[A] = Out[A + 1] = 0;
  return reinterpret_cast<LPITEMIDLIST>(Out);
}

BOOL ILIsEqual(LPCITEMIDLIST A, LPCITEMIDLIST B) {
  if (A == nullptr || B == nullptr) return A == B;
  const UINT Size = ILGetSize(A);
  return Size == ILGetSize(B) && std::memcmp(A, B, Size) == 0;
}

void ILFree(LPITEMIDLIST List) {
  CoTaskMemFree(List);
}

LPITEMIDLIST ILCreateElement(Byte Kind, std::string_view Name) {
  // A name longer than an element can count is cut (file names have at most 255 bytes).
  const std::size_t Length = Name.size() < 0xFFF0 ? Name.size() : 0xFFF0;
  const std::size_t Cb = 3 + Length;
  auto* Out = static_cast<Byte*>(CoTaskMemAlloc(Cb + 2));
  if (Out == nullptr) return nullptr;
  Out[0] = static_cast<Byte>(Cb & 0xFF);
  Out[1] = static_cast<Byte>(Cb >> 8);
  Out[2] = Kind;
  std::memcpy(Out + 3, Name.data(), Length);
  Out[Cb] = Out[Cb + 1] = 0;
  return reinterpret_cast<LPITEMIDLIST>(Out);
}

std::string StrRetToString(STRRET* Str, LPCITEMIDLIST ID) {
  if (Str == nullptr) return {};
  switch (Str->uType) {
    case STRRET_WSTR: {
      if (Str->pOleStr == nullptr) return {};
      std::string Text = Utf16ToUtf8(Str->pOleStr);
      CoTaskMemFree(Str->pOleStr);
      Str->pOleStr = nullptr;
      return Text;
    }
    case STRRET_OFFSET: {
      if (ID == nullptr) return {};
      const auto* P = reinterpret_cast<const Byte*>(ID);
      const WORD Cb = ElementSize(P);
      if (Str->uOffset >= Cb) return {};
      return std::string(reinterpret_cast<const char*>(P + Str->uOffset), Cb - Str->uOffset);
    }
    default:
      return std::string(Str->cStr, strnlen(Str->cStr, sizeof(Str->cStr)));
  }
}
