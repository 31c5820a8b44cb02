#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RegistryTestSupport.h"

namespace {

std::vector<TIEFileType> RegisteredCodes() {
  std::vector<TIEFileType> Codes;
  for (Integer I = 0; I < FileFormatCount(); ++I) Codes.push_back(FileFormatAt(I)->FileType);
  return Codes;
}

TEST_F(TRegistryTest, RegistersOnlyTheBuiltFormatsInTableOrder) {
  Build();
  EXPECT_EQ(RegisteredCodes(), (std::vector<TIEFileType>{ioTIFF, ioJPEG, ioPCX, ioPNG, ioWMF, ioEMF, ioDCX}));
  FreeFileFormats();
  Build(RegisterFakeBmp);
  EXPECT_EQ(RegisteredCodes(),
            (std::vector<TIEFileType>{ioTIFF, ioJPEG, ioPCX, ioBMP, ioPNG, ioWMF, ioEMF, ioDCX}));
}

TEST_F(TRegistryTest, BuiltInRowsCarryTheirDescriptionsAndPlaceholders) {
  Build(RegisterFakeBmp);
  const TIEFileFormatInfo* Jpeg = FindFileFormatInfo(ioJPEG);
  ASSERT_NE(Jpeg, nullptr);
  EXPECT_EQ(Jpeg->FullName, "JPEG Bitmap");
  EXPECT_EQ(Jpeg->Extension, "JPG;JPEG;JPE;JIF");
  EXPECT_EQ(Jpeg->DialogPage, 4);
  EXPECT_TRUE(Jpeg->InternalFormat);
  EXPECT_EQ(Jpeg->ReadFunction, IEPlaceholderRead);
  EXPECT_EQ(Jpeg->WriteFunction, IEPlaceholderWrite);
  EXPECT_EQ(Jpeg->TestFunction, IEPlaceholderTest);
  EXPECT_EQ(FindFileFormatInfo(ioBMP)->FullName, "Windows Bitmap");
  EXPECT_EQ(FindFileFormatInfo(ioBMP)->DialogPage, 32);
  EXPECT_EQ(FindFileFormatInfo(ioPNG)->FullName, "Portable Network Graphics");
  EXPECT_EQ(FindFileFormatInfo(ioPNG)->DialogPage, 128);
}

TEST_F(TRegistryTest, FormatsWithoutFiltersAreUnknown) {
  Build(RegisterFakeBmp);
  for (TIEFileType Code : {ioGIF, ioICO, ioTGA, ioAVI, ioHDP, 22, 23})
    EXPECT_EQ(FindFileFormatInfo(Code), nullptr) << Code;
  for (const char* Ext : {"gif", "wdp", "pix"}) EXPECT_EQ(FindFileFormatInfoByExtension(Ext), nullptr);
}

TEST_F(TRegistryTest, FreeingTheRegistryForgetsTheFurtherFormats) {
  Build(RegisterFakeBmp);
  FreeFileFormats();
  EXPECT_EQ(FileFormatCount(), 0);
  EXPECT_EQ(IEFormatProcs.BmpReadStream, nullptr);
  EXPECT_EQ(FindFileFormatInfo(ioJPEG), nullptr);
}

TEST_F(TRegistryTest, ExtensionLookupIgnoresCaseAndOneDot) {
  Build(RegisterFakeBmp);
  struct TCase {
    const char* Ext;
    TIEFileType Expected;
  };
  const TCase Cases[] = {{".JPG", ioJPEG}, {"jpeg", ioJPEG}, {"Jif", ioJPEG}, {".rle", ioBMP},
                         {"DIB", ioBMP},   {"png", ioPNG},   {"", 0},         {".", 0},
                         {"..jpg", 0},     {".win", 0},      {"jp", 0},       {"jpgx", 0}};
  for (const TCase& Case : Cases) {
    const TIEFileFormatInfo* Info = FindFileFormatInfoByExtension(Case.Ext);
    EXPECT_EQ(Info ? Info->FileType : 0, Case.Expected) << Case.Ext;
    EXPECT_EQ(IEFileTypeOfExtension(Case.Ext), Case.Expected) << Case.Ext;
  }
}

TEST_F(TRegistryTest, LaterRowOfACodeIsLookedUpThroughTheFirstRowsList) {
  Build();
  RegisterFileFormat(MakeInfo(ioJPEG, "XYZ"));
  EXPECT_EQ(FindFileFormatInfoByExtension("xyz"), nullptr);
  EXPECT_EQ(FindFileFormatInfoByExtension("jpg"), FileFormatAt(1));
  // An earlier row shadows a later row's extension of another code.
  RegisterFileFormat(MakeInfo(77, "PNG;QQQ"));
  EXPECT_EQ(FindFileFormatInfoByExtension("png")->FileType, ioPNG);
  EXPECT_EQ(FindFileFormatInfoByExtension("qqq")->FileType, 77);
}

TEST_F(TRegistryTest, ExtensionListsEndAtTheirFirstEmptyItem) {
  Build();
  struct TCase {
    const char* List;
    std::vector<std::string> Items;
  };
  const TCase Cases[] = {{"A;BB;C", {"A", "BB", "C"}}, {"A;;B", {"A"}}, {"A;", {"A"}}, {";A", {}}, {"", {}}};
  TIEFileType Code = 100;
  for (const TCase& Case : Cases) {
    RegisterFileFormat(MakeInfo(Code, Case.List));
    ASSERT_EQ(FileFormatExtensionCount(Code), static_cast<Integer>(Case.Items.size())) << Case.List;
    for (size_t I = 0; I < Case.Items.size(); ++I)
      EXPECT_EQ(FileFormatExtension(Code, static_cast<Integer>(I)), Case.Items[I]);
    EXPECT_EQ(FileFormatExtension(Code, static_cast<Integer>(Case.Items.size())), "");
    EXPECT_EQ(FileFormatExtension(Code, -1), "");
    ++Code;
  }
  EXPECT_EQ(FileFormatExtensionCount(999), 0);
  EXPECT_EQ(FileFormatExtension(999, 0), "");
  EXPECT_EQ(FileFormatExtension(ioJPEG, 3), "JIF");
}

TEST_F(TRegistryTest, UnregisterRemovesTheFirstRowOfTheCodeOnly) {
  Build();
  RegisterFileFormat(MakeInfo(ioJPEG, "XYZ"));
  UnregisterFileFormat(ioJPEG);
  ASSERT_NE(FindFileFormatInfo(ioJPEG), nullptr);
  EXPECT_EQ(FindFileFormatInfo(ioJPEG)->Extension, "XYZ");
  EXPECT_EQ(RegisteredCodes(), (std::vector<TIEFileType>{ioTIFF, ioPCX, ioPNG, ioWMF, ioEMF, ioDCX, ioJPEG}));
  UnregisterFileFormat(12345);
  EXPECT_EQ(FileFormatCount(), 7);
  EXPECT_EQ(FileFormatAt(7), nullptr);
  EXPECT_EQ(FileFormatAt(-1), nullptr);
}

}  // namespace
