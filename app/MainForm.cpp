// The main window's controls, made in the order its form would stream them, and the small
// helpers through which the build reads and shows them.
#include <initializer_list>

#include "app/Functions.h"
#include "app/Languages.h"
#include "app/Main.h"
#include "platform/classes/Application.h"
#include "platform/classes/Dialogs.h"
#include "platform/classes/ExtCtrls.h"
#include "platform/classes/Bitmap.h"
#include "platform/classes/JPEGImage.h"
#include "platform/classes/Menus.h"
#include "platform/system/Environment.h"
#include "platform/system/Files.h"
#include "platform/system/Format.h"
#include "platform/system/IniFiles.h"
#include "platform/system/Math.h"
#include "raster/RS32_Image.h"
#include "skin/boxctrls/bsSkinBoxCtrls.h"
#include "skin/boxctrls/bsSkinTabs.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/dialogs/bsMessages.h"
#include "skin/dialogs/bsSkinShellCtrls.h"
#include "skin/form/SkinForm.h"

namespace {
// Layout of the control column.
// The window's client area and the control column, as designed: the bounds below are the
// aligned ones, so the start-up build sees the result area's real size.
constexpr Integer ClientW = 992;
constexpr Integer ClientH = 654;
constexpr Integer StatusH = 22;
constexpr Integer PanelWidth = 296;
constexpr Integer RowHeight = 22;
constexpr Integer GroupGap = 6;
constexpr Integer Margin = 8;
constexpr Integer ButtonsTop = ClientH - StatusH - 33;

template <class T>
T* Make(TForm1* Form, TWinControl* Parent, const char* Name, Integer X, Integer Y, Integer W, Integer H) {
  T* C = new T(Form);
  C->SetName(Name);
  C->SetBounds(X, Y, W, H);
  C->SetParent(Parent);
  return C;
}
}  // namespace

TForm1::TForm1(TComponent* AOwner) : TForm(AOwner) {
  if (Form1 == nullptr) Form1 = this;
  BeginFormLoad();
  SetName("Form1");
  SetCaption("Tilvarok");
  SetPosition(poScreenCenter);
  SetVisible(false);
  CreateComponents();
  OnCreate = TNotifyEvent(this, &TForm1::FormCreate);
  EndFormLoad();
}

TForm1::~TForm1() {
  BeforeDestruction();
  if (Form1 != this) return;
  Form1 = nullptr;
  // The working bitmaps end with the main window, before the class library's own objects.
  for (std::unique_ptr<TBitmap>* B : {&SourceBitmap, &ResultBitmap, &PatternBitmap, &MaskBitmap,
                                      &GlassFXBitmap, &TextBitmap, &DrawingBitmap, &DrawingHistoryBitmap})
    B->reset();
  ResultJpeg.reset();
  SettingsFile.reset();
}

