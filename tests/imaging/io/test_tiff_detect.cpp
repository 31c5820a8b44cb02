#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "imaging/core/ieiptc.h"
#include "imaging/core/ietiffbytes.h"
#include "imaging/io/iefileformats.h"
#include "imaging/io/tiffilt.h"
#include "imaging/io/zezudidioparams.h"
#include "tests/imaging/core/TiffTestSupport.h"

namespace {

using namespace tifftest;
using namespace std::string_literals;

// Header and one directory at offset 8 (or at First, with padding bytes before it).
TBytes TiffOf(const std::vector<TEntry>& Entries, bool BigEndian = false, Cardinal First = 8, Byte Pad = 0) {
  TBytes Out;
  AddText(Out, BigEndian ? "MM" : "II");
  AddWord(Out, 42, BigEndian);
  AddDWord(Out, First, BigEndian);
  Out.resize(First, Pad);
  AddDirectory(Out, Entries, 0, BigEndian);
  return Out;
}

const TEntry Width{256, ietLONG, 1, 640};
const TEntry Height{257, ietLONG, 1, 480};
const TEntry SmallWidth{256, ietLONG, 1, 160};
const TEntry SmallHeight{257, ietLONG, 1, 120};

// A byte of the header changed.
TBytes Patched(TBytes Bytes, std::size_t At, Byte Value) {
  Bytes[At] = Value;
  return Bytes;
}

struct TContentCase {
  const char* Name;
  TBytes Bytes;
  bool Tiff;
  bool Raw;
  bool Hdp;
};

TEST(TiffContent, TiffCameraRawAndHdPhotoTests) {
  const TContentCase Cases[] = {
      {"little-endian", TiffOf({Width, Height}), true, false, false},
      {"big-endian", TiffOf({Width, Height}, true), true, false, false},
      {"big-endian followed by 0xBA", TiffOf({Width, Height}, true, 16, 0xBA), false, false, false},
      {"little-endian followed by 0xBA", TiffOf({Width, Height}, false, 16, 0xBA), true, false, false},
      {"no image length", TiffOf({Width}), false, false, false},
      {"first directory beyond the stream", Patched(TiffOf({Width, Height}), 5, 0x10), false, false, false},
      {"other byte order mark", Patched(TiffOf({Width, Height}), 1, 'M'), false, false, false},
      {"DNG version", TiffOf({Width, Height, {50706, ietBYTE, 4, 0x0401}}), true, true, false},
      {"DNG version of the wrong type", TiffOf({Width, Height, {50706, ietSHORT, 4, 0}}), true, false, false},
      {"colour filter array", TiffOf({Width, Height, {262, ietSHORT, 1, 32803}}), true, true, false},
      {"linear raw, big-endian", TiffOf({Width, Height, {262, ietSHORT, 1, 34892u << 16}}, true), true, true,
       false},
      {"small preview with sub-directories",
       TiffOf({SmallWidth, SmallHeight, {330, ietLONG, 1, 8}, {37398, ietBYTE, 4, 1}}), true, true, false},
      {"large page with sub-directories",
       TiffOf({Width, SmallHeight, {330, ietLONG, 1, 8}, {37398, ietBYTE, 4, 1}}), true, false, false},
      {"HD Photo",
       TiffOf({{48129, ietSHORT, 1, 1},
               {48256, ietLONG, 1, 64},
               {48257, ietLONG, 1, 64},
               {48320, ietLONG, 1, 8},
               {48321, ietLONG, 1, 1}}),
       false, false, true},
      {"HD Photo without its data offset",
       TiffOf({{48129, ietSHORT, 1, 1},
               {48256, ietLONG, 1, 64},
               {48257, ietLONG, 1, 64},
               {48321, ietLONG, 1, 1}}),
       false, false, false},
  };
  for (const TContentCase& Case : Cases) {
    for (const Integer Lead : {0, 40}) {
      // From the stream position: a TIFF inside a larger stream counts from its own start.
      TBytes Bytes(Lead, 'x');
      Bytes.insert(Bytes.end(), Case.Bytes.begin(), Case.Bytes.end());
      TMemoryStream Stream;
      Load(Stream, Bytes);
      Stream.Seek(Lead, soBeginning);
      EXPECT_EQ(TiffIsFile(&Stream), Case.Tiff) << Case.Name << " at " << Lead;
      EXPECT_EQ(TiffIsCameraRaw(&Stream), Case.Raw) << Case.Name << " at " << Lead;
      EXPECT_EQ(HdpIsFile(&Stream), Case.Hdp) << Case.Name << " at " << Lead;
      EXPECT_EQ(Stream.GetPosition(), Lead) << Case.Name;
      const TIEFileType Expected = Case.Hdp ? ioHDP : Case.Tiff && !Case.Raw ? ioTIFF : ioUnknown;
      if (Expected != ioUnknown || Case.Raw) {
        const TIEFileType Found = DetectStreamFormat(&Stream);
        if (Case.Raw)
          EXPECT_NE(Found, ioTIFF) << Case.Name;
        else
          EXPECT_EQ(Found, Expected) << Case.Name;
      }
    }
  }
}

TEST(TiffContent, EightBytesAreNoTiff) {
  TMemoryStream Stream;
  Load(Stream, TBytes{'I', 'I', 42, 0, 8, 0, 0, 0});
  EXPECT_FALSE(TiffIsFile(&Stream));
  EXPECT_FALSE(HdpIsFile(&Stream));
}

// The metadata blocks of a page go into the parameters, and a page without them clears them.
TEST(TiffMetadata, XmpOfByteDataAndIptcClearedWhenAbsent) {
  const std::string Xmp = "<x:xmpmeta/>";
  const auto Size = static_cast<Cardinal>(Xmp.size());
  TIOParamsVals Params;
  for (const Word Type : {ietUNDEFINED, ietASCII}) {
    TBytes Bytes = TiffOf({Width, Height, {700, Type, Size, 8 + 2 + 3 * 12 + 4}});
    AddText(Bytes, Xmp);
    TMemoryStream Stream;
    Load(Stream, Bytes);
    TIFFDirectory Dir;
    Dir.Stream = &Stream;
    Integer Count = 0;
    ASSERT_TRUE(TiffReadDirectory(0, 8, Dir, Count));
    Params.XmpInfo = "old";
    Params.IPTCInfo->AddItem(2, 120, 3, "abc");
    TiffReadXMP(Dir, Params);
    TiffReadIPTC(Dir, Params);
    EXPECT_EQ(Params.XmpInfo, Type == ietASCII ? "" : Xmp);
    EXPECT_EQ(Params.IPTCInfo->Count(), 0);
  }
}

// Files other encoders wrote, in both byte orders, strips and tiles: each is a TIFF and no raw
// file, and the walk finds every page of the multi-page one.
TEST(TiffContent, EveryFixtureFileIsTiff) {
  const auto Folder = std::filesystem::path(__FILE__).parent_path() / "fixtures" / "tiff";
  Integer Files = 0;
  for (const auto& Item : std::filesystem::directory_iterator(Folder)) {
    if (Item.path().extension() != ".tif") continue;
    std::ifstream In(Item.path(), std::ios::binary);
    const TBytes Bytes{std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>()};
    TMemoryStream Stream;
    Load(Stream, Bytes);
    const std::string Name = Item.path().filename().string();
    EXPECT_TRUE(TiffIsFile(&Stream)) << Name;
    EXPECT_FALSE(TiffIsCameraRaw(&Stream)) << Name;
    EXPECT_EQ(DetectStreamFormat(&Stream), ioTIFF) << Name;
    TIFFDirectory Dir;
    Dir.Stream = &Stream;
    Dir.LittleEndian = Bytes[0] == 'I';
    Integer Pages = 0;
    TiffReadDirectory(100, IEGetDWord(Bytes.data() + 4, !Dir.LittleEndian), Dir, Pages);
    EXPECT_EQ(Pages, Name == "multipage.tif" ? 3 : 1) << Name;
    ++Files;
  }
  EXPECT_GT(Files, 20);
}

}  // namespace
