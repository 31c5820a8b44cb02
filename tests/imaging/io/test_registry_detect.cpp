#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "RegistryTestSupport.h"
#include "platform/system/Strings.h"
#include "tests/platform/system/TempFolder.h"

namespace {

using namespace std::string_literals;

const std::string PngSignature = "\x89PNG\r\n\x1a\n"s;
const std::string JpegStart = "\xFF\xD8\xFF\xE0"s;
const std::string IcoStart = "\0\0\1\0"s;
const std::string CurStart = "\0\0\2\0"s;

struct TDetectCase {
  const char* Name;
  std::string Bytes;
  TIEFileType Expected;
};

// Each signature at the smallest stream it counts in, and one byte short of it.
const TDetectCase DetectCases[] = {
    {"JFIF stream header", Padded("JFIF\0"s, 13), ioJPEG},
    {"JFIF header of 12 bytes", Padded("JFIF\0"s, 12), ioUnknown},
    {"GIF", Padded("GIF89a", 14), ioGIF},
    {"GIF of 13 bytes", Padded("GIF89a", 13), ioUnknown},
    {"PCX2 stream header", Padded("PCX2\0"s, 13), ioPCX},
    {"PCX 4-byte header", Padded("PCX\0"s, 5), ioPCX},
    {"PCX 4-byte header alone", "PCX\0"s, ioUnknown},
    {"BMP", Padded("BM", 15), ioBMP},
    {"BMP of 14 bytes", Padded("BM", 14), ioUnknown},
    {"PCX file", Padded("\x0A\x05"s, 129), ioPCX},
    {"PCX file of 128 bytes", Padded("\x0A\x05"s, 128), ioUnknown},
    {"PCX version 6", Padded("\x0A\x06"s, 129), ioUnknown},
    {"TIFF stream header", Padded("TIFF\0"s, 13), ioTIFF},
    {"PNG", Padded(PngSignature, 9), ioPNG},
    {"PNG of 8 bytes", PngSignature, ioUnknown},
    {"AVI", Padded("RIFF\0\0\0\0AVI "s, 16), ioAVI},
    {"RIFF WAVE", Padded("RIFF\0\0\0\0WAVE"s, 16), ioUnknown},
    {"JPEG", Padded(JpegStart, 32), ioJPEG},
    {"JPEG after 100 zero bytes", Padded(std::string(100, '\0') + JpegStart, 200), ioJPEG},
    {"JPEG after 149 zero bytes", Padded(std::string(149, '\0') + JpegStart, 200), ioJPEG},
    {"JPEG after 150 zero bytes", Padded(std::string(150, '\0') + JpegStart, 200), ioUnknown},
    {"JPEG cut in its start marker", "\xFF\xD8"s, ioUnknown},
    {"empty", "", ioUnknown},
    {"zeros", std::string(300, '\0'), ioUnknown},
};

TEST_F(TRegistryTest, DetectsEachSignatureFromContentAlone) {
  Build(RegisterFakeBmp);
  for (const TDetectCase& Case : DetectCases) {
    auto Stream = StreamOf(Case.Bytes);
    EXPECT_EQ(DetectStreamFormat(Stream.get()), Case.Expected) << Case.Name;
    EXPECT_EQ(Stream->GetPosition(), 0) << Case.Name;
  }
}

TEST_F(TRegistryTest, DetectsFromTheStreamPositionAndRestoresIt) {
  Build();
  const std::string Prefix(40, 'x');
  for (const TDetectCase& Case : DetectCases) {
    auto Stream = StreamOf(Prefix + Case.Bytes);
    Stream->SetPosition(40);
    const TIEFileType Found = DetectStreamFormat(Stream.get());
    EXPECT_EQ(Stream->GetPosition(), 40) << Case.Name;
    // The size conditions count the whole stream, so only the short cases may differ.
    if (Case.Expected != ioUnknown) {
      EXPECT_EQ(Found, Case.Expected) << Case.Name;
    }
  }
}

// Stands in for the further formats' icon and cursor tests.
bool FakeIcoTest(TStream* Stream) {
  char Head[4] = {};
  return Stream->Read(Head, 4) == 4 && std::string(Head, 4) == IcoStart;
}
bool FakeCurTest(TStream* Stream) {
  char Head[4] = {};
  return Stream->Read(Head, 4) == 4 && std::string(Head, 4) == CurStart;
}
bool ThrowingTest(TStream*) {
  throw std::runtime_error("broken test");
}

TEST_F(TRegistryTest, RunsTheFurtherFormatsTestsOnlyWhenRegistered) {
  Build();
  const std::string Icon = Padded(IcoStart, 64);
  EXPECT_EQ(DetectStreamFormat(StreamOf(Icon).get()), ioUnknown);
  IEFormatProcs.IcoIsFile = FakeIcoTest;
  IEFormatProcs.CurIsFile = FakeCurTest;
  EXPECT_EQ(DetectStreamFormat(StreamOf(Icon).get()), ioICO);
  EXPECT_EQ(DetectStreamFormat(StreamOf(Padded(CurStart, 64)).get()), ioCUR);
}

TEST_F(TRegistryTest, ATestThatRaisesEndsTheDetectionWithNothingFound) {
  Build();
  IEFormatProcs.DicomIsFile = ThrowingTest;
  auto Stream = StreamOf(Padded(JpegStart, 64));
  Stream->SetPosition(3);
  EXPECT_EQ(DetectStreamFormat(Stream.get()), ioUnknown);
  EXPECT_EQ(Stream->GetPosition(), 3);
  // Signatures checked before that test still answer.
  EXPECT_EQ(DetectStreamFormat(StreamOf(Padded(PngSignature, 16)).get()), ioPNG);
}

bool StartsWithQ(TStream* Stream, TIEFileType FileType) {
  char Head = 0;
  return FileType == 77 && Stream->Read(&Head, 1) == 1 && Head == 'Q';
}

TEST_F(TRegistryTest, RegisteredRowsAnswerAfterTheBuiltInTests) {
  Build();
  auto Info = MakeInfo(77, "QQQ", false);
  Info->TestFunction = StartsWithQ;
  RegisterFileFormat(std::move(Info));
  auto Stream = StreamOf("QQQQ");
  EXPECT_EQ(DetectStreamFormat(Stream.get()), 77);
  EXPECT_EQ(Stream->GetPosition(), 0);
  // The JPEG start search comes first.
  EXPECT_EQ(DetectStreamFormat(StreamOf("Q" + JpegStart + "Q").get()), ioJPEG);
}

class TFindFileFormatTest : public TRegistryTest {
 protected:
  std::u16string Write(const std::string& Name, const std::string& Bytes) {
    std::ofstream(FFolder / Name, std::ios::binary) << Bytes;
    return Utf8ToUtf16(FFolder / Name);
  }
  TTempFolder FFolder;
};

TEST_F(TFindFileFormatTest, ContentAndExtensionAreReconciled) {
  Build(RegisterFakeBmp);
  IEFormatProcs.IcoIsFile = FakeIcoTest;
  IEFormatProcs.CurIsFile = FakeCurTest;
  RegisterFileFormat(MakeInfo(ioICO, "ICO"));
  RegisterFileFormat(MakeInfo(ioCUR, "CUR"));
  const std::string Png = Padded(PngSignature, 64);
  const std::string Jpeg = Padded(JpegStart, 64);
  const std::string Icon = Padded(IcoStart, 64);
  struct TCase {
    const char* Name;
    const std::string& Bytes;
    TIEFileType WithoutVerify;
    TIEFileType WithVerify;
  };
  const TCase Cases[] = {
      {"a.png", Png, ioPNG, ioPNG},  {"a.jpg", Png, ioPNG, ioUnknown}, {"a.JPG", Jpeg, ioJPEG, ioJPEG},
      {"a.xyz", Jpeg, ioJPEG, 0},    {"noext", Jpeg, ioJPEG, 0},       {"a.ico", Icon, ioICO, ioICO},
      {"a.cur", Icon, ioICO, ioCUR}, {"a.bmp", Icon, ioICO, ioBMP},    {"a.png", std::string(64, 'z'), 0, 0},
  };
  for (const TCase& Case : Cases) {
    const std::u16string File = Write(Case.Name, Case.Bytes);
    EXPECT_EQ(FindFileFormat(File, false), Case.WithoutVerify) << Case.Name;
    EXPECT_EQ(FindFileFormat(File, true), Case.WithVerify) << Case.Name;
  }
}

TEST_F(TFindFileFormatTest, RawFilesOnTiffAndExternalFormatsFollowTheirExtension) {
  Build();
  RegisterFileFormat(MakeInfo(ioRAW, "NEF;CR2"));
  RegisterFileFormat(MakeInfo(88, "EXT", false));
  const std::u16string Raw = Write("a.nef", Padded("TIFF\0"s, 64));
  EXPECT_EQ(FindFileFormat(Raw, false), ioRAW);
  EXPECT_EQ(FindFileFormat(Raw, true), ioRAW);
  const std::u16string External = Write("a.ext", Padded(PngSignature, 64));
  EXPECT_EQ(FindFileFormat(External, false), 88);
  EXPECT_EQ(FindFileFormat(External, true), 88);
}

TEST_F(TFindFileFormatTest, MissingFilesAndFoldersAreUnknown) {
  Build();
  EXPECT_EQ(FindFileFormat(u"", false), ioUnknown);
  EXPECT_EQ(FindFileFormat(Utf8ToUtf16(FFolder / "none.png"), false), ioUnknown);
  EXPECT_EQ(FindFileFormat(Utf8ToUtf16(FFolder.Path()), false), ioUnknown);
}

}  // namespace
