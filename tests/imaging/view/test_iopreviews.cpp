// The save-parameters dialog: the rules of its working copy without a window, then the form
// itself on the headless screen, opened by the I/O component and answered by the test.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ViewCoreTestSupport.h"
#include "imaging/core/hyieutils.h"
#include "imaging/core/iepalettedialog.h"
#include "imaging/io/ieiolibrary.h"
#include "imaging/io/zezudidio.h"
#include "imaging/io/zezudidioparams.h"
#include "imaging/view/iopreviews.h"
#include "platform/classes/Bitmap.h"
#include "platform/classes/Screen.h"
#include "platform/system/Streams.h"
#include "platform/system/StringList.h"
#include "platform/system/Strings.h"
#include "platform/user/WindowMessages.h"

namespace {

// ---- Working copy ---------------------------------------------------------------------------

TEST(PreviewsState, TiffCompressionListWithAndWithoutTheLzwCoder) {
  TStringList Items;
  IETiffCompressionItems(false, &Items);
  ASSERT_EQ(Items.GetCount(), 8);
  EXPECT_EQ(Items.GetStrings(5), "JPEG");
  IETiffCompressionItems(true, &Items);
  ASSERT_EQ(Items.GetCount(), 9);
  EXPECT_EQ(Items.GetStrings(5), "LZW");
  EXPECT_EQ(Items.GetStrings(8), "ZIP");

  // {value, index without LZW, index with LZW}
  const struct {
    Integer Value, Plain, Lzw;
  } Cases[] = {{0, 0, 0}, {1, 1, 1}, {4, 4, 4}, {5, 6, 5}, {7, 5, 6},
               {8, 6, 7}, {9, 7, 8}, {6, 0, 0}, {10, 0, 0}};
  for (const auto& C : Cases) {
    EXPECT_EQ(TfIOPreviews::CompressionToIndex(C.Value, false), C.Plain) << C.Value;
    EXPECT_EQ(TfIOPreviews::CompressionToIndex(C.Value, true), C.Lzw) << C.Value;
  }
  // Back: the list's positions stand for 0-4, (5), 7, 8, 9; a stored LZW comes back as PACKBITS.
  const Integer Plain[] = {0, 1, 2, 3, 4, 7, 8, 9};
  for (Integer I = 0; I < 8; ++I) EXPECT_EQ(TfIOPreviews::IndexToCompression(I, false), Plain[I]);
  const Integer Lzw[] = {0, 1, 2, 3, 4, 5, 7, 8, 9};
  for (Integer I = 0; I < 9; ++I) EXPECT_EQ(TfIOPreviews::IndexToCompression(I, true), Lzw[I]);
  EXPECT_EQ(TfIOPreviews::IndexToCompression(TfIOPreviews::CompressionToIndex(5, false), false), 8);
}

TEST(PreviewsState, ColourListsStandForSamplesAndBits) {
  Integer Samples = 0, Bits = 0;
  IEColorListEntry(iclBMP, 4, Samples, Bits);  // "16M (32bit)" writes as 16M
  EXPECT_EQ(Samples, 3);
  EXPECT_EQ(Bits, 8);
  EXPECT_EQ(IEColorListIndex(iclBMP, 3, 8), 3);
  EXPECT_EQ(IEColorListIndex(iclTIFF, 1, 16), 3);
  EXPECT_EQ(IEColorListIndex(iclTIFFSimple, 1, 16), -1);
  EXPECT_EQ(IEColorListIndex(iclPNG, 1, 4), -1);
  EXPECT_EQ(IEColorListIndex(iclPCX, 1, 4), 1);
  // An entry outside the list changes nothing.
  IEColorListEntry(iclPNG, 3, Samples, Bits);
  EXPECT_EQ(Samples, 3);
}

TEST(PreviewsState, LoadingKeepsListIndicesForPairsTheListsDoNotHave) {
  TIOParamsVals Params;
  TIEPreviewsState S;
  Params.SamplesPerPixel = 1;
  Params.BitsPerSample = 4;
  IEPreviewsLoadState(Params, S);
  EXPECT_EQ(S.BmpColors, 1);
  EXPECT_EQ(S.PngColors, 2);  // no 16-colour entry: as it was
  EXPECT_EQ(S.GifBits, 4);
  Params.BitsPerSample = 16;
  IEPreviewsLoadState(Params, S);
  EXPECT_EQ(S.TiffColors, 3);
  EXPECT_EQ(S.GifBits, 4);  // no GIF of 16 bits
}

TEST(PreviewsState, TiffColourListFollowsSamplesBitsAndPhotometric) {
  const struct {
    Integer Samples, Bits;
    Byte Photometric;
    bool Simplified;
    Integer Compression, Start, Expected;
  } Cases[] = {
      {1, 1, 1, false, 0, 4, 0},                              // grey, one bit: B/W
      {1, 4, 3, false, 0, 4, 1},                              // palette of 16
      {1, 8, 0, false, 0, 4, 2}, {1, 16, 1, false, 0, 4, 3},  // 16-bit grey keeps its entry
      {1, 4, 1, false, 0, 4, 2},                              // grey of 16: shown as 256
      {3, 8, 2, false, 0, 0, 4}, {1, 1, 2, false, 0, 4, 4},   // RGB turns B/W into 16M
      {1, 8, 5, false, 0, 0, 4},                              // CMYK is always 16M
      {2, 8, 3, false, 0, 1, 1},                              // unknown pair, palette: unchanged
      {1, 16, 1, true, 0, 2, 2},                              // no 65536 on the simplified list
      {3, 8, 2, true, 3, 3, 0},                               // G3 2D: one bit
      {1, 1, 1, true, 7, 0, 3},                               // JPEG: 24 bits
  };
  for (const auto& C : Cases) {
    TIEPreviewsState S;
    S.TiffSamples = C.Samples;
    S.TiffBits = C.Bits;
    S.TiffPhotometric = C.Photometric;
    S.TiffCompression = C.Compression;
    (C.Simplified ? S.TiffSimpleColors : S.TiffColors) = C.Start;
    IEPreviewsShowTiff(S, C.Simplified);
    EXPECT_EQ(C.Simplified ? S.TiffSimpleColors : S.TiffColors, C.Expected)
        << C.Samples << "x" << C.Bits << " photometric " << int(C.Photometric);
  }
}

TEST(PreviewsState, TiffPhotometricAndColourChoicesKeepEachOtherConsistent) {
  TIEPreviewsState S;
  // Photometric chosen: {photometric, colours before, colours after}
  const struct {
    Byte Photometric;
    Integer Before, After;
  } Photo[] = {{0, 4, 2}, {1, 0, 0}, {1, 1, 2}, {2, 0, 4}, {3, 4, 2}, {4, 1, 1}, {5, 2, 4}, {7, 0, 4}};
  for (const auto& C : Photo) {
    S.TiffColors = C.Before;
    IEPreviewsTiffPhotometricChosen(S, C.Photometric);
    EXPECT_EQ(S.TiffColors, C.After) << int(C.Photometric);
  }
  // Colours chosen: {colours, photometric before, photometric after}
  const struct {
    Integer Colors;
    Byte Before, After;
  } Colors[] = {{0, 6, 1}, {0, 0, 0}, {1, 2, 3}, {2, 2, 3}, {2, 6, 3}, {2, 1, 1}, {4, 6, 6}, {3, 1, 1}};
  for (const auto& C : Colors) {
    S.TiffPhotometric = C.Before;
    IEPreviewsTiffColorsChosen(S, C.Colors);
    EXPECT_EQ(S.TiffPhotometric, C.After) << C.Colors << " from " << int(C.Before);
  }
  IEPreviewsTiffColorsChosen(S, 3);
  EXPECT_EQ(S.TiffSamples, 1);
  EXPECT_EQ(S.TiffBits, 16);
}

TEST(PreviewsState, SimplifiedTiffCompressionAndColours) {
  TIEPreviewsState S;
  IEPreviewsTiffSimpleCompressionChosen(S, 4);  // G4
  EXPECT_EQ(S.TiffSimpleColors, 0);
  EXPECT_EQ(S.TiffPhotometric, 1);
  EXPECT_EQ(S.TiffBits, 1);
  IEPreviewsTiffSimpleColorsChosen(S, 2);  // 256 colours cannot be fax coded
  EXPECT_EQ(S.TiffCompression, 0);
  IEPreviewsTiffSimpleCompressionChosen(S, 7);  // JPEG
  EXPECT_EQ(S.TiffSimpleColors, 3);
  EXPECT_EQ(S.TiffPhotometric, 6);
  IEPreviewsTiffSimpleColorsChosen(S, 1);  // 16 colours with JPEG
  EXPECT_EQ(S.TiffCompression, 0);
  EXPECT_EQ(S.TiffSamples, 1);
  EXPECT_EQ(S.TiffBits, 4);
  IEPreviewsTiffSimpleCompressionChosen(S, 8);  // PACKBITS keeps the colours
  IEPreviewsTiffSimpleColorsChosen(S, 2);
  EXPECT_EQ(S.TiffCompression, 8);
}

TEST(PreviewsState, EachPageWritesItsValuesAndFileType) {
  const struct {
    TIEPreviewsPage Page;
    TIEFileType Type;
  } Pages[] = {{ppgJPEG, 3}, {ppgJPEG2, 3}, {ppgTIFF, 1}, {ppgTIFF2, 1}, {ppgGIF, 2},   {ppgGIF2, 2},
               {ppgBMP, 5},  {ppgPCX, 4},   {ppgPNG, 8},  {ppgTGA, 11},  {ppgJ2000, 14}};
  TIEPreviewsState S;
  S.JpegQuality = 33;
  S.TiffImageIndex = 4;
  S.TiffPhotometric = 5;  // CMYK writes four samples
  S.TiffColors = 2;
  S.GifImageIndex = 2;
  S.GifBits = 3;
  S.BmpColors = 4;
  S.BmpRunLength = true;
  S.PcxColors = 0;
  S.PngColors = 1;
  S.PngCompression = 9;
  S.TgaColors = 0;
  S.TgaName = "name";
  S.J2000ColorSpace = 0;
  S.J2000Rate = 0.25;
  for (const auto& P : Pages) {
    TIOParamsVals Params;
    IEPreviewsStoreState(S, P.Page, Params);
    EXPECT_EQ(Params.FileType, P.Type) << int(P.Page);
    switch (P.Page) {
      case ppgJPEG2:
        EXPECT_EQ(Params.JpegQuality, 33);
        break;
      case ppgTIFF:
        EXPECT_EQ(Params.SamplesPerPixel, 4);
        EXPECT_EQ(Params.BitsPerSample, 8);
        EXPECT_EQ(Params.ImageIndex, 4);
        EXPECT_EQ(Params.TiffImageIndex, 4);
        break;
      case ppgGIF:
        EXPECT_EQ(Params.GifImageIndex, 2);
        EXPECT_EQ(Params.ImageIndex, 2);
        EXPECT_EQ(Params.BitsPerSample, 3);
        EXPECT_EQ(Params.SamplesPerPixel, 1);
        break;
      case ppgBMP:
        EXPECT_EQ(Params.BmpCompression, 1);
        EXPECT_EQ(Params.SamplesPerPixel, 3);
        EXPECT_EQ(Params.BitsPerSample, 8);
        break;
      case ppgPCX:
        EXPECT_EQ(Params.BitsPerSample, 1);
        break;
      case ppgPNG:
        EXPECT_EQ(Params.BitsPerSample, 8);
        EXPECT_EQ(Params.SamplesPerPixel, 1);
        EXPECT_EQ(Params.PngCompression, 9);
        break;
      case ppgTGA:
        EXPECT_EQ(Params.TgaImageName, "name");
        break;
      case ppgJ2000:
        EXPECT_EQ(Params.SamplesPerPixel, 1);
        EXPECT_EQ(Params.BitsPerSample, 8);
        EXPECT_EQ(Params.J2000ColorSpace, 0);
        EXPECT_DOUBLE_EQ(Params.J2000Rate, 0.25);
        break;
      default:
        break;
    }
  }
}

// ---- The form -------------------------------------------------------------------------------

class TPreviewsFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Picture = PatternPicture(24, 16);
    Params.FileType = ioPNG;
  }
  void TearDown() override {
    SetModalHook(nullptr);
    Form.reset();
    Application->ProcessMessages();
  }
  // A dialog over Picture and Params, activated as ShowModal would.
  TfIOPreviews& Open(Word Pages = iepAll, bool Simplified = false, bool Lock = false) {
    Form = std::make_unique<TfIOPreviews>(nullptr);
    Form->SetParams(&Params);
    Form->SetSimplified(Simplified);
    Form->SetDefaultLockPreview(Lock);
    Form->SetPicture(Picture.get());
    EXPECT_TRUE(Form->SetPages(Pages));
    Form->FormActivate(Form.get());
    return *Form;
  }
  std::unique_ptr<TIEBitmap> Picture;
  TIOParamsVals Params;
  std::unique_ptr<TfIOPreviews> Form;
};