void TForm1::CreateComponents() {
  SetDefaultInterfaceTexts();
  const TTextTable& T = InterfaceTexts;

  bsSkinData1 = new TbsSkinData(this);
  bsSkinData1->SetName("bsSkinData1");
  bsSkinForm1 = new TbsSkinForm(this);
  bsSkinForm1->SetName("bsSkinForm1");
  bsSkinForm1->SetSkinData(bsSkinData1);

  MainMenu1 = new TMainMenu(this);
  MainMenu1->SetName("MainMenu1");
  Load1 = new TMenuItem(this);
  Load1->SetName("Load1");
  Load1->SetCaption(T[57]);
  Sourcebitmap1 = new TMenuItem(this);
  Sourcebitmap1->SetName("Sourcebitmap1");
  Sourcebitmap1->SetCaption(T[65]);
  Load1->Add(Sourcebitmap1);
  auto Item = [&](TMenuItem* Parent, const char* Name, const std::string& Caption) {
    auto* M = new TMenuItem(this);
    M->SetName(Name);
    M->SetCaption(Caption);
    Parent->Add(M);
    return M;
  };
  Mask1 = Item(Load1, "Mask1", T[58]);
  GlassFX1 = Item(Load1, "GlassFX1", T[53]);
  SaveBitmap1 = new TMenuItem(this);
  SaveBitmap1->SetName("SaveBitmap1");
  SaveBitmap1->SetCaption(T[63]);
  Pattern1 = new TMenuItem(this);
  Pattern1->SetName("Pattern1");
  Pattern1->SetCaption(T[61]);
  static const char* const PatternItemNames[10] = {"Pinch1",          "Circular1",     "Twirlingspiral1",
                                                   "Hexagons1",       "Tubehorizontal1", "Tubevertical1",
                                                   "Spheres1",        "Spirograph1",   "Kaleidoscope1",
                                                   "Freedrawing1"};
  static const Integer PatternTexts[10] = {62, 51, 70, 55, 68, 69, 66, 67, 56, 77};
  for (Integer K = 0; K < 10; ++K) PatternItems[K] = Item(Pattern1, PatternItemNames[K], T[PatternTexts[K]]);
  PatternItems[0]->SetChecked(true);
  MainMenu1->GetItems()->Add(Load1);
  MainMenu1->GetItems()->Add(SaveBitmap1);
  MainMenu1->GetItems()->Add(Pattern1);
  CreateProjectMenu();
  CreateExtraMenu();
  SetMenu(MainMenu1);
  SetClientWidth(ClientW);
  SetClientHeight(ClientH);

  StatusBar1 = Make<TbsSkinPanel>(this, this, "StatusBar1", 0, ClientH - StatusH, ClientW, StatusH);
  StatusBar1->SetAlign(alBottom);
  auto StatusField = [&](const char* Name, Integer X, Integer W, TAlign Align) {
    auto* P = Make<TbsSkinPanel>(this, StatusBar1, Name, X, 0, W, StatusH);
    P->SetAlign(Align);
    // The panel's caption bar is the whole field.
    P->SetCaptionMode(true);
    P->SetDefaultCaptionHeight(StatusH);
    P->SetDefaultAlignment(taLeftJustify);
    return P;
  };
  StatusPanel = StatusField("StatusPanel", 0, 200, alLeft);
  RAMPanel = StatusField("RAMPanel", 200, 150, alLeft);
  DatePanel = StatusField("DatePanel", ClientW - 130, 130, alRight);
  ProgressBar1 = Make<TbsSkinGauge>(this, StatusBar1, "ProgressBar1", 350, 0, ClientW - 480, StatusH);
  ProgressBar1->SetAlign(alClient);
  ProgressBar1->SetMinValue(0);
  ProgressBar1->SetMaxValue(100);
  ProgressBar1->SetValue(0);

  ControlPanel = Make<TbsSkinPanel>(this, this, "ControlPanel", 0, 0, PanelWidth, ClientH - StatusH);
  ControlPanel->SetAlign(alLeft);
  PageControl1 =
      Make<TbsSkinPageControl>(this, ControlPanel, "PageControl1", 0, 0, PanelWidth, ButtonsTop - 6);
  TabSheet1 = new TbsSkinTabSheet(this);
  TabSheet1->SetName("TabSheet1");
  TabSheet1->SetPageControl(PageControl1);
  TabSheet1->SetCaption(T[82]);
  TabSheet2 = new TbsSkinTabSheet(this);
  TabSheet2->SetName("TabSheet2");
  TabSheet2->SetPageControl(PageControl1);
  TabSheet2->SetCaption(T[83]);
  TabSheet3 = new TbsSkinTabSheet(this);
  TabSheet3->SetName("TabSheet3");
  TabSheet3->SetPageControl(PageControl1);
  TabSheet3->SetCaption(T[84]);

  const Integer Inner = PanelWidth - 2 * Margin - 8;
  auto Label = [&](TWinControl* P, const char* Name, const std::string& Caption, Integer X, Integer Y,
                   Integer W) {
    auto* L = Make<TbsSkinStdLabel>(this, P, Name, X, Y + 3, W, 16);
    L->SetCaption(Caption);
    return L;
  };
  auto Check = [&](TWinControl* P, const char* Name, const std::string& Caption, Integer X, Integer Y,
                   Integer W, bool Checked) {
    auto* C = Make<TbsSkinCheckRadioBox>(this, P, Name, X, Y, W, 20);
    C->SetCaption(Caption);
    C->SetChecked(Checked);
    return C;
  };
  auto Spin = [&](TWinControl* P, const char* Name, Integer X, Integer Y, double Min, double Max,
                  double Value, double Step) {
    auto* S = Make<TbsSkinSpinEdit>(this, P, Name, X, Y, 60, 20);
    S->SetMinValue(Min);
    S->SetMaxValue(Max);
    S->SetIncrement(Step);
    S->SetValue(Value);
    return S;
  };
  auto Bar = [&](TWinControl* P, const char* Name, Integer X, Integer Y, Integer W) {
    auto* B = Make<TbsSkinTrackBar>(this, P, Name, X, Y, W, 20);
    B->SetMinValue(0);
    B->SetMaxValue(100);
    B->SetValue(50);
    return B;
  };

  // Source picture.
  GroupBox1 = Make<TbsSkinGroupBox>(this, TabSheet1, "GroupBox1", Margin, Margin, Inner, 126);
  GroupBox1->SetCaption(T[32]);
  Image2 = Make<TImage32>(this, GroupBox1, "Image2", 8, 20, 110, 82);
  Image2->SetBitmapAlign(baCenter);
  Image2->SetScaleMode(smOptimal);
  Label13 = Label(GroupBox1, "Label13", VariableTexts[9] + ": 0 x 0 pixels", 8, 104, Inner - 16);
  LoadPicBtn = Make<TbsSkinButton>(this, GroupBox1, "LoadPicBtn", 126, 20, Inner - 134, 25);
  LoadPicBtn->SetCaption(T[3]);
  NoRim = Check(GroupBox1, "NoRim", T[25], 126, 50, Inner - 134, true);
  Label23 = Label(GroupBox1, "Label23", T[38], 126, 74, 70);
  MultSpin = Spin(GroupBox1, "MultSpin", 200, 74, 1, 20, 1, 1);

  // Pattern.
  GroupBox2 = Make<TbsSkinGroupBox>(this, TabSheet1, "GroupBox2", Margin, GroupBox1->GetTop() + GroupBox1->GetHeight() + GroupGap,
                                        Inner, 124);
  GroupBox2->SetCaption(T[33]);
  Label2 = Label(GroupBox2, "Label2", "", 8, 18, Inner - 16);
  PatternBox = Make<TbsSkinComboBox>(this, GroupBox2, "PatternBox", 8, 38, Inner - 16, 20);
  for (Integer K : {74, 51, 70, 55, 68, 69, 66, 67, 56, 77}) PatternBox->GetItems()->Add(T[K]);
  PatternBox->SetItemIndex(0);
  Label1 = Label(GroupBox2, "Label1", T[30], 8, 64, 70);
  SpinEdit5 = Spin(GroupBox2, "SpinEdit5", 80, 64, 5, 100, 20, 2);
  Label43 = Label(GroupBox2, "Label43", T[46], 146, 64, 40);
  LineSpin = Spin(GroupBox2, "LineSpin", 190, 64, 1, 9, 1, 1);
  Label8 = Label(GroupBox2, "Label8", T[47], 146, 92, 40);
  ColorSpin = Spin(GroupBox2, "ColorSpin", 190, 92, 1, 5, 1, 1);

  // Parameters: until a pattern is chosen every slider runs 0..100 from 50 and only the
  // first one is named.
  const Integer ParamsTop = GroupBox2->GetTop() + GroupBox2->GetHeight() + GroupGap;
  GroupBox5 = Make<TbsSkinGroupBox>(this, TabSheet1, "GroupBox5", Margin, ParamsTop, Inner, 20 + 6 * RowHeight);
  GroupBox5->SetCaption(T[37]);
  static const char* const LabelNames[6] = {"LabelP1", "LabelP2", "LabelP3", "LabelP4", "LabelP5", "LabelP6"};
  static const char* const BarNames[6] = {"TrackBarP1", "TrackBarP2", "TrackBarP3",
                                          "TrackBarP4", "TrackBarP5", "TrackBarP6"};
  static const char* const ValueNames[6] = {"ValueP1", "ValueP2", "ValueP3", "ValueP4", "ValueP5", "ValueP6"};
  for (Integer I = 0; I < 6; ++I) {
    const Integer Y = 18 + I * RowHeight;
    LabelP[I] = Label(GroupBox5, LabelNames[I], I == 0 ? T[49] : std::string(), 8, Y, 90);
    TrackBarP[I] = Bar(GroupBox5, BarNames[I], 100, Y, Inner - 150);
    ValueP[I] = Label(GroupBox5, ValueNames[I], "0", Inner - 44, Y, 36);
  }

  // The drawing panel takes the parameters' place while drawing.
  GroupBox6 = Make<TbsSkinGroupBox>(this, TabSheet1, "GroupBox6", Margin, ParamsTop, Inner, 20 + 6 * RowHeight);
  GroupBox6->SetCaption(T[42]);
  GroupBox6->SetVisible(false);
  SubmitBtn = Make<TbsSkinButton>(this, GroupBox6, "SubmitBtn", 8, 20, 90, 25);
  SubmitBtn->SetCaption(T[6]);
  EraseBtn = Make<TbsSkinButton>(this, GroupBox6, "EraseBtn", 8, 50, 90, 25);
  EraseBtn->SetCaption(T[9]);
  auto Radio = [&](const char* Name, const std::string& Caption, Integer X, Integer Y, Integer W,
                   Integer Group, bool Checked) {
    auto* C = Make<TbsSkinCheckRadioBox>(this, GroupBox6, Name, X, Y, W, 20);
    C->SetRadio(true);
    C->SetGroupIndex(Group);
    C->SetCaption(Caption);
    C->SetChecked(Checked);
    return C;
  };
  KaleidoPattern = Radio("KaleidoPattern", T[76], 106, 20, Inner - 114, 1, true);
  KaleidoColors = Radio("KaleidoColors", T[75], 106, 42, Inner - 114, 1, false);
  KaleidoColors->SetEnabled(false);
  ShowPictArea = Check(GroupBox6, "ShowPictArea", T[16], 8, 84, Inner - 16, true);
  Kal2x = Radio("Kal2x", "2x", 8, 112, 60, 2, false);
  Kal4x = Radio("Kal4x", "4x", 72, 112, 60, 2, false);
  Kal8x = Radio("Kal8x", "8x", 136, 112, 60, 2, true);

  // Options.
  const Integer OptionsTop = ParamsTop + GroupBox5->GetHeight() + GroupGap;
  GroupBox3 = Make<TbsSkinGroupBox>(this, TabSheet1, "GroupBox3", Margin, OptionsTop, Inner, 20 + 5 * 22);
  GroupBox3->SetCaption(T[35]);
  const Integer Half = (Inner - 16) / 2;
  FrameOnly = Check(GroupBox3, "FrameOnly", T[23], 8, 18, Half, true);
  FrameOnly->SetEnabled(false);
  PatternColors = Check(GroupBox3, "PatternColors", T[17], 8 + Half, 18, Half, false);
  GridShow = Check(GroupBox3, "GridShow", T[21], 8, 40, Half, false);
  WhiteGrid = Check(GroupBox3, "WhiteGrid", T[29], 8 + Half, 40, Half, false);
  KeepShape = Check(GroupBox3, "KeepShape", T[22], 8, 62, Half, false);
  KeepShape->SetEnabled(false);
  Automatic = Check(GroupBox3, "Automatic", T[13], 8 + Half, 62, Half, false);
  AutoSave = Check(GroupBox3, "AutoSave", T[14], 8, 84, Half, false);
  ApplyMask = Check(GroupBox3, "ApplyMask", T[10], 8 + Half, 84, Half, false);
  ApplyMask->SetEnabled(false);
  UseText = Check(GroupBox3, "UseText", T[28], 8, 106, Half, false);

  // Effects.
  GroupBox4 = Make<TbsSkinGroupBox>(this, TabSheet2, "GroupBox4", Margin, Margin, Inner, 200);
  GroupBox4->SetCaption(T[36]);
  Blending = Check(GroupBox4, "Blending", T[15], 8, 18, 110, true);
  BlendBar = Bar(GroupBox4, "BlendBar", 120, 18, Inner - 172);
  BlendLbl = Label(GroupBox4, "BlendLbl", "50%", Inner - 48, 18, 40);
  Edges = Check(GroupBox4, "Edges", T[19], 8, 42, 110, true);
  ClipBar = Bar(GroupBox4, "ClipBar", 120, 42, Inner - 172);
  ClipLbl = Label(GroupBox4, "ClipLbl", "10%", Inner - 48, 42, 40);
  AutoAlias = Check(GroupBox4, "AutoAlias", T[12], 8, 66, Inner - 16, false);
  ApplyShade = Check(GroupBox4, "ApplyShade", T[11], 8, 90, Inner - 16, false);
  ApplyShade->SetEnabled(false);
  GlassFX = Check(GroupBox4, "GlassFX", T[20], 8, 114, 110, false);
  GlassFX->SetEnabled(false);
  GlassBar = Bar(GroupBox4, "GlassBar", 120, 114, Inner - 172);
  GlassBar->SetEnabled(false);
  GlassLbl = Label(GroupBox4, "GlassLbl", "50%", Inner - 48, 114, 40);

  // Text pattern, mask and glass picture.
  GroupBox9 = Make<TbsSkinGroupBox>(this, TabSheet2, "GroupBox9", Margin, 216, Inner, 56);
  GroupBox9->SetCaption(T[41]);
  Edit1 = Make<TbsSkinEdit>(this, GroupBox9, "Edit1", 8, 22, Inner - 100, 22);
  FontBtn = Make<TbsSkinButton>(this, GroupBox9, "FontBtn", Inner - 86, 20, 78, 25);
  FontBtn->SetCaption(T[1]);
  const Integer PreviewW = (Inner - 8) / 2;
  auto Preview = [&](const char* Box, const std::string& BoxCaption, Integer X, const char* BtnName,
                     const std::string& BtnCaption, const char* ImageName, TbsSkinGroupBox*& Group,
                     TbsSkinButton*& Button, TImage*& Image) {
    Group = Make<TbsSkinGroupBox>(this, TabSheet2, Box, X, 280, PreviewW, 150);
    Group->SetCaption(BoxCaption);
    Button = Make<TbsSkinButton>(this, Group, BtnName, 8, 20, PreviewW - 16, 25);
    Button->SetCaption(BtnCaption);
    Image = Make<TImage>(this, Group, ImageName, 8, 50, PreviewW - 16, 92);
    Image->SetProportional(true);
  };
  Preview("GroupBox7", T[39], Margin, "LoadMaskBtn", T[2], "Image3", GroupBox7, LoadMaskBtn, Image3);
  Image3->SetVisible(false);
  Preview("GroupBox8", T[40], Margin + PreviewW + 8, "LoadFXBtn", T[5], "Image4", GroupBox8, LoadFXBtn,
          Image4);
  FontDialog1 = new TFontDialog(this);
  FontDialog1->SetName("FontDialog1");
  FontDialog1->GetFont()->SetName("Arial");
  FontDialog1->GetFont()->SetSize(120);

  // Video.
  ShowPreview = Check(TabSheet3, "ShowPreview", T[26], Margin, Margin, Inner, true);

  // Build and save.
  UpdateBtn = Make<TbsSkinButton>(this, ControlPanel, "UpdateBtn", Margin, ButtonsTop, 136, 25);
  UpdateBtn->SetCaption(T[4]);
  SaveBtn = Make<TbsSkinButton>(this, ControlPanel, "SaveBtn", 152, ButtonsTop, 136, 25);
  SaveBtn->SetCaption(T[8]);

  // The result.
  Image1 = Make<TImage32>(this, this, "Image1", PanelWidth, 0, ClientW - PanelWidth, ClientH - StatusH);
  Image1->SetAlign(alClient);
  Image1->SetBitmapAlign(baCenter);
  Image1->SetScaleMode(smOptimal);
  Image1->GetBitmap()->SetResamplerClassName("TNearestResampler");

  OpenPictureDialog = new TbsSkinOpenPictureDialog(this);
  OpenPictureDialog->SetName("OpenPictureDialog");
  OpenPictureDialog->SetFilter(
      "All (*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf;*.gif)|*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf;*.gif|"
      "JPEG Image File (*.jpg)|*.jpg|JPEG Image File (*.jpeg)|*.jpeg|Bitmaps (*.bmp)|*.bmp|Icons (*.ico)|*.ico|"
      "Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf|GIF Image (*.gif)|*.gif");
  SavePictureDialog = new TbsSkinSavePictureDialog(this);
  SavePictureDialog->SetName("SavePictureDialog");
  bsSkinMessage1 = new TbsSkinMessage(this);
  bsSkinMessage1->SetName("bsSkinMessage1");
  bsSkinMessage1->SetSkinData(bsSkinData1);

  // Handlers.
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

// ---- Start-up ------------------------------------------------------------------------------

void TForm1::FormCreate(TObject*) {
  Hide();
  Ready = 0;
  SourceLoaded = 0;
  MaskLoaded = 0;
  BuildRunning = 1;
  TextMode = 0;
  PatternType = ptPinch;
  OffsetX = OffsetY = 0;
  Busy = 0;
  VideoMode = 0;
  AbortRequested = 0;

  for (std::unique_ptr<TBitmap>* B : {&SourceBitmap, &ResultBitmap, &PatternBitmap, &MaskBitmap,
                                      &GlassFXBitmap, &TextBitmap, &DrawingBitmap, &DrawingHistoryBitmap}) {
    *B = std::make_unique<TBitmap>();
    (*B)->SetPixelFormat(pf24bit);
  }
  ResultJpeg = std::make_unique<TJPEGImage>();

  PageControl1->SetActivePageIndex(0);
  ExeDir = ExtractFilePath(Application->GetExeName());
  LanguagesDir = ExeDir + "Languages";
  TempDir = GetEnvironmentVariable("TEMP") + "\\Tilvarok";
  std::string CommonData;
  SHGetFolderPath(nullptr, CSIDL_COMMON_APPDATA, nullptr, 0, CommonData);
  DataDir = CommonData + "\\ZOR\\Tilvarok";
  ResultsDir = DataDir + "\\Results";
  SourcesDir = DataDir + "\\Sources";
  ProjectsDir = DataDir + "\\Projects";
  ScriptsDir = DataDir + "\\Scripts";
  if (!DirectoryExists(TempDir)) CreateDir(TempDir);
  SettingsFile = std::make_unique<TIniFile>(DataDir + "\\Tilvarok.ini");

  SetDefaultTexts();
  PadCaptions();
  ApplyVariableTexts();
  ReadSettings();

  OpenPictureDialog->SetInitialDir(SourcesDir);
  TempMovieName = TempDir + "\\movie~.avi";

  Ready = 1;
  SetBasicSize(nullptr);
  Show();
}

// ---- What the stages read and show ----------------------------------------------------------

Integer TForm1::ParamValue(Integer Index) const {
  return TrackBarP[Index - 1]->GetValue();
}

Integer TForm1::ParamRange(Integer Index) const {
  return TrackBarP[Index - 1]->GetMaxValue() - TrackBarP[Index - 1]->GetMinValue();
}

Integer TForm1::LineWidth() const {
  return static_cast<Integer>(Round(LineSpin->GetValue()));
}

Single TForm1::ColorMode() const {
  return static_cast<Single>(ColorSpin->GetValue());
}

void TForm1::SetStatusText(const std::string& Text) {
  StatusPanel->SetCaption(" " + Text);
}

void TForm1::ShowStatus(const std::string& Text) {
  SetStatusText(Text);
  PumpMessages();
}

void TForm1::ShowMemoryStatus() {
  std::string Text = " ";
  Text += MemoryStatusText();
  RAMPanel->SetCaption(Text);
}

void TForm1::SetProgressMax(Integer Value) {
  if (VideoMode == 1) return;
  ProgressBar1->SetMaxValue(Value);
  FProgressShown = -1;
}

void TForm1::SetProgress(Integer Value) {
  if (VideoMode == 1) return;
  // Only a value that moves the bar by a pixel is worth a repaint.
  const Integer Top = ProgressBar1->GetMaxValue();
  const Int64 Span = Max(ProgressBar1->GetWidth(), 1);
  const Integer Shown =
      Top > 0 ? static_cast<Integer>(static_cast<Int64>(EnsureRange(Value, 0, Top)) * Span / Top) : 0;
  if (Shown == FProgressShown && Value != 0) return;
  FProgressShown = Shown;
  ProgressBar1->SetValue(Value);
}

TBitmap* TForm1::WorkBitmap() {
  if (!FWorkBitmap) FWorkBitmap = std::make_unique<TBitmap>();
  return FWorkBitmap.get();
}

void TForm1::PumpMessages() {
  Application->ProcessMessages();
}

void TForm1::ShowWarning(const std::string& Text) {
  bsSkinMessage1->MessageDlg(Text, mtWarning, TMsgDlgButtons{mbOK}, 0);
}
