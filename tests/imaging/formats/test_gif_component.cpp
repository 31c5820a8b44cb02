// The component's GIF operations with the further-formats library joined: frames laid over the
// logical screen (position, transparency, disposal, frames past the screen's edge), file round
// trips found by content, parameters-only reads, and a failed save that keeps the old file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/formats/ieformats.h"
#include "imaging/io/iefileformats.h"
#include "imaging/io/ieiolibrary.h"
#include "imaging/io/zezudidio.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/StringList.h"
#include "platform/system/Strings.h"
#include "tests/imaging/formats/GifTestSupport.h"

namespace {

const std::vector<TGifColour> Palette = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
const TIERGBTriple Black{0, 0, 0}, Red{0, 0, 255}, Green{0, 255, 0}, Blue{255, 0, 0};

class TGifComponentTest : public ::testing::Test {
 protected:
  TGifComponentTest() {
    IEFormatsInstall();
    InitFileFormats();
    Saved = {IEGifLzwDecompressProc, IEGifLzwCompressProc};
    IEGifLzwDecompressProc = GifLzwDecompress;
    IEGifLzwCompressProc = GifLzwCompress;
    IO.GetParams()->GifLzwDecompressProc = GifLzwDecompress;
    IO.GetParams()->GifLzwCompressProc = GifLzwCompress;
  }
  ~TGifComponentTest() override {
    IEGifLzwDecompressProc = Saved.first;
    IEGifLzwCompressProc = Saved.second;
    FreeFileFormats();
  }

  // Loads frame Index of File; the frame count.
  Integer Load(const std::vector<Byte>& File, Integer Index) {
    TMemoryStream Stream;
    LoadBytes(Stream, File);
    IO.GetParams()->SetImageIndex(Index);
    return IO.LoadFromStreamGIF(&Stream);
  }
  TIEBitmap& Picture() { return *IO.GetIEBitmap(); }