TEST_F(TPreviewsFormTest, PageSetAddsThePageOfTheFileType) {
  TfIOPreviews F(nullptr);
  F.SetParams(&Params);
  Params.FileType = ioWBMP;
  EXPECT_FALSE(F.SetPages(iepFileType));
  EXPECT_FALSE(F.SetPages(0));
  const struct {
    TIEFileType Type;
    Word Bit;
  } Cases[] = {{ioTIFF, 8},  {ioGIF, 16},  {ioJPEG, 4},  {ioPCX, 64}, {ioBMP, 32},
               {ioPNG, 128}, {ioTGA, 256}, {ioJP2, 512}, {ioJ2K, 512}};
  for (const auto& C : Cases) {
    Params.FileType = C.Type;
    EXPECT_TRUE(F.SetPages(iepFileType | iepBMP));
    EXPECT_EQ(F.GetPages(), iepFileType | iepBMP | C.Bit) << C.Type;
  }
}

TEST_F(TPreviewsFormTest, TheLanguageDressesLabelsGroupsAndButtons) {
  TfIOPreviews F(nullptr);
  F.ApplyLanguage(msGerman);
  auto Word = [](Byte I) { return Utf16ToUtf8(GetWord(I, msGerman)); };
  EXPECT_EQ(F.GetCaption(), Word(37));
  EXPECT_EQ(F.Button3->GetCaption(), Word(0));
  EXPECT_EQ(F.Button2->GetCaption(), Word(4));
  EXPECT_EQ(F.Button4->GetCaption(), Word(120));
  EXPECT_EQ(F.chkLockPreview->GetCaption(), Word(5));
  EXPECT_EQ(F.LabelSource->GetCaption(), Word(1) + ":");
  EXPECT_EQ(F.GroupJPEGAdvanced->GetCaption(), " " + Word(45) + " ");
  EXPECT_EQ(F.SizeLabels[ppgPNG].CompressedCaption->GetCaption(), Word(44) + ":");
  EXPECT_EQ(F.CheckBox5->GetCaption(), Word(61) + ":");
  EXPECT_EQ(F.CheckBox6->GetCaption(), Word(61));
  EXPECT_EQ(F.CancelCaption, "&" + Word(4));
}

