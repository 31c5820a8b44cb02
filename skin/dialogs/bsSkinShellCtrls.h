#pragma once
// The skinned file dialogs: TbsSkinOpenDialog and TbsSkinSaveDialog, and the picture dialogs
// TbsSkinOpenPictureDialog and TbsSkinSavePictureDialog with a preview. Execute builds a
// TbsOpenDlgForm (tool bar with Back, Up, New folder and the view menu, the look-in folder box,
// the shell list, a file-name edit, the file-type box, OK and Cancel), shows it modally and,
// when the user accepts, leaves the chosen name in FileName and the selected files in Files.
// Paths are shown and returned with '/'; a typed '\' is a separator too.
//
// Ownership: each component owns its font and its Files list; the form exists only during
// Execute and is owned by the application meanwhile.
#include <memory>
#include <string>
#include <vector>

#include "platform/classes/ComCtrls.h"
#include "platform/classes/ExtCtrls.h"
#include "platform/classes/Forms.h"
#include "platform/classes/Menus.h"
#include "platform/system/StringList.h"
#include "skin/data/bsSkinData.h"
#include "skin/dialogs/bsShellFolders.h"

class TbsSkinForm;
class TbsSkinButton;
class TbsSkinSpeedButton;
class TbsSkinEdit;
class TbsSkinStdLabel;
class TbsSkinPanel;
class TbsSkinToolBar;
class TbsSkinScrollBar;
class TbsSkinSplitter;
class TbsSkinShellComboBox;
class TbsSkinFileListView;
class TbsSkinFilterComboBox;

// The dialog's form, built in code.
class TbsOpenDlgForm : public TForm {
 public:
  TbsOpenDlgForm(TComponent* AOwner, TCustomImageList* AToolBarImageList, bool AToolButtonsTransparent,
                 TbsSkinData* ACtrlSkinData, bool ASaveMode);
  ~TbsOpenDlgForm() override;

  // OK: the rules of a typed or selected name; closes the form with mrOk when one is accepted.
  void Accept();
  void OpenButtonClick(TObject* Sender);
  void BackClick(TObject* Sender);
  void UpClick(TObject* Sender);
  void NewFolderClick(TObject* Sender);
  void ViewMenuClick(TObject* Sender);
  void ViewItemClick(TObject* Sender);
  // The view style chosen in the view menu (the list follows).
  void SetViewStyle(TViewStyle Style);

  // The extension a typed name without one completes to ("." included), or nothing.
  std::string CompletionExtension(bool WithDefaultExt);
  // The selected file (a file, not a folder) whose name the edit holds, else empty.
  std::string SelectedFilePath();
  // The shown folder with a trailing '/'.
  std::string FolderText();
  // A typed name as a full path: absolute, or taken from the shown folder.
  std::string TypedPath(const std::string& Typed);
  Integer HistoryCount() const { return static_cast<Integer>(FHistory.size()); }

  bool SaveMode;
  bool OverwritePromt = false;
  bool CheckFileExists = true;
  std::string DefaultExt;
  TNotifyEvent OnFolderChange;
  // The accepted name.
  std::string FileName;
  TbsSkinData* CtrlSkinData;
  Integer NewFolderCount = 0;

  TbsSkinForm* BSF = nullptr;
  TbsSkinToolBar* ToolBar = nullptr;
  TbsSkinStdLabel* LookInLabel = nullptr;
  TbsSkinSpeedButton* BackButton = nullptr;
  TbsSkinSpeedButton* UpButton = nullptr;
  TbsSkinSpeedButton* NewFolderButton = nullptr;
  TbsSkinSpeedButton* ViewMenuButton = nullptr;
  TPopupMenu* ViewMenu = nullptr;
  TMenuItem* ViewItems[4] = {};
  TbsSkinShellComboBox* FolderBox = nullptr;
  TbsSkinPanel* BottomPanel = nullptr;
  TbsSkinPanel* ListPanel = nullptr;
  TbsSkinScrollBar* HScrollBar = nullptr;
  TbsSkinScrollBar* VScrollBar = nullptr;
  TbsSkinFileListView* FileList = nullptr;
  TbsSkinEdit* FileNameEdit = nullptr;
  TbsSkinFilterComboBox* FilterComboBox = nullptr;
  TbsSkinButton* OpenButton = nullptr;
  TbsSkinButton* CancelButton = nullptr;
  TbsSkinStdLabel* NameLabel = nullptr;
  TbsSkinStdLabel* TypeLabel = nullptr;

