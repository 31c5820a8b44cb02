#include "app/Languages.h"

#include <span>
#include <utility>

#include "app/Main.h"
#include "platform/classes/Dialogs.h"
#include "platform/classes/Menus.h"
#include "platform/system/Files.h"
#include "platform/system/IniFiles.h"
#include "platform/system/Strings.h"
#include "skin/boxctrls/bsSkinBoxCtrls.h"
#include "skin/boxctrls/bsSkinTabs.h"
#include "skin/controls/bsSkinCtrls.h"

TTextTable InterfaceTexts;
TTextTable VariableTexts;
std::array<std::array<std::string, 6>, 10> ParamLabels;
std::array<std::string, 25> UpdateCaptions;

namespace {
struct TTextDefault {
  Integer Index;
  const char* Text;
};

// The captions the main window is made with.
constexpr TTextDefault InterfaceDefaults[] = {
    {1, "Font"},
    {2, "Load mask"},
    {3, "Load picture"},
    {4, "Update mosaic"},
    {5, "Load glass picture"},
    {6, "Submit"},
    {8, "Save result"},
    {9, "Erase"},
    {10, "Apply mask"},
    {11, "Tube shade"},
    {12, "Automatic anti-aliasing"},
    {13, "Auto-update pattern"},
    {14, "Automatic save"},
    {15, "Blending"},
    {16, "Show picture area"},
    {17, "Use pattern colors"},
    {19, "Clip edges"},
    {20, "Glass effect"},
    {21, "Show grid"},
    {22, "Keep shape"},
    {23, "Wire frame only"},
    {25, "White rim"},
    {26, "Show preview"},
    {27, "Trial run"},
    {28, "Use text"},
    {29, "White grid"},
    {30, "Grid size"},
    {31, "Language"},
    {32, "Source picture"},
    {33, "Pattern"},
    {35, "Options"},
    {36, "Effects"},
    {37, "Parameters"},
    {38, "Multiplier"},
    {39, "Mask"},
    {40, "Glass effect"},
    {41, "Text pattern"},
    {42, "Kaleidoscope control"},
    {43, "Video"},
    {44, "Frame"},
    {45, "Result"},
    {46, "Line"},
    {47, "Color"},
    {48, "Blend"},
    {49, "Deformation"},
    {50, "About"},
    {51, "Circular"},
    {52, "Extra"},
    {53, "Glass picture"},
    {54, "Help"},
    {55, "Hexagons"},
    {56, "Kaleidoscope"},
    {57, "Load"},
    {58, "Mask"},
    {59, "Monthly"},
    {60, "Off"},
    {61, "Pattern"},
    {62, "Pinch and blow"},
    {63, "Save result"},
    {64, "Script"},
    {65, "Source picture"},
    {66, "Spheres"},
    {67, "Spirograph"},
    {68, "Tube (horizontal)"},
    {69, "Tube (vertical)"},
    {70, "Twirling spiral"},
    {71, "Automatic update"},
    {72, "Update now !"},
    {73, "Weekly"},
    {74, "Pinch and blow"},
    {75, "Kaleidoscope colors"},
    {76, "Kaleidoscope pattern"},
    {77, "Free drawing"},
    {78, "Free drawing control"},
    {80, "Reload"},
    {81, "Load script"},
    {82, "Mosaic"},
    {83, "Effects"},
    {84, "Video"},
    {86, "Windows"},
    {87, "Show video player"},
    {88, "Skin"},
};

constexpr TTextDefault VariableDefaults[] = {
    {1, "Creating grid"},
    {2, "Matching colors"},
    {3, "Creating shade"},
    {4, "Creating video"},
    {5, "Cancel"},
    {6, "Frames completed"},
    {7, "Warning: No source picture available."},
    {8, "Please select other size."},
    {9, "Size"},
    {10, "Ready"},
    {11, "Creating pinch"},
    {12, "Creating circles"},
    {13, "Creating twirls"},
    {14, "Creating hexagons"},
    {15, "Creating ver cylinder"},
    {16, "Creating hor cylinder"},
    {17, "Creating spheres"},
    {18, "Creating spirograph"},
    {19, "Blending background"},
    {20, "Resizing"},
    {21, "Version"},
    {22, "Update was cancelled by the user."},
    {23, "No files were downloaded."},
    {24, "Update files were successfully saved."},
    {25, "in directory ../Tilvarok/Updates."},
    {26, "Create video"},
    {27, "Type pattern"},
    {28, "none"},
    {30, "Deformation"},
    {31, "Pattern"},
    {32, "Horizontal shift"},
    {33, "Vertical shift"},
    {34, "Symmetry"},
    {35, "No. of spirals"},
    {36, "No. of circles"},
    {37, "Randomness"},
    {38, "Size ratio"},
    {39, "Boost"},
    {40, "Shade"},
    {41, "Coverage"},
    {42, "Size Varation"},
    {43, "Accuracy"},
    {44, "Outer radius"},
    {45, "Inner radius"},
    {46, "Off-set"},
    {47, "Rounds"},
    {48, "Angularity"},
};

// The variable texts naming each pattern type's sliders P1..P6 (0: no label).
constexpr Integer ParamTextNumbers[10][6] = {
    {30, 0, 0, 0, 0, 0},   {9, 31, 32, 33, 34, 0}, {30, 35, 32, 33, 36, 0}, {9, 37, 38, 0, 0, 0},
    {30, 39, 40, 0, 0, 0}, {30, 39, 40, 0, 0, 0},  {9, 41, 42, 43, 0, 0},   {44, 45, 46, 47, 48, 9},
    {0, 0, 0, 0, 0, 0},    {0, 0, 0, 0, 0, 0}};

void Apply(TTextTable& Table, std::span<const TTextDefault> Defaults) {
  for (const TTextDefault& D : Defaults) Table[D.Index] = D.Text;
}
}  // namespace