TEST_F(TPreviewsFormTest, ActivationShowsThePagesAndOpensThatOfTheFileType) {
  Params.FileType = ioTIFF;
  TfIOPreviews& F = Open();
  for (TTabSheet* S : {F.TabSheetJPEG1, F.TabSheetTIFF1, F.TabSheetGIF1, F.TabSheetBMP1, F.TabSheetPCX1,
                       F.TabSheetPNG1, F.TabSheetTGA1, F.TabSheetJ20001})
    EXPECT_TRUE(S->GetTabVisible()) << S->GetCaption();
  for (TTabSheet* S : {F.TabSheetJPEG2, F.TabSheetTIFF2, F.TabSheetGIF2}) EXPECT_FALSE(S->GetTabVisible());
  EXPECT_EQ(F.PageControl1->GetActivePage(), F.TabSheetTIFF1);
  EXPECT_TRUE(F.PageControl1->GetVisible());
  EXPECT_TRUE(F.GetActivated());
  EXPECT_FALSE(F.Button4->GetEnabled());
  EXPECT_TRUE(F.Button3->GetEnabled());  // no lock: the button builds the preview
  EXPECT_EQ(F.SizeLabels[ppgTIFF].Original->GetCaption(), std::to_string(72 * 16) + " bytes");
  EXPECT_NE(F.SizeLabels[ppgTIFF].Compressed->GetCaption(), "---");
}

