// The AVI file library: movies written frame by frame read back by it and by ffprobe.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>

#include "AviTestSupport.h"
#include "platform/media/AviFile.h"
#include "platform/media/VideoCompressors.h"

namespace {

struct TWriter {
  PAVIFILE File = nullptr;
  PAVISTREAM Plain = nullptr;
  PAVISTREAM Stream = nullptr;
  TWriter(const std::u16string& Name, Integer Width, Integer Height, FOURCC Codec, DWORD Rate = 25) {
    EXPECT_EQ(AVIFileOpenW(&File, Name, OF_WRITE | OF_CREATE, nullptr), AVIERR_OK);
    AVISTREAMINFOW Info;
    Info.fccType = streamtypeVIDEO;
    Info.dwScale = 1;
    Info.dwRate = Rate;
    Info.dwQuality = 0xFFFFFFFFu;
    Info.rcFrame = RECT{0, 0, Width, Height};
    EXPECT_EQ(AVIFileCreateStreamW(File, &Plain, &Info), AVIERR_OK);
    AVICOMPRESSOPTIONS Options;
    Options.fccType = streamtypeVIDEO;
    Options.fccHandler = Codec;
    Options.dwQuality = 0xFFFFFFFFu;
    EXPECT_EQ(AVIMakeCompressedStream(&Stream, Plain, &Options, nullptr), AVIERR_OK);
  }
  HRESULT Frame(const std::vector<Byte>& Header, const std::vector<Byte>& Rows, bool SetFormat) {
    const LONG Pos = AVIStreamLength(Stream);
    if (SetFormat) {
      const HRESULT Result = AVIStreamSetFormat(Stream, Pos, Header.data(), static_cast<LONG>(Header.size()));
      if (Result != AVIERR_OK) return Result;
    }
    return AVIStreamWrite(Stream, Pos, 1, Rows.data(), static_cast<LONG>(Rows.size()), AVIIF_KEYFRAME,
                          nullptr, nullptr);
  }
  void Close() {
    AVIStreamRelease(Stream);
    AVIStreamRelease(Plain);
    AVIFileRelease(File);
    Stream = Plain = nullptr;
    File = nullptr;
  }
  ~TWriter() { Close(); }
};

struct TReader {
  PAVIFILE File = nullptr;
  PAVISTREAM Stream = nullptr;
  PGETFRAME Frames = nullptr;
  AVISTREAMINFOW Info;
  explicit TReader(const std::u16string& Name) {
    EXPECT_EQ(AVIFileOpenW(&File, Name, OF_READ, nullptr), AVIERR_OK);
    EXPECT_EQ(AVIFileGetStream(File, &Stream, streamtypeVIDEO, 0), AVIERR_OK);
    EXPECT_EQ(AVIStreamInfoW(Stream, &Info, sizeof Info), AVIERR_OK);
    Frames = AVIStreamGetFrameOpen(Stream, nullptr);
    EXPECT_NE(Frames, nullptr);
  }
  const Byte* Frame(LONG Pos) { return static_cast<const Byte*>(AVIStreamGetFrame(Frames, Pos)); }
  ~TReader() {
    AVIStreamGetFrameClose(Frames);
    AVIStreamRelease(Stream);
    AVIFileRelease(File);
  }
};

Integer HeaderBitCount(const Byte* Dib) {
  return Dib[14] | (Dib[15] << 8);
}

}  // namespace