void SetDefaultTexts() {
  Apply(VariableTexts, VariableDefaults);
}

void SetDefaultInterfaceTexts() {
  InterfaceTexts.fill(std::string());
  Apply(InterfaceTexts, InterfaceDefaults);
}

namespace {
void PadInterfaceTexts() {
  for (Integer I : {32, 33, 35, 36, 37, 39, 40, 41, 42, 43, 45})
    InterfaceTexts[I] = " " + InterfaceTexts[I] + " ";
  for (Integer I = 10; I <= 29; ++I) InterfaceTexts[I] = " " + InterfaceTexts[I];
  for (Integer I : {75, 76}) InterfaceTexts[I] = " " + InterfaceTexts[I];
}

void PadVariableTexts() {
  for (Integer I = 1; I <= 20; ++I)
    if (I <= 4 || I >= 11) VariableTexts[I] += "...";
}
}  // namespace

void PadCaptions() {
  PadInterfaceTexts();
  PadVariableTexts();
}

void BuildParamLabels() {
  for (Integer T = 0; T < 10; ++T)
    for (Integer P = 0; P < 6; ++P) {
      const Integer K = ParamTextNumbers[T][P];
      ParamLabels[T][P] = K == 0 ? std::string() : VariableTexts[K];
    }
}

void ApplyVariableTexts() {
  if (Form1 != nullptr) {
    Form1->SetStatusText(VariableTexts[10]);
    Form1->Label2->SetCaption(VariableTexts[27] + ": <" + VariableTexts[28] + ">");
    Form1->Label13->SetCaption(VariableTexts[9] + ": 0 x 0");
  }
  BuildParamLabels();
}

