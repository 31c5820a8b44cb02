#pragma once
// TbsSkinFileListView: the contents of one shell folder in a list view (owner data: the view
// asks only for the rows it paints), with system icons, a file mask, folders-first sorting,
// report columns from the shell, in-place renaming, the shell's context menu and keyboard
// navigation. The file dialogs link it with a folder box (TbsSkinShellComboBox).
//
// Ownership: the view owns the shown folder object, one TbsShellFolder per row and, with
// AutoRefresh, its change notifier. The process's working folder is never changed.
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/classes/ComCtrls.h"
#include "skin/data/bsSkinData.h"
#include "skin/dialogs/bsShellFolders.h"

class TbsCustomShellComboBox;
class TbsShellChangeNotifier;

using TAddFolderEvent = TDelegate<void(TObject* Sender, TbsShellFolder* AFolder, bool& CanAdd)>;

class TbsCustomShellListView : public TCustomListView, public IShellVerbSink {
 public:
  explicit TbsCustomShellListView(TComponent* AOwner);
  ~TbsCustomShellListView() override;
  void Dispatch(TMessage& Message) override;

  std::string CurrentPath() const;
  TbsShellFolder* GetShownFolder() const { return FShownFolder.get(); }
  TbsShellFolder* SelectedFolder();
  TbsShellFolder* ItemFolder(Integer Index) const;
  Integer ItemCount() const { return static_cast<Integer>(FItems.size()); }
  // The selected row, -1 for none; selecting clears the others.
  Integer SelectedIndex();
  void SelectIndex(Integer Index);
  std::string SelectedFilePath();
  void GetSelectedFiles(TStrings* List);
  // Raises EInvalidPath "Error setting path: "%s"" when the text names nothing.
  void SetPath(const std::string& Path);
  void ShowFolderID(LPCITEMIDLIST Absolute);
  void ShowFolderIfOther(LPCITEMIDLIST Absolute) { ShowFolderID(Absolute); }
  void GoUp();
  void Refresh();
  void Reload();
  void EditSelected();
  // The file mask test of one item ("*.jpg;*.jpeg"; ";" or "|" between patterns).
  static bool MatchesMask(const std::string& Mask, const std::string& FileName);
  // The row order: default (folders first, then the shell's order) or by the clicked column.
  Integer CompareItems(TbsShellFolder* A, TbsShellFolder* B);
  // A click on a column header (as the header sends it).
  void SortByColumn(Integer Column);
  virtual void Populate();

  bool GetAutoContextMenus() const { return FAutoContextMenus; }
  void SetAutoContextMenus(bool Value) { FAutoContextMenus = Value; }
  bool GetAutoRefresh() const { return FAutoRefresh; }
  void SetAutoRefresh(bool Value);
  bool GetAutoNavigate() const { return FAutoNavigate; }
  void SetAutoNavigate(bool Value) { FAutoNavigate = Value; }
  TShellObjectTypes GetObjectTypes() const { return FObjectTypes; }
  void SetObjectTypes(TShellObjectTypes Value);
  const TRoot& GetRoot() const { return FRoot; }
  void SetRoot(const TRoot& Value);
  TbsCustomShellComboBox* GetShellComboBox() const { return FShellComboBox; }
  void SetShellComboBox(TbsCustomShellComboBox* Value);
  const std::string& GetMask() const { return FMask; }
  void SetMask(const std::string& Value);
  bool GetSorted() const { return FSorted; }
  void SetSorted(bool Value);
  void SetViewStyle(TViewStyle Value);
  TbsSkinData* GetSkinData() const { return FSD; }
  void SetSkinData(TbsSkinData* Value);
  bool GetDrawSkin() const { return FDrawSkin; }
  void SetDrawSkin(bool Value) { FDrawSkin = Value; }
  const std::string& GetItemSkinDataName() const { return FItemSkinDataName; }
  void SetItemSkinDataName(const std::string& Value) { FItemSkinDataName = Value; }
  const std::string& GetHeaderSkinDataName() const { return FHeaderSkinDataName; }
  void SetHeaderSkinDataName(const std::string& Value) { FHeaderSkinDataName = Value; }
  TFont* GetDefaultFont() const { return FDefaultFont.get(); }
  void SetDefaultFont(TFont* Value);
  // Rows whose caption or icon the view asked for (owner-data fetches), for tests.
  Integer GetFetchCount() const { return FFetchCount; }
  // The sort column (-1 default order) and direction.
  Integer GetSortColumn() const { return FSortColumn; }
  bool GetDescending() const { return FDescending; }

  TAddFolderEvent OnAddFolder;
  TNotifyEvent OnEditing;
  TNotifyEvent OnFolderShown;

  // IShellVerbSink
  void ExecuteVerb(const std::string& Verb, bool& Handled) override;
  void VerbCompleted(const std::string& Verb, bool Success) override;

 protected:
  void CreateWnd() override;
  void DestroyWnd() override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void ColClick(TListColumn* Column) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void DoContextPopup(TPoint MousePos, bool& Handled) override;
  void BuildColumns();
  void CreateRoot();

 private:
  void ClearItems();
  void FetchRow(NMLVDISPINFO& Info);
  Integer FindRow(const NMLVFINDITEM& Find);
  void EndLabelEdit(NMLVDISPINFO& Info);
  void DoubleClick();
  void SortItems();
  void AddColumn(const std::string& Caption, TAlignment Alignment, Integer Chars);
  struct TSortKey {
    bool Valid = false;
    Int64 Size = -1;
    Int64 Modified = -1;  // the last write as the platform's packed local date and time
    std::string Type;
  };
  const TSortKey& SortKeyOf(TbsShellFolder* Item);
  std::unordered_map<TbsShellFolder*, TSortKey> FSortKeys;  // during a column sort

  std::unique_ptr<TbsShellFolder> FShownFolder;
  std::vector<std::unique_ptr<TbsShellFolder>> FItems;
  std::string FOldRoot;
  TRoot FRoot = "rfDesktop";
  std::string FMask = "*.*|*.*";
  TShellObjectTypes FObjectTypes{otFolders, otNonFolders};
  bool FAutoContextMenus = true;
  bool FAutoRefresh = false;
  bool FAutoNavigate = true;
  bool FSorted = true;
  bool FRefreshing = false;
  bool FRootChanged = false;
  bool FColumnSorting = false;
  Integer FSortColumn = -1;
  Integer FPrevSortColumn = -1;
  bool FDescending = false;
  Integer FFetchCount = 0;
  HIMAGELIST FSmallImages = nullptr;
  HIMAGELIST FLargeImages = nullptr;
  TbsCustomShellComboBox* FShellComboBox = nullptr;
  TbsShellChangeNotifier* FNotifier = nullptr;
  TbsSkinData* FSD = nullptr;
  bool FDrawSkin = true;
  std::string FItemSkinDataName = "listbox";
  std::string FHeaderSkinDataName = "resizetoolbutton";
  std::unique_ptr<TFont> FDefaultFont;
};

class TbsSkinFileListView : public TbsCustomShellListView {
 public:
  explicit TbsSkinFileListView(TComponent* AOwner) : TbsCustomShellListView(AOwner) {}
};