TEST(AviFile, UncompressedFramesReadBackEqualAt40msPerFrame) {
  TAviTempFile Movie("dib.avi");
  constexpr Integer W = 37, H = 21, Count = 12;  // rows padded to 4 bytes
  {
    TWriter Writer(Movie.Wide(), W, H, comptypeDIB);
    for (Integer I = 0; I < Count; ++I)
      ASSERT_EQ(Writer.Frame(AviTestHeader(W, H, 24), AviTestFrame24(W, H, I), I == 0), AVIERR_OK);
    EXPECT_EQ(AVIStreamLength(Writer.Stream), Count);
  }
  TReader Reader(Movie.Wide());
  EXPECT_EQ(Reader.Info.dwLength, Count);
  EXPECT_EQ(Reader.Info.dwRate, 25u);
  EXPECT_EQ(Reader.Info.dwScale, 1u);
  EXPECT_EQ(AVIStreamSampleToTime(Reader.Stream, 1), 40);
  EXPECT_EQ(Reader.Info.rcFrame.Right, W);
  // Out of order, so both reading on and seeking back are used.
  for (Integer I : {0, 1, 2, 7, 3, 11, 11, 5}) {
    const Byte* Dib = Reader.Frame(I);
    ASSERT_NE(Dib, nullptr) << I;
    EXPECT_EQ(HeaderBitCount(Dib), 24);
    const std::vector<Byte> Expected = AviTestFrame24(W, H, I);
    EXPECT_EQ(std::memcmp(Dib + 40, Expected.data(), Expected.size()), 0) << "frame " << I;
  }
  EXPECT_EQ(Reader.Frame(Count), nullptr);
  EXPECT_EQ(Reader.Frame(-1), nullptr);
  if (HaveProbe()) {
    EXPECT_EQ(ProbeField(Movie.Path(), "nb_read_frames", true), std::to_string(Count));
    EXPECT_EQ(ProbeField(Movie.Path(), "r_frame_rate"), "25/1");
    EXPECT_EQ(ProbeField(Movie.Path(), "width"), std::to_string(W));
  }
}

TEST(AviFile, MotionJpegFramesReadBackWithinTolerance) {
  TAviTempFile Movie("mjpg.avi");
  constexpr Integer W = 160, H = 120, Count = 5;
  {
    TWriter Writer(Movie.Wide(), W, H, mmioFOURCC('M', 'J', 'P', 'G'));
    ASSERT_NE(Writer.Stream, nullptr);
    for (Integer I = 0; I < Count; ++I)
      ASSERT_EQ(Writer.Frame(AviTestHeader(W, H, 24), AviTestFrame24(W, H, I), I == 0), AVIERR_OK);
  }
  TReader Reader(Movie.Wide());
  EXPECT_EQ(Reader.Info.dwLength, Count);
  EXPECT_EQ(Reader.Info.fccHandler, mmioFOURCC('M', 'J', 'P', 'G'));
  for (Integer I : {0, 4, 2}) {
    const Byte* Dib = Reader.Frame(I);
    ASSERT_NE(Dib, nullptr) << I;
    EXPECT_EQ(HeaderBitCount(Dib), 24);
    const std::vector<Byte> Expected = AviTestFrame24(W, H, I);
    Integer Worst = 0;
    for (std::size_t B = 0; B < Expected.size(); ++B)
      Worst = std::max(Worst, std::abs(Integer(Dib[40 + B]) - Integer(Expected[B])));
    EXPECT_LE(Worst, 12) << "frame " << I;
  }
  if (HaveProbe()) {
    EXPECT_EQ(ProbeField(Movie.Path(), "codec_name"), "mjpeg");
    EXPECT_EQ(ProbeField(Movie.Path(), "nb_read_frames", true), std::to_string(Count));
  }
}

TEST(AviFile, PaletteFramesKeepTheirOwnPaletteAndOneBitFramesStayOneBit) {
  TAviTempFile Movie("pal.avi");
  constexpr Integer W = 9, H = 4;
  auto PaletteOf = [](Integer Frame) {
    std::vector<RGBQUAD> P(256);
    for (Integer I = 0; I < 256; ++I)
      P[I] = RGBQUAD{static_cast<Byte>(I), static_cast<Byte>(Frame * 50 + 10), static_cast<Byte>(255 - I), 0};
    return P;
  };
  std::vector<Byte> Rows(static_cast<std::size_t>(AviTestRowBytes(W, 8)) * H);
  for (std::size_t I = 0; I < Rows.size(); ++I) Rows[I] = static_cast<Byte>(I * 7);
  {
    TWriter Writer(Movie.Wide(), W, H, comptypeDIB);
    for (Integer I = 0; I < 3; ++I)
      ASSERT_EQ(Writer.Frame(AviTestHeader(W, H, 8, PaletteOf(I)), Rows, true), AVIERR_OK);
    // A later format of another depth is refused; the movie keeps its format.
    EXPECT_EQ(Writer.Frame(AviTestHeader(W, H, 24), AviTestFrame24(W, H, 0), true), AVIERR_BADFORMAT);
  }
  TReader Reader(Movie.Wide());
  EXPECT_EQ(Reader.Info.dwLength, 3u);
  for (Integer I : {2, 0, 1}) {
    const Byte* Dib = Reader.Frame(I);
    ASSERT_NE(Dib, nullptr);
    ASSERT_EQ(HeaderBitCount(Dib), 8);
    EXPECT_EQ(Dib[40 + 4 * 10 + 1], I * 50 + 10) << "green of entry 10 in frame " << I;
    EXPECT_EQ(std::memcmp(Dib + 40 + 1024, Rows.data(), Rows.size()), 0);
  }

  TAviTempFile Mono("mono.avi");
  const std::vector<RGBQUAD> BlackWhite = {RGBQUAD{0, 0, 0, 0}, RGBQUAD{255, 255, 255, 0}};
  std::vector<Byte> Bits(static_cast<std::size_t>(AviTestRowBytes(W, 1)) * H, 0);
  Bits[0] = 0xA5;
  Bits[1] = 0x80;
  {
    TWriter Writer(Mono.Wide(), W, H, comptypeDIB);
    ASSERT_EQ(Writer.Frame(AviTestHeader(W, H, 1, BlackWhite), Bits, true), AVIERR_OK);
  }
  TReader MonoReader(Mono.Wide());
  const Byte* Dib = MonoReader.Frame(0);
  ASSERT_NE(Dib, nullptr);
  EXPECT_EQ(HeaderBitCount(Dib), 1);
  EXPECT_EQ(Dib[40 + 4 + 2], 255);  // the second entry is white
  EXPECT_EQ(Dib[48], 0xA5);
  EXPECT_EQ(Dib[49], 0x80);
}

