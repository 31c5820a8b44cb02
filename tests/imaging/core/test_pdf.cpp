#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "imaging/core/ieencoders.h"
#include "imaging/core/iepdf.h"
#include "platform/system/Streams.h"

namespace {

std::string Written(TIEPDFObject& Object) {
  TStringStream Stream;
  Object.Write(&Stream);
  return Stream.GetDataString();
}

// Runs a shell command and returns what it printed on standard output.
std::string Shell(const std::string& Command) {
  std::string Out;
  if (FILE* P = popen(Command.c_str(), "r")) {
    char Buf[256];
    while (size_t N = fread(Buf, 1, sizeof Buf, P)) Out.append(Buf, N);
    pclose(P);
  }
  return Out;
}

// The value pdfinfo prints for Key, without the padding in front.
std::string InfoField(const std::string& Info, const std::string& Key) {
  const size_t At = Info.find("\n" + Key + ":");
  if (At == std::string::npos) return {};
  const size_t Start = Info.find_first_not_of(' ', At + Key.size() + 2);
  return Info.substr(Start, Info.find('\n', Start) - Start);
}

bool ToolPresent(const char* Name) {
  return std::system((std::string("command -v ") + Name + " >/dev/null 2>&1").c_str()) == 0;
}

// The content as the PostScript and PDF writers encode image data: PackBits, then ASCII85.
std::unique_ptr<TIEPDFStreamObject> EncodedStream(const std::string& Content) {
  const auto Length = static_cast<Integer>(Content.size());
  std::vector<Byte> Packed(IEPackBitsBound(Length));
  Packed.resize(IEPackBitsEncode(reinterpret_cast<const Byte*>(Content.data()), Length, Packed.data()));
  std::string Text(IEASCII85Bound(static_cast<Integer>(Packed.size())), '\0');
  const Byte* In = Packed.data();
  char* Out = Text.data();
  Integer Written = 0;
  Text.resize(IEASCII85Encode(In, static_cast<Integer>(Packed.size()), Out, Written));
  auto Stream = TIEPDFStreamObject::CreateCopy(Text.data(), static_cast<Integer>(Text.size()));
  auto Filters = std::make_unique<TIEPDFArrayObject>();
  Filters->Add(std::make_unique<TIEPDFNameObject>("ASCII85Decode"));
  Filters->Add(std::make_unique<TIEPDFNameObject>("RunLengthDecode"));
  Stream->GetDictionary()->SetItem("Filter", std::move(Filters));
  return Stream;
}

// Catalog, a red 50 x 40 rectangle's content stream (plain or encoded), one 100 x 100 page, the
// page tree and an info dictionary, numbered 1 to 5 in that order.
std::string SmallDocument(bool Encoded = false) {
  TIEPDFObjects Objects;
  TIEPDFPages Pages;
  TStringStream Stream;
  IEPDFWriteHeader(&Stream);
  IEPDFAddCatalog(Objects);
  // The rectangle in hundredths: its zeros give the run-length encoder runs to pack.
  const std::string Content = "1 0 0 rg\n0.01 0 0 0.01 0 0 cm\n2000 3000 5000 4000 re          \nf\n";
  TIEPDFObject* Contents =
      IEPDFAddObject(Objects, Encoded ? EncodedStream(Content)
                                      : TIEPDFStreamObject::CreateCopy(Content.data(), Content.size()));
  auto MediaBox = std::make_unique<TIEPDFArrayObject>();
  for (const double Value : {0.0, 0.0, 100.0, 100.0})
    MediaBox->Add(std::make_unique<TIEPDFNumericObject>(Value));
  IEPDFAddPage(Objects, Pages, nullptr, std::move(MediaBox), Contents->GetNumber());
  IEPDFAddPages(Objects, Pages);
  auto Info = std::make_unique<TIEPDFDictionaryObject>();
  Info->SetItem("Title", std::make_unique<TIEPDFStringObject>("Tiles (small) \\ test"));
  auto* InfoAdded = static_cast<TIEPDFDictionaryObject*>(IEPDFAddObject(Objects, std::move(Info)));
  IEPDFWriteObjects(&Stream, Objects);
  IEPDFWriteTrailer(&Stream, Objects, InfoAdded);
  return Stream.GetDataString();
}

TEST(PDFObjects, ScalarsWriteTheirSyntax) {
  TIEPDFRefObject Ref(12, 0);
  EXPECT_EQ(Written(Ref), "12 0 R");
  TIEPDFBooleanObject True(true), False(false);
  EXPECT_EQ(Written(True), "true");
  EXPECT_EQ(Written(False), "false");
  TIEPDFNumericObject Whole(1234), Fraction(0.5), Negative(-2.25);
  EXPECT_EQ(Written(Whole), "1234");
  EXPECT_EQ(Written(Fraction), "0.5");
  EXPECT_EQ(Written(Negative), "-2.25");
}

TEST(PDFObjects, StringsAndNamesAreEscaped) {
  TIEPDFStringObject String("a(b)c\\d\b\t\n\f\r\x80");
  EXPECT_EQ(Written(String), "(a\\(b\\)c\\\\d\\b\\t\\n\\f\\r\x80)");
  // '#' and the delimiters are escaped too, or a reader would take them for syntax.
  TIEPDFNameObject Name("Device RGB#\x7F~!/()<>[]{}%");
  EXPECT_EQ(Written(Name), "/Device#20RGB#23#7F~!#2F#28#29#3C#3E#5B#5D#7B#7D#25");
}

TEST(PDFObjects, ContainersWriteTheirItemsInOrder) {
  TIEPDFArrayObject Array;
  Array.Add(std::make_unique<TIEPDFNumericObject>(1));
  Array.Add(std::make_unique<TIEPDFNameObject>("X"));
  EXPECT_EQ(Written(Array), "[1 /X ]");
  TIEPDFDictionaryObject Dictionary;
  Dictionary.SetItem("Type", std::make_unique<TIEPDFNameObject>("Page"));
  Dictionary.SetItem("Count", std::make_unique<TIEPDFNumericObject>(1));
  Dictionary.SetItem("Type", std::make_unique<TIEPDFNameObject>("Pages"));  // replaced in place
  EXPECT_EQ(Written(Dictionary), "<< /Type /Pages\n/Count 1\n>>");
}

TEST(PDFObjects, StreamWritesItsDataLength) {
  const std::string Data(1234, 'q');
  auto Stream = TIEPDFStreamObject::CreateCopy(Data.data(), static_cast<Integer>(Data.size()));
  Stream->GetDictionary()->SetItem("Filter", std::make_unique<TIEPDFNameObject>("RunLengthDecode"));
  EXPECT_EQ(Written(*Stream),
            "<< /Length 1234\n/Filter /RunLengthDecode\n>>\nstream\n" + Data + "\nendstream");
  TIEPDFStreamObject Empty;
  EXPECT_EQ(Written(Empty), "<< /Length 0\n>>\nstream\n\nendstream");
}

TEST(PDFObjects, SharedItemSurvivesItsContainers) {
  auto Shared = std::make_unique<TIEPDFNumericObject>(7);
  {
    TIEPDFArrayObject Array;
    TIEPDFDictionaryObject Dictionary;
    Array.AddShared(Shared.get());
    Dictionary.SetSharedItem("Seven", Shared.get());
    EXPECT_EQ(Written(Array), "[7 ]");
  }
  EXPECT_EQ(Written(*Shared), "7");
}

TEST(PDFDocument, NumbersObjectsAndWritesTheCrossReferenceTable) {
  const std::string Pdf = SmallDocument();
  EXPECT_EQ(Pdf.substr(0, 15), "%PDF-1.4\n%\xC8\xD2\xF0\xFE\n");
  for (const char* Object :
       {"1 0 obj\n<< /Type /Catalog\n/Pages 4 0 R\n>>\nendobj\n",
        "3 0 obj\n<< /Type /Page\n/MediaBox [0 0 100 100 ]\n/Contents 2 0 R\n/Parent 4 0 R\n>>",
        "4 0 obj\n<< /Type /Pages\n/Kids [3 0 R ]\n/Count 1\n>>",
        "5 0 obj\n<< /Title (Tiles \\(small\\) \\\\ test)\n>>"})
    EXPECT_NE(Pdf.find(Object), std::string::npos) << Object;

  const size_t Xref = Pdf.find("\nxref\n") + 1;
  const size_t StartXref = Pdf.find("startxref\n");
  ASSERT_NE(StartXref, std::string::npos);
  EXPECT_EQ(std::stoul(Pdf.substr(StartXref + 10)), Xref);
  const size_t Table = Pdf.find("0 6\n", Xref);
  ASSERT_EQ(Table, Xref + 5);
  EXPECT_EQ(Pdf.substr(Table + 4, 20), "0000000000 65535 f \n");
  for (Integer N = 1; N <= 5; ++N) {
    const std::string Entry = Pdf.substr(Table + 4 + 20 * N, 20);
    ASSERT_EQ(Entry.substr(10), " 00000 n \n");
    EXPECT_EQ(Pdf.substr(std::stoul(Entry.substr(0, 10)), 8), std::to_string(N) + " 0 obj\n");
  }
  EXPECT_EQ(Pdf.substr(Table + 4 + 120, 8), "trailer\n");
  EXPECT_NE(Pdf.find("trailer\n<< /Size 6\n/Root 1 0 R\n/Info 5 0 R\n>>\nstartxref\n"), std::string::npos);
  EXPECT_EQ(Pdf.substr(Pdf.size() - 6), "%%EOF\n");
}

// The written document opens in poppler and renders in Ghostscript, also with its content
// decoded by the ASCII85 and run-length filters of the reader.
class PDFDocumentInReaders : public testing::TestWithParam<bool> {};

TEST_P(PDFDocumentInReaders, OpensAndRenders) {
  if (!ToolPresent("pdfinfo") || !ToolPresent("gs")) GTEST_SKIP() << "needs poppler-utils and ghostscript";
  const std::filesystem::path Folder =
      std::filesystem::temp_directory_path() / ("tv-pdf-" + std::to_string(getpid()));
  std::filesystem::create_directories(Folder);
  struct TRemove {
    std::filesystem::path Folder;
    ~TRemove() { std::filesystem::remove_all(Folder); }
  } Remove{Folder};
  const std::string File = (Folder / "small.pdf").string();
  const std::string Image = (Folder / "small.ppm").string();
  std::ofstream(File, std::ios::binary) << SmallDocument(GetParam());

  const std::string Info = "\n" + Shell("pdfinfo '" + File + "' 2>&1");
  EXPECT_EQ(InfoField(Info, "Pages"), "1") << Info;
  EXPECT_EQ(InfoField(Info, "Title"), "Tiles (small) \\ test") << Info;
  EXPECT_EQ(InfoField(Info, "Page size"), "100 x 100 pts") << Info;
  EXPECT_EQ(InfoField(Info, "PDF version"), "1.4") << Info;
  EXPECT_EQ(Info.find("Syntax"), std::string::npos) << Info;

  Shell("gs -q -dBATCH -dNOPAUSE -dSAFER -sDEVICE=ppmraw -r72 -sOutputFile='" + Image + "' '" + File +
        "' 2>&1");
  std::ifstream Ppm(Image, std::ios::binary);
  std::string Magic;
  Integer Width = 0, Height = 0, Max = 0;
  Ppm >> Magic >> std::ws;
  while (Ppm.peek() == '#') Ppm.ignore(1 << 20, '\n');  // comment lines
  Ppm >> Width >> Height >> Max;
  Ppm.get();
  ASSERT_EQ(Magic, "P6");
  ASSERT_EQ(Width, 100);
  ASSERT_EQ(Height, 100);
  std::string Pixels(100 * 100 * 3, '\0');
  Ppm.read(Pixels.data(), Pixels.size());
  auto PixelAt = [&](Integer X, Integer YFromTop) { return Pixels.substr((YFromTop * 100 + X) * 3, 3); };
  EXPECT_EQ(PixelAt(50, 50), std::string("\xFF\x00\x00", 3));  // inside the rectangle
  EXPECT_EQ(PixelAt(10, 50), std::string("\xFF\xFF\xFF", 3));  // left of it
  EXPECT_EQ(PixelAt(50, 20), std::string("\xFF\xFF\xFF", 3));  // above it (its top is at 70)
}

INSTANTIATE_TEST_SUITE_P(PlainAndEncoded, PDFDocumentInReaders, testing::Bool());

}  // namespace