TEST_F(TPreviewsFormTest, SimplifiedModeUsesTheShortPagesAndTheScreensHeights) {
  Params.FileType = ioGIF;
  TfIOPreviews& F = Open(iepJPEG | iepTIFF | iepGIF | iepPNG, true);
  const Integer PPI = Screen->GetPixelsPerInch();
  EXPECT_EQ(F.PageControl1->GetHeight(), static_cast<Integer>(1.2708333 * PPI));
  EXPECT_EQ(F.GetHeight(), static_cast<Integer>(3.75 * PPI));
  EXPECT_EQ(F.chkLockPreview->GetTop(), static_cast<Integer>(3.1458333 * PPI));
  for (TTabSheet* S : {F.TabSheetJPEG2, F.TabSheetTIFF2, F.TabSheetGIF2, F.TabSheetPNG1})
    EXPECT_TRUE(S->GetTabVisible()) << S->GetCaption();
  for (TTabSheet* S : {F.TabSheetJPEG1, F.TabSheetTIFF1, F.TabSheetGIF1, F.TabSheetBMP1})
    EXPECT_FALSE(S->GetTabVisible()) << S->GetCaption();
  EXPECT_EQ(F.PageControl1->GetActivePage(), F.TabSheetGIF2);
  EXPECT_FALSE(F.GroupPNGAdvanced->GetVisible());
  EXPECT_FALSE(F.Panel1->GetVisible());
  EXPECT_EQ(F.SizeLabels[ppgGIF2].OriginalCaption->GetTop(), 61);
  EXPECT_EQ(F.SizeLabels[ppgGIF2].Compressed->GetTop(), 77);
}

