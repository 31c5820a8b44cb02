#pragma once
// TbsSkinShellComboBox: the look-in box of the file dialogs. Its entries are shell folders with
// their system icons, indented by depth: the root folder and its children (with the root
// "rfDesktop" also the drives under Computer), plus the chain of folders down to the folder
// the linked list view shows. Choosing an entry shows that folder in the list view.
//
// Ownership: the box owns its entries, each entry its folder object, and the root folder.
#include <memory>
#include <string>
#include <vector>

#include "skin/boxctrls/bsSkinBoxCtrlsComboBox.h"
#include "skin/dialogs/bsShellFolders.h"

class TbsCustomShellListView;

class TbsItemEx {
 public:
  std::string Caption;
  std::unique_ptr<TbsShellFolder> Folder;
  Integer Indent = 0;
  Integer ImageIndex = -1;
  Integer SelectedImageIndex = -1;
};

class TbsItemsEx {
 public:
  TbsItemEx* Add() { return Insert(GetCount()); }
  TbsItemEx* Insert(Integer Index);
  TbsItemEx* GetItem(Integer Index) const { return FItems[static_cast<std::size_t>(Index)].get(); }
  Integer GetCount() const { return static_cast<Integer>(FItems.size()); }
  void Clear() { FItems.clear(); }

 private:
  std::vector<std::unique_ptr<TbsItemEx>> FItems;
};

class TbsCustomShellComboBox : public TbsSkinCustomComboBox {
 public:
  explicit TbsCustomShellComboBox(TComponent* AOwner);
  ~TbsCustomShellComboBox() override;

  void SyncToFolder(LPCITEMIDLIST Absolute);
  void ShowPathTo(LPCITEMIDLIST Absolute);
  // The folder of an entry; past the end the last entry's, nil without entries.
  TbsShellFolder* EntryFolder(Integer Index) const;
  Integer IndexOfID(LPCITEMIDLIST Absolute) const;
  TbsItemsEx* GetEntries() const { return FEntries.get(); }
  void InitItems();

  const TRoot& GetRoot() const { return FRoot; }
  void SetRoot(const TRoot& Value);
  TShellObjectTypes GetObjectTypes() const { return FObjectTypes; }
  virtual void SetObjectTypes(TShellObjectTypes Value);
  TbsCustomShellListView* GetShellListView() const { return FShellListView; }
  void SetShellListView(TbsCustomShellListView* Value);
  bool GetUseShellImages() const { return FUseShellImages; }
  void SetUseShellImages(bool Value);
  Integer GetIconWidth() const { return FIconWidth; }
  Integer GetIconHeight() const { return FIconHeight; }
  // Where a drop-down row's icon and text start (the box face has no indent).
  Integer RowIconLeft(Integer Index, bool Face) const;

  void Change() override;
  void Click() override;

 protected:
  virtual void AddDefaultItems();
  void CreateWnd() override;
  void DestroyWnd() override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  void ClearEntries();
  void RefreshStrings();
  void RootChanged();
  void AddChildEntries(Integer Index, TbsShellFolder* Folder);
  TbsItemEx* InsertEntry(Integer Index, std::unique_ptr<TbsShellFolder> Folder);
  std::unique_ptr<TbsShellFolder> ChildFolder(TbsShellFolder* Parent, LPCITEMIDLIST Relative);
  Integer EntryImage(TbsShellFolder* Folder) const;
  void DrawEntry(TCanvas* C, Integer Index, TRect R, Integer Offset);
  void ListDrawItem(TObject* Sender, TCanvas* Cnvs, Integer Index, TSize ItemSize, TRect TextRct,
                    TOwnerDrawState State);
  void FaceDrawItem(TObject* Sender, TCanvas* Cnvs, Integer Index, TSize ItemSize, TRect TextRct,
                    TOwnerDrawState State);

  std::unique_ptr<TbsItemsEx> FEntries;
  HIMAGELIST FImages = nullptr;
  Integer FIconWidth = 16;
  Integer FIconHeight = 16;
  std::string FOldRoot;
  TRoot FRoot = "rfDesktop";
  std::unique_ptr<TbsShellFolder> FRootFolder;
  TbsCustomShellListView* FShellListView = nullptr;
  TShellObjectTypes FObjectTypes{otFolders};
  bool FUseShellImages = true;
  bool FUpdating = false;
};

class TbsSkinShellComboBox : public TbsCustomShellComboBox {
 public:
  explicit TbsSkinShellComboBox(TComponent* AOwner) : TbsCustomShellComboBox(AOwner) {}
};
