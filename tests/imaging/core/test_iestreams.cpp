#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <numeric>
#include <string>
#include <vector>

#include "imaging/core/iestreams.h"
#include "platform/system/Exceptions.h"
#include "platform/system/Files.h"
#include "platform/system/Strings.h"

namespace {

// A memory stream that counts the reads its users make.
class TCountingStream : public TMemoryStream {
 public:
  Integer Read(void* Buffer, Integer Count) override {
    ++Reads;
    return TMemoryStream::Read(Buffer, Count);
  }
  Integer Reads = 0;
};

// Bytes 0, 1, 2, ... (mod 256) of the given length.
std::vector<Byte> Ramp(size_t Length) {
  std::vector<Byte> Bytes(Length);
  for (size_t I = 0; I < Length; ++I) Bytes[I] = static_cast<Byte>(I);
  return Bytes;
}

void Fill(TMemoryStream& Stream, const std::vector<Byte>& Bytes) {
  Stream.Write(Bytes.data(), static_cast<Integer>(Bytes.size()));
  Stream.SetPosition(0);
}

std::string Contents(TMemoryStream& Stream) {
  return {static_cast<const char*>(Stream.GetMemory()), static_cast<size_t>(Stream.GetSize())};
}

class TTempDir {
 public:
  TTempDir() {
    std::string Pattern = "/tmp/tv-iestreams-XXXXXX";
    if (!mkdtemp(Pattern.data())) std::abort();
    FPath = Pattern;
  }
  ~TTempDir() {
    std::error_code Ec;
    std::filesystem::remove_all(FPath, Ec);
  }
  std::string operator/(const std::string& Name) const { return FPath + "/" + Name; }

 private:
  std::string FPath;
};

}  // namespace

TEST(IEBufferedReadStream, RelativeOriginCountsFromTheCreationPosition) {
  TMemoryStream Source;
  Fill(Source, Ramp(300));
  Source.SetPosition(100);
  TIEBufferedReadStream Stream(&Source, 16, true);
  EXPECT_EQ(Stream.GetPosition(), 0);
  EXPECT_EQ(Stream.GetSize(), 200);
  Byte B = 0;
  Stream.Seek(50, soBeginning);
  ASSERT_EQ(Stream.Read(&B, 1), 1);
  EXPECT_EQ(B, 150);
  EXPECT_EQ(Stream.Seek(0, soBeginning), 0);
  ASSERT_EQ(Stream.Read(&B, 1), 1);
  EXPECT_EQ(B, 100);

  Source.SetPosition(100);  // the first stream's reads moved it
  TIEBufferedReadStream Absolute(&Source, 16, false);
  EXPECT_EQ(Absolute.GetPosition(), 100) << "the source's position, counted from its start";
  EXPECT_EQ(Absolute.GetSize(), 300);
}

TEST(IEBufferedReadStream, MixedReadsAcrossBufferRefillsDeliverTheSourceInOrder) {
  const std::vector<Byte> Bytes = Ramp(1000);
  TMemoryStream Source;
  Fill(Source, Bytes);
  TIEBufferedReadStream Stream(&Source, 7, false);
  std::vector<Byte> Got;
  const Integer Steps[] = {1, 1, 5, 1, 13, 2, 7, 1, 40, 1};
  for (size_t I = 0; Got.size() < Bytes.size(); ++I) {
    std::vector<Byte> Chunk(static_cast<size_t>(Steps[I % std::size(Steps)]));
    const Integer N = Stream.Read(Chunk.data(), static_cast<Integer>(Chunk.size()));
    Got.insert(Got.end(), Chunk.begin(), Chunk.begin() + N);
  }
  EXPECT_EQ(Got, Bytes);
}

TEST(IEBufferedReadStream, ReadingPastTheEndDeliversWhatRemainsAndSetsTheEndFlag) {
  TMemoryStream Source;
  Fill(Source, Ramp(20));
  TIEBufferedReadStream Stream(&Source, 8, false);
  Stream.Seek(16, soBeginning);
  Byte Buf[10] = {};
  EXPECT_FALSE(Stream.GetEndReached());
  EXPECT_EQ(Stream.Read(Buf, 10), 4);
  EXPECT_TRUE(Stream.GetEndReached());
  EXPECT_EQ(Buf[0], 16);
  EXPECT_EQ(Buf[3], 19);
  EXPECT_EQ(Stream.Read(Buf, 1), 0);
  EXPECT_TRUE(Stream.GetEndReached());
  Stream.Seek(0, soBeginning);
  EXPECT_FALSE(Stream.GetEndReached()) << "every seek clears the flag";
}