TEST(AviFile, LongMovieDurationsNeedMoreThan32BitsOf100ns) {
  // 6,000 frames at 25 per second: 240 s, past the 214.7 s that 32 bits of 100 ns can hold.
  TAviTempFile Movie("long.avi");
  constexpr Integer Count = 6000;
  const std::vector<Byte> Rows(static_cast<std::size_t>(AviTestRowBytes(4, 24)) * 2, 0x40);
  {
    TWriter Writer(Movie.Wide(), 4, 2, comptypeDIB);
    for (Integer I = 0; I < Count; ++I)
      ASSERT_EQ(Writer.Frame(AviTestHeader(4, 2, 24), Rows, I == 0), AVIERR_OK);
  }
  TReader Reader(Movie.Wide());
  EXPECT_EQ(Reader.Info.dwLength, static_cast<DWORD>(Count));
  EXPECT_EQ(AVIStreamSampleToTime(Reader.Stream, Count), 240000);
  EXPECT_EQ(AVIStreamTimeToSample(Reader.Stream, 239999), Count - 1);
  AVIFILEINFOW FileInfo;
  ASSERT_EQ(AVIFileInfoW(Reader.File, &FileInfo, sizeof FileInfo), AVIERR_OK);
  EXPECT_EQ(FileInfo.dwLength, static_cast<DWORD>(Count));
  EXPECT_NE(Reader.Frame(Count - 1), nullptr);
  if (HaveProbe()) {
    EXPECT_EQ(ProbeField(Movie.Path(), "duration").substr(0, 3), "240");
  }
}

TEST(AviFile, AMovieWithoutFramesIsAValidEmptyMovie) {
  TAviTempFile Movie("empty.avi");
  { TWriter Writer(Movie.Wide(), 32, 16, comptypeDIB); }
  TReader Reader(Movie.Wide());
  EXPECT_EQ(Reader.Info.dwLength, 0u);
  EXPECT_EQ(Reader.Frame(0), nullptr);
  if (HaveProbe()) {
    EXPECT_EQ(ProbeField(Movie.Path(), "width"), "32");
  }
}

