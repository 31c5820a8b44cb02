// ShellExecute: what reaches the desktop's opener, and the answers for missing files, other
// verbs and an opener that cannot start.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "platform/shell/ShellAPI.h"
#include "platform/system/Files.h"

namespace {
class ShellExecuteTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char Template[] = "/tmp/tilvarok-shell-XXXXXX";
    Folder = mkdtemp(Template);
    std::ofstream(Folder + "/Help Page.html") << "<html></html>";
    SetShellOpenHook([this](const std::string& Target) {
      Opened.push_back(Target);
      return OpenerStarts;
    });
  }
  void TearDown() override {
    SetShellOpenHook(nullptr);
    DeleteFile(Folder + "/Help Page.html");
    RemoveDir(Folder);
  }
  static std::intptr_t Open(const char* Verb, const std::string& File) {
    return reinterpret_cast<std::intptr_t>(ShellExecute(nullptr, Verb, File.c_str(), "", "", 1));
  }
  std::string Folder;
  std::vector<std::string> Opened;
  bool OpenerStarts = true;
};
}  // namespace

TEST_F(ShellExecuteTest, ExistingFilesFoldersAndAddressesReachTheOpener) {
  // The program builds paths with backslashes; the opener sees the native path.
  EXPECT_GT(Open("open", Folder + "\\Help Page.html"), 32);
  EXPECT_GT(Open(nullptr, Folder), 32);
  EXPECT_GT(Open("OPEN", "http://127.0.0.1:8080/Updates/Page.htm"), 32);
  EXPECT_EQ(Opened, (std::vector<std::string>{Folder + "/Help Page.html", Folder,
                                              "http://127.0.0.1:8080/Updates/Page.htm"}));
}

TEST_F(ShellExecuteTest, RefusalsNeverReachTheOpener) {
  EXPECT_EQ(Open("open", Folder + "/Missing.html"), SE_ERR_FNF);
  EXPECT_EQ(Open("open", ""), SE_ERR_FNF);
  EXPECT_EQ(Open("print", Folder + "/Help Page.html"), SE_ERR_NOASSOC);
  // A drive-like name is a path, not an address.
  EXPECT_EQ(Open("open", "C:\\Missing\\File.txt"), SE_ERR_FNF);
  EXPECT_TRUE(Opened.empty());
  OpenerStarts = false;
  EXPECT_EQ(Open("open", Folder), SE_ERR_NOASSOC);
}
