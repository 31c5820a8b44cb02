#include <gtest/gtest.h>

#include <string>

#include "platform/system/Resources.h"

namespace {
const std::string ProbeText = "Tilvarok embedded resource probe\n";
}

TEST(Resources, FindsByNameAndTypeInAnySpelling) {
  struct {
    HMODULE Module;
    LPCSTR Name;
    LPCSTR Type;
    bool Found;
  } Cases[] = {
      {HInstance, "TVPROBE", RT_RCDATA, true},   {HInstance, "tvprobe", "rcdata", true},
      {nullptr, "TvProbe", "#10", true},         {HInstance, "TVPROBE", "RcData", true},
      {HInstance, "TVPROBE", RT_BITMAP, false},  {HInstance, "TVPROBE", "BITMAP", false},
      {HInstance, "TVPROBE2", RT_RCDATA, false}, {HInstance, MAKEINTRESOURCE(1), RT_RCDATA, false},
      {HInstance, "#1", RT_RCDATA, false},
  };
  for (const auto& C : Cases) {
    const std::string Shown = IS_INTRESOURCE(C.Name) ? "#id" : C.Name;
    EXPECT_EQ(FindResource(C.Module, C.Name, C.Type) != nullptr, C.Found) << Shown;
  }
}

TEST(Resources, LoadLockAndSizeGiveTheEmbeddedBytes) {
  HRSRC Res = FindResource(HInstance, "TVPROBE", RT_RCDATA);
  ASSERT_NE(Res, nullptr);
  HGLOBAL Data = LoadResource(HInstance, Res);
  const char* P = static_cast<const char*>(LockResource(Data));
  ASSERT_NE(P, nullptr);
  EXPECT_EQ(std::string(P, SizeofResource(HInstance, Res)), ProbeText);
  FreeResource(Data);

  EXPECT_EQ(LoadResource(HInstance, nullptr), nullptr);
  EXPECT_EQ(SizeofResource(HInstance, nullptr), 0u);
}