TEST_F(TPreviewsFormTest, ShownValuesComeFromTheParameters) {
  Params.FileType = ioJPEG;
  Params.JpegQuality = 42;
  Params.JpegColorSpace = 3;  // CMYK has an entry but no stored value of its own
  Params.TiffCompression = 5;
  Params.GifHasTransparentColor = false;
  TTiffLzwCompressProc Saved = IETiffLzwCompressProc;
  IETiffLzwCompressProc = nullptr;
  TfIOPreviews& F = Open();
  IETiffLzwCompressProc = Saved;
  EXPECT_EQ(F.Edit22->GetText(), "42");
  EXPECT_EQ(F.TrackBar13->GetPosition(), 42);
  EXPECT_EQ(F.ComboBox13->GetItemIndex(), -1);
  EXPECT_EQ(F.ComboBox2->GetItems()->GetCount(), 8);
  EXPECT_EQ(F.ComboBox2->GetItems()->GetStrings(F.ComboBox2->GetItemIndex()), "PACKBITS");
  EXPECT_FALSE(F.Panel3->GetEnabled());
  EXPECT_EQ(F.PageControl1->GetActivePage(), F.TabSheetJPEG1);
}

TEST_F(TPreviewsFormTest, JpegPreviewShowsTheCompressedStreamAndItsDecoding) {
  Params.FileType = ioJPEG;
  Params.JpegQuality = 90;
  TfIOPreviews& F = Open();
  // The size shown is that of the stream the component writes with these settings.
  TZezudIdIO* Writer = F.ZezudId1->GetIO();
  TMemoryStream Stream;
  Writer->SaveToStreamJpeg(&Stream);
  EXPECT_EQ(F.SizeLabels[ppgJPEG].Compressed->GetCaption(), IntToStr(Stream.GetSize()) + " bytes");
  EXPECT_EQ(F.SizeLabels[ppgJPEG2].Compressed->GetCaption(), IntToStr(Stream.GetSize()) + " bytes");
  EXPECT_EQ(F.ZezudId2->GetIEBitmap()->GetWidth(), 24);
  EXPECT_EQ(F.ZezudId2->GetIEBitmap()->GetHeight(), 16);
  EXPECT_EQ(F.ZezudId1->GetIO()->GetParams()->JpegQuality, 90);

  // Typing a quality moves the track bar, which stores it; the text follows the track bar. (The
  // form is not shown: the edit has no window to report its change, so the test does.)
  F.Edit22->SetText("20");
  F.JpegQualityTextChange(F.Edit22);
  EXPECT_EQ(F.TrackBar13->GetPosition(), 20);
  EXPECT_EQ(F.GetState().JpegQuality, 20);
  EXPECT_EQ(F.TrackBar2->GetPosition(), 20);
  F.Edit22->SetText("x");  // unreadable: 50
  F.JpegQualityTextChange(F.Edit22);
  EXPECT_EQ(F.GetState().JpegQuality, 50);
  EXPECT_EQ(F.Edit22->GetText(), "50");
}

