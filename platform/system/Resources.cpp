#include "platform/system/Resources.h"

#include <string>
#include <vector>

#include "platform/system/EmbeddedResource.h"

struct HINSTANCE__ {
  int Unused;
};

static HINSTANCE__ MainModule{};
const HINSTANCE HInstance = &MainModule;

namespace {

// Types the platform numbers, by their names in the embedding manifest.
struct TTypeName {
  unsigned Id;
  const char* Name;
};
constexpr TTypeName TypeNames[] = {
    {1, "CURSOR"},        {2, "BITMAP"},        {3, "ICON"},        {4, "MENU"},        {5, "DIALOG"},
    {6, "STRING"},        {7, "FONTDIR"},       {8, "FONT"},        {9, "ACCELERATOR"}, {10, "RCDATA"},
    {11, "MESSAGETABLE"}, {12, "GROUP_CURSOR"}, {14, "GROUP_ICON"}, {16, "VERSION"},
};

// "#n" for n in 0..65535 written with digits only, else nothing.
bool ParseId(const std::string& S, std::size_t Start, unsigned& Id) {
  if (S.size() <= Start || S.size() - Start > 5) return false;
  Id = 0;
  for (std::size_t I = Start; I < S.size(); ++I) {
    if (S[I] < '0' || S[I] > '9') return false;
    Id = Id * 10 + static_cast<unsigned>(S[I] - '0');
  }
  return Id <= 0xFFFF;
}

std::string Upper(const char* S) {
  std::string R(S);
  for (char& C : R)
    if (C >= 'a' && C <= 'z') C = static_cast<char>(C - 'a' + 'A');
  return R;
}

// One spelling per resource name: integer ids as "#n", strings in upper case.
std::string NameKey(std::string S, bool DigitsAreId) {
  unsigned Id;
  if (ParseId(S, 1, Id) && S[0] == '#') return "#" + std::to_string(Id);
  if (DigitsAreId && ParseId(S, 0, Id)) return "#" + std::to_string(Id);
  return S;
}

// Types the platform numbers are keyed by their name, so RT_RCDATA, "#10" and "RCDATA" meet.
std::string TypeKey(std::string S, bool DigitsAreId) {
  std::string K = NameKey(std::move(S), DigitsAreId);
  unsigned Id;
  if (K[0] == '#' && ParseId(K, 1, Id))
    for (const TTypeName& T : TypeNames)
      if (T.Id == Id) return T.Name;
  return K;
}

std::string ArgKey(LPCSTR P, bool IsType) {
  if (IS_INTRESOURCE(P)) {
    std::string K = "#" + std::to_string(reinterpret_cast<std::uintptr_t>(P));
    return IsType ? TypeKey(K, false) : K;
  }
  return IsType ? TypeKey(Upper(P), false) : NameKey(Upper(P), false);
}

struct TKeyedResource {
  std::string Name, Type;
  const TEmbeddedResource* Res;
};

const std::vector<TKeyedResource>& KeyedTable() {
  static const std::vector<TKeyedResource> Table = [] {
    std::size_t Count = 0;
    const TEmbeddedResource* Res = EmbeddedResourceTable(Count);
    std::vector<TKeyedResource> T;
    for (std::size_t I = 0; I < Count; ++I)
      if (Res[I].Name)
        T.push_back({NameKey(Upper(Res[I].Name), true), TypeKey(Upper(Res[I].Type), true), &Res[I]});
    return T;
  }();
  return Table;
}

const TEmbeddedResource* AsResource(HRSRC R) {
  return reinterpret_cast<const TEmbeddedResource*>(R);
}

}  // namespace

HRSRC FindResource(HMODULE Module, LPCSTR Name, LPCSTR Type) {
  if ((Module && Module != HInstance) || !Name || !Type) return nullptr;
  const std::string N = ArgKey(Name, false), T = ArgKey(Type, true);
  for (const TKeyedResource& R : KeyedTable())
    if (R.Name == N && R.Type == T) return reinterpret_cast<HRSRC>(const_cast<TEmbeddedResource*>(R.Res));
  return nullptr;
}

HGLOBAL LoadResource(HMODULE, HRSRC ResInfo) {
  return ResInfo ? const_cast<unsigned char*>(AsResource(ResInfo)->Data) : nullptr;
}

void* LockResource(HGLOBAL ResData) {
  return ResData;
}

DWORD SizeofResource(HMODULE, HRSRC ResInfo) {
  return ResInfo ? static_cast<DWORD>(AsResource(ResInfo)->Size) : 0;
}

BOOL FreeResource(HGLOBAL) {
  return FALSE;
}
