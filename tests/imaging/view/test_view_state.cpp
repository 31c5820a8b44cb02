// The view's state operations: moving the picture between storages, showing a caller's bitmap,
// the navigator link, the aspect-ratio rule and the event relays that swap the selection base.
#include <gtest/gtest.h>

#include "ViewCoreTestSupport.h"
#include "imaging/io/zezudidio.h"
#include "platform/classes/Bitmap.h"

namespace {

TEST(ViewState, LegacyStorageSwitchesKeepThePixelsAndTellTheComponents) {
  TZezudIdView View(nullptr);
  View.GetIEBitmap()->Assign(PatternPicture(6, 4).get());
  const TIERGBTriple Pixel = View.GetIEBitmap()->GetPixel24(5, 3);
  TZezudIdIO* IO = View.GetIO();

  View.SetLegacyBitmap(false);
  EXPECT_EQ(View.GetTBitmap(), nullptr);
  EXPECT_NE(View.GetIEBitmap()->GetLocation(), ieTBitmap);
  EXPECT_EQ(View.GetIEBitmap()->GetPixel24(5, 3), Pixel);
  EXPECT_EQ(IO->GetIEBitmap(), View.GetIEBitmap());

  View.SetLegacyBitmap(true);
  ASSERT_NE(View.GetTBitmap(), nullptr);
  EXPECT_EQ(View.GetTBitmap()->GetWidth(), 6);
  EXPECT_EQ(View.GetIEBitmap()->GetLocation(), ieTBitmap);
  EXPECT_EQ(View.GetIEBitmap()->GetPixel24(5, 3), Pixel);
  EXPECT_EQ(IO->GetIEBitmap(), View.GetIEBitmap());
}

TEST(ViewState, AnEmptyPictureKeepsAPlatformBitmapWhenSwitchedBackOn) {
  TZezudIdView View(nullptr);
  View.SetLegacyBitmap(false);
  View.SetLegacyBitmap(true);
  EXPECT_NE(View.GetTBitmap(), nullptr);
}

TEST(ViewState, AnExternalBitmapIsShownButNeverFreedByTheView) {
  auto External = PatternPicture(3, 2);
  {
    TZezudIdView View(nullptr);
    View.AssignExternalBitmap(External.get());
    EXPECT_EQ(View.GetIEBitmap(), External.get());
    EXPECT_EQ(View.GetTBitmap(), nullptr);  // kept in memory, not in a platform bitmap
    EXPECT_EQ(View.GetCurrentLayer()->Bitmap, External.get());
    EXPECT_FALSE(View.GetCurrentLayer()->OwnsBitmap);
  }
  EXPECT_EQ(External->GetWidth(), 3);
  EXPECT_EQ(External->GetPixel24(2, 1), PatternPicture(3, 2)->GetPixel24(2, 1));
}

TEST(ViewState, GivingTheExternalBitmapBackMakesANewOwnPicture) {
  auto External = PatternPicture(3, 2);
  TZezudIdView View(nullptr);
  View.AssignExternalBitmap(External.get());
  View.AssignExternalBitmap(nullptr);
  EXPECT_NE(View.GetIEBitmap(), External.get());
  EXPECT_TRUE(View.GetCurrentLayer()->OwnsBitmap);
  EXPECT_EQ(View.GetCurrentLayer()->Bitmap, View.GetIEBitmap());
  EXPECT_NE(View.GetTBitmap(), nullptr);
  EXPECT_EQ(External->GetWidth(), 3);
}

TEST(ViewState, AFixedSizeSelectionCanOnlyBeMoved) {
  TZezudIdView View(nullptr);
  View.SetSelectionAspectRatio(0);
  EXPECT_FALSE(View.GetSelectionOptions().Contains(iesoSizeable));
  View.SetSelectionAspectRatio(1.5);
  EXPECT_TRUE(View.GetSelectionOptions().Contains(iesoSizeable));
  EXPECT_EQ(View.GetSelectionAspectRatio(), 1.5);
}

TEST(ViewState, RelayedEventsSeeTheSelectionBaseTheirOwnCodeSet) {
  struct TSink : TObject {
    TZezudIdView* View = nullptr;
    std::vector<TIESelectionBase> Seen;
    void Layer(TObject*, Integer, TIELayerEvent) { Seen.push_back(View->GetSelectionBase()); }
    void Zoom(TObject*, Double& NewZoom) {
      Seen.push_back(View->GetSelectionBase());
      NewZoom = 333;
    }
  } Sink;
  TZezudIdView View(nullptr);
  Sink.View = &View;
  View.OnLayerNotify = TIELayerNotify(&Sink, &TSink::Layer);
  View.OnZoomIn = TIEZoomEvent(&Sink, &TSink::Zoom);
  // The user's base is the saved one while the mouse code works in client pixels.
  View.SetSelectionBase(iesbBitmap);
  View.SwapSelectionBase();
  View.SetSelectionBase(iesbClientArea);
  View.DoLayerNotify(0, ielMoved);
  Double Zoom = 150;
  View.DoZoomIn(Zoom);
  EXPECT_EQ(Sink.Seen, (std::vector<TIESelectionBase>{iesbBitmap, iesbBitmap}));
  EXPECT_EQ(Zoom, 333);
  EXPECT_EQ(View.GetSelectionBase(), iesbClientArea);
}

TEST(ViewState, ANavigatorShowsTheMainPictureAndCanOnlyMoveItsSelection) {
  TViewOnForm<TZezudIdView> Main;
  Main.View->GetIEBitmap()->Assign(PatternPicture(400, 300).get());
  Main.View->Update();
  auto* Navigator = new TZezudIdView(Main.Form.get());
  Navigator->SetParent(Main.Form.get());
  Navigator->SetBounds(200, 0, 100, 100);
  Main.View->SetNavigator(Navigator);
  EXPECT_EQ(Main.View->GetNavigator(), Navigator);
  EXPECT_TRUE(Navigator->GetIsNavigator());
  EXPECT_EQ(Navigator->GetIEBitmap(), Main.View->GetIEBitmap());
  EXPECT_TRUE(Navigator->GetAutoFit());
  EXPECT_EQ(Navigator->GetMouseInteract(), TIEMouseInteract{miSelect});
  EXPECT_EQ(Navigator->GetSelectionBase(), iesbBitmap);
  EXPECT_EQ(Navigator->GetSelectionOptions(), (TIESelectionOptions{iesoMoveable, iesoCanScroll}));
  // The navigator's selection has the size of the main view's visible area.
  Main.View->SyncNavigator();
  EXPECT_EQ(Navigator->GetSelX2() + 1 - Navigator->GetSelX1(),
            Main.View->XScr2Bmp(Main.View->GetOffsetX() + Main.View->GetExtentX()) -
                Main.View->XScr2Bmp(Main.View->GetOffsetX()));

  delete Navigator;
  EXPECT_EQ(Main.View->GetNavigator(), nullptr);
  Main.View->SetViewXY(10, 10);  // works on without a navigator
  Main.View->Update();
}

TEST(ViewState, UnlinkingGivesTheNavigatorItsOwnPictureBack) {
  TZezudIdView Main(nullptr);
  Main.GetIEBitmap()->Assign(PatternPicture(8, 8).get());
  TZezudIdView Navigator(nullptr);
  Main.SetNavigator(&Navigator);
  Main.SetNavigator(nullptr);
  EXPECT_FALSE(Navigator.GetIsNavigator());
  EXPECT_NE(Navigator.GetIEBitmap(), Main.GetIEBitmap());
  EXPECT_FALSE(static_cast<bool>(Navigator.OnSelectionChanging));
}

}  // namespace

namespace {

struct TCountedObject : TObject {
  explicit TCountedObject(int& ALive) : Live(ALive) { ++Live; }
  ~TCountedObject() override { --Live; }
  int& Live;
};

TEST(ViewState, ExtraObjectsGoOneByOneOrWithTheView) {
  int Live = 0;
  {
    TZezudIdView View(nullptr);
    View.AddAuxObject(new TCountedObject(Live));
    View.AddAuxObject(new TCountedObject(Live));
    View.AddAuxObject(new TCountedObject(Live));
    View.DeleteAuxObject(-1);
    View.DeleteAuxObject(3);
    EXPECT_EQ(Live, 3);
    View.DeleteAuxObject(1);
    EXPECT_EQ(Live, 2);
    EXPECT_EQ(View.GetAuxObjectCount(), 2);
  }
  EXPECT_EQ(Live, 0);
}

}  // namespace
