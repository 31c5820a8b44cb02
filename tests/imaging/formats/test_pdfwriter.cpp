// The PDF writer's document: object numbering, image dictionaries per compression, the content
// stream's placement, the information dictionary and exact cross-reference offsets.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "imaging/formats/iepdfwriter.h"
#include "imaging/formats/tiflzw.h"
#include "imaging/io/iedocumentstates.h"
#include "imaging/io/zezudidioparams.h"
#include "tests/imaging/formats/FormatsTestSupport.h"
#include "tests/imaging/formats/PsPdfTestSupport.h"

namespace {

std::string WritePdf(TIEBitmap* Picture, TIOParamsVals& Params) {
  TMemoryStream Stream;
  TTestProgress Progress;
  PdfAddPage(&Stream, Picture, Params, Progress.Progress);
  EXPECT_FALSE(Progress.Aborting);
  return StreamText(Stream);
}

// The text of object Number from its "n 0 obj" line to "endobj"; empty when missing.
std::string ObjectText(const std::string& Pdf, Integer Number) {
  const std::string Head = "\n" + std::to_string(Number) + " 0 obj\n";
  const size_t Start = Pdf.find(Head);
  if (Start == std::string::npos) return {};
  const size_t End = Pdf.find("\nendobj", Start);
  return Pdf.substr(Start + Head.size(), End - Start - Head.size());
}

// The object's dictionary (up to its stream data).
std::string DictionaryText(const std::string& Pdf, Integer Number) {
  const std::string Object = ObjectText(Pdf, Number);
  return Object.substr(0, Object.find("\nstream\n"));
}

std::string StreamData(const std::string& Pdf, Integer Number) {
  const std::string Object = ObjectText(Pdf, Number);
  const size_t Start = Object.find("\nstream\n") + 8;
  return Object.substr(Start, Object.rfind("\nendstream") - Start);
}

bool Has(const std::string& Text, const std::string& Part) {
  return Text.find(Part) != std::string::npos;
}

TEST(PdfWriter, ColourPictureWithDefaultParameters) {
  auto Picture = PsPdfColourPicture(300, 200);
  TIOParamsVals Params(nullptr);
  const std::string Pdf = WritePdf(Picture.get(), Params);
  EXPECT_TRUE(Pdf.starts_with("%PDF-1.4\n"));
  EXPECT_EQ(DictionaryText(Pdf, 1), "<< /Type /Catalog\n/Pages 6 0 R\n>>");
  EXPECT_EQ(DictionaryText(Pdf, 2), "<< /ProcSet [/PDF /ImageB ]\n/XObject << /lm1 3 0 R\n>>\n>>");
  const std::string Image = DictionaryText(Pdf, 3);
  EXPECT_TRUE(Has(Image, "/Type /XObject\n/Subtype /Image\n")) << Image;
  EXPECT_TRUE(Has(Image, "/Length 180000\n"));
  EXPECT_TRUE(Has(Image, "/ColorSpace /DeviceRGB\n/BitsPerComponent 8\n"));
  EXPECT_TRUE(Has(Image, "/Width 300\n/Height 200\n"));
  EXPECT_FALSE(Has(Image, "/Filter"));
  const std::string Data = StreamData(Pdf, 3);
  ASSERT_EQ(Data.size(), 180000u);
  // Top row first, red, green, blue.
  const TIERGBTriple First = Picture->GetPixel24(0, 0), Last = Picture->GetPixel24(299, 199);
  EXPECT_EQ(Byte(Data[0]), First.rgbtRed);
  EXPECT_EQ(Byte(Data[2]), First.rgbtBlue);
  EXPECT_EQ(Byte(Data[179997]), Last.rgbtRed);
  EXPECT_EQ(Byte(Data[179999]), Last.rgbtBlue);
  EXPECT_EQ(StreamData(Pdf, 4), "q\n595 0 0 396 0 446 cm\n/lm1 Do\nQ");
  EXPECT_EQ(DictionaryText(Pdf, 5),
            "<< /Type /Page\n/Resources 2 0 R\n/MediaBox [0 0 595 842 ]\n/Contents 4 0 R\n/Parent 6 0 R\n>>");
  EXPECT_EQ(DictionaryText(Pdf, 6), "<< /Type /Pages\n/Kids [5 0 R ]\n/Count 1\n>>");
  EXPECT_TRUE(Has(Pdf, "trailer\n<< /Size 8\n/Root 1 0 R\n/Info 7 0 R\n>>\n"));
  EXPECT_EQ(Params.BitsPerSample, 8);
  EXPECT_EQ(Params.SamplesPerPixel, 3);
}

// Each offset of the cross-reference table names the start of its object's "n 0 obj" line, and
// startxref the table; also after bytes the stream held before the document.
TEST(PdfWriter, CrossReferenceOffsetsAreExact) {
  auto Picture = PsPdfOneBitPicture(40, 30);
  TIOParamsVals Params(nullptr);
  Params.PdfTitle = "T";
  TMemoryStream Stream;
  Stream.WriteBuffer("junk", 4);
  TTestProgress Progress;
  PdfAddPage(&Stream, Picture.get(), Params, Progress.Progress);
  const std::string Pdf = StreamText(Stream);
  const size_t Table = Pdf.rfind("\nxref\n") + 1;
  const std::string StartXref = Pdf.substr(Pdf.rfind("startxref\n") + 10);
  EXPECT_EQ(StartXref, std::to_string(Table) + "\n%%EOF\n");
  const std::vector<std::string> Lines = SplitText(Pdf.substr(Table), "\n");
  EXPECT_EQ(Lines[1], "0 8");
  EXPECT_EQ(Lines[2], "0000000000 65535 f ");
  for (Integer Number = 1; Number <= 7; ++Number) {
    const std::string& Entry = Lines[2 + Number];
    ASSERT_EQ(Entry.size(), 19u);
    EXPECT_EQ(Entry.substr(10), " 00000 n ");
    const size_t Offset = std::stoul(Entry.substr(0, 10));
    EXPECT_EQ(Pdf.substr(Offset, std::to_string(Number).size() + 6), std::to_string(Number) + " 0 obj");
  }
}

TEST(PdfWriter, OneBitImagesByCompression) {
  struct TCase {
    Byte Compression;
    std::string Filter;  // the dictionary text up to ColorSpace, after Length
    Byte CompressionAfter;
  };
  const std::string Fax =
      "/BlackIs1 true\n/Columns 40\n/Rows 30\n/EndOfLine false\n/Uncompressed true\n/EncodedByteAlign false\n"
      "/EndOfBlock false\n>>\n";
  const TCase Cases[] = {
      {0, "", 0},
      {1, "/Filter [/RunLengthDecode ]\n", 1},
      {2, "/Filter /CCITTFaxDecode\n/DecodeParms << /K -1\n" + Fax, 2},
      {3, "/Filter /CCITTFaxDecode\n/DecodeParms << /K 1\n" + Fax, 3},
      {4, "/Filter /CCITTFaxDecode\n/DecodeParms << /K 1\n" + Fax, 3},
      {5, "/Filter /LZWDecode\n", 5},
      {9, "", 9},
  };
  auto Picture = PsPdfOneBitPicture(40, 30);
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(int(Case.Compression));
    TIOParamsVals Params(nullptr);
    Params.PdfCompression = Case.Compression;
    const std::string Pdf = WritePdf(Picture.get(), Params);
    const std::string Image = DictionaryText(Pdf, 3);
    const size_t AfterLength = Image.find('\n', Image.find("/Length ")) + 1;
    EXPECT_EQ(Image.substr(AfterLength, Image.find("/ColorSpace") - AfterLength), Case.Filter);
    EXPECT_TRUE(Has(Image, "/ColorSpace /DeviceGray\n/BitsPerComponent 1\n"));
    EXPECT_EQ(Params.PdfCompression, Case.CompressionAfter);
    EXPECT_EQ(Params.BitsPerSample, 1);
    if (Case.Filter.empty()) {
      const std::string Data = StreamData(Pdf, 3);
      ASSERT_EQ(Data.size(), 5u * 30u);
      EXPECT_EQ(Byte(Data[5 * 2 + 1]), static_cast<const Byte*>(Picture->GetScanline(2))[1]);
    }
  }
}

