// The samples a new user gets: every mask and glass picture loads through the program's picture
// loader, every project opens through the program's project reader with the values it holds,
// and a project saved again reads the same, key for key.
#include <set>
#include <string>
#include <vector>

#include "AppTestSupport.h"
#include "app/ProjectFiles.h"
#include "platform/system/Files.h"
#include "platform/system/IniFiles.h"
#include "platform/system/StringList.h"

namespace {
// The pictures are drawn by the build beside the program; the projects are kept in the sources.
std::string PictureSamples(const char* Folder) {
  return ExeDir + "Samples\\" + Folder;
}
const std::string ProjectSamples = std::string(TILVAROK_TEST_DATA) + "/../../assets/Samples/Projects";

std::vector<std::string> FilesIn(const std::string& Folder, const char* Mask) {
  std::vector<std::string> Names;
  TSearchRec F;
  for (Integer R = FindFirst(Folder + "\\" + Mask, faAnyFile, F); R == 0; R = FindNext(F))
    Names.push_back(F.Name);
  FindClose(F);
  return Names;
}

std::unique_ptr<TBitmap> Loaded(const std::string& FileName) {
  auto B = std::make_unique<TBitmap>();
  LoadPictureFile(FileName, B.get());
  return B;
}

// The colours a picture holds.
std::set<TColor> ColorsOf(TBitmap* B) {
  std::set<TColor> Colors;
  for (Integer Y = 0; Y < B->GetHeight(); ++Y)
    for (Integer X = 0; X < B->GetWidth(); ++X) Colors.insert(PixelAt(B, X, Y));
  return Colors;
}

using TSamplesTest = TMosaicTest;

TEST_F(TSamplesTest, EveryPictureLoadsAs24Bit) {
  for (const char* Folder : {"Masks", "GlassFX"}) {
    const std::vector<std::string> Names = FilesIn(PictureSamples(Folder), "*.bmp");
    EXPECT_GE(Names.size(), 3u) << Folder;
    for (const std::string& Name : Names) {
      SCOPED_TRACE(Name);
      const auto B = Loaded(PictureSamples(Folder) + "\\" + Name);
      EXPECT_EQ(B->GetWidth(), 256);
      EXPECT_EQ(B->GetHeight(), 256);
      EXPECT_EQ(B->GetPixelFormat(), pf24bit);
      const std::set<TColor> Colors = ColorsOf(B.get());
      // A mask is read by black and not black only; a glass picture is shaded.
      if (Folder == std::string("Masks"))
        EXPECT_EQ(Colors, (std::set<TColor>{clBlack, clWhite}));
      else
        EXPECT_GT(Colors.size(), 1u);
    }
  }
}

// Black keeps cells white: the shapes show the mosaic inside, the frame round a white middle.
TEST_F(TSamplesTest, MasksShowTheMosaicInTheirShape) {
  struct TCase {
    const char* Name;
    TPoint Shown, Masked;
  };
  const TCase Cases[] = {{"Heart.bmp", {128, 150}, {128, 20}},
                         {"Circle.bmp", {128, 128}, {5, 5}},
                         {"Star.bmp", {128, 128}, {128, 230}},
                         {"Frame.bmp", {10, 128}, {128, 128}}};
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    const auto B = Loaded(PictureSamples("Masks") + "\\" + C.Name);
    ASSERT_EQ(B->GetWidth(), 256);
    EXPECT_EQ(PixelAt(B.get(), C.Shown.X, C.Shown.Y), clWhite);
    EXPECT_EQ(PixelAt(B.get(), C.Masked.X, C.Masked.Y), clBlack);
  }
}

// Each sample project opens without a warning and sets the type and the values it names.
TEST_F(TSamplesTest, EveryProjectOpensWithItsValues) {
  struct TCase {
    const char* Name;
    Byte Type;
    Integer Param, Value;  // slider P<Param> holds Value (none: 0)
    bool Glass;
    Integer Points;
  };
  const TCase Cases[] = {{"Circular.prj", ptCircles, 1, 35, false, 0},
                         {"Glass spheres.prj", ptSpheres, 2, 30, true, 0},
                         {"Kaleidoscope.prj", ptKaleidoscope, 0, 0, false, 41}};
  const std::vector<std::string> Names = FilesIn(ProjectSamples, "*.prj");
  ASSERT_EQ(Names.size(), std::size(Cases));
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    Form->PatternBox->SetItemIndex(ptPinch);
    Form->SelectType(Form->PatternBox);
    TDialogAnswers Answers;
    LoadProjectFile(ProjectSamples + "/" + C.Name);
    EXPECT_EQ(Answers.Messages,
              std::vector<std::string>{"Project \"" + ProjectName(C.Name) + "\" successfully opened."});
    EXPECT_EQ(PatternType, C.Type);
    if (C.Param > 0) {
      EXPECT_EQ(Form->TrackBarP[C.Param - 1]->GetValue(), C.Value);
    }
    EXPECT_EQ(Form->GlassFX->GetChecked(), C.Glass);
    EXPECT_FALSE(Form->FrameOnly->GetChecked());
    if (C.Type == ptKaleidoscope) {
      EXPECT_EQ(PointCount, C.Points);
    }
  }
}

// Every key is spelt as the program writes it and every value lies in its control's range:
// opened and saved again, each sample reads the same.
TEST_F(TSamplesTest, ProjectsSavedAgainAreUnchanged) {
  ForceDirectories(ProjectsDir);
  const auto Sections = [](const std::string& File) {
    TMemIniFile Ini(File);
    std::string Text;
    for (const char* Section : {"Project", "Kaleidoscope"}) {
      TStringList L;
      Ini.ReadSectionValues(Section, &L);
      Text += std::string("[") + Section + "]\n" + L.GetText();
    }
    return Text;
  };
  const std::vector<std::string> Names = FilesIn(ProjectSamples, "*.prj");
  ASSERT_FALSE(Names.empty());
  for (const std::string& Name : Names) {
    SCOPED_TRACE(Name);
    TDialogAnswers Answers;
    LoadProjectFile(ProjectSamples + "/" + Name);
    const std::string Again = ProjectsDir + "\\again.prj";
    SaveProjectFile(Again);
    EXPECT_EQ(Sections(Again), Sections(ProjectSamples + "/" + Name));
  }
}
}  // namespace
