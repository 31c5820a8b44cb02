// Layer collection: the order of its events, hit tests, mouse dispatch and layer changes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/system/Exceptions.h"
#include "raster/RS32_Layers.h"

namespace {
// Records the collection's and its layers' events as short texts.
class TEventLog : public TObject {
 public:
  explicit TEventLog(TLayerCollection* C) : FCollection(C) {
    C->OnCollectionChanging = TNotifyEvent(this, &TEventLog::Changing);
    C->OnCollectionChanged = TNotifyEvent(this, &TEventLog::Changed);
    C->OnOverlayUpdate = TNotifyEvent(this, &TEventLog::Overlay);
    C->OnListChange = TLayerListNotifyEvent(this, &TEventLog::ListChange);
    C->OnLayerChange = TLayerUpdateEvent(this, &TEventLog::LayerChange);
  }
  ~TEventLog() override {
    if (FCollection == nullptr) return;
    FCollection->OnCollectionChanging.Clear();
    FCollection->OnCollectionChanged.Clear();
    FCollection->OnOverlayUpdate.Clear();
    FCollection->OnListChange.Clear();
    FCollection->OnLayerChange.Clear();
  }
  // The collection is gone: nothing to unbind.
  void Forget() { FCollection = nullptr; }
  void Watch(TCustomLayer* L) {
    L->OnPress = TLayerMouseEvent(this, &TEventLog::Press);
    L->OnMove = TLayerMouseMoveEvent(this, &TEventLog::Move);
    L->OnRelease = TLayerMouseEvent(this, &TEventLog::Release);
  }
  std::vector<std::string> Take() {
    std::vector<std::string> Out;
    Out.swap(Log);
    return Out;
  }
  std::vector<std::string> Log;

 private:
  std::string Name(TObject* L) const {
    const Integer I = FCollection->IndexOf(static_cast<TCustomLayer*>(L));
    return I < 0 ? "?" : std::to_string(I);
  }
  void Changing(TObject*) { Log.push_back("changing"); }
  void Changed(TObject*) { Log.push_back("changed"); }
  void Overlay(TObject*) { Log.push_back("overlay"); }
  void ListChange(TLayerCollection*, Integer Action, TCustomLayer* L, Integer Index) {
    Log.push_back("list " + std::to_string(Action) + (L != nullptr ? " layer" : " nil") + " at " +
                  std::to_string(Index));
  }
  void LayerChange(TObject*, TCustomLayer* L) { Log.push_back("layer " + Name(L)); }
  void Press(TObject* L, TMouseButton B, TShiftState, Integer X, Integer Y) {
    Log.push_back("press " + Name(L) + " b" + std::to_string(B) + " " + std::to_string(X) + "," +
                  std::to_string(Y));
  }
  void Move(TObject* L, TShiftState, Integer X, Integer Y) {
    Log.push_back("move " + Name(L) + " " + std::to_string(X) + "," + std::to_string(Y));
  }
  void Release(TObject* L, TMouseButton B, TShiftState, Integer, Integer) {
    Log.push_back("release " + Name(L) + " b" + std::to_string(B));
  }
  TLayerCollection* FCollection;
};

// A layer that covers a rectangle.
class TRectLayer : public TCustomLayer {
 public:
  explicit TRectLayer(TLayerCollection* C) : TCustomLayer(C) {}
  TLayerClass GetLayerClass() const override { return &CreateLayer<TRectLayer>; }
  bool ContainsPoint(Integer X, Integer Y) override { return RectContainsPoint(Area, Point(X, Y)); }
  TRect Area{0, 0, 10, 10};
};

using TLog = std::vector<std::string>;
}  // namespace

TEST(RasterLayers, ListEventOrder) {
  TLayerCollection C(nullptr);
  TEventLog Log(&C);
  // Added twice: while the layer inserts itself, then with its final index.
  TCustomLayer* L0 = C.AddLayer(&CreateLayer<TCustomLayer>);
  EXPECT_EQ(Log.Take(), (TLog{"changing", "list 0 layer at 0", "changed", "list 0 layer at 0"}));
  EXPECT_EQ(L0->GetOptions(), LF_SHOWN);
  C.AddLayer(&CreateLayer<TCustomLayer>);
  C.AddLayer(&CreateLayer<TCustomLayer>);
  Log.Take();

  C.RemoveAll();
  EXPECT_EQ(Log.Take(), (TLog{"changing", "list 2 layer at 2", "list 2 layer at 1", "list 2 layer at 0",
                              "list 3 nil at 0", "changed"}));
  EXPECT_EQ(C.Count(), 0);

  // A layer freed on its own leaves the collection.
  TCustomLayer* L = C.AddLayer(&CreateLayer<TCustomLayer>);
  Log.Take();
  delete L;
  EXPECT_EQ(Log.Take(), (TLog{"changing", "list 2 layer at 0", "changed"}));
}

