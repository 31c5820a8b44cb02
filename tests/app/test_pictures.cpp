// The text pattern, the mask and the glass picture: rendering and loading the text as the
// source, padding and fitting the mask, the mask and the glass in a build, and loads that fail.
#include "AppTestSupport.h"
#include "platform/classes/Dialogs.h"
#include "platform/classes/ExtCtrls.h"
#include "platform/classes/JPEGImage.h"
#include "platform/classes/Menus.h"
#include "platform/classes/Screen.h"
#include "platform/classes/StdCtrls.h"
#include "platform/system/Files.h"
#include "platform/system/Math.h"
#include "platform/system/Streams.h"
#include "skin/boxctrls/bsSkinTabs.h"
#include "skin/dialogs/bsMessages.h"
#include "skin/dialogs/bsSkinShellCtrls.h"

namespace {
// The extent of Text in the font dialog's font.
TSize TextSize(TForm1* Form, const std::string& Text) {
  TBitmap B;
  B.GetCanvas()->SetFont(Form->FontDialog1->GetFont());
  return B.GetCanvas()->TextExtent(Text);
}

// A picture file written for the dialogs to choose.
std::string WritePicture(const std::string& Name, TBitmap* Picture) {
  ForceDirectories(DataDir + "\\Masks");
  const std::string Path = DataDir + "\\Masks\\" + Name;
  Picture->SaveToFile(Path);
  return Path;
}

constexpr TColor TextEditColor = static_cast<TColor>(178 | (189 << 8) | (210 << 16));

bool IsDark(TColor C) {
  return (C & 0xFF) < 80 && ((C >> 8) & 0xFF) < 80 && ((C >> 16) & 0xFF) < 80;
}
}  // namespace

