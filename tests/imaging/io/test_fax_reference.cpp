// The fax codec against an independent one: strips another encoder made (fixtures, see
// fixtures/fax/make-fixtures.sh) decode to their reference pictures, and libtiff reads the
// strips we make as the same pictures.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/imaging/io/FaxTestSupport.h"
#include "tests/imaging/io/JpegTestSupport.h"

using namespace faxtest;

namespace {

std::string ReadFixture(const std::string& Name) {
  const auto Path = std::filesystem::path(__FILE__).parent_path() / "fixtures" / "fax" / Name;
  std::ifstream File(Path, std::ios::binary);
  std::ostringstream Bytes;
  Bytes << File.rdbuf();
  return Bytes.str();
}

void PutWord(std::string& Out, Cardinal Value, Integer Size) {
  for (Integer I = 0; I < Size; ++I) Out += static_cast<char>((Value >> (8 * I)) & 0xFF);
}

struct TPage {
  TFaxKind Kind;
  Integer FillOrder;
  const TFaxPicture* Picture;
  std::string Strip;
};

// A little-endian TIFF file with one page of one strip for each page given: the strips as
// coded, white is zero.
std::string TiffOfStrips(const std::vector<TPage>& Pages) {
  struct TEntry {
    Word Tag;
    Word Type;  // 3 SHORT, 4 LONG
    Cardinal Value;
  };
  const Cardinal Compression[] = {2, 3, 3, 4};
  std::string Out = "II*";
  Out += '\0';
  PutWord(Out, 8, 4);
  for (size_t Index = 0; Index < Pages.size(); ++Index) {
    const TPage& Page = Pages[Index];
    const auto Height = static_cast<Cardinal>(Page.Picture->Rows.size());
    const bool Group3 = Page.Kind == fkG3OneD || Page.Kind == fkG3TwoD;
    const size_t EntryCount = Group3 ? 11 : 10;
    const auto StripOffset = static_cast<Cardinal>(Out.size() + 2 + EntryCount * 12 + 4);
    std::vector<TEntry> Entries = {
        {256, 4, static_cast<Cardinal>(Page.Picture->Width)},
        {257, 4, Height},
        {258, 3, 1},
        {259, 3, Compression[Page.Kind]},
        {262, 3, 0},
        {266, 3, static_cast<Cardinal>(Page.FillOrder)},
        {273, 4, StripOffset},
        {277, 3, 1},
        {278, 4, Height},
        {279, 4, static_cast<Cardinal>(Page.Strip.size())},
    };
    if (Group3) Entries.push_back({292, 4, Page.Kind == fkG3TwoD ? 1u : 0u});  // T4Options
    PutWord(Out, static_cast<Cardinal>(Entries.size()), 2);
    for (const TEntry& Entry : Entries) {
      PutWord(Out, Entry.Tag, 2);
      PutWord(Out, Entry.Type, 2);
      PutWord(Out, 1, 4);
      PutWord(Out, Entry.Value, 4);
    }
    const auto NextPage = static_cast<Cardinal>(StripOffset + Page.Strip.size());
    PutWord(Out, Index + 1 < Pages.size() ? NextPage : 0, 4);
    Out += Page.Strip;
  }
  return Out;
}

bool HaveTiffInfo() {
  return jpegtest::Shell("command -v tiffinfo").find("tiffinfo") != std::string::npos;
}

// The decoded data of each strip that "tiffinfo -d" lists: lines of hex bytes after "Strip n:".
std::vector<std::string> ListedStrips(const std::string& Listing) {
  std::vector<std::string> Strips;
  std::istringstream Lines(Listing);
  std::string Line;
  bool InStrip = false;
  while (std::getline(Lines, Line)) {
    if (Line.rfind("Strip ", 0) == 0) {
      Strips.emplace_back();
      InStrip = true;
    } else if (InStrip && Line.rfind(" ", 0) == 0 && Line.find(':') == std::string::npos) {
      std::istringstream Hex(Line);
      unsigned Value;
      while (Hex >> std::hex >> Value) Strips.back() += static_cast<char>(Value);
    } else {
      InStrip = false;
    }
  }
  return Strips;
}

class FaxReference : public TFaxTest {};

}  // namespace

TEST_F(FaxReference, StripsOfAnotherEncoderDecodeToTheirPictures) {
  const struct {
    const char* Variant;
    TFaxKind Kind;
  } Variants[] = {
      {"g3-1d", fkG3OneD}, {"g3-1d-fill", fkG3OneD}, {"g3-2d", fkG3TwoD}, {"g3-2d-fill", fkG3TwoD},
      {"g4", fkG4},
  };
  for (const char* Picture : {"shapes", "wide"}) {
    const TFaxPicture Expected = FromPbm(ReadFixture(std::string(Picture) + ".pbm"));
    ASSERT_GT(Expected.Width, 0) << Picture;
    const Integer Height = static_cast<Integer>(Expected.Rows.size());
    for (const auto& Variant : Variants)
      for (Integer FillOrder : {1, 2}) {
        const std::string Name =
            std::string(Picture) + "." + Variant.Variant + (FillOrder == 2 ? "-lsb" : "") + ".raw";
        SCOPED_TRACE(Name);
        const std::string Strip = ReadFixture(Name);
        ASSERT_FALSE(Strip.empty());
        ExpectSamePicture(Decode(Variant.Kind, Strip, Expected.Width, Height, FillOrder), Expected);
      }
  }
}

// Huffman rows have no fixture of their own: their codes are those of the one-dimensional rows
// above, and libtiff reads ours below. All strips go as pages of one file; the listing holds
// each page's rows as bytes, 1 for black, and libtiff's complaints go to the error output.
TEST_F(FaxReference, LibtiffReadsOurStrips) {
  if (!HaveTiffInfo()) GTEST_SKIP() << "tiffinfo (libtiff-tools) is not installed";
  const TFaxPicture Shapes = FromPbm(ReadFixture("shapes.pbm"));
  const TFaxPicture Wide = FromPbm(ReadFixture("wide.pbm"));
  std::vector<TPage> Pages;
  for (const TFaxPicture* Picture : {&Shapes, &Wide})
    for (TFaxKind Kind : {fkHuffman, fkG3OneD, fkG3TwoD, fkG4})
      for (Integer FillOrder : {1, 2})
        Pages.push_back({Kind, FillOrder, Picture, Encode(Kind, *Picture, FillOrder)});
  jpegtest::TTempFile File(TiffOfStrips(Pages));
  EXPECT_EQ(jpegtest::Shell("tiffinfo -d " + File.Name() + " 2>&1 >/dev/null"), "");
  const std::vector<std::string> Strips =
      ListedStrips(jpegtest::Shell("tiffinfo -d " + File.Name() + " 2>/dev/null"));
  ASSERT_EQ(Strips.size(), Pages.size());
  for (size_t Index = 0; Index < Pages.size(); ++Index) {
    const TPage& Page = Pages[Index];
    SCOPED_TRACE(std::string(KindName(Page.Kind)) + " fill order " + std::to_string(Page.FillOrder) +
                 " width " + std::to_string(Page.Picture->Width));
    TFaxPicture Read = *Page.Picture;
    const size_t RowBytes = Read.Rows[0].size();
    ASSERT_EQ(Strips[Index].size(), RowBytes * Read.Rows.size());
    for (size_t Y = 0; Y < Read.Rows.size(); ++Y)
      Read.Rows[Y].assign(Strips[Index].begin() + Y * RowBytes, Strips[Index].begin() + (Y + 1) * RowBytes);
    ExpectSamePicture(Read, *Page.Picture);
  }
}
