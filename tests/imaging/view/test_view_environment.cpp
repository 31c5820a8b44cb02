// The view tests run inside the imaging library's start-up, as the program does: the further
// formats joined, then every unit's hooks, the view's included.
#include <gtest/gtest.h>

#include "imaging/core/hyieutils.h"
#include "imaging/formats/ieformats.h"
#include "imaging/io/ieiolibrary.h"
#include "imaging/proc/ieprocfilters.h"
#include "imaging/view/zezudidview.h"

namespace {

class TViewLibraryEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    IEFormatsInstall();
    IORegisterLibraryHooks();
    ProcRegisterLibraryHooks();
    ViewRegisterLibraryHooks();
    LibraryInitialize();
  }
  void TearDown() override { LibraryFinalize(); }
};

[[maybe_unused]] ::testing::Environment* const Environment =
    ::testing::AddGlobalTestEnvironment(new TViewLibraryEnvironment);

}  // namespace
