// The component's AVI movies: frames written from the picture, read back into it, and the
// lists of installed video compressors.
#include "ComponentTestSupport.h"
#include "imaging/io/ieiolibrary.h"
#include "platform/media/VideoCompressors.h"
#include "platform/system/StringList.h"

namespace {

// A smooth 24-bit picture that differs from frame to frame.
void PaintFrame(TIEBitmap* B, Integer Width, Integer Height, Integer Index) {
  B->Allocate(Width, Height, ie24RGB);
  for (Integer Y = 0; Y < Height; ++Y) {
    auto* Row = static_cast<Byte*>(B->GetScanline(Y));
    for (Integer X = 0; X < Width; ++X) {
      Row[X * 3] = static_cast<Byte>(X * 255 / Width);
      Row[X * 3 + 1] = static_cast<Byte>(Y * 255 / Height);
      Row[X * 3 + 2] = static_cast<Byte>(Index * 20);
    }
  }
}

// The largest channel difference between two 24-bit pictures of the same size.
Integer LargestDifference(TIEBitmap* A, TIEBitmap* B) {
  Integer Worst = 0;
  for (Integer Y = 0; Y < A->GetHeight(); ++Y) {
    const auto* RA = static_cast<const Byte*>(A->GetScanline(Y));
    const auto* RB = static_cast<const Byte*>(B->GetScanline(Y));
    for (Integer X = 0; X < A->GetWidth() * 3; ++X) Worst = std::max(Worst, std::abs(RA[X] - RB[X]));
  }
  return Worst;
}

// The first frame's packed DIB header fields, read through the platform's AVI library.
struct TFrameLook {
  Integer Width = 0, Height = 0, BitCount = 0;
  std::vector<Byte> Dib;
};
TFrameLook LookAtFrame(const std::u16string& Name, LONG Pos) {
  TFrameLook Look;
  PAVIFILE File = nullptr;
  PAVISTREAM Stream = nullptr;
  if (AVIFileOpenW(&File, Name, OF_READ, nullptr) != AVIERR_OK) return Look;
  AVIFileGetStream(File, &Stream, streamtypeVIDEO, 0);
  PGETFRAME Frames = AVIStreamGetFrameOpen(Stream, nullptr);
  if (const auto* Dib = static_cast<const Byte*>(AVIStreamGetFrame(Frames, Pos))) {
    Look.Width = Dib[4] | (Dib[5] << 8);
    Look.Height = Dib[8] | (Dib[9] << 8);
    Look.BitCount = Dib[14];
    // The packed DIB: header, palette, then the rows, each padded to 4 bytes.
    const Integer ColorsUsed = Dib[32] | (Dib[33] << 8);
    const Integer Colors = ColorsUsed != 0 ? ColorsUsed : (Look.BitCount <= 8 ? 1 << Look.BitCount : 0);
    const Integer Stride = (Look.Width * Look.BitCount + 31) / 32 * 4;
    Look.Dib.assign(Dib, Dib + 40 + 4 * Colors + Stride * Look.Height);
  }
  AVIStreamGetFrameClose(Frames);
  AVIStreamRelease(Stream);
  AVIFileRelease(File);
  return Look;
}

bool AviHasMsVideo1() {
  HIC Compressor = ICOpen(ICTYPE_VIDEO, mmioFOURCC('M', 'S', 'V', 'C'), ICMODE_QUERY);
  ICClose(Compressor);
  return Compressor != nullptr;
}

class TAviComponentTest : public TComponentTest {
 protected:
  TZezudIdIO IO{nullptr};
  TIEBitmap Picture;
  TComponentLog Log;
  TAviComponentTest() {
    IO.SetAttachedIEBitmap(&Picture);
    Log.Bind(IO);
  }
  ~TAviComponentTest() override { ICSetInstalledCompressorsForTesting(std::nullopt); }