class TPicturesTest : public TMosaicTest {
 protected:
  void SetUp() override {
    TMosaicTest::SetUp();
    // The text box is typed into on its page, which the user opens by its tab.
    const TRect R = Form->PageControl1->TabRect(1);
    const TPoint P =
        Form->PageControl1->ClientToScreen(TPoint{(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2});
    Headless().Click(P.X, P.Y);
    RunUntilIdle();
    ASSERT_EQ(Form->PageControl1->GetActivePageIndex(), 1);
    ResultJpeg->OnChange = TNotifyEvent(&Builds, &TBuildCounter::Changed);
  }
  TBuildCounter Builds;
};

TEST_F(TPicturesTest, TheTextPatternBecomesTheSourceWithoutABuildAndIsForgottenWhenUnchecked) {
  LoadUniform(300, 200, Rgb(10, 20, 30));
  ASSERT_EQ(Rim, 20);
  Builds.Count = 0;
  const std::string Caption = Form->GetCaption();
  // Typing while the box is unchecked changes nothing.
  Form->Edit1->SetText("Hi");
  EXPECT_EQ(TextBitmap->GetWidth(), 0);
  EXPECT_EQ(SourceBitmap->GetWidth(), 320);
  EXPECT_EQ(Form->GetCaption(), Caption);

  // Checking renders the text with the previous source's rim, dark on white, and loads it.
  Form->UseText->SetChecked(true);
  const TSize Extent = TextSize(Form.get(), "Hi");
  ASSERT_EQ(TextBitmap->GetWidth(), Extent.cx + 20);
  ASSERT_EQ(TextBitmap->GetHeight(), Extent.cy + 20);
  Integer Dark = 0, RimNotWhite = 0;
  for (Integer Y = 0; Y < TextBitmap->GetHeight(); ++Y)
    for (Integer X = 0; X < TextBitmap->GetWidth(); ++X) {
      const TColor P = PixelAt(TextBitmap.get(), X, Y);
      if (X < 10 || Y < 10 || X >= 10 + Extent.cx || Y >= 10 + Extent.cy)
        RimNotWhite += P != clWhite;
      else
        Dark += IsDark(P);
    }
  EXPECT_GT(Dark, 100);
  EXPECT_EQ(RimNotWhite, 0);
  const Integer TextRim = static_cast<Integer>(Round(static_cast<Extended>(TextBitmap->GetWidth()) / 15));
  EXPECT_EQ(Rim, TextRim);
  EXPECT_EQ(SourceBitmap->GetWidth(), TextBitmap->GetWidth() + TextRim);
  EXPECT_EQ(SourceBitmap->GetHeight(), TextBitmap->GetHeight() + TextRim);
  EXPECT_EQ(SourceFileName, ResultsDir + "/TextOut.bmp");
  EXPECT_EQ(TextMode, 0);
  EXPECT_EQ(Form->GetCaption(), "Tilvarok - Hi");
  EXPECT_EQ(Form->Edit1->GetColor(), TextEditColor);
  EXPECT_EQ(Builds.Count, 0);

  // Typing while checked renders again, with the text source's rim; so does a new font.
  Form->Edit1->SetText("Hi!");
  EXPECT_EQ(TextBitmap->GetWidth(), TextSize(Form.get(), "Hi!").cx + TextRim);
  EXPECT_EQ(Form->GetCaption(), "Tilvarok - Hi!");
  {
    TDialogAnswers Answers;
    Answers.FontSize = "60";
    const Integer RimBefore = Rim;
    Form->FontBtn->Click();
    EXPECT_EQ(Form->FontDialog1->GetFont()->GetSize(), 60);
    EXPECT_EQ(TextBitmap->GetHeight(), TextSize(Form.get(), "Hi!").cy + RimBefore);
  }
  EXPECT_EQ(SourceBitmap->GetWidth(), TextBitmap->GetWidth() + Rim);
  EXPECT_EQ(Builds.Count, 0);

  // The next build uses the text.
  Form->UpdateBtn->Click();
  EXPECT_EQ(Builds.Count, 1);
  EXPECT_EQ(ResultBitmap->GetWidth(), Min(SourceBitmap->GetWidth(), PatternBitmap->GetWidth()) - 1);

  // Unchecking forgets the source and builds the empty wire frame on the window's grid.
  Form->UseText->SetChecked(false);
  EXPECT_EQ(SourceLoaded, 0);
  EXPECT_EQ(SourceBitmap->GetWidth(), 0);
  EXPECT_EQ(Form->GetCaption(), "Tilvarok");
  EXPECT_EQ(Form->Edit1->GetColor(), clBtnFace);
  EXPECT_EQ(Builds.Count, 2);
  EXPECT_EQ(CellsX, Form->Image1->GetWidth() / GridPx - 1);
}

TEST_F(TPicturesTest, ATextThatCannotBeWrittenOrLoadedKeepsThePreviousSource) {
  LoadUniform(90, 60, Rgb(1, 2, 3));
  const std::string Caption = Form->GetCaption(), Name = SourceFileName;
  const std::string Results = ResultsDir;
  Form->Edit1->SetText("Tilvarok text pattern");
  struct {
    const char* What;
    std::string Dir;
    Integer Mult;
    const char* Says;
  } Cases[] = {
      {"unwritable", Results + "\\Missing", 1, "Cannot create file"},
      // At 120 points the text is far wider than 1000 pixels: twenty times that is refused.
      {"too large", Results, 20, "Please choose a smaller multiplier"},
  };
  const TNotifyEvent Reload = Form->MultSpin->OnChange;
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.What);
    Form->MultSpin->OnChange = TNotifyEvent();
    Form->MultSpin->SetValue(C.Mult);
    Form->MultSpin->OnChange = Reload;
    ResultsDir = C.Dir;
    TDialogAnswers Answers;
    Form->UseText->SetChecked(true);
    ResultsDir = Results;
    ASSERT_EQ(Answers.Messages.size(), 1u);
    EXPECT_NE(Answers.Messages[0].find(C.Says), std::string::npos) << Answers.Messages[0];
    EXPECT_NE(Answers.Messages[0].find("TextOut.bmp"), std::string::npos) << Answers.Messages[0];
    EXPECT_FALSE(Form->UseText->GetChecked());
    EXPECT_EQ(TextMode, 0);
    EXPECT_EQ(Busy, 0);
    EXPECT_EQ(SourceBitmap->GetWidth(), 96);
    EXPECT_EQ(SourceFileName, Name);
    EXPECT_EQ(Form->GetCaption(), Caption);
    EXPECT_NE(Form->Edit1->GetColor(), TextEditColor);
  }
}

