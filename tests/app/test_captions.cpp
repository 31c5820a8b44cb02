// The main window's own captions and start states, and which control or menu item each
// interface text of a language file captions.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "SettingsTestSupport.h"
#include "app/Languages.h"
#include "platform/classes/Menus.h"
#include "platform/system/Strings.h"
#include "skin/boxctrls/bsSkinTabs.h"

namespace {
// The caption of a control or menu item of the window, found by its name.
std::string CaptionOf(TForm1* Form, const char* Name) {
  TComponent* C = Form->FindComponent(Name);
  if (auto* Item = dynamic_cast<TMenuItem*>(C)) return Item->GetCaption();
  if (auto* Control = dynamic_cast<TControl*>(C)) return Control->GetCaption();
  return "<no " + std::string(Name) + ">";
}
}  // namespace

TEST_F(TMosaicTest, TheWindowStartsWithItsOwnEnglishCaptions) {
  const struct {
    const char* Name;
    const char* Caption;
  } Captions[] = {
      {"LoadPicBtn", "Load picture"},
      {"UpdateBtn", "Update mosaic"},
      {"SaveBtn", "Save result"},
      {"NoRim", "White rim"},
      {"Label23", "Multiplier"},
      {"Label1", "Grid size"},
      {"Label43", "Line"},
      {"Label8", "Color"},
      {"PatternColors", "Use pattern colors"},
      {"FrameOnly", "Wire frame only"},
      {"GridShow", "Show grid"},
      {"WhiteGrid", "White grid"},
      {"AutoSave", "Automatic save"},
      {"Automatic", "Auto-update pattern"},
      {"ApplyShade", "Tube shade"},
      {"Edges", "Clip edges"},
      {"ApplyMask", "Apply mask"},
      {"UseText", "Use text pattern"},
      {"FontBtn", "Font"},
      {"LoadMaskBtn", "Load mask"},
      {"LoadFXBtn", "Load glass FX"},
      {"Mask1", "Mask"},
      {"GlassFX1", "Glass FX"},
      {"GroupBox6", "Kaleidoscope control"},
      {"SubmitBtn", "Submit"},
      {"EraseBtn", "Erase"},
      {"KaleidoPattern", "Pattern"},
      {"KaleidoColors", "Colored"},
      {"ShowPictArea", "Show picture area"},
      {"Kal2x", "2x"},
      {"Kal4x", "4x"},
      {"Kal8x", "8x"},
      {"Label9", "Blend"},
      {"BlendLbl", "50%"},
      {"ClipLbl", "10%"},
      {"LabelP1", "Deformation"},
      {"LabelP2", ""},
      {"ValueP1", "0"},
      {"TabSheet3", "Video scripts"},
      {"Load1", "Load"},
      {"Sourcebitmap1", "Source picture"},
      {"Pattern1", "Pattern"},
      {"Pinch1", "Pinch and blow"},
      {"Twirlingspiral1", "Twirling spiral"},
      {"Tubehorizontal1", "Tube (horizontal)"},
      {"Freedrawing1", "Free drawing"},
      {"Extra1", "Extra"},
      {"Language1", "Language"},
      {"Otherlanguages1", "Other languages?"},
      {"Skin1", "Skin"},
      {"Update1", "Automatic Update"},
      {"Off1", "Off"},
      {"Weekly1", "Weekly"},
      {"Monthly1", "Monthly"},
      {"Updatenow1", "Update Now !"},
  };
  for (const auto& C : Captions) EXPECT_EQ(CaptionOf(Form.get(), C.Name), C.Caption) << C.Name;
  TStrings* List = Form->PatternBox->GetItems();
  ASSERT_EQ(List->GetCount(), 10);
  EXPECT_EQ(List->GetStrings(0), "Pinch and blow");
  EXPECT_EQ(List->GetStrings(9), "Free drawing");

  const struct {
    const char* Name;
    bool Enabled, Checked;
  } States[] = {
      {"GridShow", false, false},     {"WhiteGrid", false, false},    {"FrameOnly", false, true},
      {"PatternColors", true, false}, {"AutoSave", true, false},      {"Automatic", true, false},
      {"NoRim", true, true},          {"KaleidoPattern", true, true}, {"KaleidoColors", false, false},
      {"ShowPictArea", true, true},   {"Kal8x", true, true},          {"Kal2x", true, false},
  };
  for (const auto& S : States) {
    auto* Box = dynamic_cast<TbsSkinCheckRadioBox*>(Form->FindComponent(S.Name));
    ASSERT_NE(Box, nullptr) << S.Name;
    EXPECT_EQ(Box->GetEnabled(), S.Enabled) << S.Name;
    EXPECT_EQ(Box->GetChecked(), S.Checked) << S.Name;
  }
}

// ---- Every interface text onto its control ---------------------------------------------------

