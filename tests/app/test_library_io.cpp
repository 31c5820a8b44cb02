// The program reads and writes pictures through the imaging library: the saved format follows
// the chosen name, and the open dialog lists what the library reads.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>

#include "AppTestSupport.h"
#include "imaging/core/iebitmap.h"
#include "imaging/io/iefileformats.h"
#include "imaging/io/zezudidio.h"
#include "imaging/io/zezudidioparams.h"
#include "imaging/view/zezudidview.h"
#include "imaging/view/zezudidviewlayerfile.h"
#include "platform/classes/Bitmap.h"
#include "platform/classes/Metafile.h"
#include "platform/system/Exceptions.h"
#include "platform/system/Files.h"
#include "platform/system/Paths.h"
#include "platform/system/Strings.h"
#include "tests/imaging/formats/CameraRawEntryTestSupport.h"

namespace {
std::string ReadStart(const std::string& Path, std::size_t Count) {
  std::ifstream In(Path, std::ios::binary);
  std::string S(Count, '\0');
  In.read(S.data(), static_cast<std::streamsize>(Count));
  return S.substr(0, static_cast<std::size_t>(In.gcount()));
}

bool IsDicomName(const std::string& Path) {
  const std::string Ext = LowerCase(ExtractFileExt(Path));
  return Ext == ".dcm" || Ext == ".dic" || Ext == ".dicom" || Ext == ".v2";
}

// Writes Picture through the imaging library; the format follows the name's extension.
bool WritePicture(TIEBitmap* Picture, const std::string& Path) {
  // Layer files are written by a view, not by the I/O component.
  if (LowerCase(ExtractFileExt(Path)) == ".lyr") {
    TZezudIdView View(nullptr);
    View.GetIEBitmap()->Assign(Picture);
    View.Update();
    TFileStream File(Path, fmCreate);
    View.SaveLayersToStream(&File, IELayersRawCompressed);
    return true;
  }
  // Icons at the picture's own size; a cursor is such an icon with its type word patched, as the
  // library writes no cursors.
  if (const std::string Ext = LowerCase(ExtractFileExt(Path)); Ext == ".ico" || Ext == ".cur") {
    TZezudIdIO Writer(nullptr);
    Writer.SetAttachedIEBitmap(Picture);
    Writer.GetParams()->IcoSizes[0] = {Picture->GetWidth(), Picture->GetHeight()};
    Writer.GetParams()->IcoBitCounts[0] = 24;
    TMemoryStream Icon;
    Writer.SaveToStream(&Icon, ioICO);
    if (Writer.GetAborting() || Icon.GetSize() < 6) return false;
    static_cast<Byte*>(Icon.GetMemory())[2] = Ext == ".cur" ? 2 : 1;
    Icon.SaveToFile(Path);
    return true;
  }
  // Metafiles are read only: an enhanced metafile that draws the picture through a BMP the
  // library wrote (under the old-style name too: the platform's metafile reads both by content).
  if (const std::string Ext = LowerCase(ExtractFileExt(Path)); Ext == ".wmf" || Ext == ".emf") {
    TZezudIdIO Writer(nullptr);
    Writer.SetAttachedIEBitmap(Picture);
    TMemoryStream Bmp;
    Writer.SaveToStream(&Bmp, ioBMP);
    if (Writer.GetAborting()) return false;
    Bmp.SetPosition(0);
    TBitmap Bitmap;
    Bitmap.LoadFromStream(&Bmp);
    TMetafile Metafile;
    Metafile.SetWidth(Picture->GetWidth());
    Metafile.SetHeight(Picture->GetHeight());
    {
      TMetafileCanvas Canvas(&Metafile, nullptr);
      Canvas.Draw(0, 0, &Bitmap);
    }
    Metafile.SaveToFile(Path);
    return true;
  }
  // DICOM is read only: dcmtk's img2dcm (Debian package dcmtk) wraps a BMP the library wrote.
  if (IsDicomName(Path)) {
    const std::string Bmp = Path + ".bmp";
    TZezudIdIO Writer(nullptr);
    Writer.SetAttachedIEBitmap(Picture);
    Writer.SaveToFile(Utf8ToUtf16(Bmp));
    const std::string Command = "img2dcm -i BMP '" + Bmp + "' '" + Path + "' >/dev/null 2>&1";
    return !Writer.GetAborting() && std::system(Command.c_str()) == 0;
  }
  // Written under the format's first name (a row may list names the writers do not take, as
  // TIFF's XIF), then given the name under test.
  const TIEFileFormatInfo* Info = FindFileFormatInfoByExtension(LowerCase(ExtractFileExt(Path)));
  if (!Info || FileFormatExtensionCount(Info->FileType) == 0) return false;
  // Camera raw is read only: a sensor dump one pixel larger on every side, as the reader trims
  // the border its interpolation cannot reach.
  if (Info->FileType == ioRAW) {
    const auto Raw = CameraRawTest::MakeNucoreRaw(
        Picture->GetWidth() + 2, Picture->GetHeight() + 2, [Picture](Integer Row, Integer Col) {
          const Integer X = std::clamp(Col - 1, 0, Picture->GetWidth() - 1);
          const Integer Y = std::clamp(Row - 1, 0, Picture->GetHeight() - 1);
          return 16 * static_cast<const Byte*>(Picture->GetScanline(Y))[3 * X + 1];
        });
    std::ofstream(Path, std::ios::binary)
        .write(reinterpret_cast<const char*>(Raw.data()), static_cast<std::streamsize>(Raw.size()));
    return true;
  }
  const std::string Written = Path + "." + LowerCase(FileFormatExtension(Info->FileType, 0));
  TZezudIdIO Writer(nullptr);
  Writer.SetAttachedIEBitmap(Picture);
  Writer.SaveToFile(Utf8ToUtf16(Written));
  return !Writer.GetAborting() && RenameFile(Written, Path);
}

TColor TripleColor(const TIERGBTriple& C) {
  return Rgb(C.rgbtRed, C.rgbtGreen, C.rgbtBlue);
}
}  // namespace

