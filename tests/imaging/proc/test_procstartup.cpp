// What the processing library sets up once: the 1-bit expansion table, the predefined filters,
// its start-up hooks, and the dialog parameter record.
#include <gtest/gtest.h>

#include <algorithm>

#include "imaging/core/hyieutils.h"
#include "imaging/core/ieexif.h"
#include "imaging/core/ieexiforient.h"
#include "imaging/core/ieresample.h"
#include "imaging/proc/ieprocdialogparams.h"
#include "imaging/proc/ieprocfilters.h"
#include "imaging/proc/ieprocgeometry.h"
#include "platform/system/Streams.h"

namespace {

TEST(ProcStartup, ExpansionTableTurnsBitsIntoWhiteAndBlackPixels) {
  IEBuild1BitExpandTable();
  const auto& OneWhite = IE1BitExpandTable[0x80];
  EXPECT_TRUE(std::all_of(OneWhite.begin(), OneWhite.begin() + 3, [](Byte B) { return B == 255; }));
  EXPECT_TRUE(std::all_of(OneWhite.begin() + 3, OneWhite.end(), [](Byte B) { return B == 0; }));
  EXPECT_TRUE(std::all_of(IE1BitExpandTable[0xFF].begin(), IE1BitExpandTable[0xFF].end(),
                          [](Byte B) { return B == 255; }));
  // The last bit is the last pixel.
  EXPECT_EQ(IE1BitExpandTable[0x01][21], 255);
  EXPECT_EQ(IE1BitExpandTable[0x01][20], 0);
}

TEST(ProcStartup, HooksBuildAndFreeThePredefinedFilters) {
  ProcRegisterLibraryHooks();
  const TIELibraryHooks Hooks = IEGetLibraryHooks(iluProc);
  ASSERT_EQ(Hooks.Initialize, &TZezudIdProcInitialize);
  ASSERT_EQ(Hooks.Finalize, &TZezudIdProcFinalize);
  Hooks.Initialize();
  ASSERT_EQ(IEPredefinedFilters.size(), 9u);
  ASSERT_EQ(IEPredefinedFilterNames.size(), 9u);
  EXPECT_EQ(IEPredefinedFilterNames[1], "Blur");
  EXPECT_EQ(IEPredefinedFilters[1]->Divisor, 9);
  EXPECT_EQ(IEPredefinedFilterNames[8], "Low Pass 2");
  EXPECT_EQ(IEPredefinedFilters[8]->Weights[4], 4);
  EXPECT_EQ(IEPredefinedFilters[3]->Weights, (std::array<Integer, 9>{-1, 0, 1, -1, 1, 1, -1, 0, 1}));
  EXPECT_NE(IERawClipboardFormat, 0u);
  EXPECT_NE(IEResampleHooks.Filtered, nullptr);  // the core resamples through this library now
  EXPECT_NE(IEResampleHooks.Gray8, nullptr);
  EXPECT_NE(IEResampleHooks.OneBit, nullptr);
  EXPECT_EQ(IEExifProcs.FlipBitmap, &IEFlipBitmap);
  EXPECT_EQ(IEAddPredefinedFilter(TIEFilterKernel{{0, 0, 0, 0, 2, 0, 0, 0, 0}, 2}, "Mine"), 9);
  Hooks.Finalize();
  EXPECT_TRUE(IEPredefinedFilters.empty());
  EXPECT_TRUE(IEPredefinedFilterNames.empty());
  EXPECT_EQ(IEResampleHooks.Filtered, nullptr);
  EXPECT_EQ(IEExifProcs.FlipBitmap, &IEExactFlipBitmap);
}

TEST(ProcStartup, DialogParametersStartAtTheirDefaults) {
  TIPDialogParams Params;
  EXPECT_EQ(Params.GetParamA(), -1);
  EXPECT_EQ(Params.GetParamD(), -1);
  EXPECT_EQ(Params.UserFilter.Weights[4], 1);
  EXPECT_EQ(Params.UserFilter.Divisor, 0);
  EXPECT_EQ(Params.ColorPairs[1], (TIERGBTriple{255, 255, 255}));
  EXPECT_EQ(Params.Size1, (std::array<Integer, 2>{150, 150}));
  EXPECT_EQ(Params.Values3, (std::array<Integer, 4>{0, 1, 0, 0}));
  EXPECT_DOUBLE_EQ(Params.Factor1, 1.7);
  EXPECT_EQ(Params.Values4, (std::array<Integer, 5>{1, 10, 10, 0, 0}));
  EXPECT_EQ(Params.Values7, (std::array<Integer, 2>{1, 4}));
  EXPECT_EQ(Params.Flag2, 1);
}

TEST(ProcStartup, SettingASelectionValueEmptiesTheCache) {
  TIPDialogParams Params;
  const Byte Data[4] = {1, 2, 3, 4};
  Params.GetCache()->Write(Data, 4);
  Params.SetParamB(7);
  EXPECT_EQ(Params.GetParamB(), 7);
  EXPECT_EQ(Params.GetCache()->GetSize(), 0);
  Params.GetCache()->Write(Data, 4);
  Params.Values[0] = 99;
  Params.Reset();
  EXPECT_EQ(Params.GetCache()->GetSize(), 0);
  EXPECT_EQ(Params.Values[0], 0);
  EXPECT_EQ(Params.GetParamB(), -1);
}

}  // namespace
