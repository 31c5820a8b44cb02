#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "platform/system/Exceptions.h"
#include "platform/system/LastError.h"
#include "platform/system/Streams.h"
#include "tests/support/FileSizeLimit.h"

namespace {

std::string Contents(TCustomMemoryStream& S) {
  return std::string(static_cast<const char*>(S.GetMemory()), static_cast<size_t>(S.GetSize()));
}

void Fill(TStream& S, const std::string& Text) {
  S.WriteBuffer(Text.data(), static_cast<Integer>(Text.size()));
}

template <class E, class F>
void ExpectError(F&& Call, const std::string& Message) {
  try {
    Call();
    ADD_FAILURE() << "no exception, expected: " << Message;
  } catch (const E& Ex) {
    EXPECT_EQ(Ex.GetMessage(), Message);
  }
}

}  // namespace

TEST(Streams, CopyFromCountZeroCopiesAllElseFromThePosition) {
  struct {
    Int64 Start, Count;
    std::string Copied;
  } Cases[] = {
      {3, 0, "0123456789"},  // 0: rewinds and copies the whole source
      {3, -1, "0123456789"}, {3, 4, "3456"}, {0, 10, "0123456789"}, {9, 1, "9"},
  };
  for (const auto& C : Cases) {
    TMemoryStream Source, Dest;
    Fill(Source, "0123456789");
    Source.SetPosition(C.Start);
    EXPECT_EQ(Dest.CopyFrom(&Source, C.Count), static_cast<Int64>(C.Copied.size()));
    EXPECT_EQ(Contents(Dest), C.Copied) << C.Start << "/" << C.Count;
  }
}

TEST(Streams, ShortTransfersRaiseTheStreamErrors) {
  TMemoryStream Source, Dest;
  Fill(Source, "0123456789");
  Source.SetPosition(3);
  ExpectError<EReadError>([&] { Dest.CopyFrom(&Source, 8); }, "Stream read error");

  char Buf[8];
  Source.SetPosition(7);
  ExpectError<EReadError>([&] { Source.ReadBuffer(Buf, 4); }, "Stream read error");
  Source.ReadBuffer(Buf, 0);  // nothing asked, nothing missing

  TTempFolder Tmp;
  { TFileStream(Tmp / "ro.bin", fmCreate); }
  TFileStream ReadOnly(Tmp / "ro.bin", fmOpenRead);
  ExpectError<EWriteError>([&] { ReadOnly.WriteBuffer("x", 1); }, "Stream write error");
}