class TLibraryIOTest : public TMosaicTest {
 protected:
  // Saves the result through the save dialog as Name; the path written.
  std::string SaveAs(const std::string& Name) {
    TDialogAnswers Answers;
    Answers.FileName = ResultsDir + "/" + Name;
    Form->SaveResult(Form->SaveBtn);
    return ToNativePath(ResultsDir + "/" + Name);
  }
};

TEST_F(TLibraryIOTest, TheResultIsSavedInTheFormatItsExtensionNames) {
  LoadUniform(100, 80, Rgb(200, 100, 50));
  const struct {
    const char* Name;
    std::string Start;
  } Cases[] = {
      {"result.png", "\x89PNG\r\n\x1A\n"},
      {"result.BMP", "BM"},
      {"result.jpg", "\xFF\xD8\xFF"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    const std::string Path = SaveAs(C.Name);
    EXPECT_EQ(ReadStart(Path, C.Start.size()), C.Start);
    // Each one loads back as the result, the lossless ones pixel for pixel.
    TBitmap Back;
    LoadPictureFile(Path, &Back);
    ASSERT_EQ(Back.GetWidth(), ResultBitmap->GetWidth());
    ASSERT_EQ(Back.GetHeight(), ResultBitmap->GetHeight());
    if (C.Start[0] != '\xFF') {
      for (const auto& [X, Y] : {std::pair{0, 0}, std::pair{Back.GetWidth() - 1, Back.GetHeight() - 1},
                                 std::pair{Back.GetWidth() / 2, Back.GetHeight() / 3}})
        EXPECT_EQ(PixelAt(&Back, X, Y), PixelAt(ResultBitmap.get(), X, Y)) << X << "," << Y;
    }
  }
  if (std::system("command -v pngcheck >/dev/null 2>&1") != 0) GTEST_SKIP() << "pngcheck is not installed";
  const std::string Check = "pngcheck -q '" + ToNativePath(ResultsDir + "/result.png") + "' >/dev/null";
  EXPECT_EQ(std::system(Check.c_str()), 0);
}

TEST_F(TLibraryIOTest, AFailedSaveSaysSoAndKeepsTheOldFile) {
  LoadUniform(60, 40, Rgb(1, 2, 3));
  const std::string Path = SaveAs("kept.png");
  std::ifstream In(Path, std::ios::binary);
  const std::string Old{std::istreambuf_iterator<char>(In), {}};
  ASSERT_GT(Old.size(), 8u);
  // The library writes no metafiles: the name keeps its extension and nothing is written.
  EXPECT_THROW(SaveAs("none.emf"), Exception);
  EXPECT_FALSE(FileExists(ResultsDir + "/none.emf"));
  std::ifstream Again(Path, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(Again), {}), Old);
}

TEST_F(TLibraryIOTest, ThePngSourceLoadsThroughTheOpenDialog) {
  LoadUniform(90, 60, Rgb(30, 60, 90));
  const std::string Path = SaveAs("source.png");
  const Integer Width = ResultBitmap->GetWidth();
  TDialogAnswers Answers;
  Answers.FileName = Path;
  Form->LoadPicBtn->Click();
  EXPECT_EQ(SourceFileName, Path);
  EXPECT_EQ(SourceBitmap->GetWidth(), Width + Rim);
}

TEST_F(TLibraryIOTest, TheOpenDialogListsEveryFormatTheLibraryReads) {
  const std::string Filter = Form->OpenPictureDialog->GetFilter();
  EXPECT_EQ(Filter.rfind("All (*.tif;*.tiff;*.fax;*.g3n;*.g3f;*.xif;*.gif;*.jpg;", 0), 0u) << Filter;
  for (const char* Part :
       {"|TIFF Bitmap (*.tif;*.tiff;*.fax;*.g3n;*.g3f;*.xif)|*.tif;*.tiff;*.fax;*.g3n;*.g3f;*.xif",
        "|CompuServe Bitmap (*.gif)|*.gif",
        "|JPEG Bitmap (*.jpg;*.jpeg;*.jpe;*.jif)|*.jpg;*.jpeg;*.jpe;*.jif", "|PaintBrush (*.pcx)|*.pcx",
        "|Windows Bitmap (*.bmp;*.dib;*.rle)|*.bmp;*.dib;*.rle", "|Portable Network Graphics (*.png)|*.png",
        "|Multipage PCX (*.dcx)|*.dcx", "|Layers (*.lyr)|*.lyr"})
    EXPECT_NE(Filter.find(Part), std::string::npos) << Part << " in " << Filter;
}

