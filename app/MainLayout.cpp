// The main window's controls, made one group box at a time in the order its form would stream
// them. Captions come from the interface texts and sizes from ArrangeControls, both applied
// once everything exists.
#include "app/Languages.h"
#include "app/Main.h"
#include "app/MainArrange.h"
#include "app/MainMake.h"
#include "platform/classes/Dialogs.h"
#include "platform/classes/ExtCtrls.h"
#include "platform/classes/Menus.h"
#include "raster/RS32_Image.h"
#include "skin/boxctrls/bsSkinBoxCtrls.h"
#include "skin/boxctrls/bsSkinTabs.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/dialogs/bsMessages.h"
#include "skin/dialogs/bsSkinShellCtrls.h"
#include "skin/form/SkinForm.h"
#include "skin/form/bsSkinMenus.h"

namespace {
// The window's client area as designed, and the status bar along its bottom. The bounds given
// below are the aligned ones, so the start-up build sees the result area's real size.
constexpr Integer ClientW = 992;
constexpr Integer ClientH = 654;
constexpr Integer StatusH = 22;

template <class T>
T* MakeAt(TForm1* Form, TWinControl* Parent, const char* Name, Integer X, Integer Y, Integer W, Integer H) {
  T* C = Make<T>(Form, Parent, Name);
  C->SetBounds(X, Y, W, H);
  return C;
}

TMenuItem* MakeItem(TForm1* Form, TMenuItem* Parent, const char* Name) {
  auto* M = new TMenuItem(Form);
  M->SetName(Name);
  if (Parent != nullptr) Parent->Add(M);
  return M;
}

TbsSkinCheckRadioBox* MakeCheck(TForm1* Form, TWinControl* Parent, const char* Name, bool Checked,
                                bool Enabled = true) {
  auto* C = Make<TbsSkinCheckRadioBox>(Form, Parent, Name);
  C->SetChecked(Checked);
  C->SetEnabled(Enabled);
  return C;
}

TbsSkinCheckRadioBox* MakeRadio(TForm1* Form, TWinControl* Parent, const char* Name, Integer Group,
                                bool Checked) {
  auto* C = Make<TbsSkinCheckRadioBox>(Form, Parent, Name);
  C->SetRadio(true);
  C->SetGroupIndex(Group);
  C->SetChecked(Checked);
  return C;
}

TbsSkinSpinEdit* MakeSpin(TForm1* Form, TWinControl* Parent, const char* Name, double Min, double Max,
                          double Value, double Step) {
  auto* S = Make<TbsSkinSpinEdit>(Form, Parent, Name);
  S->SetMinValue(Min);
  S->SetMaxValue(Max);
  S->SetIncrement(Step);
  S->SetValue(Value);
  return S;
}

TbsSkinTrackBar* MakeBar(TForm1* Form, TWinControl* Parent, const char* Name) {
  auto* B = Make<TbsSkinTrackBar>(Form, Parent, Name);
  B->SetMinValue(0);
  B->SetMaxValue(100);
  B->SetValue(50);
  return B;
}

TbsSkinStdLabel* MakeLabel(TForm1* Form, TWinControl* Parent, const char* Name,
                           const std::string& Caption = {}) {
  auto* L = Make<TbsSkinStdLabel>(Form, Parent, Name);
  L->SetCaption(Caption);
  return L;
}
}  // namespace

void TForm1::CreateComponents() {
  SetDefaultInterfaceTexts();
  SetDefaultTexts();
  bsSkinData1 = new TbsSkinData(this);
  bsSkinData1->SetName("bsSkinData1");
  bsSkinForm1 = new TbsSkinForm(this);
  bsSkinForm1->SetName("bsSkinForm1");
  bsSkinForm1->SetSkinData(bsSkinData1);

  CreateMenus();
  SetClientWidth(ClientW);
  // The bar stands in the client area, where the platform's bar stood above it.
  SetClientHeight(ClientH + MainMenuBar1->GetHeight());
  CreateStatusBar();
  CreatePages();
  CreateSourceGroup();
  CreatePatternGroup();
  CreateParameterGroup();
  CreateDrawingGroup();
  CreateOptionsGroup();
  CreateEffectsGroup();
  CreateTextGroup();
  CreatePreviewGroups();
  CreateVideoPage();
  CreateBuildButtons();
  CreateResultView();
  CreateDialogs();
  BindHandlers();
  CreateServices();
  // Captions first: the controls are sized to them.
  ApplyInterfaceTexts(this);
}

