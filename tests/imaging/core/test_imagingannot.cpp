#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/core/iedibpack.h"
#include "imaging/core/ieimagingannot.h"
#include "imaging/core/iestreams.h"

namespace {

std::unique_ptr<TIEImagingObject> Mark(Integer Type) {
  auto Object = std::make_unique<TIEImagingObject>();
  for (Integer I = 4; I < IEAnnotAttributesSize; ++I) Object->GetAttributes()[I] = static_cast<Byte>(I * 3);
  Object->SetMarkType(Type);
  return Object;
}

std::vector<Byte> Save(const TIEImagingAnnot& Annot) {
  std::unique_ptr<Byte[]> Buffer;
  Integer Length = -1;
  Annot.SaveToBuffer(Buffer, Length);
  return {Buffer.get(), Buffer.get() + Length};
}

void Load(TIEImagingAnnot& Annot, const std::vector<Byte>& Data) {
  Annot.LoadFromBuffer(Data.data(), static_cast<Integer>(Data.size()));
}

std::vector<Byte> Longs(std::initializer_list<Cardinal> Values) {
  std::vector<Byte> Out(Values.size() * 4);
  Byte* At = Out.data();
  for (const Cardinal Value : Values) {
    IEStoreLE32(At, Value);
    At += 4;
  }
  return Out;
}

// A picture whose every byte tells its place.
std::unique_ptr<TIEBitmap> Picture(Integer Width, Integer Height, TIEPixelFormat Format) {
  auto Bitmap = std::make_unique<TIEBitmap>(Width, Height, Format);
  const Integer Bytes = (Width * IEBitsPerPixel[Format] + 7) / 8;
  for (Integer Y = 0; Y < Height; ++Y) {
    Byte* Row = static_cast<Byte*>(Bitmap->GetScanline(Y));
    for (Integer X = 0; X < Bytes; ++X) Row[X] = static_cast<Byte>(X * 13 + Y * 101 + 1);
  }
  // A 1-bit row's last byte keeps only the bits inside the row.
  if (Format == ie1g && Width % 8)
    for (Integer Y = 0; Y < Height; ++Y)
      static_cast<Byte*>(Bitmap->GetScanline(Y))[Bytes - 1] &= 0xFF << (8 - Width % 8);
  return Bitmap;
}

std::vector<Byte> Row(TIEBitmap* Bitmap, Integer Y, Integer Bytes) {
  const Byte* P = static_cast<const Byte*>(Bitmap->GetScanline(Y));
  return {P, P + Bytes};
}

TEST(ImagingAnnot, EmptyListSavesNothing) {
  TIEImagingAnnot Annot;
  std::unique_ptr<Byte[]> Buffer(new Byte[1]);
  Integer Length = -1;
  Annot.SaveToBuffer(Buffer, Length);
  EXPECT_EQ(Buffer, nullptr);
  EXPECT_EQ(Length, 0);
}

TEST(ImagingAnnot, SavedDataStartsWithHeaderAndFileBlocks) {
  TIEImagingAnnot Annot;
  Annot.AddObject(Mark(ieamStraightLine));
  const std::vector<Byte> Data = Save(Annot);
  std::vector<Byte> Expected = Longs({0, 1, 2, 12});
  const std::string Group(
      "OiGroup\0\2\0\0\0"
      "0\0",
      14);
  Expected.insert(Expected.end(), Group.begin(), Group.end());
  const std::vector<Byte> Next = Longs({2, 12});
  Expected.insert(Expected.end(), Next.begin(), Next.end());
  const std::string Index(
      "OiIndex\0\2\0\0\0"
      "1\0",
      14);
  Expected.insert(Expected.end(), Index.begin(), Index.end());
  const std::vector<Byte> Attributes = Longs({5, 164, ieamStraightLine});
  Expected.insert(Expected.end(), Attributes.begin(), Attributes.end());
  ASSERT_GE(Data.size(), Expected.size());
  EXPECT_EQ(std::vector<Byte>(Data.begin(), Data.begin() + Expected.size()), Expected);
}

TEST(ImagingAnnot, LineMarkRoundTripsWithPointsAndAttributes) {
  TIEImagingAnnot Annot;
  auto Line = Mark(ieamStraightLine);
  Line->GetPoints() = {{1, 2}, {-30, 400}, {5000, -6}};
  const std::vector<Byte> Attributes(Line->GetAttributes(), Line->GetAttributes() + IEAnnotAttributesSize);
  Annot.AddObject(std::move(Line));
  Annot.AddObject(Mark(ieamFreehandLine));
  TIEImagingAnnot Read;
  Read.SetUserChanged(true);
  Load(Read, Save(Annot));
  EXPECT_FALSE(Read.GetUserChanged());
  ASSERT_EQ(Read.Count(), 2);
  EXPECT_EQ(Read.GetObject(0)->GetMarkType(), ieamStraightLine);
  EXPECT_EQ(Read.GetObject(0)->GetPoints(), (std::vector<TPoint>{{1, 2}, {-30, 400}, {5000, -6}}));
  EXPECT_EQ(std::vector<Byte>(Read.GetObject(0)->GetAttributes(), Read.GetObject(0)->GetAttributes() + 164),
            Attributes);
  EXPECT_EQ(Read.GetObject(1)->GetMarkType(), ieamFreehandLine);
  EXPECT_TRUE(Read.GetObject(1)->GetPoints().empty());
}

TEST(ImagingAnnot, TextMarkKeepsTextAndFontHeight) {
  TIEImagingAnnot Annot;
  for (const Integer Height : {-20, -13, 37}) {
    auto Text = Mark(ieamTypedText);
    Text->SetText("Approved " + std::to_string(Height));
    Text->SetFontHeight(Height);
    Annot.AddObject(std::move(Text));
  }
  TIEImagingAnnot Read;
  Load(Read, Save(Annot));
  ASSERT_EQ(Read.Count(), 3);
  for (Integer I = 0; I < 3; ++I) {
    EXPECT_EQ(Read.GetObject(I)->GetText(), Annot.GetObject(I)->GetText());
    EXPECT_EQ(Read.GetObject(I)->GetFontHeight(), Annot.GetObject(I)->GetFontHeight());
  }
}

// A text mark of height -20 as another program saves it, at the given creation scale.
std::vector<Byte> TextMarkData(Cardinal CreationScale) {
  std::vector<Byte> Data = Longs({0, 1, 5, 164});
  std::vector<Byte> Attributes(164, 0);
  IEStoreLE32(Attributes.data(), ieamAttachedNote);
  IEStoreLE32(Attributes.data() + 48, static_cast<Cardinal>(-20));
  Data.insert(Data.end(), Attributes.begin(), Attributes.end());
  const std::vector<Byte> Block = Longs({6, 12});
  Data.insert(Data.end(), Block.begin(), Block.end());
  const std::string Name("OiAnText", 8);
  Data.insert(Data.end(), Name.begin(), Name.end());
  const std::vector<Byte> Header = Longs({16 + 5, 0, 1000, CreationScale, 4});
  Data.insert(Data.end(), Header.begin(), Header.end());
  Data.insert(Data.end(), {'n', 'o', 't', 'e', 0});
  return Data;
}

TEST(ImagingAnnot, FontHeightIsRescaledFromTheCreationScale) {
  struct TCase {
    Cardinal Scale;
    Integer Height;
  };
  for (const TCase& Case : {TCase{7500, -20}, TCase{0, -20}, TCase{1000, -150}, TCase{15000, -10}}) {
    TIEImagingAnnot Read;
    Load(Read, TextMarkData(Case.Scale));
    ASSERT_EQ(Read.Count(), 1);
    EXPECT_EQ(Read.GetObject(0)->GetText(), "note");
    EXPECT_EQ(Read.GetObject(0)->GetFontHeight(), Case.Height) << Case.Scale;
  }
}

TEST(ImagingAnnot, UnknownRecordsDoNotStopReading) {
  TIEImagingAnnot Annot;
  auto Line = Mark(ieamStraightLine);
  Line->GetPoints() = {{7, 8}};
  Annot.AddObject(std::move(Line));
  std::vector<Byte> Data = Save(Annot);
  const std::vector<Byte> Unknown = Longs({9, 0});
  Data.insert(Data.begin() + 8, Unknown.begin(), Unknown.end());
  TIEImagingAnnot Read;
  Load(Read, Data);
  ASSERT_EQ(Read.Count(), 1);
  EXPECT_EQ(Read.GetObject(0)->GetPoints(), (std::vector<TPoint>{{7, 8}}));
}

TEST(ImagingAnnot, TruncatedDataKeepsTheMarksBeforeTheCut) {
  TIEImagingAnnot Annot;
  for (Integer I = 0; I < 3; ++I) {
    auto Line = Mark(ieamStraightLine);
    Line->GetPoints() = {{I, I}, {I + 1, I + 1}};
    Annot.AddObject(std::move(Line));
  }
  const std::vector<Byte> Data = Save(Annot);
  Integer Previous = 0;
  for (size_t Cut = 0; Cut <= Data.size(); ++Cut) {
    // Each prefix in a buffer of its own size, so that a read past it is an overflow.
    const std::vector<Byte> Prefix(Data.begin(), Data.begin() + Cut);
    TIEImagingAnnot Read;
    Load(Read, Prefix);
    ASSERT_GE(Read.Count(), Previous);
    ASSERT_LE(Read.Count(), 3);
    Previous = Read.Count();
  }
  EXPECT_EQ(Previous, 3);
}

TEST(ImagingAnnot, CountsAndSizesFromTheDataAreBounded) {
  std::vector<Byte> Data = Longs({0, 1, 5, 164, ieamStraightLine});
  Data.resize(8 + 8 + 164, 0);
  const std::vector<Byte> Block = Longs({6, 12});
  Data.insert(Data.end(), Block.begin(), Block.end());
  const std::string Name("OiAnoDat", 8);
  Data.insert(Data.end(), Name.begin(), Name.end());
  // The block claims a million points but holds one.
  const std::vector<Byte> Points = Longs({16, 1000000, 1000000, 3, 4});
  Data.insert(Data.end(), Points.begin(), Points.end());
  TIEImagingAnnot Read;
  Load(Read, Data);
  ASSERT_EQ(Read.Count(), 1);
  EXPECT_EQ(Read.GetObject(0)->GetPoints(), (std::vector<TPoint>{{3, 4}}));
  // A block size past the end stops the reading before the mark gets its points.
  IEStoreLE32(Data.data() + Data.size() - 20, 0xFFFFFFF0);
  Load(Read, Data);
  ASSERT_EQ(Read.Count(), 1);
  EXPECT_TRUE(Read.GetObject(0)->GetPoints().empty());
}

TEST(ImagingAnnot, ImageMarksSurviveSaveAndLoad) {
  struct TCase {
    TIEPixelFormat Format;
    TIEPixelFormat ReadFormat;
  };
  for (const TCase& Case : {TCase{ie24RGB, ie24RGB}, TCase{ie1g, ie1g}, TCase{ie8g, ie24RGB}}) {
    TIEImagingAnnot Annot;
    auto Image = Mark(ieamImage);
    Image->SetImage(Picture(13, 5, Case.Format));
    Annot.AddObject(std::move(Image));
    TIEImagingAnnot Read;
    Load(Read, Save(Annot));
    ASSERT_EQ(Read.Count(), 1);
    TIEBitmap* Got = Read.GetObject(0)->GetImage();
    ASSERT_NE(Got, nullptr);
    EXPECT_EQ(Got->GetWidth(), 13);
    EXPECT_EQ(Got->GetHeight(), 5);
    EXPECT_EQ(Got->GetPixelFormat(), Case.ReadFormat);
    TIEBitmap* Sent = Annot.GetObject(0)->GetImage();
    for (Integer Y = 0; Y < 5; ++Y) {
      if (Case.Format == ie8g) {
        // Grey levels come back as equal blue, green and red.
        const Byte Grey = Row(Sent, Y, 13)[4];
        EXPECT_EQ(Row(Got, Y, 39)[12], Grey);
        EXPECT_EQ(Row(Got, Y, 39)[14], Grey);
      } else {
        const Integer Bytes = Case.Format == ie1g ? 2 : 39;
        EXPECT_EQ(Row(Got, Y, Bytes), Row(Sent, Y, Bytes)) << "row " << Y;
      }
    }
  }
}

TEST(ImagingAnnot, AssignCopiesEveryPartDeeply) {
  TIEImagingAnnot Source;
  auto Text = Mark(ieamTypedText);
  Text->SetText("copy");
  Source.AddObject(std::move(Text));
  auto Image = Mark(ieamImage);
  Image->SetImage(Picture(4, 4, ie24RGB));
  Source.AddObject(std::move(Image));
  TIEImagingAnnot Copy;
  Copy.Assign(&Source);
  ASSERT_EQ(Copy.Count(), 2);
  EXPECT_EQ(Copy.GetObject(0)->GetText(), "copy");
  ASSERT_NE(Copy.GetObject(1)->GetImage(), nullptr);
  EXPECT_NE(Copy.GetObject(1)->GetImage(), Source.GetObject(1)->GetImage());
  Source.Clear();
  EXPECT_EQ(Copy.GetObject(1)->GetImage()->GetWidth(), 4);
}

TEST(PackedDIB, PalettedPictureKeepsItsColoursAndRowsGoBottomUp) {
  TIEBitmap Paletted(3, 2, ie8p);
  Paletted.SetPaletteColor(5, TIERGBTriple{1, 2, 3});
  Paletted.SetPaletteColor(9, TIERGBTriple{7, 8, 9});
  static_cast<Byte*>(Paletted.GetScanline(0))[0] = 5;
  static_cast<Byte*>(Paletted.GetScanline(1))[2] = 9;
  const std::vector<Byte> DIB = IEPackBitmapToDIB(&Paletted, 200, 200);
  ASSERT_EQ(DIB.size(), 40u + 1024 + 2 * 4);
  EXPECT_EQ(IELoadLE32(DIB.data() + 24), 7874u);  // 200 dots per inch in pixels per metre
  EXPECT_EQ(DIB[40 + 1024 + 4], 5) << "the top row is stored last";
  TIEBitmap Back;
  ASSERT_TRUE(IEUnpackDIBToBitmap(DIB.data(), static_cast<Integer>(DIB.size()), &Back));
  EXPECT_EQ(Row(&Back, 0, 3), (std::vector<Byte>{1, 2, 3}));
  EXPECT_EQ(Row(&Back, 1, 9), (std::vector<Byte>{0, 0, 0, 0, 0, 0, 7, 8, 9}));
}

TEST(PackedDIB, OtherLayoutsAndDamagedHeadersAreRefused) {
  TIEBitmap Source(2, 2, ie24RGB);
  const std::vector<Byte> Good = IEPackBitmapToDIB(&Source, 96, 96);
  struct TCase {
    const char* Name;
    size_t At;
    Cardinal Value;
  };
  for (const TCase& Case :
       {TCase{"header size past the end", 0, 1000}, TCase{"no width", 4, 0}, TCase{"rows past the end", 8, 3},
        TCase{"run-length data", 16, 1}, TCase{"16 bits", 14, 16}, TCase{"huge width", 4, 0x7FFFFFFF}}) {
    std::vector<Byte> Bad = Good;
    if (Case.At == 14)
      Bad[14] = static_cast<Byte>(Case.Value);
    else
      IEStoreLE32(Bad.data() + Case.At, Case.Value);
    TIEBitmap Target(1, 1, ie8g);
    EXPECT_FALSE(IEUnpackDIBToBitmap(Bad.data(), static_cast<Integer>(Bad.size()), &Target)) << Case.Name;
    EXPECT_EQ(Target.GetPixelFormat(), ie8g) << Case.Name;
  }
  TIEBitmap Target;
  EXPECT_FALSE(IEUnpackDIBToBitmap(Good.data(), 39, &Target));
  EXPECT_TRUE(IEUnpackDIBToBitmap(Good.data(), static_cast<Integer>(Good.size()), &Target));
}

}  // namespace