  TZezudIdIO IO{nullptr};
  std::pair<TGifLzwDecompressProc, TGifLzwCompressProc> Saved;
};

// A 4 x 3 screen (background green): frame 0 fills it red, frame 1 puts a 2 x 2 blue square
// with a transparent corner at (1, 1) and asks for disposal 2, frame 2 is one black pixel at
// (0, 0).
std::vector<Byte> Animation() {
  return TGifBuilder(4, 3, Palette, 2)
      .Control(1, 5)
      .Frame(0, 0, 4, 3, std::vector<Byte>(12, 1))
      .Control(2, 5, 0)
      .Frame(1, 1, 2, 2, {3, 3, 3, 0})
      .Frame(0, 0, 1, 1, {0})
      .Comment("once")
      .Finish();
}

TEST_F(TGifComponentTest, FramesAreLaidOverTheScreenUpToTheWantedOne) {
  ASSERT_EQ(Load(Animation(), 1), 3);
  ASSERT_FALSE(IO.GetAborting());
  EXPECT_EQ(IO.GetParams()->FileType, ioGIF);
  EXPECT_EQ(IO.GetParams()->GifImageIndex, 1);
  ASSERT_EQ(Picture().GetWidth(), 4);
  ASSERT_EQ(Picture().GetHeight(), 3);
  EXPECT_EQ(Picture().GetPixel24(0, 0), Red);
  EXPECT_EQ(Picture().GetPixel24(1, 1), Blue);
  // The transparent pixel shows the frame below it, opaque.
  EXPECT_EQ(Picture().GetPixel24(2, 2), Red);
  EXPECT_EQ(Picture().GetAlpha(2, 2), 255);

  // Frame 2 comes after frame 1's disposal to the background: its square becomes background.
  ASSERT_EQ(Load(Animation(), 2), 3);
  EXPECT_EQ(Picture().GetPixel24(0, 0), Black);
  EXPECT_EQ(Picture().GetPixel24(1, 1), Green);
  EXPECT_EQ(Picture().GetAlpha(1, 1), 0);
  EXPECT_EQ(Picture().GetPixel24(3, 0), Red);
  EXPECT_EQ(Picture().GetAlpha(3, 0), 255);
  // Each frame read passes the comment again; it is kept once.
  EXPECT_EQ(IO.GetParams()->GifComments->GetCount(), 1);
}

TEST_F(TGifComponentTest, FirstFrameOfAnAnimationSitsOnATransparentScreen) {
  const std::vector<Byte> File =
      TGifBuilder(5, 4, Palette, 2).Frame(1, 1, 2, 2, {3, 3, 3, 3}).Frame(0, 0, 1, 1, {0}).Finish();
  ASSERT_EQ(Load(File, 0), 2);
  ASSERT_EQ(Picture().GetWidth(), 5);
  EXPECT_EQ(Picture().GetPixel24(2, 2), Blue);
  EXPECT_EQ(Picture().GetAlpha(2, 2), 255);
  EXPECT_EQ(Picture().GetPixel24(4, 3), Green);
  EXPECT_EQ(Picture().GetAlpha(4, 3), 0);
}

TEST_F(TGifComponentTest, FramesPastTheScreenAreCutOrGrowIt) {
  // The second frame starts beyond the screen; the third is larger than the screen.
  const std::vector<Byte> File = TGifBuilder(3, 2, Palette, 0)
                                     .Frame(0, 0, 3, 2, std::vector<Byte>(6, 1))
                                     .Frame(60000, 2, 2, 2, {2, 2, 2, 2})
                                     .Frame(2, 1, 2, 3, {3, 3, 3, 3, 3, 3})
                                     .Finish();
  ASSERT_EQ(Load(File, 1), 3);
  ASSERT_FALSE(IO.GetAborting());
  EXPECT_EQ(Picture().GetWidth(), 3);
  EXPECT_EQ(Picture().GetPixel24(2, 1), Red);
  ASSERT_EQ(Load(File, 2), 3);
  ASSERT_FALSE(IO.GetAborting());
  ASSERT_EQ(Picture().GetWidth(), 3);
  ASSERT_EQ(Picture().GetHeight(), 3);
  EXPECT_EQ(Picture().GetPixel24(2, 2), Blue);
  EXPECT_EQ(Picture().GetPixel24(0, 2), Black);  // the grown area in the background colour
}

TEST_F(TGifComponentTest, SingleFrameLoadsAsItIsWithItsFormatAndMask) {
  const std::vector<Byte> File =
      TGifBuilder(9, 9, Palette).Control(0, 0, 0).Frame(2, 3, 2, 1, {0, 3}).Comment("hello").Finish();
  ASSERT_EQ(Load(File, 0), 1);
  ASSERT_FALSE(IO.GetAborting());
  EXPECT_EQ(Picture().GetWidth(), 2);
  EXPECT_EQ(Picture().GetHeight(), 1);
  EXPECT_EQ(IO.GetParams()->GifXPos, 2);
  ASSERT_TRUE(Picture().HasAlphaChannel());
  EXPECT_EQ(Picture().GetAlpha(0, 0), 0);
  EXPECT_EQ(Picture().GetAlpha(1, 0), 255);
  ASSERT_EQ(IO.GetParams()->GifComments->GetCount(), 1);
  EXPECT_EQ(IO.GetParams()->GifComments->GetStrings(0), "hello");
}

TEST_F(TGifComponentTest, DamagedFileFailsTheLoad) {
  std::vector<Byte> File = Animation();
  File.resize(14);
  Load(File, 0);
  EXPECT_TRUE(IO.GetAborting());
  // A file without any frame has nothing to show.
  Load(TGifBuilder(4, 4, Palette).Finish(), 0);
  EXPECT_TRUE(IO.GetAborting());
}

TEST_F(TGifComponentTest, FileRoundTripIsFoundByContentAndReadForParameters) {
  Picture().Allocate(6, 5, ie24RGB);
  for (Integer Y = 0; Y < 5; ++Y)
    for (Integer X = 0; X < 6; ++X) Picture().SetPixel24(X, Y, TIERGBTriple{Byte(X * 40), Byte(Y * 50), 9});
  Picture().SetAlpha(3, 3, 0);
  IO.GetParams()->GifComments->Add("kept");
  TTempFile File("round.gif");
  IO.SaveToFile(Utf8ToUtf16(File.Path()));
  ASSERT_FALSE(IO.GetAborting());
  EXPECT_EQ(IO.GetParams()->FileType, ioGIF);
  EXPECT_EQ(FindFileFormat(Utf8ToUtf16(File.Path()), true), ioGIF);

  TZezudIdIO Reader(nullptr);
  Reader.LoadFromFile(Utf8ToUtf16(File.Path()));
  ASSERT_FALSE(Reader.GetAborting());
  EXPECT_EQ(Reader.GetParams()->FileName, Utf8ToUtf16(File.Path()));
  TIEBitmap& Read = *Reader.GetIEBitmap();
  ASSERT_EQ(Read.GetWidth(), 6);
  for (Integer Y = 0; Y < 5; ++Y)
    for (Integer X = 0; X < 6; ++X)
      if (X != 3 || Y != 3) {
        EXPECT_EQ(Read.GetPixel24(X, Y), Picture().GetPixel24(X, Y));
      }
  EXPECT_EQ(Read.GetAlpha(3, 3), 0);

  TZezudIdIO Params(nullptr);
  Params.ParamsFromFile(Utf8ToUtf16(File.Path()));
  EXPECT_EQ(Params.GetParams()->FileType, ioGIF);
  EXPECT_EQ(Params.GetParams()->GifImageCount, 1);
  EXPECT_EQ(Params.GetParams()->Width, 6);
  EXPECT_TRUE(Params.GetParams()->GifHasTransparentColor);
  EXPECT_EQ(Params.GetParams()->GifComments->GetStrings(0), "kept");
}

TEST_F(TGifComponentTest, FailedSaveKeepsTheOldFile) {
  Picture().Allocate(2, 2, ie24RGB);
  TTempFile File("old.gif");
  File.Write({'o', 'l', 'd'});
  // No coder anywhere: the writer stops before the image data.
  IO.GetParams()->GifLzwCompressProc = nullptr;
  IEGifLzwCompressProc = nullptr;
  IO.SaveToFileGIF(Utf8ToUtf16(File.Path()));
  EXPECT_TRUE(IO.GetAborting());
  EXPECT_EQ(File.Read(), (std::vector<Byte>{'o', 'l', 'd'}));
}

}  // namespace