void TForm1::CreateMenus() {
  MainMenu1 = new TbsSkinMainMenu(this);
  MainMenu1->SetName("MainMenu1");
  Load1 = MakeItem(this, nullptr, "Load1");
  Sourcebitmap1 = MakeItem(this, Load1, "Sourcebitmap1");
  Mask1 = MakeItem(this, Load1, "Mask1");
  GlassFX1 = MakeItem(this, Load1, "GlassFX1");
  SaveBitmap1 = MakeItem(this, nullptr, "SaveBitmap1");
  Pattern1 = MakeItem(this, nullptr, "Pattern1");
  static const char* const PatternItemNames[10] = {
      "Pinch1",        "Circular1", "Twirlingspiral1", "Hexagons1",     "Tubehorizontal1",
      "Tubevertical1", "Spheres1",  "Spirograph1",     "Kaleidoscope1", "Freedrawing1"};
  for (Integer K = 0; K < 10; ++K) PatternItems[K] = MakeItem(this, Pattern1, PatternItemNames[K]);
  // The language files leave this item alone: it keeps the window's own caption.
  PatternItems[ptFreeDrawing]->SetCaption(InterfaceTexts[itFreeDrawingItem]);
  PatternItems[ptPinch]->SetChecked(true);
  MainMenu1->GetItems()->Add(Load1);
  MainMenu1->GetItems()->Add(SaveBitmap1);
  MainMenu1->GetItems()->Add(Pattern1);
  CreateVideoMenus();
  CreateProjectMenu();
  CreateExtraMenu();
  // The skinned bar shows the menu; the platform's own bar never does.
  MainMenuBar1 = new TbsSkinMainMenuBar(this);
  MainMenuBar1->SetName("MainMenuBar1");
  MainMenuBar1->SetParent(this);
  MainMenuBar1->SetSkinForm(bsSkinForm1);
  MainMenuBar1->SetSkinData(bsSkinData1);
  MainMenuBar1->SetMainMenu(MainMenu1);
  bsSkinForm1->SetMainMenuBar(MainMenuBar1);
}

void TForm1::CreateStatusBar() {
  StatusBar1 = MakeAt<TbsSkinPanel>(this, this, "StatusBar1", 0, ClientH - StatusH, ClientW, StatusH);
  StatusBar1->SetAlign(alBottom);
  // A skin's plain panel has no room for text; its status panel writes across the field.
  auto Field = [&](const char* Name, Integer X, Integer W, TAlign Align) {
    auto* P = MakeAt<TbsSkinStatusPanel>(this, StatusBar1, Name, X, 0, W, StatusH);
    P->SetAutoSize(false);
    P->SetAlign(Align);
    return P;
  };
  StatusPanel = Field("StatusPanel", 0, 200, alLeft);
  RAMPanel = Field("RAMPanel", 200, 150, alLeft);
  DatePanel = Field("DatePanel", ClientW - 130, 130, alRight);
  ProgressBar1 = MakeAt<TbsSkinGauge>(this, StatusBar1, "ProgressBar1", 350, 0, ClientW - 480, StatusH);
  ProgressBar1->SetAlign(alClient);
  ProgressBar1->SetMinValue(0);
  ProgressBar1->SetMaxValue(100);
  ProgressBar1->SetValue(0);
}

void TForm1::CreatePages() {
  ControlPanel = MakeAt<TbsSkinPanel>(this, this, "ControlPanel", 0, 0, ControlPanelWidth, ClientH - StatusH);
  ControlPanel->SetAlign(alLeft);
  PageControl1 = Make<TbsSkinPageControl>(this, ControlPanel, "PageControl1");
  auto Page = [&](const char* Name) {
    auto* P = new TbsSkinTabSheet(this);
    P->SetName(Name);
    P->SetPageControl(PageControl1);
    return P;
  };
  TabSheet1 = Page("TabSheet1");
  TabSheet2 = Page("TabSheet2");
  TabSheet3 = Page("TabSheet3");
}

