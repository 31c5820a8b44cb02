#pragma once
// Two small skinned file controls: TbsSkinFileListBox lists the file names of one folder that
// match a mask (sub-folders in brackets), keeps an attached edit in step with the selection and
// turns a typed path into a folder, a mask or a selection; TbsSkinFilterComboBox offers the
// descriptions of a filter ("description|mask|...") and answers the chosen mask.
//
// Folders are joined by name: the process's working folder is never read or changed.
#include <memory>
#include <string>

#include "platform/classes/StdCtrls.h"
#include "skin/boxctrls/bsSkinBoxCtrlsComboBox.h"
#include "skin/boxctrls/bsSkinBoxCtrlsListBox.h"
#include "skin/dialogs/bsDialogNames.h"

// True when the attributes of Path can be read and carry the directory bit.
bool FolderExists(const std::string& Path);

enum TbsFileAttr {
  bsftReadOnly,
  bsftHidden,
  bsftSystem,
  bsftVolumeID,
  bsftDirectory,
  bsftArchive,
  bsftNormal
};
using TbsFileType = TSet<TbsFileAttr, 8>;

class TbsSkinFilterComboBox;

class TbsSkinFileListBox : public TbsSkinListBox {
 public:
  explicit TbsSkinFileListBox(TComponent* AOwner);
  ~TbsSkinFileListBox() override;

  const std::string& GetDirectory() const { return FDirectory; }
  // A relative path is taken from the listed folder; EInOutError for a missing folder.
  void SetDirectory(const std::string& Path);
  const std::string& GetMask() const { return FMask; }
  void SetMask(const std::string& Value);
  TbsFileType GetFileType() const { return FFileType; }
  void SetFileType(TbsFileType Value);
  TCustomEdit* GetFileEdit() const { return FFileEdit; }
  void SetFileEdit(TCustomEdit* Value);
  TbsSkinFilterComboBox* GetFilterCombo() const { return FFilterCombo; }
  // Kept by the combo's FileList setter.
  void SetFilterCombo(TbsSkinFilterComboBox* Value);
  Integer GetLastIndex() const { return FLastIndex; }

  void SelectFileName(const std::string& Name);
  // The selected name, empty without one.
  std::string SelectedName();

  virtual void NotifyChange();
  virtual void ReadDirectory();
  virtual std::string GetFilePath();
  virtual void ApplyPath(const std::string& Text);

  void ListBoxClick() override;

  TNotifyEvent OnChange;

 protected:
  void CreateWnd() override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  std::string FDirectory;
  std::string FMask = "*.*";
  TbsFileType FFileType{bsftNormal};
  TCustomEdit* FFileEdit = nullptr;
  TbsSkinFilterComboBox* FFilterCombo = nullptr;
  Integer FLastIndex = -1;
};

class TbsSkinFilterComboBox : public TbsSkinComboBox {
 public:
  explicit TbsSkinFilterComboBox(TComponent* AOwner);
  ~TbsSkinFilterComboBox() override;

  const std::string& GetFilter() const { return FFilter; }
  void SetFilter(const std::string& Value);
  TbsSkinFileListBox* GetFileList() const { return FFileList; }
  void SetFileList(TbsSkinFileListBox* Value);
  TStrings* GetFilterMasks() const { return FFilterMasks.get(); }
  // The mask of the chosen entry; "*.*" without entries.
  std::string GetMask();
  void BuildFilterItems();

  void Change() override;
  void Click() override;

 protected:
  void CreateWnd() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  std::string FFilter = "All files (*.*)|*.*";
  TbsSkinFileListBox* FFileList = nullptr;
  std::unique_ptr<TStringList> FFilterMasks;
  bool FBuilt = false;  // the items are those of FFilter
};
