// The page "Video scripts" and the menu items of scripts, movies and the player: the script
// and its key frames, the movie's size, codec and options, the frame loop's read-out and the
// preview of the movie's source frame.
#include <algorithm>

#include "app/Languages.h"
#include "app/Main.h"
#include "app/MainArrange.h"
#include "app/MainMake.h"
#include "imaging/io/zezudidio.h"
#include "platform/classes/ExtCtrls.h"
#include "platform/classes/Menus.h"
#include "skin/boxctrls/bsSkinBoxCtrls.h"
#include "skin/boxctrls/bsSkinTabs.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/dialogs/bsSkinShellCtrls.h"

namespace {
constexpr const char* ScriptFilter = "Script files (*.txt)|*.txt|All files (*.*)|*.*";
constexpr const char* MovieFilter = "Video files (*.avi)|*.avi|All files (*.*)|*.*";

TbsSkinCheckRadioBox* MakeCheck(TForm1* Form, TWinControl* Parent, const char* Name, bool Checked) {
  auto* C = Make<TbsSkinCheckRadioBox>(Form, Parent, Name);
  C->SetChecked(Checked);
  return C;
}

TbsSkinStdLabel* MakeLabel(TForm1* Form, TWinControl* Parent, const char* Name, const std::string& Caption) {
  auto* L = Make<TbsSkinStdLabel>(Form, Parent, Name);
  L->SetCaption(Caption);
  return L;
}

TMenuItem* MakeItem(TForm1* Form, const char* Name, const std::string& Caption,
                    void (TForm1::*Handler)(TObject*)) {
  auto* M = new TMenuItem(Form);
  M->SetName(Name);
  M->SetCaption(Caption);
  M->OnClick = TNotifyEvent(Form, Handler);
  return M;
}
}  // namespace

void TForm1::CreateVideoMenus() {
  Script1 = MakeItem(this, "Script1", InterfaceTexts[itScript1], &TForm1::ReloadScript);
  Load1->Add(Script1);
  Savevideo1 = MakeItem(this, "Savevideo1", "Save video", &TForm1::SaveVideoFile);
  MainMenu1->GetItems()->Add(Savevideo1);
  Windows1 = new TMenuItem(this);
  Windows1->SetName("Windows1");
  Windows1->SetCaption(InterfaceTexts[itWindows1]);
  Showvideoplayer1 =
      MakeItem(this, "Showvideoplayer1", InterfaceTexts[itShowvideoplayer1], &TForm1::LoadMovie);
  Windows1->Add(Showvideoplayer1);
  MainMenu1->GetItems()->Add(Windows1);
}

void TForm1::CreateVideoPage() {
  GroupBox10 = Make<TbsSkinGroupBox>(this, TabSheet3, "GroupBox10");
  LoadScriptBtn = Make<TbsSkinButton>(this, GroupBox10, "LoadScriptBtn");
  ReloadBtn = Make<TbsSkinButton>(this, GroupBox10, "ReloadBtn");
  Label37 = MakeLabel(this, GroupBox10, "Label37", "");
  FXList = Make<TbsSkinListView>(this, GroupBox10, "FXList");
  FXList->SetViewStyle(vsReport);
  FXList->SetReadOnly(true);
  FXList->SetRowSelect(true);
  // The label above the list carries the column heads.
  FXList->SetShowColumnHeaders(false);
  for (Integer K = 0; K < 7; ++K) FXList->GetColumns()->Add()->SetWidth(K == 0 ? 48 : 34);

  GroupBox11 = Make<TbsSkinGroupBox>(this, TabSheet3, "GroupBox11");
  VideoSizeBox = Make<TbsSkinComboBox>(this, GroupBox11, "VideoSizeBox");
  CodecBox = Make<TbsSkinComboBox>(this, GroupBox11, "CodecBox");
  Panel7 = Make<TbsSkinPanel>(this, GroupBox11, "Panel7");
  Image5 = Make<TImage>(this, Panel7, "Image5");
  Image5->SetAlign(alClient);
  Image5->SetProportional(true);
  Image5->SetStretch(true);
  TrialRun = MakeCheck(this, GroupBox11, "TrialRun", false);
  ShowPreview = MakeCheck(this, GroupBox11, "ShowPreview", true);
  CBOpenPlayer = MakeCheck(this, GroupBox11, "CBOpenPlayer", true);
  CBOpenPlayer->SetCaption(" Open player at completion");
  FrameNr = MakeLabel(this, GroupBox11, "FrameNr", "0");
  static const char* const AutomNames[6] = {"AutomP1", "AutomP2", "AutomP3", "AutomP4", "AutomP5", "AutomP6"};
  for (Integer I = 0; I < 6; ++I) AutomP[I] = MakeLabel(this, GroupBox11, AutomNames[I], "0");
  CreateVideoBtn = Make<TbsSkinButton>(this, GroupBox11, "CreateVideoBtn");
  CreateVideoBtn->SetCaption(VariableTexts[vtCreateVideo]);

  OpenScriptDialog = new TbsSkinOpenDialog(this);
  OpenScriptDialog->SetName("OpenScriptDialog");
  OpenScriptDialog->SetTitle("Open file");
  OpenScriptDialog->SetFilter(ScriptFilter);
  SaveVideoDialog = new TbsSkinSaveDialog(this);
  SaveVideoDialog->SetName("SaveVideoDialog");
  SaveVideoDialog->SetOverwritePromt(true);
  SaveVideoDialog->SetTitle("Save file");
  SaveVideoDialog->SetFilter(MovieFilter);
  ImgVid = new TZezudIdIO(this);
  ImgVid->SetName("ImgVid");

  LoadScriptBtn->OnClick = TNotifyEvent(this, &TForm1::ReloadScript);
  ReloadBtn->OnClick = TNotifyEvent(this, &TForm1::ReloadScript);
  CreateVideoBtn->OnClick = TNotifyEvent(this, &TForm1::StartVideoCreation);
  VideoSizeBox->OnChange = TNotifyEvent(this, &TForm1::ChangeVideoSize);
  CodecBox->OnChange = TNotifyEvent(this, &TForm1::ChangeVideoSize);
}

