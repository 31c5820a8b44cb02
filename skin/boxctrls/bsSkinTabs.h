#pragma once
// The skinned page control: the platform's page control keeps the native tab control for the
// tab layout, hit testing and page switching, and this control paints the frame, the tab row
// and the pages itself (from the skin's "tab" part, or in a plain look of its own without one).
//
// Ownership: the pages belong to the control as the platform's pages do; the skin data is only
// referred to; the default font is owned.
#include <memory>
#include <string>

#include "platform/classes/ComCtrls.h"
#include "platform/classes/ControlTypes.h"
#include "skin/data/bsSkinData.h"

class TBitmap;
class TCanvas;

using TbsCloseEvent = TDelegate<void(TObject* Sender, bool& CanClose)>;
using TbsDrawSkinTabEvent =
    TDelegate<void(Integer TabIndex, TRect Rct, bool Active, bool MouseIn, TCanvas* Cnvs)>;

class TbsSkinCustomTabSheet : public TTabSheet {
 public:
  explicit TbsSkinCustomTabSheet(TComponent* AOwner);
  ~TbsSkinCustomTabSheet() override;
  void Dispatch(TMessage& Message) override;

  TBitmap* GetWallPaper() const { return FWallPaper.get(); }
  void SetWallPaper(TBitmap* Value);
  // The sheet's background: the wallpaper tiled, else the page colour.
  void PaintBackground(HDC DC);

  TRect CloseButtonRect;
  bool CloseButtonMouseIn = false;
  bool CloseButtonDown = false;

 private:
  std::unique_ptr<TBitmap> FWallPaper;
};

class TbsSkinTabSheet : public TbsSkinCustomTabSheet {
 public:
  explicit TbsSkinTabSheet(TComponent* AOwner) : TbsSkinCustomTabSheet(AOwner) {}
};

class TbsSkinPageControl : public TPageControl {
 public:
  explicit TbsSkinPageControl(TComponent* AOwner);
  ~TbsSkinPageControl() override;
  void Dispatch(TMessage& Message) override;

  TbsSkinData* GetSkinData() const { return FSD; }
  // Applies the skin at once when it holds one (not while designing).
  void SetSkinData(TbsSkinData* Value);
  const std::string& GetSkinDataName() const { return FSkinDataName; }
  void SetSkinDataName(const std::string& Value) { FSkinDataName = Value; }
  const std::string& GetButtonTabSkinDataName() const { return FButtonTabSkinDataName; }
  void SetButtonTabSkinDataName(const std::string& Value) { FButtonTabSkinDataName = Value; }
  TFont* GetDefaultFont() const { return FDefaultFont.get(); }
  void SetDefaultFont(TFont* Value) { FDefaultFont->Assign(Value); }
  bool GetUseSkinFont() const { return FUseSkinFont; }
  void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }
  Integer GetDefaultItemHeight() const { return FDefaultItemHeight; }
  void SetDefaultItemHeight(Integer Value);
  bool GetTabExtededDraw() const { return FTabExtededDraw; }
  void SetTabExtededDraw(bool Value);
  TButtonLayout GetTabLayout() const { return FTabLayout; }
  void SetTabLayout(TButtonLayout Value);
  Integer GetTabMargin() const { return FTabMargin; }
  void SetTabMargin(Integer Value);
  Integer GetTabSpacing() const { return FTabSpacing; }
  void SetTabSpacing(Integer Value);
  bool GetTextInHorizontal() const { return FTextInHorizontal; }
  void SetTextInHorizontal(bool Value);
  bool GetTabsInCenter() const { return FTabsInCenter; }
  void SetTabsInCenter(bool Value) { FTabsInCenter = Value; }
  Integer GetTabsOffset() const { return FTabsOffset; }
  void SetTabsOffset(Integer Value) { FTabsOffset = Value; }
  bool GetTabsBGTransparent() const { return FTabsBGTransparent; }
  void SetTabsBGTransparent(bool Value);
  bool GetShowCloseButtons() const { return FShowCloseButtons; }
  void SetShowCloseButtons(bool Value);
  bool GetFreeOnClose() const { return FFreeOnClose; }
  void SetFreeOnClose(bool Value) { FFreeOnClose = Value; }
  bool GetMouseWheelSupport() const { return FMouseWheelSupport; }
  void SetMouseWheelSupport(bool Value) { FMouseWheelSupport = Value; }

  void LoadSkinPart();
  void ApplySkinChange();
  // The tab row's height without a part: TabHeight, else DefaultItemHeight.
  Integer TabHeightInUse() const;
  // The visible tab under the mouse, -1 for none.
  Integer GetHotTab() const { return FHotTab; }

  TbsCloseEvent OnClose;
  TNotifyEvent OnAfterClose;
  TbsDrawSkinTabEvent OnDrawSkinTab;

  Integer PartIndex = -1;

 protected:
  void Change() override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void PaintWindow(HDC DC) override;

 private:
  void SetTabSize(Integer Width, Integer Height);
  void PaintTabs(TCanvas* C);
  void PaintTab(Integer PageIndex, const TRect& R, TCanvas* C, bool Hot, bool Active);
  void DrawCloseButton(TCanvas* C, const TRect& Area, TbsSkinCustomTabSheet* Sheet);
  // The page of a visible tab.
  TTabSheet* PageOfTab(Integer TabIndex) const;
  void SetHotTab(Integer Value);
  void CloseSheet(TbsSkinCustomTabSheet* Sheet);

  TbsSkinData* FSD = nullptr;
  std::string FSkinDataName = "tab";
  std::string FButtonTabSkinDataName = "resizetoolbutton";
  std::unique_ptr<TFont> FDefaultFont;
  bool FUseSkinFont = true;
  Integer FDefaultItemHeight = 20;
  bool FTabExtededDraw = false;
  TButtonLayout FTabLayout = blGlyphLeft;
  Integer FTabMargin = -1;
  Integer FTabSpacing = 1;
  bool FTextInHorizontal = false;
  bool FTabsInCenter = false;
  Integer FTabsOffset = 0;
  bool FTabsBGTransparent = false;
  bool FShowCloseButtons = false;
  bool FFreeOnClose = false;
  bool FMouseWheelSupport = false;
  Integer FHotTab = -1;
  Integer FCloseButtonSize = 14;
};
