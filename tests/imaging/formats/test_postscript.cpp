// The PostScript writer's document text: header, page geometry, operators per compression, the
// data count and the page count of multi-page documents.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "imaging/formats/iepostscript.h"
#include "imaging/io/iedocumentstates.h"
#include "imaging/io/zezudidioparams.h"
#include "tests/imaging/formats/FormatsTestSupport.h"
#include "tests/imaging/formats/PsPdfTestSupport.h"

namespace {

std::vector<std::string> WriteDocument(TIEBitmap* Picture, TIOParamsVals& Params) {
  TMemoryStream Stream;
  TTestProgress Progress;
  PostScriptAddPage(&Stream, Picture, Params, Progress.Progress);
  EXPECT_FALSE(Progress.Aborting);
  return SplitText(StreamText(Stream), "\r\n");
}

bool HasLine(const std::vector<std::string>& Lines, const std::string& Line) {
  return std::find(Lines.begin(), Lines.end(), Line) != Lines.end();
}

// The ASCII85 data characters between "%%BeginData" and "%%EndData": line breaks and the
// "~>" end marks left out.
Integer DataCharacters(const std::vector<std::string>& Lines) {
  auto It = std::find_if(Lines.begin(), Lines.end(),
                         [](const std::string& L) { return L.starts_with("%%BeginData"); });
  Integer Count = 0;
  for (It += 2; It != Lines.end() && *It != "%%EndData"; ++It) {
    std::string Line = *It;
    for (size_t At; (At = Line.find("~>")) != std::string::npos;) Line.erase(At, 2);
    Count += static_cast<Integer>(Line.size());
  }
  return Count;
}

TEST(PostScriptWriter, ColourPageOnDefaultPaper) {
  auto Picture = PsPdfColourPicture(300, 200);
  TIOParamsVals Params(nullptr);
  Params.PsCompression = 0;
  const std::vector<std::string> Lines = WriteDocument(Picture.get(), Params);
  ASSERT_GT(Lines.size(), 30u);
  EXPECT_EQ(Lines[0], "%!PS-Adobe-3.0");
  EXPECT_EQ(Lines[1], "%%Creator: ZezudId by Orbistrel");
  EXPECT_EQ(Lines[2], "%%Title: No Title");
  EXPECT_TRUE(Lines[3].starts_with("%%CreationDate: "));
  EXPECT_EQ(Lines[4], "%%DocumentData: Clean7Bit");
  EXPECT_EQ(Lines[5], "%%LanguageLevel: 2");
  EXPECT_EQ(Lines[6], "%%Pages: 1     ");
  EXPECT_EQ(Lines[7], "%%BoundingBox: 0 0 594 841");
  EXPECT_EQ(Lines[8], "%%EndComments");
  const std::vector<std::string> Page(Lines.begin() + 9, Lines.begin() + 23);
  const std::vector<std::string> Expected = {
      "%%Page: 1 1",
      "0 842 translate",
      "595 -396 scale",
      "300 200 8",
      "[ 300 0 0 200 0 0 ]",
      "/rstr 300 string def",
      "/gstr 300 string def",
      "/bstr 300 string def",
      "{currentfile /ASCII85Decode filter /RunLengthDecode filter rstr readstring pop}",
      "{currentfile /ASCII85Decode filter /RunLengthDecode filter gstr readstring pop}",
      "{currentfile /ASCII85Decode filter /RunLengthDecode filter bstr readstring pop}",
      "true 3",
      Page[12],
      "colorimage"};
  EXPECT_EQ(Page, Expected);
  EXPECT_EQ(Page[12], "%%BeginData:      " + std::to_string(DataCharacters(Lines)) + " ASCII Bytes");
  // Every row brings one string for each of the three planes.
  EXPECT_EQ(std::count_if(Lines.begin(), Lines.end(), [](const std::string& L) { return L.ends_with("~>"); }),
            600);
  const std::vector<std::string> Tail(Lines.end() - 5, Lines.end());
  EXPECT_EQ(Tail, (std::vector<std::string>{"%%EndData", "showpage", "%%Trailer", "%%EOF", ""}));
  EXPECT_EQ(Params.BitsPerSample, 8);
  EXPECT_EQ(Params.SamplesPerPixel, 3);
  for (const std::string& Line : Lines)
    for (const char C : Line) ASSERT_TRUE(C >= 32 && C < 127) << Line;
}

TEST(PostScriptWriter, TitleAndPaperComeFromTheParameters) {
  auto Picture = PsPdfColourPicture(10, 40);
  TIOParamsVals Params(nullptr);
  Params.PsTitle = "Mosaic (draft)";
  Params.PsPaperWidth = 200;
  Params.PsPaperHeight = 100;
  const std::vector<std::string> Lines = WriteDocument(Picture.get(), Params);
  EXPECT_EQ(Lines[2], "%%Title: Mosaic (draft)");
  EXPECT_EQ(Lines[7], "%%BoundingBox: 0 0 199 99");
  EXPECT_EQ(Lines[10], "0 100 translate");
  // Fitted by the height: 100 / 40 = 2.5.
  EXPECT_EQ(Lines[11], "25 -100 scale");
}

// The operators before the data, by pixel format and compression.
TEST(PostScriptWriter, OperatorsFollowTheCompression) {
  struct TCase {
    bool OneBit;
    Byte Compression;
    std::string Filter;  // the line after the image matrix
    std::string Operator;
  };
  const std::string Fax =
      " /BlackIs1 true /Columns 21 /Rows 9 /EndOfLine false /Uncompressed true /EncodedByteAlign false"
      " /EndOfBlock false >> /CCITTFaxDecode filter";
  const TCase Cases[] = {
      {true, 0, "currentfile /ASCII85Decode filter /RunLengthDecode filter", "image"},
      {true, 1, "currentfile /ASCII85Decode filter << /K -1" + Fax, "image"},
      {true, 2, "currentfile /ASCII85Decode filter << /K 1" + Fax, "image"},
      {true, 3, "currentfile /ASCII85Decode filter /RunLengthDecode filter", "image"},
      {false, 3, "currentfile /ASCII85Decode filter << >> /DCTDecode filter", "colorimage"},
  };
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(std::to_string(Case.Compression) + (Case.OneBit ? " 1-bit" : " colour"));
    auto Picture = Case.OneBit ? PsPdfOneBitPicture(21, 9) : PsPdfColourPicture(21, 9);
    TIOParamsVals Params(nullptr);
    Params.PsCompression = Case.Compression;
    const std::vector<std::string> Lines = WriteDocument(Picture.get(), Params);
    EXPECT_EQ(Lines[12], Case.OneBit ? "21 9 1" : "21 9 8");
    EXPECT_EQ(Lines[14], Case.Filter);
    const Integer Next = Case.OneBit ? 15 : 16;
    if (!Case.OneBit) {
      EXPECT_EQ(Lines[15], "false 3");
    }
    EXPECT_EQ(Lines[Next], "%%BeginData:      " + std::to_string(DataCharacters(Lines)) + " ASCII Bytes");
    EXPECT_EQ(Lines[Next + 1], Case.Operator);
    EXPECT_EQ(Params.BitsPerSample, Case.OneBit ? 1 : 8);
  }
}