TEST_F(TPreviewsFormTest, WithoutLockChangesOnlyEnableApplyUntilPreviewIsPressed) {
  Params.SamplesPerPixel = 3;
  Params.BitsPerSample = 8;
  TfIOPreviews& F = Open();
  ASSERT_EQ(F.PageControl1->GetActivePage(), F.TabSheetPNG1);
  const std::string Before = F.SizeLabels[ppgPNG].Compressed->GetCaption();
  EXPECT_TRUE(F.ZezudId2->GetIO()->GetParams()->ColorMap.empty());
  F.ComboBox10->SetItemIndex(0);  // B/W
  F.ControlChange(F.ComboBox10);
  EXPECT_TRUE(F.Button4->GetEnabled());
  EXPECT_EQ(F.SizeLabels[ppgPNG].Compressed->GetCaption(), Before);
  F.Button3->Click();
  EXPECT_NE(F.SizeLabels[ppgPNG].Compressed->GetCaption(), Before);
  // The result holds what a two-colour PNG can: its palette has two entries.
  EXPECT_EQ(F.ZezudId2->GetIO()->GetParams()->ColorMap.size(), 2u);
  EXPECT_EQ(F.ZezudId2->GetIEBitmap()->GetPixelFormat(), ie1g);

  // Apply writes the page and turns itself off; the caller's picture was not touched.
  F.Button4->Click();
  EXPECT_FALSE(F.Button4->GetEnabled());
  EXPECT_EQ(Params.BitsPerSample, 1);
  EXPECT_EQ(Params.SamplesPerPixel, 1);
  EXPECT_EQ(Params.FileType, ioPNG);
  EXPECT_EQ(Picture->GetPixelFormat(), ie24RGB);
}

TEST_F(TPreviewsFormTest, LockedPreviewFollowsEveryChange) {
  Params.FileType = ioGIF;
  TfIOPreviews& F = Open(iepAll, false, true);
  EXPECT_TRUE(F.chkLockPreview->GetChecked());
  EXPECT_FALSE(F.Button3->GetEnabled());
  F.ComboBox5->SetItemIndex(1);  // 4 colours
  F.ControlChange(F.ComboBox5);
  EXPECT_EQ(F.GetState().GifBits, 2);
  EXPECT_EQ(F.ZezudId2->GetIO()->GetParams()->ColorMap.size(), 4u);
  // The transparent colour's label and panel follow the check box.
  F.CheckBox4->SetChecked(true);
  EXPECT_TRUE(F.Panel3->GetEnabled());
  EXPECT_TRUE(F.GetState().GifTransparent);
}

TEST_F(TPreviewsFormTest, SwitchingPagesReloadsTheParametersAndTurnsApplyOff) {
  TfIOPreviews& F = Open();
  F.ComboBox7->SetItemIndex(0);
  F.ControlChange(F.ComboBox7);
  EXPECT_EQ(F.GetState().BmpColors, 0);
  F.PageControl1->SetActivePage(F.TabSheetBMP1);
  F.PageControl1Change(F.PageControl1);
  EXPECT_EQ(F.GetState().BmpColors, 3);  // the parameters' 24 bits
  EXPECT_EQ(F.ComboBox7->GetItemIndex(), 3);
  EXPECT_FALSE(F.Button4->GetEnabled());
}