TEST(Streams, FileOpenAndCreateErrorsCarryFullNameAndSystemText) {
  TTempFolder Tmp;
  std::filesystem::create_directory(Tmp / "folder");
  const std::string Missing = "The system cannot find the file specified.";
  ExpectError<EFOpenError>([&] { TFileStream(Tmp / "none.bin", fmOpenRead); },
                           "Cannot open file \"" + Tmp.Path() + "/none.bin\". " + Missing);
  ExpectError<EFCreateError>(
      [&] { TFileStream(Tmp.Path() + "\\no\\..\\no\\x.bin", fmCreate); },
      "Cannot create file \"" + Tmp.Path() + "/no/x.bin\". The system cannot find the path specified.");
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
  ExpectError<EFOpenError>([&] { TFileStream(Tmp / "folder", fmOpenRead); },
                           "Cannot open file \"" + Tmp.Path() + "/folder\". Access is denied.");
  ExpectError<EFCreateError>([&] { TFileStream(Tmp / "folder", fmCreate); },
                             "Cannot create file \"" + Tmp.Path() + "/folder\". Access is denied.");
  // Relative names are shown expanded.
  const std::string Cwd = std::filesystem::current_path().string();
  ExpectError<EFOpenError>([&] { TFileStream("tv-no-such-file.bin", fmOpenReadWrite); },
                           "Cannot open file \"" + Cwd + "/tv-no-such-file.bin\". " + Missing);
  if (geteuid() != 0) {
    std::filesystem::permissions(Tmp / "folder",
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    ExpectError<EFCreateError>([&] { TFileStream(Tmp / "folder/x.bin", fmCreate); },
                               "Cannot create file \"" + Tmp.Path() + "/folder/x.bin\". Access is denied.");
    std::filesystem::permissions(Tmp / "folder", std::filesystem::perms::owner_all);
  }
}

TEST(Streams, FileStreamAcceptsBackslashesAndResizes) {
  TTempFolder Tmp;
  std::filesystem::create_directory(Tmp / "sub");
  const std::string Name = Tmp.Path() + "\\sub\\data.bin";
  {
    TFileStream F(Name, fmCreate | fmShareExclusive);
    Fill(F, "hello world");
    EXPECT_EQ(F.GetSize(), 11);
    EXPECT_EQ(F.GetPosition(), 11);
    F.SetSize(5);
    EXPECT_EQ(F.GetSize(), 5);
    EXPECT_EQ(F.GetFileName(), Name);
  }
  ASSERT_TRUE(std::filesystem::exists(Tmp / "sub/data.bin"));
  TFileStream F(Name, fmOpenReadWrite | fmShareDenyNone);
  EXPECT_EQ(F.Seek(-2, soFromEnd), 3);
  Fill(F, "LO!");
  TMemoryStream M;
  M.LoadFromStream(&F);
  EXPECT_EQ(Contents(M), "helLO!");
}

TEST(Streams, MemoryStreamGrowsInBlocksAndZeroFillsGaps) {
  TMemoryStream M;
  EXPECT_EQ(M.GetCapacity(), 0);
  for (int I = 0; I < 20000; ++I) Fill(M, "a");
  EXPECT_EQ(M.GetSize(), 20000);
  EXPECT_GE(M.GetCapacity(), 20000);
  EXPECT_EQ(M.GetCapacity() % 0x2000, 0);

  M.Clear();
  EXPECT_EQ(M.GetSize(), 0);
  EXPECT_EQ(M.GetCapacity(), 0);
  EXPECT_EQ(M.GetMemory(), nullptr);

  Fill(M, "ab");
  EXPECT_EQ(M.Seek(3, soFromCurrent), 5);  // beyond the end: allowed, nothing read there
  char C = 0;
  EXPECT_EQ(M.Read(&C, 1), 0);
  EXPECT_EQ(M.GetSize(), 2);
  Fill(M, "z");
  EXPECT_EQ(Contents(M), std::string("ab\0\0\0z", 6));

  M.SetSize(3);  // the position follows a shrinking end
  EXPECT_EQ(M.GetPosition(), 3);
  M.SetSize(5);
  EXPECT_EQ(Contents(M), std::string("ab\0\0\0", 5));
  M.SetPosition(-1);
  EXPECT_EQ(M.Write("q", 1), 0);
  EXPECT_EQ(M.Read(&C, 1), 0);
}

TEST(Streams, MemoryStreamFileRoundTrip) {
  TTempFolder Tmp;
  TMemoryStream M;
  Fill(M, std::string("line\r\n\0bin", 10));
  M.SaveToFile(Tmp / "m.bin");
  TMemoryStream N;
  Fill(N, "old contents to be replaced");
  N.SetPosition(4);
  N.LoadFromFile(Tmp / "m.bin");
  EXPECT_EQ(Contents(N), std::string("line\r\n\0bin", 10));
  EXPECT_EQ(N.GetPosition(), 4);  // loading keeps the position
  TMemoryStream Empty;
  Empty.SaveToFile(Tmp / "e.bin");
  EXPECT_EQ(std::filesystem::file_size(Tmp / "e.bin"), 0u);
}

TEST(Streams, StringStreamOverwritesInPlaceAndClampsSeeks) {
  TStringStream S("0123456789");
  S.SetPosition(2);
  S.WriteString("ab");
  EXPECT_EQ(S.GetDataString(), "01ab456789");  // writing in the middle keeps the tail
  EXPECT_EQ(S.ReadString(3), "456");
  EXPECT_EQ(S.Seek(100, soFromBeginning), 10);
  EXPECT_EQ(S.Seek(-100, soFromCurrent), 0);
  S.Seek(-2, soEnd);
  EXPECT_EQ(S.ReadString(10), "89");
  S.WriteString("!");
  EXPECT_EQ(S.GetDataString(), "01ab456789!");
  S.SetSize(4);
  EXPECT_EQ(S.GetPosition(), 4);
  EXPECT_EQ(S.GetDataString(), "01ab");
}

TEST(Streams, ResourceStreamReadsTheProbeAndRefusesWrites) {
  TResourceStream R(HInstance, "tvprobe", RT_RCDATA);
  EXPECT_EQ(Contents(R), "Tilvarok embedded resource probe\n");
  ExpectError<EStreamError>([&] { R.WriteBuffer("x", 1); }, "Can't write to a read-only resource stream");
  ExpectError<EResNotFound>([] { TResourceStream(HInstance, "NOPE", RT_RCDATA); }, "Resource NOPE not found");
  ExpectError<EResNotFound>([] { TResourceStream(HInstance, 101, RT_RCDATA); }, "Resource 101 not found");
  TMemoryStream Copy;
  EXPECT_EQ(Copy.CopyFrom(&R, 0), 33);
}

namespace {
std::string FileText(const std::string& Path) {
  TFileStream In(Path, fmOpenRead);
  std::string S(static_cast<size_t>(In.GetSize()), '\0');
  In.ReadBuffer(S.data(), static_cast<Integer>(S.size()));
  return S;
}

bool OnlyFileIn(const std::string& Folder, const std::string& Name) {
  std::vector<std::string> Names;
  for (const auto& E : std::filesystem::directory_iterator(Folder)) Names.push_back(E.path().filename());
  return Names == std::vector<std::string>{Name};
}
}  // namespace

TEST(Streams, ReplacingFileStreamReplacesOnlyOnCommitAndKeepsPermissions) {
  TTempFolder Dir;
  const std::string Path = Dir / "data.txt";
  {
    TFileStream Out(Path, fmCreate);
    Fill(Out, "old contents");
  }
  ASSERT_EQ(::chmod(Path.c_str(), 0640), 0);
  {
    TReplacingFileStream Out(Path);
    Fill(Out, "new");
    EXPECT_EQ(FileText(Path), "old contents");
    Out.Commit();
  }
  EXPECT_EQ(FileText(Path), "new");
  EXPECT_EQ(std::filesystem::status(Path).permissions() & std::filesystem::perms::all,
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                std::filesystem::perms::group_read);
  {
    TReplacingFileStream Out(Path);
    Fill(Out, "abandoned");
  }
  EXPECT_EQ(FileText(Path), "new");
  EXPECT_TRUE(OnlyFileIn(Dir.Path(), "data.txt"));
}

TEST(Streams, ASaveThatFailsPartWayKeepsTheOldFile) {
  TTempFolder Dir;
  const std::string Path = Dir / "data.bin";
  TMemoryStream Old;
  Fill(Old, std::string(1000, 'a'));
  Old.SaveToFile(Path);
  TMemoryStream New;
  Fill(New, std::string(100000, 'b'));
  {
    TFileSizeLimit Limit(4096);
    EXPECT_THROW(New.SaveToFile(Path), EWriteError);
  }
  EXPECT_EQ(FileText(Path), std::string(1000, 'a'));
  EXPECT_TRUE(OnlyFileIn(Dir.Path(), "data.bin"));
}

TEST(Streams, ReplacingALinkWritesTheFileItPointsTo) {
  TTempFolder Dir;
  const std::string Real = Dir / "real.txt", Link = Dir / "link.txt";
  {
    TFileStream Out(Real, fmCreate);
    Fill(Out, "x");
  }
  std::filesystem::create_symlink(Real, Link);
  TReplacingFileStream Out(Link);
  Fill(Out, "through the link");
  Out.Commit();
  EXPECT_TRUE(std::filesystem::is_symlink(Link));
  EXPECT_EQ(FileText(Real), "through the link");
}
