// GIF against ImageMagick: it reads the frame, transparency and comment we write, and we read
// the animations it writes (full interlaced frames with their own tables, and optimised frames
// that cover only what changed, with transparent pixels) pixel for pixel.
#include <gtest/gtest.h>

#include <memory>
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

constexpr Integer Width = 7, Height = 5;

class TGifOracleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!ToolPresent("convert") || !ToolPresent("identify")) GTEST_SKIP() << "ImageMagick is not installed";
    IEFormatsInstall();
    InitFileFormats();
    Saved = {IEGifLzwDecompressProc, IEGifLzwCompressProc};
    IEGifLzwDecompressProc = GifLzwDecompress;
    IEGifLzwCompressProc = GifLzwCompress;
    Joined = true;
  }
  void TearDown() override {
    if (!Joined) return;
    IEGifLzwDecompressProc = Saved.first;
    IEGifLzwCompressProc = Saved.second;
    FreeFileFormats();
  }
  std::pair<TGifLzwDecompressProc, TGifLzwCompressProc> Saved{};
  bool Joined = false;
};

using TFrame = std::vector<TIERGBTriple>;  // Width x Height, rows top to bottom

TFrame MakeFrame(Integer Seed) {
  TFrame F(Width * Height);
  for (Integer Y = 0; Y < Height; ++Y)
    for (Integer X = 0; X < Width; ++X)
      F[Y * Width + X] = {Byte(X * 30 + Seed), Byte(Y * 50), Byte(77 + Seed * 3)};
  return F;
}

void WritePpm(const TTempFile& File, const TFrame& F) {
  const std::string Head = "P6\n" + std::to_string(Width) + " " + std::to_string(Height) + "\n255\n";
  std::vector<Byte> Bytes(Head.begin(), Head.end());
  for (const TIERGBTriple& C : F) Bytes.insert(Bytes.end(), {C.rgbtRed, C.rgbtGreen, C.rgbtBlue});
  File.Write(Bytes);
}

// Three frames: the second changes two pixels of the first, the third is another picture.
std::vector<TFrame> Frames() {
  TFrame Second = MakeFrame(0);
  Second[2 * Width + 3] = {255, 0, 0};
  Second[4 * Width + 6] = {0, 255, 0};
  return {MakeFrame(0), Second, MakeFrame(40)};
}

void ExpectFramesRead(const std::string& Options) {
  const std::vector<TFrame> Sources = Frames();
  std::vector<std::unique_ptr<TTempFile>> Ppms;
  std::string Inputs;
  for (const TFrame& Source : Sources) {
    Ppms.push_back(std::make_unique<TTempFile>("frame.ppm"));
    WritePpm(*Ppms.back(), Source);
    Inputs += " '" + Ppms.back()->Path() + "'";
  }
  TTempFile Gif("anim.gif");
  ASSERT_EQ(std::system(("convert -delay 7" + Inputs + " " + Options + " '" + Gif.Path() + "'").c_str()), 0);
  for (Integer Index = 0; Index < 3; ++Index) {
    SCOPED_TRACE(Index);
    TZezudIdIO IO(nullptr);
    IO.GetParams()->SetImageIndex(Index);
    EXPECT_EQ(IO.LoadFromFileGIF(Utf8ToUtf16(Gif.Path())), 3);
    ASSERT_FALSE(IO.GetAborting());
    EXPECT_EQ(IO.GetParams()->GifDelayTime, 7);
    TIEBitmap& Picture = *IO.GetIEBitmap();
    ASSERT_EQ(Picture.GetWidth(), Width);
    ASSERT_EQ(Picture.GetHeight(), Height);
    for (Integer Y = 0; Y < Height; ++Y)
      for (Integer X = 0; X < Width; ++X) {
        ASSERT_EQ(Picture.GetPixel24(X, Y), Sources[Index][Y * Width + X]) << X << "," << Y;
        if (Picture.HasAlphaChannel()) {
          ASSERT_EQ(Picture.GetAlpha(X, Y), 255) << X << "," << Y;
        }
      }
  }
}

TEST_F(TGifOracleTest, WeReadImageMagickInterlacedFramesWithTheirOwnTables) {
  ExpectFramesRead("-interlace GIF");
}

TEST_F(TGifOracleTest, WeComposeImageMagickOptimisedFrames) {
  ExpectFramesRead("-layers Optimize");
}

TEST_F(TGifOracleTest, ImageMagickReadsOurFrameTransparencyAndComment) {
  for (bool Interlaced : {false, true}) {
    TZezudIdIO IO(nullptr);
    TIEBitmap& Picture = *IO.GetIEBitmap();
    Picture.Allocate(Width, Height, ie24RGB);
    const TFrame Source = MakeFrame(9);
    for (Integer Y = 0; Y < Height; ++Y)
      for (Integer X = 0; X < Width; ++X) Picture.SetPixel24(X, Y, Source[Y * Width + X]);
    Picture.SetAlpha(4, 2, 0);
    IO.GetParams()->GifInterlaced = Interlaced;
    IO.GetParams()->GifComments->Add("made by us");
    TTempFile Gif("ours.gif");
    IO.SaveToFile(Utf8ToUtf16(Gif.Path()));
    ASSERT_FALSE(IO.GetAborting());
    EXPECT_EQ(ShellOutput("identify -format '%n %w %h %c' '" + Gif.Path() + "'"), "1 7 5 made by us");
    const std::string Rgba = ShellOutput("convert '" + Gif.Path() + "' -depth 8 rgba:-");
    ASSERT_EQ(Rgba.size(), static_cast<size_t>(Width * Height * 4));
    for (Integer Y = 0; Y < Height; ++Y)
      for (Integer X = 0; X < Width; ++X) {
        const Byte* P = reinterpret_cast<const Byte*>(Rgba.data()) + 4 * (Y * Width + X);
        const bool Transparent = X == 4 && Y == 2;
        EXPECT_EQ(P[3], Transparent ? 0 : 255) << X << "," << Y;
        if (Transparent) continue;
        const TIERGBTriple& C = Source[Y * Width + X];
        EXPECT_EQ((std::vector<Byte>{P[0], P[1], P[2]}),
                  (std::vector<Byte>{C.rgbtRed, C.rgbtGreen, C.rgbtBlue}))
            << X << "," << Y;
      }
  }
}

}  // namespace
