// LoadIcon: the standard message icons and the program's icon from the embedded icon set.
#include <gtest/gtest.h>

#include <cstdint>
#include <set>

#include "platform/gdi/Dib.h"
#include "platform/system/LastError.h"
#include "platform/system/Resources.h"
#include "platform/user/Cursors.h"

namespace {

// Straight ARGB of the icon's colour pixel.
DWORD PixelOf(HICON Icon, Integer X, Integer Y) {
  return GetRawPixel(Icon->Color->Surface, X, Y);
}

struct TStandardIcon {
  LPCSTR Id;
  Byte Red, Green, Blue;  // the body colour of the drawing, sampled below the symbol
};

TEST(TStandardIcons, EachIdLoadsItsOwnDrawingAtTheSystemSize) {
  const TStandardIcon Table[] = {
      {IDI_HAND, 220, 40, 40},
      {IDI_QUESTION, 50, 110, 210},
      {IDI_EXCLAMATION, 250, 205, 40},
      {IDI_ASTERISK, 50, 110, 210},
  };
  std::set<HICON> Seen;
  for (const TStandardIcon& T : Table) {
    SCOPED_TRACE(reinterpret_cast<std::uintptr_t>(T.Id));
    HICON I = LoadIcon(nullptr, T.Id);
    ASSERT_NE(I, nullptr);
    EXPECT_TRUE(Seen.insert(I).second);
    EXPECT_EQ(I->Width, 32);
    EXPECT_EQ(I->Height, 32);
    EXPECT_TRUE(I->IsIcon);
    EXPECT_TRUE(I->HasAlpha);
    EXPECT_EQ(PixelOf(I, 0, 0) >> 24, 0u) << "corners stay transparent";
    const DWORD Body = PixelOf(I, 16, 27);
    EXPECT_EQ(Body >> 24, 255u);
    EXPECT_EQ((Body >> 16) & 0xFF, T.Red);
    EXPECT_EQ((Body >> 8) & 0xFF, T.Green);
    EXPECT_EQ(Body & 0xFF, T.Blue);
  }
}

TEST(TStandardIcons, AliasesAndTheProgramIconShareOneHandle) {
  EXPECT_EQ(LoadIcon(nullptr, IDI_ERROR), LoadIcon(nullptr, IDI_HAND));
  EXPECT_EQ(LoadIcon(nullptr, IDI_WARNING), LoadIcon(nullptr, IDI_EXCLAMATION));
  EXPECT_EQ(LoadIcon(nullptr, IDI_INFORMATION), LoadIcon(nullptr, IDI_ASTERISK));
  HICON Program = LoadIcon(HInstance, "mainicon");
  ASSERT_NE(Program, nullptr);
  EXPECT_EQ(LoadIcon(nullptr, IDI_APPLICATION), Program);
  EXPECT_EQ(LoadIcon(nullptr, IDI_WINLOGO), Program);
}

TEST(TStandardIcons, SharedIconsSurviveDestroyIcon) {
  HICON I = LoadIcon(nullptr, IDI_QUESTION);
  EXPECT_TRUE(DestroyIcon(I));
  EXPECT_EQ(LoadIcon(nullptr, IDI_QUESTION), I);
  ICONINFO Info;
  ASSERT_TRUE(GetIconInfo(I, &Info));
  EXPECT_TRUE(DeleteObject(Info.hbmColor));
  EXPECT_TRUE(DeleteObject(Info.hbmMask));
}

TEST(TStandardIcons, SmallSizeComesFromTheSixteenPixelImage) {
  HICON Small = LoadIconOfSize(nullptr, IDI_HAND, 16, 16);
  ASSERT_NE(Small, nullptr);
  EXPECT_NE(Small, LoadIcon(nullptr, IDI_HAND));
  EXPECT_EQ(Small->Width, 16);
  EXPECT_EQ(Small->Height, 16);
  EXPECT_EQ(LoadIconOfSize(nullptr, IDI_HAND, 16, 16), Small);
  HICON Folder = LoadIconOfSize(HInstance, "TVICON_FOLDER", 16, 16);
  ASSERT_NE(Folder, nullptr);
  EXPECT_EQ(Folder->Width, 16);
}

TEST(TStandardIcons, UnknownNamesFail) {
  SetLastError(0);
  EXPECT_EQ(LoadIcon(nullptr, MAKEINTRESOURCE(32600)), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_RESOURCE_NAME_NOT_FOUND);
  EXPECT_EQ(LoadIcon(nullptr, "MAINICON"), nullptr) << "a name needs a module";
  EXPECT_EQ(LoadIcon(HInstance, "NOSUCHICON"), nullptr);
  EXPECT_EQ(LoadIcon(HInstance, "TVPROBE"), nullptr) << "a resource of another type is no icon";
  EXPECT_EQ(LoadIconOfSize(nullptr, IDI_HAND, 0, 16), nullptr);
}

}  // namespace
