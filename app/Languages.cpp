#include "app/Languages.h"

#include "app/Main.h"
#include "app/MainArrange.h"
#include "platform/classes/Dialogs.h"
#include "platform/classes/Menus.h"
#include "platform/system/Files.h"
#include "platform/system/IniFiles.h"
#include "platform/system/Strings.h"
#include "skin/boxctrls/bsSkinBoxCtrls.h"
#include "skin/controls/bsSkinCtrls.h"

TTextTable InterfaceTexts;
TTextTable VariableTexts;
std::array<std::array<std::string, 6>, 10> ParamLabels;
std::array<std::string, 25> UpdateCaptions;

namespace {
// How PadCaptions dresses a caption: group box captions get a blank on each side, check box
// captions a leading blank.
enum class TPadding { None, Leading, BothSides };

// One interface text: its number, the window's own English caption, the component it captions
// (none for the pattern list's own items) and how it is padded.
struct TInterfaceTextRow {
  TInterfaceText Index;
  const char* Text;
  const char* Component;
  TPadding Padding = TPadding::None;
  const char* Suffix = "";  // follows the text in the caption
};

constexpr TPadding Leading = TPadding::Leading;
constexpr TPadding BothSides = TPadding::BothSides;
constexpr TPadding NoPadding = TPadding::None;

// The column heads of the script table, after the label's own text.
constexpr const char* ScriptColumnHeads = "     P1        P2        P3         P4        P5        P6";

constexpr TInterfaceTextRow InterfaceRows[] = {
    {itFontBtn, "Font", "FontBtn"},
    {itLoadMaskBtn, "Load mask", "LoadMaskBtn"},
    {itLoadPicBtn, "Load picture", "LoadPicBtn"},
    {itUpdateBtn, "Update mosaic", "UpdateBtn"},
    {itLoadFXBtn, "Load glass FX", "LoadFXBtn"},
    {itSubmitBtn, "Submit", "SubmitBtn"},
    {itSaveBtn, "Save result", "SaveBtn"},
    {itEraseBtn, "Erase", "EraseBtn"},
    {itApplyMask, "Apply mask", "ApplyMask", Leading},
    {itApplyShade, "Tube shade", "ApplyShade", Leading},
    {itAutoAlias, "Automatic anti-aliasing", "AutoAlias", Leading},
    {itAutomatic, "Auto-update pattern", "Automatic", Leading},
    {itAutoSave, "Automatic save", "AutoSave", Leading},
    {itBlending, "Blending", "Blending", Leading},
    {itShowPictArea, "Show picture area", "ShowPictArea", Leading},
    {itPatternColors, "Use pattern colors", "PatternColors", Leading},
    {itEdges, "Clip edges", "Edges", Leading},
    {itGlassFX, "Glass effect", "GlassFX", Leading},
    {itGridShow, "Show grid", "GridShow", Leading},
    {itKeepShape, "Keep shape", "KeepShape", Leading},
    {itFrameOnly, "Wire frame only", "FrameOnly", Leading},
    {itNoRim, "White rim", "NoRim", Leading},
    {itShowPreview, "Show preview", "ShowPreview", Leading},
    {itTrialRun, "Trial run (wire-frame only)", "TrialRun", Leading},
    {itUseText, "Use text pattern", "UseText", Leading},
    {itWhiteGrid, "White grid", "WhiteGrid", Leading},
    {itLabel1, "Grid size", "Label1"},
    {itLanguage1, "Language", "Language1"},
    {itGroupBox1, "Source picture", "GroupBox1", BothSides},
    {itGroupBox2, "Pattern", "GroupBox2", BothSides},
    {itGroupBox3, "Options", "GroupBox3", BothSides},
    {itGroupBox4, "Effects", "GroupBox4", BothSides},
    {itGroupBox5, "Parameters", "GroupBox5", BothSides},
    {itLabel23, "Multiplier", "Label23"},
    {itGroupBox7, "Mask", "GroupBox7", BothSides},
    {itGroupBox8, "Glass effect", "GroupBox8", BothSides},
    {itGroupBox9, "Text pattern", "GroupBox9", BothSides},
    {itGroupBox6, "Kaleidoscope control", "GroupBox6", BothSides},
    {itGroupBox10, "Video", "GroupBox10", BothSides},
    {itLabel37, "Frame", "Label37", NoPadding, ScriptColumnHeads},
    {itGroupBox11, "Result", "GroupBox11", BothSides},
    {itLabel43, "Line", "Label43"},
    {itLabel8, "Color", "Label8"},
    {itLabel9, "Blend", "Label9"},
    {itLabelP1, "Deformation", "LabelP1"},
    {itAbout2, "About", "About2"},
    {itCircular1, "Circular", "Circular1"},
    {itExtra1, "Extra", "Extra1"},
    {itGlassFX1, "Glass FX", "GlassFX1"},
    {itHelp2, "Help", "Help2"},
    {itHexagons1, "Hexagons", "Hexagons1"},
    {itKaleidoscope1, "Kaleidoscope", "Kaleidoscope1"},
    {itLoad1, "Load", "Load1"},
    {itMask1, "Mask", "Mask1"},
    {itMonthly1, "Monthly", "Monthly1"},
    {itOff1, "Off", "Off1"},
    {itPattern1, "Pattern", "Pattern1"},
    {itPinch1, "Pinch and blow", "Pinch1"},
    {itSaveBitmap1, "Save result", "SaveBitmap1"},
    {itScript1, "Script", "Script1"},
    {itSourcebitmap1, "Source picture", "Sourcebitmap1"},
    {itSpheres1, "Spheres", "Spheres1"},
    {itSpirograph1, "Spirograph", "Spirograph1"},
    {itTubehorizontal1, "Tube (horizontal)", "Tubehorizontal1"},
    {itTubevertical1, "Tube (vertical)", "Tubevertical1"},
    {itTwirlingspiral1, "Twirling spiral", "Twirlingspiral1"},
    {itUpdate1, "Automatic Update", "Update1"},
    {itUpdatenow1, "Update Now !", "Updatenow1"},
    {itWeekly1, "Weekly", "Weekly1"},
    {itPinchItem, "Pinch and blow", nullptr},
    {itKaleidoColors, "Colored", "KaleidoColors", Leading},
    {itKaleidoPattern, "Pattern", "KaleidoPattern", Leading},
    {itFreeDrawingItem, "Free drawing", nullptr},
    // The drawing panel's caption while free drawing; ApplyInterfaceTexts chooses.
    {itGroupBox6FreeDrawing, "Free drawing control", nullptr},
    {itReloadBtn, "Reload script", "ReloadBtn"},
    {itLoadScriptBtn, "Load script file", "LoadScriptBtn"},
    {itTabSheet1, "Mosaic", "TabSheet1"},
    {itTabSheet2, "Effects", "TabSheet2"},
    {itTabSheet3, "Video scripts", "TabSheet3"},
    {itWindows1, "Windows", "Windows1"},
    {itShowvideoplayer1, "Show video player", "Showvideoplayer1"},
    {itSkin1, "Skin", "Skin1"},
};

struct TTextDefault {
  TVariableText Index;
  const char* Text;
};

constexpr TTextDefault VariableDefaults[] = {
    {vtCreatingGrid, "Creating grid"},
    {vtMatchingColors, "Matching colors"},
    {vtCreatingShade, "Creating shade"},
    {vtCreatingVideo, "Creating video"},
    {vtCancel, "Cancel"},
    {vtFramesCompleted, "Frames completed"},
    {vtNoSourcePicture, "Warning: No source picture available."},
    {vtSelectOtherSize, "Please select other size."},
    {vtSize, "Size"},
    {vtReady, "Ready"},
    {vtCreatingPinch, "Creating pinch"},
    {vtCreatingCircles, "Creating circles"},
    {vtCreatingTwirls, "Creating twirls"},
    {vtCreatingHexagons, "Creating hexagons"},
    {vtCreatingVerCylinder, "Creating ver cylinder"},
    {vtCreatingHorCylinder, "Creating hor cylinder"},
    {vtCreatingSpheres, "Creating spheres"},
    {vtCreatingSpirograph, "Creating spirograph"},
    {vtBlendingBackground, "Blending background"},
    {vtResizing, "Resizing"},
    {vtVersion, "Version"},
    {vtUpdateCancelled, "Update was cancelled by the user."},
    {vtNoFilesDownloaded, "No files were downloaded."},
    {vtUpdateFilesSaved, "Update files were successfully saved."},
    {vtUpdatesFolder, "in directory ../Tilvarok/Updates."},
    {vtCreateVideo, "Create video"},
    {vtTypePattern, "Type pattern"},
    {vtNone, "none"},
    {vtDeformation, "Deformation"},
    {vtPattern, "Pattern"},
    {vtHorizontalShift, "Horizontal shift"},
    {vtVerticalShift, "Vertical shift"},
    {vtSymmetry, "Symmetry"},
    {vtSpiralCount, "No. of spirals"},
    {vtCircleCount, "No. of circles"},
    {vtRandomness, "Randomness"},
    {vtSizeRatio, "Size ratio"},
    {vtBoost, "Boost"},
    {vtShade, "Shade"},
    {vtCoverage, "Coverage"},
    {vtSizeVariation, "Size Varation"},
    {vtAccuracy, "Accuracy"},
    {vtOuterRadius, "Outer radius"},
    {vtInnerRadius, "Inner radius"},
    {vtOffset, "Off-set"},
    {vtRounds, "Rounds"},
    {vtAngularity, "Angularity"},
};

// The variable texts naming each pattern type's sliders P1..P6 (0: no label).
constexpr Integer ParamTextNumbers[10][6] = {
    {vtDeformation, 0, 0, 0, 0, 0},
    {vtSize, vtPattern, vtHorizontalShift, vtVerticalShift, vtSymmetry, 0},
    {vtDeformation, vtSpiralCount, vtHorizontalShift, vtVerticalShift, vtCircleCount, 0},
    {vtSize, vtRandomness, vtSizeRatio, 0, 0, 0},
    {vtDeformation, vtBoost, vtShade, 0, 0, 0},
    {vtDeformation, vtBoost, vtShade, 0, 0, 0},
    {vtSize, vtCoverage, vtSizeVariation, vtAccuracy, 0, 0},
    {vtOuterRadius, vtInnerRadius, vtOffset, vtRounds, vtAngularity, vtSize},
    {0, 0, 0, 0, 0, 0},
    {0, 0, 0, 0, 0, 0}};
}  // namespace