TEST_F(TLibraryIOTest, EveryFormatTheLibraryReadsOpensFromThePictureDialogAndBuilds) {
  auto Written = MakeBitmap(90, 60, [](Integer X, Integer Y) { return Rgb(X * 2, Y * 4, 128); });
  TIEBitmap Picture;
  Picture.CopyFromTBitmap(Written.get());
  TBuildCounter Builds;
  Builds.Attach();
  Integer Opened = 0;
  for (Integer I = 0; I < FileFormatCount(); ++I) {
    const TIEFileFormatInfo* Info = FileFormatAt(I);
    if (Info->ReadFunction == nullptr) continue;
    for (Integer E = 0; E < FileFormatExtensionCount(Info->FileType); ++E) {
      const std::string Ext = LowerCase(FileFormatExtension(Info->FileType, E));
      SCOPED_TRACE(Ext);
      const std::string Path = ToNativePath(ResultsDir + "/source-" + Ext + "." + Ext);
      if (IsDicomName(Path) && std::system("command -v img2dcm >/dev/null 2>&1") != 0) continue;
      // Every format the program offers to open is one the library also writes today.
      ASSERT_TRUE(WritePicture(&Picture, Path));
      const Integer BuildsBefore = Builds.Count;
      TDialogAnswers Answers;
      Answers.FileName = Path;
      Form->LoadPicBtn->Click();
      EXPECT_TRUE(Answers.Messages.empty()) << Answers.Messages.front();
      EXPECT_EQ(SourceFileName, Path);
      EXPECT_EQ(SourceBitmap->GetWidth(), 90 + Rim);
      EXPECT_EQ(SourceBitmap->GetHeight(), 60 + Rim);
      EXPECT_GT(Builds.Count, BuildsBefore);
      ++Opened;
    }
  }
  // TIFF (six names), JPEG (four), PCX, bitmap (three), PNG, DCX and layers at least.
  EXPECT_GE(Opened, 17);
}

TEST_F(TLibraryIOTest, PalettePicturesLoadInTheirColours) {
  const TIERGBTriple Colours[] = {{0, 0, 255}, {0, 200, 0}, {180, 20, 20}, {90, 90, 90}};
  TIEBitmap Palette(7, 3, ie8p);
  for (Integer C = 0; C < 4; ++C) Palette.SetPaletteColor(C, Colours[C]);
  TIEBitmap Mono(11, 3, ie1g);
  for (Integer Y = 0; Y < 3; ++Y) {
    auto* Indices = static_cast<Byte*>(Palette.GetScanline(Y));
    for (Integer X = 0; X < 7; ++X) Indices[X] = static_cast<Byte>((X + Y) % 4);
    // 1 is white: every third pixel of a row, most significant bit first.
    auto* Bits = static_cast<Byte*>(Mono.GetScanline(Y));
    Bits[0] = Bits[1] = 0;
    for (Integer X = 0; X < 11; X += 3) Bits[X / 8] |= static_cast<Byte>(0x80 >> (X % 8));
  }
  for (const char* Ext : {"bmp", "png"}) {
    SCOPED_TRACE(Ext);
    const std::string PalettePath = ToNativePath(ResultsDir + "/palette." + Ext);
    const std::string MonoPath = ToNativePath(ResultsDir + "/mono." + Ext);
    ASSERT_TRUE(WritePicture(&Palette, PalettePath));
    ASSERT_TRUE(WritePicture(&Mono, MonoPath));
    TBitmap Back;
    LoadPictureFile(PalettePath, &Back);
    ASSERT_EQ(Back.GetWidth(), 7);
    EXPECT_EQ(Back.GetPixelFormat(), pf24bit);
    for (Integer Y = 0; Y < 3; ++Y)
      for (Integer X = 0; X < 7; ++X)
        EXPECT_EQ(PixelAt(&Back, X, Y), TripleColor(Colours[(X + Y) % 4])) << X << "," << Y;
    LoadPictureFile(MonoPath, &Back);
    ASSERT_EQ(Back.GetWidth(), 11);
    for (Integer Y = 0; Y < 3; ++Y)
      for (Integer X = 0; X < 11; ++X)
        EXPECT_EQ(PixelAt(&Back, X, Y), X % 3 == 0 ? clWhite : clBlack) << X << "," << Y;
  }
}

TEST_F(TLibraryIOTest, ANameWithoutAReadableFormatLoadsAnEmptyPicture) {
  const std::string Path = ToNativePath(ResultsDir + "/notes.txt");
  std::ofstream(Path) << "no picture";
  TBitmap Back;
  Back.SetSize(5, 5);
  LoadPictureFile(Path, &Back);
  EXPECT_EQ(Back.GetWidth(), 0);
  EXPECT_EQ(Back.GetHeight(), 0);
}