void TForm1::CreateSourceGroup() {
  GroupBox1 = Make<TbsSkinGroupBox>(this, TabSheet1, "GroupBox1");
  Image2 = Make<TImage32>(this, GroupBox1, "Image2");
  Image2->SetBitmapAlign(baCenter);
  Image2->SetScaleMode(smOptimal);
  Label13 = MakeLabel(this, GroupBox1, "Label13", VariableTexts[vtSize] + ": 0 x 0 pixels");
  LoadPicBtn = Make<TbsSkinButton>(this, GroupBox1, "LoadPicBtn");
  NoRim = MakeCheck(this, GroupBox1, "NoRim", true);
  Label23 = MakeLabel(this, GroupBox1, "Label23");
  MultSpin = MakeSpin(this, GroupBox1, "MultSpin", 1, 20, 1, 1);
}

void TForm1::CreatePatternGroup() {
  GroupBox2 = Make<TbsSkinGroupBox>(this, TabSheet1, "GroupBox2");
  Label2 = MakeLabel(this, GroupBox2, "Label2");
  PatternBox = Make<TbsSkinComboBox>(this, GroupBox2, "PatternBox");
  Label1 = MakeLabel(this, GroupBox2, "Label1");
  SpinEdit5 = MakeSpin(this, GroupBox2, "SpinEdit5", 5, 100, 20, 2);
  Label43 = MakeLabel(this, GroupBox2, "Label43");
  LineSpin = MakeSpin(this, GroupBox2, "LineSpin", 1, 9, 1, 1);
  Label8 = MakeLabel(this, GroupBox2, "Label8");
  ColorSpin = MakeSpin(this, GroupBox2, "ColorSpin", 1, 5, 1, 1);
}

void TForm1::CreateParameterGroup() {
  // Until a pattern is chosen every slider runs 0..100 from 50 and only the first one is named.
  GroupBox5 = Make<TbsSkinGroupBox>(this, TabSheet1, "GroupBox5");
  static const char* const LabelNames[6] = {"LabelP1", "LabelP2", "LabelP3", "LabelP4", "LabelP5", "LabelP6"};
  static const char* const BarNames[6] = {"TrackBarP1", "TrackBarP2", "TrackBarP3",
                                          "TrackBarP4", "TrackBarP5", "TrackBarP6"};
  static const char* const ValueNames[6] = {"ValueP1", "ValueP2", "ValueP3", "ValueP4", "ValueP5", "ValueP6"};
  for (Integer I = 0; I < 6; ++I) {
    LabelP[I] = MakeLabel(this, GroupBox5, LabelNames[I]);
    TrackBarP[I] = MakeBar(this, GroupBox5, BarNames[I]);
    ValueP[I] = MakeLabel(this, GroupBox5, ValueNames[I], "0");
  }
}

void TForm1::CreateDrawingGroup() {
  // The drawing panel takes the parameters' place while drawing.
  GroupBox6 = Make<TbsSkinGroupBox>(this, TabSheet1, "GroupBox6");
  GroupBox6->SetVisible(false);
  SubmitBtn = Make<TbsSkinButton>(this, GroupBox6, "SubmitBtn");
  EraseBtn = Make<TbsSkinButton>(this, GroupBox6, "EraseBtn");
  KaleidoPattern = MakeRadio(this, GroupBox6, "KaleidoPattern", 1, true);
  KaleidoColors = MakeRadio(this, GroupBox6, "KaleidoColors", 1, false);
  KaleidoColors->SetEnabled(false);
  ShowPictArea = MakeCheck(this, GroupBox6, "ShowPictArea", true);
  Kal2x = MakeRadio(this, GroupBox6, "Kal2x", 2, false);
  Kal4x = MakeRadio(this, GroupBox6, "Kal4x", 2, false);
  Kal8x = MakeRadio(this, GroupBox6, "Kal8x", 2, true);
  Kal2x->SetCaption("2x");
  Kal4x->SetCaption("4x");
  Kal8x->SetCaption("8x");
}