TEST(PdfWriter, ColourImagesByCompression) {
  auto Picture = PsPdfColourPicture(20, 10);
  {
    TIOParamsVals Params(nullptr);
    Params.PdfCompression = 4;
    const std::string Pdf = WritePdf(Picture.get(), Params);
    EXPECT_TRUE(Has(DictionaryText(Pdf, 3), "/Filter /DCTDecode\n/ColorSpace /DeviceRGB\n"));
    EXPECT_TRUE(StreamData(Pdf, 3).starts_with("\xFF\xD8\xFF"));
    Params.JpegColorSpace = 1;
    EXPECT_TRUE(Has(DictionaryText(WritePdf(Picture.get(), Params), 3), "/ColorSpace /DeviceGray\n"));
  }
  TIOParamsVals Params(nullptr);
  Params.PdfCompression = 5;
  const std::string Pdf = WritePdf(Picture.get(), Params);
  EXPECT_TRUE(Has(DictionaryText(Pdf, 3), "/Filter /LZWDecode\n/ColorSpace /DeviceRGB\n"));
  // A host that cleared the parameters' coder gets the library's own, not a crash.
  Params.TiffLzwCompressProc = nullptr;
  EXPECT_EQ(StreamData(WritePdf(Picture.get(), Params), 3), StreamData(Pdf, 3));
}