TEST(RasterLayers, DestroyingReportsListChangesOnly) {
  auto* C = new TLayerCollection(nullptr);
  C->AddLayer(&CreateLayer<TCustomLayer>);
  C->AddLayer(&CreateLayer<TCustomLayer>);
  TEventLog Log(C);
  delete C;
  Log.Forget();
  EXPECT_EQ(Log.Take(), (TLog{"list 2 layer at 1", "list 2 layer at 0", "list 3 nil at 0"}));
}

TEST(RasterLayers, SetIndexClampsAndMovesWithoutListEvents) {
  TLayerCollection C(nullptr);
  TCustomLayer* A = C.AddLayer(&CreateLayer<TCustomLayer>);
  TCustomLayer* B = C.AddLayer(&CreateLayer<TCustomLayer>);
  TCustomLayer* D = C.AddLayer(&CreateLayer<TCustomLayer>);
  TEventLog Log(&C);
  A->SetIndex(100);
  EXPECT_EQ(A->GetIndex(), 2);
  EXPECT_EQ(Log.Take(), (TLog{"changing", "changed"}));
  D->SetIndex(-5);
  EXPECT_EQ(D->GetIndex(), 0);
  EXPECT_EQ(B->GetIndex(), 1);
  D->SetOptions(0);  // hidden: moved without update events
  Log.Take();
  D->SetIndex(1);
  EXPECT_EQ(D->GetIndex(), 1);
  EXPECT_TRUE(Log.Take().empty());
  TCustomLayer Alone(nullptr);
  EXPECT_EQ(Alone.GetIndex(), -1);
  Alone.SetIndex(3);
  EXPECT_EQ(Alone.GetIndex(), -1);
}

TEST(RasterLayers, LayerChangeTable) {
  struct TCase {
    const char* Name;
    Cardinal Options;
    bool InUpdate;
    TLog Want;
  } Cases[] = {
      {"visible", LF_SHOWN, false, {"layer 0", "changed", "changed"}},
      {"hidden canvas painter", LF_CANVAS_PAINT, false, {"overlay"}},
      {"hidden canvas painter while updating", LF_CANVAS_PAINT, true, {}},
      {"quiet", LF_SHOWN | LF_QUIET, false, {}},
      {"hidden", 0, false, {}},
      {"hidden, always reported", LF_ALWAYS_REPORT, false, {"layer 0", "changed"}},
  };
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.Name);
    TLayerCollection C(nullptr);
    TCustomLayer* L = C.AddLayer(&CreateLayer<TCustomLayer>);
    L->SetOptions(Case.Options);
    if (Case.InUpdate) C.BeginUpdate();
    TEventLog Log(&C);
    L->Changed();
    EXPECT_EQ(Log.Take(), Case.Want);
    // Inside the layer's own update nothing is reported.
    L->BeginUpdate();
    L->Changed();
    L->EndUpdate();
    EXPECT_TRUE(Log.Take().empty());
    if (Case.InUpdate) C.EndUpdate();
  }
}

TEST(RasterLayers, SetOptionsBracketsTheChange) {
  TLayerCollection C(nullptr);
  TCustomLayer* L = C.AddLayer(&CreateLayer<TCustomLayer>);
  TEventLog Log(&C);
  L->SetOptions(LF_SHOWN | LF_TAKES_MOUSE);
  EXPECT_EQ(Log.Take(), (TLog{"changing", "layer 0", "changed", "changed"}));
}

TEST(RasterLayers, HitTestTakesTheTopmost) {
  TLayerCollection C(nullptr);
  auto* Bottom = static_cast<TRectLayer*>(C.AddLayer(&CreateLayer<TRectLayer>));
  auto* Top = static_cast<TRectLayer*>(C.AddLayer(&CreateLayer<TRectLayer>));
  Bottom->SetOptions(LF_SHOWN | LF_TAKES_MOUSE);
  Top->SetOptions(LF_SHOWN | LF_TAKES_MOUSE);
  Top->Area = MakeRect(5, 5, 20, 20);
  EXPECT_EQ(C.LayerAt(6, 6, LF_TAKES_MOUSE), Top);
  EXPECT_EQ(C.LayerAt(2, 2, LF_TAKES_MOUSE), Bottom);
  EXPECT_EQ(C.LayerAt(30, 30, LF_TAKES_MOUSE), nullptr);
  EXPECT_EQ(C.LayerAt(6, 6, LF_CANVAS_PAINT), nullptr);
  // The hit query may overrule the layer's own answer.
  Top->OnHitQuery = [](TObject*, Integer, Integer, bool& Passed) { Passed = false; };
  EXPECT_EQ(C.LayerAt(6, 6, LF_TAKES_MOUSE), Bottom);
}

