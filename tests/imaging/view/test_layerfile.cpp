#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "imaging/io/iefileformats.h"
#include "imaging/io/zezudidio.h"
#include "imaging/io/zezudidioparams.h"
#include "imaging/view/zezudidviewlayerfile.h"
#include "platform/system/Exceptions.h"
#include "tests/imaging/view/LayerTestSupport.h"
#include "tests/imaging/view/ViewCoreTestSupport.h"

namespace {

constexpr TColor Grey = 0x808080;

std::vector<Byte> RawBytes(TIEBitmap& Bitmap) {
  TMemoryStream Stream;
  Bitmap.SaveRawToStream(nullptr, &Stream);
  return StreamBytes(Stream);
}

std::unique_ptr<TMemoryStream> StreamOf(const std::vector<Byte>& Bytes, size_t Count) {
  auto Stream = std::make_unique<TMemoryStream>();
  if (Count > 0) Stream->WriteBuffer(Bytes.data(), static_cast<Integer>(Count));
  Stream->SetPosition(0);
  return Stream;
}

// Three layers, each away from the defaults in other fields.
class LayerFile : public ::testing::Test {
 protected:
  void SetUp() override {
    auto Base = PatternBitmap(6, 4);
    View = NewViewShowing(*Base, Grey);
    View->GetLayer(0)->Name = "base";

    View->LayersAdd();
    auto Middle = SolidBitmap(5, 3, {10, 20, 30});
    View->GetIEBitmap()->Assign(Middle.get());
    TIELayer* M = View->GetLayer(1);
    M->Name = "middle";
    M->Selectable = false;
    M->PosX = -3;
    M->PosY = 4;
    M->Transparency = 100;
    M->Width = 30;
    M->Height = 12;
    M->ClipToBackground = true;
    M->Locked = true;
    M->Magnifier = TIEMagnifier{true, 3.0, 1, 0};
    M->ResampleFilter = rfBilinear;
    M->UseResampleFilter = true;
    M->BlendOperation = 2;
    M->UserData = std::malloc(5);
    std::memcpy(M->UserData, "hello", 5);
    M->UserDataLen = 5;

    View->LayersAdd();
    auto Top = SolidBitmap(4, 4, {200, 100, 50}, 90);
    View->GetIEBitmap()->Assign(Top.get());
    TIELayer* T = View->GetLayer(2);
    T->IsMask = true;
    T->ShadeOutside = true;
    T->Visible = false;
    T->VisibleBox = false;
  }

  std::vector<Byte> Saved(Integer Code) {
    TMemoryStream Stream;
    View->SaveLayersToStream(&Stream, Code);
    return StreamBytes(Stream);
  }

  // A view of two layers to load into; its state is what a refused file must leave.
  std::unique_ptr<TZezudIdView> NewTarget() {
    auto Picture = SolidBitmap(3, 3, {1, 1, 1});
    auto Target = NewViewShowing(*Picture, Grey);
    Target->GetLayer(0)->Name = "target";
    Target->LayersAdd();
    return Target;
  }
  static void ExpectUntouched(TZezudIdView& Target) {
    ASSERT_EQ(2, Target.GetLayersCount());
    EXPECT_EQ(1, Target.GetLayersCurrent());
    EXPECT_EQ("target", Target.GetLayer(0)->Name);
    EXPECT_EQ(3, Target.GetLayer(0)->Bitmap->GetWidth());
    EXPECT_TRUE(Target.GetLayer(0)->Bitmap->GetPixel24(2, 2) == (TIERGBTriple{1, 1, 1}));
  }