// Picks colour Index in the palette window that the panel opened, as a hover and click would.
void PickFromPalette(Integer Index, bool& Picked) {
  SetModalHook([Index, &Picked] {
    auto* Dialog = dynamic_cast<TZezudIdPaletteDialog*>(Screen->GetActiveForm());
    if (!Dialog || Picked) return;
    Picked = true;
    EXPECT_EQ(Dialog->CancelButton->GetCaption(), "&Cancel");
    Dialog->OnMouseMove(Dialog, TShiftState{}, (Index % 32) * 16 + 5, (Index / 32) * 16 + 5);
    Dialog->OnClick(Dialog);
  });
}

TEST_F(TPreviewsFormTest, GifColourPanelsChooseFromTheResultsPalette) {
  Params.FileType = ioGIF;
  Params.BitsPerSample = 2;
  Params.SamplesPerPixel = 1;
  TfIOPreviews& F = Open();
  const std::vector<TIERGBTriple> Palette = F.ZezudId2->GetIO()->GetParams()->ColorMap;
  ASSERT_EQ(Palette.size(), 4u);
  bool Picked = false;
  PickFromPalette(3, Picked);
  F.ColorPanelClick(F.Panel4);
  EXPECT_TRUE(Picked);
  const TIERGBTriple& C = F.GetState().GifBackground;
  EXPECT_EQ(C.rgbtRed, Palette[3].rgbtRed);
  EXPECT_EQ(C.rgbtGreen, Palette[3].rgbtGreen);
  EXPECT_EQ(C.rgbtBlue, Palette[3].rgbtBlue);
  EXPECT_EQ(F.Panel4->GetColor(), static_cast<TColor>(C.rgbtRed | (C.rgbtGreen << 8) | (C.rgbtBlue << 16)));
  EXPECT_TRUE(F.Button4->GetEnabled());
}

TEST_F(TPreviewsFormTest, PngBackgroundWithoutAPaletteOffersTheBasicColours) {
  TfIOPreviews& F = Open();  // 24-bit PNG: the result keeps no palette
  ASSERT_TRUE(F.ZezudId2->GetIO()->GetParams()->ColorMap.empty());
  bool Picked = false;
  PickFromPalette(47, Picked);  // the last basic colour, white
  F.ColorPanelClick(F.Panel1);
  EXPECT_TRUE(Picked);
  const TIERGBTriple& C = F.GetState().PngBackground;
  EXPECT_EQ(C.rgbtRed + C.rgbtGreen + C.rgbtBlue, 3 * 255);
  F.Button1->Click();
  EXPECT_EQ(Params.PngBackground.rgbtGreen, 255);
}

TEST_F(TPreviewsFormTest, ResizingPaintsTheBackgroundByTheLibraryStyle) {
  TfIOPreviews& F = Open();
  const Byte Saved = IEDialogBackgroundStyle;
  IEDialogBackgroundStyle = 0;
  F.FormResize(&F);
  EXPECT_TRUE(F.Image1->GetPicture()->GetBitmap()->Empty());
  IEDialogBackgroundStyle = 1;
  F.FormResize(&F);
  IEDialogBackgroundStyle = Saved;
  TBitmap* B = F.Image1->GetPicture()->GetBitmap();
  EXPECT_EQ(B->GetWidth(), F.Image1->GetWidth());
  EXPECT_EQ(B->GetHeight(), F.Image1->GetHeight());
  // The stripes' first two rows: grey 240 and 251.
  EXPECT_EQ(B->GetCanvas()->GetPixels(0, 0) & 0xFF, 240);
  EXPECT_EQ(B->GetCanvas()->GetPixels(0, 1) & 0xFF, 251);
}

// The whole road: the component's preview operation opens the dialog, the test picks values
// and confirms or cancels through the modal loop.
class TPreviewsDialogTest : public ::testing::Test {
 protected:
  void TearDown() override {
    SetModalHook(nullptr);
    Host.reset();
    Application->ProcessMessages();
  }

 public:
  void Preview(TObject*, TForm* PreviewForm) { Shown = dynamic_cast<TfIOPreviews*>(PreviewForm); }

 protected:
  // Runs Action once inside the dialog's modal loop.
  void Answer(std::function<void(TfIOPreviews&)> Action) {
    Acted = false;
    SetModalHook([this, Action] {
      if (Acted || !Shown) return;
      Acted = true;
      Action(*Shown);
    });
  }
  std::unique_ptr<TViewOnForm<>> Host = std::make_unique<TViewOnForm<>>();
  TZezudIdIO* IO() { return Host->View->GetIO(); }
  TfIOPreviews* Shown = nullptr;
  bool Acted = false;
};

