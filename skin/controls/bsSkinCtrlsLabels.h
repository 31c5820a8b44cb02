#pragma once
// The skinned labels.
#include "skin/controls/bsSkinCtrlsBase.h"

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