  // The form's handlers (also called by scripts and tests).
  void FilterChange(TObject* Sender);
  void FolderShown(TObject* Sender);
  void EditKeyPress(TObject* Sender, char& Key);
  void ListKeyPress(TObject* Sender, char& Key);
  void ListDblClick(TObject* Sender);
  void ListChange(TObject* Sender, TListItem* Item, TItemChange Change);

 protected:
  // Builds the layout; the picture form places its controls without anchors.
  TbsOpenDlgForm(TComponent* AOwner, TCustomImageList* AToolBarImageList, bool AToolButtonsTransparent,
                 TbsSkinData* ACtrlSkinData, bool ASaveMode, bool AFixedBottom);
  // The selection changed to another item (or none).
  virtual void SelectionChanged();
  TbsSkinSpeedButton* AddToolButton(const char* Glyph, Integer Image, const char* HintKey, const char* Hint,
                                    void (TbsOpenDlgForm::*Click)(TObject*));
  std::string Text(const char* Key, const char* BuiltIn) const;
  bool ConfirmOverwrite();
  void Close(const std::string& Result);

  TCustomImageList* FToolBarImageList;
  bool FToolButtonsTransparent;
  Integer FNextToolLeft = 200;

 private:
  void Build(bool FixedBottom);
  std::vector<LPITEMIDLIST> FHistory;
  bool FGoingBack = false;
  std::string FLastSelection;
};

// The picture dialogs' form: the file form with a preview beside the list.
class TbsOpenPictureDlgForm : public TbsOpenDlgForm {
 public:
  TbsOpenPictureDlgForm(TComponent* AOwner, TCustomImageList* AToolBarImageList, bool AToolButtonsTransparent,
                        TbsSkinData* ACtrlSkinData, bool ASaveMode);

  void StretchClick(TObject* Sender);
  // Loads a file into the preview; an unreadable file empties it.
  void LoadPreview(const std::string& Path);

  TbsSkinPanel* PreviewPanel = nullptr;
  TbsSkinSplitter* Splitter = nullptr;
  TScrollBox* PreviewBox = nullptr;
  TImage* PreviewImage = nullptr;
  TbsSkinSpeedButton* StretchButton = nullptr;

 protected:
  void SelectionChanged() override;

