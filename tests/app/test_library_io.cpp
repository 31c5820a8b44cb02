// The program reads and writes pictures through the imaging library: the saved format follows
// the chosen name, and the open dialog lists what the library reads.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "AppTestSupport.h"
#include "platform/system/Exceptions.h"
#include "platform/system/Files.h"
#include "platform/system/Paths.h"

namespace {
std::string ReadStart(const std::string& Path, std::size_t Count) {
  std::ifstream In(Path, std::ios::binary);
  std::string S(Count, '\0');
  In.read(S.data(), static_cast<std::streamsize>(Count));
  return S.substr(0, static_cast<std::size_t>(In.gcount()));
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
  // The library writes no GIF yet: the name keeps its extension and nothing is written.
  EXPECT_THROW(SaveAs("none.gif"), Exception);
  EXPECT_FALSE(FileExists(ResultsDir + "/none.gif"));
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
  EXPECT_EQ(Filter.rfind("All (*.jpg;*.jpeg;*.jpe;*.jif;", 0), 0u) << Filter;
  for (const char* Part :
       {"|JPEG Bitmap (*.jpg;*.jpeg;*.jpe;*.jif)|*.jpg;*.jpeg;*.jpe;*.jif",
        "|Windows Bitmap (*.bmp;*.dib;*.rle)|*.bmp;*.dib;*.rle", "|Portable Network Graphics (*.png)|*.png"})
    EXPECT_NE(Filter.find(Part), std::string::npos) << Part << " in " << Filter;
  // Formats the library does not read yet are not offered.
  EXPECT_EQ(Filter.find("gif"), std::string::npos) << Filter;
}
