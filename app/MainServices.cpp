// The main window's small services: the about box and the help, the maker's home page, the
// clock and memory panels of the status bar, the single-instance guard, and the commands that
// drive the web update and its window.
#include "app/About.h"
#include "app/Functions.h"
#include "app/Languages.h"
#include "app/Main.h"
#include "app/WebUpdateWindow.h"
#include "app/mxOneInstance.h"
#include "app/mxWebUpdate.h"
#include "platform/classes/Application.h"
#include "platform/classes/ExtCtrls.h"
#include "platform/classes/Forms.h"
#include "platform/classes/Menus.h"
#include "platform/classes/Timer.h"
#include "platform/shell/ShellAPI.h"
#include "platform/system/DateTime.h"
#include "platform/system/Environment.h"
#include "platform/system/Files.h"
#include "platform/system/Math.h"
#include "platform/system/Strings.h"
#include "platform/user/WinUser.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/dialogs/bsSkinShellCtrls.h"

namespace {
// The help document installed beside the program.
constexpr const char* HelpFileName = "Tilvarok Help.html";
constexpr const char* UpdatePagePath = "Updates/TilvarokUpdate.htm";
// Pixels per character of the clock panel.
constexpr Extended ClockCharWidth = 5.75;
// Tests point the update check at a page of their own, "http://host:port/path": the component
// takes the port as its own setting, the address without it.
void UseTestUpdatePage(TmxWebUpdate* Update) {
  std::string Page = GetEnvironmentVariable("TILVAROK_UPDATE_URL");
  if (Page.empty()) return;
  const std::size_t Scheme = Page.find("://");
  const std::size_t HostStart = Scheme == std::string::npos ? 0 : Scheme + 3;
  const std::size_t HostEnd = std::min(Page.find('/', HostStart), Page.size());
  const std::size_t Colon = Page.find(':', HostStart);
  Integer Port = 0;
  if (Colon < HostEnd && TryStrToInt(Page.substr(Colon + 1, HostEnd - Colon - 1), Port) && Port > 0) {
    Update->SetHTTPPort(static_cast<Cardinal>(Port));
    Page.erase(Colon, HostEnd - Colon);
  }
  Update->GetProductInfo()->SetURL(Page);
}
}  // namespace

void TForm1::CreateServices() {
  auto Item = [&](const char* Name, TNotifyEvent Click) {
    auto* M = new TMenuItem(this);
    M->SetName(Name);
    M->OnClick = Click;
    MainMenu1->GetItems()->Add(M);
    return M;
  };
  Help2 = Item("Help2", TNotifyEvent(this, &TForm1::ShowHelp));
  About2 = Item("About2", TNotifyEvent(this, &TForm1::ShowAbout));
  Updatenow1->OnClick = TNotifyEvent(this, &TForm1::ShowWebUpdate);

  Timer1 = new TTimer(this);
  Timer1->SetName("Timer1");
  Timer1->SetOnTimer(TNotifyEvent(this, &TForm1::Timer1Timer));

  ReadFileVersion();
  mxWebUpdate = new TmxWebUpdate(this);
  mxWebUpdate->SetName("mxWebUpdate");
  mxWebUpdate->GetProductInfo()->SetURL(std::string(MakerHomePage) + UpdatePagePath);
  UseTestUpdatePage(mxWebUpdate);
  mxWebUpdate->GetProductInfo()->SetVersion(ProgramFileVersion);
  mxWebUpdate->SetOptions({uoRunUpdate, uoOverwrite});
  mxWebUpdate->OnBeforeDownload = TDownloadFileEvent(this, &TForm1::BeforeDownload);
  mxWebUpdate->OnAfterDownload = TDownloadFileEvent(this, &TForm1::AfterDownload);
  mxWebUpdate->OnUpdateAvailable = TUpdateAvailableEvent(this, &TForm1::UpdateAvailable);
  mxWebUpdate->OnAfterGetInfo = TNotifyEvent(this, &TForm1::AfterGetInfo);
  mxWebUpdate->OnDownload = TDownloadEvent(this, &TForm1::Download);
  UpdateSaveDialog = new TbsSkinSaveDialog(this);
  UpdateSaveDialog->SetName("UpdateSaveDialog");
  UpdateSaveDialog->SetOverwritePromt(true);
  UpdateSaveDialog->SetTitle("Save file");
  UpdateSaveDialog->SetFilter("All files|*.*");

  // Read with the form, so that a second copy ends before the window's create handler.
  mxOneInstance1 = new TmxOneInstance(this);
  mxOneInstance1->SetName("mxOneInstance1");
}