 private:
  void FitImage();
};

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
  // Also the text of the file-name edit while the file form is open.
  void SetFileName(const std::string& Value);
  const std::string& GetDefaultExt() const { return FDefaultExt; }
  void SetDefaultExt(const std::string& Value) { FDefaultExt = Value; }
  bool GetCheckFileExists() const { return FCheckFileExists; }
  void SetCheckFileExists(bool Value) { FCheckFileExists = Value; }
  bool GetOverwritePromt() const { return FOverwritePromt; }
  void SetOverwritePromt(bool Value) { FOverwritePromt = Value; }
  bool GetShowHiddenFiles() const { return FShowHiddenFiles; }
  void SetShowHiddenFiles(bool Value) { FShowHiddenFiles = Value; }
  bool GetToolButtonsTransparent() const { return FToolButtonsTransparent; }
  void SetToolButtonsTransparent(bool Value) { FToolButtonsTransparent = Value; }
  bool GetMultiSelection() const { return FMultiSelection; }
  void SetMultiSelection(bool Value) { FMultiSelection = Value; }
  TCustomImageList* GetToolBarImageList() const { return FToolBarImageList; }
  void SetToolBarImageList(TCustomImageList* Value);
  Integer GetDialogWidth() const { return FDialogWidth; }
  void SetDialogWidth(Integer Value) { FDialogWidth = Value; }
  Integer GetDialogHeight() const { return FDialogHeight; }
  void SetDialogHeight(Integer Value) { FDialogHeight = Value; }
  void SetDialogMinWidth(Integer Value) { FDialogMinWidth = Value; }
  void SetDialogMinHeight(Integer Value) { FDialogMinHeight = Value; }
  bool GetAlphaBlend() const { return FAlphaBlend; }
  void SetAlphaBlend(bool Value) { FAlphaBlend = Value; }
  Byte GetAlphaBlendValue() const { return FAlphaBlendValue; }
  void SetAlphaBlendValue(Byte Value) { FAlphaBlendValue = Value; }
  bool GetAlphaBlendAnimation() const { return FAlphaBlendAnimation; }
  void SetAlphaBlendAnimation(bool Value) { FAlphaBlendAnimation = Value; }
  bool GetCtrlAlphaBlend() const { return FCtrlAlphaBlend; }
  void SetCtrlAlphaBlend(bool Value) { FCtrlAlphaBlend = Value; }
  Byte GetCtrlAlphaBlendValue() const { return FCtrlAlphaBlendValue; }
  void SetCtrlAlphaBlendValue(Byte Value) { FCtrlAlphaBlendValue = Value; }
  bool GetCtrlAlphaBlendAnimation() const { return FCtrlAlphaBlendAnimation; }
  void SetCtrlAlphaBlendAnimation(bool Value) { FCtrlAlphaBlendAnimation = Value; }
  const std::string& GetLVHeaderSkinDataName() const { return FLVHeaderSkinDataName; }
  void SetLVHeaderSkinDataName(const std::string& Value) { FLVHeaderSkinDataName = Value; }
  TbsSkinData* GetSkinData() const { return FSD; }
  void SetSkinData(TbsSkinData* Value);
  TbsSkinData* GetCtrlSkinData() const { return FCtrlSkinData; }
  void SetCtrlSkinData(TbsSkinData* Value);
  TFont* GetDefaultFont() const { return FDefaultFont.get(); }
  void SetDefaultFont(TFont* Value) { FDefaultFont->Assign(Value); }
  // The selected files of the last accepted run.
  TStrings* GetFiles() const { return FFiles.get(); }
  // Kept from run to run.
  TViewStyle GetViewStyle() const { return FViewStyle; }
  // The open form, nil outside Execute.
  TbsOpenDlgForm* GetForm() const { return FForm; }

  TNotifyEvent OnShow;
  TNotifyEvent OnClose;
  TNotifyEvent OnFolderChange;

 protected:
  TbsCustomFileDialog(TComponent* AOwner, std::string Title, std::string Filter);
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // Makes the form of the dialog kind.
  virtual TbsOpenDlgForm* CreateForm();
  // The kind's own steps before and after the modal run.
  virtual void PrepareForm(TbsOpenDlgForm*) {}
  virtual void FormClosed(TbsOpenDlgForm*) {}
  // The filter's completion for a name without extension ("." included), or nothing.
  static std::string FilterExtension(TbsOpenDlgForm* Form);

  bool FSaveMode = false;
  bool FPicture = false;
  std::string FTitle;
  Integer FDefaultDialogWidth = 450;
  Byte FAlphaBlendValue = 225;

 private:
  std::string FInitialDir;
  std::string FFilter;
  Integer FFilterIndex = 1;
  std::string FFileName;
  std::string FDefaultExt;
  bool FCheckFileExists = true;
  bool FOverwritePromt = false;
  bool FShowHiddenFiles = false;
  bool FToolButtonsTransparent = false;
  bool FMultiSelection = false;
  TCustomImageList* FToolBarImageList = nullptr;
  Integer FDialogWidth = 0, FDialogHeight = 0;
  Integer FDialogMinWidth = 0, FDialogMinHeight = 0;
  bool FAlphaBlend = false, FAlphaBlendAnimation = false;
  bool FCtrlAlphaBlend = false, FCtrlAlphaBlendAnimation = false;
  Byte FCtrlAlphaBlendValue = 225;
  std::string FLVHeaderSkinDataName = "resizetoolbutton";
  TViewStyle FViewStyle = vsList;
  TbsSkinData* FSD = nullptr;
  TbsSkinData* FCtrlSkinData = nullptr;
  std::unique_ptr<TFont> FDefaultFont;
  std::unique_ptr<TStringList> FFiles;
  TbsOpenDlgForm* FForm = nullptr;
};

class TbsSkinOpenDialog : public TbsCustomFileDialog {
 public:
  explicit TbsSkinOpenDialog(TComponent* AOwner);
};

class TbsSkinSaveDialog : public TbsSkinOpenDialog {
 public:
  explicit TbsSkinSaveDialog(TComponent* AOwner);
};

class TbsSkinOpenPictureDialog : public TbsCustomFileDialog {
 public:
  explicit TbsSkinOpenPictureDialog(TComponent* AOwner);

  bool GetStretchPicture() const { return FStretchPicture; }
  void SetStretchPicture(bool Value) { FStretchPicture = Value; }
  // Kept from run to run.
  Integer GetPreviewWidth() const { return FPreviewWidth; }
  bool GetStretchState() const { return FStretchState; }

 protected:
  TbsOpenDlgForm* CreateForm() override;
  void PrepareForm(TbsOpenDlgForm* Form) override;
  void FormClosed(TbsOpenDlgForm* Form) override;

 private:
  bool FStretchPicture = false;
  Integer FPreviewWidth = 190;
  bool FStretchState = false;
};

class TbsSkinSavePictureDialog : public TbsSkinOpenPictureDialog {
 public:
  explicit TbsSkinSavePictureDialog(TComponent* AOwner);
};