  // Writes Count frames of Width x Height through the component.
  void WriteMovie(const std::u16string& Name, const std::string& Codec, Integer Width, Integer Height,
                  Integer Count) {
    IO.GetParams()->Width = Width;
    IO.GetParams()->Height = Height;
    ASSERT_EQ(IO.CreateAVIFile(Name, 25, Codec), 0);
    ASSERT_FALSE(IO.GetAborting());
    for (Integer I = 0; I < Count; ++I) {
      PaintFrame(&Picture, Width, Height, I);
      IO.SaveToAVI();
    }
    IO.CloseAVIFile();
  }
};

}  // namespace

TEST_F(TAviComponentTest, UncompressedMovieReadsBackFrameForFrame) {
  const std::u16string Name = PathOf("dib.avi");
  WriteMovie(Name, "DIB ", 33, 20, 6);
  EXPECT_TRUE(Log.Lines.empty()) << "writing reports no progress and no end";

  EXPECT_EQ(IO.OpenAVIFile(Name), 6);
  EXPECT_FALSE(IO.GetAborting());
  EXPECT_EQ(IO.GetParams()->AviFrameCount, 6);
  EXPECT_EQ(IO.GetParams()->AviFrameDelay, 40);
  TIEBitmap Expected;
  for (Integer I : {5, 0, 3}) {
    IO.LoadFromAVI(I);
    ASSERT_FALSE(IO.GetAborting());
    ASSERT_EQ(Picture.GetPixelFormat(), ie24RGB);
    ASSERT_EQ(Picture.GetWidth(), 33);
    PaintFrame(&Expected, 33, 20, I);
    EXPECT_EQ(LargestDifference(&Picture, &Expected), 0) << "frame " << I;
  }
  EXPECT_EQ(IO.GetParams()->BitsPerSample, 8);
  EXPECT_EQ(IO.GetParams()->SamplesPerPixel, 3);
  EXPECT_EQ(IO.GetParams()->DpiX, 300);
  EXPECT_EQ(IO.GetParams()->FileWidth, 33);

  // Past the end, and below 0, nothing changes but the work still ends.
  Log.Lines.clear();
  PaintFrame(&Expected, 33, 20, 3);
  IO.LoadFromAVI(6);
  IO.LoadFromAVI(-1);
  EXPECT_FALSE(IO.GetAborting());
  EXPECT_EQ(LargestDifference(&Picture, &Expected), 0);
  EXPECT_EQ(std::count(Log.Lines.begin(), Log.Lines.end(), "finish"), 2);
  IO.CloseAVIFile();
  IO.CloseAVIFile();
  IO.LoadFromAVI(0);  // no movie open
  EXPECT_FALSE(IO.GetAborting());

  // By extension, frame Params.ImageIndex.
  IO.GetParams()->SetImageIndex(4);
  IO.LoadFromFile(Name);
  EXPECT_FALSE(IO.GetAborting());
  EXPECT_EQ(IO.GetParams()->FileType, ioAVI);
  EXPECT_EQ(IO.GetParams()->FileName, Name);
  PaintFrame(&Expected, 33, 20, 4);
  EXPECT_EQ(LargestDifference(&Picture, &Expected), 0);
}

TEST_F(TAviComponentTest, MotionJpegMovieIsWithinTolerance) {
  const std::u16string Name = PathOf("mjpg.avi");
  WriteMovie(Name, "MJPG", 64, 48, 3);
  ASSERT_EQ(IO.OpenAVIFile(Name), 3);
  IO.LoadFromAVI(2);
  TIEBitmap Expected;
  PaintFrame(&Expected, 64, 48, 2);
  EXPECT_LE(LargestDifference(&Picture, &Expected), 12);
}

