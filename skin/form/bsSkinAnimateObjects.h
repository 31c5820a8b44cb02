#pragma once
// The animated frame object of an "animate" skin record: a strip of frames side by side in its
// picture, run forward while the mouse is over it and back when it leaves, acting (with
// "buttonstyle") as a caption button with the command codes of the std buttons.
//
// Ownership: owned by its TbsSkinForm like every frame object; DropMenuItem is not owned.
#include "skin/form/bsSkinFormObjects.h"

class TbsSkinAnimateObject : public TbsActiveSkinObject {
 public:
  TbsSkinAnimateObject(TbsSkinForm* AOwner, TbsDataSkinObject* AData);
  void Draw(TCanvas* Cnvs, bool Refresh) override;
  void DblClick() override;
  void MouseDown(Integer X, Integer Y, TMouseButton Button) override;
  void MouseUp(Integer X, Integer Y, TMouseButton Button) override;
  void MouseEnter() override;
  void MouseLeave() override;
  void SetFrame(Integer N);
  // One 25 ms tick of the component's animation timer.
  void AnimationStep();
  void DoCommand();
  void PopupMenu();
  // After its menu closed: runs back from the last frame.
  void WindBack();
  bool InRestoreState() const;
  // Frame N (1-based) in the picture.
  TRect FrameRect(Integer N) const;

  Integer CurrentFrame = 1;
  Integer ElapsedTime = 25;
  Integer TimerInterval = 50;
  TMenuItem* DropMenuItem = nullptr;
  bool PopupToUp = false;
  bool Pressed = false;
  bool MenuShown = false;
  Integer CountFrames = 1;
  bool Cycle = false;
  bool ButtonStyle = false;
  bool Forward = true;
  Byte Command = 0;
  TRect DownSkinRect;
  TRect RestoreRect, RestoreActiveRect, RestoreInActiveRect, RestoreDownRect;
  std::string RestoreHint, NormalHint;

 private:
  // The looks of the current state: the restore rectangles stand in while it holds.
  TRect LookSkinRect() const;
  TRect LookActiveRect() const;
  TRect LookDownRect() const;
  TRect LookInActiveRect() const;
  void StartRun(bool AForward);
};