TEST_F(TPreviewsDialogTest, OkWritesTheBmpPageAndCancelLeavesTheParameters) {
  Host->View->GetIEBitmap()->Assign(PatternPicture(20, 10).get());
  IO()->SetOnIOPreview(TIEIOPreviewEvent(this, &TPreviewsDialogTest::Preview));
  IO()->GetParams()->FileType = ioBMP;
  IO()->SetPreviewsParams({ioppApplyButton});
  Answer([](TfIOPreviews& F) {
    EXPECT_TRUE(F.Button4->GetVisible());
    EXPECT_EQ(F.PageControl1->GetActivePage(), F.TabSheetBMP1);
    F.ComboBox7->SetItemIndex(0);
    F.ControlChange(F.ComboBox7);
    F.ComboBox6->SetItemIndex(1);
    F.ControlChange(F.ComboBox6);
    F.Button2->Click();
  });
  EXPECT_FALSE(IO()->DoPreviews(iepFileType));
  EXPECT_TRUE(Acted);
  EXPECT_EQ(IO()->GetParams()->BitsPerSample, 8);
  EXPECT_EQ(IO()->GetParams()->BmpCompression, 0);

  Answer([](TfIOPreviews& F) {
    F.ComboBox7->SetItemIndex(4);  // 16M (32bit)
    F.ControlChange(F.ComboBox7);
    F.ComboBox6->SetItemIndex(1);
    F.ControlChange(F.ComboBox6);
    F.Button1->Click();
  });
  IO()->GetParams()->BitsPerSample = 1;
  IO()->GetParams()->SamplesPerPixel = 1;
  EXPECT_TRUE(IO()->DoPreviews(iepFileType));
  EXPECT_TRUE(Acted);
  EXPECT_EQ(IO()->GetParams()->BitsPerSample, 8);
  EXPECT_EQ(IO()->GetParams()->SamplesPerPixel, 3);
  EXPECT_EQ(IO()->GetParams()->BmpCompression, 1);
  EXPECT_EQ(IO()->GetParams()->FileType, ioBMP);
  // The view has its picture back, unharmed.
  EXPECT_EQ(Host->View->GetIEBitmap()->GetWidth(), 20);
}

TEST_F(TPreviewsDialogTest, NoPageForTheFileTypeShowsNoDialog) {
  IO()->SetOnIOPreview(TIEIOPreviewEvent(this, &TPreviewsDialogTest::Preview));
  IO()->GetParams()->FileType = ioWBMP;
  EXPECT_FALSE(IO()->DoPreviews(iepFileType));
  EXPECT_EQ(Shown, nullptr);
}

TEST_F(TPreviewsDialogTest, Jpeg2000PageWritesColourSpaceSamplesAndRate) {
  Host->View->GetIEBitmap()->Assign(PatternPicture(16, 16).get());
  IO()->SetOnIOPreview(TIEIOPreviewEvent(this, &TPreviewsDialogTest::Preview));
  IO()->GetParams()->FileType = ioJ2K;
  Answer([](TfIOPreviews& F) {
    EXPECT_EQ(F.PageControl1->GetActivePage(), F.TabSheetJ20001);
    EXPECT_NE(F.SizeLabels[ppgJ2000].Compressed->GetCaption(), "---");
    F.Edit15->SetText("250");
    F.ComboBox15->SetItemIndex(0);
    F.ControlChange(F.ComboBox15);
    F.Button1->Click();
  });
  EXPECT_TRUE(IO()->DoPreviews(iepFileType));
  const TIOParamsVals& P = *IO()->GetParams();
  EXPECT_DOUBLE_EQ(P.J2000Rate, 0.25);
  EXPECT_EQ(P.J2000ColorSpace, 0);
  EXPECT_EQ(P.SamplesPerPixel, 1);
  EXPECT_EQ(P.BitsPerSample, 8);
  EXPECT_EQ(P.FileType, ioJ2K);
}

}  // namespace
