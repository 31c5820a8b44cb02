// Listing a folder of 10,000 files the way the file dialogs' list does: enumerate, name each
// item, ask its attributes and icon, and sort folders first by name.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/shell/ShellFileInfo.h"
#include "platform/shell/ShlObj.h"
#include "platform/system/Strings.h"

namespace {

// Made once per run and removed at exit.
const std::string& TenThousandFiles() {
  static const std::string Folder = [] {
    char Template[] = "/tmp/tv-bench-shell-XXXXXX";
    std::string Path = ::mkdtemp(Template);
    for (int I = 0; I < 10000; ++I)
      std::ofstream(Path + "/picture" + std::to_string(I) + (I % 3 == 0 ? ".jpg" : ".png")) << I;
    for (int I = 0; I < 20; ++I) std::filesystem::create_directory(Path + "/folder" + std::to_string(I));
    std::atexit([] { std::filesystem::remove_all(Folder); });
    return Path;
  }();
  return Folder;
}

IShellFolder* BindFolder(const std::string& Path, LPITEMIDLIST* Absolute) {
  IShellFolder* Desktop = nullptr;
  SHGetDesktopFolder(&Desktop);
  Desktop->ParseDisplayName(nullptr, nullptr, Utf8ToUtf16(Path).c_str(), nullptr, Absolute, nullptr);
  IShellFolder* Folder = nullptr;
  Desktop->BindToObject(*Absolute, nullptr, IID_IShellFolder, reinterpret_cast<void**>(&Folder));
  Desktop->Release();
  return Folder;
}

void BM_ListTenThousandFiles(benchmark::State& State) {
  LPITEMIDLIST Absolute = nullptr;
  IShellFolder* Folder = BindFolder(TenThousandFiles(), &Absolute);
  for (auto _ : State) {
    IEnumIDList* Enum = nullptr;
    Folder->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, &Enum);
    std::vector<LPITEMIDLIST> Items;
    LPITEMIDLIST ID;
    ULONG Got;
    while (Enum->Next(1, &ID, &Got) == S_OK) Items.push_back(ID);
    Enum->Release();
    std::size_t Names = 0;
    for (LPITEMIDLIST Item : Items) {
      STRRET Name;
      Folder->GetDisplayNameOf(Item, SHGDN_INFOLDER, &Name);
      Names += StrRetToString(&Name, Item).size();
      DWORD Attributes = SFGAO_FOLDER | SFGAO_FILESYSTEM;
      LPCITEMIDLIST One[] = {Item};
      Folder->GetAttributesOf(1, One, &Attributes);
    }
    std::sort(Items.begin(), Items.end(), [Folder](LPCITEMIDLIST A, LPCITEMIDLIST B) {
      return static_cast<short>(HRESULT_CODE(Folder->CompareIDs(0, A, B))) < 0;
    });
    benchmark::DoNotOptimize(Names);
    for (LPITEMIDLIST Item : Items) ILFree(Item);
  }
  Folder->Release();
  ILFree(Absolute);
}
BENCHMARK(BM_ListTenThousandFiles)->Unit(benchmark::kMillisecond);

// The icons of the rows a view paints: one SHGetFileInfoA per row.
void BM_SystemIconIndexOfTenThousandFiles(benchmark::State& State) {
  LPITEMIDLIST Absolute = nullptr;
  IShellFolder* Folder = BindFolder(TenThousandFiles(), &Absolute);
  std::vector<LPITEMIDLIST> Full;
  IEnumIDList* Enum = nullptr;
  Folder->EnumObjects(nullptr, SHCONTF_NONFOLDERS, &Enum);
  LPITEMIDLIST ID;
  ULONG Got;
  while (Enum->Next(1, &ID, &Got) == S_OK) {
    Full.push_back(ILCombine(Absolute, ID));
    ILFree(ID);
  }
  Enum->Release();
  for (auto _ : State) {
    Integer Sum = 0;
    for (LPITEMIDLIST Item : Full) {
      SHFILEINFOA Info;
      SHGetFileInfoA(reinterpret_cast<LPCSTR>(Item), 0, &Info, sizeof(Info),
                     SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
      Sum += Info.iIcon;
    }
    benchmark::DoNotOptimize(Sum);
  }
  for (LPITEMIDLIST Item : Full) ILFree(Item);
  Folder->Release();
  ILFree(Absolute);
}
BENCHMARK(BM_SystemIconIndexOfTenThousandFiles)->Unit(benchmark::kMillisecond);

}  // namespace
