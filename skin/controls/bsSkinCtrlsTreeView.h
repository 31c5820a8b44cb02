#pragma once
// The skinned tree view.
#include <memory>
#include <string>

#include "platform/classes/ComCtrls.h"
#include "skin/controls/bsSkinCtrlsScrollBar.h"
#include "skin/controls/bsSkinCtrlsSysImages.h"
#include "skin/data/bsSkinData.h"

// The platform tree view in the skin's font and colours. Its own scroll bars are hidden; two
// external TbsSkinScrollBar placed by the owner mirror the native scroll range (the owner
// connects them to scrolling). With DrawSkin it paints its items itself: connector lines,
// expand buttons and the selection from a "listbox" part.
class TbsSkinCustomTreeView : public TCustomTreeView {
 public:
  explicit TbsSkinCustomTreeView(TComponent* AOwner);
  ~TbsSkinCustomTreeView() override;
  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;

  // On: the tree paints its items with the skin's pictures.
  virtual void SetDrawSkin(bool Value);
  // Rebinds the part: font, colours and bars.
  virtual void ApplySkinChange();
  // Brings the external bars in step with the native scroll range.
  void SyncScrollBars();

  TbsSkinData* GetSkinData() const { return SkinData; }
  void SetSkinData(TbsSkinData* Value);
  void SetVScrollBar(TbsSkinScrollBar* Value);
  void SetHScrollBar(TbsSkinScrollBar* Value);
  void SetButtonImages(TCustomImageList* Value);
  TColor GetLinesColor() const { return FLinesColor; }
  TColor GetButtonColor() const { return FButtonColor; }

  TCustomImageList* ButtonImages = nullptr;
  Integer ButtonCollapsedIndex = 0;
  Integer ButtonExpandedIndex = 1;
  std::string ItemSkinDataName = "listbox";
  std::string CheckSkinDataName = "checkbox";
  bool DrawSkin = false;
  TbsSkinData* SkinData = nullptr;
  std::string SkinDataName = "treeview";
  Integer PartIndex = -1;
  std::unique_ptr<TFont> DefaultFont;
  bool UseSkinFont = true;
  TColor DefaultColor = clWindow;
  TbsSkinScrollBar* VScrollBar = nullptr;
  TbsSkinScrollBar* HScrollBar = nullptr;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Change(TTreeNode* Node) override;

 private:
  void DrawSkinItem(TCustomTreeView* Sender, TTreeNode* Node, TCustomDrawState State, TCustomDrawStage Stage,
                    bool& PaintImages, bool& DefaultDraw);
  void DrawLinesAndButton(TCanvas* C, TTreeNode* Node, const TRect& R);
  void DrawFadingLine(TCanvas* C, Integer X1, Integer X2, Integer Y);
  void DrawNodeImage(TCanvas* C, TTreeNode* Node, const TRect& R);

  TbsSysImageList FSysImageList;
  TColor FLinesColor = 0x808080;
  TColor FButtonColor = 0x808080;
  Integer FButtonHalf = 5;
  bool FSyncing = false;
};

class TbsSkinTreeView : public TbsSkinCustomTreeView {
 public:
  explicit TbsSkinTreeView(TComponent* AOwner) : TbsSkinCustomTreeView(AOwner) {}
};