void TForm1::CreateOptionsGroup() {
  GroupBox3 = Make<TbsSkinGroupBox>(this, TabSheet1, "GroupBox3");
  FrameOnly = MakeCheck(this, GroupBox3, "FrameOnly", true, false);
  PatternColors = MakeCheck(this, GroupBox3, "PatternColors", false);
  GridShow = MakeCheck(this, GroupBox3, "GridShow", false, false);
  WhiteGrid = MakeCheck(this, GroupBox3, "WhiteGrid", false, false);
  KeepShape = MakeCheck(this, GroupBox3, "KeepShape", false, false);
  Automatic = MakeCheck(this, GroupBox3, "Automatic", false);
  AutoSave = MakeCheck(this, GroupBox3, "AutoSave", false);
  ApplyMask = MakeCheck(this, GroupBox3, "ApplyMask", false, false);
  UseText = MakeCheck(this, GroupBox3, "UseText", false);
}

void TForm1::CreateEffectsGroup() {
  GroupBox4 = Make<TbsSkinGroupBox>(this, TabSheet2, "GroupBox4");
  Blending = MakeCheck(this, GroupBox4, "Blending", true);
  // The blend strength's own label; no field needs it, the language files caption it by name.
  MakeLabel(this, GroupBox4, "Label9");
  BlendBar = MakeBar(this, GroupBox4, "BlendBar");
  BlendLbl = MakeLabel(this, GroupBox4, "BlendLbl", "50%");
  Edges = MakeCheck(this, GroupBox4, "Edges", true);
  ClipBar = MakeBar(this, GroupBox4, "ClipBar");
  ClipLbl = MakeLabel(this, GroupBox4, "ClipLbl", "10%");
  AutoAlias = MakeCheck(this, GroupBox4, "AutoAlias", false);
  ApplyShade = MakeCheck(this, GroupBox4, "ApplyShade", false, false);
  GlassFX = MakeCheck(this, GroupBox4, "GlassFX", false, false);
  GlassBar = MakeBar(this, GroupBox4, "GlassBar");
  GlassBar->SetEnabled(false);
  GlassLbl = MakeLabel(this, GroupBox4, "GlassLbl", "50%");
}

void TForm1::CreateTextGroup() {
  GroupBox9 = Make<TbsSkinGroupBox>(this, TabSheet2, "GroupBox9");
  Edit1 = Make<TbsSkinEdit>(this, GroupBox9, "Edit1");
  FontBtn = Make<TbsSkinButton>(this, GroupBox9, "FontBtn");
  FontDialog1 = new TFontDialog(this);
  FontDialog1->SetName("FontDialog1");
  FontDialog1->GetFont()->SetName("Arial");
  FontDialog1->GetFont()->SetSize(120);
}

void TForm1::CreatePreviewGroups() {
  auto Preview = [&](const char* Box, const char* ButtonName, const char* ImageName, TbsSkinGroupBox*& Group,
                     TbsSkinButton*& Button, TImage*& Image) {
    Group = Make<TbsSkinGroupBox>(this, TabSheet2, Box);
    Button = Make<TbsSkinButton>(this, Group, ButtonName);
    Image = Make<TImage>(this, Group, ImageName);
    Image->SetProportional(true);
  };
  Preview("GroupBox7", "LoadMaskBtn", "Image3", GroupBox7, LoadMaskBtn, Image3);
  Image3->SetVisible(false);
  Preview("GroupBox8", "LoadFXBtn", "Image4", GroupBox8, LoadFXBtn, Image4);
}

void TForm1::CreateBuildButtons() {
  UpdateBtn = Make<TbsSkinButton>(this, ControlPanel, "UpdateBtn");
  SaveBtn = Make<TbsSkinButton>(this, ControlPanel, "SaveBtn");
}

void TForm1::CreateResultView() {
  Image1 = MakeAt<TImage32>(this, this, "Image1", ControlPanelWidth, 0, ClientW - ControlPanelWidth,
                            ClientH - StatusH);
  Image1->SetAlign(alClient);
  Image1->SetBitmapAlign(baCenter);
  Image1->SetScaleMode(smOptimal);
  Image1->GetBitmap()->SetResamplerClassName("TNearestResampler");
}