TEST(RasterLayers, MouseDispatch) {
  TLayerCollection C(nullptr);
  auto* L = static_cast<TRectLayer*>(C.AddLayer(&CreateLayer<TRectLayer>));
  L->SetOptions(LF_SHOWN | LF_TAKES_MOUSE);
  TEventLog Log(&C);
  Log.Watch(L);

  // Left then right pressed, left released: the hold stays until the right goes too.
  EXPECT_EQ(C.DispatchMouseDown(mbLeft, TShiftState(), 3, 3), L);
  EXPECT_EQ(C.GetMouseHolder(), L);
  EXPECT_EQ(C.DispatchMouseDown(mbRight, TShiftState(), 50, 50), L);  // the holder, wherever
  EXPECT_EQ(C.DispatchMouseMove(TShiftState(), 60, 60), L);
  EXPECT_EQ(C.DispatchMouseUp(mbLeft, TShiftState(), 60, 60), L);
  EXPECT_EQ(C.GetMouseHolder(), L);
  EXPECT_EQ(C.DispatchMouseUp(mbRight, TShiftState(), 60, 60), L);
  EXPECT_EQ(C.GetMouseHolder(), nullptr);
  EXPECT_EQ(Log.Take(),
            (TLog{"press 0 b0 3,3", "press 0 b1 50,50", "move 0 60,60", "release 0 b0", "release 0 b1"}));
  EXPECT_EQ(C.DispatchMouseMove(TShiftState(), 60, 60), nullptr);

  // A layer that does not grab: returned, but no holder and no press; moves hit-test again.
  L->SetOptions(LF_SHOWN | LF_TAKES_MOUSE | LF_NO_GRAB);
  Log.Take();
  EXPECT_EQ(C.DispatchMouseDown(mbLeft, TShiftState(), 3, 3), L);
  EXPECT_EQ(C.GetMouseHolder(), nullptr);
  EXPECT_EQ(C.DispatchMouseMove(TShiftState(), 40, 40), nullptr);
  EXPECT_EQ(C.DispatchMouseMove(TShiftState(), 4, 4), L);
  EXPECT_EQ(Log.Take(), (TLog{"move 0 4,4"}));

  // The holder leaving the collection ends the hold.
  L->SetOptions(LF_SHOWN | LF_TAKES_MOUSE);
  C.DispatchMouseDown(mbMiddle, TShiftState(), 1, 1);
  EXPECT_EQ(C.GetMouseHolder(), L);
  delete L;
  EXPECT_EQ(C.GetMouseHolder(), nullptr);
}

TEST(RasterLayers, UpdateNestingAndErrors) {
  TLayerCollection C(nullptr);
  TEventLog Log(&C);
  C.BeginUpdate();
  C.BeginUpdate();
  C.EndUpdate();
  C.EndUpdate();
  EXPECT_EQ(Log.Take(), (TLog{"changing", "changed"}));
  try {
    C.EndUpdate();
    FAIL();
  } catch (const EAssertionFailed& E) {
    EXPECT_EQ(E.GetMessage(), "Unpaired EndUpdate");
  }
  EXPECT_EQ(C.GetNestLevel(), -1);
  EXPECT_THROW(C.Layer(0), EListError);

  Single X = 7, Y = 7;
  C.QueryScale(X, Y);
  EXPECT_EQ(X, 1.0f);
  EXPECT_EQ(Y, 1.0f);
  C.QueryShift(X, Y);
  EXPECT_EQ(X, 0.0f);
  EXPECT_EQ(Y, 0.0f);
}

TEST(RasterLayers, Assign) {
  TLayerCollection C(nullptr), Empty(nullptr), Full(nullptr);
  C.AddLayer(&CreateLayer<TCustomLayer>);
  Full.AddLayer(&CreateLayer<TRectLayer>);
  C.Assign(&Empty);
  EXPECT_EQ(C.Count(), 0);
  TBitmap32 NotACollection;
  EXPECT_THROW(C.Assign(&NotACollection), EConvertError);
  // A plain layer cannot copy another; the failed copy still closes the update.
  EXPECT_THROW(C.Assign(&Full), EConvertError);
  EXPECT_EQ(C.GetNestLevel(), 0);
  ASSERT_EQ(C.Count(), 1);
  EXPECT_NE(dynamic_cast<TRectLayer*>(C.Layer(0)), nullptr);
}