TEST(IEBufferedReadStream, SeeksAreClampedToTheSource) {
  TMemoryStream Source;
  Fill(Source, Ramp(20));
  TIEBufferedReadStream Stream(&Source, 8, false);
  EXPECT_EQ(Stream.Seek(-5, soBeginning), 0);
  EXPECT_FALSE(Stream.GetEndReached());
  EXPECT_EQ(Stream.Seek(25, soBeginning), 20);
  EXPECT_TRUE(Stream.GetEndReached());
  Stream.Seek(10, soBeginning);
  EXPECT_EQ(Stream.Seek(3, soCurrent), 13);
  EXPECT_EQ(Stream.Seek(-20, soCurrent), 0);
  EXPECT_EQ(Stream.Seek(0, soEnd), 20);
  EXPECT_EQ(Stream.Seek(4, soEnd), 16) << "the offset counts back from the end";
  Byte B = 0;
  Stream.Read(&B, 1);
  EXPECT_EQ(B, 16);
}

TEST(IEBufferedReadStream, SeeksInsideTheBufferDoNotReadTheSource) {
  TCountingStream Source;
  Fill(Source, Ramp(100));
  TIEBufferedReadStream Stream(&Source, 16, false);
  const Integer AfterFill = Source.Reads;
  Byte B = 0;
  Stream.Seek(10, soBeginning);
  Stream.Read(&B, 1);
  Stream.Seek(-8, soCurrent);
  Stream.Read(&B, 1);
  EXPECT_EQ(B, 3);
  Stream.Seek(15, soBeginning);
  Stream.Read(&B, 1);
  EXPECT_EQ(B, 15);
  EXPECT_EQ(Source.Reads, AfterFill);
  Stream.Read(&B, 1);  // the first byte past the window
  EXPECT_EQ(B, 16);
  EXPECT_EQ(Source.Reads, AfterFill + 1);
  Stream.Seek(50, soBeginning);  // outside: refilled from there
  Stream.Read(&B, 1);
  EXPECT_EQ(B, 50);
  EXPECT_EQ(Source.Reads, AfterFill + 2);
}

TEST(IEBufferedReadStream, RefusesToWrite) {
  TMemoryStream Source;
  TIEBufferedReadStream Stream(&Source, 8, false);
  try {
    Stream.Write("x", 1);
    FAIL() << "no exception";
  } catch (const Exception& E) {
    EXPECT_EQ(E.GetMessage(), "TIEBufferedReadStream cannot write!");
  }
}

TEST(IEBufferedReadStream, BufferSizeChangesKeepThePosition) {
  TMemoryStream Source;
  Fill(Source, Ramp(64));
  TIEBufferedReadStream Stream(&Source, 0, false);  // a size of 0 still reads
  Byte B = 0;
  Stream.Seek(9, soBeginning);
  ASSERT_EQ(Stream.Read(&B, 1), 1);
  EXPECT_EQ(B, 9);
  Stream.SetBufferSize(4);
  Byte Buf[6];
  ASSERT_EQ(Stream.Read(Buf, 6), 6);
  EXPECT_EQ(Buf[0], 10);
  EXPECT_EQ(Buf[5], 15);
}

TEST(NulStream, CountsWithoutMovingBytes) {
  TNulStream Stream;
  const char Ten[10] = {};
  EXPECT_EQ(Stream.Write(Ten, 10), 10);
  EXPECT_EQ(Stream.Seek(4, soBeginning), 4);
  EXPECT_EQ(Stream.Write(Ten, 2), 2);
  EXPECT_EQ(Stream.GetPosition(), 6);
  EXPECT_EQ(Stream.GetSize(), 10);
  EXPECT_EQ(Stream.Seek(3, soEnd), 7) << "size minus the offset";
  char Sink[12];
  EXPECT_EQ(Stream.Read(Sink, 12), 12);
  EXPECT_EQ(Stream.GetSize(), 19);
  EXPECT_EQ(Stream.Seek(5, soCurrent), 24);
  EXPECT_EQ(Stream.GetSize(), 24);
}

TEST(IEMemStream, ReadsTheCallersMemoryAndWritesNothing) {
  char Memory[] = "abcdef";
  TIEMemStream Stream(Memory, 6);
  EXPECT_EQ(Stream.GetSize(), 6);
  char Buf[4] = {};
  EXPECT_EQ(Stream.Read(Buf, 4), 4);
  EXPECT_EQ(std::string(Buf, 4), "abcd");
  Stream.SetPosition(0);
  EXPECT_EQ(Stream.Write("XY", 2), 0);
  Stream.SetSize(2);
  EXPECT_EQ(std::string(Memory), "abcdef");
  EXPECT_EQ(Stream.GetSize(), 6);
}

