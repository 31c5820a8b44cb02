#pragma once
// The skinned list view.
#include <memory>
#include <string>

#include "platform/classes/ComCtrls.h"
#include "platform/user/WndProc.h"
#include "skin/controls/bsSkinCtrlsScrollBar.h"
#include "skin/controls/bsSkinCtrlsSysImages.h"
#include "skin/data/bsSkinData.h"

using TbsDrawHeaderSectionEvent = TDelegate<void(TCanvas* Cnvs, TListColumn* Column, bool Pressed, TRect R)>;

// The platform list view in the skin's font and colours. Its own scroll bars are hidden: two
// external TbsSkinScrollBar placed by the owner follow the native scroll range and scroll the
// view back. The column header is taken over (its window procedure replaced while the view
// lives) and painted from a button part; items can be painted with the skin's selection
// pictures and check boxes.
class TbsSkinCustomListView : public TCustomListView {
 public:
  explicit TbsSkinCustomListView(TComponent* AOwner);
  ~TbsSkinCustomListView() override;
  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;

  TbsSkinData* GetSkinData() const { return FSD; }
  void SetSkinData(TbsSkinData* Value);
  const std::string& GetSkinDataName() const { return FSkinDataName; }
  void SetSkinDataName(const std::string& Value) { FSkinDataName = Value; }
  TFont* GetDefaultFont() const { return FDefaultFont.get(); }
  // Without a part also the view's font.
  void SetDefaultFont(TFont* Value);
  TColor GetDefaultColor() const { return FDefaultColor; }
  void SetDefaultColor(TColor Value);
  bool GetUseSkinFont() const { return FUseSkinFont; }
  void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }
  bool GetDrawSkin() const { return FDrawSkin; }
  // On: the view paints its items with the skin's pictures.
  virtual void SetDrawSkin(bool Value);
  bool GetDrawSkinLines() const { return FDrawSkinLines; }
  void SetDrawSkinLines(bool Value);
  const std::string& GetItemSkinDataName() const { return FItemSkinDataName; }
  void SetItemSkinDataName(const std::string& Value) { FItemSkinDataName = Value; }
  const std::string& GetCheckSkinDataName() const { return FCheckSkinDataName; }
  void SetCheckSkinDataName(const std::string& Value) { FCheckSkinDataName = Value; }
  const std::string& GetHeaderSkinDataName() const { return FHeaderSkinDataName; }
  void SetHeaderSkinDataName(const std::string& Value) { FHeaderSkinDataName = Value; }
  TbsSkinScrollBar* GetVScrollBar() const { return FVScrollBar; }
  void SetVScrollBar(TbsSkinScrollBar* Value);
  TbsSkinScrollBar* GetHScrollBar() const { return FHScrollBar; }
  void SetHScrollBar(TbsSkinScrollBar* Value);

  // Rebinds the parts: font and colours, bars and header.
  void ApplySkinChange();
  // Brings the external bars in step with the native scroll range.
  void SyncScrollBars();
  // The hooked header window, or none.
  HWND GetHeaderWindow() const { return FHeaderWindow; }
  // The rectangle of header item Index in the header's coordinates.
  TRect HeaderItemRect(Integer Index);
  Integer GetPressedColumn() const { return FPressedColumn; }
  bool GetHeaderPressed() const { return FHeaderPressed; }
  bool GetHeaderSizing() const { return FHeaderSizing; }
  TColor GetLinesColor() const { return FLinesColor; }

  TbsDrawHeaderSectionEvent OnDrawHeaderSection;
  Integer PartIndex = -1;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Change(TListItem* Item, Integer Change) override;
  // A folder chosen in the shell's context menu of an item; true when the view went there.
  virtual bool ShellNavigate(LPARAM FolderID);

 private:
  void SyncIconBars();
  void SyncListBars();
  void SyncReportBars();
  // Sets a bar's visibility under the guard; true when it changed.
  bool SetBarVisible(TbsSkinScrollBar* Bar, bool Value);
  void FinishSync(bool Changed);
  Integer FirstItemHeight();
  void VScrollChanged(TObject* Sender);
  void HScrollChanged(TObject* Sender);
  void HookHeader(HWND Header);
  void UnhookHeader();
  void HeaderWndProc(TMessage& Message);
  void HeaderMouse(const TMessage& Message);
  void LoadHeaderPart();
  void PaintHeader(HDC DC);
  void DrawHeaderSection(TCanvas* C, Integer Column, const TRect& R, bool Pressed);
  void DrawHeaderRest(TCanvas* C, const TRect& R);
  void DrawSkinItem(TCustomListView* Sender, TListItem* Item, TCustomDrawState State, bool& DefaultDraw);
  void DrawItemCaption(TCanvas* C, TListItem* Item, TRect Label, bool Selected);
  void DrawSubItems(TCanvas* C, TListItem* Item, const TRect& Bounds, Integer Left, bool Fill);
  void DrawItemChecks(TCanvas* C, TListItem* Item, const TRect& Icon, const TRect& Bounds);
  void DrawItemImage(TCanvas* C, TListItem* Item, const TRect& Icon);
  bool InReport() const { return GetViewStyle() == vsReport; }

  TbsSysImageList FSysImageList;
  TColor FLinesColor = clBtnShadow;
  std::string FSkinDataName = "listview";
  std::string FItemSkinDataName = "listbox";
  std::string FCheckSkinDataName = "checkbox";
  std::string FHeaderSkinDataName = "resizetoolbutton";
  bool FHeaderSizing = false;
  bool FSyncing = false;
  bool FScrolling = false;
  Integer FLastVPos = 0, FLastHPos = 0;
  HWND FHeaderWindow = nullptr;
  WNDPROC FHeaderProcInstance = nullptr;
  WNDPROC FOldHeaderProc = nullptr;
  Integer FPressedColumn = -1;
  bool FHeaderPressed = false;
  Integer FHeaderPartIndex = -1;
  // The copies of the header part.
  TPoint LeftTopPoint, RightTopPoint, LeftBottomPoint, RightBottomPoint;
  TPoint NewLeftTopPoint, NewRightTopPoint, NewLeftBottomPoint, NewRightBottomPoint;
  TRect SkinRect, PartClientRect, NewClientRect;
  TBitmap* SkinPicture = nullptr;
  TColor FontColor = 0, ActiveFontColor = 0, DownFontColor = 0;
  TRect ActiveSkinRect, DownSkinRect;
  bool StretchEffect = false, LeftStretch = false, TopStretch = false, RightStretch = false,
       BottomStretch = false;
  Integer StretchType = 0;

  TbsSkinData* FSD = nullptr;
  std::unique_ptr<TFont> FDefaultFont;
  TColor FDefaultColor = clWindow;
  bool FUseSkinFont = true;
  bool FDrawSkin = false;
  bool FDrawSkinLines = false;
  TbsSkinScrollBar* FVScrollBar = nullptr;
  TbsSkinScrollBar* FHScrollBar = nullptr;
};

class TbsSkinListView : public TbsSkinCustomListView {
 public:
  explicit TbsSkinListView(TComponent* AOwner) : TbsSkinCustomListView(AOwner) {}
};