TEST_F(TAviComponentTest, FramesOfEveryDepthKeepTheirOwnHeader) {
  const std::u16string Name = PathOf("depths.avi");
  // 8 bits and one sample: palette frames, each carrying its palette.
  IO.GetParams()->BitsPerSample = 8;
  IO.GetParams()->SamplesPerPixel = 1;
  IO.GetParams()->Width = 8;
  IO.GetParams()->Height = 4;
  ASSERT_EQ(IO.CreateAVIFile(Name, 25, "DIB "), 0);
  for (Integer I = 0; I < 2; ++I) {
    Picture.Allocate(8, 4, ie24RGB);
    Picture.Fill(I == 0 ? 0x0000FF : 0x00FF00);
    IO.SaveToAVI();
  }
  IO.CloseAVIFile();
  for (LONG Pos : {0, 1}) {
    const TFrameLook Look = LookAtFrame(Name, Pos);
    ASSERT_EQ(Look.BitCount, 8);
    const Byte Index = Look.Dib[40 + 1024];
    const Byte* Entry = &Look.Dib[40 + 4 * Index];
    EXPECT_EQ(Entry[2], Pos == 0 ? 255 : 0) << "red of frame " << Pos;
    EXPECT_EQ(Entry[1], Pos == 0 ? 0 : 255) << "green of frame " << Pos;
  }

  // A picture with alpha: 32-bit frames whose fourth bytes hold the alpha.
  IO.GetParams()->SamplesPerPixel = 3;
  const std::u16string Unclosed = PathOf("unclosed.avi");
  ASSERT_EQ(IO.CreateAVIFile(Unclosed, 25, "DIB "), 0);
  IO.SaveToAVI();
  ASSERT_EQ(IO.CreateAVIFile(Name, 25, "DIB "), 0);  // replaces the file, finishing the open one
  EXPECT_EQ(LookAtFrame(Unclosed, 0).BitCount, 24);
  Picture.Allocate(8, 4, ie24RGB);
  Picture.Fill(0x102030);
  static_cast<Byte*>(Picture.GetAlphaChannel()->GetScanline(3))[0] = 77;  // bottom-left pixel
  IO.SaveToAVI();
  IO.CloseAVIFile();
  TFrameLook Look = LookAtFrame(Name, 0);
  ASSERT_EQ(Look.BitCount, 32);
  EXPECT_EQ(Look.Dib[40 + 3], 77);
  EXPECT_EQ(Look.Dib[40 + 7], 255);

  // A 1-bit picture: a 1-bit frame under its own two-colour header.
  Picture.RemoveAlphaChannel(false, 0);
  ASSERT_EQ(IO.CreateAVIFile(Name, 25, "DIB "), 0);
  Picture.Allocate(8, 4, ie1g);
  Picture.Fill(0);
  static_cast<Byte*>(Picture.GetScanline(0))[0] = 0x81;  // top row: first and last pixel set
  IO.SaveToAVI();
  IO.CloseAVIFile();
  Look = LookAtFrame(Name, 0);
  ASSERT_EQ(Look.BitCount, 1);
  EXPECT_EQ(Look.Dib[40 + 4 + 0], 255);       // the second entry is white
  EXPECT_EQ(Look.Dib[40 + 8 + 3 * 4], 0x81);  // the top row is the last one
  ASSERT_EQ(IO.OpenAVIFile(Name), 1);
  IO.LoadFromAVI(0);
  EXPECT_EQ(Picture.GetPixelFormat(), ie1g);
  EXPECT_EQ(IO.GetParams()->BitsPerSample, 1);
  EXPECT_EQ(static_cast<const Byte*>(Picture.GetScanline(0))[0], 0x81);
}

TEST_F(TAviComponentTest, LaterFramesTakeTheFirstFramesSizeAndDepth) {
  const std::u16string Name = PathOf("mixed.avi");
  IO.GetParams()->Width = 16;
  IO.GetParams()->Height = 8;
  ASSERT_EQ(IO.CreateAVIFile(Name, 25, "DIB "), 0);
  PaintFrame(&Picture, 16, 8, 0);
  IO.SaveToAVI();
  Picture.Allocate(32, 16, ie1g);  // another size and depth
  Picture.Fill(1);
  IO.SaveToAVI();
  IO.CloseAVIFile();
  ASSERT_EQ(IO.OpenAVIFile(Name), 2);
  IO.LoadFromAVI(1);
  ASSERT_FALSE(IO.GetAborting());
  EXPECT_EQ(Picture.GetWidth(), 16);
  EXPECT_EQ(Picture.GetHeight(), 8);
  EXPECT_EQ(Picture.GetPixelFormat(), ie24RGB);
  EXPECT_EQ(static_cast<const Byte*>(Picture.GetScanline(4))[21], 255);  // white stays white
}