TEST_F(TPicturesTest, TheMaskIsPaddedBlackAndFittedToTheSourceWithoutABuild) {
  Rim = 0;  // as at start: no source loaded yet
  TDialogAnswers Answers;
  auto White = MakeBitmap(60, 40, [](Integer, Integer) { return clWhite; });
  Answers.FileName = WritePicture("white.bmp", White.get());

  // Before any source the rim is 0: the mask keeps its own size.
  Form->LoadMaskBtn->Click();
  EXPECT_EQ(Answers.FileDialogs, 1);
  EXPECT_EQ(MaskLoaded, 1);
  EXPECT_EQ(MaskBitmap->GetWidth(), 60);
  EXPECT_EQ(MaskBitmap->GetHeight(), 40);
  EXPECT_TRUE(Form->ApplyMask->GetEnabled());
  EXPECT_TRUE(Form->ApplyMask->GetChecked());
  EXPECT_TRUE(Form->Image3->GetVisible());
  EXPECT_EQ(Form->Image3->GetPicture()->GetWidth(), 60);
  EXPECT_EQ(Builds.Count, 0);

  // A new source drops the mask. After a 300 x 200 source (rim 20, 320 x 220) the mask gets a
  // black rim of 10 on each side and is stretched from 80 x 60 to the source.
  const std::string Mask = Answers.FileName;
  auto Source = MakeBitmap(300, 200, [](Integer, Integer) { return Rgb(10, 20, 30); });
  Answers.FileName = WritePicture("source.bmp", Source.get());
  Form->LoadPicBtn->Click();
  ASSERT_EQ(SourceBitmap->GetWidth(), 320);
  EXPECT_EQ(MaskLoaded, 0);
  EXPECT_FALSE(Form->ApplyMask->GetChecked());
  EXPECT_FALSE(Form->Image3->GetVisible());
  Builds.Count = 0;
  Answers.FileName = Mask;
  Form->Mask1->Click();
  ASSERT_EQ(MaskBitmap->GetWidth(), 320);
  ASSERT_EQ(MaskBitmap->GetHeight(), 220);
  // Rim: x < 40 or x >= 280, y < 36 or y >= 183 (4 and 11/3 pixels for one).
  const struct {
    Integer X, Y;
    TColor Color;
  } Points[] = {{0, 0, clBlack},     {38, 110, clBlack},  {42, 110, clWhite},  {160, 35, clBlack},
                {160, 38, clWhite},  {278, 110, clWhite}, {282, 110, clBlack}, {160, 182, clWhite},
                {160, 185, clBlack}, {319, 219, clBlack}};
  for (const auto& P : Points) EXPECT_EQ(PixelAt(MaskBitmap.get(), P.X, P.Y), P.Color) << P.X << "," << P.Y;
  EXPECT_EQ(Builds.Count, 0);
  EXPECT_TRUE(Form->ApplyMask->GetChecked());
}

TEST_F(TPicturesTest, AMaskLoadedBeforeATextSourceIsFittedFromItsOwnPictureToEveryText) {
  // Narrow stripes would not survive being squeezed into a short text and widened again.
  auto Stripes = MakeBitmap(300, 40, [](Integer X, Integer) { return (X / 3) % 2 ? clWhite : clBlack; });
  Rim = 0;  // as at start: no source loaded yet
  TDialogAnswers Answers;
  Answers.FileName = WritePicture("stripes.bmp", Stripes.get());
  Form->LoadMaskBtn->Click();
  ASSERT_EQ(MaskLoaded, 1);
  Form->Edit1->SetText("i");
  Form->UseText->SetChecked(true);
  EXPECT_EQ(MaskBitmap->GetWidth(), SourceBitmap->GetWidth());
  EXPECT_EQ(MaskBitmap->GetHeight(), SourceBitmap->GetHeight());
  Form->Edit1->SetText("Wide text");
  ASSERT_EQ(MaskLoaded, 1);
  EXPECT_TRUE(Form->ApplyMask->GetChecked());
  ASSERT_EQ(MaskBitmap->GetWidth(), SourceBitmap->GetWidth());
  ASSERT_EQ(MaskBitmap->GetHeight(), SourceBitmap->GetHeight());
  TBitmap Expected;
  Expected.SetPixelFormat(pf24bit);
  Expected.SetSize(MaskBitmap->GetWidth(), MaskBitmap->GetHeight());
  Expected.GetCanvas()->StretchDraw(TRect{0, 0, Expected.GetWidth(), Expected.GetHeight()}, Stripes.get());
  Integer Wrong = 0;
  for (Integer Y = 0; Y < Expected.GetHeight(); ++Y)
    for (Integer X = 0; X < Expected.GetWidth(); ++X)
      Wrong += PixelAt(MaskBitmap.get(), X, Y) != PixelAt(&Expected, X, Y);
  EXPECT_EQ(Wrong, 0);
  // A build with the mask reads inside it only.
  Form->UpdateBtn->Click();
  EXPECT_EQ(Builds.Count, 1);
}

TEST_F(TPicturesTest, TheMaskAndItsBlackRimEndWhiteInTheResult) {
  const TColor Color = Rgb(30, 160, 80);
  Form->TrackBarP[0]->SetValue(0);
  Form->Blending->SetChecked(false);
  LoadUniform(300, 300, Color);  // rim 20: 320 x 320
  // An all-white mask of 140 pixels: its rim of 10 becomes 20 pixels of the source.
  auto White = MakeBitmap(140, 140, [](Integer, Integer) { return clWhite; });
  TDialogAnswers Answers;
  Answers.FileName = WritePicture("white.bmp", White.get());
  Form->LoadMaskBtn->Click();
  Form->UpdateBtn->Click();
  const Integer W = ResultBitmap->GetWidth(), H = ResultBitmap->GetHeight();
  ASSERT_GT(W, 200);
  Integer Wrong = 0;
  for (Integer Y = 0; Y < H; ++Y)
    for (Integer X = 0; X < W; ++X) {
      const bool Masked = X < 20 || Y < 20 || X >= 300 || Y >= 300;
      const bool Inside =
          X >= 20 + 2 * GridPx && Y >= 20 + 2 * GridPx && X < 300 - 2 * GridPx && Y < 300 - 2 * GridPx;
      const TColor P = PixelAt(ResultBitmap.get(), X, Y);
      if ((Masked && P != clWhite) || (Inside && P != Color)) ++Wrong;
    }
  EXPECT_EQ(Wrong, 0);
}

