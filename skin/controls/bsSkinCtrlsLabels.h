#pragma once
// The skinned labels.
#include "skin/controls/bsSkinCtrlsBase.h"
#include "skin/controls/bsSkinCtrlsPanels.h"

// ---- Labels ---------------------------------------------------------------------------------
enum TbsEllipsType { bsetNone, bsetEndEllips, bsetPathEllips };

// The platform's windowless label taking its font and colour from a "stdlabel" part of the
// skin; without one it writes in DefaultFont (UseSkinFont) or its own Font.
class TbsSkinStdLabel : public TCustomLabel {
 public:
  explicit TbsSkinStdLabel(TComponent* AOwner);
  ~TbsSkinStdLabel() override;

  TbsSkinData* GetSkinData() const { return FSD; }
  // Applies the skin at once for any skin data given.
  void SetSkinData(TbsSkinData* Value);
  const std::string& GetSkinDataName() const { return FSkinDataName; }
  void SetSkinDataName(const std::string& Value) { FSkinDataName = Value; }
  TFont* GetDefaultFont() const { return FDefaultFont.get(); }
  // Only assigns (no repaint).
  void SetDefaultFont(TFont* Value) { FDefaultFont->Assign(Value); }
  bool GetUseSkinFont() const { return FUseSkinFont; }
  void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }
  bool GetUseSkinColor() const { return FUseSkinColor; }
  void SetUseSkinColor(bool Value) { FUseSkinColor = Value; }
  TbsEllipsType GetEllipsType() const { return FEllipsType; }
  void SetEllipsType(TbsEllipsType Value);

  void LoadSkinPart();
  void ApplySkinChange();

  Integer PartIndex = -1;
  // The copies of the part.
  std::string FontName;
  TFontStyles FontStyle;
  Integer FontHeight = 0;
  TColor FontColor = 0;

 protected:
  void DoDrawText(TRect& Rect, UINT Flags) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  TbsSkinData* FSD = nullptr;
  std::string FSkinDataName = "stdlabel";
  std::unique_ptr<TFont> FDefaultFont;
  bool FUseSkinFont = true;
  bool FUseSkinColor = true;
  TbsEllipsType FEllipsType = bsetNone;
};

enum TbsEllipsType2 { bsetNoneEllips, bsetEllips };

// A windowed label on a "label" part (a framed text field), with a glow shadow or a mirrored
// reflection of its text and a width that can follow the caption (75 x 21).
class TbsSkinLabel : public TbsSkinCustomControl {
 public:
  explicit TbsSkinLabel(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;

  bool GetShadowEffect() const { return FShadowEffect; }
  void SetShadowEffect(bool Value);
  TColor GetShadowColor() const { return FShadowColor; }
  void SetShadowColor(TColor Value);
  Integer GetShadowOffset() const { return FShadowOffset; }
  void SetShadowOffset(Integer Value);
  Integer GetShadowSize() const { return FShadowSize; }
  void SetShadowSize(Integer Value);
  bool GetReflectionEffect() const { return FReflectionEffect; }
  void SetReflectionEffect(bool Value);
  Integer GetReflectionOffset() const { return FReflectionOffset; }
  void SetReflectionOffset(Integer Value);
  TbsEllipsType2 GetEllipsType() const { return FEllipsType; }
  void SetEllipsType(TbsEllipsType2 Value);
  bool GetUseSkinSize() const { return FUseSkinSize; }
  void SetUseSkinSize(bool Value) { FUseSkinSize = Value; }
  bool GetUseSkinFontColor() const { return FUseSkinFontColor; }
  void SetUseSkinFontColor(bool Value);
  TbsSkinBorderStyle GetBorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TbsSkinBorderStyle Value);
  TAlignment GetAlignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  bool GetAutoSize() const { return FAutoSize; }
  // On: the width follows the caption at once.
  void SetAutoSize(bool Value) override;

  // How much wider (negative: narrower) the caption is than the room it has.
  virtual Integer GetTextExcess();
  void LoadSkinPart() override;
  void UpdatePartRegion() override;
  void FitPartToSize(Integer& AWidth, Integer& AHeight) override;
  void DrawDefaultImage(TBitmap* B) override;
  void DrawSkinImage(TBitmap* B) override;

  // The copies of the part.
  std::string FontName;
  TFontStyles FontStyle;
  Integer FontHeight = 0;
  TColor FontColor = 0;

 protected:
  // The font of the text: the part's or DefaultFont, with the skin's charset.
  void SetLabelFont(TCanvas* C);
  // The caption into R, shortened, aligned and with its effect.
  void DrawLabelText(TCanvas* C, const TRect& R);
  // The default look's face and the frame of BorderStyle.
  void DrawDefaultFace(TCanvas* C);
  void AdjustWidth();

 private:
  bool FShadowEffect = false;
  TColor FShadowColor = clBlack;
  Integer FShadowOffset = 0;
  Integer FShadowSize = 3;
  bool FReflectionEffect = false;
  Integer FReflectionOffset = -5;
  TbsEllipsType2 FEllipsType = bsetNoneEllips;
  bool FUseSkinSize = true;
  bool FUseSkinFontColor = true;
  TbsSkinBorderStyle FBorderStyle = TbsSkinBorderStyle::bvFrame;
  TAlignment FAlignment = taLeftJustify;
  bool FAutoSize = false;
};

// A label on a "statuspanel" part with an image of a list or a glyph before its text (120 wide).
class TbsSkinStatusPanel : public TbsSkinLabel {
 public:
  explicit TbsSkinStatusPanel(TComponent* AOwner);
  ~TbsSkinStatusPanel() override;
  void Dispatch(TMessage& Message) override;

  TCustomImageList* GetImageList() const { return FImageList; }
  void SetImageList(TCustomImageList* Value);
  Integer GetImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer Value);
  TBitmap* GetGlyph() const { return FGlyph.get(); }
  // Takes a copy.
  void SetGlyph(TBitmap* Value);
  Integer GetNumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(Integer Value);

  Integer GetTextExcess() override;
  void DrawDefaultImage(TBitmap* B) override;
  void DrawSkinImage(TBitmap* B) override;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  bool HasListImage();
  bool HasGlyph();
  // The image or glyph at R's left, centred in R; R.Left moves past it.
  void DrawLead(TCanvas* C, TRect& R, Integer GlyphX, Integer GlyphY);

  TCustomImageList* FImageList = nullptr;
  Integer FImageIndex = -1;
  std::unique_ptr<TBitmap> FGlyph;
  Integer FNumGlyphs = 1;
};