namespace {
// The interface texts onto the main window's controls and menu items.
void ApplyInterfaceTexts(TForm1* F) {
  const TTextTable& T = InterfaceTexts;
  const std::pair<TControl*, Integer> Controls[] = {
      {F->FontBtn, 1},        {F->LoadMaskBtn, 2},    {F->LoadPicBtn, 3},      {F->UpdateBtn, 4},
      {F->LoadFXBtn, 5},      {F->SubmitBtn, 6},      {F->SaveBtn, 8},         {F->EraseBtn, 9},
      {F->ApplyMask, 10},     {F->ApplyShade, 11},    {F->AutoAlias, 12},      {F->Automatic, 13},
      {F->AutoSave, 14},      {F->Blending, 15},      {F->ShowPictArea, 16},   {F->PatternColors, 17},
      {F->Edges, 19},         {F->GlassFX, 20},       {F->GridShow, 21},       {F->KeepShape, 22},
      {F->FrameOnly, 23},     {F->NoRim, 25},         {F->ShowPreview, 26},    {F->UseText, 28},
      {F->WhiteGrid, 29},     {F->Label1, 30},        {F->GroupBox1, 32},      {F->GroupBox2, 33},
      {F->GroupBox3, 35},     {F->GroupBox4, 36},     {F->GroupBox5, 37},      {F->Label23, 38},
      {F->GroupBox7, 39},     {F->GroupBox8, 40},     {F->GroupBox9, 41},      {F->Label43, 46},
      {F->Label8, 47},        {F->LabelP[0], 49},     {F->KaleidoColors, 75},  {F->KaleidoPattern, 76},
      {F->TabSheet1, 82},     {F->TabSheet2, 83},     {F->TabSheet3, 84},
      // The drawing panel serves both drawing types.
      {F->GroupBox6, PatternType == ptFreeDrawing ? 78 : 42}};
  for (const auto& [Control, Text] : Controls) Control->SetCaption(T[Text]);

  const std::pair<TMenuItem*, Integer> Items[] = {
      {F->Language1, 31},      {F->PatternItems[1], 51}, {F->Extra1, 52},         {F->GlassFX1, 53},
      {F->PatternItems[3], 55}, {F->PatternItems[8], 56}, {F->Load1, 57},         {F->Mask1, 58},
      {F->Monthly1, 59},       {F->Off1, 60},            {F->Pattern1, 61},       {F->PatternItems[0], 62},
      {F->SaveBitmap1, 63},    {F->Sourcebitmap1, 65},   {F->PatternItems[6], 66}, {F->PatternItems[7], 67},
      {F->PatternItems[4], 68}, {F->PatternItems[5], 69}, {F->PatternItems[2], 70}, {F->Update1, 71},
      {F->Updatenow1, 72},     {F->Weekly1, 73},         {F->Skin1, 88}};
  for (const auto& [Item, Text] : Items)
    if (Item != nullptr) Item->SetCaption(T[Text]);

  // The pattern list shows its first item again; that is no choice of a pattern type.
  TStrings* List = F->PatternBox->GetItems();
  List->BeginUpdate();
  List->Clear();
  for (Integer K : {74, 51, 70, 55, 68, 69, 66, 67, 56, 77}) List->Add(T[K]);
  List->EndUpdate();
  F->PatternBox->SetItemIndex(0);
}
}  // namespace

void LoadLanguageFile(const std::string& FileName) {
  SetDefaultTexts();
  // The interface texts are padded once when a file is read; padding them here too would pad
  // the window's texts twice when the file is missing.
  PadVariableTexts();
  if (!FileExists(FileName)) {
    MessageDlg(LanguageNotFoundText, mtWarning, TMsgDlgButtons{mbOK}, 0);
    ApplyVariableTexts();
    return;
  }
  TIniFile File(FileName);
  for (Integer I = 1; I <= TextCount; ++I) {
    const std::string Key = IntToStr(I);
    InterfaceTexts[I] = File.ReadString("Interface", Key, "");
    VariableTexts[I] = File.ReadString("Variables", Key, "");
  }
  for (std::size_t I = 0; I < UpdateCaptions.size(); ++I) UpdateCaptions[I] = VariableTexts[60 + I];
  ApplyVariableTexts();
  PadCaptions();
  if (Form1 != nullptr) ApplyInterfaceTexts(Form1);
}