TEST_F(TPicturesTest, TheGlassPictureIsLoadedAndBlendedIntoTheCellsColourOnly) {
  const TColor Glass = Rgb(200, 100, 0), Cell = Rgb(20, 40, 60), Line = clBlack;
  auto Picture = MakeBitmap(7, 5, [&](Integer, Integer) { return Glass; });
  TDialogAnswers Answers;
  Answers.FileName = WritePicture("glass.bmp", Picture.get());
  Form->LoadFXBtn->Click();
  EXPECT_EQ(GlassFXFileName, Slashed(Answers.FileName));
  EXPECT_EQ(GlassFXBitmap->GetWidth(), 7);
  EXPECT_EQ(Form->Image4->GetPicture()->GetWidth(), 7);
  const struct {
    Integer Bar;
    TColor Expected;
  } Cases[] = {{100, Cell}, {0, Glass}, {50, Rgb(110, 70, 30)}, {25, Rgb(155, 85, 15)}};
  for (const auto& C : Cases) {
    Form->GlassBar->SetValue(C.Bar);
    auto Tile = MakeBitmap(10, 10, [&](Integer X, Integer) { return X < 6 ? Cell : Line; });
    Form->Filter(0, 0, 5, Tile.get(), GlassFXBitmap.get(), Cell);
    EXPECT_EQ(PixelAt(Tile.get(), 2, 3), C.Expected) << C.Bar;
    EXPECT_EQ(PixelAt(Tile.get(), 8, 3), Line) << C.Bar;
  }
}

TEST_F(TPicturesTest, FailedOrCancelledLoadsAndLoadsDuringABuildChangeNothing) {
  LoadUniform(90, 60, Rgb(1, 2, 3));
  auto Picture = MakeBitmap(20, 10, [](Integer X, Integer) { return X < 10 ? clBlack : clWhite; });
  const std::string Good = WritePicture("good.bmp", Picture.get());
  TDialogAnswers Answers;
  Answers.FileName = Good;
  Form->LoadMaskBtn->Click();
  Form->LoadFXBtn->Click();
  ASSERT_EQ(MaskLoaded, 1);
  ASSERT_EQ(GlassFXFileName, Slashed(Good));
  const std::string Broken = DataDir + "\\Masks\\broken.bmp";
  {
    TFileStream Out(Broken, fmCreate);
    Out.Write("BM not a picture", 16);
  }
  const std::string Odd = DataDir + "\\Masks\\picture.xyz";
  {
    TFileStream Out(Odd, fmCreate);
    Out.Write("data", 4);
  }
  const struct {
    std::string File;
    bool Warns;
  } Cases[] = {{Broken, true}, {Odd, true}, {"", false}};
  for (TbsSkinButton* Button : {Form->LoadMaskBtn, Form->LoadFXBtn})
    for (const auto& C : Cases) {
      SCOPED_TRACE(Button->GetName() + " " + C.File);
      Answers.Messages.clear();
      Answers.FileName = C.File;
      Button->Click();
      EXPECT_EQ(Answers.Messages.size(), C.Warns ? 1u : 0u);
      if (C.Warns && !Answers.Messages.empty()) {
        EXPECT_NE(Answers.Messages[0].find(ExtractFileName(C.File)), std::string::npos)
            << Answers.Messages[0];
      }
      EXPECT_EQ(MaskLoaded, 1);
      EXPECT_EQ(MaskBitmap->GetWidth(), SourceBitmap->GetWidth());
      EXPECT_EQ(GlassFXFileName, Slashed(Good));
      EXPECT_EQ(GlassFXBitmap->GetWidth(), 20);
    }

  // While a build runs the mask and the source stay: the requests are dropped and the text
  // box shows again what is in use.
  Answers.FileName = Good;
  const Integer Dialogs = Answers.FileDialogs;
  Form->Edit1->SetText("Text");
  Busy = 1;
  Form->LoadMaskBtn->Click();
  Form->UseText->SetChecked(true);
  Busy = 0;
  EXPECT_EQ(Answers.FileDialogs, Dialogs);
  EXPECT_FALSE(Form->UseText->GetChecked());
  EXPECT_EQ(SourceBitmap->GetWidth(), 96);
  EXPECT_EQ(TextBitmap->GetWidth(), 0);
}
