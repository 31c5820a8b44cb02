// The scanner source manager's release and the scanner log.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "imaging/io/ieiolibrary.h"
#include "imaging/io/ietwain.h"
#include "imaging/io/zezudidio.h"

namespace {

class TWainReleaseTest : public ::testing::Test {
 protected:
  TWainReleaseTest() {
    Log = std::filesystem::temp_directory_path() / ("tv-twain-" + std::to_string(getpid()) + ".log");
    std::filesystem::remove(Log);
    IETWainLogFile = Log.string();
  }
  ~TWainReleaseTest() override {
    IETWainLogFile.clear();
    std::filesystem::remove(Log);
  }
  std::vector<std::string> Lines() const {
    std::vector<std::string> Read;
    std::ifstream In(Log);
    for (std::string Line; std::getline(In, Line);) Read.push_back(Line.substr(Line.find(" : ") + 3));
    return Read;
  }
  std::filesystem::path Log;
};

TEST_F(TWainReleaseTest, NothingLoadedWritesNothing) {
  { TZezudIdIO IO(nullptr); }
  TIETWainState Empty;
  TWainRelease(Empty, nullptr);
  EXPECT_FALSE(std::filesystem::exists(Log));
}

TEST_F(TWainReleaseTest, ALoadedSourceManagerAndProxyWindowAreReleasedWithTheirLogLines) {
  TZezudIdIO IO(nullptr);
  TIETWainState& State = IO.GetTWainParams()->GetTWainState();
  State.SourceManagerLibrary = dlopen(nullptr, RTLD_NOW);
  State.DSMEntry = reinterpret_cast<void*>(&TWainLog);
  State.SourceManagerLoaded = true;
  State.TWainState = 3;
  int NotAWindow = 0;
  State.ProxyWindow = reinterpret_cast<HWND>(&NotAWindow);  // gone already: only forgotten
  TWainRelease(State, nullptr);
  EXPECT_EQ(Lines(),
            (std::vector<std::string>{"DestroyProxyWindow", "  DestroyProxyWindow : destroyed",
                                      "IETW_UnloadSourceManager", "  IETW_UnloadSourceManager : Unload OK"}));
  EXPECT_EQ(State.ProxyWindow, nullptr);
  EXPECT_EQ(State.SourceManagerLibrary, nullptr);
  EXPECT_EQ(State.DSMEntry, nullptr);
  EXPECT_FALSE(State.SourceManagerLoaded);
  EXPECT_EQ(State.TWainState, 0);
}

TEST_F(TWainReleaseTest, LogLinesCarryDateAndTime) {
  TWainLog("first");
  TWainLog("second");
  std::ifstream In(Log);
  std::vector<std::string> Raw;
  for (std::string Line; std::getline(In, Line);) Raw.push_back(Line);
  ASSERT_EQ(Raw.size(), 2u);
  EXPECT_TRUE(std::regex_match(Raw[0], std::regex(R"(\S+ \S+ : first)"))) << Raw[0];
  EXPECT_TRUE(std::regex_match(Raw[1], std::regex(R"(\S+ \S+ : second)"))) << Raw[1];
  IETWainLogFile.clear();
  TWainLog("third");
  EXPECT_EQ(Lines().size(), 2u);
}

}  // namespace
