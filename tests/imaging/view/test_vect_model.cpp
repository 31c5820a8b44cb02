// The vector layer's object model: handles, the template, copies of records, the selection and
// the shared bitmap table.
#include <gtest/gtest.h>

#include <memory>

#include "imaging/core/iebitmap.h"
#include "imaging/view/ievect.h"
#include "platform/classes/GraphicsObjects.h"
#include "platform/system/Streams.h"
#include "tests/imaging/view/VectTestSupport.h"

namespace {

TEST(VectModel, NewControlHasNoObjectsAndOnlyTheTemplatesIcon) {
  TZezudIdVect Vect(nullptr);
  EXPECT_EQ(Vect.ObjectsCount(), 0);
  EXPECT_EQ(Vect.SelObjectsCount(), 0);
  ASSERT_EQ(Vect.BitmapEntryCount(), 1);
  EXPECT_EQ(Vect.BitmapRefCount(0), 1);
  ASSERT_NE(Vect.ObjBitmap(0), nullptr);
  EXPECT_EQ(Vect.ObjBitmap(0)->GetWidth(), 64);
  EXPECT_EQ(Vect.ObjBitmap(0)->GetHeight(), 64);
  const TIEVObject* T = Vect.ObjectRecord(IEV_TEMPLATE);
  ASSERT_NE(T, nullptr);
  EXPECT_EQ(T->BitmapIndex, 0);
  EXPECT_EQ(T->LogFont->lfFaceName, "Arial");
  EXPECT_EQ(T->Style, 15);
  EXPECT_EQ(TRect(T->X1, T->Y1, T->X2, T->Y2), TRect(0, 0, 63, 63));
  EXPECT_EQ(Vect.ObjectRecord(IEV_ALL), nullptr);
  EXPECT_EQ(Vect.ObjectRecord(IEV_NONE), nullptr);
  EXPECT_EQ(Vect.ObjectRecord(IEV_LAST), nullptr);
}

TEST(VectModel, NewObjectsStartFromTheTemplateWhichSetsNoUpdate) {
  TCountingVect Vect(nullptr);
  const int Before = Vect.Updates;
  Vect.SetObjRect(IEV_TEMPLATE, TRect(5, 6, 105, 36));
  Vect.SetObjText(IEV_TEMPLATE, "hello");
  EXPECT_EQ(Vect.Updates, Before);
  const Integer H = Vect.AddNewObject(ievoText);
  EXPECT_EQ(Vect.GetObjRect(H), TRect(5, 6, 105, 36));
  EXPECT_EQ(Vect.GetObjText(H), "hello");
  EXPECT_EQ(Vect.ObjectRecord(IEV_LAST), Vect.ObjectRecord(H));
  Vect.SetObjText(H, "world");
  EXPECT_GT(Vect.Updates, Before);
  EXPECT_EQ(Vect.GetObjText(IEV_TEMPLATE), "hello");
}

TEST(VectModel, BoxesAreStoredNormalisedLinesKeepTheirDirection) {
  TZezudIdVect Vect(nullptr);
  struct Case {
    TIEVObjectKind Kind;
    TRect Expected;
  } Cases[] = {
      {ievoBox, TRect(10, 20, 50, 60)},      {ievoEllipse, TRect(10, 20, 50, 60)},
      {ievoText, TRect(10, 20, 50, 60)},     {ievoLine, TRect(50, 60, 10, 20)},
      {ievoRuler, TRect(50, 60, 10, 20)},    {ievoLineLabel, TRect(50, 60, 10, 20)},
      {ievoPolyline, TRect(50, 60, 10, 20)},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(static_cast<int>(C.Kind));
    Vect.SetObjRect(IEV_TEMPLATE, TRect(50, 60, 10, 20));
    const Integer H = Vect.AddNewObject(C.Kind);
    EXPECT_EQ(Vect.GetObjRect(H), C.Expected);
  }
}

TEST(VectModel, HandlesAreNotReusedAndDrawOrderFollowsCreation) {
  TZezudIdVect Vect(nullptr);
  const Integer A = Vect.AddNewObject(ievoBox);
  const Integer B = Vect.AddNewObject(ievoLine);
  Vect.RemoveObject(A);
  const Integer C = Vect.AddNewObject(ievoEllipse);
  EXPECT_EQ(A, 0);
  EXPECT_EQ(B, 1);
  EXPECT_EQ(C, 2);
  EXPECT_EQ(Vect.ObjectRecord(A), nullptr);
  ASSERT_EQ(Vect.ObjectsCount(), 2);
  EXPECT_EQ(Vect.GetObj(0), B);
  EXPECT_EQ(Vect.GetObj(1), C);
}

TEST(VectModel, APolylinePointEqualToTheLastIsStoredOnce) {
  TZezudIdVect Vect(nullptr);
  const Integer H = Vect.AddNewObject(ievoPolyline);
  Vect.AddPolylinePoint(H, 10, 40);
  Vect.AddPolylinePoint(H, 30, 5);
  Vect.AddPolylinePoint(H, 30, 5);
  Vect.AddPolylinePoint(H, 20, 50);
  const TIEVObject* P = Vect.ObjectRecord(H);
  ASSERT_EQ(P->PolyCount(), 3);
  EXPECT_EQ(Vect.GetObjRect(H), TRect(10, 5, 30, 50));
  EXPECT_EQ(P->PolyBase, TRect(10, 5, 30, 50));
}

TEST(VectModel, ObjectsExtentIsOnePastTheLargestCorner) {
  TZezudIdVect Vect(nullptr);
  EXPECT_EQ(Vect.GetObjectsExtent(), TRect(0, 0, 0, 0));
  Vect.SetObjRect(IEV_TEMPLATE, TRect(10, 20, 5, 7));
  Vect.AddNewObject(ievoLine);
  EXPECT_EQ(Vect.GetObjectsExtent(), TRect(0, 0, 11, 21));
}

TEST(VectModel, TheViewsOwnInteractionLeavesOnlyMeasuresAndDragToCreate) {
  TZezudIdVect Vect(nullptr);
  TIEVInteract All;
  for (Integer I = 0; I <= ivPutExtension; ++I) All.Include(static_cast<TIEVInteractItem>(I));
  Vect.SetVectorInteract(All);
  Vect.SetMouseInteract(TIEMouseInteract{});
  EXPECT_EQ(Vect.GetVectorInteract(), All);
  Vect.SetMouseInteract(TIEMouseInteract{miZoom});
  EXPECT_EQ(Vect.GetVectorInteract(), (TIEVInteract{ivMeasureArea, ivMeasureLength, ivDragToCreate}));
}

TEST(VectModel, SelectionTakesSelectableObjectsAndReportsEachChange) {
  TZezudIdVect Vect(nullptr);
  int Events = 0;
  TEventCounter Counter{&Events};
  Vect.OnSelectObject = TNotifyEvent(&Counter, &TEventCounter::Notify);
  const Integer A = Vect.AddNewObject(ievoBox);
  const Integer B = Vect.AddNewObject(ievoBox);
  Vect.SetObjStyle(B, 15 & ~IEVSTYLE_SELECTABLE);
  Vect.SelObject(A);
  Vect.SelObject(B);  // refused, but reported
  EXPECT_EQ(Events, 2);
  ASSERT_EQ(Vect.SelObjectsCount(), 1);
  EXPECT_TRUE(Vect.IsSelected(A));
  EXPECT_FALSE(Vect.IsSelected(B));
  Vect.UnSelObject(B);  // absent: nothing, no event
  EXPECT_EQ(Events, 2);
  Vect.AddToSelection(IEV_LAST);  // B again: not selectable
  EXPECT_EQ(Vect.SelObjectsCount(), 1);
  Vect.UnSelObject(A);
  EXPECT_EQ(Events, 3);
  Vect.SelObject(A);
  Vect.UnSelAllObjects();
  EXPECT_EQ(Vect.SelObjectsCount(), 0);
  EXPECT_EQ(Events, 5);
}

TEST(VectModel, EqualPicturesShareOneEntryWhenAsked) {
  auto Picture = TestPicture(8, 6, 0);
  for (const bool Share : {true, false}) {
    SCOPED_TRACE(Share);
    TZezudIdVect Vect(nullptr);
    Vect.SetShareBitmaps(Share);
    const Integer A = Vect.AddNewObject(ievoBitmap);
    const Integer B = Vect.AddNewObject(ievoBitmap);
    Vect.SetObjBitmap(A, Picture.get());
    auto Same = TestPicture(8, 6, 0);  // another picture with the same rows
    Vect.SetObjBitmap(B, Same.get());
    const Integer EA = Vect.ObjectRecord(A)->BitmapIndex;
    const Integer EB = Vect.ObjectRecord(B)->BitmapIndex;
    if (Share) {
      EXPECT_EQ(EA, EB);
      EXPECT_EQ(Vect.BitmapRefCount(EA), 2);
      Vect.RemoveObject(A);
      EXPECT_EQ(Vect.BitmapRefCount(EB), 1);
    } else {
      EXPECT_NE(EA, EB);
      EXPECT_EQ(Vect.BitmapRefCount(EA), 1);
      EXPECT_EQ(Vect.BitmapRefCount(EB), 1);
    }
    // A picture differing in one pixel is never shared.
    auto Other = TestPicture(8, 6, 1);
    const Integer C = Vect.AddNewObject(ievoBitmap);
    Vect.SetObjBitmap(C, Other.get());
    EXPECT_NE(Vect.ObjectRecord(C)->BitmapIndex, EB);
  }
}

TEST(VectModel, ReleasedEntriesAreReusedAndCompactingRenumbers) {
  TZezudIdVect Vect(nullptr);
  auto P1 = TestPicture(4, 4, 1);
  auto P2 = TestPicture(4, 4, 2);
  const Integer A = Vect.AddNewObject(ievoBitmap);
  const Integer B = Vect.AddNewObject(ievoBitmap);
  Vect.SetObjBitmap(A, P1.get());
  Vect.SetObjBitmap(B, P2.get());
  ASSERT_EQ(Vect.BitmapEntryCount(), 3);
  Vect.SetObjBitmap(A, nullptr);
  EXPECT_EQ(Vect.ObjectRecord(A)->BitmapIndex, -1);
  EXPECT_EQ(Vect.ObjBitmap(1), nullptr);
  Vect.CompactBitmaps();
  EXPECT_EQ(Vect.BitmapEntryCount(), 2);
  EXPECT_EQ(Vect.ObjectRecord(B)->BitmapIndex, 1);
  EXPECT_EQ(Vect.ObjectRecord(IEV_TEMPLATE)->BitmapIndex, 0);
  Vect.SetObjBitmap(A, P1.get());
  EXPECT_EQ(Vect.ObjectRecord(A)->BitmapIndex, 2);
  Vect.SetObjBitmap(A, nullptr);
  Vect.SetObjBitmap(A, P1.get());  // the free entry is taken before the table grows
  EXPECT_EQ(Vect.ObjectRecord(A)->BitmapIndex, 2);
  EXPECT_EQ(Vect.BitmapEntryCount(), 3);
}

TEST(VectModel, RemovingAllObjectsKeepsTheTemplatesPictureAsItsEntry) {
  TZezudIdVect Vect(nullptr);
  auto P = TestPicture(4, 4, 3);
  const Integer A = Vect.AddNewObject(ievoBitmap);
  Vect.SetObjBitmap(A, P.get());
  Vect.SetObjBitmap(IEV_TEMPLATE, P.get());  // the template shares the object's entry
  Vect.SelObject(A);
  Vect.RemoveAllObjects();
  EXPECT_EQ(Vect.ObjectsCount(), 0);
  EXPECT_EQ(Vect.SelObjectsCount(), 0);
  ASSERT_EQ(Vect.BitmapEntryCount(), 1);
  EXPECT_EQ(Vect.BitmapRefCount(0), 1);
  EXPECT_EQ(Vect.ObjectRecord(IEV_TEMPLATE)->BitmapIndex, 0);
  EXPECT_EQ(Vect.AddNewObject(ievoBox), 0);  // handles start again with the new array
}

TEST(VectModel, AddedRecordsOwnCopiesOfTheirParts) {
  TZezudIdVect Vect(nullptr);
  TIEVObject Source;
  Source.Kind = ievoMemo;
  Source.Text = "ab";
  Source.Name = "memo";
  Source.LogFont = std::make_unique<LOGFONTA>();
  Source.LogFont->lfFaceName = "Courier";
  Source.MemoCharFormats = {0, 1};
  Source.MemoFormats.resize(2);
  Source.MemoFormats[1].Height = -20;
  Source.SoftShadow->Enabled = true;
  Source.SoftShadow->Radius = 7;
  Source.BlendOperation = 4;
  Source.CurvePoints = {{0.5, 0.5}};  // not a memo part: dropped
  const Integer H = Vect.AddObjectRecord(Source);
  Source.Text = "changed";
  Source.LogFont->lfFaceName = "Other";
  Source.MemoFormats[1].Height = 3;
  Source.SoftShadow->Radius = 1;
  const TIEVObject* O = Vect.ObjectRecord(H);
  EXPECT_EQ(O->Text, "ab");
  EXPECT_EQ(O->Name, "memo");
  EXPECT_EQ(O->LogFont->lfFaceName, "Courier");
  EXPECT_EQ(O->MemoCharFormats, (std::vector<Integer>{0, 1}));
  ASSERT_EQ(O->MemoFormats.size(), 2u);
  EXPECT_EQ(O->MemoFormats[1].Height, -20);
  EXPECT_TRUE(O->SoftShadow->Enabled);
  EXPECT_EQ(O->SoftShadow->Radius, 7);
  EXPECT_EQ(O->BlendOperation, 4);
  EXPECT_TRUE(O->CurvePoints.empty());

  // A line keeps no text or font of its own.
  TIEVObject Line;
  Line.Kind = ievoLine;
  Line.Text = "x";
  Line.LogFont = std::make_unique<LOGFONTA>();
  const Integer L = Vect.AddObjectRecord(Line);
  EXPECT_TRUE(Vect.ObjectRecord(L)->Text.empty());
  EXPECT_FALSE(Vect.ObjectRecord(L)->LogFont);
}

TEST(VectModel, UserDataIsCopiedOnlyWithALength) {
  TZezudIdVect Vect(nullptr);
  const Integer H = Vect.AddNewObject(ievoBox);
  char Data[] = "abc";
  Vect.SetObjUserData(H, Data);
  EXPECT_EQ(Vect.ObjectRecord(H)->UserData, Data);
  Vect.SetObjUserDataLength(H, 3);
  const TIEVObject* O = Vect.ObjectRecord(H);
  EXPECT_NE(O->UserData, static_cast<void*>(Data));
  Data[0] = 'z';
  EXPECT_EQ(std::string(static_cast<const char*>(O->UserData), 3), "abc");
  EXPECT_EQ(O->UserDataLen, 3);
}

TEST(VectModel, FontsGiveStylesAndColour) {
  TZezudIdVect Vect(nullptr);
  const Integer H = Vect.AddNewObject(ievoText);
  TFont Font;
  Font.SetName("Liberation Serif");
  Font.SetStyle(TFontStyles{fsBold, fsUnderline});
  Font.SetColor(0x123456);
  Font.SetHeight(-17);
  Vect.SetObjFont(H, &Font);
  const TIEVObject* O = Vect.ObjectRecord(H);
  EXPECT_EQ(O->LogFont->lfFaceName, "Liberation Serif");
  EXPECT_EQ(O->LogFont->lfHeight, -17);
  EXPECT_EQ(O->PenColor, 0x123456);
  EXPECT_EQ(Vect.ObjFontStyles(H), (TFontStyles{fsBold, fsUnderline}));
}

TEST(VectModel, CopiesToAnotherControlTakeTheirOwnPictures) {
  TZezudIdVect Source(nullptr), Target(nullptr);
  auto P = TestPicture(5, 5, 4);
  const Integer A = Source.AddNewObject(ievoBitmap);
  const Integer B = Source.AddNewObject(ievoBitmap);
  Source.SetObjBitmap(A, P.get());
  Source.SetObjBitmap(B, P.get());
  Source.AddNewObject(ievoLine);
  Source.SetMeasureScale(3.5);
  Target.Assign(&Source);
  ASSERT_EQ(Target.ObjectsCount(), 3);
  EXPECT_EQ(Target.GetMeasureScale(), 3.5);
  const Integer EA = Target.ObjectRecord(Target.GetObj(0))->BitmapIndex;
  const Integer EB = Target.ObjectRecord(Target.GetObj(1))->BitmapIndex;
  EXPECT_NE(EA, EB);
  EXPECT_EQ(Target.BitmapRefCount(EA), 1);
  EXPECT_EQ(Target.BitmapRefCount(EB), 1);
  EXPECT_TRUE(SamePixels(*Target.ObjBitmap(EA), *P));
  EXPECT_EQ(Target.ObjectRecord(Target.GetObj(2))->Kind, ievoLine);
  Target.Assign(nullptr);
  EXPECT_EQ(Target.ObjectsCount(), 0);
}

TEST(VectModel, ExtensionObjectsAreCopiedThroughTheirClass) {
  TZezudIdVect Vect(nullptr);
  IEVRegisterExtension("test.marker", [] { return std::make_unique<TTestExtension>(); });
  TIEVObject Source;
  Source.Kind = ievoExtension;
  Source.Extension = IEVCreateExtension("test.marker");
  static_cast<TTestExtension&>(*Source.Extension).Payload = 42;
  const Integer H = Vect.AddObjectRecord(Source);
  const TIEVObject* O = Vect.ObjectRecord(H);
  ASSERT_TRUE(O->Extension);
  EXPECT_NE(O->Extension.get(), Source.Extension.get());
  EXPECT_EQ(O->Extension->GetClassName(), "test.marker");
  EXPECT_EQ(O->Extension->GetHandle(), H);
  EXPECT_EQ(O->Extension->GetOwner(), &Vect);
  EXPECT_EQ(O->Extension->GetRecord(), O);
  EXPECT_EQ(static_cast<TTestExtension&>(*O->Extension).Payload, 42);
  EXPECT_EQ(IEVCreateExtension("test.unknown"), nullptr);
}

}  // namespace
