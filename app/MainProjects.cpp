// The menu "Projects": saving, opening and deleting project files.
#include "app/Main.h"
#include "app/ProjectFiles.h"
#include "platform/classes/Dialogs.h"
#include "platform/classes/Menus.h"
#include "platform/system/Files.h"
#include "skin/dialogs/bsMessages.h"
#include "skin/dialogs/bsSkinShellCtrls.h"

namespace {
constexpr const char* ProjectFilter = "All project files|*.prj";
}  // namespace

void TForm1::CreateProjectMenu() {
  Projects1 = new TMenuItem(this);
  Projects1->SetName("Projects1");
  Projects1->SetCaption("Projects");
  auto Item = [&](const char* Name, const char* Caption, void (TForm1::*Handler)(TObject*)) {
    auto* M = new TMenuItem(this);
    M->SetName(Name);
    M->SetCaption(Caption);
    M->OnClick = TNotifyEvent(this, Handler);
    Projects1->Add(M);
  };
  Item("Saveproject1", "Save project", &TForm1::SaveProject);
  Item("Openproject1", "Open project", &TForm1::LoadProject);
  Item("Deleteproject1", "Delete project", &TForm1::DeleteProject);
  MainMenu1->GetItems()->Add(Projects1);

  // One open dialog serves opening and deleting; each sets its own title.
  OpenProjectDialog = new TbsSkinOpenDialog(this);
  OpenProjectDialog->SetName("OpenProjectDialog");
  OpenProjectDialog->SetFilter(ProjectFilter);
  SaveProjectDialog = new TbsSkinSaveDialog(this);
  SaveProjectDialog->SetName("SaveProjectDialog");
  SaveProjectDialog->SetOverwritePromt(true);
  SaveProjectDialog->SetTitle("Save project file");
  SaveProjectDialog->SetFilter(ProjectFilter);
}

void TForm1::SaveProject(TObject*) {
  SaveProjectDialog->SetInitialDir(ProjectsDir);
  if (!SaveProjectDialog->Execute()) return;
  SaveProjectFile(SaveProjectDialog->GetFileName());
}

void TForm1::LoadProject(TObject*) {
  // The controls must not change under a running build or pattern switch.
  if (Busy == 1) return;
  OpenProjectDialog->SetTitle("Open project file");
  OpenProjectDialog->SetInitialDir(ProjectsDir);
  if (!OpenProjectDialog->Execute()) return;
  LoadProjectFile(OpenProjectDialog->GetFileName());
}

void TForm1::DeleteProject(TObject*) {
  OpenProjectDialog->SetTitle("Delete project");
  OpenProjectDialog->SetInitialDir(ProjectsDir);
  if (!OpenProjectDialog->Execute()) return;
  const std::string FileName = OpenProjectDialog->GetFileName();
  const std::string Name = ProjectName(FileName);
  // Only an explicit Yes deletes: a box closed without an answer keeps the file.
  if (bsSkinMessage1->MessageDlg("Confirm deletion of \"" + Name + "\"", mtConfirmation,
                                 TMsgDlgButtons{mbYes, mbNo}, 0) != mrYes)
    return;
  if (!DeleteFile(FileName)) {
    bsSkinMessage1->MessageDlg("Project \"" + Name + "\" could not be deleted.", mtWarning,
                               TMsgDlgButtons{mbOK}, 0);
    return;
  }
  bsSkinMessage1->MessageDlg("Project \"" + Name + "\" has been deleted.", mtInformation,
                             TMsgDlgButtons{mbOK}, 0);
}
