// The I/O component and the vector layer: objects and combined files load into a view that keeps
// vector objects, are refused by any other view, and are told apart by content.
#include <gtest/gtest.h>

#include "imaging/io/iefileformats.h"
#include "imaging/io/zezudidio.h"
#include "imaging/io/zezudidioparams.h"
#include "imaging/view/ievect.h"
#include "tests/imaging/view/VectTestSupport.h"
#include "tests/imaging/view/ViewCoreTestSupport.h"

namespace {

TEST(VectIO, AnObjectsFileMakesAWhiteTransparentPictureOfTheObjectsExtent) {
  TTestFolder Folder;
  TZezudIdVect Source(nullptr);
  Source.SetObjRect(IEV_TEMPLATE, TRect(10, 5, 39, 24));
  Source.AddNewObject(ievoBox);
  const std::u16string Name = Folder.Path("shapes.iev");
  Source.SaveToFileIEV(Name);

  TZezudIdVect Vect(nullptr);
  Vect.GetIEBitmap()->Assign(TestPicture(3, 3, 1).get());
  TZezudIdIO* IO = Vect.GetIO();
  IO->LoadViewDataFromFile(Name, ioIEV);
  ASSERT_FALSE(IO->GetAborting());
  EXPECT_EQ(IO->GetParams()->FileType, ioIEV);
  ASSERT_EQ(Vect.ObjectsCount(), 1);
  EXPECT_EQ(Vect.GetIEBitmap()->GetWidth(), 40);
  EXPECT_EQ(Vect.GetIEBitmap()->GetHeight(), 25);
  EXPECT_EQ(Vect.GetIEBitmap()->GetPixelRGB(20, 20), (TIERGBTriple{255, 255, 255}));
  ASSERT_TRUE(Vect.HasAlphaChannel());
  EXPECT_EQ(Vect.GetAlphaChannel()->GetPixel8(20, 20), 0);

  // The stream variant only loads the objects.
  TMemoryStream Stream;
  Source.AddNewObject(ievoLine);
  Source.SaveToStreamIEV(&Stream);
  Stream.SetPosition(0);
  EXPECT_EQ(DetectStreamFormat(&Stream), ioIEV);
  IO->LoadViewDataFromStream(&Stream, ioIEV);
  EXPECT_FALSE(IO->GetAborting());
  EXPECT_EQ(Vect.ObjectsCount(), 2);
  EXPECT_EQ(Vect.GetIEBitmap()->GetWidth(), 40);
}

TEST(VectIO, CombinedStreamsLoadAndOtherViewsOrDamagedDataAbort) {
  TZezudIdVect Source(nullptr);
  Source.GetIEBitmap()->Assign(TestPicture(6, 4, 2).get());
  Source.AddNewObject(ievoEllipse);
  TMemoryStream Stream;
  Source.SaveToStreamAll(&Stream, ioPNG);
  Stream.SetPosition(0);
  EXPECT_EQ(DetectStreamFormat(&Stream), ioALL);

  TZezudIdVect Vect(nullptr);
  Stream.SetPosition(0);
  Vect.GetIO()->LoadViewDataFromStream(&Stream, ioALL);
  EXPECT_FALSE(Vect.GetIO()->GetAborting());
  EXPECT_EQ(Vect.ObjectsCount(), 1);
  EXPECT_EQ(Vect.GetIEBitmap()->GetWidth(), 6);

  TZezudIdView Plain(nullptr);
  Stream.SetPosition(0);
  Plain.GetIO()->LoadViewDataFromStream(&Stream, ioALL);
  EXPECT_TRUE(Plain.GetIO()->GetAborting());

  const std::vector<Byte> Bytes = AllBytes(Stream);
  const std::vector<Byte> Cut(Bytes.begin(), Bytes.end() - 5);
  Vect.GetIO()->LoadViewDataFromStream(MemoryOf(Cut, Cut.size()).get(), ioALL);
  EXPECT_TRUE(Vect.GetIO()->GetAborting());
  EXPECT_EQ(Vect.ObjectsCount(), 1);
}

}  // namespace
