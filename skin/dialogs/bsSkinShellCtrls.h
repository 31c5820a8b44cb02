#pragma once
// The skinned file dialogs: TbsSkinOpenDialog and TbsSkinSaveDialog, and the picture dialogs
// TbsSkinOpenPictureDialog and TbsSkinSavePictureDialog. Execute builds a TbsOpenDlgForm (the
// folder's files matching the chosen file type, a file-name edit, the file-type box, OK and
// Cancel), shows it modally and, when the user accepts, leaves the chosen full path in
// FileName. FilterIndex and the dialog's size are kept from run to run.
//
// Ownership: each component owns its font and its Files list; the form exists only during
// Execute and is owned by the application meanwhile.
#include <memory>
#include <string>
#include <vector>

#include "platform/classes/Forms.h"
#include "platform/system/StringList.h"
#include "skin/data/bsSkinData.h"

class TbsSkinForm;
class TbsSkinButton;
class TbsSkinEdit;
class TbsSkinComboBox;
class TbsSkinListBox;
class TbsSkinStdLabel;
class TbsSkinPanel;

// What a run of a file dialog takes and gives back.
struct TbsFileDialogSettings {
  bool SaveMode = false;
  std::string Title;
  std::string InitialDir;
  std::string Filter;
  Integer FilterIndex = 1;
  std::string FileName;
  std::string DefaultExt;
  bool CheckFileExists = true;
  bool OverwritePromt = false;
  Integer DialogWidth = 0, DialogHeight = 0;
  Integer DefaultDialogWidth = 450, DefaultDialogHeight = 290;
  Integer DialogMinWidth = 0, DialogMinHeight = 0;
  bool AlphaBlend = false, AlphaBlendAnimation = false;
  Byte AlphaBlendValue = 225;
  TbsSkinData* SkinData = nullptr;
  TbsSkinData* CtrlSkinData = nullptr;
  TFont* DefaultFont = nullptr;
  TNotifyEvent OnFolderChange;
};

// The dialog's form, built in code.
class TbsOpenDlgForm : public TForm {
 public:
  TbsOpenDlgForm(TComponent* AOwner, bool ASaveMode, TbsSkinData* ACtrlSkinData);

  // The folder shown (without a trailing delimiter) and the patterns of its list.
  void SetPath(const std::string& Path);
  const std::string& GetPath() const { return FPath; }
  void SetMask(const std::string& Mask);
  // Description and mask pairs separated by "|".
  void SetFilter(const std::string& Filter);
  // The selected file type's mask, empty without one.
  std::string GetMask();
  // The extension a name without one completes to ("." included), or nothing.
  std::string CompletionExtension(bool WithDefaultExt);
  // The full path of the selected list item, empty when none is selected.
  std::string SelectedFilePath();
  void Accept();

  bool SaveMode;
  bool OverwritePromt = false;
  bool CheckFileExists = true;
  std::string DefaultExt;
  TNotifyEvent OnFolderChange;
  // The accepted name.
  std::string FileName;
  TbsSkinData* CtrlSkinData;

  TbsSkinForm* BSF = nullptr;
  TbsSkinStdLabel* FolderLabel = nullptr;
  TbsSkinListBox* FileList = nullptr;
  TbsSkinPanel* BottomPanel = nullptr;
  TbsSkinEdit* FileNameEdit = nullptr;
  TbsSkinComboBox* FilterComboBox = nullptr;
  TbsSkinButton* OpenButton = nullptr;
  TbsSkinButton* CancelButton = nullptr;

 private:
  void ReadFolder();
  bool ConfirmOverwrite();
  void OpenButtonClick(TObject* Sender);
  void ListClick(TObject* Sender);
  void ListDblClick(TObject* Sender);
  void ListKeyPress(TObject* Sender, char& Key);
  void EditKeyPress(TObject* Sender, char& Key);
  void FilterChange(TObject* Sender);

  std::string FPath;
  std::string FMask = "*.*";
  std::vector<std::string> FMasks;
};

// Runs the dialog for the settings; true when the user accepted (FileName, FilterIndex and
// the size are written back).
bool ExecuteFileDialog(TbsFileDialogSettings& Settings, TStrings* Files);

