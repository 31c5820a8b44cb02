#pragma once
// A private home, desktop and mount table under a temporary folder, and small helpers over the
// shell's interfaces.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/shell/ShlObj.h"
#include "platform/system/Environment.h"

class TShellTree : public ::testing::Test {
 protected:
  void SetUp() override {
    char Template[] = "/tmp/tv-shell-XXXXXX";
    ASSERT_NE(::mkdtemp(Template), nullptr);
    Root = Template;
    Home = Root + "/home";
    Desktop = Home + "/Desktop";
    std::filesystem::create_directories(Desktop);
    std::filesystem::create_directories(Home + "/Documents");
    for (const char* Name : {"HOME", "XDG_DESKTOP_DIR", "XDG_DOCUMENTS_DIR", "XDG_CONFIG_HOME"})
      Saved.push_back({Name, GetEnvironmentVariable(Name)});
    SetEnvironmentVariable("HOME", Home);
    SetEnvironmentVariable("XDG_DESKTOP_DIR", Desktop);
    SetEnvironmentVariable("XDG_DOCUMENTS_DIR", Home + "/Documents");
    SetEnvironmentVariable("XDG_CONFIG_HOME", Root + "/config");
    MountTable = Root + "/mounts";
    WriteFile(MountTable,
              "proc /proc proc rw 0 0\n/dev/sdb1 /media/stick ext4 rw 0 0\n"
              "/dev/sdc1 /mnt/backup\\040disk vfat rw 0 0\n/dev/sda2 /boot ext4 rw 0 0\n");
    SetShellMountTable(MountTable);
  }

  void TearDown() override {
    SetShellMountTable("");
    for (const auto& [Name, Value] : Saved) {
      if (Value.empty())
        SetEnvironmentVariable(Name, nullptr);
      else
        SetEnvironmentVariable(Name, Value);
    }
    // Folders made read-only by a test must be writable again to be removed.
    std::error_code Ignored;
    for (const auto& E : std::filesystem::recursive_directory_iterator(Root, Ignored))
      if (E.is_directory() && !E.is_symlink()) ::chmod(E.path().c_str(), 0755);
    std::filesystem::remove_all(Root, Ignored);
  }

  static void WriteFile(const std::string& Path, const std::string& Text) {
    std::ofstream(Path, std::ios::binary) << Text;
  }

  std::string Root, Home, Desktop, MountTable;
  std::vector<std::pair<std::string, std::string>> Saved;
};

// Holds an interface and releases it.
template <class T>
struct THeld {
  T* P = nullptr;
  ~THeld() {
    if (P) P->Release();
  }
  T* operator->() const { return P; }
  void** Out() { return reinterpret_cast<void**>(&P); }
};

// Holds an item-ID list and frees it.
struct THeldID {
  LPITEMIDLIST P = nullptr;
  ~THeldID() { ILFree(P); }
};

inline std::string NameOf(IShellFolder* Folder, LPCITEMIDLIST ID, DWORD Flags) {
  STRRET S;
  if (FAILED(Folder->GetDisplayNameOf(ID, Flags, &S))) return "<failed>";
  return StrRetToString(&S, ID);
}

// The one-element IDs a folder lists, in listing order; the caller frees them.
inline std::vector<LPITEMIDLIST> Children(IShellFolder* Folder, DWORD Flags) {
  std::vector<LPITEMIDLIST> Out;
  THeld<IEnumIDList> Enum;
  if (FAILED(Folder->EnumObjects(nullptr, Flags, &Enum.P))) return Out;
  LPITEMIDLIST ID;
  ULONG Got;
  while (Enum->Next(1, &ID, &Got) == S_OK && Got == 1) Out.push_back(ID);
  return Out;
}