void TForm1::FillVideoSizeBox() {
  TStrings* Items = VideoSizeBox->GetItems();
  Items->BeginUpdate();
  Items->Clear();
  Items->Add(SameAsSourceText);
  for (Integer E = 0; E < VideoSizeCount; ++E) Items->Add(VideoSizeCaption(E));
  Items->EndUpdate();
  VideoSizeBox->SetItemIndex(VideoSizeIndex);
}

void ArrangeVideoPage(TForm1* F, Integer Width) {
  constexpr Integer Margin = 8, Pad = 8, Gap = 6, Row = 22, ControlHeight = 20, ButtonHeight = 25;
  const Integer Inner = Width - 2 * Pad;
  const Integer HalfWidth = (Inner - Gap) / 2;
  F->LoadScriptBtn->SetBounds(Pad, 20, HalfWidth, ButtonHeight);
  F->ReloadBtn->SetBounds(Pad + HalfWidth + Gap, 20, Inner - HalfWidth - Gap, ButtonHeight);
  F->Label37->SetBounds(Pad, 52, Inner, 16);
  F->FXList->SetBounds(Pad, 70, Inner, 150);
  F->GroupBox10->SetBounds(Margin, Margin, Width, 228);

  F->VideoSizeBox->SetBounds(Pad, 20, Inner, ControlHeight);
  F->CodecBox->SetBounds(Pad, 20 + Row + 4, Inner, ControlHeight);
  // The preview keeps its height when a source frame set it (at most 68 pixels).
  constexpr Integer PreviewWidth = 92;
  const Integer OptionsTop = 20 + 2 * (Row + 4);
  F->Panel7->SetBounds(Pad, OptionsTop, PreviewWidth, std::clamp(F->Panel7->GetHeight(), 1, 68));
  const Integer OptionsLeft = Pad + PreviewWidth + Gap;
  F->TrialRun->SetBounds(OptionsLeft, OptionsTop, Width - Pad - OptionsLeft, ControlHeight);
  F->ShowPreview->SetBounds(OptionsLeft, OptionsTop + Row, Width - Pad - OptionsLeft, ControlHeight);
  F->CBOpenPlayer->SetBounds(OptionsLeft, OptionsTop + 2 * Row, Width - Pad - OptionsLeft, ControlHeight);
  // The frame in progress and its six parameters on one row.
  const Integer ReadoutTop = OptionsTop + 3 * Row + 6;
  const Integer Column = Inner / 7;
  F->FrameNr->SetBounds(Pad, ReadoutTop, Column, 16);
  for (Integer I = 0; I < 6; ++I) F->AutomP[I]->SetBounds(Pad + (I + 1) * Column, ReadoutTop, Column, 16);
  F->CreateVideoBtn->SetBounds(Pad, ReadoutTop + Row, Inner, ButtonHeight);
  F->GroupBox11->SetBounds(Margin, Margin + 228 + Gap, Width, ReadoutTop + Row + ButtonHeight + 10);
}
