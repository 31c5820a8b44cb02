// The numbers of a build and of a project file, each as a table whose cases change when a
// rounding, a sign, a step or a default changes: cell counts, the crop, the pattern offset, the
// sampling of the colour match, and every project key.
#include <string>
#include <vector>

#include "AppTestSupport.h"
#include "app/ProjectFiles.h"
#include "platform/system/Files.h"
#include "platform/system/IniFiles.h"
#include "platform/system/Math.h"
#include "platform/system/StringList.h"
#include "platform/system/Strings.h"

namespace {
class TNumbersTest : public TMosaicTest {};

// ---- Cell counts ------------------------------------------------------------------------------

// Sides that give x.5 cells round to the even count: 50 / 20 = 2.5 gives 2, 70 / 20 = 3.5
// gives 4, each less one.
struct TCellsCase {
  Integer Grid, Width, Height, CellsX, CellsY;
};
const TCellsCase CellsCases[] = {
    {20, 50, 70, 1, 3}, {20, 90, 110, 3, 5}, {20, 69, 71, 2, 3},
    {14, 35, 49, 1, 3}, {28, 70, 42, 1, 1},  {12, 54, 66, 3, 5},
};

TEST_F(TNumbersTest, LoadedSourcesGiveCellCountsRoundedHalfToEven) {
  Form->NoRim->SetChecked(false);
  for (const TCellsCase& C : CellsCases) {
    SCOPED_TRACE(std::to_string(C.Width) + " x " + std::to_string(C.Height) + " at " +
                 std::to_string(C.Grid));
    Form->SpinEdit5->SetValue(C.Grid);
    ASSERT_EQ(GridPx, C.Grid);
    LoadUniform(C.Width, C.Height, Rgb(60, 70, 80));
    EXPECT_EQ(CellsX, C.CellsX);
    EXPECT_EQ(CellsY, C.CellsY);
  }
}

TEST_F(TNumbersTest, ANewGridSizeCountsTheLoadedSourcesCellsRoundedHalfToEven) {
  Form->NoRim->SetChecked(false);
  for (const TCellsCase& C : CellsCases) {
    SCOPED_TRACE(std::to_string(C.Width) + " x " + std::to_string(C.Height) + " at " +
                 std::to_string(C.Grid));
    Form->SpinEdit5->SetValue(C.Grid == 20 ? 10 : 20);
    LoadUniform(C.Width, C.Height, Rgb(60, 70, 80));
    Form->SpinEdit5->SetValue(C.Grid);
    EXPECT_EQ(CellsX, C.CellsX);
    EXPECT_EQ(CellsY, C.CellsY);
  }
}

TEST_F(TNumbersTest, WithoutASourceTheWindowsSizeIsDividedWholly) {
  const Integer W = Form->Image1->GetWidth(), H = Form->Image1->GetHeight();
  ASSERT_GT(W, 200);
  ASSERT_GT(H, 200);
  // Grids where the window's size leaves half a cell or more tell whole division from a
  // rounded one; the table must hold some for each side.
  Integer RoundedDiffersX = 0, RoundedDiffersY = 0;
  for (Integer Grid : {7, 9, 11, 13, 17, 19, 23, 29, 31, 37, 41, 43, 47}) {
    SCOPED_TRACE(Grid);
    Form->SpinEdit5->SetValue(Grid);
    EXPECT_EQ(CellsX, W / Grid - 1);
    EXPECT_EQ(CellsY, H / Grid - 1);
    RoundedDiffersX += 2 * (W % Grid) >= Grid;
    RoundedDiffersY += 2 * (H % Grid) >= Grid;
  }
  EXPECT_GT(RoundedDiffersX, 0);
  EXPECT_GT(RoundedDiffersY, 0);
}

// ---- The crop -----------------------------------------------------------------------------------

// A bitmap of W x H cropped to CellsX / CellsY keeps CropRect; each pixel holds its place, so
// the kept corners show where the crop was taken from.
struct TCropCase {
  Integer CellsX, CellsY, W, H;
  TRect Crop;
};
const TCropCase CropCases[] = {
    // Portrait: H high and Round(H * r) wide, centred across by Round(W * (1 - r) / 2).
    {3, 4, 20, 20, {2, 0, 17, 20}},  // left 2.5 to 2
    {1, 2, 14, 14, {4, 0, 11, 14}},  // left 3.5 to 4
    {1, 2, 26, 13, {6, 0, 12, 13}},  // kept 6.5 to 6 from the height, left 6.5 to 6 from the width
    {3, 4, 30, 20, {4, 0, 19, 20}},  // left 3.75 to 4
    // Square: the whole width, the top row on.
    {5, 5, 10, 14, {0, 0, 10, 10}},
    // Landscape: W wide and Round(W / r) high, centred down by Round(H * (1 - 1 / r) / 2).
    {2, 1, 10, 10, {0, 2, 10, 7}},   // top 2.5 to 2
    {2, 1, 14, 14, {0, 4, 14, 11}},  // top 3.5 to 4
    {2, 1, 13, 26, {0, 6, 13, 12}},  // kept 6.5 to 6 from the width, top 6.5 to 6 from the height
    {5, 4, 21, 21, {0, 2, 21, 19}},  // kept 16.8 to 17, top 2.1 to 2
};

TEST_F(TNumbersTest, TheCropIsCentredAcrossForPortraitAndDownForLandscape) {
  for (const TCropCase& C : CropCases) {
    SCOPED_TRACE(std::to_string(C.CellsX) + "/" + std::to_string(C.CellsY) + " of " + std::to_string(C.W) +
                 " x " + std::to_string(C.H));
    CellsX = C.CellsX;
    CellsY = C.CellsY;
    auto B = MakeBitmap(C.W, C.H, [](Integer X, Integer Y) { return Rgb(X, Y, 7); });
    Form->ResizeResult(B.get());
    EXPECT_EQ(CropRect, C.Crop);
    ASSERT_EQ(B->GetWidth(), C.Crop.Width());
    ASSERT_EQ(B->GetHeight(), C.Crop.Height());
    EXPECT_EQ(PixelAt(B.get(), 0, 0), Rgb(C.Crop.Left, C.Crop.Top, 7));
    EXPECT_EQ(PixelAt(B.get(), C.Crop.Width() - 1, C.Crop.Height() - 1),
              Rgb(C.Crop.Right - 1, C.Crop.Bottom - 1, 7));
  }
}

// ---- The pattern offset ---------------------------------------------------------------------------

// OffsetX = Round(W * P3 / 100) and OffsetY = -Round(H * P4 / 100) of the result that was
// there before the build.
struct TOffsetCase {
  Integer W, H, P3, P4, OffsetX, OffsetY;
};
const TOffsetCase OffsetCases[] = {
    {250, 150, 1, 1, 2, -2},       // 2.5 to 2, 1.5 to 2
    {150, 350, 1, 1, 2, -4},       // 1.5 to 2, 3.5 to 4
    {250, 350, -1, -1, -2, 4},     // -2.5 to -2, -3.5 to -4
    {200, 100, 30, -45, 60, 45},   // the width for x, the height for y
    {199, 101, 50, 50, 100, -50},  // 99.5 to 100, 50.5 to 50
    {640, 475, 13, 7, 83, -33},
};

TEST_F(TNumbersTest, ThePatternOffsetComesFromThePreviousResultsSize) {
  Form->PatternBox->SetItemIndex(ptCircles);
  Form->SelectType(Form->PatternBox);
  ASSERT_EQ(Form->TrackBarP[2]->GetMinValue(), -100);
  ASSERT_EQ(Form->TrackBarP[3]->GetMinValue(), -100);
  CellsX = CellsY = 4;
  for (const TOffsetCase& C : OffsetCases) {
    SCOPED_TRACE(std::to_string(C.W) + " x " + std::to_string(C.H) + " P3 " + std::to_string(C.P3) + " P4 " +
                 std::to_string(C.P4));
    Busy = 1;
    Form->TrackBarP[2]->SetValue(C.P3);
    Form->TrackBarP[3]->SetValue(C.P4);
    Busy = 0;
    ResultBitmap->SetSize(C.W, C.H);
    Form->ShowGrid();
    EXPECT_EQ(OffsetX, C.OffsetX);
    EXPECT_EQ(OffsetY, C.OffsetY);
  }
}

// ---- The sampling of the colour match --------------------------------------------------------------

// Red and green tell the mean place of the samples (six levels a pixel), blue is 240 where both
// coordinates are even and 0 elsewhere: a window shifted by one pixel, a step other than 2 or a
// window a row or column longer or shorter changes the cell's colour.
TColor PlaceColor(Integer X, Integer Y) {
  return Rgb(6 * X, 6 * Y, X % 2 == 0 && Y % 2 == 0 ? 240 : 0);
}

// Every second column alternates between two levels: red 1 and 2 (a mean of 1.5), green 0 and
// 1 (a mean of 0.5), which round half to even.
TColor HalfLevels(Integer X, Integer) {
  return Rgb(1 + (X / 2) % 2, (X / 2) % 2, 0);
}

struct TSampleCase {
  const char* Name;
  TColor (*Source)(Integer, Integer);
  Integer SourceW, SourceH, W, H;
  TPoint Seed;
  TColor Cell;
};
const TSampleCase SampleCases[] = {
    // Columns and rows 10, 12 .. 28: the mean place is 19, all on even places.
    {"inside", PlaceColor, 40, 40, 40, 40, {20, 20}, Rgb(114, 114, 240)},
    // Columns 11 .. 29 (mean 20), rows 5 .. 23 (mean 14), all on odd places.
    {"odd seed", PlaceColor, 40, 40, 40, 40, {21, 15}, Rgb(120, 84, 0)},
    // Near the corner the window starts at 0: columns 0 .. 14 (mean 7), rows 0 .. 12 (mean 6).
    {"near the corner", PlaceColor, 40, 40, 40, 40, {5, 3}, Rgb(42, 36, 240)},
    // The window ends at the last column and row: columns 25 .. 39 (32), rows 26 .. 38 (32).
    {"near the far corner", PlaceColor, 40, 40, 40, 40, {35, 36}, Rgb(192, 192, 0)},
    // A smaller source ends it sooner: columns 25 .. 35 (30), rows 23 .. 33 (28).
    {"small source", PlaceColor, 36, 34, 40, 40, {35, 33}, Rgb(180, 168, 0)},
    // A smaller bitmap too: columns and rows 15 .. 29 (22).
    {"small bitmap", PlaceColor, 40, 40, 30, 30, {25, 25}, Rgb(132, 132, 0)},
    {"half levels", HalfLevels, 40, 40, 40, 40, {20, 20}, Rgb(2, 0, 0)},
};

TEST_F(TNumbersTest, TheColourMatchSamplesEverySecondPixelWithinTenOfTheSeed) {
  // One seed on a white bitmap without lines: its cell is the whole bitmap, whose colour is the
  // mean of the samples. No effect changes it afterwards.
  Busy = 1;
  Form->ColorSpin->SetValue(4);
  Form->GridShow->SetChecked(true);
  Form->Blending->SetChecked(false);
  Form->AutoAlias->SetChecked(false);
  Form->ApplyShade->SetChecked(false);
  Busy = 0;
  ASSERT_EQ(PatternType, ptPinch);
  SourceLoaded = 1;
  BuildRunning = 0;
  for (const TSampleCase& C : SampleCases) {
    SCOPED_TRACE(C.Name);
    SourceBitmap->Assign(MakeBitmap(C.SourceW, C.SourceH, C.Source).get());
    auto B = MakeBitmap(C.W, C.H, [](Integer, Integer) { return clWhite; });
    SeedCount = 0;
    CellCentreX[0] = C.Seed.X;
    CellCentreY[0] = C.Seed.Y;
    Form->MatchColors(B.get());
    ASSERT_EQ(ColorCounter, 1);
    const Integer W = Min(C.SourceW, C.W) - 1, H = Min(C.SourceH, C.H) - 1;
    ASSERT_EQ(B->GetWidth(), W);
    ASSERT_EQ(B->GetHeight(), H);
    EXPECT_EQ(PixelAt(B.get(), 0, 0), C.Cell);
    EXPECT_EQ(PixelAt(B.get(), W - 1, H - 1), C.Cell);
  }
}

// ---- Project keys ---------------------------------------------------------------------------------

// A key of section "Project", the control it sets, its default when missing and another value
// within the ranges of the spirograph, whose six sliders are all in use. Check boxes count as
// 0 and 1, the pattern as the type.
struct TProjectKey {
  std::string Key;
  TbsSkinCheckRadioBox* Box;
  TbsSkinTrackBar* Bar;
  Integer Default, Other;
};

std::vector<TProjectKey> ProjectKeys(TForm1* F) {
  return {
      {"Pattern", nullptr, nullptr, 0, ptSpirograph},   {"Param 1", nullptr, F->TrackBarP[0], 0, -30},
      {"Param 2", nullptr, F->TrackBarP[1], 50, 70},    {"Param 3", nullptr, F->TrackBarP[2], 50, -20},
      {"Param 4", nullptr, F->TrackBarP[3], 50, 80},    {"Param 5", nullptr, F->TrackBarP[4], 50, 35},
      {"Param 6", nullptr, F->TrackBarP[5], 50, 60},    {"Grid", F->GridShow, nullptr, 0, 1},
      {"White grid", F->WhiteGrid, nullptr, 0, 1},      {"No picture", F->FrameOnly, nullptr, 1, 0},
      {"Keep shape", F->KeepShape, nullptr, 0, 1},      {"Blending", F->Blending, nullptr, 1, 0},
      {"Clip edges", F->Edges, nullptr, 1, 0},          {"Glass FX", F->GlassFX, nullptr, 0, 1},
      {"Apply shade", F->ApplyShade, nullptr, 0, 1},    {"Auto antialias", F->AutoAlias, nullptr, 0, 1},
      {"Blend amount", nullptr, F->BlendBar, 0, 20},    {"Clip amount", nullptr, F->ClipBar, 0, 30},
      {"Glass FX amount", nullptr, F->GlassBar, 0, 40},
  };
}

class TProjectKeysTest : public TNumbersTest {
 protected:
  void SetUp() override {
    TNumbersTest::SetUp();
    ForceDirectories(ProjectsDir);
    Keys = ProjectKeys(Form.get());
  }
  Integer Get(const TProjectKey& K) const {
    if (K.Box != nullptr) return K.Box->GetChecked() ? 1 : 0;
    if (K.Bar != nullptr) return K.Bar->GetValue();
    return Form->PatternBox->GetItemIndex();
  }
  // The pattern first: its switch sets the sliders. No build meanwhile.
  void SetAll(Integer TProjectKey::*Value) {
    Form->PatternBox->SetItemIndex(Keys[0].*Value);
    Form->SelectType(Form->PatternBox);
    Busy = 1;
    for (const TProjectKey& K : Keys) {
      if (K.Box != nullptr) K.Box->SetChecked(K.*Value != 0);
      if (K.Bar != nullptr) K.Bar->SetValue(K.*Value);
    }
    Busy = 0;
    for (const TProjectKey& K : Keys) ASSERT_EQ(Get(K), K.*Value) << K.Key;
  }
  std::vector<TProjectKey> Keys;
};

TEST_F(TProjectKeysTest, EachMissingKeyReadsAsItsDefault) {
  const std::string File = ProjectsDir + "\\missing.prj";
  for (const TProjectKey& Missing : Keys) {
    SCOPED_TRACE(Missing.Key);
    SetAll(&TProjectKey::Other);
    // Grid and white grid together would lose the grid at the build that follows the load,
    // so the white grid is off unless it is the key left out.
    auto Written = [&](const TProjectKey& K) { return K.Key == "White grid" ? 0 : K.Other; };
    {
      DeleteFile(File);
      TMemIniFile Ini(File);
      for (const TProjectKey& K : Keys)
        if (&K != &Missing) Ini.WriteInteger("Project", K.Key, Written(K));
      Ini.UpdateFile();
    }
    TDialogAnswers Answers;
    LoadProjectFile(File);
    EXPECT_EQ(Answers.Messages, std::vector<std::string>{"Project \"missing\" successfully opened."});
    for (const TProjectKey& K : Keys) EXPECT_EQ(Get(K), &K == &Missing ? K.Default : Written(K)) << K.Key;
  }
}

TEST_F(TProjectKeysTest, AnOptionKeyOfAnyNumberButZeroIsChecked) {
  const std::string File = ProjectsDir + "\\options.prj";
  for (const TProjectKey& K : Keys) {
    if (K.Box == nullptr) continue;
    for (const char* Value : {"2", "-1"}) {
      SCOPED_TRACE(K.Key + "=" + Value);
      DeleteFile(File);
      {
        TMemIniFile Ini(File);
        Ini.WriteString("Project", K.Key, Value);
        Ini.UpdateFile();
      }
      K.Box->SetChecked(false);
      TDialogAnswers Answers;
      LoadProjectFile(File);
      EXPECT_TRUE(K.Box->GetChecked());
    }
  }
}

TEST_F(TProjectKeysTest, SavingWritesEveryKeyInOrderWithItsValue) {
  const std::string File = ProjectsDir + "\\written.prj";
  for (Integer TProjectKey::*Value : {&TProjectKey::Other, &TProjectKey::Default}) {
    SetAll(Value);
    TDialogAnswers Answers;
    SaveProjectFile(File);
    ASSERT_EQ(Answers.Messages.size(), 1u);
    TMemIniFile Ini(File);
    TStringList Written;
    Ini.ReadSection("Project", &Written);
    ASSERT_EQ(Written.GetCount(), static_cast<Integer>(Keys.size()));
    for (std::size_t I = 0; I < Keys.size(); ++I) {
      EXPECT_EQ(Written.GetStrings(static_cast<Integer>(I)), Keys[I].Key);
      EXPECT_EQ(Ini.ReadString("Project", Keys[I].Key, "<missing>"), IntToStr(Keys[I].*Value)) << Keys[I].Key;
    }
  }
}

TEST_F(TProjectKeysTest, PatternRecordsThePatternType) {
  const std::string File = ProjectsDir + "\\type.prj";
  for (Integer Type = 0; Type <= 9; ++Type) {
    Form->PatternBox->SetItemIndex(Type);
    Form->SelectType(Form->PatternBox);
    ASSERT_EQ(PatternType, Type);
    TDialogAnswers Answers;
    SaveProjectFile(File);
    EXPECT_EQ(TMemIniFile(File).ReadInteger("Project", "Pattern", -1), Type);
  }
}
}  // namespace
