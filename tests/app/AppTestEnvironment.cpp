// The mosaic program's tests start the raster and imaging libraries and the headless screen
// once, as the program does, and give the program a data folder of its own with its results
// folder, and a runtime folder of its own for the single-instance guard.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "imaging/core/hyieutils.h"
#include "imaging/formats/ieformats.h"
#include "imaging/io/ieiolibrary.h"
#include "imaging/proc/ieprocfilters.h"
#include "imaging/view/zezudidview.h"
#include "platform/display/HeadlessDisplay.h"
#include "platform/system/Environment.h"
#include "platform/system/Files.h"
#include "raster/RS32_Startup.h"

namespace {
class TAppEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    char Template[] = "/tmp/tilvarok-app-tests-XXXXXX";
    const char* Root = mkdtemp(Template);
    ASSERT_NE(Root, nullptr);
    FRoot = Root;
    SetEnvironmentVariable("XDG_DATA_HOME", FRoot + "/data");
    SetEnvironmentVariable("TEMP", FRoot + "/temp");
    // The single-instance guard's lock and socket: each test program is an instance of its own.
    SetEnvironmentVariable("XDG_RUNTIME_DIR", FRoot + "/run");
    ForceDirectories(FRoot + "/run");
    ForceDirectories(FRoot + "/data/ZOR/Tilvarok/Results");
    ForceDirectories(FRoot + "/temp");
    Headless();
    InitializeRasterLibrary();
    IEFormatsInstall();
    IORegisterLibraryHooks();
    ProcRegisterLibraryHooks();
    ViewRegisterLibraryHooks();
    LibraryInitialize();
  }
  void TearDown() override {
    LibraryFinalize();
    FinalizeRasterLibrary();
    const std::string Command = "rm -rf '" + FRoot + "'";
    [[maybe_unused]] const int Ignored = std::system(Command.c_str());
  }

 private:
  std::string FRoot;
};

[[maybe_unused]] ::testing::Environment* const Environment =
    ::testing::AddGlobalTestEnvironment(new TAppEnvironment);
}  // namespace