TEST(PdfWriter, InformationDictionaryHoldsOnlyTheTextsGiven) {
  auto Picture = PsPdfOneBitPicture(8, 8);
  TIOParamsVals Params(nullptr);
  std::string Info = DictionaryText(WritePdf(Picture.get(), Params), 7);
  EXPECT_TRUE(Info.starts_with("<< /CreationDate (D:")) << Info;
  EXPECT_EQ(Info.size(), std::string("<< /CreationDate (D:yyyymmddhhmmss)\n>>").size());
  Params.PdfTitle = "Title (1)";
  Params.PdfProducer = "P";
  Info = DictionaryText(WritePdf(Picture.get(), Params), 7);
  EXPECT_TRUE(Info.starts_with("<< /Title (Title \\(1\\))\n/Producer (P)\n/CreationDate (D:")) << Info;
}

TEST(PdfWriter, PagesOfOneDocumentShareTheResources) {
  auto Colour = PsPdfColourPicture(10, 20);
  auto OneBit = PsPdfOneBitPicture(30, 10);
  TIOParamsVals Params(nullptr);
  TTestProgress Progress;
  std::unique_ptr<PdfDocumentState> State = PdfCreateDocument();
  PdfAddImagePage(*State, Colour.get(), Params, Progress.Progress);
  PdfAddImagePage(*State, OneBit.get(), Params, Progress.Progress);
  TMemoryStream Stream;
  PdfWriteDocument(std::move(State), &Stream, Params);
  PdfWriteDocument(nullptr, &Stream, Params);
  const std::string Pdf = StreamText(Stream);
  EXPECT_EQ(DictionaryText(Pdf, 2),
            "<< /ProcSet [/PDF /ImageB ]\n/XObject << /lm1 3 0 R\n/lm2 6 0 R\n>>\n>>");
  EXPECT_EQ(StreamData(Pdf, 7), "q\n595 0 0 198 0 644 cm\n/lm2 Do\nQ");
  EXPECT_EQ(DictionaryText(Pdf, 9), "<< /Type /Pages\n/Kids [5 0 R 8 0 R ]\n/Count 2\n>>");
  EXPECT_TRUE(Has(Pdf, "/Root 1 0 R\n/Info 10 0 R\n"));
}

}  // namespace

namespace {

TEST(PdfWriter, EmptyPictureWritesNothingAndFails) {
  TIEBitmap Empty;
  TIOParamsVals Params(nullptr);
  TMemoryStream Stream;
  TTestProgress Progress;
  PdfAddPage(&Stream, &Empty, Params, Progress.Progress);
  EXPECT_TRUE(Progress.Aborting);
  EXPECT_EQ(Stream.GetSize(), 0);
}

}  // namespace