TEST(IEWideFileStream, CreatesWritesAndOpensByWideName) {
  TTempDir Dir;
  const std::u16string Name = Utf8ToUtf16(Dir / "bild-\xC3\xA4.raw");
  {
    TIEWideFileStream Out(Name, ieCreateFileMode);
    Out.WriteBuffer("pixels", 6);
  }
  {
    TIEWideFileStream In(Name, fmOpenRead | fmShareDenyWrite);  // mode 32, as the readers open
    char Buf[6];
    In.ReadBuffer(Buf, 6);
    EXPECT_EQ(std::string(Buf, 6), "pixels");
    EXPECT_EQ(In.Write("x", 1), 0) << "opened for reading only";
  }
  TIEWideFileStream Again(Name, ieCreateFileMode);
  EXPECT_EQ(Again.GetSize(), 0) << "creating empties an existing file";
}

TEST(IEWideFileStream, FailuresRaiseWithTheFullPathAndTheSystemMessage) {
  TTempDir Dir;
  const std::string Missing = Dir / "missing.tif";
  try {
    TIEWideFileStream Stream(Utf8ToUtf16(Missing), 32);
    FAIL() << "opened a missing file";
  } catch (const EFOpenError& E) {
    EXPECT_EQ(E.GetMessage(),
              "Cannot open file \"" + Missing + "\". The system cannot find the file specified.");
  }
  try {
    TIEWideFileStream Stream(u"tv-no-such-dir\\missing.tif", 32);
    FAIL() << "opened a missing file";
  } catch (const EFOpenError& E) {
    EXPECT_EQ(E.GetMessage(), "Cannot open file \"" + GetCurrentDir() +
                                  "/tv-no-such-dir/missing.tif\". The system cannot find the path specified.")
        << "a relative name is shown as its full path";
  }
  const std::string NoFolder = Dir / "none/new.tif";
  try {
    TIEWideFileStream Stream(Utf8ToUtf16(NoFolder), ieCreateFileMode);
    FAIL() << "created a file in a missing folder";
  } catch (const EFCreateError& E) {
    EXPECT_EQ(E.GetMessage(),
              "Cannot create file \"" + NoFolder + "\". The system cannot find the path specified.");
  }
}