  std::unique_ptr<TZezudIdView> View;
};

TEST_F(LayerFile, HeaderAndRecordBytesOfOneLayer) {
  View->LayersClear();
  View->GetLayer(0)->Name.clear();  // a reset keeps the name
  auto Picture = PatternBitmap(4, 3);
  View->GetIEBitmap()->Assign(Picture.get());
  const std::vector<Byte> B = Saved(IELayersRaw);
  std::vector<Byte> Expected = {'Z', 'E', 'Z', 'U', 'D', 'I', 'D', 'L', 'A', 'Y', 'E', 'R', 'S'};
  PutLE32(Expected, 6);
  PutLE32(Expected, -2);
  PutLE32(Expected, 1);
  const std::vector<Byte> Record = {
      1,   0,                          // visible, box hidden (layer 0)
      255, 0, 0, 0,                    // transparency
      0,   0, 0, 0, 0, 0, 0, 0,        // position
      0,   1,                          // not clipped, locked
      0,   0, 0, 0, 0, 0, 0, 0, 0x40,  // magnifier off, rate 2.0
      0,   1,                          // rectangular glass over the back buffer
      0,                               // blend operation
      0,   0, 0, 0, 0, 0, 0, 0,        // explicit size
      0,   0,                          // filter, not used
      0,   0, 0, 0,                    // empty name
      0,   0, 0, 0,                    // no user data
      0,   1, 0,                       // not a mask, selectable, no shading
      82,  0, 0, 0, 0, 0, 0, 0         // the picture right after the record
  };
  Expected.insert(Expected.end(), Record.begin(), Record.end());
  ASSERT_GT(B.size(), Expected.size() + 4);
  EXPECT_EQ(Expected, std::vector<Byte>(B.begin(), B.begin() + 82));
  const std::vector<Byte> Raw = RawBytes(*Picture);
  std::vector<Byte> Block;
  PutLE32(Block, static_cast<Integer>(Raw.size()));
  Block.insert(Block.end(), Raw.begin(), Raw.end());
  EXPECT_EQ(Block, std::vector<Byte>(B.begin() + 82, B.end()));
}

TEST_F(LayerFile, WritingKeepsTheCurrentLayerAndTheSelectableRule) {
  View->SetLayersCurrent(0);
  Saved(IELayersRaw);
  EXPECT_EQ(0, View->GetLayersCurrent());
  EXPECT_TRUE(View->GetLayersOnlySelectable());
  EXPECT_EQ(View->GetLayer(0)->Bitmap, View->GetIEBitmap());
}

TEST_F(LayerFile, RoundTripRestoresLayersPropertiesAndPictures) {
  for (Integer Code : {IELayersRaw, IELayersRawCompressed}) {
    SCOPED_TRACE(Code);
    const std::vector<Byte> B = Saved(Code);
    auto Target = NewTarget();
    Target->LayersAdd();
    auto Stream = StreamOf(B, B.size());
    ASSERT_TRUE(Target->LoadLayersFromStream(Stream.get()));
    ASSERT_EQ(3, Target->GetLayersCount());
    EXPECT_EQ(2, Target->GetLayersCurrent());  // the last layer read
    EXPECT_EQ(Target->GetLayer(2)->Bitmap, Target->GetIEBitmap());
    for (Integer I = 0; I < 3; ++I) {
      SCOPED_TRACE(I);
      const TIELayer* Want = View->GetLayer(I);
      const TIELayer* Got = Target->GetLayer(I);
      EXPECT_EQ(Want->Name, Got->Name);
      EXPECT_EQ(Want->Visible, Got->Visible);
      EXPECT_EQ(Want->VisibleBox, Got->VisibleBox);
      EXPECT_EQ(Want->Selectable, Got->Selectable);
      EXPECT_EQ(Want->Transparency, Got->Transparency);
      EXPECT_EQ(Want->PosX, Got->PosX);
      EXPECT_EQ(Want->PosY, Got->PosY);
      EXPECT_EQ(Want->Width, Got->Width);
      EXPECT_EQ(Want->Height, Got->Height);
      EXPECT_EQ(Want->ClipToBackground, Got->ClipToBackground);
      EXPECT_EQ(Want->Locked, Got->Locked);
      EXPECT_EQ(Want->Magnifier.Enabled, Got->Magnifier.Enabled);
      EXPECT_EQ(Want->Magnifier.Rate, Got->Magnifier.Rate);
      EXPECT_EQ(Want->Magnifier.Style, Got->Magnifier.Style);
      EXPECT_EQ(Want->Magnifier.Source, Got->Magnifier.Source);
      EXPECT_EQ(Want->BlendOperation, Got->BlendOperation);
      EXPECT_EQ(Want->ResampleFilter, Got->ResampleFilter);
      EXPECT_EQ(Want->UseResampleFilter, Got->UseResampleFilter);
      EXPECT_EQ(Want->IsMask, Got->IsMask);
      EXPECT_EQ(Want->ShadeOutside, Got->ShadeOutside);
      EXPECT_EQ((TRect{}), Got->ScreenRect);
      EXPECT_TRUE(SamePixels(*Want->Bitmap, *Got->Bitmap));
      EXPECT_EQ(Want->Bitmap->HasAlphaChannel(), Got->Bitmap->HasAlphaChannel());
    }
    const TIELayer* Middle = Target->GetLayer(1);
    ASSERT_EQ(5, Middle->UserDataLen);
    EXPECT_EQ(0, std::memcmp(Middle->UserData, "hello", 5));
    EXPECT_EQ(90, Target->GetLayer(2)->Bitmap->GetAlpha(3, 3));
  }
}

TEST_F(LayerFile, TiffIsStoredAsPngPictures) {
  View->GetLayer(2)->Bitmap->RemoveAlphaChannel(false, 0);
  const std::vector<Byte> B = Saved(ioTIFF);
  ASSERT_GT(B.size(), 25u);
  Integer Code = 0;
  std::memcpy(&Code, B.data() + 17, 4);
  EXPECT_EQ(ioPNG, Code);
  // The first picture starts right after the three records (57 bytes plus names and data).
  const size_t First = 25 + 3 * 57 + 4 + 6 + 5;
  ASSERT_GT(B.size(), First + 8);
  EXPECT_EQ(0, std::memcmp(B.data() + First, "\x89PNG", 4));
  auto Target = NewTarget();
  auto Stream = StreamOf(B, B.size());
  ASSERT_TRUE(Target->LoadLayersFromStream(Stream.get()));
  ASSERT_EQ(3, Target->GetLayersCount());
  for (Integer I = 0; I < 3; ++I)
    EXPECT_TRUE(SamePixels(*View->GetLayer(I)->Bitmap, *Target->GetLayer(I)->Bitmap));
}

// A layer file of an older version with two raw pictures: layer 1 named, not selectable,
// shaded and magnifying the background, as far as the version holds those fields.
std::vector<Byte> OldFile(Integer Version, TIEBitmap& Base, TIEBitmap& Added) {
  const std::vector<Byte> Raws[2] = {RawBytes(Base), RawBytes(Added)};
  const auto Record = [&](std::vector<Byte>& Out, const std::string& Name, Integer PosX, bool Selectable) {
    Out.insert(Out.end(), {1, 1});
    PutLE32(Out, 60);
    PutLE32(Out, PosX);
    PutLE32(Out, 0);
    Out.insert(Out.end(), {0, 0, 0});                       // not clipped, not locked, no magnifier
    Out.insert(Out.end(), {0, 0, 0, 0, 0, 0, 0, 0x40, 0});  // rate 2, style 0
    if (Version >= 3) Out.push_back(0);                     // glass over the background
    Out.push_back(0);
    PutLE32(Out, 0);
    PutLE32(Out, 0);
    if (Version >= 3) {
      Out.insert(Out.end(), {rfHermite, 1});
      PutLE32(Out, static_cast<Integer>(Name.size()));
      Out.insert(Out.end(), Name.begin(), Name.end());
      PutLE32(Out, 0);
      Out.push_back(0);
    }
    if (Version >= 4) Out.push_back(Selectable ? 1 : 0);
    if (Version >= 6) Out.push_back(1);  // shaded
  };
  std::vector<Byte> Out = {'Z', 'E', 'Z', 'U', 'D', 'I', 'D', 'L', 'A', 'Y', 'E', 'R', 'S'};
  PutLE32(Out, Version);
  PutLE32(Out, IELayersRaw);
  PutLE32(Out, 2);
  size_t PositionFields[2];
  for (int I = 0; I < 2; ++I) {
    Record(Out, I == 0 ? "zero" : "one", I == 0 ? 0 : 7, I == 0);
    PositionFields[I] = Out.size();
    Out.insert(Out.end(), 8, 0);
  }
  for (int I = 0; I < 2; ++I) {
    const Cardinal Position = static_cast<Cardinal>(Out.size());
    std::memcpy(Out.data() + PositionFields[I], &Position, 4);
    PutLE32(Out, static_cast<Integer>(Raws[I].size()));
    Out.insert(Out.end(), Raws[I].begin(), Raws[I].end());
  }
  return Out;
}

TEST_F(LayerFile, OlderVersionsReadTheFieldsTheyHold) {
  auto BasePicture = SolidBitmap(3, 2, {9, 9, 9});
  auto Picture = PatternBitmap(2, 2);
  for (Integer Version = 1; Version <= 6; ++Version) {
    SCOPED_TRACE(Version);
    const std::vector<Byte> B = OldFile(Version, *BasePicture, *Picture);
    auto Target = NewTarget();
    Target->GetLayer(0)->Selectable = false;
    auto Stream = StreamOf(B, B.size());
    ASSERT_TRUE(Target->LoadLayersFromStream(Stream.get())) << Version;
    ASSERT_EQ(2, Target->GetLayersCount());
    const TIELayer* Base = Target->GetLayer(0);
    const TIELayer* Added = Target->GetLayer(1);
    EXPECT_EQ(60, Added->Transparency);
    EXPECT_EQ(7, Added->PosX);
    EXPECT_TRUE(SamePixels(*Picture, *Added->Bitmap));
    EXPECT_TRUE(SamePixels(*BasePicture, *Base->Bitmap));
    // Layer 0 keeps what the version does not carry; added layers keep their defaults.
    EXPECT_EQ(Version >= 3 ? "zero" : "target", Base->Name);
    EXPECT_EQ(Version >= 3 ? "one" : "", Added->Name);
    EXPECT_EQ(Version >= 3 ? rfHermite : rfNone, Added->ResampleFilter);
    EXPECT_EQ(Version >= 3 ? 0 : 1, Added->Magnifier.Source);
    EXPECT_EQ(Version < 4, Added->Selectable);
    EXPECT_EQ(Version >= 4, Base->Selectable);
    EXPECT_EQ(Version >= 6, Added->ShadeOutside);
    // A layer that is not selectable still took its own picture and is current.
    EXPECT_EQ(1, Target->GetLayersCurrent());
  }
}

TEST_F(LayerFile, EveryTruncationIsRefusedWithoutChange) {
  for (Integer Code : {IELayersRaw, IELayersRawCompressed}) {
    const std::vector<Byte> B = Saved(Code);
    auto Target = NewTarget();
    for (size_t Cut = 0; Cut < B.size(); ++Cut) {
      auto Stream = StreamOf(B, Cut);
      EXPECT_FALSE(Target->LoadLayersFromStream(Stream.get())) << Code << " cut at " << Cut;
    }
    ExpectUntouched(*Target);
  }
}

TEST_F(LayerFile, DamagedFieldsAreRefusedWithoutChange) {
  const std::vector<Byte> Good = Saved(IELayersRaw);
  // The first record starts at 25; its name length at 25 + 38, the picture position at 25 + 53
  // ("base" is 4 characters); the first picture block at the position it names.
  Cardinal FirstPicture = 0;
  std::memcpy(&FirstPicture, Good.data() + 25 + 53, 4);
  const struct {
    const char* What;
    size_t Offset;
    Integer Value;
  } Cases[] = {
      {"huge layer count", 21, 0x7FFFFFFF},
      {"negative layer count", 21, -1},
      {"negative name length", 25 + 38, -1},
      {"name longer than the file", 25 + 38, 0x10000000},
      {"user data longer than the file", 25 + 46, 0x7FFFFFF0},
      {"picture beyond the end", 25 + 53, 0x7FFFFFF0},
      {"picture beyond 4 GB", 25 + 57, 1},
      {"picture length beyond the end", FirstPicture, 0x7FFFFFF0},
      {"negative picture length", FirstPicture, -5},
      {"not a raw bitmap", FirstPicture + 4, 0x12345678},
  };
  auto Target = NewTarget();
  for (const auto& C : Cases) {
    std::vector<Byte> B = Good;
    std::memcpy(B.data() + C.Offset, &C.Value, 4);
    auto Stream = StreamOf(B, B.size());
    EXPECT_FALSE(Target->LoadLayersFromStream(Stream.get())) << C.What;
  }
  ExpectUntouched(*Target);
}

TEST_F(LayerFile, CorruptDeflatedPictureIsRefusedWithoutChange) {
  std::vector<Byte> B = Saved(IELayersRawCompressed);
  Cardinal FirstPicture = 0;
  std::memcpy(&FirstPicture, B.data() + 25 + 53, 4);
  // Past the length and the two zlib header bytes: the deflate data itself.
  for (size_t I = FirstPicture + 6; I < FirstPicture + 14; ++I) B[I] = 0xFF;
  auto Target = NewTarget();
  auto Stream = StreamOf(B, B.size());
  EXPECT_FALSE(Target->LoadLayersFromStream(Stream.get()));
  ExpectUntouched(*Target);
}

TEST_F(LayerFile, WrongMagicAndVersionZeroAreRefused) {
  std::vector<Byte> B = Saved(IELayersRaw);
  auto Target = NewTarget();
  B[0] = 'X';
  auto NotLayers = StreamOf(B, B.size());
  EXPECT_FALSE(IsLayersStream(NotLayers.get()));
  EXPECT_FALSE(Target->LoadLayersFromStream(NotLayers.get()));
  B[0] = 'Z';
  const Integer Zero = 0;
  std::memcpy(B.data() + 13, &Zero, 4);
  auto VersionZero = StreamOf(B, B.size());
  EXPECT_FALSE(IsLayersStream(VersionZero.get()));
  EXPECT_EQ(0, VersionZero->GetPosition());
  EXPECT_FALSE(Target->LoadLayersFromStream(VersionZero.get()));
  ExpectUntouched(*Target);
}

TEST_F(LayerFile, EmptyLayerFileLeavesOnlyLayerZero) {
  std::vector<Byte> B = {'Z', 'E', 'Z', 'U', 'D', 'I', 'D', 'L', 'A', 'Y', 'E', 'R', 'S'};
  PutLE32(B, 6);
  PutLE32(B, IELayersRaw);
  PutLE32(B, 0);
  auto Stream = StreamOf(B, B.size());
  EXPECT_TRUE(IsLayersStream(Stream.get()));
  auto Target = NewTarget();
  EXPECT_TRUE(Target->LoadLayersFromStream(Stream.get()));
  EXPECT_EQ(1, Target->GetLayersCount());
  EXPECT_EQ("target", Target->GetLayer(0)->Name);  // not reset
}

TEST_F(LayerFile, BlockAfterOtherDataUsesAbsolutePositions) {
  TMemoryStream Stream;
  Stream.WriteBuffer("0123456789", 10);
  View->SaveLayersToStream(&Stream, IELayersRawCompressed);
  Stream.SetPosition(10);
  EXPECT_TRUE(IsLayersStream(&Stream));
  EXPECT_EQ(10, Stream.GetPosition());
  auto Target = NewTarget();
  ASSERT_TRUE(Target->LoadLayersFromStream(&Stream));
  ASSERT_EQ(3, Target->GetLayersCount());
  EXPECT_TRUE(SamePixels(*View->GetLayer(0)->Bitmap, *Target->GetLayer(0)->Bitmap));
}

// The library's start-up (run for this test program as the program runs it) registers the detector.
TEST_F(LayerFile, ContentDetectionKnowsLayerFiles) {
  const std::vector<Byte> B = Saved(IELayersRaw);
  auto Stream = StreamOf(B, B.size());
  EXPECT_EQ(ioLYR, DetectStreamFormat(Stream.get()));
}

TEST_F(LayerFile, FilesAreReadAndAMissingOneRaises) {
  TTestFolder Folder;
  const std::vector<Byte> B = Saved(IELayersRaw);
  const std::u16string Name = Folder.Path("layers.lyr");
  {
    auto Stream = StreamOf(B, B.size());
    const std::string Narrow(Name.begin(), Name.end());
    Stream->SaveToFile(Narrow);
  }
  auto Target = NewTarget();
  EXPECT_TRUE(Target->LoadLayersFromFile(Name));
  EXPECT_EQ(3, Target->GetLayersCount());
  EXPECT_THROW(Target->LoadLayersFromFile(Folder.Path("missing.lyr")), EFOpenError);
}

// The view's I/O component reads layer files into its view by extension, by content and by
// code; a component on a plain bitmap refuses them and says so.
TEST_F(LayerFile, TheIOComponentReadsLayerFilesIntoItsView) {
  TTestFolder Folder;
  const std::vector<Byte> B = Saved(IELayersRaw);
  const std::u16string Name = Folder.Path("layers.lyr");
  {
    auto Stream = StreamOf(B, B.size());
    const std::string Narrow(Name.begin(), Name.end());
    Stream->SaveToFile(Narrow);
  }
  auto Target = NewTarget();
  Target->GetIO()->LoadFromFile(Name);
  EXPECT_FALSE(Target->GetIO()->GetAborting());
  EXPECT_EQ(3, Target->GetLayersCount());
  EXPECT_EQ(ioLYR, Target->GetIO()->GetParams()->FileType);

  auto Other = NewTarget();
  auto Stream = StreamOf(B, B.size());
  Other->GetIO()->LoadFromStream(Stream.get());
  EXPECT_FALSE(Other->GetIO()->GetAborting());
  EXPECT_EQ(3, Other->GetLayersCount());

  auto Damaged = StreamOf(B, B.size() / 2);
  Other->GetIO()->LoadFromStreamFormat(Damaged.get(), ioLYR);
  EXPECT_TRUE(Other->GetIO()->GetAborting());

  TIEBitmap Plain(4, 4, ie24RGB);
  TZezudIdIO IO(nullptr);
  IO.SetAttachedIEBitmap(&Plain);
  IO.LoadFromFile(Name);
  EXPECT_TRUE(IO.GetAborting());
  EXPECT_EQ(4, Plain.GetWidth());
}

}  // namespace
