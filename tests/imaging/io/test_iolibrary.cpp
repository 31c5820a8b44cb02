#include <gtest/gtest.h>

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "imaging/core/hyieutils.h"
#include "imaging/core/iecmykprofile.h"
#include "imaging/core/ieconvertcolorrow.h"
#include "imaging/core/iefilebuffer.h"
#include "imaging/core/iequantizer.h"
#include "imaging/core/iestreams.h"
#include "imaging/io/iefileformats.h"
#include "imaging/io/ieiolibrary.h"
#include "platform/system/Clock.h"
#include "platform/system/DateTime.h"

namespace {

bool GifDecompress(const Byte*, Integer, Integer, Byte*, Integer) {
  return true;
}
void TiffCompress(const Byte*, Integer, TStream*, void*&) {}

Integer AviExits = 0;
void CountAviExit() {
  ++AviExits;
}

// Every setting the start-up writes, moved off its start-up value first.
void DisturbSettings() {
  IEUsePlatformFileExists = true;
  IETempFolder = "/elsewhere";
  IETWainLogFile = "scan.log";
  IEConvertColorRowProc = nullptr;
  ColorManagementEnabled = true;
  IEQuantizerMethod = 1;
  IENeuQuantQuality = 5;
  IERelativeStreamOrigin = true;
  IECMYKProfileConversion = false;
  IEMetafileMaxSize = 1;
}

}  // namespace

TEST(IOLibrary, StartUpSetsEverySettingAndBuildsTheRegistry) {
  DisturbSettings();
  IESetLzwCodecs({GifDecompress, nullptr, nullptr, TiffCompress});
  IOLibraryInitialize();
  EXPECT_FALSE(IEUsePlatformFileExists);
  EXPECT_EQ(IEGifLzwDecompressProc, &GifDecompress);
  EXPECT_EQ(IEGifLzwCompressProc, nullptr);
  EXPECT_EQ(IETiffLzwCompressProc, &TiffCompress);
  EXPECT_TRUE(IETempFolder.empty());
  EXPECT_TRUE(IETWainLogFile.empty());
  EXPECT_EQ(IEConvertColorRowProc, &IEConvertColorRow);
  EXPECT_FALSE(ColorManagementEnabled);
  EXPECT_EQ(IEQuantizerMethod, -1);
  EXPECT_EQ(IENeuQuantQuality, -1);
  EXPECT_FALSE(IERelativeStreamOrigin);
  EXPECT_TRUE(IECMYKProfileConversion);
  EXPECT_EQ(IEMetafileMaxSize, 8000);
  ASSERT_NE(IEIOPlugins, nullptr);
  EXPECT_TRUE(IEIOPlugins->empty());
  EXPECT_NE(FindFileFormatInfo(ioJPEG), nullptr);

  IOLibraryFinalize();
  EXPECT_EQ(FindFileFormatInfo(ioJPEG), nullptr);
  EXPECT_EQ(IEIOPlugins, nullptr);
  IESetLzwCodecs({});
}

TEST(IOLibrary, ShutDownEndsTheAviLibraryOnlyWhenItWasStarted) {
  AviExits = 0;
  IOLibraryInitialize();
  IOLibraryFinalize();
  EXPECT_EQ(AviExits, 0);

  IOLibraryInitialize();
  IEAviFileLibraryExit = CountAviExit;
  IOLibraryFinalize();
  EXPECT_EQ(AviExits, 1);
  EXPECT_EQ(IEAviFileLibraryExit, nullptr);
}

TEST(IOLibrary, ShutDownFreesTheColourProfiles) {
  IOLibraryInitialize();
  IELoadCMYKProfile();
  IOLibraryFinalize();
  EXPECT_EQ(IECMYKProfile, nullptr);
  EXPECT_EQ(IESRGBProfile, nullptr);
}

TEST(IOLibrary, HooksGoIntoTheIOSlot) {
  const TIELibraryHooks Saved = IEGetLibraryHooks(iluIOLibrary);
  IORegisterLibraryHooks();
  EXPECT_EQ(IEGetLibraryHooks(iluIOLibrary), (TIELibraryHooks{IOLibraryInitialize, IOLibraryFinalize}));
  IERegisterLibraryHooks(iluIOLibrary, Saved);
}

TEST(IOLibrary, DebugLogAppendsOneStampedLinePerCall) {
  char Folder[] = "/tmp/tv_iolog_XXXXXX";
  ASSERT_NE(mkdtemp(Folder), nullptr);
  const std::string LogName = std::string(Folder) + "/debug.log";
  TFakeClock Clock{0, EncodeDateTime(2024, 3, 7, 9, 5, 0, 0)};
  SetClockSource(&Clock);

  IEDebugLogFileName.clear();
  WriteDebugLog("nowhere");
  EXPECT_FALSE(std::filesystem::exists(LogName));

  IEDebugLogFileName = LogName;
  WriteDebugLog("first");
  Clock.Advance(3 * 60 * 60 * 1000);
  WriteDebugLog("second");
  IEDebugLogFileName.clear();
  SetClockSource(nullptr);

  std::ifstream Log(LogName);
  std::stringstream Text;
  Text << Log.rdbuf();
  EXPECT_EQ(Text.str(), "3/7/2024 9:05 : first\n3/7/2024 12:05 : second\n");
  std::filesystem::remove_all(Folder);
}