TEST(PostScriptWriter, PagesAreCountedInTheHeaderLine) {
  auto Picture = PsPdfOneBitPicture(16, 4);
  TIOParamsVals Params(nullptr);
  TMemoryStream Stream;
  TTestProgress Progress;
  std::unique_ptr<PsDocumentState> State = PostScriptBeginFile(&Stream, Params);
  for (Integer Page = 0; Page < 11; ++Page)
    PostScriptAppendPage(*State, &Stream, Picture.get(), Params, Progress.Progress);
  PostScriptEndFile(std::move(State), &Stream);
  PostScriptEndFile(nullptr, &Stream);
  const std::vector<std::string> Lines = SplitText(StreamText(Stream), "\r\n");
  EXPECT_EQ(Lines[6], "%%Pages: 11    ");
  EXPECT_TRUE(HasLine(Lines, "%%Page: 1 1"));
  EXPECT_TRUE(HasLine(Lines, "%%Page: 11 11"));
  EXPECT_EQ(std::count(Lines.begin(), Lines.end(), "showpage"), 11);
  EXPECT_EQ(Lines[Lines.size() - 3], "%%Trailer");
  EXPECT_EQ(Lines[Lines.size() - 2], "%%EOF");
}

TEST(PostScriptWriter, OtherPixelFormatsAreWrittenAsColourWithoutChangingThePicture) {
  TIEBitmap Grey(6, 2, ie8g);
  TIOParamsVals Params(nullptr);
  const std::vector<std::string> Lines = WriteDocument(&Grey, Params);
  EXPECT_EQ(Lines[12], "6 2 8");
  EXPECT_TRUE(HasLine(Lines, "colorimage"));
  EXPECT_EQ(Grey.GetPixelFormat(), ie8g);
}

TEST(PostScriptWriter, PaddedInt) {
  EXPECT_EQ(PsPaddedInt(0, 6), "0     ");
  EXPECT_EQ(PsPaddedInt(123456, 6), "123456");
  EXPECT_EQ(PsPaddedInt(1234567, 6), "1234567");
}

}  // namespace

namespace {

TEST(PostScriptWriter, EmptyPictureWritesNothingAndFails) {
  TIEBitmap Empty;
  TIOParamsVals Params(nullptr);
  TMemoryStream Stream;
  TTestProgress Progress;
  PostScriptAddPage(&Stream, &Empty, Params, Progress.Progress);
  EXPECT_TRUE(Progress.Aborting);
  EXPECT_EQ(Stream.GetSize(), 0);
}

}  // namespace