namespace {
enum class TDress { Plain, CheckBox, GroupBox };
constexpr TDress Plain = TDress::Plain, CheckBox = TDress::CheckBox, GroupBox = TDress::GroupBox;

struct TTextRow {
  Integer Text;
  const char* Name;
  TDress Dress = Plain;
  bool Built = true;  // the window has this control already
};

// The text of a language file, and the components it captions. Check boxes show it after a
// blank, group boxes between two blanks. Rows not built yet are checked once they exist.
constexpr TTextRow TextRows[] = {
    {1, "FontBtn"},
    {2, "LoadMaskBtn"},
    {3, "LoadPicBtn"},
    {4, "UpdateBtn"},
    {5, "LoadFXBtn"},
    {6, "SubmitBtn"},
    {8, "SaveBtn"},
    {9, "EraseBtn"},
    {10, "ApplyMask", CheckBox},
    {11, "ApplyShade", CheckBox},
    {12, "AutoAlias", CheckBox},
    {13, "Automatic", CheckBox},
    {14, "AutoSave", CheckBox},
    {15, "Blending", CheckBox},
    {16, "ShowPictArea", CheckBox},
    {17, "PatternColors", CheckBox},
    {19, "Edges", CheckBox},
    {20, "GlassFX", CheckBox},
    {21, "GridShow", CheckBox},
    {22, "KeepShape", CheckBox},
    {23, "FrameOnly", CheckBox},
    {25, "NoRim", CheckBox},
    {26, "ShowPreview", CheckBox},
    {27, "TrialRun", CheckBox, false},
    {28, "UseText", CheckBox},
    {29, "WhiteGrid", CheckBox},
    {30, "Label1"},
    {31, "Language1"},
    {32, "GroupBox1", GroupBox},
    {33, "GroupBox2", GroupBox},
    {35, "GroupBox3", GroupBox},
    {36, "GroupBox4", GroupBox},
    {37, "GroupBox5", GroupBox},
    {38, "Label23"},
    {39, "GroupBox7", GroupBox},
    {40, "GroupBox8", GroupBox},
    {41, "GroupBox9", GroupBox},
    {42, "GroupBox6", GroupBox},
    {43, "GroupBox10", GroupBox, false},
    {45, "GroupBox11", GroupBox, false},
    {46, "Label43"},
    {47, "Label8"},
    {48, "Label9"},
    {49, "LabelP1"},
    {50, "About2", Plain, false},
    {51, "Circular1"},
    {52, "Extra1"},
    {53, "GlassFX1"},
    {54, "Help2", Plain, false},
    {55, "Hexagons1"},
    {56, "Kaleidoscope1"},
    {57, "Load1"},
    {58, "Mask1"},
    {59, "Monthly1"},
    {60, "Off1"},
    {61, "Pattern1"},
    {62, "Pinch1"},
    {63, "SaveBitmap1"},
    {64, "Script1", Plain, false},
    {65, "Sourcebitmap1"},
    {66, "Spheres1"},
    {67, "Spirograph1"},
    {68, "Tubehorizontal1"},
    {69, "Tubevertical1"},
    {70, "Twirlingspiral1"},
    {71, "Update1"},
    {72, "Updatenow1"},
    {73, "Weekly1"},
    {75, "KaleidoColors", CheckBox},
    {76, "KaleidoPattern", CheckBox},
    {80, "ReloadBtn", Plain, false},
    {81, "LoadScriptBtn", Plain, false},
    {82, "TabSheet1"},
    {83, "TabSheet2"},
    {84, "TabSheet3"},
    {86, "Windows1", Plain, false},
    {87, "Showvideoplayer1", Plain, false},
    {88, "Skin1"},
};

std::string Dressed(const std::string& Text, TDress Dress) {
  switch (Dress) {
    case TDress::CheckBox:
      return " " + Text;
    case TDress::GroupBox:
      return " " + Text + " ";
    default:
      return Text;
  }
}

// Interface text k reads "I<k>", variable text k "V<k>".
std::string UniqueTexts() {
  std::string Text = "[Interface]\n";
  for (Integer K = 1; K <= TextCount; ++K) Text += IntToStr(K) + "=I" + IntToStr(K) + "\n";
  Text += "[Variables]\n";
  for (Integer K = 1; K <= TextCount; ++K) Text += IntToStr(K) + "=V" + IntToStr(K) + "\n";
  return Text;
}
}  // namespace

TEST_F(TMosaicTest, EachInterfaceTextCaptionsItsControl) {
  const std::string FileName = TempDir + "/Unique" + std::to_string(getpid()) + ".lan";
  WriteTextFile(FileName, UniqueTexts());
  LoadLanguageFile(FileName);
  for (const TTextRow& Row : TextRows) {
    SCOPED_TRACE(Row.Name);
    if (!Row.Built && Form->FindComponent(Row.Name) == nullptr) continue;
    EXPECT_EQ(CaptionOf(Form.get(), Row.Name), Dressed("I" + IntToStr(Row.Text), Row.Dress));
  }
  // The script table's label carries the column heads after its text.
  if (Form->FindComponent("Label37") != nullptr) {
    EXPECT_EQ(CaptionOf(Form.get(), "Label37"),
              "I44     P1        P2        P3         P4        P5        P6");
  }
  TStrings* List = Form->PatternBox->GetItems();
  const Integer ListTexts[10] = {74, 51, 70, 55, 68, 69, 66, 67, 56, 77};
  ASSERT_EQ(List->GetCount(), 10);
  for (Integer I = 0; I < 10; ++I) EXPECT_EQ(List->GetStrings(I), "I" + IntToStr(ListTexts[I])) << I;
  EXPECT_EQ(Form->PatternBox->GetItemIndex(), 0);
  // The variable texts the window shows at once.
  EXPECT_EQ(Form->StatusPanel->GetCaption(), " V10");
  EXPECT_EQ(Form->Label2->GetCaption(), "V27: <V28>");
  EXPECT_EQ(Form->Label13->GetCaption(), "V9: 0 x 0");

  // While free drawing the drawing panel takes its own text, as it comes.
  Form->PatternItems[ptFreeDrawing]->Click();
  LoadLanguageFile(FileName);
  EXPECT_EQ(Form->GroupBox6->GetCaption(), "I78");
  DeleteFile(FileName);
  // Texts without an English default keep what a file gave them; the next tests start clean.
  VariableTexts.fill(std::string());
}
