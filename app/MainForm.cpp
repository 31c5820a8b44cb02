// The main window: its making and start-up, and the small helpers through which the build reads
// and shows its controls.
#include <initializer_list>

#include "app/Functions.h"
#include "app/Languages.h"
#include "app/Main.h"
#include "imaging/io/ieiolibrary.h"
#include "platform/classes/Application.h"
#include "platform/classes/Bitmap.h"
#include "platform/classes/Dialogs.h"
#include "platform/classes/JPEGImage.h"
#include "platform/system/Environment.h"
#include "platform/system/Files.h"
#include "platform/system/IniFiles.h"
#include "platform/system/Math.h"
#include "platform/system/StringList.h"
#include "skin/boxctrls/bsSkinBoxCtrls.h"
#include "skin/boxctrls/bsSkinTabs.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/dialogs/bsMessages.h"
#include "skin/dialogs/bsSkinShellCtrls.h"

TForm1::TForm1(TComponent* AOwner) : TForm(AOwner) {
  if (Form1 == nullptr) Form1 = this;
  BeginFormLoad();
  SetName("Form1");
  SetCaption("Tilvarok");
  SetPosition(poScreenCenter);
  SetVisible(false);
  CreateComponents();
  BindDialogSkins();
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
  VideoSizeIndex = 2;
  ScriptPattern = 0;
  FourCCList.clear();
  if (const std::unique_ptr<TStringList> Codes = GetVideoCodecFourCCs())
    for (Integer I = 0; I < Codes->GetCount(); ++I) FourCCList.push_back(Codes->GetStrings(I));

  PageControl1->SetActivePageIndex(0);
  ExeDir = ExtractFilePath(Application->GetExeName());
  LanguagesDir = ExeDir + "Languages";
  TempDir = GetEnvironmentVariable("TEMP") + "/Tilvarok";
  std::string CommonData;
  SHGetFolderPath(nullptr, CSIDL_COMMON_APPDATA, nullptr, 0, CommonData);
  DataDir = CommonData + "/ZOR/Tilvarok";
  ResultsDir = DataDir + "/Results";
  SourcesDir = DataDir + "/Sources";
  ProjectsDir = DataDir + "/Projects";
  ScriptsDir = DataDir + "/Scripts";
  if (!DirectoryExists(TempDir)) CreateDir(TempDir);
  SettingsFile = std::make_unique<TIniFile>(DataDir + "/Tilvarok.ini");

  SetDefaultTexts();
  PadCaptions();
  ApplyVariableTexts();
  ReadSettings();
  FillVideoSizeBox();

  OpenPictureDialog->SetInitialDir(SourcesDir);
  OpenScriptDialog->SetInitialDir(ScriptsDir);
  TempMovieName = TempDir + "/movie~.avi";
  LoadGlassFromSettings();

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

void TForm1::PumpMessages() {
  Application->ProcessMessages();
}

void TForm1::ShowWarning(const std::string& Text) {
  bsSkinMessage1->MessageDlg(Text, mtWarning, TMsgDlgButtons{mbOK}, 0);
}