// What the file and picture dialog components share: their settings, the skins they draw
// with, and Execute.
class TbsCustomFileDialog : public TComponent {
 public:
  ~TbsCustomFileDialog() override;

  virtual bool Execute();

  const std::string& GetTitle() const { return FTitle; }
  void SetTitle(const std::string& Value) { FTitle = Value; }
  const std::string& GetInitialDir() const { return FInitialDir; }
  void SetInitialDir(const std::string& Value) { FInitialDir = Value; }
  const std::string& GetFilter() const { return FFilter; }
  void SetFilter(const std::string& Value) { FFilter = Value; }
  Integer GetFilterIndex() const { return FFilterIndex; }
  void SetFilterIndex(Integer Value) { FFilterIndex = Value; }
  const std::string& GetFileName() const { return FFileName; }
  void SetFileName(const std::string& Value) { FFileName = Value; }
  const std::string& GetDefaultExt() const { return FDefaultExt; }
  void SetDefaultExt(const std::string& Value) { FDefaultExt = Value; }
  bool GetCheckFileExists() const { return FCheckFileExists; }
  void SetCheckFileExists(bool Value) { FCheckFileExists = Value; }
  bool GetOverwritePromt() const { return FOverwritePromt; }
  void SetOverwritePromt(bool Value) { FOverwritePromt = Value; }
  Integer GetDialogWidth() const { return FDialogWidth; }
  void SetDialogWidth(Integer Value) { FDialogWidth = Value; }
  Integer GetDialogHeight() const { return FDialogHeight; }
  void SetDialogHeight(Integer Value) { FDialogHeight = Value; }
  void SetDialogMinWidth(Integer Value) { FDialogMinWidth = Value; }
  void SetDialogMinHeight(Integer Value) { FDialogMinHeight = Value; }
  TbsSkinData* GetSkinData() const { return FSD; }
  void SetSkinData(TbsSkinData* Value);
  TbsSkinData* GetCtrlSkinData() const { return FCtrlSkinData; }
  void SetCtrlSkinData(TbsSkinData* Value);
  TFont* GetDefaultFont() const { return FDefaultFont.get(); }
  void SetDefaultFont(TFont* Value) { FDefaultFont->Assign(Value); }
  // The selected files of the last accepted run.
  TStrings* GetFiles() const { return FFiles.get(); }

  TNotifyEvent OnShow;
  TNotifyEvent OnClose;
  TNotifyEvent OnFolderChange;

 protected:
  TbsCustomFileDialog(TComponent* AOwner, std::string Title, std::string Filter);
  void Notification(TComponent* AComponent, TOperation Operation) override;

  bool FSaveMode = false;
  std::string FTitle;
  // The picture dialogs open wider and more translucent; 0 keeps the dialog's own value.
  Integer FDefaultDialogWidth = 0;
  Integer FAlphaBlendValue = 0;

 private:
  std::string FInitialDir;
  std::string FFilter;
  Integer FFilterIndex = 1;
  std::string FFileName;
  std::string FDefaultExt;
  bool FCheckFileExists = true;
  bool FOverwritePromt = false;
  Integer FDialogWidth = 0, FDialogHeight = 0;
  Integer FDialogMinWidth = 0, FDialogMinHeight = 0;
  TbsSkinData* FSD = nullptr;
  TbsSkinData* FCtrlSkinData = nullptr;
  std::unique_ptr<TFont> FDefaultFont;
  std::unique_ptr<TStringList> FFiles;
};

class TbsSkinOpenDialog : public TbsCustomFileDialog {
 public:
  explicit TbsSkinOpenDialog(TComponent* AOwner);
};

class TbsSkinSaveDialog : public TbsSkinOpenDialog {
 public:
  explicit TbsSkinSaveDialog(TComponent* AOwner);
};

// The picture dialogs: the same dialog with picture defaults (the preview comes with the
// shell views).
class TbsSkinOpenPictureDialog : public TbsCustomFileDialog {
 public:
  explicit TbsSkinOpenPictureDialog(TComponent* AOwner);
};

class TbsSkinSavePictureDialog : public TbsSkinOpenPictureDialog {
 public:
  explicit TbsSkinSavePictureDialog(TComponent* AOwner);
};