TEST_F(TAviComponentTest, CreationFailuresAreReported) {
  const std::u16string Name = PathOf("fail.avi");
  IO.GetParams()->Width = 30;
  IO.GetParams()->Height = 30;
  EXPECT_EQ(IO.CreateAVIFile(Name, 25, "QQQQ"), 1);
  EXPECT_TRUE(IO.GetAborting());
  // The failed stream takes no frames and fires nothing.
  PaintFrame(&Picture, 30, 30, 0);
  IO.SaveToAVI();
  IO.CloseAVIFile();
  EXPECT_TRUE(Log.Lines.empty());
  if (AviHasMsVideo1()) {
    // Microsoft Video 1 needs sizes in steps of 4: the format is refused, not taken as success.
    EXPECT_EQ(IO.CreateAVIFile(Name, 25, "MSVC"), 3);
    EXPECT_TRUE(IO.GetAborting());
    IO.CloseAVIFile();
  }
  try {
    IO.CreateAVIFile(PathOf("no-such-folder/x.avi"), 25, "DIB ");
    FAIL() << "no exception";
  } catch (const EInvalidGraphic& E) {
    EXPECT_EQ(E.GetMessage(), "unable to create AVI file");
  }
  IEAviFileLibraryExit = nullptr;
  EXPECT_EQ(IO.OpenAVIFile(PathOf("missing.avi")), 0);
  EXPECT_TRUE(IO.GetAborting());
  EXPECT_EQ(IEAviFileLibraryExit, &AVIFileExit) << "the first AVI operation starts the library";
  IO.LoadFromFile(WriteFile("bad.avi", "RIFF\x04\0\0\0AVI "));
  EXPECT_TRUE(IO.GetAborting());
}

TEST_F(TAviComponentTest, CodecListsMatchAndMayBeEmpty) {
  auto Codes = GetVideoCodecFourCCs();
  auto Names = GetVideoCodecNames();
  ASSERT_EQ(Codes->GetCount(), Names->GetCount());
  const Integer Mjpg = Codes->IndexOf("MJPG");
  ASSERT_GE(Mjpg, 0);
  EXPECT_EQ(Names->GetStrings(Mjpg), "Motion JPEG");
  EXPECT_EQ(Codes->GetStrings(0), "DIB ");

  ICSetInstalledCompressorsForTesting(std::vector<FOURCC>{});
  EXPECT_EQ(GetVideoCodecFourCCs()->GetCount(), 0);
  EXPECT_EQ(GetVideoCodecNames()->GetCount(), 0);
}

TEST_F(TAviComponentTest, DelayIsCutToWholeMillisecondsAndFramesLoadInTheBackground) {
  const std::u16string Name = PathOf("24fps.avi");
  IO.GetParams()->Width = 12;
  IO.GetParams()->Height = 6;
  ASSERT_EQ(IO.CreateAVIFile(Name, 24, "DIB "), 0);
  for (Integer I = 0; I < 3; ++I) {
    PaintFrame(&Picture, 12, 6, I);
    IO.SaveToAVI();
  }
  IO.CloseAVIFile();
  ASSERT_EQ(IO.OpenAVIFile(Name), 3);
  EXPECT_EQ(IO.GetParams()->AviFrameDelay, 41);  // 41.67 cut, not rounded

  IO.SetAsyncMode(true);
  IO.LoadFromAVI(1);
  IO.WaitThreads(false);
  TIEBitmap Expected;
  PaintFrame(&Expected, 12, 6, 1);
  EXPECT_EQ(LargestDifference(&Picture, &Expected), 0);
  EXPECT_TRUE(Log.Has("finish"));
}
