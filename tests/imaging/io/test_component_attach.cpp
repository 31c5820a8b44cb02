// What the component works on: its own picture, a caller's TIEBitmap, a platform bitmap or
// image control, or a view's picture; and what it does when those go away.
#include "ComponentTestSupport.h"
#include "FakeViewSupport.h"
#include "platform/classes/ExtCtrls.h"
#include "platform/classes/Graphic.h"

namespace {

class TAttachTest : public TComponentTest {
 protected:
  TZezudIdIO IO{nullptr};
  std::u16string Tst = WriteFile("p.tst", TstBytes(3, 2, 40));
};

TEST_F(TAttachTest, NewComponentWorksOnItsOwnPicture) {
  ASSERT_NE(IO.GetIEBitmap(), nullptr);
  EXPECT_TRUE(IO.GetOwnsIEBitmap());
  EXPECT_TRUE(IO.MakeConsistentBitmap({}));
  EXPECT_FALSE(IO.GetAborting());
  EXPECT_EQ(IO.GetBitmap(), nullptr);
}

TEST_F(TAttachTest, CallersPictureIsFilledAndNotOwned) {
  TIEBitmap Mine;
  auto Attached = TZezudIdIO::CreateFromBitmap(&Mine);
  EXPECT_FALSE(Attached->GetOwnsIEBitmap());
  Attached->LoadFromFile(Tst);
  EXPECT_EQ(Mine.GetWidth(), 3);
  Attached.reset();
  EXPECT_EQ(Mine.GetHeight(), 2);  // still alive and ours
}

TEST_F(TAttachTest, WithoutPictureLoadsDoNothing) {
  IO.SetAttachedIEBitmap(nullptr);
  EXPECT_EQ(IO.GetIEBitmap(), nullptr);
  TComponentLog Log;
  Log.Bind(IO);
  IO.LoadFromFile(Tst);
  EXPECT_EQ(TstBehaviour.Reads, 0);
  EXPECT_TRUE(Log.Lines.empty());
  EXPECT_FALSE(IO.MakeConsistentBitmap({}));
}

TEST_F(TAttachTest, AllowedFormatsDecideConsistency) {
  IO.GetIEBitmap()->Allocate(2, 2, ie24RGB);
  EXPECT_TRUE(IO.MakeConsistentBitmap({ie24RGB, ie1g}));
  EXPECT_FALSE(IO.MakeConsistentBitmap({ie8g}));
}

TEST_F(TAttachTest, PlatformBitmapIsWrappedAndMarkedModifiedAfterALoad) {
  TBitmap Platform;
  Platform.SetPixelFormat(pf24bit);
  Platform.SetSize(1, 1);
  IO.SetAttachedBitmap(&Platform);
  EXPECT_EQ(IO.GetAttachedBitmap(), &Platform);
  EXPECT_EQ(IO.GetBitmap(), &Platform);
  Platform.SetModified(false);
  IO.LoadFromFile(Tst);
  EXPECT_EQ(Platform.GetWidth(), 3);
  EXPECT_EQ(Platform.GetHeight(), 2);
  EXPECT_TRUE(Platform.GetModified());
}

TEST_F(TAttachTest, ViewPictureIsUsedAndTheViewRefreshed) {
  TFakeView View(nullptr);
  IO.SetAttachedZezudId(&View);
  EXPECT_EQ(IO.GetIEBitmap(), View.Picture.get());
  EXPECT_FALSE(IO.GetOwnsIEBitmap());
  IO.LoadFromFile(Tst);
  EXPECT_EQ(View.Picture->GetWidth(), 3);
  // The load ends giving the image view the file's resolution under its update lock, then
  // refreshing it.
  const std::vector<std::string> Log = View.TakeLog();
  ASSERT_GE(Log.size(), 5u);
  EXPECT_EQ(std::vector<std::string>(Log.end() - 5, Log.end()),
            (std::vector<std::string>{"lock", "dpi 72 1", "unlock", "update", "imagechange"}));
}

TEST_F(TAttachTest, OnlyAnImageViewTakesTheResolution) {
  TFakeView View(nullptr, true, false);
  IO.SetAttachedZezudId(&View);
  IO.LoadFromFile(Tst);
  EXPECT_EQ(View.TakeLog(), (std::vector<std::string>{"update", "imagechange"}));
}

TEST_F(TAttachTest, ViewWithOnlyAPlatformBitmapIsWrapped) {
  TFakeView View(nullptr, false);
  IO.SetAttachedZezudId(&View);
  EXPECT_TRUE(IO.GetOwnsIEBitmap());
  EXPECT_EQ(IO.GetAttachedBitmap(), View.Platform.get());
  IO.LoadFromFile(Tst);
  EXPECT_EQ(View.Platform->GetWidth(), 3);
}

TEST_F(TAttachTest, SwappedViewPictureIsFollowed) {
  TFakeView View(nullptr);
  IO.SetAttachedZezudId(&View);
  View.DpiX = 150;
  View.DpiY = 75;
  View.SwapPicture();
  EXPECT_EQ(IO.GetIEBitmap(), View.Picture.get());
  EXPECT_EQ(IO.GetParams()->DpiX, 150);
  EXPECT_EQ(IO.GetParams()->DpiY, 75);
}

// Nil for a platform bitmap or TIEBitmap while a view is attached changes nothing: the view
// stays attached and followed.
TEST_F(TAttachTest, NilPictureWhileAViewIsAttachedKeepsTheView) {
  TFakeView View(nullptr);
  IO.SetAttachedZezudId(&View);
  IO.SetAttachedBitmap(nullptr);
  IO.SetAttachedIEBitmap(nullptr);
  EXPECT_EQ(IO.GetAttachedZezudId(), &View);
  EXPECT_TRUE(View.IsFollowed());
  View.SwapPicture();
  EXPECT_EQ(IO.GetIEBitmap(), View.Picture.get());
}

TEST_F(TAttachTest, AnotherAttachmentStopsFollowingTheView) {
  TFakeView View(nullptr);
  IO.SetAttachedZezudId(&View);
  TIEBitmap Mine;
  IO.SetAttachedIEBitmap(&Mine);
  EXPECT_EQ(IO.GetAttachedZezudId(), nullptr);
  EXPECT_FALSE(View.IsFollowed());
  EXPECT_EQ(IO.GetIEBitmap(), &Mine);
  IO.SetAttachedZezudId(nullptr);
  EXPECT_TRUE(IO.GetOwnsIEBitmap());
}

// The view's picture dies with the view: the component must not keep using it.
TEST_F(TAttachTest, DestroyedViewLeavesTheComponentWithAPictureOfItsOwn) {
  for (const bool WithIEBitmap : {true, false}) {
    SCOPED_TRACE(WithIEBitmap);
    auto View = std::make_unique<TFakeView>(nullptr, WithIEBitmap);
    IO.SetAttachedZezudId(View.get());
    View.reset();
    EXPECT_EQ(IO.GetAttachedZezudId(), nullptr);
    EXPECT_EQ(IO.GetAttachedBitmap(), nullptr);
    EXPECT_TRUE(IO.GetOwnsIEBitmap());
    IO.LoadFromFile(Tst);
    EXPECT_EQ(IO.GetIEBitmap()->GetWidth(), 3);
  }
}

TEST_F(TAttachTest, BackgroundIsTheViewsWhileOneIsAttached) {
  IO.SetBackground(0x0000FF);
  EXPECT_EQ(IO.GetBackground(), 0x0000FF);
  TFakeView View(nullptr);
  IO.SetAttachedZezudId(&View);
  IO.SetBackground(0x00FF00);
  EXPECT_EQ(IO.GetBackground(), 0x123456);
  IO.SetAttachedZezudId(nullptr);
  EXPECT_EQ(IO.GetBackground(), 0x0000FF);
}

TEST_F(TAttachTest, ImageControlsBitmapIsUsedUntilTheControlGoes) {
  auto Image = std::make_unique<TImage>(nullptr);
  Image->GetPicture()->GetBitmap()->SetPixelFormat(pf24bit);
  IO.SetAttachedTImage(Image.get());
  EXPECT_EQ(IO.GetAttachedTImage(), Image.get());
  EXPECT_EQ(IO.GetAttachedBitmap(), Image->GetPicture()->GetBitmap());
  IO.LoadFromFile(Tst);
  EXPECT_EQ(Image->GetPicture()->GetBitmap()->GetWidth(), 3);
  Image.reset();
  EXPECT_EQ(IO.GetAttachedTImage(), nullptr);
  EXPECT_EQ(IO.GetAttachedBitmap(), nullptr);
  IO.LoadFromFile(Tst);
  EXPECT_EQ(IO.GetIEBitmap()->GetWidth(), 3);
}

TEST_F(TAttachTest, NativePixelFormatLivesInTheParameters) {
  IO.SetNativePixelFormat(true);
  EXPECT_TRUE(IO.GetParams()->NativePixelFormat);
  IO.GetParams()->NativePixelFormat = false;
  EXPECT_FALSE(IO.GetNativePixelFormat());
}

}  // namespace
