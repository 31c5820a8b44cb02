#pragma once
// What the windowed and the windowless skinned controls share, written once over the platform
// base they stand on: the binding to a part of a TbsSkinData by name, its free notification,
// the off-screen paint, and (for the custom controls) the copied part geometry, the default
// size and the default font.
//
// Ownership: the skin data is referred to, never freed; the default font is owned.
#include <memory>
#include <string>

#include "platform/classes/Controls.h"
#include "skin/data/bsSkinData.h"

class TBitmap;
class TCustomImageList;

// ---- Part geometry --------------------------------------------------------------------------
// The copy of a resizable part's geometry that the windowed and windowless custom controls
// keep, and the rules that fit it to a control's size.
struct TbsSkinPartGeometry {
  TPoint LeftTopPoint, RightTopPoint, LeftBottomPoint, RightBottomPoint;
  TRect SkinRect;
  TRect PartClientRect;
  TPoint NewLeftTopPoint, NewRightTopPoint, NewLeftBottomPoint, NewRightBottomPoint;
  TRect NewClientRect;
  TBitmap* SkinPicture = nullptr;  // in the skin's picture list; not owned
  // -1 no image, 0 fixed size, 1 resizable both ways, 2 horizontally, 3 vertically.
  Integer SizingMode = 0;
  bool StretchEffect = false;
  Byte StretchType = stFull;
  bool LeftStretch = false, TopStretch = false, RightStretch = false, BottomStretch = false;

  // The resize mode of the copied geometry.
  Integer PartResizeMode() const;
  // Copies the record's geometry and picture; false (and no picture, mode 0) for a record
  // that is not resizable.
  bool CopyPartGeometry(TbsSkinData* SkinData, TbsDataSkinControl* Record);
  // Fits the copied geometry to a proposed size, correcting the size where the part fixes it.
  void FitGeometry(bool PartBound, Integer& Width, Integer& Height);
};

// A picture of the skin's list; none for any negative index or one beyond the list.
TBitmap* SkinPictureAt(TbsSkinData* SkinData, Integer Index);
// The face of a control without a picture: clBtnFace over the whole bitmap.
void FillPlainFace(TBitmap* B);
// Tile (or, with StretchEffect, stretch by StretchType: 0 whole, 1 in columns, 2 in rows) over
// Area from its top-left; the caller clips. A tile or area without size draws nothing.
void TilePiece(TCanvas* C, TBitmap* Tile, const TRect& Area, bool StretchEffect, Byte StretchType);
// The top that centres a control of Height vertically on a tool bar that adjusts its
// controls; Top itself on any other parent.
Integer ToolBarCentredTop(TControl* Control, Integer Top, Integer Height);

// ---- Part binding ---------------------------------------------------------------------------
// TBase is TCustomControl (windowed) or TGraphicControl (windowless).
template <class TBase>
class TbsSkinPartMixin : public TBase {
 public:
  explicit TbsSkinPartMixin(TComponent* AOwner) : TBase(AOwner) {}

  TbsSkinData* GetSkinData() const { return FSD; }
  // Applies the skin at once when it holds one (not while designing).
  virtual void SetSkinData(TbsSkinData* Value);
  const std::string& GetSkinDataName() const { return FSkinDataName; }
  // Only stores: the part is bound at the next paint.
  virtual void SetSkinDataName(const std::string& Value) { FSkinDataName = Value; }
  const std::string& GetHintTitle() const { return FHintTitle; }
  void SetHintTitle(const std::string& Value) { FHintTitle = Value; }
  Integer GetHintImageIndex() const { return FHintImageIndex; }
  void SetHintImageIndex(Integer Value) { FHintImageIndex = Value; }
  TCustomImageList* GetHintImageList() const { return FHintImageList; }
  void SetHintImageList(TCustomImageList* Value) { FHintImageList = Value; }

  // Binds the part named SkinDataName; PartIndex -1 without a skin or part.
  virtual void LoadSkinPart();
  // The look without a part and with it, into a bitmap of the control's size.
  virtual void DrawDefaultImage(TBitmap*) {}
  virtual void DrawSkinImage(TBitmap*) {}
  // The skinned form calls these around a change of skin.
  virtual void ApplySkinChange();
  virtual void BeforeSkinChange() { PartIndex = -1; }

  Integer PartIndex = -1;

 protected:
  void Paint() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  bool Designing() const { return this->GetComponentState().Contains(csDesigning); }
  // A mouse enter or leave notice about this control itself (not a child), outside design.
  bool OwnMouseNotice(const TMessage& Message) const { return Message.LParam == 0 && !Designing(); }
  // The part record bound now, or null.
  TbsDataSkinControl* BoundPart() const;
  // Binds the part and paints the control through an off-screen bitmap in one copy.
  void PaintOffScreen(TCanvas* Canvas);

  TbsSkinData* FSD = nullptr;
  std::string FSkinDataName;

 private:
  std::string FHintTitle;
  Integer FHintImageIndex = 0;
  TCustomImageList* FHintImageList = nullptr;
};

// ---- Custom part controls -------------------------------------------------------------------
// TBase is the windowed or the windowless part binding above.
template <class TBase>
class TbsSkinCustomPartMixin : public TBase, public TbsSkinPartGeometry {
 public:
  explicit TbsSkinCustomPartMixin(TComponent* AOwner);
  ~TbsSkinCustomPartMixin() override;

  Integer GetDefaultWidth() const { return FDefaultWidth; }
  void SetDefaultWidth(Integer Value);
  Integer GetDefaultHeight() const { return FDefaultHeight; }
  void SetDefaultHeight(Integer Value);
  TFont* GetDefaultFont() const { return FDefaultFont.get(); }
  void SetDefaultFont(TFont* Value);
  bool GetUseSkinFont() const { return FUseSkinFont; }
  void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }

  void LoadSkinPart() override;
  void DrawDefaultImage(TBitmap* B) override;
  void DrawSkinImage(TBitmap* B) override;
  void ApplySkinChange() override;
  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;

  virtual void DefaultFontChanged() {}
  virtual void FitPartToSize(Integer& AWidth, Integer& AHeight);

  // Draws Source of Picture, laid out by the part, at the control's size.
  void CreateControlImage(TBitmap* B, TBitmap* Picture, const TRect& Source);

 protected:
  // The control's outline may have changed (skin or size); windowed controls cut their region.
  virtual void PartOutlineChanged() {}
  // A 9-slice frame painted as strips by the control itself, not as one image.
  virtual bool FrameStripsPainted() const { return false; }

 private:
  void DefaultFontChangedHandler(TObject* Sender);

  Integer FDefaultWidth = 0;
  Integer FDefaultHeight = 0;
  std::unique_ptr<TFont> FDefaultFont;
  bool FUseSkinFont = true;
};

extern template class TbsSkinPartMixin<TCustomControl>;
extern template class TbsSkinPartMixin<TGraphicControl>;