TEST(IEFileOpenW, RefusesModesOutsideTheConvention) {
  TTempDir Dir;
  const std::u16string Name = Utf8ToUtf16(Dir / "f");
  const THandle Created = IEFileCreateW(Name);
  ASSERT_NE(Created, INVALID_HANDLE_VALUE);
  CloseHandle(Created);
  for (Word Mode : {Word(3), Word(0x50), Word(0x70)}) {
    SCOPED_TRACE(Mode);
    EXPECT_EQ(IEFileOpenW(Name, Mode), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  }
  for (Word Mode : {Word(0), Word(0x12), Word(0x40)}) {
    SCOPED_TRACE(Mode);
    const THandle H = IEFileOpenW(Name, Mode);
    EXPECT_NE(H, INVALID_HANDLE_VALUE);
    CloseHandle(H);
  }
}

TEST(IESafeStreamWrite, AShortWriteRaisesTheAbortFlagForGood) {
  bool Aborting = false;
  TMemoryStream Good;
  IESafeStreamWrite(&Good, Aborting, "abc", 3);
  EXPECT_FALSE(Aborting);
  char Memory[4] = {};
  TIEMemStream Refusing(Memory, 4);
  IESafeStreamWrite(&Refusing, Aborting, "abc", 3);
  EXPECT_TRUE(Aborting);
  IESafeStreamWrite(&Good, Aborting, "abc", 3);
  EXPECT_TRUE(Aborting) << "never cleared";
  EXPECT_EQ(Good.GetSize(), 6);
}

TEST(IESwap, ByteOrderSwaps) {
  EXPECT_EQ(IESwapWord(0x12345678), 0x12347856) << "the upper half passes through";
  EXPECT_EQ(IESwapDWord(0x12345678u), 0x78563412u);
  EXPECT_EQ(IESwapWordIf(0x1234, false), 0x1234);
  EXPECT_EQ(IESwapWordIf(0x1234, true), 0x3412);
  EXPECT_EQ(IESwapDWordIf(0x01020304u, false), 0x01020304u);
  EXPECT_EQ(IESwapDWordIf(0x01020304u, true), 0x04030201u);
  Byte Words[6] = {1, 2, 3, 4, 5, 6};
  IESwapWordArray(Words, 2);
  EXPECT_EQ(std::vector<Byte>(Words, Words + 6), (std::vector<Byte>{2, 1, 4, 3, 5, 6}));
}

TEST(IECopyFrom, CountZeroCopiesTheWholeSourceFromItsStart) {
  const std::vector<Byte> Bytes = Ramp(0x70000);  // three steps of the copy
  TMemoryStream Source, Dest;
  Fill(Source, Bytes);
  Source.SetPosition(1234);
  EXPECT_EQ(IECopyFrom(&Dest, &Source, 0), 0x70000);
  EXPECT_EQ(Contents(Dest), std::string(Bytes.begin(), Bytes.end()));
}

TEST(IECopyFrom, NeverCopiesMoreThanTheSourceHolds) {
  TMemoryStream Source, Dest;
  Fill(Source, Ramp(100));
  Source.SetPosition(90);
  EXPECT_EQ(IECopyFrom(&Dest, &Source, 50), 10);
  EXPECT_EQ(Dest.GetSize(), 10);
  EXPECT_EQ(IECopyFrom(&Dest, &Source, -5), 0);
  Source.SetPosition(20);
  EXPECT_EQ(IECopyFrom(&Dest, &Source, 5), 5);
  EXPECT_EQ(static_cast<const Byte*>(Dest.GetMemory())[10], 20);
}

TEST(IECopyFrom, AShortWriteRaises) {
  TMemoryStream Source;
  Fill(Source, Ramp(10));
  char Memory[10];
  TIEMemStream Refusing(Memory, 10);
  EXPECT_THROW(IECopyFrom(&Refusing, &Source, 0), EWriteError);
}

TEST(IETextWriters, WriteTheCharactersAndTheirLineEnds) {
  TMemoryStream Stream;
  IEWriteStr(&Stream, "%PDF");
  IEWriteLn(&Stream, "-1.4");
  IEWriteLnLF(&Stream, "obj");
  IEWriteStr(&Stream, "");
  EXPECT_EQ(Contents(Stream), "%PDF-1.4\r\nobj\n");
}

TEST(IEStringStream, SavesALengthPrefixAndLoadsItBack) {
  TMemoryStream Stream;
  IESaveStringToStream(&Stream, "Ab\xC3\xA4");
  IESaveStringToStream(&Stream, "");
  EXPECT_EQ(Contents(Stream), std::string("\x04\0\0\0Ab\xC3\xA4\0\0\0\0", 12));
  Stream.SetPosition(0);
  std::string Text = "old";
  IELoadStringFromStream(&Stream, Text);
  EXPECT_EQ(Text, "Ab\xC3\xA4");
  IELoadStringFromStream(&Stream, Text);
  EXPECT_EQ(Text, "");
}

TEST(IEStringStream, RefusesLengthsTheStreamCannotHold) {
  const std::string Cases[] = {
      std::string("\x05\0\0\0abcd", 8),    // one character short
      std::string("\xFF\xFF\xFF\xFF", 4),  // negative
      std::string("\xFF\xFF\xFF\x7F"
                  "a",
                  5),            // 2 GB claimed
      std::string("\x01\0", 2),  // no whole length
  };
  for (const std::string& Bytes : Cases) {
    TMemoryStream Stream;
    Fill(Stream, std::vector<Byte>(Bytes.begin(), Bytes.end()));
    std::string Text = "kept";
    EXPECT_THROW(IELoadStringFromStream(&Stream, Text), EReadError);
    EXPECT_EQ(Text, "kept");
  }
}

TEST(IEFileExists, TrueForFilesOnly) {
  TTempDir Dir;
  const std::string File = Dir / "\xC3\xA9t\xC3\xA9.jpg";
  TMemoryStream().SaveToFile(File);
  ForceDirectories(Dir / "folder");
  for (bool Platform : {false, true}) {
    SCOPED_TRACE(Platform ? "platform call" : "attributes");
    IEUsePlatformFileExists = Platform;
    EXPECT_TRUE(IEFileExists(File));
    EXPECT_FALSE(IEFileExists(Dir / "folder"));
    EXPECT_FALSE(IEFileExists(Dir / "missing"));
  }
  IEUsePlatformFileExists = false;
  EXPECT_TRUE(IEFileExistsW(Utf8ToUtf16(File)));
  EXPECT_FALSE(IEFileExistsW(Utf8ToUtf16(Dir / "folder")));
  EXPECT_FALSE(IEFileExistsW(Utf8ToUtf16(Dir / "missing")));
}
