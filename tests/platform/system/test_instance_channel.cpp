// The instance channel: a signal reaches the listener's main-thread call, nothing answers
// once it stops, and a socket left by an ended run does not block the next one.
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <optional>

#include "TempFolder.h"
#include "platform/system/InstanceChannel.h"
#include "platform/system/NamedMutex.h"
#include "platform/system/Threads.h"

namespace {
class InstanceChannel : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const char* Old = std::getenv("XDG_RUNTIME_DIR")) FOldRuntime = Old;
    setenv("XDG_RUNTIME_DIR", FFolder.Path().c_str(), 1);
  }
  void TearDown() override {
    if (FOldRuntime)
      setenv("XDG_RUNTIME_DIR", FOldRuntime->c_str(), 1);
    else
      unsetenv("XDG_RUNTIME_DIR");
  }
  // Runs queued calls until Count requests arrived (or a few seconds passed).
  void WaitFor(Integer Count) {
    for (Integer I = 0; I < 50 && Requests < Count; ++I) CheckSynchronize(100);
  }
  TTempFolder FFolder;
  std::optional<std::string> FOldRuntime;
  Integer Requests = 0;
};
}  // namespace

TEST_F(InstanceChannel, SignalsRunTheRequestOnTheMainThread) {
  TInstanceListener Listener;
  ASSERT_TRUE(Listener.Start("Tilvarok", [this] {
    EXPECT_TRUE(IsMainThread());
    ++Requests;
  }));
  EXPECT_TRUE(SignalInstance("Tilvarok"));
  EXPECT_TRUE(SignalInstance("Tilvarok"));
  WaitFor(2);
  EXPECT_EQ(Requests, 2);
  // Another program's name reaches nobody.
  EXPECT_FALSE(SignalInstance("Other"));
  Listener.Stop();
  EXPECT_FALSE(SignalInstance("Tilvarok"));
  EXPECT_FALSE(std::ifstream(NamedObjectPath("instance", "Tilvarok", ".sock")).good());
}

TEST_F(InstanceChannel, LeftoverSocketIsReplacedAndStrayBytesAreIgnored) {
  const std::string Path = NamedObjectPath("instance", "Tilvarok", ".sock");
  std::ofstream(Path) << "left by a crashed run";
  TInstanceListener Listener;
  ASSERT_TRUE(Listener.Start("Tilvarok", [this] { ++Requests; }));
  // A client that says something else is not a request.
  sockaddr_un Address{};
  Address.sun_family = AF_UNIX;
  std::snprintf(Address.sun_path, sizeof Address.sun_path, "%s", Path.c_str());
  const int Socket = ::socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_EQ(::connect(Socket, reinterpret_cast<sockaddr*>(&Address), sizeof Address), 0);
  ASSERT_EQ(::write(Socket, "hello!", 6), 6);
  ::close(Socket);
  EXPECT_TRUE(SignalInstance("Tilvarok"));
  WaitFor(1);
  CheckSynchronize(50);
  EXPECT_EQ(Requests, 1);
}

TEST_F(InstanceChannel, NamesTooLongForASocketFileStillConnect) {
  const std::string Long(150, 'n');
  TInstanceListener Listener;
  ASSERT_TRUE(Listener.Start(Long, [this] { ++Requests; }));
  EXPECT_FALSE(SignalInstance(Long + "x"));
  EXPECT_TRUE(SignalInstance(Long));
  WaitFor(1);
  EXPECT_EQ(Requests, 1);
}
