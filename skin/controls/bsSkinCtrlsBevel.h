#pragma once
// The skinned bevel.
#include <string>

#include "platform/classes/ExtCtrls.h"
#include "skin/data/bsSkinData.h"

// The platform's bevel in the two colours of the skin part "bevel", or a two-colour groove
// across its middle in divider mode. It has no picture.
//
// Ownership: the skin data is referred to and forgotten through Notification when it goes.
class TbsSkinBevel : public TBevel {
 public:
  explicit TbsSkinBevel(TComponent* AOwner);

  TbsSkinData* GetSkinData() const { return FSD; }
  // Takes the skin's colours at once, also for none.
  void SetSkinData(TbsSkinData* Value);
  const std::string& GetSkinDataName() const { return FSkinDataName; }
  void SetSkinDataName(const std::string& Value) { FSkinDataName = Value; }
  bool GetDividerMode() const { return FDividerMode; }
  void SetDividerMode(bool Value);

  // Binds the part and takes its colours; the system colours without one.
  void ApplySkinChange();
  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;

  Integer PartIndex = -1;
  TColor LightColor = clBtnHighlight;
  TColor DarkColor = clBtnShadow;

 protected:
  void Paint() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  void BevelRect(const TRect& R, TColor TopLeft, TColor BottomRight);
  void BevelLine(TColor C, Integer X1, Integer Y1, Integer X2, Integer Y2);

  TbsSkinData* FSD = nullptr;
  std::string FSkinDataName = "bevel";
  bool FDividerMode = false;
};
