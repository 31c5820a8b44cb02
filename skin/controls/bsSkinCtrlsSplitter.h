#pragma once
// The skinned splitter.
#include <string>

#include "platform/classes/ExtCtrls.h"
#include "skin/data/bsSkinData.h"

// The platform splitter with a face from a "vsplitter" or "hsplitter" part, stretched along it,
// and a gripper picture centred on it. Dragging is the platform splitter's.
class TbsSkinSplitter : public TSplitter {
 public:
  explicit TbsSkinSplitter(TComponent* AOwner);

  bool GetTransparent() const { return FTransparent; }
  // A transparent splitter paints nothing.
  void SetTransparent(bool Value);
  // The thickness without a part (or when transparent).
  Integer GetDefaultSize() const { return FDefaultSize; }
  void SetDefaultSize(Integer Value) { FDefaultSize = Value; }
  TbsSkinData* GetSkinData() const { return FSD; }
  // Applies the skin at once, also for none.
  void SetSkinData(TbsSkinData* Value);
  const std::string& GetSkinDataName() const { return FSkinDataName; }
  void SetSkinDataName(const std::string& Value) { FSkinDataName = Value; }

  void LoadSkinPart();
  // Rebinds the part and takes its thickness.
  void ApplySkinChange();

  Integer PartIndex = -1;
  // The copies of the part.
  TPoint LeftTopPoint, RightTopPoint, LeftBottomPoint;
  TRect SkinRect;
  TBitmap* SkinPicture = nullptr;  // in the skin's picture list; not owned
  bool StretchEffect = false;
  TRect GripperRect;
  bool GripperTransparent = false;
  TColor GripperTransparentColor = 0;

 protected:
  void Paint() override;
  void RequestAlign() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  bool FTransparent = false;
  Integer FDefaultSize = 10;
  TbsSkinData* FSD = nullptr;
  std::string FSkinDataName = "vsplitter";
};
