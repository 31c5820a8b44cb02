// LoadIcon: the standard message icons and the program's icon from the embedded icon set.
#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <vector>

#include "platform/gdi/Dib.h"
#include "platform/gdi/ImageCopy.h"
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

namespace {

bool SamePixels(HICON A, HICON B) {
  if (A->Width != B->Width || A->Height != B->Height) return false;
  for (Integer Y = 0; Y < A->Height; ++Y)
    for (Integer X = 0; X < A->Width; ++X)
      if (PixelOf(A, X, Y) != PixelOf(B, X, Y)) return false;
  return true;
}

TEST(TIconCopies, FromResourceRereadsTheImageOfThatSize) {
  HICON Large = LoadIcon(nullptr, IDI_HAND);
  auto* Small = static_cast<HICON>(CopyImage(Large, IMAGE_ICON, 16, 16, LR_COPYFROMRESOURCE));
  ASSERT_NE(Small, nullptr);
  EXPECT_EQ(Small->Width, 16);
  EXPECT_TRUE(SamePixels(Small, LoadIconOfSize(nullptr, IDI_HAND, 16, 16))) << "the drawn 16-pixel image";
  auto* Shrunk = static_cast<HICON>(CopyImage(Large, IMAGE_ICON, 16, 16, 0));
  ASSERT_NE(Shrunk, nullptr);
  EXPECT_FALSE(SamePixels(Small, Shrunk));
  EXPECT_EQ(PixelOf(Shrunk, 5, 9), PixelOf(Large, 10, 18)) << "stretched by the nearest pixel";
  EXPECT_TRUE(DestroyIcon(Small)) << "copies belong to the caller";
  EXPECT_FALSE(DestroyIcon(Small));
  EXPECT_TRUE(DestroyIcon(Shrunk));
}

TEST(TIconCopies, CopiesOfOwnIconsAndCursors) {
  auto* Same =
      static_cast<HICON>(CopyImage(LoadIcon(nullptr, IDI_QUESTION), IMAGE_ICON, 0, 0, LR_COPYFROMRESOURCE));
  ASSERT_NE(Same, nullptr);
  EXPECT_TRUE(SamePixels(Same, LoadIcon(nullptr, IDI_QUESTION)));
  // Not from a resource: LR_COPYFROMRESOURCE falls back to stretching; the original goes.
  auto* Bigger =
      static_cast<HICON>(CopyImage(Same, IMAGE_ICON, 48, 48, LR_COPYFROMRESOURCE | LR_COPYDELETEORG));
  ASSERT_NE(Bigger, nullptr);
  EXPECT_EQ(Bigger->Width, 48);
  EXPECT_FALSE(DestroyIcon(Same)) << "deleted with the copy";
  EXPECT_TRUE(DestroyIcon(Bigger));

  std::vector<Byte> And(4 * 32, 0xFF), Xor(4 * 32, 0x00);
  HCURSOR Cursor = CreateCursor(nullptr, 8, 30, 32, 32, And.data(), Xor.data());
  auto* Half = static_cast<HCURSOR>(CopyImage(Cursor, IMAGE_CURSOR, 16, 16, 0));
  ASSERT_NE(Half, nullptr);
  EXPECT_EQ(Half->Height, 16);
  EXPECT_EQ(Half->XHotspot, 4);
  EXPECT_EQ(Half->YHotspot, 15);
  EXPECT_EQ(CopyImage(nullptr, IMAGE_ICON, 16, 16, 0), nullptr);
  DestroyCursor(Half);
  DestroyCursor(Cursor);
}

}  // namespace