void SetDefaultTexts() {
  for (const TTextDefault& D : VariableDefaults) VariableTexts[D.Index] = D.Text;
}

void SetDefaultInterfaceTexts() {
  InterfaceTexts.fill(std::string());
  for (const TInterfaceTextRow& R : InterfaceRows) InterfaceTexts[R.Index] = R.Text;
}

namespace {
void PadInterfaceTexts() {
  for (const TInterfaceTextRow& R : InterfaceRows) {
    std::string& Text = InterfaceTexts[R.Index];
    if (R.Padding == TPadding::BothSides)
      Text = " " + Text + " ";
    else if (R.Padding == TPadding::Leading)
      Text = " " + Text;
  }
}

// The status texts that say a stage is running.
void PadVariableTexts() {
  for (Integer I = vtCreatingGrid; I <= vtResizing; ++I)
    if (I <= vtCreatingVideo || I >= vtCreatingPinch) VariableTexts[I] += "...";
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
  BuildParamLabels();
  if (Form1 == nullptr) return;
  Form1->SetStatusText(VariableTexts[vtReady]);
  if (VideoMode == 0 && Form1->CreateVideoBtn != nullptr)
    Form1->CreateVideoBtn->SetCaption(VariableTexts[vtCreateVideo]);
  Form1->Label2->SetCaption(VariableTexts[vtTypePattern] + ": <" + VariableTexts[vtNone] + ">");
  // The size of the source in use: a language switch does not unload it.
  Form1->ShowSourceSize();
  // The parameter labels' column is as wide as the widest name.
  ArrangeControls(Form1);
}

namespace {
void SetComponentCaption(TComponent* Component, const std::string& Caption) {
  if (auto* Item = dynamic_cast<TMenuItem*>(Component))
    Item->SetCaption(Caption);
  else if (auto* Control = dynamic_cast<TControl*>(Component))
    Control->SetCaption(Caption);
}
}  // namespace

void ApplyInterfaceTexts(TForm1* Form) {
  const TTextTable& T = InterfaceTexts;
  for (const TInterfaceTextRow& R : InterfaceRows)
    if (R.Component != nullptr)
      if (TComponent* C = Form->FindComponent(R.Component)) SetComponentCaption(C, T[R.Index] + R.Suffix);
  // The drawing panel serves both drawing types.
  if (PatternType == ptFreeDrawing) Form->GroupBox6->SetCaption(T[itGroupBox6FreeDrawing]);
  // The named sliders take the type's names in the new language, not only the first one; the
  // pinch's first slider keeps the window's own caption, which says the same.
  for (Integer I = PatternType == ptPinch ? 1 : 0; I < 6; ++I)
    if (!Form->LabelP[I]->GetCaption().empty()) Form->LabelP[I]->SetCaption(ParamLabels[PatternType][I]);

  // The refilled list shows the type in use (showing its first item would misstate it).
  TStrings* List = Form->PatternBox->GetItems();
  List->BeginUpdate();
  List->Clear();
  for (TInterfaceText K : PatternListTexts) List->Add(T[K]);
  List->EndUpdate();
  Form->PatternBox->SetItemIndex(PatternType);
  ArrangeControls(Form);
}

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
  for (std::size_t I = 0; I < UpdateCaptions.size(); ++I)
    UpdateCaptions[I] = VariableTexts[vtUpdateCaptionsFirst + I];
  ApplyVariableTexts();
  PadCaptions();
  if (Form1 != nullptr) ApplyInterfaceTexts(Form1);
}
