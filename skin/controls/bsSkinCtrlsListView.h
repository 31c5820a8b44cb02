#pragma once
// The skinned list view.
#include "skin/controls/bsSkinCtrlsBase.h"
#include "skin/controls/bsSkinCtrlsScrollBar.h"

// ---- List view ------------------------------------------------------------------------------
// The report-style list of rows (a caption and sub-items per row under column headers). The
// class library has no list view yet, so this one draws and scrolls its rows itself on a
// plain custom control; its item, column and scroll-bar interfaces are those the program
// uses.
class TbsSkinCustomListView : public TCustomControl {
 public:
  class TListItem {
   public:
    TListItem() : FSubItems(std::make_unique<TStringList>()) {}
    const std::string& GetCaption() const { return FCaption; }
    void SetCaption(const std::string& Value) { FCaption = Value; }
    TStrings* GetSubItems() const { return FSubItems.get(); }

   private:
    std::string FCaption;
    std::unique_ptr<TStringList> FSubItems;
  };
  class TListItems {
   public:
    explicit TListItems(TbsSkinCustomListView* Owner) : FOwner(Owner) {}
    TListItem* Add();
    void Clear();
    void Delete(Integer Index);
    Integer GetCount() const { return static_cast<Integer>(FItems.size()); }
    // Raises EListError for an index out of bounds.
    TListItem* GetItem(Integer Index) const;

   private:
    TbsSkinCustomListView* FOwner;
    std::vector<std::unique_ptr<TListItem>> FItems;
  };
  class TListColumn {
   public:
    const std::string& GetCaption() const { return FCaption; }
    void SetCaption(const std::string& Value) { FCaption = Value; }
    Integer GetWidth() const { return FWidth; }
    void SetWidth(Integer Value) { FWidth = Value; }

   private:
    std::string FCaption;
    Integer FWidth = 50;
  };
  class TListColumns {
   public:
    explicit TListColumns(TbsSkinCustomListView* Owner) : FOwner(Owner) {}
    TListColumn* Add();
    void Clear();
    Integer GetCount() const { return static_cast<Integer>(FColumns.size()); }
    TListColumn* GetItem(Integer Index) const;

   private:
    TbsSkinCustomListView* FOwner;
    std::vector<std::unique_ptr<TListColumn>> FColumns;
  };

  explicit TbsSkinCustomListView(TComponent* AOwner);
  ~TbsSkinCustomListView() override;
  void Dispatch(TMessage& Message) override;

  TListItems* GetItems() const { return FItems.get(); }
  TListColumns* GetColumns() const { return FColumns.get(); }
  // The selected row, -1 for none.
  Integer GetItemIndex() const { return FItemIndex; }
  void SetItemIndex(Integer Value);
  Integer GetTopIndex() const { return FTopIndex; }
  void SetTopIndex(Integer Value);
  bool GetShowColumnHeaders() const { return FShowColumnHeaders; }
  void SetShowColumnHeaders(bool Value);

  TbsSkinData* GetSkinData() const { return FSD; }
  void SetSkinData(TbsSkinData* Value);
  const std::string& GetSkinDataName() const { return FSkinDataName; }
  void SetSkinDataName(const std::string& Value) { FSkinDataName = Value; }
  TFont* GetDefaultFont() const { return FDefaultFont.get(); }
  void SetDefaultFont(TFont* Value);
  TColor GetDefaultColor() const { return FDefaultColor; }
  void SetDefaultColor(TColor Value);
  bool GetUseSkinFont() const { return FUseSkinFont; }
  void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }
  TbsSkinScrollBar* GetVScrollBar() const { return FVScrollBar; }
  // The external bar scrolls the rows and follows them.
  void SetVScrollBar(TbsSkinScrollBar* Value);

  void ApplySkinChange();
  // Rows and bar after a change of the items.
  void ItemsChanged();
  Integer RowHeight();
  // Rows that fit below the header.
  Integer RowsPerPage();
  Integer ItemAtPos(TPoint Pos);

  TNotifyEvent OnChange;
  Integer PartIndex = -1;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  void SyncScrollBar();
  void VScroll(TObject* Sender);
  Integer HeaderHeight();

  std::unique_ptr<TListItems> FItems;
  std::unique_ptr<TListColumns> FColumns;
  Integer FItemIndex = -1;
  Integer FTopIndex = 0;
  bool FShowColumnHeaders = true;
  TbsSkinData* FSD = nullptr;
  std::string FSkinDataName = "listview";
  std::unique_ptr<TFont> FDefaultFont;
  TColor FDefaultColor = clWindow;
  bool FUseSkinFont = true;
  TbsSkinScrollBar* FVScrollBar = nullptr;
};

class TbsSkinListView : public TbsSkinCustomListView {
 public:
  explicit TbsSkinListView(TComponent* AOwner) : TbsSkinCustomListView(AOwner) {}
};