TEST(AviFile, FailuresAreReported) {
  PAVIFILE File = nullptr;
  EXPECT_EQ(AVIFileOpenW(&File, u"/nonexistent-folder/x.avi", OF_READ, nullptr), AVIERR_FILEOPEN);
  EXPECT_EQ(AVIFileOpenW(&File, u"/nonexistent-folder/x.avi", OF_WRITE | OF_CREATE, nullptr),
            AVIERR_FILEOPEN);
  EXPECT_EQ(File, nullptr);

  TAviTempFile Garbage("garbage.avi");
  std::ofstream(Garbage.Path()) << "RIFF\x10\0\0\0AVI nothing here";
  EXPECT_NE(AVIFileOpenW(&File, Garbage.Wide(), OF_READ, nullptr), AVIERR_OK);
  EXPECT_EQ(File, nullptr);

  TAviTempFile Movie("fail.avi");
  TWriter Writer(Movie.Wide(), 16, 16, comptypeDIB);
  PAVISTREAM Compressed = nullptr;
  AVICOMPRESSOPTIONS Options;
  Options.fccHandler = mmioFOURCC('Q', 'Q', 'Q', 'Q');
  EXPECT_EQ(AVIMakeCompressedStream(&Compressed, Writer.Plain, &Options, nullptr), AVIERR_NOCOMPRESSOR);
  EXPECT_EQ(Compressed, nullptr);
  // Frames before a format, and of too few bytes, are refused.
  const std::vector<Byte> Short(10);
  EXPECT_EQ(AVIStreamWrite(Writer.Stream, 0, 1, Short.data(), 10, 0, nullptr, nullptr), AVIERR_BADFORMAT);
  const std::vector<Byte> Header = AviTestHeader(16, 16, 24);
  ASSERT_EQ(AVIStreamSetFormat(Writer.Stream, 0, Header.data(), 40), AVIERR_OK);
  EXPECT_EQ(AVIStreamWrite(Writer.Stream, 0, 1, Short.data(), 10, 0, nullptr, nullptr), AVIERR_BADSIZE);
  const std::vector<Byte> Other = AviTestHeader(8, 16, 24);
  EXPECT_EQ(AVIStreamSetFormat(Writer.Stream, 0, Other.data(), 40), AVIERR_BADFORMAT);
}

TEST(AviFile, ACompressorThatCannotTakeTheFrameSizeIsUnsupported) {
  // Microsoft Video 1 works on 4 x 4 blocks.
  if (!AviHasCompressor(mmioFOURCC('M', 'S', 'V', 'C'))) GTEST_SKIP() << "no Microsoft Video 1 encoder";
  TAviTempFile Movie("cram.avi");
  PAVIFILE File = nullptr;
  ASSERT_EQ(AVIFileOpenW(&File, Movie.Wide(), OF_WRITE | OF_CREATE, nullptr), AVIERR_OK);
  AVISTREAMINFOW Info;
  Info.fccType = streamtypeVIDEO;
  Info.dwScale = 1;
  Info.dwRate = 25;
  Info.rcFrame = RECT{0, 0, 30, 30};
  PAVISTREAM Plain = nullptr, Compressed = nullptr;
  ASSERT_EQ(AVIFileCreateStreamW(File, &Plain, &Info), AVIERR_OK);
  AVICOMPRESSOPTIONS Options;
  Options.fccHandler = mmioFOURCC('M', 'S', 'V', 'C');
  EXPECT_EQ(AVIMakeCompressedStream(&Compressed, Plain, &Options, nullptr), AVIERR_UNSUPPORTED);
  AVIStreamRelease(Plain);
  AVIFileRelease(File);
}

TEST(AviFile, FramesOfASizeABlockCoderCannotTakeAreCodedAtTheNextStep) {
  // The program creates its stream before it knows the frame size; Microsoft Video 1 codes
  // 4 x 4 blocks, so 30 x 30 frames become 32 x 32 instead of a movie without frames.
  if (!AviHasCompressor(mmioFOURCC('M', 'S', 'V', 'C'))) GTEST_SKIP() << "no Microsoft Video 1 encoder";
  TAviTempFile Movie("cram-odd.avi");
  constexpr Integer W = 30, H = 30, Count = 3;
  {
    TWriter Writer(Movie.Wide(), 0, 0, mmioFOURCC('M', 'S', 'V', 'C'));
    ASSERT_NE(Writer.Stream, nullptr);
    for (Integer I = 0; I < Count; ++I)
      ASSERT_EQ(Writer.Frame(AviTestHeader(W, H, 24), AviTestFrame24(W, H, I), I == 0), AVIERR_OK);
  }
  TReader Reader(Movie.Wide());
  EXPECT_EQ(Reader.Info.dwLength, Count);
  const Byte* Dib = Reader.Frame(Count - 1);
  ASSERT_NE(Dib, nullptr);
  EXPECT_EQ(Dib[4], 32);
  EXPECT_EQ(Dib[8], 32);
  if (HaveProbe()) {
    EXPECT_EQ(ProbeField(Movie.Path(), "nb_read_frames", true), std::to_string(Count));
  }
}