void TForm1::CreateDialogs() {
  OpenPictureDialog = new TbsSkinOpenPictureDialog(this);
  OpenPictureDialog->SetName("OpenPictureDialog");
  OpenPictureDialog->SetFilter(OpenPictureFilter());
  SavePictureDialog = new TbsSkinSavePictureDialog(this);
  SavePictureDialog->SetName("SavePictureDialog");
  SavePictureDialog->SetOverwritePromt(true);
  bsSkinMessage1 = new TbsSkinMessage(this);
  bsSkinMessage1->SetName("bsSkinMessage1");
  bsSkinMessage1->SetSkinData(bsSkinData1);
}

void TForm1::BindHandlers() {
  const TNotifyEvent Options(this, &TForm1::ChangePatternOptions);
  UpdateBtn->OnClick = TNotifyEvent(this, &TForm1::CreateMosaic);
  LoadPicBtn->OnClick = TNotifyEvent(this, &TForm1::LoadPicture);
  Sourcebitmap1->OnClick = TNotifyEvent(this, &TForm1::LoadPicture);
  SaveBtn->OnClick = TNotifyEvent(this, &TForm1::SaveResult);
  SaveBitmap1->OnClick = TNotifyEvent(this, &TForm1::SaveResult);
  NoRim->OnClick = TNotifyEvent(this, &TForm1::LoadPicture);
  MultSpin->OnChange = TNotifyEvent(this, &TForm1::LoadPicture);
  SpinEdit5->OnChange = TNotifyEvent(this, &TForm1::SetBasicSize);
  LineSpin->OnChange = Options;
  ColorSpin->OnChange = Options;
  for (TbsSkinCheckRadioBox* C :
       {FrameOnly, PatternColors, GridShow, WhiteGrid, KeepShape, ApplyMask, Blending, Edges, AutoAlias})
    C->OnClick = Options;
  Automatic->OnClick = TNotifyEvent(this, &TForm1::ToggleAutomatic);
  ApplyShade->OnClick = TNotifyEvent(this, &TForm1::ActivateShade);
  GlassFX->OnClick = TNotifyEvent(this, &TForm1::SetGlassFX);
  PatternBox->OnChange = TNotifyEvent(this, &TForm1::SelectType);
  for (TMenuItem* M : PatternItems) M->OnClick = TNotifyEvent(this, &TForm1::SelectPatternFromMenu);
  Image1->OnMouseUp = TImgMouseEvent(this, &TForm1::SelectOffsetMouseUp);
  SubmitBtn->OnClick = TNotifyEvent(this, &TForm1::SubmitBitmap);
  EraseBtn->OnClick = TNotifyEvent(this, &TForm1::EraseKaleidoscope);
  ShowPictArea->OnClick = TNotifyEvent(this, &TForm1::CreatePictureArea);
  KaleidoPattern->OnClick = TNotifyEvent(this, &TForm1::SelectView);
  KaleidoColors->OnClick = TNotifyEvent(this, &TForm1::SelectView);
  UseText->OnClick = TNotifyEvent(this, &TForm1::UseTextPattern);
  Edit1->OnChange = TNotifyEvent(this, &TForm1::UseTextPattern);
  FontBtn->OnClick = TNotifyEvent(this, &TForm1::SelectFont);
  LoadMaskBtn->OnClick = TNotifyEvent(this, &TForm1::LoadMask);
  Mask1->OnClick = TNotifyEvent(this, &TForm1::LoadMask);
  LoadFXBtn->OnClick = TNotifyEvent(this, &TForm1::LoadGlassFX);
  GlassFX1->OnClick = TNotifyEvent(this, &TForm1::LoadGlassFX);
  for (TbsSkinTrackBar* B : {BlendBar, ClipBar, GlassBar}) {
    B->OnChange = TNotifyEvent(this, &TForm1::UpdateChange);
    B->OnLastChange = TNotifyEvent(this, &TForm1::ChangeControl);
  }
  for (TbsSkinTrackBar* B : TrackBarP) {
    B->OnChange = TNotifyEvent(this, &TForm1::UpdateChange);
    B->OnLastChange = TNotifyEvent(this, &TForm1::ChangeControl);
  }
}
