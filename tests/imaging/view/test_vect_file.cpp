// The objects stream and the combined layers-and-objects stream: their bytes, round trips of
// every kind, old versions from hand-built streams, and refusals that change nothing.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "imaging/io/iefileformats.h"
#include "imaging/io/iezlib.h"
#include "imaging/io/zezudidio.h"
#include "imaging/view/ievect.h"
#include "imaging/view/zezudidviewlayerfields.h"
#include "platform/system/Streams.h"
#include "tests/imaging/view/VectTestSupport.h"
#include "tests/imaging/view/ViewCoreTestSupport.h"

namespace {

std::vector<Byte> SaveIEV(TZezudIdVect& Vect) {
  TMemoryStream Stream;
  Vect.SaveToStreamIEV(&Stream);
  EXPECT_EQ(Stream.GetPosition(), Stream.GetSize());
  return AllBytes(Stream);
}

Integer Int32At(const std::vector<Byte>& B, size_t At) {
  return static_cast<Integer>(B[At] | B[At + 1] << 8 | B[At + 2] << 16 |
                              static_cast<Cardinal>(B[At + 3]) << 24);
}

std::vector<Byte> Inflated(const std::vector<Byte>& B, size_t At) {
  std::vector<Byte> Out;
  InflateBuffer(B.data() + At, static_cast<Integer>(B.size() - At), Out, 0);
  return Out;
}

std::unique_ptr<LOGFONTA> Font(const std::string& Face, LONG Height) {
  auto F = std::make_unique<LOGFONTA>();
  F->lfFaceName = Face;
  F->lfHeight = Height;
  F->lfWeight = 700;
  F->lfItalic = 1;
  F->lfEscapement = 900;
  return F;
}

// One object of every kind, each away from the template in the fields its kind stores.
void FillEveryKind(TZezudIdVect& Vect) {
  IEVRegisterExtension("test.marker", [] { return std::make_unique<TTestExtension>(); });
  auto Picture = TestPicture(6, 5, 7);
  Integer Seed = 0;
  for (Integer K = ievoLine; K <= ievoExtension; ++K) {
    TIEVObject O;
    ++Seed;
    O.Kind = static_cast<TIEVObjectKind>(K);
    O.X1 = 40 + Seed;
    O.Y1 = 30 + Seed;
    O.X2 = 2 * Seed;
    O.Y2 = 3 * Seed;
    O.KeepAspect = 1;
    O.BlendOperation = static_cast<Byte>(Seed);
    O.SoftShadow->Enabled = true;
    O.SoftShadow->Radius = 2.5 + Seed;
    O.SoftShadow->OffsetX = -Seed;
    O.SoftShadow->OffsetY = Seed;
    O.SoftShadow->Intensity = 60 + Seed;
    O.SoftShadow->ShadowColor = TIERGBTriple{1, 2, static_cast<Byte>(Seed)};
    O.Name = "object " + std::to_string(K);
    O.Reserved = {9, 8, 7, static_cast<Byte>(Seed)};
    O.PenColor = 0x010203 * Seed;
    O.PenStyle = 2;
    O.PenWidth = Seed;
    O.BrushColor = 0x0A0B0C + Seed;
    O.BrushStyle = 0;
    O.Style = 13;
    O.Transparency = 200 - Seed;
    O.Highlight = K == ievoBox;
    O.FontQuality = 3;
    O.TextEditable = 0;
    O.LabelBrushColor = 0x112233;
    O.LabelBrushStyle = 3;
    O.LabelPosition = 0;
    O.LabelBorder = 2;
    O.BeginShape = 1;
    O.EndShape = 2;
    O.ShapeWidth = 11;
    O.ShapeLength = 22;
    O.ArcStart = 0.25;
    O.ArcEnd = 4.5;
    O.BitmapBorder = 1;
    O.TextAlign = 3;
    O.TextAutoSize = 1;
    O.MemoFixedFormat = 0;
    O.MemoLineSpacing = 4;
    O.MemoBorderColor = 0x445566;
    O.MemoBorderStyle = 1;
    O.MemoFixedLineHeight = 19;
    O.MemoMargins = {1.5, 2.5, 3.5, 4.5};
    O.MemoBackgroundStyle = 1;
    O.RulerUnit = ieuMILLIMETERS;
    O.RulerType = 0;
    O.PolyClosed = 1;
    O.AnglePoints = {TPoint{1, 2}, TPoint{30, 40}, TPoint{50, 6}};
    O.CurveCharAngle = 450;
    switch (O.Kind) {
      case ievoText:
      case ievoLineLabel:
        O.Text = "label " + std::to_string(K);
        O.LogFont = Font("Liberation Sans", -13 - Seed);
        O.CurvePoints = {{0, 0.5}, {0.5, 0.25}, {1, 0.5}};
        break;
      case ievoMemo:
        O.Text = "two\nlines";
        O.LogFont = Font("Liberation Serif", -20);
        O.MemoCharFormats = {0, 0, 0, 1, 1, 1, 1, 1, 1};
        O.MemoFormats.resize(2);
        O.MemoFormats[0].RefCount = 3;
        O.MemoFormats[1].RefCount = 6;
        O.MemoFormats[1].Height = -30;
        O.MemoFormats[1].Color = 0x0000FF;
        O.MemoFormats[1].Alignment = 2;
        IECharFormatSetName(O.MemoFormats[1], "Liberation Mono");
        O.MemoHasBitmap = 1;
        break;
      case ievoBitmap:
        O.Text = "caption";
        break;
      case ievoRuler:
      case ievoAngle:
        O.LogFont = Font("DejaVu Sans", 9);
        break;
      case ievoExtension: {
        O.Text = "ext";
        auto E = IEVCreateExtension("test.marker");
        static_cast<TTestExtension&>(*E).Payload = 0x5A5A;
        O.Extension = std::move(E);
        break;
      }
      default:
        break;
    }
    if (O.Kind == ievoPolyline) O.PolyPoints = {TPoint{0, 0}, TPoint{10, -5}, TPoint{3, 8}};
    if (O.Kind == ievoPolyline) O.PolyBase = TRect(0, -5, 10, 8);
    const Integer H = Vect.AddObjectRecord(O);
    if (O.Kind == ievoBitmap || O.Kind == ievoMemo) Vect.SetObjBitmap(H, Picture.get());
    if (O.Kind == ievoBox) {
      char Data[] = "user";
      Vect.SetObjUserData(H, Data);
      Vect.SetObjUserDataLength(H, 4);
    }
  }
  Vect.SetMeasureScale(1.25);
}

TEST(VectFile, AnEmptyControlWritesTheTemplatesEntryEmptyAndNoObjects) {
  TZezudIdVect Vect(nullptr);
  Vect.SetMeasureScale(0.5);
  const std::vector<Byte> B = SaveIEV(Vect);
  ASSERT_GE(B.size(), 24u);
  EXPECT_EQ(std::string(B.begin(), B.begin() + 4), "IEVR");
  EXPECT_EQ(Int32At(B, 4), static_cast<Integer>(B.size()));
  double Scale;
  std::memcpy(&Scale, B.data() + 8, 8);
  EXPECT_EQ(Scale, 0.5);
  EXPECT_EQ(Int32At(B, 16), 1);  // one entry ...
  EXPECT_EQ(Int32At(B, 20), 0);  // ... used only by the template: count 0, no picture
  const std::vector<Byte> Objects = Inflated(B, 24);
  EXPECT_EQ(Objects, (std::vector<Byte>{0, 0, 0, 0}));

  TZezudIdVect Back(nullptr);
  Back.AddNewObject(ievoBox);
  auto Stream = MemoryOf(B, B.size());
  ASSERT_TRUE(Back.LoadFromStreamIEV(Stream.get()));
  EXPECT_EQ(Back.ObjectsCount(), 0);
  EXPECT_EQ(Back.GetMeasureScale(), 0.5);
  // The reading control keeps its own template picture.
  EXPECT_EQ(Back.ObjBitmap(Back.ObjectRecord(IEV_TEMPLATE)->BitmapIndex)->GetWidth(), 64);
}

TEST(VectFile, ALineRecordHasTheFieldsOfItsKindInOrder) {
  TZezudIdVect Vect(nullptr);
  TIEVObject O;
  O.Kind = ievoLine;
  O.X1 = 1;
  O.Y1 = 2;
  O.X2 = 3;
  O.Y2 = 4;
  O.Name = "ab";
  O.ShapeWidth = 0x0102;
  Vect.AddObjectRecord(O);
  const std::vector<Byte> R = Inflated(SaveIEV(Vect), 24);
  TIEFieldWriter W;
  W.Int32(1);  // object count
  W.Int32(0);  // handle
  for (Integer V : {1, 2, 3, 4}) W.Int32(V);
  W.UInt8(ievoLine);
  W.UInt8(0);  // keep aspect
  W.UInt8(0);  // blend operation
  W.UInt8(0);  // shadow
  W.Float64(3.0);
  W.Int32(0);
  W.Int32(0);
  W.Int32(100);
  W.Bytes("\0\0\0", 3);
  W.String("ab");
  W.Zeros(4);
  W.Int32(0);  // pen colour of a plain record
  W.UInt8(0);
  W.Int32(1);
  W.Int32(0xFFFFFF);
  W.UInt8(1);
  W.UInt8(15);
  W.Int32(255);
  W.UInt8(0);  // highlight
  W.UInt8(0);  // font quality
  W.Int32(0);  // user data
  W.UInt8(0);  // begin shape
  W.UInt8(0);
  W.Int32(0x0102);
  W.Int32(20);
  W.UInt8(1);  // text editable
  EXPECT_EQ(R, W.Data());
}

TEST(VectFile, EveryKindComesBackAsItWasWritten) {
  TZezudIdVect Vect(nullptr);
  FillEveryKind(Vect);
  const std::vector<Byte> First = SaveIEV(Vect);
  TZezudIdVect Back(nullptr);
  auto Stream = MemoryOf(First, First.size());
  ASSERT_TRUE(Back.LoadFromStreamIEV(Stream.get()));
  ASSERT_EQ(Back.ObjectsCount(), ievoExtension);
  // The same bytes again: every stored field came back.
  EXPECT_EQ(SaveIEV(Back), First);

  const TIEVObject* Text = Back.ObjectRecord(Back.GetObj(ievoText - 1));
  EXPECT_EQ(Text->Text, "label 6");
  EXPECT_EQ(Text->LogFont->lfFaceName, "Liberation Sans");
  EXPECT_EQ(Text->LogFont->lfEscapement, 900);
  EXPECT_EQ(Text->TextAlign, 3);
  EXPECT_EQ(Text->TextAutoSize, 1);
  ASSERT_EQ(Text->CurveCount(), 3);
  EXPECT_EQ(Text->CurvePoints[1].Y, 0.25);
  EXPECT_EQ(Text->CurveCharAngle, 450);
  const TIEVObject* Box = Back.ObjectRecord(Back.GetObj(ievoBox - 1));
  EXPECT_EQ(std::string(static_cast<const char*>(Box->UserData), 4), "user");
  const TIEVObject* Memo = Back.ObjectRecord(Back.GetObj(ievoMemo - 1));
  ASSERT_EQ(Memo->MemoFormats.size(), 2u);
  EXPECT_EQ(IECharFormatGetName(Memo->MemoFormats[1]), "Liberation Mono");
  const TIEVObject* Ext = Back.ObjectRecord(Back.GetObj(ievoExtension - 1));
  ASSERT_TRUE(Ext->Extension);
  EXPECT_EQ(static_cast<TTestExtension&>(*Ext->Extension).Payload, 0x5A5A);
  EXPECT_EQ(Back.GetMeasureScale(), 1.25);
}

TEST(VectFile, ASharedPictureIsWrittenOnceAndSharedAgain) {
  TZezudIdVect Vect(nullptr);
  auto P = TestPicture(7, 3, 2);
  const Integer A = Vect.AddNewObject(ievoBitmap);
  const Integer B = Vect.AddNewObject(ievoBitmap);
  Vect.SetObjBitmap(A, P.get());
  Vect.SetObjBitmap(B, P.get());
  const std::vector<Byte> Bytes = SaveIEV(Vect);
  EXPECT_EQ(Int32At(Bytes, 16), 2);  // the template's entry and the shared one
  EXPECT_EQ(Int32At(Bytes, 20), 0);
  EXPECT_EQ(Int32At(Bytes, 24), 2);

  TZezudIdVect Back(nullptr);
  Back.SetShareBitmaps(false);  // forced on while reading
  auto Stream = MemoryOf(Bytes, Bytes.size());
  ASSERT_TRUE(Back.LoadFromStreamIEV(Stream.get()));
  EXPECT_FALSE(Back.GetShareBitmaps());
  const Integer EA = Back.ObjectRecord(Back.GetObj(0))->BitmapIndex;
  EXPECT_EQ(EA, Back.ObjectRecord(Back.GetObj(1))->BitmapIndex);
  EXPECT_EQ(Back.BitmapRefCount(EA), 2);
  EXPECT_TRUE(SamePixels(*Back.ObjBitmap(EA), *P));
}

// A hand-built stream of an older version: header, no bitmap entries, deflated records.
std::vector<Byte> OldStream(char Version, const std::vector<Byte>& Scale, const TIEFieldWriter& Records) {
  TMemoryStream Stream;
  TIEFieldWriter W;
  W.Bytes("IEV", 3);
  W.UInt8(static_cast<Byte>(Version));
  W.Int32(0);
  W.Bytes(Scale.data(), Scale.size());
  W.Int32(0);
  W.FlushTo(&Stream);
  {
    TZCompressionStream Deflate(&Stream, zcDefault);
    Deflate.WriteBuffer(Records.Data().data(), static_cast<Integer>(Records.Data().size()));
    Deflate.Finish();
  }
  return AllBytes(Stream);
}

// The fields every version stores, after the kind.
void CommonFields(TIEFieldWriter& W, const std::string& Name) {
  W.String(Name);
  W.Bytes("rsvd", 4);
  W.Int32(0x0000FF);  // pen colour
  W.UInt8(0);
  W.Int32(3);
  W.Int32(0x00FF00);
  W.UInt8(0);
  W.UInt8(15);
}

TEST(VectFile, VersionOneStoresAnIntegerScaleAndTheOldestLine) {
  TIEFieldWriter R;
  R.Int32(1);
  for (Integer V : {5, 6, 7, 8}) R.Int32(V);
  R.UInt8(ievoLine);
  CommonFields(R, "old");
  R.UInt8(1);  // begin shape
  R.UInt8(2);
  R.Int32(12);
  R.Int32(24);
  const std::vector<Byte> Bytes = OldStream('1', {2, 0, 0, 0}, R);
  TZezudIdVect Vect(nullptr);
  auto Stream = MemoryOf(Bytes, Bytes.size());
  ASSERT_TRUE(Vect.LoadFromStreamIEV(Stream.get()));
  EXPECT_EQ(Vect.GetMeasureScale(), 2.0);
  ASSERT_EQ(Vect.ObjectsCount(), 1);
  const TIEVObject* O = Vect.ObjectRecord(Vect.GetObj(0));
  EXPECT_EQ(Vect.GetObjRect(Vect.GetObj(0)), TRect(5, 6, 7, 8));
  EXPECT_EQ(O->Name, "old");
  EXPECT_EQ(O->PenWidth, 3);
  EXPECT_EQ(O->EndShape, 2);
  EXPECT_EQ(O->ShapeLength, 24);
  // What the version did not store.
  EXPECT_EQ(O->Transparency, 255);
  EXPECT_EQ(O->TextEditable, 1);
  EXPECT_EQ(O->Highlight, 0);
  EXPECT_FALSE(O->SoftShadow->Enabled);
  EXPECT_EQ(O->SoftShadow->OffsetX, 2);
  EXPECT_EQ(O->SoftShadow->OffsetY, 2);
  EXPECT_EQ(O->SoftShadow->Intensity, 100);
}

TEST(VectFile, VersionATextRulerAndAngleFollowTheirGates) {
  auto Double = [](double V) {
    std::vector<Byte> B(8);
    std::memcpy(B.data(), &V, 8);
    return B;
  };
  TIEFieldWriter R;
  R.Int32(3);
  auto Head = [&](TIEVObjectKind Kind) {
    R.Int32(77);  // the handle, stored from '<'
    for (Integer V : {1, 2, 30, 40}) R.Int32(V);
    R.UInt8(Kind);
    R.UInt8(1);  // shadow on
    R.Float64(4.0);
    R.Int32(5);
    R.Int32(6);
    CommonFields(R, "");
    R.Int32(128);  // transparency, after '<'
    R.UInt8(1);    // highlight, from '@'
  };
  Head(ievoText);
  R.UInt8(1);  // alignment, after '3'
  R.UInt8(1);  // auto size, after '8'
  R.String("hi");
  R.UInt8(0);  // no font
  R.Int32(0);  // no curve: no angle follows
  Head(ievoRuler);
  R.UInt8(ieuINCHES);
  R.UInt8(3);
  R.UInt8(0);  // the font block, from 'A'
  Head(ievoAngle);
  for (Integer V : {0, 0, 10, 0, 10, 10}) R.Int32(V);  // after '9'; no font before 'J'
  const std::vector<Byte> Bytes = OldStream('A', Double(1.0), R);
  TZezudIdVect Vect(nullptr);
  auto Stream = MemoryOf(Bytes, Bytes.size());
  ASSERT_TRUE(Vect.LoadFromStreamIEV(Stream.get()));
  ASSERT_EQ(Vect.ObjectsCount(), 3);
  const TIEVObject* Text = Vect.ObjectRecord(Vect.GetObj(0));
  EXPECT_EQ(Text->Text, "hi");
  EXPECT_EQ(Text->TextAlign, 1);
  EXPECT_EQ(Text->CurveCharAngle, -10);
  EXPECT_EQ(Text->Transparency, 128);
  EXPECT_EQ(Text->Highlight, 1);
  EXPECT_TRUE(Text->SoftShadow->Enabled);
  EXPECT_EQ(Text->SoftShadow->Radius, 4.0);
  EXPECT_EQ(Text->SoftShadow->Intensity, 100);  // only from 'O'
  EXPECT_EQ(Text->TextEditable, 1);             // only from 'J'
  const TIEVObject* Ruler = Vect.ObjectRecord(Vect.GetObj(1));
  EXPECT_EQ(Ruler->RulerUnit, ieuINCHES);
  EXPECT_EQ(Ruler->RulerType, 3);
  EXPECT_FALSE(Ruler->LogFont);
  const TIEVObject* Angle = Vect.ObjectRecord(Vect.GetObj(2));
  EXPECT_EQ(Angle->AnglePoints[2], TPoint(10, 10));
  ASSERT_TRUE(Angle->LogFont);
  EXPECT_EQ(Angle->LogFont->lfHeight, 10);
  EXPECT_EQ(Angle->LogFont->lfFaceName, "Arial");
}

TEST(VectFile, VersionSevenKeepsAlphaRowsBesideThePicture) {
  auto Picture = TestPicture(3, 2, 4);
  TMemoryStream Png;
  std::unique_ptr<TZezudIdIO> IO = TZezudIdIO::CreateFromBitmap(Picture.get());
  IO->SaveToStreamPNG(&Png);
  IO.reset();
  // The alpha rows, deflated, from the last row up to the first.
  TIEBitmap* Alpha = Picture->GetAlphaChannel();
  const Integer RowLen = Alpha->GetRowLen();
  std::vector<Byte> Rows(static_cast<size_t>(RowLen) * 2, 0);
  for (Integer X = 0; X < 3; ++X) {
    Rows[X] = static_cast<Byte>(200 + X);          // row 1
    Rows[RowLen + X] = static_cast<Byte>(10 + X);  // row 0
  }
  TMemoryStream Packed;
  {
    TZCompressionStream D(&Packed, zcDefault);
    D.WriteBuffer(Rows.data(), static_cast<Integer>(Rows.size()));
    D.Finish();
  }
  TIEFieldWriter R;
  R.Int32(1);
  for (Integer V : {0, 0, 29, 19}) R.Int32(V);
  R.UInt8(ievoBitmap);
  CommonFields(R, "pic");
  R.Int32(0);  // the entry; nothing else of a bitmap before 'A'
  TMemoryStream Stream;
  TIEFieldWriter W;
  W.Bytes("IEV7", 4);
  W.Int32(0);
  W.Float64(1.0);
  W.Int32(1);
  W.Int32(1);
  W.FlushTo(&Stream);
  const std::vector<Byte> PngBytes = AllBytes(Png);
  Stream.WriteBuffer(PngBytes.data(), static_cast<Integer>(PngBytes.size()));
  W.Int32(static_cast<Integer>(Packed.GetSize()));
  W.FlushTo(&Stream);
  const std::vector<Byte> PackedBytes = AllBytes(Packed);
  Stream.WriteBuffer(PackedBytes.data(), static_cast<Integer>(PackedBytes.size()));
  {
    TZCompressionStream D(&Stream, zcDefault);
    D.WriteBuffer(R.Data().data(), static_cast<Integer>(R.Data().size()));
    D.Finish();
  }
  Stream.SetPosition(0);
  TZezudIdVect Vect(nullptr);
  ASSERT_TRUE(Vect.LoadFromStreamIEV(&Stream));
  ASSERT_EQ(Vect.ObjectsCount(), 1);
  TIEBitmap* Read = Vect.ObjBitmap(Vect.ObjectRecord(Vect.GetObj(0))->BitmapIndex);
  ASSERT_NE(Read, nullptr);
  EXPECT_TRUE(SamePixels(*Read, *Picture));
  ASSERT_TRUE(Read->HasAlphaChannel());
  EXPECT_EQ(Read->GetAlpha(0, 0), 10);
  EXPECT_EQ(Read->GetAlpha(2, 0), 12);
  EXPECT_EQ(Read->GetAlpha(1, 1), 201);
}

TEST(VectFile, APictureWithAlphaComesBackWithIt) {
  auto Picture = TestPicture(4, 3, 2);
  for (Integer Y = 0; Y < 3; ++Y)
    for (Integer X = 0; X < 4; ++X) Picture->SetAlpha(X, Y, static_cast<Byte>(X * 60 + Y));
  TZezudIdVect Vect(nullptr);
  Vect.SetObjBitmap(Vect.AddNewObject(ievoBitmap), Picture.get());
  const std::vector<Byte> Bytes = SaveIEV(Vect);
  TZezudIdVect Back(nullptr);
  ASSERT_TRUE(Back.LoadFromStreamIEV(MemoryOf(Bytes, Bytes.size()).get()));
  TIEBitmap* Read = Back.ObjBitmap(Back.ObjectRecord(Back.GetObj(0))->BitmapIndex);
  ASSERT_TRUE(Read->HasAlphaChannel());
  EXPECT_EQ(Read->GetAlpha(3, 2), 182);
  EXPECT_TRUE(SamePixels(*Read, *Picture));
}

TEST(VectFile, UnknownVersionsAreRefusedAfterFourBytes) {
  TZezudIdVect Vect(nullptr);
  Vect.AddNewObject(ievoBox);
  for (const char* Head : {"IEVS", "IEV0", "IEW1", "IE"}) {
    SCOPED_TRACE(Head);
    std::vector<Byte> Bytes(Head, Head + std::strlen(Head));
    Bytes.resize(Bytes.size() + 20, 0);
    auto Stream = MemoryOf(Bytes, Bytes.size());
    EXPECT_FALSE(IsIEVStream(Stream.get()));
    EXPECT_EQ(Stream->GetPosition(), 0);
    EXPECT_FALSE(Vect.LoadFromStreamIEV(Stream.get()));
    EXPECT_EQ(Stream->GetPosition(), 4);
    EXPECT_EQ(Vect.ObjectsCount(), 1);
  }
  std::vector<Byte> Good{'I', 'E', 'V', '1'};
  EXPECT_TRUE(IsIEVStream(MemoryOf(Good, 4).get()));
}

TEST(VectFile, EveryCutOfAFileIsRefusedAndChangesNothing) {
  TZezudIdVect Source(nullptr);
  FillEveryKind(Source);
  const std::vector<Byte> Bytes = SaveIEV(Source);
  TZezudIdVect Vect(nullptr);
  const Integer Kept = Vect.AddNewObject(ievoEllipse);
  Vect.SetMeasureScale(9);
  for (size_t Cut = 0; Cut < Bytes.size(); Cut += Cut < 64 ? 1 : 7) {
    SCOPED_TRACE(Cut);
    auto Stream = MemoryOf(Bytes, Cut);
    bool Loaded = false;
    try {
      Loaded = Vect.LoadFromStreamIEV(Stream.get());
    } catch (const EIEVectError&) {
    }
    EXPECT_FALSE(Loaded);
    ASSERT_EQ(Vect.ObjectsCount(), 1);
    EXPECT_EQ(Vect.GetObj(0), Kept);
    EXPECT_EQ(Vect.GetMeasureScale(), 9);
  }
}

TEST(VectFile, AnUnregisteredClassIsRefusedWithItsName) {
  TZezudIdVect Source(nullptr);
  IEVRegisterExtension("test.gone", [] { return std::make_unique<TTestExtension>(); });
  TIEVObject O;
  O.Kind = ievoExtension;
  O.Extension = IEVCreateExtension("test.gone");
  Source.AddObjectRecord(O);
  const std::vector<Byte> Bytes = SaveIEV(Source);
  IEVRegisterExtension("test.gone", nullptr);
  TZezudIdVect Vect(nullptr);
  Vect.AddNewObject(ievoBox);
  try {
    Vect.LoadFromStreamIEV(MemoryOf(Bytes, Bytes.size()).get());
    FAIL() << "read";
  } catch (const EIEVectError& E) {
    EXPECT_NE(E.GetMessage().find("\"test.gone\""), std::string::npos) << E.GetMessage();
  }
  EXPECT_EQ(Vect.ObjectsCount(), 1);
}

TEST(VectFile, TheCombinedStreamHoldsLayersThenObjects) {
  TZezudIdVect Vect(nullptr);
  Vect.GetIEBitmap()->Assign(TestPicture(9, 7, 5).get());
  Vect.LayersAdd();
  Vect.GetIEBitmap()->Assign(TestPicture(4, 3, 6).get());
  Vect.AddNewObject(ievoBox);
  Vect.AddNewObject(ievoLine);
  TMemoryStream Stream;
  Vect.SaveToStreamAll(&Stream, ioPNG);
  const std::vector<Byte> Bytes = AllBytes(Stream);
  const Integer Offset = Int32At(Bytes, 0);
  ASSERT_GT(Offset, 4);
  EXPECT_EQ(std::string(Bytes.begin() + Offset, Bytes.begin() + Offset + 4), "IEVR");
  Stream.SetPosition(0);
  EXPECT_TRUE(IsAllStream(&Stream));
  EXPECT_EQ(Stream.GetPosition(), 0);

  TZezudIdVect Back(nullptr);
  ASSERT_TRUE(Back.LoadFromStreamAll(&Stream));
  EXPECT_EQ(Back.GetLayersCount(), 2);
  EXPECT_EQ(Back.ObjectsCount(), 2);
  EXPECT_EQ(Back.ObjectRecord(Back.GetObj(1))->Kind, ievoLine);

  // An offset past the end is no combined stream.
  std::vector<Byte> Bad = Bytes;
  Bad[0] = 0xFF;
  Bad[1] = 0xFF;
  Bad[2] = 0xFF;
  Bad[3] = 0x00;
  EXPECT_FALSE(IsAllStream(MemoryOf(Bad, Bad.size()).get()));
  EXPECT_FALSE(Back.LoadFromStreamAll(MemoryOf(Bad, Bad.size()).get()));
  EXPECT_EQ(Back.ObjectsCount(), 2);

  // Damaged objects leave the layers as they were, too.
  TZezudIdVect Other(nullptr);
  Other.GetIEBitmap()->Assign(TestPicture(3, 3, 1).get());
  const std::vector<Byte> Cut(Bytes.begin(), Bytes.end() - 3);
  EXPECT_THROW(Other.LoadFromStreamAll(MemoryOf(Cut, Cut.size()).get()), EIEVectError);
  EXPECT_EQ(Other.GetLayersCount(), 1);
  EXPECT_EQ(Other.GetIEBitmap()->GetWidth(), 3);
}

TEST(VectFile, FilesAreReplacedOnlyByACompleteWrite) {
  TTestFolder Folder;
  TZezudIdVect Vect(nullptr);
  Vect.GetIEBitmap()->Assign(TestPicture(5, 4, 1).get());
  Vect.AddNewObject(ievoEllipse);
  const std::u16string Name = Folder.Path("objects.iev");
  Vect.SaveToFileIEV(Name);
  TZezudIdVect Back(nullptr);
  EXPECT_FALSE(Back.LoadFromFileIEV(u""));
  ASSERT_TRUE(Back.LoadFromFileIEV(Name));
  EXPECT_EQ(Back.ObjectsCount(), 1);
  const std::u16string All = Folder.Path("objects.all");
  Vect.SaveToFileAll(All, ioPNG);
  TZezudIdVect Combined(nullptr);
  ASSERT_TRUE(Combined.LoadFromFileAll(All));
  EXPECT_EQ(Combined.ObjectsCount(), 1);
}

}  // namespace