// ---- About, help and home page --------------------------------------------------------------

void TForm1::ShowAbout(TObject*) {
  if (Form5 == nullptr) Application->CreateForm(Form5);
  Form5->Label3->SetCaption(VariableTexts[vtVersion] + ": " + VersionText);
  Form5->SetClientWidth(Form5->Image1->GetWidth());
  Form5->SetClientHeight(Form5->Image1->GetHeight());
  if (!Form5->GetVisible()) Form5->Show();
}

void TForm1::ShowHelp(TObject*) {
  ShellExecute(GetHandle(), "open", (ExeDir + HelpFileName).c_str(), "", "", SW_SHOWMAXIMIZED);
}

void TForm1::ZORHyperLink(TObject*) {
  ShellExecute(GetHandle(), "open", MakerHomePage, "", "", SW_SHOWNORMAL);
}

// ---- Status bar -----------------------------------------------------------------------------

void TForm1::Timer1Timer(TObject*) {
  DatePanel->SetCaption(FormatDateTime("  d mmmm yyy   hh:mm", Now()));
  DatePanel->SetWidth(static_cast<Integer>(Round(DatePanel->GetCaption().size() * ClockCharWidth)));
  ShowMemoryStatus();
  PumpMessages();
}

// ---- Web update -----------------------------------------------------------------------------

void TForm1::ShowWebUpdate(TObject*) {
  ShowUpdateWindow(" Tilvarok web-update ", bsSkinData1);
  UpdateCancelButton->OnClick = TNotifyEvent(this, &TForm1::CancelUpdate);
  SetUpdateCallback([](TForm1* Form) { Form->StartDownload(Form); }, this);
  SetUpdateStatus("", UpdateCaptions[18] + "...");
  PumpMessages();
  mxWebUpdate->LookForUpdate();
  LastUpdateDate = FormatDateTime("dd-mm-yyyy", Date());
  WriteSetting(this, "Settings", "Updated", LastUpdateDate, false);
}

void TForm1::AfterGetInfo(TObject*) {
  if (UpdateWindow == nullptr) return;
  UpdateGauge->SetValue(0);
  SetUpdateStatus(UpdateCaptions[19], UpdateCaptions[20]);
  UpdateDownloadButton->SetEnabled(false);
  SetUpdateInfo(mxWebUpdate->GetOfferedProduct(), mxWebUpdate->GetOfferedFileName(),
                mxWebUpdate->GetProductInfo()->GetVersion(), mxWebUpdate->GetOfferedVersion());
}

void TForm1::UpdateAvailable(TObject*, std::string, std::string, bool&) {
  if (UpdateWindow == nullptr) return;
  SetUpdateStatus(UpdateCaptions[21], UpdateCaptions[14]);
  UpdateDownloadButton->SetEnabled(true);
}

bool TForm1::StartDownload(TObject*) {
  UpdateSaveDialog->SetFileName(mxWebUpdate->GetOfferedFileName());
  if (!UpdateSaveDialog->Execute()) {
    // Declined: the offer ends, so that the next check is not refused as busy.
    mxWebUpdate->Cancel();
    return false;
  }
  // The file goes to the folder the user chose, under the offered name.
  mxWebUpdate->SetTargetFolder(ExtractFilePath(UpdateSaveDialog->GetFileName()));
  return mxWebUpdate->DownloadUpdate();
}

void TForm1::CancelUpdate(TObject*) {
  mxWebUpdate->Cancel();
  if (UpdateWindow != nullptr) UpdateWindow->Hide();
}

void TForm1::BeforeDownload(TObject*, std::string FileName) {
  SetUpdateStatus("", UpdateCaptions[23] + ": " + ExtractFileName(FileName));
}

void TForm1::Download(TObject*, Integer Total, Integer Downloaded) {
  if (UpdateGauge == nullptr) return;
  UpdateGauge->SetMaxValue(Total);
  UpdateGauge->SetValue(Downloaded);
}

void TForm1::AfterDownload(TObject*, std::string) {
  if (UpdateGauge != nullptr) UpdateGauge->SetValue(0);
  // A download that did not arrive whole is not reported as complete.
  if (!mxWebUpdate->GetTransferOK()) {
    SetUpdateStatus("The download failed.", mxWebUpdate->GetLocalFileName());
    return;
  }
  // The file is never run: the user is told where it is.
  SetUpdateStatus(UpdateCaptions[22], mxWebUpdate->GetLocalFileName());
}
